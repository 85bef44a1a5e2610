#include "planfiles/exportwindow.h"

#include "app/programoptions.h"
#include "data/mydatabase.h"
#include "planfiles/employeechooser.h"
#include "planfiles/runprogress.h"
#include "planfiles/workingwithxml.h"
#include "util/dialogs.h"
#include "util/textcodec.h"

#include <QCheckBox>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace zf {

TfExportPlan::TfExportPlan(TmyDataBase& db, Dialogs& dialogs, const ProgramOptions& options,
                           QWidget* parent)
    : QDialog(parent), m_db(db), m_dialogs(dialogs), m_options(options)
{
    setObjectName(QStringLiteral("TfExportPlan"));
    setWindowTitle(QStringLiteral("Wygeneruj plan do edycji"));
    setModal(true);

    auto* heading = new QLabel(
        QStringLiteral("Wygeneruj plany dla pracowników i zapisz do zewnętrznych plików"), this);
    heading->setObjectName(QStringLiteral("lblNaglowek"));
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    heading->setFont(headingFont);
    m_yearLabel = new QLabel(this);
    m_yearLabel->setObjectName(QStringLiteral("lblRok"));

    m_chooser = new EmployeeChooser(
        db, QStringLiteral("Dla których pracowników wygenerować plany?"), this);
    m_includeDays = new QCheckBox(
        QStringLiteral("Dołącz do planu już istniejące wskazane dni urlopu"), this);
    m_includeDays->setObjectName(QStringLiteral("cbDolaczDni"));
    m_checkRange = new QCheckBox(
        QStringLiteral("Kontroluj ilość dni urlopu względem przysługującego wymiaru urlopu"), this);
    m_checkRange->setObjectName(QStringLiteral("cbKontrolujZakres"));
    auto* commentLabel = new QLabel(QStringLiteral("Komentarz:"), this);
    m_comment = new QPlainTextEdit(this);
    m_comment->setObjectName(QStringLiteral("mKomentarz"));
    m_comment->setTabChangesFocus(true);
    m_comment->setMaximumHeight(fontMetrics().height() * 5);
    commentLabel->setBuddy(m_comment);

    m_generate = new QPushButton(QStringLiteral("&Wygeneruj"), this);
    m_generate->setObjectName(QStringLiteral("SBWygeneruj"));
    m_generate->setAutoDefault(false);
    m_cancel = new QPushButton(QStringLiteral("&Anuluj"), this);
    m_cancel->setObjectName(QStringLiteral("SBAnuluj"));
    m_cancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_generate);
    buttons->addWidget(m_cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(m_yearLabel);
    layout->addWidget(m_chooser, 1);
    layout->addWidget(m_includeDays);
    layout->addWidget(m_checkRange);
    layout->addWidget(commentLabel);
    layout->addWidget(m_comment);
    layout->addLayout(buttons);
    resize(520, 560);

    connect(m_chooser, &EmployeeChooser::filterChanged, this, &TfExportPlan::Prepare);
    connect(m_generate, &QPushButton::clicked, this, &TfExportPlan::Generate);
    connect(m_cancel, &QPushButton::clicked, this, &TfExportPlan::reject);
}

TfExportPlan::~TfExportPlan() = default;

bool TfExportPlan::Execute(int year, int unitFilter)
{
    m_year = year;
    m_unit = unitFilter > 0 ? unitFilter : -1;
    m_success = false;
    exec();
    return m_success;
}

void TfExportPlan::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        m_chooser->LoadUnits();
        m_chooser->setUnitFilter(m_unit);
        Prepare();
        m_chooser->list()->setFocus();
    }
    QDialog::showEvent(event);
}

void TfExportPlan::Prepare()
{
    m_comment->clear();
    m_includeDays->setChecked(true);
    m_checkRange->setChecked(m_options.sprawdzZakresUrlopu);
    m_chooser->LoadEmployees(m_year);
    m_yearLabel->setText(QStringLiteral("Plan na rok ") + QString::number(m_year));
    m_success = false;
}

void TfExportPlan::Generate()
{
    const QStringList keys = m_chooser->selectedKeys();
    if (keys.isEmpty()) {
        m_dialogs.information(
            kCaptionInformation,
            QStringLiteral("Nie wskazano żadnego pracownika, dla którego ma być wygenerowany plan."));
        return;
    }
    // The file is Windows-1250, and the editing program is a Windows program: a memo's line
    // breaks are CR LF there.
    QString comment = m_comment->toPlainText();
    const QString bad = nonCp1250Characters(comment);
    if (!bad.isEmpty()) {
        m_dialogs.information(kCaptionInformation,
                              QStringLiteral("Komentarz zawiera znaki, których nie można zapisać "
                                             "w pliku planu: ") +
                                  bad);
        return;
    }
    comment.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));

    TWorkingWithXML files(m_db, m_year);
    RunProgress progress(this, windowTitle(), QStringLiteral("Generowanie planu: "),
                         progressDelayMs);
    files.setProgress(progress.callback());
    const bool ok = files.WritePlanFiles(keys, comment, m_includeDays->isChecked(),
                                         m_checkRange->isChecked());
    progress.finish();
    const PlanFilesRun& run = files.lastRun();
    if (ok) {
        m_success = true;
        m_dialogs.information(kCaptionInformation,
                              QStringLiteral("Generowanie planów zakończyło się sukcesem."));
    } else if (run.cancelled) {
        m_dialogs.information(kCaptionInformation,
                              QStringLiteral("Generowanie planów zostało przerwane. "
                                             "Wygenerowano %1 z %2 planów.")
                                  .arg(run.done)
                                  .arg(run.total));
    }
    accept();
}

} // namespace zf
