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
constexpr int kCodeOpenEmployees = 9001;
constexpr int kCodeOpenScheduler = 301910;
constexpr int kCodeOpenOutsidePlan = 42057;
constexpr int kCodeOpenSummary = 161627;
constexpr int kCodeOpenDictionary = 36;
constexpr int kCodeOpenSettingsBatch = 2142102;
constexpr int kCodeOpenDeadlineCheck = 112058;
constexpr int kCodeReadOrCreateParam = 14221005;
constexpr int kCodeGetKey = 79001;
constexpr int kCodeReopen = 702011;
constexpr int kCodeLocateInteger = 2030;
constexpr int kCodeLocateText = 1030;
constexpr int kCodeSetPlanStatus = 161800;
constexpr int kCodeChosenDaysText = 161712;
constexpr int kCodeCountChosenDays = 162021;
constexpr int kCodeCheckLogin = 261819;
// Column lengths of USERS.LOGIN, USERS.PWD, EMPLOYEES.IDEMPLOYEE and EMPLOYEES.PWD.
constexpr int kLoginLength = 20;
constexpr int kUserPasswordLength = 100;
constexpr int kEmployeeIdLength = 20;
constexpr int kEmployeePasswordLength = 13;
// Lists that the program opens for pick lists, with no code of their own in the design.
constexpr int kCodeOpenPickList = 36;

const QString kSqlEmployees = QStringLiteral(
    "SELECT IDEMPLOYEE, SURNAME,NAME,(NAME || ' ' || SURNAME) AS NAME_O, IDDICUNIT,"
    "A.DESCRIPTION AS UNIT_O, FILENAME,PWD,EMAIL,ACT FROM EMPLOYEES AS E LEFT OUTER JOIN "
    "DICTIONARY AS A ON A.IDDICTIONARY=IDDICUNIT WHERE 1=1\n%1\nORDER BY\n%2\n%3");
const QString kSqlDictionary = QStringLiteral(
    "SELECT IDDICTIONARY, DESCRIPTION, ADDITIONAL1, ADDITIONAL2 FROM DICTIONARY WHERE IDTYPE= "
    ":IDTYPE ORDER BY DESCRIPTION");
const QString kSqlUnits = QStringLiteral(
    "SELECT IDDICTIONARY, DESCRIPTION, ADDITIONAL1, ADDITIONAL2 FROM DICTIONARY WHERE "
    "IDTYPE='ZESPO' ORDER BY DESCRIPTION");
const QString kSqlTermClass = QStringLiteral(
    "SELECT IDDICTIONARY,DESCRIPTION FROM DICTIONARY WHERE IDTYPE='TERMT' ORDER BY IDDICTIONARY");
const QString kSqlEmployeesPrompt = QStringLiteral(
    "SELECT IDEMPLOYEE,(SURNAME || ' ' || NAME || ' (' || IDEMPLOYEE || ')') AS EMPLOYEE FROM "
    "EMPLOYEES WHERE 1=1 ORDER BY EMPLOYEE");
const QString kSqlHolidayPlans = QStringLiteral(
    "SELECT ('Plan urlopowy na rok ' || IDYEAR) AS PLANNAME, IDYEAR, STATUS, PLANDIR FROM "
    "HOLIDAYPLANS ORDER BY IDYEAR DESC");
// Columns that both joined tables have are qualified; the results are the same.
const QString kSqlEmployeesSettings = QStringLiteral(
    "SELECT E.IDEMPLOYEE AS IDEMPLOYEE,NAME,SURNAME, (NAME || ' ' || SURNAME || ' (' || "
    "E.IDEMPLOYEE || ')') AS EMPLOYEE, LASTYEARDAYS, THISYEARDAYS, CHECKSUM,NURSINGDAYS,"
    "OTHERDAYS,OTHERDESCR, FILENAME,MATERNITYDAYS,SICKDAYS,UNPAIDDAYS FROM EMPLOYEESSETTINGS AS "
    "S, EMPLOYEES AS E WHERE IDYEAR=:IDYEAR AND S.IDEMPLOYEE=E.IDEMPLOYEE\n%1\nORDER BY "
    "SURNAME,NAME,E.IDEMPLOYEE");
