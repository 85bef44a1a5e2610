// The data-access layer against a real embedded database.
#include "data/fb/connection.h"
#include "data/fb/dataset.h"
#include "data/fb/datasetmodel.h"
#include "data/fb/error.h"
#include "data/fb/statement.h"
#include "data/fb/transaction.h"
#include "data/fb/transactionguard.h"
#include "tests/support/test_database.h"
#include "util/textcodec.h"

#include <QAbstractItemModelTester>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>

namespace zf::fb {
namespace {

const QString kPolish = QStringLiteral("Zażółć gęślą jaźń ZAŻÓŁĆ GĘŚLĄ JAŹŃ");
const QString kUser = QStringLiteral("SYSDBA");
const QString kPassword = QStringLiteral("lanternox");

class FbTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        path = dir.path() + QStringLiteral("/fb.fdb");
        zf::test::createDatabaseFile(
            path, {QStringLiteral("CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, "
                                  "TXT VARCHAR(60), NUM DOUBLE PRECISION, TS DATE, "
                                  "FLAG CHAR(1), MEMO BLOB SUB_TYPE 1, RAW BLOB SUB_TYPE 0)"),
                   QStringLiteral("/* */")});
        db.attach(path, kUser, kPassword);
    }

    void exec(const QString& sql, const std::vector<std::pair<QString, QVariant>>& params = {})
    {
        Transaction t(db, tpb::engineDefaults());
        TransactionGuard g(t);
        Statement st(db, &t);
        st.setSql(sql);
        for (const auto& [n, v] : params)
            st.setParam(n, v);
        st.execute();
        g.commit();
    }

    QTemporaryDir dir;
    QString path;
    Connection db;
};

TEST_F(FbTest, ValuesRoundTripWithTheirTypes)
{
    const QDateTime when(QDate(2024, 3, 15), QTime(13, 45, 10));
    QByteArray raw("\x00\x01\xff\x80zero", 8);
    const QString longMemo = QString(70000, QLatin1Char('x')) + kPolish;
    exec(QStringLiteral("INSERT INTO T (ID, TXT, NUM, TS, FLAG, MEMO, RAW) VALUES "
                        "(:ID, :TXT, :NUM, :TS, :FLAG, :MEMO, :RAW)"),
         {{QStringLiteral("ID"), 1},
          {QStringLiteral("TXT"), kPolish},
          {QStringLiteral("NUM"), 2.5},
          {QStringLiteral("TS"), when},
          {QStringLiteral("FLAG"), QStringLiteral("T")},
          {QStringLiteral("MEMO"), longMemo},
          {QStringLiteral("RAW"), raw}});
    exec(QStringLiteral("INSERT INTO T (ID) VALUES (:ID)"), {{QStringLiteral("id"), 2}});

    Transaction t(db, tpb::readOnlyReadCommitted());
    t.start();
    Statement st(db, &t);
    st.setSql(QStringLiteral("SELECT ID, TXT, NUM, TS, FLAG, MEMO, RAW FROM T ORDER BY ID"));
    st.execute();
    ASSERT_TRUE(st.fetch());
    EXPECT_EQ(st.value(QStringLiteral("ID")).toLongLong(), 1);
    EXPECT_EQ(st.value(QStringLiteral("TXT")).toString(), kPolish);
    EXPECT_DOUBLE_EQ(st.value(QStringLiteral("NUM")).toDouble(), 2.5);
    EXPECT_EQ(st.value(QStringLiteral("TS")).toDateTime(), when);
    EXPECT_EQ(st.value(QStringLiteral("flag")).toString(), QStringLiteral("T"));
    EXPECT_EQ(st.value(QStringLiteral("MEMO")).toString(), longMemo);
    EXPECT_EQ(st.value(QStringLiteral("RAW")).toByteArray(), raw);
    ASSERT_TRUE(st.fetch());
    for (const char* f : {"TXT", "NUM", "TS", "FLAG", "MEMO", "RAW"})
        EXPECT_TRUE(st.value(QString::fromLatin1(f)).isNull()) << f;
    EXPECT_FALSE(st.fetch());
    EXPECT_FALSE(st.isOpen());
    t.commit();
}

