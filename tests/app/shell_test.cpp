// Logic of the application shell: options, the grid search, the single copy and the login rule.
#include "app/gridsearch.h"
#include "app/login.h"
#include "app/singleinstance.h"
#include "data/fb/dataset.h"
#include "data/programoptions.h"
#include "tests/support/test_database.h"
#include "util/inifile.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace zf {
namespace {

TEST(Options, ANewIniFileGivesTheDefaultsAndTheForcedVersion)
{
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/zefirant.ini");
    OptionsStore store(path);
    const ProgramOptions o = store.ReadOptions();
    EXPECT_TRUE(o.pokazujPoradeDnia);
    EXPECT_TRUE(o.pytajPrzedZamknieciem);
    EXPECT_TRUE(o.pytajPrzedKasowaniem);
    EXPECT_TRUE(o.sprawdzajNotatki);
    EXPECT_TRUE(o.sprawdzajTerminy);
    EXPECT_TRUE(o.cbFirstLog);
    EXPECT_EQ(o.dataWsteczna, 7);
    EXPECT_EQ(o.dataWstecznaMin, 0);
    EXPECT_EQ(o.mainWinWidth, -1);
    EXPECT_EQ(o.version, QStringLiteral("2.5"));

    IniFile(path).writeString(QStringLiteral("VERSION"), QStringLiteral("main"), QStringLiteral("3.0"));
    EXPECT_EQ(store.ReadOptions().version, QStringLiteral("2.5"));
    EXPECT_EQ(IniFile(path).readString(QStringLiteral("version"), QStringLiteral("MAIN")),
              QStringLiteral("2.5"));
}

TEST(Options, WrittenOptionsAreReadBackAndDestroyingStopsWrites)
{
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/zefirant.ini");
    OptionsStore store(path);
    ProgramOptions o;
    o.pokazujPoradeDnia = false;
    o.cbFirstLog = false;
    o.dataWsteczna = 14;
    o.mainWinWidth = 1024;
    o.mainWinHeight = 700;
    o.editCalWinHeight = 333;
    store.WriteOptions(o);
    const ProgramOptions back = store.ReadOptions();
    EXPECT_FALSE(back.pokazujPoradeDnia);
    EXPECT_FALSE(back.cbFirstLog);
    EXPECT_EQ(back.dataWsteczna, 14);
    EXPECT_EQ(back.mainWinWidth, 1024);
    EXPECT_EQ(back.editCalWinHeight, 333);
    // The writer's spelling and the reader's are one key.
    EXPECT_EQ(IniFile(path).sectionKeys(QStringLiteral("OPTIONS")).filter(QStringLiteral("oradeDnia"), Qt::CaseInsensitive).size(), 1);

    store.setDestroying(true);
    o.mainWinWidth = 1;
    store.WriteWindowSizes(o);
    store.WriteOptions(o);
    EXPECT_EQ(store.ReadOptions().mainWinWidth, 1024);
}

TEST(Options, GarbageValuesGiveTheirDefaults)
{
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/zefirant.ini");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[OPTIONS]\r\nmainWinWidth=szeroko\r\ndataWsteczna=\r\npytajPrzedKasowaniem=0\r\n"
            "nonsense without equals\r\n");
    f.close();
    const ProgramOptions o = OptionsStore(path).ReadOptions();
    EXPECT_EQ(o.mainWinWidth, -1);
    EXPECT_EQ(o.dataWsteczna, 7);
    EXPECT_FALSE(o.pytajPrzedKasowaniem);
}

class SearchTest : public ::testing::Test
{
protected:
    SearchTest() : tr(db, QByteArray()), list(db, tr, QStringLiteral("list"))
    {
        std::vector<std::vector<QVariant>> rows;
        for (const char* name : {"Anna KOWALSKA", "Łukasz Nowak", "Jan KOWALSKI", "łucja Zięba"})
            rows.push_back({QString::fromUtf8(name)});
        list.setRows({QStringLiteral("NAME")}, std::move(rows));
    }

    FindResult find(const QString& text)
    {
        return findNext(list, [this](int row) { return list.valueAt(row, 0).toString(); }, start,
                        text);
    }

    fb::Connection db;
    fb::Transaction tr;
    fb::DataSet list;
    bool start = true;
};

TEST_F(SearchTest, FindsDownwardsIgnoringCaseOfAsciiLettersOnly)
{
    EXPECT_EQ(find(QStringLiteral("kowal")), FindResult::Found);
    EXPECT_EQ(list.currentRow(), 0) << "the first search tests the current row";
    EXPECT_FALSE(start);
    EXPECT_EQ(find(QStringLiteral("kowal")), FindResult::Found);
    EXPECT_EQ(list.currentRow(), 2);
    EXPECT_EQ(find(QStringLiteral("kowal")), FindResult::NotFound);
    EXPECT_EQ(list.currentRow(), 0) << "back to the first row";
    // The first row is tested again only after "Szukaj": the next search starts at the second.
    EXPECT_EQ(find(QStringLiteral("anna")), FindResult::NotFound);
}

TEST_F(SearchTest, PolishLettersKeepTheirCase)
{
    EXPECT_EQ(find(QStringLiteral("łukasz")), FindResult::NotFound);
    start = true;
    EXPECT_EQ(find(QStringLiteral("łUCJA")), FindResult::Found);
    EXPECT_EQ(list.currentRow(), 3);
    start = true;
    list.first();
    EXPECT_EQ(find(QString()), FindResult::NotFound) << "an empty text never matches";
    list.last();
    list.next();
    ASSERT_TRUE(list.eof());
    EXPECT_EQ(find(QStringLiteral("a")), FindResult::AtEnd);
    EXPECT_EQ(upperAsciiOnly(QStringLiteral("zażółć abc")), QStringLiteral("ZAżółć ABC"));
}

