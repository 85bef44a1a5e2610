#include "data/fb/descriptor.h"

#include "data/fb/error.h"
#include "util/textcodec.h"

#include <QDateTime>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <limits>

namespace zf::fb {

namespace {

constexpr short kTextSubTypeBlob = 1;
constexpr int kSegment = 32000;

XSQLDA* allocate(int n)
{
    auto* da = static_cast<XSQLDA*>(std::calloc(1, XSQLDA_LENGTH(n)));
    if (!da)
        throw std::bad_alloc();
    da->version = SQLDA_VERSION1;
    da->sqln = static_cast<ISC_SHORT>(n);
    return da;
}

QDateTime fromTimestamp(const ISC_TIMESTAMP& ts)
{
    std::tm t{};
    isc_decode_timestamp(const_cast<ISC_TIMESTAMP*>(&ts), &t);
    const int ms = static_cast<int>((ts.timestamp_time % 10000) / 10);
    return QDateTime(QDate(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday),
                     QTime(t.tm_hour, t.tm_min, t.tm_sec, ms));
}

ISC_TIMESTAMP toTimestamp(const QDateTime& dt)
{
    std::tm t{};
    t.tm_year = dt.date().year() - 1900;
    t.tm_mon = dt.date().month() - 1;
    t.tm_mday = dt.date().day();
    t.tm_hour = dt.time().hour();
    t.tm_min = dt.time().minute();
    t.tm_sec = dt.time().second();
    ISC_TIMESTAMP ts;
    isc_encode_timestamp(&t, &ts);
    ts.timestamp_time += static_cast<ISC_TIME>(dt.time().msec() * 10);
    return ts;
}

QByteArray readBlob(ISC_QUAD id, isc_db_handle* db, isc_tr_handle* tr)
{
    Status status;
    isc_blob_handle blob = 0;
    isc_open_blob2(status.data(), db, tr, &blob, &id, 0, nullptr);
    status.check();
    QByteArray data;
    char buffer[kSegment];
    for (;;) {
        unsigned short got = 0;
        const ISC_STATUS rc =
            isc_get_segment(status.data(), &blob, &got, sizeof buffer, buffer);
        if (rc == 0 || rc == isc_segment) {
            data.append(buffer, got);
            continue;
        }
        if (rc == isc_segstr_eof)
            break;
        Status closeStatus;
        isc_close_blob(closeStatus.data(), &blob);
        status.check();
        break;
    }
    isc_close_blob(status.data(), &blob);
    status.check();
    return data;
}

ISC_QUAD writeBlob(const QByteArray& data, isc_db_handle* db, isc_tr_handle* tr)
{
    Status status;
    isc_blob_handle blob = 0;
    ISC_QUAD id{};
    isc_create_blob2(status.data(), db, tr, &blob, &id, 0, nullptr);
    status.check();
    for (qsizetype pos = 0; pos < data.size(); pos += kSegment) {
        const auto len = static_cast<unsigned short>(qMin<qsizetype>(kSegment, data.size() - pos));
        isc_put_segment(status.data(), &blob, len, data.constData() + pos);
        if (status.failed()) {
            Status cancelStatus;
            isc_cancel_blob(cancelStatus.data(), &blob);
            status.check();
        }
    }
    isc_close_blob(status.data(), &blob);
    status.check();
    return id;
}

QVariant numeric(qint64 raw, short scale)
{
    if (scale == 0)
        return QVariant::fromValue<qlonglong>(raw);
    return QVariant(static_cast<double>(raw) * std::pow(10.0, scale));
}

} // namespace

Descriptor::Descriptor(int capacity) : m_da(allocate(qMax(1, capacity))) {}

Descriptor::~Descriptor()
{
    std::free(m_da);
}

bool Descriptor::ensureCapacity(int n)
{
    if (n <= m_da->sqln)
        return false;
    std::free(m_da);
    m_da = allocate(n);
    return true;
}

void Descriptor::allocateOutputBuffers()
{
    const int n = count();
    m_buffers.assign(static_cast<size_t>(n), QByteArray());
    m_indicators.assign(static_cast<size_t>(n), 0);
    for (int i = 0; i < n; ++i) {
        XSQLVAR& v = var(i);
        const int type = v.sqltype & ~1;
        int size = v.sqllen;
        if (type == SQL_VARYING)
            size += 2;
        m_buffers[i] = QByteArray(qMax(size, 1), '\0');
        v.sqldata = m_buffers[i].data();
        v.sqlind = &m_indicators[i];
        v.sqltype = static_cast<ISC_SHORT>(type | 1); // always ask for the null indicator
    }
}

void Descriptor::setInput(int i, const QVariant& value, isc_db_handle* db, isc_tr_handle* tr)
{
    const int n = count();
    if (m_describedType.size() != static_cast<size_t>(n)) {
        m_describedType.resize(n);
        m_describedSubType.resize(n);
        m_describedScale.resize(n);
        m_buffers.assign(static_cast<size_t>(n), QByteArray());
        m_indicators.assign(static_cast<size_t>(n), 0);
        for (int k = 0; k < n; ++k) {
            m_describedType[k] = static_cast<short>(var(k).sqltype & ~1);
            m_describedSubType[k] = var(k).sqlsubtype;
            m_describedScale[k] = var(k).sqlscale;
        }
    }
    XSQLVAR& v = var(i);
    const short described = m_describedType[i];
    QByteArray& buf = m_buffers[i];
    ISC_SHORT& ind = m_indicators[i];
    v.sqlind = &ind;
    v.sqlscale = 0;
    v.sqlsubtype = 0;

    auto setRaw = [&](short type, const void* data, int len) {
        buf = QByteArray(static_cast<const char*>(data), len);
        v.sqltype = static_cast<ISC_SHORT>(type | 1);
        v.sqllen = static_cast<ISC_SHORT>(len);
        v.sqldata = buf.data();
        ind = 0;
    };
    auto setText = [&](const QByteArray& bytes) {
        if (described == SQL_BLOB) {
            const ISC_QUAD id = writeBlob(bytes, db, tr);
            setRaw(SQL_BLOB, &id, sizeof id);
            v.sqlsubtype = m_describedSubType[i];
            return;
        }
        if (bytes.size() > std::numeric_limits<ISC_SHORT>::max())
            throw Error(QStringLiteral("Text parameter is too long"), 0, 0);
        setRaw(SQL_TEXT, bytes.constData(), static_cast<int>(bytes.size()));
        if (described == SQL_TEXT || described == SQL_VARYING)
            v.sqlsubtype = m_describedSubType[i]; // the column's character set
    };

    if (!value.isValid() || value.isNull()) {
        buf = QByteArray(8, '\0');
        v.sqltype = static_cast<ISC_SHORT>(SQL_LONG | 1);
        v.sqllen = 4;
        v.sqldata = buf.data();
        ind = -1;
        return;
    }
    switch (value.metaType().id()) {
    case QMetaType::Bool:
        if (described == SQL_BOOLEAN) {
            const char b = value.toBool() ? 1 : 0;
            setRaw(SQL_BOOLEAN, &b, 1);
        } else {
            const ISC_LONG l = value.toBool() ? 1 : 0;
            setRaw(SQL_LONG, &l, sizeof l);
        }
        break;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort: {
        const qint64 x = value.toLongLong();
        if (described == SQL_TEXT || described == SQL_VARYING) {
            setText(QByteArray::number(x));
        } else if (x >= std::numeric_limits<ISC_LONG>::min() &&
                   x <= std::numeric_limits<ISC_LONG>::max()) {
            const auto l = static_cast<ISC_LONG>(x);
            setRaw(SQL_LONG, &l, sizeof l);
        } else {
            const auto d = static_cast<double>(x);
            setRaw(SQL_DOUBLE, &d, sizeof d);
        }
        break;
    }
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = value.toDouble();
        setRaw(SQL_DOUBLE, &d, sizeof d);
        break;
    }
    case QMetaType::QDate: {
        const ISC_TIMESTAMP ts = toTimestamp(QDateTime(value.toDate(), QTime(0, 0)));
        setRaw(SQL_TIMESTAMP, &ts, sizeof ts);
        break;
    }
    case QMetaType::QDateTime: {
        const ISC_TIMESTAMP ts = toTimestamp(value.toDateTime());
        setRaw(SQL_TIMESTAMP, &ts, sizeof ts);
        break;
    }
    case QMetaType::QByteArray:
        setText(value.toByteArray());
        break;
    default:
        setText(toCp1250(value.toString()));
        break;
    }
}

