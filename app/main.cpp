// Zefirant PL+: the program's entry.
#include "app/application.h"
#include "util/polishdesktop.h"

#include <QApplication>

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

} // namespace

int main(int argc, char** argv)
{
    TZefirantApp qapp(argc, argv);
    // No display name: Qt would append it to every caption.
    zf::setUpPolishDesktop(qapp);
    zf::StartOptions options;
    options.arguments = QApplication::arguments().mid(1);
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
