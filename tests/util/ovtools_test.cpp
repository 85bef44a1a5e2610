#include "util/ovtools.h"

#include "tests/util/print.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zf {
namespace {

struct PathCase
{
    QString path;
    QString expected;
};

void PrintTo(const PathCase& c, std::ostream* os)
{
    PrintTo(c.path, os);
}

class ExcludeTrailingBackslashTest : public ::testing::TestWithParam<PathCase>
{
};

TEST_P(ExcludeTrailingBackslashTest, DropsOneTrailingSeparator)
{
    EXPECT_EQ(TOVTools::ExcludeTrailingBackslash(GetParam().path), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExcludeTrailingBackslashTest,
    ::testing::Values(PathCase{QStringLiteral("/opt/zefirant/"), QStringLiteral("/opt/zefirant")},
                      PathCase{QStringLiteral("C:\\Plany\\"), QStringLiteral("C:\\Plany")},
                      PathCase{QStringLiteral("/opt/zefirant"), QStringLiteral("/opt/zefirant")},
                      PathCase{QStringLiteral("plany//"), QStringLiteral("plany/")},
                      PathCase{QStringLiteral("/"), QStringLiteral("/")},
                      PathCase{QString(), QString()}));

QByteArray rawBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// Every byte value, zeros included, repeated to the given length.
QByteArray allByteValues(int length)
{
    QByteArray bytes(length, '\0');
    for (int i = 0; i < length; ++i)
        bytes[i] = static_cast<char>((i * 7) % 256);
    return bytes;
}

class FileTextTest : public ::testing::TestWithParam<int>
{
protected:
    QTemporaryDir dir;
    QString file(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
};

TEST_P(FileTextTest, BytesGoToDiskAndBackUnchanged)
{
    ASSERT_TRUE(dir.isValid());
    const QByteArray bytes = allByteValues(GetParam());
    const QString path = file("dane.bin");
    ASSERT_TRUE(TOVTools::SaveTextToFile(bytes, path));
    EXPECT_EQ(rawBytes(path), bytes);

    QByteArray loaded("stale");
    ASSERT_TRUE(TOVTools::LoadFileToText(path, loaded));
    EXPECT_EQ(loaded, bytes);
}

// Sizes around the 1024-byte pieces.
INSTANTIATE_TEST_SUITE_P(Sizes, FileTextTest, ::testing::Values(1, 1023, 1024, 1025, 5000));

TEST(SaveTextToFile, EmptiesALongerFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.txt"));
    ASSERT_TRUE(TOVTools::SaveTextToFile(QByteArray(3000, 'x'), path));
    ASSERT_TRUE(TOVTools::SaveTextToFile(QByteArray("ab\0c", 4), path));
    EXPECT_EQ(rawBytes(path), QByteArray("ab\0c", 4));
    ASSERT_TRUE(TOVTools::SaveTextToFile(QByteArray(), path));
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(QFileInfo(path).size(), 0);
}

TEST(SaveTextToFile, FailsWhereNothingCanBeWritten)
{
    QTemporaryDir dir;
    EXPECT_FALSE(TOVTools::SaveTextToFile("x", dir.filePath(QStringLiteral("brak/a.txt"))));
    EXPECT_FALSE(TOVTools::SaveTextToFile("x", dir.path()));
    if (QFile::exists(QStringLiteral("/dev/full"))) {
        // Opens fine, but no byte reaches the disk.
        EXPECT_FALSE(TOVTools::SaveTextToFile(QByteArray(10, 'x'), QStringLiteral("/dev/full")));
    }
}

TEST(LoadFileToText, EmptyFileGivesEmptyText)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("pusty.txt"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    QByteArray text("stale");
    EXPECT_TRUE(TOVTools::LoadFileToText(path, text));
    EXPECT_TRUE(text.isEmpty());
}

TEST(LoadFileToText, FailsForMissingFileOrFolder)
{
    QTemporaryDir dir;
    QByteArray text("stale");
    EXPECT_FALSE(TOVTools::LoadFileToText(dir.filePath(QStringLiteral("brak.txt")), text));
    EXPECT_TRUE(text.isEmpty());
    text = "stale";
    EXPECT_FALSE(TOVTools::LoadFileToText(dir.path(), text));
    EXPECT_TRUE(text.isEmpty());
}

} // namespace
} // namespace zf
