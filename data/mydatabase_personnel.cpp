// The personnel lists and writes of the database module: employees, dictionaries and the pick
// lists built from them.
#include "data/mydatabase.h"

namespace zf {

namespace {

constexpr int kCodeOpenEmployees = 9001;
constexpr int kCodeOpenDictionary = 36;
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
// Sort columns the grids may ask for; anything else is refused so no text of a grid reaches
// the statement unchecked.
const QStringList kEmployeesSortColumns = {
    QStringLiteral("IDEMPLOYEE"), QStringLiteral("SURNAME"), QStringLiteral("NAME"),
    QStringLiteral("NAME_O"), QStringLiteral("IDDICUNIT"), QStringLiteral("UNIT_O"),
    QStringLiteral("FILENAME"), QStringLiteral("PWD"), QStringLiteral("EMAIL"),
    QStringLiteral("ACT")};

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

void TmyDataBase::installPersonnelStatements()
{
    DBFDictionary.setSql(kSqlDictionary);
    DBFUnits.setSql(kSqlUnits);
    DBFTermClass.setSql(kSqlTermClass);
    DBFEmployeesPrompt.setSql(kSqlEmployeesPrompt);
    // Lists whose text the opening operations compose get their default text now, so that a
    // Reopen before the first opening works too.
    DBFEmployees.setSql(kSqlEmployees.arg(employeesFilter, employeesSortColumn,
                                          SortDirection(employeesSortAscending)));
}

void TmyDataBase::OpenEmployees()
{
    if (!kEmployeesSortColumns.contains(employeesSortColumn))
        employeesSortColumn = QStringLiteral("NAME_O");
    openList(DBFEmployees,
             kSqlEmployees.arg(employeesFilter, employeesSortColumn,
                               SortDirection(employeesSortAscending)),
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

} // namespace zf
