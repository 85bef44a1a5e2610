#pragma once

#include <ibase.h>

#include <QByteArray>
#include <QByteArrayView>
#include <QVariant>

#include <optional>
#include <vector>

namespace zf::fb {

// An XSQLDA with buffers for each of its variables.
class Descriptor
{
public:
    explicit Descriptor(int capacity = 8);
    ~Descriptor();
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    XSQLDA* get() { return m_da; }
    int count() const { return m_da->sqld; }
    int capacity() const { return m_da->sqln; }
    // Grows to hold `n` variables; returns true when it had to (the caller describes again).
    bool ensureCapacity(int n);
    XSQLVAR& var(int i) { return m_da->sqlvar[i]; }
    const XSQLVAR& var(int i) const { return m_da->sqlvar[i]; }

    // Output: a buffer per described variable.
    void allocateOutputBuffers();
    // Input: sets variable i to the value, converted to a type the engine accepts for the
    // described parameter. Blob parameters are created through the given handles.
    void setInput(int i, const QVariant& value, isc_db_handle* db, isc_tr_handle* tr);
    // Output: the value of variable i; blobs are read through the given handles.
    QVariant output(int i, isc_db_handle* db, isc_tr_handle* tr) const;
    // Output, read in place for the fetch loops that must not build a QVariant per value.
    bool isNull(int i) const;
    bool isBlob(int i) const { return (var(i).sqltype & ~1) == SQL_BLOB; }
    // An integer column without scale; nothing for null or any other type.
    std::optional<qint64> plainInteger(int i) const;
    // A text column's bytes as stored (Windows-1250), CHAR padding removed as output() does;
    // nothing for null or any other type. Valid until the next fetch.
    std::optional<QByteArrayView> textBytes(int i) const;

private:
    XSQLDA* m_da = nullptr;
    std::vector<QByteArray> m_buffers;
    std::vector<ISC_SHORT> m_indicators;
    std::vector<short> m_describedType; // input: the type the engine described
    std::vector<short> m_describedSubType;
    std::vector<short> m_describedScale;
};

} // namespace zf::fb
