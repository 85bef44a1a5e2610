#pragma once

#include <QString>

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

// The slots of section "TOOLS"; slot 15 is always the database archiving tool beside the
// program, started with the argument "ZF".
ToolSlots readToolSlots(const IniFile& ini, const QString& programFolder);
QString archivingToolCommand(const QString& programFolder);

} // namespace zf
