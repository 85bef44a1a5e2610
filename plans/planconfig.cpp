#include "plans/planconfig.h"

#include "plans/planfolder.h"

#include "data/fb/transactionguard.h"
#include "data/mydatabase.h"
#include "data/programoptions.h"
#include "util/dialogs.h"
#include "util/textcodec.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace zf {

namespace {

const QString kYear = QStringLiteral("IDYEAR");
const QString kEmployee = QStringLiteral("IDEMPLOYEE");
// The engine's SQLCODE for a row whose foreign key finds nothing.
constexpr int kForeignKeyViolation = -530;
// Employees per statement when adding to a plan: fewer statements save round trips over a
// network, but the engine checks each row it finds against the whole IN list, so a list of 500
// already costs more on the server than the round trips it saves at half a millisecond.
constexpr int kAddChunk = 250;

// RAII: the configuration counts as changed when adding ends, whatever its outcome.
struct MarkChanged
{
    bool& flag;
    ~MarkChanged() { flag = true; }
};

// Adds the selected employees in the working transaction a chunk at a time, with two
// statements prepared once for all chunks rather than an insert each: over an office network
// every statement is a round trip. The last chunk repeats its last employee to the full size,
// which the lists' IN does not mind. Those already in the plan are left as they are. Returns the
// rows added; `gone` gets the first employee no longer in the personnel list, and then the
// caller stores nothing. A row added meanwhile by another copy falls back to one insert each for
// its chunk, so that it is skipped as before.
int addInChunks(TmyDataBase& db, int year, const QStringList& ids, int holidaySize, QString& gone)
{
    const int size = static_cast<int>(std::min<qsizetype>(kAddChunk, ids.size()));
    QStringList names;
    for (int i = 0; i < size; ++i)
        names << QStringLiteral(":E%1").arg(i);
    const QString in = names.join(QLatin1Char(','));
    fb::Statement check(db.FBDataBase, &db.DBFTransaction);
    check.setSql(QStringLiteral("SELECT E.IDEMPLOYEE, (SELECT COUNT(*) FROM EMPLOYEESSETTINGS S "
                                "WHERE S.IDYEAR=:IDYEAR AND S.IDEMPLOYEE=E.IDEMPLOYEE) FROM "
                                "EMPLOYEES E WHERE E.IDEMPLOYEE IN (%1)")
                     .arg(in));
    fb::Statement insert(db.FBDataBase, &db.DBFTransaction);
    insert.setSql(QStringLiteral(
                      "INSERT INTO EMPLOYEESSETTINGS (IDYEAR, IDEMPLOYEE, LASTYEARDAYS, "
                      "THISYEARDAYS, NURSINGDAYS, MATERNITYDAYS, UNPAIDDAYS, SICKDAYS, OTHERDAYS, "
                      "OTHERDESCR, CHECKSUM) SELECT :IDYEAR, E.IDEMPLOYEE, 0, :THISYEARDAYS, 0, 0, "
                      "0, 0, 0, '', 0 FROM EMPLOYEES E WHERE E.IDEMPLOYEE IN (%1) AND NOT EXISTS "
                      "(SELECT * FROM EMPLOYEESSETTINGS S WHERE S.IDYEAR=:IDYEAR AND "
                      "S.IDEMPLOYEE=E.IDEMPLOYEE)")
                      .arg(in));
    int total = 0;
    for (qsizetype from = 0; from < ids.size(); from += size) {
        const QStringList chunk = ids.mid(from, size);
        const auto bind = [&](fb::Statement& st) {
            st.setParam(kYear, year);
            for (int i = 0; i < size; ++i)
                st.setParam(QStringLiteral("E%1").arg(i),
                            chunk.at(std::min<qsizetype>(i, chunk.size() - 1)));
        };
        bind(check);
        check.execute();
        QSet<QString> existing;
        int toAdd = 0;
        while (check.fetch()) {
            const QString id = check.value(0).toString();
            existing.insert(id);
            if (check.value(1).toInt() == 0)
                ++toAdd;
        }
        check.close();
        for (const QString& id : chunk)
            if (!existing.contains(id)) {
                gone = id;
                return 0;
            }
        if (toAdd == 0)
            continue;
        try {
            bind(insert);
            insert.setParam(QStringLiteral("THISYEARDAYS"), holidaySize);
            insert.execute();
            const int added = insert.rowsAffected();
            insert.close();
            total += added;
            if (added == toAdd)
                continue;
            // Fewer: an employee was deleted meanwhile.
            for (const QString& id : chunk)
                if (!db.RecordExists(id, QStringLiteral("EMPLOYEES"), kEmployee)) {
                    gone = id;
                    return 0;
                }
            continue;
        } catch (const fb::Error& e) {
            // The failed statement left nothing behind.
            if (!e.isDuplicateKey())
                throw;
            insert.close();
        }
        fb::Statement& st = db.DBFWorkingSQL;
        st.close();
        st.setTransaction(&db.DBFTransaction);
        st.setSql(TmyDataBase::DBFUEmployeesSettings.insertSql);
        st.prepare();
        st.setParam(kYear, year);
        st.setParam(QStringLiteral("LASTYEARDAYS"), 0);
        st.setParam(QStringLiteral("THISYEARDAYS"), holidaySize);
        for (const char* column :
             {"NURSINGDAYS", "MATERNITYDAYS", "UNPAIDDAYS", "SICKDAYS", "OTHERDAYS", "CHECKSUM"})
            st.setParam(QString::fromLatin1(column), 0);
        st.setParam(QStringLiteral("OTHERDESCR"), QString());
        for (const QString& id : chunk) {
            st.setParam(kEmployee, id);
            try {
                st.execute();
                ++total;
            } catch (const fb::Error& e) {
                if (!e.isDuplicateKey())
                    throw;
            }
        }
        st.close();
    }
    return total;
}

} // namespace

