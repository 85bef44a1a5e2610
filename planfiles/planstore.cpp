#include "planfiles/planstore.h"

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
constexpr int kSingleDayChars = 2 * 366 * 8 + 1;

// One employee's store, in the order the statements of one save take: the stamp first, then
// his chosen and his fixed days replaced. D is the days as daysText gives them.
// The variables in the statements are written ": NAME", apart, as PSQL allows: the data layer
// would take ":NAME" for a parameter of the block.
const QString kStorePlan = QStringLiteral(R"(
  DECLARE PROCEDURE ZF_STORE_PLAN (Y INTEGER, K VARCHAR(20), S INTEGER, D %1)
  AS
    DECLARE I INTEGER = 1;
    DECLARE FIXED INTEGER;
    DECLARE N INTEGER;
  BEGIN
    UPDATE EMPLOYEESSETTINGS SET CHECKSUM = : S WHERE IDYEAR = : Y AND IDEMPLOYEE = : K;
    DELETE FROM EMPLOYEEHOLIDAYS WHERE IDYEAR = : Y AND IDEMPLOYEE = : K;
    FIXED = POSITION('/' IN D);
    WHILE (I < FIXED) DO
    BEGIN
      INSERT INTO EMPLOYEEHOLIDAYS (IDYEAR, IDEMPLOYEE, SELECTEDDAY)
        VALUES (: Y, : K, CAST(SUBSTRING(: D FROM : I FOR 8) AS INTEGER));
      I = I + 8;
    END
    DELETE FROM EMPLOYEECONSTDAYS WHERE IDYEAR = : Y AND IDEMPLOYEE = : K;
    I = FIXED + 1;
    N = CHAR_LENGTH(D);
    WHILE (I <= N) DO
    BEGIN
      INSERT INTO EMPLOYEECONSTDAYS (IDYEAR, IDEMPLOYEE, SELECTEDDAY)
        VALUES (: Y, : K, CAST(SUBSTRING(: D FROM : I FOR 8) AS INTEGER));
      I = I + 8;
    END
  END
)");

QString blockSql(int slotCount, int dayChars)
{
    const QString days = QStringLiteral("VARCHAR(%1)").arg(dayChars);
    QString inputs = QStringLiteral("EXECUTE BLOCK (Y INTEGER = :Y");
    QString calls;
    for (int i = 0; i < slotCount; ++i) {
        inputs += QStringLiteral(",\n  K%1 VARCHAR(20) = :K%1, S%1 INTEGER = :S%1, D%1 %2 = :D%1")
                      .arg(i)
                      .arg(days);
        calls += QStringLiteral(
                     "  IF (K%1 IS NOT NULL) THEN EXECUTE PROCEDURE ZF_STORE_PLAN (Y, K%1, S%1, "
                     "D%1);\n")
                     .arg(i);
    }
    return inputs + QStringLiteral(")\nAS") + kStorePlan.arg(days) + QStringLiteral("BEGIN\n") +
           calls + QStringLiteral("END");
}

// The chosen days, "/", the fixed days; each date number in its eight digits.
QByteArray daysText(const QList<int>& chosen, const QList<int>& fixed)
{
    QByteArray text;
    text.reserve((chosen.size() + fixed.size()) * 8 + 1);
    for (const int day : chosen)
        text += QByteArray::number(day).rightJustified(8, '0');
    text += '/';
    for (const int day : fixed)
        text += QByteArray::number(day).rightJustified(8, '0');
    return text;
}

// An error inside the block ends with where in the block it happened; the clerk and the log get
// the engine's text as the same statements outside a block give it.
QString withoutBlockLines(const QString& message)
{
    QStringList lines = message.split(QLatin1Char('\n'));
    lines.removeIf([](const QString& line) {
        return line.startsWith(QLatin1String("At sub procedure 'ZF_STORE_PLAN'")) ||
               line.startsWith(QLatin1String("At block line:"));
    });
    return lines.join(QLatin1Char('\n'));
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
    m_pending.push_back(Pending{key, text, stamp, daysText(chosen, fixed)});
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
                    failure = withoutBlockLines(e.message());
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
