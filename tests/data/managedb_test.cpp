// Database management: creating, quick-creating and opening databases on the embedded engine.
#include "data/managedb.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/test_database.h"
#include "tests/support/test_env.h"
#include "tests/util/print.h"
#include "util/textcodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zf {
namespace {

using Field = ManageDatabase::Field;
using test::ScriptedDialogs;

const QString kMsgNoName = QStringLiteral("Nie wprowadzono nazwy i lokalizacji bazy. Popraw pole.");
const QString kMsgNoUser =
    QStringLiteral("Nie podano nazwy użytkownika (domyślnie SYSDBA). Popraw pole.");
const QString kMsgNoPassword =
    QStringLiteral("Nie podano hasła do bazy danych (domyślnie lanternox). Popraw pole.");
const QString kMsgCreated =
    QStringLiteral("Baza danych została utworzona. Możesz rozpocząć już pracę z programem.");
const QString kMsgCreateExists = QStringLiteral(
    "Nie udało się utworzyć bazy danych. Baza prawdopodobnie już istnieje. Sprawdź również czy "
    "nazwa użytkownika i hasło zostały wprowadzone poprawnie. Sprawdź też czy na pewno "
    "zainstalowano serwer Firebird i czy został on uruchomiony.");
const QString kMsgCreateFailed = QStringLiteral(
    "Nie udało się utworzyć bazy danych. Sprawdź czy podana lokalizacja, użytkownik i hasło są "
    "poprawne. Sprawdź też czy zainstalowano i uruchomiono serwer baz danych Firebird. Format "
    "lokalizacji, np. IP_SERWERA:C:\\katalog\\baza.fdb");
const QString kMsgOpenFailed = QStringLiteral(
    "Nie udało się połączyć z bazą danych. Sprawdź czy podana lokalizacja, użytkownik i hasło są "
    "poprawne. Sprawdź też czy zainstalowano i uruchomiono serwer baz danych Firebird. Format "
    "lokalizacji, np. IP_SERWERA:C:\\katalog\\baza.fdb");

const QString kUser = QStringLiteral("SYSDBA");
const QString kPassword = QStringLiteral("lanternox");

void writeJunk(const QString& path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));
}

QStringList readLog(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return fromCp1250(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

bool anyLineContains(const QStringList& lines, const QString& part)
{
    for (const QString& l : lines)
        if (l.contains(part))
            return true;
    return false;
}

class ManageDbTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Each test starts with an empty data folder: no INI, no "config.dat", no databases.
        QDir(dataFolder()).removeRecursively();
        QDir().mkpath(dataFolder() + QStringLiteral("/debug"));
        // The module is connected to the test database with matching settings, as after start-up.
        db().location = t.path();
        db().user = kUser;
        db().password = kPassword;
    }

    TmyDataBase& db() { return t.db(); }
    ScriptedDialogs& dialogs() { return t.dialogs(); }
    QString dataFolder() { return db().paths().dataFolder; }
    QStringList log() { return readLog(db().errorLog().path()); }
    QString iniPath() { return db().IniPath(); }

    // The settings and connection are still those of the test database.
    void expectPreviousSettingsKept()
    {
        EXPECT_EQ(db().location, t.path());
        EXPECT_EQ(db().user, kUser);
        EXPECT_EQ(db().password, kPassword);
        EXPECT_TRUE(db().IsConnected());
        EXPECT_EQ(db().FBDataBase.location(), t.path());
        EXPECT_TRUE(db().CheckLogin(QStringLiteral("admin"), QStringLiteral("zefirant")));
        EXPECT_FALSE(QFile::exists(iniPath()));
        EXPECT_FALSE(QFile::exists(db().ConfigDatPath()));
    }

    void expectOneMessage(const QString& caption, const QString& text)
    {
        ASSERT_EQ(dialogs().shown().size(), 1u);
        EXPECT_EQ(dialogs().shown()[0].kind, ScriptedDialogs::Kind::Information);
        EXPECT_EQ(dialogs().shown()[0].caption, caption);
        EXPECT_EQ(dialogs().shown()[0].text, text);
    }

    // What a program started afterwards finds in the INI file and "config.dat".
    void expectStoredSettings(const QString& location)
    {
        ScriptedDialogs otherDialogs;
        TmyDataBase next(db().paths(), otherDialogs);
        EXPECT_EQ(next.ReadConnectionSettingsAndConnect(), TmyDataBase::Connected);
        EXPECT_EQ(next.location, location);
        EXPECT_EQ(next.user, kUser);
        EXPECT_EQ(next.password, kPassword);
        EXPECT_TRUE(next.CheckLogin(QStringLiteral("admin"), QStringLiteral("zefirant")));
    }

    test::TestDatabase t;
    ManageDatabase m{t.db(), t.dialogs(), test::programFolder(), t.db().paths().dataFolder};
    QTemporaryDir scratch;
};

