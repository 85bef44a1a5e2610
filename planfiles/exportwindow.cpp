#include "planfiles/exportwindow.h"

#include "data/mydatabase.h"
#include "data/programoptions.h"
#include "planfiles/employeechooser.h"
#include "planfiles/planmailwindow.h"
#include "planfiles/runprogress.h"
#include "planfiles/workingwithxml.h"
#include "util/dialogs.h"
#include "util/ovtools.h"
#include "util/textcodec.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace zf {

TfExportPlan::TfExportPlan(TmyDataBase& db, Dialogs& dialogs, const ProgramOptions& options,
                           QWidget* parent)
    : TPlanFilesWindow(
          db, dialogs, options, QStringLiteral("Wygeneruj plan do edycji"),
          QStringLiteral("Wygeneruj plany dla pracowników i zapisz do zewnętrznych plików"),
          QStringLiteral("Dla których pracowników wygenerować plany?"), parent)
{
    setObjectName(QStringLiteral("TfExportPlan"));
    m_includeDays =
        new QCheckBox(QStringLiteral("Dołącz do planu już istniejące wskazane dni urlopu"), this);
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
    m_sendMail = new QPushButton(QStringLiteral("Wyślij &e-mailem"), this);
    m_sendMail->setObjectName(QStringLiteral("SBWyslijEmailem"));
    m_sendMail->setAccessibleName(QStringLiteral("Wyślij e-mailem"));
    m_sendMail->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_generate);
    buttons->addWidget(m_sendMail);
    buttons->addWidget(m_cancel);

    m_layout->addWidget(m_includeDays);
    m_layout->addWidget(m_checkRange);
    m_layout->addWidget(commentLabel);
    m_layout->addWidget(m_comment);
    m_layout->addLayout(buttons);
    resize(520, 560);

    connect(m_generate, &QPushButton::clicked, this, &TfExportPlan::Generate);
    connect(m_sendMail, &QPushButton::clicked, this, &TfExportPlan::GenerateAndSend);
}

TfExportPlan::~TfExportPlan() = default;

void TfExportPlan::Prepare()
{
    m_comment->clear();
    m_includeDays->setChecked(true);
    m_checkRange->setChecked(m_options.sprawdzZakresUrlopu);
    TPlanFilesWindow::Prepare();
}

void TfExportPlan::Generate()
{
    const QStringList keys = m_chooser->selectedKeys();
    if (keys.isEmpty()) {
        m_dialogs.information(
            kCaptionInformation,
            QStringLiteral(
                "Nie wskazano żadnego pracownika, dla którego ma być wygenerowany plan."));
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
    const bool ok =
        files.WritePlanFiles(keys, comment, m_includeDays->isChecked(), m_checkRange->isChecked());
    progress.finish();
    const PlanFilesRun& run = files.lastRun();
    // Where the files went and which stayed as they were, so the clerk can check the folder.
    const QString folder = TOVTools::ExcludeTrailingBackslash(files.planFolder());
    const QString leftAlone =
        run.leftAlone.isEmpty()
            ? QString()
            : QStringLiteral("\n\nPozostawiono bez zmian (%1):\n").arg(run.leftAlone.size()) +
                  FirstTenLines(run.leftAlone);
    if (ok) {
        m_success = true;
        m_dialogs.information(kCaptionInformation,
                              QStringLiteral("Generowanie planów zakończyło się sukcesem. Liczba "
                                             "zapisanych plików: %1, folder: %2.")
                                      .arg(run.done)
                                      .arg(folder) +
                                  leftAlone);
    } else if (run.cancelled) {
        m_dialogs.information(kCaptionInformation,
                              QStringLiteral("Generowanie planów zostało przerwane. "
                                             "Wygenerowano %1 z %2 planów (folder: %3).")
                                      .arg(run.done)
                                      .arg(run.total)
                                      .arg(folder) +
                                  leftAlone);
    }
    accept();
}

void TfExportPlan::GenerateAndSend()
{
    const QStringList keys = m_chooser->selectedKeys();
    Generate();
    if (!m_success)
        return;
    TfPlanMailResults mail(m_db, m_dialogs, m_year, parentWidget());
    mail.progressDelayMs = progressDelayMs;
    mail.SendAndShow(keys);
}

} // namespace zf
