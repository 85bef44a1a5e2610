#include "plans/editcalendarwindow.h"

#include "data/mydatabase.h"
#include "data/programoptions.h"
#include "plans/calendar/calendarselector.h"
#include "plans/calendar/yearcalendarselector.h"
#include "plans/editholidaydays.h"
#include "plans/overviewgrid.h"

#include "util/dates.h"
#include "util/dialogs.h"

#include <QGridLayout>
#include <QSet>
#include <QTimer>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

namespace zf {

namespace {

constexpr unsigned int kAreaBack = 0xF0D0C0;
constexpr unsigned int kMarkingBack = 0xAEFFC2;
constexpr unsigned int kRed = 0x0000FF;
// Twelve months in 3 rows of 4, as the selector lays them out.
constexpr int kAreaWidth = TYearCalendarSelector::AreaWidth;
constexpr int kAreaHeight = TYearCalendarSelector::AreaHeight;

const QString kMarkOn = QStringLiteral("&Włącz tryb oznaczania niezmienialnych dni urlopu");
const QString kMarkOff = QStringLiteral("&Wyłącz tryb oznaczania niezmienialnych dni urlopu");

void setBackground(QWidget* w, unsigned int bgr)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, CalendarColors::fromWindows(bgr));
    w->setPalette(pal);
}

} // namespace

TfEditCalendar::TfEditCalendar(TmyDataBase& db, Dialogs& dialogs, ProgramOptions& options,
                               QWidget* parent)
    : QDialog(parent), m_db(db), m_dialogs(dialogs), m_options(options)
{
    setObjectName(QStringLiteral("TfEditCalendar"));
    setWindowTitle(QStringLiteral("Edycja grafiku urlopowego"));
    m_saveIcon = style()->standardIcon(QStyle::SP_DialogSaveButton);
    m_cancelIcon = style()->standardIcon(QStyle::SP_DialogCancelButton);

    auto* title = new QLabel(QStringLiteral("Edycja grafiku urlopowego"), this);
    QFont big = title->font();
    big.setBold(true);
    big.setPointSize(big.pointSize() + 3);
    title->setFont(big);
    auto* yearCaption = new QLabel(QStringLiteral("Zefirant na rok"), this);
    m_yearLabel = new QLabel(this);
    m_yearLabel->setObjectName(QStringLiteral("labelYear"));
    m_yearLabel->setFont(big);
    m_employeeLabel = new QLabel(this);
    m_employeeLabel->setObjectName(QStringLiteral("labelEmployee"));
    m_employeeLabel->setFont(big);

    const auto figure = [this](const char* name) {
        auto* l = new QLabel(this);
        l->setObjectName(QLatin1String(name));
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
        return l;
    };
    m_thisYear = figure("labelThisYear");
    m_lastYear = figure("labelLastYear");
    m_summary = figure("labelSummary");
    m_left = figure("labelLeft");
    // Only a unit with a threshold shows it; it warns and never stops the saving.
    m_staffingLabel = figure("labelStaffing");
    m_staffingLabel->hide();
    // The Labour Code's two rules on the ticked days; shown only with the checks on.
    m_laborCodeLabel = figure("labelKodeksPracy");
    m_laborCodeLabel->hide();
    m_detailsButton = new QPushButton(QStringLiteral("&Szczegóły wymiaru urlopu"), this);
    m_detailsButton->setObjectName(QStringLiteral("SBSzczegoly"));
    m_detailsButton->setToolTip(QStringLiteral("Pokaż pełny wymiar urlopu pracownika"));

    auto* figures = new QGridLayout;
    figures->addWidget(new QLabel(QStringLiteral("Urlop należny:"), this), 0, 0);
    figures->addWidget(m_thisYear, 0, 1);
    figures->addWidget(new QLabel(QStringLiteral("Urlop zaległy:"), this), 1, 0);
    figures->addWidget(m_lastYear, 1, 1);
    figures->addWidget(new QLabel(QStringLiteral("Urlopu do wykorzystania łącznie:"), this), 0, 2);
    figures->addWidget(m_summary, 0, 3);
    figures->addWidget(new QLabel(QStringLiteral("Pozostało:"), this), 1, 2);
    figures->addWidget(m_left, 1, 3);
    figures->addWidget(m_staffingLabel, 1, 4);
    figures->addWidget(m_laborCodeLabel, 2, 2, 1, 4);
    figures->addWidget(m_detailsButton, 0, 5, 2, 1);
    figures->setColumnStretch(6, 1);

    auto* head = new QHBoxLayout;
    head->addWidget(title);
    head->addSpacing(20);
    head->addWidget(yearCaption);
    head->addWidget(m_yearLabel);
    head->addSpacing(20);
    head->addWidget(m_employeeLabel, 1);

    auto* legend = new QHBoxLayout;
    legend->addWidget(legendBox(QStringLiteral("Dni niezmienialne"), 0x60D070, this));
    legend->addWidget(legendBox(QStringLiteral("Dni urlopu"), 0x00FFFF, this));
    legend->addStretch(1);

    m_calendarArea = new QWidget;
    m_calendarArea->setObjectName(QStringLiteral("calendarArea"));
    m_calendarArea->setAutoFillBackground(true);
    m_calendarArea->setMinimumSize(kAreaWidth, kAreaHeight);
    m_selector = new TYearCalendarSelector(m_calendarArea);
    m_selector->setObjectName(QStringLiteral("YearCalendar"));
    m_selector->setGeometry(0, 0, kAreaWidth, kAreaHeight);
    m_selector->setTickCallback([this](bool ticked) { onTick(ticked); });
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(m_calendarArea);
    scroll->setAccessibleName(QStringLiteral("Kalendarz urlopu"));
    scroll->setWidgetResizable(false);

    m_markButton = new QPushButton(kMarkOn, this);
    m_markButton->setObjectName(QStringLiteral("SBNiezmienialne"));
    m_saveButton = new QPushButton(m_saveIcon, QStringLiteral("&Zapisz zmiany"), this);
    m_saveButton->setObjectName(QStringLiteral("SBZapisz"));
    m_cancelButton = new QPushButton(m_cancelIcon, QStringLiteral("&Anuluj zmiany"), this);
    m_cancelButton->setObjectName(QStringLiteral("SBAnuluj"));
    m_saveButton->setAutoDefault(false);
    m_cancelButton->setAutoDefault(false);
    m_markButton->setAutoDefault(false);
    m_detailsButton->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_markButton);
    buttons->addStretch(1);
    buttons->addWidget(m_saveButton);
    buttons->addWidget(m_cancelButton);

    auto* main = new QVBoxLayout(this);
    main->addLayout(head);
    main->addLayout(figures);
    main->addLayout(legend);
    main->addWidget(scroll, 1);
    main->addLayout(buttons);

    setTabOrder(m_detailsButton, m_markButton);
    setTabOrder(m_markButton, m_saveButton);
    setTabOrder(m_saveButton, m_cancelButton);

    connect(m_markButton, &QPushButton::clicked, this, &TfEditCalendar::ToggleMarkingMode);
    connect(m_saveButton, &QPushButton::clicked, this, &TfEditCalendar::Save);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_detailsButton, &QPushButton::clicked, this, &TfEditCalendar::ShowDetails);
    resize(kAreaWidth + 60, kAreaHeight + 200);
}

