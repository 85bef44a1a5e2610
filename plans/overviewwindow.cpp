#include "plans/overviewwindow.h"

#include "data/mydatabase.h"
#include "data/programoptions.h"
#include "plans/editcalendarwindow.h"
#include "plans/icalendar.h"
#include "plans/overviewgrid.h"
#include "plans/overviewlaborcode.h"
#include "util/clock.h"
#include "util/csvexport.h"
#include "util/dialogs.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zf {

namespace {

// A strip, not a column: the grid (hidden when nobody is in the plan) takes the height.
QLabel* legendStrip(const QString& text, unsigned int bgr, QWidget* parent)
{
    QLabel* l = legendBox(text, bgr, parent);
    l->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    return l;
}

} // namespace

TfEmployeesPlans::TfEmployeesPlans(TmyDataBase& db, Dialogs& dialogs, ProgramOptions& options,
                                   QWidget* parent)
    : QDialog(parent), m_db(db), m_dialogs(dialogs), m_options(options)
{
    setObjectName(QStringLiteral("TfEmployeesPlans"));
    setWindowTitle(QStringLiteral("Podgląd grafiku urlopowego"));
    m_editor = new TfEditCalendar(db, dialogs, options, this);

    m_header = new QLabel(this);
    m_header->setObjectName(QStringLiteral("labelYear"));
    QFont big = m_header->font();
    big.setBold(true);
    big.setPointSize(big.pointSize() + 3);
    m_header->setFont(big);

    m_all = new QPushButton(QStringLiteral("Wszyscy &pracownicy"), this);
    m_all->setObjectName(QStringLiteral("SBWszyscy"));
    m_all->setToolTip(QStringLiteral("Pokaż pełny plan urlopowy dla wszystkich pracowników"));
    m_unit = new QComboBox(this);
    m_unit->setObjectName(QStringLiteral("fIDDICUNIT"));
    m_unit->setMinimumWidth(220);
    auto* unitLabel = new QLabel(QStringLiteral("Plan urlopowy dla ze&społu"), this);
    unitLabel->setBuddy(m_unit);
    m_approve = new QPushButton(QStringLiteral("Zatwierdź &grafik"), this);
    m_approve->setObjectName(QStringLiteral("SBZatwierdz"));
    m_approve->setToolTip(QStringLiteral("Zmienia status grafiku na 'Zatwierdzony'"));
    m_export = new QPushButton(QStringLiteral("&Eksport do CSV"), this);
    m_export->setObjectName(QStringLiteral("SBEksport"));
    m_export->setToolTip(QStringLiteral("Zapisz grafik do arkusza .CSV / MS Excel"));
    m_exportIcs = new QPushButton(QStringLiteral("Eksport do &kalendarza (.ics)"), this);
    m_exportIcs->setObjectName(QStringLiteral("SBEksportIcs"));
    m_exportIcs->setToolTip(QStringLiteral("Zapisz urlopy pokazanych pracowników do pliku kalendarza"));
    m_close = new QPushButton(QStringLiteral("&Zamknij"), this);
    m_close->setObjectName(QStringLiteral("SBZamknij"));
    for (QPushButton* b : {m_all, m_approve, m_export, m_exportIcs, m_close})
        b->setAutoDefault(false);

    auto* controls = new QHBoxLayout;
    controls->addWidget(m_header);
    controls->addSpacing(20);
    controls->addWidget(m_all);
    controls->addWidget(unitLabel);
    controls->addWidget(m_unit);
    controls->addStretch(1);
    controls->addWidget(m_approve);
    controls->addWidget(m_export);
    controls->addWidget(m_exportIcs);
    controls->addWidget(m_close);

    auto* icon = new QLabel(this);
    icon->setPixmap(TOverviewGrid::EditIcon());
    auto* legend = new QHBoxLayout;
    legend->addWidget(legendStrip(QStringLiteral("Dni niezmienialne"), 0x00FF00, this));
    legend->addWidget(legendStrip(QStringLiteral("Dni urlopu"), 0x00FFFF, this));
    legend->addSpacing(20);
    legend->addWidget(new QLabel(QStringLiteral("Kliknij na ikonę"), this));
    legend->addWidget(icon);
    legend->addWidget(new QLabel(
        QStringLiteral("przy nazwisku wskazanego pracownika aby edytować jego plan urlopowy"), this));
    legend->addStretch(1);

    m_grid = new TOverviewGrid(this);
    auto* main = new QVBoxLayout(this);
    main->addLayout(controls);
    auto* legendPanel = new QWidget(this);
    legend->setContentsMargins(0, 0, 0, 0);
    legendPanel->setLayout(legend);
    legendPanel->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    main->addWidget(legendPanel);
    main->addWidget(m_grid, 1);
    main->addStretch(0);

    setTabOrder(m_all, m_unit);
    setTabOrder(m_unit, m_approve);
    setTabOrder(m_approve, m_export);
    setTabOrder(m_export, m_exportIcs);
    setTabOrder(m_exportIcs, m_close);
    setTabOrder(m_close, m_grid);

    connect(m_all, &QPushButton::clicked, this, [this] { setUnitFilter(-1); });
    connect(m_unit, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_fillingUnits || index < 0)
            return;
        setUnitFilter(m_unit->itemData(index).toInt());
    });
    connect(m_approve, &QPushButton::clicked, this, &TfEmployeesPlans::Approve);
    connect(m_export, &QPushButton::clicked, this, &TfEmployeesPlans::ExportCsv);
    connect(m_exportIcs, &QPushButton::clicked, this, &TfEmployeesPlans::ExportCalendar);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_grid, &TOverviewGrid::editRequested, this, &TfEmployeesPlans::OpenEditor);
    resize(1000, 600);
}

