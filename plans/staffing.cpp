#include "plans/staffing.h"

#include "data/fb/statement.h"
#include "data/mydatabase.h"
#include "util/csvexport.h"
#include "util/dates.h"

#include <algorithm>

namespace zf {

namespace {

constexpr int kCodeThresholds = 151910;
constexpr int kCodeSaveThreshold = 151911;
constexpr int kCodeEmployeeUnit = 151912;

const QString kSqlThresholds = QStringLiteral(
    "SELECT T.IDDICUNIT, T.MINSTAFF, D.DESCRIPTION FROM UNITSTAFFING AS T, DICTIONARY AS D "
    "WHERE D.IDDICTIONARY=T.IDDICUNIT AND T.MINSTAFF>0");
const QString kSqlThreshold =
    QStringLiteral("SELECT MINSTAFF FROM UNITSTAFFING WHERE IDDICUNIT=:IDDICUNIT");
const QString kSqlStoreThreshold = QStringLiteral(
    "UPDATE OR INSERT INTO UNITSTAFFING (IDDICUNIT, MINSTAFF) VALUES (:IDDICUNIT, :MINSTAFF) "
    "MATCHING (IDDICUNIT)");
const QString kSqlDeleteThreshold =
    QStringLiteral("DELETE FROM UNITSTAFFING WHERE IDDICUNIT=:IDDICUNIT");
const QString kSqlEmployeeThreshold = QStringLiteral(
    "SELECT E.IDDICUNIT, T.MINSTAFF, D.DESCRIPTION FROM EMPLOYEES AS E, UNITSTAFFING AS T, "
    "DICTIONARY AS D WHERE E.IDEMPLOYEE=:IDEMPLOYEE AND T.IDDICUNIT=E.IDDICUNIT AND "
    "D.IDDICTIONARY=T.IDDICUNIT AND T.MINSTAFF>0");

QString dayText(int year, int day)
{
    return DateNumberToText(DateOfDayOfYear(day, year));
}

} // namespace

bool LoadUnitThresholds(TmyDataBase& db, UnitThresholds& out)
{
    out.clear();
    UnitThresholds read;
    const bool ok = db.Utility(kCodeThresholds, [&](fb::Statement& st) {
        st.setSql(kSqlThresholds);
        st.execute();
        while (st.fetch()) {
            UnitThreshold t;
            t.unit = st.value(0).toInt();
            t.minimum = st.value(1).toInt();
            t.name = st.value(2).toString();
            read.insert(t.unit, t);
        }
        st.close();
    });
    if (ok)
        out = read;
    return ok;
}

int ReadUnitThreshold(TmyDataBase& db, int unit)
{
    int minimum = 0;
    db.Utility(kCodeThresholds, [&](fb::Statement& st) {
        st.setSql(kSqlThreshold);
        st.setParam(QStringLiteral("IDDICUNIT"), unit);
        st.execute();
        if (st.fetch())
            minimum = std::max(0, st.value(0).toInt());
        st.close();
    });
    return minimum;
}

bool SaveUnitThreshold(TmyDataBase& db, int unit, int minimum)
{
    if (minimum <= 0)
        return db.Write(kSqlDeleteThreshold, {{QStringLiteral("IDDICUNIT"), unit}},
                        kCodeSaveThreshold);
    return db.Write(kSqlStoreThreshold,
                    {{QStringLiteral("IDDICUNIT"), unit}, {QStringLiteral("MINSTAFF"), minimum}},
                    kCodeSaveThreshold);
}

std::vector<UnitStaffing> ComputeStaffing(const OverviewData& data, const UnitThresholds& thresholds)
{
    std::vector<UnitStaffing> rows;
    if (thresholds.isEmpty())
        return rows;
    QHash<int, size_t> rowOfUnit;
    const int days = data.dayCount();
    for (int i = 0; i < data.plans.Count(); ++i) {
        const THolidayPlanEntry& e = data.plans.at(i);
        const auto t = thresholds.constFind(e.IDDICUNIT);
        if (t == thresholds.constEnd())
            continue;
        auto r = rowOfUnit.constFind(e.IDDICUNIT);
        if (r == rowOfUnit.constEnd()) {
            UnitStaffing s;
            s.unit = t->unit;
            s.name = t->name;
            s.minimum = t->minimum;
            rows.push_back(s);
            r = rowOfUnit.insert(e.IDDICUNIT, rows.size() - 1);
        }
        UnitStaffing& s = rows[*r];
        ++s.members;
        for (int d = 0; d < days; ++d)
            if (!e.leave[d])
                ++s.present[d];
    }
    for (UnitStaffing& s : rows)
        for (int d = 1; d <= days; ++d)
            if (data.isWorkingDay(d) && s.present[d - 1] < s.minimum)
                s.below.set(d - 1);
    std::sort(rows.begin(), rows.end(), [](const UnitStaffing& a, const UnitStaffing& b) {
        return a.name.localeAwareCompare(b.name) < 0 || (a.name == b.name && a.unit < b.unit);
    });
    return rows;
}

bool LoadStaffing(TmyDataBase& db, const OverviewData& data, std::vector<UnitStaffing>& out)
{
    out.clear();
    UnitThresholds thresholds;
    if (!LoadUnitThresholds(db, thresholds))
        return false;
    out = ComputeStaffing(data, thresholds);
    return true;
}

QString StaffingNameText(const UnitStaffing& s)
{
    return QStringLiteral("Obsada: ") + s.name;
}

QString StaffingMinimumText(const UnitStaffing& s)
{
    return QStringLiteral("min. ") + QString::number(s.minimum);
}

QString StaffingHintText(const UnitStaffing& s, int day)
{
    if (!s.isBelow(day))
        return {};
    return QStringLiteral("Poniżej minimalnej obsady (%1): obecnych %2, brakuje %3")
        .arg(s.minimum)
        .arg(s.presentOn(day))
        .arg(s.missingOn(day));
}

QString StaffingCellText(const OverviewData& data, const UnitStaffing& s, int day)
{
    if (!data.isWorkingDay(day))
        return QStringLiteral("x");
    QString text = QString::number(s.presentOn(day));
    if (s.isBelow(day))
        text += QStringLiteral(" (brak ") + QString::number(s.missingOn(day)) + QLatin1Char(')');
    return text;
}

QList<QStringList> OverviewSheet(const OverviewData& data, const std::vector<UnitStaffing>& rows)
{
    QList<QStringList> sheet = OverviewSheet(data);
    if (rows.empty())
        return sheet;
    // Before the empty row and the legend.
    qsizetype at = sheet.size() - 2;
    const int days = data.dayCount();
    for (const UnitStaffing& s : rows) {
        QStringList row{TOVExportToCSV::DataCellText(StaffingNameText(s)), StaffingMinimumText(s), QString()};
        row.reserve(days + 3);
        for (int d = 1; d <= days; ++d)
            row << StaffingCellText(data, s, d);
        sheet.insert(at++, row);
    }
    return sheet;
}

std::vector<StaffingShortfall> Shortfalls(const std::vector<UnitStaffing>& rows)
{
    std::vector<StaffingShortfall> out;
    for (int d = 1; d <= kMaxYearDays; ++d)
        for (const UnitStaffing& s : rows)
            if (s.isBelow(d))
                out.push_back({d, s.name, s.missingOn(d)});
    return out;
}

QString ShortfallLines(int year, const std::vector<StaffingShortfall>& shortfalls, int shown)
{
    QString text = QStringLiteral("W planie są dni poniżej minimalnej obsady:\n");
    const int count = static_cast<int>(shortfalls.size());
    for (int i = 0; i < std::min(count, shown); ++i) {
        const StaffingShortfall& f = shortfalls[static_cast<size_t>(i)];
        text += dayText(year, f.day) + QStringLiteral("  ") + f.unitName +
                QStringLiteral(" (brakuje ") + QString::number(f.missing) + QStringLiteral(")\n");
    }
    if (count > shown)
        text += QStringLiteral("i jeszcze ") + QString::number(count - shown) +
                QStringLiteral(" innych.\n");
    return text;
}

QString ApprovalQuestionText(int year, const std::vector<StaffingShortfall>& shortfalls, int shown)
{
    return ShortfallLines(year, shortfalls, shown) +
           QStringLiteral("\nCzy na pewno zatwierdzić plan?");
}

bool LoadEditorStaffing(TmyDataBase& db, int year, const QString& employee, EditorStaffing& out)
{
    out = EditorStaffing{};
    out.year = year;
    int unit = -1;
    int minimum = 0;
    QString name;
    const bool ok = db.Utility(kCodeEmployeeUnit, [&](fb::Statement& st) {
        st.setSql(kSqlEmployeeThreshold);
        st.setParam(QStringLiteral("IDEMPLOYEE"), employee);
        st.execute();
        if (st.fetch()) {
            unit = st.value(0).toInt();
            minimum = st.value(1).toInt();
            name = st.value(2).toString();
        }
        st.close();
    });
    if (!ok || minimum <= 0 || unit <= 0)
        return ok;
    OverviewData data;
    if (!LoadOverview(db, year, unit, data))
        return false;
    out.working = data.working;
    for (int i = 0; i < data.plans.Count(); ++i) {
        const THolidayPlanEntry& e = data.plans.at(i);
        if (e.IDEMPLOYEE == employee)
            continue;
        for (int d = 0; d < kMaxYearDays; ++d)
            if (!e.leave[d])
                ++out.othersPresent[d];
    }
    out.minimum = minimum;
    out.unitName = name;
    return true;
}

QList<int> EditorBelowDays(const EditorStaffing& staffing, const YearDays& days)
{
    QList<int> out;
    if (staffing.minimum <= 0)
        return out;
    for (int m = 1; m <= 12; ++m)
        for (int d = 1; d <= 31; ++d) {
            if (!days[m - 1][d - 1].selected)
                continue;
            const int day = PlanDayOfYear(MakeDateNumber(d, m, staffing.year), staffing.year);
            // The employee is away: only the others are at work.
            if (day > 0 && staffing.working[day - 1] &&
                staffing.othersPresent[day - 1] < staffing.minimum)
                out << day;
        }
    return out;
}

QString EditorBelowText(const QList<int>& belowDays)
{
    return QStringLiteral("Poniżej minimalnej obsady: ") + QString::number(belowDays.size()) +
           QStringLiteral(" dni");
}

QString EditorBelowHint(const EditorStaffing& staffing, const QList<int>& belowDays)
{
    QStringList lines;
    lines << QStringLiteral("Minimalna obsada zespołu %1: %2").arg(staffing.unitName).arg(staffing.minimum);
    for (int day : belowDays)
        lines << dayText(staffing.year, day) + QStringLiteral(" (obecnych ") +
                     QString::number(staffing.othersPresent[day - 1]) + QLatin1Char(')');
    return lines.join(QLatin1Char('\n'));
}

} // namespace zf
