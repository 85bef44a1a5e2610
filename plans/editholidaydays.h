#pragma once

#include "plans/entitlement.h"

#include <QDialog>
#include <QString>

namespace zf {

class Dialogs;

namespace fb {
class DataSet;
}

// "Edytuj wymiar urlopu" for one employee: the caller fills it, shows it and writes the values
// when it was saved. Shown view-only from the leave editor.
class TfEditHolidayDays : public QDialog
{
    Q_OBJECT
public:
    explicit TfEditHolidayDays(QWidget* parent = nullptr);
    // With the dialogs through which a refused save is told; without them a plain message box.
    explicit TfEditHolidayDays(Dialogs& dialogs, QWidget* parent = nullptr);
    ~TfEditHolidayDays() override;

    // From the current row of a plan-employee list (EMPLOYEE, the seven figures, OTHERDESCR);
    // does nothing when the list is closed or empty.
    void FillFromCurrentRow(const fb::DataSet& settings);
    void setValues(const QString& employeeText, const EntitlementData& values);
    // Shows the window modally; the saved flag afterwards.
    bool Execute();
    bool saved() const { return m_saved; }
    EntitlementData values() const;
    // Every field read-only and "&Anuluj" shown as "&OK" (true), or back to editing (false).
    void setViewOnly(bool viewOnly);

private:
    bool m_saved = false;
};

} // namespace zf
