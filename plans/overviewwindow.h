#pragma once

#include "plans/laborcode.h"
#include "plans/overview.h"
#include "plans/staffing.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

namespace zf {

class Dialogs;
class TmyDataBase;
class TfEditCalendar;
class TOverviewGrid;
struct ProgramOptions;

// "Podgląd grafiku urlopowego": the whole plan year, one row per employee and one column per
// day, with approval, CSV export and the leave editor behind the edit icon of each row.
class TfEmployeesPlans : public QDialog
{
    Q_OBJECT
public:
    TfEmployeesPlans(TmyDataBase& db, Dialogs& dialogs, ProgramOptions& options,
                     QWidget* parent = nullptr);
    ~TfEmployeesPlans() override;

    // Loads the year with the unit filter (0 or below: everybody) and shows the window modally.
    // Approval sets status 5 itself.
    void Execute(int year, int unitFilter);
    TfEditCalendar& editor();

    // Rebuilds the list and the grid from the database.
    void Load();
    // "Zatwierdź grafik", "Eksport do CSV", and the edit icon of list entry `index`.
    void Approve();
    void ExportCsv();
    // "Eksport do kalendarza (.ics)": the leave of the employees shown.
    void ExportCalendar();
    void OpenEditor(int index);

    int year() const { return m_year; }
    int unitFilter() const { return m_unitFilter; }
    const THolidayPlans& plans() const { return m_data.plans; }
    const OverviewData& data() const { return m_data; }
    // The units' summary rows of the last load (only units with a threshold).
    const std::vector<UnitStaffing>& staffing() const { return m_staffing; }
    // The entries' Labour Code verdicts of the last load; empty with the checks off.
    const std::vector<LaborCodeCheck>& laborCode() const { return m_laborCode; }
    TOverviewGrid* grid() const { return m_grid; }

private:
    void setUnitFilter(int unit);
    void reloadUnits();
    void applyStoredSize();

    TmyDataBase& m_db;
    Dialogs& m_dialogs;
    ProgramOptions& m_options;
    TfEditCalendar* m_editor;
    OverviewData m_data;
    std::vector<UnitStaffing> m_staffing;
    std::vector<LaborCodeCheck> m_laborCode;
    int m_year = 0;
    int m_unitFilter = 0;
    bool m_fillingUnits = false;

    QLabel* m_header;
    QPushButton* m_all;
    QComboBox* m_unit;
    QPushButton* m_approve;
    QPushButton* m_export;
    QPushButton* m_exportIcs;
    QPushButton* m_close;
    TOverviewGrid* m_grid;
};

} // namespace zf
