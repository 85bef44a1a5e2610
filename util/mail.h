#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QObject;

namespace zf {

// Hands a prepared message to the user's mail program through xdg-email, which opens the mail
// program's compose window with everything filled in; the user checks and sends it there.
class TMapiSendMail
{
public:
    QStringList Too; // recipient addresses
    QString Subject;
    QStringList Attachments; // file paths
    QStringList Text;        // body lines

    // 0 when the mail program was started; -1 when the mail tool is not found or does not
    // start. Nothing is shown to the user either way.
    int Send();
    // The same, and `done` learns whether the mail tool did its work (its exit status), so that
    // a window can tell the user when no mail program could be opened.
    void Send(QObject* context, std::function<void(bool ok)> done);

    // The arguments handed to the mail tool: "--subject", "--body" (lines joined by "\n"), one
    // "--attach" per attachment, then the addresses. Blank addresses and paths are left out.
    QStringList Arguments() const;

    // The mail tool and where it is looked for (empty: PATH); for tests.
    void SetProgram(const QString& name, const QStringList& searchPaths = {});
    const QString& Program() const { return m_program; }

private:
    QString m_program = QStringLiteral("xdg-email");
    QStringList m_searchPaths;
};

} // namespace zf
