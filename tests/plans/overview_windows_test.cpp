// The plan overview and the leave editor offscreen over a real embedded database: the painted
// colours, approval, export, the editor's locks, ticks, marking mode and saving; the Labour
// Code's "KP" column, its hint, the editor's line and the one approval question, and with the
// checks off everything as it was.
#include "data/databasecreation.h"
#include "data/mydatabase.h"
#include "data/programoptions.h"
#include "data/scriptrunner.h"
#include "plans/calendar/calendarselector.h"
#include "plans/calendar/yearcalendarselector.h"
#include "plans/editcalendarwindow.h"
#include "plans/nonworkingdays.h"
#include "plans/overviewgrid.h"
#include "plans/overviewwindow.h"
#include "tests/plans/overview_seed.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/modal.h"
#include "tests/support/qtest_main.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_env.h"
#include "tests/support/window_database.h"
#include "util/csvexport.h"
#include "util/dates.h"

#include <QDir>
#include <QFile>
#include <QHelpEvent>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>

#include <functional>
#include <memory>

using namespace zf;

namespace {

using test::child;

QColor win(unsigned int bgr)
{
    return CalendarColors::fromWindows(bgr);
}

} // namespace

class OverviewWindowsTest : public test::WindowDatabaseTest
{
    Q_OBJECT

    std::unique_ptr<TfEmployeesPlans> m_overview;
    std::unique_ptr<test::FixedClock> m_clock;



    // Runs `act` inside the modal overview of `year`, then closes it.
    void withOverview(int year, int unit, const std::function<void(TfEmployeesPlans*)>& act)
    {
        test::whenModal<TfEmployeesPlans>([act](TfEmployeesPlans* w) {
            act(w);
            w->reject();
        });
        m_overview->Execute(year, unit);
    }

    // Clicks the edit icon of entry `index` and runs `act` in the editor it opens.
    void inEditor(TfEmployeesPlans* w, int index, const std::function<void(TfEditCalendar*)>& act)
    {
        bool opened = false;
        test::whenModal<TfEditCalendar>([&opened, act](TfEditCalendar* e) {
            opened = true;
            act(e);
            if (e->isVisible())
                e->reject();
        });
        const QRect icon = w->grid()->cellRect(w->grid()->editColumn(), index + 1);
        QVERIFY(!icon.isEmpty());
        QTest::mouseClick(w->grid()->viewport(), Qt::LeftButton, {}, icon.center());
        QVERIFY(opened);
    }

    static void tick(TfEditCalendar* e, int month, int day)
    {
        TCalendarSelector* m = e->selector()->month(month);
        const QRect box = m->boxRect(day);
        QVERIFY2(!box.isEmpty(), "no tick box");
        QTest::mouseClick(m, Qt::LeftButton, {}, box.center());
    }

private slots:
    void initTestCase()
    {
        const QString error = openDatabase(QStringLiteral("plany.fdb"));
        QVERIFY2(error.isEmpty(), qPrintable(error));
        m_overview = std::make_unique<TfEmployeesPlans>(*m_db, m_dialogs, m_options);
        m_clock = std::make_unique<test::FixedClock>(QDateTime(QDate(2024, 1, 1), QTime(9, 0)));
    }

    void init()
    {
        m_options = ProgramOptions{};
        // The cases written before the Labour Code checks see the overview as it was; those of
        // the checks turn them on.
        m_options.sprawdzajKodeksPracy = false;
        m_db->loginState() = LoginState{};
        m_dialogs.clear();
        m_clock->set(QDateTime(QDate(2024, 1, 1), QTime(9, 0)));
        QVERIFY(m_db->Write(QStringLiteral("DELETE FROM HOLIDAYPLANS"), {}, 1));
        QVERIFY(m_db->Write(QStringLiteral("DELETE FROM EMPLOYEES"), {}, 1));
        QVERIFY(m_db->Write(QStringLiteral("DELETE FROM UNITSTAFFING"), {}, 1));
        test::PlanSeed s(*m_db);
        s.plan(2013, 4);
        s.plan(2012, 4);
        s.employee(QStringLiteral("P1"), QStringLiteral("Jan"), QStringLiteral("Nowak"));
        s.employee(QStringLiteral("P2"), QStringLiteral("Anna"), QStringLiteral("Kowalska"));
        s.inPlan(2013, QStringLiteral("P1"), 2, 26);
        s.inPlan(2013, QStringLiteral("P2"), 0, 1);
        s.freeDay(2013, 20130101);
        s.leave(2013, QStringLiteral("P1"), 20130102);
        s.leave(2013, QStringLiteral("P1"), 20130103);
        s.fixed(2013, QStringLiteral("P1"), 20130103);
        s.fixed(2013, QStringLiteral("P1"), 20130104);
        s.commit();
    }

    void cleanupTestCase()
    {
        m_overview.reset();
        m_db.reset();
        m_clock.reset();
    }

