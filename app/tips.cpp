#include "app/tips.h"

#include "util/textcodec.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

namespace zf {

Tips::Tips(RandomSource random) : m_random(random ? std::move(random) : clockSeededSource()) {}

Tips::Tips(QStringList tips, RandomSource random) : Tips(std::move(random))
{
    if (tips.size() > kMaxTips)
        tips.resize(kMaxTips);
    m_tips = std::move(tips);
}

void Tips::load(const QString& path)
{
    m_tips = readTipFile(path);
    m_lastShown = 0;
}

std::optional<QString> Tips::next()
{
    const int n = count();
    if (n < 2)
        return std::nullopt;
    int pick = 0;
    // A number out of range is no pick either; draw again.
    do
        pick = m_random(n);
    while (pick < 1 || pick > n || pick == m_lastShown);
    m_lastShown = pick;
    return m_tips.at(pick - 1);
}

Tips::RandomSource Tips::clockSeededSource()
{
    const auto seed = static_cast<quint32>(QDateTime::currentMSecsSinceEpoch());
    return [generator = QRandomGenerator(seed)](int count) mutable {
        return generator.bounded(1, count + 1);
    };
}

QStringList parseTips(const QByteArray& bytes)
{
    QStringList tips;
    // CR LF, LF and a lone CR each end a line, as in the INI and CSV readers.
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i <= n && tips.size() < Tips::kMaxTips; ++i) {
        if (i < n && bytes[i] != '\n' && bytes[i] != '\r')
            continue;
        const QString tip = fromCp1250(bytes.mid(start, i - start)).trimmed();
        if (!tip.isEmpty())
            tips << tip;
        if (i + 1 < n && bytes[i] == '\r' && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    return tips;
}

QStringList readTipFile(const QString& path)
{
    QStringList tips;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return tips;
    return parseTips(file.readAll());
}

QString tipFilePath(const QString& dataFolder)
{
    return dataFolder + QLatin1Char('/') + kTipFileName;
}

QString shippedTipFilePath(const QString& programFolder)
{
    return programFolder + QStringLiteral("/data/") + kTipFileName;
}

bool ensureTipFile(const QString& dataFolder, const QString& programFolder)
{
    const QString target = tipFilePath(dataFolder);
    if (QFileInfo::exists(target))
        return true;
    const QString source = shippedTipFilePath(programFolder);
    if (!QFileInfo::exists(source) || !QDir().mkpath(dataFolder))
        return false;
    return QFile::copy(source, target);
}

} // namespace zf
