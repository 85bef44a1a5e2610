#include "planfiles/planmail.h"
#include "planfiles/workingwithxml_reader.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

namespace zf {

namespace {

const QString kSqlRecipients = QStringLiteral(
    "SELECT E.IDEMPLOYEE, NAME, SURNAME, FILENAME, EMAIL FROM EMPLOYEESSETTINGS AS S, "
    "EMPLOYEES AS E WHERE IDYEAR=:IDYEAR AND S.IDEMPLOYEE=E.IDEMPLOYEE");

} // namespace

QString planMailStateText(PlanMailEntry::State state)
{
    switch (state) {
    case PlanMailEntry::State::Waiting:
        return QStringLiteral("czeka na wysłanie");
    case PlanMailEntry::State::Sent:
        return QStringLiteral("wysłano");
    case PlanMailEntry::State::NoAddress:
        return QStringLiteral("brak adresu e-mail w karcie pracownika");
    case PlanMailEntry::State::NoFile:
        return QStringLiteral("brak pliku planu w katalogu planu");
    case PlanMailEntry::State::Refused:
        return QStringLiteral("serwer odrzucił wiadomość");
    case PlanMailEntry::State::Failed:
        return QStringLiteral("nie wysłano: połączenie z serwerem przerwane");
    case PlanMailEntry::State::Stopped:
        return QStringLiteral("nie wysłano: wysyłanie zatrzymane");
    }
    return {};
}

MailMessage planMailMessage(int year, const PlanMailEntry& entry, const QString& fileName,
                            const QByteArray& file)
{
    MailMessage m;
    m.to = entry.email;
    m.toName = entry.text.section(QStringLiteral(" ("), 0, 0);
    m.fromName = QStringLiteral("Dział kadr");
    m.subject = QStringLiteral("Plan urlopowy na rok %1 do wypełnienia").arg(year);
    m.body = QStringLiteral(
                 "Dzień dobry,\n\n"
                 "w załączniku jest plik Pani/Pana planu urlopowego na rok %1 (%2).\n\n"
                 "Co zrobić:\n"
                 "1. Zapisać załącznik na dysku i otworzyć go programem „Mój plan urlopowy”.\n"
                 "2. Zaznaczyć w kalendarzu wybrane dni urlopu.\n"
                 "3. Zapisać plik.\n"
                 "4. Odesłać zapisany plik do działu kadr jako załącznik odpowiedzi na tę "
                 "wiadomość (w programie: „Wyślij do działu kadr…”).\n\n"
                 "Jeżeli plik jest chroniony hasłem, dział kadr przekaże je osobno; hasła nie ma "
                 "w tej wiadomości.\n\n"
                 "Dział kadr\n")
                 .arg(year)
                 .arg(fileName);
    m.attachmentName = fileName;
    m.attachmentType = kPlanFileMimeType;
    m.attachment = file;
    return m;
}

PlanMailRun::PlanMailRun(TmyDataBase& db, int year) : m_db(db), m_year(year) {}

bool PlanMailRun::Prepare(const QStringList& keys)
{
    m_entries.clear();
    m_stopMessage.clear();
    m_cancelled = false;
    {
        TWorkingWithXML files(m_db, m_year);
        if (!files.LoadPlanSettings(QString(), false))
            return false;
        m_planFolder = files.planFolder();
    }
    QHash<QString, PlanMailEntry> rows;
    if (!readRecipients(rows))
        return false;
    for (const QString& key : keys) {
        const auto row = rows.constFind(key);
        if (row != rows.cend()) // else it left the plan since the list was shown
            m_entries.push_back(*row);
    }
    return true;
}

bool PlanMailRun::readRecipients(QHash<QString, PlanMailEntry>& rows)
{
    try {
        fb::Transaction t(m_db.FBDataBase, fb::tpb::readOnlyReadCommitted());
        t.start();
        fb::Statement st(m_db.FBDataBase, &t);
        st.setSql(kSqlRecipients);
        st.setParam(QStringLiteral("IDYEAR"), m_year);
        st.execute();
        while (st.fetch()) {
            PlanMailEntry e;
            e.key = planfilesql::toText(st.value(0));
            e.text = planfilesql::toText(st.value(1)) + QLatin1Char(' ') +
                     planfilesql::toText(st.value(2)) + QStringLiteral(" (") + e.key +
                     QLatin1Char(')');
            e.fileName = planfilesql::toText(st.value(3));
            e.email = planfilesql::toText(st.value(4)).trimmed();
            rows.insert(e.key, e);
        }
        st.close();
        t.rollbackQuietly();
    } catch (const Exception& e) {
        m_db.ReportUnexpectedError(e.message(), true, kCodeRead);
        return false;
    }
    return true;
}

bool PlanMailRun::Send(SmtpSession& session, const PlanFilesProgress& progress)
{
    m_stopMessage.clear();
    m_stopResult = {};
    m_cancelled = false;
    const int total = static_cast<int>(m_entries.size());
    const auto stopRest = [this](size_t from) {
        for (size_t j = from; j < m_entries.size(); ++j)
            if (m_entries[j].state == PlanMailEntry::State::Waiting)
                m_entries[j].state = PlanMailEntry::State::Stopped;
    };
    for (size_t i = 0; i < m_entries.size(); ++i) {
        PlanMailEntry& e = m_entries[i];
        if (e.state != PlanMailEntry::State::Waiting)
            continue;
        if (progress && !progress(static_cast<int>(i), total, e.text)) {
            m_cancelled = true;
            stopRest(i);
            return false;
        }
        e.reply.clear();
        if (e.email.isEmpty()) {
            e.state = PlanMailEntry::State::NoAddress;
            continue;
        }
        const QString path = PlanFilePath(m_planFolder, e.fileName);
        QFile file(path);
        if (e.fileName.isEmpty() || !file.open(QIODevice::ReadOnly)) {
            e.state = PlanMailEntry::State::NoFile;
            continue;
        }
        const SmtpResult r =
            session.send(planMailMessage(m_year, e, QFileInfo(path).fileName(), file.readAll()));
        if (r.sent()) {
            e.state = PlanMailEntry::State::Sent;
        } else if (r.runCanGoOn()) {
            e.state = PlanMailEntry::State::Refused;
            e.reply = r.reply;
        } else {
            e.state = PlanMailEntry::State::Failed;
            e.reply = r.message;
            m_stopMessage = r.message;
            m_stopResult = r;
            stopRest(i + 1);
            return false;
        }
    }
    return true;
}

int PlanMailRun::MarkFailedForRetry()
{
    // An address or file name put right in the card since is taken.
    QHash<QString, PlanMailEntry> rows;
    readRecipients(rows);
    int marked = 0;
    for (PlanMailEntry& e : m_entries) {
        if (e.failed()) {
            if (const auto row = rows.constFind(e.key); row != rows.cend()) {
                e.email = row->email;
                e.fileName = row->fileName;
            }
            e.state = PlanMailEntry::State::Waiting;
            ++marked;
        }
    }
    return marked;
}

int PlanMailRun::count(PlanMailEntry::State state) const
{
    return static_cast<int>(
        std::count_if(m_entries.begin(), m_entries.end(),
                      [state](const PlanMailEntry& e) { return e.state == state; }));
}

} // namespace zf
