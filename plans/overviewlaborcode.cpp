#include "plans/overviewlaborcode.h"

#include <algorithm>

namespace zf {

std::vector<LaborCodeCheck> CheckLaborCode(const OverviewData& data)
{
    std::vector<LaborCodeCheck> checks;
    const int count = data.plans.Count();
    checks.reserve(static_cast<size_t>(count));
    const LaborCodeYear year = MakeLaborCodeYear(data.year, data.working);
    for (int i = 0; i < count; ++i) {
        const THolidayPlanEntry& e = data.plans.at(i);
        checks.push_back(CheckLaborCode(year, e.leave, e.LASTYEARDAYS, e.THISYEARDAYS));
    }
    return checks;
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
