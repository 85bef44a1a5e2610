// Sending the written plan files by e-mail: a real embedded database, the files the export
// wrote, and a real SMTP server on the loopback address.
#include "planfiles/planmail.h"
#include "tests/planfiles/planfiles_fixture.h"
#include "tests/util/smtp_server.h"

#include <QJsonArray>

#include <gtest/gtest.h>

namespace zf {
namespace {

using State = PlanMailEntry::State;
using test::SmtpTestServer;

class PlanMailTest : public test::PlanFilesTest
{
protected:
    void SetUp() override
    {
        PlanFilesTest::SetUp();
        t.exec(QStringLiteral("UPDATE EMPLOYEES SET EMAIL='adam@firma.example', "
                              "PWD='Tajne-7731' WHERE IDEMPLOYEE='A1'"));
        t.exec(QStringLiteral("UPDATE EMPLOYEES SET EMAIL='beata@firma.example', "
                              "PWD='Tajne-4420' WHERE IDEMPLOYEE='B2'"));
        t.exec(QStringLiteral("UPDATE EMPLOYEES SET EMAIL='cezary@firma.example' "
                              "WHERE IDEMPLOYEE='C3'"));
        TWorkingWithXML x(t.db(), 2024);
        ASSERT_TRUE(exportAll(x));
    }
    static SmtpSettings settings(const SmtpTestServer& server)
    {
        SmtpSettings s;
        s.server = QStringLiteral("127.0.0.1");
        s.port = server.port();
        s.security = SmtpSettings::Security::None;
        s.sender = QStringLiteral("kadry@firma.example");
        return s;
    }
    static QList<State> states(const PlanMailRun& run)
    {
        QList<State> list;
        for (const PlanMailEntry& e : run.entries())
            list.append(e.state);
        return list;
    }
    static QStringList recipients(const SmtpTestServer& server)
    {
        QStringList list;
        for (const QJsonObject& m : server.messages())
            list.append(m.value(QStringLiteral("rcpt_tos")).toArray().at(0).toString());
        return list;
    }
    QByteArray fileBytes(const char* name) const
    {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    const QStringList all{QStringLiteral("A1"), QStringLiteral("B2"), QStringLiteral("C3")};
};

TEST_F(PlanMailTest, EachEmployeeWithAnAddressGetsHisOwnFileAndNoPassword)
{
    t.exec(QStringLiteral("UPDATE EMPLOYEES SET EMAIL=' ' WHERE IDEMPLOYEE='C3'"));
    SmtpTestServer server;
    ASSERT_TRUE(server.running());
    PlanMailRun run(t.db(), 2024);
    ASSERT_TRUE(run.Prepare(all));
    SmtpSession session(settings(server));
    EXPECT_TRUE(run.Send(session, {}));
    EXPECT_EQ(states(run), (QList<State>{State::Sent, State::Sent, State::NoAddress}));

    const QList<QJsonObject> got = server.messages();
    ASSERT_EQ(got.size(), 2);
    EXPECT_EQ(recipients(server), (QStringList{QStringLiteral("adam@firma.example"),
                                               QStringLiteral("beata@firma.example")}));
    EXPECT_EQ(SmtpTestServer::attachment(got.at(0)), fileBytes("adam"));
    EXPECT_EQ(SmtpTestServer::attachment(got.at(1)), fileBytes("beata"));
    const QJsonObject a = got.at(0).value(QStringLiteral("attachments")).toArray().at(0).toObject();
    EXPECT_EQ(a.value(QStringLiteral("filename")).toString(), QStringLiteral("adam.zfpn"));
    EXPECT_EQ(a.value(QStringLiteral("content_type")).toString(), kPlanFileMimeType);
    const QString subject = got.at(0).value(QStringLiteral("subject")).toString();
    EXPECT_TRUE(subject.contains(QLatin1String("2024"))) << subject.toStdString();
    EXPECT_EQ(got.at(0).value(QStringLiteral("to")).toString(),
              QStringLiteral("Adam Adamski <adam@firma.example>"));
    const QString body = got.at(0).value(QStringLiteral("body")).toString();
    EXPECT_TRUE(body.contains(QStringLiteral("„Mój plan urlopowy”"))) << body.toStdString();
    EXPECT_TRUE(body.contains(QStringLiteral("hasła nie ma")));
    for (const QJsonObject& m : got)
        EXPECT_EQ(m.value(QStringLiteral("defects")).toInt(), 0);
    const QByteArray raw = server.rawMessages();
    for (const char* password : {"Tajne-7731", "Tajne-4420"}) {
        EXPECT_FALSE(raw.contains(password));
        EXPECT_FALSE(body.contains(QLatin1String(password)));
    }

    // The address put into the card, "Wyślij ponownie nieudane" sends him his file.
    t.exec(QStringLiteral("UPDATE EMPLOYEES SET EMAIL='cezary@firma.example' WHERE "
                          "IDEMPLOYEE='C3'"));
    EXPECT_EQ(run.MarkFailedForRetry(), 1);
    EXPECT_TRUE(run.Send(session, {}));
    EXPECT_EQ(states(run), (QList<State>{State::Sent, State::Sent, State::Sent}));
    EXPECT_EQ(recipients(server).value(2), QStringLiteral("cezary@firma.example"));
}

TEST_F(PlanMailTest, RefusedRecipientIsListedOthersSentAndOnlyItIsSentAgain)
{
    auto server = std::make_unique<SmtpTestServer>(
        QStringList{QStringLiteral("--refuse"), QStringLiteral("beata")});
    ASSERT_TRUE(server->running());
    PlanMailRun run(t.db(), 2024);
    ASSERT_TRUE(run.Prepare(all));
    {
        SmtpSession session(settings(*server));
        EXPECT_TRUE(run.Send(session, {}));
    }
    EXPECT_EQ(states(run), (QList<State>{State::Sent, State::Refused, State::Sent}));
    EXPECT_TRUE(run.entries().at(1).reply.startsWith(QLatin1String("550")))
        << run.entries().at(1).reply.toStdString();
    EXPECT_EQ(recipients(*server), (QStringList{QStringLiteral("adam@firma.example"),
                                                QStringLiteral("cezary@firma.example")}));

    // "Wyślij ponownie nieudane" against a server that now takes her address.
    server = std::make_unique<SmtpTestServer>();
    ASSERT_TRUE(server->running());
    EXPECT_EQ(run.MarkFailedForRetry(), 1);
    SmtpSession again(settings(*server));
    EXPECT_TRUE(run.Send(again, {}));
    EXPECT_EQ(states(run), (QList<State>{State::Sent, State::Sent, State::Sent}));
    EXPECT_EQ(recipients(*server), QStringList{QStringLiteral("beata@firma.example")});
    EXPECT_EQ(run.MarkFailedForRetry(), 0);
}

TEST_F(PlanMailTest, ServerGoneMidRunStopsCleanlyAndTheListSaysWhoGotTheFile)
{
    auto server = std::make_unique<SmtpTestServer>();
    ASSERT_TRUE(server->running());
    PlanMailRun run(t.db(), 2024);
    ASSERT_TRUE(run.Prepare(all));
    {
        SmtpSession session(settings(*server));
        EXPECT_FALSE(run.Send(session, [&](int index, int, const QString&) {
            if (index == 1)
                server->stop();
            return true;
        }));
    }
    EXPECT_EQ(states(run), (QList<State>{State::Sent, State::Failed, State::Stopped}));
    EXPECT_FALSE(run.stopMessage().isEmpty());
    EXPECT_FALSE(run.cancelled());
    EXPECT_EQ(recipients(*server), QStringList{QStringLiteral("adam@firma.example")});

    server = std::make_unique<SmtpTestServer>();
    ASSERT_TRUE(server->running());
    EXPECT_EQ(run.MarkFailedForRetry(), 2);
    SmtpSession again(settings(*server));
    EXPECT_TRUE(run.Send(again, {}));
    EXPECT_EQ(recipients(*server), (QStringList{QStringLiteral("beata@firma.example"),
                                                QStringLiteral("cezary@firma.example")}));
}

TEST_F(PlanMailTest, StoppingBetweenMessagesLeavesTheRestUnsentAndAMissingFileIsListed)
{
    ASSERT_TRUE(QFile::remove(path("cezary")));
    SmtpTestServer server;
    ASSERT_TRUE(server.running());
    PlanMailRun run(t.db(), 2024);
    ASSERT_TRUE(run.Prepare({QStringLiteral("C3"), QStringLiteral("A1"), QStringLiteral("B2")}));
    SmtpSession session(settings(server));
    EXPECT_FALSE(run.Send(session, [](int index, int, const QString&) { return index < 2; }));
    EXPECT_TRUE(run.cancelled());
    EXPECT_EQ(states(run), (QList<State>{State::NoFile, State::Sent, State::Stopped}));
    EXPECT_EQ(recipients(server), QStringList{QStringLiteral("adam@firma.example")});
}

} // namespace
} // namespace zf
