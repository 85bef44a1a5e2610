// The main window's pages, generic commands, find, CSV export and help commands on a running
// program with a real database.
#include "app/about.h"
#include "data/dbgrid.h"
#include "app/fiszka.h"
#include "app/finddialog.h"
#include "app/mainwindow.h"
#include "app/manualwindow.h"
#include "app/poradadnia.h"
#include "app/reportspage.h"
#include "data/mydatabase.h"
#include "personnel/personnel.h"
#include "tests/app/apprun.h"
#include "tests/support/qtest_main.h"
#include "util/gridstorage.h"
#include "util/inifile.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QHelpEvent>
#include <QToolTip>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSpinBox>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace zf;

class MainWindowTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<test::Run> m_run;
    QStringList m_opened;
    // What the program's own opener does, kept before the tests replace it.
    std::function<void(const QString&, const QString&)> m_realOpen;
    // The main window as the login window found it: menus and section buttons enabled.
    QStringList m_enabledUnderLogin;
    bool m_loginSeen = false;

    TfMain& w() { return m_run->app->mainWindow(); }
    TmyDataBase& db() { return m_run->app->db(); }
    test::ScriptedDialogs& dialogs() { return m_run->dialogs; }

    void addEmployee(const QString& id, const QString& surname, const QString& name,
                     const QString& email = QString())
    {
        QVERIFY(db().Write(TmyDataBase::DBFUEmployees.insertSql,
                           {{QStringLiteral("IDEMPLOYEE"), id},
                            {QStringLiteral("SURNAME"), surname},
                            {QStringLiteral("NAME"), name},
                            {QStringLiteral("IDDICUNIT"), -1},
                            {QStringLiteral("EMAIL"), email},
                            {QStringLiteral("FILENAME"), id.toLower()},
                            {QStringLiteral("PWD"), QStringLiteral("x")},
                            {QStringLiteral("ACT"), QStringLiteral("T")}},
                           1));
    }

    bool buttonEnabled(const char* name)
    {
        return w().findChild<QPushButton*>(QString::fromLatin1(name))->isEnabled();
    }
    bool active(const char* name)
    {
        return w().sectionButton(QString::fromLatin1(name))->property("active").toBool();
    }

