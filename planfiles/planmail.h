#pragma once

#include "planfiles/workingwithxml.h"
#include "util/smtpmail.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

namespace zf {

class TmyDataBase;

// One employee of a sending of plan files, and how it ended.
struct PlanMailEntry
{
    enum class State
    {
        Waiting, // to be sent in the next run
        Sent,
        NoAddress, // the card has no e-mail address
        NoFile,    // the plan folder has no file of the employee
        Refused,   // the server refused the message; `reply` holds its answer
        Failed,    // the connection failed during this employee's message
        Stopped,   // not sent because the run was stopped
    };

    QString key;
    QString text; // "Name Surname (key)"
    QString email;
    QString fileName; // as the card gives it, without the extension
    State state = State::Waiting;
    QString reply;

    bool failed() const { return state != State::Sent && state != State::Waiting; }
};

// The text of a state in the results list.
QString planMailStateText(PlanMailEntry::State state);

// The message that carries an employee's plan file: a Polish subject and text saying what to
// do with it; never the file's password. `fileName` is the file's own name in the plan folder.
MailMessage planMailMessage(int year, const PlanMailEntry& entry, const QString& fileName,
                            const QByteArray& file);

inline const QString kPlanFileMimeType = QStringLiteral("application/x-zefirant-plan");

// Sending the written plan files of chosen employees of one plan, one message each, through
// one mail session; "Wyślij ponownie nieudane" sends only those that did not go.
class PlanMailRun
{
public:
    static constexpr int kCodeRead = 61121;

    PlanMailRun(TmyDataBase& db, int year);

    // The plan folder and each chosen employee's address and file name, in the order given;
    // false (reported) when the database could not be read.
    bool Prepare(const QStringList& keys);
    // Sends every waiting entry. A refused message is noted and the run goes on; a failed
    // connection or a failed login stops it, the rest marked as not sent. True when the run
    // reached its end without such a stop or "Przerwij".
    bool Send(SmtpSession& session, const PlanFilesProgress& progress);
    // Marks the entries that did not go as waiting again, with their addresses as the cards now
    // give them; the number marked.
    int MarkFailedForRetry();

    const std::vector<PlanMailEntry>& entries() const { return m_entries; }
    int count(PlanMailEntry::State state) const;
    // The reason of the last stop (a failed connection or login); empty otherwise.
    const QString& stopMessage() const { return m_stopMessage; }
    const SmtpResult& stopResult() const { return m_stopResult; }
    bool cancelled() const { return m_cancelled; }
    const QString& planFolder() const { return m_planFolder; }

private:
    // Every plan employee's address and file name, by key; false (reported) on a database error.
    bool readRecipients(QHash<QString, PlanMailEntry>& rows);

    TmyDataBase& m_db;
    int m_year;
    QString m_planFolder;
    std::vector<PlanMailEntry> m_entries;
    QString m_stopMessage;
    SmtpResult m_stopResult;
    bool m_cancelled = false;
};

} // namespace zf