QVariant Descriptor::output(int i, isc_db_handle* db, isc_tr_handle* tr) const
{
    const XSQLVAR& v = var(i);
    if (v.sqlind && *v.sqlind < 0)
        return {};
    const int type = v.sqltype & ~1;
    const char* d = v.sqldata;
    switch (type) {
    case SQL_TEXT:
    case SQL_VARYING:
        return fromCp1250(*textBytes(i));
    case SQL_SHORT: {
        ISC_SHORT x;
        std::memcpy(&x, d, sizeof x);
        return numeric(x, v.sqlscale);
    }
    case SQL_LONG: {
        ISC_LONG x;
        std::memcpy(&x, d, sizeof x);
        return numeric(x, v.sqlscale);
    }
    case SQL_INT64: {
        ISC_INT64 x;
        std::memcpy(&x, d, sizeof x);
        return numeric(x, v.sqlscale);
    }
    case SQL_FLOAT: {
        float x;
        std::memcpy(&x, d, sizeof x);
        return static_cast<double>(x);
    }
    case SQL_DOUBLE:
    case SQL_D_FLOAT: {
        double x;
        std::memcpy(&x, d, sizeof x);
        return x;
    }
    case SQL_TIMESTAMP: {
        ISC_TIMESTAMP ts;
        std::memcpy(&ts, d, sizeof ts);
        return fromTimestamp(ts);
    }
    case SQL_TYPE_DATE: {
        ISC_TIMESTAMP ts{};
        std::memcpy(&ts.timestamp_date, d, sizeof ts.timestamp_date);
        return fromTimestamp(ts).date();
    }
    case SQL_TYPE_TIME: {
        ISC_TIMESTAMP ts{};
        std::memcpy(&ts.timestamp_time, d, sizeof ts.timestamp_time);
        ts.timestamp_date = 0;
        return fromTimestamp(ts).time();
    }
    case SQL_BOOLEAN:
        return *d != 0;
    case SQL_BLOB: {
        ISC_QUAD id;
        std::memcpy(&id, d, sizeof id);
        const QByteArray data = readBlob(id, db, tr);
        if (v.sqlsubtype == kTextSubTypeBlob)
            return fromCp1250(data);
        return data;
    }
    default:
        return {};
    }
}