// --- the checks ----------------------------------------------------------------------------

// A null name stands for a name that would work, so only the checks can stop the operation.
struct CheckCase
{
    const char* name;
    const char* user;
    const char* password;
    QString message;
};

const CheckCase kCheckCases[] = {
    {"ab", "SYSDBA", "lanternox", kMsgNoName},
    {"   ab   ", "SYSDBA", "lanternox", kMsgNoName},
    {"", "", "", kMsgNoName},
    {nullptr, "", "lanternox", kMsgNoUser},
    {nullptr, "   ", "", kMsgNoUser},
    {nullptr, "SYSDBA", "", kMsgNoPassword},
    {nullptr, "SYSDBA", "  ", kMsgNoPassword},
};

std::string describe(const CheckCase& c)
{
    return std::string(c.name ? c.name : "<valid>") + "|" + c.user + "|" + c.password;
}

// The field a case's message points at, on the creation or the opening side.
Field expectedFocus(const QString& message, bool creating)
{
    if (message == kMsgNoName)
        return creating ? Field::crName : Field::opName;
    if (message == kMsgNoUser)
        return creating ? Field::crUser : Field::opUser;
    return creating ? Field::crPassword : Field::opPassword;
}

TEST_F(ManageDbTest, CreationChecksRefuseInOrderWithFocusAndCreateNothing)
{
    for (const CheckCase& c : kCheckCases) {
        SCOPED_TRACE(describe(c));
        dialogs().clear();
        m.crName =
            c.name ? QString::fromUtf8(c.name) : scratch.path() + QStringLiteral("/baza.fdb");
        m.crUser = QString::fromUtf8(c.user);
        m.crPassword = QString::fromUtf8(c.password);
        const auto outcome = m.CreateDatabase();
        EXPECT_FALSE(outcome.close);
        EXPECT_EQ(outcome.focus, expectedFocus(c.message, true));
        expectOneMessage(QStringLiteral("Informacja"), c.message);
        EXPECT_FALSE(m.creator.DB.isAttached());
    }
    EXPECT_TRUE(QDir(scratch.path()).isEmpty());
    expectPreviousSettingsKept();
}

TEST_F(ManageDbTest, OpeningChecksRefuseInOrderWithFocusAndKeepTheConnection)
{
    for (const CheckCase& c : kCheckCases) {
        SCOPED_TRACE(describe(c));
        dialogs().clear();
        m.opName = c.name ? QString::fromUtf8(c.name) : t.path();
        m.opUser = QString::fromUtf8(c.user);
        m.opPassword = QString::fromUtf8(c.password);
        const auto outcome = m.OpenExisting();
        EXPECT_FALSE(outcome.close);
        EXPECT_EQ(outcome.focus, expectedFocus(c.message, false));
        expectOneMessage(QStringLiteral("Informacja"), c.message);
    }
    EXPECT_FALSE(anyLineContains(log(), QStringLiteral("db opened:")));
    expectPreviousSettingsKept();
}

