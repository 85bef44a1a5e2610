#pragma once

#include <QByteArray>
#include <QString>

namespace zf {

// Whole-file reading and writing of raw bytes, and path helpers.
class TOVTools
{
public:
    // Drops one trailing "/" or "\" (paths stored on Windows end in "\"); the root "/" stays.
    static QString ExcludeTrailingBackslash(const QString& path);

    // Creates or empties the file and writes the bytes unchanged; false on any failure.
    static bool SaveTextToFile(const QByteArray& text, const QString& path);
    // Reads every byte of the file into text; false (and text empty) when the file cannot be
    // opened or read.
    static bool LoadFileToText(const QString& path, QByteArray& text);
};

} // namespace zf
