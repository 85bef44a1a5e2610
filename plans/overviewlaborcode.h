#pragma once

#include "plans/laborcode.h"
#include "plans/overview.h"
#include "plans/staffing.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <vector>

namespace zf {

class TmyDataBase;

// What the rules need beyond the overview's load, read for all its employees at once.
struct LaborCodeContext
{
    // The next year's plan exists; then its non-working days and its leave count.
    bool nextPlan = false;
    QSet<int> nextNonWorkingDays;
    // By personnel number: leave days in the next plan, whether maternity or sick days are
    // recorded in this plan.
    QHash<QString, LaborYearFlags> nextLeave;
    QSet<QString> absent;
};

// Three statements, whatever the number of employees. False after a reported database error;
// `out` is then empty and the checks fall back to the plan's own days.
bool LoadLaborCodeContext(TmyDataBase& db, const OverviewData& data, LaborCodeContext& out);

// The overview's entries checked against the Labour Code's leave rules: one verdict per entry,
// at the entry's index, from the days the load already holds (no query per employee).
std::vector<LaborCodeCheck> CheckLaborCode(const OverviewData& data,
                                           const LaborCodeContext& context = {});
// The same with the context read from the database.
std::vector<LaborCodeCheck> CheckLaborCode(TmyDataBase& db, const OverviewData& data);

// The narrow "KP" column after "Pozost.": its title and the title's hint.
inline const QString kLaborCodeColumnTitle = QStringLiteral("KP");
QString LaborCodeColumnHint();

// The overview's sheet with the "KP" column after "Pozost.": the short names of the rules an
// entry breaks, empty for the others and for the staffing rows.
QList<QStringList> WithLaborCodeColumn(QList<QStringList> sheet,
                                       const std::vector<LaborCodeCheck>& checks);

// An employee who breaks a rule, for the question before approval.
struct LaborCodeBreak
{
    QString employee; // "Jan Nowak (P1)"
    LaborCodeCheck check;
};
std::vector<LaborCodeBreak> LaborCodeBreaks(const OverviewData& data,
                                            const std::vector<LaborCodeCheck>& checks);

// The one question asked before approving: the days below a staffing threshold and the
// employees who break a rule, each list cut after `shown` lines; the plain question when
// neither applies.
QString PlanApprovalQuestion(int year, const std::vector<StaffingShortfall>& shortfalls,
                             const std::vector<LaborCodeBreak>& breaks, int shown = 10);

} // namespace zf
