#pragma once

#include "plans/entitlement.h"

#include <QDialog>
#include <QString>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace zf {

class Dialogs;
class TDaysSpinEdit;

namespace fb {
class DataSet;
}

// "Edytuj wymiar urlopu" for one employee: the caller fills it, shows it and writes the values
// when it was saved. Shown view-only from the leave editor.
class TfEditHolidayDays : public QDialog
{
    Q_OBJECT
public:
    // A refused save is told through `dialogs`.
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

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void save();

    Dialogs& m_dialogs;
    bool m_saved = false;
    bool m_viewOnly = false;
    // The values of the last filling: a figure left as it was is never refused.
    EntitlementData m_filled;
    QLabel* m_employee = nullptr;
    // fLASTYEARDAYS, fTHISYEARDAYS, fNURSINGDAYS, fMATERNITYDAYS, fUNPAIDDAYS, fSICKDAYS,
    // fOTHERDAYS.
    std::array<TDaysSpinEdit*, 7> m_fields{};
    QLineEdit* m_descr = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace zf
