#pragma once

// A TCP relay on the loopback address that holds back every chunk it passes by a set time in
// each direction: the real client talks to the real server through it as over an office network
// or a VPN. It counts the round trips: each time the client speaks again after the server has
// answered (or for the first time on a connection), that is one more round trip.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zf::bench {

class DelayRelay
{
public:
    // Forwards to `targetHost`:`targetPort` (an IPv4 address or a name), each chunk held back
    // by `delay` one way.
    DelayRelay(std::string targetHost, uint16_t targetPort, std::chrono::microseconds delay);
    ~DelayRelay();
    DelayRelay(const DelayRelay&) = delete;
    DelayRelay& operator=(const DelayRelay&) = delete;

    // Listens on 127.0.0.1 on a free port; false, with the reason printed, on failure.
    bool start();
    // Closes every connection and stops listening.
    void stop();
    uint16_t port() const { return m_port; }

    // Takes effect for the chunks read from then on.
    void setDelay(std::chrono::microseconds delay) { m_delayUs = delay.count(); }
    std::chrono::microseconds delay() const { return std::chrono::microseconds(m_delayUs.load()); }

    // Round trips, chunks and bytes (both ways) and connections since the last reset.
    struct Counts
    {
        long roundTrips = 0;
        long chunks = 0;
        long long bytes = 0;
        long connections = 0;
        // Beyond the delay asked for: how late the chunks went on, all together.
        long long lateUs = 0;
    };
    Counts counts() const;
    void resetCounts();

private:
    struct Connection;
    void acceptLoop();
    void pump(Connection& c, bool toServer);
    void chunkRead(Connection& c, bool toServer, size_t size);

    std::string m_host;
    uint16_t m_targetPort;
    std::atomic<long long> m_delayUs;
    int m_listen = -1;
    int m_wake[2] = {-1, -1};
    uint16_t m_port = 0;
    std::thread m_acceptor;
    std::mutex m_mutex;
    std::vector<std::unique_ptr<Connection>> m_connections;
    std::atomic<long> m_roundTrips{0};
    std::atomic<long> m_chunks{0};
    std::atomic<long long> m_bytes{0};
    std::atomic<long> m_connectionCount{0};
    std::atomic<long long> m_lateUs{0};
};

} // namespace zf::bench
