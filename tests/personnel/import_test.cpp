// The employee import: reading sheets, verification with its remarks, the all-or-nothing import,
// the annotated sheet and the remembered configuration, on real embedded databases.
#include "personnel/importcsv.h"
#include "personnel/importemployees.h"
#include "tests/personnel/createdfiles.h"
#include "tests/support/test_database.h"
#include "tests/support/test_env.h"
#include "tests/util/print.h"
#include "util/inifile.h"
#include "util/textcodec.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>

namespace zf {
namespace {

using Kind = test::ScriptedDialogs::Kind;

QString sheetPath(const char* name)
{
    return test::sourceFolder() + QStringLiteral("/tests/personnel/data/") +
           QString::fromLatin1(name);
}

QString lastInformation(const test::ScriptedDialogs& d)
{
    const QStringList texts = d.informationTexts();
    return texts.isEmpty() ? QString() : texts.last();
}

// --- splitting --------------------------------------------------------------------------------

struct SplitCase
{
    const char* name;
    QString line;
    QChar separator;
    QStringList fields;
};

void PrintTo(const SplitCase& c, std::ostream* os)
{
    *os << c.name;
}

class SplitCsvLineTest : public ::testing::TestWithParam<SplitCase>
{
};

TEST_P(SplitCsvLineTest, GivesTheFields)
{
    const SplitCase& c = GetParam();
    EXPECT_EQ(SplitCsvLine(c.line, c.separator), c.fields);
}

const QChar kSemicolon(QLatin1Char(';'));

INSTANTIATE_TEST_SUITE_P(
    Lines, SplitCsvLineTest,
    ::testing::Values(
        SplitCase{"ThreePlainValues",
                  QStringLiteral("a;b;c"),
                  kSemicolon,
                  {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}},
        SplitCase{"QuotedFirstValueKeepsItsSeparator",
                  QStringLiteral("\"Kadry; płace\";b"),
                  kSemicolon,
                  {QStringLiteral("Kadry; płace"), QStringLiteral("b")}},
        SplitCase{"QuotedMiddleAndLastValues",
                  QStringLiteral("a;\"x;y\";\"z;w\""),
                  kSemicolon,
                  {QStringLiteral("a"), QStringLiteral("x;y"), QStringLiteral("z;w")}},
        SplitCase{"EmptyTrailingCells",
                  QStringLiteral("a;;b;;"),
                  kSemicolon,
                  {QStringLiteral("a"), QString(), QStringLiteral("b"), QString(), QString()}},
        SplitCase{"EmptyLineIsOneEmptyCell", QString(), kSemicolon, {QString()}},
        SplitCase{"DoubledQuoteInsideQuotesIsOneQuote",
                  QStringLiteral("\"ab\"\"12\";x"),
                  kSemicolon,
                  {QStringLiteral("ab\"12"), QStringLiteral("x")}},
        SplitCase{"DoubledQuoteBeforeTheSeparatorInsideQuotes",
                  QStringLiteral("\"a\"\";b\";c"),
                  kSemicolon,
                  {QStringLiteral("a\";b"), QStringLiteral("c")}},
        SplitCase{"QuoteInsidePlainCellStays",
                  QStringLiteral("O\"Brien;x"),
                  kSemicolon,
                  {QStringLiteral("O\"Brien"), QStringLiteral("x")}},
        SplitCase{"StrayQuoteInQuotedCellStays",
                  QStringLiteral("\"a\"b\";c"),
                  kSemicolon,
                  {QStringLiteral("a\"b"), QStringLiteral("c")}},
        SplitCase{"UnclosedQuoteRunsToTheEnd",
                  QStringLiteral("x;\"abc;d"),
                  kSemicolon,
                  {QStringLiteral("x"), QStringLiteral("abc;d")}},
        SplitCase{"CommaSeparator",
                  QStringLiteral("1,\"Nowak, Jan\",x;y"),
                  QLatin1Char(','),
                  {QStringLiteral("1"), QStringLiteral("Nowak, Jan"), QStringLiteral("x;y")}}),
    [](const ::testing::TestParamInfo<SplitCase>& info) { return std::string(info.param.name); });

TEST(SplitCsvRecords, AQuotedCellKeepsItsLineBreaks)
{
    const QChar sep = QLatin1Char(';');
    EXPECT_EQ(SplitCsvRecords(QStringLiteral("a;\"b\r\nc\";d\r\ne;f\r\n"), sep),
              (QStringList{QStringLiteral("a;\"b\r\nc\";d"), QStringLiteral("e;f")}));
    // A doubled quote before the break does not close the cell.
    EXPECT_EQ(SplitCsvRecords(QStringLiteral("\"x\"\"\ny\"\rz"), sep),
              (QStringList{QStringLiteral("\"x\"\"\ny\""), QStringLiteral("z")}));
    // A quote inside an unquoted cell opens nothing.
    EXPECT_EQ(SplitCsvRecords(QStringLiteral("a\"b\nc"), sep),
              (QStringList{QStringLiteral("a\"b"), QStringLiteral("c")}));
    // A cell never closed runs to the end.
    EXPECT_EQ(SplitCsvRecords(QStringLiteral("\"a\nb"), sep), QStringList{QStringLiteral("\"a\nb")});
    EXPECT_EQ(SplitCsvLine(QStringLiteral("a;\"b\r\nc\";d"), sep),
              (QStringList{QStringLiteral("a"), QStringLiteral("b\r\nc"), QStringLiteral("d")}));
}

TEST(LooksLikeUtf8, OnlyValidUtf8BeyondAscii)
{
    EXPECT_TRUE(LooksLikeUtf8(QStringLiteral("Żółw").toUtf8()));
    EXPECT_FALSE(LooksLikeUtf8("plain ascii"));
    EXPECT_FALSE(LooksLikeUtf8(toCp1250(QStringLiteral("Żółkiewski"))));
    EXPECT_FALSE(LooksLikeUtf8(toCp1250(QStringLiteral("ąę"))));
}

TEST(SplitTextLines, EveryLineBreakEndsOneLineAndTheLastAddsNone)
{
    EXPECT_EQ(SplitTextLines(QStringLiteral("a\r\nb\nc\rd\r\n")),
              (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
                           QStringLiteral("d")}));
    EXPECT_EQ(SplitTextLines(QStringLiteral("a\r\n\r\nb")),
              (QStringList{QStringLiteral("a"), QString(), QStringLiteral("b")}));
    EXPECT_EQ(SplitTextLines(QStringLiteral("\r\n")), QStringList{QString()});
    EXPECT_TRUE(SplitTextLines(QString()).isEmpty());
}

// --- reading files ----------------------------------------------------------------------------

TEST(ReadCsvSheetFile, LibreOfficeSheetKeepsPolishLettersQuotesAndEmptyCells)
{
    const CsvSheetFile f = ReadCsvSheetFile(sheetPath("libreoffice_pracownicy.csv"), kSemicolon);
    ASSERT_EQ(f.status, CsvSheetFile::Status::Ok);
    EXPECT_FALSE(f.utf8);
    EXPECT_TRUE(f.separatorFound);
    EXPECT_EQ(f.columns, 8);
    ASSERT_EQ(f.lines.size(), 6);
    EXPECT_EQ(f.lines[0][1], QStringLiteral("Imię"));
    EXPECT_EQ(
        f.lines[1],
        (QStringList{QStringLiteral("1001"), QStringLiteral("Łukasz"), QStringLiteral("Żółkiewski"),
                     QStringLiteral("Dział kadr"), QStringLiteral("l.zolkiewski@firma.pl"),
                     QStringLiteral("Ąb12"), QStringLiteral("lukasz_zolkiewski"), QString()}));
    EXPECT_EQ(f.lines[4][3], QStringLiteral("Kadry; płace"));
    EXPECT_EQ(f.lines[4][5], QStringLiteral("ab\"12"));
    // No carriage return is left at the end of a line.
    for (const QStringList& line : f.lines)
        EXPECT_FALSE(line.last().contains(QLatin1Char('\r')));
}

struct ParseCase
{
    const char* name;
    QByteArray bytes;
    CsvSheetFile::Status status;
    int lines;
    int columns;
};

void PrintTo(const ParseCase& c, std::ostream* os)
{
    *os << c.name;
}

class ParseCsvSheetTest : public ::testing::TestWithParam<ParseCase>
{
};

TEST_P(ParseCsvSheetTest, Classifies)
{
    const ParseCase& c = GetParam();
    const CsvSheetFile f = ParseCsvSheet(c.bytes, kSemicolon);
    EXPECT_EQ(f.status, c.status);
    EXPECT_EQ(f.lines.size(), c.lines);
    EXPECT_EQ(f.columns, c.columns);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, ParseCsvSheetTest,
    ::testing::Values(ParseCase{"LinesOfDifferentLengths", QByteArray("a\r\nb;c;d\r\ne;f\r\n"),
                                CsvSheetFile::Status::Ok, 3, 3},
                      ParseCase{"OnlyByteOrderMark", QByteArray("\xEF\xBB\xBF"),
                                CsvSheetFile::Status::Empty, 0, 0},
                      ParseCase{"DosEndOfFileMark", QByteArray("a;b\r\n\x1a"),
                                CsvSheetFile::Status::Ok, 1, 2},
                      ParseCase{"LongLineWithoutSeparator", QByteArray(100000, 'x'),
                                CsvSheetFile::Status::Ok, 1, 1}),
    [](const ::testing::TestParamInfo<ParseCase>& info) { return std::string(info.param.name); });

TEST(ParseCsvSheet, NotesWhetherTheSeparatorSplitAnything)
{
    EXPECT_FALSE(ParseCsvSheet("a,b\r\nc,d\r\n", kSemicolon).separatorFound);
    EXPECT_TRUE(ParseCsvSheet("a\r\nc;d\r\n", kSemicolon).separatorFound);
}

// --- the import on a database -----------------------------------------------------------------

class ImportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QDir().mkpath(db().paths().dataFolder + QStringLiteral("/debug"));
        QFile::remove(db().errorLog().path());
        // The data folder outlives one test: no remembered configuration from an earlier one.
        IniFile(dataIni()).eraseSection(QStringLiteral("IMPORTS1"));
        imp = std::make_unique<EmployeeImport>(db(), dialogs(), programDir.path(),
                                               db().paths().dataFolder);
        imp->PrepareForShow();
    }

    TmyDataBase& db() { return t.db(); }
    test::ScriptedDialogs& dialogs() { return t.dialogs(); }
    QString dataIni() { return db().paths().dataFolder + QStringLiteral("/zefirant.ini"); }

    // Loads a sheet and declines the saved configuration.
    void load(const QString& path)
    {
        dialogs().answer(false);
        ASSERT_TRUE(imp->LoadSheetFile(path)) << lastInformation(dialogs()).toStdString();
        ASSERT_TRUE(dialogs().allAnswersUsed());
    }

    // A sheet as Calc writes it: Windows-1250, CR LF.
    QString writeSheet(const QStringList& lines, const QString& name = QStringLiteral("s.csv"))
    {
        const QString path = files.path() + QLatin1Char('/') + name;
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(toCp1250(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
        return path;
    }

    void assign(std::array<int, EmployeeImport::FieldCount> positions)
    {
        imp->cb = positions;
        imp->SettingsChanged();
    }

    void verify()
    {
        dialogs().clear();
        imp->VerifySheet();
    }

    void importAnswering(bool yes)
    {
        dialogs().clear();
        dialogs().answer(yes);
        imp->ImportSheet();
    }

    int employees() { return t.scalarInt(QStringLiteral("SELECT COUNT(*) FROM EMPLOYEES")); }
    QString column(const QString& column, const QString& number)
    {
        return t.scalar(
            QStringLiteral("SELECT %1 FROM EMPLOYEES WHERE IDEMPLOYEE='%2'").arg(column, number));
    }
    int unitKey(const QString& text)
    {
        return t.scalarInt(
            QStringLiteral("SELECT IDDICTIONARY FROM DICTIONARY WHERE IDTYPE='ZESPO' AND "
                           "DESCRIPTION='%1'")
                .arg(text));
    }
    void addEmployee(const QString& number, const QString& fileName)
    {
        t.exec(QStringLiteral("INSERT INTO EMPLOYEES (IDEMPLOYEE, SURNAME, FILENAME, PWD) VALUES "
                              "('%1', 'Istniejący', '%2', 'x')")
                   .arg(number, fileName));
    }

    QString status(int line) const { return imp->grid().status(line); }
    QString remark(int line) const { return imp->grid().remark(line); }

    test::TestDatabase t;
    QTemporaryDir programDir;
    QTemporaryDir files;
    std::unique_ptr<EmployeeImport> imp;

    // Number, first name, surname, unit, e-mail, password, file, dismissed in this order.
    static constexpr std::array<int, EmployeeImport::FieldCount> kInOrder{1, 2, 3, 4, 5, 6, 7, 8};
};

TEST_F(ImportTest, LibreOfficeSheetIsImportedWithItsTextsIntact)
{
    t.exec(QStringLiteral("INSERT INTO DICTIONARY (IDDICTIONARY, IDTYPE, DESCRIPTION) VALUES "
                          "(100, 'ZESPO', 'Kadry; płace')"));
    load(sheetPath("libreoffice_pracownicy.csv"));
    imp->pominPierwszy = true;
    assign(kInOrder);
    verify();
    EXPECT_EQ(lastInformation(dialogs()),
              QStringLiteral("Nie wykryto problemów. Arkusz .CSV wydaje się być poprawny."));
    EXPECT_EQ(status(0), QString()); // the header is neither verified...
    for (int line = 1; line < 6; ++line)
        EXPECT_EQ(status(line), QStringLiteral("Ok")) << line << remark(line).toStdString();

    importAnswering(true);
    EXPECT_EQ(dialogs().questionTexts(),
              QStringList{QStringLiteral("Zalecamy wykonanie archiwizacji bazy danych przed "
                                         "dokonaniem importu. Czy kontynuować import danych?")});
    EXPECT_EQ(lastInformation(dialogs()),
              QStringLiteral("Operacja zakończona. Dodano wierszy: 5."));
    EXPECT_EQ(employees(), 5); // ...nor imported
    EXPECT_EQ(column(QStringLiteral("SURNAME"), QStringLiteral("1001")),
              QStringLiteral("Żółkiewski"));
    EXPECT_EQ(column(QStringLiteral("PWD"), QStringLiteral("1001")), QStringLiteral("Ąb12"));
    EXPECT_EQ(column(QStringLiteral("IDDICUNIT"), QStringLiteral("1001")),
              QString::number(unitKey(QStringLiteral("Dział kadr"))));
    EXPECT_EQ(column(QStringLiteral("IDDICUNIT"), QStringLiteral("1004")), QStringLiteral("100"));
    EXPECT_EQ(column(QStringLiteral("PWD"), QStringLiteral("1004")), QStringLiteral("ab\"12"));
    EXPECT_EQ(column(QStringLiteral("IDDICUNIT"), QStringLiteral("1003")), QStringLiteral("-1"));
    EXPECT_EQ(column(QStringLiteral("ACT"), QStringLiteral("1003")), QStringLiteral("N"));
    EXPECT_EQ(column(QStringLiteral("ACT"), QStringLiteral("1002")), QStringLiteral("T"));
    EXPECT_EQ(column(QStringLiteral("NAME"), QStringLiteral("1005")), QStringLiteral("Ewa"));
    EXPECT_EQ(column(QStringLiteral("SURNAME"), QStringLiteral("1005")),
              QStringLiteral("Kamińska"));
    EXPECT_EQ(imp->importedCount(), 5);
}

TEST_F(ImportTest, HeaderRowIsAnEmployeeUnlessSkipped)
{
    load(sheetPath("libreoffice_pracownicy.csv"));
    assign({1, 2, 3, 0, 5, 6, 7, 8});
    verify();
    EXPECT_EQ(status(0), QStringLiteral("Ok"));
    EXPECT_EQ(imp->prepared(0).number, QStringLiteral("Nr ewid."));

    imp->pominPierwszy = true;
    imp->SettingsChanged();
    verify();
    EXPECT_EQ(status(0), QString());
    EXPECT_EQ(imp->prepared(0).error, QStringLiteral("ERR"));
    importAnswering(true);
    EXPECT_EQ(employees(), 5);
    EXPECT_EQ(column(QStringLiteral("COUNT(*)"), QStringLiteral("Nr ewid.")), QStringLiteral("0"));
}

TEST_F(ImportTest, ExcelSheetWithErrorsImportsTheRowsThatPassed)
{
    load(sheetPath("excel_pracownicy.csv"));
    imp->pominPierwszy = true;
    imp->symbolZW = QStringLiteral("TAK");
    assign({1, 3, 2, 4, 0, 5, 6, 7});
    verify();
    EXPECT_EQ(dialogs().shown().back().caption, QStringLiteral("Uwaga"));
    EXPECT_EQ(lastInformation(dialogs()),
              QStringLiteral("Wykryto błędy weryfikacji danych. Sprawdź komentarz w kolumnie po "
                             "prawo w tabeli .CSV"));
    EXPECT_EQ(remark(3), QStringLiteral("Brak wskazanego zespołu w słownikach")); // "produkcja"
    // The empty rows Excel adds.
    EXPECT_EQ(remark(5), QStringLiteral("Brak numeru ewidencyjnego"));
    EXPECT_EQ(remark(6), QStringLiteral("Brak numeru ewidencyjnego"));
    EXPECT_EQ(status(6), QStringLiteral("Błędy"));

    importAnswering(true);
    EXPECT_EQ(dialogs().questionTexts().value(0),
              QStringLiteral("Zalecamy wykonanie archiwizacji bazy danych przed dokonaniem "
                             "importu. W zweryfikowanym arkuszu wykryto błędy. Czy kontynuować "
                             "import danych z pominięciem usterek?"));
    EXPECT_EQ(lastInformation(dialogs()),
              QStringLiteral("Operacja zakończona. Dodano wierszy: 3."));
    EXPECT_EQ(column(QStringLiteral("NAME"), QStringLiteral("00123")), QStringLiteral("Bożena"));
    EXPECT_EQ(column(QStringLiteral("ACT"), QStringLiteral("00123")), QStringLiteral("N")); // tak
    EXPECT_EQ(column(QStringLiteral("ACT"), QStringLiteral("00124")), QStringLiteral("T"));
    EXPECT_EQ(column(QStringLiteral("ACT"), QStringLiteral("00126")), QStringLiteral("N")); // TAK
    EXPECT_EQ(column(QStringLiteral("COUNT(*)"), QStringLiteral("00125")), QStringLiteral("0"));
}

TEST_F(ImportTest, VerificationTriesTheFileFolderOutOnceForTheWholeSheet)
{
    QStringList lines;
    for (int i = 0; i < 40; ++i)
        lines << QStringLiteral("N%1;Jan;Nowak;;;p;plik_%1;").arg(i);
    lines << QStringLiteral("N99;Jan;Nowak;;;p;%1;").arg(QString(256, QLatin1Char('x')));
    load(writeSheet(lines));
    assign(kInOrder);

    const QString debug = db().paths().dataFolder + QStringLiteral("/debug");
    const int created = test::entriesCreatedIn(debug, [&] { verify(); });
    ASSERT_GE(created, 0);
    EXPECT_LE(created, 1);
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(status(i), ImportGrid::kStatusOk) << i << remark(i).toStdString();
    EXPECT_EQ(remark(40), QStringLiteral("Niepoprawna nazwa pliku planu"));
    EXPECT_TRUE(QDir(debug).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(ImportTest, EveryRemarkOfTheRowCheck)
{
    addEmployee(QStringLiteral("E1"), QStringLiteral("zajety"));
    const struct
    {
        QString line;
        QString remark; // empty: the row passes
    } rows[] = {
        {QStringLiteral("E1;Jan;Nowak;;;p;plik1;"),
         QStringLiteral("Pracownik o podanym numerze ewidencyjnym już istnieje")},
        {QStringLiteral("E1 ;Jan;Nowak;;;p;plik2;"),
         QStringLiteral("Pracownik o podanym numerze ewidencyjnym już istnieje")},
        {QStringLiteral("123456789012345678901;Jan;Nowak;;;p;plik3;"),
         QStringLiteral("Niepoprawny nr ewid.")},
        {QStringLiteral("N1;Jan;Nowak;dział kadr;;p;plik4;"),
         QStringLiteral("Brak wskazanego zespołu w słownikach")},
        {QStringLiteral("N2;Jan;Nowak;Nieistniejący;;;plik5;"),
         QStringLiteral("Brak wskazanego zespołu w słownikach")}, // before the missing password
        {QStringLiteral("N3;Jan;Nowak;;;  ;plik6;"), QStringLiteral("Brak hasła")},
        {QStringLiteral("N4;Jan;Nowak;;;p; ;"), QStringLiteral("Brak nazwy pliku planu")},
        {QStringLiteral("N5;Jan;Nowak;;;p;../x;"), QStringLiteral("Niepoprawna nazwa pliku planu")},
        {QStringLiteral("N6;Jan;Nowak;;;p;a/b;"), QStringLiteral("Niepoprawna nazwa pliku planu")},
        {QStringLiteral("N7;Jan;Nowak;;;p;..;"), QStringLiteral("Niepoprawna nazwa pliku planu")},
        {QStringLiteral("N8;Jan;Nowak;;;p;zajety;"),
         QStringLiteral("Nazwa pliku została już przypisana innemu pracownikowi")},
        {QStringLiteral("N9;Jan;Nowak;;;p;ZAJETY;"),
         QStringLiteral("Nazwa pliku została już przypisana innemu pracownikowi")},
        {QStringLiteral("N10;Jan;Nowak; Dział kadr ;;p; nowy ;"), QString()},
        {QStringLiteral("N11;Jan;Nowak;;;p;nowy;"),
         QStringLiteral("Nazwa pliku została już przypisana innemu pracownikowi")},
        // A refused row does not claim its file name.
        {QStringLiteral("N12;Jan;Nowak;;;;inny;"), QStringLiteral("Brak hasła")},
        {QStringLiteral("N13;Jan;Nowak;;;p;inny;"), QString()},
        // Numbers the card could never save again.
        {QStringLiteral("\"A\"\"1\";Jan;Nowak;;;p;plik7;"), QStringLiteral("Niepoprawny nr ewid.")},
        {QStringLiteral("  ;Jan;Nowak;;;p;plik8;"), QStringLiteral("Brak numeru ewidencyjnego")},
        // Names a Windows folder cannot hold.
        {QStringLiteral("N14;Jan;Nowak;;;p;a:b;"), QStringLiteral("Niepoprawna nazwa pliku planu")},
        {QStringLiteral("N15;Jan;Nowak;;;p;a*b?;"), QStringLiteral("Niepoprawna nazwa pliku planu")},
        {QStringLiteral("N16;Jan;Nowak;;;p;\"a<b>|\";"), QStringLiteral("Niepoprawna nazwa pliku planu")},
        // Texts longer than their columns.
        {QStringLiteral("N17;Jan;Nowak;;;12345678901234;plik9;"),
         QStringLiteral("Zbyt długi tekst w polu hasło (najwyżej 13 znaków)")},
        {QStringLiteral("N18;Jan;") + QString(51, QLatin1Char('N')) + QStringLiteral(";;;p;plik10;"),
         QStringLiteral("Zbyt długi tekst w polu nazwisko (najwyżej 50 znaków)")},
        // A quoted cell of two lines stays one row, and verification judges its text.
        {QStringLiteral("N19;Jan;\"Nowak\r\nKowalski\";;;p;plik11;"),
         QStringLiteral("Komórka zawiera znak nowego wiersza")},
        {QStringLiteral("N20;Jan;Nowak;;;p;plik12;"), QString()},
    };
    QStringList lines;
    for (const auto& r : rows)
        lines << r.line;
    load(writeSheet(lines));
    assign(kInOrder);
    verify();
    for (int i = 0; i < static_cast<int>(std::size(rows)); ++i) {
        SCOPED_TRACE(rows[i].line.toStdString());
        EXPECT_EQ(remark(i), rows[i].remark);
        EXPECT_EQ(status(i),
                  rows[i].remark.isEmpty() ? QStringLiteral("Ok") : QStringLiteral("Błędy"));
        EXPECT_EQ(imp->prepared(i).error.isEmpty(), rows[i].remark.isEmpty());
    }
    const PreparedEmployee& passed = imp->prepared(12);
    EXPECT_EQ(passed.unit, QString::number(unitKey(QStringLiteral("Dział kadr"))));
    EXPECT_EQ(passed.fileName, QStringLiteral("nowy"));
    EXPECT_EQ(passed.act, QStringLiteral("T"));
    // Nothing in the plan folder's trial folder is left behind, and nothing outside it made.
    EXPECT_TRUE(QDir(db().paths().dataFolder + QStringLiteral("/debug"))
                    .entryList(QDir::Files | QDir::NoDotAndDotDot)
                    .isEmpty());
    EXPECT_FALSE(QFile::exists(db().paths().dataFolder + QStringLiteral("/x")));
    EXPECT_EQ(employees(), 1);
}

TEST_F(ImportTest, ASecondVerificationStartsFromCleanMarks)
{
    load(writeSheet({QStringLiteral("N1;Jan;Nowak;;;p;plik1;"),
                     QStringLiteral("N2;Ewa;Nowak;;;p;plik2;")}));
    assign(kInOrder);
    verify();
    ASSERT_EQ(status(0), QStringLiteral("Ok"));
    // Skipping the first row now: its old "Ok" must not stay, nothing was imported.
    imp->pominPierwszy = true;
    imp->SettingsChanged();
    verify();
    EXPECT_EQ(status(0), QString());
    EXPECT_EQ(remark(0), QString());
    EXPECT_EQ(status(1), QStringLiteral("Ok"));
    EXPECT_EQ(employees(), 0);
}

TEST_F(ImportTest, Utf8SheetWithoutTheMarkKeepsItsPolishLetters)
{
    const QString path = files.path() + QStringLiteral("/utf8.csv");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QStringLiteral("N1;Stanisław;Żółkiewski;;;p;zolkiewski;\r\n"
                           "N2;Ewa;Nowak;;;p\u0081;nowak;\r\n").toUtf8());
    f.close();
    load(path);
    EXPECT_TRUE(imp->sheetIsUtf8());
    assign(kInOrder);
    verify();
    EXPECT_EQ(status(0), QStringLiteral("Ok")) << remark(0).toStdString();
    // A C1 control character has no place in Windows-1250.
    EXPECT_EQ(remark(1), QStringLiteral("Znaki spoza strony kodowej Windows-1250: \u0081"));
    importAnswering(true);
    EXPECT_EQ(column(QStringLiteral("SURNAME"), QStringLiteral("N1")),
              QStringLiteral("Żółkiewski"));
}

TEST_F(ImportTest, MissingAssignmentsAreRemarked)
{
    const struct
    {
        int field;
        QString remark;
    } cases[] = {
        {EmployeeImport::Number, QStringLiteral("Brak numeru ewidencyjnego")},
        {EmployeeImport::Surname, QStringLiteral("Brak nazwiska")},
        {EmployeeImport::Password, QStringLiteral("Brak hasła")},
        {EmployeeImport::FileName, QStringLiteral("Brak nazwy pliku planu")},
    };
    load(writeSheet({QStringLiteral("N1;Jan;Nowak;;;p;plik;")}));
    for (const auto& c : cases) {
        auto positions = kInOrder;
        positions[static_cast<std::size_t>(c.field)] = 0;
        assign(positions);
        verify();
        EXPECT_EQ(remark(0), c.remark) << c.field;
    }
    // Optional fields left out give empty texts and no unit.
    assign({1, 0, 3, 0, 0, 6, 7, 0});
    verify();
    EXPECT_EQ(status(0), QStringLiteral("Ok"));
    EXPECT_EQ(imp->prepared(0).name, QString());
    EXPECT_EQ(imp->prepared(0).unit, QStringLiteral("-1"));
    EXPECT_EQ(imp->prepared(0).act, QStringLiteral("T"));
}

TEST_F(ImportTest, DismissedSymbolMatchesInAnyCase)
{
    const struct
    {
        QString symbol;
        QString cell;
        QString act;
    } cases[] = {
        {QStringLiteral("TAK"), QStringLiteral("tak"), QStringLiteral("N")},
        {QStringLiteral("TAK"), QStringLiteral("Tak"), QStringLiteral("N")},
        {QStringLiteral("tak"), QStringLiteral("TAK"), QStringLiteral("N")},
        {QStringLiteral("T"), QStringLiteral("t"), QStringLiteral("N")},
        {QStringLiteral("+"), QStringLiteral("+"), QStringLiteral("N")},
        {QStringLiteral("TAK"), QStringLiteral("nie"), QStringLiteral("T")},
        {QStringLiteral("TAK"), QString(), QStringLiteral("T")},
        {QStringLiteral("T"), QStringLiteral("TAK"), QStringLiteral("T")},
        // An emptied symbol must not dismiss every employee with an empty cell.
        {QString(), QString(), QStringLiteral("T")},
    };
    QStringList lines;
    for (int i = 0; i < static_cast<int>(std::size(cases)); ++i)
        lines << QStringLiteral("N%1;Jan;Nowak;;;p;plik%1;%2").arg(i).arg(cases[i].cell);
    load(writeSheet(lines));
    assign(kInOrder);
    for (int i = 0; i < static_cast<int>(std::size(cases)); ++i) {
        imp->symbolZW = cases[i].symbol;
        verify();
        EXPECT_EQ(imp->prepared(i).act, cases[i].act)
            << cases[i].symbol.toStdString() << " / " << cases[i].cell.toStdString();
    }
}

TEST_F(ImportTest, TwoRowsWithOneNewNumberStoreNothing)
{
    load(writeSheet({QStringLiteral("A1;Anna;Nowak;;;p;anna;"),
                     QStringLiteral("N1;Jan;Nowak;;;p;jan1;"),
                     QStringLiteral("N1;Jan;Kowalski;;;p;jan2;")}));
    assign(kInOrder);
    verify();
    EXPECT_EQ(status(1), QStringLiteral("Ok"));
    EXPECT_EQ(status(2), QStringLiteral("Ok"));

    importAnswering(true);
    EXPECT_EQ(lastInformation(dialogs()),
              QStringLiteral("Operacja zakończona. Podczas importu pojawiły się błędy. Prosze "
                             "sprawdzić ich opis w tabeli .CSV. Dodano wierszy: 0."));
    EXPECT_EQ(status(2), QStringLiteral("Błędy"));
    EXPECT_EQ(remark(2), QStringLiteral("Istnieje już osoba o podanym numerze ewidencyjnym"));
    EXPECT_EQ(status(1), QStringLiteral("Ok"));
    EXPECT_EQ(employees(), 0);
    EXPECT_EQ(imp->importedCount(), 0);
    // The module's write transaction is not left open.
    EXPECT_FALSE(db().DBFTransaction.isActive());
}

TEST_F(ImportTest, AnyEngineErrorRollsBackTheWholeRun)
{
    // A rule of the database that verification does not know.
    t.exec(QStringLiteral("ALTER TABLE EMPLOYEES ADD CONSTRAINT ZF_TEST_SURNAME CHECK (SURNAME <> 'Zły')"));
    load(writeSheet({QStringLiteral("N1;Jan;Nowak;;;p;jan1;"),
                     QStringLiteral("N2;Jan;Zły;;;p;jan2;"),
                     QStringLiteral("N3;Jan;Nowak;;;p;jan3;")}));
    assign(kInOrder);
    verify();
    importAnswering(true);
    EXPECT_EQ(employees(), 0);
    EXPECT_EQ(status(1), QStringLiteral("Błędy"));
    EXPECT_TRUE(remark(1).startsWith(QStringLiteral("Błąd bazy danych ")))
        << remark(1).toStdString();
    EXPECT_FALSE(remark(1).contains(QLatin1Char('\n')));
    EXPECT_TRUE(lastInformation(dialogs()).endsWith(QStringLiteral("Dodano wierszy: 0.")));
}

TEST_F(ImportTest, DecliningTheQuestionStoresNothing)
{
    load(writeSheet({QStringLiteral("N1;Jan;Nowak;;;p;jan1;")}));
    assign(kInOrder);
    verify();
    importAnswering(false);
    EXPECT_EQ(employees(), 0);
    EXPECT_TRUE(dialogs().informationTexts().isEmpty());
}

TEST_F(ImportTest, DatabaseFailureDuringVerificationRefusesEveryRow)
{
    load(writeSheet(
        {QStringLiteral("N1;Jan;Nowak;;;p;jan1;"), QStringLiteral("N2;Jan;Nowak;;;p;jan2;")}));
    assign(kInOrder);
    db().Disconnect();
    verify();
    for (int line = 0; line < 2; ++line) {
        EXPECT_EQ(status(line), QStringLiteral("Błędy"));
        EXPECT_TRUE(remark(line).startsWith(QStringLiteral("Błąd bazy danych ")));
        EXPECT_EQ(imp->prepared(line).error, QStringLiteral("ERR"));
    }
    QFile log(db().errorLog().path());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(log.readAll().contains("[0000000802]"));
}

TEST_F(ImportTest, Utf8SheetRefusesCharactersTheDatabaseCannotHold)
{
    load(sheetPath("excel_utf8_bom.csv"));
    EXPECT_TRUE(imp->sheetIsUtf8());
    imp->pominPierwszy = true;
    assign({1, 3, 2, 4, 0, 5, 6, 7});
    verify();
    EXPECT_EQ(status(1), QStringLiteral("Ok"));
    EXPECT_TRUE(remark(2).startsWith(QStringLiteral("Znaki spoza strony kodowej Windows-1250: ")));
    EXPECT_TRUE(remark(2).contains(QStringLiteral("Ш")));
    importAnswering(true);
    EXPECT_EQ(employees(), 1);
    EXPECT_EQ(column(QStringLiteral("SURNAME"), QStringLiteral("2001")),
              QStringLiteral("Żółkiewska"));
    EXPECT_EQ(column(QStringLiteral("PWD"), QStringLiteral("2001")), QStringLiteral("łucja1"));
}

// --- the annotated sheet ----------------------------------------------------------------------

TEST_F(ImportTest, AnnotatedSheetReadsBackExactly)
{
    load(sheetPath("libreoffice_pracownicy.csv"));
    imp->pominPierwszy = true;
    assign(kInOrder);
    verify(); // row 4: unit "Kadry; płace" is not in this database
    ASSERT_EQ(remark(4), QStringLiteral("Brak wskazanego zespołu w słownikach"));

    const QString path = files.path() + QStringLiteral("/log.csv");
    dialogs().chooseFile(path);
    imp->SaveSheet();
    EXPECT_EQ(lastInformation(dialogs()), QStringLiteral("Arkusz wynikowy zapisano."));

    QFile raw(path);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    const QByteArray bytes = raw.readAll();
    EXPECT_TRUE(bytes.startsWith(
        toCp1250(QStringLiteral("\"Kolumna #1\";\"Kolumna #2\";\"Kolumna #3\";\"Kolumna #4\";"
                                "\"Kolumna #5\";\"Kolumna #6\";\"Kolumna #7\";\"Kolumna #8\";"
                                "\"Zaimportowano?\";\"Uwagi\"\r\n"))));
    EXPECT_EQ(bytes.count("\r\n"), 7);

    const CsvSheetFile back = ReadCsvSheetFile(path, kSemicolon);
    ASSERT_EQ(back.status, CsvSheetFile::Status::Ok);
    const QList<QStringList> grid = imp->grid().gridTable();
    ASSERT_EQ(back.lines.size(), grid.size());
    EXPECT_EQ(back.lines[0], grid[0]);
    EXPECT_EQ(back.lines, grid);
    EXPECT_EQ(back.lines[5][5], QStringLiteral("ab\"12")); // the password's quote
    EXPECT_EQ(back.lines[5][3], QStringLiteral("Kadry; płace"));
    EXPECT_EQ(back.lines[5][9], QStringLiteral("Brak wskazanego zespołu w słownikach"));
    EXPECT_EQ(back.lines[2][1], QStringLiteral("Łukasz"));
    EXPECT_EQ(back.lines[2][8], QStringLiteral("Ok"));
    for (const QStringList& line : back.lines)
        EXPECT_EQ(line.size(), 10);
}

TEST_F(ImportTest, AnnotatedUtf8SheetStaysUtf8)
{
    load(sheetPath("excel_utf8_bom.csv"));
    const QString path = files.path() + QStringLiteral("/log.csv");
    ASSERT_TRUE(imp->SaveSheetTo(path));
    const CsvSheetFile back = ReadCsvSheetFile(path, kSemicolon);
    EXPECT_TRUE(back.utf8);
    EXPECT_EQ(back.lines.value(3).value(2), QStringLiteral("Олена"));
}

TEST_F(ImportTest, UnwritableLogIsReported)
{
    load(writeSheet({QStringLiteral("a;b")}));
    dialogs().chooseFile(files.path() + QStringLiteral("/brak/log.csv"));
    imp->SaveSheet();
    EXPECT_EQ(lastInformation(dialogs()),
              QStringLiteral("Wystąpił błąd podczas zapisu arkusza wynikowego."));
}

// --- configuration and loading rules ------------------------------------------------------------

TEST_F(ImportTest, ConfigurationIsRememberedInTheDataFolderNotBesideTheProgram)
{
    // Installed, the program folder belongs to root and no user may write in it.
    IniFile(dataIni()).writeString(QStringLiteral("OPTIONS"), QStringLiteral("kolor"),
                                   QStringLiteral("7"));
    ASSERT_TRUE(QFile::setPermissions(programDir.path(), QFile::ReadOwner | QFile::ExeOwner |
                                                             QFile::ReadGroup | QFile::ExeGroup |
                                                             QFile::ReadOther | QFile::ExeOther));
    load(writeSheet({QStringLiteral("a;b;c;d;e;f;g;h")}));
    imp->cb = {2, 0, 3, 4, 0, 5, 6, 8};
    imp->pominPierwszy = true;
    imp->symbolZW = QStringLiteral("TAK");
    dialogs().answer(true);
    imp->Close();
    QFile::setPermissions(programDir.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                 QFile::ExeOwner);
    EXPECT_EQ(dialogs().questionTexts().last(),
              QStringLiteral("Czy zapamiętać konfigurację imporu?"));
    EXPECT_TRUE(dialogs().informationTexts().isEmpty()) << lastInformation(dialogs()).toStdString();
    EXPECT_FALSE(QFile::exists(programDir.path() + QStringLiteral("/zefirant.ini")));
    EXPECT_EQ(imp->iniPath(), dataIni());
    const IniFile ini(dataIni());
    EXPECT_EQ(ini.readInteger(QStringLiteral("IMPORTS1"), QStringLiteral("cb8"), -1), 8);
    EXPECT_EQ(ini.readString(QStringLiteral("IMPORTS1"), QStringLiteral("pominPierwszy")),
              QStringLiteral("1"));
    // The program's own settings in the same file stay.
    EXPECT_EQ(ini.readString(QStringLiteral("OPTIONS"), QStringLiteral("kolor")),
              QStringLiteral("7"));

    // Declining the question writes nothing; a narrower sheet gets no column it lacks.
    imp->cb = {1, 1, 1, 1, 1, 1, 1, 1};
    dialogs().answer(false);
    imp->Close();
    dialogs().answer(true);
    ASSERT_TRUE(imp->LoadSheetFile(writeSheet({QStringLiteral("1;2;3")})));
    EXPECT_EQ(imp->cb, (std::array<int, EmployeeImport::FieldCount>{2, 0, 3, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(imp->pominPierwszy);
    EXPECT_EQ(imp->symbolZW, QStringLiteral("TAK"));
}

TEST_F(ImportTest, ConfigurationBesideTheProgramIsReadUntilTheDataFolderHasOne)
{
    // What an earlier version remembered beside the program.
    IniFile old(programDir.path() + QStringLiteral("/zefirant.ini"));
    ASSERT_TRUE(old.writeInteger(QStringLiteral("IMPORTS1"), QStringLiteral("cb1"), 2));
    ASSERT_TRUE(old.writeString(QStringLiteral("IMPORTS1"), QStringLiteral("symbolZW"),
                                QStringLiteral("Z")));
    // The data folder's file exists with the program's settings but no import section.
    ASSERT_TRUE(IniFile(dataIni()).writeString(QStringLiteral("OPTIONS"),
                                               QStringLiteral("kolor"), QStringLiteral("7")));
    load(writeSheet({QStringLiteral("a;b;c")}));
    imp->RestoreConfiguration();
    EXPECT_EQ(imp->cb[0], 2);
    EXPECT_EQ(imp->symbolZW, QStringLiteral("Z"));

    // Once remembered in the data folder, that one wins and the old file is left as it was.
    imp->cb = {3, 0, 0, 0, 0, 0, 0, 0};
    imp->symbolZW = QStringLiteral("N");
    dialogs().answer(true);
    imp->Close();
    imp->cb = {};
    imp->RestoreConfiguration();
    EXPECT_EQ(imp->cb[0], 3);
    EXPECT_EQ(imp->symbolZW, QStringLiteral("N"));
    EXPECT_EQ(old.readString(QStringLiteral("IMPORTS1"), QStringLiteral("symbolZW")),
              QStringLiteral("Z"));
}

TEST_F(ImportTest, MissingConfigurationGivesTheDefaultsAndAFailedWriteIsReported)
{
    load(writeSheet({QStringLiteral("a;b")}));
    imp->cb = {1, 1, 1, 1, 1, 1, 1, 1};
    imp->symbolZW = QStringLiteral("X");
    imp->RestoreConfiguration();
    EXPECT_EQ(imp->cb, (std::array<int, EmployeeImport::FieldCount>{}));
    EXPECT_EQ(imp->symbolZW, QStringLiteral("T"));

    // A data folder that cannot be one: a file stands in its place.
    const QString notAFolder = writeSheet({QStringLiteral("x")}, QStringLiteral("plik"));
    EmployeeImport nowhere(db(), dialogs(), programDir.path(), notAFolder);
    dialogs().clear();
    dialogs().answer(true);
    nowhere.Close();
    EXPECT_EQ(dialogs().shown().back().caption, QStringLiteral("Błąd"));
    EXPECT_TRUE(lastInformation(dialogs()).contains(QStringLiteral("zefirant.ini")));
    EXPECT_FALSE(QFile::exists(programDir.path() + QStringLiteral("/zefirant.ini")));
}

TEST_F(ImportTest, AssignmentsStayForASheetOfTheSameWidthWhenAsked)
{
    const QString fourA = writeSheet({QStringLiteral("a;b;c;d")}, QStringLiteral("a.csv"));
    const QString fourB = writeSheet({QStringLiteral("e;f;g;h")}, QStringLiteral("b.csv"));
    const QString three = writeSheet({QStringLiteral("e;f;g")}, QStringLiteral("c.csv"));
    load(fourA);
    imp->cb = {1, 2, 3, 4, 0, 0, 0, 0};
    load(fourB);
    EXPECT_EQ(imp->cb[3], 4);
    load(three);
    EXPECT_EQ(imp->cb, (std::array<int, EmployeeImport::FieldCount>{}));
    imp->cb = {1, 2, 3, 0, 0, 0, 0, 0};
    imp->nieCzysc = false;
    load(three);
    EXPECT_EQ(imp->cb, (std::array<int, EmployeeImport::FieldCount>{}));
}

// --- bad input ----------------------------------------------------------------------------------

TEST_F(ImportTest, SeparatorMustBeOneUsableCharacter)
{
    for (const QString& sep : {QString(), QStringLiteral("\"")}) {
        dialogs().clear();
        imp->separator = sep;
        EXPECT_FALSE(imp->LoadSheet()); // no file dialog: it would fail the test
        EXPECT_EQ(dialogs().shown().back().caption, QStringLiteral("Błąd"));
        EXPECT_EQ(lastInformation(dialogs()), QStringLiteral("Niepoprawny separator kolumn!"));
    }
}

TEST_F(ImportTest, FilesThatAreNotSheetsAreRefusedClearly)
{
    const struct
    {
        const char* name;
        QByteArray bytes;
        QString message;
    } cases[] = {
        {"binary.csv", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\x01\0", 20),
         QStringLiteral("Niepoprawny format arkusza .CSV")},
        {"utf16.csv",
         QByteArray("\xff\xfe"
                    "N\0;\0J\0",
                    8),
         QStringLiteral("Niepoprawny format arkusza .CSV")},
        {"separators.csv", QByteArray(100000, ';'),
         QStringLiteral("Niepoprawny format arkusza .CSV")},
        {"empty.csv", QByteArray(), QStringLiteral("Arkusz .CSV jest pusty.")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = files.path() + QLatin1Char('/') + QString::fromLatin1(c.name);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(c.bytes);
        f.close();
        dialogs().clear();
        dialogs().chooseFile(path);
        EXPECT_FALSE(imp->LoadSheet());
        EXPECT_TRUE(lastInformation(dialogs()).contains(c.message))
            << lastInformation(dialogs()).toStdString();
        EXPECT_FALSE(imp->grid().isLoaded());
        EXPECT_FALSE(imp->verifyEnabled);
    }
    dialogs().clear();
    dialogs().chooseFile(files.path() + QStringLiteral("/brak.csv"));
    EXPECT_FALSE(imp->LoadSheet());
    EXPECT_TRUE(lastInformation(dialogs()).contains(QStringLiteral(
        "Błąd podczas otwierania pliku. Jeśli plik otwarty jest w innym programie")));
    QFile log(db().errorLog().path());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QByteArray logged = log.readAll();
    EXPECT_TRUE(logged.contains("[0000000802]"));
    EXPECT_TRUE(logged.contains("[0000000809]"));
}

TEST_F(ImportTest, SheetWithoutTheSeparatorIsShownWithAWarningAndStoresNothing)
{
    const QString comma = writeSheet(
        {QStringLiteral("N1,Jan,Nowak,,,p,jan1,"), QStringLiteral("N2,Ewa,Nowak,,,p,ewa,")});
    const QString longLine =
        writeSheet({QString(100000, QLatin1Char('x'))}, QStringLiteral("long.csv"));
    for (const QString& path : {comma, longLine}) {
        dialogs().clear();
        ASSERT_TRUE(imp->LoadSheetFile(path)); // no restore question for a sheet it cannot fit
        EXPECT_EQ(dialogs().shown().back().caption, QStringLiteral("Uwaga"));
        EXPECT_TRUE(lastInformation(dialogs()).startsWith(
            QStringLiteral("Separator kolumn „;” nie występuje w arkuszu")));
        EXPECT_EQ(imp->grid().sheetColumns(), 1);
        assign({1, 1, 1, 1, 1, 1, 1, 1});
        verify();
        EXPECT_EQ(status(0), QStringLiteral("Błędy"));
        importAnswering(true);
        EXPECT_TRUE(lastInformation(dialogs()).endsWith(QStringLiteral("Dodano wierszy: 0.")));
    }
    EXPECT_EQ(employees(), 0);
}

} // namespace
} // namespace zf
