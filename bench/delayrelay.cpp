#include "bench/delayrelay.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>

namespace zf::bench {

using Clock = std::chrono::steady_clock;

namespace {

void noDelay(int fd)
{
    // Nagle's algorithm would hold back small packets on top of the delay we mean to add.
    const int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

int connectTo(const std::string& host, uint16_t port)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0)
        return -1;
    int fd = -1;
    for (addrinfo* a = found; a && fd < 0; a = a->ai_next) {
        fd = socket(a->ai_family, a->ai_socktype, a->ai_protocol);
        if (fd >= 0 && connect(fd, a->ai_addr, a->ai_addrlen) != 0) {
            close(fd);
            fd = -1;
        }
    }
    freeaddrinfo(found);
    if (fd >= 0)
        noDelay(fd);
    return fd;
}

bool writeAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = send(fd, data, size, MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// The timer oversleeps here by a quarter of a millisecond on average, and by more under load:
// sleep to just before the time and yield the rest, so that 0.5 ms each way is not 0.75.
void waitUntil(Clock::time_point due)
{
    constexpr auto kMargin = std::chrono::microseconds(400);
    if (due - Clock::now() > kMargin)
        std::this_thread::sleep_until(due - kMargin);
    while (Clock::now() < due)
        std::this_thread::yield();
}

} // namespace

// One direction's chunks waiting for their time.
struct Pending
{
    std::mutex mutex;
    std::condition_variable ready;
    std::deque<std::pair<Clock::time_point, std::vector<char>>> chunks;
    bool ended = false;
};

struct DelayRelay::Connection
{
    int client = -1;
    int server = -1;
    Pending toServer;
    Pending toClient;
    // Which way the last chunk went: 0 none yet, 1 to the server, 2 to the client.
    std::atomic<int> lastWay{0};
    std::vector<std::thread> threads;
};

DelayRelay::DelayRelay(std::string targetHost, uint16_t targetPort,
                       std::chrono::microseconds delay)
    : m_host(std::move(targetHost)), m_targetPort(targetPort), m_delayUs(delay.count())
{
}

DelayRelay::~DelayRelay()
{
    stop();
}

bool DelayRelay::start()
{
    m_listen = socket(AF_INET, SOCK_STREAM, 0);
    if (m_listen < 0 || pipe(m_wake) != 0) {
        std::perror("relay socket");
        return false;
    }
    const int on = 1;
    setsockopt(m_listen, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    socklen_t len = sizeof addr;
    if (bind(m_listen, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        listen(m_listen, 64) != 0 ||
        getsockname(m_listen, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        std::perror("relay listen");
        return false;
    }
    m_port = ntohs(addr.sin_port);
    m_acceptor = std::thread([this] { acceptLoop(); });
    return true;
}

void DelayRelay::stop()
{
    if (m_acceptor.joinable()) {
        const char byte = 0;
        [[maybe_unused]] const ssize_t n = write(m_wake[1], &byte, 1);
        m_acceptor.join();
    }
    std::vector<std::unique_ptr<Connection>> connections;
    {
        std::lock_guard lock(m_mutex);
        connections.swap(m_connections);
    }
    for (auto& c : connections) {
        // Readers wake up at the shutdown; the writers once their queue is marked ended.
        shutdown(c->client, SHUT_RDWR);
        shutdown(c->server, SHUT_RDWR);
        for (std::thread& t : c->threads)
            t.join();
        close(c->client);
        close(c->server);
    }
    for (int* fd : {&m_listen, &m_wake[0], &m_wake[1]})
        if (*fd >= 0) {
            close(*fd);
            *fd = -1;
        }
}

DelayRelay::Counts DelayRelay::counts() const
{
    return Counts{m_roundTrips.load(), m_chunks.load(), m_bytes.load(), m_connectionCount.load(),
                  m_lateUs.load()};
}

void DelayRelay::resetCounts()
{
    m_roundTrips = 0;
    m_chunks = 0;
    m_bytes = 0;
    m_connectionCount = 0;
    m_lateUs = 0;
}

void DelayRelay::acceptLoop()
{
    for (;;) {
        pollfd fds[2] = {{m_listen, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
        if (poll(fds, 2, -1) < 0)
            continue;
        if (fds[1].revents)
            return;
        const int client = accept(m_listen, nullptr, nullptr);
        if (client < 0)
            continue;
        noDelay(client);
        const int server = connectTo(m_host, m_targetPort);
        if (server < 0) {
            std::fprintf(stderr, "relay: cannot reach %s:%u\n", m_host.c_str(), m_targetPort);
            close(client);
            continue;
        }
        ++m_connectionCount;
        auto c = std::make_unique<Connection>();
        c->client = client;
        c->server = server;
        Connection& ref = *c;
        for (const bool toServer : {true, false}) {
            ref.threads.emplace_back([this, &ref, toServer] { pump(ref, toServer); });
            Pending& q = toServer ? ref.toServer : ref.toClient;
            const int to = toServer ? ref.server : ref.client;
            ref.threads.emplace_back([this, &q, to] {
                for (;;) {
                    std::unique_lock lock(q.mutex);
                    q.ready.wait(lock, [&] { return q.ended || !q.chunks.empty(); });
                    if (q.chunks.empty()) {
                        shutdown(to, SHUT_WR);
                        return;
                    }
                    auto [due, bytes] = std::move(q.chunks.front());
                    q.chunks.pop_front();
                    lock.unlock();
                    waitUntil(due);
                    m_lateUs += std::chrono::duration_cast<std::chrono::microseconds>(
                                    Clock::now() - due)
                                    .count();
                    if (!writeAll(to, bytes.data(), bytes.size()))
                        return;
                }
            });
        }
        std::lock_guard lock(m_mutex);
        m_connections.push_back(std::move(c));
    }
}

void DelayRelay::chunkRead(Connection& c, bool toServer, size_t size)
{
    const int way = toServer ? 1 : 2;
    if (c.lastWay.exchange(way) != way && toServer)
        ++m_roundTrips;
    ++m_chunks;
    m_bytes += static_cast<long long>(size);
}

void DelayRelay::pump(Connection& c, bool toServer)
{
    const int from = toServer ? c.client : c.server;
    Pending& q = toServer ? c.toServer : c.toClient;
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        const ssize_t n = recv(from, buffer.data(), buffer.size(), 0);
        if (n <= 0)
            break;
        const auto due = Clock::now() + std::chrono::microseconds(m_delayUs.load());
        chunkRead(c, toServer, static_cast<size_t>(n));
        std::lock_guard lock(q.mutex);
        q.chunks.emplace_back(due, std::vector<char>(buffer.begin(), buffer.begin() + n));
        q.ready.notify_one();
    }
    std::lock_guard lock(q.mutex);
    q.ended = true;
    q.ready.notify_one();
}

} // namespace zf::bench
