#include "planfiles/planstore.h"

#include "data/daysblock.h"
#include "data/mydatabase.h"
#include "util/exception.h"

#include <QStringList>

#include <utility>

namespace zf {

namespace {

// A chunk is one commit's employees. The engine takes an input message of at most 64 KB: each
// slot holds the days' VARCHAR, the key's VARCHAR(20), the stamp, their null flags and room for
// alignment, which leaves a slot about 140 days (eight characters each).
constexpr int kSlots = PlanStore::kEmployeesPerCommit;
constexpr int kChunkDayChars = 1150;
constexpr int kSlotBytes = (kChunkDayChars + 2) + (20 + 2) + 4 + 3 * 2 + 6;
static_assert(kSlots * kSlotBytes + 16 < 64 * 1024, "a chunk must fit the input message");
// The one-employee form holds every day of a year twice.
constexpr int kSingleDayChars = daysblock::kYearDaysChars;

QString blockSql(int slotCount, int dayChars)
{
    const QString days = QStringLiteral("VARCHAR(%1)").arg(dayChars);
    QString inputs = QStringLiteral("EXECUTE BLOCK (Y INTEGER = :Y");
    QString calls;
    for (int i = 0; i < slotCount; ++i) {
        inputs += QStringLiteral(",\n  K%1 VARCHAR(20) = :K%1, S%1 INTEGER = :S%1, D%1 %2 = :D%1")
                      .arg(i)
                      .arg(days);
        // The stamp first: it takes his row of the plan, so that a clerk saving him meanwhile
        // waits, or is waited for, and the days stored are whole.
        calls += QStringLiteral("  IF (K%1 IS NOT NULL) THEN BEGIN\n"
                                "    UPDATE EMPLOYEESSETTINGS SET CHECKSUM = : S%1 WHERE IDYEAR = : Y "
                                "AND IDEMPLOYEE = : K%1;\n"
                                "    EXECUTE PROCEDURE ZF_REPLACE_DAYS (Y, K%1, D%1);\n"
                                "  END\n")
                     .arg(i);
    }
    return inputs + QStringLiteral(")\nAS") + daysblock::ReplaceDaysProcedure(days) +
           QStringLiteral("BEGIN\n") + calls + QStringLiteral("END");
}

} // namespace

struct PlanStore::Form
{
    Form(fb::Connection& connection, fb::Transaction* transaction, int slotCount, int dayChars)
        : statement(connection, transaction), dayChars(dayChars)
    {
        statement.setSql(blockSql(slotCount, dayChars));
        for (int i = 0; i < slotCount; ++i) {
            keys << QStringLiteral("K%1").arg(i);
            stamps << QStringLiteral("S%1").arg(i);
            days << QStringLiteral("D%1").arg(i);
        }
    }

    fb::Statement statement;
    int dayChars;
    QStringList keys;
    QStringList stamps;
    QStringList days;
};

PlanStore::PlanStore(TmyDataBase& db, int year)
    : m_year(year), m_db(db), m_transaction(db.FBDataBase, db.DBFTransaction.parameters())
{
}

PlanStore::~PlanStore()
{
    m_transaction.rollbackQuietly();
}

void PlanStore::add(const QString& key, const QString& text, int stamp, const QList<int>& chosen,
                    const QList<int>& fixed)
{
    if (m_pending.empty())
        m_sinceFirst.start();
    m_pending.push_back(Pending{key, text, stamp, daysblock::DaysText(chosen, fixed)});
}

bool PlanStore::isDue() const
{
    return pending() >= kEmployeesPerCommit ||
           (!m_pending.empty() && m_sinceFirst.elapsed() >= kMsPerCommit);
}

PlanStore::Form& PlanStore::form(std::unique_ptr<Form>& f, int slotCount, int dayChars)
{
    if (!f)
        f = std::make_unique<Form>(m_db.FBDataBase, &m_transaction, slotCount, dayChars);
    return *f;
}

void PlanStore::storeChunk(const std::vector<Pending>& plans, std::size_t from, std::size_t to)
{
    Form& f = form(m_chunk, kSlots, kChunkDayChars);
    f.statement.setParam(QStringLiteral("Y"), m_year);
    for (int slot = 0; slot < kSlots; ++slot) {
        const std::size_t i = from + static_cast<std::size_t>(slot);
        const bool used = i < to;
        f.statement.setParam(f.keys.at(slot), used ? QVariant(plans[i].key) : QVariant());
        f.statement.setParam(f.stamps.at(slot), used ? QVariant(plans[i].stamp) : QVariant());
        f.statement.setParam(f.days.at(slot), used ? QVariant(plans[i].days) : QVariant());
    }
    ++m_statements;
    f.statement.execute();
}

void PlanStore::storeOne(const Pending& plan)
{
    Form& f = form(m_single, 1, kSingleDayChars);
    f.statement.setParam(QStringLiteral("Y"), m_year);
    f.statement.setParam(f.keys.at(0), plan.key);
    f.statement.setParam(f.stamps.at(0), plan.stamp);
    f.statement.setParam(f.days.at(0), plan.days);
    ++m_statements;
    f.statement.execute();
}

PlanStoreResult PlanStore::flush()
{
    PlanStoreResult result;
    if (m_pending.empty())
        return result;
    const std::vector<Pending> plans = std::exchange(m_pending, {});
    const std::size_t n = plans.size();
    std::size_t failedAt = n;
    QString failure;
    try {
        if (!m_transaction.isActive())
            m_transaction.start();
        std::size_t from = 0;
        while (from < n && failedAt == n) {
            std::size_t to = from;
            while (to < n && to - from < static_cast<std::size_t>(kSlots) &&
                   plans[to].days.size() <= kChunkDayChars)
                ++to;
            if (to > from) {
                try {
                    storeChunk(plans, from, to);
                    from = to;
                    continue;
                } catch (const Exception&) {
                    // Nothing of the chunk stayed: one by one, to keep those before the one
                    // that fails.
                }
            } else {
                to = from + 1; // more days than a slot holds
            }
            for (; from < to; ++from) {
                try {
                    storeOne(plans[from]);
                } catch (const Exception& e) {
                    failedAt = from;
                    failure = daysblock::WithoutBlockLines(e.message());
                    break;
                }
            }
        }
        m_transaction.commit();
    } catch (const Exception& e) {
        // Not started or not committed: none of them stored.
        m_transaction.rollbackQuietly();
        result.failed = true;
        result.stoppedAt = plans.front().text;
        result.message = e.message();
        return result;
    }
    result.stored = static_cast<int>(failedAt);
    if (failedAt < n) {
        result.failed = true;
        result.stoppedAt = plans[failedAt].text;
        result.message = failure;
    }
    return result;
}

} // namespace zf