TEST_F(ManageDbTest, LocationsThatWindows1250CannotHoldAreRefusedBeforeAnythingIsMade)
{
    // Typed on the advanced tab, in either direction.
    m.crName = scratch.path() + QStringLiteral("/Дані/baza.fdb");
    m.crUser = kUser;
    m.crPassword = kPassword;
    auto outcome = m.CreateDatabase();
    EXPECT_FALSE(outcome.close);
    EXPECT_EQ(outcome.focus, Field::crName);
    ASSERT_EQ(dialogs().shown().size(), 1u);
    EXPECT_TRUE(dialogs().shown()[0].text.contains(QStringLiteral(": Дані.")));
    dialogs().clear();
    m.opName = t.path();
    m.opUser = kUser;
    m.opPassword = QStringLiteral("hasło€Ж");
    outcome = m.OpenExisting();
    EXPECT_EQ(outcome.focus, Field::opPassword);
    ASSERT_EQ(dialogs().shown().size(), 1u);
    EXPECT_TRUE(dialogs().shown()[0].text.endsWith(
        QStringLiteral(": Ж. Wskaż inną lokalizację, nazwę użytkownika lub hasło.")));

    // Derived from a data folder that lies under such a folder.
    dialogs().clear();
    const QString foreignData = scratch.path() + QStringLiteral("/Користувач/Zefirant");
    ManageDatabase quick{t.db(), t.dialogs(), test::programFolder(), foreignData};
    outcome = quick.QuickCreate();
    EXPECT_FALSE(outcome.close);
    ASSERT_EQ(dialogs().shown().size(), 1u);
    EXPECT_FALSE(QFileInfo::exists(foreignData));
    EXPECT_TRUE(QDir(scratch.path()).isEmpty());
    expectPreviousSettingsKept();
}

TEST_F(ManageDbTest, TheProposedLocationWorksOnAFreshDataFolder)
{
    ASSERT_FALSE(QFileInfo::exists(m.proposedFolder()));
    m.prepareForShow();
    m.crUser = kUser;
    m.crPassword = kPassword;
    const auto outcome = m.CreateDatabase();
    EXPECT_TRUE(outcome.close);
    expectOneMessage(QStringLiteral("Informacja"), kMsgCreated);
    EXPECT_TRUE(QFileInfo(m.crName).isFile());
    expectStoredSettings(m.crName);
}

// --- quick creation -------------------------------------------------------------------------

TEST_F(ManageDbTest, QuickCreationMakesConnectsStoresAndLogsTheNewDatabase)
{
    test::FixedClock clock(QDateTime(QDate(2024, 5, 6), QTime(10, 11, 12)));
    ASSERT_FALSE(QDir(dataFolder() + QStringLiteral("/database")).exists());

    const auto outcome = m.QuickCreate();

    const QString file = dataFolder() + QStringLiteral("/database/db101112_FB_ZEFIRANT_DEMO.FDB");
    EXPECT_TRUE(outcome.close);
    EXPECT_EQ(m.crName, file);
    EXPECT_EQ(m.crUser, kUser);
    EXPECT_EQ(m.crPassword, kPassword);
    EXPECT_TRUE(QFileInfo(file).isFile());
    expectOneMessage(QStringLiteral("Informacja"), kMsgCreated);

    EXPECT_EQ(db().location, file);
    EXPECT_EQ(db().user, kUser);
    EXPECT_EQ(db().password, kPassword);
    EXPECT_TRUE(db().IsConnected());
    EXPECT_EQ(db().FBDataBase.location(), file);
    // The main connection sees the schema the script made.
    EXPECT_TRUE(db().CheckLogin(QStringLiteral("admin"), QStringLiteral("zefirant")));
    // The creation connection stays on the new database.
    EXPECT_TRUE(m.creator.DB.isAttached());
    EXPECT_EQ(m.creator.DB.location(), file);

    EXPECT_TRUE(
        log().contains(QStringLiteral("2024.05.06 10:11:12  [0000000000]  db created:") + file))
        << log().join(QLatin1Char('\n')).toStdString();
    expectStoredSettings(file);
}