// The loops over many rows read fields in place; what they get must be what value() gives, for
// every type, null and the row after a value was already asked for.
TEST_F(FbTest, InPlaceReadsAgreeWithValues)
{
    exec(QStringLiteral("INSERT INTO T (ID, TXT, NUM, FLAG, MEMO) VALUES "
                        "(1, :TXT, 7.6, 'T', 'memo')"),
         {{QStringLiteral("TXT"), kPolish}});
    exec(QStringLiteral("INSERT INTO T (ID, TXT) VALUES (-40000, '')"));
    exec(QStringLiteral("INSERT INTO T (ID) VALUES (3)"));

    Transaction t(db, tpb::readOnlyReadCommitted());
    t.start();
    Statement st(db, &t);
    st.setSql(
        QStringLiteral("SELECT ID, TXT, FLAG, NUM, MEMO, CAST(12 AS SMALLINT) AS S, "
                       "CAST(NUM AS NUMERIC(9,2)) AS SCALED, CAST(TXT AS CHAR(70)) AS PADDED, "
                       "CAST(ID AS VARCHAR(12)) AS DIGITS FROM T ORDER BY ID"));
    st.execute();
    // Before the first row everything reads as null.
    EXPECT_TRUE(st.isNull(1));
    EXPECT_EQ(st.intValue(0), 0);
    EXPECT_TRUE(st.textBytes(1).isNull());

    const std::vector<int> texts = {1, 2, 7, 8};
    std::vector<QVariant> seen;
    int rows = 0;
    while (st.fetch()) {
        SCOPED_TRACE(rows);
        // The first column compared through value() before the in-place reads, the others
        // after, so both orders are covered.
        const QVariant first = st.value(0);
        for (int i = 0; i < st.fieldCount(); ++i) {
            SCOPED_TRACE(st.fieldName(i).toStdString());
            const bool isText = std::find(texts.begin(), texts.end(), i) != texts.end();
            const bool isNull = st.isNull(i);
            const int asInt = st.intValue(i);
            QByteArray bytes;
            if (isText) {
                bytes = st.textBytes(i).toByteArray();
            } else if (i != 4 && !isNull) {
                EXPECT_THROW(st.textBytes(i), Error);
            }
            const QVariant v = st.value(i);
            EXPECT_EQ(isNull, v.isNull());
            EXPECT_EQ(asInt, v.isNull() ? 0 : v.toInt());
            if (isText) {
                EXPECT_EQ(bytes.isNull(), v.isNull());
                EXPECT_EQ(bytes, toCp1250(v.toString()));
            }
            seen.push_back(v);
        }
        EXPECT_EQ(first, st.value(0));
        ++rows;
    }
    ASSERT_EQ(rows, 3);
    const auto at = [&](int row, int column) {
        return seen[size_t(row * st.fieldCount() + column)];
    };
    EXPECT_EQ(at(0, 0).toInt(), -40000);
    EXPECT_EQ(at(0, 1).toString(), QString());
    EXPECT_FALSE(at(0, 1).isNull());
    EXPECT_DOUBLE_EQ(at(1, 6).toDouble(), 7.6); // scaled: read through value(), not in place
    EXPECT_EQ(at(0, 8).toString(), QStringLiteral("-40000"));
    EXPECT_EQ(at(1, 1).toString(), kPolish);
    EXPECT_EQ(at(1, 7).toString(), kPolish); // CHAR padding gone
    EXPECT_EQ(at(1, 3).toInt(), 8);          // 7.6 rounded, as value().toInt() has it
    EXPECT_EQ(at(2, 0).toInt(), 3);
    EXPECT_TRUE(at(2, 1).isNull());
    EXPECT_EQ(at(2, 5).toInt(), 12);
    t.commit();
}

