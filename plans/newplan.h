#pragma once

#include <QDialog>

#include <optional>

class QSpinBox;

namespace zf {

class Dialogs;

// "Stwórz nowy plan urlopowy": asks for the year of a new plan.
class TfNewPlan : public QDialog
{
    Q_OBJECT
public:
    explicit TfNewPlan(Dialogs& dialogs, QWidget* parent = nullptr);

    // Shows the window with the current year; the confirmed year, or nullopt when cancelled.
    std::optional<int> Execute();
    bool confirmed() const { return m_confirmed; }
    int year() const { return m_year; }

    static const QString kWrongYear;
    // The title bar's icon and buttons, in line heights.
    static constexpr int kTitleBarReserveLines = 8;

private:
    void save();

    Dialogs& m_dialogs;
    QSpinBox* m_idYear;
    bool m_confirmed = false;
    int m_year = 0;
};

} // namespace zf
