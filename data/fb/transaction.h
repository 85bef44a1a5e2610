#pragma once

#include <ibase.h>

#include <QByteArray>
#include <QObject>
#include <QTimer>

#include <chrono>

namespace zf::fb {

class Connection;

// Transaction parameter blocks used by the program.
namespace tpb {
// Engine defaults (concurrency, write, wait).
QByteArray engineDefaults();
// The long-lived transaction of the shared lists: read only, read committed, wait.
QByteArray readOnlyReadCommitted();
// A read-only snapshot: several reads of one moment, checked against the snapshot instead of
// asking for every row whether its writer has committed since.
QByteArray readOnlySnapshot();
// Short helper transactions: read committed, wait.
QByteArray waitReadCommitted();

inline constexpr int kLockTimeoutSeconds = 10;
// The write transactions, on rows that other copies of the program write too: read committed,
// waiting at most `lockTimeoutSeconds` for rows another transaction holds, then going on with
// them as it left them. Reading such a row waits as well.
QByteArray write(int lockTimeoutSeconds = kLockTimeoutSeconds);
// Helper transactions that mostly read: read committed, reading the last committed version
// without waiting; a write waits at most `lockTimeoutSeconds` for a row another transaction
// holds, and fails with an update conflict when that transaction commits a change of it.
QByteArray helper(int lockTimeoutSeconds = kLockTimeoutSeconds);
} // namespace tpb

// One transaction on a connection. An idle time-out, when set, rolls back a transaction that
// stays unused that long after it was started or last used, so a forgotten write transaction
// never holds locks for other copies of the program.
class Transaction : public QObject
{
    Q_OBJECT
public:
    Transaction(Connection& connection, QByteArray parameters, int idleTimeoutMs = 0,
                QObject* parent = nullptr);
    ~Transaction() override;

    void start();
    void commit();
    void commitRetaining();
    void rollback();
    // Rolls back when active; never throws (used on error paths).
    void rollbackQuietly() noexcept;
    bool isActive() const { return m_handle != 0; }
    // The parameter block of the next start; an active transaction keeps the one it began with.
    void setParameters(QByteArray parameters) { m_parameters = std::move(parameters); }
    const QByteArray& parameters() const { return m_parameters; }

    // Called by statements on every use (every fetch): the idle time-out counts from here. Only
    // the time is noted; the one timer, when it fires early, waits out the rest.
    void touch();
    int idleTimeoutMs() const { return m_idleTimeoutMs; }
    void setIdleTimeoutMs(int ms);

    Connection& connection() { return m_connection; }
    isc_tr_handle* handle() { return &m_handle; }

signals:
    // Emitted after the idle time-out rolled the transaction back.
    void timedOut();

private:
    void onIdleTimeout();

    Connection& m_connection;
    QByteArray m_parameters;
    int m_idleTimeoutMs;
    QTimer m_idleTimer{this};
    std::chrono::steady_clock::time_point m_lastUse;
    isc_tr_handle m_handle = 0;
};

} // namespace zf::fb
