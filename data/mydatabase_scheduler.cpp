// The scheduler's lists and writes of the database module: the deadlines and the check of the
// ones due.
#include "data/mydatabase.h"

namespace zf {

namespace {

constexpr int kCodeOpenScheduler = 301910;
constexpr int kCodeOpenDeadlineCheck = 112058;

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
// Sort columns the grid may ask for; anything else is refused so no text of the grid reaches
// the statement unchecked.
const QStringList kSchedulerSortColumns = {
    QStringLiteral("IDTERM"), QStringLiteral("SIDDICCLASS"), QStringLiteral("CLASSNAME"),
    QStringLiteral("DATESINCE"), QStringLiteral("SIDEMPLOYEE"), QStringLiteral("EMPLOYEE"),
    QStringLiteral("SDESCRIPTION"), QStringLiteral("SOTHER"), QStringLiteral("SACT")};

} // namespace

const WriteSet TmyDataBase::DBFUScheduler = {
    QStringLiteral("INSERT INTO SCHEDULER( IDTERM, IDDICCLASS, DATESINCE, IDEMPLOYEE, DESCRIPTION, "
                   "OTHER, ACT ) VALUES( :IDTERM, :IDDICCLASS, :DATESINCE, :IDEMPLOYEE, "
                   ":DESCRIPTION, :OTHER, :ACT )"),
    QStringLiteral("UPDATE SCHEDULER SET IDDICCLASS=:IDDICCLASS, DATESINCE=:DATESINCE, "
                   "IDEMPLOYEE=:IDEMPLOYEE, DESCRIPTION=:DESCRIPTION, OTHER=:OTHER, ACT=:ACT WHERE "
                   "IDTERM=:KEYIDTERM"),
    QStringLiteral("DELETE FROM SCHEDULER WHERE IDTERM=:KEYIDTERM")};

void TmyDataBase::installSchedulerStatements()
{
    DBFCheckScheduler.setSql(kSqlCheckScheduler);
    // Lists whose text the opening operations compose get their default text now, so that a
    // Reopen before the first opening works too.
    DBFScheduler.setSql(kSqlScheduler.arg(schedulerFilter1, schedulerFilter2, schedulerFilter3,
                                          schedulerSortColumn, SortDirection(schedulerSortAscending)));
}

void TmyDataBase::OpenScheduler()
{
    if (!kSchedulerSortColumns.contains(schedulerSortColumn))
        schedulerSortColumn = QStringLiteral("DATESINCE");
    openList(DBFScheduler,
             kSqlScheduler.arg(schedulerFilter1, schedulerFilter2, schedulerFilter3,
                               schedulerSortColumn, SortDirection(schedulerSortAscending)),
             {}, kCodeOpenScheduler);
}

void TmyDataBase::OpenDeadlineCheck(int upper, int lower)
{
    openList(DBFCheckScheduler, {},
             {{QStringLiteral("IDATAOD"), upper}, {QStringLiteral("IDATADO"), lower}},
             kCodeOpenDeadlineCheck);
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

} // namespace zf
