#include "archiwizacja/archiver.h"

#include "data/fb/connection.h"
#include "data/fb/error.h"
#include "util/exception.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QProcessEnvironment>
#include <QStandardPaths>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace zf::archive {

namespace {

const QString kBusy = QStringLiteral("Trwa już tworzenie lub odtwarzanie kopii. Poczekaj na jego "
                                     "zakończenie.");

QString quoted(const QString& path)
{
    return QStringLiteral("„") + QDir::toNativeSeparators(path) + QStringLiteral("”");
}

// Why a file could not be created, in Polish, from the system's error number.
QString createFailure(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
        return QStringLiteral("brak uprawnień do zapisu");
    case EROFS:
        return QStringLiteral("nośnik jest tylko do odczytu");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("brak miejsca na dysku");
    case ENOENT:
        return QStringLiteral("folder nie istnieje");
    case ENOTDIR:
        return QStringLiteral("to nie jest folder");
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}

// Creates an empty file that must not exist yet; the reason in Polish when that fails.
bool createNewFile(const QString& path, QString* reason)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        *reason = createFailure(errno);
        return false;
    }
    ::close(fd);
    return true;
}

// True when the folder exists and a new file can be made in it: the permission bits say little
// (root ignores them, network and read-only file systems ignore the bits), so a file is made.
bool folderTakesNewFiles(const QString& folder, QString* reason)
{
    const QFileInfo info(folder);
    if (!info.exists()) {
        *reason = createFailure(ENOENT);
        return false;
    }
    if (!info.isDir()) {
        *reason = createFailure(ENOTDIR);
        return false;
    }
    for (int n = 0; n < 100; ++n) {
        const QString probe = QDir(folder).filePath(QStringLiteral(".zf-archiwizacja-proba-") +
                                                    QString::number(::getpid()) + QLatin1Char('-') +
                                                    QString::number(n));
        if (createNewFile(probe, reason)) {
            QFile::remove(probe);
            return true;
        }
        if (QFileInfo(probe).exists() || QFileInfo(probe).isSymLink())
            continue; // a leftover of another run: try the next name
        return false;
    }
    *reason = QStringLiteral("nie można utworzyć pliku próbnego");
    return false;
}

bool existsOrDangles(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

bool containsAny(const QString& haystack, std::initializer_list<const char*> needles)
{
    for (const char* n : needles) {
        if (haystack.contains(QLatin1String(n)))
            return true;
    }
    return false;
}

} // namespace

Archiver::Archiver(Settings settings, QObject* parent)
    : QObject(parent), m_settings(std::move(settings)), m_gbak(defaultGbakProgram())
{
}

Archiver::~Archiver()
{
    if (m_process) {
        // Closing the tool mid-run must not leave a half-written file behind.
        m_process->disconnect(this);
        m_process->kill();
        m_process->waitForFinished(10000);
        removeLeftovers();
    }
}

QString Archiver::defaultGbakProgram()
{
    const QString debian = QStringLiteral("/usr/bin/gbak");
    if (QFileInfo(debian).isExecutable())
        return debian;
    const QString found = QStandardPaths::findExecutable(QStringLiteral("gbak"));
    return found.isEmpty() ? debian : found;
}

QStringList Archiver::backupArguments(const QString& backupFile) const
{
    return {QStringLiteral("-b"), QStringLiteral("-v"), QStringLiteral("-user"),
            m_settings.user,      m_settings.location,  backupFile};
}

QStringList Archiver::restoreArguments(const QString& backupFile, const QString& newLocation) const
{
    // -c creates; without -rep gbak itself refuses an existing database as a last guard.
    return {QStringLiteral("-c"), QStringLiteral("-v"), QStringLiteral("-user"),
            m_settings.user,      backupFile,           newLocation};
}

