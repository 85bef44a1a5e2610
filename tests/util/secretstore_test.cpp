// The mail password in a real Secret Service (GNOME Keyring in a private D-Bus session, see
// with_keyring.sh) and with none answering (a session bus address that leads nowhere).
#include "tests/support/scripted_dialogs.h"
#include "util/secretstore.h"
#include "util/smtpmail.h"

#include <gtest/gtest.h>

namespace zf {
namespace {

bool withKeyring()
{
    return qEnvironmentVariable("ZF_TEST_KEYRING") == QLatin1String("1");
}

SmtpSettings account(const QString& user)
{
    SmtpSettings s;
    s.server = QStringLiteral("smtp.firma.example");
    s.user = user;
    s.sender = QStringLiteral("kadry@firma.example");
    return s;
}

TEST(SecretStoreWithService, PasswordsAreKeptPerServerAndUser)
{
    if (!withKeyring())
        GTEST_SKIP() << "runs under with_keyring.sh";
    const QString server = QStringLiteral("smtp.firma.example");
    QString error;
    ASSERT_TRUE(
        SecretStore::store(server, QStringLiteral("kadry"), QStringLiteral("hasło ąę 1"), &error))
        << error.toStdString();
    ASSERT_TRUE(SecretStore::store(server, QStringLiteral("inny"), QStringLiteral("drugie")));
    EXPECT_EQ(SecretStore::lookup(server, QStringLiteral("kadry")),
              std::optional<QString>(QStringLiteral("hasło ąę 1")));
    EXPECT_EQ(SecretStore::lookup(server, QStringLiteral("inny")),
              std::optional<QString>(QStringLiteral("drugie")));
    EXPECT_FALSE(SecretStore::lookup(QStringLiteral("smtp.inna.example"), QStringLiteral("kadry")));
    SecretStore::forget(server, QStringLiteral("kadry"));
    EXPECT_FALSE(SecretStore::lookup(server, QStringLiteral("kadry")));
    EXPECT_TRUE(SecretStore::lookup(server, QStringLiteral("inny")));
}

TEST(SecretStoreWithService, ARememberedPasswordIsNeverAskedAgain)
{
    if (!withKeyring())
        GTEST_SKIP() << "runs under with_keyring.sh";
    test::ScriptedDialogs dialogs;
    EXPECT_TRUE(
        MailPasswords::remember(account(QStringLiteral("pamiętany")), QStringLiteral("z opcji")));
    SmtpSettings s = account(QStringLiteral("pamiętany"));
    ASSERT_TRUE(MailPasswords::fill(s, dialogs)); // no prompt scripted: asking would fail
    EXPECT_EQ(s.password, QStringLiteral("z opcji"));

    // Asked once, then stored: found again without asking.
    dialogs.answerPrompt(QStringLiteral("wpisane"));
    SmtpSettings first = account(QStringLiteral("nowy"));
    ASSERT_TRUE(MailPasswords::fill(first, dialogs));
    EXPECT_EQ(SecretStore::lookup(first.server, first.user),
              std::optional<QString>(QStringLiteral("wpisane")));
    // A refused login forgets it in the store too.
    MailPasswords::forget(first);
    EXPECT_FALSE(SecretStore::lookup(first.server, first.user));
    EXPECT_TRUE(dialogs.allAnswersUsed());
}

TEST(SecretStoreAbsent, PasswordIsAskedOncePerRunAndKeptOnlyInMemory)
{
    if (!qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS").contains(QLatin1String("zf-no-bus")))
        GTEST_SKIP() << "runs with a session bus address that leads nowhere";
    QString error;
    EXPECT_FALSE(SecretStore::store(QStringLiteral("smtp.firma.example"), QStringLiteral("kadry"),
                                    QStringLiteral("x"), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(
        SecretStore::lookup(QStringLiteral("smtp.firma.example"), QStringLiteral("kadry")));

    test::ScriptedDialogs dialogs;
    dialogs.answerPrompt(std::nullopt);
    SmtpSettings cancelled = account(QStringLiteral("kadry"));
    EXPECT_FALSE(MailPasswords::fill(cancelled, dialogs));

    dialogs.answerPrompt(QStringLiteral("raz"));
    SmtpSettings s = account(QStringLiteral("kadry"));
    ASSERT_TRUE(MailPasswords::fill(s, dialogs));
    EXPECT_EQ(s.password, QStringLiteral("raz"));
    SmtpSettings again = account(QStringLiteral("kadry"));
    ASSERT_TRUE(MailPasswords::fill(again, dialogs)); // not asked a second time
    EXPECT_EQ(again.password, QStringLiteral("raz"));
    EXPECT_TRUE(dialogs.allAnswersUsed());

    // A server used without logging in needs no password.
    SmtpSettings open = account(QString());
    EXPECT_TRUE(MailPasswords::fill(open, dialogs));

    // After a refused login it is asked again.
    MailPasswords::forget(s);
    dialogs.answerPrompt(QStringLiteral("dwa"));
    SmtpSettings third = account(QStringLiteral("kadry"));
    ASSERT_TRUE(MailPasswords::fill(third, dialogs));
    EXPECT_EQ(third.password, QStringLiteral("dwa"));
}

} // namespace
} // namespace zf