TfEditCalendar::~TfEditCalendar() = default;

void TfEditCalendar::applyStoredSize()
{
    if (m_options.editCalWinWidth > 0 && m_options.editCalWinHeight > 0)
        resize(m_options.editCalWinWidth, m_options.editCalWinHeight);
}

void TfEditCalendar::Load(int year, const QString& employee, bool readOnly)
{
    m_year = year;
    m_employee = employee;
    m_readOnly = readOnly;
    m_saved = false;
    m_yearLabel->setText(QString::number(year));
    m_selector->HideMonths();
    setMarkingMode(false);

    EditCalendarState state;
    LoadEditCalendar(m_db, year, employee, state);
    m_employeeLabel->setText(state.employeeText);
    m_thisYear->setText(QString::number(state.thisYearDays));
    m_lastYear->setText(QString::number(state.lastYearDays));
    m_summary->setText(QString::number(state.summary()));
    m_remaining = state.remaining;
    showRemaining();

    m_selector->SetDays(year, state.days);
    m_selector->ShowMonths(false);
    LoadEditorStaffing(m_db, year, employee, m_staffing);
    showStaffing();
    m_lastYearDays = state.lastYearDays;
    m_thisYearDays = state.thisYearDays;
    m_laborContext = LaborCodeContext{};
    if (m_options.sprawdzajKodeksPracy) {
        OverviewData plan;
        plan.year = year;
        LoadLaborCodeContext(m_db, plan, m_laborContext);
    }
    showLaborCode();
    // Showing only: the calendar, saving and marking are off; "&Anuluj zmiany" closes.
    m_calendarArea->setEnabled(!readOnly);
    m_saveButton->setEnabled(!readOnly);
    m_markButton->setEnabled(!readOnly);
}

bool TfEditCalendar::Execute(int year, const QString& employee, bool readOnly)
{
    applyStoredSize();
    Load(year, employee, readOnly);
    exec();
    // Kept in the options, which are written when the program closes.
    m_options.editCalWinWidth = width();
    m_options.editCalWinHeight = height();
    return m_saved;
}

