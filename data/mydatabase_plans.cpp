// The plans' lists, writes and operations of the database module: the plans, their calendars,
// the employees' settings and chosen days, and the summary.
#include "data/mydatabase.h"

#include "data/fb/transactionguard.h"
#include "data/leavesql.h"
#include "util/dates.h"

namespace zf {

namespace {

constexpr int kCodeOpenOutsidePlan = 42057;
constexpr int kCodeOpenSummary = 161627;
constexpr int kCodeOpenSettingsBatch = 2142102;
constexpr int kCodeSetPlanStatus = 161800;
constexpr int kCodeChosenDaysText = 161712;
constexpr int kCodeCountChosenDays = 162021;

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
const QString kUnitSlot = QStringLiteral("AND IDDICUNIT=:IDDICUNIT");
const QString kEmployeeSlot = QStringLiteral("AND E.IDEMPLOYEE=:IDEMPLOYEE");

} // namespace

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

void TmyDataBase::installPlanStatements()
{
    DBFCalendar.setSql(leavesql::kCalendar);
    DBFHolidayPlans.setSql(kSqlHolidayPlans);
    DBFEmployeesSettingsBatch.setSql(kSqlEmployeesSettingsBatch);
    DBFSingleEmployeeSettings.setSql(leavesql::kSingleSettings);
    DBFEmployeeHolidays.setSql(leavesql::kChosenDays);
    DBFEmployeeConstDays.setSql(leavesql::kFixedDays);
    // Lists whose text the opening operations compose get their default text now, so that a
    // Reopen before the first opening works too.
    DBFEmployeesSettings.setSql(kSqlEmployeesSettings.arg(QString()));
    DBFEmplOutsidePlan.setSql(kSqlOutsidePlan.arg(QString()));
    DBFZest.setSql(kSqlZest.arg(QString(), QString()));
}

bool TmyDataBase::SetPlanStatus(int year, int status)
{
    // Read and written in one write transaction, the plan's row taken by the read: a status
    // another copy writes meanwhile is waited for and decides, rather than being overwritten by
    // one worked out from what stood before it. The read also tells a plan deleted meanwhile by
    // another copy of the program from a written one.
    fb::Statement& st = DBFWorkingSQL;
    bool found = false;
    try {
        fb::TransactionGuard guard(DBFTransaction);
        st.close();
        st.setTransaction(&DBFTransaction);
        st.setSql(leavesql::kPlanStatus + QStringLiteral(" WITH LOCK"));
        st.setParam(QStringLiteral("IDYEAR"), year);
        st.execute();
        found = st.fetch();
        const int current = found ? toInt(st.value(0)) : 0;
        st.close();
        if (found) {
            st.setSql(DBFUHolidayPlans.updateSql);
            st.setParam(QStringLiteral("STATUS"), status == 2 && current >= 3 ? 6 : status);
            st.setParam(QStringLiteral("IDYEAR"), year);
            st.execute();
            st.close();
            guard.commit();
        }
    } catch (const Exception& e) {
        st.close();
        DBFTransaction.rollbackQuietly();
        ReportUnexpectedError(e, kCodeSetPlanStatus);
        return false;
    }
    if (!found) {
        ReportUnexpectedError(
            QStringLiteral("Planu urlopowego na rok %1 nie ma już w bazie danych (mógł go usunąć "
                           "inny użytkownik). Status planu nie został zmieniony.")
                .arg(year),
            false, kCodeSetPlanStatus);
        return false;
    }
    return true;
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

} // namespace zf