// A blob is read at the fetch, so its value outlives the transaction; the other fields read
// from the row as fetched, not from an earlier row.
TEST_F(FbTest, ValuesAskedForLateAreTheCurrentRows)
{
    for (int id : {1, 2})
        exec(QStringLiteral("INSERT INTO T (ID, TXT, MEMO) VALUES (:ID, :TXT, :MEMO)"),
             {{QStringLiteral("ID"), id},
              {QStringLiteral("TXT"), QStringLiteral("tekst %1").arg(id)},
              {QStringLiteral("MEMO"), QStringLiteral("notatka %1").arg(id)}});
    Transaction t(db, tpb::readOnlyReadCommitted());
    t.start();
    Statement st(db, &t);
    st.setSql(QStringLiteral("SELECT ID, TXT, MEMO FROM T ORDER BY ID"));
    st.execute();
    ASSERT_TRUE(st.fetch());
    EXPECT_EQ(st.value(1).toString(), QStringLiteral("tekst 1"));
    ASSERT_TRUE(st.fetch());
    EXPECT_EQ(st.value(1).toString(), QStringLiteral("tekst 2"));
    st.close();
    t.commit();
    EXPECT_EQ(st.value(0).toInt(), 2);
    EXPECT_EQ(st.value(2).toString(), QStringLiteral("notatka 2"));
}

TEST_F(FbTest, PolishBytesAreStoredAsWindows1250)
{
    exec(QStringLiteral("INSERT INTO T (ID, TXT) VALUES (1, :TXT)"),
         {{QStringLiteral("TXT"), QStringLiteral("ąę")}});
    Transaction t(db, tpb::readOnlyReadCommitted());
    TransactionGuard g(t);
    Statement st(db, &t);
    // OCTET_LENGTH proves one byte a letter, as Windows-1250 has it (UTF-8 would take two).
    st.setSql(QStringLiteral("SELECT OCTET_LENGTH(TXT) FROM T"));
    st.execute();
    ASSERT_TRUE(st.fetch());
    EXPECT_EQ(st.value(0).toInt(), 2);
}

TEST_F(FbTest, DuplicateKeyIsReportedWithSqlCode803)
{
    exec(QStringLiteral("INSERT INTO T (ID) VALUES (1)"));
    try {
        exec(QStringLiteral("INSERT INTO T (ID) VALUES (1)"));
        FAIL() << "duplicate accepted";
    } catch (const Error& e) {
        EXPECT_EQ(e.sqlCode(), -803);
        EXPECT_TRUE(e.isDuplicateKey());
        EXPECT_FALSE(e.message().isEmpty());
    }
}

TEST_F(FbTest, DialectOneTakesDoubleQuotedLiterals)
{
    exec(QStringLiteral("INSERT INTO T (ID, TXT) VALUES (7, \"seven\")"));
    Transaction t(db, tpb::waitReadCommitted());
    TransactionGuard g(t);
    Statement st(db, &t);
    st.setSql(QStringLiteral("SELECT ID FROM T WHERE TXT=\"seven\""));
    st.execute();
    ASSERT_TRUE(st.fetch());
    EXPECT_EQ(st.value(0).toInt(), 7);
}

TEST_F(FbTest, StatementErrorsAreClear)
{
    Transaction t(db, tpb::waitReadCommitted());
    TransactionGuard g(t);
    Statement st(db, &t);
    st.setSql(QStringLiteral("SELECT * FROM NO_SUCH_TABLE"));
    EXPECT_THROW(st.execute(), Error);
    st.setSql(QStringLiteral("SELECT * FROM T WHERE ID=:ID"));
    EXPECT_THROW(st.setParam(QStringLiteral("OTHER"), 1), Error);
    // Text that does not fit the column is refused, not cut.
    st.setSql(QStringLiteral("INSERT INTO T (ID, TXT) VALUES (1, :TXT)"));
    st.setParam(QStringLiteral("TXT"), QString(61, QLatin1Char('a')));
    EXPECT_THROW(st.execute(), Error);
    // A statement without a running transaction refuses rather than crashing.
    Transaction idle(db, tpb::waitReadCommitted());
    Statement other(db, &idle);
    other.setSql(QStringLiteral("SELECT 1 FROM RDB$DATABASE"));
    EXPECT_THROW(other.execute(), Error);
}

