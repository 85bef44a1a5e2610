#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace zf {

namespace fb {
class Statement;
class Transaction;
} // namespace fb

// Where a script run stopped: the step reached and the engine's message.
struct ScriptError
{
    int step = 0;
    QString message;
};

// Runs script lines: lines without "/*" are collected into a statement; a line containing "/*"
// runs what was collected in a transaction of its own (rolled back first if open, started,
// executed, committed). Lines after the last such line are never run. Stops at the first error,
// after rolling back; statements already committed stay.
// Steps: 2 nothing run yet, 4 ending an open transaction, 5 starting it, 6 executing,
// 7 committing, 8 clearing the statement, 9 a statement completed.
std::optional<ScriptError> runScriptLines(fb::Statement& statement, fb::Transaction& transaction,
                                          const QStringList& lines);

// The statements runScriptLines runs, in order: the lines before each line containing "/*",
// each followed by a line feed. What follows the last such line is no statement.
QStringList scriptStatements(const QStringList& lines);

// The lines of an enciphered script file's bytes.
QStringList decipherScript(const QByteArray& enciphered);

} // namespace zf