TfEmployeesPlans::~TfEmployeesPlans() = default;

TfEditCalendar& TfEmployeesPlans::editor()
{
    return *m_editor;
}

void TfEmployeesPlans::applyStoredSize()
{
    if (m_options.emplPlanWinWidth > 0 && m_options.emplPlanWinHeight > 0)
        resize(m_options.emplPlanWinWidth, m_options.emplPlanWinHeight);
}

void TfEmployeesPlans::reloadUnits()
{
    m_fillingUnits = true;
    m_unit->clear();
    m_db.OpenUnits();
    fb::DataSet& units = m_db.DBFUnits;
    for (int r = 0; r < units.recordCount(); ++r)
        m_unit->addItem(units.valueAt(r, units.fieldIndex(QStringLiteral("DESCRIPTION"))).toString(),
                        units.valueAt(r, units.fieldIndex(QStringLiteral("IDDICTIONARY"))).toInt());
    m_unit->setCurrentIndex(m_unit->findData(m_unitFilter));
    m_fillingUnits = false;
}

void TfEmployeesPlans::setUnitFilter(int unit)
{
    m_unitFilter = unit;
    m_fillingUnits = true;
    m_unit->setCurrentIndex(unit > 0 ? m_unit->findData(unit) : -1);
    m_fillingUnits = false;
    Load();
}

void TfEmployeesPlans::Execute(int year, int unitFilter)
{
    m_year = year;
    m_unitFilter = unitFilter;
    reloadUnits();
    applyStoredSize();
    Load();
    exec();
}

void TfEmployeesPlans::Load()
{
    // The grid points at the list while it is rebuilt, so it must not paint in between.
    m_grid->setData(nullptr);
    LoadOverview(m_db, m_year, m_unitFilter, m_data);
    LoadStaffing(m_db, m_data, m_staffing);
    m_laborCode =
        m_options.sprawdzajKodeksPracy ? CheckLaborCode(m_db, m_data) : std::vector<LaborCodeCheck>{};
    m_grid->setLaborCode(m_options.sprawdzajKodeksPracy ? &m_laborCode : nullptr);
    m_approve->setEnabled(!m_data.approved && !m_db.loginState().restricted);
    m_header->setText(QStringLiteral("Plan na rok ") + QString::number(m_year));
    if (m_data.plans.Count() == 0) {
        m_grid->hide();
        return;
    }
    m_grid->setStaffing(&m_staffing);
    m_grid->setData(&m_data);
    m_grid->show();
    m_grid->setFirstVisibleDay(
        FirstVisibleDay(m_year, clock().today(), m_grid->visibleDayColumns()));
}

void TfEmployeesPlans::Approve()
{
    // Days below a threshold are for the whole plan, whatever unit is shown; one question
    // lists them instead of the plain one.
    std::vector<UnitStaffing> whole = m_staffing;
    // So are the employees who break a rule of the Labour Code, in the same question.
    const bool laborCode = m_options.sprawdzajKodeksPracy;
    std::vector<LaborCodeBreak> breaks =
        laborCode ? LaborCodeBreaks(m_data, m_laborCode) : std::vector<LaborCodeBreak>{};
    if (m_unitFilter > 0) {
        OverviewData all;
        if (LoadOverview(m_db, m_year, 0, all)) {
            LoadStaffing(m_db, all, whole);
            if (laborCode)
                breaks = LaborCodeBreaks(all, CheckLaborCode(m_db, all));
        }
    }
    const std::vector<StaffingShortfall> shortfalls = Shortfalls(whole);
    const QString question = PlanApprovalQuestion(m_year, shortfalls, breaks);
    // A status that could not be written was reported; the window stays as it was, so the
    // approval can be tried again.
    if (!m_dialogs.question(kCaptionQuestion, question) || !m_db.SetPlanStatus(m_year, 5))
        return;
    m_db.OpenPlans();
    m_db.LocateByInteger(m_db.DBFHolidayPlans, QStringLiteral("IDYEAR"), m_year);
    m_data.approved = true;
    m_approve->setEnabled(false);
}

void TfEmployeesPlans::ExportCsv()
{
    const QString path = m_dialogs.saveFileName(
        QStringLiteral("Eksportuj dane do arkusza .CSV"),
        QStringLiteral("Grafik urlopowy %1.csv").arg(m_year),
        {QStringLiteral("Arkusz .CSV (*.csv)"), QStringLiteral("Wszystkie pliki (*.*)")},
        QStringLiteral("csv"));
    if (path.isEmpty())
        return;
    QList<QStringList> sheet = OverviewSheet(m_data, m_staffing);
    if (m_options.sprawdzajKodeksPracy)
        sheet = WithLaborCodeColumn(std::move(sheet), m_laborCode);
    if (TOVExportToCSV::ExportGrid(sheet, path))
        m_dialogs.information(kCaptionInformation, QStringLiteral("Eksport zakończony poprawnie"));
    else
        m_dialogs.information(kCaptionInformation,
                              QStringLiteral("Nie udało się wyeksportować danych"));
}

void TfEmployeesPlans::ExportCalendar()
{
    ExportPlanCalendar(m_db, m_data, m_dialogs);
}

void TfEmployeesPlans::OpenEditor(int index)
{
    if (index < 0 || index >= m_data.plans.Count())
        return;
    const QString employee = m_data.plans.at(index).IDEMPLOYEE;
    m_editor->Execute(m_year, employee,
                      EditorReadOnly(m_db.loginState(), m_data.approved, employee));
    Load();
}

} // namespace zf
