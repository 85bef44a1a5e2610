// The archiving tool's logic with the real gbak on real embedded databases: a backup and restore
// round trip read back from the restored file, and bad choices that must cost nothing.
#include "archiwizacja/archiver.h"
#include "data/databasecreation.h"
#include "data/fb/connection.h"
#include "data/fb/statement.h"
#include "data/fb/transaction.h"
#include "data/fb/transactionguard.h"
#include "tests/support/test_database.h"
#include "tests/support/test_env.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <functional>
#include <optional>

namespace zf::archive {
namespace {

const QString kUser = QString::fromLatin1(test::TestDatabase::kUser);
const QString kPassword = QString::fromLatin1(test::TestDatabase::kPassword);

// What one request to the archiver gave: refused at once, or started and finished.
struct Outcome
{
    bool started = false;
    QString refusal;
    std::optional<Archiver::Result> result;
    QStringList lines; // gbak's output as it came
};

Outcome perform(Archiver& archiver, const std::function<bool(QString*)>& start)
{
    Outcome r;
    QEventLoop loop;
    const auto onLine = QObject::connect(&archiver, &Archiver::outputLine, &loop,
                                         [&r](const QString& line) { r.lines << line; });
    const auto onEnd =
        QObject::connect(&archiver, &Archiver::finished, &loop, [&](const Archiver::Result& res) {
            r.result = res;
            loop.quit();
        });
    r.started = start(&r.refusal);
    if (r.started && !r.result) {
        // Only a guard against a hung gbak; no test depends on how long gbak takes.
        QTimer::singleShot(180000, &loop, &QEventLoop::quit);
        loop.exec();
    }
    QObject::disconnect(onLine);
    QObject::disconnect(onEnd);
    return r;
}

std::string text(const Outcome& r)
{
    QString t = r.refusal;
    if (r.result)
        t += r.result->message + QLatin1Char('\n') + r.result->gbak.join(QLatin1Char('\n'));
    return t.toStdString();
}

// Every row of a query, fields joined by "|", read on a connection of its own.
QStringList rows(const QString& location, const QString& sql, const QString& password = kPassword)
{
    fb::Connection c;
    c.attach(location, kUser, password);
    fb::Transaction t(c, fb::tpb::engineDefaults());
    fb::TransactionGuard g(t);
    fb::Statement st(c, &t);
    st.setSql(sql);
    st.execute();
    QStringList out;
    while (st.fetch()) {
        QStringList fields;
        for (int i = 0; i < st.fieldCount(); ++i)
            fields << st.value(i).toString();
        out << fields.join(QLatin1Char('|'));
    }
    st.close();
    g.commit();
    return out;
}

// The content that must come back unchanged after a restore.
const QStringList kQueries = {
    QStringLiteral("SELECT IDEMPLOYEE, SURNAME, NAME, IDDICUNIT, EMAIL, FILENAME, PWD, ACT "
                   "FROM EMPLOYEES ORDER BY IDEMPLOYEE"),
    QStringLiteral("SELECT IDDICTIONARY, IDTYPE, DESCRIPTION FROM DICTIONARY ORDER BY "
                   "IDDICTIONARY"),
    QStringLiteral("SELECT IDYEAR, IDEMPLOYEE, SELECTEDDAY FROM EMPLOYEEHOLIDAYS ORDER BY "
                   "IDYEAR, IDEMPLOYEE, SELECTEDDAY"),
    QStringLiteral("SELECT IDYEAR, STATUS FROM HOLIDAYPLANS ORDER BY IDYEAR"),
    QStringLiteral("SELECT GEN_ID(GEN_DICTIONARY, 0) FROM RDB$DATABASE"),
};

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(data);
}

// Names in a folder, hidden ones too: leftovers of a failed run would show here.
QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

class ArchiverTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Polish letters and blanks in the folder: gbak gets its arguments without a shell.
        kopie = scratch.path() + QStringLiteral("/Kopie zażółć gęślą");
        ASSERT_TRUE(QDir().mkpath(kopie));
        db.exec(QStringLiteral("INSERT INTO DICTIONARY VALUES (GEN_ID(GEN_DICTIONARY, 1), "
                               "'ZESPO', 'Księgowość i płace', '', '')"));
        db.exec(QStringLiteral("INSERT INTO EMPLOYEES (IDEMPLOYEE, SURNAME, NAME, IDDICUNIT, "
                               "EMAIL, FILENAME, PWD, ACT) VALUES ('Ż01', 'Żółkiewska-Łęcka', "
                               "'Łucja', 1, 'lucja@firma.pl', 'zolkiewska', 'źdźbło', 'T')"));
        db.exec(QStringLiteral("INSERT INTO EMPLOYEES (IDEMPLOYEE, SURNAME, NAME, ACT) VALUES "
                               "('A02', 'Gęś', 'Ścibor', 'N')"));
        db.exec(QStringLiteral("INSERT INTO HOLIDAYPLANS (IDYEAR, STATUS, PLANDIR) VALUES "
                               "(2024, 3, '')"));
        for (int day : {20240102, 20240103, 20240815})
            db.exec(QStringLiteral("INSERT INTO EMPLOYEEHOLIDAYS (IDYEAR, IDEMPLOYEE, "
                                   "SELECTEDDAY) VALUES (2024, 'Ż01', %1)")
                        .arg(day));
        for (const QString& q : kQueries)
            before << rows(db.path(), q);
    }

    // The embedded engine of the program holds the file: gbak, another process, is kept out.
    void closeProgram() { db.db().Disconnect(); }

    Settings settings() const { return {db.path(), kUser, kPassword}; }

    test::TestDatabase db;
    QTemporaryDir scratch;
    QString kopie;
    QStringList before;
};

