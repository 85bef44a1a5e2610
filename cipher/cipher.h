#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// The key-stream cipher that hides leave-plan files, the shipped SQL scripts and the installer's
// connection settings. It gives no real secrecy; it only keeps the texts from being read or
// edited by hand. Output bytes may be 0, so enciphered texts always travel as QByteArray.
namespace zf {

// Every use in the program shares one key; the separate editing program and the installer rely
// on it, so it can never change.
inline constexpr quint16 kPlanFileCipherKey = 38467;
inline constexpr quint16 kScriptCipherKey = 38467;
inline constexpr quint16 kSettingsCipherKey = 38467;

// Both return text of the input's length; neither can detect a wrong key or damaged data.
QByteArray EncryptString(const QByteArray& text, quint16 key);
QByteArray DecryptString(const QByteArray& text, quint16 key);

// A script converted for shipping, or the reason it could not be.
struct ScriptCipherResult
{
    bool ok = false;
    QByteArray data;
    QString error;
};

// UTF-8 text (a leading byte-order mark is dropped) to Windows-1250, enciphered under
// kScriptCipherKey. Line breaks are kept byte for byte. Fails, naming line and character, when
// the text is not valid UTF-8 or holds a character Windows-1250 cannot represent: a replaced
// character would silently change the SQL.
ScriptCipherResult encipherScriptText(const QByteArray& utf8Text);

// The reverse, for developers who want to read a shipped script: UTF-8 bytes of the clear text.
// Every Windows-1250 byte has a character, so this cannot fail.
QByteArray decipherScriptText(const QByteArray& enciphered);

} // namespace zf
