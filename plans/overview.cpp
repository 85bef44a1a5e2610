#include "plans/overview.h"

#include "data/fb/transactionguard.h"
#include "data/leavesql.h"
#include "data/mydatabase.h"
#include "util/csvexport.h"
#include "util/dates.h"
#include "util/exception.h"
#include "util/textcodec.h"

#include <algorithm>

namespace zf {

namespace {

// The codes of the lists these statements stand for.
constexpr int kCodeStatus = leavesql::kCodePlans;
constexpr int kCodeCalendar = leavesql::kCodeCalendar;
constexpr int kCodeSettings = leavesql::kCodeSettings;
constexpr int kCodeLeave = leavesql::kCodeChosenDays;
constexpr int kCodeFixed = leavesql::kCodeFixedDays;

const QString kSqlEmployees = QStringLiteral(
    "SELECT E.IDEMPLOYEE AS IDEMPLOYEE, NAME, SURNAME, LASTYEARDAYS, THISYEARDAYS, IDDICUNIT FROM "
    "EMPLOYEESSETTINGS AS S, EMPLOYEES AS E WHERE IDYEAR=:IDYEAR AND "
    "S.IDEMPLOYEE=E.IDEMPLOYEE\n%1\nORDER BY SURNAME,NAME,E.IDEMPLOYEE");
// All the year's days of one table at once; a day stored as non-working in any plan is left out,
// as the single employee's statement does.
const QString kSqlDays = QStringLiteral(
    "SELECT D.IDEMPLOYEE, D.SELECTEDDAY FROM %1 AS D WHERE D.IDYEAR=:IDYEAR AND NOT EXISTS "
    "(SELECT * FROM CALENDAR AS C WHERE C.FREEDAY=D.SELECTEDDAY)\n%2");
const QString kUnitLine = QStringLiteral("AND IDDICUNIT=:IDDICUNIT");
const QString kDaysUnitLine = QStringLiteral(
    "AND EXISTS (SELECT * FROM EMPLOYEES AS U WHERE U.IDEMPLOYEE=D.IDEMPLOYEE AND "
    "U.IDDICUNIT=:IDDICUNIT)");

} // namespace

void THolidayPlans::Clear()
{
    m_entries.clear();
    m_index.clear();
}

bool THolidayPlans::Add(const THolidayPlanEntry& entry)
{
    if (m_index.contains(entry.IDEMPLOYEE))
        return false;
    m_index.insert(entry.IDEMPLOYEE, Count());
    m_entries.push_back(entry);
    return true;
}

int OverviewData::dayCount() const
{
    return DaysInYear(year);
}

int DaysInYear(int year)
{
    return QDate::isLeapYear(year) ? 366 : 365;
}

// By arithmetic: the overview's load asks this for every leave day of the year.
int PlanDayOfYear(int dateNumber, int year)
{
    static constexpr int kBefore[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    static constexpr int kLength[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    // Date numbers have four-digit years.
    if (year < 1000 || year > 9999 || dateNumber / 10000 != year)
        return 0;
    const int month = dateNumber / 100 % 100;
    const int day = dateNumber % 100;
    if (month < 1 || month > 12 || day < 1)
        return 0;
    const bool leap = QDate::isLeapYear(year);
    const int extra = leap && month > 2 ? 1 : 0;
    if (day > kLength[month - 1] + (leap && month == 2 ? 1 : 0))
        return 0;
    return kBefore[month - 1] + extra + day;
}

int RemainingDays(int thisYearDays, int lastYearDays, int leaveDays)
{
    return thisYearDays + lastYearDays - leaveDays;
}

bool LoadOverview(TmyDataBase& db, int year, int unitFilter, OverviewData& out)
{
    out = OverviewData{};
    out.year = year;
    out.unitFilter = unitFilter;
    const bool byUnit = unitFilter > 0;
    int code = kCodeStatus;
    // One snapshot for the whole load: the figures, the days and the list are of one moment.
    fb::Transaction tr(db.FBDataBase, fb::tpb::readOnlySnapshot());
    fb::Statement st(db.FBDataBase, &tr);
    try {
        fb::TransactionGuard guard(tr);
        st.setSql(leavesql::kPlanStatus);
        st.setParam(QStringLiteral("IDYEAR"), year);
        st.execute();
        out.approved = st.fetch() && toInt(st.value(0)) == 5;
        st.close();

        code = kCodeCalendar;
        st.setSql(leavesql::kCalendar);
        st.setParam(QStringLiteral("IDYEAR"), year);
        st.execute();
        while (st.fetch()) {
            const int day = PlanDayOfYear(st.intValue(0), year);
            if (day > 0)
                out.working.reset(day - 1);
        }
        st.close();

        code = kCodeSettings;
        st.setSql(kSqlEmployees.arg(byUnit ? kUnitLine : QString()));
        st.setParam(QStringLiteral("IDYEAR"), year);
        if (byUnit)
            st.setParam(QStringLiteral("IDDICUNIT"), unitFilter);
        st.execute();
        while (st.fetch()) {
            THolidayPlanEntry e;
            e.IDEMPLOYEE = st.value(0).toString();
            e.NAME = st.value(1).toString();
            e.SURNAME = st.value(2).toString();
            e.LASTYEARDAYS = st.intValue(3);
            e.THISYEARDAYS = st.intValue(4);
            e.IDDICUNIT = st.isNull(5) ? -1 : st.intValue(5);
            e.remaining = RemainingDays(e.THISYEARDAYS, e.LASTYEARDAYS, 0);
            out.plans.Add(e);
        }
        st.close();

        const auto readDays = [&](const QString& table, bool leave) {
            st.setSql(kSqlDays.arg(table, byUnit ? kDaysUnitLine : QString()));
            st.setParam(QStringLiteral("IDYEAR"), year);
            if (byUnit)
                st.setParam(QStringLiteral("IDDICUNIT"), unitFilter);
            st.execute();
            // Rows come grouped by employee more often than not: remember the last one found,
            // by its stored bytes, so most rows build no text at all.
            QByteArray lastId;
            int lastIndex = -1;
            bool first = true;
            while (st.fetch()) {
                const QByteArrayView id = st.textBytes(0);
                if (first || id != lastId) {
                    first = false;
                    lastId = id.toByteArray();
                    lastIndex = out.plans.IndexOf(fromCp1250(lastId));
                }
                const int day = PlanDayOfYear(st.intValue(1), year);
                if (lastIndex < 0 || day == 0)
                    continue; // not in this plan (any more), or not a day of the year
                THolidayPlanEntry& e = out.plans.at(lastIndex);
                if (leave) {
                    e.leave.set(day - 1);
                    --e.remaining;
                } else {
                    e.unchangeable.set(day - 1);
                }
            }
            st.close();
        };
        code = kCodeLeave;
        readDays(QStringLiteral("EMPLOYEEHOLIDAYS"), true);
        code = kCodeFixed;
        readDays(QStringLiteral("EMPLOYEECONSTDAYS"), false);
        guard.commit();
        return true;
    } catch (const Exception& e) {
        st.close();
        tr.rollbackQuietly();
        const int keepYear = out.year;
        out = OverviewData{};
        out.year = keepYear;
        out.unitFilter = unitFilter;
        db.ReportUnexpectedError(e.message(), true, code);
        return false;
    }
}

QString DayHeaderText(int year, int day)
{
    const int n = DateOfDayOfYear(day, year);
    if (n == 0)
        return {};
    return QString::number(DayPart(n)) + QLatin1Char(' ') + monthAbbreviation(MonthPart(n));
}

QString WeekdayText(int year, int day)
{
    return dayOfWeekAbbreviation(DateOfDayOfYear(day, year));
}

QString EntryNameText(const THolidayPlanEntry& e)
{
    return e.NAME + QLatin1Char(' ') + e.SURNAME + QStringLiteral(" (") + e.IDEMPLOYEE +
           QLatin1Char(')');
}

QString EntryEntitlementText(const THolidayPlanEntry& e)
{
    return QString::number(e.THISYEARDAYS) + QStringLiteral(" (") +
           QString::number(e.LASTYEARDAYS) + QLatin1Char(')');
}

QString DayMarkText(const OverviewData& data, const THolidayPlanEntry& e, int day)
{
    if (!data.isWorkingDay(day))
        return QStringLiteral("x");
    QString mark;
    if (e.isLeave(day))
        mark = QStringLiteral("v");
    if (e.isUnchangeable(day))
        mark += QLatin1Char('!');
    return mark;
}

QList<QStringList> OverviewSheet(const OverviewData& data)
{
    const int days = data.dayCount();
    QList<QStringList> sheet;
    QStringList header{QStringLiteral("Nazwisko pracownika"), QStringLiteral("Należny"),
                       QStringLiteral("Pozost.")};
    QStringList weekdays{QString(), QString(), QString()};
    for (int d = 1; d <= days; ++d) {
        header << DayHeaderText(data.year, d);
        weekdays << WeekdayText(data.year, d);
    }
    sheet << header << weekdays;
    for (int i = 0; i < data.plans.Count(); ++i) {
        const THolidayPlanEntry& e = data.plans.at(i);
        QStringList row{TOVExportToCSV::DataCellText(EntryNameText(e)), EntryEntitlementText(e),
                        QString::number(e.remaining)};
        row.reserve(days + 3);
        for (int d = 1; d <= days; ++d)
            row << DayMarkText(data, e, d);
        sheet << row;
    }
    sheet << QStringList{QString()} << QStringList{kOverviewLegend};
    return sheet;
}

bool EditorReadOnly(const LoginState& login, bool approved, const QString& rowEmployee)
{
    if (!login.restricted)
        return false;
    const bool ownRow = !login.employee.isEmpty() && login.employee == rowEmployee;
    if (!ownRow)
        return true;
    return approved && login.approvedPlanLock;
}

int FirstVisibleDay(int year, const QDate& today, int visibleDayColumns)
{
    int day = today.day();
    if (today.month() == 2 && day == 29 && !QDate::isLeapYear(year))
        day = 28;
    const int h = PlanDayOfYear(MakeDateNumber(day, today.month(), year), year);
    const int days = DaysInYear(year);
    if (h <= 0)
        return 1;
    if (days - h < visibleDayColumns)
        return std::max(1, days - visibleDayColumns + 1);
    return h;
}

} // namespace zf
