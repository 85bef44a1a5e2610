#pragma once

#include <ibase.h>

#include <QString>

#include <vector>

namespace zf::fb {

class Transaction;
class StatementHandleOwner;

// One attachment to a database: a local file (embedded engine) or "host:/path" on a server.
// Detaching first rolls back the transactions and frees the statements made on it, so an
// attachment never stays busy and no handle outlives it.
class Connection
{
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void attach(const QString& location, const QString& user, const QString& password);
    // CREATE DATABASE in dialect 1 with the given default character set; stays attached.
    void create(const QString& location, const QString& user, const QString& password,
                const QString& defaultCharacterSet = QStringLiteral("WIN1250"));
    void detach();
    bool isAttached() const { return m_handle != 0; }
    const QString& location() const { return m_location; }

    isc_db_handle* handle() { return &m_handle; }

    // Frees every statement made on this attachment (they prepare again when next used), so
    // that no prepared statement keeps a table in use while its metadata changes.
    void releaseStatements();

    // Bookkeeping of what must end before detaching.
    void registerTransaction(Transaction* t);
    void unregisterTransaction(Transaction* t);
    void registerStatement(StatementHandleOwner* s);
    void unregisterStatement(StatementHandleOwner* s);

    // The text of a location as the client library gets it: UTF-8.
    static QByteArray encodeLocation(const QString& location);

private:

    isc_db_handle m_handle = 0;
    QString m_location;
    std::vector<Transaction*> m_transactions;
    std::vector<StatementHandleOwner*> m_statements;
};

// Anything that holds a statement handle of a connection: told to drop it before detaching.
class StatementHandleOwner
{
public:
    virtual ~StatementHandleOwner() = default;
    virtual void releaseHandle() noexcept = 0;
};

} // namespace zf::fb
