#include "util/inifile.h"

#include "util/textcodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <optional>

namespace zf {

namespace {

// "[Name]" with optional blanks around; returns the name.
std::optional<QString> sectionName(const QString& line)
{
    const QString t = line.trimmed();
    if (t.size() >= 2 && t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']')))
        return t.mid(1, t.size() - 2).trimmed();
    return std::nullopt;
}

// "key=value": returns the key; comment lines and lines without "=" have none.
std::optional<QString> keyName(const QString& line)
{
    const QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('#')))
        return std::nullopt;
    const int eq = t.indexOf(QLatin1Char('='));
    if (eq <= 0)
        return std::nullopt;
    return t.left(eq).trimmed();
}

QString valueOf(const QString& line)
{
    QString v = line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed();
    if (v.size() >= 2 && ((v.startsWith(QLatin1Char('"')) && v.endsWith(QLatin1Char('"'))) ||
                          (v.startsWith(QLatin1Char('\'')) && v.endsWith(QLatin1Char('\'')))))
        v = v.mid(1, v.size() - 2);
    return v;
}

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Index range [begin, end) of the lines inside the first section of that name, or nullopt.
struct SectionRange
{
    int header;
    int end;
};

std::optional<SectionRange> findSection(const QStringList& lines, const QString& section)
{
    for (int i = 0; i < lines.size(); ++i) {
        const auto name = sectionName(lines.at(i));
        if (name && sameName(*name, section)) {
            int end = i + 1;
            while (end < lines.size() && !sectionName(lines.at(end)))
                ++end;
            return SectionRange{i, end};
        }
    }
    return std::nullopt;
}

int findKey(const QStringList& lines, const SectionRange& r, const QString& key)
{
    for (int i = r.header + 1; i < r.end; ++i) {
        const auto name = keyName(lines.at(i));
        if (name && sameName(*name, key))
            return i;
    }
    return -1;
}

std::optional<int> parseInteger(const QString& text)
{
    const QString t = text.trimmed();
    bool ok = false;
    int v = 0;
    if (t.startsWith(QLatin1Char('$')))
        v = t.mid(1).toInt(&ok, 16);
    else if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        v = t.mid(2).toInt(&ok, 16);
    else
        v = t.toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return v;
}

} // namespace

IniFile::IniFile(QString path) : m_path(std::move(path)) {}

QStringList IniFile::readLines() const
{
    QFile f(m_path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QString text = fromCp1250(f.readAll());
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

bool IniFile::writeLines(const QStringList& lines) const
{
    const QFileInfo info(m_path);
    if (!QDir().mkpath(info.absolutePath()))
        return false;
    QSaveFile f(m_path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += toCp1250(line);
        bytes += "\r\n";
    }
    if (f.write(bytes) != bytes.size())
        return false;
    return f.commit();
}

QString IniFile::readString(const QString& section, const QString& key,
                            const QString& defaultValue) const
{
    const QStringList lines = readLines();
    const auto range = findSection(lines, section);
    if (!range)
        return defaultValue;
    const int i = findKey(lines, *range, key);
    return i < 0 ? defaultValue : valueOf(lines.at(i));
}

int IniFile::readInteger(const QString& section, const QString& key, int defaultValue) const
{
    if (!keyExists(section, key))
        return defaultValue;
    return parseInteger(readString(section, key)).value_or(defaultValue);
}

bool IniFile::readBool(const QString& section, const QString& key, bool defaultValue) const
{
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool IniFile::keyExists(const QString& section, const QString& key) const
{
    const QStringList lines = readLines();
    const auto range = findSection(lines, section);
    return range && findKey(lines, *range, key) >= 0;
}

bool IniFile::sectionExists(const QString& section) const
{
    return findSection(readLines(), section).has_value();
}

QStringList IniFile::sectionKeys(const QString& section) const
{
    const QStringList lines = readLines();
    QStringList keys;
    const auto range = findSection(lines, section);
    if (!range)
        return keys;
    for (int i = range->header + 1; i < range->end; ++i) {
        if (const auto name = keyName(lines.at(i)))
            keys << *name;
    }
    return keys;
}

namespace {

// Sets one key in the lines held in memory, adding the section or key where missing.
void setValue(QStringList& lines, const QString& section, const QString& key, const QString& value)
{
    const QString entry = key + QLatin1Char('=') + value;
    const auto range = findSection(lines, section);
    if (!range) {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines << QString();
        lines << QLatin1Char('[') + section + QLatin1Char(']') << entry;
        return;
    }
    const int i = findKey(lines, *range, key);
    if (i >= 0) {
        lines[i] = entry;
        return;
    }
    // After the section's last non-blank line, so a blank separator line stays last.
    int at = range->end;
    while (at > range->header + 1 && lines.at(at - 1).trimmed().isEmpty())
        --at;
    lines.insert(at, entry);
}

} // namespace

bool IniFile::writeString(const QString& section, const QString& key, const QString& value)
{
    return writeStrings(section, {{key, value}});
}

bool IniFile::writeStrings(const QString& section,
                           const QList<std::pair<QString, QString>>& values)
{
    QStringList lines = readLines();
    for (const auto& [key, value] : values)
        setValue(lines, section, key, value);
    return writeLines(lines);
}

bool IniFile::writeInteger(const QString& section, const QString& key, int value)
{
    return writeString(section, key, QString::number(value));
}

bool IniFile::writeBool(const QString& section, const QString& key, bool value)
{
    return writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool IniFile::deleteKey(const QString& section, const QString& key)
{
    QStringList lines = readLines();
    auto range = findSection(lines, section);
    if (!range)
        return true;
    // A key written twice by hand would otherwise come back with its second value.
    bool found = false;
    for (int i = findKey(lines, *range, key); i >= 0; i = findKey(lines, *range, key)) {
        lines.removeAt(i);
        --range->end;
        found = true;
    }
    return !found || writeLines(lines);
}

bool IniFile::eraseSection(const QString& section)
{
    QStringList lines = readLines();
    const auto range = findSection(lines, section);
    if (!range)
        return true;
    lines.erase(lines.begin() + range->header, lines.begin() + range->end);
    return writeLines(lines);
}

} // namespace zf
