#include "data/mydatabase.h"

#include "data/fb/transactionguard.h"
#include "data/leavesql.h"
#include "util/dates.h"
#include "util/dialogs.h"
#include "util/textcodec.h"

#include <QDir>
#include <QFileInfo>

namespace zf {

namespace {

// Error codes of the places in this module.
constexpr int kSilent = -1;
constexpr int kCodeReadOrCreateParam = 14221005;
constexpr int kCodeGetKey = 79001;
constexpr int kCodeReopen = 702011;
constexpr int kCodeLocateInteger = 2030;
constexpr int kCodeLocateText = 1030;
constexpr int kCodeCheckLogin = 261819;
// Column lengths of USERS.LOGIN, USERS.PWD, EMPLOYEES.IDEMPLOYEE and EMPLOYEES.PWD.
constexpr int kLoginLength = 20;
constexpr int kUserPasswordLength = 100;
constexpr int kEmployeeIdLength = 20;
constexpr int kEmployeePasswordLength = 13;

const QString kSqlGetKey = QStringLiteral("SELECT NEWKEY FROM GET_KEY(:GENTYPE);");

} // namespace

TmyDataBase::TmyDataBase(DatabasePaths paths, Dialogs& dialogs)
    : FBTransaction(FBDataBase, fb::tpb::readOnlyReadCommitted()),
      DBFTransaction(FBDataBase, fb::tpb::write(), kTransactionTimeoutMs),
      DBFMySqlTransaction(FBDataBase, fb::tpb::helper(), kTransactionTimeoutMs),
      DBFMySqlTransaction2(FBDataBase, fb::tpb::helper(), kTransactionTimeoutMs),
      DBFGetKeyTransaction(FBDataBase, fb::tpb::helper(), kTransactionTimeoutMs),
      DBFWorkingSQL(FBDataBase, &DBFTransaction), mySQL(FBDataBase, &DBFMySqlTransaction),
      mySQL2(FBDataBase, &DBFMySqlTransaction2), DBFGetKey(FBDataBase, &DBFGetKeyTransaction),
      DBFEmployees(FBDataBase, FBTransaction, QStringLiteral("DBFEmployees")),
      DBFDictionary(FBDataBase, FBTransaction, QStringLiteral("DBFDictionary")),
      DBFUnits(FBDataBase, FBTransaction, QStringLiteral("DBFUnits")),
      DBFTermClass(FBDataBase, FBTransaction, QStringLiteral("DBFTermClass")),
      DBFEmployeesPrompt(FBDataBase, FBTransaction, QStringLiteral("DBFEmployeesPrompt")),
      DBFCalendar(FBDataBase, FBTransaction, QStringLiteral("DBFCalendar")),
      DBFHolidayPlans(FBDataBase, FBTransaction, QStringLiteral("DBFHolidayPlans")),
      DBFEmployeesSettings(FBDataBase, FBTransaction, QStringLiteral("DBFEmployeesSettings")),
      DBFEmployeesSettingsBatch(FBDataBase, FBTransaction,
                                QStringLiteral("DBFEmployeesSettingsBatch")),
      DBFEmplOutsidePlan(FBDataBase, FBTransaction, QStringLiteral("DBFEmplOutsidePlan")),
      DBFSingleEmployeeSettings(FBDataBase, FBTransaction,
                                QStringLiteral("DBFSingleEmployeeSettings")),
      DBFEmployeeHolidays(FBDataBase, FBTransaction, QStringLiteral("DBFEmployeeHolidays")),
      DBFEmployeeConstDays(FBDataBase, FBTransaction, QStringLiteral("DBFEmployeeConstDays")),
      DBFZest(FBDataBase, FBTransaction, QStringLiteral("DBFZest")),
      DBFScheduler(FBDataBase, FBTransaction, QStringLiteral("DBFScheduler")),
      DBFCheckScheduler(FBDataBase, FBTransaction, QStringLiteral("DBFCheckScheduler")),
      m_paths(std::move(paths)), m_dialogs(dialogs), m_log(m_paths.dataFolder, dialogs)
{
    DBFGetKey.setSql(kSqlGetKey);
    ResetListState();
    // Each subsystem's file sets its lists' statements.
    installPersonnelStatements();
    installPlanStatements();
    installSchedulerStatements();
    installDisplayTexts();
}

TmyDataBase::~TmyDataBase()
{
    Disconnect();
}

void TmyDataBase::SetLockTimeout(int seconds)
{
    DBFTransaction.setParameters(fb::tpb::write(seconds));
    for (fb::Transaction* t : {&DBFMySqlTransaction, &DBFMySqlTransaction2, &DBFGetKeyTransaction})
        t->setParameters(fb::tpb::helper(seconds));
}

void TmyDataBase::Disconnect()
{
    try {
        FBDataBase.detach();
    } catch (const fb::Error&) {
        // A lost attachment is gone either way.
    }
}

QString TmyDataBase::IniPath() const
{
    return m_paths.dataFolder + QStringLiteral("/zefirant.ini");
}

QString TmyDataBase::ConfigDatPath() const
{
    return m_paths.dataFolder + QStringLiteral("/config.dat");
}

void TmyDataBase::installDisplayTexts()
{
    DBFEmployees.setDisplayText(QStringLiteral("ACT"), [](const QVariant& v) -> QString {
        return v.toString() == QStringLiteral("N") ? QStringLiteral("T") : QString();
    });
    DBFEmployees.setDisplayText(QStringLiteral("FILENAME"), [](const QVariant& v) -> QString {
        const QString name = v.toString();
        return name.isEmpty() ? QString() : name + QStringLiteral(".zfpn");
    });
    DBFScheduler.setDisplayText(QStringLiteral("SACT"), [](const QVariant& v) -> QString {
        return v.toString() == QStringLiteral("T") ? QStringLiteral("T") : QString();
    });
    const auto dateText = [](const QVariant& v) -> QString { return DateNumberToText(toInt(v)); };
    DBFScheduler.setDisplayText(QStringLiteral("DATESINCE"), dateText);
    DBFCheckScheduler.setDisplayText(QStringLiteral("DATESINCE"), dateText);
    DBFCalendar.setDisplayText(QStringLiteral("FREEDAY"), [](const QVariant& v) -> QString {
        const int n = toInt(v);
        if (n < 1)
            return QString();
        return DateNumberToText(n) + QLatin1Char(' ') + dayOfWeekAbbreviation(n);
    });
    DBFHolidayPlans.setDisplayText(QStringLiteral("STATUS"),
                                   [](const QVariant& v) -> QString { return PlanStatusName(toInt(v)); });
}

// --- patterns --------------------------------------------------------------------------------

bool TmyDataBase::runUtility(fb::Statement& st, fb::Transaction& tr, int code,
                             const std::function<void(fb::Statement&)>& body)
{
    try {
        fb::TransactionGuard guard(tr);
        st.setTransaction(&tr);
        st.close();
        body(st);
        st.close();
        guard.commit();
        return true;
    } catch (const Exception& e) {
        st.close();
        tr.rollbackQuietly();
        if (code != kSilent)
            ReportUnexpectedError(e, code);
        return false;
    }
}

bool TmyDataBase::Utility(int code, const std::function<void(fb::Statement&)>& body)
{
    return runUtility(mySQL, DBFMySqlTransaction, code, body);
}

bool TmyDataBase::Utility2(int code, const std::function<void(fb::Statement&)>& body)
{
    return runUtility(mySQL2, DBFMySqlTransaction2, code, body);
}

bool TmyDataBase::Write(const QString& sql, const Params& params, int code,
                        const std::function<bool(const fb::Error&)>& onError)
{
    try {
        fb::TransactionGuard guard(DBFTransaction);
        DBFWorkingSQL.close();
        DBFWorkingSQL.setSql(sql);
        DBFWorkingSQL.prepare();
        for (const auto& [name, value] : params)
            DBFWorkingSQL.setParam(name, value);
        DBFWorkingSQL.execute();
        guard.commit();
        return true;
    } catch (const fb::Error& e) {
        DBFTransaction.rollbackQuietly();
        if (onError && onError(e))
            return false;
        ReportUnexpectedError(e, code);
        return false;
    }
}

void TmyDataBase::openList(fb::DataSet& list, const QString& sql, const Params& params, int code)
{
    try {
        list.close();
        if (!sql.isEmpty())
            list.setSql(sql);
        for (const auto& [name, value] : params)
            list.setParam(name, value);
        if (!FBTransaction.isActive())
            FBTransaction.start();
        list.open();
    } catch (const Exception& e) {
        list.close();
        ReportUnexpectedError(e.message(), true, code);
    }
}

void TmyDataBase::ReportUnexpectedError(const QString& message, bool withPrefix, int code)
{
    // Most windows pass on only the engine's text; its words tell a conflict just as well.
    if (fb::isLockConflictMessage(message))
        m_log.reportConflict(message, code);
    else
        m_log.reportUnexpectedError(message, withPrefix, code);
}

void TmyDataBase::ReportUnexpectedError(const Exception& e, int code)
{
    if (fb::isLockConflict(e))
        m_log.reportConflict(e.message(), code);
    else
        m_log.reportUnexpectedError(e.message(), true, code);
}

void TmyDataBase::WriteErrorLog(const QString& text)
{
    m_log.write(text);
}

// --- helpers ---------------------------------------------------------------------------------

QString TmyDataBase::SortDirection(bool ascending)
{
    return ascending ? QStringLiteral("ASC") : QStringLiteral("DESC");
}

void TmyDataBase::ResetListState()
{
    employeesFilter.clear();
    employeesSortColumn = QStringLiteral("NAME_O");
    employeesSortAscending = true;
    schedulerFilter1.clear();
    schedulerFilter2.clear();
    schedulerFilter3.clear();
    schedulerSortColumn = QStringLiteral("DATESINCE");
    schedulerSortAscending = true;
}

int TmyDataBase::ReadOrCreateParam(const QString& id, int defaultValue)
{
    int result = defaultValue;
    Utility(kCodeReadOrCreateParam, [&](fb::Statement& st) {
        const QString quotedId = QLatin1Char('"') + id + QLatin1Char('"');
        st.setSql(QStringLiteral("SELECT IVALUE FROM SYSTEMPARAMS WHERE ID = ") + quotedId);
        st.execute();
        if (st.fetch()) {
            result = toInt(st.value(0));
            st.close();
            return;
        }
        st.setSql(QStringLiteral("INSERT INTO SYSTEMPARAMS (ID,IVALUE) VALUES (") + quotedId +
                  QStringLiteral(", ") + QString::number(defaultValue) + QLatin1Char(')'));
        st.execute();
        result = defaultValue;
    });
    return result;
}

int TmyDataBase::GetKey(int genType)
{
    try {
        DBFGetKey.close();
        fb::TransactionGuard guard(DBFGetKeyTransaction);
        DBFGetKey.setParam(QStringLiteral("GENTYPE"), genType);
        DBFGetKey.execute();
        if (!DBFGetKey.fetch())
            throw fb::Error(QStringLiteral("GET_KEY returned no key"), 0, 0);
        const int key = toInt(DBFGetKey.value(0));
        DBFGetKey.close();
        guard.commit();
        return key;
    } catch (const Exception& e) {
        DBFGetKey.close();
        DBFGetKeyTransaction.rollbackQuietly();
        ReportUnexpectedError(e, kCodeGetKey);
        return -1;
    }
}

bool TmyDataBase::RecordExists(const QString& value, const QString& table, const QString& column)
{
    bool found = true;
    const bool ok = Utility(kSilent, [&](fb::Statement& st) {
        st.setSql(QStringLiteral("SELECT * FROM ") + table + QStringLiteral(" WHERE ") + column +
                  QStringLiteral(" = :KEY"));
        st.setParam(QStringLiteral("KEY"), value);
        st.execute();
        found = st.fetch();
        st.close();
    });
    // When in doubt the value counts as taken, so callers refusing duplicates refuse.
    return ok ? found : true;
}

bool TmyDataBase::LocateByInteger(fb::DataSet& list, const QString& field, int value)
{
    bool found = false;
    list.disableControls();
    try {
        list.first();
        while (!list.eof() && !list.isEmpty()) {
            const QVariant v = list.value(field);
            if (v.isValid() && !v.isNull() && v.toLongLong() == value) {
                found = true;
                break;
            }
            list.next();
        }
    } catch (const Exception& e) {
        ReportUnexpectedError(e.message(), true, kCodeLocateInteger);
    }
    list.enableControls();
    return found;
}

bool TmyDataBase::LocateByText(fb::DataSet& list, const QString& field, const QString& value)
{
    bool found = false;
    list.disableControls();
    try {
        list.first();
        while (!list.eof() && !list.isEmpty()) {
            if (list.asString(field) == value) {
                found = true;
                break;
            }
            list.next();
        }
    } catch (const Exception& e) {
        ReportUnexpectedError(e.message(), true, kCodeLocateText);
    }
    list.enableControls();
    return found;
}

void TmyDataBase::Reopen(fb::DataSet& list)
{
    try {
        if (!FBTransaction.isActive())
            FBTransaction.start();
        list.reopen();
    } catch (const Exception& e) {
        list.close();
        ReportUnexpectedError(e.message() + QLatin1Char(' ') + list.name(), false, kCodeReopen);
    }
}

bool TmyDataBase::CheckLogin(const QString& login, const QString& pwd)
{
    m_login.employee.clear();
    // A value longer than its column, or with characters the database cannot hold, matches no
    // row; handing it to the engine would fail with a truncation instead of a wrong login.
    const auto fits = [](const QString& value, int length) {
        return value.size() <= length && isCp1250Encodable(value);
    };
    const bool userFits = fits(login, kLoginLength) && fits(pwd, kUserPasswordLength);
    const bool employeeFits = fits(login, kEmployeeIdLength) && fits(pwd, kEmployeePasswordLength);
    if (!userFits && !employeeFits)
        return false;
    bool result = false;
    QString employee;
    const bool ok = Utility(kCodeCheckLogin, [&](fb::Statement& st) {
        if (userFits) {
            st.setSql(QStringLiteral("SELECT * FROM USERS WHERE LOGIN=:LOGIN AND PWD=:PWD"));
            st.setParam(QStringLiteral("LOGIN"), login);
            st.setParam(QStringLiteral("PWD"), pwd);
            st.execute();
            if (st.fetch()) {
                result = true;
                st.close();
                return;
            }
            st.close();
        }
        if (!employeeFits)
            return;
        st.setSql(QStringLiteral("SELECT IVALUE FROM SYSTEMPARAMS WHERE ID = \"ALLOWEMPLLOGIN\""));
        st.execute();
        const bool allowed = st.fetch() && toInt(st.value(0)) == 1;
        st.close();
        if (!allowed)
            return;
        st.setSql(QStringLiteral("SELECT * FROM EMPLOYEES WHERE IDEMPLOYEE=:LOGIN AND PWD=:PWD"));
        st.setParam(QStringLiteral("LOGIN"), login);
        st.setParam(QStringLiteral("PWD"), pwd);
        st.execute();
        if (st.fetch()) {
            result = true;
            employee = login;
        }
        st.close();
    });
    if (!ok)
        return false;
    m_login.employee = employee;
    return result;
}

// --- free helpers ----------------------------------------------------------------------------

namespace text {

int TrimLength(const QString& s)
{
    return static_cast<int>(s.trimmed().size());
}

QString ReplaceChar(const QString& s, QChar from, QChar to)
{
    QString r = s;
    r.replace(from, to);
    return r;
}

QString ReplaceFirst(const QString& s, const QString& what, const QString& with)
{
    const qsizetype at = what.isEmpty() ? -1 : s.indexOf(what);
    if (at < 0)
        return s;
    QString r = s;
    r.replace(at, what.size(), with);
    return r;
}

QString ExcludeTrailingSeparator(const QString& path)
{
    if (path.endsWith(QLatin1Char('/')) || path.endsWith(QLatin1Char('\\')))
        return path.left(path.size() - 1);
    return path;
}

bool DirectoryExists(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

} // namespace text

} // namespace zf
