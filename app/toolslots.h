#pragma once

#include <QString>
#include <QStringList>

#include <array>

namespace zf {

class IniFile;

// One of the sixteen add-on tool slots of the "D&odatki" menu.
struct ToolSlot
{
    QString name; // menu caption; empty hides the item
    QString dir;  // command line
    QString ver;  // installed version; empty when nothing was installed
    QString rez;
};

using ToolSlots = std::array<ToolSlot, 16>;

inline constexpr int kToolSlotCount = 16;
inline constexpr int kArchivingSlot = 15;

// The command "#" of slots 0 and 1 stands for these programs beneath the program folder.
inline constexpr const char* kCompanionCalculator = "dodatki/kalkulator/kalkulator";
inline constexpr const char* kCompanionCalendar = "dodatki/kalendarz/kalendarz";
inline constexpr const char* kCompanionCommand = "#";

// The slots of section "TOOLS"; slot 15 is always the database archiving tool beside the
// program, started with the argument "ZF".
ToolSlots readToolSlots(const IniFile& ini, const QString& programFolder);
QString archivingToolCommand(const QString& programFolder);

// Writes "name", "dir", "ver" and "rez" of slot n to "TOOLS"; false when the file cannot be
// written.
bool writeToolSlot(IniFile& ini, int n, const ToolSlot& slot);

// The captions of the sixteen menu items, in slot order.
QStringList toolMenuNames(const ToolSlots& tools);

// The full path of the companion program behind "#" in slot 0 or 1; empty for other slots.
QString companionProgram(const QString& programFolder, int slot);

// A path as the program part of a command line: quoted when it holds blanks or quotes, so
// splitting the command line as a shell would keeps it whole.
QString quotedProgramPath(const QString& path);

} // namespace zf
