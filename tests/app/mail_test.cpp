#include "util/mail.h"

#include "tests/util/print.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace zf {
namespace {

QString u(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// Puts a fake mail tool named xdg-email in a folder of its own and makes that folder the only
// PATH while a test runs, so the real mail program is never reached.
class MailTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(bin.isValid());
        ASSERT_TRUE(out.isValid());
        savedPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()));
    }
    void TearDown() override { qputenv("PATH", savedPath); }

    QString recordPath() const { return out.filePath(QStringLiteral("args")); }

    // A tool that writes its arguments, each ended by a NUL byte, to the record file (complete
    // or not at all).
    void installRecorder(bool executable = true) const
    {
        QFile script(bin.filePath(QStringLiteral("xdg-email")));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        const QByteArray rec = '\'' + QFile::encodeName(recordPath());
        QByteArray text = "#!/bin/sh\nPATH=/usr/bin:/bin\n";
        text += "for a in \"$@\"; do printf '%s\\0' \"$a\"; done > " + rec + ".part'\n";
        text += "mv " + rec + ".part' " + rec + "'\n";
        script.write(text);
        script.close();
        QFile::Permissions p = QFile::ReadOwner | QFile::WriteOwner;
        if (executable)
            p |= QFile::ExeOwner;
        ASSERT_TRUE(script.setPermissions(p));
    }

    // The arguments the tool was started with; waits for the detached tool to finish.
    QStringList recordedArguments() const
    {
        QDeadlineTimer deadline(30000);
        while (!QFile::exists(recordPath()) && !deadline.hasExpired())
            QThread::msleep(10);
        QFile f(recordPath());
        if (!f.open(QIODevice::ReadOnly)) {
            ADD_FAILURE() << "the mail tool was not started";
            return {};
        }
        QStringList args;
        for (const QByteArray& a : f.readAll().split('\0'))
            args << QString::fromUtf8(a);
        args.removeLast(); // after the last NUL
        return args;
    }

    QTemporaryDir bin;
    QTemporaryDir out;
    QByteArray savedPath;
};

TEST_F(MailTest, StartsTheMailToolWithEverythingFilledIn)
{
    installRecorder();
    TMapiSendMail mail;
    mail.Too = {u("pomoc@example.com"), u("druga@example.com")};
    mail.Subject = u("Prośba o promoc techniczną (Zefirant PL+ 2.5)");
    mail.Attachments = {u("/tmp/dane/debug/error.log"), u("/tmp/zrzut ekranu.png")};
    mail.Text = {u("Opisz dokładnie swój problem podając:"), QString(),
                 u("1. Dokładny opis czego problem dotyczy")};

    ASSERT_EQ(mail.Send(), 0);
    EXPECT_EQ(recordedArguments(),
              (QStringList{
                  u("--subject"), u("Prośba o promoc techniczną (Zefirant PL+ 2.5)"), u("--body"),
                  u("Opisz dokładnie swój problem podając:\n\n"
                    "1. Dokładny opis czego problem dotyczy"),
                  u("--attach"), u("/tmp/dane/debug/error.log"), u("--attach"),
                  u("/tmp/zrzut ekranu.png"), u("pomoc@example.com"), u("druga@example.com")}));
}

TEST_F(MailTest, BlankAddressesAndPathsAreLeftOut)
{
    installRecorder();
    TMapiSendMail mail;
    // The support command fills in the option's address even when none is set.
    mail.Too = {QString()};
    mail.Attachments = {u(" ")};
    mail.Subject = u("Temat");
    mail.Text = {u("jedna linia")};

    ASSERT_EQ(mail.Send(), 0);
    EXPECT_EQ(recordedArguments(),
              (QStringList{u("--subject"), u("Temat"), u("--body"), u("jedna linia")}));
}

TEST_F(MailTest, WithoutTheMailToolNothingHappens)
{
    // PATH holds only the empty folder.
    TMapiSendMail mail;
    mail.Too = {u("pomoc@example.com")};
    EXPECT_EQ(mail.Send(), -1);
}

TEST_F(MailTest, AToolThatCannotBeRunCountsAsMissing)
{
    installRecorder(false);
    TMapiSendMail mail;
    EXPECT_EQ(mail.Send(), -1);
}

TEST_F(MailTest, TheToolCanBeLookedForInGivenFolders)
{
    installRecorder();
    qputenv("PATH", QFile::encodeName(out.path()));
    TMapiSendMail mail;
    mail.Subject = u("S");
    EXPECT_EQ(mail.Send(), -1) << "not on PATH";

    mail.SetProgram(u("xdg-email"), {bin.path()});
    ASSERT_EQ(mail.Send(), 0);
    EXPECT_EQ(recordedArguments(), (QStringList{u("--subject"), u("S"), u("--body"), QString()}));
}

} // namespace
} // namespace zf
