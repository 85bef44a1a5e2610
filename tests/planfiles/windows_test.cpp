// The export and import windows offscreen: their texts, the unit filter, the refusals with
// nothing selected, and one export and one import through their buttons.
#include "data/mydatabase.h"
#include "data/programoptions.h"
#include "cipher/cipher.h"
#include "planfiles/exportwindow.h"
#include "planfiles/importwindow.h"
#include "planfiles/planfile.h"
#include "tests/planfiles/planfiles_seed.h"
#include "tests/support/modal.h"
#include "tests/support/qtest_main.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_env.h"
#include "tests/planfiles/planfiles_windows.h"

#include <QCheckBox>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace zf;

class TestPlanFilesWindows : public test::PlanFilesWindowTest
{
    Q_OBJECT

private slots:
    void init()
    {
        openPlan();
    }

    void cleanup() { closePlan(); }

    void exportWindowFiltersAndRefusesAnEmptyChoice()
    {
        TfExportPlan w(*db, *dialogs, options);
        QCOMPARE(w.windowTitle(), QStringLiteral("Wygeneruj plan do edycji"));
        bool result = true;
        test::whenModal<TfExportPlan>([&](TfExportPlan* win) {
            QCOMPARE(child<QLabel>(win, "lblRok")->text(), QStringLiteral("Plan na rok 2024"));
            // Unit 905 was given by the caller.
            QCOMPARE(child<QComboBox>(win, "cbZespol")->currentText(), QStringLiteral("Kadry testowe"));
            QCOMPARE(items(win, true), (QStringList{QStringLiteral("Adam Adamski (A1)"),
                                                    QStringLiteral("Beata Bednarz (B2)")}));
            QVERIFY(child<QCheckBox>(win, "cbDolaczDni")->isChecked());
            QVERIFY(!child<QCheckBox>(win, "cbKontrolujZakres")->isChecked());
            child<QPlainTextEdit>(win, "mKomentarz")->setPlainText(QStringLiteral("x"));
            QTest::mouseClick(child<QPushButton>(win, "SBPokazWszystkich"), Qt::LeftButton);
            QCOMPARE(items(win, true).size(), 3);
            QVERIFY(child<QPlainTextEdit>(win, "mKomentarz")->toPlainText().isEmpty());
            child<QListWidget>(win, "lbPracownicy")->clearSelection();
            QTest::mouseClick(child<QPushButton>(win, "SBWygeneruj"), Qt::LeftButton);
            QCOMPARE(dialogs->informationTexts(),
                     QStringList{QStringLiteral("Nie wskazano żadnego pracownika, dla którego ma "
                                                "być wygenerowany plan.")});
            QVERIFY(win->isVisible());
            QTest::mouseClick(child<QPushButton>(win, "SBAnuluj"), Qt::LeftButton);
        });
        result = w.Execute(2024, 905);
        QVERIFY(!result);
        QVERIFY(QDir(planDir->path()).entryList(QDir::Files).isEmpty());
    }

