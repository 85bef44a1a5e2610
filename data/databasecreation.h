#pragma once

#include "data/fb/connection.h"
#include "data/fb/statement.h"
#include "data/fb/transaction.h"
#include "data/scriptrunner.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace zf {

// The creation connection: separate from the main connection, used only to create a database
// and fill it with the creation script. It stays attached to the new database afterwards.
class DatabaseCreator
{
public:
    DatabaseCreator();

    // Creates the database in dialect 1 with the Windows-1250 character set and runs the
    // script lines on it. Steps: 1 detaching, 2 creating, then those of the script run.
    std::optional<ScriptError> create(const QString& location, const QString& user,
                                      const QString& password, const QStringList& scriptLines);

    static QString CreationScriptPath(const QString& programFolder);

    fb::Connection DB;
    fb::Transaction Trans;
    fb::Statement sql;
};

} // namespace zf