TEST_F(FbTest, RowsAffectedCountsTheWrite)
{
    for (int i = 1; i <= 3; ++i)
        exec(QStringLiteral("INSERT INTO T (ID) VALUES (:ID)"), {{QStringLiteral("ID"), i}});
    Transaction t(db, tpb::engineDefaults());
    TransactionGuard g(t);
    Statement st(db, &t);
    st.setSql(QStringLiteral("UPDATE T SET FLAG='N' WHERE ID > :ID"));
    st.setParam(QStringLiteral("ID"), 1);
    st.execute();
    EXPECT_EQ(st.rowsAffected(), 2);
}

TEST_F(FbTest, GuardRollsBackWhenNotCommitted)
{
    {
        Transaction t(db, tpb::engineDefaults());
        TransactionGuard g(t);
        Statement st(db, &t);
        st.setSql(QStringLiteral("INSERT INTO T (ID) VALUES (1)"));
        st.execute();
    }
    Transaction t(db, tpb::readOnlyReadCommitted());
    TransactionGuard g(t);
    Statement st(db, &t);
    st.setSql(QStringLiteral("SELECT COUNT(*) FROM T"));
    st.execute();
    ASSERT_TRUE(st.fetch());
    EXPECT_EQ(st.value(0).toInt(), 0);
}

TEST_F(FbTest, IdleTimeoutRollsBackAForgottenTransaction)
{
    Transaction t(db, tpb::engineDefaults(), 100);
    QSignalSpy spy(&t, &Transaction::timedOut);
    t.start();
    Statement st(db, &t);
    st.setSql(QStringLiteral("INSERT INTO T (ID) VALUES (1)"));
    st.execute();
    ASSERT_TRUE(spy.wait(5000));
    EXPECT_FALSE(t.isActive());
    exec(QStringLiteral("INSERT INTO T (ID) VALUES (1)")); // no duplicate: the row was undone
}

TEST_F(FbTest, FetchingKeepsTheIdleTimeOutWithoutRestartingItsTimer)
{
    for (int i = 1; i <= 200; ++i)
        exec(QStringLiteral("INSERT INTO T (ID) VALUES (:ID)"), {{QStringLiteral("ID"), i}});
    // The timer of a time-out this long may fire 5 % either side (a coarse timer).
    Transaction t(db, tpb::readOnlyReadCommitted(), 10000);
    t.start();
    auto* timer = t.findChild<QTimer*>(QStringLiteral("idleTimer"));
    ASSERT_NE(timer, nullptr);
    ASSERT_TRUE(timer->isActive());
    QThread::msleep(1500);
    Statement st(db, &t);
    st.setSql(QStringLiteral("SELECT ID FROM T ORDER BY ID"));
    st.execute();
    int rows = 0;
    while (st.fetch())
        ++rows;
    EXPECT_EQ(rows, 200);
    // Still counting down from the start: the fetches only noted their time.
    EXPECT_TRUE(timer->isActive());
    EXPECT_LE(timer->remainingTime(), 10000 - 750) << "the timer was started again on a fetch";
}

TEST_F(FbTest, ATransactionInUseOutlivesItsIdleTimeOut)
{
    Transaction t(db, tpb::engineDefaults(), 500);
    QSignalSpy spy(&t, &Transaction::timedOut);
    t.start();
    Statement st(db, &t);
    st.setSql(QStringLiteral("SELECT COUNT(*) FROM T"));
    // Used every 50 ms for two time-outs' worth: each use counts the time-out anew.
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 1000) {
        st.execute();
        ASSERT_TRUE(st.fetch());
        st.close();
        QTest::qWait(50);
        ASSERT_TRUE(t.isActive()) << "rolled back after " << clock.elapsed() << " ms of use";
    }
    EXPECT_EQ(spy.count(), 0);
    // Left alone, it goes.
    ASSERT_TRUE(spy.wait(5000));
    EXPECT_FALSE(t.isActive());
    // A new time-out counts in full from when it is set.
    t.start();
    t.setIdleTimeoutMs(60000);
    QTest::qWait(300);
    EXPECT_TRUE(t.isActive());
}

