// The plans page's commands with their windows, offscreen, over a real embedded database: the
// new-plan window, the non-working-day calendar and the status they leave behind.
#include "data/databasecreation.h"
#include "data/mydatabase.h"
#include "data/programoptions.h"
#include "data/scriptrunner.h"
#include "plans/batchedit.h"
#include "plans/calendar/yearcalendarselector.h"
#include "plans/calendarwindow.h"
#include "plans/newplan.h"
#include "plans/nonworkingdays.h"
#include "plans/planconfigwindow.h"
#include "plans/planlifecycle.h"
#include "plans/plans.h"
#include "tests/support/modal.h"
#include "tests/support/qtest_main.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_env.h"
#include "tests/support/window_database.h"
#include "util/clock.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <tuple>

using namespace zf;

namespace {

using test::click;

class FixedClock final : public Clock
{
public:
    QDateTime now() const override { return QDateTime(QDate(2026, 12, 7), QTime(9, 0)); }
};

} // namespace

class PlansWindowsTest : public test::WindowDatabaseTest
{
    Q_OBJECT

    FixedClock m_clock;
    std::unique_ptr<TPlans> m_plans;


    int status(int year)
    {
        return value(QStringLiteral("SELECT STATUS FROM HOLIDAYPLANS WHERE IDYEAR=%1").arg(year))
            .toInt();
    }
    QString freeDays(int year)
    {
        return value(QStringLiteral("SELECT LIST(FREEDAY, ',') FROM (SELECT FREEDAY FROM CALENDAR "
                                    "WHERE IDYEAR=%1 ORDER BY FREEDAY)")
                         .arg(year));
    }
    void selectPlan(int year)
    {
        m_db->OpenPlans();
        QVERIFY(m_db->LocateByInteger(m_db->DBFHolidayPlans, QStringLiteral("IDYEAR"), year));
    }

private slots:
    void initTestCase()
    {
        setClock(&m_clock);
        const QString error = openDatabase(QStringLiteral("kadry.fdb"));
        QVERIFY2(error.isEmpty(), qPrintable(error));
        m_plans = std::make_unique<TPlans>(*m_db, m_dialogs, m_options);
    }

    void init()
    {
        m_options = ProgramOptions{};
        exec(QStringLiteral("DELETE FROM HOLIDAYPLANS"));
        m_db->OpenPlans();
        m_dialogs.clear();
    }

    void cleanupTestCase()
    {
        m_plans.reset();
        m_db.reset();
        setClock(nullptr);
    }

    void newPlanWindowRefusesAYearOutsideTheRangeAndOffersTheCurrentYear()
    {
        QList<int> offered;
        test::whenModal<TfNewPlan>([&](TfNewPlan* w) {
            // Wide enough for its whole caption beside the title bar's buttons.
            QCOMPARE(w->windowTitle(), QStringLiteral("Stwórz nowy plan urlopowy"));
            QVERIFY(w->width() >= w->fontMetrics().horizontalAdvance(w->windowTitle()) +
                                      6 * w->fontMetrics().height());
            auto* year = w->findChild<QSpinBox*>(QStringLiteral("idYear"));
            offered << year->value();
            year->findChild<QLineEdit*>()->setText(QStringLiteral("1998"));
            click(w, "SBZapisz");
            QVERIFY(w->isVisible());
            year->findChild<QLineEdit*>()->setText(QStringLiteral("2030"));
            QTest::keyClick(year, Qt::Key_Return);
        });
        m_plans->Create();
        QCOMPARE(offered, QList<int>{2026});
        QCOMPARE(m_dialogs.informationTexts(), QStringList{TfNewPlan::kWrongYear});
        QCOMPARE(status(2030), 1);
        QCOMPARE(m_db->DBFHolidayPlans.asInteger(QStringLiteral("IDYEAR")), 2030);

        // Esc closes without a plan.
        test::whenModal<TfNewPlan>([](TfNewPlan* w) { QTest::keyClick(w, Qt::Key_Escape); });
        m_plans->Create();
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM HOLIDAYPLANS")), QStringLiteral("1"));
    }