TEST_F(ArchiverTest, BackupAndRestoreRoundTripKeepsEveryRow)
{
    closeProgram();
    Archiver archiver(settings());
    const QString backup = kopie + QStringLiteral("/kadry przed importem.fbk");

    const Outcome b =
        perform(archiver, [&](QString* e) { return archiver.startBackup(backup, e); });
    ASSERT_TRUE(b.started) << text(b);
    ASSERT_TRUE(b.result && b.result->ok) << text(b);
    EXPECT_EQ(b.result->operation, Archiver::Operation::Backup);
    EXPECT_EQ(b.result->file, backup);
    EXPECT_TRUE(b.result->message.contains(QStringLiteral("została zapisana")));
    EXPECT_TRUE(b.result->message.contains(QDir::toNativeSeparators(backup)));
    EXPECT_FALSE(b.lines.isEmpty()) << "gbak -v reports its progress line by line";
    // The temporary file took the chosen name; nothing else is left in the folder.
    EXPECT_EQ(entries(kopie), QStringList{QStringLiteral("kadry przed importem.fbk")});
    EXPECT_FALSE(archiver.isRunning());

    const QString restored = scratch.path() + QStringLiteral("/odtworzone/kadry ą.fdb");
    ASSERT_TRUE(QDir().mkpath(QFileInfo(restored).absolutePath()));
    const Outcome r =
        perform(archiver, [&](QString* e) { return archiver.startRestore(backup, restored, e); });
    ASSERT_TRUE(r.started) << text(r);
    ASSERT_TRUE(r.result && r.result->ok) << text(r);
    EXPECT_EQ(r.result->operation, Archiver::Operation::Restore);
    EXPECT_EQ(r.result->file, restored);
    EXPECT_TRUE(r.result->message.contains(QStringLiteral("odtworzona do nowego pliku")));

    QStringList after;
    for (const QString& q : kQueries)
        after << rows(restored, q);
    EXPECT_EQ(after, before);
    EXPECT_TRUE(after.contains(
        QStringLiteral("Ż01|Żółkiewska-Łęcka|Łucja|1|lucja@firma.pl|zolkiewska|źdźbło|T")))
        << after.join(QLatin1Char('\n')).toStdString();

    // The database that was backed up is still there, unchanged.
    QStringList original;
    for (const QString& q : kQueries)
        original << rows(db.path(), q);
    EXPECT_EQ(original, before);
}

TEST_F(ArchiverTest, AnOpenLocalDatabaseIsExplainedAndAnOlderBackupSurvives)
{
    Archiver archiver(settings());
    const QString backup = kopie + QStringLiteral("/kadry.fbk");
    writeFile(backup, "starsza kopia");

    // The module of the test still holds the file, as the open program would.
    const Outcome held =
        perform(archiver, [&](QString* e) { return archiver.startBackup(backup, e); });
    ASSERT_TRUE(held.started) << text(held);
    ASSERT_TRUE(held.result);
    EXPECT_FALSE(held.result->ok);
    EXPECT_TRUE(held.result->message.contains(QStringLiteral("jest w tej chwili otwarty")))
        << text(held);
    EXPECT_TRUE(held.result->message.contains(QStringLiteral("Zamknij program Zefirant PL+")))
        << text(held);
    EXPECT_FALSE(held.result->gbak.isEmpty()) << "gbak's own words are kept for the log";
    EXPECT_EQ(contents(backup), QByteArray("starsza kopia"));
    EXPECT_EQ(entries(kopie), QStringList{QStringLiteral("kadry.fbk")});

    // With the program closed the same request replaces the older backup.
    closeProgram();
    const Outcome freed =
        perform(archiver, [&](QString* e) { return archiver.startBackup(backup, e); });
    ASSERT_TRUE(freed.result && freed.result->ok) << text(freed);
    EXPECT_NE(contents(backup), QByteArray("starsza kopia"));
    EXPECT_GT(QFileInfo(backup).size(), 1000);
    EXPECT_EQ(entries(kopie), QStringList{QStringLiteral("kadry.fbk")});
}