TEST_F(FbTest, ReadCommittedListSeesCommittedChangesOnReopen)
{
    Transaction reader(db, tpb::readOnlyReadCommitted());
    reader.start();
    DataSet list(db, reader, QStringLiteral("list"));
    list.setSql(QStringLiteral("SELECT ID FROM T ORDER BY ID"));
    list.open();
    EXPECT_EQ(list.recordCount(), 0);

    Connection other;
    other.attach(path, kUser, kPassword);
    Transaction w(other, tpb::engineDefaults());
    TransactionGuard g(w);
    Statement st(other, &w);
    st.setSql(QStringLiteral("INSERT INTO T (ID) VALUES (5)"));
    st.execute();
    list.reopen();
    EXPECT_EQ(list.recordCount(), 0) << "an uncommitted row is not seen";
    g.commit();
    list.reopen();
    EXPECT_EQ(list.recordCount(), 1);
}

TEST_F(FbTest, DataSetNavigatesAndFormats)
{
    for (int i = 1; i <= 3; ++i)
        exec(QStringLiteral("INSERT INTO T (ID, TXT) VALUES (:ID, :TXT)"),
             {{QStringLiteral("ID"), i}, {QStringLiteral("TXT"), QString::number(i * 10)}});
    Transaction reader(db, tpb::readOnlyReadCommitted());
    reader.start();
    DataSet list(db, reader, QStringLiteral("list"));
    list.setSql(QStringLiteral("SELECT ID, TXT FROM T WHERE ID >= :FROMID ORDER BY ID"));
    list.setParam(QStringLiteral("FROMID"), 2);
    list.setDisplayText(QStringLiteral("TXT"),
                        [](const QVariant& v) { return QStringLiteral("<") + v.toString() + QLatin1Char('>'); });
    QSignalSpy moved(&list, &DataSet::currentRowChanged);
    list.open();
    ASSERT_EQ(list.recordCount(), 2);
    EXPECT_EQ(list.asInteger(QStringLiteral("ID")), 2);
    EXPECT_EQ(list.displayText(QStringLiteral("TXT")), QStringLiteral("<20>"));
    list.next();
    EXPECT_EQ(list.asString(QStringLiteral("TXT")), QStringLiteral("30"));
    EXPECT_FALSE(list.eof());
    list.next();
    EXPECT_TRUE(list.eof());
    EXPECT_EQ(list.currentRow(), 1) << "stepping past the end keeps the last row";
    list.first();
    EXPECT_TRUE(list.bof());
    EXPECT_FALSE(list.setCurrentRow(5));
    EXPECT_THROW(list.value(QStringLiteral("NOPE")), Error);

    moved.clear();
    list.disableControls();
    list.next();
    list.next();
    EXPECT_EQ(moved.count(), 0);
    list.enableControls();
    EXPECT_EQ(moved.count(), 1);

    list.close();
    EXPECT_EQ(list.currentRow(), -1);
    EXPECT_TRUE(list.value(QStringLiteral("ID")).isNull() || !list.isOpen());
}

