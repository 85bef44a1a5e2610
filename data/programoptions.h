#pragma once

#include <QString>

namespace zf {

// The settings of "zefirant.ini" that the whole program consults, read once at start-up.
struct ProgramOptions
{
    QString email = QStringLiteral("pomoc@orvantis.pl");
    QString version = QStringLiteral("2.5");
    bool pokazujPoradeDnia = true;
    bool pytajPrzedZamknieciem = true;
    bool pytajPrzedKasowaniem = true;
    bool sprawdzajNotatki = true;
    bool sprawdzajTerminy = true;
    bool sprawdzZakresUrlopu = true;
    bool sprawdzHaslo = true;
    // "Sprawdzaj plan z Kodeksem pracy": the overview's "KP" column, the editors' line, the
    // approval question and the summary's remarks.
    bool sprawdzajKodeksPracy = true;
    int dataWsteczna = 7;
    int dataWstecznaMin = 0;
    bool cbFirstLog = true;

    // Window sizes; -1 means none stored.
    int mainWinWidth = -1;
    int mainWinHeight = -1;
    int emplPlanWinWidth = -1;
    int emplPlanWinHeight = -1;
    int planConfWinWidth = -1;
    int planConfWinHeight = -1;
    int calendarWinWidth = -1;
    int calendarWinHeight = -1;
    int editCalWinWidth = -1;
    int editCalWinHeight = -1;
};

// Reading and writing the options. Once the main window has begun to be destroyed, writes are
// forbidden (`setDestroying`) so nothing half-torn-down reaches the file.
class OptionsStore
{
public:
    static constexpr const char* kProgramVersion = "2.5";

    explicit OptionsStore(QString iniPath);

    const QString& iniPath() const { return m_iniPath; }

    // The "VERSION" and "OPTIONS" sections; the version is forced to the program's own.
    ProgramOptions ReadOptions() const;
    void WriteOptions(const ProgramOptions& options) const;
    void WriteWindowSizes(const ProgramOptions& options) const;

    void setDestroying(bool destroying) { m_destroying = destroying; }
    bool destroying() const { return m_destroying; }

private:
    QString m_iniPath;
    bool m_destroying = false;
};

} // namespace zf
