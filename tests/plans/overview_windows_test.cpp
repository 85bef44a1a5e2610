// The plan overview and the leave editor offscreen over a real embedded database: the painted
// colours, approval, export, the editor's locks, ticks, marking mode and saving.
#include "app/programoptions.h"
#include "data/databasecreation.h"
#include "data/mydatabase.h"
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

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

using namespace zf;

namespace {

using test::child;

QColor win(unsigned int bgr)
{
    return TOverviewGrid::WinColor(bgr);
}

} // namespace

class OverviewWindowsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    test::ScriptedDialogs m_dialogs;
    ProgramOptions m_options;
    std::unique_ptr<TmyDataBase> m_db;
    std::unique_ptr<TfEmployeesPlans> m_overview;
    std::unique_ptr<test::FixedClock> m_clock;

    static QString dataFolder() { return test::dataHome() + QStringLiteral("/Orvantis/Zefirant"); }

    QString value(const QString& sql)
    {
        QString result;
        m_db->Utility(1, [&](fb::Statement& st) {
            st.setSql(sql);
            st.execute();
            if (st.fetch())
                result = st.value(0).toString();
            st.close();
        });
        return result;
    }

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
        const QRect icon = w->grid()->cellRect(3, index + 1);
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
        const QString error = test::openWindowTestDatabase(
            m_dir.path(), QStringLiteral("plany.fdb"), m_dialogs, m_db);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        m_overview = std::make_unique<TfEmployeesPlans>(*m_db, m_dialogs, m_options);
        m_clock = std::make_unique<test::FixedClock>(QDateTime(QDate(2024, 1, 1), QTime(9, 0)));
    }

    void init()
    {
        m_options = ProgramOptions{};
        m_db->loginState() = LoginState{};
        m_dialogs.clear();
        m_clock->set(QDateTime(QDate(2024, 1, 1), QTime(9, 0)));
        QVERIFY(m_db->Write(QStringLiteral("DELETE FROM HOLIDAYPLANS"), {}, 1));
        QVERIFY(m_db->Write(QStringLiteral("DELETE FROM EMPLOYEES"), {}, 1));
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
};

ZF_QTEST_MAIN(OverviewWindowsTest)
#include "overview_windows_test.moc"
