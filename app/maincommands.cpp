// The generic grid commands, the find dialog, the CSV export and the help commands of TfMain.
#include "app/finddialog.h"
#include "app/gridsearch.h"
#include "app/manualchapters.h"
#include "app/manualwindow.h"
#include "app/mainwindow.h"
#include "data/dbgrid.h"
#include "data/fb/dataset.h"
#include "data/mydatabase.h"
#include "data/programoptions.h"
#include "util/csvexport.h"
#include "util/dialogs.h"
#include "util/mail.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSysInfo>
#include <QUrl>

namespace zf {

TDBGrid* TfMain::shownGrid() const
{
    switch (m_page) {
    case Page::Personnel:
        return m_osobowaGrid;
    case Page::Deadlines:
        return m_terminarzGrid;
    default:
        return nullptr;
    }
}

const TfMain::GridCommands* TfMain::shownCommands() const
{
    switch (m_page) {
    case Page::Personnel:
        return &m_personnel;
    case Page::Deadlines:
        return &m_scheduler;
    default:
        return nullptr;
    }
}

bool TfMain::takeCopyFlag()
{
    const bool was = m_copyFlag;
    m_copyFlag = false;
    return was;
}

void TfMain::cmdPodglad()
{
    const GridCommands* commands = shownCommands();
    if (!commands)
        return;
    if (m_page == Page::Personnel)
        m_deps.db.Reopen(m_deps.db.DBFUnits);
    if (shownGrid()->dataSet()->isEmpty() || !commands->view)
        return;
    commands->view();
}

void TfMain::cmdDodaj()
{
    const GridCommands* commands = shownCommands();
    if (commands && commands->add && m_shownFlag && m_editableFlag)
        commands->add();
}

void TfMain::cmdEdytuj()
{
    const GridCommands* commands = shownCommands();
    if (!commands)
        return;
    // Without the right to edit, editing becomes viewing.
    if (!m_genericButtons.at(QStringLiteral("SBEdytuj"))->isEnabled()) {
        cmdPodglad();
        return;
    }
    if (!shownGrid()->dataSet()->isEmpty() && commands->edit)
        commands->edit();
}

void TfMain::cmdUsun()
{
    const GridCommands* commands = shownCommands();
    if (!commands || !m_genericButtons.at(QStringLiteral("SBUsun"))->isEnabled())
        return;
    if (!shownGrid()->dataSet()->isEmpty() && commands->remove)
        commands->remove();
}

void TfMain::cmdKopiuj()
{
    if (!shownCommands() || !m_genericButtons.at(QStringLiteral("SBKopiuj"))->isEnabled())
        return;
    // The flag belongs to this one command: an add that did nothing must not leave it for the
    // next plain "Dodaj".
    m_copyFlag = true;
    cmdDodaj();
    m_copyFlag = false;
}

void TfMain::cmdSzukaj()
{
    TDBGrid* grid = shownGrid();
    if (!grid || !m_shownFlag)
        return;
    grid->dataSet()->first();
    m_searchStart = true;
    m_find->show();
    m_find->raise();
    m_find->activateWindow();
}

void TfMain::findNext(const QString& text)
{
    TDBGrid* grid = shownGrid();
    if (!grid)
        return;
    fb::DataSet& list = *grid->dataSet();
    const auto rowText = [grid, &list](int row) {
        QString joined;
        for (const TDBGridColumn& c : grid->columns()) {
            const int field = list.fieldIndex(c.field);
            if (field >= 0)
                joined += list.displayTextAt(row, field);
        }
        return joined;
    };
    if (zf::findNext(list, rowText, m_searchStart, text) == FindResult::NotFound)
        m_deps.dialogs.information(
            kCaptionInformation,
            QStringLiteral("Podany tekst nie został znaleziony lub dotarto do ostatniej pozycji "
                           "tabeli. Spróbuj przeszukać listę od początku."));
}

void TfMain::cmdDoCSV()
{
    if (!m_shownFlag || !m_editableFlag)
        return;
    QString proposed = QStringLiteral("nazwa_tabeli");
    if (m_page == Page::Personnel)
        proposed = QStringLiteral("Pracownicy");
    else if (m_page == Page::Deadlines)
        proposed = QStringLiteral("Terminy");
    const QString path = m_deps.dialogs.saveFileName(
        QStringLiteral("Eksportuj dane do arkusza .CSV"), proposed + QStringLiteral(".csv"),
        {QStringLiteral("Arkusz .CSV (*.csv)"), QStringLiteral("Wszystkie pliki (*.*)")},
        QStringLiteral("csv"));
    if (path.isEmpty())
        return;
    TDBGrid* grid = shownGrid();
    if (!grid)
        return;
    const QList<QStringList> table = grid->csvTable();
    if (TOVExportToCSV::ExportGrid(table, path))
        m_deps.dialogs.information(kCaptionInformation, QStringLiteral("Eksport zakończony poprawnie"));
    else
        m_deps.dialogs.information(kCaptionInformation,
                                   QStringLiteral("Nie udało się wyeksportować danych"));
}

// --- help -------------------------------------------------------------------------------------

void TfMain::helpManual(QWidget* window)
{
    if (!window)
        window = this;
    const QString page = m_page == Page::Start   ? QStringLiteral("start")
                         : m_page == Page::Plans ? QStringLiteral("plans")
                                                 : QStringLiteral("other");
    const QString chapter = ManualChapterOf(
        QString::fromLatin1(window->metaObject()->className()), window == this ? page : QString());
    const QString manual =
        m_deps.programFolder + QStringLiteral("/dokumentacja/Instrukcja obslugi.pdf");
    // Beside a modal window the manual must be that window's child, or it could not be used.
    QWidget* owner = QApplication::activeModalWidget();
    if (!owner || owner == m_manual)
        owner = this;
    // Shown by the program itself: a fresh desktop often has no PDF viewer at all.
    if (!m_manual) {
        m_manual = new TfInstrukcja(owner);
        m_manual->openElsewhere = [this](const QString& path) {
            if (openExternally)
                openExternally(path, QStringLiteral("instrukcji obsługi"));
        };
    } else if (m_manual->parentWidget() != owner) {
        m_manual->setParent(owner, m_manual->windowFlags());
    }
    if (m_manual->path() != manual || m_manual->pageCount() == 0) {
        if (!m_manual->openManual(manual)) {
            m_deps.dialogs.information(
                kCaptionInformation,
                QStringLiteral("Nie udało się otworzyć instrukcji obsługi z pliku: %1\nSprawdź, "
                               "czy plik istnieje; w razie potrzeby zainstaluj program ponownie.")
                    .arg(QDir::toNativeSeparators(manual)));
            return;
        }
    }
    if (!chapter.isEmpty())
        m_manual->openChapter(chapter);
    m_manual->show();
    m_manual->raise();
    m_manual->activateWindow();
}

void TfMain::helpSupportMail()
{
    TMapiSendMail mail;
    mail.Too.clear();
    mail.Too << m_deps.options.email;
    mail.Subject = QStringLiteral("Prośba o promoc techniczną (") +
                   QStringLiteral("Zefirant PL+ %1, %2, %3")
                       .arg(m_deps.options.version, QSysInfo::prettyProductName(),
                            QSysInfo::machineHostName()) +
                   QLatin1Char(')');
    mail.Attachments.clear();
    const QString log = m_deps.dataFolder + QStringLiteral("/debug/error.log");
    if (QFile::exists(log))
        mail.Attachments << log;
    mail.Text = {QStringLiteral("Opisz dokładnie swój problem podając:"),
                 QString(),
                 QStringLiteral("1. Dokładny opis czego problem dotyczy"),
                 QStringLiteral("2. Numer wersji programu ZefirantPL+"),
                 QStringLiteral("3. Posiadany system operacyjny"),
                 QStringLiteral("4. Treść pojawiających się komunikatów"),
                 QStringLiteral("5. Zrzuty ekranu obrazujące zaistniały problem (klawisz print "
                                "screen <PtrSc>)")};
    mail.Send(this, [this](bool ok) {
        if (!ok)
            m_deps.dialogs.information(
                kCaptionInformation,
                QStringLiteral("Nie udało się otworzyć programu pocztowego (xdg-email). Napisz do "
                               "pomocy technicznej samodzielnie na adres: %1")
                    .arg(m_deps.options.email));
    });
}

void TfMain::helpErrorLog()
{
    m_deps.db.WriteErrorLog(QStringLiteral("[9999999999]  db location=") + m_deps.db.location);
    m_deps.db.WriteErrorLog(QStringLiteral("[9999999999]  user data location=") +
                            m_deps.dataFolder);
    m_deps.db.WriteErrorLog(QStringLiteral("[9999999999]  install dir=") + m_deps.programFolder);
    const QString log = m_deps.db.errorLog().path();
    if (!QFile::exists(log))
        m_deps.dialogs.information(kCaptionInformation, QStringLiteral("Log błędów jest pusty."));
    if (openExternally)
        openExternally(log, QStringLiteral("logu błędów"));
}

void TfMain::helpTipOfTheDay()
{
    if (onTipOfTheDay)
        onTipOfTheDay();
}

void TfMain::helpAbout()
{
    if (onAbout)
        onAbout();
}

} // namespace zf
