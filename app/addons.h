#pragma once

#include "app/toolslots.h"
#include "util/fileoperations.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace zf {

class Dialogs;

// The "D&odatki" menu's commands: running a tool slot and installing an add-on from its
// ".ppi" description file. The slots are those the program holds for the whole run; an
// installation records its slot in section "TOOLS" of "zefirant.ini".
class TAddOns
{
public:
    enum class InstallResult
    {
        Cancelled,        // "Nie", or no file chosen
        SlotRefused,      // "menuid" not 0..15 after taking its low 8 bits; nothing said
        AlreadyInstalled, // the slot holds this version already
        BadDescription,   // a name missing from the description, or reaching outside
        CopyFailed,       // the files could not be copied; the INI file is unchanged
        NotRecorded,      // copied, but "zefirant.ini" could not be written
        Installed,
    };

    TAddOns(ToolSlots& tools, QString iniPath, QString programFolder, Dialogs& dialogs);

    // "Zainstaluj dodatek": asks, lets the user choose the description, installs.
    InstallResult Install();

    // Runs slot n's command line, split as a shell would, without waiting. A command whose
    // program is missing or does not start is explained in the information window; false then.
    bool Run(int slot);

    // The sixteen captions for the menu; also handed to onMenuChanged after an installation,
    // before its closing message is shown.
    QStringList MenuNames() const { return toolMenuNames(m_tools); }
    std::function<void(const QStringList& names)> onMenuChanged;

    // The copy operation of installations and its queue.
    TFileOperation& systemOp() { return m_systemOp; }
    TFileOperations& fileOperations() { return m_fileOps; }

private:
    InstallResult installFrom(const QString& ppiPath);
    // Starts a command line; when `report` is set, a failure is explained to the user.
    bool start(const QString& commandLine, const QString& toolName, bool report);

    ToolSlots& m_tools;
    QString m_iniPath;
    QString m_programFolder;
    Dialogs& m_dialogs;
    TFileOperation m_systemOp;
    TFileOperations m_fileOps;
};

} // namespace zf
