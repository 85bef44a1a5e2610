#pragma once

#include <QWidget>

class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace zf {

class Dialogs;
struct SmtpSettings;

// The "Poczta" page of "Opcje programu": the mail server through which plan files go to the
// employees, and "Wyślij wiadomość próbną". A password typed here goes to the desktop's secret
// store (or, without one, is kept for this run only); never into "zefirant.ini".
class TfMailOptionsPage : public QWidget
{
    Q_OBJECT
public:
    TfMailOptionsPage(Dialogs& dialogs, QString iniPath, QWidget* parent = nullptr);

    void load();
    // False, with the message shown and the page as typed, when the settings are not sound or
    // could not be written.
    bool save();
    // "Wyślij wiadomość &próbną": to the sender's own address, with the settings as typed.
    void sendTestMessage();

private:
    SmtpSettings typed() const;
    bool check();

    Dialogs& m_dialogs;
    QString m_iniPath;
    QString m_caFile; // kept as read; not shown
    QLineEdit* m_server;
    QSpinBox* m_port;
    QComboBox* m_security;
    QLineEdit* m_user;
    QLineEdit* m_password;
    QLineEdit* m_sender;
    QPushButton* m_test;
};

} // namespace zf
