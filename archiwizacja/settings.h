#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

// The archiving tool's view of the program's configuration: where the data folder is, what the
// connection settings say, and the names it proposes for new files.
namespace zf::archive {

// The connection settings of Zefirant PL+: "lokalizacja" and "uzytkownik" of section
// "DATABASE" in "zefirant.ini", the password from "config.dat".
struct Settings
{
    QString location;
    QString user;
    QString password;
};

// What the command line asks for. "ZF" is the argument Zefirant PL+ passes when it starts the
// tool from its add-on menu; the tool then knows the program is open (and holds a local
// database). "--dane <folder>" (or "--dane=<folder>") reads the settings from another folder.
struct StartArguments
{
    bool fromZefirant = false;
    QString dataFolder; // empty: defaultDataFolder()
};

// Without the program's own name; unknown arguments are ignored, so a newer caller cannot stop
// the tool from starting.
StartArguments parseArguments(const QStringList& arguments);

// The program's data folder: the common data folder (honouring $XDG_DATA_HOME) followed by
// "Orvantis/Zefirant", as the program itself computes it.
QString defaultDataFolder();

// The settings of the data folder; nullopt with a Polish reason when the folder holds none or
// "config.dat" cannot be read.
std::optional<Settings> readSettings(const QString& dataFolder, QString* error);

// "host:/path", "host/port:/path" or "inet://host/path": the database lives on a server. A plain
// path is a file opened by the embedded engine.
bool isServerLocation(const QString& location);

// The path part of a location: the location itself for a file, the path on the server else.
QString locationPath(const QString& location);

// "<database name>_<yyyy-MM-dd_HHmm>.fbk" in `folder`.
QString proposedBackupFile(const QString& location, const QString& folder, const QDateTime& now);

// A name for the restored database beside the current one: "<name>_odtworzona_<yyyy-MM-dd>.fdb",
// with "_2", "_3"... added while a local file of that name exists. For a server location the
// host part is kept and nothing can be checked.
QString proposedRestoreLocation(const QString& location, const QDate& today);

} // namespace zf::archive
