#include "scheduler/deadlines.h"

#include "scheduler/reminders.h"
#include "data/mydatabase.h"
#include "data/programoptions.h"
#include "util/clock.h"
#include "util/dates.h"
#include "util/dialogs.h"
#include "util/ovtools.h"
#include "util/textcodec.h"

#include <QRegularExpression>

namespace zf {

namespace {

const QString kActive = QStringLiteral("T");
const QString kInactive = QStringLiteral("N");
constexpr int kSchedulerKeys = 2;
constexpr int kHyphens = 51;

Params deadlineParams(const DeadlineData& d)
{
    return {{QStringLiteral("IDDICCLASS"), d.kind},
            {QStringLiteral("ACT"), d.active ? kActive : kInactive},
            {QStringLiteral("DATESINCE"), DateTextToNumber(d.date)},
            {QStringLiteral("IDEMPLOYEE"), d.employee},
            {QStringLiteral("DESCRIPTION"), d.description.trimmed()},
            {QStringLiteral("OTHER"), d.other}};
}

QStringList textLines(const QString& text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\n|\r"));
    return text.split(lineBreak);
}

} // namespace

const QString Deadlines::kInvalidDate =
    QStringLiteral("Niepoprawny format daty terminu. Popraw pole.");
const QString Deadlines::kNoKey =
    QStringLiteral("Nie udało się pobrać nowego klucza dla tabeli Scheduler");
const QString Deadlines::kDeleteQuestion =
    QStringLiteral("Czy na pewno usunąć zaznaczoną pozycję?");
const QString Deadlines::kNothingFound = QStringLiteral("Nie znaleziono żadnych terminów.");

DeadlineData DeadlineData::empty()
{
    DeadlineData d;
    d.date = emptyDateText();
    return d;
}

DeadlineData DeadlineData::fromCurrentRow(const fb::DataSet& list)
{
    DeadlineData d = empty();
    if (list.isEmpty())
        return d;
    bool ok = false;
    const int kind = list.asString(QStringLiteral("SIDDICCLASS")).trimmed().toInt(&ok);
    d.kind = ok ? kind : 0;
    d.active = list.asString(QStringLiteral("SACT")) == kActive;
    d.date = DateNumberToText(list.asInteger(QStringLiteral("DATESINCE")));
    if (d.date.isEmpty())
        d.date = emptyDateText();
    d.employee = list.asString(QStringLiteral("SIDEMPLOYEE"));
    d.description = list.asString(QStringLiteral("SDESCRIPTION"));
    d.other = list.asString(QStringLiteral("SOTHER"));
    return d;
}

bool IsValidDeadlineDate(const QString& text)
{
    if (!IsValidDateText(text))
        return false;
    const int n = DateTextToNumber(text);
    return QDate(n / 10000, n / 100 % 100, n % 100).isValid();
}

bool ConfirmDeadline(DeadlineEditor& editor, const DeadlineData& data, Dialogs& dialogs)
{
    if (IsValidDeadlineDate(data.date))
        return true;
    dialogs.information(kCaptionWarning, Deadlines::kInvalidDate);
    editor.focusDate();
    return false;
}

std::vector<DueDeadline> DueDeadlinesOf(const fb::DataSet& check)
{
    std::vector<DueDeadline> due;
    if (!check.isOpen())
        return due;
    const int date = check.fieldIndex(QStringLiteral("DATESINCE"));
    const int kind = check.fieldIndex(QStringLiteral("CLASSNAME"));
    const int employee = check.fieldIndex(QStringLiteral("EMPLOYEE"));
    const int description = check.fieldIndex(QStringLiteral("SDESCRIPTION"));
    const auto textAt = [&check](int row, int column) {
        const QVariant v = column >= 0 ? check.valueAt(row, column) : QVariant();
        return v.isValid() && !v.isNull() ? v.toString() : QString();
    };
    for (int row = 0; row < check.recordCount(); ++row) {
        DueDeadline d;
        const QVariant n = date >= 0 ? check.valueAt(row, date) : QVariant();
        d.date = n.isValid() && !n.isNull() ? n.toInt() : 0;
        d.kind = textAt(row, kind);
        d.employee = textAt(row, employee);
        d.description = textAt(row, description);
        due.push_back(d);
    }
    return due;
}

QStringList DeadlineReminderLines(const std::vector<DueDeadline>& deadlines)
{
    QStringList lines;
    for (const DueDeadline& d : deadlines) {
        lines << QStringLiteral("Termin na dzień: ") + DateNumberToText(d.date);
        if (!d.kind.isEmpty())
            lines << QStringLiteral("Rodzaj terminu: ") + d.kind;
        if (!d.employee.isEmpty())
            lines << QStringLiteral("Osoba: ") + d.employee;
        lines << textLines(d.description.trimmed());
        lines << QString();
        lines << QString(kHyphens, QLatin1Char('-'));
    }
    return lines;
}

bool SaveReminderLines(const QString& path, const QStringList& lines)
{
    QString text;
    for (const QString& line : lines)
        text += line + QStringLiteral("\r\n");
    return TOVTools::SaveTextToFile(toCp1250(text), path);
}

void SaveReminderResult(const QStringList& lines, Dialogs& dialogs)
{
    const QString path = dialogs.saveFileName(
        QStringLiteral("Zapisz wynik sprawdzania terminów do pliku tekstowego"),
        QStringLiteral("SprawdzoneTerminy"),
        {QStringLiteral("Plik tekstowy (*.txt)"), QStringLiteral("Wszystkie pliki (*.*)")},
        QStringLiteral("txt"));
    if (path.isEmpty())
        return;
    if (SaveReminderLines(path, lines))
        dialogs.information(kCaptionInformation,
                            QStringLiteral("Dane zostały zapisane w pliku: ") + path);
    else
        dialogs.information(kCaptionInformation,
                            QStringLiteral("Zapisywanie danych nie powiodło się"));
}

Deadlines::Deadlines(TmyDataBase& db, Dialogs& dialogs, const ProgramOptions& options)
    : m_db(db), m_dialogs(dialogs), m_options(options)
{
}

void Deadlines::reopenPickLists()
{
    m_db.Reopen(m_db.DBFTermClass);
    m_db.Reopen(m_db.DBFEmployeesPrompt);
}

void Deadlines::showDeadline(int key)
{
    m_db.OpenScheduler();
    m_db.LocateByInteger(m_db.DBFScheduler, QStringLiteral("IDTERM"), key);
}

void Deadlines::SetField(DeadlineEditor& editor)
{
    reopenPickLists();
    editor.setData(DeadlineData::fromCurrentRow(m_db.DBFScheduler));
}

void Deadlines::Add(DeadlineEditor& editor, bool copy)
{
    try {
        if (copy) {
            SetField(editor);
        } else {
            reopenPickLists();
            editor.setData(DeadlineData::empty());
        }
        if (!editor.showModal())
            return;
        const DeadlineData data = editor.data();
        const int key = m_db.GetKey(kSchedulerKeys);
        if (key == -1) {
            m_db.ReportUnexpectedError(kNoKey, true, kCodeAdd);
            return;
        }
        Params params = deadlineParams(data);
        params.emplace_back(QStringLiteral("IDTERM"), key);
        if (m_db.Write(TmyDataBase::DBFUScheduler.insertSql, params, kCodeAdd))
            showDeadline(key);
    } catch (const Exception& e) {
        m_db.ReportUnexpectedError(e.message(), true, kCodeAdd);
    }
}

void Deadlines::Edit(DeadlineEditor& editor)
{
    try {
        if (m_db.DBFScheduler.isEmpty())
            return;
        const int key = m_db.DBFScheduler.asInteger(QStringLiteral("IDTERM"));
        SetField(editor);
        if (!editor.showModal())
            return;
        Params params = deadlineParams(editor.data());
        params.emplace_back(QStringLiteral("KEYIDTERM"), key);
        if (m_db.Write(TmyDataBase::DBFUScheduler.updateSql, params, kCodeEdit))
            showDeadline(key);
    } catch (const Exception& e) {
        m_db.ReportUnexpectedError(e.message(), true, kCodeEdit);
    }
}

void Deadlines::View(DeadlineEditor& editor)
{
    try {
        if (m_db.DBFScheduler.isEmpty())
            return;
        SetField(editor);
        editor.setEditable(false);
        editor.showModal();
        editor.setEditable(true);
    } catch (const Exception& e) {
        editor.setEditable(true);
        m_db.ReportUnexpectedError(e.message(), true, kCodeEdit);
    }
}

void Deadlines::Delete()
{
    try {
        if (m_db.DBFScheduler.isEmpty())
            return;
        if (m_options.pytajPrzedKasowaniem &&
            !m_dialogs.question(kCaptionQuestion, kDeleteQuestion))
            return;
        const int key = m_db.DBFScheduler.asInteger(QStringLiteral("IDTERM"));
        if (m_db.Write(TmyDataBase::DBFUScheduler.deleteSql, {{QStringLiteral("KEYIDTERM"), key}},
                       kCodeDelete))
            m_db.OpenScheduler();
    } catch (const Exception& e) {
        m_db.ReportUnexpectedError(e.message(), true, kCodeDelete);
    }
}

void Deadlines::CheckTerms(bool report, DeadlineReminder& reminder)
{
    const ReminderWindow due = reminderWindow(DateToDateNumber(clock().today()),
                                              m_options.dataWsteczna, m_options.dataWstecznaMin);
    CheckTermsIn(due.lower, due.upper, report, reminder);
}

void Deadlines::CheckTermsIn(int lower, int upper, bool report, DeadlineReminder& reminder)
{
    m_db.OpenDeadlineCheck(upper, lower);
    const QStringList lines = DeadlineReminderLines(DueDeadlinesOf(m_db.DBFCheckScheduler));
    if (!lines.isEmpty())
        reminder.showReminder(lines);
    else if (report)
        m_dialogs.information(kCaptionInformation, kNothingFound);
}

} // namespace zf
