#include "data/fb/connection.h"

#include "data/fb/error.h"
#include "data/fb/transaction.h"


#include <algorithm>

namespace zf::fb {

namespace {

void appendDpbString(QByteArray& dpb, char tag, const QByteArray& value)
{
    // A parameter block item holds at most 255 bytes.
    const QByteArray v = value.left(255);
    dpb += tag;
    dpb += static_cast<char>(v.size());
    dpb += v;
}

QByteArray quoted(const QByteArray& text)
{
    QByteArray q = text;
    q.replace('"', "\"\"");
    return '"' + q + '"';
}

} // namespace

Connection::~Connection()
{
    try {
        detach();
    } catch (...) {
        // Nothing sensible is left to do with a failed detach while being destroyed.
    }
}

QByteArray Connection::encodeLocation(const QString& location)
{
    return location.toUtf8();
}

void Connection::attach(const QString& location, const QString& user, const QString& password)
{
    if (isAttached())
        detach();
    // All parameter strings go as UTF-8, announced as such, so they never depend on the
    // locale the program runs under.
    QByteArray dpb;
    dpb += static_cast<char>(isc_dpb_version1);
    dpb += static_cast<char>(isc_dpb_utf8_filename);
    dpb += '\0';
    appendDpbString(dpb, isc_dpb_user_name, user.toUtf8());
    appendDpbString(dpb, isc_dpb_password, password.toUtf8());
    const QByteArray name = encodeLocation(location);
    Status status;
    isc_db_handle handle = 0;
    isc_attach_database(status.data(), static_cast<short>(name.size()), name.constData(), &handle,
                        static_cast<short>(dpb.size()), dpb.constData());
    status.check();
    m_handle = handle;
    m_location = location;
}

void Connection::create(const QString& location, const QString& user, const QString& password,
                        const QString& defaultCharacterSet)
{
    if (isAttached())
        detach();
    const QByteArray sql = "CREATE DATABASE " + quoted(encodeLocation(location)) + " user " +
                           quoted(user.toUtf8()) + " password " + quoted(password.toUtf8()) +
                           " DEFAULT CHARACTER SET " + defaultCharacterSet.toLatin1();
    Status status;
    isc_db_handle handle = 0;
    isc_tr_handle trans = 0;
    isc_dsql_execute_immediate(status.data(), &handle, &trans, 0, sql.constData(), 1, nullptr);
    status.check();
    m_handle = handle;
    m_location = location;
}

void Connection::releaseStatements()
{
    for (StatementHandleOwner* s : std::vector<StatementHandleOwner*>(m_statements))
        s->releaseHandle();
}

void Connection::detach()
{
    if (!isAttached())
        return;
    releaseStatements();
    for (Transaction* t : std::vector<Transaction*>(m_transactions)) {
        if (t->isActive())
            t->rollbackQuietly();
    }
    Status status;
    isc_detach_database(status.data(), &m_handle);
    if (status.failed()) {
        // The attachment is unusable either way (a lost server, say); forget the handle so a
        // new attach can follow, and let the caller know.
        m_handle = 0;
        m_location.clear();
        throw status.error();
    }
    m_handle = 0;
    m_location.clear();
}

void Connection::registerTransaction(Transaction* t)
{
    m_transactions.push_back(t);
}

void Connection::unregisterTransaction(Transaction* t)
{
    std::erase(m_transactions, t);
}

void Connection::registerStatement(StatementHandleOwner* s)
{
    m_statements.push_back(s);
}

void Connection::unregisterStatement(StatementHandleOwner* s)
{
    std::erase(m_statements, s);
}

} // namespace zf::fb
