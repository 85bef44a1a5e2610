#include "data/managedb.h"

#include "data/mydatabase.h"
#include "data/scriptrunner.h"
#include "util/clock.h"
#include "util/dialogs.h"
#include "util/ovtools.h"
#include "util/textcodec.h"

#include <QDir>
#include <QFileInfo>

namespace zf {

namespace {

constexpr int kCodeScriptRead = 142053;

const QString kDefaultUser = QStringLiteral("SYSDBA");
const QString kDefaultPassword = QStringLiteral("lanternox");
const QString kDemoFileName = QStringLiteral("FB_ZEFIRANT_DEMO.FDB");
const QString kProposedFileName = QStringLiteral("FB_ZEFIRANT.FDB");

const QString kMsgNoName = QStringLiteral("Nie wprowadzono nazwy i lokalizacji bazy. Popraw pole.");
const QString kMsgNoUser =
    QStringLiteral("Nie podano nazwy użytkownika (domyślnie SYSDBA). Popraw pole.");
const QString kMsgNoPassword =
    QStringLiteral("Nie podano hasła do bazy danych (domyślnie lanternox). Popraw pole.");
const QString kMsgScriptRead = QStringLiteral("Wystąpił błąd podczas wczytywania skryptów SQL.");
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

const QString kMsgNotCp1250 = QStringLiteral(
    "Pole zawiera znaki, których nie można zapisać w ustawieniach programu (strona kodowa "
    "Windows-1250): %1. Wskaż inną lokalizację, nazwę użytkownika lub hasło.");

} // namespace

const QString ManageDatabase::kDialogTitle = QStringLiteral("Wskaż lokalizację pliku bazy danych");
const QStringList ManageDatabase::kDialogFilters = {QStringLiteral("Wszystkie pliki (*.*)"),
                                                    QStringLiteral("Baza danych (*.fdb)")};
const QString ManageDatabase::kDefaultSuffix = QStringLiteral("fdb");
const QString ManageDatabase::kNoLocation = QStringLiteral("<brak>");

bool isServerLocation(const QString& location)
{
    const qsizetype colon = location.indexOf(QLatin1Char(':'));
    if (colon <= 0)
        return false;
    const QStringView host = QStringView(location).left(colon);
    return !host.contains(QLatin1Char('/')) && !host.contains(QLatin1Char('\\'));
}

ManageDatabase::ManageDatabase(TmyDataBase& db, Dialogs& dialogs, QString programFolder,
                               QString dataFolder)
    : m_db(db), m_dialogs(dialogs), m_programFolder(std::move(programFolder)),
      m_dataFolder(std::move(dataFolder))
{
}

QString ManageDatabase::proposedFolder() const
{
    return m_dataFolder + QStringLiteral("/database");
}

QString ManageDatabase::createBrowseStart() const
{
    return proposedFolder() + QLatin1Char('/') + kProposedFileName;
}

QString ManageDatabase::openBrowseStart() const
{
    const QString current = m_db.location;
    if (!isServerLocation(current) && text::TrimLength(current) > 0 && QFileInfo(current).isFile())
        return current;
    return proposedFolder();
}

void ManageDatabase::prepareForShow()
{
    crName = proposedFolder() + QLatin1Char('/') + kDemoFileName;
    crUser.clear();
    crPassword.clear();
    opName = m_db.location;
    opUser = m_db.user;
    opPassword = m_db.password;
    currentLocationText = text::TrimLength(m_db.location) == 0 ? kNoLocation : m_db.location;
}

bool ManageDatabase::BrowseCreate()
{
    QDir().mkpath(proposedFolder());
    const QString chosen = m_dialogs.saveFileName(kDialogTitle, createBrowseStart(),
                                                       kDialogFilters, kDefaultSuffix);
    if (chosen.isEmpty())
        return false;
    crName = chosen;
    return true;
}

bool ManageDatabase::BrowseOpen()
{
    const QString chosen =
        m_dialogs.openFileName(kDialogTitle, openBrowseStart(), kDialogFilters);
    if (chosen.isEmpty())
        return false;
    opName = chosen;
    return true;
}

ManageDatabase::Field ManageDatabase::check(const QString& name, const QString& user,
                                            const QString& password, Field nameField,
                                            Field userField, Field passwordField)
{
    const auto refuse = [this](const QString& message, Field field) {
        m_dialogs.information(kCaptionInformation, message);
        return field;
    };
    if (text::TrimLength(name) <= 2)
        return refuse(kMsgNoName, nameField);
    if (text::TrimLength(user) == 0)
        return refuse(kMsgNoUser, userField);
    if (text::TrimLength(password) == 0)
        return refuse(kMsgNoPassword, passwordField);
    // "zefirant.ini" and "config.dat" hold Windows-1250 bytes: a substitute character would
    // point the next start at a file that does not exist.
    const std::pair<const QString*, Field> fields[] = {
        {&name, nameField}, {&user, userField}, {&password, passwordField}};
    for (const auto& [value, field] : fields) {
        const QString bad = nonCp1250Characters(*value);
        if (!bad.isEmpty())
            return refuse(kMsgNotCp1250.arg(bad), field);
    }
    return Field::None;
}

ManageDatabase::Outcome ManageDatabase::QuickCreate()
{
    // The time in the name gives every quick creation a file of its own: a failed attempt
    // leaves its file behind.
    const QString folder = proposedFolder();
    const QString bad = nonCp1250Characters(folder);
    if (!bad.isEmpty()) {
        m_dialogs.information(kCaptionInformation, kMsgNotCp1250.arg(bad));
        return Outcome::Stay();
    }
    QDir().mkpath(folder);
    crName = folder + QStringLiteral("/db") + clock().now().toString(QStringLiteral("HHmmss")) +
             QLatin1Char('_') + kDemoFileName;
    crUser = kDefaultUser;
    crPassword = kDefaultPassword;
    return CreateDatabase();
}

ManageDatabase::Outcome ManageDatabase::CreateDatabase()
{
    const Field bad =
        check(crName, crUser, crPassword, Field::crName, Field::crUser, Field::crPassword);
    if (bad != Field::None)
        return Outcome::Stay(bad);

    // The proposed folder exists only after a first quick creation.
    if (!isServerLocation(crName) && QFileInfo(crName).absolutePath() == proposedFolder())
        QDir().mkpath(proposedFolder());

    QByteArray script;
    if (!TOVTools::LoadFileToText(DatabaseCreator::CreationScriptPath(m_programFolder), script)) {
        m_db.ReportUnexpectedError(kMsgScriptRead, false, kCodeScriptRead);
        return Outcome::Stay();
    }
    const QStringList lines = decipherScript(script);

    const QString name = crName;
    const QString user = crUser;
    const QString password = crPassword;
    if (const auto error = creator.create(name, user, password, lines)) {
        creator.Trans.rollbackQuietly();
        m_db.WriteErrorLog(QStringLiteral("[0000972118]  log:") + QString::number(error->step) +
                           QLatin1Char(' ') + error->message);
        // Only a local file can be looked at; a server's files are out of sight.
        const bool exists = !isServerLocation(name) && QFileInfo::exists(name);
        m_dialogs.information(kCaptionError, exists ? kMsgCreateExists : kMsgCreateFailed);
        return Outcome::Stay();
    }

    m_db.location = name;
    m_db.user = user;
    m_db.password = password;
    m_db.SaveConnectionSettings();
    m_db.Connect(name, user, password);
    m_dialogs.information(kCaptionInformation, kMsgCreated);
    m_db.WriteErrorLog(QStringLiteral("[0000000000]  db created:") + name);
    return Outcome::Close();
}

ManageDatabase::Outcome ManageDatabase::OpenExisting()
{
    const Field bad =
        check(opName, opUser, opPassword, Field::opName, Field::opUser, Field::opPassword);
    if (bad != Field::None)
        return Outcome::Stay(bad);

    const bool wasConnected = m_db.IsConnected();
    const QString name = opName;
    const QString user = opUser;
    const QString password = opPassword;
    if (!m_db.Connect(name, user, password)) {
        // Connect dropped the old connection first; the settings stay, so bring it back.
        if (wasConnected)
            m_db.Connect(m_db.location, m_db.user, m_db.password);
        m_dialogs.information(kCaptionError, kMsgOpenFailed);
        return Outcome::Stay();
    }
    m_db.location = name;
    m_db.user = user;
    m_db.password = password;
    m_db.SaveConnectionSettings();
    m_db.WriteErrorLog(QStringLiteral("[0000000000]  db opened:") + name);
    return Outcome::Close();
}

} // namespace zf
