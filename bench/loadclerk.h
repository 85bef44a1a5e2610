#pragma once

// One clerk of the load benchmark: a process with the program's own database module that does
// what the windows do for a set time and writes down, in a report file, each operation's
// latency, each message it was shown and each leave save it made.
#include <QList>
#include <QString>

#include <vector>

namespace zf::bench::load {

inline constexpr int kYear = 2024;        // the plan everyone works on
inline constexpr int kStatusYear = 2025;  // the plan whose status the clerks set
inline constexpr int kSharedEmployees = 25; // "P00001" ...: every clerk saves their leave
inline constexpr int kBatchFirst = 25;    // the batch change picks 50 of the next 75
inline constexpr int kBatchSize = 50;
inline constexpr int kImportFirst = 100;  // then each clerk's own 50 plan files
inline constexpr int kImportFiles = 50;
inline constexpr int kMaxClerks = 40;
inline constexpr int kPauseMinMs = 20;
inline constexpr int kPauseMaxMs = 100;

struct Timed
{
    QString op;
    double ms = 0;
};

// A message shown during an operation: the engine's own text (raw) or the program's.
struct Failure
{
    QString op;
    bool raw = false;
    QString text;
};

// One leave save: the employee, the days written, when it began and when it returned (steady
// clock, the same for every process), and whether it was confirmed to the clerk.
struct Save
{
    QString employee;
    QList<int> days; // sorted
    long long startNs = 0;
    long long endNs = 0;
    bool confirmed = false;
};

struct ClerkReport
{
    std::vector<Timed> timings;
    std::vector<Failure> failures;
    std::vector<Save> saves;
};

// Whether a shown text carries the engine's own words (English, as the client library gives
// them) rather than only the program's Polish.
bool isEngineText(const QString& text);

ClerkReport readReport(const QString& path);

// `--clerk <index> <location> <seconds> <report file>`; SYSDBA's password from
// ZF_TEST_SERVER_PASSWORD.
int clerkMain(int argc, char** argv);

} // namespace zf::bench::load