    void paintsTheColoursOfTheDrawingRules()
    {
        withOverview(2013, 0, [](TfEmployeesPlans* w) {
            TOverviewGrid* g = w->grid();
            QVERIFY(g->isVisible());
            QCOMPARE(g->objectName(), QStringLiteral("DrawGrid"));
            QCOMPARE(g->columnCount(), 365 + 4);
            QCOMPARE(g->rowCount(), 3);
            QCOMPARE(g->firstVisibleDay(), 1);
            QCOMPARE(child<QLabel>(w, "labelYear")->text(), QStringLiteral("Plan na rok 2013"));
            const QImage img = g->viewport()->grab().toImage();
            // A pixel near the right edge of a cell: clear of icons and texts.
            const auto at = [&](int c, int r) {
                const QRect rect = g->cellRect(c, r);
                return QColor(img.pixel(rect.right() - 1, rect.top() + 1));
            };
            const int nowak = w->plans().IndexOf(QStringLiteral("P1")) + 1;
            QCOMPARE(nowak, 2); // Kowalska first
            QCOMPARE(at(0, 0), win(0xC0A090));
            QCOMPARE(at(4, 0), win(0xC0A090));
            QCOMPARE(at(1, nowak), win(0xC0A090));
            QCOMPARE(at(4 + 0, nowak), win(0xDDDDDD)); // 1 January, non-working
            QCOMPARE(at(4 + 1, nowak), win(0x00FFFF)); // leave
            QCOMPARE(at(4 + 2, nowak), win(0x00FF00)); // unchangeable leave
            QCOMPARE(at(4 + 3, nowak), win(0x00FF00)); // unchangeable only
            QCOMPARE(at(4 + 4, nowak), win(0xFFDDDD)); // Saturday
            QCOMPARE(at(4 + 5, nowak), win(0xDDDDFF)); // Sunday
            QCOMPARE(at(4 + 6, nowak), win(0xFFFFFF)); // Monday
            // The frame one pixel outside the non-working cell.
            const QRect free = g->cellRect(4, nowak);
            QCOMPARE(QColor(img.pixel(free.right() + 1, free.center().y())), win(0x808080));
            // Kowalska's row: the same day columns without leave.
            QCOMPARE(at(4 + 1, 1), win(0xFFFFFF));
        });
    }

    void leapYearAndScrollingToToday()
    {
        m_clock->set(QDateTime(QDate(2024, 12, 30), QTime(9, 0)));
        test::PlanSeed s(*m_db);
        s.inPlan(2012, QStringLiteral("P1"), 0, 26);
        s.commit();
        withOverview(2012, 0, [](TfEmployeesPlans* w) {
            TOverviewGrid* g = w->grid();
            QCOMPARE(g->columnCount(), 366 + 4);
            // 30 December lies within the last page: the last page is shown.
            QCOMPARE(g->firstVisibleDay(), 366 - g->visibleDayColumns() + 1);
            QVERIFY(!g->cellRect(4 + 365, 1).isEmpty());
        });
        m_clock->set(QDateTime(QDate(2024, 3, 1), QTime(9, 0)));
        withOverview(2012, 0,
                     [](TfEmployeesPlans* w) { QCOMPARE(w->grid()->firstVisibleDay(), 61); });
    }

