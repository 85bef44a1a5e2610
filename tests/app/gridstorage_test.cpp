#include "util/gridstorage.h"

#include "tests/util/print.h"
#include "util/inifile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cctype>
#include <vector>

namespace zf {
namespace {

// A grid reduced to its column widths.
class FakeColumns : public TOVGridColumns
{
public:
    explicit FakeColumns(std::vector<int> widths) : widths(std::move(widths)) {}

    int columnCount() const override { return static_cast<int>(widths.size()); }
    int columnWidth(int column) const override { return widths.at(static_cast<size_t>(column)); }
    void setColumnWidth(int column, int width) override
    {
        widths.at(static_cast<size_t>(column)) = width;
    }

    std::vector<int> widths;
};

class GridStorageTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString path() const { return dir.filePath(QStringLiteral("zefirant.ini")); }
    IniFile ini() const { return IniFile(path()); }
    QString stored(const QString& name) const
    {
        return ini().readString(QStringLiteral("DBGRID"), name);
    }

    QTemporaryDir dir;
};

TEST_F(GridStorageTest, SavedWidthsComeBackInFreshGrids)
{
    FakeColumns osobowa({40, 60, 150, 120});
    FakeColumns plan({200, 90});
    {
        TOVGridStorage storage(path());
        storage.RegisterGrid(&osobowa, QStringLiteral("osobowaGrid"));
        storage.RegisterGrid(&plan, QStringLiteral("planGrid"));
        osobowa.widths = {41, 0, 333, 7};
        plan.widths = {210, 95};
        ASSERT_TRUE(storage.SaveWidths());
    }
    EXPECT_EQ(stored(QStringLiteral("osobowaGrid")), QStringLiteral("41,0,333,7"));
    EXPECT_EQ(stored(QStringLiteral("planGrid")), QStringLiteral("210,95"));

    // The next run: grids come up with their designed widths, then get the stored ones.
    FakeColumns osobowa2({40, 60, 150, 120});
    FakeColumns plan2({200, 90});
    TOVGridStorage storage(path());
    storage.RegisterGrid(&osobowa2, QStringLiteral("osobowaGrid"));
    storage.RegisterGrid(&plan2, QStringLiteral("planGrid"));
    storage.LoadWidths();
    EXPECT_EQ(osobowa2.widths, (std::vector<int>{41, 0, 333, 7}));
    EXPECT_EQ(plan2.widths, (std::vector<int>{210, 95}));
}

TEST_F(GridStorageTest, KeysMatchWithoutRegardToCase)
{
    ASSERT_TRUE(ini().writeString(QStringLiteral("dbgrid"), QStringLiteral("TERMINARZGRID"),
                                  QStringLiteral("5,6")));
    FakeColumns grid({50, 60});
    TOVGridStorage storage(path());
    storage.RegisterGrid(&grid, QStringLiteral("terminarzGrid"));
    storage.LoadWidths();
    EXPECT_EQ(grid.widths, (std::vector<int>{5, 6}));

    storage.SaveWidths();
    EXPECT_EQ(ini().sectionKeys(QStringLiteral("DBGRID")).size(), 1) << "no second entry";
}

struct StoredCase
{
    const char* label;
    const char* value; // nullptr: no entry at all
    std::vector<int> expected;
};

void PrintTo(const StoredCase& c, std::ostream* os)
{
    *os << c.label;
}

class StoredValueTest : public GridStorageTest, public ::testing::WithParamInterface<StoredCase>
{
};

TEST_P(StoredValueTest, IsAppliedWholeOrNotAtAll)
{
    const StoredCase& c = GetParam();
    if (c.value) {
        ASSERT_TRUE(ini().writeString(QStringLiteral("DBGRID"), QStringLiteral("planGrid"),
                                      QString::fromLatin1(c.value)));
    }
    FakeColumns grid({64, 80, 100});
    TOVGridStorage storage(path());
    storage.RegisterGrid(&grid, QStringLiteral("planGrid"));
    storage.LoadWidths();
    EXPECT_EQ(grid.widths, c.expected);
}

const std::vector<int> kDesigned{64, 80, 100};

INSTANTIATE_TEST_SUITE_P(
    GridStorage, StoredValueTest,
    ::testing::Values(StoredCase{"matching count", "11,22,33", {11, 22, 33}},
                      StoredCase{"zero width", "0,22,33", {0, 22, 33}},
                      StoredCase{"separator at the end", "11,22,33,", {11, 22, 33}},
                      StoredCase{"one width fewer", "11,22", kDesigned},
                      StoredCase{"one width more", "11,22,33,44", kDesigned},
                      StoredCase{"text among widths", "11,abc,33", kDesigned},
                      StoredCase{"not a whole number", "11,22.5,33", kDesigned},
                      StoredCase{"empty piece", "11,,33", kDesigned},
                      StoredCase{"negative width", "11,-5,33", kDesigned},
                      StoredCase{"bad last piece", "11,22,3x", kDesigned},
                      StoredCase{"empty value", "", kDesigned},
                      StoredCase{"no entry", nullptr, kDesigned}),
    [](const auto& info) {
        std::string name = info.param.label;
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return name;
    });

TEST_F(GridStorageTest, RestoreGoesBackToTheRegisteredWidthsNotTheLoadedOnes)
{
    ASSERT_TRUE(ini().writeString(QStringLiteral("DBGRID"), QStringLiteral("calendarGrid"),
                                  QStringLiteral("1,2,3")));
    FakeColumns grid({70, 80, 90});
    TOVGridStorage storage(path());
    storage.RegisterGrid(&grid, QStringLiteral("calendarGrid"));
    storage.LoadWidths();
    ASSERT_EQ(grid.widths, (std::vector<int>{1, 2, 3}));

    grid.widths = {5, 5, 5};
    storage.RestoreDefaultWidths();
    EXPECT_EQ(grid.widths, (std::vector<int>{70, 80, 90}));
}

TEST_F(GridStorageTest, OnlyTheFirstFortyColumnsHaveDefaults)
{
    std::vector<int> designed;
    for (int i = 0; i < 45; ++i)
        designed.push_back(100 + i);
    FakeColumns grid(designed);
    TOVGridStorage storage(path());
    storage.RegisterGrid(&grid, QStringLiteral("wide"));

    const TDBGridData* data = storage.GridAt(0);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->defaultWidths[39], 139);
    EXPECT_EQ(data->defaultWidths[40], 0) << "slot 41 never holds a width";

