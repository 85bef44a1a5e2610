#pragma once

#include "data/fb/statement.h"
#include "data/fb/transaction.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QString>

#include <memory>
#include <vector>

namespace zf {

class TmyDataBase;

// What one PlanStore::flush did.
struct PlanStoreResult
{
    int stored = 0; // employees stored and committed
    bool failed = false;
    QString stoppedAt; // the first employee not stored
    QString message;   // the engine's, as the clerk is told it
};

// The import's writes: the plans read are gathered and stored in chunks, a chunk by one
// statement (an EXECUTE BLOCK prepared once per run, with a slot per employee: key, stamp and
// the days as a string the block takes apart) and committed with it, so the round trips to the
// server grow with the chunks, not with the employees or their days.
//
// Each employee's part of the block updates his stamp first (his row of the plan, so that a
// clerk saving him meanwhile waits, or is waited for, and the days stored are whole), then
// replaces his chosen and fixed days. A statement is stored whole or not at all: when a chunk
// fails, its employees are stored again one by one through the one-employee form of the block
// (also taken by an employee with more days than a slot holds), which keeps those before the
// failing one and finds him.
//
// The transaction is the run's own, with the module's write parameters: read committed,
// waiting its time for a row another clerk holds and then going on with it. Its own, so that
// nothing else using the module's transactions while the progress window lets events through
// can end the employees not yet committed.
class PlanStore
{
public:
    // A chunk is stored and committed at this many employees, or when the first of it waits
    // this long, so that the locks on other clerks' rows are held briefly.
    static constexpr int kEmployeesPerCommit = 50;
    static constexpr int kMsPerCommit = 250;

    PlanStore(TmyDataBase& db, int year);
    ~PlanStore();
    PlanStore(const PlanStore&) = delete;
    PlanStore& operator=(const PlanStore&) = delete;

    // One employee's plan as read from his file: the days are date numbers (yyyymmdd), each
    // once; `text` is "Name Surname (key)", as the clerk is told of him.
    void add(const QString& key, const QString& text, int stamp, const QList<int>& chosen,
             const QList<int>& fixed);
    int pending() const { return static_cast<int>(m_pending.size()); }
    // The chunk is full or has waited long enough.
    bool isDue() const;
    // Stores the employees gathered and commits them; on a failure those before the failing
    // employee are stored and committed, he and those after him are not.
    PlanStoreResult flush();
    // The statements the flushes ran: a chunk's, or an employee's alone.
    int statements() const { return m_statements; }

private:
    struct Form;
    struct Pending
    {
        QString key;
        QString text;
        int stamp = 0;
        QByteArray days; // as the block takes them
    };
    // One statement for the employees [from, to) of `plans`, at most a chunk's slots.
    void storeChunk(const std::vector<Pending>& plans, std::size_t from, std::size_t to);
    void storeOne(const Pending& plan);
    Form& form(std::unique_ptr<Form>& f, int slotCount, int dayChars);

    int m_year;
    TmyDataBase& m_db;
    fb::Transaction m_transaction;
    std::unique_ptr<Form> m_chunk;
    std::unique_ptr<Form> m_single;
    std::vector<Pending> m_pending;
    QElapsedTimer m_sinceFirst;
    int m_statements = 0;
};

} // namespace zf
