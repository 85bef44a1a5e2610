#include "planfiles/planmailwindow.h"

#include "data/mydatabase.h"
#include "planfiles/planmail.h"
#include "planfiles/runprogress.h"
#include "util/dialogs.h"
#include "util/mailsettings.h"
#include "util/secretstore.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace zf {

TfPlanMailResults::TfPlanMailResults(TmyDataBase& db, Dialogs& dialogs, int year, QWidget* parent)
    : QDialog(parent), m_db(db), m_dialogs(dialogs), m_year(year),
      m_run(std::make_unique<PlanMailRun>(db, year)), m_settings(std::make_unique<SmtpSettings>())
{
    setObjectName(QStringLiteral("TfPlanMailResults"));
    setWindowTitle(QStringLiteral("Wysyłanie planów e-mailem"));
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("lbPodsumowanie"));
    m_summary->setWordWrap(true);
    auto* listLabel = new QLabel(QStringLiteral("&Wyniki wysyłania:"), this);
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("twWyniki"));
    m_list->setAccessibleName(QStringLiteral("Wyniki wysyłania"));
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({QStringLiteral("Pracownik"), QStringLiteral("Adres e-mail"),
                             QStringLiteral("Wynik"), QStringLiteral("Odpowiedź serwera")});
    listLabel->setBuddy(m_list);
    m_retry = new QPushButton(QStringLiteral("Wyślij &ponownie nieudane"), this);
    m_retry->setObjectName(QStringLiteral("SBWyslijPonownie"));
    m_retry->setAccessibleName(QStringLiteral("Wyślij ponownie nieudane"));
    m_close = new QPushButton(QStringLiteral("&Zamknij"), this);
    m_close->setObjectName(QStringLiteral("SBZamknij"));
    m_close->setAccessibleName(QStringLiteral("Zamknij"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_retry);
    buttons->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(listLabel);
    layout->addWidget(m_list);
    layout->addLayout(buttons);
    resize(760, 460);
    connect(m_retry, &QPushButton::clicked, this, &TfPlanMailResults::RetryFailed);
    connect(m_close, &QPushButton::clicked, this, &QDialog::accept);
}

TfPlanMailResults::~TfPlanMailResults() = default;

bool TfPlanMailResults::SendAndShow(const QStringList& keys)
{
    *m_settings = readMailSettings(m_db.IniPath());
    if (!m_settings->complete()) {
        m_dialogs.information(kCaptionInformation,
                              QStringLiteral("Nie ustawiono serwera poczty. Wpisz serwer i adres "
                                             "nadawcy w opcjach programu (zakładka „Poczta”), "
                                             "a potem wyślij plany ponownie."));
        return false;
    }
    if (!MailPasswords::fill(*m_settings, m_dialogs))
        return false;
    if (!m_run->Prepare(keys))
        return false;
    RunOnce();
    if (showModal)
        exec();
    return true;
}

void TfPlanMailResults::RunOnce()
{
    {
        SmtpSession session(*m_settings);
        RunProgress progress(parentWidget() ? parentWidget() : this,
                             QStringLiteral("Wysyłanie planów e-mailem"),
                             QStringLiteral("Wysyłanie planu: "), progressDelayMs);
        m_run->Send(session, progress.callback());
        progress.finish();
    }
    refill();
    if (!m_run->stopMessage().isEmpty()) {
        if (m_run->stopResult().status == SmtpResult::Status::LoginRefused) {
            // "Wyślij ponownie nieudane" asks for the password anew.
            MailPasswords::forget(*m_settings);
            m_settings->password.clear();
        }
        m_dialogs.information(kCaptionError,
                              m_run->stopMessage() +
                                  QStringLiteral("\nWysyłanie zatrzymano; lista pokazuje, kto "
                                                 "dostał plik."));
    }
}

void TfPlanMailResults::RetryFailed()
{
    if (m_settings->password.isEmpty() && !MailPasswords::fill(*m_settings, m_dialogs))
        return;
    if (m_run->MarkFailedForRetry() == 0)
        return;
    RunOnce();
}

void TfPlanMailResults::refill()
{
    m_list->clear();
    for (const PlanMailEntry& e : m_run->entries()) {
        auto* item =
            new QTreeWidgetItem(m_list, {e.text, e.email, planMailStateText(e.state), e.reply});
        item->setData(0, Qt::UserRole, e.key);
        item->setData(2, Qt::UserRole, static_cast<int>(e.state));
    }
    m_list->header()->resizeSections(QHeaderView::ResizeToContents);
    const int sent = m_run->count(PlanMailEntry::State::Sent);
    const int all = static_cast<int>(m_run->entries().size());
    m_summary->setText(QStringLiteral("Wysłano %1 z %2 planów.").arg(sent).arg(all));
    m_retry->setEnabled(sent < all);
}

} // namespace zf
