#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace zf {

// The tip file's name, in the data folder and (as shipped) in the program's data/ folder.
inline const QString kTipFileName = QStringLiteral("porady.dat");

// The tips of the tip-of-the-day window and the choice of the next one.
class Tips
{
public:
    static constexpr int kMaxTips = 300;

    // Draws a number from 1 to count (count is at least 2).
    using RandomSource = std::function<int(int count)>;

    // Without a source, a generator seeded from the clock draws the numbers.
    explicit Tips(RandomSource random = {});
    explicit Tips(QStringList tips, RandomSource random = {});

    // Reads the tips of a Windows-1250 file, one per line (see readTipFile), and forgets the
    // last shown tip.
    void load(const QString& path);

    int count() const { return static_cast<int>(m_tips.size()); }
    const QStringList& items() const { return m_tips; }
    // 1-based number of the tip shown last; 0 when none has been shown.
    int lastShown() const { return m_lastShown; }

    // The next tip to show, never the one shown last; nothing with fewer than two tips, so the
    // window keeps what it shows.
    std::optional<QString> next();

    static RandomSource clockSeededSource();

private:
    QStringList m_tips;
    RandomSource m_random;
    int m_lastShown = 0;
};

// The tips of a Windows-1250 file, one per line, at most Tips::kMaxTips. A missing or
// unreadable file gives none; a read failure ends the list silently with what was read so far.
// Blank lines are no tips and are passed over.
QStringList readTipFile(const QString& path);
// The same for the bytes of a file already read; CR LF, LF and a lone CR each end a line.
QStringList parseTips(const QByteArray& bytes);

// The tip file of the data folder.
QString tipFilePath(const QString& dataFolder);
// The tip file shipped beside the program.
QString shippedTipFilePath(const QString& programFolder);

// Copies the shipped tip file into the data folder (creating the folder) unless the data folder
// already has one, which is never overwritten. True when the data folder has a tip file
// afterwards.
bool ensureTipFile(const QString& dataFolder, const QString& programFolder);

} // namespace zf