const QString PlanConfig::kInvalidSize = QStringLiteral("Niepoprawna ilość dni urlopu.");
const QString PlanConfig::kDeleteQuestion =
    QStringLiteral("Czy na pewno usunąć zaznaczoną pozycję?");
const QString PlanConfig::kEmployeeGone = QStringLiteral(
    "Pracownik o numerze ewidencyjnym %1 został w międzyczasie usunięty z kartoteki. Nikogo nie "
    "dodano do planu; lista pracowników została odświeżona.");
const QString PlanConfig::kMissingFolder =
    QStringLiteral("Podana ścieżka nieistnieje. Podaj poprawną lokalizację");
const QString PlanConfig::kFolderNotWritable = QStringLiteral(
    "W podanej lokalizacji nie można zapisywać plików. Sprawdź uprawnienia lub podaj inną "
    "lokalizację");
const QString PlanConfig::kFolderTooLong =
    QStringLiteral("Ścieżka jest zbyt długa (dopuszczalne 200 znaków). Wybierz inną lokalizację");
const QString PlanConfig::kNotCp1250 =
    QStringLiteral("Znaki spoza strony kodowej Windows-1250: ");

const QString PlanConfig::kFolderNotCreated =
    QStringLiteral("Nie udało się utworzyć folderu %1. Wskaż folder planu przyciskiem obok pola "
                   "\"Lokalizacja plików planu urlopowego\".");

PlanConfig::PlanConfig(TmyDataBase& db, Dialogs& dialogs, const ProgramOptions& options)
    : m_db(db), m_dialogs(dialogs), m_options(options)
{
}

void PlanConfig::Open(int year, const QString& planDir, int unitFilter)
{
    m_changed = false;
    m_year = year;
    m_storedFolder = planDir;
    m_openedFolder = planDir;
    m_agreedFolder.clear();
    m_proposedFolder =
        planDir.trimmed().isEmpty() ? PlanFolders(m_db, m_dialogs).ProposeFor(year) : QString();
    m_unitFilter = unitFilter;
    Reload();
}

void PlanConfig::Reload()
{
    m_db.OpenOutsidePlan(m_year, m_unitFilter);
    m_db.OpenSettings(m_year, 0);
}

void PlanConfig::reloadKeepingRow()
{
    const int row = m_db.DBFEmployeesSettings.currentRow();
    Reload();
    auto& list = m_db.DBFEmployeesSettings;
    if (row > 0 && !list.isEmpty())
        list.setCurrentRow(std::min(row, list.recordCount() - 1));
}

