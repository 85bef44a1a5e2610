// Several copies of the program sharing one database on a Firebird server on localhost.
#include "tests/data/shared_database.h"

#include "data/fb/connection.h"
#include "data/fb/error.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <map>
#include <set>
#include <vector>

namespace zf {
namespace {

using servertest::kUser;
using servertest::serverAccess;
using servertest::SharedDatabaseTest;
using servertest::Workstation;

constexpr int kCodeWrite = 310001;

Params employee(const QString& id, const QString& surname, const QString& name, int unit = -1)
{
    return {{QStringLiteral("IDEMPLOYEE"), id},
            {QStringLiteral("SURNAME"), surname},
            {QStringLiteral("NAME"), name},
            {QStringLiteral("IDDICUNIT"), unit},
            {QStringLiteral("EMAIL"), id.toLower() + QStringLiteral("@firma.pl")},
            {QStringLiteral("FILENAME"), id.toLower()},
            {QStringLiteral("PWD"), QStringLiteral("tajne")},
            {QStringLiteral("ACT"), QStringLiteral("T")}};
}

QStringList column(const fb::DataSet& list, const QString& field)
{
    QStringList out;
    const int c = list.fieldIndex(field);
    for (int r = 0; r < list.recordCount(); ++r)
        out << list.valueAt(r, c).toString();
    return out;
}

// The engine's own message for attaching to a location, or empty when attaching works.
QString attachError(const QString& location, const QString& password)
{
    try {
        fb::Connection c;
        c.attach(location, kUser, password);
        return {};
    } catch (const fb::Error& e) {
        return e.message();
    }
}

// A failed Connect leaves exactly the two log entries and shows nothing.
void expectConnectFailureLogged(Workstation& ws, const QString& location, int step,
                                const QString& engineMessage)
{
    ASSERT_FALSE(engineMessage.isEmpty());
    const QStringList entries = ws.logEntries();
    // One line each, although the engine's message may come in several lines.
    ASSERT_EQ(entries.size(), 2) << entries.join(QLatin1Char('|')).toStdString();
    const QString head =
        QStringLiteral("[0000571413]  log:") + QString::number(step) + QLatin1Char(' ');
    EXPECT_TRUE(entries[0].startsWith(head)) << entries[0].toStdString();
    // How the message's line breaks become blanks is the log's business; its words are not.
    EXPECT_EQ(entries[0].simplified(), (head + engineMessage).simplified());
    EXPECT_EQ(entries[1], QStringLiteral("[0000000000]  db source:") + location);
    EXPECT_TRUE(ws.dialogs.shown().empty()) << "a failed connection shows no window";
}

TEST_F(SharedDatabaseTest, OtherCopySeesCommittedWritesOnReopenOnly)
{
    TmyDataBase& a = first->db;
    TmyDataBase& b = second->db;
    b.OpenEmployees();
    ASSERT_TRUE(b.DBFEmployees.isOpen());
    EXPECT_TRUE(b.DBFEmployees.isEmpty());

    // A write of the first copy still in its transaction, then undone: never seen.
    const auto pendingInsert = [&](const QString& id, const QString& surname,
                                   const QString& name) {
        a.DBFTransaction.start();
        a.DBFWorkingSQL.setSql(TmyDataBase::DBFUEmployees.insertSql);
        for (const auto& [n, v] : employee(id, surname, name, 3))
            a.DBFWorkingSQL.setParam(n, v);
        a.DBFWorkingSQL.execute();
    };
    pendingInsert(QStringLiteral("P1"), QStringLiteral("Żółkiewska"), QStringLiteral("Zofia"));
    b.Reopen(b.DBFEmployees);
    EXPECT_TRUE(b.DBFEmployees.isEmpty()) << "an uncommitted row is seen by the other copy";
    a.DBFTransaction.rollback();
    b.Reopen(b.DBFEmployees);
    EXPECT_TRUE(b.DBFEmployees.isEmpty()) << "a rolled back row is seen";

    // The same write committed: seen on reopening, Polish letters and the unit join intact.
    pendingInsert(QStringLiteral("P1"), QStringLiteral("Żółkiewska"), QStringLiteral("Zofia"));
    b.Reopen(b.DBFEmployees);
    EXPECT_TRUE(b.DBFEmployees.isEmpty());
    a.DBFTransaction.commit();
    b.Reopen(b.DBFEmployees);
    ASSERT_EQ(b.DBFEmployees.recordCount(), 1);
    EXPECT_EQ(b.DBFEmployees.asString(QStringLiteral("IDEMPLOYEE")), QStringLiteral("P1"));
    EXPECT_EQ(b.DBFEmployees.asString(QStringLiteral("NAME_O")),
              QStringLiteral("Zofia Żółkiewska"));
    EXPECT_EQ(b.DBFEmployees.asString(QStringLiteral("UNIT_O")), QStringLiteral("Księgowość"));

    // The write pattern of the first copy: insert, update and delete all reach the second.
    ASSERT_TRUE(a.Write(TmyDataBase::DBFUEmployees.insertSql,
                        employee(QStringLiteral("P2"), QStringLiteral("Łęcki"),
                                 QStringLiteral("Stanisław")),
                        kCodeWrite));
    b.Reopen(b.DBFEmployees);
    EXPECT_EQ(column(b.DBFEmployees, QStringLiteral("NAME_O")),
              (QStringList{QStringLiteral("Stanisław Łęcki"), QStringLiteral("Zofia Żółkiewska")}));

    Params dismissed = employee(QStringLiteral("P2"), QStringLiteral("Łęcki"),
                                QStringLiteral("Stanisław"));
    dismissed.back().second = QStringLiteral("N");
    dismissed.emplace_back(QStringLiteral("KEYIDEMPLOYEE"), QStringLiteral("P2"));
    ASSERT_TRUE(a.Write(TmyDataBase::DBFUEmployees.updateSql, dismissed, kCodeWrite));
    ASSERT_TRUE(a.Write(TmyDataBase::DBFUEmployees.deleteSql,
                        {{QStringLiteral("KEYIDEMPLOYEE"), QStringLiteral("P1")}}, kCodeWrite));
    b.OpenEmployees();
    ASSERT_EQ(b.DBFEmployees.recordCount(), 1);
    EXPECT_EQ(b.DBFEmployees.asString(QStringLiteral("IDEMPLOYEE")), QStringLiteral("P2"));
    EXPECT_EQ(b.DBFEmployees.displayText(QStringLiteral("ACT")), QStringLiteral("T"));
    expectNothingShown();
}

TEST_F(SharedDatabaseTest, KeysAreNeverHandedOutTwice)
{
    TmyDataBase& a = first->db;
    TmyDataBase& b = second->db;
    // Types 1 and 2 have their own sequences; type 7 gets one made on its first use by either.
    std::map<int, std::vector<int>> keys;
    for (int i = 0; i < 200; ++i) {
        for (const int type : {1, 2}) {
            keys[type].push_back(a.GetKey(type));
            keys[type].push_back(b.GetKey(type));
        }
        if (i < 20) {
            keys[7].push_back((i % 2 ? a : b).GetKey(7));
            keys[7].push_back((i % 2 ? b : a).GetKey(7));
        }
    }
    for (const auto& [type, list] : keys) {
        const std::set<int> distinct(list.begin(), list.end());
        EXPECT_EQ(distinct.size(), list.size()) << "a key of type " << type << " came twice";
        EXPECT_EQ(distinct.count(-1), 0u) << "GetKey(" << type << ") failed";
    }
    EXPECT_EQ(keys[1].size(), 400u);
    EXPECT_EQ(keys[7].size(), 40u);
    expectNothingShown();
}

TEST_F(SharedDatabaseTest, DuplicateEmployeeNumberFromTheOtherCopyFails)
{
    TmyDataBase& a = first->db;
    TmyDataBase& b = second->db;
    ASSERT_TRUE(a.Write(TmyDataBase::DBFUEmployees.insertSql,
                        employee(QStringLiteral("K7"), QStringLiteral("Wiśniewski"),
                                 QStringLiteral("Jan")),
                        kCodeWrite));

    std::optional<int> sqlCode;
    const bool written = b.Write(TmyDataBase::DBFUEmployees.insertSql,
                                 employee(QStringLiteral("K7"), QStringLiteral("Nowak"),
                                          QStringLiteral("Anna")),
                                 kCodeWrite, [&](const fb::Error& e) {
                                     sqlCode = e.sqlCode();
                                     return e.isDuplicateKey();
                                 });
    EXPECT_FALSE(written);
    ASSERT_TRUE(sqlCode.has_value()) << "the engine error did not reach the caller";
    EXPECT_EQ(*sqlCode, -803);
    EXPECT_FALSE(b.DBFTransaction.isActive()) << "the failed write was not rolled back";
    EXPECT_TRUE(second->dialogs.shown().empty()) << "a claimed error is not reported";

    // Unclaimed, the same error is reported with the caller's code.
    EXPECT_FALSE(b.Write(TmyDataBase::DBFUEmployees.insertSql,
                         employee(QStringLiteral("K7"), QStringLiteral("Nowak"),
                                  QStringLiteral("Anna")),
                         kCodeWrite));
    ASSERT_EQ(second->dialogs.informationTexts().size(), 1);
    EXPECT_TRUE(second->dialogs.informationTexts()[0].startsWith(
        QStringLiteral("Wystąpił nieoczekiwany błąd. Orginalny komunikat: ")));
    const QStringList entries = second->logEntries();
    ASSERT_EQ(entries.size(), 1);
    EXPECT_TRUE(entries[0].startsWith(QStringLiteral("[0000310001]  ")))
        << entries[0].toStdString();

    // The second copy goes on working, and the first copy's row is untouched.
    EXPECT_TRUE(b.Write(TmyDataBase::DBFUEmployees.insertSql,
                        employee(QStringLiteral("K8"), QStringLiteral("Nowak"),
                                 QStringLiteral("Anna")),
                        kCodeWrite));
    a.OpenEmployees();
    EXPECT_EQ(column(a.DBFEmployees, QStringLiteral("NAME_O")),
              (QStringList{QStringLiteral("Anna Nowak"), QStringLiteral("Jan Wiśniewski")}));
    EXPECT_TRUE(first->dialogs.shown().empty());
}

TEST_F(SharedDatabaseTest, WrongPasswordIsLoggedAndTheCopyCanConnectAgain)
{
    Workstation& ws = *second;
    const QString wrong = password + QStringLiteral("x");
    EXPECT_FALSE(ws.db.Connect(location, kUser, wrong));
    EXPECT_FALSE(ws.db.IsConnected()) << "the old connection must be closed first";
    expectConnectFailureLogged(ws, location, 2, attachError(location, wrong));

    ASSERT_TRUE(ws.db.Connect(location, kUser, password));
    ws.db.OpenEmployees();
    EXPECT_TRUE(ws.db.DBFEmployees.isOpen());
    EXPECT_EQ(ws.logEntries().size(), 2);
}

TEST_F(SharedDatabaseTest, MissingDatabaseOnTheServerIsLogged)
{
    Workstation& ws = *first;
    const QString missing = serverAccess()->host + QStringLiteral(":/nonexistent/x.fdb");
    EXPECT_FALSE(ws.db.Connect(missing, kUser, password));
    EXPECT_FALSE(ws.db.IsConnected());
    expectConnectFailureLogged(ws, missing, 2, attachError(missing, password));
}

// A port on which nothing listens for as long as it lives: bound, never listening.
class DeadPort
{
public:
    DeadPort()
    {
        m_fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        if (m_fd >= 0 && bind(m_fd, reinterpret_cast<sockaddr*>(&addr), len) == 0 &&
            getsockname(m_fd, reinterpret_cast<sockaddr*>(&addr), &len) == 0)
            m_port = ntohs(addr.sin_port);
    }
    ~DeadPort()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    DeadPort(const DeadPort&) = delete;
    DeadPort& operator=(const DeadPort&) = delete;

    int port() const { return m_port; }

private:
    int m_fd = -1;
    int m_port = 0;
};

// Needs no server: it is about the one that is not there.
TEST(ServerConnectionTest, ServerNotListeningGivesFalseAndIsLogged)
{
    test::clearDataHome();
    const DeadPort dead;
    ASSERT_GT(dead.port(), 0);
    const QString location = QStringLiteral("127.0.0.1/") + QString::number(dead.port()) +
                             QStringLiteral(":/tmp/x.fdb");
    Workstation ws(QStringLiteral("lonely"));
    EXPECT_FALSE(ws.db.Connect(location, kUser, QStringLiteral("masterkey")));
    EXPECT_FALSE(ws.db.IsConnected());
    const QString engineMessage = attachError(location, QStringLiteral("masterkey"));
    expectConnectFailureLogged(ws, location, 2, engineMessage);

    // The module stays usable: its lists report instead of crashing on the missing connection.
    ws.dialogs.clear();
    ws.db.OpenEmployees();
    EXPECT_FALSE(ws.db.DBFEmployees.isOpen());
    EXPECT_EQ(ws.db.GetKey(1), -1);
}

} // namespace
} // namespace zf
