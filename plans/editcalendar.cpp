#include "plans/editcalendar.h"

#include "data/daysblock.h"
#include "data/fb/transactionguard.h"
#include "data/leavesql.h"
#include "data/mydatabase.h"
#include "plans/nonworkingdays.h"
#include "plans/overview.h"
#include "util/dates.h"
#include "util/exception.h"

namespace zf {

namespace {

constexpr int kCodeSave = 151801;

// The save in one statement. The employee's row of the plan is taken first, for the rest of the
// transaction: a second save of the same days (another clerk's, an import's) waits there until
// the first has committed, and its delete then sees every row the first inserted; under read
// committed alone the waiting delete would miss them and the two saves would merge. Then his
// days are replaced. Nothing is written when he is no longer in the plan.
const QString kSaveBlock =
    QStringLiteral("EXECUTE BLOCK (Y INTEGER = :IDYEAR, K VARCHAR(20) = :IDEMPLOYEE, D VARCHAR(%1) "
                   "= :DAYS)\n"
                   "RETURNS (INPLAN INTEGER)\nAS")
        .arg(daysblock::kYearDaysChars) +
    daysblock::ReplaceDaysProcedure(QStringLiteral("VARCHAR(%1)").arg(daysblock::kYearDaysChars)) +
    QStringLiteral("BEGIN\n"
                   "  INPLAN = 0;\n"
                   "  FOR SELECT 1 FROM EMPLOYEESSETTINGS WHERE IDYEAR = : Y AND IDEMPLOYEE = : K "
                   "WITH LOCK INTO INPLAN DO BEGIN END\n"
                   "  IF (INPLAN = 1) THEN EXECUTE PROCEDURE ZF_REPLACE_DAYS (Y, K, D);\n"
                   "  SUSPEND;\n"
                   "END");

// The slot of a date of the plan year; nullptr for any other number.
DayState* slotOf(YearDays& days, int dateNumber, int year)
{
    if (PlanDayOfYear(dateNumber, year) == 0)
        return nullptr;
    return &days[static_cast<size_t>(MonthPart(dateNumber) - 1)]
                [static_cast<size_t>(DayPart(dateNumber) - 1)];
}

} // namespace

bool LoadEditCalendar(TmyDataBase& db, int year, const QString& employee, EditCalendarState& out)
{
    out = EditCalendarState{};
    bool ok = db.Utility(leavesql::kCodeSingleSettings, [&](fb::Statement& st) {
        st.setSql(leavesql::kSingleSettings);
        st.setParam(QStringLiteral("IDYEAR"), year);
        st.setParam(QStringLiteral("IDEMPLOYEE"), employee);
        st.execute();
        if (st.fetch()) {
            out.found = true;
            out.employeeText = st.value(QStringLiteral("EMPLOYEE")).toString();
            out.lastYearDays = toInt(st.value(QStringLiteral("LASTYEARDAYS")));
            out.thisYearDays = toInt(st.value(QStringLiteral("THISYEARDAYS")));
        }
        st.close();
    });
    out.remaining = out.summary();
    ok = ok && db.Utility(leavesql::kCodeCalendar, [&](fb::Statement& st) {
        st.setSql(leavesql::kCalendar);
        st.setParam(QStringLiteral("IDYEAR"), year);
        st.execute();
        while (st.fetch()) {
            if (DayState* s = slotOf(out.days, toInt(st.value(0)), year)) {
                s->selectable = false;
                s->unchangeable = false;
            }
        }
        st.close();
    });
    const auto readDays = [&](const QString& sql, int code, bool leave) {
        return db.Utility(code, [&](fb::Statement& st) {
            st.setSql(sql);
            st.setParam(QStringLiteral("IDYEAR"), year);
            st.setParam(QStringLiteral("IDEMPLOYEE"), employee);
            st.execute();
            while (st.fetch()) {
                DayState* s = slotOf(out.days, toInt(st.value(0)), year);
                if (!s)
                    continue;
                if (!leave) {
                    s->unchangeable = true;
                } else if (!s->selected) {
                    s->selected = true;
                    --out.remaining;
                }
            }
            st.close();
        });
    };
    ok = ok && readDays(leavesql::kChosenDays, leavesql::kCodeChosenDays, true);
    ok = ok && readDays(leavesql::kFixedDays, leavesql::kCodeFixedDays, false);
    return ok;
}

SaveCalendarResult SaveEditCalendar(TmyDataBase& db, int year, const QString& employee,
                                    const YearDays& days, int remaining, bool checkRange)
{
    if (remaining < 0 && checkRange)
        return SaveCalendarResult::OverLimit;
    QList<int> chosen;
    QList<int> unchangeable;
    for (int m = 1; m <= 12; ++m) {
        for (int d = 1; d <= 31; ++d) {
            const int n = year * 10000 + m * 100 + d;
            const DayState& s = days[static_cast<size_t>(m - 1)][static_cast<size_t>(d - 1)];
            // Slots that are no day of the month are never written.
            if (!IsValidDateNumber(n))
                continue;
            if (s.selected)
                chosen << n;
            if (s.unchangeable)
                unchangeable << n;
        }
    }
    fb::Statement& st = db.DBFWorkingSQL;
    try {
        fb::TransactionGuard guard(db.DBFTransaction);
        st.close();
        st.setTransaction(&db.DBFTransaction);
        st.setSql(kSaveBlock);
        st.setParam(QStringLiteral("IDYEAR"), year);
        st.setParam(QStringLiteral("IDEMPLOYEE"), employee);
        st.setParam(QStringLiteral("DAYS"), daysblock::DaysText(chosen, unchangeable));
        st.execute();
        const bool inPlan = st.fetch() && st.intValue(0) == 1;
        st.close();
        if (!inPlan)
            return SaveCalendarResult::NotInPlan;
        guard.commit();
        return SaveCalendarResult::Saved;
    } catch (const Exception& e) {
        st.close();
        db.DBFTransaction.rollbackQuietly();
        // Another clerk holding the employee past the lock timeout is told in Polish.
        if (fb::isLockConflict(e))
            db.ReportUnexpectedError(e, kCodeSave);
        else
            db.ReportUnexpectedError(daysblock::WithoutBlockLines(e.message()) +
                                         QStringLiteral("\n\n") + kSaveKeptHint,
                                     true, kCodeSave);
        return SaveCalendarResult::Failed;
    }
}

QString SaveCalendarMessage(SaveCalendarResult result)
{
    switch (result) {
    case SaveCalendarResult::OverLimit:
        return kOverLimitMessage;
    case SaveCalendarResult::NotInPlan:
        return kNotInPlanMessage;
    case SaveCalendarResult::Saved:
    case SaveCalendarResult::Failed:
        break;
    }
    return {};
}

} // namespace zf
