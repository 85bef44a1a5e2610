#pragma once

#include <QValidator>

class QLineEdit;

namespace zf {

// Refuses, as it is typed or pasted, any character that Windows-1250 cannot hold, so nothing is
// silently replaced on its way to the database.
class Cp1250Validator final : public QValidator
{
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

// Gives the field a validator of its own.
void refuseNonCp1250(QLineEdit* field);

} // namespace zf
