#include "util/mail.h"

#include "util/process.h"

#include <QStandardPaths>

namespace zf {

QStringList TMapiSendMail::Arguments() const
{
    QStringList args{QStringLiteral("--subject"), Subject, QStringLiteral("--body"),
                     Text.join(QLatin1Char('\n'))};
    for (const QString& path : Attachments)
        if (!path.trimmed().isEmpty())
            args << QStringLiteral("--attach") << path;
    // An empty address would reach the mail program as a bogus recipient.
    for (const QString& address : Too)
        if (!address.trimmed().isEmpty())
            args << address.trimmed();
    return args;
}

void TMapiSendMail::SetProgram(const QString& name, const QStringList& searchPaths)
{
    m_program = name;
    m_searchPaths = searchPaths;
}

int TMapiSendMail::Send()
{
    const QString program = QStandardPaths::findExecutable(m_program, m_searchPaths);
    if (program.isEmpty())
        return -1;
    return startDetachedProgram(program, Arguments()) ? 0 : -1;
}

void TMapiSendMail::Send(QObject* context, std::function<void(bool ok)> done)
{
    const QString program = QStandardPaths::findExecutable(m_program, m_searchPaths);
    if (program.isEmpty()) {
        if (done)
            done(false);
        return;
    }
    startWatchedProgram(program, Arguments(), context, std::move(done));
}

} // namespace zf
