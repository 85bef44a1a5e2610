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

    double best = 0;
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
            const double ms = msSince(t);
            best = i == 0 ? ms : std::min(best, ms);
        }
        // The embedded engine opens the file for one process only: isql-fb comes after.
    }
    std::printf("Saving a year's non-working days: %d days, best of %d runs\n", marked, kRuns);
    std::printf("  ours (1 transaction)   %8.1f ms\n", best);

    const QString isql = QStandardPaths::findExecutable(QStringLiteral("isql-fb"));
    if (isql.isEmpty()) {
        std::printf("  isql-fb not found: no comparison\n");
        return 0;
    }
    const QString file = root + QStringLiteral("/calendar.sql");
    if (!zf::bench::writeBytes(file, script))
        return 1;
    const double isqlBest = zf::bench::bestIsqlMs(isql, path, file, kRuns);
    if (isqlBest < 0)
        return 1;
    const double ratio = best / isqlBest;
    std::printf("  isql-fb, same DELETE and %d INSERTs %8.1f ms\n", marked, isqlBest);
    std::printf("  ratio ours / isql-fb: %.2f (%s the limit of %.0f times)\n", ratio,
                ratio < kLimit ? "within" : "NOT within", kLimit);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    return zf::bench::benchMain(argc, argv, run);
}