    void emptyPlanHidesTheGridAndStillExports()
    {
        const QString path = m_dir.path() + QStringLiteral("/pusty.csv");
        m_dialogs.chooseFile(path);
        withOverview(2012, 0, [](TfEmployeesPlans* w) {
            QVERIFY(!w->grid()->isVisible());
            child<QPushButton>(w, "SBEksport")->click();
        });
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll().count("\r\n"), 4);
        QCOMPARE(m_dialogs.informationTexts(),
                 QStringList{QStringLiteral("Eksport zakończony poprawnie")});
        // The dialog proposes the list's name and year.
        QCOMPARE(m_dialogs.shown().front().text, QStringLiteral("Grafik urlopowy 2012.csv"));
    }

    void exportWritesTheMarks()
    {
        const QString path = m_dir.path() + QStringLiteral("/plan.csv");
        m_dialogs.chooseFile(path);
        m_dialogs.chooseFile(m_dir.path() + QStringLiteral("/brak/plan.csv"));
        withOverview(2013, 0, [](TfEmployeesPlans* w) {
            child<QPushButton>(w, "SBEksport")->click();
            child<QPushButton>(w, "SBEksport")->click();
        });
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = f.readAll().split('\n');
        QVERIFY(lines.size() > 3);
        QVERIFY(lines[3].startsWith(
            "\"Jan Nowak (P1)\";\"26 (2)\";\"26\";\"x\";\"v\";\"v!\";\"!\";\"\";"));
        QCOMPARE(m_dialogs.informationTexts(),
                 (QStringList{QStringLiteral("Eksport zakończony poprawnie"),
                              QStringLiteral("Nie udało się wyeksportować danych")}));
    }

    void approvalAsksAndSetsStatusFive()
    {
        m_dialogs.answer(false);
        m_dialogs.answer(true);
        withOverview(2013, 0, [](TfEmployeesPlans* w) {
            QPushButton* b = child<QPushButton>(w, "SBZatwierdz");
            QVERIFY(b->isEnabled());
            b->click();
            QVERIFY(b->isEnabled());
            b->click();
            QVERIFY(!b->isEnabled());
        });
        QCOMPARE(value(QStringLiteral("SELECT STATUS FROM HOLIDAYPLANS WHERE IDYEAR=2013")),
                 QStringLiteral("5"));
        QCOMPARE(m_dialogs.questionTexts(),
                 (QStringList{QStringLiteral("Czy na pewno zatwierdzić plan?"),
                              QStringLiteral("Czy na pewno zatwierdzić plan?")}));
        // Approved at the next opening, and for a restricted user always.
        withOverview(2013, 0, [](TfEmployeesPlans* w) {
            QVERIFY(!child<QPushButton>(w, "SBZatwierdz")->isEnabled());
        });
        QVERIFY(m_db->Write(QStringLiteral("UPDATE HOLIDAYPLANS SET STATUS=4"), {}, 1));
        m_db->loginState().restricted = true;
        withOverview(2013, 0, [](TfEmployeesPlans* w) {
            QVERIFY(!child<QPushButton>(w, "SBZatwierdz")->isEnabled());
        });
    }

    void aFailedApprovalChangesNothingOnScreen()
    {
        const auto write = [this](const QString& sql) { QVERIFY(m_db->Write(sql, {}, 1)); };
        // The database refuses the approval while the session's flag is set.
        const auto refuse = [this](bool on) {
            QVERIFY(m_db->Utility(1, [on](fb::Statement& st) {
                st.setSql(QStringLiteral("SELECT RDB$SET_CONTEXT('USER_SESSION', 'NO_APPROVAL', "
                                         "'%1') FROM RDB$DATABASE")
                              .arg(on ? 1 : 0));
                st.execute();
                st.fetch();
                st.close();
            }));
        };
        write(QStringLiteral("CREATE EXCEPTION E_NO_APPROVAL 'Zatwierdzanie zablokowane'"));
        write(QStringLiteral(
            "CREATE TRIGGER T_NO_APPROVAL FOR HOLIDAYPLANS BEFORE UPDATE AS BEGIN "
            "IF (NEW.STATUS = 5 AND RDB$GET_CONTEXT('USER_SESSION', 'NO_APPROVAL') = '1') "
            "THEN EXCEPTION E_NO_APPROVAL; END"));
        refuse(true);
        m_db->OpenPlans();
        QVERIFY(m_db->LocateByInteger(m_db->DBFHolidayPlans, QStringLiteral("IDYEAR"), 2013));
        m_dialogs.answer(true);
        m_dialogs.answer(true);
        withOverview(2013, 0, [&](TfEmployeesPlans* w) {
            QPushButton* b = child<QPushButton>(w, "SBZatwierdz");
            b->click();
            QVERIFY(b->isEnabled());
            QVERIFY(!w->data().approved);
            QCOMPARE(m_dialogs.shown().back().caption, QStringLiteral("Błąd"));
            QVERIFY(m_dialogs.informationTexts().value(0).contains(
                QStringLiteral("Zatwierdzanie zablokowane")));
            // The plan list was not touched either.
            QCOMPARE(m_db->DBFHolidayPlans.asInteger(QStringLiteral("STATUS")), 4);

            // Once the database lets it, the same window approves.
            refuse(false);
            b->click();
            QVERIFY(!b->isEnabled());
            QVERIFY(w->data().approved);
        });
        refuse(false);
        QCOMPARE(value(QStringLiteral("SELECT STATUS FROM HOLIDAYPLANS WHERE IDYEAR=2013")),
                 QStringLiteral("5"));

        // A plan deleted meanwhile (by another copy of the program) is not shown approved.
        m_dialogs.clear();
        m_dialogs.answer(true);
        withOverview(2012, 0, [&](TfEmployeesPlans* w) {
            write(QStringLiteral("DELETE FROM HOLIDAYPLANS WHERE IDYEAR=2012"));
            QPushButton* b = child<QPushButton>(w, "SBZatwierdz");
            b->click();
            QVERIFY(b->isEnabled());
            QVERIFY(!w->data().approved);
            QCOMPARE(m_dialogs.informationTexts().size(), 1);
        });
        QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM HOLIDAYPLANS WHERE IDYEAR=2012")),
                 QStringLiteral("0"));
    }

    void staffingRowsApprovalAndEditorWarning()
    {
        QVERIFY(m_db->Write(
            QStringLiteral("UPDATE OR INSERT INTO DICTIONARY (IDDICTIONARY, IDTYPE, "
                           "DESCRIPTION) VALUES (950, 'ZESPO', 'Serwis') MATCHING (IDDICTIONARY)"),
            {}, 1));
        QVERIFY(m_db->Write(QStringLiteral("UPDATE EMPLOYEES SET IDDICUNIT=950"), {}, 1));
        QVERIFY(m_db->Write(
            QStringLiteral("INSERT INTO UNITSTAFFING (IDDICUNIT, MINSTAFF) VALUES (950, 2)"), {},
            1));
        m_dialogs.answer(false);
        withOverview(2013, 0, [this](TfEmployeesPlans* w) {
            QCOMPARE(w->grid()->rowCount(), 4); // header, two employees, the unit's row
            QCOMPARE(w->staffing().size(), size_t{1});
            const UnitStaffing& s = w->staffing()[0];
            QVERIFY(s.isBelow(2));  // P1 away on 2 January
            QVERIFY(!s.isBelow(1)); // non-working
            QVERIFY(!s.isBelow(7));
            child<QPushButton>(w, "SBZatwierdz")->click();
            inEditor(w, 0, [](TfEditCalendar* e) {
                auto* label = e->findChild<QLabel*>(QStringLiteral("labelStaffing"));
                QVERIFY(label);
                QVERIFY(label->isHidden());
                tick(e, 1, 7);
                QCoreApplication::processEvents();
                QVERIFY(!label->isHidden());
                QCOMPARE(label->text(), QStringLiteral("Poniżej minimalnej obsady: 1 dni"));
                QVERIFY(label->toolTip().contains(QStringLiteral("07")));
                QVERIFY(e->selector()->month(1)->isWarningDay(7));
                QVERIFY(!e->selector()->month(1)->isWarningDay(8));
                tick(e, 1, 7);
                QCoreApplication::processEvents();
                QVERIFY(label->isHidden());
                QVERIFY(!e->selector()->month(1)->isWarningDay(7));
            });
        });
        QVERIFY(m_dialogs.questionTexts().value(0).startsWith(
            QStringLiteral("W planie są dni poniżej minimalnej obsady:\n")));
        QCOMPARE(value(QStringLiteral("SELECT STATUS FROM HOLIDAYPLANS WHERE IDYEAR=2013")),
                 QStringLiteral("4"));
        QVERIFY(m_db->Write(QStringLiteral("DELETE FROM UNITSTAFFING"), {}, 1));
    }

    void editorLocksFollowTheLogin()
    {
        // "pracownik": every row read-only.
        m_db->loginState().restricted = true;
        withOverview(2013, 0, [this](TfEmployeesPlans* w) {
            inEditor(w, 1, [](TfEditCalendar* e) {
                QCOMPARE(child<QLabel>(e, "labelEmployee")->text(),
                         QStringLiteral("Jan Nowak (P1)"));
                QVERIFY(!child<QPushButton>(e, "SBZapisz")->isEnabled());
                QVERIFY(!child<QPushButton>(e, "SBNiezmienialne")->isEnabled());
                QVERIFY(!e->findChild<QWidget*>(QStringLiteral("calendarArea"))->isEnabled());
            });
        });
        // Logged in by number: his own row is editable until approval with the lock.
        m_db->loginState().employee = QStringLiteral("P1");
        m_db->loginState().approvedPlanLock = true;
        withOverview(2013, 0, [this](TfEmployeesPlans* w) {
            inEditor(w, 1, [](TfEditCalendar* e) {
                QVERIFY(child<QPushButton>(e, "SBZapisz")->isEnabled());
            });
            inEditor(w, 0, [](TfEditCalendar* e) {
                QVERIFY(!child<QPushButton>(e, "SBZapisz")->isEnabled());
            });
        });
        QVERIFY(m_db->Write(QStringLiteral("UPDATE HOLIDAYPLANS SET STATUS=5"), {}, 1));
        withOverview(2013, 0, [this](TfEmployeesPlans* w) {
            inEditor(w, 1, [](TfEditCalendar* e) {
                QVERIFY(!child<QPushButton>(e, "SBZapisz")->isEnabled());
            });
        });
    }

    void clicksOutsideTheIconColumnDoNothing()
    {
        withOverview(2013, 0, [](TfEmployeesPlans* w) {
            TOverviewGrid* g = w->grid();
            for (const QPoint& cell : {QPoint(3, 0), QPoint(0, 1), QPoint(2, 1), QPoint(5, 1)})
                QTest::mouseClick(g->viewport(), Qt::LeftButton, {},
                                  g->cellRect(cell.x(), cell.y()).center());
            QVERIFY(QApplication::activeModalWidget() == w);
        });
    }

    void editorTicksMarksAndSaves()
    {
        withOverview(2013, 0, [this](TfEmployeesPlans* w) {
            // Kowalska: 1 day; the second tick goes over the limit.
            inEditor(w, 0, [this](TfEditCalendar* e) {
                QLabel* left = child<QLabel>(e, "labelLeft");
                QCOMPARE(left->text(), QStringLiteral("1"));
                tick(e, 3, 4);
                QCOMPARE(e->remaining(), 0);
                tick(e, 1, 5); // a Saturday not stored as non-working
                QCOMPARE(left->text(), QStringLiteral("-1"));
                QCOMPARE(left->palette().color(QPalette::WindowText), win(0x0000FF));
                QVERIFY(e->selector()->month(1)->boxRect(1).isEmpty()); // non-working
                child<QPushButton>(e, "SBZapisz")->click();
                QVERIFY(e->isVisible());
                QCOMPARE(m_dialogs.informationTexts().last(),
                         QStringLiteral(
                             "Wybrano więcej dni urlopu niż przysługujący limit. Popraw grafik."));
                QCOMPARE(m_dialogs.shown().back().caption, QStringLiteral("Informacja"));
                tick(e, 3, 4);
                QCOMPARE(e->remaining(), 0);
                QVERIFY(left->palette().color(QPalette::WindowText) != win(0x0000FF));

                // Marking mode: captions, icons, background; a mark does not count.
                QPushButton* mark = child<QPushButton>(e, "SBNiezmienialne");
                QWidget* area = e->findChild<QWidget*>(QStringLiteral("calendarArea"));
                QCOMPARE(area->palette().color(QPalette::Window), win(0xF0D0C0));
                mark->click();
                QCOMPARE(mark->text(),
                         QStringLiteral("&Wyłącz tryb oznaczania niezmienialnych dni urlopu"));
                QCOMPARE(mark->icon().cacheKey(),
                         child<QPushButton>(e, "SBAnuluj")->icon().cacheKey());
                QCOMPARE(area->palette().color(QPalette::Window), win(0xAEFFC2));
                tick(e, 1, 5);
                tick(e, 2, 7);
                QCOMPARE(e->remaining(), 0);
                mark->click();
                QCOMPARE(mark->text(),
                         QStringLiteral("&Włącz tryb oznaczania niezmienialnych dni urlopu"));
                QCOMPARE(mark->icon().cacheKey(),
                         child<QPushButton>(e, "SBZapisz")->icon().cacheKey());
                child<QPushButton>(e, "SBZapisz")->click();
                QVERIFY(!e->isVisible());
                QVERIFY(e->saved());
            });
            // The overview reloaded after the editor closed.
            const THolidayPlanEntry& k = w->plans().at(0);
            QCOMPARE(k.remaining, 0);
            QVERIFY(k.isLeave(5));
            QVERIFY(k.isUnchangeable(5));
            QVERIFY(k.isUnchangeable(38));
            QVERIFY(!k.isLeave(38));
        });
        QCOMPARE(value(QStringLiteral(
                     "SELECT LIST(SELECTEDDAY) FROM EMPLOYEEHOLIDAYS WHERE IDEMPLOYEE='P2'")),
                 QStringLiteral("20130105"));
        QCOMPARE(
            value(QStringLiteral("SELECT COUNT(*) FROM EMPLOYEECONSTDAYS WHERE IDEMPLOYEE='P2'")),
            QStringLiteral("2"));
        // Saving the over-limit schedule is allowed when the check is off.
        m_options.sprawdzZakresUrlopu = false;
        withOverview(2013, 0, [this](TfEmployeesPlans* w) {
            inEditor(w, 0, [](TfEditCalendar* e) {
                tick(e, 6, 3);
                child<QPushButton>(e, "SBZapisz")->click();
                QVERIFY(!e->isVisible());
            });
            QCOMPARE(w->plans().at(0).remaining, -1);
        });
    }

    void editorSaveForAnEmployeeTakenOutOfThePlanTellsAndCloses()
    {
        withOverview(2013, 0, [this](TfEmployeesPlans* w) {
            inEditor(w, 0, [this](TfEditCalendar* e) {
                QVERIFY(m_db->Write(QStringLiteral("DELETE FROM EMPLOYEESSETTINGS WHERE "
                                                   "IDYEAR=2013 AND IDEMPLOYEE='P2'"),
                                    {}, 1));
                tick(e, 3, 4);
                child<QPushButton>(e, "SBZapisz")->click();
                QVERIFY(!e->isVisible());
                QVERIFY(!e->saved());
            });
        });
        QCOMPARE(m_dialogs.informationTexts(),
                 QStringList{QStringLiteral("Pracownika nie ma już w tym planie urlopowym.")});
        QCOMPARE(m_dialogs.shown().back().caption, QStringLiteral("Informacja"));
        QCOMPARE(value(QStringLiteral(
                     "SELECT COUNT(*) FROM EMPLOYEEHOLIDAYS WHERE IDEMPLOYEE='P2'")),
                 QStringLiteral("0"));
    }

    void aFailedEditorSaveKeepsTheWindowAndItsTicksForARetry()
    {
        const auto stored = [this](const char* table) {
            return value(QStringLiteral("SELECT LIST(SELECTEDDAY, ',') FROM (SELECT SELECTEDDAY "
                                        "FROM %1 WHERE IDEMPLOYEE='P1' ORDER BY SELECTEDDAY)")
                             .arg(QLatin1String(table)));
        };
        // The second table refuses, after the first has been rewritten in the same transaction.
        QVERIFY(m_db->Write(QStringLiteral("CREATE EXCEPTION E_EDITOR_REFUSED 'zablokowane'"), {},
                            1));
        QVERIFY(m_db->Write(QStringLiteral("CREATE TRIGGER T_EDITOR_REFUSE FOR EMPLOYEECONSTDAYS "
                                           "BEFORE INSERT AS BEGIN EXCEPTION E_EDITOR_REFUSED; "
                                           "END"),
                            {}, 1));
        // A failed check must not leave the trigger to the next cases.
        const auto dropped = qScopeGuard([this] {
            if (value(QStringLiteral("SELECT COUNT(*) FROM RDB$TRIGGERS WHERE "
                                     "RDB$TRIGGER_NAME='T_EDITOR_REFUSE'")) == QLatin1String("1"))
                m_db->Write(QStringLiteral("DROP TRIGGER T_EDITOR_REFUSE"), {}, 1);
            m_db->Write(QStringLiteral("DROP EXCEPTION E_EDITOR_REFUSED"), {}, 1);
        });
        bool retried = false;
        withOverview(2013, 0, [&](TfEmployeesPlans* w) {
            inEditor(w, 1, [&](TfEditCalendar* e) {
                QCOMPARE(e->remaining(), 26);
                tick(e, 3, 4);
                tick(e, 1, 2); // unticks a stored day
                child<QPushButton>(e, "SBNiezmienialne")->click();
                tick(e, 5, 6);
                child<QPushButton>(e, "SBNiezmienialne")->click();
                const YearDays ticked = e->selector()->GetDays();
                child<QPushButton>(e, "SBZapisz")->click();
                QVERIFY(e->isVisible());
                QCOMPARE(e->selector()->GetDays(), ticked);
                QCOMPARE(e->remaining(), 26);
                QCOMPARE(child<QLabel>(e, "labelLeft")->text(), QStringLiteral("26"));
                QVERIFY(!e->saved());
                QCOMPARE(m_dialogs.informationTexts().size(), 1);
                QVERIFY2(m_dialogs.informationTexts()[0].endsWith(kSaveKeptHint),
                         qPrintable(m_dialogs.informationTexts()[0]));
                QCOMPARE(stored("EMPLOYEEHOLIDAYS"), QStringLiteral("20130102,20130103"));
                QCOMPARE(stored("EMPLOYEECONSTDAYS"), QStringLiteral("20130103,20130104"));

                QVERIFY(m_db->Write(QStringLiteral("DROP TRIGGER T_EDITOR_REFUSE"), {}, 1));
                child<QPushButton>(e, "SBZapisz")->click();
                QVERIFY(!e->isVisible());
                QVERIFY(e->saved());
                retried = true;
            });
        });
        QVERIFY(retried);
        QCOMPARE(stored("EMPLOYEEHOLIDAYS"), QStringLiteral("20130103,20130304"));
        QCOMPARE(stored("EMPLOYEECONSTDAYS"), QStringLiteral("20130103,20130104,20130506"));
    }

    // P1 (26 + 2 days, leave on 2 and 3 January) has no 14 days in a row; P2 (1 day) is not
    // checked. With the checks off nothing of them shows: the grid, the sheet, the question and
    // the editor are as they were.
    void withTheChecksOffEverythingIsAsBefore()
    {
        const QString path = m_dir.path() + QStringLiteral("/bez-kp.csv");
        const QString expected = m_dir.path() + QStringLiteral("/bez-kp-oczekiwany.csv");
        m_dialogs.chooseFile(path);
        m_dialogs.answer(false);
        withOverview(2013, 0, [&](TfEmployeesPlans* w) {
            TOverviewGrid* g = w->grid();
            QVERIFY(!g->showsLaborCode());
            QCOMPARE(g->fixedColumns(), 4);
            QCOMPARE(g->editColumn(), 3);
            QCOMPARE(g->columnCount(), 365 + 4);
            QVERIFY(w->laborCode().empty());
            QVERIFY(g->hintAt(QPoint(3, 0)).isEmpty());
            QVERIFY(g->hintAt(QPoint(3, 2)).isEmpty());
            QVERIFY(TOVExportToCSV::ExportGrid(OverviewSheet(w->data(), w->staffing()), expected));
            child<QPushButton>(w, "SBEksport")->click();
            child<QPushButton>(w, "SBZatwierdz")->click();
            inEditor(w, 1, [](TfEditCalendar* e) {
                auto* line = child<QLabel>(e, "labelKodeksPracy");
                QVERIFY(line->isHidden());
                tick(e, 1, 7);
                QCoreApplication::processEvents();
                QVERIFY(line->isHidden());
            });
        });
        QFile written(path);
        QFile before(expected);
        QVERIFY(written.open(QIODevice::ReadOnly) && before.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), before.readAll());
        QCOMPARE(m_dialogs.questionTexts(),
                 QStringList{QStringLiteral("Czy na pewno zatwierdzić plan?")});
    }

    void laborCodeColumnHintSheetAndOneApprovalWindow()
    {
        setDateSeparator(QLatin1Char('-'));
        m_options.sprawdzajKodeksPracy = true;
        // P2 alone in a unit that needs two: every working day below. P1 in another unit.
        for (const auto& [unit, name] : {std::pair{950, "Serwis"}, std::pair{951, "Biuro"}})
            QVERIFY(m_db->Write(
                QStringLiteral("UPDATE OR INSERT INTO DICTIONARY (IDDICTIONARY, IDTYPE, "
                               "DESCRIPTION) VALUES (%1, 'ZESPO', '%2') MATCHING (IDDICTIONARY)")
                    .arg(unit)
                    .arg(QLatin1String(name)),
                {}, 1));
        QVERIFY(m_db->Write(
            QStringLiteral("UPDATE EMPLOYEES SET IDDICUNIT=950 WHERE IDEMPLOYEE='P2'"), {}, 1));
        QVERIFY(m_db->Write(
            QStringLiteral("UPDATE EMPLOYEES SET IDDICUNIT=951 WHERE IDEMPLOYEE='P1'"), {}, 1));
        QVERIFY(m_db->Write(
            QStringLiteral("INSERT INTO UNITSTAFFING (IDDICUNIT, MINSTAFF) VALUES (950, 2)"), {},
            1));
        const QString path = m_dir.path() + QStringLiteral("/kp.csv");
        m_dialogs.chooseFile(path);
        m_dialogs.answer(false);
        const QString rule = QStringLiteral("Brak części urlopu trwającej co najmniej 14 kolejnych "
                                            "dni kalendarzowych (art. 162 KP)");
        QString shownHint;
        withOverview(2013, 0, [&](TfEmployeesPlans* w) {
            TOverviewGrid* g = w->grid();
            QCOMPARE(g->fixedColumns(), 5);
            QCOMPARE(g->editColumn(), 4);
            QCOMPARE(g->columnCount(), 365 + 5);
            const int kowalska = 1;
            const int nowak = 2;
            QCOMPARE(w->laborCode().size(), size_t{2});
            QVERIFY(w->laborCode()[1].runBroken);
            QVERIFY(!w->laborCode()[0].broken());

            // The mark in Nowak's "KP" cell only; the days now start at the sixth column.
            const QImage img = g->viewport()->grab().toImage();
            const auto centre = [&](int c, int r) {
                return QColor(img.pixel(g->cellRect(c, r).center()));
            };
            const auto edge = [&](int c, int r) {
                const QRect rect = g->cellRect(c, r);
                return QColor(img.pixel(rect.right() - 1, rect.top() + 1));
            };
            QCOMPARE(centre(3, kowalska), win(0xC0A090));
            QVERIFY(centre(3, nowak) != win(0xC0A090));
            QCOMPARE(edge(5, nowak), win(0xDDDDDD)); // 1 January, non-working
            QCOMPARE(edge(6, nowak), win(0x00FFFF)); // 2 January, leave
            QCOMPARE(g->cellRect(3, nowak).width(), TOverviewGrid::kLaborCodeWidth - 1);

            QCOMPARE(g->hintAt(QPoint(3, nowak)), rule);
            QVERIFY(g->hintAt(QPoint(3, kowalska)).isEmpty());
            QVERIFY(g->hintAt(QPoint(3, 0)).contains(QStringLiteral("art. 168 KP")));
            // The hint as the pointer shows it.
            const QPoint at = g->viewport()->mapTo(g, g->cellRect(3, nowak).center());
            QHelpEvent help(QEvent::ToolTip, at, g->mapToGlobal(at));
            QCoreApplication::sendEvent(g, &help);
            shownHint = QToolTip::text();
            QToolTip::hideText();

            child<QPushButton>(w, "SBEksport")->click();
            child<QPushButton>(w, "SBZatwierdz")->click();

            // The edit icon moved one column right and still opens the editor.
            inEditor(w, 1, [](TfEditCalendar* e) {
                auto* line = child<QLabel>(e, "labelKodeksPracy");
                QVERIFY(!line->isHidden());
                QCOMPARE(line->text(),
                         QStringLiteral("Kodeks pracy: brak 14 dni z rzędu (art. 162 KP); "
                                        "najdłuższy odpoczynek: 01-01-2013 – 03-01-2013 (3 dni)"));
                QCOMPARE(line->palette().color(QPalette::WindowText), win(0x0000FF));
                QVERIFY(line->toolTip().startsWith(QStringLiteral("Brak części urlopu")));
                for (int d = 4; d <= 13; ++d)
                    tick(e, 1, d);
                QCoreApplication::processEvents();
                QVERIFY(e->laborCode().runBroken);
                QCOMPARE(e->laborCode().longestRun.days(), 13);
                tick(e, 1, 14);
                QCoreApplication::processEvents();
                QCOMPARE(line->text(),
                         QStringLiteral("Kodeks pracy: spełnione; najdłuższy odpoczynek: "
                                        "01-01-2013 – 14-01-2013 (14 dni)"));
                QVERIFY(line->palette().color(QPalette::WindowText) != win(0x0000FF));
            });
        });
        QCOMPARE(shownHint, rule);

        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = f.readAll().split('\n');
        QVERIFY(lines.size() > 4);
        QStringEncoder cp1250("windows-1250");
        QVERIFY(lines[0].startsWith(QByteArray(cp1250.encode(
            QStringLiteral("\"Nazwisko pracownika\";\"Należny\";\"Pozost.\";\"KP\";\"1 Sty\";")))));
        QVERIFY(lines[2].startsWith("\"Anna Kowalska (P2)\";\"1 (0)\";\"1\";\"\";\"x\";"));
        QVERIFY(lines[3].startsWith(QByteArray(cp1250.encode(QStringLiteral(
            "\"Jan Nowak (P1)\";\"26 (2)\";\"26\";\"brak 14 dni z rzędu (art. 162 KP)\";"
            "\"x\";\"v\";\"v!\";\"!\";\"\";")))));
        QVERIFY(
            lines[4].startsWith(QByteArray(cp1250.encode(QStringLiteral("\"Obsada: Serwis\";")))));

        // One question with both lists; refused, the plan keeps its status.
        QCOMPARE(m_dialogs.questionTexts().size(), 1);
        const QString question = m_dialogs.questionTexts().constFirst();
        QVERIFY(
            question.startsWith(QStringLiteral("W planie są dni poniżej minimalnej obsady:\n")));
        QVERIFY2(question.endsWith(
                     QStringLiteral("\nPlan narusza zasady urlopowe Kodeksu pracy u pracowników:\n"
                                    "Jan Nowak (P1): brak 14 dni z rzędu (art. 162 KP)\n\n"
                                    "Czy na pewno zatwierdzić plan?")),
                 qPrintable(question));
        QCOMPARE(value(QStringLiteral("SELECT STATUS FROM HOLIDAYPLANS WHERE IDYEAR=2013")),
                 QStringLiteral("4"));

        // Shown one unit (Kowalska's), approval still names Nowak: the plan is approved whole.
        m_dialogs.clear();
        m_dialogs.answer(true);
        withOverview(2013, 950, [](TfEmployeesPlans* w) {
            QCOMPARE(w->plans().Count(), 1);
            QVERIFY(!w->laborCode()[0].broken());
            child<QPushButton>(w, "SBZatwierdz")->click();
        });
        QCOMPARE(m_dialogs.questionTexts().size(), 1);
        QVERIFY(m_dialogs.questionTexts().constFirst().contains(QStringLiteral("Jan Nowak (P1)")));
        QCOMPARE(value(QStringLiteral("SELECT STATUS FROM HOLIDAYPLANS WHERE IDYEAR=2013")),
                 QStringLiteral("5"));
    }

    void storedSizesAreApplied()
    {
        m_options.emplPlanWinWidth = 1300;
        m_options.emplPlanWinHeight = 700;
        m_options.editCalWinWidth = 1400;
        m_options.editCalWinHeight = 900;
        withOverview(2013, 0, [this](TfEmployeesPlans* w) {
            QCOMPARE(w->size(), QSize(1300, 700));
            inEditor(w, 0, [](TfEditCalendar* e) { QCOMPARE(e->size(), QSize(1400, 900)); });
        });
    }

    void theWheelMovesThroughTheDaysAndTheRows()
    {
        withOverview(2013, 0, [](TfEmployeesPlans* w) {
            TOverviewGrid* g = w->grid();
            g->setFirstVisibleDay(1);
            const int lines = QApplication::wheelScrollLines();
            auto wheel = [g](QPoint angle, Qt::KeyboardModifiers modifiers = {}) {
                const QPointF pos = g->viewport()->rect().center();
                QWheelEvent e(pos, g->viewport()->mapToGlobal(pos), QPoint(), angle, Qt::NoButton,
                              modifiers, Qt::NoScrollPhase, false);
                QApplication::sendEvent(g->viewport(), &e);
            };
            // All rows fit: the plain wheel goes through the days, down is forward.
            QCOMPARE(g->verticalScrollBar()->maximum(), 0);
            wheel({0, -120});
            QCOMPARE(g->firstVisibleDay(), 1 + lines);
            wheel({0, 120}, Qt::ShiftModifier);
            QCOMPARE(g->firstVisibleDay(), 1);
            wheel({0, -240}, Qt::ShiftModifier);
            QCOMPARE(g->firstVisibleDay(), 1 + 2 * lines);
            // A touchpad's sideways swipe comes in small pieces that add up.
            for (int i = 0; i < 8; ++i)
                wheel({-15, 0});
            QCOMPARE(g->firstVisibleDay(), 1 + 3 * lines);
            wheel({120, 0});
            QCOMPARE(g->firstVisibleDay(), 1 + 2 * lines);

            // Rows that do not fit: the plain wheel goes through them, Shift through the days.
            g->setMaximumHeight(TOverviewGrid::kRowHeight * 2 + g->horizontalScrollBar()->sizeHint().height());
            QTRY_VERIFY(g->verticalScrollBar()->maximum() > 0);
            const int day = g->firstVisibleDay();
            QCOMPARE(g->firstVisibleRow(), 1);
            wheel({0, -120});
            QCOMPARE(g->firstVisibleRow(), 1 + std::min(lines, g->verticalScrollBar()->maximum()));
            QCOMPARE(g->firstVisibleDay(), day);
            wheel({0, -120}, Qt::ShiftModifier);
            QCOMPARE(g->firstVisibleDay(), day + lines);
            wheel({0, 120});
            QCOMPARE(g->firstVisibleRow(), 1);
            g->setMaximumHeight(QWIDGETSIZE_MAX);
        });
    }

    void editorSizeIsStoredWhenItCloses()
    {
        m_options.editCalWinWidth = 0;
        m_options.editCalWinHeight = 0;
        withOverview(2013, 0, [this](TfEmployeesPlans* w) {
            inEditor(w, 0, [](TfEditCalendar* e) { e->resize(1234, 876); });
            QCOMPARE(m_options.editCalWinWidth, 1234);
            QCOMPARE(m_options.editCalWinHeight, 876);
            // Reopened, it has the size it was closed with.
            inEditor(w, 0, [](TfEditCalendar* e) { QCOMPARE(e->size(), QSize(1234, 876)); });
        });
    }
};

ZF_QTEST_MAIN(OverviewWindowsTest)
#include "overview_windows_test.moc"