const QString kSqlEmployeesSettingsBatch = QStringLiteral(
    "SELECT E.IDEMPLOYEE AS IDEMPLOYEE,NAME,SURNAME, (NAME || ' ' || SURNAME || ' (' || "
    "E.IDEMPLOYEE || ')') AS EMPLOYEE FROM EMPLOYEESSETTINGS AS S, EMPLOYEES AS E WHERE "
    "IDYEAR=:IDYEAR AND S.IDEMPLOYEE=E.IDEMPLOYEE ORDER BY SURNAME,NAME,E.IDEMPLOYEE");
const QString kSqlOutsidePlan = QStringLiteral(
    "SELECT IDEMPLOYEE, (NAME || ' ' || SURNAME || ' (' || IDEMPLOYEE || ')') AS EMPLOYEE FROM "
    "EMPLOYEES AS E WHERE NOT EXISTS ( SELECT * FROM EMPLOYEESSETTINGS AS S WHERE "
    "IDYEAR=:IDYEAR AND S.IDEMPLOYEE=E.IDEMPLOYEE ) AND ACT='T'\n%1\nORDER BY "
    "SURNAME,NAME,IDEMPLOYEE");
const QString kSqlZest = QStringLiteral(
    "SELECT E.IDEMPLOYEE AS IDEMPLOYEE,LASTYEARDAYS,THISYEARDAYS, (NAME || ' ' || SURNAME || ' "
    "(' || E.IDEMPLOYEE || ')') AS EMPLOYEE, MATERNITYDAYS,SICKDAYS,UNPAIDDAYS,NURSINGDAYS,"
    "OTHERDAYS,OTHERDESCR FROM EMPLOYEESSETTINGS AS S, EMPLOYEES AS E WHERE IDYEAR=:IDYEAR AND "
    "S.IDEMPLOYEE=E.IDEMPLOYEE\n%1\n%2\nORDER BY SURNAME,NAME,E.IDEMPLOYEE");
const QString kSqlScheduler = QStringLiteral(
    "SELECT IDTERM, S.IDDICCLASS AS SIDDICCLASS, D.DESCRIPTION AS CLASSNAME, DATESINCE, "
    "S.IDEMPLOYEE AS SIDEMPLOYEE,(E.SURNAME || ' ' || E.NAME || ' (' || S.IDEMPLOYEE || ')') AS "
    "EMPLOYEE, S.DESCRIPTION AS SDESCRIPTION, S.OTHER AS SOTHER, S.ACT AS SACT FROM SCHEDULER AS "
    "S LEFT OUTER JOIN DICTIONARY AS D ON D.IDDICTIONARY=S.IDDICCLASS LEFT OUTER JOIN EMPLOYEES "
    "AS E ON E.IDEMPLOYEE=S.IDEMPLOYEE WHERE 1=1\n%1\n%2\n%3\nORDER BY\n%4\n%5");
const QString kSqlCheckScheduler = QStringLiteral(
    "SELECT D.DESCRIPTION AS CLASSNAME, DATESINCE, (E.SURNAME || ' ' || E.NAME || ' (' || "
    "S.IDEMPLOYEE || ')') AS EMPLOYEE, S.DESCRIPTION AS SDESCRIPTION FROM SCHEDULER AS S LEFT "
    "OUTER JOIN DICTIONARY AS D ON D.IDDICTIONARY=S.IDDICCLASS LEFT OUTER JOIN EMPLOYEES AS E ON "
    "E.IDEMPLOYEE=S.IDEMPLOYEE WHERE S.ACT='T' AND DATESINCE > 0 AND DATESINCE <= :IDATAOD AND "
    "DATESINCE > :IDATADO ORDER BY DATESINCE DESC");
const QString kSqlGetKey = QStringLiteral("SELECT NEWKEY FROM GET_KEY(:GENTYPE);");

const QString kUnitSlot = QStringLiteral("AND IDDICUNIT=:IDDICUNIT");
const QString kEmployeeSlot = QStringLiteral("AND E.IDEMPLOYEE=:IDEMPLOYEE");

// Sort columns the grids may ask for; anything else is refused so no text of a grid reaches
// the statement unchecked.
const QStringList kEmployeesSortColumns = {
    QStringLiteral("IDEMPLOYEE"), QStringLiteral("SURNAME"), QStringLiteral("NAME"),
    QStringLiteral("NAME_O"), QStringLiteral("IDDICUNIT"), QStringLiteral("UNIT_O"),
    QStringLiteral("FILENAME"), QStringLiteral("PWD"), QStringLiteral("EMAIL"),
    QStringLiteral("ACT")};
