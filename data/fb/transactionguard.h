#pragma once

#include "data/fb/transaction.h"

namespace zf::fb {

// Starts a transaction (rolling back one left active) and rolls it back when it goes out of
// scope without commit(), so no error path leaves a transaction open.
class TransactionGuard
{
public:
    explicit TransactionGuard(Transaction& t) : m_t(t)
    {
        m_t.rollbackQuietly();
        m_t.start();
    }
    ~TransactionGuard() { m_t.rollbackQuietly(); }
    TransactionGuard(const TransactionGuard&) = delete;
    TransactionGuard& operator=(const TransactionGuard&) = delete;

    void commit() { m_t.commit(); }
    Transaction& transaction() { return m_t; }

private:
    Transaction& m_t;
};

} // namespace zf::fb
