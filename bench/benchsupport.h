#pragma once

// What the benchmarks share: a private data folder, the database user, and isql-fb runs.
#include "util/dialogs.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace zf {
class TmyDataBase;
}

namespace zf::bench {

inline const QString kUser = QStringLiteral("SYSDBA");
inline const QString kPassword = QStringLiteral("benchmark");

// Runs `run(root)` with a QCoreApplication and XDG_DATA_HOME in a temporary folder of its own,
// fixed before anything asks Qt for a standard path.
int benchMain(int argc, char** argv, const std::function<int(const QString& root)>& run);

// One isql-fb run of a script file on the database in dialect 1; output is thrown away unless
// asked for. False, with the reason printed, when isql-fb fails or reports anything.
bool runIsql(const QString& isql, const QString& path, const QString& scriptFile,
             QByteArray* output = nullptr, int timeoutMs = 300000);

// A new embedded database from the creation script beside the program; false, with the reason
// printed, on failure.
bool createDatabase(const QString& programFolder, const QString& path,
                    const QString& password = kPassword);

bool writeBytes(const QString& path, const QByteArray& bytes);

inline double msSince(const QElapsedTimer& t)
{
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

// Every side of a comparison runs this often, after one untimed warm-up.
inline constexpr int kRuns = 7;

// The timings of one side, in milliseconds.
struct Runs
{
    std::vector<double> ms;
    double median() const;
    double best() const;
};

// `once` run `runs` times after an untimed warm-up, each after an untimed `before` (when given);
// nothing when a run fails.
std::optional<Runs> timeRuns(const std::function<bool()>& once, int runs = kRuns,
                             const std::function<bool()>& before = {});

// isql-fb as a floor: the script and, for its start-up and attach, an empty script, each run
// `runs` times in turn (each script run after an untimed `before`, when given).
struct IsqlFloor
{
    Runs script;
    Runs startup;
    // The median of the script less the median of the start-up.
    double netMs() const { return script.median() - startup.median(); }
};
// `alongside`, when given, runs before each pair (and the warm-up): the caller times its own side
// there, so both sides see the machine as it is at that moment; it must leave the database file
// free (the embedded engine keeps it for one process).
std::optional<IsqlFloor> isqlFloor(const QString& isql, const QString& path, const QString& script,
                                   const QString& folder, int runs = kRuns,
                                   const QString& before = {},
                                   const std::function<bool()>& alongside = {});

// Prints the floor's parts: the script, its start-up, what is left.
void printIsqlFloor(const IsqlFloor& floor);

// The line that scripts/bench.sh collects: the path, our median, the floor's median, the ratio
// and the target ratio.
void printResult(const char* path, double oursMs, double floorMs, double target);

// The same line for a figure with a limit of its own rather than a floor.
void printLimit(const char* path, double ours, double limit, const char* unit = "ms");
// And for a figure that must reach a least value (a rate).
void printAtLeast(const char* path, double ours, double least, const char* unit);

// The peak resident size of this process in MB (VmHWM), and starting it anew from the present
// size, so a later peak belongs to what ran after; false when the kernel does not allow it.
double peakResidentMb();
bool resetPeakResident();

// The best of `runs` timed isql-fb runs of `script`, each after an untimed run of `before` (when
// given); a negative number when any run fails.
double bestIsqlMs(const QString& isql, const QString& path, const QString& script, int runs,
                  const QString& before = {});

// The statements (without their ";") run through the bare client calls on the module's own
// attachment, in one read-only transaction, each row fetched into its buffers and nothing
// converted: the floor of what loading them can cost. The rows fetched, or -1 on failure.
long bareFetch(TmyDataBase& db, const QStringList& statements);

// The program's messages during a timing run: printed to standard error, questions answered
// "no", prompts and file choices cancelled.
class ConsoleDialogs : public Dialogs
{
public:
    void information(const QString& caption, const QString& text) override;
    bool question(const QString&, const QString&) override { return false; }
    bool prompt(const QString&, const QString&, QString&, bool) override { return false; }
    QString openFileName(const QString&, const QString&, const QStringList&) override { return {}; }
    QString saveFileName(const QString&, const QString&, const QStringList&,
                         const QString&) override
    {
        return {};
    }
    QString existingDirectory(const QString&, const QString&) override { return {}; }
};

} // namespace zf::bench
