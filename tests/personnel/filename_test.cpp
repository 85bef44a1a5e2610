#include "personnel/filename.h"
#include "util/planfilename.h"
#include "tests/personnel/createdfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace zf {
namespace {

class FileNameTest : public ::testing::Test
{
protected:
    void SetUp() override { QDir().mkpath(dir.path() + QStringLiteral("/debug")); }
    QStringList debugEntries() const
    {
        return QDir(dir.path() + QStringLiteral("/debug")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    }
    QTemporaryDir dir;
};

TEST_F(FileNameTest, OrdinaryNamesAreValidAndLeaveNothingBehind)
{
    EXPECT_TRUE(IsValidFileName(QStringLiteral("jan_kowalski"), dir.path()));
    EXPECT_TRUE(IsValidFileName(QStringLiteral("Łucja Żółkiewska (2)"), dir.path()));
    EXPECT_TRUE(debugEntries().isEmpty());
}

TEST(FileNameKey, CaseAndTrailingBlanksDoNotCount)
{
    EXPECT_EQ(FileNameKey(QStringLiteral("Jan_Kowalski")), FileNameKey(QStringLiteral("jan_kowalski")));
    EXPECT_EQ(FileNameKey(QStringLiteral("ŁOŚ  ")), FileNameKey(QStringLiteral("łoś")));
    EXPECT_NE(FileNameKey(QStringLiteral(" jan")), FileNameKey(QStringLiteral("jan")));
}

TEST_F(FileNameTest, AnExistingFileCountsAsValidAndStays)
{
    QFile f(dir.path() + QStringLiteral("/debug/error.log"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("keep me");
    f.close();
    EXPECT_TRUE(IsValidFileName(QStringLiteral("error.log"), dir.path()));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("keep me"));
}

TEST_F(FileNameTest, NamesThatAreNotOneFileAreRefusedWithoutTouchingTheDisk)
{
    for (const QString& name : {QStringLiteral("../x"), QStringLiteral("a/b"), QStringLiteral("..\\x"),
                                QStringLiteral(".."), QStringLiteral("."), QString(),
                                QStringLiteral("tab\there"), QString(300, QLatin1Char('x')),
                                // What a Windows folder cannot hold.
                                QStringLiteral("a:b"), QStringLiteral("a*"), QStringLiteral("a?"),
                                QStringLiteral("a\"b"), QStringLiteral("<a>"), QStringLiteral("a|b")}) {
        EXPECT_FALSE(IsValidFileName(name, dir.path())) << name.toStdString();
    }
    EXPECT_TRUE(debugEntries().isEmpty());
    EXPECT_FALSE(QFile::exists(dir.path() + QStringLiteral("/x")));
}

TEST_F(FileNameTest, AMissingDebugFolderOrAFolderOfThatNameMakesItInvalid)
{
    QDir().mkpath(dir.path() + QStringLiteral("/debug/taken"));
    EXPECT_FALSE(IsValidFileName(QStringLiteral("taken"), dir.path()));
    QDir(dir.path() + QStringLiteral("/debug")).removeRecursively();
    EXPECT_FALSE(IsValidFileName(QStringLiteral("jan"), dir.path()));
}

TEST_F(FileNameTest, WhatALinuxFolderTakesStaysValid)
{
    // Names only Windows itself would refuse are the plan folder's business, as they always were;
    // a Polish name is measured in the bytes the file system stores.
    for (const QString& name :
         {QStringLiteral("CON"), QStringLiteral("nul"), QStringLiteral("com1.txt"),
          QStringLiteral("plan."), QStringLiteral("plan "), QStringLiteral(" plan"),
          QStringLiteral(".plan"), QString(255, QLatin1Char('x')),
          QString(127, QChar(u'ł')) + QStringLiteral("x")}) {
        EXPECT_TRUE(IsValidFileName(name, dir.path())) << name.toStdString();
    }
    EXPECT_TRUE(debugEntries().isEmpty());
}

TEST_F(FileNameTest, WhatTheFileSystemRefusesIsInvalid)
{
    for (const QString& name : {QString(256, QLatin1Char('x')), QString(128, QChar(u'ł')),
                                QStringLiteral("a") + QChar(u'\0'), QStringLiteral("del\x7f"),
                                QStringLiteral("a/"), QStringLiteral("/")}) {
        EXPECT_FALSE(IsValidFileName(name, dir.path())) << name.size();
    }
    EXPECT_TRUE(debugEntries().isEmpty());
}

TEST_F(FileNameTest, WhatTheExportRefusesTheCardRefuses)
{
    // The card and the import judge by the export's own rule, so every name they accept is one
    // the export writes.
    for (const QString& name : {QStringLiteral("..plan"), QStringLiteral("jan..kowalski"),
                                QStringLiteral("plan.."), QStringLiteral("a\tb"),
                                QStringLiteral("a\nb"), QStringLiteral("a\\b")}) {
        EXPECT_FALSE(IsSafePlanFileName(name)) << name.toStdString();
        EXPECT_FALSE(IsValidFileName(name, dir.path())) << name.toStdString();
    }
    EXPECT_TRUE(IsSafePlanFileName(QStringLiteral("jan.kowalski")));
    EXPECT_TRUE(IsValidFileName(QStringLiteral("jan.kowalski"), dir.path()));
}

TEST(ProposedFileName, LeavesOutWhatAPlanFileNameMayNotHold)
{
    EXPECT_EQ(ProposedFileName(QStringLiteral("Anna Maria"), QStringLiteral("Nowak")),
              QStringLiteral("Anna Maria_Nowak"));
    EXPECT_EQ(ProposedFileName(QStringLiteral("Jan \"Janek\""), QStringLiteral("O'Brien/Kos")),
              QStringLiteral("Jan Janek_O'BrienKos"));
    EXPECT_EQ(ProposedFileName(QStringLiteral("J.."), QStringLiteral("..Nowak:*?<>|\t")),
              QStringLiteral("J._.Nowak"));
    EXPECT_EQ(ProposedFileName(QString(), QStringLiteral("\"\"")), QString());
    // Whatever it proposes, the card accepts.
    for (const QString& n : {QStringLiteral("a..b"), QStringLiteral("x/../y"), QStringLiteral("\\\\")})
        EXPECT_TRUE(IsSafePlanFileName(ProposedFileName(n, n))) << n.toStdString();
}

TEST_F(FileNameTest, ALinkOfThatNameMakesItInvalid)
{
    ASSERT_TRUE(QFile::link(dir.path() + QStringLiteral("/nowhere"),
                            dir.path() + QStringLiteral("/debug/dangling")));
    EXPECT_FALSE(IsValidFileName(QStringLiteral("dangling"), dir.path()));
}

TEST_F(FileNameTest, ManyNamesTryTheFolderOutOnce)
{
    QFile existing(dir.path() + QStringLiteral("/debug/jest"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    const int created = test::entriesCreatedIn(dir.path() + QStringLiteral("/debug"), [&] {
        const FileNameCheck check(dir.path());
        for (int i = 0; i < 50; ++i)
            EXPECT_TRUE(check.isValid(QStringLiteral("pracownik_%1").arg(i)));
        EXPECT_TRUE(check.isValid(QStringLiteral("jest")));
        EXPECT_FALSE(check.isValid(QStringLiteral("a:b")));
        EXPECT_FALSE(check.isValid(QString(256, QLatin1Char('x'))));
    });
    ASSERT_GE(created, 0);
    EXPECT_LE(created, 1);
    EXPECT_EQ(debugEntries(), QStringList{QStringLiteral("jest")});
}

TEST_F(FileNameTest, AFolderThatTakesNoFileRefusesEveryNewName)
{
    QDir(dir.path() + QStringLiteral("/debug")).removeRecursively();
    const FileNameCheck check(dir.path());
    EXPECT_FALSE(check.isValid(QStringLiteral("jan")));
    EXPECT_FALSE(check.isValid(QStringLiteral("anna")));
}

TEST(FileNameFilter, TypedCharactersBecomeUnderscores)
{
    EXPECT_EQ(filterTypedFileName(QStringLiteral("jan kowalski")), QStringLiteral("jan_kowalski"));
    EXPECT_EQ(filterTypedFileName(QStringLiteral("a\"*+,/:;<=>?[\\]^|b")),
              QStringLiteral("a________________b"));
    EXPECT_EQ(filterTypedFileName(QStringLiteral("Łódź-2024.plan")), QStringLiteral("Łódź-2024.plan"));
}

TEST_F(FileNameTest, OneCheckForManyNamesKnowsTheFolderAndCountsBytes)
{
    QDir().mkpath(dir.path() + QStringLiteral("/debug/taken"));
    QFile f(dir.path() + QStringLiteral("/debug/plan_jan"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    ASSERT_TRUE(QFile::link(dir.path() + QStringLiteral("/debug/plan_jan"),
                            dir.path() + QStringLiteral("/debug/linked")));
    const FileNameCheck check(dir.path());
    const QString smile = QString::fromUtf8("\xF0\x9F\x98\x80"); // four bytes, two QChars
    const std::vector<std::pair<QString, bool>> cases = {
        {QStringLiteral("plan_jan"), true},  {QStringLiteral("linked"), true},
        {QStringLiteral("taken"), false},    {QStringLiteral("Plan_Jan"), true},
        {QString(85, QChar(u'ż')), true},    {QString(127, QChar(u'ł')) + QStringLiteral("x"), true},
        {QString(128, QChar(u'ł')), false},  {smile.repeated(63) + QStringLiteral("xxx"), true},
        {smile.repeated(64), false},         {QStringLiteral("a/b"), false},
    };
    for (const auto& [name, valid] : cases)
        EXPECT_EQ(check.isValid(name), valid) << name.size();
    EXPECT_EQ(debugEntries().size(), 3);
}

} // namespace
} // namespace zf
