// How long the employee import takes for a sheet of 10,000 employees: loading, verification and
// the import into an embedded database, next to isql-fb inserting the same rows in one
// transaction. Prints numbers; never fails on them.
#include "data/databasecreation.h"
#include "data/mydatabase.h"
#include "data/scriptrunner.h"
#include "personnel/importemployees.h"
#include "util/dialogs.h"
#include "util/textcodec.h"

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
#include <optional>
#include <vector>

#include "bench/benchsupport.h"

namespace {

using zf::bench::msSince;

using zf::bench::kPassword;
using zf::bench::kUser;
using zf::bench::runIsql;
using zf::bench::writeBytes;

constexpr int kEmployees = 10000;
constexpr int kRuns = 3;
constexpr double kLimit = 10.0;

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
bool writeSheet(const QString& path)
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
    for (int i = 0; i < kEmployees; ++i) {
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

QString sqlText(const QString& s)
{
    QString out = s;
    out.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + out + QLatin1Char('\'');
}

struct Phases
{
    double load = 0;
    double verify = 0;
    double import = 0;
    double total() const { return load + verify + import; }
};

int run(const QString& root)
{
    const QString programFolder = QStringLiteral(ZF_BENCH_PROGRAM_FOLDER);
    const QString path = root + QStringLiteral("/import.fdb");
    if (!zf::bench::createDatabase(programFolder, path))
        return 1;
    const QString sheet = root + QStringLiteral("/pracownicy.csv");
    if (!writeSheet(sheet)) {
        std::fprintf(stderr, "Cannot write %s\n", qPrintable(sheet));
        return 1;
    }
    const QString dataFolder = root + QStringLiteral("/data/Orvantis/Zefirant");
    QDir().mkpath(dataFolder + QStringLiteral("/debug"));
    const QString iniFolder = root + QStringLiteral("/program");
    QDir().mkpath(iniFolder);

    // Ours: the window's logic on the module's own connection, as the program runs it.
    BenchDialogs dialogs;
    std::optional<Phases> best;
    QByteArray inserts;
    {
        zf::TmyDataBase db(
            zf::DatabasePaths{dataFolder, programFolder, {root + QStringLiteral("/no-installer")}},
            dialogs);
        if (!db.Connect(path, kUser, kPassword)) {
            std::fprintf(stderr, "Cannot connect to %s\n", qPrintable(path));
            return 1;
        }
        for (int i = 0; i < kRuns; ++i) {
            if (!db.Write(QStringLiteral("DELETE FROM EMPLOYEES"), {}, 1))
                return 1;
            zf::EmployeeImport imp(db, dialogs, iniFolder, dataFolder);
            imp.PrepareForShow();
            Phases p;
            QElapsedTimer t;
            t.start();
            if (!imp.LoadSheetFile(sheet))
                return 1;
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
                return 1;
            }
            t.restart();
            imp.ImportSheet();
            p.import = msSince(t);
            if (imp.importedCount() != kEmployees) {
                std::fprintf(stderr, "Imported %d rows: %s\n", imp.importedCount(),
                             qPrintable(dialogs.last));
                return 1;
            }
            if (!best || p.total() < best->total())
                best = p;
            if (i == 0) {
                // The very rows the import stored, for isql-fb.
                QString sql;
                for (int line = imp.firstDataLine(); line < imp.grid().lineCount(); ++line) {
                    const zf::PreparedEmployee& e = imp.prepared(line);
                    sql += QStringLiteral("INSERT INTO EMPLOYEES (IDEMPLOYEE, SURNAME, NAME, "
                                          "IDDICUNIT, EMAIL, FILENAME, PWD, ACT) VALUES (") +
                           QStringList{sqlText(e.number),   sqlText(e.surname),
                                       sqlText(e.name),     e.unit,
                                       sqlText(e.email),    sqlText(e.fileName),
                                       sqlText(e.password), sqlText(e.act)}
                               .join(QStringLiteral(", ")) +
                           QStringLiteral(");\n");
                }
                inserts = zf::toCp1250(sql + QStringLiteral("COMMIT;\n"));
            }
        }
        // The embedded engine opens the file for one process only: isql-fb comes after.
    }

    std::printf("Employee import: %d rows, best of %d runs\n", kEmployees, kRuns);
    std::printf("  loading the sheet      %8.1f ms\n", best->load);
    std::printf("  verification           %8.1f ms\n", best->verify);
    std::printf("  import (1 transaction) %8.1f ms\n", best->import);
    std::printf("  together               %8.1f ms\n", best->total());

    const QString isql = QStandardPaths::findExecutable(QStringLiteral("isql-fb"));
    if (isql.isEmpty()) {
        std::printf("  isql-fb not found: no comparison\n");
        return 0;
    }
    const QString insertFile = root + QStringLiteral("/insert.sql");
    const QString deleteFile = root + QStringLiteral("/delete.sql");
    if (!writeBytes(insertFile, inserts) ||
        !writeBytes(deleteFile, "DELETE FROM EMPLOYEES;\nCOMMIT;\n")) {
        std::fprintf(stderr, "Cannot write the isql-fb scripts in %s\n", qPrintable(root));
        return 1;
    }
    const double isqlBest = zf::bench::bestIsqlMs(isql, path, insertFile, kRuns, deleteFile);
    if (isqlBest < 0)
        return 1;
    const double ratio = best->total() / isqlBest;
    std::printf("  isql-fb, same %d INSERTs in one transaction %8.1f ms\n", kEmployees, isqlBest);
    std::printf("  ratio ours / isql-fb: %.2f (%s the limit of %.0f times)\n", ratio,
                ratio < kLimit ? "within" : "NOT within", kLimit);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    return zf::bench::benchMain(argc, argv, run);
}