TEST_F(ManageDbTest, QuickCreationsASecondApartMakeTwoDatabasesButNotInTheSameSecond)
{
    test::FixedClock clock(QDateTime(QDate(2024, 5, 6), QTime(23, 59, 58)));
    ASSERT_TRUE(m.QuickCreate().close);
    const QString first = db().location;

    clock.set(QDateTime(QDate(2024, 5, 6), QTime(23, 59, 59)));
    dialogs().clear();
    ASSERT_TRUE(m.QuickCreate().close);
    const QString second = db().location;
    EXPECT_NE(first, second);
    EXPECT_TRUE(QFileInfo(first).isFile());
    EXPECT_TRUE(QFileInfo(second).isFile());
    EXPECT_EQ(db().FBDataBase.location(), second);
    expectOneMessage(QStringLiteral("Informacja"), kMsgCreated);

    // Within the same second the name repeats and the file is already there.
    dialogs().clear();
    const auto again = m.QuickCreate();
    EXPECT_FALSE(again.close);
    expectOneMessage(QStringLiteral("Błąd"), kMsgCreateExists);
    EXPECT_EQ(db().location, second);
    EXPECT_EQ(db().FBDataBase.location(), second);
    expectStoredSettings(second);
}

// --- creation failures ----------------------------------------------------------------------

TEST_F(ManageDbTest, CreatingOverAnExistingFileFailsAndChangesNoSettings)
{
    const QString path = scratch.path() + QStringLiteral("/taken.fdb");
    writeJunk(path);
    m.crName = path;
    m.crUser = kUser;
    m.crPassword = kPassword;

    const auto outcome = m.CreateDatabase();

    EXPECT_FALSE(outcome.close);
    EXPECT_EQ(outcome.focus, Field::None);
    expectOneMessage(QStringLiteral("Błąd"), kMsgCreateExists);
    EXPECT_EQ(QFileInfo(path).size(), 4096) << "the file is left as it was";
    EXPECT_TRUE(anyLineContains(log(), QStringLiteral("[0000972118]  log:2 ")))
        << log().join(QLatin1Char('\n')).toStdString();
    EXPECT_FALSE(anyLineContains(log(), QStringLiteral("db created:")));
    expectPreviousSettingsKept();
}

TEST_F(ManageDbTest, CreatingWhereNoFileCanBeMadeGivesTheLocationMessage)
{
    m.crName = scratch.path() + QStringLiteral("/no/such/folder/baza.fdb");
    m.crUser = kUser;
    m.crPassword = kPassword;

    EXPECT_FALSE(m.CreateDatabase().close);

    expectOneMessage(QStringLiteral("Błąd"), kMsgCreateFailed);
    EXPECT_TRUE(anyLineContains(log(), QStringLiteral("[0000972118]  log:2 ")));
    expectPreviousSettingsKept();
}

TEST_F(ManageDbTest, AServerLocationIsNeverTakenForALocalFile)
{
    // "localhost:baza.fdb" names the server's file; here it is also the name of a local file
    // (relative to the working folder), which must not count.
    const QString previousFolder = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(scratch.path()));
    writeJunk(QStringLiteral("localhost:baza.fdb"));
    m.crName = QStringLiteral("localhost:baza.fdb");
    m.crUser = kUser;
    m.crPassword = QStringLiteral("zle-haslo");

    const bool closed = m.CreateDatabase().close;
    QDir::setCurrent(previousFolder);

    EXPECT_FALSE(closed);
    expectOneMessage(QStringLiteral("Błąd"), kMsgCreateFailed);
    EXPECT_TRUE(anyLineContains(log(), QStringLiteral("[0000972118]  log:2 ")));
    expectPreviousSettingsKept();
}

TEST(ServerLocation, IsAHostNameBeforeTheFirstColon)
{
    EXPECT_TRUE(isServerLocation(QStringLiteral("serwer-kadr:/var/lib/firebird/data/z.fdb")));
    EXPECT_TRUE(isServerLocation(QStringLiteral("192.168.1.5:/data/z.fdb")));
    EXPECT_TRUE(isServerLocation(QStringLiteral("inet://serwer/data/z.fdb")));
    EXPECT_FALSE(isServerLocation(QStringLiteral("/var/lib/firebird/data/z.fdb")));
    EXPECT_FALSE(isServerLocation(QStringLiteral("/home/kadry/plan:2024.fdb")));
    EXPECT_FALSE(isServerLocation(QStringLiteral("bazy/plan:2024.fdb")));
    EXPECT_FALSE(isServerLocation(QStringLiteral(":/z.fdb")));
    EXPECT_FALSE(isServerLocation(QString()));
}

