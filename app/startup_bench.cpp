// How long the program takes from its start to the login window, beside the time Qt itself
// needs to put a bare window on screen. Runs offscreen in a private data folder; the first run
// makes the database by quick creation, the runs after it are the ones a clerk sees every day.
#include "app/application.h"
#include "app/loginwindow.h"
#include "data/managedbwindow.h"
#include "util/dialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Every message is taken as read; every question is answered no.
class SilentDialogs final : public zf::Dialogs
{
public:
    void information(const QString&, const QString&) override {}
    bool question(const QString&, const QString&) override { return false; }
    bool prompt(const QString&, const QString&, QString&, bool) override { return false; }
    QString openFileName(const QString&, const QString&, const QStringList&) override { return {}; }
    QString saveFileName(const QString&, const QString&, const QStringList&,
                         const QString&) override
    {
        return {};
    }
    QString existingDirectory(const QString&, const QString&) override { return {}; }
};

// Answers the database window by quick creation and notes when the login window appears,
// then closes it, which ends the run.
class FirstWindows final : public QObject
{
public:
    qint64 loginShownAt = -1;
    QElapsedTimer clock;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Show)
            return false;
        if (auto* login = dynamic_cast<zf::TfLogin*>(watched)) {
            if (loginShownAt < 0)
                loginShownAt = clock.elapsed();
            QTimer::singleShot(0, login, [login] { static_cast<QDialog*>(login)->reject(); });
        } else if (auto* manage = dynamic_cast<zf::TfManageDB*>(watched)) {
            QTimer::singleShot(0, manage, [manage] {
                manage->findChild<QPushButton*>(QStringLiteral("btnQuickCreate"))->click();
                // A failed creation leaves the window open: the run ends without a login.
                if (manage->isVisible())
                    static_cast<QDialog*>(manage)->reject();
            });
        }
        return false;
    }
};

qint64 runToLogin(const QString& dataFolder, bool splash)
{
    SilentDialogs dialogs;
    FirstWindows windows;
    qApp->installEventFilter(&windows);
    windows.clock.start();
    zf::StartOptions options;
    options.arguments = {QStringLiteral("ENABLEMULTIRUN")};
    // The schema scripts and the tips lie in bin/ of the build folder, beside the program.
    options.programFolder = QCoreApplication::applicationDirPath() + QStringLiteral("/../bin");
    options.dataFolder = dataFolder;
    options.lockFolder = dataFolder;
    options.installerFolders = {dataFolder + QStringLiteral("/no-installer")};
    options.dialogs = &dialogs;
    options.splash = splash;
    options.scheduleFirstPaint = false;
    {
        zf::TApplication app(options);
        app.terminate = [](int) {};
        app.start();
    }
    qApp->removeEventFilter(&windows);
    return windows.loginShownAt;
}

qint64 bareWindow()
{
    QElapsedTimer clock;
    clock.start();
    QWidget window;
    window.resize(400, 300);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return -1;
    return clock.elapsed();
}

qint64 median(std::vector<qint64> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QApplication qapp(argc, argv);
    QTemporaryDir data;
    constexpr int kRuns = 5;

    const qint64 first = runToLogin(data.path(), false);
    std::vector<qint64> plain;
    std::vector<qint64> withSplash;
    std::vector<qint64> bare;
    for (int i = 0; i < kRuns; ++i) {
        plain.push_back(runToLogin(data.path(), false));
        withSplash.push_back(runToLogin(data.path(), true));
        bare.push_back(bareWindow());
    }
    std::printf("pierwsze uruchomienie (z utworzeniem bazy) do okna logowania: %lld ms\n",
                static_cast<long long>(first));
    std::printf("kolejne uruchomienie do okna logowania, bez ekranu powitalnego: %lld ms "
                "(mediana z %d)\n",
                static_cast<long long>(median(plain)), kRuns);
    std::printf("kolejne uruchomienie do okna logowania, z ekranem powitalnym: %lld ms\n",
                static_cast<long long>(median(withSplash)));
    std::printf("samo okno Qt do pokazania: %lld ms\n", static_cast<long long>(median(bare)));
    return first < 0 || median(plain) < 0 ? 1 : 0;
}