void TfEditCalendar::onTick(bool ticked)
{
    m_remaining = CountTick(m_remaining, ticked);
    showRemaining();
    // The selector stores the tick after this call: look at the days once it has.
    if (m_staffing.minimum > 0)
        QTimer::singleShot(0, this, [this] { showStaffing(); });
    if (m_options.sprawdzajKodeksPracy)
        QTimer::singleShot(0, this, [this] { showLaborCode(); });
}

void TfEditCalendar::showRemaining()
{
    m_left->setText(QString::number(m_remaining));
    QPalette pal = m_left->palette();
    pal.setColor(QPalette::WindowText, m_remaining < 0 ? CalendarColors::fromWindows(kRed)
                                                       : m_summary->palette().color(QPalette::WindowText));
    m_left->setPalette(pal);
}

void TfEditCalendar::showStaffing()
{
    m_below = EditorBelowDays(m_staffing, m_selector->GetDays());
    m_staffingLabel->setVisible(m_staffing.minimum > 0 && !m_below.isEmpty());
    m_staffingLabel->setText(EditorBelowText(m_below));
    m_staffingLabel->setToolTip(EditorBelowHint(m_staffing, m_below));
    QPalette pal = m_staffingLabel->palette();
    pal.setColor(QPalette::WindowText, CalendarColors::fromWindows(kRed));
    m_staffingLabel->setPalette(pal);
    QSet<int> marked;
    for (int day : m_below)
        marked.insert(DateOfDayOfYear(day, m_year));
    m_selector->setWarningDays(marked);
}

void TfEditCalendar::showLaborCode()
{
    m_laborCodeLabel->setVisible(m_options.sprawdzajKodeksPracy);
    if (!m_options.sprawdzajKodeksPracy)
        return;
    const YearDays days = m_selector->GetDays();
    LaborCodeYear plan = MakeLaborCodeYear(m_year, TableWorkingFlags(m_year, days));
    if (m_laborContext.nextPlan)
        SetNextYearPlan(plan, m_laborContext.nextNonWorkingDays);
    LaborCodeEmployee employee;
    employee.nextLeave = m_laborContext.nextLeave.value(m_employee);
    employee.absent = m_laborContext.absent.contains(m_employee);
    m_laborCode = CheckLaborCode(plan, TableLeaveFlags(m_year, days), m_lastYearDays,
                                 m_thisYearDays, employee);
    m_laborCodeLabel->setText(LaborCodeLineText(m_year, m_laborCode));
    m_laborCodeLabel->setToolTip(LaborCodeLineHint(m_laborCode));
    QPalette pal = m_laborCodeLabel->palette();
    pal.setColor(QPalette::WindowText, m_laborCode.broken()
                                           ? CalendarColors::fromWindows(kRed)
                                           : m_summary->palette().color(QPalette::WindowText));
    m_laborCodeLabel->setPalette(pal);
}

void TfEditCalendar::setMarkingMode(bool on)
{
    m_marking = on;
    m_selector->setMarkingMode(on);
    m_markButton->setText(on ? kMarkOff : kMarkOn);
    m_markButton->setIcon(on ? m_cancelIcon : m_saveIcon);
    setBackground(m_calendarArea, on ? kMarkingBack : kAreaBack);
}

void TfEditCalendar::ToggleMarkingMode()
{
    if (m_readOnly)
        return;
    setMarkingMode(!m_marking);
}

void TfEditCalendar::Save()
{
    if (m_readOnly)
        return;
    const SaveCalendarResult r = SaveEditCalendar(m_db, m_year, m_employee, m_selector->GetDays(),
                                                  m_remaining, m_options.sprawdzZakresUrlopu);
    if (const QString message = SaveCalendarMessage(r); !message.isEmpty())
        m_dialogs.information(kCaptionInformation, message);
    // Over the limit the schedule is to be corrected; after a reported database error the
    // ticks stay for another try or "&Anuluj zmiany".
    if (r == SaveCalendarResult::OverLimit || r == SaveCalendarResult::Failed)
        return;
    m_saved = r == SaveCalendarResult::Saved;
    accept();
}

void TfEditCalendar::ShowDetails()
{
    m_db.OpenSettings(m_year, 0);
    if (!m_db.LocateByText(m_db.DBFEmployeesSettings, QStringLiteral("IDEMPLOYEE"), m_employee))
        return;
    if (!m_details)
        m_details = new TfEditHolidayDays(m_dialogs, this);
    m_details->FillFromCurrentRow(m_db.DBFEmployeesSettings);
    m_details->setViewOnly(true);
    m_details->Execute();
    m_details->setViewOnly(false);
}

} // namespace zf