    grid.widths.assign(45, 9);
    storage.RestoreDefaultWidths();
    for (int i = 0; i < 45; ++i)
        EXPECT_EQ(grid.widths[static_cast<size_t>(i)], i < 40 ? 100 + i : 9) << "column " << i;
}

TEST_F(GridStorageTest, ColumnsAddedAfterRegisteringKeepTheirWidthOnRestore)
{
    FakeColumns grid({30, 40});
    TOVGridStorage storage(path());
    storage.RegisterGrid(&grid, QStringLiteral("planGrid"));
    grid.widths = {7, 7, 7, 7};
    storage.RestoreDefaultWidths();
    EXPECT_EQ(grid.widths, (std::vector<int>{30, 40, 7, 7}));
}

TEST_F(GridStorageTest, EntriesOfOtherGridsAndOtherSectionsAreKept)
{
    ASSERT_TRUE(ini().writeString(QStringLiteral("OPTIONS"), QStringLiteral("Email"),
                                  QStringLiteral("pomoc@example.com")));
    ASSERT_TRUE(ini().writeString(QStringLiteral("DBGRID"), QStringLiteral("calendarGrid"),
                                  QStringLiteral("1,2")));
    FakeColumns plan({100, 50});
    TOVGridStorage storage(path());
    storage.RegisterGrid(&plan, QStringLiteral("planGrid"));
    storage.LoadWidths();
    ASSERT_TRUE(storage.SaveWidths());

    EXPECT_EQ(stored(QStringLiteral("calendarGrid")), QStringLiteral("1,2"));
    EXPECT_EQ(stored(QStringLiteral("planGrid")), QStringLiteral("100,50"));
    EXPECT_EQ(ini().readString(QStringLiteral("OPTIONS"), QStringLiteral("Email")),
              QStringLiteral("pomoc@example.com"));
}

TEST_F(GridStorageTest, EachGridReadsOnlyItsOwnEntry)
{
    ASSERT_TRUE(ini().writeString(QStringLiteral("DBGRID"), QStringLiteral("planGrid"),
                                  QStringLiteral("1,2")));
    FakeColumns osobowa({30, 40});
    FakeColumns plan({30, 40});
    TOVGridStorage storage(path());
    storage.RegisterGrid(&osobowa, QStringLiteral("osobowaGrid"));
    storage.RegisterGrid(&plan, QStringLiteral("planGrid"));
    storage.LoadWidths();
    EXPECT_EQ(osobowa.widths, (std::vector<int>{30, 40}));
    EXPECT_EQ(plan.widths, (std::vector<int>{1, 2}));
}

TEST_F(GridStorageTest, AFileThatCannotBeWrittenAnswersFalse)
{
    // A file where the folder should be stops the writing whoever runs the test.
    QFile blocker(dir.filePath(QStringLiteral("plik")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    FakeColumns grid({30, 40});
    TOVGridStorage storage(dir.filePath(QStringLiteral("plik/zefirant.ini")));
    storage.RegisterGrid(&grid, QStringLiteral("planGrid"));
    EXPECT_FALSE(storage.SaveWidths());
}

} // namespace
} // namespace zf
