#pragma once

// What the plan-file window tests share: a fresh database seeded with a plan and its folder for
// every case, the scripted dialogs, and lookups of the windows' controls.
#include "data/mydatabase.h"
#include "data/programoptions.h"
#include "tests/planfiles/planfiles_seed.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/window_database.h"

#include <QDir>
#include <QListWidget>
#include <QObject>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace zf::test {

class PlanFilesWindowTest : public QObject
{
protected:
    static QString dataFolder() { return windowTestDataFolder(); }

    template <class T> static T* child(QWidget* w, const char* name)
    {
        auto* c = w->findChild<T*>(QString::fromLatin1(name));
        if (!c)
            qWarning("missing control %s", name);
        return c;
    }
    // The employees of the window's list, or only the selected ones.
    static QStringList items(QWidget* w, bool selectedOnly)
    {
        QStringList out;
        auto* list = child<QListWidget>(w, "lbPracownicy");
        for (int i = 0; i < list->count(); ++i)
            if (!selectedOnly || list->item(i)->isSelected())
                out << list->item(i)->text();
        return out;
    }
    QString path(const char* name) const
    {
        return planDir->path() + QLatin1Char('/') + QString::fromLatin1(name) +
               QStringLiteral(".zfpn");
    }
    QString scalar(const QString& sql)
    {
        QString value;
        db->Utility(1, [&](fb::Statement& st) {
            st.setSql(sql);
            st.execute();
            if (st.fetch())
                value = st.value(0).toString();
            st.close();
        });
        return value;
    }

    // For init(): the database, the plan and its folder anew.
    void openPlan()
    {
        QDir().mkpath(dataFolder() + QStringLiteral("/debug"));
        dbDir = std::make_unique<QTemporaryDir>();
        planDir = std::make_unique<QTemporaryDir>();
        dialogs = std::make_unique<ScriptedDialogs>();
        const QString error =
            openWindowTestDatabase(dbDir->path(), QStringLiteral("pliki.fdb"), *dialogs, db);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        for (const QString& sql : planSeed(planDir->path()))
            QVERIFY(db->Write(sql, {}, 1));
        options.sprawdzZakresUrlopu = false;
    }
    // For cleanup().
    void closePlan()
    {
        db.reset();
        dialogs.reset();
        planDir.reset();
        dbDir.reset();
    }

    std::unique_ptr<QTemporaryDir> dbDir;
    std::unique_ptr<QTemporaryDir> planDir;
    std::unique_ptr<ScriptedDialogs> dialogs;
    std::unique_ptr<TmyDataBase> db;
    ProgramOptions options;
};

} // namespace zf::test