// Every cell where it was fetched, over a reopening that grows the list, and rows handed in
// shorter than the fields.
TEST_F(FbTest, DataSetKeepsEveryCellInItsRowAndColumn)
{
    const auto insert = [&](int from, int to) {
        for (int i = from; i <= to; ++i)
            exec(QStringLiteral("INSERT INTO T (ID, TXT) VALUES (:ID, :TXT)"),
                 {{QStringLiteral("ID"), i},
                  {QStringLiteral("TXT"), i % 7 ? QVariant(QString::number(i * 10)) : QVariant()}});
    };
    const auto expectRows = [](const DataSet& list, int count) {
        ASSERT_EQ(list.recordCount(), count);
        for (int r = 0; r < count; ++r) {
            const int id = r + 1;
            EXPECT_EQ(list.valueAt(r, 0).toInt(), id);
            EXPECT_EQ(list.valueAt(r, 1).isValid(), id % 7 != 0) << id;
            if (id % 7) {
                EXPECT_EQ(list.valueAt(r, 1).toString(), QString::number(id * 10));
            }
            EXPECT_EQ(list.valueAt(r, 2).toInt(), id * 2);
        }
        EXPECT_FALSE(list.valueAt(count, 0).isValid());
        EXPECT_FALSE(list.valueAt(0, 3).isValid());
    };
    insert(1, 40);
    Transaction reader(db, tpb::readOnlyReadCommitted());
    reader.start();
    DataSet list(db, reader, QStringLiteral("list"));
    list.setSql(QStringLiteral("SELECT ID, TXT, ID * 2 AS TWICE FROM T ORDER BY ID"));
    list.open();
    expectRows(list, 40);
    reader.commit();
    insert(41, 95);
    reader.start();
    list.reopen();
    expectRows(list, 95);

    list.setRows({QStringLiteral("a"), QStringLiteral("b")},
                 {{1}, {2, QStringLiteral("x")}, {}});
    ASSERT_EQ(list.recordCount(), 3);
    EXPECT_FALSE(list.valueAt(0, 1).isValid());
    EXPECT_EQ(list.valueAt(1, 0).toInt(), 2);
    EXPECT_EQ(list.valueAt(1, 1).toString(), QStringLiteral("x"));
    EXPECT_FALSE(list.valueAt(2, 0).isValid());
}

TEST_F(FbTest, ModelShowsDisplayTextsAndRawValues)
{
    exec(QStringLiteral("INSERT INTO T (ID, TXT) VALUES (1, 'a')"));
    exec(QStringLiteral("INSERT INTO T (ID, TXT) VALUES (2, NULL)"));
    Transaction reader(db, tpb::readOnlyReadCommitted());
    reader.start();
    DataSet list(db, reader, QStringLiteral("list"));
    list.setSql(QStringLiteral("SELECT ID, TXT FROM T ORDER BY ID"));
    list.setDisplayText(QStringLiteral("ID"), [](const QVariant& v) { return QStringLiteral("#") + v.toString(); });
    DataSetModel model(&list, {{QStringLiteral("TXT"), QStringLiteral("Tekst")},
                               {QStringLiteral("ID"), QStringLiteral("Numer")}});
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    list.open();
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Numer"));
    EXPECT_EQ(model.data(model.index(0, 1)).toString(), QStringLiteral("#1"));
    EXPECT_EQ(model.data(model.index(1, 1), DataSetModel::RawValueRole).toLongLong(), 2);
    EXPECT_EQ(model.data(model.index(1, 0)).toString(), QString());
    list.close();
    EXPECT_EQ(model.rowCount(), 0);
    list.open();
    EXPECT_EQ(model.rowCount(), 2);
}

TEST_F(FbTest, DetachEndsTransactionsAndStatementsThatCanBeUsedAgain)
{
    Transaction t(db, tpb::waitReadCommitted());
    Statement st(db, &t);
    t.start();
    st.setSql(QStringLiteral("SELECT ID FROM T"));
    st.execute();
    db.detach();
    EXPECT_FALSE(t.isActive());
    EXPECT_FALSE(st.isPrepared());
    db.attach(path, kUser, kPassword);
    t.start();
    st.execute();
    EXPECT_FALSE(st.fetch());
    t.commit();
}