    void aDuplicateYearIsAskedAgainWithTheCurrentYear()
    {
        exec(QStringLiteral(
            "INSERT INTO HOLIDAYPLANS (IDYEAR, STATUS, PLANDIR) VALUES (2031, 2, '')"));
        QList<int> offered;
        test::whenModal<TfNewPlan>([&](TfNewPlan* w) {
            auto* year = w->findChild<QSpinBox*>(QStringLiteral("idYear"));
            year->setValue(2031);
            click(w, "SBZapisz");
            test::whenModal<TfNewPlan>([&](TfNewPlan* again) {
                offered << again->findChild<QSpinBox*>(QStringLiteral("idYear"))->value();
                click(again, "SBAnuluj");
            });
        });
        m_plans->Create();
        QCOMPARE(offered, QList<int>{2026});
        QCOMPARE(m_dialogs.informationTexts(), QStringList{PlanLifecycle::kDuplicateYear});
    }

    void calendarMarksSavesAndMovesAGeneratedPlanToChanged()
    {
        exec(QStringLiteral(
            "INSERT INTO HOLIDAYPLANS (IDYEAR, STATUS, PLANDIR) VALUES (2012, 1, '')"));
        exec(QStringLiteral(
            "INSERT INTO HOLIDAYPLANS (IDYEAR, STATUS, PLANDIR) VALUES (2024, 5, '')"));
        exec(QStringLiteral("INSERT INTO CALENDAR (IDYEAR, FREEDAY) VALUES (2024, 20240102)"));

        // 2012, status 1: the holidays and the Saturdays of January, saved; the status stays.
        selectPlan(2012);
        m_dialogs.answer(true);
        m_dialogs.answer(true);
        test::whenModal<TfCalendar>([](TfCalendar* w) {
            click(w, "SBZaznaczSwieta");
            w->findChild<QComboBox*>(QStringLiteral("cbWeekDay"))->setCurrentIndex(5);
            click(w, "SBZaznaczDni");
            click(w, "SBZapisz");
        });
        m_plans->EditCalendar();
        QCOMPARE(status(2012), 1);
        const QStringList days = freeDays(2012).split(QLatin1Char(','));
        QCOMPARE(days.size(), 13 + 52);
        for (const char* d :
             {"20120106", "20120408", "20120409", "20120527", "20120607", "20120107"})
            QVERIFY2(days.contains(QString::fromLatin1(d)), d);
        QCOMPARE(m_dialogs.questionTexts(),
                 (QStringList{
                     QStringLiteral("Czy zaznaczyć wszyskie stałe święta?"),
                     QStringLiteral("Czy zaznaczyć wszyskie wybrane dni tygodnia (Sobota) ?")}));

        // 2024, approved: asked first; clearing then cancelling keeps what is stored.
        selectPlan(2024);
        m_dialogs.clear();
        m_dialogs.answer(true);
        m_dialogs.answer(true);
        test::whenModal<TfCalendar>([](TfCalendar* w) {
            click(w, "SBOdznacz");
            click(w, "SBAnuluj");
        });
        m_plans->EditCalendar();
        QCOMPARE(freeDays(2024), QStringLiteral("20240102"));
        QCOMPARE(status(2024), 5);

        // Saving turns the approved plan into a changed one.
        m_dialogs.answer(true);
        test::whenModal<TfCalendar>([](TfCalendar* w) {
            YearDays d = w->selector().GetDays();
            QVERIFY(d[0][1].selected);
            d[0][2].selected = true;
            w->selector().SetDays(2024, d);
            click(w, "SBZapisz");
        });
        m_plans->EditCalendar();
        QCOMPARE(freeDays(2024), QStringLiteral("20240102,20240103"));
        QCOMPARE(status(2024), 6);
    }