void PlanConfig::SetUnitFilter(int unit)
{
    m_unitFilter = unit;
    Reload();
}

bool PlanConfig::ShowAll(const QString& folderText)
{
    const bool taken = folderText == m_storedFolder || LeaveFolder(folderText);
    SetUnitFilter(-1);
    return taken;
}

std::vector<OutsideEmployee> PlanConfig::OutsidePlan() const
{
    std::vector<OutsideEmployee> out;
    const fb::DataSet& list = m_db.DBFEmplOutsidePlan;
    if (!list.isOpen())
        return out;
    const int id = list.fieldIndex(kEmployee);
    const int text = list.fieldIndex(QStringLiteral("EMPLOYEE"));
    out.reserve(static_cast<size_t>(list.recordCount()));
    for (int row = 0; row < list.recordCount(); ++row)
        out.push_back({list.valueAt(row, id).toString(), list.valueAt(row, text).toString()});
    return out;
}

AddResult PlanConfig::AddEmployees(const QStringList& ids, int holidaySize)
{
    MarkChanged mark{m_changed};
    AddResult result;
    if (holidaySize < 0 || holidaySize > kMaxDays) {
        m_dialogs.information(kCaptionError, kInvalidSize);
        result.outcome = AddResult::InvalidSize;
        return result;
    }
    if (ids.isEmpty())
        return result;
    QString gone;
    try {
        fb::TransactionGuard guard(m_db.DBFTransaction);
        result.added = addInChunks(m_db, m_year, ids, holidaySize, gone);
        m_db.DBFWorkingSQL.close();
        if (gone.isEmpty()) {
            guard.commit();
            result.skipped = static_cast<int>(ids.size()) - result.added;
            result.outcome = AddResult::Stored;
        } else {
            m_db.DBFTransaction.rollbackQuietly();
            result.added = 0;
            result.outcome = AddResult::EmployeeGone;
            m_dialogs.information(kCaptionWarning, kEmployeeGone.arg(gone));
        }
    } catch (const Exception& e) {
        m_db.DBFWorkingSQL.close();
        m_db.DBFTransaction.rollbackQuietly();
        result.added = result.skipped = 0;
        const auto* engine = dynamic_cast<const fb::Error*>(&e);
        const auto missing =
            engine && engine->sqlCode() == kForeignKeyViolation
                ? std::find_if(ids.begin(), ids.end(),
                               [&](const QString& id) {
                                   return !m_db.RecordExists(id, QStringLiteral("EMPLOYEES"),
                                                             kEmployee);
                               })
                : ids.end();
        if (missing != ids.end()) {
            result.outcome = AddResult::EmployeeGone;
            m_dialogs.information(kCaptionWarning, kEmployeeGone.arg(*missing));
        } else {
            result.outcome = AddResult::Failed;
            m_db.ReportUnexpectedError(e.message(), true, kCodeAdd);
        }
    }
    Reload();
    return result;
}

bool PlanConfig::RemoveCurrent()
{
    const fb::DataSet& list = m_db.DBFEmployeesSettings;
    if (!list.isOpen() || list.isEmpty())
        return false;
    if (m_options.pytajPrzedKasowaniem && !m_dialogs.question(kCaptionQuestion, kDeleteQuestion))
        return false;
    const bool deleted = m_db.Write(TmyDataBase::DBFUEmployeesSettings.deleteSql,
                                    {{kYear, m_year}, {kEmployee, list.asString(kEmployee)}},
                                    kCodeRemove);
    reloadKeepingRow();
    m_changed = true;
    return deleted;
}

