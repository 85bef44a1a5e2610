#pragma once

#include "plans/editcalendar.h"
#include "plans/laborcode.h"
#include "plans/overviewlaborcode.h"
#include "plans/staffing.h"

#include <QDialog>
#include <QIcon>

class QLabel;
class QPushButton;
class QWidget;

namespace zf {

class Dialogs;
class TmyDataBase;
class TYearCalendarSelector;
class TfEditHolidayDays;
struct ProgramOptions;

// "Edycja grafiku urlopowego": one employee's leave for a plan year in the year calendar
// selector, with the running count of the days still available and the marking mode for
// unchangeable days.
class TfEditCalendar : public QDialog
{
    Q_OBJECT
public:
    TfEditCalendar(TmyDataBase& db, Dialogs& dialogs, ProgramOptions& options,
                   QWidget* parent = nullptr);
    ~TfEditCalendar() override;

    // Loads the schedule and shows the window modally; `readOnly` only shows it. True when saved.
    bool Execute(int year, const QString& employee, bool readOnly);
    // The loading part of Execute, for showing the window without blocking.
    void Load(int year, const QString& employee, bool readOnly);

    // "&Zapisz zmiany", the marking-mode button and the details button.
    void Save();
    void ToggleMarkingMode();
    void ShowDetails();

    int remaining() const { return m_remaining; }
    // Days of the year on which the ticked leave leaves the unit below its threshold.
    const QList<int>& belowDays() const { return m_below; }
    // The ticked days checked against the Labour Code (kept up to date with the checks on).
    const LaborCodeCheck& laborCode() const { return m_laborCode; }
    bool markingMode() const { return m_marking; }
    bool saved() const { return m_saved; }
    TYearCalendarSelector* selector() const { return m_selector; }
    // The entitlement window shown by the details button (created on first use).
    TfEditHolidayDays* details() const { return m_details; }

private:
    void onTick(bool ticked);
    void showRemaining();
    void showStaffing();
    void showLaborCode();
    void setMarkingMode(bool on);
    void applyStoredSize();

    TmyDataBase& m_db;
    Dialogs& m_dialogs;
    ProgramOptions& m_options;
    int m_year = 0;
    QString m_employee;
    int m_remaining = 0;
    bool m_marking = false;
    bool m_readOnly = false;
    bool m_saved = false;
    QIcon m_saveIcon;
    QIcon m_cancelIcon;

    QLabel* m_yearLabel;
    QLabel* m_employeeLabel;
    QLabel* m_thisYear;
    QLabel* m_lastYear;
    QLabel* m_summary;
    QLabel* m_left;
    QLabel* m_staffingLabel;
    EditorStaffing m_staffing;
    QLabel* m_laborCodeLabel;
    LaborCodeCheck m_laborCode;
    // The next plan and the recorded absences, read once per employee shown.
    LaborCodeContext m_laborContext;
    int m_lastYearDays = 0;
    int m_thisYearDays = 0;
    QList<int> m_below;
    QPushButton* m_detailsButton;
    QPushButton* m_markButton;
    QPushButton* m_saveButton;
    QPushButton* m_cancelButton;
    QWidget* m_calendarArea;
    TYearCalendarSelector* m_selector;
    TfEditHolidayDays* m_details = nullptr;
};

} // namespace zf
