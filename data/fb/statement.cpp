#include "data/fb/statement.h"

#include "data/fb/descriptor.h"
#include "data/fb/error.h"
#include "data/fb/namedparams.h"
#include "data/fb/transaction.h"
#include "util/textcodec.h"

#include <cstring>

namespace zf::fb {

namespace {

constexpr unsigned short kDialect = 1;
constexpr ISC_STATUS kEndOfCursor = 100;

int readInfoInt(const char* p, int len)
{
    return static_cast<int>(isc_vax_integer(p, static_cast<short>(len)));
}

Error usageError(const QString& text)
{
    return Error(text, 0, 0);
}

} // namespace

Statement::Statement(Connection& connection, Transaction* transaction)
    : m_connection(connection), m_transaction(transaction), m_in(std::make_unique<Descriptor>()),
      m_out(std::make_unique<Descriptor>())
{
    m_connection.registerStatement(this);
}

Statement::~Statement()
{
    releaseHandle();
    m_connection.unregisterStatement(this);
}

void Statement::setTransaction(Transaction* transaction)
{
    if (transaction != m_transaction)
        close();
    m_transaction = transaction;
}

void Statement::setSql(const QString& sql)
{
    close();
    m_sql = sql;
    m_prepared = false;
    m_params.clear();
    m_positionalNames = m_paramCheck ? toPositional(sql).names : QStringList();
}

void Statement::setParamCheck(bool on)
{
    m_paramCheck = on;
    setSql(m_sql);
}

QStringList Statement::paramNames() const
{
    QStringList names;
    for (const QString& n : m_positionalNames)
        if (!names.contains(n))
            names << n;
    return names;
}

bool Statement::hasParam(const QString& name) const
{
    return m_positionalNames.contains(name.toUpper());
}

void Statement::setParam(const QString& name, const QVariant& value)
{
    const QString key = name.toUpper();
    if (!m_positionalNames.contains(key))
        throw usageError(QStringLiteral("Parameter ") + name + QStringLiteral(" not found"));
    m_params.insert(key, value);
}

QVariant Statement::param(const QString& name) const
{
    return m_params.value(name.toUpper());
}

void Statement::clearParams()
{
    m_params.clear();
}

isc_tr_handle* Statement::transactionHandle()
{
    if (!m_transaction || !m_transaction->isActive())
        throw usageError(QStringLiteral("Transaction is not active"));
    m_transaction->touch();
    return m_transaction->handle();
}

void Statement::ensureHandle()
{
    if (m_handle)
        return;
    if (!m_connection.isAttached())
        throw usageError(QStringLiteral("Database is not connected"));
    Status status;
    isc_dsql_allocate_statement(status.data(), m_connection.handle(), &m_handle);
    status.check();
}

void Statement::prepare()
{
    close();
    ensureHandle();
    isc_tr_handle* tr = transactionHandle();
    const QByteArray text = toCp1250(m_paramCheck ? toPositional(m_sql).sql : m_sql);
    Status status;
    m_prepared = false;
    m_out->get()->sqld = 0;
    isc_dsql_prepare(status.data(), tr, &m_handle, 0, text.constData(), kDialect, m_out->get());
    status.check();
    if (m_out->ensureCapacity(m_out->count())) {
        isc_dsql_describe(status.data(), &m_handle, kDialect, m_out->get());
        status.check();
    }
    m_out->allocateOutputBuffers();

    m_in = std::make_unique<Descriptor>(qMax<int>(1, static_cast<int>(m_positionalNames.size())));
    isc_dsql_describe_bind(status.data(), &m_handle, kDialect, m_in->get());
    status.check();
    if (m_in->ensureCapacity(m_in->count())) {
        isc_dsql_describe_bind(status.data(), &m_handle, kDialect, m_in->get());
        status.check();
    }
    if (m_paramCheck && m_in->count() != m_positionalNames.size())
        throw usageError(QStringLiteral("Parameters of the statement do not match its text"));

    const char items[] = {isc_info_sql_stmt_type};
    char buffer[16] = {};
    isc_dsql_sql_info(status.data(), &m_handle, sizeof items, items, sizeof buffer, buffer);
    status.check();
    m_statementType = 0;
    if (buffer[0] == isc_info_sql_stmt_type) {
        const int len = readInfoInt(buffer + 1, 2);
        m_statementType = readInfoInt(buffer + 3, len);
    }

    m_fieldNames.clear();
    for (int i = 0; i < m_out->count(); ++i) {
        const XSQLVAR& v = m_out->var(i);
        const QByteArray alias(v.aliasname, v.aliasname_length);
        const QByteArray name(v.sqlname, v.sqlname_length);
        m_fieldNames.push_back(QString::fromLatin1(alias.isEmpty() ? name : alias).toUpper());
    }
    m_row.assign(static_cast<size_t>(m_out->count()), QVariant());
    m_converted.assign(static_cast<size_t>(m_out->count()), 1);
    m_prepared = true;
}

bool Statement::returnsRows() const
{
    return m_out->count() > 0;
}

void Statement::bindParams()
{
    isc_tr_handle* tr = transactionHandle();
    for (int i = 0; i < m_positionalNames.size(); ++i) {
        const QString& name = m_positionalNames.at(i);
        m_in->setInput(i, m_params.value(name), m_connection.handle(), tr);
    }
}

void Statement::execute()
{
    close();
    if (!isPrepared())
        prepare();
    bindParams();
    isc_tr_handle* tr = transactionHandle();
    XSQLDA* in = m_positionalNames.isEmpty() ? nullptr : m_in->get();
    Status status;
    const bool isSelect = m_statementType == isc_info_sql_stmt_select ||
                          m_statementType == isc_info_sql_stmt_select_for_upd;
    if (returnsRows() && !isSelect) {
        // EXECUTE PROCEDURE and RETURNING hand back their one row at once.
        isc_dsql_execute2(status.data(), tr, &m_handle, kDialect, in, m_out->get());
        status.check();
        readRow();
        m_pendingRow = true;
        return;
    }
    isc_dsql_execute(status.data(), tr, &m_handle, kDialect, in);
    status.check();
    m_cursorOpen = returnsRows();
}

void Statement::readRow()
{
    isc_tr_handle* tr = transactionHandle();
    for (int i = 0; i < m_out->count(); ++i) {
        const bool blob = m_out->isBlob(i);
        if (blob)
            m_row[i] = m_out->output(i, m_connection.handle(), tr);
        m_converted[i] = blob;
    }
}

bool Statement::fetch()
{
    if (m_pendingRow) {
        m_pendingRow = false;
        return true;
    }
    if (!m_cursorOpen)
        return false;
    transactionHandle();
    Status status;
    const ISC_STATUS rc = isc_dsql_fetch(status.data(), &m_handle, kDialect, m_out->get());
    if (rc == kEndOfCursor) {
        close();
        return false;
    }
    if (status.failed()) {
        const Error e = status.error();
        close();
        throw e;
    }
    readRow();
    return true;
}

void Statement::close()
{
    m_pendingRow = false;
    if (!m_cursorOpen)
        return;
    m_cursorOpen = false;
    if (!m_handle)
        return;
    // The cursor may already be gone with its transaction; that is not an error here.
    Status status;
    isc_dsql_free_statement(status.data(), &m_handle, DSQL_close);
}

int Statement::rowsAffected()
{
    if (!m_handle || !m_prepared)
        return 0;
    const char items[] = {isc_info_sql_records};
    char buffer[64] = {};
    Status status;
    isc_dsql_sql_info(status.data(), &m_handle, sizeof items, items, sizeof buffer, buffer);
    status.check();
    if (buffer[0] != isc_info_sql_records)
        return 0;
    int total = 0;
    const char* p = buffer + 3;
    const char* end = buffer + sizeof buffer;
    while (p < end && *p != isc_info_end) {
        const char item = *p++;
        const int len = readInfoInt(p, 2);
        p += 2;
        const int count = readInfoInt(p, len);
        p += len;
        if (item == isc_info_req_insert_count || item == isc_info_req_update_count ||
            item == isc_info_req_delete_count)
            total += count;
    }
    return total;
}

int Statement::fieldCount() const
{
    return static_cast<int>(m_fieldNames.size());
}

QString Statement::fieldName(int index) const
{
    return m_fieldNames.at(static_cast<size_t>(index));
}

int Statement::fieldIndex(const QString& name) const
{
    const QString key = name.toUpper();
    for (size_t i = 0; i < m_fieldNames.size(); ++i)
        if (m_fieldNames[i] == key)
            return static_cast<int>(i);
    return -1;
}

QVariant Statement::value(int index) const
{
    const auto i = static_cast<size_t>(index);
    if (!m_converted.at(i)) {
        // Not a blob: no handles needed.
        m_row[i] = m_out->output(index, nullptr, nullptr);
        m_converted[i] = 1;
    }
    return m_row[i];
}

QVariant Statement::valueOnce(int index) const
{
    const auto i = static_cast<size_t>(index);
    return m_converted.at(i) ? m_row[i] : m_out->output(index, nullptr, nullptr);
}

std::optional<QByteArrayView> Statement::textIfAny(int index) const
{
    // Blobs are read at the fetch and kept converted.
    if (m_converted.at(static_cast<size_t>(index)))
        return std::nullopt;
    return m_out->textBytes(index);
}

QVariant Statement::value(const QString& name) const
{
    const int i = fieldIndex(name);
    if (i < 0)
        throw usageError(QStringLiteral("Field ") + name + QStringLiteral(" not found"));
    return value(i);
}

bool Statement::isNull(int index) const
{
    const auto i = static_cast<size_t>(index);
    return m_converted.at(i) ? m_row[i].isNull() : m_out->isNull(index);
}

int Statement::intValue(int index) const
{
    const auto i = static_cast<size_t>(index);
    if (!m_converted.at(i))
        if (const std::optional<qint64> x = m_out->plainInteger(index))
            return static_cast<int>(*x);
    const QVariant v = value(index);
    return v.isValid() && !v.isNull() ? v.toInt() : 0;
}

QByteArrayView Statement::textBytes(int index) const
{
    const auto i = static_cast<size_t>(index);
    // Before the first row every value is null.
    if ((m_converted.at(i) && m_row[i].isNull()) || m_out->isNull(index))
        return {};
    if (const std::optional<QByteArrayView> bytes = m_out->textBytes(index))
        return *bytes;
    throw usageError(QStringLiteral("Field ") + m_fieldNames.at(i) +
                     QStringLiteral(" is not a CHAR or VARCHAR"));
}

void Statement::releaseHandle() noexcept
{
    m_cursorOpen = false;
    m_pendingRow = false;
    m_prepared = false;
    if (!m_handle)
        return;
    Status status;
    isc_dsql_free_statement(status.data(), &m_handle, DSQL_drop);
    m_handle = 0;
}

} // namespace zf::fb
