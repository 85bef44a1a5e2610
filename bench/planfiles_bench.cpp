// Writing 2,000 leave-plan files and reading 2,000 changed files back into an embedded database.
// The export is set against writing the same bytes with a plain loop plus the per-employee
// selects it needs; the import against isql-fb running the same statements, one transaction per
// employee. Before that, the reader alone on a full year and on the worst list a file of the
// largest size read can hold. Prints numbers; never fails on them.
#include "data/mydatabase.h"
#include "cipher/cipher.h"
#include "planfiles/planfile.h"
#include "planfiles/workingwithxml.h"
#include "util/dialogs.h"
#include "util/textcodec.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>

#include <algorithm>
#include <cstdio>

#include "bench/benchsupport.h"

namespace {

using zf::bench::msSince;

using zf::bench::kPassword;
using zf::bench::kUser;

constexpr int kEmployees = 2000;
constexpr double kLimit = 3.0;

QString key(int i)
{
    return QStringLiteral("P%1").arg(i, 5, 10, QLatin1Char('0'));
}

// The first 20 working days from a start that moves with the employee.
QList<int> chosenDays(int i, int shift)
{
    QList<int> days;
    for (int d = 0; d < 20; ++d)
        days << 20240000 + ((i + shift + d) % 12 + 1) * 100 + (d % 28) + 1;
    return days;
}

void line(const char* what, double ours, double floor)
{
    const double ratio = ours / floor;
    std::printf("  %-8s %9.1f ms, floor %9.1f ms, ratio %.2f (%s the limit of %.0f times)\n", what,
                ours, floor, ratio, ratio <= kLimit ? "within" : "NOT within", kLimit);
}

// The best of 20 parses of the text.
double bestParseMs(const QByteArray& text)
{
    double best = 1e9;
    for (int i = 0; i < 20; ++i) {
        zf::PlanFileData data;
        QElapsedTimer t;
        t.start();
        zf::ParsePlanFileText(text, 2024, data);
        best = std::min(best, msSince(t));
    }
    return best;
}

void readerTimes()
{
    zf::PlanFileContent year;
    year.year = 2024;
    year.employeeKey = key(1);
    for (QDate d(2024, 1, 1); d.year() == 2024; d = d.addDays(1)) {
        const int day = d.year() * 10000 + d.month() * 100 + d.day();
        year.selectedDays << day;
        year.unchangeableDays << day;
    }
    const QByteArray full = zf::BuildPlanFileText(year);
    // Closing tags before one opening tag: read linearly, or in the square of the length.
    QByteArray crafted = "<IDEMPLOYEE>1</IDEMPLOYEE><NAME></NAME><SURNAME></SURNAME><CHECKSUM>1"
                         "</CHECKSUM><SELECTEDDAYS>";
    const QByteArray tail = "<DAY>20240702</DAY></SELECTEDDAYS>";
    while (crafted.size() + 6 + tail.size() <= zf::kMaxPlanFileSize)
        crafted += "</DAY>";
    crafted += tail;
    std::printf("Plan-file reader: full year (%lld bytes) %.3f ms, crafted DAY list (%lld bytes) "
                "%.3f ms\n",
                static_cast<long long>(full.size()), bestParseMs(full),
                static_cast<long long>(crafted.size()), bestParseMs(crafted));
}

int run(const QString& root)
{
    readerTimes();
    const QString programFolder = QStringLiteral(ZF_BENCH_PROGRAM_FOLDER);
    const QString path = root + QStringLiteral("/planfiles.fdb");
    const QString planDir = root + QStringLiteral("/plany");
    QDir().mkpath(planDir);
    if (!zf::bench::createDatabase(programFolder, path))
        return 1;
    const QString isql = QStandardPaths::findExecutable(QStringLiteral("isql-fb"));
    if (isql.isEmpty()) {
        std::printf("isql-fb not found: no benchmark\n");
        return 0;
    }

    // The plan, its employees and their days, through isql-fb before the engine is ours.
    QString seed = QStringLiteral("INSERT INTO HOLIDAYPLANS (IDYEAR, STATUS, PLANDIR) VALUES "
                                  "(2024, 2, '%1');\n")
                       .arg(planDir);
    for (const int day : {20240101, 20240106, 20240401, 20240501, 20240503, 20241225})
        seed += QStringLiteral("INSERT INTO CALENDAR (IDYEAR, FREEDAY) VALUES (2024, %1);\n").arg(day);
    for (int i = 0; i < kEmployees; ++i) {
        seed += QStringLiteral("INSERT INTO EMPLOYEES (IDEMPLOYEE, SURNAME, NAME, FILENAME, PWD) "
                               "VALUES ('%1', 'Wiśniewski', 'Łukasz', 'plan_%1', 'hasło');\n"
                               "INSERT INTO EMPLOYEESSETTINGS (IDYEAR, IDEMPLOYEE, THISYEARDAYS) "
                               "VALUES (2024, '%1', 26);\n")
                    .arg(key(i));
        for (const int day : chosenDays(i, 0))
            seed += QStringLiteral("INSERT INTO EMPLOYEEHOLIDAYS (IDYEAR, IDEMPLOYEE, "
                                   "SELECTEDDAY) VALUES (2024, '%1', %2);\n")
                        .arg(key(i))
                        .arg(day);
    }
    seed += QStringLiteral("COMMIT;\n");
    const QString seedFile = root + QStringLiteral("/seed.sql");
    if (!zf::bench::writeBytes(seedFile, zf::toCp1250(seed)) ||
        !zf::bench::runIsql(isql, path, seedFile))
        return 1;

    QStringList keys;
    for (int i = 0; i < kEmployees; ++i)
        keys << key(i);
    const QString dataFolder = root + QStringLiteral("/data/Orvantis/Zefirant");
    QDir().mkpath(dataFolder + QStringLiteral("/debug"));
    zf::bench::ConsoleDialogs dialogs;
    double exportMs = 0, plainWriteMs = 0, queriesMs = 0, importMs = 0;
    QString importScript;
    {
        zf::TmyDataBase db(
            zf::DatabasePaths{dataFolder, programFolder, {root + QStringLiteral("/no-installer")}},
            dialogs);
        if (!db.Connect(path, kUser, kPassword))
            return 1;

        QElapsedTimer t;
        t.start();
        {
            zf::TWorkingWithXML files(db, 2024);
            if (!files.WritePlanFiles(keys, QStringLiteral("Komentarz"), true, true))
                return 1;
        }
        exportMs = msSince(t);

        // The floor: the same bytes by a plain loop, and the selects an export cannot avoid.
        std::vector<QByteArray> written;
        for (const QString& k : keys) {
            QFile f(zf::PlanFilePath(planDir, QStringLiteral("plan_") + k));
            if (!f.open(QIODevice::ReadOnly))
                return 1;
            written.push_back(f.readAll());
        }
        t.restart();
        for (int i = 0; i < kEmployees; ++i) {
            QFile f(zf::PlanFilePath(planDir, QStringLiteral("plan_") + keys.at(i)));
            if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
                f.write(written[static_cast<std::size_t>(i)]) !=
                    written[static_cast<std::size_t>(i)].size())
                return 1;
        }
        plainWriteMs = msSince(t);
        t.restart();
        {
            zf::fb::Transaction tr(db.FBDataBase, zf::fb::tpb::readOnlyReadCommitted());
            tr.start();
            zf::fb::Statement settings(db.FBDataBase, &tr);
            zf::fb::Statement chosen(db.FBDataBase, &tr);
            zf::fb::Statement fixed(db.FBDataBase, &tr);
            settings.setSql(QStringLiteral(
                "SELECT NAME, SURNAME, FILENAME, PWD, LASTYEARDAYS, THISYEARDAYS, CHECKSUM FROM "
                "EMPLOYEESSETTINGS AS S, EMPLOYEES AS E WHERE IDYEAR=:IDYEAR AND "
                "S.IDEMPLOYEE=E.IDEMPLOYEE AND E.IDEMPLOYEE=:IDEMPLOYEE"));
            chosen.setSql(QStringLiteral(
                "SELECT SELECTEDDAY FROM EMPLOYEEHOLIDAYS WHERE IDYEAR=:IDYEAR AND "
                "IDEMPLOYEE=:IDEMPLOYEE AND NOT EXISTS (SELECT * FROM CALENDAR WHERE "
                "FREEDAY=SELECTEDDAY) ORDER BY SELECTEDDAY"));
            fixed.setSql(QStringLiteral(
                "SELECT SELECTEDDAY FROM EMPLOYEECONSTDAYS WHERE IDYEAR=:IDYEAR AND "
                "IDEMPLOYEE=:IDEMPLOYEE AND NOT EXISTS (SELECT * FROM CALENDAR WHERE "
                "FREEDAY=SELECTEDDAY) ORDER BY SELECTEDDAY"));
            for (const QString& k : keys) {
                for (zf::fb::Statement* st : {&settings, &chosen, &fixed}) {
                    st->setParam(QStringLiteral("IDYEAR"), 2024);
                    st->setParam(QStringLiteral("IDEMPLOYEE"), k);
                    st->execute();
                    while (st->fetch()) {
                    }
                    st->close();
                }
            }
            tr.commit();
        }
        queriesMs = msSince(t);

        // Every employee changes his plan.
        for (int i = 0; i < kEmployees; ++i) {
            zf::PlanFileContent c;
            c.year = 2024;
            c.employeeKey = keys.at(i);
            c.name = QStringLiteral("Łukasz");
            c.surname = QStringLiteral("Wiśniewski");
            c.stamp = i + 1;
            c.selectedDays = chosenDays(i, 5);
            c.unchangeableDays = {20241224};
            if (!zf::WritePlanFileBytes(zf::PlanFilePath(planDir, QStringLiteral("plan_") + keys.at(i)),
                                        zf::BuildPlanFileBytes(c)))
                return 1;
            importScript += QStringLiteral("DELETE FROM EMPLOYEEHOLIDAYS WHERE IDYEAR=2024 AND "
                                           "IDEMPLOYEE='%1';\n")
                                .arg(c.employeeKey);
            for (const int day : c.selectedDays)
                importScript += QStringLiteral("INSERT INTO EMPLOYEEHOLIDAYS(IDYEAR,IDEMPLOYEE,"
                                               "SELECTEDDAY) VALUES (2024, '%1', %2);\n")
                                    .arg(c.employeeKey)
                                    .arg(day);
            importScript += QStringLiteral("DELETE FROM EMPLOYEECONSTDAYS WHERE IDYEAR=2024 AND "
                                           "IDEMPLOYEE='%1';\nINSERT INTO EMPLOYEECONSTDAYS("
                                           "IDYEAR,IDEMPLOYEE,SELECTEDDAY) VALUES (2024, '%1', "
                                           "20241224);\nUPDATE EMPLOYEESSETTINGS SET CHECKSUM=%2 "
                                           "WHERE IDYEAR=2024 AND IDEMPLOYEE='%1';\nCOMMIT;\n")
                                .arg(c.employeeKey)
                                .arg(c.stamp);
        }
        t.restart();
        {
            zf::TWorkingWithXML files(db, 2024);
            if (!files.ImportPlanFiles(keys) || files.lastRun().done != kEmployees)
                return 1;
        }
        importMs = msSince(t);
    }

    // The embedded engine is one process's at a time: isql-fb comes after.
    const QString importFile = root + QStringLiteral("/import.sql");
    if (!zf::bench::writeBytes(importFile, zf::toCp1250(importScript)))
        return 1;
    QElapsedTimer t;
    t.start();
    if (!zf::bench::runIsql(isql, path, importFile))
        return 1;
    const double isqlMs = msSince(t);

    std::printf("Leave-plan files: %d employees, 20 days each\n", kEmployees);
    std::printf("  plain write %.1f ms + selects %.1f ms\n", plainWriteMs, queriesMs);
    line("export", exportMs, plainWriteMs + queriesMs);
    line("import", importMs, isqlMs);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    return zf::bench::benchMain(argc, argv, run);
}
