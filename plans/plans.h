#pragma once

#include "plans/planlifecycle.h"

#include <QString>

#include <functional>
#include <map>
#include <memory>

class QWidget;

namespace zf {

class Dialogs;
class TDBGrid;
class TfCalendar;
class TfEmployeesPlans;
class TfExportPlan;
class TfImportPlan;
class TfNewPlan;
class TfPlanConfig;
class TmyDataBase;
struct ProgramOptions;

// The plan commands of the main window's plans page, with the windows they open, created once
// and kept for the whole run. Every command but "Stwórz nowy" works on the plan under the
// cursor of DBFHolidayPlans and does nothing when the list is empty.
class TPlans
{
public:
    TPlans(TmyDataBase& db, Dialogs& dialogs, ProgramOptions& options, QWidget* parent = nullptr);
    ~TPlans();
    TPlans(const TPlans&) = delete;
    TPlans& operator=(const TPlans&) = delete;

    // The commands by the objectName of their button ("SBStworz", "SBOtworz", ...).
    std::map<QString, std::function<void()>> Commands();

    void Create();
    void CreateFromExisting();
    void Configure();
    void Overview();
    void EditCalendar();
    void Generate();
    void ReadFilled();
    void Delete();
    void OpenFolder();

    // Opening a folder in the desktop's file browser; set by start-up.
    std::function<void(const QString&)> openExternally;
    // The windows that write the plan files and read them back: (year, unit filter), true when
    // the run succeeded and the status is to advance. Tests may put others in their place.
    std::function<bool(int, int)> runExport;
    std::function<bool(int, int)> runImport;

    PlanLifecycle& lifecycle() { return m_lifecycle; }
    TfNewPlan& newPlanWindow() { return *m_newPlan; }
    TfCalendar& calendarWindow() { return *m_calendar; }
    TfPlanConfig& configWindow() { return *m_config; }
    TfEmployeesPlans& overviewWindow() { return *m_overview; }
    TfExportPlan& exportWindow() { return *m_export; }
    TfImportPlan& importWindow() { return *m_import; }
    // The configuration window's grid, whose column widths the program stores.
    TDBGrid* calendarGrid() const;

private:
    std::optional<PlanRow> currentPlan() const;
    void resizeStored(QWidget& window, int width, int height);

    TmyDataBase& m_db;
    Dialogs& m_dialogs;
    ProgramOptions& m_options;
    PlanLifecycle m_lifecycle;
    std::unique_ptr<TfNewPlan> m_newPlan;
    std::unique_ptr<TfCalendar> m_calendar;
    std::unique_ptr<TfPlanConfig> m_config;
    std::unique_ptr<TfEmployeesPlans> m_overview;
    std::unique_ptr<TfExportPlan> m_export;
    std::unique_ptr<TfImportPlan> m_import;
};

} // namespace zf
