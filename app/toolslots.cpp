#include "app/toolslots.h"

#include "util/inifile.h"

namespace zf {

namespace {
const QString kTools = QStringLiteral("TOOLS");
} // namespace

QString quotedProgramPath(const QString& path)
{
    bool needsQuotes = false;
    for (const QChar c : path) {
        if (c.isSpace() || c == QLatin1Char('"')) {
            needsQuotes = true;
            break;
        }
    }
    if (!needsQuotes)
        return path;
    QString inner = path;
    // A literal quote inside a quoted part is written three times.
    inner.replace(QLatin1Char('"'), QLatin1String("\"\"\""));
    return QLatin1Char('"') + inner + QLatin1Char('"');
}

QString archivingToolCommand(const QString& programFolder)
{
    return quotedProgramPath(programFolder + QStringLiteral("/archiwizacja/archiwizacja")) +
           QStringLiteral(" ZF");
}

ToolSlots readToolSlots(const IniFile& ini, const QString& programFolder)
{
    ToolSlots tools;
    for (int n = 0; n < kToolSlotCount; ++n) {
        const QString k = QString::number(n);
        tools[n].dir = ini.readString(kTools, QStringLiteral("dir") + k);
        tools[n].name = ini.readString(kTools, QStringLiteral("name") + k);
        tools[n].rez = ini.readString(kTools, QStringLiteral("rez") + k);
        tools[n].ver = ini.readString(kTools, QStringLiteral("ver") + k);
    }
    tools[kArchivingSlot] = {QStringLiteral("Archiwizacja bazy danych"),
                             archivingToolCommand(programFolder), QString(), QString()};
    return tools;
}

bool writeToolSlot(IniFile& ini, int n, const ToolSlot& slot)
{
    const QString k = QString::number(n);
    return ini.writeString(kTools, QStringLiteral("name") + k, slot.name) &&
           ini.writeString(kTools, QStringLiteral("dir") + k, slot.dir) &&
           ini.writeString(kTools, QStringLiteral("ver") + k, slot.ver) &&
           ini.writeString(kTools, QStringLiteral("rez") + k, slot.rez);
}

QStringList toolMenuNames(const ToolSlots& tools)
{
    QStringList names;
    for (const ToolSlot& slot : tools)
        names << slot.name;
    return names;
}

QString companionProgram(const QString& programFolder, int slot)
{
    if (slot == 0)
        return programFolder + QLatin1Char('/') + QLatin1String(kCompanionCalculator);
    if (slot == 1)
        return programFolder + QLatin1Char('/') + QLatin1String(kCompanionCalendar);
    return {};
}

} // namespace zf
