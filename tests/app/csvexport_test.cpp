#include "util/csvexport.h"

#include "tests/util/print.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zf {
namespace {

QString u(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

class CsvExportTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString path() const { return dir.filePath(QStringLiteral("Pracownicy.csv")); }
    QByteArray written() const
    {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<no file>");
    }

    QTemporaryDir dir;
};

struct CsvCase
{
    const char* label;
    QList<QStringList> grid;
    QByteArray bytes;
};

void PrintTo(const CsvCase& c, std::ostream* os)
{
    *os << c.label;
}

class CsvFormatTest : public CsvExportTest, public ::testing::WithParamInterface<CsvCase>
{
};

TEST_P(CsvFormatTest, WritesExactlyTheseBytes)
{
    ASSERT_TRUE(TOVExportToCSV::ExportGrid(GetParam().grid, path()));
    EXPECT_EQ(written(), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    CsvExport, CsvFormatTest,
    ::testing::Values(
        CsvCase{"header_and_rows",
                {{u("Nr ewid."), u("Imię i nazwisko")},
                 {u("12"), u("Jan Kowalski")},
                 {u("13"), u("Anna Nowak")}},
                "\"Nr ewid.\";\"Imi\xea i nazwisko\"\r\n\"12\";\"Jan Kowalski\"\r\n"
                "\"13\";\"Anna Nowak\"\r\n"},
        CsvCase{"one_column", {{u("Opis")}, {u("a")}}, "\"Opis\"\r\n\"a\"\r\n"},
        CsvCase{"empty_cell", {{u("x"), QString(), u("z")}}, "\"x\";\"\";\"z\"\r\n"},
        CsvCase{"header_only", {{u("Akt."), u("Data od")}}, "\"Akt.\";\"Data od\"\r\n"},
        CsvCase{"polish_letters_in_cp1250",
                {{u("ŻÓŁĆ zażółć gęślą jaźń ĄĘŚŃŹ")}},
                "\"\xaf\xd3\xa3\xc6 za\xbf\xf3\xb3\xe6 g\xea\x9cl\xb9 ja\x9f\xf1 "
                "\xa5\xca\x8c\xd1\x8f\"\r\n"},
        CsvCase{"short_row_padded", {{u("a"), u("b")}, {u("c")}}, "\"a\";\"b\"\r\n\"c\";\"\"\r\n"},
        CsvCase{"no_rows", {}, ""},
        CsvCase{"cells_written_unescaped", {{u("a;b"), u("c`d")}}, "\"a;b\";\"c`d\"\r\n"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(CsvExportTest, AnExistingFileIsReplaced)
{
    {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(500, 'x'));
    }
    ASSERT_TRUE(TOVExportToCSV::ExportGrid({{u("a")}}, path()));
    EXPECT_EQ(written(), QByteArray("\"a\"\r\n"));
}

TEST_F(CsvExportTest, AFileThatCannotBeCreatedAnswersFalse)
{
    EXPECT_FALSE(TOVExportToCSV::ExportGrid({{u("a")}}, dir.filePath(u("brak/plik.csv"))));
    EXPECT_FALSE(QFile::exists(dir.filePath(u("brak/plik.csv"))));
    // A folder of that name cannot be opened as a file, whoever runs the test.
    ASSERT_TRUE(QDir(dir.path()).mkdir(u("folder.csv")));
    EXPECT_FALSE(TOVExportToCSV::ExportGrid({{u("a")}}, dir.filePath(u("folder.csv"))));
}

TEST_F(CsvExportTest, AFailedWriteAnswersFalse)
{
    if (!QFile::exists(u("/dev/full")))
        GTEST_SKIP() << "no /dev/full to fill";
    EXPECT_FALSE(TOVExportToCSV::ExportGrid({{u("a"), u("b")}, {u("c"), u("d")}}, u("/dev/full")));
}

TEST_F(CsvExportTest, ATextOutsideTheCodePageStopsTheExportInsteadOfBeingReplaced)
{
    const QList<QStringList> grid{{u("Opis")}, {u("Пётр")}, {u("ok")}};
    EXPECT_FALSE(TOVExportToCSV::ExportGrid(grid, path()));
    EXPECT_EQ(written(), QByteArray("\"Opis\"\r\n")) << "the lines before the failure stay";
}

struct CellCase
{
    const char* in;
    const char* out;
};

void PrintTo(const CellCase& c, std::ostream* os)
{
    *os << c.in;
}

class DataCellTextTest : public ::testing::TestWithParam<CellCase>
{
};

TEST_P(DataCellTextTest, BackticksBecomeApostrophesThenQuotesBecomeBackticks)
{
    EXPECT_EQ(TOVExportToCSV::DataCellText(u(GetParam().in)), u(GetParam().out));
}

INSTANTIATE_TEST_SUITE_P(CsvExport, DataCellTextTest,
                         ::testing::Values(CellCase{"plain text", "plain text"},
                                           CellCase{"a`b", "a'b"},
                                           CellCase{"say \"hi\"", "say `hi`"},
                                           // A quote never ends as an apostrophe, and a
                                           // backtick typed by the user never stays one.
                                           CellCase{"\"`", "`'"}, CellCase{"`\"`", "'`'"},
                                           CellCase{"it's", "it's"}, CellCase{"", ""}));

} // namespace
} // namespace zf
