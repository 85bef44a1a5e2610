#include "plans/plans.h"

#include "data/mydatabase.h"
#include "data/programoptions.h"
#include "planfiles/exportwindow.h"
#include "planfiles/importwindow.h"
#include "plans/calendarwindow.h"
#include "plans/newplan.h"
#include "plans/overviewwindow.h"
#include "plans/planconfigwindow.h"

#include <QWidget>

namespace zf {

TPlans::TPlans(TmyDataBase& db, Dialogs& dialogs, ProgramOptions& options, QWidget* parent)
    : m_db(db), m_dialogs(dialogs), m_options(options), m_lifecycle(db, dialogs, options),
      m_newPlan(std::make_unique<TfNewPlan>(dialogs, parent)),
      m_calendar(std::make_unique<TfCalendar>(db, dialogs, parent)),
      m_config(std::make_unique<TfPlanConfig>(db, dialogs, options, parent)),
      m_overview(std::make_unique<TfEmployeesPlans>(db, dialogs, options, parent)),
      m_export(std::make_unique<TfExportPlan>(db, dialogs, options, parent)),
      m_import(std::make_unique<TfImportPlan>(db, dialogs, options, parent))
{
    runExport = [this](int year, int unit) { return m_export->Execute(year, unit); };
    runImport = [this](int year, int unit) { return m_import->Execute(year, unit); };
}

TPlans::~TPlans() = default;

std::map<QString, std::function<void()>> TPlans::Commands()
{
    return {{QStringLiteral("SBStworz"), [this] { Create(); }},
            {QStringLiteral("SBSkopiuj"), [this] { CreateFromExisting(); }},
            {QStringLiteral("SBKonfiguruj"), [this] { Configure(); }},
            {QStringLiteral("SBOtworz"), [this] { Overview(); }},
            {QStringLiteral("SBEdytujKalendarz"), [this] { EditCalendar(); }},
            {QStringLiteral("SBEksportuj"), [this] { Generate(); }},
            {QStringLiteral("SBImportuj"), [this] { ReadFilled(); }},
            {QStringLiteral("SBSkasujPlan"), [this] { Delete(); }},
            {QStringLiteral("SBOpenDir"), [this] { OpenFolder(); }}};
}

TDBGrid* TPlans::calendarGrid() const
{
    return m_config->calendarGrid();
}

std::optional<PlanRow> TPlans::currentPlan() const
{
    return PlanRow::fromCurrentRow(m_db.DBFHolidayPlans);
}

void TPlans::resizeStored(QWidget& window, int width, int height)
{
    if (width > 0 && height > 0)
        window.resize(width, height);
}

void TPlans::Create()
{
    m_lifecycle.CreatePlan([this] { return m_newPlan->Execute(); });
}

void TPlans::CreateFromExisting()
{
    const auto plan = currentPlan();
    if (!plan)
        return;
    m_lifecycle.setCopySource(0, {});
    m_lifecycle.setCopySource(plan->year, plan->planDir);
    Create();
}

void TPlans::Configure()
{
    const auto plan = currentPlan();
    if (!plan || !m_lifecycle.MayChangeApproved(plan->status))
        return;
    m_db.OpenUnits();
    resizeStored(*m_config, m_options.planConfWinWidth, m_options.planConfWinHeight);
    const PlanConfigResult result = m_config->Execute(plan->year, plan->planDir, 0);
    m_options.planConfWinWidth = m_config->width();
    m_options.planConfWinHeight = m_config->height();
    m_lifecycle.AfterConfiguration(plan->year, plan->planDir, result.changed, result.planDir);
}

void TPlans::Overview()
{
    const auto plan = currentPlan();
    if (!plan)
        return;
    m_db.OpenUnits();
    m_overview->Execute(plan->year, 0);
    m_options.emplPlanWinWidth = m_overview->width();
    m_options.emplPlanWinHeight = m_overview->height();
    // Approval changes the status shown in the list.
    m_lifecycle.ShowPlan(plan->year);
}

void TPlans::EditCalendar()
{
    const auto plan = currentPlan();
    if (!plan || !m_lifecycle.MayChangeApproved(plan->status))
        return;
    resizeStored(*m_calendar, m_options.calendarWinWidth, m_options.calendarWinHeight);
    const bool saved = m_calendar->Execute(plan->year);
    m_options.calendarWinWidth = m_calendar->width();
    m_options.calendarWinHeight = m_calendar->height();
    m_lifecycle.AfterCalendar(plan->year, plan->status, saved);
}

void TPlans::Generate()
{
    const auto plan = currentPlan();
    if (!plan || !m_lifecycle.MayGenerate(plan->status) ||
        !m_lifecycle.MayChangeApproved(plan->status, PlanLifecycle::kApprovedGenerateQuestion))
        return;
    m_db.OpenUnits();
    // A status that could not be written was reported; the list keeps showing the stored one.
    if (runExport && runExport(plan->year, 0) && m_db.SetPlanStatus(plan->year, 3))
        m_lifecycle.ShowPlan(plan->year);
}

void TPlans::ReadFilled()
{
    const auto plan = currentPlan();
    if (!plan || !m_lifecycle.MayImport(plan->status) ||
        !m_lifecycle.MayChangeApproved(plan->status, PlanLifecycle::kApprovedImportQuestion))
        return;
    m_db.OpenUnits();
    if (runImport && runImport(plan->year, 0) && m_db.SetPlanStatus(plan->year, 4))
        m_lifecycle.ShowPlan(plan->year);
}

void TPlans::Delete()
{
    if (const auto plan = currentPlan())
        m_lifecycle.DeletePlan(plan->year);
}

void TPlans::OpenFolder()
{
    if (const auto plan = currentPlan())
        m_lifecycle.OpenPlanFolder(plan->planDir, openExternally);
}

} // namespace zf
