#include "archiwizacja/settings.h"

#include "data/configfiles.h"
#include "util/inifile.h"
#include "util/ovutilities.h"

#include <QDir>
#include <QFileInfo>

namespace zf::archive {

namespace {
const QString kDataOption = QStringLiteral("--dane");
} // namespace

StartArguments parseArguments(const QStringList& arguments)
{
    StartArguments result;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments.at(i);
        if (a.compare(QStringLiteral("ZF"), Qt::CaseInsensitive) == 0)
            result.fromZefirant = true;
        else if (a == kDataOption && i + 1 < arguments.size())
            result.dataFolder = arguments.at(++i);
        else if (a.startsWith(kDataOption + QLatin1Char('=')))
            result.dataFolder = a.mid(kDataOption.size() + 1);
    }
    return result;
}

QString defaultDataFolder()
{
    TOVUtilities utilities;
    utilities.SetDataSubFolder(QStringLiteral("\\Orvantis\\Zefirant"));
    return utilities.UserDataFolder();
}

std::optional<Settings> readSettings(const QString& dataFolder, QString* error)
{
    const QString iniPath = dataFolder + QStringLiteral("/zefirant.ini");
    if (!QFileInfo(iniPath).isFile()) {
        *error = QStringLiteral("Nie znaleziono ustawień programu Zefirant PL+ (plik ") +
                 QDir::toNativeSeparators(iniPath) +
                 QStringLiteral("). Uruchom najpierw program Zefirant PL+ i połącz go z bazą "
                                "danych.");
        return std::nullopt;
    }
    const IniFile ini(iniPath);
    Settings s;
    s.location = ini.readString(QStringLiteral("DATABASE"), QStringLiteral("lokalizacja"));
    s.user = ini.readString(QStringLiteral("DATABASE"), QStringLiteral("uzytkownik"));
    if (s.location.trimmed().isEmpty()) {
        *error = QStringLiteral("Ustawienia programu Zefirant PL+ nie wskazują bazy danych. "
                                "Uruchom program Zefirant PL+ i połącz go z bazą danych.");
        return std::nullopt;
    }
    QString reason;
    const auto password = configdat::read(dataFolder + QStringLiteral("/config.dat"), &reason);
    if (!password) {
        *error = QStringLiteral("Nie można odczytać hasła do bazy danych. ") + reason;
        return std::nullopt;
    }
    s.password = *password;
    return s;
}

bool isServerLocation(const QString& location)
{
    const qsizetype colon = location.indexOf(QLatin1Char(':'));
    if (colon <= 0)
        return false;
    const QString prefix = location.left(colon);
    if (prefix.startsWith(QLatin1Char('/')) || prefix.startsWith(QLatin1Char('.')))
        return false;
    // "host" or "host/port": at most one separator, with something on both sides.
    const QStringList parts = prefix.split(QLatin1Char('/'));
    return parts.size() == 1 || (parts.size() == 2 && !parts[0].isEmpty() && !parts[1].isEmpty());
}

QString locationPath(const QString& location)
{
    if (!isServerLocation(location))
        return location;
    if (location.contains(QStringLiteral("://"))) {
        // inet://host/path: the path starts at the first separator after the host.
        const qsizetype hostStart = location.indexOf(QStringLiteral("://")) + 3;
        const qsizetype slash = location.indexOf(QLatin1Char('/'), hostStart);
        return slash < 0 ? QString() : location.mid(slash);
    }
    return location.mid(location.indexOf(QLatin1Char(':')) + 1);
}

QString proposedBackupFile(const QString& location, const QString& folder, const QDateTime& now)
{
    QString base = QFileInfo(locationPath(location)).completeBaseName();
    if (base.isEmpty())
        base = QStringLiteral("zefirant");
    return QDir(folder).filePath(base + QLatin1Char('_') +
                                 now.toString(QStringLiteral("yyyy-MM-dd_HHmm")) +
                                 QStringLiteral(".fbk"));
}

QString proposedRestoreLocation(const QString& location, const QDate& today)
{
    const QString path = locationPath(location);
    const QString host = location.left(location.size() - path.size());
    const QFileInfo info(path);
    QString base = info.completeBaseName();
    if (base.isEmpty())
        base = QStringLiteral("zefirant");
    const QString stem = info.path() + QLatin1Char('/') + base + QStringLiteral("_odtworzona_") +
                         today.toString(QStringLiteral("yyyy-MM-dd"));
    QString candidate = stem + QStringLiteral(".fdb");
    if (host.isEmpty()) {
        for (int n = 2; QFileInfo::exists(candidate) || QFileInfo(candidate).isSymLink(); ++n)
            candidate = stem + QLatin1Char('_') + QString::number(n) + QStringLiteral(".fdb");
    }
    return host + candidate;
}

} // namespace zf::archive
