// Many clerks at once on the office's server: N processes (1, 5, 10, 20, 40), each a copy of the
// program's database module, do what the windows do with short pauses for a fixed time: open
// and save one employee's leave (a small set of employees that all of them share), the batch
// change, a note, the plan status, an import of 50 plan files. Per operation: the count, p50,
// p99 and max latency, the errors by kind (the engine's own text apart from the program's Polish
// messages) and, at the end, the saves lost or mixed (every confirmed save compared with what
// the database holds). Prints numbers; never fails on them.
//
// `bench_load [--clerks 1,5,...] [--seconds S]`; a clerk is this program run with --clerk.
#include "bench/loadclerk.h"

#include "bench/benchsupport.h"
#include "bench/serverbench.h"
#include "data/mydatabase.h"
#include "planfiles/workingwithxml.h"
#include "util/dates.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <set>

namespace {

using namespace zf::bench::load;

struct Options
{
    std::vector<int> clerks = {1, 5, 10, 20, 40};
    int seconds = 15;
};

double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t i = static_cast<size_t>(p * static_cast<double>(v.size() - 1) + 0.5);
    return v[std::min(i, v.size() - 1)];
}

struct OpStats
{
    std::vector<double> ms;
    long raw = 0;
    std::map<QString, long> messages;
};

struct Round
{
    int clerks = 0;
    std::map<QString, OpStats> ops;
    long raw = 0;
    std::map<QString, long> rawTexts;
    long lost = 0;
    long mixed = 0;
    long saves = 0;
    long clerkFailures = 0;
};

// What the database holds of the shared employees' leave days.
std::map<QString, QList<int>> storedDays(zf::TmyDataBase& db)
{
    std::map<QString, QList<int>> days;
    db.Utility(1, [&](zf::fb::Statement& st) {
        st.setSql(QStringLiteral("SELECT IDEMPLOYEE, SELECTEDDAY FROM EMPLOYEEHOLIDAYS WHERE "
                                 "IDYEAR=%1 AND IDEMPLOYEE<='%2' ORDER BY 1, 2")
                      .arg(kYear)
                      .arg(zf::bench::employeeKey(kSharedEmployees - 1)));
        st.execute();
        while (st.fetch())
            days[st.value(0).toString()].append(st.value(1).toInt());
    });
    return days;
}

// Every shared employee's days against the saves confirmed to the clerks: the database must
// hold one confirmed save whole (else the save is mixed), and no save confirmed later than one
// that began after it was confirmed may be missing (else it was lost).
void checkSaves(Round& round, const std::vector<Save>& saves, zf::TmyDataBase& db)
{
    const auto stored = storedDays(db);
    std::map<QString, std::vector<const Save*>> byEmployee;
    for (const Save& s : saves)
        byEmployee[s.employee].push_back(&s);
    for (const auto& [employee, list] : byEmployee) {
        const auto it = stored.find(employee);
        const QList<int> held = it == stored.end() ? QList<int>() : it->second;
        const Save* match = nullptr;
        for (const Save* s : list)
            if (s->confirmed && s->days == held)
                match = s;
        if (!match) {
            ++round.mixed;
            continue;
        }
        for (const Save* s : list)
            if (s->confirmed && s != match && s->startNs > match->endNs)
                ++round.lost;
    }
}

Round runRound(const QString& root, const QString& location, int clerks, int seconds)
{
    Round round;
    round.clerks = clerks;
    std::vector<std::unique_ptr<QProcess>> processes;
    const QString program = QCoreApplication::applicationFilePath();
    for (int c = 0; c < clerks; ++c) {
        auto p = std::make_unique<QProcess>();
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->setStandardOutputFile(QProcess::nullDevice());
        p->start(program, {QStringLiteral("--clerk"), QString::number(c), location,
                           QString::number(seconds),
                           root + QStringLiteral("/clerk%1-%2.txt").arg(clerks).arg(c)});
        processes.push_back(std::move(p));
    }
    std::vector<Save> saves;
    for (int c = 0; c < clerks; ++c) {
        QProcess& p = *processes[static_cast<size_t>(c)];
        if (!p.waitForFinished((seconds + 120) * 1000) || p.exitStatus() != QProcess::NormalExit ||
            p.exitCode() != 0) {
            ++round.clerkFailures;
            p.kill();
            p.waitForFinished();
        }
        const ClerkReport report =
            readReport(root + QStringLiteral("/clerk%1-%2.txt").arg(clerks).arg(c));
        for (const Timed& t : report.timings)
            round.ops[t.op].ms.push_back(t.ms);
        for (const Failure& f : report.failures) {
            OpStats& s = round.ops[f.op];
            if (f.raw) {
                ++s.raw;
                ++round.raw;
                ++round.rawTexts[f.text];
            } else {
                ++s.messages[f.text];
            }
        }
        saves.insert(saves.end(), report.saves.begin(), report.saves.end());
    }
    round.saves = static_cast<long>(
        std::count_if(saves.begin(), saves.end(), [](const Save& s) { return s.confirmed; }));
    zf::bench::ConsoleDialogs dialogs;
    const QString dataFolder = root + QStringLiteral("/data/Orvantis/Zefirant");
    zf::TmyDataBase db(zf::DatabasePaths{dataFolder, QStringLiteral(ZF_BENCH_PROGRAM_FOLDER),
                                         {root + QStringLiteral("/no-installer")}},
                       dialogs);
    if (!db.Connect(location, zf::bench::kUser, qEnvironmentVariable("ZF_TEST_SERVER_PASSWORD")))
        ++round.clerkFailures;
    else
        checkSaves(round, saves, db);
    return round;
}

