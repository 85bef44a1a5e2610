#include "plans/overviewlaborcode.h"

#include "data/fb/transactionguard.h"
#include "data/leavesql.h"
#include "data/mydatabase.h"
#include "util/dates.h"
#include "util/exception.h"

#include <algorithm>

namespace zf {

namespace {

// The next plan's leave of January is all a run from 31 December can reach in a year of 14-day
// runs; leave days stored as non-working in any plan are left out, as the overview does.
const QString kSqlNextLeave = QStringLiteral(
    "SELECT D.IDEMPLOYEE, D.SELECTEDDAY FROM EMPLOYEEHOLIDAYS AS D WHERE D.IDYEAR=:IDYEAR AND "
    "D.SELECTEDDAY<=:LASTDAY AND NOT EXISTS (SELECT * FROM CALENDAR AS C WHERE "
    "C.FREEDAY=D.SELECTEDDAY)");
const QString kSqlAbsent = QStringLiteral(
    "SELECT IDEMPLOYEE FROM EMPLOYEESSETTINGS WHERE IDYEAR=:IDYEAR AND "
    "(MATERNITYDAYS>0 OR SICKDAYS>0)");

} // namespace

bool LoadLaborCodeContext(TmyDataBase& db, const OverviewData& data, LaborCodeContext& out)
{
    out = LaborCodeContext{};
    const int next = data.year + 1;
    int code = leavesql::kCodePlans;
    fb::Transaction tr(db.FBDataBase, fb::tpb::readOnlySnapshot());
    fb::Statement st(db.FBDataBase, &tr);
    try {
        fb::TransactionGuard guard(tr);
        st.setSql(leavesql::kPlanStatus);
        st.setParam(QStringLiteral("IDYEAR"), next);
        st.execute();
        out.nextPlan = st.fetch();
        st.close();
        if (out.nextPlan) {
            code = leavesql::kCodeCalendar;
            st.setSql(leavesql::kCalendar);
            st.setParam(QStringLiteral("IDYEAR"), next);
            st.execute();
            while (st.fetch())
                out.nextNonWorkingDays.insert(st.intValue(0));
            st.close();

            code = leavesql::kCodeChosenDays;
            st.setSql(kSqlNextLeave);
            st.setParam(QStringLiteral("IDYEAR"), next);
            st.setParam(QStringLiteral("LASTDAY"), next * 10000 + 131);
            st.execute();
            while (st.fetch()) {
                const int day = PlanDayOfYear(st.intValue(1), next);
                if (day > 0)
                    out.nextLeave[st.value(0).toString()].set(day - 1);
            }
            st.close();
        }
        code = leavesql::kCodeSettings;
        st.setSql(kSqlAbsent);
        st.setParam(QStringLiteral("IDYEAR"), data.year);
        st.execute();
        while (st.fetch())
            out.absent.insert(st.value(0).toString());
        st.close();
        guard.commit();
        return true;
    } catch (const Exception& e) {
        st.close();
        tr.rollbackQuietly();
        out = LaborCodeContext{};
        db.ReportUnexpectedError(e.message(), true, code);
        return false;
    }
}

std::vector<LaborCodeCheck> CheckLaborCode(const OverviewData& data,
                                           const LaborCodeContext& context)
{
    std::vector<LaborCodeCheck> checks;
    const int count = data.plans.Count();
    checks.reserve(static_cast<size_t>(count));
    LaborCodeYear year = MakeLaborCodeYear(data.year, data.working);
    if (context.nextPlan)
        SetNextYearPlan(year, context.nextNonWorkingDays);
    for (int i = 0; i < count; ++i) {
        const THolidayPlanEntry& e = data.plans.at(i);
        LaborCodeEmployee employee;
        employee.nextLeave = context.nextLeave.value(e.IDEMPLOYEE);
        employee.absent = context.absent.contains(e.IDEMPLOYEE);
        checks.push_back(CheckLaborCode(year, e.leave, e.LASTYEARDAYS, e.THISYEARDAYS, employee));
    }
    return checks;
}

std::vector<LaborCodeCheck> CheckLaborCode(TmyDataBase& db, const OverviewData& data)
{
    LaborCodeContext context;
    LoadLaborCodeContext(db, data, context);
    return CheckLaborCode(data, context);
}

QString LaborCodeColumnHint()
{
    return QStringLiteral(
        "Zgodność planu z Kodeksem pracy: część urlopu trwająca co najmniej 14 "
        "kolejnych dni (art. 162 KP) i zaległy urlop do 30 września (art. 168 KP)");
}

QList<QStringList> WithLaborCodeColumn(QList<QStringList> sheet,
                                       const std::vector<LaborCodeCheck>& checks)
{
    // Two header rows, then the entries in list order; the staffing rows, the empty row and
    // the legend follow.
    constexpr qsizetype kColumn = 3;
    for (qsizetype r = 0; r < sheet.size(); ++r) {
        QStringList& row = sheet[r];
        if (row.size() < kColumn)
            continue;
        QString cell;
        if (r == 0)
            cell = kLaborCodeColumnTitle;
        else if (r >= 2 && static_cast<size_t>(r - 2) < checks.size())
            cell = LaborCodeShortText(checks[static_cast<size_t>(r - 2)], QStringLiteral("; "));
        row.insert(kColumn, cell);
    }
    return sheet;
}

std::vector<LaborCodeBreak> LaborCodeBreaks(const OverviewData& data,
                                            const std::vector<LaborCodeCheck>& checks)
{
    std::vector<LaborCodeBreak> out;
    const int count = std::min(data.plans.Count(), static_cast<int>(checks.size()));
    for (int i = 0; i < count; ++i)
        if (checks[static_cast<size_t>(i)].broken())
            out.push_back({EntryNameText(data.plans.at(i)), checks[static_cast<size_t>(i)]});
    return out;
}

QString PlanApprovalQuestion(int year, const std::vector<StaffingShortfall>& shortfalls,
                             const std::vector<LaborCodeBreak>& breaks, int shown)
{
    QStringList parts;
    if (!shortfalls.empty())
        parts << ShortfallLines(year, shortfalls, shown);
    if (!breaks.empty()) {
        QString text =
            QStringLiteral("Plan narusza zasady urlopowe Kodeksu pracy u pracowników:\n");
        const int count = static_cast<int>(breaks.size());
        for (int i = 0; i < std::min(count, shown); ++i) {
            const LaborCodeBreak& b = breaks[static_cast<size_t>(i)];
            text += b.employee + QStringLiteral(": ") +
                    LaborCodeShortText(b.check, QStringLiteral("; ")) + QLatin1Char('\n');
        }
        if (count > shown)
            text += QStringLiteral("i jeszcze ") + QString::number(count - shown) +
                    QStringLiteral(" innych.\n");
        parts << text;
    }
    const QString question = QStringLiteral("Czy na pewno zatwierdzić plan?");
    if (parts.isEmpty())
        return question;
    return parts.join(QLatin1Char('\n')) + QLatin1Char('\n') + question;
}

} // namespace zf
