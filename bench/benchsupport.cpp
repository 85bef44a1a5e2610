#include "bench/benchsupport.h"

#include "data/databasecreation.h"
#include "data/mydatabase.h"
#include "data/scriptrunner.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

#include <sys/resource.h>

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

bool createDatabase(const QString& programFolder, const QString& path, const QString& password)
{
    QFile script(DatabaseCreator::CreationScriptPath(programFolder));
    if (!script.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "Creation script missing: %s\n", qPrintable(script.fileName()));
        return false;
    }
    DatabaseCreator creator;
    if (const auto error =
            creator.create(path, kUser, password, decipherScript(script.readAll()))) {
        std::fprintf(stderr, "Creating %s failed at step %d: %s\n", qPrintable(path),
                     error->step, qPrintable(error->message));
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

double Runs::median() const
{
    if (ms.empty())
        return -1;
    std::vector<double> sorted = ms;
    std::sort(sorted.begin(), sorted.end());
    const size_t n = sorted.size();
    return n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
}

double Runs::best() const
{
    return ms.empty() ? -1 : *std::min_element(ms.begin(), ms.end());
}

std::optional<Runs> timeRuns(const std::function<bool()>& once, int runs,
                             const std::function<bool()>& before)
{
    if ((before && !before()) || !once())
        return std::nullopt;
    Runs r;
    for (int i = 0; i < runs; ++i) {
        if (before && !before())
            return std::nullopt;
        QElapsedTimer t;
        t.start();
        if (!once())
            return std::nullopt;
        r.ms.push_back(msSince(t));
    }
    return r;
}

std::optional<IsqlFloor> isqlFloor(const QString& isql, const QString& path, const QString& script,
                                   const QString& folder, int runs, const QString& before,
                                   const std::function<bool()>& alongside)
{
    const QString empty = folder + QStringLiteral("/startup.sql");
    if (!writeBytes(empty, "SELECT 1 FROM RDB$DATABASE;\n"))
        return std::nullopt;
    // A warm-up of both, then the two in turn, so a change of load touches both alike.
    if ((alongside && !alongside()) || (!before.isEmpty() && !runIsql(isql, path, before)) ||
        !runIsql(isql, path, script) || !runIsql(isql, path, empty))
        return std::nullopt;
    IsqlFloor f;
    for (int i = 0; i < runs; ++i) {
        if (alongside && !alongside())
            return std::nullopt;
        if (!before.isEmpty() && !runIsql(isql, path, before))
            return std::nullopt;
        QElapsedTimer t;
        t.start();
        if (!runIsql(isql, path, script))
            return std::nullopt;
        f.script.ms.push_back(msSince(t));
        t.restart();
        if (!runIsql(isql, path, empty))
            return std::nullopt;
        f.startup.ms.push_back(msSince(t));
    }
    return f;
}

void printIsqlFloor(const IsqlFloor& floor)
{
    std::printf("  isql-fb, same statements       median %8.1f ms (%zu runs)\n",
                floor.script.median(), floor.script.ms.size());
    std::printf("  isql-fb start-up and attach    median %8.1f ms (%zu runs)\n",
                floor.startup.median(), floor.startup.ms.size());
    std::printf("  floor: isql-fb less start-up   median %8.1f ms\n", floor.netMs());
}

void printResult(const char* path, double oursMs, double floorMs, double target)
{
    const double ratio = floorMs > 0 ? oursMs / floorMs : 0;
    std::printf("RESULT | %-34s | ours %9.1f ms | floor %9.1f ms | ratio %5.2f | target <= %.1f "
                "| %s\n",
                path, oursMs, floorMs, ratio, target,
                floorMs <= 0      ? "no floor"
                : ratio <= target ? "met"
                                  : "NOT met");
    std::fflush(stdout);
}

void printLimit(const char* path, double ours, double limit, const char* unit)
{
    std::printf(
        "RESULT | %-34s | ours %9.1f %s | limit %9.1f %s |             |              | %s\n", path,
        ours, unit, limit, unit, ours <= limit ? "met" : "NOT met");
    std::fflush(stdout);
}

void printAtLeast(const char* path, double ours, double least, const char* unit)
{
    std::printf("RESULT | %-34s | ours %9.1f %s | least %9.1f %s |             |              | "
                "%s\n",
                path, ours, unit, least, unit, ours >= least ? "met" : "NOT met");
    std::fflush(stdout);
}

double peakResidentMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("VmHWM:"))
                return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

bool resetPeakResident()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

// Each row fetched into its buffers and nothing converted.
long bareFetch(TmyDataBase& db, const QStringList& statements)
{
    isc_db_handle* handle = db.FBDataBase.handle();
    ISC_STATUS_ARRAY status{};
    const auto failed = [&] { return status[0] == 1 && status[1] != 0; };
    isc_tr_handle tr = 0;
    char tpb[] = {isc_tpb_version3, isc_tpb_read, isc_tpb_wait, isc_tpb_concurrency};
    isc_start_transaction(status, &tr, 1, handle, static_cast<unsigned short>(sizeof tpb), tpb);
    if (failed())
        return -1;
    constexpr int kColumns = 16;
    std::vector<char> da(XSQLDA_LENGTH(kColumns));
    auto* sqlda = reinterpret_cast<XSQLDA*>(da.data());
    long rows = 0;
    bool ok = true;
    for (const QString& text : statements) {
        if (text.trimmed().isEmpty())
            continue;
        std::fill(da.begin(), da.end(), 0);
        sqlda->version = SQLDA_VERSION1;
        sqlda->sqln = kColumns;
        isc_stmt_handle st = 0;
        isc_dsql_allocate_statement(status, handle, &st);
        const QByteArray sql = text.trimmed().toLatin1();
        isc_dsql_prepare(status, &tr, &st, 0, sql.constData(), 1, sqlda);
        if (failed() || sqlda->sqld > kColumns) {
            ok = false;
            break;
        }
        std::vector<std::vector<char>> buffers(static_cast<size_t>(sqlda->sqld));
        std::vector<ISC_SHORT> nulls(buffers.size());
        for (int i = 0; i < sqlda->sqld; ++i) {
            buffers[size_t(i)].resize(size_t(sqlda->sqlvar[i].sqllen) + 2);
            sqlda->sqlvar[i].sqldata = buffers[size_t(i)].data();
            sqlda->sqlvar[i].sqlind = &nulls[size_t(i)];
        }
        isc_dsql_execute(status, &tr, &st, 1, nullptr);
        while (!failed() && isc_dsql_fetch(status, &st, 1, sqlda) == 0)
            ++rows;
        ok = ok && !failed();
        isc_dsql_free_statement(status, &st, DSQL_drop);
    }
    isc_commit_transaction(status, &tr);
    return ok && !failed() ? rows : -1;
}

void ConsoleDialogs::information(const QString& caption, const QString& text)
{
    std::fprintf(stderr, "[%s] %s\n", qPrintable(caption), qPrintable(text));
}

} // namespace zf::bench
