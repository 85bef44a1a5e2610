#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>

#include <ostream>

// Readable failure messages for Qt texts in GoogleTest assertions.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QByteArray& bytes, std::ostream* os)
{
    *os << "bytes \"" << bytes.toHex(' ').toStdString() << '"';
}

inline void PrintTo(QChar c, std::ostream* os)
{
    *os << '\'' << QString(c).toStdString() << '\'';
}
