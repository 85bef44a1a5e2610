// The plan file's bytes on disk: bounded reading of regular files only, replacing a file whole,
// and never reading or writing through a symbolic link an employee put in the plan folder.
#include "planfiles/planfile.h"
#include "tests/support/otheruser.h"
#include "tests/util/print.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QDate>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace zf {
namespace {

QByteArray contentOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

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

TEST(PlanFileIo, AFifoIsRefusedWithoutWaitingForAWriter)
{
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/a.zfpn");
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    QByteArray bytes;
    EXPECT_FALSE(ReadPlanFileBytes(path, bytes));
}

// A plan folder with a link named like a plan file, pointing at a file outside it.
class PlanFileLinks : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir().mkpath(folder()));
        QFile f(target());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(kOutside);
        f.close();
        ASSERT_TRUE(QFile::link(target(), link()));
    }
    QString folder() const { return root.path() + QStringLiteral("/plany"); }
    QString target() const { return root.path() + QStringLiteral("/poza.txt"); }
    QString link() const { return folder() + QStringLiteral("/jan.zfpn"); }
    QStringList folderEntries() const
    {
        return QDir(folder()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden |
                                        QDir::NoDotAndDotDot);
    }

    static inline const QByteArray kOutside = QByteArray("outside\0file", 12);
    QTemporaryDir root;
};

TEST_F(PlanFileLinks, WritingRefusesTheLinkAndNeverTouchesItsTarget)
{
    EXPECT_FALSE(WritePlanFileBytes(link(), "plan"));
    EXPECT_EQ(contentOf(target()), kOutside);
    EXPECT_TRUE(QFileInfo(link()).isSymLink());
    EXPECT_EQ(QFileInfo(link()).symLinkTarget(), target());
    EXPECT_EQ(folderEntries(), QStringList{QStringLiteral("jan.zfpn")}) << "no temporary file left";

    // A link to a name that does not exist yet must not create it.
    const QString absent = root.path() + QStringLiteral("/nowy.txt");
    const QString dangling = folder() + QStringLiteral("/ewa.zfpn");
    ASSERT_TRUE(QFile::link(absent, dangling));
    EXPECT_FALSE(WritePlanFileBytes(dangling, "plan"));
    EXPECT_FALSE(QFileInfo::exists(absent));
}

TEST_F(PlanFileLinks, ReadingRefusesTheLink)
{
    QByteArray bytes("before");
    EXPECT_FALSE(ReadPlanFileBytes(link(), bytes));
    EXPECT_TRUE(bytes.isEmpty());
    EXPECT_EQ(contentOf(target()), kOutside);
}

TEST_F(PlanFileLinks, ALinkedPlanFolderIsTheOfficesChoiceAndWorks)
{
    // Only the file itself is refused: the folder the plan names may be a link to a share.
    const QString linkedFolder = root.path() + QStringLiteral("/skrot");
    ASSERT_TRUE(QFile::link(folder(), linkedFolder));
    const QString path = linkedFolder + QStringLiteral("/ola.zfpn");
    ASSERT_TRUE(WritePlanFileBytes(path, "plan"));
    QByteArray bytes;
    ASSERT_TRUE(ReadPlanFileBytes(path, bytes));
    EXPECT_EQ(bytes, QByteArray("plan"));
    EXPECT_TRUE(QFileInfo(folder() + QStringLiteral("/ola.zfpn")).isFile());
}

mode_t modeOf(const QString& path)
{
    struct stat info
    {
    };
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// Employees edit their files in place, so a replaced file keeps what the office set on it.
TEST(PlanFileIo, AReplacedFileKeepsItsModeAndANewOneFollowsTheUmask)
{
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/a.zfpn");
    const mode_t mask = ::umask(022);
    ASSERT_TRUE(WritePlanFileBytes(path, "first"));
    EXPECT_EQ(modeOf(path), mode_t(0644));
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0664), 0);
    ASSERT_TRUE(WritePlanFileBytes(path, "second"));
    ::umask(mask);
    EXPECT_EQ(modeOf(path), mode_t(0664));
    EXPECT_EQ(contentOf(path), QByteArray("second"));
}

// The export's batch: nothing replaced before commit() (a crash until then leaves the old
// files), all replaced after it, and a failed rename stopping there with the rest left old.
class PlanFileBatchTest : public ::testing::Test
{
protected:
    QString path(const char* name) const
    {
        return dir.path() + QLatin1Char('/') + QString::fromLatin1(name) + QStringLiteral(".zfpn");
    }
    void writeOld(const char* name)
    {
        ASSERT_TRUE(WritePlanFileBytes(path(name), QByteArray("old ") + name));
    }
    QStringList entries() const
    {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden |
                                          QDir::NoDotAndDotDot, QDir::Name);
    }
    QTemporaryDir dir;
};

