#pragma once

#include "util/exception.h"

#include <ibase.h>

namespace zf::fb {

// A failure reported by the engine: its message lines and SQLCODE.
class Error : public zf::Exception
{
public:
    Error(const QString& message, int sqlCode, ISC_STATUS gdsCode)
        : zf::Exception(message), m_sqlCode(sqlCode), m_gdsCode(gdsCode)
    {
    }

    int sqlCode() const noexcept { return m_sqlCode; }
    ISC_STATUS gdsCode() const noexcept { return m_gdsCode; }
    bool isDuplicateKey() const noexcept { return m_sqlCode == kDuplicateKey; }

    static constexpr int kDuplicateKey = -803;

private:
    int m_sqlCode;
    ISC_STATUS m_gdsCode;
};

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
    Error error() const;

private:
    ISC_STATUS_ARRAY m_vector{};
};

} // namespace zf::fb