bool Descriptor::isNull(int i) const
{
    const XSQLVAR& v = var(i);
    return v.sqlind && *v.sqlind < 0;
}

std::optional<qint64> Descriptor::plainInteger(int i) const
{
    const XSQLVAR& v = var(i);
    if (isNull(i) || v.sqlscale != 0)
        return std::nullopt;
    switch (v.sqltype & ~1) {
    case SQL_SHORT: {
        ISC_SHORT x;
        std::memcpy(&x, v.sqldata, sizeof x);
        return x;
    }
    case SQL_LONG: {
        ISC_LONG x;
        std::memcpy(&x, v.sqldata, sizeof x);
        return x;
    }
    case SQL_INT64: {
        ISC_INT64 x;
        std::memcpy(&x, v.sqldata, sizeof x);
        return x;
    }
    default:
        return std::nullopt;
    }
}

std::optional<QByteArrayView> Descriptor::textBytes(int i) const
{
    const XSQLVAR& v = var(i);
    if (isNull(i))
        return std::nullopt;
    switch (v.sqltype & ~1) {
    case SQL_TEXT: {
        qsizetype len = v.sqllen;
        // CHAR columns come padded with blanks; the program compares their values as texts.
        while (len > 0 && v.sqldata[len - 1] == ' ')
            --len;
        return QByteArrayView(v.sqldata, len);
    }
    case SQL_VARYING: {
        ISC_SHORT len = 0;
        std::memcpy(&len, v.sqldata, sizeof len);
        return QByteArrayView(v.sqldata + 2, len);
    }
    default:
        return std::nullopt;
    }
}

} // namespace zf::fb
