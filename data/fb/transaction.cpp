#include "data/fb/transaction.h"

#include "data/fb/connection.h"
#include "data/fb/error.h"

#include <algorithm>

namespace zf::fb {

namespace tpb {

QByteArray engineDefaults()
{
    return {};
}

QByteArray readOnlyReadCommitted()
{
    // rec_version: a reader takes the last committed version instead of waiting for another
    // copy's pending write, so an open list never freezes behind someone else's edit.
    QByteArray b;
    b += char(isc_tpb_version3);
    b += char(isc_tpb_read);
    b += char(isc_tpb_wait);
    b += char(isc_tpb_read_committed);
    b += char(isc_tpb_rec_version);
    return b;
}

QByteArray readOnlySnapshot()
{
    QByteArray b;
    b += char(isc_tpb_version3);
    b += char(isc_tpb_read);
    b += char(isc_tpb_wait);
    b += char(isc_tpb_concurrency);
    return b;
}

QByteArray waitReadCommitted()
{
    QByteArray b;
    b += char(isc_tpb_version3);
    b += char(isc_tpb_write);
    b += char(isc_tpb_wait);
    b += char(isc_tpb_read_committed);
    b += char(isc_tpb_rec_version);
    return b;
}

namespace {

QByteArray readCommittedWait(bool recordVersion, int lockTimeoutSeconds)
{
    QByteArray b;
    b += char(isc_tpb_version3);
    b += char(isc_tpb_write);
    b += char(isc_tpb_wait);
    b += char(isc_tpb_read_committed);
    b += char(recordVersion ? isc_tpb_rec_version : isc_tpb_no_rec_version);
    // A length byte and the seconds as a little-endian number.
    const quint32 seconds = static_cast<quint32>(std::max(lockTimeoutSeconds, 1));
    b += char(isc_tpb_lock_timeout);
    b += char(sizeof seconds);
    for (size_t i = 0; i < sizeof seconds; ++i)
        b += char((seconds >> (8 * i)) & 0xFF);
    return b;
}

} // namespace

QByteArray write(int lockTimeoutSeconds)
{
    // no_rec_version: with rec_version Firebird 3 ends the wait for a row with an update
    // conflict as soon as the other transaction commits, so the second of two clerks saving the
    // same rows would fail every time; without it the statement goes on after the wait.
    return readCommittedWait(false, lockTimeoutSeconds);
}

QByteArray helper(int lockTimeoutSeconds)
{
    // rec_version: a query for a list or a check never stands still behind another copy's save.
    return readCommittedWait(true, lockTimeoutSeconds);
}

} // namespace tpb

Transaction::Transaction(Connection& connection, QByteArray parameters, int idleTimeoutMs,
                         QObject* parent)
    : QObject(parent), m_connection(connection), m_parameters(std::move(parameters)),
      m_idleTimeoutMs(idleTimeoutMs)
{
    m_idleTimer.setObjectName(QStringLiteral("idleTimer"));
    m_idleTimer.setSingleShot(true);
    connect(&m_idleTimer, &QTimer::timeout, this, &Transaction::onIdleTimeout);
    m_connection.registerTransaction(this);
}

Transaction::~Transaction()
{
    rollbackQuietly();
    m_connection.unregisterTransaction(this);
}

void Transaction::start()
{
    if (isActive())
        throw Error(QStringLiteral("Transaction is already active"), 0, 0);
    if (!m_connection.isAttached())
        throw Error(QStringLiteral("Database is not connected"), 0, 0);
    // The transaction existence block of isc_start_multiple (not declared by ibase.h).
    struct
    {
        isc_db_handle* db_ptr;
        ISC_LONG tpb_len;
        const char* tpb_ptr;
    } teb{m_connection.handle(), static_cast<ISC_LONG>(m_parameters.size()),
          m_parameters.isEmpty() ? nullptr : m_parameters.constData()};
    Status status;
    isc_start_multiple(status.data(), &m_handle, 1, &teb);
    if (status.failed()) {
        m_handle = 0;
        throw status.error();
    }
    touch();
}

void Transaction::commit()
{
    if (!isActive())
        throw Error(QStringLiteral("Transaction is not active"), 0, 0);
    Status status;
    isc_commit_transaction(status.data(), &m_handle);
    status.check();
    m_handle = 0;
    m_idleTimer.stop();
}

void Transaction::commitRetaining()
{
    if (!isActive())
        throw Error(QStringLiteral("Transaction is not active"), 0, 0);
    Status status;
    isc_commit_retaining(status.data(), &m_handle);
    status.check();
    touch();
}

void Transaction::rollback()
{
    if (!isActive())
        throw Error(QStringLiteral("Transaction is not active"), 0, 0);
    Status status;
    isc_rollback_transaction(status.data(), &m_handle);
    m_idleTimer.stop();
    if (status.failed()) {
        // A transaction whose rollback failed is gone with its attachment; drop the handle.
        m_handle = 0;
        throw status.error();
    }
    m_handle = 0;
}

void Transaction::rollbackQuietly() noexcept
{
    if (!isActive())
        return;
    try {
        rollback();
    } catch (...) {
        m_handle = 0;
    }
}

void Transaction::touch()
{
    if (m_idleTimeoutMs <= 0 || !isActive())
        return;
    // Restarting a timer per fetch cost more than the fetch of a short row.
    m_lastUse = std::chrono::steady_clock::now();
    if (!m_idleTimer.isActive())
        m_idleTimer.start(m_idleTimeoutMs);
}

void Transaction::setIdleTimeoutMs(int ms)
{
    m_idleTimeoutMs = ms;
    m_idleTimer.stop(); // a new time-out counts in full from now
    touch();
}

void Transaction::onIdleTimeout()
{
    if (!isActive() || m_idleTimeoutMs <= 0)
        return;
    const auto idle = std::chrono::duration_cast<std::chrono::milliseconds>(
                          std::chrono::steady_clock::now() - m_lastUse)
                          .count();
    if (idle < m_idleTimeoutMs) {
        m_idleTimer.start(static_cast<int>(m_idleTimeoutMs - idle));
        return;
    }
    rollbackQuietly();
    emit timedOut();
}

} // namespace zf::fb