    void calendarFileAddsTheDaysOfThePlanYear()
    {
        exec(QStringLiteral(
            "INSERT INTO HOLIDAYPLANS (IDYEAR, STATUS, PLANDIR) VALUES (2012, 3, '')"));
        const QString file = m_dir.path() + QStringLiteral("/wolne.txt");
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("01.05.2012\r\n2012-05-02\r\n31-02-2012\r\n03-05-2013\r\n15-08-2012\r\n");
        f.close();
        selectPlan(2012);
        m_dialogs.chooseFile(file);
        test::whenModal<TfCalendar>([](TfCalendar* w) {
            click(w, "SBWczytajPlik");
            click(w, "SBPomocPliku");
            click(w, "SBZapisz");
        });
        m_plans->EditCalendar();
        QCOMPARE(freeDays(2012), QStringLiteral("20120501,20120815"));
        QCOMPARE(m_dialogs.informationTexts(), QStringList{TfCalendar::kFileHelp});
        QCOMPARE(status(2012), 6);
    }

    void aFailedCalendarSaveKeepsTheWindowAndItsTicksForARetry()
    {
        exec(QStringLiteral(
            "INSERT INTO HOLIDAYPLANS (IDYEAR, STATUS, PLANDIR) VALUES (2027, 1, '')"));
        exec(QStringLiteral("INSERT INTO CALENDAR (IDYEAR, FREEDAY) VALUES (2027, 20270101)"));
        exec(QStringLiteral("CREATE EXCEPTION E_CALENDAR_REFUSED 'zablokowane'"));
        exec(QStringLiteral("CREATE TRIGGER T_CALENDAR_REFUSE FOR CALENDAR BEFORE INSERT AS "
                            "BEGIN EXCEPTION E_CALENDAR_REFUSED; END"));
        // A failed check must not leave the trigger to the next cases.
        const auto dropped = qScopeGuard([this] {
            if (value(QStringLiteral("SELECT COUNT(*) FROM RDB$TRIGGERS WHERE "
                                     "RDB$TRIGGER_NAME='T_CALENDAR_REFUSE'")) == QLatin1String("1"))
                m_db->Write(QStringLiteral("DROP TRIGGER T_CALENDAR_REFUSE"), {}, 1);
            m_db->Write(QStringLiteral("DROP EXCEPTION E_CALENDAR_REFUSED"), {}, 1);
        });
        TfCalendar window(*m_db, m_dialogs);
        bool checked = false;
        test::onModal<TfCalendar>([&](TfCalendar* w) {
            YearDays ticked = w->selector().GetDays();
            ticked[6][11].selected = true; // 12 July
            ticked[11][23].selected = true;
            w->selector().SetDays(2027, ticked);
            w->selector().Redraw();
            click(w, "SBZapisz");
            QVERIFY(w->isVisible());
            QCOMPARE(w->selector().GetDays(), ticked);
            QCOMPARE(m_dialogs.shown().size(), size_t(1));
            QCOMPARE(m_dialogs.shown()[0].caption, QStringLiteral("Błąd"));
            QVERIFY2(m_dialogs.informationTexts()[0].endsWith(kSaveKeptHint),
                     qPrintable(m_dialogs.informationTexts()[0]));
            QCOMPARE(freeDays(2027), QStringLiteral("20270101"));

            // The cause removed, the same ticks are saved and the window closes.
            exec(QStringLiteral("DROP TRIGGER T_CALENDAR_REFUSE"));
            click(w, "SBZapisz");
            QVERIFY(!w->isVisible());
            checked = true;
        });
        QVERIFY(window.Execute(2027));
        QVERIFY(checked);
        QCOMPARE(freeDays(2027), QStringLiteral("20270101,20270712,20271224"));
    }

