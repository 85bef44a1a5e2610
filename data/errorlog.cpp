#include "data/errorlog.h"

#include "util/clock.h"
#include "util/dialogs.h"
#include "util/textcodec.h"

#include <QFile>

namespace zf {

const QString ErrorLog::kConflictMessage =
    QStringLiteral("Inny użytkownik zmienia w tej chwili te same dane. Spróbuj ponownie.");

ErrorLog::ErrorLog(QString dataFolder, Dialogs& dialogs)
    : m_dataFolder(std::move(dataFolder)), m_dialogs(dialogs)
{
}

QString ErrorLog::path() const
{
    return m_dataFolder + QStringLiteral("/debug/error.log");
}

void ErrorLog::write(const QString& text) const
{
    QFile f(path());
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    // One line per event: the engine's messages come in several lines.
    QString oneLine = text;
    oneLine.replace(QLatin1String("\r\n"), QLatin1String(" "));
    oneLine.replace(QLatin1Char('\n'), QLatin1Char(' '));
    oneLine.replace(QLatin1Char('\r'), QLatin1Char(' '));
    const QString line = clock().now().toString(QStringLiteral("yyyy.MM.dd HH:mm:ss")) +
                         QStringLiteral("  ") + oneLine;
    f.write(toCp1250(line) + '\n');
}

QString ErrorLog::codeText(int code)
{
    // Negative codes are not used by the program; keep their sign visible rather than pad it.
    if (code < 0)
        return QString::number(code);
    return QStringLiteral("%1").arg(code, 10, 10, QLatin1Char('0'));
}

void ErrorLog::reportUnexpectedError(const QString& message, bool withPrefix, int code) const
{
    show(withPrefix ? QStringLiteral("Wystąpił nieoczekiwany błąd. Orginalny komunikat: ") + message
                    : message,
         message, code);
}

void ErrorLog::reportConflict(const QString& engineMessage, int code) const
{
    show(kConflictMessage, engineMessage, code);
}

void ErrorLog::show(const QString& shown, const QString& logged, int code) const
{
    try {
        m_dialogs.information(kCaptionError, shown);
    } catch (...) {
        // A report that cannot be shown is still logged.
    }
    write(QLatin1Char('[') + codeText(code) + QStringLiteral("]  ") + logged);
}

} // namespace zf
