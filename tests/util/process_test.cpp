// Programs started without waiting must not inherit our open files.
#include "util/process.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace zf {
namespace {

// Waits for a file that a detached child writes last; empty when it never comes.
QByteArray waitForFile(const QString& path)
{
    QElapsedTimer timer;
    timer.start();
    while (!QFile::exists(path) && timer.elapsed() < 20000)
        QThread::msleep(20);
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(StartDetachedProgram, TheChildInheritsNoDescriptorAboveStandardError)
{
    QTemporaryDir dir;
    // Held open the way the embedded engine holds a database file: without close-on-exec.
    const QString held = dir.filePath(QStringLiteral("HELD.FDB"));
    const int fd = ::open(QFile::encodeName(held).constData(), O_CREAT | O_RDWR, 0600);
    ASSERT_GE(fd, 3);
    ASSERT_EQ(::fcntl(fd, F_GETFD) & FD_CLOEXEC, 0);

    const QString out = dir.filePath(QStringLiteral("fds.txt"));
    ASSERT_TRUE(startDetachedProgram(
        QStringLiteral("/bin/sh"),
        {QStringLiteral("-c"), QStringLiteral("ls -l /proc/$$/fd > \"$1.tmp\"; mv \"$1.tmp\" \"$1\""),
         QStringLiteral("sh"), out},
        dir.path()));
    const QByteArray listing = waitForFile(out);
    ::close(fd);
    ASSERT_FALSE(listing.isEmpty());
    EXPECT_FALSE(listing.contains("HELD.FDB")) << listing.constData();
    // The listing itself went through a descriptor the child opened: the check can see files.
    EXPECT_TRUE(listing.contains("fds.txt.tmp")) << listing.constData();
}

TEST(StartDetachedProgram, AMissingProgramIsReported)
{
    EXPECT_FALSE(startDetachedProgram(QStringLiteral("/nonexistent/zf-no-such-program"), {}));
}

} // namespace
} // namespace zf
