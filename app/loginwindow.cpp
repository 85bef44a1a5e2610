#include "app/loginwindow.h"

#include "app/centre.h"

#include "app/login.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWindow>
#include <QVBoxLayout>

namespace zf {

TfLogin::TfLogin(TmyDataBase& db, QWidget* parent) : QDialog(parent), m_db(db)
{
    setObjectName(QStringLiteral("TfLogin"));
    setWindowTitle(QStringLiteral("Zefirant PL+"));
    setModal(true);

    auto* heading = new QLabel(QStringLiteral("Zaloguj się ..."), this);
    heading->setObjectName(QStringLiteral("lblHeading"));
    QFont f = heading->font();
    f.setPointSizeF(f.pointSizeF() * 1.4);
    f.setBold(true);
    heading->setFont(f);

    m_user = new QLineEdit(this);
    m_user->setObjectName(QStringLiteral("edUser"));
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("edPassword"));
    m_password->setEchoMode(QLineEdit::Password);
    m_hintUser = new QLabel(QStringLiteral("domyślnie: admin"), this);
    m_hintUser->setObjectName(QStringLiteral("lblHintUser"));
    m_hintPassword = new QLabel(QStringLiteral("domyślnie: zefirant"), this);
    m_hintPassword->setObjectName(QStringLiteral("lblHintPassword"));
    for (QLabel* hint : {m_hintUser, m_hintPassword})
        hint->setStyleSheet(QStringLiteral("color: gray;"));

    m_error = new QLabel(QStringLiteral("Niepoprawny login lub hasło"), this);
    m_error->setObjectName(QStringLiteral("lblError"));
    m_error->setStyleSheet(QStringLiteral("color: #c00000; font-weight: bold;"));
    m_error->hide();

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("btnOK"));
    m_ok->setDefault(true);
    m_configureButton = new QPushButton(QStringLiteral("Konfiguruj bazę"), this);
    m_configureButton->setObjectName(QStringLiteral("btnConfigure"));
    m_configureButton->setAutoDefault(false);

    auto* grid = new QGridLayout;
    auto* userLabel = new QLabel(QStringLiteral("Użytkownik"), this);
    userLabel->setBuddy(m_user);
    auto* pwdLabel = new QLabel(QStringLiteral("Hasło"), this);
    pwdLabel->setBuddy(m_password);
    grid->addWidget(userLabel, 0, 0);
    grid->addWidget(m_user, 0, 1);
    grid->addWidget(m_hintUser, 0, 2);
    grid->addWidget(pwdLabel, 1, 0);
    grid->addWidget(m_password, 1, 1);
    grid->addWidget(m_hintPassword, 1, 2);
    grid->setColumnMinimumWidth(1, 200);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_configureButton);
    buttons->addStretch();
    buttons->addWidget(m_ok);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addSpacing(8);
    layout->addLayout(grid);
    layout->addWidget(m_error);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    setTabOrder(m_user, m_password);
    setTabOrder(m_password, m_ok);
    setTabOrder(m_ok, m_configureButton);

    m_user->installEventFilter(this);
    m_password->installEventFilter(this);
    connect(m_ok, &QPushButton::clicked, this, &TfLogin::onOk);
    connect(m_configureButton, &QPushButton::clicked, this, [this] {
        if (m_configure)
            m_configure();
    });
    // Enter in either field is "OK".
    connect(m_user, &QLineEdit::returnPressed, this, &TfLogin::onOk);
    connect(m_password, &QLineEdit::returnPressed, this, &TfLogin::onOk);
}

void TfLogin::setHintsVisible(bool visible)
{
    m_hintUser->setVisible(visible);
    m_hintPassword->setVisible(visible);
}

bool TfLogin::ShowLogin()
{
    // The main window has just been shown; until the window system has placed it, its position
    // is not yet its own and centring over it would miss.
    if (const QWidget* owner = parentWidget(); owner && owner->isVisible()) {
        QDeadlineTimer placed(1000);
        while (owner->windowHandle() && !owner->windowHandle()->isExposed() && !placed.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    exec();
    return m_success;
}

void TfLogin::showEvent(QShowEvent* event)
{
    m_user->clear();
    m_password->clear();
    m_success = false;
    m_endRequested = false;
    m_error->hide();
    m_attempts = 0;
    QDialog::showEvent(event);
    // Qt places a dialog over its owner only on its first showing and by the size it had then;
    // with the hints hidden and the main window resized from the stored options, it would sit
    // over the owner's corner.
    adjustSize();
    centreOver(*this, parentWidget());
    m_user->setFocus();
}

bool TfLogin::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape) {
            // Esc in the user field ends the program; in the password field it does nothing.
            if (watched == m_user) {
                m_endRequested = true;
                QDialog::reject();
            }
            return true;
        }
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            m_error->hide();
    }
    return QDialog::eventFilter(watched, event);
}

void TfLogin::reject()
{
    // Esc is handled per field; closing the window by its close box ends the program too.
    m_endRequested = true;
    QDialog::reject();
}

void TfLogin::onOk()
{
    if (attemptLogin(m_db, m_user->text(), m_password->text())) {
        m_success = true;
        accept();
        return;
    }
    m_error->show();
    m_password->clear();
    ++m_attempts;
    if (m_attempts >= kMaxAttempts) {
        QDialog::reject();
        return;
    }
    m_user->selectAll();
    m_user->setFocus();
}

} // namespace zf
