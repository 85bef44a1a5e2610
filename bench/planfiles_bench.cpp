// Writing 2,000 leave-plan files and reading 2,000 changed files back into an embedded database.
// The export is set against a plain loop writing the same bytes durably (temporary files, one
// file-system sync, renames) plus isql-fb fetching the same rows; the import against the same
// file reads and the same plans stored through its own statements (prepared once, the same
// chunks and commits), and, for reference, isql-fb running one literal statement a day. The sides
// run in turn, run by run, the same number of times after a warm-up, each of ours on an attachment
// of its own as isql-fb's; medians are compared, isql-fb's start-up measured as often and taken
// off. Before that, the reader alone on a full year and on the worst list a file of the largest
// size read can hold. Prints numbers; never fails on them.
#include "data/mydatabase.h"
#include "cipher/cipher.h"
#include "planfiles/planfile.h"
#include "planfiles/planstore.h"
#include "planfiles/workingwithxml.h"
#include "util/dialogs.h"
#include "util/textcodec.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <optional>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include "bench/benchsupport.h"

namespace {

using zf::bench::msSince;
using zf::bench::Runs;

using zf::bench::kPassword;
using zf::bench::kUser;

constexpr int kEmployees = 2000;
constexpr double kExportTarget = 1.3;
// Against the same statements prepared once with the same commits, after the same file reads.
constexpr double kImportTarget = 1.1;
constexpr int kImportRuns = 7;
// Both sides of the export end in a sync of the file system, whose time swings by half from one
// run to the next here: more runs than the rest, for a steadier median.
constexpr int kExportRuns = 21;
// As the import commits the employees it stores.
constexpr int kEmployeesPerCommit = zf::PlanStore::kEmployeesPerCommit;

QString key(int i)
{
    return QStringLiteral("P%1").arg(i, 5, 10, QLatin1Char('0'));
}

// The first 20 working days from a start that moves with the employee.
QList<int> chosenDays(int i, int shift)
{
    QList<int> days;
    for (int d = 0; d < 20; ++d)
        days << 20240000 + ((i + shift + d) % 12 + 1) * 100 + (d % 28) + 1;
    return days;
}

double cpuMsOfProcess()
{
    timespec ts{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

// This process's CPU time in user space alone: the rest of it is the kernel's, mostly the
// engine's synchronous page writes.
double userCpuMsOfProcess()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec) * 1e3 +
           static_cast<double>(usage.ru_utime.tv_usec) / 1e3;
}

// Of the child processes waited for so far: isql-fb's own CPU time.
double cpuMsOfChildren()
{
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    const auto ms = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
    };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// The floor of the export's disk work: every file to a temporary, one sync of the file system,
// the renames, one sync of the folder.
bool plainDurableWrite(const QString& folder, const std::vector<std::pair<QByteArray, QByteArray>>& files)
{
    for (const auto& [name, bytes] : files) {
        const QByteArray temporary = name + ".tmp";
        const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0)
            return false;
        const bool ok = ::write(fd, bytes.constData(), static_cast<size_t>(bytes.size())) ==
                        static_cast<ssize_t>(bytes.size());
        if (::close(fd) != 0 || !ok)
            return false;
    }
    const int dir = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0)
        return false;
    bool ok = ::syncfs(dir) == 0;
    for (const auto& [name, bytes] : files)
        ok = ok && ::rename((name + ".tmp").constData(), name.constData()) == 0;
    ok = ::fsync(dir) == 0 && ok;
    ::close(dir);
    return ok;
}

