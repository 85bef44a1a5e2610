// The plans page of the running program: its buttons reach the plan windows, restricted mode
// leaves only viewing, and the configuration grid's widths are stored with the others.
#include "app/application.h"
#include "app/mainwindow.h"
#include "data/dbgrid.h"
#include "data/mydatabase.h"
#include "plans/newplan.h"
#include "plans/planlifecycle.h"
#include "tests/app/apprun.h"
#include "tests/support/modal.h"
#include "tests/support/qtest_main.h"
#include "util/gridstorage.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

using namespace zf;

class PlansPageTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QPushButton* button(TfMain& w, const char* name)
    {
        return w.findChild<QPushButton*>(QString::fromLatin1(name));
    }

private slots:
    void initTestCase()
    {
        test::Run first(m_dir.path());
        test::quickCreate();
        test::login(QStringLiteral("admin"), QStringLiteral("zefirant"));
        QVERIFY(first.app->start());
    }

    void buttonsCreateAndDeleteAPlan()
    {
        test::Run run(m_dir.path());
        test::login(QStringLiteral("admin"), QStringLiteral("zefirant"));
        QVERIFY(run.app->start());
        TfMain& w = run.app->mainWindow();
        w.showPlansPage();

        // Without a plan, only "Stwórz nowy" does anything.
        button(w, "SBOpenDir")->click();
        button(w, "SBSkasujPlan")->click();
        QVERIFY(run.dialogs.shown().empty());

        test::whenModal<TfNewPlan>([](TfNewPlan* np) {
            np->findChild<QSpinBox*>(QStringLiteral("idYear"))->setValue(2027);
            np->findChild<QPushButton*>(QStringLiteral("SBZapisz"))->click();
        });
        button(w, "SBStworz")->click();
        TDBGrid* grid = w.planGrid();
        QCOMPARE(grid->model()->rowCount(), 1);
        QCOMPARE(grid->model()->index(0, 0).data().toString(),
                 QStringLiteral("Plan urlopowy na rok 2027"));
        QCOMPARE(grid->model()->index(0, 1).data().toString(),
                 QStringLiteral("Utworzony, dodaj pracowników"));

        button(w, "SBOpenDir")->click();
        QCOMPARE(run.dialogs.informationTexts(), QStringList{PlanLifecycle::kNoFolder});
        button(w, "SBEksportuj")->click();
        QCOMPARE(run.dialogs.informationTexts().last(), PlanLifecycle::kAddEmployeesFirst);

        // Del on the grid asks, then deletes.
        run.dialogs.answer(true);
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        grid->setFocus();
        QTRY_VERIFY(grid->hasFocus());
        QTest::keyClick(grid, Qt::Key_Delete);
        QCOMPARE(run.dialogs.questionTexts(), QStringList{PlanLifecycle::kDeleteQuestion});
        QCOMPARE(grid->model()->rowCount(), 0);

        // The configuration grid is stored beside the main window's grids.
        QStringList names;
        for (int i = 0; i < run.app->gridStorage()->Count(); ++i)
            names << run.app->gridStorage()->GridAt(i)->name;
        QCOMPARE(names,
                 (QStringList{QStringLiteral("osobowaGrid"), QStringLiteral("planGrid"),
                              QStringLiteral("terminarzGrid"), QStringLiteral("calendarGrid")}));
    }

    void restrictedModeLeavesViewingAndTheFolder()
    {
        {
            test::Run admin(m_dir.path());
            test::login(QStringLiteral("admin"), QStringLiteral("zefirant"));
            QVERIFY(admin.app->start());
            QVERIFY(admin.app->db().Write(
                QStringLiteral(
                    "INSERT INTO HOLIDAYPLANS (IDYEAR, STATUS, PLANDIR) VALUES (2028, 1, '')"),
                {}, 1));
            QVERIFY(admin.app->db().Write(
                QStringLiteral("DELETE FROM HOLIDAYPLANS WHERE IDYEAR<>2028"), {}, 1));
        }
        test::Run run(m_dir.path());
        test::login(QStringLiteral("pracownik"), QStringLiteral("pracownik"));
        QVERIFY(run.app->start());
        TfMain& w = run.app->mainWindow();
        w.showPlansPage();
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.planGrid()->setFocus();
        QTRY_VERIFY(w.planGrid()->hasFocus());
        for (const char* name : {"SBStworz", "SBSkopiuj", "SBKonfiguruj", "SBEdytujKalendarz",
                                 "SBEksportuj", "SBImportuj", "SBSkasujPlan"})
            QVERIFY2(!button(w, name)->isEnabled(), name);
        QVERIFY(button(w, "SBOtworz")->isEnabled());
        QVERIFY(button(w, "SBOpenDir")->isEnabled());
        QTest::keyClick(w.planGrid(), Qt::Key_Delete);
        QVERIFY(run.dialogs.shown().empty());
        QCOMPARE(w.planGrid()->model()->rowCount(), 1);
    }
};

ZF_QTEST_MAIN(PlansPageTest)
#include "planspage_test.moc"