    void commandsNeedAPlanAndKeepTheirGates()
    {
        QStringList opened;
        m_plans->openExternally = [&](const QString& p) { opened << p; };
        const auto commands = m_plans->Commands();
        QCOMPARE(commands.size(), size_t(9));
        // An empty list: nothing happens at all.
        for (const char* name :
             {"SBSkopiuj", "SBEksportuj", "SBImportuj", "SBSkasujPlan", "SBOpenDir"})
            commands.at(QString::fromLatin1(name))();
        QVERIFY(m_dialogs.shown().empty());

        exec(QStringLiteral(
            "INSERT INTO HOLIDAYPLANS (IDYEAR, STATUS, PLANDIR) VALUES (2025, 1, '/srv/p')"));
        selectPlan(2025);
        int exports = 0;
        m_plans->runExport = [&](int year, int unit) {
            ++exports;
            return year == 2025 && unit == 0;
        };
        commands.at(QStringLiteral("SBEksportuj"))();
        QCOMPARE(exports, 0);
        exec(QStringLiteral("UPDATE HOLIDAYPLANS SET STATUS=2"));
        selectPlan(2025);
        commands.at(QStringLiteral("SBEksportuj"))();
        QCOMPARE(exports, 1);
        QCOMPARE(status(2025), 3);
        commands.at(QStringLiteral("SBOpenDir"))();
        QCOMPARE(opened, QStringList{QStringLiteral("/srv/p")});

        m_dialogs.answer(true);
        commands.at(QStringLiteral("SBSkasujPlan"))();
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM HOLIDAYPLANS")), QStringLiteral("0"));
    }

    void aBatchChangeCountsAsAChangedConfiguration()
    {
        exec(QStringLiteral(
            "UPDATE OR INSERT INTO EMPLOYEES (IDEMPLOYEE, SURNAME, NAME) VALUES ('H1', 'Hurt', "
            "'Ola') MATCHING (IDEMPLOYEE)"));
        // (status before, a change applied in the batch window) -> status after
        const QList<std::tuple<int, bool, int>> cases = {
            {3, true, 6}, {5, true, 6}, {1, true, 2}, {3, false, 3}};
        int year = 2040;
        for (const auto& [before, applied, after] : cases) {
            const bool apply = applied; // clang 14 cannot capture a structured binding
            ++year;
            exec(QStringLiteral(
                     "INSERT INTO HOLIDAYPLANS (IDYEAR, STATUS, PLANDIR) VALUES (%1, %2, '')")
                     .arg(year)
                     .arg(before));
            exec(QStringLiteral("INSERT INTO EMPLOYEESSETTINGS (IDYEAR, IDEMPLOYEE, THISYEARDAYS) "
                                "VALUES (%1, 'H1', 26)")
                     .arg(year));
            selectPlan(year);
            if (before == 5)
                m_dialogs.answer(true);
            test::whenModal<TfPlanConfig>([apply](TfPlanConfig* w) {
                test::whenModal<TfBatchEdit>([apply](TfBatchEdit* b) {
                    b->findChild<QSpinBox*>(QStringLiteral("fDAYS"))->setValue(20);
                    if (apply)
                        click(b, "SBZastosuj");
                    click(b, "SBZamknij");
                });
                click(w, "SBHurtowo");
                click(w, "SBOK");
            });
            m_plans->Configure();
            QCOMPARE(status(year), after);
            QCOMPARE(value(QStringLiteral("SELECT THISYEARDAYS FROM EMPLOYEESSETTINGS WHERE "
                                          "IDYEAR=%1")
                               .arg(year))
                         .toInt(),
                     apply ? 20 : 26);
        }
    }