TEST(SingleCopy, ASecondCopyIsRefusedUntilTheFirstEnds)
{
    QTemporaryDir dir;
    auto first = std::make_unique<SingleInstance>(dir.path());
    ASSERT_TRUE(first->acquire());
    SingleInstance second(dir.path());
    EXPECT_FALSE(second.acquire());
    first.reset();
    EXPECT_TRUE(second.acquire());
}

TEST(SingleCopy, OthersCanAskWhetherTheProgramRunsWithoutBlockingIt)
{
    QTemporaryDir dir;
    EXPECT_FALSE(SingleInstance::isHeld(dir.path()));
    // Asking took nothing away: the program still starts.
    auto program = std::make_unique<SingleInstance>(dir.path());
    ASSERT_TRUE(program->acquire());
    EXPECT_TRUE(SingleInstance::isHeld(dir.path()));
    EXPECT_TRUE(SingleInstance::isHeld(dir.path()));
    program.reset();
    EXPECT_FALSE(SingleInstance::isHeld(dir.path()));
}

TEST(SingleCopy, AskingWhileAnotherProcessStartsNeverMakesItsStartFail)
{
    QTemporaryDir dir;
    const QString folder = dir.path();
    constexpr int kStarts = 3000;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // A program started and ended over and over; any refused start is the asker's doing.
        int refused = 0;
        for (int i = 0; i < kStarts; ++i) {
            SingleInstance program(folder);
            if (!program.acquire())
                ++refused;
        }
        _exit(refused > 100 ? 100 : refused);
    }
    int heldSeen = 0;
    int asked = 0;
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        heldSeen += SingleInstance::isHeld(folder) ? 1 : 0;
        ++asked;
    }
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "starts refused while another process asked";
    EXPECT_GT(asked, 0);
    // The asker did see the running copy, so the two really met.
    EXPECT_GT(heldSeen, 0) << asked << " questions";
    EXPECT_FALSE(SingleInstance::isHeld(folder));
}

TEST(SingleCopy, ALockLeftByADeadProcessDoesNotBlock)
{
    QTemporaryDir dir;
    SingleInstance probe(dir.path());
    // A process that is gone by now held the lock: write its lock file by hand.
    QProcess p;
    p.start(QStringLiteral("true"));
    p.waitForFinished();
    const qint64 deadPid = p.processId() ? p.processId() : 999999;
    QFile f(probe.lockPath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray::number(deadPid) + "\nzefirant\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    f.close();
    SingleInstance copy(dir.path());
    EXPECT_TRUE(copy.acquire());
}

TEST(Login, EmptyFieldsFailAndRestrictedUsersAreMarked)
{
    test::TestDatabase t;
    TmyDataBase& db = t.db();
    t.exec(QStringLiteral("INSERT INTO USERS (LOGIN, PWD) VALUES ('nopass', '')"));
    EXPECT_FALSE(attemptLogin(db, QStringLiteral("nopass"), QString()));
    EXPECT_FALSE(attemptLogin(db, QString(), QStringLiteral("zefirant")));
    ASSERT_TRUE(attemptLogin(db, QStringLiteral("admin"), QStringLiteral("zefirant")));
    EXPECT_FALSE(db.loginState().restricted);
    ASSERT_TRUE(attemptLogin(db, QStringLiteral("pracownik"), QStringLiteral("pracownik")));
    EXPECT_TRUE(db.loginState().restricted);

    t.exec(QStringLiteral("UPDATE SYSTEMPARAMS SET IVALUE=1 WHERE ID='ALLOWEMPLLOGIN'"));
    t.exec(QStringLiteral("INSERT INTO EMPLOYEES (IDEMPLOYEE, SURNAME, NAME, PWD) VALUES ('E7', 'A', 'B', 'h')"));
    ASSERT_TRUE(attemptLogin(db, QStringLiteral("E7"), QStringLiteral("h")));
    EXPECT_TRUE(db.loginState().restricted);
    EXPECT_EQ(db.loginState().employee, QStringLiteral("E7"));
    EXPECT_TRUE(t.dialogs().shown().empty());
}

TEST(Login, ValuesLongerThanTheirColumnsAreAWrongLogin)
{
    test::TestDatabase t;
    TmyDataBase& db = t.db();
    t.exec(QStringLiteral("UPDATE SYSTEMPARAMS SET IVALUE=1 WHERE ID='ALLOWEMPLLOGIN'"));
    t.exec(QStringLiteral("INSERT INTO EMPLOYEES (IDEMPLOYEE, SURNAME, NAME, PWD) VALUES ('E7', 'A', 'B', 'h')"));
    EXPECT_FALSE(attemptLogin(db, QString(21, QLatin1Char('a')), QStringLiteral("zefirant")));
    EXPECT_FALSE(attemptLogin(db, QStringLiteral("admin"), QString(101, QLatin1Char('z'))));
    // Too long for an employee's password, short enough for a user's.
    EXPECT_FALSE(attemptLogin(db, QStringLiteral("E7"), QString(14, QLatin1Char('h'))));
    // A character the database cannot hold would arrive as a substitute.
    t.exec(QStringLiteral("UPDATE USERS SET PWD='?' WHERE LOGIN='pracownik'"));
    EXPECT_FALSE(attemptLogin(db, QStringLiteral("pracownik"), QStringLiteral("Ж")));
    EXPECT_TRUE(t.dialogs().shown().empty());
    // Still a working login afterwards.
    EXPECT_TRUE(attemptLogin(db, QStringLiteral("admin"), QStringLiteral("zefirant")));
}

} // namespace
} // namespace zf
