// The editor as the system runs it: SIGTERM (a logout, a shutdown, kill) ends it in order, through
// its event loop, not killed by the signal in the middle of whatever it was doing.
#include "tests/planer/planer_files.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

namespace zf {
namespace {

// True once the process has a handler of its own for `signal` (/proc's SigCgt mask).
bool catches(qint64 pid, int signal)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("SigCgt:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (signal - 1)) & 1U;
    }
    return false;
}

TEST(PlanerProgram, SigtermEndsItInOrder)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("plan.zfpn"));
    ASSERT_TRUE(WritePlanFileBytes(path, BuildPlanFileBytes(test::samplePlan())));
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(ZF_PLANER_PROGRAM), {path});
    ASSERT_TRUE(program.waitForStarted());
    // The handler is put in place once the plan is open, just before the window is shown.
    const qint64 pid = program.processId();
    for (int i = 0; i < 600 && !catches(pid, SIGTERM) && program.state() == QProcess::Running; ++i)
        QThread::msleep(100);
    ASSERT_TRUE(catches(pid, SIGTERM)) << program.readAllStandardError().constData();
    ASSERT_EQ(::kill(static_cast<pid_t>(pid), SIGTERM), 0);
    ASSERT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("plan.zfpn")});
}

} // namespace
} // namespace zf
