#include "bench/benchsupport.h"

#include "data/databasecreation.h"
#include "data/scriptrunner.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace zf::bench {

int benchMain(int argc, char** argv, const std::function<int(const QString& root)>& run)
{
    QTemporaryDir root(QDir::tempPath() + QStringLiteral("/zf-bench-XXXXXX"));
    if (!root.isValid()) {
        std::fprintf(stderr, "Cannot make a temporary folder\n");
        return 1;
    }
    QDir(root.path()).mkpath(QStringLiteral("data"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(root.path() + QStringLiteral("/data")));
    QCoreApplication app(argc, argv);
    return run(root.path());
}

bool runIsql(const QString& isql, const QString& path, const QString& scriptFile,
             QByteArray* output, int timeoutMs)
{
    QProcess p;
    if (!output)
        p.setStandardOutputFile(QProcess::nullDevice());
    p.start(isql, {QStringLiteral("-q"), QStringLiteral("-b"), QStringLiteral("-sqldialect"),
                   QStringLiteral("1"), QStringLiteral("-user"), kUser, QStringLiteral("-password"),
                   kPassword, QStringLiteral("-i"), scriptFile, path});
    if (!p.waitForFinished(timeoutMs)) {
        std::fprintf(stderr, "isql-fb did not finish: %s\n", qPrintable(p.errorString()));
        p.kill();
        p.waitForFinished();
        return false;
    }
    if (output)
        *output = p.readAllStandardOutput();
    const QByteArray err = p.readAllStandardError();
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0 || !err.trimmed().isEmpty()) {
        std::fprintf(stderr, "isql-fb failed (%d): %s\n", p.exitCode(), err.constData());
        return false;
    }
    return true;
}

bool createDatabase(const QString& programFolder, const QString& path)
{
    QFile script(DatabaseCreator::CreationScriptPath(programFolder));
    if (!script.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "Creation script missing: %s\n", qPrintable(script.fileName()));
        return false;
    }
    DatabaseCreator creator;
    if (const auto error =
            creator.create(path, kUser, kPassword, decipherScript(script.readAll()))) {
        std::fprintf(stderr, "Creating the database failed at step %d: %s\n", error->step,
                     qPrintable(error->message));
        return false;
    }
    creator.DB.detach();
    return true;
}

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

double bestIsqlMs(const QString& isql, const QString& path, const QString& script, int runs,
                  const QString& before)
{
    double best = -1;
    for (int i = 0; i < runs; ++i) {
        if (!before.isEmpty() && !runIsql(isql, path, before))
            return -1;
        QElapsedTimer t;
        t.start();
        if (!runIsql(isql, path, script))
            return -1;
        const double ms = msSince(t);
        best = best < 0 ? ms : std::min(best, ms);
    }
    return best;
}

void ConsoleDialogs::information(const QString& caption, const QString& text)
{
    std::fprintf(stderr, "[%s] %s\n", qPrintable(caption), qPrintable(text));
}

} // namespace zf::bench
