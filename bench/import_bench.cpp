// How long the employee import takes for a sheet of 10,000 and of 50,000 employees: loading,
// verification and the import into an embedded database, next to the same rows going through one
// prepared INSERT in one transaction. Prints numbers; never fails on them.
#include "data/databasecreation.h"
#include "data/fb/statement.h"
#include "data/fb/transactionguard.h"
#include "data/mydatabase.h"
#include "data/scriptrunner.h"
#include "personnel/importemployees.h"
#include "util/dialogs.h"
#include "util/textcodec.h"

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

using zf::bench::msSince;

using zf::bench::kPassword;
using zf::bench::kUser;

// Declines restoring a configuration, agrees to the import, prints the rest.
class BenchDialogs : public zf::bench::ConsoleDialogs
{
public:
    void information(const QString& caption, const QString& text) override
    {
        last = text;
        if (caption != zf::kCaptionInformation)
            ConsoleDialogs::information(caption, text);
    }
    bool question(const QString&, const QString& text) override
    {
        return text.startsWith(QStringLiteral("Zalecamy"));
    }
    QString last;
};

// A sheet as Calc saves it: a header, Polish names, units by their text (some none), a few
// dismissed, empty trailing cells, Windows-1250 and CR LF.
bool writeSheet(const QString& path, int employees)
{
    const QStringList names = {QStringLiteral("Zofia"),      QStringLiteral("Łukasz"),
                               QStringLiteral("Małgorzata"), QStringLiteral("Jędrzej"),
                               QStringLiteral("Żaneta"),     QStringLiteral("Michał"),
                               QStringLiteral("Elżbieta"),   QStringLiteral("Mikołaj")};
    const QStringList surnames = {
        QStringLiteral("Nowak"),     QStringLiteral("Wiśniewski"), QStringLiteral("Wójcik"),
        QStringLiteral("Dąbrowski"), QStringLiteral("Kozłowski"),  QStringLiteral("Żółkiewski"),
        QStringLiteral("Łęcki"),     QStringLiteral("Stępień"),    QStringLiteral("Król")};
    const QStringList units = {QString(),
                               QStringLiteral("Zarząd"),
                               QStringLiteral("Dział kadr"),
                               QStringLiteral("Księgowość"),
                               QStringLiteral("Dział handlowy"),
                               QStringLiteral("Produkcja"),
                               QStringLiteral("Magazyn")};
    QString text =
        QStringLiteral("Nr ewid.;Imię;Nazwisko;Zespół;E-mail;Hasło;Plik planu;Zwolniony;Uwagi\r\n");
    for (int i = 0; i < employees; ++i) {
        const QString id = QStringLiteral("P%1").arg(i + 1, 5, 10, QLatin1Char('0'));
        const QStringList cells = {id,
                                   names[i % names.size()],
                                   surnames[(i / names.size() + i) % surnames.size()],
                                   units[i % units.size()],
                                   id.toLower() + QStringLiteral("@firma.pl"),
                                   QStringLiteral("hasło%1").arg(i % 1000),
                                   QStringLiteral("plan_") + id.toLower(),
                                   i % 20 == 0 ? QStringLiteral("tak") : QString(),
                                   QString()};
        text += cells.join(QLatin1Char(';')) + QStringLiteral("\r\n");
    }
    QFile f(path);
    const QByteArray bytes = zf::toCp1250(text);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

struct Phases
{
    double load = 0;
    double verify = 0;
    double import = 0;
    double total() const { return load + verify + import; }
};

int runSize(const QString& root, int employees)
{
    const QString programFolder = QStringLiteral(ZF_BENCH_PROGRAM_FOLDER);
    const QString path = root + QStringLiteral("/import%1.fdb").arg(employees);
    if (!zf::bench::createDatabase(programFolder, path))
        return 1;
    const QString sheet = root + QStringLiteral("/pracownicy.csv");
    if (!writeSheet(sheet, employees)) {
        std::fprintf(stderr, "Cannot write %s\n", qPrintable(sheet));
        return 1;
    }
    const QString dataFolder = root + QStringLiteral("/data/Orvantis/Zefirant");
    QDir().mkpath(dataFolder + QStringLiteral("/debug"));
    const QString iniFolder = root + QStringLiteral("/program");
    QDir().mkpath(iniFolder);

    BenchDialogs dialogs;
    zf::TmyDataBase db(
        zf::DatabasePaths{dataFolder, programFolder, {root + QStringLiteral("/no-installer")}},
        dialogs);
    if (!db.Connect(path, kUser, kPassword)) {
        std::fprintf(stderr, "Cannot connect to %s\n", qPrintable(path));
        return 1;
    }
    // An empty table for each run, its deleted rows swept out by a read, so neither side pays
    // for the garbage of the run before.
    const auto empty = [&] {
        if (!db.Write(QStringLiteral("DELETE FROM EMPLOYEES"), {}, 1))
            return false;
        try {
            zf::fb::TransactionGuard guard(db.DBFTransaction);
            zf::fb::Statement& st = db.DBFWorkingSQL;
            st.setTransaction(&db.DBFTransaction);
            st.close();
            st.setSql(QStringLiteral("SELECT COUNT(*) FROM EMPLOYEES"));
            st.execute();
            const bool none = st.fetch() && st.value(0).toInt() == 0;
            st.close();
            guard.commit();
            return none;
        } catch (const zf::Exception& e) {
            std::fprintf(stderr, "Emptying the table failed: %s\n", qPrintable(e.message()));
            return false;
        }
    };

    // Ours: the window's logic on the module's own connection, as the program runs it.
    std::vector<zf::PreparedEmployee> rows;
    const auto ours = [&](Phases& p) {
        zf::EmployeeImport imp(db, dialogs, iniFolder, dataFolder);
        imp.PrepareForShow();
        QElapsedTimer t;
        t.start();
        if (!imp.LoadSheetFile(sheet))
            return false;
        p.load = msSince(t);
        imp.pominPierwszy = true;
        imp.symbolZW = QStringLiteral("TAK");
        imp.cb = {1, 2, 3, 4, 5, 6, 7, 8};
        t.restart();
        imp.VerifySheet();
        p.verify = msSince(t);
        if (imp.verificationFoundErrors()) {
            std::fprintf(stderr, "Verification refused rows: %s\n",
                         qPrintable(imp.grid().remark(1)));
            return false;
        }
        t.restart();
        imp.ImportSheet();
        p.import = msSince(t);
        if (imp.importedCount() != employees) {
            std::fprintf(stderr, "Imported %d rows: %s\n", imp.importedCount(),
                         qPrintable(dialogs.last));
            return false;
        }
        if (rows.empty())
            for (int line = imp.firstDataLine(); line < imp.grid().lineCount(); ++line)
                rows.push_back(imp.prepared(line));
        return true;
    };
    // The floor: the very rows, already verified, through one prepared INSERT in one
    // transaction, as the import's own insert phase runs them.
    const auto floor = [&] {
        try {
            zf::fb::TransactionGuard guard(db.DBFTransaction);
            zf::fb::Statement& st = db.DBFWorkingSQL;
            st.setTransaction(&db.DBFTransaction);
            st.close();
            st.setSql(zf::TmyDataBase::DBFUEmployees.insertSql);
            st.prepare();
            for (const zf::PreparedEmployee& e : rows) {
                st.setParam(QStringLiteral("IDEMPLOYEE"), e.number);
                st.setParam(QStringLiteral("PWD"), e.password);
                st.setParam(QStringLiteral("IDDICUNIT"), e.unit.toInt());
                st.setParam(QStringLiteral("SURNAME"), e.surname);
                st.setParam(QStringLiteral("NAME"), e.name);
                st.setParam(QStringLiteral("EMAIL"), e.email);
                st.setParam(QStringLiteral("FILENAME"), e.fileName);
                st.setParam(QStringLiteral("ACT"), e.act);
                st.execute();
            }
            guard.commit();
            return true;
        } catch (const zf::Exception& e) {
            std::fprintf(stderr, "The prepared inserts failed: %s\n", qPrintable(e.message()));
            return false;
        }
    };

    // A warm-up of each, then the two in turn, as often each.
    std::vector<Phases> phases;
    zf::bench::Runs insertRuns;
    for (int i = -1; i < zf::bench::kRuns; ++i) {
        Phases p;
        if (!empty() || !ours(p) || !empty())
            return 1;
        QElapsedTimer t;
        t.start();
        if (!floor())
            return 1;
        const double floorMs = msSince(t);
        if (i < 0)
            continue;
        phases.push_back(p);
        insertRuns.ms.push_back(floorMs);
    }
    const auto median = [&](const std::function<double(const Phases&)>& of) {
        zf::bench::Runs r;
        for (const Phases& p : phases)
            r.ms.push_back(of(p));
        return r.median();
    };
    const double verify = median([](const Phases& p) { return p.verify; });
    const double both = median([](const Phases& p) { return p.verify + p.import; });

    std::printf("Employee import: %d rows, median of %d runs after a warm-up\n", employees,
                zf::bench::kRuns);
    std::printf("  loading the sheet              median %8.1f ms\n",
                median([](const Phases& p) { return p.load; }));
    std::printf("  verification                   median %8.1f ms\n", verify);
    std::printf("  import (1 transaction)         median %8.1f ms\n",
                median([](const Phases& p) { return p.import; }));
    std::printf("  verification + import          median %8.1f ms\n", both);
    std::printf("  floor: prepared INSERTs alone  median %8.1f ms\n", insertRuns.median());
    const QByteArray size = QLocale(QLocale::English).toString(employees).toLatin1();
    zf::bench::printResult(("verify + import, " + size + " rows").constData(), both,
                           insertRuns.median(), 1.5);
    // 150 ms for 10,000 rows, and as much per row for more.
    zf::bench::printLimit(("verification, " + size + " rows").constData(), verify,
                          150.0 * employees / 10000);
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
