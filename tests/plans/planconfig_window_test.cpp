// The configuration window, the entitlement windows and the folder chooser offscreen, driven as
// a clerk would, over a real embedded database.
#include "data/databasecreation.h"
#include "data/dbgrid.h"
#include "data/mydatabase.h"
#include "data/programoptions.h"
#include "data/scriptrunner.h"
#include "plans/batchedit.h"
#include "plans/editholidaydays.h"
#include "plans/planconfigwindow.h"
#include "plans/selectdir.h"
#include "tests/support/modal.h"
#include "tests/support/qtest_main.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_env.h"
#include "tests/support/window_database.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <functional>
#include <memory>

using namespace zf;

namespace {

using test::child;
using test::click;
using test::onModal;

constexpr int kYear = 2025;

void typeInto(QSpinBox* spin, const QString& text)
{
    spin->setFocus();
    spin->selectAll();
    QTest::keyClicks(spin, text);
}

} // namespace

class PlanConfigWindowsTest : public test::WindowDatabaseTest
{
    Q_OBJECT


    void inPlan(const QString& id, int last = 0)
    {
        exec(QStringLiteral("INSERT INTO EMPLOYEESSETTINGS (IDYEAR, IDEMPLOYEE, THISYEARDAYS, "
                            "LASTYEARDAYS) VALUES (%1, '%2', 26, %3)")
                 .arg(kYear)
                 .arg(id)
                 .arg(last));
    }

private slots:
    void initTestCase()
    {
        const QString error = openDatabase(QStringLiteral("plany.fdb"));
        QVERIFY2(error.isEmpty(), qPrintable(error));
        exec(QStringLiteral("INSERT INTO HOLIDAYPLANS (IDYEAR, STATUS, PLANDIR) VALUES (%1, 1, '')")
                 .arg(kYear));
    }

    void init()
    {
        exec(QStringLiteral("DELETE FROM EMPLOYEESSETTINGS"));
        exec(QStringLiteral("DELETE FROM EMPLOYEES"));
        for (const char* row : {"'E1', 'Bąk'", "'E2', 'Adamska'", "'E3', 'Cichy'", "'E4', 'Dudek'"})
            exec(QStringLiteral(
                     "INSERT INTO EMPLOYEES (IDEMPLOYEE, SURNAME, NAME) VALUES (%1, 'Ola')")
                     .arg(QString::fromUtf8(row)));
        m_options = ProgramOptions{};
        m_dialogs.clear();
        m_db->OpenUnits();
    }

    void cleanupTestCase() { m_db.reset(); }

    // --- the entitlement window of one employee ----------------------------------------------

