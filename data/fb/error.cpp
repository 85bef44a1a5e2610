#include "data/fb/error.h"

#include "util/textcodec.h"

#include <QSet>
#include <QStringList>

#include <algorithm>

namespace zf::fb {

namespace {

// What Firebird 3 reports when two transactions meet on the same rows: a deadlock or a lock
// wait that ran out comes as isc_deadlock with isc_update_conflict or isc_read_conflict behind
// it; isc_lock_conflict and isc_lock_timeout come from no-wait transactions and table locks.
constexpr ISC_STATUS kLockConflictCodes[] = {isc_deadlock, isc_lock_conflict, isc_update_conflict,
                                             isc_lock_timeout, isc_read_conflict};

QString interpret(const ISC_STATUS* vector)
{
    QString text;
    const ISC_STATUS* p = vector;
    char buffer[1024];
    while (fb_interpret(buffer, sizeof buffer, &p) > 0) {
        if (!text.isEmpty())
            text += QLatin1Char('\n');
        text += fromCp1250(QByteArray(buffer));
    }
    return text;
}

bool isLockConflictCode(ISC_STATUS code) noexcept
{
    return std::find(std::begin(kLockConflictCodes), std::end(kLockConflictCodes), code) !=
           std::end(kLockConflictCodes);
}

} // namespace

bool Error::isLockConflict() const noexcept
{
    return m_sqlCode == kDeadlock ||
           std::any_of(m_gdsCodes.begin(), m_gdsCodes.end(), isLockConflictCode);
}

bool isLockConflictMessage(const QString& message)
{
    // The client library words each code the same way every time, so the texts of the codes
    // themselves are what to look for.
    static const QSet<QString> texts = [] {
        QSet<QString> set;
        for (const ISC_STATUS code : kLockConflictCodes) {
            const ISC_STATUS vector[] = {isc_arg_gds, code, isc_arg_end};
            set.insert(interpret(vector).trimmed());
        }
        set.remove(QString());
        return set;
    }();
    const QStringList lines = message.split(QLatin1Char('\n'));
    return std::any_of(lines.begin(), lines.end(),
                       [](const QString& line) { return texts.contains(line.trimmed()); });
}

bool isLockConflict(const zf::Exception& e)
{
    if (const auto* engine = dynamic_cast<const Error*>(&e))
        return engine->isLockConflict();
    return isLockConflictMessage(e.message());
}

QString Status::message() const
{
    return interpret(m_vector);
}

std::vector<ISC_STATUS> Status::codes() const
{
    std::vector<ISC_STATUS> codes;
    const ISC_STATUS* p = m_vector;
    const ISC_STATUS* const end = m_vector + ISC_STATUS_LENGTH;
    while (p < end && *p != isc_arg_end && *p != isc_arg_warning) {
        switch (*p) {
        case isc_arg_gds:
            if (p + 1 < end)
                codes.push_back(p[1]);
            p += 2;
            break;
        case isc_arg_cstring: // length and pointer
            p += 3;
            break;
        default: // one argument: a string, a number, an SQLSTATE ...
            p += 2;
            break;
        }
    }
    return codes;
}

Error Status::error() const
{
    return Error(message(), static_cast<int>(isc_sqlcode(m_vector)), codes());
}

void Status::check() const
{
    if (failed())
        throw error();
}

} // namespace zf::fb