TEST_F(PlanFileBatchTest, ReplacesEveryFileOnlyAtTheCommitAndLeavesNoTemporaries)
{
    writeOld("a");
    writeOld("b");
    ASSERT_EQ(::chmod(QFile::encodeName(path("b")).constData(), 0640), 0);
    PlanFileBatch batch;
    ASSERT_TRUE(batch.add(path("a"), "new a"));
    ASSERT_TRUE(batch.add(path("b"), "new b"));
    ASSERT_TRUE(batch.add(path("c"), "new c"));
    EXPECT_EQ(batch.size(), 3);
    EXPECT_EQ(contentOf(path("a")), QByteArray("old a")) << "nothing replaced before the commit";
    EXPECT_FALSE(QFileInfo::exists(path("c")));
    EXPECT_EQ(entries().size(), 5) << entries().join(QLatin1Char(' ')).toStdString();

    EXPECT_EQ(batch.commit(), 3);
    EXPECT_EQ(batch.size(), 0);
    EXPECT_EQ(contentOf(path("a")), QByteArray("new a"));
    EXPECT_EQ(contentOf(path("b")), QByteArray("new b"));
    EXPECT_EQ(contentOf(path("c")), QByteArray("new c"));
    EXPECT_EQ(modeOf(path("b")), mode_t(0640)) << "a replaced file keeps its mode";
    EXPECT_EQ(entries(), (QStringList{QStringLiteral("a.zfpn"), QStringLiteral("b.zfpn"),
                                      QStringLiteral("c.zfpn")}));
}

TEST_F(PlanFileBatchTest, ABatchNotCommittedLeavesTheOldFilesAndNoTemporaries)
{
    writeOld("a");
    {
        PlanFileBatch batch;
        ASSERT_TRUE(batch.add(path("a"), "new a"));
        ASSERT_TRUE(batch.add(path("b"), "new b"));
    }
    EXPECT_EQ(contentOf(path("a")), QByteArray("old a"));
    EXPECT_EQ(entries(), QStringList{QStringLiteral("a.zfpn")});
}

TEST_F(PlanFileBatchTest, AFailedRenameStopsThereAndTheRestStayOld)
{
    writeOld("a");
    writeOld("c");
    PlanFileBatch batch;
    ASSERT_TRUE(batch.add(path("a"), "new a"));
    ASSERT_TRUE(batch.add(path("b"), "new b"));
    ASSERT_TRUE(batch.add(path("c"), "new c"));
    // A folder put at b's name meanwhile: no file can replace it.
    ASSERT_TRUE(QDir().mkpath(path("b") + QStringLiteral("/x")));
    EXPECT_EQ(batch.commit(), 1);
    EXPECT_EQ(contentOf(path("a")), QByteArray("new a"));
    EXPECT_TRUE(QFileInfo(path("b") + QStringLiteral("/x")).isDir());
    EXPECT_EQ(contentOf(path("c")), QByteArray("old c")) << "files after the failure stay old";
    EXPECT_EQ(entries(), (QStringList{QStringLiteral("a.zfpn"), QStringLiteral("b.zfpn"),
                                      QStringLiteral("c.zfpn")}));
}

// Another clerk of the group regenerates a file of the office's: it stays the office's.
TEST_F(PlanFileBatchTest, AReplacedFileKeepsItsOwnerAndGroupWhoeverWritesIt)
{
    if (!test::runningAsRoot())
        GTEST_SKIP() << "writing as another user needs root";
    constexpr uid_t kOffice = 4242;
    constexpr gid_t kUsers = 4243;
    writeOld("a");
    const QByteArray a = QFile::encodeName(path("a"));
    ASSERT_EQ(::chown(a.constData(), kOffice, kUsers), 0);
    ASSERT_EQ(::chmod(a.constData(), 0660), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0777), 0);
    EXPECT_TRUE(test::asUser(test::kNobody, test::kNogroup, kUsers, [&] {
        PlanFileBatch batch;
        return batch.add(path("a"), "new a") && batch.add(path("b"), "new b") &&
               batch.commit() == 2 && batch.synced();
    }));
    struct stat st
    {
    };
    ASSERT_EQ(::stat(a.constData(), &st), 0);
    EXPECT_EQ(st.st_uid, kOffice);
    EXPECT_EQ(st.st_gid, kUsers);
    EXPECT_EQ(st.st_mode & 07777, mode_t(0660));
    EXPECT_EQ(contentOf(path("a")), QByteArray("new a"));
    EXPECT_EQ(contentOf(path("b")), QByteArray("new b"));
    EXPECT_EQ(entries(), (QStringList{QStringLiteral("a.zfpn"), QStringLiteral("b.zfpn")}));
}

TEST_F(PlanFileBatchTest, ALinkAtANameIsRefusedAndItsTargetNeverWritten)
{
    const QString target = dir.path() + QStringLiteral("/poza.txt");
    {
        QFile f(target);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("outside");
    }
    ASSERT_TRUE(QFile::link(target, path("jan")));
    PlanFileBatch batch;
    EXPECT_FALSE(batch.add(path("jan"), "plan"));
    EXPECT_EQ(batch.size(), 0);
    // A link put there after the temporary was written is replaced, never followed.
    ASSERT_TRUE(batch.add(path("ewa"), "plan"));
    ASSERT_TRUE(QFile::link(target, path("ewa")));
    EXPECT_EQ(batch.commit(), 1);
    EXPECT_EQ(contentOf(target), QByteArray("outside"));
    EXPECT_FALSE(QFileInfo(path("ewa")).isSymLink());
    EXPECT_EQ(contentOf(path("ewa")), QByteArray("plan"));
}

} // namespace
} // namespace zf
