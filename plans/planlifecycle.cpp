#include "plans/planlifecycle.h"

#include "data/fb/transactionguard.h"
#include "data/mydatabase.h"
#include "data/programoptions.h"
#include "plans/planfolder.h"
#include "util/dialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QVariant>

#include <vector>

namespace zf {

namespace {

const QString kIdYear = QStringLiteral("IDYEAR");
const QString kIdEmployee = QStringLiteral("IDEMPLOYEE");

// Leave days of a year that are not non-working days, per employee: one query for the whole
// plan instead of one per employee, with the same counts.
const QString kSqlTakenDays = QStringLiteral(
    "SELECT IDEMPLOYEE, COUNT(*) FROM EMPLOYEEHOLIDAYS WHERE IDYEAR=:IDYEAR "
    "AND NOT EXISTS (SELECT * FROM CALENDAR WHERE FREEDAY=SELECTEDDAY) GROUP BY IDEMPLOYEE");

// Columns copied unchanged into the new plan.
const QStringList kCopiedColumns = {QStringLiteral("THISYEARDAYS"),  QStringLiteral("NURSINGDAYS"),
                                    QStringLiteral("MATERNITYDAYS"), QStringLiteral("UNPAIDDAYS"),
                                    QStringLiteral("SICKDAYS"),      QStringLiteral("OTHERDAYS"),
                                    QStringLiteral("OTHERDESCR")};

struct SourceRow
{
    QString employee;
    int lastYearDays = 0;
    int thisYearDays = 0;
    std::vector<QVariant> copied;
};

} // namespace

const QString PlanLifecycle::kFolderNotCreated =
    QStringLiteral("Nie udało się utworzyć folderu %1 dla nowego planu. Wskaż folder planu "
                   "poleceniem \"Pracownicy w planie\".");
const QString PlanLifecycle::kDuplicateYear =
    QStringLiteral("Istnieje już plan urlopowy na podany rok");
const QString PlanLifecycle::kDeleteQuestion =
    QStringLiteral("Czy na pewno usunąć wkazany plan? Operacja nie będzie mogła być cofnięta!");
const QString PlanLifecycle::kNoFolder =
    QStringLiteral("Nie wskazano katalogu, w którym przechowywane będą pliki planów urlopowych");
const QString PlanLifecycle::kApprovedQuestion =
    QStringLiteral("Zefirant jest już zatwierdzony. Czy mimo to chcesz zmienić jego konfigurację?");
// Generating or reading files drops the approval as a configuration change does.
const QString PlanLifecycle::kApprovedGenerateQuestion =
    QStringLiteral("Zefirant jest już zatwierdzony. Czy mimo to chcesz wygenerować go do edycji?");
const QString PlanLifecycle::kApprovedImportQuestion = QStringLiteral(
    "Zefirant jest już zatwierdzony. Czy mimo to chcesz wczytać do niego wypełnione plany?");
const QString PlanLifecycle::kAddEmployeesFirst =
    QStringLiteral("Musisz uprzednio dodać pracowników do planu.");
const QString PlanLifecycle::kGenerateFirst =
    QStringLiteral("Musisz uprzednio wygenerować plany do edycji dla poszczególnych pracowników.");

std::optional<PlanRow> PlanRow::fromCurrentRow(const fb::DataSet& plans)
{
    if (!plans.isOpen() || plans.isEmpty())
        return std::nullopt;
    return PlanRow{plans.asInteger(kIdYear), plans.asInteger(QStringLiteral("STATUS")),
                   plans.asString(QStringLiteral("PLANDIR"))};
}

PlanLifecycle::PlanLifecycle(TmyDataBase& db, Dialogs& dialogs, const ProgramOptions& options)
    : m_db(db), m_dialogs(dialogs), m_options(options)
{
}

void PlanLifecycle::setCopySource(int year, const QString& planDir)
{
    m_copyYear = year;
    m_copyDir = planDir;
}

int PlanLifecycle::CreatePlan(const std::function<std::optional<int>()>& askYear)
{
    const int source = m_copyYear;
    const QString sourceDir = m_copyDir;
    m_copyYear = 0;
    m_copyDir.clear();
    for (;;) {
        const std::optional<int> year = askYear();
        if (!year)
            return 0;
        // A copy gets a folder of its own beside the source's: in one folder the two plans
        // would overwrite each other's files.
        const QString folder = ProposedPlanFolder(*year, sourceDir, source);
        if (insertPlan(*year, source, folder) != Insert::Done)
            continue;
        // Where the source's own folder is gone there is nothing to make it in.
        if (source > 0 && !folder.isEmpty() && !text::DirectoryExists(folder) &&
            QFileInfo(folder).dir().exists() && !QDir().mkdir(folder))
            m_dialogs.information(kCaptionWarning, kFolderNotCreated.arg(folder));
        ShowPlan(*year);
        return *year;
    }
}

PlanLifecycle::Insert PlanLifecycle::insertPlan(int year, int source, const QString& planDir)
{
    int code = kCodeCreate;
    fb::Statement& st = m_db.DBFWorkingSQL;
    try {
        fb::TransactionGuard guard(m_db.DBFTransaction);
        st.setTransaction(&m_db.DBFTransaction);
        st.close();
        st.setSql(TmyDataBase::DBFUHolidayPlans.insertSql);
        st.setParam(kIdYear, year);
        st.execute();
        if (source > 0) {
            code = kCodeCopyBeforeFolder;
            copyPlan(source, year, planDir, code);
        }
        st.close();
        guard.commit();
        return Insert::Done;
    } catch (const Exception& e) {
        st.close();
        m_db.DBFTransaction.rollbackQuietly();
        const auto* engine = dynamic_cast<const fb::Error*>(&e);
        if (code == kCodeCreate && engine && engine->isDuplicateKey()) {
            m_dialogs.information(kCaptionWarning, kDuplicateYear);
            return Insert::Duplicate;
        }
        m_db.ReportUnexpectedError(e.message(), true, code);
        return Insert::Failed;
    }
}

void PlanLifecycle::copyPlan(int source, int target, const QString& planDir, int& code)
{
    fb::Statement& st = m_db.DBFWorkingSQL;
    st.close();
    st.setSql(TmyDataBase::DBFUPlanDir.updateSql);
    st.setParam(QStringLiteral("PLANDIR"), planDir);
    st.setParam(kIdYear, target);
    st.execute();
    code = kCodeCopyAfterFolder;
    // The new plan has status 1, so the status rule gives 2.
    st.setSql(TmyDataBase::DBFUHolidayPlans.updateSql);
    st.setParam(QStringLiteral("STATUS"), 2);
    st.setParam(kIdYear, target);
    st.execute();

    fb::Statement read(m_db.FBDataBase, &m_db.DBFTransaction);
    // The source rows are read, not locked: the rows written are the new plan's, which no other
    // copy can reach before this commits, and a SIGKILL of the embedded engine while it held
    // thousands of row locks left a database whose next read failed the engine's consistency
    // check ("cannot find record back version").
    read.setSql(QStringLiteral("SELECT * FROM EMPLOYEESSETTINGS WHERE IDYEAR=:IDYEAR"));
    read.setParam(kIdYear, source);
    read.execute();
    std::vector<SourceRow> rows;
    while (read.fetch()) {
        SourceRow r;
        r.employee = read.value(kIdEmployee).toString();
        r.lastYearDays = read.value(QStringLiteral("LASTYEARDAYS")).toInt();
        r.thisYearDays = read.value(QStringLiteral("THISYEARDAYS")).toInt();
        for (const QString& column : kCopiedColumns)
            r.copied.push_back(read.value(column));
        rows.push_back(std::move(r));
    }
    read.close();
    read.setSql(kSqlTakenDays);
    read.setParam(kIdYear, source);
    read.execute();
    QHash<QString, int> taken;
    while (read.fetch())
        taken.insert(read.value(0).toString(), read.value(1).toInt());
    read.close();

    st.setSql(TmyDataBase::DBFUEmployeesSettings.insertSql);
    st.prepare();
    for (const SourceRow& r : rows) {
        st.setParam(kIdYear, target);
        st.setParam(kIdEmployee, r.employee);
        // No lower bound: more days taken than were due carries over as a debt.
        st.setParam(QStringLiteral("LASTYEARDAYS"),
                    r.lastYearDays + r.thisYearDays - taken.value(r.employee));
        for (int i = 0; i < kCopiedColumns.size(); ++i)
            st.setParam(kCopiedColumns[i], r.copied[i]);
        st.setParam(QStringLiteral("CHECKSUM"), 0);
        st.execute();
    }
}

bool PlanLifecycle::DeletePlan(int year)
{
    if (m_options.pytajPrzedKasowaniem && !m_dialogs.question(kCaptionQuestion, kDeleteQuestion))
        return false;
    const bool deleted =
        m_db.Write(TmyDataBase::DBFUHolidayPlans.deleteSql, {{kIdYear, year}}, kCodeDelete);
    m_db.OpenPlans();
    return deleted;
}

void PlanLifecycle::OpenPlanFolder(const QString& planDir,
                                   const std::function<void(const QString&)>& open)
{
    if (planDir.isEmpty()) {
        m_dialogs.information(kCaptionInformation, kNoFolder);
        return;
    }
    if (open)
        open(planDir);
}

bool PlanLifecycle::MayChangeApproved(int status, const QString& question)
{
    return status != 5 || m_dialogs.question(kCaptionWarning, question);
}

bool PlanLifecycle::MayGenerate(int status)
{
    if (status > 1)
        return true;
    m_dialogs.information(kCaptionInformation, kAddEmployeesFirst);
    return false;
}

bool PlanLifecycle::MayImport(int status)
{
    if (status > 2)
        return true;
    m_dialogs.information(kCaptionInformation, kGenerateFirst);
    return false;
}

bool PlanLifecycle::AfterConfiguration(int year, const QString& storedDir, bool changed,
                                       const QString& newDir)
{
    const bool folderChanged = newDir != storedDir;
    if (!changed && !folderChanged)
        return false;
    // A status that could not be written was reported; the folder the user chose is still
    // stored, since it does not depend on the status.
    bool written = m_db.SetPlanStatus(year, 2);
    if (folderChanged &&
        m_db.Write(TmyDataBase::DBFUPlanDir.updateSql,
                   {{QStringLiteral("PLANDIR"), newDir}, {kIdYear, year}}, kCodeFolderUpdate))
        written = true;
    if (written)
        ShowPlan(year);
    return written;
}

bool PlanLifecycle::AfterCalendar(int year, int status, bool saved)
{
    if (!saved || status < 3 || !m_db.SetPlanStatus(year, 6))
        return false;
    ShowPlan(year);
    return true;
}

void PlanLifecycle::ShowPlan(int year)
{
    m_db.OpenPlans();
    m_db.LocateByInteger(m_db.DBFHolidayPlans, kIdYear, year);
}

} // namespace zf
