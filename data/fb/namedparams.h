#pragma once

#include <QString>
#include <QStringList>

namespace zf::fb {

// A statement with named parameters ":NAME" rewritten to the positional "?" the engine takes.
struct PositionalSql
{
    QString sql;         // the text with every parameter replaced by "?"
    QStringList names;   // the parameter name of each "?", in order, upper case
};

// Names are found outside '...' and "..." literals and outside -- and /* */ comments; a name
// may stand more than once and then fills every position it stands in.
PositionalSql toPositional(const QString& sql);

} // namespace zf::fb