    void singleWindowChecksEveryFigureAndKeepsStoredValues_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("saves");
        QTest::newRow("carry-over -365") << "fLASTYEARDAYS"
                                         << "-365" << true;
        QTest::newRow("carry-over -366") << "fLASTYEARDAYS"
                                         << "-366" << false;
        QTest::newRow("carry-over 366") << "fLASTYEARDAYS"
                                        << "366" << false;
        QTest::newRow("entitlement 365") << "fTHISYEARDAYS"
                                         << "365" << true;
        QTest::newRow("entitlement 366") << "fTHISYEARDAYS"
                                         << "366" << false;
        QTest::newRow("entitlement -1") << "fTHISYEARDAYS"
                                        << "-1" << false;
        QTest::newRow("sick 366") << "fSICKDAYS"
                                  << "366" << false;
        QTest::newRow("other 0") << "fOTHERDAYS"
                                 << "0" << true;
        QTest::newRow("unchanged stored -400") << "fNURSINGDAYS"
                                               << "3" << true;
    }

    void singleWindowChecksEveryFigureAndKeepsStoredValues()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(bool, saves);
        TfEditHolidayDays w(m_dialogs);
        QCOMPARE(w.windowTitle(), QStringLiteral("Edytuj wymiar urlopu"));
        // A carry-over outside the range, as copying a plan may leave it.
        const EntitlementData stored{-400, 26, 0, 0, 0, 0, 0, QStringLiteral("opis")};
        w.setValues(QStringLiteral("Ola Bąk (E1)"), stored);
        QCOMPARE(child<QSpinBox>(&w, "fLASTYEARDAYS")->value(), -400);
        bool ran = false;
        onModal<TfEditHolidayDays>([&](TfEditHolidayDays* d) {
            ran = true;
            QCOMPARE(child<QLabel>(d, "lbEmployee")->text(), QStringLiteral("Ola Bąk (E1)"));
            typeInto(d->findChild<QSpinBox*>(field), typed);
            QTest::keyClick(d->findChild<QSpinBox*>(field), Qt::Key_Return);
            if (!saves) {
                QVERIFY(d->isVisible());
                QCOMPARE(
                    m_dialogs.informationTexts(),
                    QStringList{QStringLiteral("Niepoprawna ilość dni urlopu. Sprawdź pola.")});
                QCOMPARE(m_dialogs.shown().front().caption, QStringLiteral("Błąd"));
                QTest::keyClick(d->findChild<QSpinBox*>(field), Qt::Key_Escape);
            }
            QVERIFY(!d->isVisible());
        });
        QCOMPARE(w.Execute(), saves);
        QVERIFY(ran);
        QCOMPARE(w.saved(), saves);
        if (saves) {
            QVERIFY(m_dialogs.shown().empty());
            QCOMPARE(w.values().lastYearDays,
                     field == QStringLiteral("fLASTYEARDAYS") ? typed.toInt() : -400);
            QCOMPARE(w.values().otherDescr, QStringLiteral("opis"));
        }
    }

    void viewOnlyWindowChangesNothingAndItsOnlyButtonCloses()
    {
        TfEditHolidayDays w(m_dialogs);
        w.setValues(QStringLiteral("Ola"),
                    EntitlementData{1, 2, 3, 4, 5, 6, 7, QStringLiteral("x")});
        w.setViewOnly(true);
        onModal<TfEditHolidayDays>([&](TfEditHolidayDays* d) {
            QVERIFY(child<QPushButton>(d, "SBZapisz")->isHidden());
            auto* close = child<QPushButton>(d, "SBAnuluj");
            QCOMPARE(close->text(), QStringLiteral("&OK"));
            auto* days = child<QSpinBox>(d, "fTHISYEARDAYS");
            QVERIFY(days->isReadOnly());
            QVERIFY(child<QLineEdit>(d, "fOTHERDESCR")->isReadOnly());
            QTest::keyClick(days, Qt::Key_Up);
            QTest::keyClick(days, Qt::Key_Return);
            QVERIFY(d->isVisible());
            close->click();
        });
        QVERIFY(!w.Execute());
        QCOMPARE(w.values(), (EntitlementData{1, 2, 3, 4, 5, 6, 7, QStringLiteral("x")}));
        w.setViewOnly(false);
        QVERIFY(!child<QSpinBox>(&w, "fTHISYEARDAYS")->isReadOnly());
        QCOMPARE(child<QPushButton>(&w, "SBAnuluj")->text(), QStringLiteral("&Anuluj"));
    }

    // --- the configuration window ---------------------------------------------------------------

    void addingEditingAndRemovingThroughTheWindow()
    {
        inPlan(QStringLiteral("E3"));
        TfPlanConfig w(*m_db, m_dialogs, m_options);
        QCOMPARE(w.calendarGrid()->objectName(), QStringLiteral("calendarGrid"));
        bool ran = false;
        onModal<TfPlanConfig>([&](TfPlanConfig* d) {
            ran = true;
            d->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(d));
            QCOMPARE(child<QLabel>(d, "lbHeader")->text(), QStringLiteral("Plan na rok 2025"));
            auto* left = child<QListWidget>(d, "emploreeToAdd");
            QCOMPARE(left->count(), 3);
            QCOMPARE(left->item(0)->text(), QStringLiteral("Ola Adamska (E2)"));
            left->item(0)->setSelected(true);
            left->item(2)->setSelected(true);
            typeInto(child<QSpinBox>(d, "holidaySize"), QStringLiteral("20"));
            click(d, "SBDodaj");
            QCOMPARE(left->count(), 1);
            QCOMPARE(left->item(0)->data(Qt::UserRole).toString(), QStringLiteral("E1"));
            QCOMPARE(d->calendarGrid()->model()->rowCount(), 3);

            // Editing the row under the cursor, through the entitlement window.
            QVERIFY(m_db->LocateByText(m_db->DBFEmployeesSettings, QStringLiteral("IDEMPLOYEE"),
                                       QStringLiteral("E4")));
            onModal<TfEditHolidayDays>([](TfEditHolidayDays* e) {
                QCOMPARE(child<QSpinBox>(e, "fTHISYEARDAYS")->value(), 20);
                typeInto(child<QSpinBox>(e, "fSICKDAYS"), QStringLiteral("5"));
                click(e, "SBZapisz");
            });
            d->calendarGrid()->setFocus();
            QTest::keyClick(d->calendarGrid(), Qt::Key_F2);
            QCOMPARE(m_db->DBFEmployeesSettings.asString(QStringLiteral("IDEMPLOYEE")),
                     QStringLiteral("E4"));
            QCOMPARE(value(QStringLiteral("SELECT SICKDAYS || '/' || THISYEARDAYS FROM "
                                          "EMPLOYEESSETTINGS WHERE IDEMPLOYEE='E4'")),
                     QStringLiteral("5/20"));

            // Del in the grid, asked first.
            m_dialogs.answer(true);
            QTest::keyClick(d->calendarGrid(), Qt::Key_Delete);
            QCOMPARE(left->count(), 2);
            click(d, "SBOK");
        });
        const PlanConfigResult r = w.Execute(kYear, QString(), 0);
        QVERIFY(ran);
        QVERIFY(r.changed);
        QCOMPARE(r.planDir, QString());
        QCOMPARE(value(QStringLiteral("SELECT THISYEARDAYS FROM EMPLOYEESSETTINGS WHERE "
                                      "IDEMPLOYEE='E2'")),
                 QStringLiteral("20"));
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM EMPLOYEESSETTINGS")),
                 QStringLiteral("2"));
        QCOMPARE(m_dialogs.questionTexts(), QStringList{PlanConfig::kDeleteQuestion});

        // Opened again: the changed flag starts cleared.
        onModal<TfPlanConfig>([](TfPlanConfig* d) { d->reject(); });
        QVERIFY(!w.Execute(kYear, QString(), 0).changed);
    }

    void everyColumnOfTheGridIsInView()
    {
        inPlan(QStringLiteral("E3"));
        for (const QSize size : {QSize(), QSize(1600, 1000), QSize(1000, 600)}) {
            TfPlanConfig w(*m_db, m_dialogs, m_options);
            if (size.isValid())
                w.resize(size);
            bool ran = false;
            onModal<TfPlanConfig>([&](TfPlanConfig* d) {
                ran = true;
                QVERIFY(d->width() <= 1600 && d->height() <= 1000);
                TDBGrid* grid = d->calendarGrid();
                const int right = grid->viewport()->width();
                for (int c = 0; c < grid->model()->columnCount(); ++c) {
                    const int edge = grid->columnViewportPosition(c) + grid->columnWidth(c);
                    QVERIFY2(edge <= right, qPrintable(QStringLiteral("column %1 ends at %2 of %3 "
                                                                      "in a %4x%5 window")
                                                           .arg(c).arg(edge).arg(right)
                                                           .arg(d->width()).arg(d->height())));
                }
                d->reject();
            });
            w.Execute(kYear, QString(), 0);
            QVERIFY(ran);
        }
    }

    void aMissingFolderIsWarnedAboutWhenLeftAndStoredAnyway()
    {
        TfPlanConfig w(*m_db, m_dialogs, m_options);
        const QString missing = m_dir.path() + QStringLiteral("/nie ma takiego");
        onModal<TfPlanConfig>([&](TfPlanConfig* d) {
            d->activateWindow();
            auto* dir = child<QLineEdit>(d, "fPLANDIR");
            QCOMPARE(dir->maxLength(), 200);
            dir->setFocus();
            QTRY_VERIFY(dir->hasFocus());
            dir->setText(missing);
            d->calendarGrid()->setFocus();
            QTRY_COMPARE(m_dialogs.informationTexts(),
                         QStringList{QStringLiteral(
                             "Podana ścieżka nieistnieje. Podaj poprawną lokalizację")});
            QCOMPARE(m_dialogs.shown().front().caption, QStringLiteral("Uwaga"));
            QCOMPARE(d->logic().storedFolder(), missing);

            // Leaving by "Pokaż wszystkich pracowników" warns once, not once more for the button.
            dir->setFocus();
            QTRY_VERIFY(dir->hasFocus());
            dir->setText(missing + QStringLiteral("2"));
            QTest::mouseClick(child<QPushButton>(d, "SBPokazWszystkich"), Qt::LeftButton);
            QCoreApplication::processEvents();
            QCOMPARE(m_dialogs.informationTexts().size(), 2);
            QCOMPARE(d->logic().unitFilter(), -1);
            QTest::keyClick(d, Qt::Key_Escape);
        });
        const PlanConfigResult r = w.Execute(kYear, QStringLiteral("/stary"), 0);
        QCOMPARE(r.planDir, missing + QStringLiteral("2"));
        QVERIFY(!r.changed);
    }

    // Destroying the window while one of its fields has the focus moves the focus once more;
    // by then the window must no longer be told (the sanitized build stops on such a call).
    void destroyingTheWindowWithAFocusedFieldCallsNothingOfIt()
    {
        auto w = std::make_unique<TfPlanConfig>(*m_db, m_dialogs, m_options);
        w->show();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        auto* dir = child<QLineEdit>(w.get(), "fPLANDIR");
        dir->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), dir);
        w.reset();
        QCOMPARE(QApplication::focusWidget(), nullptr);
    }

    void theFolderChooserMakesANewFolderAndHandsItBack()
    {
        TfPlanConfig w(*m_db, m_dialogs, m_options);
        QTemporaryDir base;
        const QString made = base.path() + QStringLiteral("/plany 2025");
        m_dialogs.answerPrompt(QStringLiteral("plany 2025"));
        onModal<TfPlanConfig>([&](TfPlanConfig* d) {
            onModal<TfSelectDir>([&](TfSelectDir* s) {
                QCOMPARE(s->windowTitle(), QStringLiteral("Wybierz lokalizację"));
                QCOMPARE(s->currentFolder(), base.path());
                QCOMPARE(child<QPushButton>(s, "SBNowyFolder")->toolTip(),
                         QStringLiteral("Stwórz nowy podkatalog  w wybranej lokalizacji"));
                click(s, "SBNowyFolder");
                QVERIFY(QFileInfo(made).isDir());
                QCOMPARE(s->currentFolder(), made);
                click(s, "SBOK");
            });
            click(d, "SBKatalog");
            QCOMPARE(child<QLineEdit>(d, "fPLANDIR")->text(), made);
            click(d, "SBOK");
        });
        const PlanConfigResult r = w.Execute(kYear, base.path(), 0);
        QVERIFY(r.changed);
        QCOMPARE(r.planDir, made);
        QCOMPARE(m_dialogs.shown().front().caption, QStringLiteral("Wprowadź nazwę podkatalogu"));

        // Cancelled: the field and the flag stay as they were.
        onModal<TfPlanConfig>([&](TfPlanConfig* d) {
            onModal<TfSelectDir>([](TfSelectDir* s) { click(s, "SBAnuluj"); });
            click(d, "SBKatalog");
            click(d, "SBOK");
        });
        const PlanConfigResult again = w.Execute(kYear, base.path(), 0);
        QVERIFY(!again.changed);
        QCOMPARE(again.planDir, base.path());
    }

    // --- the batch window
    // -------------------------------------------------------------------------

    void batchWindowChangesTheSelectedRows()
    {
        for (const char* id : {"E1", "E2", "E3", "E4"})
            inPlan(QString::fromLatin1(id), 5);
        m_db->OpenSettingsBatch(kYear);
        TfBatchEdit w(*m_db, m_dialogs);
        onModal<TfBatchEdit>([&](TfBatchEdit* d) {
            auto* series = child<QComboBox>(d, "fSERIA");
            QCOMPARE(series->currentText(), QStringLiteral("Wymiar urlopu"));
            QCOMPARE(child<QSpinBox>(d, "fDAYS")->value(), 26);
            series->setCurrentIndex(1);
            typeInto(child<QSpinBox>(d, "fDAYS"), QStringLiteral("0"));
            // Rows in order Adamska E2, Bąk E1, Cichy E3, Dudek E4.
            auto* grid = d->employeesGrid();
            auto* sel = grid->selectionModel();
            sel->clearSelection();
            for (const int row : {3, 0, 2})
                sel->select(grid->model()->index(row, 0),
                            QItemSelectionModel::Select | QItemSelectionModel::Rows);
            QCOMPARE(
                d->selectedEmployees(),
                (QStringList{QStringLiteral("E4"), QStringLiteral("E2"), QStringLiteral("E3")}));
            click(d, "SBZastosuj");
            QCOMPARE(m_dialogs.informationTexts(), QStringList{QStringLiteral("Gotowe!")});

            // A value beyond the year is refused as in the window of one employee.
            typeInto(child<QSpinBox>(d, "fDAYS"), QStringLiteral("400"));
            click(d, "SBZastosuj");
            QCOMPARE(m_dialogs.informationTexts().last(),
                     QStringLiteral("Niepoprawna ilość dni urlopu. Sprawdź pola."));
            QVERIFY(d->isVisible());
            click(d, "SBZamknij");
        });
        w.Execute(kYear);
        QCOMPARE(value(QStringLiteral("SELECT LIST(IDEMPLOYEE || '=' || LASTYEARDAYS) FROM "
                                      "(SELECT IDEMPLOYEE, LASTYEARDAYS FROM EMPLOYEESSETTINGS "
                                      "ORDER BY IDEMPLOYEE)")),
                 QStringLiteral("E1=5,E2=0,E3=0,E4=0"));
    }
};

ZF_QTEST_MAIN(PlanConfigWindowsTest)
#include "planconfig_window_test.moc"