const QStringList kSchedulerSortColumns = {
    QStringLiteral("IDTERM"), QStringLiteral("SIDDICCLASS"), QStringLiteral("CLASSNAME"),
    QStringLiteral("DATESINCE"), QStringLiteral("SIDEMPLOYEE"), QStringLiteral("EMPLOYEE"),
    QStringLiteral("SDESCRIPTION"), QStringLiteral("SOTHER"), QStringLiteral("SACT")};

QString direction(bool ascending)
{
    return ascending ? QStringLiteral("ASC") : QStringLiteral("DESC");
}

} // namespace

const WriteSet TmyDataBase::DBFUEmployees = {
    QStringLiteral("INSERT INTO EMPLOYEES( IDEMPLOYEE, SURNAME, NAME, IDDICUNIT, EMAIL, FILENAME, "
                   "PWD, ACT ) VALUES( :IDEMPLOYEE, :SURNAME, :NAME, :IDDICUNIT, :EMAIL, "
                   ":FILENAME, :PWD, :ACT )"),
    QStringLiteral("UPDATE EMPLOYEES SET IDEMPLOYEE=:IDEMPLOYEE, SURNAME=:SURNAME, NAME=:NAME, "
                   "IDDICUNIT=:IDDICUNIT, FILENAME=:FILENAME, EMAIL=:EMAIL, PWD=:PWD, ACT=:ACT "
                   "WHERE IDEMPLOYEE=:KEYIDEMPLOYEE"),
    QStringLiteral("DELETE FROM EMPLOYEES WHERE IDEMPLOYEE=:KEYIDEMPLOYEE")};

const WriteSet TmyDataBase::DBFUDictionary = {
    QStringLiteral("INSERT INTO DICTIONARY( IDDICTIONARY, IDTYPE, DESCRIPTION, ADDITIONAL1, "
                   "ADDITIONAL2 ) VALUES( :IDDICTIONARY, :IDTYPE, :DESCRIPTION, :ADDITIONAL1, "
                   ":ADDITIONAL2 )"),
    QStringLiteral("UPDATE DICTIONARY SET IDTYPE=:IDTYPE, DESCRIPTION=:DESCRIPTION, "
                   "ADDITIONAL1=:ADDITIONAL1, ADDITIONAL2=:ADDITIONAL2 WHERE "
                   "IDDICTIONARY=:KEYIDDICTIONARY"),
    QStringLiteral("DELETE FROM DICTIONARY WHERE IDDICTIONARY=:KEYIDDICTIONARY")};

const WriteSet TmyDataBase::DBFUCalendar = {
    QStringLiteral("INSERT INTO CALENDAR (IDYEAR, FREEDAY) VALUES (:IDYEAR, :FREEDAY)"), {},
    QStringLiteral("DELETE FROM CALENDAR WHERE IDYEAR=:IDYEAR")};

const WriteSet TmyDataBase::DBFUHolidayPlans = {
    QStringLiteral("INSERT INTO HOLIDAYPLANS (IDYEAR, STATUS, PLANDIR) VALUES (:IDYEAR, 1, '')"),
    QStringLiteral("UPDATE HOLIDAYPLANS SET STATUS=:STATUS WHERE IDYEAR=:IDYEAR"),
    QStringLiteral("DELETE FROM HOLIDAYPLANS WHERE IDYEAR=:IDYEAR")};

const WriteSet TmyDataBase::DBFUPlanDir = {
    {}, QStringLiteral("UPDATE HOLIDAYPLANS SET PLANDIR=:PLANDIR WHERE IDYEAR=:IDYEAR"), {}};

