#include "planer/planerwindow.h"

#include "app/manualchapters.h"
#include "app/manualwindow.h"
#include "planer/planchoice.h"
#include "planer/sendtooffice.h"
#include "plans/calendar/calendarselector.h"
#include "plans/calendar/yearcalendarselector.h"
#include "util/dates.h"
#include "util/dialogs.h"
#include "util/widgets.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QStatusBar>
#include <QVBoxLayout>

namespace zf {

namespace {

const QString kTitle = QStringLiteral("Mój plan urlopowy");
constexpr unsigned int kAreaBack = 0xF0D0C0;
constexpr unsigned int kRed = 0x0000FF;

QLineEdit* shownField(const char* name, QWidget* parent)
{
    auto* f = new QLineEdit(parent);
    f->setObjectName(QLatin1String(name));
    f->setReadOnly(true);
    // A file dropped on the field opens, like one dropped anywhere on the window.
    f->setAcceptDrops(false);
    return f;
}

// The one local file of a drag, or nothing.
QString droppedFile(const QMimeData* mime)
{
    if (!mime || !mime->hasUrls())
        return {};
    const QList<QUrl> urls = mime->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile())
        return {};
    return urls.first().toLocalFile();
}

} // namespace

TfPlaner::TfPlaner(Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent),
      manualPath(QCoreApplication::applicationDirPath() +
                 QStringLiteral("/dokumentacja/Instrukcja obslugi.pdf")),
      m_dialogs(dialogs), m_editor(dialogs)
{
    build();
    showPlan();
}

TfPlaner::~TfPlaner() = default;

void TfPlaner::ShowHelp()
{
    if (!m_manual)
        m_manual = new TfInstrukcja(this);
    if (m_manual->path() != manualPath || m_manual->pageCount() == 0) {
        if (!m_manual->openManual(manualPath)) {
            m_dialogs.information(
                kCaptionInformation,
                QStringLiteral("Nie udało się otworzyć instrukcji obsługi z pliku: %1\nSprawdź, "
                               "czy plik istnieje; w razie potrzeby zainstaluj program ponownie.")
                    .arg(QDir::toNativeSeparators(manualPath)));
            return;
        }
        m_manual->openChapter(kManualPlanerChapter);
    }
    m_manual->show();
    m_manual->raise();
    m_manual->activateWindow();
}

