#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace zf {

// "config.dat": one record of 257 bytes holding the enciphered database password: byte 0 its
// length L, bytes 1..255 its characters (only the first L count), byte 256 L again.
namespace configdat {
constexpr int kRecordSize = 257;
// The clear password, or nullopt with the reason in `error` (missing file, wrong size).
std::optional<QString> read(const QString& path, QString* error);
// Writes the record anew; false with the reason in `error`.
bool write(const QString& path, const QString& password, QString* error);
} // namespace configdat

// The installer's first connection settings, kept in "Orvantis/Zefirant/DataBaseDemo.ini" in a
// system configuration folder: section "DataBaseDemo", the values "param1s"/"param1" (location),
// "param2s"/"param2" (user) and "param3s"/"param3" (password); each "s" value is a length and
// each other value the hex-encoded enciphered bytes.
namespace installersettings {
struct Settings
{
    QString location;
    QString user;
    QString password;
};
// The settings file of the first folder that has one; empty when none has.
QString find(const QStringList& folders);
// $XDG_CONFIG_DIRS, or /etc/xdg when it is not set.
QStringList defaultFolders();
// Reads and deciphers the three settings; nullopt with the reason in `error` on a damaged file.
std::optional<Settings> read(const QString& path, QString* error);
} // namespace installersettings

} // namespace zf