// isql-fb running `script` and, for its start-up, an empty one, in turn, after a warm-up of
// both: wall and CPU time of each run. `alongside`, when given, runs before each pair: the
// caller's own timed run, so that both sides see the machine at the same pace.
struct IsqlRuns
{
    Runs script, startup, scriptCpu, startupCpu;
};
std::optional<IsqlRuns> isqlRuns(const QString& isql, const QString& path, const QString& script,
                                 const QString& folder, int runs,
                                 const std::function<bool()>& alongside = {})
{
    const QString empty = folder + QStringLiteral("/startup.sql");
    if (!zf::bench::writeBytes(empty, "SELECT 1 FROM RDB$DATABASE;\n") ||
        (alongside && !alongside()) || !zf::bench::runIsql(isql, path, script) ||
        !zf::bench::runIsql(isql, path, empty))
        return std::nullopt;
    IsqlRuns r;
    const auto once = [&](const QString& file, Runs& wall, Runs& cpu) {
        const double cpuBefore = cpuMsOfChildren();
        QElapsedTimer t;
        t.start();
        if (!zf::bench::runIsql(isql, path, file))
            return false;
        wall.ms.push_back(msSince(t));
        cpu.ms.push_back(cpuMsOfChildren() - cpuBefore);
        return true;
    };
    for (int i = 0; i < runs; ++i)
        if ((alongside && !alongside()) || !once(script, r.script, r.scriptCpu) ||
            !once(empty, r.startup, r.startupCpu))
            return std::nullopt;
    return r;
}

// The best of 20 parses of the text.
double bestParseMs(const QByteArray& text)
{
    double best = 1e9;
    for (int i = 0; i < 20; ++i) {
        zf::PlanFileData data;
        QElapsedTimer t;
        t.start();
        zf::ParsePlanFileText(text, 2024, data);
        best = std::min(best, msSince(t));
    }
    return best;
}

void readerTimes()
{
    zf::PlanFileContent year;
    year.year = 2024;
    year.employeeKey = key(1);
    for (QDate d(2024, 1, 1); d.year() == 2024; d = d.addDays(1)) {
        const int day = d.year() * 10000 + d.month() * 100 + d.day();
        year.selectedDays << day;
        year.unchangeableDays << day;
    }
    const QByteArray full = zf::BuildPlanFileText(year);
    // Closing tags before one opening tag: read linearly, or in the square of the length.
    QByteArray crafted = "<IDEMPLOYEE>1</IDEMPLOYEE><NAME></NAME><SURNAME></SURNAME><CHECKSUM>1"
                         "</CHECKSUM><SELECTEDDAYS>";
    const QByteArray tail = "<DAY>20240702</DAY></SELECTEDDAYS>";
    while (crafted.size() + 6 + tail.size() <= zf::kMaxPlanFileSize)
        crafted += "</DAY>";
    crafted += tail;
    std::printf("Plan-file reader: full year (%lld bytes) %.3f ms, crafted DAY list (%lld bytes) "
                "%.3f ms\n",
                static_cast<long long>(full.size()), bestParseMs(full),
                static_cast<long long>(crafted.size()), bestParseMs(crafted));
}