bool Archiver::startBackup(const QString& backupFile, QString* error)
{
    if (isRunning()) {
        *error = kBusy;
        return false;
    }
    if (backupFile.trimmed().isEmpty()) {
        *error = QStringLiteral("Nie wskazano pliku kopii zapasowej.");
        return false;
    }
    const QFileInfo target(backupFile);
    if (!isServerLocation(m_settings.location)) {
        const QFileInfo database(m_settings.location);
        if (!database.isFile()) {
            *error = QStringLiteral("Nie znaleziono pliku bazy danych ") +
                     quoted(m_settings.location) +
                     QStringLiteral(". Sprawdź ustawienia bazy danych w programie Zefirant PL+.");
            return false;
        }
        if (target.exists() && target.canonicalFilePath() == database.canonicalFilePath()) {
            *error = QStringLiteral("Kopii nie można zapisać w pliku samej bazy danych. Wybierz "
                                    "inny plik, na przykład z rozszerzeniem .fbk.");
            return false;
        }
    }
    if (target.isDir()) {
        *error = quoted(backupFile) +
                 QStringLiteral(" jest folderem. Podaj nazwę pliku kopii zapasowej.");
        return false;
    }
    const QString folder = target.absolutePath();
    QString reason;
    if (!folderTakesNewFiles(folder, &reason)) {
        *error = QStringLiteral("Nie można zapisać kopii zapasowej w folderze ") + quoted(folder) +
                 QStringLiteral(": ") + reason + QStringLiteral(". Wybierz inny folder.");
        return false;
    }
    // gbak writes a file of its own beside the target; the target is replaced only at the end.
    QString part = target.absoluteFilePath() + QStringLiteral(".tmp");
    for (int n = 1; !createNewFile(part, &reason); ++n) {
        if (!existsOrDangles(part) || n > 100) {
            *error = QStringLiteral("Nie można zapisać kopii zapasowej w folderze ") +
                     quoted(folder) + QStringLiteral(": ") + reason +
                     QStringLiteral(". Wybierz inny folder.");
            return false;
        }
        part = target.absoluteFilePath() + QLatin1Char('.') + QString::number(n) +
               QStringLiteral(".tmp");
    }
    m_target = target.absoluteFilePath();
    m_partFile = part;
    m_source.clear();
    start(Operation::Backup, backupArguments(part));
    return true;
}

bool Archiver::startRestore(const QString& backupFile, const QString& newLocation, QString* error)
{
    if (isRunning()) {
        *error = kBusy;
        return false;
    }
    const QFileInfo source(backupFile);
    if (backupFile.trimmed().isEmpty() || !source.isFile()) {
        *error = QStringLiteral("Nie znaleziono pliku kopii zapasowej ") + quoted(backupFile) +
                 QLatin1Char('.');
        return false;
    }
    if (!source.isReadable()) {
        *error = QStringLiteral("Nie można odczytać pliku kopii zapasowej ") + quoted(backupFile) +
                 QStringLiteral(": brak uprawnień.");
        return false;
    }
    if (newLocation.trimmed().isEmpty()) {
        *error = QStringLiteral("Nie wskazano pliku nowej bazy danych.");
        return false;
    }
    QString target = newLocation.trimmed();
    if (isServerLocation(target)) {
        if (target.compare(m_settings.location, Qt::CaseInsensitive) == 0) {
            *error = QStringLiteral("Kopii nie można odtworzyć w miejsce bazy, z której korzysta "
                                    "program. Podaj nazwę nowego pliku bazy danych.");
            return false;
        }
        // The server's files cannot be looked at from here; an attachment tells whether one is
        // there, and only a target known to be absent is ever removed after a failure.
        const ServerTarget state = serverTargetState(target);
        if (state == ServerTarget::Exists) {
            *error = QStringLiteral("Baza danych ") + quoted(target) +
                     QStringLiteral(" już istnieje. Kopia jest zawsze odtwarzana do nowego "
                                    "pliku, aby nie nadpisać żadnej bazy: podaj nową nazwę.");
            return false;
        }
        m_targetAbsent = state == ServerTarget::Absent;
    } else {
        target = QFileInfo(target).absoluteFilePath();
        if (existsOrDangles(target)) {
            *error = QStringLiteral("Plik ") + quoted(target) +
                     QStringLiteral(" już istnieje. Kopia jest zawsze odtwarzana do nowego "
                                    "pliku, aby nie nadpisać żadnej bazy: podaj nową nazwę.");
            return false;
        }
        const QString folder = QFileInfo(target).absolutePath();
        QString reason;
        if (!folderTakesNewFiles(folder, &reason)) {
            *error = QStringLiteral("Nie można utworzyć nowej bazy danych w folderze ") +
                     quoted(folder) + QStringLiteral(": ") + reason +
                     QStringLiteral(". Wybierz inny folder.");
            return false;
        }
        m_targetAbsent = true;
    }
    m_target = target;
    m_partFile.clear();
    m_source = source.absoluteFilePath();
    start(Operation::Restore, restoreArguments(m_source, target));
    return true;
}

