#pragma once

#include <QString>
#include <QList>
#include <QStringList>

#include <utility>

namespace zf {

// A Windows-style INI file ("[Section]", "key=value") in Windows-1250.
// Section and key names match without regard to case. Every call reads the file anew and every
// write rewrites it whole, so several objects may share one file; lines the reader does not
// understand are kept as they stand, and so are all other sections and keys.
class IniFile
{
public:
    explicit IniFile(QString path);

    const QString& path() const { return m_path; }

    QString readString(const QString& section, const QString& key,
                       const QString& defaultValue = {}) const;
    // Decimal (or "$"/"0x" hexadecimal) integers; anything else gives the default.
    int readInteger(const QString& section, const QString& key, int defaultValue) const;
    // Booleans are integers: any non-zero value is true.
    bool readBool(const QString& section, const QString& key, bool defaultValue) const;

    bool keyExists(const QString& section, const QString& key) const;
    bool sectionExists(const QString& section) const;
    QStringList sectionKeys(const QString& section) const;

    // Writes return false when the file cannot be written; the file is replaced atomically,
    // so a failed write never leaves it half written.
    bool writeString(const QString& section, const QString& key, const QString& value);
    // Several keys of one section in one rewrite of the file, in the order given.
    bool writeStrings(const QString& section, const QList<std::pair<QString, QString>>& values);
    bool writeInteger(const QString& section, const QString& key, int value);
    bool writeBool(const QString& section, const QString& key, bool value);
    bool deleteKey(const QString& section, const QString& key);
    bool eraseSection(const QString& section);

private:
    QStringList readLines() const;
    bool writeLines(const QStringList& lines) const;

    QString m_path;
};

} // namespace zf