int run(const QString& root)
{
    readerTimes();
    const QString programFolder = QStringLiteral(ZF_BENCH_PROGRAM_FOLDER);
    const QString path = root + QStringLiteral("/planfiles.fdb");
    const QString planDir = root + QStringLiteral("/plany");
    QDir().mkpath(planDir);
    if (!zf::bench::createDatabase(programFolder, path))
        return 1;
    const QString isql = QStandardPaths::findExecutable(QStringLiteral("isql-fb"));
    if (isql.isEmpty()) {
        std::printf("isql-fb not found: no benchmark\n");
        return 0;
    }

    // The plan, its employees and their days, through isql-fb before the engine is ours.
    QString seed = QStringLiteral("INSERT INTO HOLIDAYPLANS (IDYEAR, STATUS, PLANDIR) VALUES "
                                  "(2024, 2, '%1');\n")
                       .arg(planDir);
    for (const int day : {20240101, 20240106, 20240401, 20240501, 20240503, 20241225})
        seed += QStringLiteral("INSERT INTO CALENDAR (IDYEAR, FREEDAY) VALUES (2024, %1);\n").arg(day);
    for (int i = 0; i < kEmployees; ++i) {
        seed += QStringLiteral("INSERT INTO EMPLOYEES (IDEMPLOYEE, SURNAME, NAME, FILENAME, PWD) "
                               "VALUES ('%1', 'Wiśniewski', 'Łukasz', 'plan_%1', 'hasło');\n"
                               "INSERT INTO EMPLOYEESSETTINGS (IDYEAR, IDEMPLOYEE, THISYEARDAYS) "
                               "VALUES (2024, '%1', 26);\n")
                    .arg(key(i));
        for (const int day : chosenDays(i, 0))
            seed += QStringLiteral("INSERT INTO EMPLOYEEHOLIDAYS (IDYEAR, IDEMPLOYEE, "
                                   "SELECTEDDAY) VALUES (2024, '%1', %2);\n")
                        .arg(key(i))
                        .arg(day);
        seed += QStringLiteral("INSERT INTO EMPLOYEECONSTDAYS (IDYEAR, IDEMPLOYEE, SELECTEDDAY) "
                               "VALUES (2024, '%1', 20241224);\n")
                    .arg(key(i));
    }
    seed += QStringLiteral("COMMIT;\n");
    const QString seedFile = root + QStringLiteral("/seed.sql");
    if (!zf::bench::writeBytes(seedFile, zf::toCp1250(seed)) ||
        !zf::bench::runIsql(isql, path, seedFile))
        return 1;

    QStringList keys;
    for (int i = 0; i < kEmployees; ++i)
        keys << key(i);
    const QString dataFolder = root + QStringLiteral("/data/Orvantis/Zefirant");
    QDir().mkpath(dataFolder + QStringLiteral("/debug"));
    zf::bench::ConsoleDialogs dialogs;
    Runs exportRuns, plainRuns, importRuns, importCpu, importUserCpu, storeRuns;
    const auto attach = [&](zf::TmyDataBase& db) { return db.Connect(path, kUser, kPassword); };
    const zf::DatabasePaths paths{dataFolder, programFolder,
                                  {root + QStringLiteral("/no-installer")}};
    const auto exportAll = [&](zf::TmyDataBase& db) {
        zf::TWorkingWithXML files(db, 2024);
        return files.WritePlanFiles(keys, QStringLiteral("Komentarz"), true, true);
    };

    // The files once, untimed, for the plain loop to write the same bytes as durably.
    std::vector<std::pair<QByteArray, QByteArray>> written;
    {
        zf::TmyDataBase db(paths, dialogs);
        if (!attach(db) || !exportAll(db))
            return 1;
    }
    for (const QString& k : keys) {
        const QString file = zf::PlanFilePath(planDir, QStringLiteral("plan_") + k);
        QByteArray bytes;
        if (!zf::ReadPlanFileBytes(file, bytes))
            return 1;
        written.emplace_back(QFile::encodeName(file), bytes);
    }
    // Each side in turn, run by run, so that the machine's changing pace touches all alike: the
    // export on an attachment of its own (isql-fb attaches anew each time too; the embedded
    // engine keeps the file for one process), the plain loop, then isql-fb.
    const auto exportOnce = [&] {
        {
            zf::TmyDataBase db(paths, dialogs);
            if (!attach(db))
                return false;
            QElapsedTimer t;
            t.start();
            if (!exportAll(db))
                return false;
            exportRuns.ms.push_back(msSince(t));
        }
        QElapsedTimer t;
        t.start();
        if (!plainDurableWrite(planDir, written))
            return false;
        plainRuns.ms.push_back(msSince(t));
        return true;
    };
    const QString exportFile = root + QStringLiteral("/export.sql");
    const QString exportSql = QStringLiteral(
        "SELECT PLANDIR FROM HOLIDAYPLANS WHERE IDYEAR=2024;\n"
        "SELECT FREEDAY FROM CALENDAR WHERE IDYEAR=2024 ORDER BY FREEDAY;\n"
        "SELECT E.IDEMPLOYEE, NAME, SURNAME, FILENAME, PWD, LASTYEARDAYS, THISYEARDAYS, CHECKSUM "
        "FROM EMPLOYEESSETTINGS AS S, EMPLOYEES AS E WHERE IDYEAR=2024 AND "
        "S.IDEMPLOYEE=E.IDEMPLOYEE;\n"
        "SELECT D.IDEMPLOYEE, D.SELECTEDDAY FROM EMPLOYEEHOLIDAYS AS D WHERE D.IDYEAR=2024 AND "
        "NOT EXISTS (SELECT * FROM CALENDAR AS C WHERE C.FREEDAY=D.SELECTEDDAY);\n"
        "SELECT D.IDEMPLOYEE, D.SELECTEDDAY FROM EMPLOYEECONSTDAYS AS D WHERE D.IDYEAR=2024 AND "
        "NOT EXISTS (SELECT * FROM CALENDAR AS C WHERE C.FREEDAY=D.SELECTEDDAY);\n");
    if (!zf::bench::writeBytes(exportFile, exportSql.toUtf8()))
        return 1;
    const auto exportFloor =
        zf::bench::isqlFloor(isql, path, exportFile, root, kExportRuns, {}, exportOnce);
    if (!exportFloor)
        return 1;

    // Every employee changes his plan.
    QString importScript;
    for (int i = 0; i < kEmployees; ++i) {
        zf::PlanFileContent c;
        c.year = 2024;
        c.employeeKey = keys.at(i);
        c.name = QStringLiteral("Łukasz");
        c.surname = QStringLiteral("Wiśniewski");
        c.stamp = i + 1;
        c.selectedDays = chosenDays(i, 5);
        c.unchangeableDays = {20241224};
        if (!zf::WritePlanFileBytes(zf::PlanFilePath(planDir, QStringLiteral("plan_") + keys.at(i)),
                                    zf::BuildPlanFileBytes(c)))
            return 1;
        importScript += QStringLiteral("DELETE FROM EMPLOYEEHOLIDAYS WHERE IDYEAR=2024 AND "
                                       "IDEMPLOYEE='%1';\n")
                            .arg(c.employeeKey);
        for (const int day : c.selectedDays)
            importScript += QStringLiteral("INSERT INTO EMPLOYEEHOLIDAYS(IDYEAR,IDEMPLOYEE,"
                                           "SELECTEDDAY) VALUES (2024, '%1', %2);\n")
                                .arg(c.employeeKey)
                                .arg(day);
        importScript += QStringLiteral("DELETE FROM EMPLOYEECONSTDAYS WHERE IDYEAR=2024 AND "
                                       "IDEMPLOYEE='%1';\nINSERT INTO EMPLOYEECONSTDAYS("
                                       "IDYEAR,IDEMPLOYEE,SELECTEDDAY) VALUES (2024, '%1', "
                                       "20241224);\nUPDATE EMPLOYEESSETTINGS SET CHECKSUM=%2 "
                                       "WHERE IDYEAR=2024 AND IDEMPLOYEE='%1';\n")
                            .arg(c.employeeKey)
                            .arg(c.stamp);
        // Committed as the import commits: every 50 employees (a fraction of a second's worth
        // here) and at the end.
        if ((i + 1) % kEmployeesPerCommit == 0 || i + 1 == kEmployees)
            importScript += QStringLiteral("COMMIT;\n");
    }
    // Each import on an attachment of its own, in turn with isql-fb's run of the same statements.
    const auto importOnce = [&] {
        zf::TmyDataBase db(paths, dialogs);
        if (!attach(db))
            return false;
        const double cpuBefore = cpuMsOfProcess();
        const double userBefore = userCpuMsOfProcess();
        QElapsedTimer t;
        t.start();
        zf::TWorkingWithXML files(db, 2024);
        const bool ok = files.ImportPlanFiles(keys) && files.lastRun().done == kEmployees;
        importRuns.ms.push_back(msSince(t));
        importCpu.ms.push_back(cpuMsOfProcess() - cpuBefore);
        importUserCpu.ms.push_back(userCpuMsOfProcess() - userBefore);
        return ok;
    };
    // The floor: each file's bytes read and the same plans stored through the import's own
    // statements (prepared once, the same chunks and commits), without decrypting or parsing.
    const auto storeOnce = [&] {
        zf::TmyDataBase db(paths, dialogs);
        if (!attach(db))
            return false;
        QElapsedTimer t;
        t.start();
        zf::PlanStore store(db, 2024);
        for (int i = 0; i < kEmployees; ++i) {
            QFile f(zf::PlanFilePath(planDir, QStringLiteral("plan_") + keys.at(i)));
            if (!f.open(QIODevice::ReadOnly) || f.readAll().isEmpty())
                return false;
            store.add(keys.at(i), keys.at(i), i + 1, chosenDays(i, 5), {20241224});
            if (store.isDue() && store.flush().failed)
                return false;
        }
        if (store.flush().failed)
            return false;
        storeRuns.ms.push_back(msSince(t));
        return true;
    };
    const QString importFile = root + QStringLiteral("/import.sql");
    if (!zf::bench::writeBytes(importFile, zf::toCp1250(importScript)))
        return 1;
    const auto importFloor = isqlRuns(isql, path, importFile, root, kImportRuns,
                                      [&] { return importOnce() && storeOnce(); });
    if (!importFloor)
        return 1;
    // The warm-up pairs' runs are not counted.
    for (Runs* r : {&exportRuns, &plainRuns, &importRuns, &importCpu, &importUserCpu, &storeRuns})
        r->ms.erase(r->ms.begin());

    std::printf("Leave-plan files: %d employees, 20 chosen days and 1 unchangeable each, median "
                "of %d runs in turn with isql-fb after a warm-up (the import %d)\n",
                kEmployees, kExportRuns, kImportRuns);
    std::printf("  export (WritePlanFiles)        median %8.1f ms (best %.1f)\n",
                exportRuns.median(), exportRuns.best());
    std::printf("  plain durable write loop       median %8.1f ms (best %.1f)\n",
                plainRuns.median(), plainRuns.best());
    zf::bench::printIsqlFloor(*exportFloor);
    const double exportFloorMs = plainRuns.median() + exportFloor->netMs();
    std::printf("  floor: write loop + isql-fb    median %8.1f ms\n", exportFloorMs);
    // Both sides sync the file system, whose time swings from run to run: the spread of the
    // ratio run by run beside the ratio of the medians.
    std::vector<double> ratios;
    for (size_t i = 0; i < exportRuns.ms.size() && i < exportFloor->script.ms.size() &&
                       i < exportFloor->startup.ms.size() && i < plainRuns.ms.size();
         ++i)
        ratios.push_back(exportRuns.ms[i] / (plainRuns.ms[i] + exportFloor->script.ms[i] -
                                             exportFloor->startup.ms[i]));
    std::sort(ratios.begin(), ratios.end());
    if (!ratios.empty())
        std::printf("  ratio run by run               lowest %.2f, median %.2f, highest %.2f\n",
                    ratios.front(), ratios[ratios.size() / 2], ratios.back());
    zf::bench::printResult("plan files written, 2,000", exportRuns.median(), exportFloorMs,
                           kExportTarget);

    const double importFloorMs = importFloor->script.median() - importFloor->startup.median();
    const double isqlCpuMs = importFloor->scriptCpu.median() - importFloor->startupCpu.median();
    std::printf("  import (ImportPlanFiles)       median %8.1f ms (best %.1f), CPU %.1f ms, of which "
                "user space %.1f ms\n",
                importRuns.median(), importRuns.best(), importCpu.median(),
                importUserCpu.median());
    std::printf("  isql-fb, one statement a day   median %8.1f ms (%zu runs), CPU %.1f ms\n",
                importFloor->script.median(), importFloor->script.ms.size(),
                importFloor->scriptCpu.median());
    std::printf("  isql-fb start-up and attach    median %8.1f ms (%zu runs), CPU %.1f ms\n",
                importFloor->startup.median(), importFloor->startup.ms.size(),
                importFloor->startupCpu.median());
    std::printf("  floor: isql-fb less start-up   median %8.1f ms, CPU %.1f ms\n", importFloorMs,
                isqlCpuMs);
    std::printf("  same store, files read only    median %8.1f ms (best %.1f)\n",
                storeRuns.median(), storeRuns.best());
    std::printf("  ours / isql-fb less start-up   %.2f (literal statements, one per day)\n",
                importRuns.median() / importFloorMs);
    zf::bench::printResult("plan files read, 2,000", importRuns.median(), storeRuns.median(),
                           kImportTarget);
    std::printf("RESULT | %-34s | ours %9.1f ms | isql-fb CPU %5.1f ms | ratio %5.2f |\n",
                "plan files read, 2,000, CPU time", importCpu.median(), isqlCpuMs,
                isqlCpuMs > 0 ? importCpu.median() / isqlCpuMs : 0.0);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    return zf::bench::benchMain(argc, argv, run);
}
