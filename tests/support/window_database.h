#pragma once

// A real embedded database for the window tests, made from the creation script beside the
// program, with a database module connected to it.
#include "data/databasecreation.h"
#include "data/mydatabase.h"
#include "data/programoptions.h"
#include "data/scriptrunner.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_env.h"

#include <QDir>
#include <QFile>
#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace zf::test {

inline const QString kWindowDbUser = QStringLiteral("SYSDBA");
inline const QString kWindowDbPassword = QStringLiteral("masterkey");

// The data folder the module of a window test uses (its "debug" folder holds the error log).
inline QString windowTestDataFolder()
{
    return dataHome() + QStringLiteral("/Orvantis/Zefirant");
}

// Creates `folder`/`fileName` and connects a new module with `dialogs` to it, into `db`. The
// reason when that fails, else an empty text.
inline QString openWindowTestDatabase(const QString& folder, const QString& fileName,
                                      Dialogs& dialogs, std::unique_ptr<TmyDataBase>& db)
{
    QDir().mkpath(windowTestDataFolder() + QStringLiteral("/debug"));
    QFile script(DatabaseCreator::CreationScriptPath(programFolder()));
    if (!script.open(QIODevice::ReadOnly))
        return QStringLiteral("no creation script at ") + script.fileName();
    const QString path = folder + QLatin1Char('/') + fileName;
    {
        DatabaseCreator creator;
        const auto error = creator.create(path, kWindowDbUser, kWindowDbPassword,
                                          decipherScript(script.readAll()));
        if (error)
            return error->message;
        creator.DB.detach();
    }
    db = std::make_unique<TmyDataBase>(DatabasePaths{windowTestDataFolder(),
                                                     programFolder(),
                                                     {folder + QStringLiteral("/no-installer")}},
                                       dialogs);
    if (!db->Connect(path, kWindowDbUser, kWindowDbPassword))
        return QStringLiteral("cannot connect to ") + path;
    return {};
}

// What every window test over one database holds: its folder, the scripted dialogs, the
// program's options and the module, connected by openDatabase() in initTestCase.
class WindowDatabaseTest : public QObject
{
protected:
    QTemporaryDir m_dir;
    ScriptedDialogs m_dialogs;
    ProgramOptions m_options;
    std::unique_ptr<TmyDataBase> m_db;

    static QString dataFolder() { return windowTestDataFolder(); }
    // The reason when the database `fileName` in the test's folder cannot be made or reached.
    QString openDatabase(const QString& fileName)
    {
        return openWindowTestDatabase(m_dir.path(), fileName, m_dialogs, m_db);
    }
    // The first column of the first row, as text; empty when there is none.
    QString value(const QString& sql)
    {
        QString result;
        m_db->Utility(1, [&](fb::Statement& st) {
            st.setSql(sql);
            st.execute();
            if (st.fetch())
                result = st.value(0).toString();
            st.close();
        });
        return result;
    }
    void exec(const QString& sql) { QVERIFY(m_db->Write(sql, {}, 1)); }
};

} // namespace zf::test
