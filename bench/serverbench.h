#pragma once

// What the benchmarks on the local Firebird server share: the server's access from the
// environment scripts/bench.sh exports, a folder the server can write in, a database made there
// from the creation script, and isql-fb runs against it.
#include <QString>

#include <optional>
#include <vector>

namespace zf::bench {

struct ServerAccess
{
    QString host;     // as the client names it: "localhost"
    QString password; // SYSDBA's
};
// ZF_TEST_SERVER and ZF_TEST_SERVER_PASSWORD; nothing, after saying so, when either is missing.
std::optional<ServerAccess> serverAccess();

// A folder that the server, running as user `firebird`, can create files in; removed with its
// files.
class ServerFolder
{
public:
    ServerFolder();
    ~ServerFolder();
    ServerFolder(const ServerFolder&) = delete;
    ServerFolder& operator=(const ServerFolder&) = delete;
    const QString& path() const { return m_path; }

private:
    QString m_path;
};

// A new database at `location` ("host:/path") from the creation script beside the program;
// false, with the reason printed.
bool createServerDatabase(const QString& programFolder, const QString& location,
                          const QString& password);

// isql-fb running `script` (dialect 1) on `location`; the password goes by the environment, not
// the command line. False, with the reason printed, when it fails or reports anything.
bool runServerIsql(const QString& location, const QString& password, const QString& script);

// One plan of an office's database: its year and status, its folder, and how many employees
// (the first ones) take part, each with 26 leave days, three of them unchangeable.
struct OfficePlan
{
    int year = 0;
    int status = 1;
    QString planDir;
    int members = 0;
};
// An isql-fb script filling an empty database on the server side (one block, a few round trips):
// `employees` employees "P00001" ... with plan files "plan_P00001" ..., spread over seven units,
// the weekends of every plan's year as non-working days, and the plans.
QString officeFillScript(int employees, const std::vector<OfficePlan>& plans);
// "P00001" for 0.
QString employeeKey(int index);

} // namespace zf::bench