bool PlanConfig::EditCurrent(const EntitlementEditor& edit)
{
    fb::DataSet& list = m_db.DBFEmployeesSettings;
    if (!list.isOpen() || list.isEmpty())
        return false;
    const QString id = list.asString(kEmployee);
    const QVariant checksum = list.value(QStringLiteral("CHECKSUM"));
    const std::optional<EntitlementData> v = edit(list);
    if (!v)
        return false;
    const bool written = m_db.Write(TmyDataBase::DBFUEmployeesSettings.updateSql,
                                    {{kYear, m_year},
                                     {kEmployee, id},
                                     {QStringLiteral("LASTYEARDAYS"), v->lastYearDays},
                                     {QStringLiteral("THISYEARDAYS"), v->thisYearDays},
                                     {QStringLiteral("NURSINGDAYS"), v->nursingDays},
                                     {QStringLiteral("MATERNITYDAYS"), v->maternityDays},
                                     {QStringLiteral("UNPAIDDAYS"), v->unpaidDays},
                                     {QStringLiteral("SICKDAYS"), v->sickDays},
                                     {QStringLiteral("OTHERDAYS"), v->otherDays},
                                     {QStringLiteral("OTHERDESCR"), v->otherDescr},
                                     {QStringLiteral("CHECKSUM"), checksum}},
                                    kCodeEdit);
    if (!written)
        return false;
    m_db.OpenSettings(m_year, 0);
    m_db.LocateByText(list, kEmployee, id);
    m_changed = true;
    return true;
}

bool PlanConfig::FolderChosen(const QString& path)
{
    // The field and the database column would otherwise cut or replace characters unseen.
    if (path.size() > kMaxFolderLength) {
        m_dialogs.information(kCaptionWarning, kFolderTooLong);
        return false;
    }
    if (!isCp1250Encodable(path)) {
        m_dialogs.information(kCaptionWarning, kNotCp1250 + nonCp1250Characters(path));
        return false;
    }
    if (!mayUseFolder(path))
        return false;
    m_changed = true;
    return true;
}

bool PlanConfig::mayUseFolder(const QString& folder)
{
    if (folder == m_agreedFolder || SameFolder(folder, m_openedFolder))
        return true;
    if (!PlanFolders(m_db, m_dialogs).MayUse(folder, m_year))
        return false;
    m_agreedFolder = folder;
    return true;
}

bool PlanConfig::LeaveFolder(const QString& folder)
{
    if (!mayUseFolder(folder))
        return false;
    m_storedFolder = folder;
    if (folder == m_proposedFolder && !folder.isEmpty())
        return true; // made when the window closes
    if (!text::DirectoryExists(folder))
        m_dialogs.information(kCaptionWarning, kMissingFolder);
    else if (!QFileInfo(folder).isWritable())
        m_dialogs.information(kCaptionWarning, kFolderNotWritable);
    return true;
}

QString PlanConfig::CloseFolder(const QString& folder)
{
    if (folder != m_openedFolder && !mayUseFolder(folder))
        return m_openedFolder;
    if (!m_proposedFolder.isEmpty() && folder == m_proposedFolder &&
        !text::DirectoryExists(folder)) {
        // Only the last level: a parent that is gone is a path to check, not one to make.
        if (!QDir().mkdir(folder))
            m_dialogs.information(kCaptionWarning, kFolderNotCreated.arg(folder));
    }
    return folder;
}

// --- batch change ----------------------------------------------------------------------------

const std::vector<BatchSeries>& BatchSeriesList()
{
    static const std::vector<BatchSeries> list = {
        {QStringLiteral("Wymiar urlopu"), QStringLiteral("THISYEARDAYS")},
        {QStringLiteral("Ilość urlopu zaległego"), QStringLiteral("LASTYEARDAYS")},
        {QStringLiteral("Opieka nad dzieckiem"), QStringLiteral("NURSINGDAYS")},
        {QStringLiteral("Macierzyńskie / ojcowski"), QStringLiteral("MATERNITYDAYS")},
        {QStringLiteral("Urlop bezpłatny"), QStringLiteral("UNPAIDDAYS")},
        {QStringLiteral("Pobyt w szpitalu / choroba"), QStringLiteral("SICKDAYS")},
        {QStringLiteral("Inne"), QStringLiteral("OTHERDAYS")}};
    return list;
}

QString BatchColumn(int index)
{
    const auto& list = BatchSeriesList();
    if (index < 0 || index >= static_cast<int>(list.size()))
        return QStringLiteral("OTHERDAYS");
    return list[static_cast<size_t>(index)].column;
}

