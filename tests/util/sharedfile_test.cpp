// Replacing a file in a shared folder: the owner, group and mode stay whoever saves it (another
// user's file written in place, also in a folder the saver cannot write, the owner given back
// to a renamed file by root), temporaries of killed saves are cleared after an hour and a failed
// save leaves none.
#include "tests/support/otheruser.h"
#include "util/sharedfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ctime>

#include <fcntl.h>
#include <sys/stat.h>

namespace zf::sharedfile {
namespace {

constexpr uid_t kOffice = 4242; // a user and a group that exist only as numbers
constexpr gid_t kUsers = 4243;

class SharedFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        // The folder of a share every employee may write into.
        ASSERT_EQ(::chmod(folder().constData(), 0777), 0);
    }
    QByteArray folder() const { return QFile::encodeName(dir.path()); }
    QByteArray path(const char* name) const { return folder() + '/' + name; }
    void put(const char* name, const QByteArray& bytes, uid_t uid, gid_t gid, mode_t mode)
    {
        QFile f(QFile::decodeName(path(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        ASSERT_EQ(::chown(path(name).constData(), uid, gid), 0);
        ASSERT_EQ(::chmod(path(name).constData(), mode), 0);
    }
    struct stat info(const char* name) const
    {
        struct stat st
        {
        };
        EXPECT_EQ(::lstat(path(name).constData(), &st), 0) << name;
        return st;
    }
    QByteArray content(const char* name) const
    {
        QFile f(QFile::decodeName(path(name)));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }
    QStringList entries() const
    {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                              QDir::NoDotAndDotDot,
                                          QDir::Name);
    }
    void expectKept(const char* name, uid_t uid, gid_t gid, mode_t mode, const QByteArray& bytes)
    {
        const struct stat st = info(name);
        EXPECT_EQ(st.st_uid, uid) << name;
        EXPECT_EQ(st.st_gid, gid) << name;
        EXPECT_EQ(st.st_mode & 07777, mode) << name;
        EXPECT_EQ(content(name), bytes) << name;
    }

    QTemporaryDir dir;
};

// office:users 0660, saved by an employee of the group "users": the office can still read it.
TEST_F(SharedFileTest, AnotherUsersFileKeepsItsOwnerGroupAndMode)
{
    if (!test::runningAsRoot())
        GTEST_SKIP() << "saving as another user needs root";
    put("jan.zfpn", "old plan", kOffice, kUsers, 0660);
    EXPECT_TRUE(test::asUser(test::kNobody, test::kNogroup, kUsers, [&] {
        return Replace(path("jan.zfpn"), "new plan, longer than the old") == Written::Done;
    }));
    expectKept("jan.zfpn", kOffice, kUsers, 0660, "new plan, longer than the old");
    EXPECT_EQ(entries(), QStringList{QStringLiteral("jan.zfpn")}) << "the copy beside it is gone";

    // Shorter than before: nothing of the old content stays at the end.
    EXPECT_TRUE(test::asUser(test::kNobody, test::kNogroup, kUsers, [&] {
        return Replace(path("jan.zfpn"), "short") == Written::Done;
    }));
    expectKept("jan.zfpn", kOffice, kUsers, 0660, "short");
    EXPECT_EQ(entries(), QStringList{QStringLiteral("jan.zfpn")});
}

TEST_F(SharedFileTest, AWritableFileInAFolderClosedToTheSaverIsWrittenInPlace)
{
    if (!test::runningAsRoot())
        GTEST_SKIP() << "saving as another user needs root";
    put("ewa.zfpn", "old plan", kOffice, kUsers, 0666);
    ASSERT_EQ(::chmod(folder().constData(), 0755), 0);
    EXPECT_TRUE(test::asUser(test::kNobody, test::kNogroup, 0, [&] {
        return Replace(path("ewa.zfpn"), "new plan") == Written::Done;
    }));
    expectKept("ewa.zfpn", kOffice, kUsers, 0666, "new plan");
    EXPECT_EQ(entries(), QStringList{QStringLiteral("ewa.zfpn")});

    // A file the saver cannot write either stays as it was, with nothing beside it.
    ASSERT_EQ(::chmod(path("ewa.zfpn").constData(), 0644), 0);
    EXPECT_TRUE(test::asUser(test::kNobody, test::kNogroup, 0, [&] {
        return Replace(path("ewa.zfpn"), "refused") == Written::Failed;
    }));
    expectKept("ewa.zfpn", kOffice, kUsers, 0644, "new plan");
    EXPECT_EQ(entries(), QStringList{QStringLiteral("ewa.zfpn")});
}

TEST_F(SharedFileTest, RootGivesTheOwnerToTheRenamedFile)
{
    if (!test::runningAsRoot())
        GTEST_SKIP() << "another user's file needs root";
    put("ola.zfpn", "old plan", kOffice, kUsers, 0640);
    const ino_t before = info("ola.zfpn").st_ino;
    EXPECT_EQ(Replace(path("ola.zfpn"), "new plan"), Written::Done);
    expectKept("ola.zfpn", kOffice, kUsers, 0640, "new plan");
    EXPECT_NE(info("ola.zfpn").st_ino, before) << "replaced whole, not written in place";
    EXPECT_EQ(entries(), QStringList{QStringLiteral("ola.zfpn")});
}

TEST_F(SharedFileTest, OldTemporariesOfTheFileAreClearedAndAFailedSaveLeavesNone)
{
    const auto aged = [&](const char* name, qint64 seconds) {
        put(name, "left over", ::geteuid(), ::getegid(), 0600);
        const timespec times[2] = {{::time(nullptr) - seconds, 0}, {::time(nullptr) - seconds, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, path(name).constData(), times, 0), 0);
    };
    aged("a.zfpn.1x9k2m", 2 * kStaleSeconds); // a save of a.zfpn killed long ago
    aged("a.zfpn.7pq", 60);                   // a save of a.zfpn under way
    aged("b.zfpn.1x9k2m", 2 * kStaleSeconds); // another file's
    aged("a.zfpn.zfpn", 2 * kStaleSeconds);   // another employee's plan file, no temporary
    aged("a.zfpn.Kopia", 2 * kStaleSeconds);  // no name this program gives
    EXPECT_EQ(Replace(path("a.zfpn"), "plan"), Written::Done);
    EXPECT_EQ(entries(), (QStringList{QStringLiteral("a.zfpn"), QStringLiteral("a.zfpn.7pq"),
                                      QStringLiteral("a.zfpn.Kopia"), QStringLiteral("a.zfpn.zfpn"),
                                      QStringLiteral("b.zfpn.1x9k2m")}));

    // The rename fails (a folder stands at the name): the temporary goes with it.
    ASSERT_TRUE(QDir().mkpath(QFile::decodeName(path("c.zfpn")) + QStringLiteral("/x")));
    EXPECT_EQ(Replace(path("c.zfpn"), "plan"), Written::Failed);
    EXPECT_TRUE(QFileInfo(QFile::decodeName(path("c.zfpn")) + QStringLiteral("/x")).isDir());
    EXPECT_EQ(entries().size(), 6) << entries().join(QLatin1Char(' ')).toStdString();
}

} // namespace
} // namespace zf::sharedfile
