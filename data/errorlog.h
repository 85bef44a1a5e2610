#pragma once

#include <QString>

namespace zf {

class Dialogs;

// The error log "debug/error.log" of the data folder and the unexpected-error report.
class ErrorLog
{
public:
    ErrorLog(QString dataFolder, Dialogs& dialogs);

    QString path() const;
    void setDataFolder(const QString& dataFolder) { m_dataFolder = dataFolder; }

    // Appends one line with the time stamp "yyyy.mm.dd hh:nn:ss  " in front. The folder is not
    // created; every failure is ignored.
    void write(const QString& text) const;

    // Shows "Wystąpił nieoczekiwany błąd. Orginalny komunikat: " + message (or the message
    // alone) with the caption "Błąd", and logs "[" + code as ten digits + "]  " + message.
    void reportUnexpectedError(const QString& message, bool withPrefix, int code) const;

    // Shows kConflictMessage with the caption "Błąd" and logs the engine's message as
    // reportUnexpectedError does: another copy of the program holds the same rows.
    void reportConflict(const QString& engineMessage, int code) const;

    static QString codeText(int code);

    static const QString kConflictMessage;

private:
    void show(const QString& shown, const QString& logged, int code) const;

    QString m_dataFolder;
    Dialogs& m_dialogs;
};

} // namespace zf
