#pragma once

// What the halves of TWorkingWithXML share: the statements of the reads and the messages.
#include "planfiles/workingwithxml.h"

#include "data/fb/dataset.h"
#include "data/fb/statement.h"
#include "data/fb/transaction.h"
#include "data/leavesql.h"
#include "data/mydatabase.h"
#include "util/exception.h"

#include <QString>
#include <QVariant>

namespace zf {

namespace planfilesql {

// Codes of the database module's openings whose reads these files make on their own statements.
inline constexpr int kCodeOpenPlans = leavesql::kCodePlans;
inline constexpr int kCodeOpenCalendar = leavesql::kCodeCalendar;
inline constexpr int kCodeOpenSettings = leavesql::kCodeSettings;
inline constexpr int kCodeOpenSingleSettings = leavesql::kCodeSingleSettings;
inline constexpr int kCodeOpenChosenDays = leavesql::kCodeChosenDays;
inline constexpr int kCodeOpenFixedDays = leavesql::kCodeFixedDays;

inline const QString kSqlPlanFolder =
    QStringLiteral("SELECT PLANDIR FROM HOLIDAYPLANS WHERE IDYEAR=:IDYEAR");
inline const QString kSqlEmployee = QStringLiteral(
    "SELECT NAME, SURNAME, FILENAME, PWD, LASTYEARDAYS, THISYEARDAYS, CHECKSUM FROM "
    "EMPLOYEESSETTINGS AS S, EMPLOYEES AS E WHERE IDYEAR=:IDYEAR AND S.IDEMPLOYEE=E.IDEMPLOYEE "
    "AND E.IDEMPLOYEE=:IDEMPLOYEE");
// The export's reads of every plan employee at once, whatever the number of employees.
inline const QString kSqlAllEmployees = QStringLiteral(
    "SELECT E.IDEMPLOYEE, NAME, SURNAME, FILENAME, PWD, LASTYEARDAYS, THISYEARDAYS, CHECKSUM FROM "
    "EMPLOYEESSETTINGS AS S, EMPLOYEES AS E WHERE IDYEAR=:IDYEAR AND S.IDEMPLOYEE=E.IDEMPLOYEE");
// A day stored as non-working in any plan is left out, as the single employee's statement does.
inline const QString kSqlAllDays = QStringLiteral(
    "SELECT D.IDEMPLOYEE, D.SELECTEDDAY FROM %1 AS D WHERE D.IDYEAR=:IDYEAR AND NOT EXISTS "
    "(SELECT * FROM CALENDAR AS C WHERE C.FREEDAY=D.SELECTEDDAY)");
inline const QString kSqlPlanEmployees = QStringLiteral(
    "SELECT E.IDEMPLOYEE AS IDEMPLOYEE, (NAME || ' ' || SURNAME || ' (' || E.IDEMPLOYEE || ')') "
    "AS EMPLOYEE, FILENAME, CHECKSUM FROM EMPLOYEESSETTINGS AS S, EMPLOYEES AS E WHERE "
    "IDYEAR=:IDYEAR AND S.IDEMPLOYEE=E.IDEMPLOYEE ORDER BY SURNAME,NAME,E.IDEMPLOYEE");

inline const QString kMsgWrite = QStringLiteral(
    "Zapis do pliku nie powiódł się. Katalog jest niedostępny lub zablokowany przez inny program "
    "/ użytkownika. Sprawdź dostępność ścieżki: ");
// The files are in place, but a crash could still lose them.
inline const QString kMsgNotSynced = QStringLiteral(
    "Pliki planów zapisano, ale system nie potwierdził ich zapisu na dysku (np. przerwane "
    "połączenie z udziałem sieciowym albo błąd dysku). Sprawdź dysk lub udział i wygeneruj plany "
    "ponownie. Ścieżka: ");
inline const QString kMsgFolder = QStringLiteral(
    "Niepoprawna ścieżka zapisu generowanych planów. Sprawdź dostępność ścieżki: ");

using fb::toText;

} // namespace planfilesql

// The statements of the reads, prepared once for the object's lifetime.
struct TWorkingWithXML::Reader
{
    explicit Reader(fb::Connection& connection)
        : transaction(connection, fb::tpb::readOnlyReadCommitted()),
          planFolder(connection, &transaction), calendar(connection, &transaction),
          employee(connection, &transaction), chosenDays(connection, &transaction),
          fixedDays(connection, &transaction), planEmployees(connection, &transaction),
          allEmployees(connection, &transaction), allChosenDays(connection, &transaction),
          allFixedDays(connection, &transaction)
    {
        planFolder.setSql(planfilesql::kSqlPlanFolder);
        calendar.setSql(leavesql::kCalendar);
        employee.setSql(planfilesql::kSqlEmployee);
        chosenDays.setSql(leavesql::kChosenDays);
        fixedDays.setSql(leavesql::kFixedDays);
        planEmployees.setSql(planfilesql::kSqlPlanEmployees);
        allEmployees.setSql(planfilesql::kSqlAllEmployees);
        allChosenDays.setSql(planfilesql::kSqlAllDays.arg(QLatin1String("EMPLOYEEHOLIDAYS")));
        allFixedDays.setSql(planfilesql::kSqlAllDays.arg(QLatin1String("EMPLOYEECONSTDAYS")));
    }
    ~Reader() { transaction.rollbackQuietly(); }

    // Runs one read; a failure is rolled back and reported with the code.
    template <class F>
    bool read(TmyDataBase& db, int code, fb::Statement& st, F&& body)
    {
        try {
            if (!transaction.isActive())
                transaction.start();
            st.execute();
            body(st);
            st.close();
            return true;
        } catch (const Exception& e) {
            st.close();
            transaction.rollbackQuietly();
            db.ReportUnexpectedError(e.message(), true, code);
            return false;
        }
    }

    fb::Transaction transaction;
    fb::Statement planFolder;
    fb::Statement calendar;
    fb::Statement employee;
    fb::Statement chosenDays;
    fb::Statement fixedDays;
    fb::Statement planEmployees;
    fb::Statement allEmployees;
    fb::Statement allChosenDays;
    fb::Statement allFixedDays;
};

// One plan employee as the export's reads of all of them give him.
struct TWorkingWithXML::Stored
{
    QString name;
    QString surname;
    QString fileName;
    QString password;
    int lastYearDays = 0;
    int thisYearDays = 0;
    int stamp = 0;
    QList<int> selectedDays;
    QList<int> unchangeableDays;
};

} // namespace zf
