// The plan file's bytes on disk: bounded reading of regular files only, and replacing a file
// whole.
#include "planfiles/planfile.h"
#include "tests/util/print.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zf {
namespace {

TEST(PlanFileIo, ReadsOnlyRegularFilesUpToOneMebibyte)
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

} // namespace
} // namespace zf