void TfPlaner::build()
{
    setObjectName(QStringLiteral("TfPlaner"));
    setWindowTitle(kTitle);
    setWindowIcon(QIcon::fromTheme(QStringLiteral("zefirant")));
    setAcceptDrops(true);
    auto* central = new QWidget(this);
    setCentralWidget(central);

    m_hint = new QLabel(QStringLiteral("Otwórz plik planu urlopowego otrzymany z działu kadr "
                                       "(przycisk „Otwórz…”) albo przeciągnij go na to okno."),
                        central);
    m_hint->setObjectName(QStringLiteral("labelHint"));
    m_hint->setWordWrap(true);

    m_planArea = new QWidget(central);
    m_planArea->setObjectName(QStringLiteral("planArea"));
    m_employee = shownField("fEMPLOYEE", m_planArea);
    m_lastYear = shownField("fLASTYEARDAYS", m_planArea);
    m_thisYear = shownField("fTHISYEARDAYS", m_planArea);
    m_summary = shownField("fSUMMARY", m_planArea);
    for (QLineEdit* figure : {m_lastYear, m_thisYear, m_summary})
        figure->setMaximumWidth(80);
    m_comment = new QPlainTextEdit(m_planArea);
    m_comment->setObjectName(QStringLiteral("fCOMMENT"));
    m_comment->setReadOnly(true);
    m_comment->setAcceptDrops(false);
    m_comment->setTabChangesFocus(true);
    m_comment->setMaximumHeight(m_comment->fontMetrics().lineSpacing() * 5);

    // The label names its field, also for screen readers (a list takes no name from its buddy).
    const auto buddy = [this](const QString& text, QWidget* field) {
        auto* l = new QLabel(text, m_planArea);
        l->setBuddy(field);
        QString name = text;
        name.remove(QLatin1Char('&'));
        if (name.endsWith(QLatin1Char(':')))
            name.chop(1);
        field->setAccessibleName(name.trimmed());
        return l;
    };
    auto* figures = new QGridLayout;
    figures->addWidget(buddy(QStringLiteral("&Pracownik:"), m_employee), 0, 0);
    figures->addWidget(m_employee, 0, 1, 1, 5);
    figures->addWidget(buddy(QStringLiteral("Urlop zaległy (z &ubiegłych lat):"), m_lastYear), 1,
                       0);
    figures->addWidget(m_lastYear, 1, 1);
    figures->addWidget(buddy(QStringLiteral("Urlop &należny w tym roku:"), m_thisYear), 1, 2);
    figures->addWidget(m_thisYear, 1, 3);
    figures->addWidget(buddy(QStringLiteral("Razem do &wykorzystania:"), m_summary), 1, 4);
    figures->addWidget(m_summary, 1, 5);
    figures->addWidget(buddy(QStringLiteral("Uwagi &działu kadr:"), m_comment), 2, 0, Qt::AlignTop);
    figures->addWidget(m_comment, 2, 1, 1, 5);
    figures->setColumnStretch(6, 1);

    m_selector = new TYearCalendarSelector;
    m_selector->setObjectName(QStringLiteral("YearCalendar"));
    m_selector->setAccessibleName(QStringLiteral("Kalendarz urlopu"));
    m_selector->setAreaColor(CalendarColors::fromWindows(kAreaBack));
    m_selector->resize(m_selector->sizeHint());
    m_selector->setTickCallback([this](bool) {
        // The selector stores the tick after this call: take the days once it has.
        if (m_choicePending)
            return;
        m_choicePending = true;
        QMetaObject::invokeMethod(
            this, [this] { takeCalendarChoice(); }, Qt::QueuedConnection);
    });
    m_scroll = new QScrollArea(m_planArea);
    m_scroll->setObjectName(QStringLiteral("calendarArea"));
    m_scroll->setWidget(m_selector);
    m_scroll->setWidgetResizable(false);
    m_scroll->setAccessibleName(QStringLiteral("Kalendarz urlopu – przewijanie"));
    m_calendarLabel =
        buddy(QStringLiteral("&Kalendarz – zaznacz dni urlopu:"), m_selector->month(1));

    auto* legend = new QHBoxLayout;
    legend->addWidget(m_calendarLabel);
    legend->addSpacing(12);
    legend->addWidget(legendBox(QStringLiteral("Dni urlopu"), 0x00FFFF, m_planArea));
    legend->addWidget(legendBox(QStringLiteral("Dni niezmienialne (ustalił je dział kadr)"),
                                0x60D070, m_planArea));
    legend->addWidget(
        legendBox(QStringLiteral("Dni wolne od pracy nie mają pola wyboru"), 0xFFFFFF, m_planArea));
    legend->addStretch(1);

    m_count = new QLabel(m_planArea);
    m_count->setObjectName(QStringLiteral("labelLeft"));
    QFont bold = m_count->font();
    bold.setBold(true);
    m_count->setFont(bold);
    // Beside the count: the Labour Code's two rules on the chosen days.
    m_laborCode = new QLabel(m_planArea);
    m_laborCode->setObjectName(QStringLiteral("labelKodeksPracy"));
    m_laborCode->setFont(bold);
    m_laborCode->setWordWrap(true);
    m_runs = new QListWidget(m_planArea);
    m_runs->setObjectName(QStringLiteral("lbOkresy"));
    m_runs->setMaximumHeight(m_runs->fontMetrics().lineSpacing() * 6);
    m_runs->setAcceptDrops(false);
    auto* choice = new QVBoxLayout;
    auto* counts = new QHBoxLayout;
    counts->addWidget(m_count);
    counts->addSpacing(20);
    counts->addWidget(m_laborCode, 1);
    choice->addLayout(counts);
    choice->addWidget(buddy(QStringLiteral("Wybrane okre&sy urlopu:"), m_runs));
    choice->addWidget(m_runs);

    auto* plan = new QVBoxLayout(m_planArea);
    plan->setContentsMargins(0, 0, 0, 0);
    plan->addLayout(figures);
    plan->addLayout(legend);
    plan->addWidget(m_scroll, 1);
    plan->addLayout(choice);

    m_open = button(central, "SBOtworz", QStringLiteral("&Otwórz…"),
                    QStringLiteral("Otwórz plik planu urlopowego (*.zfpn)"));
    m_save = button(central, "SBZapisz", QStringLiteral("&Zapisz"),
                    QStringLiteral("Zapisz wybrane dni w pliku planu"));
    m_close =
        button(central, "SBZamknij", QStringLiteral("Za&mknij"), QStringLiteral("Zamknij program"));
    connect(m_open, &QPushButton::clicked, this, &TfPlaner::ChooseFile);
    connect(m_save, &QPushButton::clicked, this, [this] { Save(); });
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);
    m_send = button(central, "SBWyslijDoKadr", QStringLiteral("W&yślij do działu kadr…"),
                    QStringLiteral("Otwórz program pocztowy z zapisanym plikiem planu w "
                                   "załączniku"));
    connect(m_send, &QPushButton::clicked, this, &TfPlaner::SendToOffice);
    m_help = button(central, "SBPomoc", QStringLiteral("Pomo&c"),
                    QStringLiteral("Instrukcja obsługi: jak wypełnić plan urlopowy (F1)"));
    connect(m_help, &QPushButton::clicked, this, &TfPlaner::ShowHelp);
    auto* helpKey = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(helpKey, &QShortcut::activated, this, &TfPlaner::ShowHelp);
    auto* openKey = new QShortcut(QKeySequence::Open, this);
    connect(openKey, &QShortcut::activated, this, &TfPlaner::ChooseFile);
    auto* saveKey = new QShortcut(QKeySequence::Save, this);
    connect(saveKey, &QShortcut::activated, this, [this] {
        if (m_editor.isOpen())
            Save();
    });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_open);
    buttons->addWidget(m_help);
    buttons->addStretch(1);
    buttons->addWidget(m_save);
    buttons->addWidget(m_send);
    buttons->addWidget(m_close);

    auto* main = new QVBoxLayout(central);
    main->addWidget(m_hint);
    main->addWidget(m_planArea, 1);
    main->addLayout(buttons);

    QWidget* order[] = {m_employee, m_lastYear, m_thisYear, m_summary, m_comment};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    QWidget* previous = m_comment;
    for (int m = 1; m <= 12; ++m) {
        setTabOrder(previous, m_selector->month(m));
        previous = m_selector->month(m);
    }
    setTabOrder(previous, m_runs);
    setTabOrder(m_runs, m_open);
    setTabOrder(m_open, m_save);
    setTabOrder(m_save, m_close);
    setTabOrder(m_save, m_send);

    const QSize area = m_selector->sizeHint();
    resize(area.width() + 60, area.height() + 330);
}

