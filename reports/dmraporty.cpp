#include "reports/dmraporty.h"

#include "data/configfiles.h"
#include "data/mydatabase.h"
#include "data/programoptions.h"
#include "plans/overviewlaborcode.h"
#include "util/clock.h"
#include "util/dates.h"
#include "util/dialogs.h"

#include <QDir>
#include <QFileInfo>

namespace zf {

namespace {

constexpr int kCodeDayTable = 162045;
constexpr int kCodeChosenDaysText = 161712;
constexpr int kCodeCountChosenDays = 162021;

const QString kNoPlan =
    QStringLiteral("Nie wybrano planu uropowego, dla którego ma być generowany raport");
const QString kNoMonth =
    QStringLiteral("Nie wybrano w filtrze miesiąca, dla którego ma być generowany raport");
const QString kBadFrom = QStringLiteral("Niepoprawny format daty urlopu (Od). Popraw pole.");
const QString kBadTo = QStringLiteral("Niepoprawny format daty urlopu (Do). Popraw pole.");
const QString kNoSuchFrom =
    QStringLiteral("Data urlopu (Od) wskazuje dzień, którego nie ma w kalendarzu. Popraw pole.");
const QString kNoSuchTo =
    QStringLiteral("Data urlopu (Do) wskazuje dzień, którego nie ma w kalendarzu. Popraw pole.");
const QString kBadPrintDate = QStringLiteral("Niepoprawny format daty wydruku. Popraw pole.");
const QString kNoSuchPrintDate =
    QStringLiteral("Data wydruku wskazuje dzień, którego nie ma w kalendarzu. Popraw pole.");
const QString kToBeforeFrom = QStringLiteral(
    "Data urlopu (Do) jest wcześniejsza niż data urlopu (Od). Popraw pole.");
// Where a form left undated gets its date by hand.
const QString kHandDatePlace = QStringLiteral("....................");
const QString kOccasional = QStringLiteral("Urlopu okolicznościowego");
const QString kOccasionalTitle = QStringLiteral(
    " z tytułu ........................................................................");

// A leave day counts when no plan stores it as non-working, as the overview and the editor
// show it.
const QString kSqlLeaveDays = QStringLiteral(
    "SELECT SELECTEDDAY FROM EMPLOYEEHOLIDAYS WHERE IDYEAR=:IDYEAR AND IDEMPLOYEE=:IDEMPLOYEE "
    "AND NOT EXISTS (SELECT * FROM CALENDAR WHERE FREEDAY=SELECTEDDAY) ORDER BY SELECTEDDAY");
// The days of the year of every employee the report's rows can show.
const QString kSqlYearDays = QStringLiteral(
    "SELECT D.IDEMPLOYEE, D.SELECTEDDAY FROM %1 AS D, EMPLOYEES AS E WHERE "
    "D.IDYEAR=:IDYEAR AND D.IDEMPLOYEE=E.IDEMPLOYEE");

// 1..12 for "dsGrafikRok1".."dsGrafikRok12", else 0.
int yearSourceMonth(const QString& source)
{
    static const QString prefix = QStringLiteral("dsGrafikRok");
    if (!source.startsWith(prefix))
        return 0;
    bool ok = false;
    const int m = source.mid(prefix.size()).toInt(&ok);
    return ok && m >= 1 && m <= 12 ? m : 0;
}

} // namespace

TDMRaporty::TDMRaporty(TmyDataBase& db, Dialogs& dialogs, QString programFolder)
    : m_db(db), m_dialogs(dialogs), m_programFolder(std::move(programFolder))
{
}

QStringList TDMRaporty::TemplateFolders() const
{
    static const QString kSub = QStringLiteral("/Orvantis/Zefirant/raporty");
    QStringList folders;
    QString home = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (home.isEmpty())
        home = QDir::homePath() + QStringLiteral("/.config");
    folders << home + kSub;
    for (const QString& dir : installersettings::defaultFolders())
        folders << text::ExcludeTrailingSeparator(dir) + kSub;
    folders << text::ExcludeTrailingSeparator(m_programFolder) + QStringLiteral("/raporty");
    return folders;
}

QString TDMRaporty::TemplatePath(const QString& name) const
{
    const QStringList folders = TemplateFolders();
    for (const QString& folder : folders) {
        const QString path = folder + QLatin1Char('/') + name;
        if (QFileInfo(path).isFile())
            return path;
    }
    return folders.last() + QLatin1Char('/') + name;
}

// --- starting the reports ------------------------------------------------------------------

bool TDMRaporty::checkPlan(const PlanReportFilters& f)
{
    if (f.year == 0) {
        m_dialogs.information(kCaptionInformation, kNoPlan);
        return false;
    }
    return true;
}

void TDMRaporty::openRows(const PlanReportFilters& f)
{
    m_db.OpenSummary(f.year, f.unit, f.employee);
    year = f.year;
    m_unit = f.unit;
    m_employee = f.employee;
    unitName = f.unit > 0 ? f.unitName : QString();
}

bool TDMRaporty::GrafikMiesiac(const PlanReportFilters& f)
{
    if (!checkPlan(f))
        return false;
    if (f.month == 0) {
        m_dialogs.information(kCaptionInformation, kNoMonth);
        return false;
    }
    openRows(f);
    monthName = f.monthName;
    monthNumber = f.month;
    return buildAndShow(Report::Grafik, QStringLiteral("grafikMiesieczny.frf"));
}

bool TDMRaporty::GrafikRok(const PlanReportFilters& f)
{
    if (!checkPlan(f))
        return false;
    openRows(f);
    employeeCount = 0;
    for (m_db.DBFZest.first(); !m_db.DBFZest.eof(); m_db.DBFZest.next())
        ++employeeCount;
    return buildAndShow(Report::GrafikRok, QStringLiteral("grafikRoczny.frf"));
}

bool TDMRaporty::Zestawienie(const PlanReportFilters& f)
{
    if (!checkPlan(f))
        return false;
    openRows(f);
    monthName = f.month > 0 ? f.monthName : QString();
    monthNumber = f.month > 0 ? f.month : 0;
    return buildAndShow(Report::Zestawienie, QStringLiteral("zestawienieDniUrlopow.frf"));
}

bool TDMRaporty::IsFormDate(const QString& text)
{
    return IsValidDateText(text) && IsValidDateNumber(DateTextToNumber(text));
}

bool TDMRaporty::IsUntypedDate(const QString& text)
{
    QString typed = text;
    typed.remove(dateSeparator());
    return typed.trimmed().isEmpty();
}

bool TDMRaporty::IsAcceptedPrintDate(const QString& text)
{
    return IsUntypedDate(text) || IsFormDate(text);
}

bool TDMRaporty::checkPrintDate(const QString& value)
{
    // Clerks who date a form by hand leave the field empty.
    return IsUntypedDate(value) || checkFormDate(value, kBadPrintDate, kNoSuchPrintDate);
}

bool TDMRaporty::checkFormDate(const QString& value, const QString& badFormat,
                               const QString& noSuchDay)
{
    // A text of the right shape may still name no day (31-02-2024).
    if (!IsValidDateText(value)) {
        m_dialogs.information(kCaptionWarning, badFormat);
        return false;
    }
    if (!IsValidDateNumber(DateTextToNumber(value))) {
        m_dialogs.information(kCaptionWarning, noSuchDay);
        return false;
    }
    return true;
}

TDMRaporty::FormField TDMRaporty::WniosekUrlopowy(const FormTexts& t)
{
    form.employee = t.employee;
    form.printDate = t.printDate;
    form.kind = t.kind;
    if (!checkPrintDate(t.printDate))
        return FormField::PrintDate;
    if (!checkFormDate(t.from, kBadFrom, kNoSuchFrom))
        return FormField::From;
    if (!checkFormDate(t.to, kBadTo, kNoSuchTo))
        return FormField::To;
    // The leave cannot end before it begins.
    if (DateTextToNumber(t.to) < DateTextToNumber(t.from)) {
        m_dialogs.information(kCaptionWarning, kToBeforeFrom);
        return FormField::To;
    }
    form.from = t.from;
    form.to = t.to;
    form.days = t.days;
    // Saved on 28 December for a leave in January, the form belongs to the leave's year.
    m_formYear = YearPart(DateTextToNumber(t.from));
    buildAndShow(Report::Druki, QStringLiteral("wniosekurlopowy.frf"));
    return FormField::None;
}

bool TDMRaporty::OswiadczenieOpiekuna(const QString& employee, const QString& printDate)
{
    if (!checkPrintDate(printDate))
        return false;
    form.employee = employee;
    form.printDate = printDate;
    m_formYear = IsUntypedDate(printDate) ? clock().today().year()
                                          : YearPart(DateTextToNumber(printDate));
    return buildAndShow(Report::Druki, QStringLiteral("oswiadczenieopiekuna.frf"));
}

bool TDMRaporty::Build(Report r, const QString& templateName, report::ReportDocument& out)
{
    current = r;
    m_nonWorkingRead = false;
    m_yearDaysRead = false;
    m_remarksRead = false;
    m_remarks.clear();
    auto layout = std::make_shared<report::ReportTemplate>();
    QString error;
    if (!layout->load(TemplatePath(templateName), &error)) {
        m_dialogs.information(kCaptionError, error);
        return false;
    }
    out.title = DocumentName(layout->name);
    return report::ReportEngine::run(layout, *this, out, progress);
}

QString TDMRaporty::DocumentName(const QString& formName) const
{
    const QString y = QString::number(year);
    switch (current) {
    case Report::Grafik:
        return QStringLiteral("Grafik urlopów %1 %2").arg(monthName, y);
    case Report::GrafikRok:
        return QStringLiteral("Grafik urlopów %1").arg(y);
    case Report::Zestawienie:
        return monthNumber > 0 ? QStringLiteral("Zestawienie dni urlopów %1 %2").arg(monthName, y)
                               : QStringLiteral("Zestawienie dni urlopów %1").arg(y);
    case Report::Druki:
        // A form carries no plan: its name is its template's, its year the form's own.
        return QStringLiteral("%1 %2").arg(formName, QString::number(m_formYear));
    }
    return {};
}

bool TDMRaporty::buildAndShow(Report r, const QString& templateName)
{
    report::ReportDocument doc;
    if (!Build(r, templateName, doc))
        return false;
    if (show)
        show(doc);
    return true;
}

// --- rows and day tables -----------------------------------------------------------------

void TDMRaporty::readNonWorkingDays()
{
    m_nonWorking.clear();
    m_db.OpenCalendar(year);
    const fb::DataSet& cal = m_db.DBFCalendar;
    const int col = cal.fieldIndex(QStringLiteral("FREEDAY"));
    for (int r = 0; col >= 0 && r < cal.recordCount(); ++r)
        m_nonWorking.insert(cal.valueAt(r, col).toInt());
    m_nonWorkingRead = true;
}

void TDMRaporty::readYearDays()
{
    // The schedules ask for every month of every row: the days of all the report's employees
    // are read at once, two statements and one commit per report instead of per employee.
    m_yearDays.clear();
    m_yearDaysRead = true;
    const bool byUnit = m_unit > 0;
    const bool byEmployee = text::TrimLength(m_employee) > 0;
    m_db.Utility2(kCodeDayTable, [&](fb::Statement& st) {
        for (const bool fixed : {false, true}) {
            st.close();
            st.setSql(kSqlYearDays.arg(fixed ? QStringLiteral("EMPLOYEECONSTDAYS")
                                             : QStringLiteral("EMPLOYEEHOLIDAYS")) +
                      (byUnit ? QStringLiteral(" AND E.IDDICUNIT=:IDDICUNIT") : QString()) +
                      (byEmployee ? QStringLiteral(" AND D.IDEMPLOYEE=:IDEMPLOYEE") : QString()));
            st.setParam(QStringLiteral("IDYEAR"), year);
            if (byUnit)
                st.setParam(QStringLiteral("IDDICUNIT"), m_unit);
            if (byEmployee)
                st.setParam(QStringLiteral("IDEMPLOYEE"), m_employee);
            st.execute();
            while (st.fetch()) {
                YearDays& days = m_yearDays[st.value(0).toString()];
                (fixed ? days.fixed : days.selected).push_back(st.value(1).toInt());
            }
        }
    });
}

void TDMRaporty::LoadDayTable(int m)
{
    dayTable = DayTable{};
    if (!m_nonWorkingRead)
        readNonWorkingDays();
    for (int n : m_nonWorking)
        if (MonthPart(n) == m && YearPart(n) == year)
            dayTable[DayPart(n) - 1].working = false;
    if (!m_yearDaysRead)
        readYearDays();
    const auto cached = m_yearDays.constFind(m_db.DBFZest.asString(QStringLiteral("IDEMPLOYEE")));
    if (cached == m_yearDays.cend())
        return;
    for (const bool fixed : {false, true}) {
        for (int n : fixed ? cached->fixed : cached->selected) {
            if (MonthPart(n) != m || !IsValidDateNumber(n))
                continue;
            ReportDay& d = dayTable[DayPart(n) - 1];
            (fixed ? d.unchangeable : d.selected) = true;
        }
    }
}

void TDMRaporty::first(const QString& source)
{
    fb::DataSet& rows = m_db.DBFZest;
    if (source == QLatin1String("dsZestawienie")) {
        page = 1;
        SUM1 = SUM2 = SUM3 = 0;
        rows.first();
    } else if (source == QLatin1String("dsGrafik")) {
        page = 1;
        rows.first();
        if (!rows.eof())
            LoadDayTable(monthNumber);
    } else if (const int m = yearSourceMonth(source)) {
        if (m == 1)
            page = 1;
        rows.first();
        MonthTable& t = monthTables[m - 1];
        t.rowCounter = 1;
        // No employees: nothing to load for a row that is not there.
        if (t.rowCounter <= employeeCount) {
            LoadDayTable(m);
            t.days = dayTable;
        }
    }
}

void TDMRaporty::next(const QString& source)
{
    fb::DataSet& rows = m_db.DBFZest;
    if (source == QLatin1String("dsZestawienie")) {
        rows.next();
    } else if (source == QLatin1String("dsGrafik")) {
        rows.next();
        if (!rows.eof())
            LoadDayTable(monthNumber);
    } else if (const int m = yearSourceMonth(source)) {
        rows.next();
        MonthTable& t = monthTables[m - 1];
        ++t.rowCounter;
        if (t.rowCounter <= employeeCount) {
            LoadDayTable(m);
            t.days = dayTable;
        }
    }
}

bool TDMRaporty::eof(const QString& source)
{
    if (const int m = yearSourceMonth(source))
        return monthTables[m - 1].rowCounter > employeeCount;
    if (source == QLatin1String("dsZestawienie") || source == QLatin1String("dsGrafik"))
        return m_db.DBFZest.eof();
    return true;
}

void TDMRaporty::pageStarted()
{
    ++page;
}

bool TDMRaporty::hasCellHook() const
{
    return current == Report::Grafik || current == Report::GrafikRok;
}

void TDMRaporty::cellHook(QStringList& lines, QColor& fill, unsigned& frame)
{
    if (lines.isEmpty())
        return;
    ScheduleCellState state{year, monthNumber, &dayTable};
    ApplyScheduleCellHook(state, lines[0], fill, frame);
    monthNumber = state.month;
}

// --- variables ------------------------------------------------------------------------------

QString TDMRaporty::commonVariable(const QString& name) const
{
    if (name == QLatin1String("REPORTDATE"))
        return clock().today().toString(dateTextFormat());
    if (name == QLatin1String("ROK"))
        return QString::number(year);
    if (name == QLatin1String("MIESIAC"))
        return monthName;
    if (name == QLatin1String("ZESPOL"))
        return text::TrimLength(unitName) > 0 ? QStringLiteral("Zespół: ") + unitName : QString();
    if (name == QLatin1String("PAGE"))
        return QString::number(page);
    return {};
}

QString TDMRaporty::Detale() const
{
    const fb::DataSet& row = m_db.DBFZest;
    QString details;
    const std::pair<const char*, QString> kinds[] = {
        {"NURSINGDAYS", QStringLiteral("    Opieka nad dzieckiem: ")},
        {"MATERNITYDAYS", QStringLiteral("    Macierzyńskie / urlop ojcowski: ")},
        {"UNPAIDDAYS", QStringLiteral("    Urlop bezpłatny: ")},
        {"SICKDAYS", QStringLiteral("    Pobyt w szpitalu / choroba: ")}};
    for (const auto& [field, label] : kinds) {
        const int v = row.asInteger(QLatin1String(field));
        if (v > 0)
            details += QChar(13) + label + QString::number(v);
    }
    const int other = row.asInteger(QStringLiteral("OTHERDAYS"));
    if (other > 0)
        details += QChar(13) + QStringLiteral("    Inne: ") + QString::number(other) +
                   QStringLiteral(" (") + row.asString(QStringLiteral("OTHERDESCR")) +
                   QStringLiteral(")");
    if (details.isEmpty())
        return {};
    return QStringLiteral("\r\r    Opis dodatkowych dni urlopu:") + details;
}

QString TDMRaporty::Uwagi()
{
    if (options && !options->sprawdzajKodeksPracy)
        return {};
    if (!m_remarksRead) {
        // The whole unit at once, as the overview counts it: no query per row.
        m_remarksRead = true;
        m_remarks.clear();
        OverviewData data;
        if (LoadOverview(m_db, year, m_unit, data)) {
            const std::vector<LaborCodeCheck> checks = CheckLaborCode(m_db, data);
            for (int i = 0; i < data.plans.Count(); ++i) {
                if (!checks[static_cast<size_t>(i)].broken())
                    continue;
                // A narrow column wraps the words, but never inside "(art. 168 KP)".
                QString text = LaborCodeShortText(checks[static_cast<size_t>(i)], QChar(13));
                text.replace(QStringLiteral("(art. "), QStringLiteral("(art.\u00A0"))
                    .replace(QStringLiteral(" KP)"), QStringLiteral("\u00A0KP)"));
                m_remarks.insert(data.plans.at(i).IDEMPLOYEE, text);
            }
        }
    }
    return m_remarks.value(m_db.DBFZest.asString(QStringLiteral("IDEMPLOYEE")));
}

int TDMRaporty::countLeaveDays(const QString& employee)
{
    int count = 0;
    m_db.Utility(kCodeCountChosenDays, [&](fb::Statement& st) {
        st.setSql(kSqlLeaveDays);
        st.setParam(QStringLiteral("IDYEAR"), year);
        st.setParam(QStringLiteral("IDEMPLOYEE"), employee);
        st.execute();
        while (st.fetch())
            ++count;
    });
    return count;
}

QString TDMRaporty::leaveDaysText(const QString& employee, int month)
{
    QString result;
    m_db.Utility(kCodeChosenDaysText, [&](fb::Statement& st) {
        st.setSql(kSqlLeaveDays);
        st.setParam(QStringLiteral("IDYEAR"), year);
        st.setParam(QStringLiteral("IDEMPLOYEE"), employee);
        st.execute();
        while (st.fetch()) {
            const int day = st.value(0).toInt();
            if (month != 0 && MonthPart(day) != month)
                continue;
            if (!result.isEmpty())
                result += QChar(13);
            result += DateNumberToText(day);
        }
    });
    return result;
}

QString TDMRaporty::variable(const QString& name)
{
    const fb::DataSet& row = m_db.DBFZest;
    switch (current) {
    case Report::Zestawienie: {
        const QString employee = row.asString(QStringLiteral("IDEMPLOYEE"));
        if (name == QLatin1String("EMPLOYEE"))
            return row.asString(QStringLiteral("EMPLOYEE"));
        if (name == QLatin1String("DETALE"))
            return Detale();
        if (name == QLatin1String("THISYEARDAYS")) {
            const int v = row.asInteger(QStringLiteral("THISYEARDAYS"));
            SUM1 += v;
            return QString::number(v);
        }
        if (name == QLatin1String("LASTYEARDAYS")) {
            const int v = row.asInteger(QStringLiteral("LASTYEARDAYS"));
            SUM2 += v;
            return QString::number(v);
        }
        if (name == QLatin1String("DAYSLEFT")) {
            const int v = row.asInteger(QStringLiteral("THISYEARDAYS")) +
                          row.asInteger(QStringLiteral("LASTYEARDAYS")) -
                          countLeaveDays(employee);
            SUM3 += v;
            return QString::number(v);
        }
        if (name == QLatin1String("SUM1"))
            return QString::number(SUM1);
        if (name == QLatin1String("SUM2"))
            return QString::number(SUM2);
        if (name == QLatin1String("SUM3"))
            return QString::number(SUM3);
        if (name == QLatin1String("DNIURLOPU"))
            return leaveDaysText(employee, monthNumber);
        if (name == QLatin1String("UWAGI"))
            return Uwagi();
        return commonVariable(name);
    }
    case Report::Grafik:
    case Report::GrafikRok: {
        QString rest = name;
        const DayTable* days = &dayTable;
        if (name.startsWith(QLatin1String("mc")) && name.size() >= 4) {
            bool ok = false;
            const int m = name.mid(2, 2).toInt(&ok);
            if (!ok || m < 1 || m > 12)
                return {};
            days = &monthTables[m - 1].days;
            rest = name.mid(4);
        }
        if (rest == QLatin1String("EMPLOYEE"))
            return row.asString(QStringLiteral("EMPLOYEE"));
        bool handled = false;
        const QString day = DayVariable(*days, rest, &handled);
        return handled ? day : commonVariable(rest);
    }
    case Report::Druki:
        if (name == QLatin1String("PRACOWNIK"))
            return form.employee;
        if (name == QLatin1String("DATAWYDRUKU"))
            return IsUntypedDate(form.printDate) ? kHandDatePlace : form.printDate;
        if (name == QLatin1String("RODZAJURLOPU"))
            return form.kind == kOccasional ? form.kind + kOccasionalTitle : form.kind;
        if (name == QLatin1String("URLOPOD"))
            return form.from;
        if (name == QLatin1String("URLOPDO"))
            return form.to;
        if (name == QLatin1String("ILEDNI"))
            return form.days;
        return commonVariable(name);
    }
    return {};
}

} // namespace zf
