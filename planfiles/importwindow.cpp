#include "planfiles/importwindow.h"

#include "data/mydatabase.h"
#include "planfiles/employeechooser.h"
#include "planfiles/runprogress.h"
#include "planfiles/workingwithxml.h"
#include "util/dialogs.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSet>
#include <QShowEvent>
#include <QVBoxLayout>

namespace zf {

namespace {

QString skippedText(int skipped)
{
    if (skipped <= 0)
        return {};
    return QStringLiteral(" Pominięto jednak ") + QString::number(skipped) +
           QStringLiteral(" planów urlopowych ze względu na brak dostępu do plików planów "
                          "urlopowych.");
}

} // namespace

TfImportPlan::TfImportPlan(TmyDataBase& db, Dialogs& dialogs, const ProgramOptions& options,
                           QWidget* parent)
    : QDialog(parent), m_db(db), m_dialogs(dialogs), m_options(options)
{
    setObjectName(QStringLiteral("TfImportPlan"));
    setWindowTitle(QStringLiteral("Wczytaj plany z plików"));
    setModal(true);

    auto* heading = new QLabel(QStringLiteral("Wczytaj plany z zewnętrznych plików"), this);
    heading->setObjectName(QStringLiteral("lblNaglowek"));
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    heading->setFont(headingFont);
    m_yearLabel = new QLabel(this);
    m_yearLabel->setObjectName(QStringLiteral("lblRok"));

    m_chooser =
        new EmployeeChooser(db, QStringLiteral("Dla których pracowników wczytać plany?"), this);

    m_selectChanged = new QPushButton(QStringLiteral("&Zaznacz zmienione"), this);
    m_selectChanged->setObjectName(QStringLiteral("SBZaznaczZmienione"));
    m_selectChanged->setToolTip(QStringLiteral(
        "Zaznacz pracowników, którzy dokonali zmian w swoich planach urlopowych"));
    m_selectChanged->setAutoDefault(false);
    m_import = new QPushButton(QStringLiteral("&Wczytaj"), this);
    m_import->setObjectName(QStringLiteral("SBWczytaj"));
    m_import->setAutoDefault(false);
    m_cancel = new QPushButton(QStringLiteral("&Anuluj"), this);
    m_cancel->setObjectName(QStringLiteral("SBAnuluj"));
    m_cancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_selectChanged);
    buttons->addStretch();
    buttons->addWidget(m_import);
    buttons->addWidget(m_cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(m_yearLabel);
    layout->addWidget(m_chooser, 1);
    layout->addLayout(buttons);
    resize(520, 480);

    connect(m_chooser, &EmployeeChooser::filterChanged, this, &TfImportPlan::Prepare);
    connect(m_selectChanged, &QPushButton::clicked, this, &TfImportPlan::SelectChanged);
    connect(m_import, &QPushButton::clicked, this, &TfImportPlan::Import);
    connect(m_cancel, &QPushButton::clicked, this, &TfImportPlan::reject);
}

TfImportPlan::~TfImportPlan() = default;

bool TfImportPlan::Execute(int year, int unitFilter)
{
    m_year = year;
    m_unit = unitFilter > 0 ? unitFilter : -1;
    m_success = false;
    exec();
    return m_success;
}

void TfImportPlan::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        m_chooser->LoadUnits();
        m_chooser->setUnitFilter(m_unit);
        Prepare();
        m_chooser->list()->setFocus();
    }
    QDialog::showEvent(event);
}

void TfImportPlan::Prepare()
{
    m_chooser->LoadEmployees(m_year);
    m_yearLabel->setText(QStringLiteral("Plan na rok ") + QString::number(m_year));
    m_success = false;
}

void TfImportPlan::SelectChanged()
{
    m_chooser->deselectAll();
    TWorkingWithXML files(m_db, m_year);
    RunProgress progress(this, windowTitle(), QStringLiteral("Sprawdzanie planu: "),
                         progressDelayMs);
    files.setProgress(progress.callback());
    QStringList keys;
    const bool found = files.FindChangedPlanFiles(keys);
    progress.finish();
    if (found) {
        m_chooser->selectKeys(QSet<QString>(keys.cbegin(), keys.cend()));
    } else if (!files.lastRun().cancelled) {
        m_dialogs.information(kCaptionInformation,
                              QStringLiteral("Nie znaleziono żadnego planu który wymagałby "
                                             "wczytania. Wszyskie plany są aktualne."));
    }
}

void TfImportPlan::Import()
{
    const QStringList keys = m_chooser->selectedKeys();
    if (keys.isEmpty()) {
        m_dialogs.information(
            kCaptionInformation,
            QStringLiteral("Nie wskazano żadnego pracownika, dla którego ma być wczytany plan."));
        return;
    }
    TWorkingWithXML files(m_db, m_year);
    RunProgress progress(this, windowTitle(), QStringLiteral("Wczytywanie planu: "),
                         progressDelayMs);
    files.setProgress(progress.callback());
    const bool stored = files.ImportPlanFiles(keys);
    progress.finish();
    const PlanFilesRun& run = files.lastRun();
    const QString skipped = skippedText(files.SkippedCount());
    if (stored)
        m_success = true;
    if (run.cancelled) {
        m_dialogs.information(kCaptionInformation,
                              QStringLiteral("Wczytywanie planów zostało przerwane. Wczytano %1 "
                                             "z %2 planów.")
                                      .arg(run.done)
                                      .arg(run.total) +
                                  skipped);
    } else if (stored && run.stopped) {
        m_dialogs.information(kCaptionInformation,
                              QStringLiteral("Wczytywanie planów zostało przerwane z powodu błędu "
                                             "przy pracowniku %1. Wczytano wcześniej %2 z %3 "
                                             "planów.")
                                      .arg(run.stoppedAt)
                                      .arg(run.done)
                                      .arg(run.total) +
                                  skipped);
    } else if (stored) {
        m_dialogs.information(
            kCaptionInformation,
            QStringLiteral("Wczytywanie planów zakończyło się sukcesem.") + skipped);
    }
    accept();
}

} // namespace zf
