// How fast the yearly schedule is laid out and saved as PDF for 100, 500 and 2,000 employees, each
// with a plan, non-working days and leave days; prints pages per second (wall clock and CPU
// time, the median of kRuns runs) and the PDF's size. Never fails on time.
// ZF_BENCH_KEEP=1 keeps the temporary folder with the PDFs for a look at their content.
#include "data/mydatabase.h"
#include "reports/dmraporty.h"
#include "util/dates.h"
#include "util/dialogs.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

#include "bench/benchsupport.h"

namespace {

constexpr int kYear = 2023;
constexpr int kRuns = 5;

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// CPU time of the process in ms: on a shared machine the wall clock also counts the others.
double cpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

bool seed(zf::TmyDataBase& db, int employees)
{
    return db.Utility(1, [&](zf::fb::Statement& st) {
        const auto exec = [&st](const QString& sql) {
            st.close();
            st.setSql(sql);
            st.execute();
        };
        exec(QStringLiteral("INSERT INTO HOLIDAYPLANS (IDYEAR, STATUS) VALUES (2023, 5)"));
        for (int n = zf::MakeDateNumber(1, 1, kYear); zf::YearPart(n) == kYear;
             n = zf::AddDays(n, 1))
            if (zf::DayOfWeekIso(n) >= 6)
                exec(QStringLiteral("INSERT INTO CALENDAR (IDYEAR, FREEDAY) VALUES (2023, %1)")
                         .arg(n));
        for (int i = 0; i < employees; ++i) {
            const QString id = QStringLiteral("B%1").arg(i, 4, 10, QLatin1Char('0'));
            exec(QStringLiteral("INSERT INTO EMPLOYEES (IDEMPLOYEE, SURNAME, NAME) VALUES "
                                "('%1', 'Wiśniewska', 'Małgorzata %1')")
                     .arg(id));
            exec(QStringLiteral("INSERT INTO EMPLOYEESSETTINGS (IDYEAR, IDEMPLOYEE, "
                                "THISYEARDAYS) VALUES (2023, '%1', 26)")
                     .arg(id));
            // Two weeks in a month of its own, one of them fixed.
            const int month = 1 + i % 12;
            for (int d = 1; d <= 14; ++d) {
                const int n = zf::MakeDateNumber(d, month, kYear);
                exec(QStringLiteral("INSERT INTO EMPLOYEEHOLIDAYS (IDYEAR, IDEMPLOYEE, "
                                    "SELECTEDDAY) VALUES (2023, '%1', %2)")
                         .arg(id)
                         .arg(n));
                if (d == 3)
                    exec(QStringLiteral("INSERT INTO EMPLOYEECONSTDAYS (IDYEAR, IDEMPLOYEE, "
                                        "SELECTEDDAY) VALUES (2023, '%1', %2)")
                             .arg(id)
                             .arg(n));
            }
        }
    });
}

int runOne(const QString& root, int employees)
{
    const QString programFolder = QStringLiteral(ZF_BENCH_PROGRAM_FOLDER);
    const QString path = root + QStringLiteral("/raporty%1.fdb").arg(employees);
    if (!zf::bench::createDatabase(programFolder, path))
        return 1;
    const QString dataFolder = root + QStringLiteral("/data/Orvantis/Zefirant");
    QDir().mkpath(dataFolder + QStringLiteral("/debug"));
    zf::bench::ConsoleDialogs dialogs;
    zf::TmyDataBase db(
        zf::DatabasePaths{dataFolder, programFolder, {root + QStringLiteral("/no-installer")}},
        dialogs);
    if (!db.Connect(path, zf::bench::kUser, zf::bench::kPassword) || !seed(db, employees))
        return 1;

    zf::TDMRaporty dm(db, dialogs, programFolder);
    zf::report::ReportDocument doc;
    dm.show = [&doc](const zf::report::ReportDocument& d) { doc = d; };
    zf::PlanReportFilters f;
    f.year = kYear;
    const QString pdf = root + QStringLiteral("/rok%1.pdf").arg(employees);
    std::vector<double> layoutMs, pdfMs, totalMs, layoutCpuMs, totalCpuMs;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer t;
        t.start();
        const double cpu0 = cpuMs();
        if (!dm.GrafikRok(f))
            return 1;
        layoutMs.push_back(t.nsecsElapsed() / 1e6);
        layoutCpuMs.push_back(cpuMs() - cpu0);
        QString error;
        t.restart();
        if (!doc.writePdf(pdf, &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        pdfMs.push_back(t.nsecsElapsed() / 1e6);
        totalMs.push_back(layoutMs.back() + pdfMs.back());
        totalCpuMs.push_back(cpuMs() - cpu0);
    }
    std::printf("yearly schedule, %3d employees: %4d pages, layout %6.0f ms, PDF %6.0f ms, "
                "%lld bytes: %6.1f pages/s (CPU time: layout %5.0f ms, all %5.0f ms: %6.1f pages/s), "
                "median of %d\n",
                employees, doc.pageCount(), median(layoutMs), median(pdfMs),
                static_cast<long long>(QFileInfo(pdf).size()),
                doc.pageCount() * 1000.0 / median(totalMs), median(layoutCpuMs), median(totalCpuMs),
                doc.pageCount() * 1000.0 / median(totalCpuMs), kRuns);
    if (employees >= 500) {
        // The pace kept from a mid-sized company to a large one.
        const QByteArray label = "yearly schedule to PDF, " +
                                 QLocale(QLocale::English).toString(employees).toLatin1();
        zf::bench::printAtLeast(label.constData(), doc.pageCount() * 1000.0 / median(totalMs),
                                300, "pages/s");
    }
    if (employees == 500) {
        // The file as the schedule of 500 came out before its pages were drawn in passes.
        zf::bench::printLimit("yearly schedule PDF size, 500",
                              static_cast<double>(QFileInfo(pdf).size()) / 1e6, 3.80, "MB");
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir root(QDir::tempPath() + QStringLiteral("/zf-bench-XXXXXX"));
    root.setAutoRemove(qEnvironmentVariableIsEmpty("ZF_BENCH_KEEP"));
    if (!root.isValid())
        return 1;
    QDir(root.path()).mkpath(QStringLiteral("data"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(root.path() + QStringLiteral("/data")));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    zf::setDateSeparator(QLatin1Char('-'));
    for (int employees : {100, 500, 2000})
        if (runOne(root.path(), employees) != 0)
            return 1;
    return 0;
}
