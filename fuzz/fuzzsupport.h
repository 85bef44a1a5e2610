#pragma once

// What every fuzz target shares: a private folder that lives as long as the process, and a
// failed property that stops the run with a message libFuzzer keeps beside the input.
#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace zf::fuzz {

inline QByteArray bytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

inline const QString& folder()
{
    static QTemporaryDir dir;
    static const QString path = dir.path();
    return path;
}

inline QString writeInput(const QString& name, const QByteArray& content)
{
    const QString path = folder() + QLatin1Char('/') + name;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    f.write(content);
    return path;
}

// Nothing may appear in the private folder but the files the target put there itself.
inline void expectOnly(const QStringList& names)
{
    const QStringList entries =
        QDir(folder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString& e : entries)
        if (!names.contains(e)) {
            std::fprintf(stderr, "unexpected file: %s\n", qPrintable(e));
            std::abort();
        }
}

} // namespace zf::fuzz

#define ZF_FUZZ_CHECK(condition)                                                                   \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "property failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__);  \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
