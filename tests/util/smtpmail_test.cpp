// Mail through libcurl against a real SMTP server on the loopback address.
#include "tests/util/smtp_server.h"
#include "util/smtpmail.h"

#include <QJsonArray>

#include <gtest/gtest.h>

namespace zf {
namespace {

using test::SmtpTestServer;

SmtpSettings plainSettings(int port)
{
    SmtpSettings s;
    s.server = QStringLiteral("127.0.0.1");
    s.port = port;
    s.security = SmtpSettings::Security::None;
    s.sender = QStringLiteral("kadry@firma.example");
    return s;
}

MailMessage message(const QString& to, const QByteArray& attachment)
{
    MailMessage m;
    m.to = to;
    m.toName = QStringLiteral("Łucja Żądło-Świętosławska");
    m.fromName = QStringLiteral("Dział kadr");
    m.subject = QStringLiteral("Plan urlopowy na rok 2024 – zażółć gęślą jaźń, a to jest "
                               "temat dłuższy niż jedno słowo kodowane");
    m.body = QStringLiteral("Treść z ogonkami: ąćęłńóśźż.\nDruga linia.\n");
    m.attachmentName = QStringLiteral("łucja.zfpn");
    m.attachmentType = QStringLiteral("application/x-zefirant-plan");
    m.attachment = attachment;
    return m;
}

QByteArray binaryFile()
{
    QByteArray bytes;
    for (int i = 0; i < 5000; ++i)
        bytes.append(static_cast<char>((i * 37 + i / 7) & 0xff));
    bytes.append("\r\n.\r\n..\n");
    return bytes;
}

TEST(SmtpMail, MessagesArriveWholeAndReadableOverOneSession)
{
    SmtpTestServer server;
    ASSERT_TRUE(server.running());
    SmtpSession session(plainSettings(server.port()));
    const QByteArray file = binaryFile();
    for (const char* to : {"lucja@firma.example", "jan@firma.example"}) {
        const SmtpResult r = session.send(message(QString::fromLatin1(to), file));
        ASSERT_TRUE(r.sent()) << r.message.toStdString();
    }
    const QList<QJsonObject> got = server.messages();
    ASSERT_EQ(got.size(), 2);
    const QJsonObject& m = got.at(0);
    EXPECT_EQ(m.value(QStringLiteral("rcpt_tos")).toArray().at(0).toString(),
              QStringLiteral("lucja@firma.example"));
    EXPECT_EQ(m.value(QStringLiteral("subject")).toString(), message({}, {}).subject);
    EXPECT_EQ(m.value(QStringLiteral("from")).toString(),
              QStringLiteral("Dział kadr <kadry@firma.example>"));
    EXPECT_EQ(m.value(QStringLiteral("to")).toString(),
              QStringLiteral("Łucja Żądło-Świętosławska <lucja@firma.example>"));
    EXPECT_EQ(m.value(QStringLiteral("defects")).toInt(), 0);
    EXPECT_FALSE(m.value(QStringLiteral("date")).toString().isEmpty());
    EXPECT_EQ(m.value(QStringLiteral("body")).toString(), message({}, {}).body);
    const QJsonObject a = m.value(QStringLiteral("attachments")).toArray().at(0).toObject();
    EXPECT_EQ(a.value(QStringLiteral("filename")).toString(), QStringLiteral("łucja.zfpn"));
    EXPECT_EQ(a.value(QStringLiteral("content_type")).toString(),
              QStringLiteral("application/x-zefirant-plan"));
    EXPECT_EQ(SmtpTestServer::attachment(m), file);
    EXPECT_EQ(SmtpTestServer::attachment(got.at(1)), file);
}

TEST(SmtpMail, RefusedRecipientIsToldAndTheSessionGoesOn)
{
    SmtpTestServer server({QStringLiteral("--refuse"), QStringLiteral("nieznany")});
    ASSERT_TRUE(server.running());
    SmtpSession session(plainSettings(server.port()));
    const SmtpResult refused = session.send(message(QStringLiteral("nieznany@firma.example"), "x"));
    EXPECT_EQ(refused.status, SmtpResult::Status::Refused);
    EXPECT_EQ(refused.replyCode, 550);
    EXPECT_TRUE(refused.reply.contains(QLatin1String("User unknown")))
        << refused.reply.toStdString();
    EXPECT_TRUE(refused.runCanGoOn());
    EXPECT_TRUE(session.send(message(QStringLiteral("jan@firma.example"), "y")).sent());
    ASSERT_EQ(server.messages().size(), 1);
    EXPECT_EQ(server.messages().at(0).value(QStringLiteral("rcpt_tos")).toArray().at(0).toString(),
              QStringLiteral("jan@firma.example"));
}

TEST(SmtpMail, StartTlsWithLoginAndTheTestCertificate)
{
    SmtpTestServer server({QStringLiteral("--starttls"), QStringLiteral("--auth"),
                           QStringLiteral("kadry:tajne hasło")});
    ASSERT_TRUE(server.running());
    SmtpSettings s = plainSettings(server.port());
    s.security = SmtpSettings::Security::StartTls;
    s.user = QStringLiteral("kadry");
    s.password = QStringLiteral("tajne hasło");

    // Without the test certificate the server is not trusted.
    const SmtpResult untrusted = SmtpSession(s).send(message(QStringLiteral("a@b.example"), "1"));
    EXPECT_EQ(untrusted.status, SmtpResult::Status::SecurityFailed);
    EXPECT_FALSE(untrusted.message.isEmpty());

    s.caFile = server.certificate();
    const SmtpResult ok = SmtpSession(s).send(message(QStringLiteral("a@b.example"), "2"));
    EXPECT_TRUE(ok.sent()) << ok.message.toStdString();

    s.password = QStringLiteral("złe");
    const SmtpResult login = SmtpSession(s).send(message(QStringLiteral("a@b.example"), "3"));
    EXPECT_EQ(login.status, SmtpResult::Status::LoginRefused);
    EXPECT_FALSE(login.runCanGoOn());

    const QList<QJsonObject> got = server.messages();
    ASSERT_EQ(got.size(), 1);
    EXPECT_EQ(got.at(0).value(QStringLiteral("login")).toString(), QStringLiteral("kadry"));
    EXPECT_EQ(SmtpTestServer::attachment(got.at(0)), QByteArray("2"));
}

TEST(SmtpMail, WrongServerPortOrSecurityGiveOneClearMessageEach)
{
    int deadPort = 0;
    {
        SmtpTestServer gone;
        deadPort = gone.port();
    }
    ASSERT_NE(deadPort, 0);
    SmtpSettings s = plainSettings(deadPort);
    const SmtpResult port = SmtpSession(s).send(message(QStringLiteral("a@b.example"), "1"));
    EXPECT_EQ(port.status, SmtpResult::Status::NoConnection);
    EXPECT_TRUE(port.message.contains(QString::number(deadPort)));

    s.server = QStringLiteral("serwer-poczty.invalid");
    const SmtpResult name = SmtpSession(s).send(message(QStringLiteral("a@b.example"), "1"));
    EXPECT_EQ(name.status, SmtpResult::Status::ServerNotFound);
    EXPECT_TRUE(name.message.contains(QLatin1String("serwer-poczty.invalid")));

    // SSL/TLS spoken to a plain server, and STARTTLS asked of a server that does not offer it.
    SmtpTestServer plain;
    ASSERT_TRUE(plain.running());
    s = plainSettings(plain.port());
    s.security = SmtpSettings::Security::SslTls;
    const SmtpResult tls = SmtpSession(s).send(message(QStringLiteral("a@b.example"), "1"));
    EXPECT_FALSE(tls.sent());
    EXPECT_FALSE(tls.runCanGoOn());
    s.security = SmtpSettings::Security::StartTls;
    const SmtpResult starttls = SmtpSession(s).send(message(QStringLiteral("a@b.example"), "1"));
    EXPECT_EQ(starttls.status, SmtpResult::Status::SecurityFailed);
    EXPECT_TRUE(plain.messages().isEmpty());
}

} // namespace
} // namespace zf