QString BatchStatement(const QString& column, int count)
{
    QString sql = QStringLiteral("UPDATE EMPLOYEESSETTINGS SET ") + column +
                  QStringLiteral("=:DAYS  WHERE IDYEAR=:IDYEAR AND IDEMPLOYEE IN(:E0");
    for (int i = 1; i < count; ++i)
        sql += QStringLiteral(",:E") + QString::number(i);
    return sql + QLatin1Char(')');
}

const QString BatchEdit::kBadNumber = QStringLiteral("Niepoprawny format liczby dni.");
const QString BatchEdit::kDone = QStringLiteral("Gotowe!");

BatchEdit::BatchEdit(TmyDataBase& db, Dialogs& dialogs) : m_db(db), m_dialogs(dialogs) {}

bool BatchEdit::Apply(int year, const QString& daysText, int series, const QStringList& selected)
{
    const fb::DataSet& list = m_db.DBFEmployeesSettingsBatch;
    if (!list.isOpen() || list.isEmpty())
        return false;
    bool ok = false;
    const int days = daysText.trimmed().toInt(&ok);
    if (!ok) {
        m_dialogs.information(kCaptionError, kBadNumber);
        return false;
    }
    // The same bounds and message as the entitlement window of one employee.
    if (days < 0 || days > kMaxDays) {
        m_dialogs.information(kCaptionError, kInvalidEntitlement);
        return false;
    }
    const QStringList employees =
        selected.isEmpty() ? QStringList{list.asString(kEmployee)} : selected;
    const QString column = BatchColumn(series);
    try {
        fb::TransactionGuard guard(m_db.DBFTransaction);
        fb::Statement& st = m_db.DBFWorkingSQL;
        for (qsizetype from = 0; from < employees.size(); from += m_chunk) {
            const int count = static_cast<int>(std::min<qsizetype>(m_chunk, employees.size() - from));
            st.close();
            st.setSql(BatchStatement(column, count));
            st.setParam(QStringLiteral("DAYS"), days);
            st.setParam(kYear, year);
            for (int i = 0; i < count; ++i)
                st.setParam(QStringLiteral("E") + QString::number(i), employees.at(from + i));
            st.execute();
        }
        guard.commit();
    } catch (const Exception& e) {
        m_db.DBFTransaction.rollbackQuietly();
        m_db.ReportUnexpectedError(e.message(), true, kCodeBatch);
        return false;
    }
    m_db.OpenSettings(year, 0);
    m_dialogs.information(kCaptionInformation, kDone);
    return true;
}

// --- entitlement figures ---------------------------------------------------------------------

std::optional<EntitlementData> EntitlementData::fromCurrentRow(const fb::DataSet& list)
{
    if (!list.isOpen() || list.isEmpty())
        return std::nullopt;
    // A list with fewer columns (the leave editor's one employee) gives 0 for the others.
    const auto number = [&list](const char* field) {
        const QString name = QString::fromLatin1(field);
        return list.hasField(name) ? list.asInteger(name) : 0;
    };
    EntitlementData d;
    d.lastYearDays = number("LASTYEARDAYS");
    d.thisYearDays = number("THISYEARDAYS");
    d.nursingDays = number("NURSINGDAYS");
    d.maternityDays = number("MATERNITYDAYS");
    d.unpaidDays = number("UNPAIDDAYS");
    d.sickDays = number("SICKDAYS");
    d.otherDays = number("OTHERDAYS");
    if (list.hasField(QStringLiteral("OTHERDESCR")))
        d.otherDescr = list.asString(QStringLiteral("OTHERDESCR"));
    return d;
}

bool EntitlementAcceptable(const EntitlementData& v, const EntitlementData& filled)
{
    const auto within = [](int value, int was, int low) {
        return (value >= low && value <= kMaxDays) || value == was;
    };
    return within(v.lastYearDays, filled.lastYearDays, kMinLastYearDays) &&
           within(v.thisYearDays, filled.thisYearDays, 0) &&
           within(v.nursingDays, filled.nursingDays, 0) &&
           within(v.maternityDays, filled.maternityDays, 0) &&
           within(v.unpaidDays, filled.unpaidDays, 0) && within(v.sickDays, filled.sickDays, 0) &&
           within(v.otherDays, filled.otherDays, 0);
}

} // namespace zf
