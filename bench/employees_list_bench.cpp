// How long opening the employees list takes for 10,000 and 50,000 employees, next to fetching
// the same rows with the same statement through isql-fb, its start-up and attach measured as often
// and taken off. Prints numbers; never fails on them.
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
#include <QLocale>
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

// Employees with Polish names, numbers, units (some without one) and a few dismissed.
bool fillEmployees(const QString& path, int employees)
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
        for (int i = 0; i < employees; ++i) {
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

int runSize(const QString& root, int employees)
{
    const QString programFolder = QStringLiteral(ZF_BENCH_PROGRAM_FOLDER);
    const QString path = root + QStringLiteral("/employees%1.fdb").arg(employees);
    const QByteArray label =
        "employees list, " + QLocale(QLocale::English).toString(employees).toLatin1();
    if (!zf::bench::createDatabase(programFolder, path))
        return 1;
    if (!fillEmployees(path, employees))
        return 1;

    // Ours: the module's own list, on a connection made once as the program makes it.
    zf::bench::ConsoleDialogs dialogs;
    const QString dataFolder =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
        QStringLiteral("/Orvantis/Zefirant");
    QDir().mkpath(dataFolder + QStringLiteral("/debug"));
    QString selectSql;
    zf::bench::Runs ours;
    zf::bench::Runs bare;
    // The program attaches anew for each of its runs, opens the list once untimed as it has by
    // then, times the next opening and detaches before isql-fb runs (the embedded engine keeps
    // the file for one process). Taken in turn with isql-fb, run by run, so that the machine's
    // changing pace touches both alike.
    const auto openList = [&] {
        zf::TmyDataBase db(zf::DatabasePaths{dataFolder, programFolder,
                                             {root + QStringLiteral("/no-installer")}},
                           dialogs);
        if (!db.Connect(path, kUser, kPassword)) {
            std::fprintf(stderr, "Cannot connect to %s\n", qPrintable(path));
            return false;
        }
        db.OpenEmployees();
        QElapsedTimer t;
        t.start();
        db.OpenEmployees();
        const double ms = zf::bench::msSince(t);
        if (!db.DBFEmployees.isOpen() || db.DBFEmployees.recordCount() != employees) {
            std::fprintf(stderr, "OpenEmployees did not give %d rows\n", employees);
            return false;
        }
        ours.ms.push_back(ms);
        selectSql = db.DBFEmployees.sql();
        // The same statement through the bare client on the same warm attachment.
        t.restart();
        if (zf::bench::bareFetch(db, {selectSql}) != employees) {
            std::fprintf(stderr, "The bare fetch did not give %d rows\n", employees);
            return false;
        }
        bare.ms.push_back(zf::bench::msSince(t));
        return true;
    };
    if (!openList())
        return 1;
    ours.ms.clear();
    bare.ms.clear();

    const QString isql = QStandardPaths::findExecutable(QStringLiteral("isql-fb"));
    if (isql.isEmpty()) {
        std::printf("  isql-fb not found: no comparison\n");
        if (!zf::bench::timeRuns(openList))
            return 1;
        zf::bench::printResult(label.constData(), ours.median(), bare.median(), 1.1);
        return 0;
    }
    const QString selectFile = root + QStringLiteral("/select.sql");
    const QString countFile = root + QStringLiteral("/count.sql");
    if (!writeBytes(selectFile, (selectSql + QStringLiteral(";\n")).toUtf8()) ||
        !writeBytes(
            countFile,
            (QStringLiteral("SET COUNT ON;\n") + selectSql + QStringLiteral(";\n")).toUtf8())) {
        std::fprintf(stderr, "Cannot write the isql-fb scripts in %s\n", qPrintable(root));
        return 1;
    }
    // isql-fb must see the same rows, or the comparison means nothing.
    QByteArray counted;
    if (!runIsql(isql, path, countFile, &counted))
        return 1;
    const QByteArray expected = "Records affected: " + QByteArray::number(employees);
    if (!counted.contains(expected)) {
        std::fprintf(stderr, "isql-fb did not report \"%s\"\n", expected.constData());
        return 1;
    }
    const auto floor = zf::bench::isqlFloor(isql, path, selectFile, root, zf::bench::kRuns, {},
                                            openList);
    if (!floor)
        return 1;
    // The warm-up pair's.
    ours.ms.erase(ours.ms.begin());
    bare.ms.erase(bare.ms.begin());
    std::printf("Employees list: %d rows, median of %zu runs in turn with isql-fb, each on a fresh "
                "attachment after one opening\n",
                employees, ours.ms.size());
    std::printf("  TmyDataBase::OpenEmployees     median %8.1f ms (best %.1f)\n", ours.median(),
                ours.best());
    std::printf("  bare client calls, same SQL    median %8.1f ms (ours / bare %.2f)\n",
                bare.median(), ours.median() / bare.median());
    zf::bench::printIsqlFloor(*floor);
    std::printf("  ours / isql-fb less start-up   %.2f\n", ours.median() / floor->netMs());
    // Graded against the bare client: isql-fb starts cold and prints every row.
    zf::bench::printResult(label.constData(), ours.median(), bare.median(), 1.1);
    return 0;
}

// How the cost grows from a company's size to a large one's.
int run(const QString& root)
{
    for (const int employees : {10000, 50000})
        if (const int rc = runSize(root, employees))
            return rc;
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    return zf::bench::benchMain(argc, argv, run);
}
