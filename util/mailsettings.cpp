#include "util/mailsettings.h"

#include "util/inifile.h"

namespace zf {

namespace {
const QString kSection = QStringLiteral("POCZTA");
}

SmtpSettings readMailSettings(const QString& iniPath)
{
    const IniFile ini(iniPath);
    SmtpSettings s;
    s.server = ini.readString(kSection, QStringLiteral("Serwer"));
    s.port = ini.readInteger(kSection, QStringLiteral("Port"), s.port);
    const int security =
        ini.readInteger(kSection, QStringLiteral("Zabezpieczenie"), static_cast<int>(s.security));
    if (security >= 0 && security <= 2)
        s.security = static_cast<SmtpSettings::Security>(security);
    s.user = ini.readString(kSection, QStringLiteral("Uzytkownik"));
    s.sender = ini.readString(kSection, QStringLiteral("Nadawca"));
    s.caFile = ini.readString(kSection, QStringLiteral("Certyfikaty"));
    return s;
}

bool writeMailSettings(const QString& iniPath, const SmtpSettings& s)
{
    IniFile ini(iniPath);
    return ini.writeStrings(kSection, {{QStringLiteral("Serwer"), s.server.trimmed()},
                                       {QStringLiteral("Port"), QString::number(s.port)},
                                       {QStringLiteral("Zabezpieczenie"),
                                        QString::number(static_cast<int>(s.security))},
                                       {QStringLiteral("Uzytkownik"), s.user},
                                       {QStringLiteral("Nadawca"), s.sender.trimmed()},
                                       {QStringLiteral("Certyfikaty"), s.caFile}});
}

} // namespace zf
