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

// Bytes of one packed row: 32 leave days and 8 unchangeable ones, two bytes each.
constexpr int kLeaveBytes = 64;
constexpr int kFixedBytes = 16;

// Each employee of the plan in one row with his days packed in it, two bytes a day (the month,
// the day of the month): over an office network a row of each day costs a round trip every few
// hundred days, and a large company has hundreds of thousands. An employee with more days than a
// row holds comes again in the next rows. Only the days of the plan year are packed (the month
// is computed from the date number); the caller checks the rest. The year and the unit are
// numbers written into the text: the block's own ":variables" are not parameters.
QString employeesBlockSql(int year, int unitFilter)
{
    const QString days = QStringLiteral(
        "    FOR SELECT SELECTEDDAY FROM %1 WHERE IDYEAR=%2 AND IDEMPLOYEE=:IDEMPLOYEE AND "
        // "+ 0": the day's own index would take the whole year's rows for every employee.
        "SELECTEDDAY + 0 BETWEEN %3 AND %4 INTO D DO BEGIN\n"
        "      IF (OCTET_LENGTH(%5) = %6) THEN BEGIN SUSPEND; %7 END\n"
        "      %5 = %5 || ASCII_CHAR((MOD(D, 10000) - MOD(D, 100)) / 100) || "
        "ASCII_CHAR(MOD(D, 100));\n"
        "    END\n");
    const QString y = QString::number(year);
    const QString first = QString::number(year * 10000 + 101);
    const QString last = QString::number(year * 10000 + 1231);
    return QStringLiteral(
               "EXECUTE BLOCK RETURNS (IDEMPLOYEE VARCHAR(20), NAME VARCHAR(30), SURNAME "
               "VARCHAR(50), LASTYEARDAYS INTEGER, THISYEARDAYS INTEGER, IDDICUNIT INTEGER, "
               "LEAVEDAYS VARCHAR(%1) CHARACTER SET OCTETS, FIXEDDAYS VARCHAR(%2) CHARACTER SET "
               "OCTETS) AS\n"
               "  DECLARE D INTEGER;\n"
               "BEGIN\n"
               "  FOR SELECT E.IDEMPLOYEE, NAME, SURNAME, LASTYEARDAYS, THISYEARDAYS, IDDICUNIT "
               "FROM EMPLOYEESSETTINGS AS S, EMPLOYEES AS E WHERE S.IDYEAR=%3 AND "
               "S.IDEMPLOYEE=E.IDEMPLOYEE%4 ORDER BY SURNAME, NAME, E.IDEMPLOYEE\n"
               "    INTO IDEMPLOYEE, NAME, SURNAME, LASTYEARDAYS, THISYEARDAYS, IDDICUNIT DO "
               "BEGIN\n"
               "    LEAVEDAYS = ''; FIXEDDAYS = '';\n"
               "%5%6"
               "    SUSPEND;\n"
               "  END\n"
               "END")
        .arg(kLeaveBytes)
        .arg(kFixedBytes)
        .arg(y,
             unitFilter > 0 ? QStringLiteral(" AND IDDICUNIT=%1").arg(unitFilter) : QString(),
             days.arg(QStringLiteral("EMPLOYEEHOLIDAYS"), y, first, last,
                      QStringLiteral("LEAVEDAYS"), QString::number(kLeaveBytes),
                      QStringLiteral("LEAVEDAYS = '';")),
             days.arg(QStringLiteral("EMPLOYEECONSTDAYS"), y, first, last,
                      QStringLiteral("FIXEDDAYS"), QString::number(kFixedBytes),
                      QStringLiteral("LEAVEDAYS = ''; FIXEDDAYS = '';")));
}

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

QStringList OverviewStatements(int year, int unitFilter)
{
    const QString y = QString::number(year);
    return {QStringLiteral("SELECT STATUS FROM HOLIDAYPLANS WHERE IDYEAR=%1").arg(y),
            // The plan's own non-working days, and those of any plan in this year: a day stored
            // as non-working in any plan is no leave day, as the single employee's load has it.
            QStringLiteral("SELECT FREEDAY, IDYEAR FROM CALENDAR WHERE IDYEAR=%1 OR FREEDAY "
                           "BETWEEN %2 AND %3")
                .arg(y)
                .arg(year * 10000 + 101)
                .arg(year * 10000 + 1231),
            employeesBlockSql(year, unitFilter)};
}

bool LoadOverview(TmyDataBase& db, int year, int unitFilter, OverviewData& out)
{
    out = OverviewData{};
    out.year = year;
    out.unitFilter = unitFilter;
    const QStringList sql = OverviewStatements(year, unitFilter);
    int code = kCodeStatus;
    // One snapshot for the whole load: the figures, the days and the list are of one moment.
    fb::Transaction tr(db.FBDataBase, fb::tpb::readOnlySnapshot());
    fb::Statement st(db.FBDataBase, &tr);
    try {
        fb::TransactionGuard guard(tr);
        st.setSql(sql.at(0));
        st.execute();
        out.approved = st.fetch() && toInt(st.value(0)) == 5;
        st.close();

        code = kCodeCalendar;
        YearFlags freeInAnyPlan;
        st.setSql(sql.at(1));
        st.execute();
        while (st.fetch()) {
            const int day = PlanDayOfYear(st.intValue(0), year);
            if (day == 0)
                continue;
            freeInAnyPlan.set(day - 1);
            if (st.intValue(1) == year)
                out.working.reset(day - 1);
        }
        st.close();

        code = kCodeSettings;
        st.setParamCheck(false);
        st.setSql(sql.at(2));
        st.execute();
        // Two bytes a day: the month and the day of the month.
        const auto unpack = [&](QByteArrayView packed, auto&& add) {
            for (qsizetype i = 0; i + 1 < packed.size(); i += 2) {
                const int n = year * 10000 + static_cast<unsigned char>(packed[i]) * 100 +
                              static_cast<unsigned char>(packed[i + 1]);
                const int day = PlanDayOfYear(n, year);
                if (day > 0 && !freeInAnyPlan[day - 1])
                    add(day - 1);
            }
        };
        QByteArray lastId;
        THolidayPlanEntry* e = nullptr;
        while (st.fetch()) {
            const QByteArrayView id = st.textBytes(0);
            // The next rows of an employee with more days than one row holds.
            if (!e || id != lastId) {
                lastId = id.toByteArray();
                THolidayPlanEntry entry;
                entry.IDEMPLOYEE = fromCp1250(lastId);
                entry.NAME = fromCp1250(st.textBytes(1));
                entry.SURNAME = fromCp1250(st.textBytes(2));
                entry.LASTYEARDAYS = st.intValue(3);
                entry.THISYEARDAYS = st.intValue(4);
                entry.IDDICUNIT = st.isNull(5) ? -1 : st.intValue(5);
                entry.remaining = RemainingDays(entry.THISYEARDAYS, entry.LASTYEARDAYS, 0);
                out.plans.Add(entry);
                e = &out.plans.at(out.plans.IndexOf(entry.IDEMPLOYEE));
            }
            unpack(st.textBytes(6), [e](int bit) {
                if (!e->leave.test(bit)) {
                    e->leave.set(bit);
                    --e->remaining;
                }
            });
            unpack(st.textBytes(7), [e](int bit) { e->unchangeable.set(bit); });
        }
        st.close();
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
