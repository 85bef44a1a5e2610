#include "plans/calendarwindow.h"

#include "data/mydatabase.h"
#include "plans/calendar/yearcalendarselector.h"
#include "plans/nonworkingdays.h"
#include "util/dialogs.h"
#include "util/widgets.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace zf {

namespace {

const QStringList kWeekDays = {QStringLiteral("Poniedziałek"), QStringLiteral("Wtorek"),
                               QStringLiteral("Środa"),        QStringLiteral("Czwartek"),
                               QStringLiteral("Piątek"),       QStringLiteral("Sobota"),
                               QStringLiteral("Niedziela")};

} // namespace

const QString TfCalendar::kFileHelp =
    QStringLiteral("Plik dni wolnych, to plik tekstowy zawierający w kolejnych wierszach ") +
    QStringLiteral(" poszczególne daty w formacie DD-MM-RRRR. Przykład:") + QChar(13) +
    QStringLiteral("01-01-2012") + QChar(13) + QStringLiteral("03-01-2012") + QChar(13) +
    QStringLiteral("25-12-2012") + QChar(13);

TfCalendar::TfCalendar(TmyDataBase& db, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), m_db(db), m_dialogs(dialogs), m_selector(new TYearCalendarSelector),
      m_weekDay(new QComboBox(this)), m_yearLabel(new QLabel(this))
{
    setObjectName(QStringLiteral("fCalendar"));
    setWindowTitle(QStringLiteral("Kalendarz dni wolnych od pracy"));
    auto* title = new QLabel(QStringLiteral("Edycja kalendarza dni  wolnych od pracy"), this);
    QFont bold = title->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.3);
    title->setFont(bold);
    m_yearLabel->setObjectName(QStringLiteral("lbYear"));
    m_yearLabel->setFont(bold);

    m_weekDay->setObjectName(QStringLiteral("cbWeekDay"));
    m_weekDay->addItems(kWeekDays);
    auto* weekDayLabel = new QLabel(QStringLiteral("&Dzień tygodnia:"), this);
    weekDayLabel->setBuddy(m_weekDay);
    auto* weekdays = button(this, "SBZaznaczDni", QStringLiteral("Zaznacz dni &tygodnia"));
    auto* holidays = button(this, "SBZaznaczSwieta", QStringLiteral("Zaznacz dni &ustawowo wolne"));
    auto* file = button(this, "SBWczytajPlik", QStringLiteral("&Wczytaj kalendarz z pliku"));
    auto* help = button(this, "SBPomocPliku", QStringLiteral("?"));
    help->setToolTip(QStringLiteral("Format pliku dni wolnych"));
    help->setFixedWidth(help->fontMetrics().horizontalAdvance(QStringLiteral("?")) + 24);
    help->setAccessibleName(QStringLiteral("Format pliku dni wolnych"));
    auto* clear = button(this, "SBOdznacz", QStringLiteral("&Odznacz wszystkie"));
    auto* save = button(this, "SBZapisz", QStringLiteral("&Zapisz zmiany"));
    auto* cancel = button(this, "SBAnuluj", QStringLiteral("&Anuluj zmiany"));

    connect(weekdays, &QPushButton::clicked, this, &TfCalendar::markWeekdays);
    connect(holidays, &QPushButton::clicked, this, &TfCalendar::markHolidays);
    connect(file, &QPushButton::clicked, this, &TfCalendar::readFile);
    connect(help, &QPushButton::clicked, this, &TfCalendar::showFileHelp);
    connect(clear, &QPushButton::clicked, this, &TfCalendar::clearAll);
    connect(save, &QPushButton::clicked, this, &TfCalendar::saveChanges);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* header = new QHBoxLayout;
    header->addWidget(title);
    header->addStretch();
    header->addWidget(m_yearLabel);

    auto* tools = new QHBoxLayout;
    tools->addWidget(weekDayLabel);
    tools->addWidget(m_weekDay);
    tools->addWidget(weekdays);
    tools->addSpacing(12);
    tools->addWidget(holidays);
    tools->addSpacing(12);
    tools->addWidget(file);
    tools->addWidget(help);
    tools->addSpacing(12);
    tools->addWidget(clear);
    tools->addStretch();

    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("sbCalendar"));
    scroll->setAccessibleName(QStringLiteral("Kalendarz dni wolnych"));
    scroll->setWidget(m_selector);
    scroll->setWidgetResizable(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(header);
    layout->addLayout(tools);
    layout->addWidget(scroll, 1);
    layout->addLayout(buttons);

    setTabOrder(m_weekDay, weekdays);
    setTabOrder(weekdays, holidays);
    setTabOrder(holidays, file);
    setTabOrder(file, help);
    setTabOrder(help, clear);
    setTabOrder(clear, m_selector);
    setTabOrder(m_selector, save);
    setTabOrder(save, cancel);
    resize(1230, 680);
}

bool TfCalendar::Execute(int year)
{
    m_year = year;
    m_weekDay->setCurrentIndex(0);
    m_saved = false;
    m_yearLabel->setText(QStringLiteral("Kalendarz na rok ") + QString::number(year));
    m_selector->HideMonths();
    YearDays days;
    LoadNonWorkingDays(m_db, year, days);
    m_selector->SetDays(year, days);
    m_selector->ShowMonths(false);
    exec();
    return m_saved;
}

void TfCalendar::markWeekdays()
{
    const QString name = m_weekDay->currentText();
    if (!m_dialogs.question(kCaptionQuestion,
                            QStringLiteral("Czy zaznaczyć wszyskie wybrane dni tygodnia (") + name +
                                QStringLiteral(") ?")))
        return;
    m_selector->SelectWeekday(m_weekDay->currentIndex() + 1, true);
    m_selector->Redraw();
}

void TfCalendar::markHolidays()
{
    if (!m_dialogs.question(kCaptionQuestion,
                            QStringLiteral("Czy zaznaczyć wszyskie stałe święta?")))
        return;
    YearDays days = m_selector->GetDays();
    MarkStatutoryHolidays(m_year, days);
    m_selector->SetDays(m_year, days);
    m_selector->Redraw();
}

void TfCalendar::readFile()
{
    const QString path = m_dialogs.openFileName(QStringLiteral("Wybierz plik kalendarza"), {},
                                                {QStringLiteral("Wszystkie pliki (*)")});
    if (path.isEmpty())
        return;
    YearDays days = m_selector->GetDays();
    if (!ReadCalendarFile(path, m_year, days)) {
        m_db.ReportUnexpectedError(QStringLiteral("Wystąpił błąd podczas odczytu pliku."), true,
                                   kCodeReadCalendarFile);
        return;
    }
    m_selector->SetDays(m_year, days);
    m_selector->Redraw();
}

void TfCalendar::showFileHelp()
{
    m_dialogs.information(kCaptionInformation, kFileHelp);
}

void TfCalendar::clearAll()
{
    if (!m_dialogs.question(kCaptionQuestion, QStringLiteral("Czy odznaczyć wszystkie dni?")))
        return;
    YearDays days = m_selector->GetDays();
    for (auto& month : days)
        for (DayState& d : month) {
            d.selected = false;
            d.unchangeable = false;
        }
    m_selector->SetDays(m_year, days);
    m_selector->Redraw();
}

void TfCalendar::saveChanges()
{
    // A failed save was reported; the ticks stay for another try or "&Anuluj zmiany".
    if (!SaveNonWorkingDays(m_db, m_year, m_selector->GetDays()))
        return;
    m_saved = true;
    accept();
}

} // namespace zf