QStringList Archiver::runningArguments() const
{
    return m_process ? m_process->arguments() : QStringList();
}

void Archiver::cancel()
{
    if (!m_process)
        return;
    m_cancelled = true;
    m_process->kill();
}

void Archiver::start(Operation operation, const QStringList& arguments)
{
    m_operation = operation;
    m_cancelled = false;
    m_pending.clear();
    m_lines.clear();

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("ISC_USER"));
    env.remove(QStringLiteral("ISC_PASSWORD"));
    if (!m_settings.password.isEmpty())
        env.insert(QStringLiteral("ISC_PASSWORD"), m_settings.password);

    m_process = new QProcess(this);
    m_process->setProgram(m_gbak);
    m_process->setArguments(arguments);
    m_process->setProcessEnvironment(env);
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    // On a damaged backup gbak asks for the next volume; an empty input makes it give up.
    m_process->setStandardInputFile(QProcess::nullDevice());
    connect(m_process, &QProcess::readyReadStandardOutput, this, &Archiver::readOutput);
    connect(m_process, &QProcess::finished, this, &Archiver::onFinished);
    connect(m_process, &QProcess::errorOccurred, this, &Archiver::onError);
    m_process->start();
}

void Archiver::readOutput()
{
    if (!m_process)
        return;
    m_pending += m_process->readAllStandardOutput();
    qsizetype end;
    while ((end = m_pending.indexOf('\n')) >= 0) {
        const QString line = QString::fromLocal8Bit(m_pending.left(end)).remove(QLatin1Char('\r'));
        m_pending.remove(0, end + 1);
        if (line.trimmed().isEmpty())
            continue;
        m_lines << line;
        emit outputLine(line);
    }
}

void Archiver::onFinished(int exitCode, QProcess::ExitStatus status)
{
    readOutput();
    if (!m_pending.trimmed().isEmpty()) {
        const QString line = QString::fromLocal8Bit(m_pending).remove(QLatin1Char('\r'));
        m_lines << line;
        emit outputLine(line);
    }
    m_pending.clear();

    if (m_cancelled) {
        removeLeftovers();
        finish(false, m_operation == Operation::Backup
                          ? QStringLiteral("Tworzenie kopii zapasowej przerwano. Nie zapisano "
                                           "żadnego pliku.")
                          : QStringLiteral("Odtwarzanie bazy przerwano. Nowa baza nie "
                                           "powstała."));
        return;
    }
    if (status != QProcess::NormalExit || exitCode != 0) {
        const QString message = explainFailure();
        removeLeftovers();
        finish(false, message);
        return;
    }

    if (m_operation == Operation::Backup) {
        // rename() replaces an older backup of the same name in one step.
        if (std::rename(QFile::encodeName(m_partFile).constData(),
                        QFile::encodeName(m_target).constData()) != 0) {
            const QString reason = createFailure(errno);
            removeLeftovers();
            finish(false, QStringLiteral("Nie można zapisać pliku kopii zapasowej ") +
                              quoted(m_target) + QStringLiteral(": ") + reason + QLatin1Char('.'));
            return;
        }
        m_partFile.clear();
        const QString size = QLocale(QLocale::Polish, QLocale::Poland)
                                 .formattedDataSize(QFileInfo(m_target).size(), 1,
                                                    QLocale::DataSizeTraditionalFormat);
        finish(true, QStringLiteral("Kopia zapasowa bazy danych została zapisana w pliku ") +
                         quoted(m_target) + QStringLiteral(" (") + size + QStringLiteral(")."));
        return;
    }

    QString reason;
    if (!restoredDatabaseOpens(&reason)) {
        const QString removed =
            removeLeftovers() ? QStringLiteral(", więc została usunięta.")
                              : QStringLiteral("; usuń ją: ") + quoted(m_target) + QLatin1Char('.');
        finish(false, QStringLiteral("Program gbak zakończył odtwarzanie, ale nowa baza nie daje "
                                     "się otworzyć") +
                          removed + QStringLiteral(" Komunikat bazy danych: ") + reason);
        return;
    }
    finish(true, QStringLiteral("Baza danych została odtworzona do nowego pliku ") +
                     quoted(m_target) +
                     QStringLiteral(". Aby z niej korzystać, wskaż ją jako bazę danych w "
                                    "programie Zefirant PL+."));
}