    void readingFilledFilesGivesStatusFourOnlyWhenTheyWereRead()
    {
        exec(QStringLiteral(
            "INSERT INTO HOLIDAYPLANS (IDYEAR, STATUS, PLANDIR) VALUES (2026, 2, '')"));
        exec(QStringLiteral(
            "INSERT INTO HOLIDAYPLANS (IDYEAR, STATUS, PLANDIR) VALUES (2027, 3, '')"));
        QList<int> imports;
        bool succeeds = false;
        m_plans->runImport = [&](int year, int unit) {
            imports << year;
            return succeeds && unit == 0;
        };
        // Nothing generated yet: refused.
        selectPlan(2026);
        m_plans->ReadFilled();
        QVERIFY(imports.isEmpty());
        QCOMPARE(m_dialogs.informationTexts(), QStringList{PlanLifecycle::kGenerateFirst});

        // A reading that failed or was cancelled leaves the status.
        selectPlan(2027);
        m_plans->ReadFilled();
        QCOMPARE(imports, QList<int>{2027});
        QCOMPARE(status(2027), 3);

        succeeds = true;
        m_plans->ReadFilled();
        QCOMPARE(status(2027), 4);
        QCOMPARE(m_db->DBFHolidayPlans.asInteger(QStringLiteral("IDYEAR")), 2027);
        QCOMPARE(m_db->DBFHolidayPlans.asInteger(QStringLiteral("STATUS")), 4);
        // From a changed configuration as well.
        exec(QStringLiteral("UPDATE HOLIDAYPLANS SET STATUS=6 WHERE IDYEAR=2027"));
        selectPlan(2027);
        m_plans->ReadFilled();
        QCOMPARE(status(2027), 4);
        QCOMPARE(status(2026), 2);
        QCOMPARE(m_dialogs.questionTexts(), QStringList{});
    }

    void generatingOrReadingAnApprovedPlanAsksFirst()
    {
        const QString generate = QStringLiteral(
            "Zefirant jest już zatwierdzony. Czy mimo to chcesz wygenerować go do edycji?");
        const QString read = QStringLiteral(
            "Zefirant jest już zatwierdzony. Czy mimo to chcesz wczytać do niego wypełnione "
            "plany?");
        exec(QStringLiteral(
            "INSERT INTO HOLIDAYPLANS (IDYEAR, STATUS, PLANDIR) VALUES (2025, 5, '')"));
        QList<int> exports;
        QList<int> imports;
        m_plans->runExport = [&](int year, int) {
            exports << year;
            return true;
        };
        m_plans->runImport = [&](int year, int) {
            imports << year;
            return true;
        };
        // "Nie": nothing happens.
        selectPlan(2025);
        m_dialogs.answer(false);
        m_plans->Generate();
        m_dialogs.answer(false);
        m_plans->ReadFilled();
        QVERIFY(exports.isEmpty());
        QVERIFY(imports.isEmpty());
        QCOMPARE(status(2025), 5);
        QCOMPARE(m_dialogs.questionTexts(), (QStringList{generate, read}));
        for (const auto& shown : m_dialogs.shown())
            QCOMPARE(shown.caption, QStringLiteral("Uwaga"));

        // "Tak": the command runs and the approval is gone.
        m_dialogs.clear();
        m_dialogs.answer(true);
        m_plans->ReadFilled();
        QCOMPARE(imports, QList<int>{2025});
        QCOMPARE(status(2025), 4);
        exec(QStringLiteral("UPDATE HOLIDAYPLANS SET STATUS=5"));
        selectPlan(2025);
        m_dialogs.answer(true);
        m_plans->Generate();
        QCOMPARE(exports, QList<int>{2025});
        QCOMPARE(status(2025), 3);
        QCOMPARE(m_dialogs.questionTexts(), (QStringList{read, generate}));

        // A plan that is not approved is not asked about.
        m_dialogs.clear();
        m_plans->Generate();
        m_plans->ReadFilled();
        QCOMPARE(exports.size(), 2);
        QCOMPARE(imports.size(), 2);
        QVERIFY(m_dialogs.shown().empty());
    }
};

ZF_QTEST_MAIN(PlansWindowsTest)
#include "plans_window_test.moc"