TPlanEditor::OpenResult TfPlaner::OpenFile(const QString& path)
{
    if (!m_editor.ConfirmClose([this] { return Save(); }))
        return TPlanEditor::OpenResult::Cancelled;
    const TPlanEditor::OpenResult result = m_editor.Open(path);
    if (result == TPlanEditor::OpenResult::Opened) {
        showPlan();
        statusBar()->showMessage(
            QStringLiteral("Otwarto plan z pliku %1")
                .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath())));
    } else if (result == TPlanEditor::OpenResult::PasswordRefused) {
        // Nothing of the plan has been shown; the changes of one open before were settled by
        // the question above.
        m_editor.Close();
        showPlan();
        m_closeQuietly = true;
        close();
    }
    return result;
}

void TfPlaner::ChooseFile()
{
    const QString start =
        m_editor.isOpen() ? QFileInfo(m_editor.path()).absolutePath() : QDir::homePath();
    const QString path = m_dialogs.openFileName(
        QStringLiteral("Otwórz plan urlopowy"), start,
        {QStringLiteral("Plany urlopowe (*.zfpn)"), QStringLiteral("Wszystkie pliki (*)")});
    if (!path.isEmpty())
        OpenFile(path);
}

bool TfPlaner::Save()
{
    if (!m_editor.Save()) {
        // What was said before the refusal is no longer true ("Zapisano plan ...").
        statusBar()->showMessage(
            QStringLiteral("Planu nie zapisano – wybrane dni są nadal w oknie."));
        return false;
    }
    statusBar()->showMessage(
        QStringLiteral("Zapisano plan w pliku %1")
            .arg(QDir::toNativeSeparators(QFileInfo(m_editor.path()).absoluteFilePath())));
    return true;
}

void TfPlaner::SendToOffice()
{
    if (!m_editor.isOpen())
        return;
    if (m_editor.modified()) {
        if (!m_dialogs.question(kCaptionQuestion,
                                QStringLiteral("Plan ma niezapisane zmiany. Zapisać go przed "
                                               "wysłaniem do działu kadr?")) ||
            !Save())
            return;
    }
    TMapiSendMail mail = sendToOfficeMessage(m_editor.path(), m_editor.plan());
    mail.SetProgram(m_mailTool, m_mailSearchPaths);
    const QString path = m_editor.path();
    mail.Send(this, [this, path](bool ok) {
        if (!ok)
            m_dialogs.information(kCaptionInformation, noComposerMessage(path));
        else
            statusBar()->showMessage(QStringLiteral("Otwarto program pocztowy z plikiem %1")
                                         .arg(QDir::toNativeSeparators(path)));
    });
}

void TfPlaner::SetMailTool(const QString& name, const QStringList& searchPaths)
{
    m_mailTool = name;
    m_mailSearchPaths = searchPaths;
}

