#pragma once

#include "reports/cellhook.h"
#include "reports/reportengine.h"

#include <QHash>
#include <QSet>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace zf {

class Dialogs;
class TmyDataBase;
struct ProgramOptions;

// The filters of the reports page that a plan report reads.
struct PlanReportFilters
{
    int year = 0;     // 0: no plan chosen
    int month = 0;    // 0: "(Cały rok)"
    QString monthName;
    int unit = 0;     // 0: none
    QString unitName;
    QString employee; // empty: none
};

// The texts of the forms.
struct FormTexts
{
    QString employee;
    QString printDate;
    QString kind;
    QString from;
    QString to;
    QString days;
};

// The report data: the parameters, the data sources, the variables and the hooks of the four
// reports, and the start of each report. A finished report goes to `show` (the preview); the
// run's progress to `progress`, which may cancel it.
class TDMRaporty : public report::ReportSource
{
public:
    enum class Report { Grafik, GrafikRok, Zestawienie, Druki };
    // Which form field a refused form points at.
    enum class FormField { None, PrintDate, From, To };

    TDMRaporty(TmyDataBase& db, Dialogs& dialogs, QString programFolder);

    // The plan reports and the forms, with the checks and messages before they start; false
    // when nothing was shown.
    bool GrafikMiesiac(const PlanReportFilters& f);
    bool GrafikRok(const PlanReportFilters& f);
    bool Zestawienie(const PlanReportFilters& f);
    // Both forms refuse a print date that is typed and names no day (an empty one is left for
    // the pen); the application also checks its two dates.
    FormField WniosekUrlopowy(const FormTexts& t);
    bool OswiadczenieOpiekuna(const QString& employee, const QString& printDate);
    // A date text of a form that names a real day.
    static bool IsFormDate(const QString& text);
    // A date field in which nothing is typed (blanks and separators only).
    static bool IsUntypedDate(const QString& text);
    // A print date the forms take: a real day, or nothing typed.
    static bool IsAcceptedPrintDate(const QString& text);

    std::function<void(const report::ReportDocument&)> show;
    report::ReportEngine::Progress progress;
    // The program's options: "Sprawdzaj plan z Kodeksem pracy" fills the summary's remarks.
    // Null: the checks are on.
    const ProgramOptions* options = nullptr;

    // The folders searched for a template, first match wins: the user's
    // $XDG_CONFIG_HOME/Orvantis/Zefirant/raporty, each $XDG_CONFIG_DIRS entry's
    // Orvantis/Zefirant/raporty, then "raporty" beside the program. Edited templates live in
    // the first two, so an upgrade of the program never overwrites them.
    QStringList TemplateFolders() const;
    // Path of a report's template in the first folder that has it; beside the program when none
    // has, so the load error names the installed place.
    QString TemplatePath(const QString& name) const;

    // --- parameters -------------------------------------------------------------------------
    int year = 0;
    QString monthName;
    int monthNumber = 0;
    QString unitName;
    int employeeCount = 0;
    int page = 0;
    int SUM1 = 0, SUM2 = 0, SUM3 = 0;
    DayTable dayTable{};
    struct MonthTable
    {
        int rowCounter = 0;
        DayTable days{};
    };
    std::array<MonthTable, 12> monthTables{};
    FormTexts form;

    // The report whose questions are answered now.
    Report current = Report::Grafik;

    // Loads the day table of month m for the current row's employee (162045 on errors).
    void LoadDayTable(int m);
    // The details text of the current row of DBFZest.
    QString Detale() const;
    // "UWAGI": the Labour Code's rules the current row's employee breaks, by their short names.
    QString Uwagi();

    // --- report::ReportSource ---------------------------------------------------------------
    void first(const QString& source) override;
    void next(const QString& source) override;
    bool eof(const QString& source) override;
    QString variable(const QString& name) override;
    void pageStarted() override;
    void cellHook(QStringList& lines, QColor& fill, unsigned& frame) override;
    bool hasCellHook() const override;

    // The report's name with its year ("Grafik urlopów 2027"): the PDF's title and proposed
    // file name. A form is named by its template (`formName`).
    QString DocumentName(const QString& formName) const;
    // Lays the report out from its template; false (reported) when the template cannot be
    // loaded, false (silently) when the run was cancelled.
    bool Build(Report r, const QString& templateName, report::ReportDocument& out);

private:
    bool checkPlan(const PlanReportFilters& f);
    // Tells the user which message fits a date text that names no day.
    bool checkFormDate(const QString& value, const QString& badFormat, const QString& noSuchDay);
    bool checkPrintDate(const QString& value);
    void openRows(const PlanReportFilters& f);
    bool buildAndShow(Report r, const QString& templateName);
    QString commonVariable(const QString& name) const;
    // Leave days of the row's employee in the year, without days stored as non-working.
    int countLeaveDays(const QString& employee);
    QString leaveDaysText(const QString& employee, int month);
    void readNonWorkingDays();
    void readYearDays();

    TmyDataBase& m_db;
    Dialogs& m_dialogs;
    QString m_programFolder;
    QSet<int> m_nonWorking;
    struct YearDays
    {
        std::vector<int> selected;
        std::vector<int> fixed;
    };
    QHash<QString, YearDays> m_yearDays;
    bool m_yearDaysRead = false;
    QString m_employee; // the employee filter of the rows
    bool m_nonWorkingRead = false;
    // The unit filter of the rows, and the remarks of the year's employees, read at the first
    // "UWAGI" of a report with the overview's fixed handful of statements.
    int m_unit = 0;
    QHash<QString, QString> m_remarks;
    bool m_remarksRead = false;
    // The year a form's PDF is named after.
    int m_formYear = 0;
};

} // namespace zf
