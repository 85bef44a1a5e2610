#pragma once

#include "util/exception.h"

#include <ibase.h>

#include <vector>

namespace zf::fb {

// A failure reported by the engine: its message lines, SQLCODE and the codes of its status
// vector, the first (the main one) in front.
class Error : public zf::Exception
{
public:
    Error(const QString& message, int sqlCode, ISC_STATUS gdsCode)
        : Error(message, sqlCode,
                gdsCode ? std::vector<ISC_STATUS>{gdsCode} : std::vector<ISC_STATUS>{})
    {
    }
    Error(const QString& message, int sqlCode, std::vector<ISC_STATUS> gdsCodes)
        : zf::Exception(message), m_sqlCode(sqlCode), m_gdsCodes(std::move(gdsCodes))
    {
    }

    int sqlCode() const noexcept { return m_sqlCode; }
    ISC_STATUS gdsCode() const noexcept { return m_gdsCodes.empty() ? 0 : m_gdsCodes.front(); }
    const std::vector<ISC_STATUS>& gdsCodes() const noexcept { return m_gdsCodes; }
    bool isDuplicateKey() const noexcept { return m_sqlCode == kDuplicateKey; }
    // Another transaction held or changed the same rows: a deadlock, an update conflict, or a
    // lock wait that ran out. Trying again once the other copy has finished can succeed.
    bool isLockConflict() const noexcept;

    static constexpr int kDuplicateKey = -803;
    // SQLCODE of a deadlock or an update conflict.
    static constexpr int kDeadlock = -913;

private:
    int m_sqlCode;
    std::vector<ISC_STATUS> m_gdsCodes;
};

// By the codes for an engine error, by the text for any other exception.
bool isLockConflict(const zf::Exception& e);

// Whether an engine message, as Error::message() gives it, tells of a lock conflict: one of its
// lines is the engine's text of a lock-conflict code. For reports that get only the text.
bool isLockConflictMessage(const QString& message);

// Status vector of one call to the client library.
class Status
{
public:
    ISC_STATUS* data() { return m_vector; }
    bool failed() const { return m_vector[0] == 1 && m_vector[1] != 0; }
    // Throws Error when the call failed.
    void check() const;
    // The engine's message lines joined by line breaks.
    QString message() const;
    // The error codes in their order (warnings after them are left out).
    std::vector<ISC_STATUS> codes() const;
    Error error() const;

private:
    ISC_STATUS_ARRAY m_vector{};
};

} // namespace zf::fb