    void exportThenImportThroughTheButtons()
    {
        TfExportPlan ex(*db, *dialogs, options);
        ex.progressDelayMs = 0;
        test::whenModal<TfExportPlan>([&](TfExportPlan* win) {
            child<QPlainTextEdit>(win, "mKomentarz")->setPlainText(QStringLiteral("a\nb"));
            QTest::mouseClick(child<QPushButton>(win, "SBWygeneruj"), Qt::LeftButton);
        });
        QVERIFY(ex.Execute(2024, 0));
        // How many files went where.
        QCOMPARE(dialogs->informationTexts(),
                 QStringList{QStringLiteral("Generowanie planów zakończyło się sukcesem. Liczba "
                                            "zapisanych plików: 3, folder: ") +
                             planDir->path() + QLatin1Char('.')});
        QByteArray bytes;
        QVERIFY(ReadPlanFileBytes(path("beata"), bytes));
        QVERIFY(DecryptString(bytes, kPlanFileCipherKey).contains("<COMMENT>a\r\nb</COMMENT>"));

        // Beata fills in her plan; Cezary's file is gone.
        PlanFileContent c;
        c.year = 2024;
        c.employeeKey = QStringLiteral("B2");
        c.stamp = 42;
        c.selectedDays = {20240902};
        QVERIFY(WritePlanFileBytes(path("beata"), BuildPlanFileBytes(c)));
        QVERIFY(QFile::remove(path("cezary")));

        dialogs->clear();
        TfImportPlan im(*db, *dialogs, options);
        QCOMPARE(im.windowTitle(), QStringLiteral("Wczytaj plany z plików"));
        test::whenModal<TfImportPlan>([&](TfImportPlan* win) {
            QCOMPARE(child<QPushButton>(win, "SBZaznaczZmienione")->toolTip(),
                     QStringLiteral("Zaznacz pracowników, którzy dokonali zmian w swoich "
                                    "planach urlopowych"));
            QTest::mouseClick(child<QPushButton>(win, "SBZaznaczZmienione"), Qt::LeftButton);
            QCOMPARE(items(win, true), QStringList{QStringLiteral("Beata Bednarz (B2)")});
            // Cezary too: his missing file is skipped and counted.
            child<QListWidget>(win, "lbPracownicy")->item(2)->setSelected(true);
            QTest::mouseClick(child<QPushButton>(win, "SBWczytaj"), Qt::LeftButton);
        });
        QVERIFY(im.Execute(2024, 0));
        const QStringList texts = dialogs->informationTexts();
        QCOMPARE(texts.size(), 2);
        QVERIFY(texts.at(0).startsWith(QStringLiteral("Nie powiodła się próba odczytu pliku ")));
        QCOMPARE(texts.at(1),
                 QStringLiteral("Wczytywanie planów zakończyło się sukcesem. Liczba wczytanych "
                                "plików: 1, folder: ") +
                     planDir->path() +
                     QStringLiteral(". Pominięto jednak 1 planów urlopowych ze względu na brak "
                                    "dostępu do plików planów urlopowych."));
        QCOMPARE(scalar(QStringLiteral("SELECT CHECKSUM FROM EMPLOYEESSETTINGS WHERE "
                                       "IDEMPLOYEE='B2'")),
                 QStringLiteral("42"));

        // Nothing changed any more.
        dialogs->clear();
        test::whenModal<TfImportPlan>([&](TfImportPlan* win) {
            QTest::mouseClick(child<QPushButton>(win, "SBZaznaczZmienione"), Qt::LeftButton);
            QVERIFY(items(win, true).isEmpty());
            QTest::mouseClick(child<QPushButton>(win, "SBWczytaj"), Qt::LeftButton);
            QVERIFY(win->isVisible());
            QTest::keyClick(win, Qt::Key_Escape);
        });
        QVERIFY(!im.Execute(2024, 0));
        QCOMPARE(dialogs->informationTexts(),
                 (QStringList{QStringLiteral("Nie znaleziono żadnego planu który wymagałby "
                                             "wczytania. Wszyskie plany są aktualne."),
                              QStringLiteral("Nie wskazano żadnego pracownika, dla którego ma być "
                                             "wczytany plan.")}));
    }

    // A message in the middle of a run (here: a file of another year) must not open behind the
    // progress window: the progress window closes first and the message is the active window.
    void aMessageDuringARunStandsInFrontOfItsProgress()
    {
        TfExportPlan ex(*db, *dialogs, options);
        test::whenModal<TfExportPlan>([&](TfExportPlan* win) {
            QTest::mouseClick(child<QPushButton>(win, "SBWygeneruj"), Qt::LeftButton);
        });
        QVERIFY(ex.Execute(2024, 0));
        PlanFileContent old;
        old.year = 2023;
        old.employeeKey = QStringLiteral("B2");
        QVERIFY(WritePlanFileBytes(path("beata"), BuildPlanFileBytes(old)));

        dialogs->clear();
        TfImportPlan im(*db, *dialogs, options);
        im.progressDelayMs = 0;
        bool progressShown = false;
        bool progressHidden = false;
        bool messageActive = false;
        dialogs->whileInformationShows = [&](const QString& text) {
            if (!text.contains(QStringLiteral("jest planem na rok 2023")))
                return;
            auto* progress = im.findChild<QProgressDialog*>(QStringLiteral("RunProgress"));
            progressShown = progress && progress->isVisible();
            // The message window as the program shows it: modal, over the running window.
            QDialog message(&im);
            message.setWindowTitle(QStringLiteral("Błąd"));
            message.setModal(true);
            message.show();
            QApplication::processEvents();
            progressHidden = progress && !progress->isVisible();
            messageActive = QApplication::activeWindow() == &message;
        };
        test::whenModal<TfImportPlan>([&](TfImportPlan* win) {
            QTest::mouseClick(child<QPushButton>(win, "SBWczytaj"), Qt::LeftButton);
        });
        QVERIFY(im.Execute(2024, 0));
        dialogs->whileInformationShows = {};
        QVERIFY2(progressShown, "the run's progress was in sight before the message");
        QVERIFY(progressHidden);
        QVERIFY(messageActive);
    }
};

ZF_QTEST_MAIN(TestPlanFilesWindows)
#include "windows_test.moc"
