#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Every text that leaves the program (database, INI file, plan files, CSV, logs, scripts) is
// Windows-1250 bytes; in memory it is QString.
namespace zf {

QByteArray toCp1250(const QString& text);
QString fromCp1250(QByteArrayView bytes);

// True when every character of the text has a Windows-1250 byte; used to refuse input that
// would otherwise be silently replaced. The control characters U+0080-U+009F count as having
// none.
bool isCp1250Encodable(const QString& text);

// The characters of the text that Windows-1250 cannot hold, each once, in order of appearance.
QString nonCp1250Characters(const QString& text);

} // namespace zf