private slots:
    void initTestCase()
    {
        // The program's first start, done once for all the cases here.
        {
            test::Run first(m_dir.path());
            test::quickCreate();
            test::login(QStringLiteral("admin"), QStringLiteral("zefirant"));
            QVERIFY(first.app->start());
        }
        IniFile(m_dir.path() + QStringLiteral("/zefirant.ini"))
            .writeString(QStringLiteral("TOOLS"), QStringLiteral("name3"), QStringLiteral("Kalkulator"));
        m_run = std::make_unique<test::Run>(m_dir.path());
        test::whenModal<TfLogin>([this](TfLogin*) {
            m_loginSeen = true;
            TfMain& main = m_run->app->mainWindow();
            for (QAction* menu : main.menuBar()->actions()) {
                if (menu->isEnabled())
                    m_enabledUnderLogin << menu->text();
                for (QAction* item : menu->menu()->actions())
                    if (item->isEnabled() && !item->isSeparator() && item->isVisible())
                        m_enabledUnderLogin << item->text();
            }
            for (QToolButton* b : main.findChildren<QToolButton*>())
                if (b->property("active").isValid() && b->isEnabled())
                    m_enabledUnderLogin << b->text();
        });
        test::login(QStringLiteral("admin"), QStringLiteral("zefirant"));
        QVERIFY(m_run->app->start());
        m_realOpen = w().openExternally;
        w().openExternally = [this](const QString& p, const QString&) { m_opened << p; };
        addEmployee(QStringLiteral("001"), QStringLiteral("KOWALSKI"), QStringLiteral("Jan"),
                    QStringLiteral("jan\"cudzysłów\"@x.pl"));
        addEmployee(QStringLiteral("002"), QStringLiteral("Łukasik"), QStringLiteral("Anna"),
                    QStringLiteral("a`b@x.pl"));
        addEmployee(QStringLiteral("003"), QStringLiteral("Kowalska"), QStringLiteral("Ewa"));
        addEmployee(QStringLiteral("004"), QStringLiteral("łoś"), QStringLiteral("Piotr"));
    }

    void init() { dialogs().clear(); }

    void pagesSetTheGenericButtons()
    {
        auto* row = w().findChild<QWidget*>(QStringLiteral("pnlGenericButtons"));
        w().showStartPage();
        QVERIFY(!row->isVisibleTo(&w()));
        for (const char* b : {"SBPodglad", "SBDodaj", "SBEdytuj", "SBUsun", "SBKopiuj", "SBSzukaj", "SBdoCSV"})
            QVERIFY2(!buttonEnabled(b), b);
        QVERIFY(!active("SBPlany") && !active("SBPracownicy") && !active("SBRaporty") && !active("SBTerminarz"));

        w().showPersonnelPage();
        QVERIFY(row->isVisibleTo(&w()));
        for (const char* b : {"SBPodglad", "SBDodaj", "SBEdytuj", "SBUsun", "SBKopiuj", "SBSzukaj", "SBdoCSV"})
            QVERIFY2(buttonEnabled(b), b);
        QVERIFY(active("SBPracownicy"));
        QCOMPARE(w().osobowaGrid()->model()->rowCount(), 4);

        w().showPlansPage();
        QVERIFY(!row->isVisibleTo(&w()));
        QVERIFY(active("SBPlany") && !active("SBPracownicy"));

        // The menu item does what the section button does.
        w().action(QStringLiteral("actRaporty"))->trigger();
        QCOMPARE(w().currentPage(), TfMain::Page::Reports);
        QVERIFY(active("SBRaporty"));
        QVERIFY(!row->isVisibleTo(&w()));
        QCOMPARE(w().reportsPage()->filtrPracownik->count(), 4);
        QCOMPARE(w().reportsPage()->filtrMiesiac->currentText(), QStringLiteral("(Cały rok)"));
        QCOMPARE(w().reportsPage()->filtrPracownik->currentIndex(), -1);

        w().action(QStringLiteral("actTerminarz"))->trigger();
        QCOMPARE(w().currentPage(), TfMain::Page::Deadlines);
        QVERIFY(row->isVisibleTo(&w()));
        QVERIFY(dialogs().shown().empty());
    }

    void genericCommandsDispatchToTheShownList()
    {
        QStringList calls;
        w().setPersonnelCommands({[&] { calls << QStringLiteral("view"); },
                                  [&] { calls << (w().takeCopyFlag() ? QStringLiteral("copy") : QStringLiteral("add")); },
                                  [&] { calls << QStringLiteral("edit"); },
                                  [&] { calls << QStringLiteral("remove"); }});
        w().showPlansPage();
        w().cmdDodaj();
        w().cmdEdytuj();
        QVERIFY(calls.isEmpty()); // nothing on other pages

        w().showPersonnelPage();
        w().cmdPodglad();
        w().cmdDodaj();
        w().cmdKopiuj();
        w().cmdEdytuj();
        w().cmdUsun();
        QCOMPARE(calls, (QStringList{QStringLiteral("view"), QStringLiteral("add"), QStringLiteral("copy"),
                                     QStringLiteral("edit"), QStringLiteral("remove")}));
        QVERIFY(!w().copyFlag());

        // A copy whose add does nothing leaves no flag for the next plain add.
        calls.clear();
        w().setPersonnelCommands({});
        w().cmdKopiuj();
        w().setPersonnelCommands({[&] { calls << QStringLiteral("view"); },
                                  [&] { calls << (w().takeCopyFlag() ? QStringLiteral("copy") : QStringLiteral("add")); },
                                  [&] { calls << QStringLiteral("edit"); },
                                  [&] { calls << QStringLiteral("remove"); }});
        w().cmdDodaj();
        QCOMPARE(calls, QStringList{QStringLiteral("add")});

        // Keys of the grid: Insert adds, F2 and Enter edit, Ctrl+O views.
        calls.clear();
        TDBGrid* grid = w().osobowaGrid();
        w().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w()));
        grid->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(grid));
        QTest::keyClick(grid, Qt::Key_Insert);
        QTest::keyClick(grid, Qt::Key_F2);
        QTest::keyClick(grid, Qt::Key_Return);
        QTest::keyClick(grid, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(calls, (QStringList{QStringLiteral("add"), QStringLiteral("edit"), QStringLiteral("edit"),
                                     QStringLiteral("view")}));

        // Without the right to edit, "Edytuj" views and "Usuń" does nothing.
        calls.clear();
        w().setGenericFlags(true, false);
        w().cmdEdytuj();
        w().cmdUsun();
        QCOMPARE(calls, QStringList{QStringLiteral("view")});
        // Back to the program's own commands.
        TPersonnel& p = m_run->app->personnel();
        w().setPersonnelCommands({[&p] { p.View(); }, [&p, this] { p.Add(w().takeCopyFlag()); },
                                  [&p] { p.Edit(); }, [&p] { p.Delete(); }});
        w().showPersonnelPage();
    }

    void deleteKeyWithoutTheQuestionDeletesAtOnce()
    {
        m_run->app->options().pytajPrzedKasowaniem = false;
        addEmployee(QStringLiteral("099"), QStringLiteral("Doskasowania"), QStringLiteral("Adam"));
        w().showPersonnelPage();
        QVERIFY(db().LocateByText(db().DBFEmployees, QStringLiteral("IDEMPLOYEE"), QStringLiteral("099")));
        w().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w()));
        w().osobowaGrid()->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w().osobowaGrid()));
        QTest::keyClick(w().osobowaGrid(), Qt::Key_Delete);
        QVERIFY(dialogs().shown().empty());
        QVERIFY(!db().RecordExists(QStringLiteral("099"), QStringLiteral("EMPLOYEES"), QStringLiteral("IDEMPLOYEE")));
        QCOMPARE(db().DBFEmployees.recordCount(), 4);
        m_run->app->options().pytajPrzedKasowaniem = true;
    }

    void findSearchesDownwardsWithItsOwnCaseRule()
    {
        w().showPersonnelPage();
        db().SortEmployeesBy(QStringLiteral("IDEMPLOYEE"));
        if (!db().employeesSortAscending)
            db().SortEmployeesBy(QStringLiteral("IDEMPLOYEE"));
        auto& list = db().DBFEmployees;
        list.setCurrentRow(2);
        w().cmdSzukaj();
        QVERIFY(w().findDialog()->isVisible());
        QCOMPARE(list.currentRow(), 0);
        w().findNext(QStringLiteral("kowal"));
        QCOMPARE(list.asString(QStringLiteral("IDEMPLOYEE")), QStringLiteral("001"));
        QCOMPARE(w().osobowaGrid()->currentIndex().row(), 0);
        w().findNext(QStringLiteral("kowal"));
        QCOMPARE(list.asString(QStringLiteral("IDEMPLOYEE")), QStringLiteral("003"));
        w().findNext(QStringLiteral("kowal"));
        QCOMPARE(list.currentRow(), 0);
        QCOMPARE(dialogs().informationTexts(),
                 QStringList{QStringLiteral("Podany tekst nie został znaleziony lub dotarto do ostatniej "
                                            "pozycji tabeli. Spróbuj przeszukać listę od początku.")});
        // Only a to z change case: "łoś" is not found as "ŁOŚ".
        w().cmdSzukaj();
        w().findNext(QStringLiteral("ŁOŚ"));
        QCOMPARE(list.currentRow(), 0);
        w().cmdSzukaj();
        w().findNext(QStringLiteral("łoś"));
        QCOMPARE(list.asString(QStringLiteral("IDEMPLOYEE")), QStringLiteral("004"));
        w().findDialog()->hide();
    }

    void csvExportWritesTheShownGrid()
    {
        w().showPersonnelPage();
        db().SortEmployeesBy(QStringLiteral("IDEMPLOYEE"));
        if (!db().employeesSortAscending)
            db().SortEmployeesBy(QStringLiteral("IDEMPLOYEE"));
        db().DBFEmployees.setCurrentRow(1);
        const QString path = m_dir.path() + QStringLiteral("/Pracownicy.csv");
        dialogs().chooseFile(path);
        w().cmdDoCSV();
        QCOMPARE(dialogs().informationTexts(), QStringList{QStringLiteral("Eksport zakończony poprawnie")});
        QCOMPARE(db().DBFEmployees.currentRow(), 1);
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = f.readAll().split('\n');
        QCOMPARE(lines.size(), 6); // header, four rows, and the empty rest after the last CR LF
        QCOMPARE(lines[0], QByteArray("\"Zw?\";\"Nr ewid.\";\"Imi\xea i nazwisko\";\"Zesp\xf3\xb3\";"
                                      "\"Nazwa pliku planu urlopowego\";\"Email\"\r"));
        QCOMPARE(lines[1], QByteArray("\"\";\"001\";\"Jan KOWALSKI\";\"\";\"001.zfpn\";"
                                      "\"jan`cudzys\xb3\xf3w`@x.pl\"\r"));
        QCOMPARE(lines[2], QByteArray("\"\";\"002\";\"Anna \xa3ukasik\";\"\";\"002.zfpn\";\"a'b@x.pl\"\r"));

        // Cancelling the file choice does nothing; a file that cannot be written is reported.
        dialogs().clear();
        dialogs().chooseFile(QString());
        w().cmdDoCSV();
        QVERIFY(dialogs().informationTexts().isEmpty());
        dialogs().chooseFile(m_dir.path() + QStringLiteral("/no/such/folder/x.csv"));
        w().cmdDoCSV();
        QCOMPARE(dialogs().informationTexts(), QStringList{QStringLiteral("Nie udało się wyeksportować danych")});
    }

    void columnTitlesSortThePersonnelList()
    {
        w().showPersonnelPage();
        auto* header = w().osobowaGrid()->horizontalHeader();
        const int nameColumn = 2;
        db().SortEmployeesBy(QStringLiteral("IDEMPLOYEE"));
        const bool ascending = db().employeesSortAscending;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(nameColumn) + 5, 5));
        QCOMPARE(db().employeesSortColumn, QStringLiteral("NAME_O"));
        QCOMPARE(db().employeesSortAscending, ascending);
        QCOMPARE(w().osobowaGrid()->activeTitle(), QStringLiteral("NAME_O"));
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(nameColumn) + 5, 5));
        QCOMPARE(db().employeesSortAscending, !ascending);
    }

    void defaultWidthsComeBack()
    {
        TDBGrid* grid = w().osobowaGrid();
        const int designed = grid->columnWidth(1);
        grid->setColumnWidth(1, designed + 77);
        w().action(QStringLiteral("actDomyslneSzerokosci"))->trigger();
        QCOMPARE(grid->columnWidth(1), designed);
    }

    void toolsMenuShowsFilledSlots()
    {
        QVERIFY(w().action(QStringLiteral("actTool3"))->isVisible());
        QCOMPARE(w().action(QStringLiteral("actTool3"))->text(), QStringLiteral("Kalkulator"));
        QVERIFY(w().action(QStringLiteral("actTool15"))->isVisible());
        QCOMPARE(w().action(QStringLiteral("actTool15"))->text(), QStringLiteral("Archiwizacja bazy danych"));
        QVERIFY(!w().action(QStringLiteral("actTool0"))->isVisible());
    }

    void errorLogCommandWritesThreeLinesAndOpensTheLog()
    {
        const QString log = m_dir.path() + QStringLiteral("/debug/error.log");
        QFile::remove(log);
        m_opened.clear();
        w().action(QStringLiteral("actLogBledow"))->trigger();
        QFile f(log);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0].mid(21), QStringLiteral("[9999999999]  db location=") + db().location);
        QCOMPARE(lines[1].mid(21), QStringLiteral("[9999999999]  user data location=") + m_dir.path());
        QCOMPARE(lines[2].mid(21), QStringLiteral("[9999999999]  install dir=") + test::programFolder());
        QCOMPARE(m_opened, QStringList{log});
        QVERIFY(dialogs().shown().empty());

        // Without its folder the log cannot be written: the program says the log is empty.
        QDir(m_dir.path() + QStringLiteral("/debug")).removeRecursively();
        w().helpErrorLog();
        QCOMPARE(dialogs().informationTexts(), QStringList{QStringLiteral("Log błędów jest pusty.")});
        QDir().mkpath(m_dir.path() + QStringLiteral("/debug"));
    }

    void menusWaitForTheLogin()
    {
        QVERIFY(m_loginSeen);
        QVERIFY2(m_enabledUnderLogin.isEmpty(), qPrintable(m_enabledUnderLogin.join(u", ")));
        // After the login they work.
        QVERIFY(w().loggedIn());
        QVERIFY(w().action(QStringLiteral("actPomoc"))->isEnabled());
        QVERIFY(w().action(QStringLiteral("actPracownicy"))->isEnabled());
        QVERIFY(w().menuBar()->actions().value(0)->isEnabled());
        QVERIFY(w().sectionButton(QStringLiteral("SBPlany"))->isEnabled());
    }

    void manualIsShownInTheProgramsOwnWindow()
    {
        m_opened.clear();
        const QString manual = test::programFolder() + QStringLiteral("/dokumentacja/Instrukcja obslugi.pdf");
        QVERIFY(QFile::exists(manual));
        QTest::keyClick(&w(), Qt::Key_F1);
        if (!w().manualWindow())
            w().action(QStringLiteral("actPomoc"))->trigger();
        TfInstrukcja* viewer = w().manualWindow();
        QVERIFY(viewer);
        QTRY_VERIFY(viewer->isVisible());
        QVERIFY(dialogs().shown().empty());
        QVERIFY(m_opened.isEmpty());
        QVERIFY(viewer->pageCount() > 1);
        QCOMPARE(viewer->findChild<QLabel*>(QStringLiteral("lblLiczbaStron"))->text(),
                 QStringLiteral("z %1").arg(viewer->pageCount()));

        viewer->goToPage(1);
        QCOMPARE(viewer->findChild<QSpinBox*>(QStringLiteral("sePage"))->value(), 2);
        const qreal before = viewer->zoom();
        viewer->findChild<QPushButton*>(QStringLiteral("btnPowieksz"))->click();
        QVERIFY(viewer->zoom() > before);

        // Find goes to a page holding the text; a text the manual lacks finds nothing.
        auto* find = viewer->findChild<QLineEdit*>(QStringLiteral("edSzukaj"));
        find->setText(QStringLiteral("zzqqxx-brak"));
        QTest::qWait(200);
        QVERIFY(!viewer->findNext());
        find->setText(QStringLiteral("Zefirant"));
        QTRY_VERIFY(viewer->findNext());

        viewer->findChild<QPushButton*>(QStringLiteral("btnInnyProgram"))->click();
        QCOMPARE(m_opened, QStringList{manual});
        viewer->close();
    }

    void aFailingOpenerIsReported()
    {
        // xdg-open that finds no program for the file answers with a non-zero status.
        QTemporaryDir bin;
        QFile script(bin.path() + QStringLiteral("/xdg-open"));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nexit 1\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", bin.path().toUtf8() + ':' + oldPath);
        w().openExternally = m_realOpen;
        w().helpErrorLog();
        QTRY_COMPARE(dialogs().shown().size(), 1u);
        w().openExternally = [this](const QString& p, const QString&) { m_opened << p; };
        qputenv("PATH", oldPath);
        const QString text = dialogs().informationTexts().value(0);
        QVERIFY2(text.startsWith(QStringLiteral("Nie udało się otworzyć logu błędów: ")), qPrintable(text));
        QVERIFY(text.contains(m_dir.path() + QStringLiteral("/debug/error.log")));
    }

    void aMailProgramThatFailsIsReported()
    {
        QTemporaryDir bin;
        QFile script(bin.path() + QStringLiteral("/xdg-email"));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nexit 3\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", bin.path().toUtf8() + ':' + oldPath);
        w().action(QStringLiteral("actPomocTechniczna"))->trigger();
        QTRY_COMPARE(dialogs().shown().size(), 1u);
        qputenv("PATH", oldPath);
        QVERIFY(dialogs().informationTexts().value(0).startsWith(
            QStringLiteral("Nie udało się otworzyć programu pocztowego")));
    }

    void supportMailGoesToTheMailProgram()
    {
        QTemporaryDir bin;
        const QString record = bin.path() + QStringLiteral("/args.txt");
        QFile script(bin.path() + QStringLiteral("/xdg-email"));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"" + record.toUtf8() + "\"\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", bin.path().toUtf8() + ':' + oldPath);
        w().action(QStringLiteral("actPomocTechniczna"))->trigger();
        QTRY_VERIFY(QFileInfo(record).size() > 0);
        qputenv("PATH", oldPath);
        QFile r(record);
        QVERIFY(r.open(QIODevice::ReadOnly));
        const QString args = QString::fromUtf8(r.readAll());
        QVERIFY(args.contains(QStringLiteral("Prośba o promoc techniczną (Zefirant PL+ 2.5")));
        QVERIFY(args.contains(QStringLiteral("Opisz dokładnie swój problem podając:")));
        QVERIFY(args.contains(m_run->app->options().email));
    }

    void scratchPadAboutAndTipOfTheDay()
    {
        w().action(QStringLiteral("actFiszka"))->trigger();
        TfFiszka& pad = m_run->app->scratchPad();
        QVERIFY(pad.isVisible());
        QVERIFY(pad.text().contains(QStringLiteral("To jest notatnik, w którym możesz zapisywać informacje tymczasowe.")));
        pad.hide();

        QString version;
        test::whenModal<TfAbout>([&](TfAbout* a) {
            version = a->findChild<QLabel*>(QStringLiteral("lbWersja"))->text();
            a->accept();
        });
        w().action(QStringLiteral("actOProgramie"))->trigger();
        QCOMPARE(version, QStringLiteral("ver. 2.5"));

        test::whenModal<TfPoradaDnia>([](TfPoradaDnia* t) {
            t->findChild<QCheckBox*>(QStringLiteral("cbNiePokazuj"))->setChecked(true);
            t->accept();
        });
        w().action(QStringLiteral("actPoradaDnia"))->trigger();
        QVERIFY(!m_run->app->options().pokazujPoradeDnia);
        QCOMPARE(IniFile(m_dir.path() + QStringLiteral("/zefirant.ini"))
                     .readInteger(QStringLiteral("OPTIONS"), QStringLiteral("pokazujPoradeDnia"), 9),
                 0);
    }

    // F1 in a modal window: the manual at that window's chapter, as the window's child so that
    // it can be read beside it.
    void f1InAModalWindowOpensItsChapterBesideIt()
    {
        bool shown = false;
        bool beside = false;
        int page = -1;
        int expected = -2;
        test::whenModal<TfAbout>([&](TfAbout* a) {
            QTest::keyClick(a, Qt::Key_F1);
            if (TfInstrukcja* viewer = w().manualWindow()) {
                shown = viewer->isVisible();
                beside = viewer->parentWidget() == a;
                expected = viewer->chapterPage(QStringLiteral("O programie"));
                const bool settled =
                    QTest::qWaitFor([&] { return viewer->currentPage() == expected; });
                page = settled ? viewer->currentPage() : -3;
                viewer->close();
            }
            a->accept();
        });
        w().action(QStringLiteral("actOProgramie"))->trigger();
        QVERIFY(shown);
        QVERIFY(beside);
        QVERIFY(expected > 0);
        QCOMPARE(page, expected);
        QVERIFY(dialogs().shown().empty());
    }

    void disabledSectionButtonsLookDisabled()
    {
        QToolButton* button = w().sectionButton(QStringLiteral("SBSlowniki"));
        QVERIFY(button->isEnabled());
        const QImage enabled = button->grab().toImage();
        button->setEnabled(false);
        const QImage disabled = button->grab().toImage();
        button->setEnabled(true);
        QVERIFY(enabled != disabled);
    }

    void dialogHintsStayOutOfTheStatusBar()
    {
        QDialog dialog(&w());
        auto* button = new QPushButton(QStringLiteral("x"), &dialog);
        button->setToolTip(QStringLiteral("podpowiedź okna dialogowego"));
        w().setHintText(QString());
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(button, &enter);
        QVERIFY(w().hintText().isEmpty());
    }

    void hintsGoToTheStatusBarAndStayLong()
    {
        w().showPlansPage();
        auto* button = w().findChild<QPushButton*>(QStringLiteral("SBStworz"));
        QVERIFY(!button->toolTip().isEmpty());
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(button, &enter);
        QCOMPARE(w().hintText(), button->toolTip());
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(button, &leave);
        QVERIFY(w().hintText().isEmpty());

        QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(button, &help);
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), button->toolTip());
        QToolTip::hideText();
    }

    void cleanupTestCase()
    {
        m_run.reset();
    }
};

ZF_QTEST_MAIN(MainWindowTest)
#include "mainwindow_test.moc"