void Archiver::onError(QProcess::ProcessError error)
{
    // Only a failed start ends without finished(); every other error is followed by it.
    if (error != QProcess::FailedToStart || !m_process)
        return;
    removeLeftovers();
    finish(false, QStringLiteral("Nie można uruchomić programu gbak (") +
                      QDir::toNativeSeparators(m_gbak) +
                      QStringLiteral("), który wykonuje kopie baz Firebird. Zainstaluj pakiet "
                                     "firebird3.0-utils."));
}

void Archiver::finish(bool ok, const QString& message)
{
    Result result;
    result.operation = m_operation;
    result.ok = ok;
    result.message = message;
    result.file = m_target;
    result.gbak = errorLines();
    if (m_process) {
        m_process->disconnect(this);
        m_process->deleteLater();
        m_process = nullptr;
    }
    emit finished(result);
}

QString Archiver::explainFailure() const
{
    // Only gbak's error lines: its verbose lines name tables and columns of any wording.
    const QString out = errorLines().join(QLatin1Char('\n')).toLower();
    const bool backup = m_operation == Operation::Backup;

    if (!m_process || m_process->exitStatus() != QProcess::NormalExit)
        return QStringLiteral("Program gbak zakończył pracę nieoczekiwanie. ") +
               (backup ? QStringLiteral("Kopii zapasowej nie zapisano.")
                       : QStringLiteral("Nowa baza nie powstała."));
    if (containsAny(out, {"user name and password", "login", "password"}))
        return QStringLiteral("Serwer bazy danych nie przyjął nazwy użytkownika lub hasła "
                              "zapisanych w ustawieniach programu Zefirant PL+.");
    if (containsAny(out, {"unable to complete network request", "failed to establish",
                          "connection refused", "connection rejected"}))
        return QStringLiteral("Nie można połączyć się z serwerem bazy danych ") +
               quoted(m_settings.location) +
               QStringLiteral(". Sprawdź, czy serwer działa i czy ten komputer ma z nim "
                              "połączenie.");
    if (containsAny(out, {"no space left", "disk full"}))
        return QStringLiteral("Brak miejsca na dysku. ") +
               (backup ? QStringLiteral("Kopii zapasowej nie zapisano; zwolnij miejsce albo "
                                        "wybierz inny dysk.")
                       : QStringLiteral("Nowa baza nie powstała; zwolnij miejsce albo wybierz "
                                        "inny dysk."));

    if (backup) {
        if (containsAny(out, {"database already opened with engine instance", "\"lock\"",
                              "lock time-out", "database is in use", "object in use"}))
            return QStringLiteral("Nie można wykonać kopii: plik bazy danych ") +
                   quoted(m_settings.location) +
                   QStringLiteral(" jest w tej chwili otwarty przez inny program, najpewniej "
                                  "przez Zefirant PL+. Z bazy lokalnej (pliku na tym "
                                  "komputerze) może naraz korzystać tylko jeden program.\n\n"
                                  "Zamknij program Zefirant PL+ i spróbuj ponownie; to okno "
                                  "może pozostać otwarte.");
        if (containsAny(out, {"cannot open backup file", "write failed", "write error"}))
            return QStringLiteral("Nie można zapisać pliku kopii zapasowej ") + quoted(m_target) +
                   QStringLiteral(". Wybierz inny folder.");
        if (containsAny(out, {"no such file or directory"}))
            return QStringLiteral("Nie znaleziono pliku bazy danych ") +
                   quoted(m_settings.location) +
                   QStringLiteral(". Sprawdź ustawienia bazy danych w programie Zefirant PL+.");
        if (containsAny(out, {"is not a valid database", "not a valid database", "wrong file",
                              "unsupported on-disk structure"}))
            return QStringLiteral("Plik ") + quoted(m_settings.location) +
                   QStringLiteral(" nie jest bazą danych Firebird, z której można wykonać "
                                  "kopię.");
        if (containsAny(out, {"permission denied"}))
            return QStringLiteral("Brak uprawnień do pliku bazy danych ") +
                   quoted(m_settings.location) + QLatin1Char('.');
    } else {
        if (containsAny(out, {"expected backup description record", "backup incomplete",
                              "unexpected end of file", "press return to reopen", "invalid backup",
                              "not a valid backup", "expected backup version", "unsupported backup",
                              "bad attribute", "expected record type"}))
            return QStringLiteral("Plik ") + quoted(m_source) +
                   QStringLiteral(" nie jest kopią zapasową bazy danych Firebird albo jest "
                                  "uszkodzony lub niekompletny. Nowa baza nie powstała.");
        if (containsAny(out, {"cannot open backup file"}))
            return QStringLiteral("Nie można odczytać pliku kopii zapasowej ") + quoted(m_source) +
                   QLatin1Char('.');
        if (containsAny(out, {"already exists"}))
            return QStringLiteral("Baza danych ") + quoted(m_target) +
                   QStringLiteral(" już istnieje. Kopia jest zawsze odtwarzana do nowego "
                                  "pliku: podaj nową nazwę.");
        if (containsAny(out, {"failed to create database", "error while trying to create file",
                              "permission denied"}))
            return QStringLiteral("Nie można utworzyć nowej bazy danych ") + quoted(m_target) +
                   QStringLiteral(". Sprawdź, czy folder istnieje i czy można w nim zapisywać.");
    }
    const int code = m_process ? m_process->exitCode() : -1;
    QString message = QStringLiteral("Program gbak zakończył się błędem (kod ") +
                      QString::number(code) + QStringLiteral("). ") +
                      (backup ? QStringLiteral("Kopii zapasowej nie zapisano.")
                              : QStringLiteral("Nowa baza nie powstała."));
    const QStringList details = errorLines();
    if (!details.isEmpty())
        message +=
            QStringLiteral("\n\nKomunikat programu gbak:\n") + details.join(QLatin1Char('\n'));
    return message;
}

