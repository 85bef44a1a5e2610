// How long opening the employees list takes for 10,000 employees, next to fetching the same
// rows with the same statement through isql-fb. Prints numbers; never fails on them.
#include "data/databasecreation.h"
#include "data/fb/connection.h"
#include "data/fb/statement.h"
#include "data/fb/transaction.h"
#include "data/fb/transactionguard.h"
#include "data/mydatabase.h"
#include "data/scriptrunner.h"
#include "util/dialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <vector>

#include "bench/benchsupport.h"

namespace {

using zf::bench::kPassword;
using zf::bench::kUser;
using zf::bench::runIsql;
using zf::bench::writeBytes;

constexpr int kEmployees = 10000;
constexpr int kRuns = 7;

struct Timing
{
    double bestMs = 0;
    double medianMs = 0;
};

// Runs `once` kRuns times after one warm-up run; nullopt as soon as a run fails.
std::optional<Timing> measure(const std::function<bool()>& once)
{
    if (!once())
        return std::nullopt;
    std::vector<double> ms;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer timer;
        timer.start();
        if (!once())
            return std::nullopt;
        ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return Timing{ms.front(), ms[ms.size() / 2]};
}

// Employees with Polish names, numbers, units (some without one) and a few dismissed.
bool fillEmployees(const QString& path)
{
    const QStringList names = {
        QStringLiteral("Zofia"),     QStringLiteral("Łukasz"),    QStringLiteral("Małgorzata"),
        QStringLiteral("Jędrzej"),   QStringLiteral("Agnieszka"), QStringLiteral("Paweł"),
        QStringLiteral("Bożena"),    QStringLiteral("Grzegorz"),  QStringLiteral("Żaneta"),
        QStringLiteral("Michał"),    QStringLiteral("Urszula"),   QStringLiteral("Wojciech"),
        QStringLiteral("Jadwiga"),   QStringLiteral("Przemysław"), QStringLiteral("Elżbieta"),
        QStringLiteral("Mikołaj"),   QStringLiteral("Halina"),    QStringLiteral("Bartłomiej"),
        QStringLiteral("Iwona"),     QStringLiteral("Stanisław"), QStringLiteral("Łucja"),
        QStringLiteral("Zbigniew"),  QStringLiteral("Ewa"),       QStringLiteral("Tomasz")};
    const QStringList surnames = {
        QStringLiteral("Nowak"),      QStringLiteral("Kowalski"),    QStringLiteral("Wiśniewski"),
        QStringLiteral("Wójcik"),     QStringLiteral("Kowalczyk"),   QStringLiteral("Kamiński"),
        QStringLiteral("Lewandowski"), QStringLiteral("Zieliński"),  QStringLiteral("Szymański"),
        QStringLiteral("Woźniak"),    QStringLiteral("Dąbrowski"),   QStringLiteral("Kozłowski"),
        QStringLiteral("Jankowski"),  QStringLiteral("Mazur"),       QStringLiteral("Kwiatkowski"),
        QStringLiteral("Krawczyk"),   QStringLiteral("Piotrowski"),  QStringLiteral("Grabowski"),
        QStringLiteral("Nowakowski"), QStringLiteral("Pawłowski"),   QStringLiteral("Michalski"),
        QStringLiteral("Król"),       QStringLiteral("Wieczorek"),   QStringLiteral("Jabłoński"),
        QStringLiteral("Wróbel"),     QStringLiteral("Nowicki"),     QStringLiteral("Majewski"),
        QStringLiteral("Olszewski"),  QStringLiteral("Stępień"),     QStringLiteral("Malinowski"),
        QStringLiteral("Jaworski"),   QStringLiteral("Adamczyk"),    QStringLiteral("Górski"),
        QStringLiteral("Sikora"),     QStringLiteral("Ostrowski"),   QStringLiteral("Baran"),
        QStringLiteral("Duda"),       QStringLiteral("Szewczyk"),    QStringLiteral("Tomaszewski"),
        QStringLiteral("Pietrzak"),   QStringLiteral("Żółkiewski"),  QStringLiteral("Łęcki")};
    try {
        zf::fb::Connection c;
        c.attach(path, kUser, kPassword);
        zf::fb::Transaction t(c, zf::fb::tpb::engineDefaults());
        zf::fb::TransactionGuard guard(t);
        zf::fb::Statement st(c, &t);
        st.setSql(zf::TmyDataBase::DBFUEmployees.insertSql);
        for (int i = 0; i < kEmployees; ++i) {
            const QString id = QStringLiteral("P%1").arg(i + 1, 5, 10, QLatin1Char('0'));
            const QString name = names[i % names.size()];
            // Surnames cycle at another pace, so name pairs repeat rarely.
            const QString surname = surnames[(i / names.size() + i) % surnames.size()];
            st.setParam(QStringLiteral("IDEMPLOYEE"), id);
            st.setParam(QStringLiteral("SURNAME"), surname);
            st.setParam(QStringLiteral("NAME"), name);
            st.setParam(QStringLiteral("IDDICUNIT"), i % 7 == 0 ? -1 : i % 7);
            st.setParam(QStringLiteral("EMAIL"), id.toLower() + QStringLiteral("@firma.pl"));
            st.setParam(QStringLiteral("FILENAME"), id.toLower());
            st.setParam(QStringLiteral("PWD"), QStringLiteral("haslo%1").arg(i % 1000));
            st.setParam(QStringLiteral("ACT"),
                        i % 20 == 0 ? QStringLiteral("N") : QStringLiteral("T"));
            st.execute();
        }
        guard.commit();
        return true;
    } catch (const zf::Exception& e) {
        std::fprintf(stderr, "Filling the database failed: %s\n", qPrintable(e.message()));
        return false;
    }
}

int run(const QString& root)
{
    const QString programFolder = QStringLiteral(ZF_BENCH_PROGRAM_FOLDER);
    const QString path = root + QStringLiteral("/employees.fdb");
    if (!zf::bench::createDatabase(programFolder, path))
        return 1;
    if (!fillEmployees(path))
        return 1;

    // Ours: the module's own list, on a connection made once as the program makes it.
    zf::bench::ConsoleDialogs dialogs;
    const QString dataFolder =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
        QStringLiteral("/Orvantis/Zefirant");
    QDir().mkpath(dataFolder + QStringLiteral("/debug"));
    QString selectSql;
    std::optional<Timing> ours;
    {
        zf::TmyDataBase db(zf::DatabasePaths{dataFolder, programFolder,
                                             {root + QStringLiteral("/no-installer")}},
                           dialogs);
        if (!db.Connect(path, kUser, kPassword)) {
            std::fprintf(stderr, "Cannot connect to %s\n", qPrintable(path));
            return 1;
        }
        ours = measure([&] {
            db.OpenEmployees();
            return db.DBFEmployees.isOpen() && db.DBFEmployees.recordCount() == kEmployees;
        });
        selectSql = db.DBFEmployees.sql();
        // The embedded engine opens the file for one process only: isql-fb comes after.
    }
    if (!ours) {
        std::fprintf(stderr, "OpenEmployees did not give %d rows\n", kEmployees);
        return 1;
    }

    std::printf("Employees list: %d rows, best of %d runs after a warm-up\n", kEmployees, kRuns);
    std::printf("  TmyDataBase::OpenEmployees   best %8.1f ms   median %8.1f ms\n",
                ours->bestMs, ours->medianMs);

    const QString isql = QStandardPaths::findExecutable(QStringLiteral("isql-fb"));
    if (isql.isEmpty()) {
        std::printf("  isql-fb not found: no comparison\n");
        return 0;
    }
    const QString selectFile = root + QStringLiteral("/select.sql");
    const QString countFile = root + QStringLiteral("/count.sql");
    const QString emptyFile = root + QStringLiteral("/empty.sql");
    if (!writeBytes(selectFile, (selectSql + QStringLiteral(";\n")).toUtf8()) ||
        !writeBytes(countFile,
                    (QStringLiteral("SET COUNT ON;\n") + selectSql + QStringLiteral(";\n")).toUtf8()) ||
        !writeBytes(emptyFile, "SELECT 1 FROM RDB$DATABASE;\n")) {
        std::fprintf(stderr, "Cannot write the isql-fb scripts in %s\n", qPrintable(root));
        return 1;
    }
    // isql-fb must see the same rows, or the comparison means nothing.
    QByteArray counted;
    if (!runIsql(isql, path, countFile, &counted))
        return 1;
    const QByteArray expected = "Records affected: " + QByteArray::number(kEmployees);
    if (!counted.contains(expected)) {
        std::fprintf(stderr, "isql-fb did not report \"%s\"\n", expected.constData());
        return 1;
    }
    const auto theirs = measure([&] { return runIsql(isql, path, selectFile); });
    // Start-up and attaching alone, to show what of isql-fb's time is the list itself.
    const auto startup = measure([&] { return runIsql(isql, path, emptyFile); });
    if (!theirs || !startup)
        return 1;

    const double ratio = ours->bestMs / theirs->bestMs;
    const double netMs = theirs->bestMs - startup->bestMs;
    std::printf("  isql-fb, same SELECT          best %8.1f ms   median %8.1f ms\n",
                theirs->bestMs, theirs->medianMs);
    std::printf("  isql-fb start-up and attach   best %8.1f ms   median %8.1f ms\n",
                startup->bestMs, startup->medianMs);
    std::printf("  ratio ours / isql-fb: %.2f (%s twice isql-fb's time)\n", ratio,
                ratio <= 2.0 ? "within" : "NOT within");
    if (netMs > 0)
        std::printf("  ratio ours / isql-fb without its start-up (%.1f ms): %.2f\n", netMs,
                    ours->bestMs / netMs);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    return zf::bench::benchMain(argc, argv, run);
}