TEST(FbConnection, FailuresCarryTheEnginesMessage)
{
    QTemporaryDir dir;
    Connection db;
    EXPECT_THROW(db.attach(dir.path() + QStringLiteral("/missing.fdb"), kUser, kPassword), Error);
    EXPECT_FALSE(db.isAttached());

    const QString notADatabase = dir.path() + QStringLiteral("/text.fdb");
    QFile f(notADatabase);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(8192, 'x'));
    f.close();
    try {
        db.attach(notADatabase, kUser, kPassword);
        FAIL() << "a text file opened as a database";
    } catch (const Error& e) {
        EXPECT_FALSE(e.message().isEmpty());
    }
    EXPECT_FALSE(db.isAttached());
    // An existing file is never overwritten by a creation.
    EXPECT_THROW(db.create(notADatabase, kUser, kPassword), Error);
    EXPECT_EQ(QFile(notADatabase).size(), 8192);
}

// A status vector as the client library fills it.
Status statusOf(std::initializer_list<ISC_STATUS> items)
{
    Status status;
    ISC_STATUS* v = status.data();
    for (const ISC_STATUS item : items)
        *v++ = item;
    *v = isc_arg_end;
    return status;
}

TEST(FbStatus, LockConflictsAreToldByTheirCodes)
{
    // How Firebird 3 ends a wait for a row that another transaction changed and committed.
    const Error conflict = statusOf({isc_arg_gds, isc_deadlock, isc_arg_gds, isc_update_conflict,
                                     isc_arg_gds, isc_concurrent_transaction, isc_arg_number, 42,
                                     isc_arg_warning, isc_dsql_field_err})
                               .error();
    EXPECT_EQ(conflict.gdsCodes(), (std::vector<ISC_STATUS>{isc_deadlock, isc_update_conflict,
                                                            isc_concurrent_transaction}))
        << "the number is an argument and the warning is no error";
    EXPECT_EQ(conflict.gdsCode(), isc_deadlock);
    EXPECT_EQ(conflict.sqlCode(), Error::kDeadlock);
    EXPECT_TRUE(conflict.isLockConflict());
    EXPECT_TRUE(conflict.message().contains(QStringLiteral("42")))
        << conflict.message().toStdString();

    // Each code alone is enough, whatever comes around it.
    for (const ISC_STATUS code : {isc_deadlock, isc_lock_conflict, isc_update_conflict,
                                  isc_lock_timeout, isc_read_conflict}) {
        const Error e = statusOf({isc_arg_gds, isc_random, isc_arg_string,
                                  reinterpret_cast<ISC_STATUS>("x"), isc_arg_gds, code})
                            .error();
        EXPECT_TRUE(e.isLockConflict()) << code;
        EXPECT_TRUE(isLockConflictMessage(e.message())) << e.message().toStdString();
        EXPECT_TRUE(isLockConflict(Exception(e.message()))) << "by the text when only it is left";
    }
    EXPECT_TRUE(Error(QStringLiteral("?"), Error::kDeadlock, 0).isLockConflict());

    // Other failures, among them others of SQLCODE -901, are no conflict.
    const Error duplicate = statusOf({isc_arg_gds, isc_unique_key_violation, isc_arg_string,
                                      reinterpret_cast<ISC_STATUS>("PK_T"), isc_arg_string,
                                      reinterpret_cast<ISC_STATUS>("T")})
                                .error();
    EXPECT_TRUE(duplicate.isDuplicateKey());
    const Error badBlob = statusOf({isc_arg_gds, isc_bad_segstr_handle}).error();
    EXPECT_EQ(badBlob.sqlCode(), -901);
    for (const Error& e : {duplicate, badBlob}) {
        EXPECT_FALSE(e.isLockConflict()) << e.message().toStdString();
        EXPECT_FALSE(isLockConflictMessage(e.message())) << e.message().toStdString();
    }
    // A line must be the engine's text of a conflict, not merely mention one.
    EXPECT_FALSE(isLockConflictMessage(QStringLiteral("deadlock w planie urlopów")));
    EXPECT_FALSE(isLockConflictMessage(QString()));
    EXPECT_FALSE(Error(QStringLiteral("deadlock?"), 0, 0).isLockConflict());
}

} // namespace
} // namespace zf::fb