const WriteSet TmyDataBase::DBFUEmployeesSettings = {
    QStringLiteral("INSERT INTO EMPLOYEESSETTINGS (IDYEAR, IDEMPLOYEE, LASTYEARDAYS, THISYEARDAYS, "
                   "NURSINGDAYS, MATERNITYDAYS, UNPAIDDAYS, SICKDAYS, OTHERDAYS, OTHERDESCR, "
                   "CHECKSUM) VALUES (:IDYEAR, :IDEMPLOYEE, :LASTYEARDAYS, :THISYEARDAYS, "
                   ":NURSINGDAYS, :MATERNITYDAYS, :UNPAIDDAYS, :SICKDAYS, :OTHERDAYS, "
                   ":OTHERDESCR, :CHECKSUM)"),
    QStringLiteral("UPDATE EMPLOYEESSETTINGS SET LASTYEARDAYS=:LASTYEARDAYS, "
                   "THISYEARDAYS=:THISYEARDAYS, NURSINGDAYS=:NURSINGDAYS, "
                   "MATERNITYDAYS=:MATERNITYDAYS, UNPAIDDAYS=:UNPAIDDAYS, SICKDAYS=:SICKDAYS, "
                   "OTHERDAYS=:OTHERDAYS, OTHERDESCR=:OTHERDESCR, CHECKSUM=:CHECKSUM WHERE "
                   "IDYEAR=:IDYEAR AND IDEMPLOYEE=:IDEMPLOYEE"),
    QStringLiteral("DELETE FROM EMPLOYEESSETTINGS WHERE IDYEAR=:IDYEAR AND IDEMPLOYEE=:IDEMPLOYEE")};

const WriteSet TmyDataBase::DBFUEmployeeHolidays = {
    QStringLiteral("INSERT INTO EMPLOYEEHOLIDAYS (IDYEAR, IDEMPLOYEE, SELECTEDDAY) VALUES "
                   "(:IDYEAR, :IDEMPLOYEE, :SELECTEDDAY)"),
    {},
    QStringLiteral("DELETE FROM EMPLOYEEHOLIDAYS WHERE IDYEAR=:IDYEAR AND IDEMPLOYEE=:IDEMPLOYEE")};

const WriteSet TmyDataBase::DBFUEmployeeConstDays = {
    QStringLiteral("INSERT INTO EMPLOYEECONSTDAYS (IDYEAR, IDEMPLOYEE, SELECTEDDAY) VALUES "
                   "(:IDYEAR, :IDEMPLOYEE, :SELECTEDDAY)"),
    {},
    QStringLiteral("DELETE FROM EMPLOYEECONSTDAYS WHERE IDYEAR=:IDYEAR AND IDEMPLOYEE=:IDEMPLOYEE")};

const WriteSet TmyDataBase::DBFUScheduler = {
    QStringLiteral("INSERT INTO SCHEDULER( IDTERM, IDDICCLASS, DATESINCE, IDEMPLOYEE, DESCRIPTION, "
                   "OTHER, ACT ) VALUES( :IDTERM, :IDDICCLASS, :DATESINCE, :IDEMPLOYEE, "
                   ":DESCRIPTION, :OTHER, :ACT )"),
    QStringLiteral("UPDATE SCHEDULER SET IDDICCLASS=:IDDICCLASS, DATESINCE=:DATESINCE, "
                   "IDEMPLOYEE=:IDEMPLOYEE, DESCRIPTION=:DESCRIPTION, OTHER=:OTHER, ACT=:ACT WHERE "
                   "IDTERM=:KEYIDTERM"),
    QStringLiteral("DELETE FROM SCHEDULER WHERE IDTERM=:KEYIDTERM")};

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
    DBFDictionary.setSql(kSqlDictionary);
    DBFUnits.setSql(kSqlUnits);
    DBFTermClass.setSql(kSqlTermClass);
    DBFEmployeesPrompt.setSql(kSqlEmployeesPrompt);
    DBFCalendar.setSql(leavesql::kCalendar);
    DBFHolidayPlans.setSql(kSqlHolidayPlans);
    DBFEmployeesSettingsBatch.setSql(kSqlEmployeesSettingsBatch);
    DBFSingleEmployeeSettings.setSql(leavesql::kSingleSettings);
    DBFEmployeeHolidays.setSql(leavesql::kChosenDays);
    DBFEmployeeConstDays.setSql(leavesql::kFixedDays);
    DBFCheckScheduler.setSql(kSqlCheckScheduler);
    ResetListState();
    // Lists whose text the opening operations compose get their default text now, so that a
    // Reopen before the first opening works too.
    DBFEmployees.setSql(kSqlEmployees.arg(employeesFilter, employeesSortColumn,
                                          direction(employeesSortAscending)));
    DBFScheduler.setSql(kSqlScheduler.arg(schedulerFilter1, schedulerFilter2, schedulerFilter3,
                                          schedulerSortColumn, direction(schedulerSortAscending)));
    DBFEmployeesSettings.setSql(kSqlEmployeesSettings.arg(QString()));
    DBFEmplOutsidePlan.setSql(kSqlOutsidePlan.arg(QString()));
    DBFZest.setSql(kSqlZest.arg(QString(), QString()));
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

