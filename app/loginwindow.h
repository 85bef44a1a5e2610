#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace zf {

class TmyDataBase;

// "Zaloguj się ...": user and password, three attempts, "Konfiguruj bazę".
class TfLogin : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kMaxAttempts = 3;

    TfLogin(TmyDataBase& db, QWidget* parent = nullptr);

    // Opens the database window; set by the owner.
    void setConfigureDatabase(std::function<void()> fn) { m_configure = std::move(fn); }
    // The two default-value hints beside the fields.
    void setHintsVisible(bool visible);

    // Shows the window modally; true after a successful login.
    bool ShowLogin();
    bool succeeded() const { return m_success; }
    // Esc in the user field: the program is to end.
    bool endRequested() const { return m_endRequested; }
    int attempts() const { return m_attempts; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    void onOk();

    TmyDataBase& m_db;
    QLineEdit* m_user;
    QLineEdit* m_password;
    QLabel* m_error;
    QLabel* m_hintUser;
    QLabel* m_hintPassword;
    QPushButton* m_ok;
    QPushButton* m_configureButton;
    std::function<void()> m_configure;
    bool m_success = false;
    bool m_endRequested = false;
    int m_attempts = 0;
};

} // namespace zf
