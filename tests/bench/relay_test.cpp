// The benchmark's delay relay: bytes pass unchanged both ways, round trips are counted as the
// client speaks again after an answer, and the real client reaches the real server through it.
#include "bench/delayrelay.h"
#include "tests/data/shared_database.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

namespace zf {
namespace {

using namespace std::chrono_literals;

// A loopback server that echoes each line whole once it has read it, for one connection.
class EchoServer
{
public:
    EchoServer()
    {
        m_listen = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        if (bind(m_listen, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
            listen(m_listen, 1) == 0 &&
            getsockname(m_listen, reinterpret_cast<sockaddr*>(&addr), &len) == 0)
            port = ntohs(addr.sin_port);
        m_thread = std::thread([this] {
            const int c = accept(m_listen, nullptr, nullptr);
            char buffer[4096];
            ssize_t n = 0;
            std::string line;
            while (c >= 0 && (n = recv(c, buffer, sizeof buffer, 0)) > 0) {
                line.append(buffer, static_cast<size_t>(n));
                if (line.back() == '\n') {
                    send(c, line.data(), line.size(), MSG_NOSIGNAL);
                    line.clear();
                }
            }
            if (c >= 0)
                close(c);
        });
    }
    ~EchoServer()
    {
        shutdown(m_listen, SHUT_RDWR);
        m_thread.join();
        close(m_listen);
    }
    uint16_t port = 0;

private:
    int m_listen = -1;
    std::thread m_thread;
};

int connectTo(uint16_t port)
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(port);
    if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

std::string readExactly(int fd, size_t size)
{
    std::string got;
    char buffer[4096];
    while (got.size() < size) {
        const ssize_t n = recv(fd, buffer, std::min(sizeof buffer, size - got.size()), 0);
        if (n <= 0)
            break;
        got.append(buffer, static_cast<size_t>(n));
    }
    return got;
}

TEST(DelayRelay, PassesBytesBothWaysAndCountsEachQuestionAndAnswer)
{
    EchoServer echo;
    ASSERT_NE(echo.port, 0);
    bench::DelayRelay relay("127.0.0.1", echo.port, 2ms);
    ASSERT_TRUE(relay.start());
    const int fd = connectTo(relay.port());
    ASSERT_GE(fd, 0);
    // Three questions, each answered before the next; the third one large.
    const std::string large = std::string(200000, 'z') + "\n";
    const std::string small = "ping\n";
    const std::string polish = "zażółć\n";
    const auto start = std::chrono::steady_clock::now();
    for (const std::string& question : {small, polish, large}) {
        ASSERT_TRUE(send(fd, question.data(), question.size(), MSG_NOSIGNAL) ==
                    static_cast<ssize_t>(question.size()));
        EXPECT_EQ(readExactly(fd, question.size()), question);
    }
    // Never sooner than the delay each way allows (a relay forwarding early is no network).
    EXPECT_GE(std::chrono::steady_clock::now() - start, 3 * 2 * 2ms);
    const bench::DelayRelay::Counts counts = relay.counts();
    EXPECT_EQ(counts.roundTrips, 3);
    EXPECT_EQ(counts.connections, 1);
    EXPECT_EQ(counts.bytes, 2 * static_cast<long long>(small.size() + polish.size() + large.size()));
    close(fd);
    relay.resetCounts();
    EXPECT_EQ(relay.counts().roundTrips, 0);
}

using RelayToServerTest = servertest::SharedDatabaseTest;

TEST_F(RelayToServerTest, TheRealClientReachesTheServerThroughIt)
{
    bench::DelayRelay relay("127.0.0.1", 3050, 500us);
    ASSERT_TRUE(relay.start());
    const QString file = location.mid(location.indexOf(QLatin1Char(':')) + 1);
    servertest::Workstation far(QStringLiteral("far"));
    ASSERT_TRUE(far.db.Connect(QStringLiteral("127.0.0.1/%1:%2").arg(relay.port()).arg(file),
                               servertest::kUser, password));
    ASSERT_TRUE(first->db.Write(
        QStringLiteral("INSERT INTO HOLIDAYPLANS (IDYEAR, STATUS, PLANDIR) VALUES (2031, 1, '')"),
        {}, 1));
    relay.resetCounts();
    far.db.OpenPlans();
    EXPECT_EQ(far.db.DBFHolidayPlans.recordCount(), 1);
    const long trips = relay.counts().roundTrips;
    EXPECT_GT(trips, 0);
    far.db.Disconnect();
    EXPECT_GT(relay.counts().roundTrips, trips);
    EXPECT_TRUE(far.dialogs.shown().empty());
}

} // namespace
} // namespace zf
