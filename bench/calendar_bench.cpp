// How long saving a year's non-working days takes (every weekend and public holiday of a year,
// in one transaction), next to isql-fb running the same DELETE and INSERTs. Prints numbers;
// never fails on them.
#include "bench/benchsupport.h"
#include "data/mydatabase.h"
#include "plans/nonworkingdays.h"
#include "util/dates.h"
#include "util/dialogs.h"

#include <QDir>
#include <QElapsedTimer>
#include <QStandardPaths>

#include <algorithm>
#include <cstdio>

namespace {

using zf::bench::msSince;

using zf::bench::kPassword;
using zf::bench::kUser;

constexpr int kYear = 2026;
constexpr int kRuns = 10;
constexpr double kLimit = 3.0;

int run(const QString& root)
{
    const QString programFolder = QStringLiteral(ZF_BENCH_PROGRAM_FOLDER);
    const QString path = root + QStringLiteral("/calendar.fdb");
    if (!zf::bench::createDatabase(programFolder, path))
        return 1;
    const QString dataFolder = root + QStringLiteral("/data/Orvantis/Zefirant");
    QDir().mkpath(dataFolder + QStringLiteral("/debug"));

    zf::YearDays days = zf::MakeYearDays(true);
    zf::MarkStatutoryHolidays(kYear, days);
    int marked = 0;
    QByteArray script = "DELETE FROM CALENDAR WHERE IDYEAR=" + QByteArray::number(kYear) + ";\n";
    for (int m = 1; m <= 12; ++m)
        for (int d = 1; d <= 31; ++d) {
            const int n = zf::MakeDateNumber(d, m, kYear);
            if (!zf::IsValidDateNumber(n))
                continue;
            if (zf::DayOfWeekIso(n) >= 6)
                days[m - 1][d - 1].selected = true;
            if (days[m - 1][d - 1].selected) {
                ++marked;
                script += "INSERT INTO CALENDAR (IDYEAR, FREEDAY) VALUES (" +
                          QByteArray::number(kYear) + ", " + QByteArray::number(n) + ");\n";
            }
        }
    script += "COMMIT;\n";

    zf::bench::Runs ours;
    {
        zf::bench::ConsoleDialogs dialogs;
        zf::TmyDataBase db(
            zf::DatabasePaths{dataFolder, programFolder, {root + QStringLiteral("/no-installer")}},
            dialogs);
        if (!db.Connect(path, kUser, kPassword) ||
            !db.Write(QStringLiteral("INSERT INTO HOLIDAYPLANS (IDYEAR, STATUS, PLANDIR) VALUES "
                                     "(2026, 1, '')"),
                      {}, 1)) {
            std::fprintf(stderr, "Cannot prepare %s\n", qPrintable(path));
            return 1;
        }
        for (int i = 0; i < kRuns; ++i) {
            QElapsedTimer t;
            t.start();
            if (!zf::SaveNonWorkingDays(db, kYear, days))
                return 1;
            ours.ms.push_back(msSince(t));
        }
        // The embedded engine opens the file for one process only: isql-fb comes after.
    }
    std::printf("Saving a year's non-working days: %d days, %d runs\n", marked, kRuns);
    std::printf("  ours (1 transaction)           median %8.1f ms (best %.1f)\n", ours.median(),
                ours.best());

    const QString isql = QStandardPaths::findExecutable(QStringLiteral("isql-fb"));
    if (isql.isEmpty()) {
        std::printf("  isql-fb not found: no comparison\n");
        return 0;
    }
    const QString file = root + QStringLiteral("/calendar.sql");
    if (!zf::bench::writeBytes(file, script))
        return 1;
    // isql-fb's start-up and attach, timed as often in turn, are taken off its time.
    const auto floor = zf::bench::isqlFloor(isql, path, file, root, kRuns);
    if (!floor)
        return 1;
    zf::bench::printIsqlFloor(*floor);
    zf::bench::printResult("calendar save, 1 year", ours.median(), floor->netMs(), kLimit);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    return zf::bench::benchMain(argc, argv, run);
}