TEST_F(ManageDbTest, AMissingCreationScriptIsReportedAndNothingIsCreated)
{
    QTemporaryDir emptyProgramFolder;
    ManageDatabase withoutScript(db(), dialogs(), emptyProgramFolder.path(), dataFolder());
    withoutScript.crName = scratch.path() + QStringLiteral("/nowa.fdb");
    withoutScript.crUser = kUser;
    withoutScript.crPassword = kPassword;

    EXPECT_FALSE(withoutScript.CreateDatabase().close);

    expectOneMessage(QStringLiteral("Błąd"),
                     QStringLiteral("Wystąpił błąd podczas wczytywania skryptów SQL."));
    EXPECT_TRUE(anyLineContains(
        log(), QStringLiteral("[0000142053]  Wystąpił błąd podczas wczytywania skryptów SQL.")));
    EXPECT_FALSE(QFile::exists(withoutScript.crName));
    EXPECT_FALSE(withoutScript.creator.DB.isAttached());
    expectPreviousSettingsKept();
}

// --- opening --------------------------------------------------------------------------------

TEST_F(ManageDbTest, OpeningAnotherDatabaseSwitchesStoresAndLogs)
{
    const QString other = scratch.path() + QStringLiteral("/inna.fdb");
    test::createDatabaseFile(other, test::creationScriptLines());
    m.opName = other;
    m.opUser = kUser;
    m.opPassword = kPassword;

    EXPECT_TRUE(m.OpenExisting().close);

    EXPECT_TRUE(dialogs().shown().empty());
    EXPECT_EQ(db().location, other);
    EXPECT_TRUE(db().IsConnected());
    EXPECT_EQ(db().FBDataBase.location(), other);
    EXPECT_TRUE(anyLineContains(log(), QStringLiteral("[0000000000]  db opened:") + other));
    expectStoredSettings(other);
}

TEST_F(ManageDbTest, AFailedOpenKeepsThePreviousSettingsAndConnection)
{
    const QString junk = scratch.path() + QStringLiteral("/nie-baza.fdb");
    writeJunk(junk);
    for (const QString& target : {junk, scratch.path() + QStringLiteral("/brak.fdb")}) {
        SCOPED_TRACE(target.toStdString());
        dialogs().clear();
        m.opName = target;
        m.opUser = kUser;
        m.opPassword = kPassword;

        const auto outcome = m.OpenExisting();

        EXPECT_FALSE(outcome.close);
        EXPECT_EQ(outcome.focus, Field::None);
        expectOneMessage(QStringLiteral("Błąd"), kMsgOpenFailed);
        EXPECT_TRUE(anyLineContains(log(), QStringLiteral("[0000000000]  db source:") + target));
        expectPreviousSettingsKept();
    }
    EXPECT_FALSE(anyLineContains(log(), QStringLiteral("db opened:")));
}

// --- showing --------------------------------------------------------------------------------

TEST_F(ManageDbTest, EveryShowingStartsFromTheModulesSettings)
{
    const QString proposed = dataFolder() + QStringLiteral("/database/FB_ZEFIRANT_DEMO.FDB");
    db().location = QStringLiteral("   ");
    m.crUser = QStringLiteral("typed");
    m.crPassword = QStringLiteral("typed");
    m.prepareForShow();
    EXPECT_EQ(m.currentLocationText, QStringLiteral("<brak>"));
    EXPECT_EQ(m.crName, proposed);
    EXPECT_EQ(m.crUser, QString());
    EXPECT_EQ(m.crPassword, QString());
    EXPECT_EQ(m.opUser, kUser);
    EXPECT_EQ(m.opPassword, kPassword);

    test::FixedClock clock(QDateTime(QDate(2024, 5, 6), QTime(8, 0, 1)));
    ASSERT_TRUE(m.QuickCreate().close);
    m.prepareForShow();
    const QString created =
        dataFolder() + QStringLiteral("/database/db080001_FB_ZEFIRANT_DEMO.FDB");
    EXPECT_EQ(m.currentLocationText, created);
    EXPECT_EQ(m.opName, created);
    EXPECT_EQ(m.opUser, kUser);
    EXPECT_EQ(m.opPassword, kPassword);
    EXPECT_EQ(m.crName, proposed);
    EXPECT_EQ(m.crUser, QString());
    EXPECT_EQ(m.crPassword, QString());
}

