#include "app/addons.h"

#include "util/dialogs.h"
#include "util/inifile.h"
#include "util/process.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <optional>

namespace zf {

namespace {

const QString kConfig = QStringLiteral("CONFIG");
const QString kMakeDir = QStringLiteral("MAKEDIR");
const QString kFile = QStringLiteral("FILE");
const QString kSpecFile = QStringLiteral("SPECFILE");
const QString kTools = QStringLiteral("TOOLS");
const QString kNotInstalled = QStringLiteral(" Dodatek nie został zainstalowany.");

int lowByte(int value)
{
    return value & 0xFF;
}

bool hasWildcards(const QString& name)
{
    return name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'));
}

// A name from the description as a path inside the add-on's folder: relative, and never
// climbing out of it. Descriptions made on Windows write "\".
std::optional<QString> insideName(QString name)
{
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (name.trimmed().isEmpty() || QDir::isAbsolutePath(name))
        return std::nullopt;
    const QString clean = QDir::cleanPath(name);
    if (clean == QLatin1String(".") || clean == QLatin1String("..") ||
        clean.startsWith(QLatin1String("../")))
        return std::nullopt;
    return clean;
}

// The program of a command's first word: a path when it has "/", else a name on PATH.
QString findProgram(const QString& program)
{
    if (program.contains(QLatin1Char('/'))) {
        const QFileInfo info(program);
        return info.isFile() ? info.absoluteFilePath() : QString();
    }
    return QStandardPaths::findExecutable(program);
}

} // namespace

TAddOns::TAddOns(ToolSlots& tools, QString iniPath, QString programFolder, Dialogs& dialogs)
    : m_tools(tools), m_iniPath(std::move(iniPath)), m_programFolder(std::move(programFolder)),
      m_dialogs(dialogs)
{
    m_systemOp.SetMode(foCopy);
    m_systemOp.SetOptions(fofFilesOnly | fofMultiDestFiles | fofNoConfirmation | fofNoConfirmMkDir |
                          fofSilent | fofSimpleProgress);
    m_systemOp.SetTitle(QStringLiteral("Kopiowanie plików"));
}

TAddOns::InstallResult TAddOns::Install()
{
    m_fileOps.SetOperation(&m_systemOp);
    m_fileOps.Clear();
    if (!m_dialogs.question(
            QStringLiteral("Instalacja dodatku"),
            QStringLiteral("Jeśli w tle uruchomiony jest jakikolwiek dodatek, przerwij instalację, "
                           "następnie zamknij dodatek i ponownie wykonaj tą operację. Czy "
                           "kontynuować instalację?")))
        return InstallResult::Cancelled;
    QString ppi = m_dialogs.openFileName(QStringLiteral("Wskaż plik instalacyjny"),
                                         QStringLiteral("instaluj.ppi"),
                                         {QStringLiteral("Pliki instalacyjne (*.ppi)")});
    if (ppi.isEmpty())
        return InstallResult::Cancelled;
    // The default extension of the open dialog.
    if (!QFileInfo::exists(ppi) && QFileInfo(ppi).suffix().isEmpty() &&
        QFileInfo::exists(ppi + QStringLiteral(".ppi")))
        ppi += QStringLiteral(".ppi");
    return installFrom(ppi);
}

TAddOns::InstallResult TAddOns::installFrom(const QString& ppiPath)
{
    const IniFile ppi(ppiPath);
    IniFile ini(m_iniPath);

    const int m = lowByte(ppi.readInteger(kConfig, QStringLiteral("menuid"), -1));
    if (m >= kToolSlotCount)
        return InstallResult::SlotRefused;
    const QString slotKey = QString::number(m);
    const QString ver = ppi.readString(kConfig, QStringLiteral("ver"));
    const QString installedVer = ini.readString(kTools, QStringLiteral("ver") + slotKey);
    if (ver == installedVer) {
        m_dialogs.information(
            kCaptionError, QStringLiteral("Program Zefirant PL+ zawiera już instalowany dodatek"));
        return InstallResult::AlreadyInstalled;
    }

    const QString name = ppi.readString(kConfig, QStringLiteral("name"));
    const QString dirValue = ppi.readString(kConfig, QStringLiteral("dir"));
    const QString rez = ppi.readString(kConfig, QStringLiteral("rez"));
    const QString run = ppi.readString(kConfig, QStringLiteral("run"));
    const QString mainfile = ppi.readString(kConfig, QStringLiteral("mainfile"));
    const QString comment = ppi.readString(kConfig, QStringLiteral("comment"));

    // Every name is checked before anything is created or copied, so a faulty description
    // leaves the program folder as it was.
    auto refuse = [this](const QString& text) {
        m_dialogs.information(kCaptionError, text + kNotInstalled);
        return InstallResult::BadDescription;
    };
    auto outside = [&refuse](const QString& section, const QString& value) {
        return refuse(QStringLiteral("Plik instalacyjny zawiera ścieżkę \"") + value +
                      QStringLiteral("\" (sekcja \"") + section +
                      QStringLiteral("\"), która wychodzi poza folder dodatku."));
    };
    // Without a folder of its own the add-on's files would overwrite the program's.
    if (dirValue.trimmed().isEmpty())
        return refuse(QStringLiteral("Plik instalacyjny nie podaje folderu dodatku (klucz \"dir\" "
                                     "w sekcji \"CONFIG\")."));
    const std::optional<QString> dir = insideName(dirValue);
    if (!dir)
        return outside(kConfig, dirValue);

    QStringList subfolders;
    const int dirCount = lowByte(ppi.readInteger(kMakeDir, QStringLiteral("count"), 0));
    for (int i = 1; i <= dirCount; ++i) {
        const QString value = ppi.readString(kMakeDir, QStringLiteral("dir") + QString::number(i));
        if (value.trimmed().isEmpty())
            continue; // would name the add-on's folder itself, which is created anyway
        const std::optional<QString> sub = insideName(value);
        if (!sub)
            return outside(kMakeDir, value);
        subfolders << *sub;
    }

    // The "SPECFILE" files go only into a slot that has never held a version.
    const bool firstInstallation = installedVer.isEmpty();
    QStringList files;
    for (const QString& section :
         firstInstallation ? QStringList{kFile, kSpecFile} : QStringList{kFile}) {
        const int count = lowByte(ppi.readInteger(section, QStringLiteral("count"), 0));
        for (int i = 1; i <= count; ++i) {
            const QString key = QStringLiteral("file") + QString::number(i);
            const QString value = ppi.readString(section, key);
            // An empty name would copy the whole folder of the description.
            if (value.trimmed().isEmpty())
                return refuse(QStringLiteral("Plik instalacyjny jest niepełny: w sekcji \"") +
                              section + QStringLiteral("\" brakuje nazwy pliku \"") + key +
                              QStringLiteral("\"."));
            const std::optional<QString> file = insideName(value);
            if (!file)
                return outside(section, value);
            files << *file;
        }
    }

    const QString addOnFolder = m_programFolder + QLatin1Char('/') + *dir;
    QDir().mkpath(addOnFolder);
    for (const QString& sub : subfolders)
        QDir().mkpath(addOnFolder + QLatin1Char('/') + sub);

    const QString sourcePrefix = QFileInfo(ppiPath).absolutePath() + QLatin1Char('/');
    const QString targetPrefix = addOnFolder + QLatin1Char('/');
    for (const QString& file : files) {
        m_fileOps.AddSource(sourcePrefix + file);
        // A wildcard name deposits its matches into the folder it names, not into a folder
        // called after the pattern.
        if (hasWildcards(QFileInfo(file).fileName())) {
            const qsizetype slash = file.lastIndexOf(QLatin1Char('/'));
            m_fileOps.AddDestination(slash < 0 ? addOnFolder : targetPrefix + file.left(slash));
        } else {
            m_fileOps.AddDestination(targetPrefix + file);
        }
    }
    if (m_fileOps.ExecuteAll() != frOk) {
        m_dialogs.information(
            kCaptionError,
            QStringLiteral("Podczas instalacji wystąpił błąd. Dodatek nie został zainstalowany. "
                           "Spróbuj zamknąć wszystkie programy, zrestartować komputer i spróbować "
                           "ponownie"));
        return InstallResult::CopyFailed;
    }

    const ToolSlot slot{name, quotedProgramPath(targetPrefix) + mainfile, ver, rez};
    if (!writeToolSlot(ini, m, slot)) {
        m_dialogs.information(kCaptionError,
                              QStringLiteral("Nie udało się zapisać dodatku w pliku ustawień ") +
                                  QDir::toNativeSeparators(m_iniPath) + QLatin1Char('.') +
                                  kNotInstalled);
        return InstallResult::NotRecorded;
    }

    if (!run.trimmed().isEmpty())
        start(quotedProgramPath(sourcePrefix) + run, name, false);

    m_tools[m] = slot;
    if (onMenuChanged)
        onMenuChanged(MenuNames());
    m_dialogs.information(QStringLiteral("Instalacja powiodła się"), comment);
    return InstallResult::Installed;
}

bool TAddOns::Run(int slot)
{
    if (slot < 0 || slot >= kToolSlotCount)
        return false;
    ToolSlot& tool = m_tools[slot];
    if ((slot == 0 || slot == 1) && tool.dir == QLatin1String(kCompanionCommand))
        tool.dir = quotedProgramPath(companionProgram(m_programFolder, slot));
    return start(tool.dir, tool.name, true);
}

bool TAddOns::start(const QString& commandLine, const QString& toolName, bool report)
{
    QStringList arguments = QProcess::splitCommand(commandLine);
    if (arguments.isEmpty()) {
        if (report)
            m_dialogs.information(kCaptionInformation,
                                  QStringLiteral("Dodatek \"") + toolName +
                                      QStringLiteral("\" nie ma wskazanego programu do "
                                                     "uruchomienia."));
        return false;
    }
    const QString program = arguments.takeFirst();
    const QString path = findProgram(program);
    if (path.isEmpty()) {
        if (report)
            m_dialogs.information(kCaptionInformation,
                                  QStringLiteral("Nie znaleziono programu dodatku \"") + toolName +
                                      QStringLiteral("\": ") + program +
                                      QStringLiteral(". Sprawdź, czy dodatek jest zainstalowany."));
        return false;
    }
    // Add-ons find their own files beside them.
    if (!startDetachedProgram(path, arguments, QFileInfo(path).absolutePath())) {
        if (report)
            m_dialogs.information(kCaptionInformation,
                                  QStringLiteral("Nie udało się uruchomić programu dodatku \"") +
                                      toolName + QStringLiteral("\": ") + program +
                                      QLatin1Char('.'));
        return false;
    }
    return true;
}

} // namespace zf
