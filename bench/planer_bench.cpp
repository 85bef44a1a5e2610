// The employees' plan editor on the largest plan file: 366 non-working days and 366 chosen days
// of a leap year. Opening (read, decipher, check) and saving (the replaced-file check, rewrite,
// encipher, write and rename) are timed against the office's own write of the same file. Prints
// numbers; never fails on them.
#include "bench/benchsupport.h"
#include "planer/planeditor.h"
#include "planfiles/planfile.h"

#include <QDate>
#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using zf::bench::msSince;

constexpr int kRuns = 30;
constexpr double kLimitMs = 50.0;

QList<int> wholeYear(int year)
{
    QList<int> days;
    for (QDate d(year, 1, 1); d.year() == year; d = d.addDays(1))
        days << year * 10000 + d.month() * 100 + d.day();
    return days;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Timing
{
    double best = 0;
    double median = 0;
};

Timing timed(const std::function<bool()>& step)
{
    std::vector<double> ms;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer t;
        t.start();
        if (!step())
            return {-1, -1};
        ms.push_back(msSince(t));
    }
    return {*std::min_element(ms.begin(), ms.end()), median(ms)};
}

void line(const char* what, Timing t)
{
    std::printf("  %-34s best %7.2f ms, median %7.2f ms\n", what, t.best, t.median);
}

int run(const QString& root)
{
    zf::bench::ConsoleDialogs dialogs;
    const QList<int> year = wholeYear(2024);
    zf::PlanFileContent c;
    c.year = 2024;
    c.employeeKey = QStringLiteral("P00001");
    c.name = QStringLiteral("Łukasz");
    c.surname = QStringLiteral("Wiśniewski");
    c.lastYearDays = 0;
    c.thisYearDays = 400;
    c.stamp = 7;
    c.comment = QStringLiteral("Komentarz działu kadr\nw dwóch liniach");

    // As the task puts it, 366 of each; the editor drops the chosen days that are non-working,
    // so a second file has the 366 chosen days and no non-working day, for a save of 366 days.
    struct Case
    {
        const char* name;
        QList<int> free;
    };
    const Case cases[] = {{"366 wolnych i 366 wybranych", year}, {"366 wybranych", {}}};
    std::printf("Plan editor, one plan file, %d runs each (limit %.0f ms for opening and saving)\n",
                kRuns, kLimitMs);
    for (const Case& k : cases) {
        c.freeDays = k.free;
        c.selectedDays = year;
        const QString path = root + QStringLiteral("/plan.zfpn");
        const QByteArray bytes = zf::BuildPlanFileBytes(c);
        std::printf("%s: %lld bytes\n", k.name, static_cast<long long>(bytes.size()));

        const Timing office =
            timed([&] { return zf::WritePlanFileBytes(path, zf::BuildPlanFileBytes(c)); });
        const Timing open = timed([&] {
            zf::TPlanEditor editor(dialogs);
            return editor.Open(path) == zf::TPlanEditor::OpenResult::Opened;
        });
        const Timing both = timed([&] {
            zf::TPlanEditor editor(dialogs);
            if (editor.Open(path) != zf::TPlanEditor::OpenResult::Opened)
                return false;
            QList<int> days = editor.chosenDays();
            // One day fewer at every run, so that a save writes a change where there are days.
            if (!days.isEmpty())
                days.removeLast();
            editor.SetChosenDays(days);
            return editor.Save();
        });
        if (office.best < 0 || open.best < 0 || both.best < 0) {
            std::printf("  a run failed\n");
            return 1;
        }
        line("office's write (build + write)", office);
        line("editor: open", open);
        line("editor: open + choose + save", both);
        std::printf("  open + save %s the limit of %.0f ms\n",
                    both.median <= kLimitMs ? "within" : "NOT within", kLimitMs);
        QFile::remove(path);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    return zf::bench::benchMain(argc, argv, run);
}
