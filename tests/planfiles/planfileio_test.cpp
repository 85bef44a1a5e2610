// The plan file's bytes on disk: bounded reading of regular files only, and replacing a file
// whole.
#include "planfiles/planfile.h"
#include "tests/util/print.h"

#include <QDir>
#include <QDate>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zf {
namespace {

TEST(PlanFileIo, ReadsOnlyRegularFilesUpToTheLimit)
{
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/a.zfpn");
    const QByteArray limit(kMaxPlanFileSize, '\0');
    ASSERT_TRUE(WritePlanFileBytes(path, limit));
    QByteArray bytes;
    EXPECT_TRUE(ReadPlanFileBytes(path, bytes));
    EXPECT_EQ(bytes.size(), kMaxPlanFileSize);
    ASSERT_TRUE(WritePlanFileBytes(path, limit + 'x'));
    EXPECT_FALSE(ReadPlanFileBytes(path, bytes));
    EXPECT_TRUE(bytes.isEmpty());
    EXPECT_FALSE(ReadPlanFileBytes(dir.path() + QStringLiteral("/none.zfpn"), bytes));
    EXPECT_FALSE(ReadPlanFileBytes(dir.path(), bytes)) << "a folder is not a plan file";
}

TEST(PlanFileIo, ReplacesTheOldFileWholeAndLeavesNoTemporaryFile)
{
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/a.zfpn");
    ASSERT_TRUE(WritePlanFileBytes(path, QByteArray("old\0bytes and more", 19)));
    ASSERT_TRUE(WritePlanFileBytes(path, QByteArray("n\0w", 3)));
    QByteArray bytes;
    ASSERT_TRUE(ReadPlanFileBytes(path, bytes));
    EXPECT_EQ(bytes, QByteArray("n\0w", 3));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("a.zfpn")});
    // A target that cannot be replaced (a folder of that name) fails and stays as it was.
    const QString folder = dir.path() + QStringLiteral("/b.zfpn");
    ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/inside")));
    EXPECT_FALSE(WritePlanFileBytes(folder, "x"));
    EXPECT_TRUE(QDir(folder + QStringLiteral("/inside")).exists());
}

TEST(PlanFileIo, AFullYearFitsTheLimitAndALargerFileIsNotRead)
{
    // Every day of a leap year chosen, fixed and free, with long texts: still well inside.
    PlanFileContent c;
    c.year = 2024;
    c.employeeKey = QString(20, QLatin1Char('9'));
    c.name = QString(40, QLatin1Char('n'));
    c.surname = QString(60, QLatin1Char('s'));
    c.password = QString(30, QLatin1Char('p'));
    c.comment = QString(2000, QLatin1Char('k'));
    for (QDate d(2024, 1, 1); d.year() == 2024; d = d.addDays(1)) {
        const int day = d.year() * 10000 + d.month() * 100 + d.day();
        c.freeDays << day;
        c.selectedDays << day;
        c.unchangeableDays << day;
    }
    const QByteArray full = BuildPlanFileBytes(c);
    EXPECT_LT(full.size(), kMaxPlanFileSize);

    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/a.zfpn");
    ASSERT_TRUE(WritePlanFileBytes(path, full));
    QByteArray bytes;
    EXPECT_TRUE(ReadPlanFileBytes(path, bytes));
    EXPECT_EQ(bytes, full);
    // Three times a full year is no plan file.
    ASSERT_TRUE(WritePlanFileBytes(path, full + full + full));
    EXPECT_FALSE(ReadPlanFileBytes(path, bytes));
    EXPECT_TRUE(bytes.isEmpty());
}

} // namespace
} // namespace zf
