#pragma once

// What the benchmarks share: a private data folder, the database user, and isql-fb runs.
#include <QByteArray>
#include <QString>

#include <functional>

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
bool createDatabase(const QString& programFolder, const QString& path);

bool writeBytes(const QString& path, const QByteArray& bytes);

} // namespace zf::bench
