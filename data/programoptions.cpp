#include "data/programoptions.h"

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
    o.sprawdzajKodeksPracy = ini.readBool(kOptions, QStringLiteral("sprawdzajKodeksPracy"), true);
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

namespace {

QList<std::pair<QString, QString>> sizeValues(const ProgramOptions& o)
{
    const auto n = [](int v) { return QString::number(v); };
    return {{QStringLiteral("mainWinWidth"), n(o.mainWinWidth)},
            {QStringLiteral("mainWinHeight"), n(o.mainWinHeight)},
            {QStringLiteral("EmplPlanWinWidth"), n(o.emplPlanWinWidth)},
            {QStringLiteral("EmplPlanWinHeight"), n(o.emplPlanWinHeight)},
            {QStringLiteral("PlanConfWinWidth"), n(o.planConfWinWidth)},
            {QStringLiteral("PlanConfWinHeight"), n(o.planConfWinHeight)},
            {QStringLiteral("CalendarWinWidth"), n(o.calendarWinWidth)},
            {QStringLiteral("CalendarWinHeight"), n(o.calendarWinHeight)},
            {QStringLiteral("EditCalWinWidth"), n(o.editCalWinWidth)},
            {QStringLiteral("EditCalWinHeight"), n(o.editCalWinHeight)}};
}

QString flag(bool b)
{
    return b ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

void OptionsStore::WriteOptions(const ProgramOptions& o) const
{
    if (m_destroying)
        return;
    QList<std::pair<QString, QString>> values = {
        {QStringLiteral("PokazujPoradeDnia"), flag(o.pokazujPoradeDnia)},
        {QStringLiteral("pytajPrzedZamknieciem"), flag(o.pytajPrzedZamknieciem)},
        {QStringLiteral("pytajPrzedKasowaniem"), flag(o.pytajPrzedKasowaniem)},
        {QStringLiteral("sprawdzajNotatki"), flag(o.sprawdzajNotatki)},
        {QStringLiteral("sprawdzajTerminy"), flag(o.sprawdzajTerminy)},
        {QStringLiteral("sprawdzZakresUrlopu"), flag(o.sprawdzZakresUrlopu)},
        {QStringLiteral("sprawdzHaslo"), flag(o.sprawdzHaslo)},
        {QStringLiteral("sprawdzajKodeksPracy"), flag(o.sprawdzajKodeksPracy)},
        {QStringLiteral("dataWsteczna"), QString::number(o.dataWsteczna)},
        {QStringLiteral("dataWstecznaMin"), QString::number(o.dataWstecznaMin)},
        {QStringLiteral("cbFirstLog"), flag(o.cbFirstLog)}};
    values += sizeValues(o);
    IniFile(m_iniPath).writeStrings(kOptions, values);
}

void OptionsStore::WriteWindowSizes(const ProgramOptions& o) const
{
    if (m_destroying)
        return;
    IniFile(m_iniPath).writeStrings(kOptions, sizeValues(o));
}

} // namespace zf
