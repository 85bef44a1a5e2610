// Connecting with the stored settings and keeping them.
#include "data/configfiles.h"
#include "data/mydatabase.h"
#include "util/inifile.h"

#include <algorithm>

namespace zf {

namespace {
constexpr int kCodeConfigRead = 101749;
constexpr int kCodeConfigWrite = 101756;
const QString kSectionDatabase = QStringLiteral("DATABASE");
const QString kKeyLocation = QStringLiteral("lokalizacja");
const QString kKeyUser = QStringLiteral("uzytkownik");
} // namespace

int TmyDataBase::ReadConnectionSettingsAndConnect()
{
    location.clear();
    user.clear();
    password.clear();
    const IniFile ini(IniPath());
    location = ini.readString(kSectionDatabase, kKeyLocation);
    user = ini.readString(kSectionDatabase, kKeyUser);

    if (!location.isEmpty()) {
        QString error;
        const auto pwd = configdat::read(ConfigDatPath(), &error);
        if (!pwd) {
            ReportUnexpectedError(error, true, kCodeConfigRead);
            return SettingsUnreadable;
        }
        password = *pwd;
        return Connect(location, user, password) ? Connected : ConnectionFailed;
    }

    const QStringList folders = m_paths.installerConfigFolders.isEmpty()
                                    ? installersettings::defaultFolders()
                                    : m_paths.installerConfigFolders;
    const QString installerFile = installersettings::find(folders);
    if (installerFile.isEmpty())
        return NoSettings;
    QString error;
    if (const auto s = installersettings::read(installerFile, &error)) {
        location = s->location;
        user = s->user;
        password = s->password;
        SaveConnectionSettings();
    } else {
        WriteErrorLog(QStringLiteral("[0020180314]  ") + error);
    }
    return Connect(location, user, password) ? Connected : ConnectionFailed;
}

void TmyDataBase::SaveConnectionSettings()
{
    IniFile ini(IniPath());
    ini.writeString(kSectionDatabase, kKeyLocation, location);
    ini.writeString(kSectionDatabase, kKeyUser, user);
    QString error;
    if (!configdat::write(ConfigDatPath(), password, &error))
        ReportUnexpectedError(error, true, kCodeConfigWrite);
}

bool TmyDataBase::Connect(const QString& loc, const QString& usr, const QString& pwd)
{
    int step = 1;
    m_inUseElsewhere = false;
    try {
        if (FBDataBase.isAttached())
            FBDataBase.detach();
        step = 2;
        FBDataBase.attach(loc, usr, pwd);
        step = 3;
        FBTransaction.start();
    } catch (const Exception& e) {
        if (const auto* engine = dynamic_cast<const fb::Error*>(&e)) {
            const auto& codes = engine->gdsCodes();
            m_inUseElsewhere =
                std::find(codes.begin(), codes.end(), isc_already_opened) != codes.end();
        }
        WriteErrorLog(QStringLiteral("[0000571413]  log:") + QString::number(step) +
                      QLatin1Char(' ') + e.message());
        WriteErrorLog(QStringLiteral("[0000000000]  db source:") + loc);
    }
    return FBDataBase.isAttached();
}

} // namespace zf