void TfPlaner::showPlan()
{
    const bool open = m_editor.isOpen();
    m_hint->setVisible(!open);
    m_planArea->setVisible(open);
    m_save->setEnabled(open);
    m_send->setEnabled(open);
    m_selector->HideMonths();
    if (!open) {
        setWindowTitle(kTitle);
        return;
    }
    const PlanFileContent& p = m_editor.plan();
    const int year = p.year;
    setWindowTitle(QStringLiteral("%1 na rok %2").arg(kTitle).arg(year));
    m_employee->setText(QStringLiteral("%1 %2 (%3)").arg(p.name, p.surname, p.employeeKey));
    m_lastYear->setText(QString::number(p.lastYearDays));
    m_thisYear->setText(QString::number(p.thisYearDays));
    m_summary->setText(QString::number(m_editor.entitlement()));
    QString comment = p.comment;
    comment.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    m_comment->setPlainText(comment);

    YearDays table = MakeYearDays(false);
    for (int m = 1; m <= 12; ++m) {
        const int days = QDate(year, m, 1).daysInMonth();
        for (int d = 1; d <= days; ++d) {
            const int day = MakeDateNumber(d, m, year);
            DayState& slot =
                table[static_cast<std::size_t>(m - 1)][static_cast<std::size_t>(d - 1)];
            slot.selectable = !m_editor.isFree(day);
            slot.selected = slot.selectable && m_editor.isChosen(day);
            slot.unchangeable = slot.selectable && m_editor.isFixed(day);
        }
        TCalendarSelector* month = m_selector->month(m);
        month->setAccessibleName(
            QStringLiteral("%1 %2").arg(TCalendarSelector::monthTitle(m)).arg(year));
        month->setAccessibleDescription(
            QStringLiteral("Strzałki wybierają dzień, spacja zaznacza lub odznacza dzień urlopu"));
    }
    m_selector->SetDays(year, table);
    m_selector->ShowMonths(false);
    showChoice();
}

void TfPlaner::showChoice()
{
    m_count->setText(ChoiceCountText(m_editor.chosenCount(), m_editor.entitlement()));
    QPalette pal = m_count->palette();
    pal.setColor(QPalette::WindowText, m_editor.remaining() < 0
                                           ? CalendarColors::fromWindows(kRed)
                                           : palette().color(QPalette::WindowText));
    m_count->setPalette(pal);
    const LaborCodeCheck check = m_editor.laborCode();
    m_laborCode->setText(LaborCodeLineText(m_editor.year(), check));
    m_laborCode->setToolTip(LaborCodeLineHint(check));
    QPalette rule = m_laborCode->palette();
    rule.setColor(QPalette::WindowText, check.broken() ? CalendarColors::fromWindows(kRed)
                                                       : palette().color(QPalette::WindowText));
    m_laborCode->setPalette(rule);
    m_runs->clear();
    for (const LeaveRun& run : LeaveRuns(m_editor.chosenDays(), m_editor.freeDays()))
        m_runs->addItem(LeaveRunText(run));
}

void TfPlaner::takeCalendarChoice()
{
    m_choicePending = false;
    if (!m_editor.isOpen())
        return;
    const int year = m_editor.year();
    const YearDays table = m_selector->GetDays();
    QList<int> ticked;
    for (int m = 1; m <= 12; ++m)
        for (int d = 1; d <= QDate(year, m, 1).daysInMonth(); ++d) {
            const DayState& slot =
                table[static_cast<std::size_t>(m - 1)][static_cast<std::size_t>(d - 1)];
            if (slot.selectable && slot.selected)
                ticked.append(MakeDateNumber(d, m, year));
        }
    if (!m_editor.SetChosenDays(ticked)) {
        for (int m = 1; m <= 12; ++m) {
            TCalendarSelector* month = m_selector->month(m);
            MonthDays& days = month->days();
            bool changed = false;
            for (int d = 1; d <= QDate(year, m, 1).daysInMonth(); ++d) {
                DayState& slot = days[static_cast<std::size_t>(d - 1)];
                const bool chosen = m_editor.isChosen(MakeDateNumber(d, m, year));
                if (slot.selectable && slot.selected != chosen) {
                    slot.selected = chosen;
                    changed = true;
                }
            }
            if (changed)
                month->layOutCells();
        }
        statusBar()->showMessage(QStringLiteral("Dni niezmienialnych (zielonych) nie można "
                                                "zmienić – ustalił je dział kadr."));
    }
    showChoice();
}

void TfPlaner::closeEvent(QCloseEvent* event)
{
    if (!m_closeQuietly && !m_editor.ConfirmClose([this] { return Save(); })) {
        event->ignore();
        return;
    }
    event->accept();
}

void TfPlaner::dragEnterEvent(QDragEnterEvent* event)
{
    if (!droppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TfPlaner::dropEvent(QDropEvent* event)
{
    const QString path = droppedFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // Not inside the drop: opening may ask for the password, and the dragging program waits.
    QMetaObject::invokeMethod(
        this, [this, path] { OpenFile(path); }, Qt::QueuedConnection);
}

} // namespace zf