// --- file choices ---------------------------------------------------------------------------

// Keeps where each file choice started and what it offered.
class RecordingDialogs : public ScriptedDialogs
{
public:
    QString openFileName(const QString& title, const QString& startPath,
                         const QStringList& filters) override
    {
        startPaths << startPath;
        lastFilters = filters;
        return ScriptedDialogs::openFileName(title, startPath, filters);
    }
    QString saveFileName(const QString& title, const QString& startPath, const QStringList& filters,
                         const QString& defaultSuffix) override
    {
        startPaths << startPath;
        lastFilters = filters;
        lastSuffix = defaultSuffix;
        return ScriptedDialogs::saveFileName(title, startPath, filters, defaultSuffix);
    }

    QStringList startPaths;
    QStringList lastFilters;
    QString lastSuffix;
};

class FileChoiceTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString dataFolder = dir.path() + QStringLiteral("/dane");
    // The choices are the window's, not the database module's.
    RecordingDialogs dialogs;
    ScriptedDialogs moduleDialogs;
    TmyDataBase db{DatabasePaths{dataFolder,
                                 test::programFolder(),
                                 {dir.path() + QStringLiteral("/no-installer")}},
                   moduleDialogs};
    ManageDatabase m{db, dialogs, test::programFolder(), dataFolder};
    const QStringList filters = {QStringLiteral("Wszystkie pliki (*.*)"),
                                 QStringLiteral("Baza danych (*.fdb)")};
};

TEST_F(FileChoiceTest, CreationProposesItsFileInTheDatabaseFolder)
{
    dialogs.chooseFile(QStringLiteral("/srv/bazy/kadry.fdb"));
    EXPECT_TRUE(m.BrowseCreate());
    EXPECT_EQ(m.crName, QStringLiteral("/srv/bazy/kadry.fdb"));
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].kind, ScriptedDialogs::Kind::SaveFile);
    EXPECT_EQ(dialogs.shown()[0].caption, QStringLiteral("Wskaż lokalizację pliku bazy danych"));
    EXPECT_EQ(dialogs.startPaths,
              QStringList{dataFolder + QStringLiteral("/database/FB_ZEFIRANT.FDB")});
    EXPECT_EQ(dialogs.lastFilters, filters);
    EXPECT_EQ(dialogs.lastSuffix, QStringLiteral("fdb"));

    // A cancelled choice keeps what was there.
    dialogs.chooseFile(QString());
    EXPECT_FALSE(m.BrowseCreate());
    EXPECT_EQ(m.crName, QStringLiteral("/srv/bazy/kadry.fdb"));
}

TEST_F(FileChoiceTest, OpeningStartsAtTheCurrentFileOnlyWhenItExists)
{
    const QString existing = dir.path() + QStringLiteral("/obecna.fdb");
    writeJunk(existing);
    const QString proposedFolder = dataFolder + QStringLiteral("/database");

    for (const QString& location : {existing, dir.path() + QStringLiteral("/brak.fdb"),
                                    QStringLiteral("serwer:") + existing, QString()}) {
        db.location = location;
        dialogs.chooseFile(QStringLiteral("/srv/bazy/wybrana.fdb"));
        m.opName = QStringLiteral("przed");
        EXPECT_TRUE(m.BrowseOpen());
        EXPECT_EQ(m.opName, QStringLiteral("/srv/bazy/wybrana.fdb"));
    }
    EXPECT_EQ(dialogs.startPaths,
              (QStringList{existing, proposedFolder, proposedFolder, proposedFolder}));
    EXPECT_EQ(dialogs.lastFilters, filters);
    EXPECT_EQ(dialogs.shown().back().kind, ScriptedDialogs::Kind::OpenFile);

    dialogs.chooseFile(QString());
    EXPECT_FALSE(m.BrowseOpen());
    EXPECT_EQ(m.opName, QStringLiteral("/srv/bazy/wybrana.fdb"));
}

} // namespace
} // namespace zf