void printRound(const Round& r, int seconds)
{
    std::printf("%d clerk(s), %d s:%s\n", r.clerks, seconds,
                r.clerkFailures ? " (a clerk did not end normally)" : "");
    std::printf("  %-20s %6s %9s %9s %9s %5s  %s\n", "operation", "count", "p50 ms", "p99 ms",
                "max ms", "raw", "the program's messages");
    for (const auto& [op, s] : r.ops) {
        QStringList messages;
        for (const auto& [text, count] : s.messages)
            messages << QStringLiteral("%1 x \"%2\"").arg(count).arg(text);
        std::printf("  %-20s %6zu %9.1f %9.1f %9.1f %5ld  %s\n", qPrintable(op), s.ms.size(),
                    percentile(s.ms, 0.5), percentile(s.ms, 0.99),
                    s.ms.empty() ? 0 : *std::max_element(s.ms.begin(), s.ms.end()), s.raw,
                    qPrintable(messages.join(QStringLiteral("; "))));
    }
    for (const auto& [text, count] : r.rawTexts)
        std::printf("  the engine's text shown %ld x: \"%s\"\n", count, qPrintable(text));
    std::printf("  leave saves confirmed %ld: lost %ld, mixed %ld\n", r.saves, r.lost, r.mixed);
    std::fflush(stdout);
}

int run(const QString& root, const Options& options)
{
    const auto access = zf::bench::serverAccess();
    if (!access)
        return 0;
    const QString programFolder = QStringLiteral(ZF_BENCH_PROGRAM_FOLDER);
    zf::bench::ServerFolder folder;
    if (folder.path().isEmpty())
        return 1;
    const QString location = access->host + QLatin1Char(':') + folder.path() +
                             QStringLiteral("/office.fdb");
    const QString planDir = root + QStringLiteral("/plany");
    QDir().mkpath(planDir);
    const QString script = root + QStringLiteral("/fill.sql");
    const int employees = kImportFirst + kMaxClerks * kImportFiles;
    if (!zf::bench::createServerDatabase(programFolder, location, access->password) ||
        !zf::bench::writeBytes(script, zf::bench::officeFillScript(
                                           employees, {{kYear, 2, planDir, employees},
                                                       {kStatusYear, 1, QString(), 0}})
                                           .toUtf8()) ||
        !zf::bench::runServerIsql(location, access->password, script))
        return 1;
    // The files the clerks import: written once by the program's own export.
    {
        zf::bench::ConsoleDialogs dialogs;
        const QString dataFolder = root + QStringLiteral("/data/Orvantis/Zefirant");
        QDir().mkpath(dataFolder + QStringLiteral("/debug"));
        zf::TmyDataBase db(zf::DatabasePaths{dataFolder, programFolder,
                                             {root + QStringLiteral("/no-installer")}},
                           dialogs);
        QStringList keys;
        for (int i = kImportFirst; i < employees; ++i)
            keys << zf::bench::employeeKey(i);
        zf::TWorkingWithXML xml(db, kYear);
        if (!db.Connect(location, zf::bench::kUser, access->password) ||
            !xml.WritePlanFiles(keys, QStringLiteral("Komentarz"), true, false)) {
            std::fprintf(stderr, "Cannot write the plan files to import\n");
            return 1;
        }
    }
    std::printf("Clerks at once on the local server: %d employees in the plan, %d of them shared "
                "by every clerk's leave saves; pauses of %d-%d ms between operations\n",
                employees, kSharedEmployees, kPauseMinMs, kPauseMaxMs);
    std::vector<Round> rounds;
    for (const int n : options.clerks) {
        rounds.push_back(runRound(root, location, std::min(n, kMaxClerks), options.seconds));
        printRound(rounds.back(), options.seconds);
    }
    std::printf("How the p99 of a leave save grows:");
    for (const Round& r : rounds) {
        const auto it = r.ops.find(QStringLiteral("leave save"));
        std::printf("  %d: %.1f ms", r.clerks,
                    it == r.ops.end() ? 0.0 : percentile(it->second.ms, 0.99));
    }
    std::printf("\n");
    for (const Round& r : rounds) {
        if (r.clerks != 20)
            continue;
        const auto it = r.ops.find(QStringLiteral("leave save"));
        zf::bench::printLimit("leave save p99, 20 clerks",
                              it == r.ops.end() ? 0.0 : percentile(it->second.ms, 0.99), 200);
        zf::bench::printLimit("raw engine errors, 20 clerks", static_cast<double>(r.raw), 0,
                              "  ");
        zf::bench::printLimit("mixed or lost writes, 20 clerks",
                              static_cast<double>(r.lost + r.mixed), 0, "  ");
    }
    // What the short test looks at: nonzero when a clerk failed or nothing was saved.
    for (const Round& r : rounds)
        if (r.clerkFailures || r.saves == 0)
            return 2;
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 6 && QByteArray(argv[1]) == "--clerk")
        return clerkMain(argc, argv);
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const QByteArray key = argv[i];
        if (key == "--clerks") {
            options.clerks.clear();
            for (const QByteArray& n : QByteArray(argv[i + 1]).split(','))
                options.clerks.push_back(std::max(1, n.toInt()));
        } else if (key == "--seconds") {
            options.seconds = std::max(1, QByteArray(argv[i + 1]).toInt());
        }
    }
    return zf::bench::benchMain(argc, argv,
                                [&](const QString& root) { return run(root, options); });
}