bool TmyDataBase::SetPlanStatus(int year, int status)
{
    // The current status is read for every request, so that a plan deleted meanwhile by another
    // copy of the program is not taken for written.
    int current = 0;
    bool found = false;
    if (!Utility(kCodeSetPlanStatus, [&](fb::Statement& st) {
            st.setSql(leavesql::kPlanStatus);
            st.setParam(QStringLiteral("IDYEAR"), year);
            st.execute();
            found = st.fetch();
            if (found)
                current = toInt(st.value(0));
            st.close();
        }))
        return false;
    if (!found) {
        ReportUnexpectedError(
            QStringLiteral("Planu urlopowego na rok %1 nie ma już w bazie danych (mógł go usunąć "
                           "inny użytkownik). Status planu nie został zmieniony.")
                .arg(year),
            false, kCodeSetPlanStatus);
        return false;
    }
    const int newStatus = status == 2 && current >= 3 ? 6 : status;
    return Write(DBFUHolidayPlans.updateSql,
                 {{QStringLiteral("STATUS"), newStatus}, {QStringLiteral("IDYEAR"), year}},
                 kCodeSetPlanStatus);
}

QString TmyDataBase::ChosenDaysText(int year, const QString& employee, int month)
{
    QString text;
    Utility(kCodeChosenDaysText, [&](fb::Statement& st) {
        st.setSql(QStringLiteral("SELECT SELECTEDDAY FROM EMPLOYEEHOLIDAYS WHERE IDYEAR=:IDYEAR "
                                 "AND IDEMPLOYEE=:IDEMPLOYEE ORDER BY SELECTEDDAY"));
        st.setParam(QStringLiteral("IDYEAR"), year);
        st.setParam(QStringLiteral("IDEMPLOYEE"), employee);
        st.execute();
        while (st.fetch()) {
            const int day = toInt(st.value(0));
            if (month != 0 && MonthPart(day) != month)
                continue;
            if (!text.isEmpty())
                text += QChar(13);
            text += DateNumberToText(day);
        }
    });
    return text;
}

