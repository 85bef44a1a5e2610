// Zefirant PL+: the program's entry.
#include "app/application.h"
#include "util/polishdesktop.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <exception>

namespace {

zf::TApplication* g_app = nullptr;

// Errors that no window handled reach the handler of unexpected errors instead of ending the
// program.
class TZefirantApp : public QApplication
{
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& e) {
            report(QString::fromLocal8Bit(e.what()), receiver);
        } catch (...) {
            report(QStringLiteral("Nieznany błąd"), receiver);
        }
        return false;
    }

private:
    static void report(const QString& message, QObject* receiver)
    {
        const QString cls = receiver ? QString::fromLatin1(receiver->metaObject()->className())
                                     : QStringLiteral("?");
        if (g_app)
            g_app->handleUnexpectedError(message, cls);
    }
};

// For timing the start from outside (ZF_REPORT_LOGIN set): the login window, once the window
// system has mapped it (exposed, not merely shown), is reported on standard output and
// cancelled, which ends the run.
class LoginReporter final : public QObject
{
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched->inherits("zf::TfLogin") && !m_login) {
            m_login = static_cast<QDialog*>(watched);
            if (QWindow* window = m_login->windowHandle())
                window->installEventFilter(this);
        } else if (event->type() == QEvent::Expose && m_login &&
                   watched == m_login->windowHandle() && m_login->windowHandle()->isExposed()) {
            std::fputs("login shown\n", stdout);
            std::fflush(stdout);
            m_login->windowHandle()->removeEventFilter(this);
            QDialog* login = m_login;
            QTimer::singleShot(0, login, [login] { login->reject(); });
        }
        return false;
    }

private:
    QPointer<QDialog> m_login;
};

} // namespace

int main(int argc, char** argv)
{
    TZefirantApp qapp(argc, argv);
    // No display name: Qt would append it to every caption.
    zf::setUpPolishDesktop(qapp);
    zf::StartOptions options;
    options.arguments = QApplication::arguments().mid(1);
    LoginReporter reporter;
    if (qEnvironmentVariableIsSet("ZF_REPORT_LOGIN")) {
        options.splash = false;
        qapp.installEventFilter(&reporter);
    }
    zf::TApplication app(options);
    g_app = &app;
    if (!app.start()) {
        g_app = nullptr;
        return app.exitCode();
    }
    const int rc = QApplication::exec();
    g_app = nullptr;
    return rc;
}