TEST_F(ArchiverTest, BackupTargetsThatCannotBeWrittenAreRefusedBeforeGbakStarts)
{
    closeProgram();
    Archiver archiver(settings());
    // Tests run as root, which ignores permission bits: these paths fail for everyone.
    const QString plainFile = scratch.path() + QStringLiteral("/zwykły plik");
    writeFile(plainFile, "tekst");
    struct Case
    {
        QString target;
        QString reason;
    };
    const std::vector<Case> cases = {
        {plainFile + QStringLiteral("/kopia.fbk"), QStringLiteral("to nie jest folder")},
        {QStringLiteral("/proc/zf-nie-ma/kopia.fbk"), QStringLiteral("folder nie istnieje")},
        {scratch.path() + QStringLiteral("/brak/kopia.fbk"), QStringLiteral("folder nie istnieje")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target.toStdString());
        QString error;
        EXPECT_FALSE(archiver.startBackup(c.target, &error));
        EXPECT_FALSE(archiver.isRunning());
        EXPECT_TRUE(error.startsWith(QStringLiteral("Nie można zapisać kopii zapasowej w "
                                                    "folderze")))
            << error.toStdString();
        EXPECT_TRUE(error.contains(c.reason)) << error.toStdString();
        EXPECT_TRUE(error.contains(QStringLiteral("Wybierz inny folder")));
    }
    EXPECT_EQ(contents(plainFile), QByteArray("tekst"));

    // The database file itself and a folder are no backup files.
    const QByteArray database = contents(db.path());
    QString error;
    EXPECT_FALSE(archiver.startBackup(db.path(), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("w pliku samej bazy danych"))) << error.toStdString();
    EXPECT_FALSE(archiver.startBackup(kopie, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("jest folderem"))) << error.toStdString();
    EXPECT_EQ(contents(db.path()), database);
    EXPECT_EQ(rows(db.path(), kQueries.first()), before.mid(0, 2));
    EXPECT_TRUE(entries(kopie).isEmpty());

    // A database that is not there is named as such, before anything is written.
    Archiver missing(Settings{scratch.path() + QStringLiteral("/nie-ma.fdb"), kUser, kPassword});
    EXPECT_FALSE(missing.startBackup(kopie + QStringLiteral("/k.fbk"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("Nie znaleziono pliku bazy danych")))
        << error.toStdString();
    EXPECT_TRUE(entries(kopie).isEmpty());
}

TEST_F(ArchiverTest, RestoreNeverReplacesAnExistingFile)
{
    closeProgram();
    Archiver archiver(settings());
    const QString backup = kopie + QStringLiteral("/kadry.fbk");
    ASSERT_TRUE(
        perform(archiver, [&](QString* e) { return archiver.startBackup(backup, e); }).result->ok);

    // Neither another file nor the program's own database is overwritten.
    const QString other = scratch.path() + QStringLiteral("/inna.fdb");
    writeFile(other, "ważne dane");
    for (const QString& target : {other, db.path()}) {
        SCOPED_TRACE(target.toStdString());
        const QByteArray was = contents(target);
        QString error;
        EXPECT_FALSE(archiver.startRestore(backup, target, &error));
        EXPECT_TRUE(error.contains(QStringLiteral("już istnieje"))) << error.toStdString();
        EXPECT_TRUE(error.contains(QStringLiteral("nowego pliku"))) << error.toStdString();
        EXPECT_EQ(contents(target), was);
    }
    // Nor does a dangling link let gbak create a file somewhere else.
    const QString link = scratch.path() + QStringLiteral("/dowiazanie.fdb");
    ASSERT_TRUE(QFile::link(scratch.path() + QStringLiteral("/gdzie-indziej.fdb"), link));
    QString error;
    EXPECT_FALSE(archiver.startRestore(backup, link, &error));
    EXPECT_FALSE(QFileInfo::exists(scratch.path() + QStringLiteral("/gdzie-indziej.fdb")));

    // A new file in a path that is no folder, and a backup that is not there, are refused too.
    EXPECT_FALSE(archiver.startRestore(backup, other + QStringLiteral("/nowa.fdb"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("to nie jest folder"))) << error.toStdString();
    EXPECT_FALSE(archiver.startRestore(kopie + QStringLiteral("/nie-ma.fbk"),
                                       scratch.path() + QStringLiteral("/nowa.fdb"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("Nie znaleziono pliku kopii zapasowej")))
        << error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(scratch.path() + QStringLiteral("/nowa.fdb")));
}

TEST_F(ArchiverTest, RestoreFromAFileThatIsNoBackupLeavesNoNewFile)
{
    closeProgram();
    Archiver archiver(settings());
    const QString backup = kopie + QStringLiteral("/kadry.fbk");
    ASSERT_TRUE(
        perform(archiver, [&](QString* e) { return archiver.startBackup(backup, e); }).result->ok);
    const QByteArray good = contents(backup);

    const QString textFile = kopie + QStringLiteral("/notatki.fbk");
    writeFile(textFile, "To nie jest kopia zapasowa.\n");
    const QString emptyFile = kopie + QStringLiteral("/pusty.fbk");
    writeFile(emptyFile, QByteArray());
    // A backup cut short: gbak asks for the next volume on its input and must not wait for it.
    const QString truncated = kopie + QStringLiteral("/urwana.fbk");
    writeFile(truncated, good.left(good.size() / 2));

    for (const QString& source : {textFile, emptyFile, truncated, db.path()}) {
        SCOPED_TRACE(source.toStdString());
        const QString target = scratch.path() + QStringLiteral("/nowa.fdb");
        const Outcome r =
            perform(archiver, [&](QString* e) { return archiver.startRestore(source, target, e); });
        ASSERT_TRUE(r.started) << text(r);
        ASSERT_TRUE(r.result);
        EXPECT_FALSE(r.result->ok);
        EXPECT_TRUE(r.result->message.contains(
            QStringLiteral("nie jest kopią zapasową bazy danych Firebird albo jest uszkodzony")))
            << text(r);
        EXPECT_TRUE(r.result->message.contains(QDir::toNativeSeparators(source)));
        EXPECT_FALSE(QFileInfo::exists(target)) << "no new file is left behind";
    }
    // The sources are read only.
    EXPECT_EQ(contents(textFile), QByteArray("To nie jest kopia zapasowa.\n"));
    EXPECT_EQ(contents(backup), good);
}

TEST_F(ArchiverTest, WithoutGbakTheMessageNamesThePackageAndNothingIsLeft)
{
    closeProgram();
    Archiver archiver(settings());
    archiver.setGbakProgram(scratch.path() + QStringLiteral("/brak/gbak"));
    const QString backup = kopie + QStringLiteral("/kadry.fbk");
    const Outcome r =
        perform(archiver, [&](QString* e) { return archiver.startBackup(backup, e); });
    ASSERT_TRUE(r.result) << text(r);
    EXPECT_FALSE(r.result->ok);
    EXPECT_TRUE(r.result->message.contains(QStringLiteral("Nie można uruchomić programu gbak")))
        << text(r);
    EXPECT_TRUE(r.result->message.contains(QStringLiteral("firebird3.0-utils")));
    EXPECT_FALSE(archiver.isRunning());
    EXPECT_TRUE(entries(kopie).isEmpty());
}

TEST_F(ArchiverTest, ACancelledRunRemovesItsFilesAndTheArchiverIsReusable)
{
    closeProgram();
    Archiver archiver(settings());
    const QString backup = kopie + QStringLiteral("/kadry.fbk");
    writeFile(backup, "starsza kopia");

    const Outcome cancelled = perform(archiver, [&](QString* e) {
        const bool ok = archiver.startBackup(backup, e);
        QString busy;
        EXPECT_FALSE(archiver.startBackup(backup, &busy)) << "one run at a time";
        EXPECT_TRUE(busy.contains(QStringLiteral("Trwa już")));
        archiver.cancel();
        return ok;
    });
    ASSERT_TRUE(cancelled.result) << text(cancelled);
    EXPECT_FALSE(cancelled.result->ok);
    EXPECT_TRUE(cancelled.result->message.contains(QStringLiteral("przerwano"))) << text(cancelled);
    EXPECT_EQ(contents(backup), QByteArray("starsza kopia"));
    EXPECT_EQ(entries(kopie), QStringList{QStringLiteral("kadry.fbk")});

    const Outcome again =
        perform(archiver, [&](QString* e) { return archiver.startBackup(backup, e); });
    EXPECT_TRUE(again.result && again.result->ok) << text(again);
}

// A stand-in for gbak that writes part of its output file (the last argument) and then does
// what `ending` says: the failures the real gbak gives only on a full disk or a bad medium.
QString fakeGbak(const QString& folder, const QByteArray& ending)
{
    const QString path = folder + QStringLiteral("/gbak-atrapa");
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return {};
    f.write("#!/bin/sh\nfor last; do :; done\nprintf 'niepelny plik' > \"$last\"\n" + ending);
    f.close();
    f.setPermissions(f.permissions() | QFile::ExeOwner);
    return path;
}

TEST_F(ArchiverTest, ABackupFailingMidWayLeavesTheOlderBackupAsItWas)
{
    closeProgram();
    Archiver archiver(settings());
    const QString gbak =
        fakeGbak(scratch.path(), "echo 'gbak: ERROR:write failed'\necho 'gbak: ERROR:    No space "
                                 "left on device'\nexit 1\n");
    ASSERT_FALSE(gbak.isEmpty());
    archiver.setGbakProgram(gbak);
    const QString backup = kopie + QStringLiteral("/kadry.fbk");
    writeFile(backup, "starsza kopia");

    const Outcome r =
        perform(archiver, [&](QString* e) { return archiver.startBackup(backup, e); });
    ASSERT_TRUE(r.result) << text(r);
    EXPECT_FALSE(r.result->ok);
    EXPECT_TRUE(r.result->message.startsWith(QStringLiteral("Brak miejsca na dysku"))) << text(r);
    EXPECT_EQ(r.result->gbak.size(), 2);
    EXPECT_EQ(contents(backup), QByteArray("starsza kopia"));
    EXPECT_EQ(entries(kopie), QStringList{QStringLiteral("kadry.fbk")});
}

TEST_F(ArchiverTest, ARestoredFileThatDoesNotOpenIsRemoved)
{
    closeProgram();
    Archiver archiver(settings());
    const QString backup = kopie + QStringLiteral("/kadry.fbk");
    ASSERT_TRUE(
        perform(archiver, [&](QString* e) { return archiver.startBackup(backup, e); }).result->ok);
    // gbak claims success but leaves something that is no database.
    const QString gbak = fakeGbak(scratch.path(), "exit 0\n");
    ASSERT_FALSE(gbak.isEmpty());
    archiver.setGbakProgram(gbak);
    const QString target = scratch.path() + QStringLiteral("/nowa.fdb");
    const Outcome r =
        perform(archiver, [&](QString* e) { return archiver.startRestore(backup, target, e); });
    ASSERT_TRUE(r.result) << text(r);
    EXPECT_FALSE(r.result->ok);
    EXPECT_TRUE(r.result->message.contains(QStringLiteral("nie daje się otworzyć"))) << text(r);
    EXPECT_FALSE(QFileInfo::exists(target));
}

TEST(ArchiverArguments, PasswordStaysOffTheCommandLine)
{
    Archiver archiver(Settings{QStringLiteral("serwer:/dane/kadry.fdb"), QStringLiteral("KADRY"),
                               QStringLiteral("tajne-hasło")});
    const QStringList backup = archiver.backupArguments(QStringLiteral("/k/a b.fbk"));
    EXPECT_EQ(backup,
              (QStringList{QStringLiteral("-b"), QStringLiteral("-v"), QStringLiteral("-user"),
                           QStringLiteral("KADRY"), QStringLiteral("serwer:/dane/kadry.fdb"),
                           QStringLiteral("/k/a b.fbk")}));
    const QStringList restore =
        archiver.restoreArguments(QStringLiteral("/k/a b.fbk"), QStringLiteral("serwer:/n.fdb"));
    EXPECT_EQ(restore.first(), QStringLiteral("-c"));
    EXPECT_FALSE(restore.contains(QStringLiteral("-rep")) ||
                 restore.contains(QStringLiteral("-replace_database")));
    for (const QString& a : backup + restore)
        EXPECT_FALSE(a.contains(QStringLiteral("tajne"))) << a.toStdString();
}

// The office case: a database on a Firebird server on localhost (scripts/test.sh starts one).
class ArchiverServerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        host = qEnvironmentVariable("ZF_TEST_SERVER");
        password = qEnvironmentVariable("ZF_TEST_SERVER_PASSWORD");
        if (host.isEmpty() || password.isEmpty())
            GTEST_SKIP() << "No Firebird server: ZF_TEST_SERVER and ZF_TEST_SERVER_PASSWORD are "
                            "not set (scripts/test.sh sets them when it can start a server)";
        // The server runs as user firebird and must be able to create files here.
        ASSERT_EQ(::chmod(QFile::encodeName(scratch.path()).constData(), 0777), 0);
        location = host + QLatin1Char(':') + scratch.path() + QStringLiteral("/kadry.fdb");
        creator = std::make_unique<DatabaseCreator>();
        const auto error = creator->create(location, kUser, password, test::creationScriptLines());
        ASSERT_FALSE(error) << error->message.toStdString();
        creator->Trans.start();
        creator->sql.setSql(QStringLiteral("INSERT INTO EMPLOYEES (IDEMPLOYEE, SURNAME, NAME) "
                                           "VALUES ('S1', 'Źrebięcka', 'Bożena')"));
        creator->sql.execute();
        creator->Trans.commit();
        // The creator stays attached, as a copy of the program would: a server backs up a
        // database in use.
    }

    void TearDown() override
    {
        if (creator)
            creator->DB.detach();
    }

    QTemporaryDir scratch;
    QString host;
    QString password;
    QString location;
    std::unique_ptr<DatabaseCreator> creator;
};

