#pragma once

#include "data/fb/connection.h"

#include <ibase.h>

#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <optional>
#include <vector>

namespace zf::fb {

class Transaction;
class Descriptor;

// One SQL statement on a connection, prepared in dialect 1, with parameters bound by name.
// Values come back as QVariant: null as an invalid QVariant, integers as qlonglong, scaled and
// floating numbers as double, texts (Windows-1250 in the database) as QString, timestamps as
// QDateTime, dates as QDate, times as QTime, text blobs as QString and other blobs as QByteArray.
class Statement final : public StatementHandleOwner
{
public:
    Statement(Connection& connection, Transaction* transaction = nullptr);
    ~Statement() override;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void setTransaction(Transaction* transaction);
    Transaction* transaction() const { return m_transaction; }

    // Replacing the text closes and unprepares the statement and forgets parameter values.
    void setSql(const QString& sql);
    const QString& sql() const { return m_sql; }

    // With parameter checking off the text goes to the engine unchanged (needed for procedure
    // bodies, whose ":variables" are not parameters).
    void setParamCheck(bool on);

    void prepare();
    bool isPrepared() const { return m_handle != 0 && m_prepared; }

    // Parameter names, upper case, each once, in order of first appearance.
    QStringList paramNames() const;
    bool hasParam(const QString& name) const;
    // Throws Error when the statement has no such parameter.
    void setParam(const QString& name, const QVariant& value);
    QVariant param(const QString& name) const;
    void clearParams();

    // Prepares when needed, binds the parameters and executes. A select opens its cursor.
    void execute();
    // The next row of a select (or the one row of an executed procedure); false at the end.
    bool fetch();
    // Closes an open cursor; safe to call at any time.
    void close();
    bool isOpen() const { return m_cursorOpen || m_pendingRow; }
    bool returnsRows() const;
    // Rows inserted, updated or deleted by the last execution.
    int rowsAffected();

    int fieldCount() const;
    QString fieldName(int index) const;
    int fieldIndex(const QString& name) const; // -1 when there is none
    // The current row's values, converted when first asked for (blobs are read at the fetch,
    // while the transaction is sure to be active).
    QVariant value(int index) const;
    QVariant value(const QString& name) const; // throws Error on an unknown field
    // The same, converted afresh without being kept: for copying each row once.
    QVariant valueOnce(int index) const;
    // A CHAR or VARCHAR value's stored bytes; nothing for a null or a value of another type.
    std::optional<QByteArrayView> textIfAny(int index) const;
    // The same, read in place without a QVariant, for loops over many rows.
    bool isNull(int index) const;
    // What toInt(value(index)) gives: 0 for null.
    int intValue(int index) const;
    // A text field's bytes as stored (Windows-1250, CHAR padding removed), valid until the next
    // fetch; a null view for null. Throws Error for any other type of field.
    QByteArrayView textBytes(int index) const;

    void releaseHandle() noexcept override;

private:
    void ensureHandle();
    void bindParams();
    void readRow();
    isc_tr_handle* transactionHandle();

    Connection& m_connection;
    Transaction* m_transaction;
    QString m_sql;
    bool m_paramCheck = true;
    QStringList m_positionalNames;
    QHash<QString, QVariant> m_params;

    isc_stmt_handle m_handle = 0;
    bool m_prepared = false;
    int m_statementType = 0;
    bool m_cursorOpen = false;
    bool m_pendingRow = false;
    std::unique_ptr<Descriptor> m_in;
    std::unique_ptr<Descriptor> m_out;
    // The row converted so far: a column's value is built on first use after each fetch.
    mutable std::vector<QVariant> m_row;
    mutable std::vector<char> m_converted;
    std::vector<QString> m_fieldNames;
};

} // namespace zf::fb
