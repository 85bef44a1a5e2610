#include "app/programoptions.h"

#include "util/inifile.h"

namespace zf {

namespace {
const QString kOptions = QStringLiteral("OPTIONS");
const QString kVersion = QStringLiteral("VERSION");
} // namespace

OptionsStore::OptionsStore(QString iniPath) : m_iniPath(std::move(iniPath)) {}

ProgramOptions OptionsStore::ReadOptions() const
{
    IniFile ini(m_iniPath);
    ProgramOptions o;
    const QString program = QString::fromLatin1(kProgramVersion);
    if (ini.readString(kVersion, QStringLiteral("main"), program) != program && !m_destroying)
        ini.writeString(kVersion, QStringLiteral("main"), program);
    o.version = ini.readString(kVersion, QStringLiteral("main"), program);

    o.email = ini.readString(kOptions, QStringLiteral("Email"), o.email);
    o.pokazujPoradeDnia = ini.readBool(kOptions, QStringLiteral("pokazujPoradeDnia"), true);
    o.pytajPrzedZamknieciem = ini.readBool(kOptions, QStringLiteral("pytajPrzedZamknieciem"), true);
    o.pytajPrzedKasowaniem = ini.readBool(kOptions, QStringLiteral("pytajPrzedKasowaniem"), true);
    o.sprawdzajNotatki = ini.readBool(kOptions, QStringLiteral("sprawdzajNotatki"), true);
    o.sprawdzajTerminy = ini.readBool(kOptions, QStringLiteral("sprawdzajTerminy"), true);
    o.sprawdzZakresUrlopu = ini.readBool(kOptions, QStringLiteral("sprawdzZakresUrlopu"), true);
    o.sprawdzHaslo = ini.readBool(kOptions, QStringLiteral("sprawdzHaslo"), true);
    o.dataWsteczna = ini.readInteger(kOptions, QStringLiteral("dataWsteczna"), 7);
    o.dataWstecznaMin = ini.readInteger(kOptions, QStringLiteral("dataWstecznaMin"), 0);
    o.cbFirstLog = ini.readBool(kOptions, QStringLiteral("cbFirstLog"), true);
    o.mainWinWidth = ini.readInteger(kOptions, QStringLiteral("mainWinWidth"), -1);
    o.mainWinHeight = ini.readInteger(kOptions, QStringLiteral("mainWinHeight"), -1);
    o.emplPlanWinWidth = ini.readInteger(kOptions, QStringLiteral("EmplPlanWinWidth"), -1);
    o.emplPlanWinHeight = ini.readInteger(kOptions, QStringLiteral("EmplPlanWinHeight"), -1);
    o.planConfWinWidth = ini.readInteger(kOptions, QStringLiteral("PlanConfWinWidth"), -1);
    o.planConfWinHeight = ini.readInteger(kOptions, QStringLiteral("PlanConfWinHeight"), -1);
    o.calendarWinWidth = ini.readInteger(kOptions, QStringLiteral("CalendarWinWidth"), -1);
    o.calendarWinHeight = ini.readInteger(kOptions, QStringLiteral("CalendarWinHeight"), -1);
    o.editCalWinWidth = ini.readInteger(kOptions, QStringLiteral("EditCalWinWidth"), -1);
    o.editCalWinHeight = ini.readInteger(kOptions, QStringLiteral("EditCalWinHeight"), -1);
    return o;
}

void OptionsStore::writeSizes(IniFile& ini, const ProgramOptions& o) const
{
    ini.writeInteger(kOptions, QStringLiteral("mainWinWidth"), o.mainWinWidth);
    ini.writeInteger(kOptions, QStringLiteral("mainWinHeight"), o.mainWinHeight);
    ini.writeInteger(kOptions, QStringLiteral("EmplPlanWinWidth"), o.emplPlanWinWidth);
    ini.writeInteger(kOptions, QStringLiteral("EmplPlanWinHeight"), o.emplPlanWinHeight);
    ini.writeInteger(kOptions, QStringLiteral("PlanConfWinWidth"), o.planConfWinWidth);
    ini.writeInteger(kOptions, QStringLiteral("PlanConfWinHeight"), o.planConfWinHeight);
    ini.writeInteger(kOptions, QStringLiteral("CalendarWinWidth"), o.calendarWinWidth);
    ini.writeInteger(kOptions, QStringLiteral("CalendarWinHeight"), o.calendarWinHeight);
    ini.writeInteger(kOptions, QStringLiteral("EditCalWinWidth"), o.editCalWinWidth);
    ini.writeInteger(kOptions, QStringLiteral("EditCalWinHeight"), o.editCalWinHeight);
}

void OptionsStore::WriteOptions(const ProgramOptions& o) const
{
    if (m_destroying)
        return;
    IniFile ini(m_iniPath);
    ini.writeBool(kOptions, QStringLiteral("PokazujPoradeDnia"), o.pokazujPoradeDnia);
    ini.writeBool(kOptions, QStringLiteral("pytajPrzedZamknieciem"), o.pytajPrzedZamknieciem);
    ini.writeBool(kOptions, QStringLiteral("pytajPrzedKasowaniem"), o.pytajPrzedKasowaniem);
    ini.writeBool(kOptions, QStringLiteral("sprawdzajNotatki"), o.sprawdzajNotatki);
    ini.writeBool(kOptions, QStringLiteral("sprawdzajTerminy"), o.sprawdzajTerminy);
    ini.writeBool(kOptions, QStringLiteral("sprawdzZakresUrlopu"), o.sprawdzZakresUrlopu);
    ini.writeBool(kOptions, QStringLiteral("sprawdzHaslo"), o.sprawdzHaslo);
    ini.writeInteger(kOptions, QStringLiteral("dataWsteczna"), o.dataWsteczna);
    ini.writeInteger(kOptions, QStringLiteral("dataWstecznaMin"), o.dataWstecznaMin);
    ini.writeBool(kOptions, QStringLiteral("cbFirstLog"), o.cbFirstLog);
    writeSizes(ini, o);
}

void OptionsStore::WriteWindowSizes(const ProgramOptions& o) const
{
    if (m_destroying)
        return;
    IniFile ini(m_iniPath);
    writeSizes(ini, o);
}

} // namespace zf
