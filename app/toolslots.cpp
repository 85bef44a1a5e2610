#include "app/toolslots.h"

#include "util/inifile.h"

namespace zf {

QString archivingToolCommand(const QString& programFolder)
{
    return programFolder + QStringLiteral("/archiwizacja/archiwizacja ZF");
}

ToolSlots readToolSlots(const IniFile& ini, const QString& programFolder)
{
    const QString section = QStringLiteral("TOOLS");
    ToolSlots tools;
    for (int n = 0; n < static_cast<int>(tools.size()); ++n) {
        const QString k = QString::number(n);
        tools[n].dir = ini.readString(section, QStringLiteral("dir") + k);
        tools[n].name = ini.readString(section, QStringLiteral("name") + k);
        tools[n].rez = ini.readString(section, QStringLiteral("rez") + k);
        tools[n].ver = ini.readString(section, QStringLiteral("ver") + k);
    }
    tools[15] = {QStringLiteral("Archiwizacja bazy danych"), archivingToolCommand(programFolder),
                 QString(), QString()};
    return tools;
}

} // namespace zf
