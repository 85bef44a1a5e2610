// How long "Dodaj do planu >>" takes for 2,000 selected employees: one transaction of inserts
// and the two lists reloaded, next to isql-fb running the same inserts in one transaction.
// Prints numbers; never fails on them.
#include "data/mydatabase.h"
#include "data/programoptions.h"
#include "plans/planconfig.h"
#include "util/dialogs.h"
#include "util/textcodec.h"

#include <QDir>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QStringList>

#include <algorithm>
#include <cstdio>

#include "bench/benchsupport.h"

namespace {

using zf::bench::msSince;

using zf::bench::kPassword;
using zf::bench::kUser;
using zf::bench::runIsql;
using zf::bench::writeBytes;

constexpr int kEmployees = 2000;
constexpr int kYear = 2025;
constexpr int kDays = 26;
constexpr int kRuns = 3;
constexpr double kLimit = 3.0;

int run(const QString& root)
{
    const QString programFolder = QStringLiteral(ZF_BENCH_PROGRAM_FOLDER);
    const QString path = root + QStringLiteral("/config.fdb");
    if (!zf::bench::createDatabase(programFolder, path))
        return 1;
    const QString dataFolder = root + QStringLiteral("/data/Orvantis/Zefirant");
    QDir().mkpath(dataFolder + QStringLiteral("/debug"));

    QStringList ids;
    for (int i = 0; i < kEmployees; ++i)
        ids << QStringLiteral("P%1").arg(i + 1, 5, 10, QLatin1Char('0'));

    zf::bench::ConsoleDialogs dialogs;
    zf::ProgramOptions options;
    zf::bench::Runs ours;
    {
        zf::TmyDataBase db(
            zf::DatabasePaths{dataFolder, programFolder, {root + QStringLiteral("/no-installer")}},
            dialogs);
        if (!db.Connect(path, kUser, kPassword)) {
            std::fprintf(stderr, "Cannot connect to %s\n", qPrintable(path));
            return 1;
        }
        const bool seeded = db.Utility(1, [&](zf::fb::Statement& st) {
            st.setSql(QStringLiteral("INSERT INTO HOLIDAYPLANS (IDYEAR, STATUS, PLANDIR) VALUES "
                                     "(:IDYEAR, 1, '')"));
            st.setParam(QStringLiteral("IDYEAR"), kYear);
            st.execute();
            st.setSql(QStringLiteral("INSERT INTO EMPLOYEES (IDEMPLOYEE, SURNAME, NAME, ACT) "
                                     "VALUES (:ID, :SURNAME, 'Zofia', 'T')"));
            for (const QString& id : ids) {
                st.setParam(QStringLiteral("ID"), id);
                st.setParam(QStringLiteral("SURNAME"), QStringLiteral("Wiśniewska ") + id);
                st.execute();
            }
        });
        if (!seeded)
            return 1;
        zf::PlanConfig config(db, dialogs, options);
        for (int i = 0; i < kRuns; ++i) {
            if (!db.Write(QStringLiteral("DELETE FROM EMPLOYEESSETTINGS"), {}, 1))
                return 1;
            config.Open(kYear, QString(), 0);
            QElapsedTimer t;
            t.start();
            const zf::AddResult r = config.AddEmployees(ids, kDays);
            const double ms = msSince(t);
            if (r.outcome != zf::AddResult::Stored || r.added != kEmployees ||
                db.DBFEmployeesSettings.recordCount() != kEmployees) {
                std::fprintf(stderr, "Added %d of %d employees\n", r.added, kEmployees);
                return 1;
            }
            ours.ms.push_back(ms);
        }
        // The embedded engine opens the file for one process only: isql-fb comes after.
    }

    std::printf("Adding employees to a plan: %d selected, %d runs\n", kEmployees, kRuns);
    std::printf("  inserts in 1 transaction, both lists reloaded median %8.1f ms (best %.1f)\n",
                ours.median(), ours.best());

    const QString isql = QStandardPaths::findExecutable(QStringLiteral("isql-fb"));
    if (isql.isEmpty()) {
        std::printf("  isql-fb not found: no comparison\n");
        return 0;
    }
    QString sql;
    for (const QString& id : ids)
        sql += QStringLiteral("INSERT INTO EMPLOYEESSETTINGS (IDYEAR, IDEMPLOYEE, LASTYEARDAYS, "
                              "THISYEARDAYS, NURSINGDAYS, MATERNITYDAYS, UNPAIDDAYS, SICKDAYS, "
                              "OTHERDAYS, OTHERDESCR, CHECKSUM) VALUES (%1, '%2', 0, %3, 0, 0, 0, "
                              "0, 0, '', 0);\n")
                   .arg(kYear)
                   .arg(id)
                   .arg(kDays);
    const QString insertFile = root + QStringLiteral("/insert.sql");
    const QString deleteFile = root + QStringLiteral("/delete.sql");
    if (!writeBytes(insertFile, zf::toCp1250(sql + QStringLiteral("COMMIT;\n"))) ||
        !writeBytes(deleteFile, "DELETE FROM EMPLOYEESSETTINGS;\nCOMMIT;\n")) {
        std::fprintf(stderr, "Cannot write the isql-fb scripts in %s\n", qPrintable(root));
        return 1;
    }
    // isql-fb's start-up and attach, timed as often in turn, are taken off its time.
    const auto floor = zf::bench::isqlFloor(isql, path, insertFile, root, kRuns, deleteFile);
    if (!floor)
        return 1;
    zf::bench::printIsqlFloor(*floor);
    zf::bench::printResult("add 2,000 employees to a plan", ours.median(), floor->netMs(),
                           kLimit);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    return zf::bench::benchMain(argc, argv, run);
}