TEST_F(ArchiverServerTest, RoundTripWhileTheDatabaseIsInUse)
{
    Archiver archiver(Settings{location, kUser, password});
    const QString backup = scratch.path() + QStringLiteral("/serwer.fbk");
    const Outcome b =
        perform(archiver, [&](QString* e) { return archiver.startBackup(backup, e); });
    ASSERT_TRUE(b.result && b.result->ok) << text(b);

    const QString restored = host + QLatin1Char(':') + scratch.path() + QStringLiteral("/nowa.fdb");
    const Outcome r =
        perform(archiver, [&](QString* e) { return archiver.startRestore(backup, restored, e); });
    ASSERT_TRUE(r.result && r.result->ok) << text(r);
    EXPECT_EQ(rows(restored, QStringLiteral("SELECT SURNAME, NAME FROM EMPLOYEES"), password),
              QStringList{QStringLiteral("Źrebięcka|Bożena")});

    // The same server location again, or the program's own database, is refused before gbak
    // runs; the restored database stays intact.
    for (const QString& target : {restored, location}) {
        QString error;
        EXPECT_FALSE(archiver.startRestore(backup, target, &error)) << target.toStdString();
        EXPECT_TRUE(error.contains(QStringLiteral("nowego pliku"))) << error.toStdString();
    }
    EXPECT_EQ(rows(restored, QStringLiteral("SELECT SURNAME FROM EMPLOYEES"), password),
              QStringList{QStringLiteral("Źrebięcka")});

    // A backup cut short: the server drops the database gbak began.
    const QString truncated = scratch.path() + QStringLiteral("/urwana.fbk");
    writeFile(truncated, contents(backup).left(QFileInfo(backup).size() / 2));
    const QString broken = host + QLatin1Char(':') + scratch.path() + QStringLiteral("/zla.fdb");
    const Outcome bad =
        perform(archiver, [&](QString* e) { return archiver.startRestore(truncated, broken, e); });
    ASSERT_TRUE(bad.result) << text(bad);
    EXPECT_FALSE(bad.result->ok);
    EXPECT_TRUE(bad.result->message.contains(QStringLiteral("nie jest kopią zapasową")))
        << text(bad);
    EXPECT_FALSE(QFileInfo::exists(scratch.path() + QStringLiteral("/zla.fdb")));
}

TEST_F(ArchiverServerTest, AWrongPasswordIsExplained)
{
    Archiver archiver(Settings{location, kUser, password + QStringLiteral("x")});
    const QString backup = scratch.path() + QStringLiteral("/serwer.fbk");
    const Outcome b =
        perform(archiver, [&](QString* e) { return archiver.startBackup(backup, e); });
    ASSERT_TRUE(b.result) << text(b);
    EXPECT_FALSE(b.result->ok);
    EXPECT_TRUE(b.result->message.contains(QStringLiteral("nazwy użytkownika lub hasła")))
        << text(b);
    EXPECT_FALSE(QFileInfo::exists(backup));
}

} // namespace
} // namespace zf::archive
