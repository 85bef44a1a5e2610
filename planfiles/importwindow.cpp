#include "planfiles/importwindow.h"

#include "data/mydatabase.h"
#include "planfiles/employeechooser.h"
#include "planfiles/returnedfiles.h"
#include "planfiles/runprogress.h"
#include "planfiles/workingwithxml.h"
#include "util/dialogs.h"
#include "util/ovtools.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QStandardPaths>

#include <algorithm>

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
    : TPlanFilesWindow(db, dialogs, options, QStringLiteral("Wczytaj plany z plików"),
                       QStringLiteral("Wczytaj plany z zewnętrznych plików"),
                       QStringLiteral("Dla których pracowników wczytać plany?"), parent)
{
    setObjectName(QStringLiteral("TfImportPlan"));
    m_selectChanged = new QPushButton(QStringLiteral("&Zaznacz zmienione"), this);
    m_selectChanged->setObjectName(QStringLiteral("SBZaznaczZmienione"));
    m_selectChanged->setToolTip(
        QStringLiteral("Zaznacz pracowników, którzy dokonali zmian w swoich planach urlopowych"));
    m_selectChanged->setAutoDefault(false);
    m_import = new QPushButton(QStringLiteral("&Wczytaj"), this);
    m_import->setObjectName(QStringLiteral("SBWczytaj"));
    m_import->setAutoDefault(false);
    m_addFiles = new QPushButton(QStringLiteral("&Dodaj pliki…"), this);
    m_addFiles->setObjectName(QStringLiteral("SBDodajPliki"));
    m_addFiles->setAccessibleName(QStringLiteral("Dodaj pliki"));
    m_addFiles->setToolTip(QStringLiteral("Dodaj do katalogu planu pliki odesłane przez "
                                          "pracowników, np. zapisane z poczty"));
    m_addFiles->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_addFiles);
    buttons->addWidget(m_selectChanged);
    buttons->addStretch();
    buttons->addWidget(m_import);
    buttons->addWidget(m_cancel);
    m_layout->addLayout(buttons);
    resize(520, 480);

    connect(m_selectChanged, &QPushButton::clicked, this, &TfImportPlan::SelectChanged);
    connect(m_import, &QPushButton::clicked, this, &TfImportPlan::Import);
    connect(m_addFiles, &QPushButton::clicked, this, &TfImportPlan::AddFiles);
}

TfImportPlan::~TfImportPlan() = default;

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
    } else if (!files.lastRun().cancelled && !files.lastRun().stopped) {
        m_dialogs.information(kCaptionInformation,
                              QStringLiteral("Nie znaleziono żadnego planu który wymagałby "
                                             "wczytania. Wszyskie plany są aktualne."));
    }
}

void TfImportPlan::AddFiles()
{
    const QStringList paths = m_dialogs.openFileNames(
        QStringLiteral("Dodaj odesłane pliki planów"),
        QStandardPaths::writableLocation(QStandardPaths::DownloadLocation),
        {QStringLiteral("Plany urlopowe (*.zfpn)"), QStringLiteral("Wszystkie pliki (*)")});
    if (paths.isEmpty())
        return;
    std::vector<ReturnedFile> files;
    if (!ReturnedFilesIntake(m_db, m_dialogs, m_year).Add(paths, files))
        return;
    m_dialogs.information(kCaptionInformation, ReturnedFilesIntake::Summary(files));
    if (std::any_of(files.cbegin(), files.cend(), [](const ReturnedFile& f) { return f.added; }))
        SelectChanged();
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
    const QString folder = TOVTools::ExcludeTrailingBackslash(files.planFolder());
    if (stored)
        m_success = true;
    if (run.cancelled) {
        m_dialogs.information(kCaptionInformation,
                              QStringLiteral("Wczytywanie planów zostało przerwane. Wczytano %1 "
                                             "z %2 planów (folder: %3).")
                                      .arg(run.done)
                                      .arg(run.total)
                                      .arg(folder) +
                                  skipped);
    } else if (run.stopped && !run.stoppedAt.isEmpty()) {
        // Never the success message: the clerk must know where to go on from.
        m_dialogs.information(
            kCaptionInformation,
            QStringLiteral("Wczytywanie planów zostało przerwane z powodu błędu. Zapisano plany "
                           "%1 z %2 pracowników (folder: %3). Nie zapisano planu pracownika %4 "
                           "ani następnych; ich pliki można wczytać ponownie (\"Zaznacz "
                           "zmienione\" wskaże je).")
                    .arg(run.done)
                    .arg(run.total)
                    .arg(folder, run.stoppedAt) +
                skipped);
    } else if (stored && !run.stopped) {
        m_dialogs.information(kCaptionInformation,
                              QStringLiteral("Wczytywanie planów zakończyło się sukcesem.") +
                                  QStringLiteral(" Liczba wczytanych plików: %1, folder: %2.")
                                      .arg(run.done)
                                      .arg(folder) +
                                  skipped);
    }
    accept();
}

} // namespace zf
