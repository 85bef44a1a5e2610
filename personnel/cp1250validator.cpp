#include "personnel/cp1250validator.h"

#include "util/textcodec.h"

#include <QLineEdit>

namespace zf {

QValidator::State Cp1250Validator::validate(QString& input, int& /*pos*/) const
{
    return isCp1250Encodable(input) ? Acceptable : Invalid;
}

void refuseNonCp1250(QLineEdit* field)
{
    field->setValidator(new Cp1250Validator(field));
}

} // namespace zf
