#include "app/mailoptionspage.h"

#include "util/dialogs.h"
#include "util/mailsettings.h"
#include "util/secretstore.h"
#include "util/widgets.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

namespace zf {

namespace {

template <class W> W* named(W* w, const char* name, const QString& accessible)
{
    w->setObjectName(QLatin1String(name));
    w->setAccessibleName(accessible);
    return w;
}

// The usual port of each security choice, for a port the user has not changed.
int usualPort(int security)
{
    return security == 2 ? 465 : security == 1 ? 587 : 25;
}

} // namespace

TfMailOptionsPage::TfMailOptionsPage(Dialogs& dialogs, QString iniPath, QWidget* parent)
    : QWidget(parent), m_dialogs(dialogs), m_iniPath(std::move(iniPath))
{
    setObjectName(QStringLiteral("tsPoczta"));
    m_server = named(new QLineEdit(this), "eSerwerPoczty", QStringLiteral("Serwer"));
    m_port = named(new QSpinBox(this), "sePort", QStringLiteral("Port"));
    m_port->setRange(1, 65535);
    m_security = named(new QComboBox(this), "cbZabezpieczenie", QStringLiteral("Zabezpieczenie"));
    for (auto s : {SmtpSettings::Security::None, SmtpSettings::Security::StartTls,
                   SmtpSettings::Security::SslTls})
        m_security->addItem(securityName(s), static_cast<int>(s));
    m_user = named(new QLineEdit(this), "eUzytkownik", QStringLiteral("Użytkownik"));
    m_password = named(new QLineEdit(this), "eHasloPoczty", QStringLiteral("Hasło"));
    m_password->setEchoMode(QLineEdit::Password);
    m_sender = named(new QLineEdit(this), "eNadawca", QStringLiteral("Adres nadawcy"));
    m_test = button(this, "SBWiadomoscProbna", QStringLiteral("Wyślij wiadomość &próbną"));
    m_test->setAccessibleName(QStringLiteral("Wyślij wiadomość próbną"));

    auto* form = new QFormLayout;
    const auto row = [&](const QString& caption, QWidget* field) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(field);
        form->addRow(label, field);
    };
    row(QStringLiteral("Se&rwer poczty (SMTP):"), m_server);
    row(QStringLiteral("P&ort:"), m_port);
    row(QStringLiteral("Za&bezpieczenie:"), m_security);
    row(QStringLiteral("&Użytkownik:"), m_user);
    row(QStringLiteral("&Hasło:"), m_password);
    row(QStringLiteral("Adres &nadawcy:"), m_sender);
    auto* hint = new QLabel(
        QStringLiteral("Hasło jest przechowywane w bezpiecznym schowku haseł pulpitu; gdy go "
                       "nie ma, program pyta o hasło raz na uruchomienie. Puste pole hasła "
                       "zostawia zapamiętane hasło bez zmian."),
        this);
    hint->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(hint);
    layout->addWidget(m_test, 0, Qt::AlignLeft);
    layout->addStretch();

    connect(m_security, &QComboBox::currentIndexChanged, this, [this](int index) {
        for (int s = 0; s < 3; ++s)
            if (m_port->value() == usualPort(s))
                m_port->setValue(usualPort(index));
    });
    connect(m_test, &QPushButton::clicked, this, &TfMailOptionsPage::sendTestMessage);
}

void TfMailOptionsPage::load()
{
    const SmtpSettings s = readMailSettings(m_iniPath);
    const QSignalBlocker block(m_security);
    m_server->setText(s.server);
    m_port->setValue(s.port);
    m_security->setCurrentIndex(static_cast<int>(s.security));
    m_user->setText(s.user);
    m_password->clear();
    m_sender->setText(s.sender);
    m_caFile = s.caFile;
}

SmtpSettings TfMailOptionsPage::typed() const
{
    SmtpSettings s;
    s.server = m_server->text().trimmed();
    s.port = m_port->value();
    s.security = static_cast<SmtpSettings::Security>(m_security->currentData().toInt());
    s.user = m_user->text().trimmed();
    s.sender = m_sender->text().trimmed();
    s.caFile = m_caFile;
    return s;
}

bool TfMailOptionsPage::check()
{
    const SmtpSettings s = typed();
    const bool empty = s.server.isEmpty() && s.sender.isEmpty() && s.user.isEmpty();
    if (empty)
        return true; // no mail server: plan files are not sent by e-mail
    QWidget* wrong = nullptr;
    QString text;
    if (s.server.isEmpty() || s.server.contains(QLatin1Char(' '))) {
        wrong = m_server;
        text = QStringLiteral("Wpisz nazwę lub adres serwera poczty (SMTP).");
    } else if (s.sender.count(QLatin1Char('@')) != 1 || s.sender.startsWith(QLatin1Char('@')) ||
               s.sender.endsWith(QLatin1Char('@')) || s.sender.contains(QLatin1Char(' '))) {
        wrong = m_sender;
        text = QStringLiteral("Wpisz poprawny adres nadawcy, np. kadry@firma.pl.");
    }
    if (!wrong)
        return true;
    m_dialogs.information(kCaptionInformation, text);
    wrong->setFocus();
    return false;
}

bool TfMailOptionsPage::save()
{
    if (!check())
        return false;
    const SmtpSettings s = typed();
    if (!writeMailSettings(m_iniPath, s)) {
        m_dialogs.information(kCaptionError,
                              QStringLiteral("Nie można zapisać ustawień poczty w pliku %1. "
                                             "Sprawdź, czy plik nie jest tylko do odczytu, i "
                                             "zapisz ponownie.")
                                  .arg(m_iniPath));
        return false;
    }
    if (!m_password->text().isEmpty() && !s.user.isEmpty() &&
        !MailPasswords::remember(s, m_password->text()))
        m_dialogs.information(
            kCaptionInformation,
            QStringLiteral("Nie znaleziono schowka haseł pulpitu: hasło do serwera poczty "
                           "zostanie zapamiętane tylko do zamknięcia programu."));
    m_password->clear();
    return true;
}

void TfMailOptionsPage::sendTestMessage()
{
    if (!check())
        return;
    SmtpSettings s = typed();
    if (!s.complete()) {
        m_dialogs.information(kCaptionInformation,
                              QStringLiteral("Wpisz serwer poczty i adres nadawcy."));
        return;
    }
    if (!m_password->text().isEmpty())
        s.password = m_password->text();
    else if (!MailPasswords::fill(s, m_dialogs))
        return;
    MailMessage m;
    m.to = s.sender;
    m.fromName = QStringLiteral("Zefirant PL+");
    m.subject = QStringLiteral("Wiadomość próbna z programu Zefirant PL+");
    m.body = QStringLiteral("Ta wiadomość potwierdza, że program Zefirant PL+ może wysyłać "
                            "pocztę przez serwer %1.\n")
                 .arg(s.server);
    const SmtpResult r = SmtpSession(s).send(m);
    if (r.sent()) {
        m_dialogs.information(
            kCaptionInformation,
            QStringLiteral("Wiadomość próbna została wysłana na adres %1.").arg(s.sender));
        return;
    }
    if (r.status == SmtpResult::Status::LoginRefused)
        MailPasswords::forget(s);
    m_dialogs.information(kCaptionError, r.message);
}

} // namespace zf
