#pragma once

// Running the whole program in a test: its own data folder, scripted messages, the modal
// windows answered as a user would.
#include "app/application.h"
#include "app/loginwindow.h"
#include "data/managedbwindow.h"
#include "tests/support/modal.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_env.h"

#include <QLineEdit>
#include <QPushButton>

#include <memory>

namespace zf::test {

inline const QString kQuickCreated =
    QStringLiteral("Baza danych została utworzona. Możesz rozpocząć już pracę z programem.");

inline void login(const QString& user, const QString& password)
{
    whenModal<TfLogin>([user, password](TfLogin* w) {
        w->findChild<QLineEdit*>(QStringLiteral("edUser"))->setText(user);
        w->findChild<QLineEdit*>(QStringLiteral("edPassword"))->setText(password);
        w->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
    });
}

inline void quickCreate()
{
    whenModal<TfManageDB>([](TfManageDB* w) {
        w->findChild<QPushButton*>(QStringLiteral("btnQuickCreate"))->click();
    });
}

// One program run in its own data folder.
struct Run
{
    explicit Run(const QString& dataFolder, QStringList args = {QStringLiteral("ENABLEMULTIRUN")})
    {
        StartOptions o;
        o.arguments = std::move(args);
        o.programFolder = programFolder();
        o.dataFolder = dataFolder;
        o.lockFolder = dataFolder;
        o.installerFolders = {dataFolder + QStringLiteral("/no-installer")};
        o.dialogs = &dialogs;
        o.splash = false;
        o.scheduleFirstPaint = false;
        app = std::make_unique<TApplication>(o);
        app->terminate = [this](int code) { terminatedWith = code; };
    }
    ScriptedDialogs dialogs;
    std::unique_ptr<TApplication> app;
    int terminatedWith = -1;
};

} // namespace zf::test