QStringList Archiver::errorLines() const
{
    QStringList lines;
    for (const QString& line : m_lines) {
        if (line.contains(QLatin1String("ERROR"), Qt::CaseInsensitive))
            lines << line.trimmed();
    }
    return lines;
}

Archiver::ServerTarget Archiver::serverTargetState(const QString& location) const
{
    try {
        fb::Connection c;
        c.attach(location, m_settings.user, m_settings.password);
        return ServerTarget::Exists;
    } catch (const zf::Exception& e) {
        return e.message().contains(QLatin1String("No such file or directory"))
                   ? ServerTarget::Absent
                   : ServerTarget::Unknown;
    }
}

bool Archiver::restoredDatabaseOpens(QString* reason) const
{
    try {
        fb::Connection c;
        c.attach(m_target, m_settings.user, m_settings.password);
        c.detach();
        return true;
    } catch (const zf::Exception& e) {
        *reason = e.message();
        return false;
    }
}

bool Archiver::removeLeftovers()
{
    if (!m_partFile.isEmpty()) {
        QFile::remove(m_partFile);
        m_partFile.clear();
    }
    if (m_operation != Operation::Restore || m_target.isEmpty())
        return true;
    // gbak -c refused a target someone made since the check: it is not ours to remove.
    if (errorLines()
            .join(QLatin1Char('\n'))
            .contains(QLatin1String("already exists"), Qt::CaseInsensitive))
        return true;
    // Whatever is at a target known to have been empty is gbak's unfinished work; anything else
    // is left alone.
    if (!m_targetAbsent)
        return false;
    if (!isServerLocation(m_target)) {
        if (existsOrDangles(m_target))
            QFile::remove(m_target);
        return !existsOrDangles(m_target);
    }
    // A file on the server is removed by the server: attach and drop the database.
    try {
        fb::Connection c;
        c.attach(m_target, m_settings.user, m_settings.password);
        fb::Status status;
        isc_drop_database(status.data(), c.handle());
        return !status.failed();
    } catch (const zf::Exception&) {
        return true; // nothing that opens is left there
    }
}

} // namespace zf::archive
