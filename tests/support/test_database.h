#pragma once

#include "data/mydatabase.h"
#include "tests/support/scripted_dialogs.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace zf::test {

// The project's own creation script, deciphered into lines.
QStringList creationScriptLines();
// A script file of the source tree (tests/data/fixtures/...) in the separator format, as lines.
QStringList sourceScriptLines(const QString& relativePath);

// Creates a database file from script lines on the embedded engine; fails the test on error.
void createDatabaseFile(const QString& path, const QStringList& lines);

// A fresh embedded database made from the creation script in a temporary folder, with a
// module connected to it and logged in as the administrator would be.
class TestDatabase
{
public:
    TestDatabase();
    // A database made from other script lines (an older schema, say).
    explicit TestDatabase(const QStringList& scriptLines);
    ~TestDatabase();

    TmyDataBase& db() { return *m_db; }
    ScriptedDialogs& dialogs() { return m_dialogs; }
    const QString& path() const { return m_path; }
    QString folder() const { return m_dir.path(); }

    // Runs a statement on its own connection (not the module's) and commits.
    void exec(const QString& sql);
    // The first column of the first row of a query, as text (empty when there is no row).
    QString scalar(const QString& sql);
    int scalarInt(const QString& sql) { return scalar(sql).toInt(); }

    static constexpr const char* kUser = "SYSDBA";
    static constexpr const char* kPassword = "lanternox";

private:
    void init(const QStringList& lines);
    void query(const QString& sql, QString* firstValue);

    QTemporaryDir m_dir;
    QString m_path;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<TmyDataBase> m_db;
};

} // namespace zf::test