int TmyDataBase::CountChosenDays(int year, const QString& employee)
{
    int count = 0;
    const bool ok = Utility(kCodeCountChosenDays, [&](fb::Statement& st) {
        st.setSql(QStringLiteral("SELECT COUNT(*) FROM EMPLOYEEHOLIDAYS WHERE IDYEAR=:IDYEAR AND "
                                 "IDEMPLOYEE=:IDEMPLOYEE"));
        st.setParam(QStringLiteral("IDYEAR"), year);
        st.setParam(QStringLiteral("IDEMPLOYEE"), employee);
        st.execute();
        if (st.fetch())
            count = toInt(st.value(0));
        st.close();
    });
    return ok ? count : 0;
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

// --- shared lists ----------------------------------------------------------------------------

void TmyDataBase::OpenEmployees()
{
    if (!kEmployeesSortColumns.contains(employeesSortColumn))
        employeesSortColumn = QStringLiteral("NAME_O");
    openList(DBFEmployees,
             kSqlEmployees.arg(employeesFilter, employeesSortColumn,
                               direction(employeesSortAscending)),
             {}, kCodeOpenEmployees);
}

void TmyDataBase::OpenDictionary(const QString& type)
{
    openList(DBFDictionary, {}, {{QStringLiteral("IDTYPE"), type}}, kCodeOpenDictionary);
}

void TmyDataBase::OpenUnits()
{
    openList(DBFUnits, {}, {}, kCodeOpenPickList);
}

void TmyDataBase::OpenTermClass()
{
    openList(DBFTermClass, {}, {}, kCodeOpenPickList);
}

void TmyDataBase::OpenEmployeesPrompt()
{
    openList(DBFEmployeesPrompt, {}, {}, kCodeOpenPickList);
}

void TmyDataBase::OpenPlans()
{
    openList(DBFHolidayPlans, {}, {}, leavesql::kCodePlans);
}

void TmyDataBase::OpenCalendar(int year)
{
    openList(DBFCalendar, {}, {{QStringLiteral("IDYEAR"), year}}, leavesql::kCodeCalendar);
}

void TmyDataBase::OpenSettings(int year, int unit)
{
    Params params{{QStringLiteral("IDYEAR"), year}};
    if (unit > 0)
        params.emplace_back(QStringLiteral("IDDICUNIT"), unit);
    openList(DBFEmployeesSettings, kSqlEmployeesSettings.arg(unit > 0 ? kUnitSlot : QString()),
             params, leavesql::kCodeSettings);
}

void TmyDataBase::OpenSettingsBatch(int year)
{
    openList(DBFEmployeesSettingsBatch, {}, {{QStringLiteral("IDYEAR"), year}},
             kCodeOpenSettingsBatch);
}

void TmyDataBase::OpenOutsidePlan(int year, int unit)
{
    Params params{{QStringLiteral("IDYEAR"), year}};
    if (unit > 0)
        params.emplace_back(QStringLiteral("IDDICUNIT"), unit);
    openList(DBFEmplOutsidePlan, kSqlOutsidePlan.arg(unit > 0 ? kUnitSlot : QString()), params,
             kCodeOpenOutsidePlan);
}

void TmyDataBase::OpenSingleSettings(int year, const QString& employee)
{
    openList(DBFSingleEmployeeSettings, {},
             {{QStringLiteral("IDYEAR"), year}, {QStringLiteral("IDEMPLOYEE"), employee}},
             leavesql::kCodeSingleSettings);
}

void TmyDataBase::OpenChosenDays(int year, const QString& employee)
{
    openList(DBFEmployeeHolidays, {},
             {{QStringLiteral("IDYEAR"), year}, {QStringLiteral("IDEMPLOYEE"), employee}},
             leavesql::kCodeChosenDays);
}

void TmyDataBase::OpenFixedDays(int year, const QString& employee)
{
    openList(DBFEmployeeConstDays, {},
             {{QStringLiteral("IDYEAR"), year}, {QStringLiteral("IDEMPLOYEE"), employee}},
             leavesql::kCodeFixedDays);
}

void TmyDataBase::OpenSummary(int year, int unit, const QString& employee)
{
    Params params{{QStringLiteral("IDYEAR"), year}};
    if (unit > 0)
        params.emplace_back(QStringLiteral("IDDICUNIT"), unit);
    const bool byEmployee = text::TrimLength(employee) > 0;
    if (byEmployee)
        params.emplace_back(QStringLiteral("IDEMPLOYEE"), employee);
    openList(DBFZest,
             kSqlZest.arg(unit > 0 ? kUnitSlot : QString(),
                          byEmployee ? kEmployeeSlot : QString()),
             params, kCodeOpenSummary);
}

void TmyDataBase::OpenScheduler()
{
    if (!kSchedulerSortColumns.contains(schedulerSortColumn))
        schedulerSortColumn = QStringLiteral("DATESINCE");
    openList(DBFScheduler,
             kSqlScheduler.arg(schedulerFilter1, schedulerFilter2, schedulerFilter3,
                               schedulerSortColumn, direction(schedulerSortAscending)),
             {}, kCodeOpenScheduler);
}

void TmyDataBase::OpenDeadlineCheck(int upper, int lower)
{
    openList(DBFCheckScheduler, {},
             {{QStringLiteral("IDATAOD"), upper}, {QStringLiteral("IDATADO"), lower}},
             kCodeOpenDeadlineCheck);
}

void TmyDataBase::SortEmployeesBy(const QString& column)
{
    const QString c = column.toUpper();
    if (!kEmployeesSortColumns.contains(c))
        return;
    if (c == employeesSortColumn)
        employeesSortAscending = !employeesSortAscending;
    else
        employeesSortColumn = c;
    OpenEmployees();
}

void TmyDataBase::SortSchedulerBy(const QString& column)
{
    const QString c = column.toUpper();
    if (!kSchedulerSortColumns.contains(c))
        return;
    if (c == schedulerSortColumn)
        schedulerSortAscending = !schedulerSortAscending;
    else
        schedulerSortColumn = c;
    OpenScheduler();
}

// --- free helpers ----------------------------------------------------------------------------

QString PlanStatusName(int status)
{
    switch (status) {
    case 1:
        return QStringLiteral("Utworzony, dodaj pracowników");
    case 2:
        return QStringLiteral("Gotowy do generacji");
    case 3:
        return QStringLiteral("Wygenerowano do edycji");
    case 4:
        return QStringLiteral("Wczytano wypełnione plany");
    case 5:
        return QStringLiteral("Grafik zatwierdzony");
    case 6:
        return QStringLiteral("Zmieniono konfigurację grafiku");
    default:
        return {};
    }
}

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
