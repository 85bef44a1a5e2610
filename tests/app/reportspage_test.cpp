// The reports page offscreen over a real embedded database and the real report data: its
// buttons and the checks before a report, dates typed into the masked fields reaching the
// printed forms, the fields and their pickers in step, and the focus on a refused date.
#include "app/reportspage.h"

#include "data/mydatabase.h"
#include "reports/dmraporty.h"
#include "tests/reports/reports_seed.h"
#include "tests/support/modal.h"
#include "tests/support/qtest_main.h"
#include "util/dates.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>
#include <utility>

using namespace zf;

namespace {

using test::child;
using test::click;

} // namespace

class ReportsPageTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::TestDatabase> m_t;
    std::unique_ptr<TDMRaporty> m_dm;
    std::unique_ptr<TReportsPage> m_page;
    int m_shown = 0;
    QString m_text;

    TReportsPage& page() { return *m_page; }
    QStringList messages() const { return m_t->dialogs().informationTexts(); }
    QLineEdit* field(const char* name) { return child<QLineEdit>(m_page.get(), name); }
    QDateEdit* picker(const char* name) { return child<QDateEdit>(m_page.get(), name); }

    static void choose(QComboBox* box, const QVariant& key)
    {
        const int index = box->findData(key);
        QVERIFY2(index >= 0, qPrintable(key.toString()));
        box->setCurrentIndex(index);
    }

    // Types `digits` into a date field the way a clerk enters it: after a click at its right
    // end, where the cursor of a full mask takes nothing more.
    static void typeDate(QLineEdit* edit, const QString& digits)
    {
        QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(edit->width() - 3, edit->height() / 2));
        QTRY_VERIFY(edit->hasFocus());
        QCoreApplication::processEvents();
        QTest::keyClicks(edit, digits);
    }

private slots:
    void initTestCase()
    {
        setDateSeparator(QLatin1Char('-'));
        m_t = std::make_unique<test::TestDatabase>();
        test::seedReportPlan(*m_t);
        TmyDataBase& db = m_t->db();
        m_page = std::make_unique<TReportsPage>(db.DBFHolidayPlans, db.DBFUnits, db.DBFEmployees);
        db.OpenPlans();
        db.OpenUnits();
        db.OpenEmployees();
        m_dm = std::make_unique<TDMRaporty>(db, m_t->dialogs(), test::programFolder());
        m_dm->show = [this](const report::ReportDocument& d) {
            ++m_shown;
            m_text = d.pageText(0);
        };
        // The buttons run the commands of their names, as the main window wires them.
        const auto commands = m_page->ReportCommands(*m_dm);
        QCOMPARE(commands.size(), size_t(5));
        for (const auto& [name, command] : commands) {
            auto* b = m_page->findChild<QPushButton*>(name);
            QVERIFY2(b, qPrintable(name));
            connect(b, &QPushButton::clicked, this, command);
        }
        m_page->resize(900, 700);
        m_page->show();
        m_page->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_page.get()));
    }

    void init()
    {
        m_page->resetFilters(QDate(2023, 1, 2));
        m_t->dialogs().clear();
        m_shown = 0;
        m_text.clear();
    }

    void cleanupTestCase()
    {
        m_page.reset();
        m_dm.reset();
        m_t.reset();
    }

    void startsWithTodayInEveryDateFieldAndItsPicker()
    {
        for (const char* name : {"dataWydruku", "filtrUrlopOd", "filtrUrlopDo"})
            QCOMPARE(field(name)->displayText(), QStringLiteral("02-01-2023"));
        for (const char* name : {"DTPDataWydruku", "DTPUrlopOd", "DTPUrlopDo"})
            QCOMPARE(picker(name)->date(), QDate(2023, 1, 2));
        QCOMPARE(page().filtrMiesiac->currentText(), QStringLiteral("(Cały rok)"));
        QCOMPARE(page().filtrPlanUrlopowy->currentIndex(), -1);
        QCOMPARE(page().filtrRodzajWniosku->currentText(), QStringLiteral("Urlopu wypoczynkowego"));
        QCOMPARE(page().filtrPlanUrlopowy->count(), 1);
        QCOMPARE(page().filtrPracownik->count(), 2);
    }

    void planButtonsCheckTheirChoicesAndPassTheFilters()
    {
        click(m_page.get(), "SBGrafikRok");
        page().filtrMiesiac->setCurrentIndex(1);
        click(m_page.get(), "SBZestawienie");
        QCOMPARE(m_shown, 0);
        choose(page().filtrPlanUrlopowy, 2023);
        page().filtrMiesiac->setCurrentIndex(0);
        click(m_page.get(), "SBGrafikMiesiac");
        QCOMPARE(m_shown, 0);
        const QString noPlan =
            QStringLiteral("Nie wybrano planu uropowego, dla którego ma być generowany raport");
        QCOMPARE(messages(),
                 QStringList({noPlan, noPlan,
                              QStringLiteral("Nie wybrano w filtrze miesiąca, dla którego ma być "
                                             "generowany raport")}));

        page().filtrMiesiac->setCurrentIndex(2);
        click(m_page.get(), "SBGrafikMiesiac");
        QCOMPARE(m_shown, 1);
        QCOMPARE(m_dm->year, 2023);
        QCOMPARE(m_dm->monthNumber, 2);
        QVERIFY2(m_text.contains(QStringLiteral("Luty 2023")), qPrintable(m_text));

        // The unit filter, then its clearing button.
        choose(page().filtrZespol, test::kSeedUnit);
        click(m_page.get(), "SBZestawienie");
        QCOMPARE(m_shown, 2);
        QCOMPARE(m_dm->unitName, QStringLiteral("Dział kadr"));
        QVERIFY(m_text.contains(QStringLiteral("Kowalska")));
        QVERIFY(!m_text.contains(QStringLiteral("Nowak")));
        click(m_page.get(), "SBBezZespolu");
        QCOMPARE(page().unit(), 0);
        click(m_page.get(), "SBGrafikRok");
        QCOMPARE(m_shown, 3);
        QCOMPARE(m_dm->employeeCount, 2);
        QCOMPARE(m_dm->unitName, QString());

        // The employee filter, then its clearing button.
        choose(page().filtrPracownik, QStringLiteral("P2"));
        click(m_page.get(), "SBZestawienie");
        QVERIFY(m_text.contains(QStringLiteral("Nowak")));
        QVERIFY(!m_text.contains(QStringLiteral("Kowalska")));
        click(m_page.get(), "SBBezPracownika");
        QCOMPARE(page().employee(), QString());
        click(m_page.get(), "SBGrafikRok");
        QCOMPARE(m_dm->employeeCount, 2);
        QCOMPARE(m_shown, 5);
    }

    void typedDatesReachTheLeaveApplication()
    {
        choose(page().filtrDlaPracownika, QStringLiteral("P1"));
        click(m_page.get(), "SBBezPracownikaWniosek");
        QCOMPARE(page().formEmployee(), QString());
        choose(page().filtrDlaPracownika, QStringLiteral("P1"));
        page().filtrRodzajWniosku->setCurrentIndex(2);
        typeDate(field("dataWydruku"), QStringLiteral("10072027"));
        typeDate(field("filtrUrlopOd"), QStringLiteral("12072027"));
        typeDate(field("filtrUrlopDo"), QStringLiteral("13072027"));
        page().filtrIleDni->setText(QStringLiteral("2"));
        QCOMPARE(field("filtrUrlopOd")->displayText(), QStringLiteral("12-07-2027"));
        QCOMPARE(picker("DTPUrlopOd")->date(), QDate(2027, 7, 12));
        QCOMPARE(picker("DTPUrlopDo")->date(), QDate(2027, 7, 13));
        QCOMPARE(picker("DTPDataWydruku")->date(), QDate(2027, 7, 10));

        click(m_page.get(), "SBWniosek");
        QCOMPARE(messages(), QStringList());
        QCOMPARE(m_shown, 1);
        QCOMPARE(m_dm->form.from, QStringLiteral("12-07-2027"));
        QCOMPARE(m_dm->form.to, QStringLiteral("13-07-2027"));
        QCOMPARE(m_dm->form.printDate, QStringLiteral("10-07-2027"));
        QCOMPARE(m_dm->form.days, QStringLiteral("2"));
        QVERIFY2(m_text.contains(QStringLiteral("od dnia 12-07-2027 do dnia 13-07-2027")),
                 qPrintable(m_text));
        QVERIFY(m_text.contains(QStringLiteral("Urlopu okolicznościowego z tytułu")));
        QVERIFY(m_text.contains(QStringLiteral("Żaneta Kowalska")));

        click(m_page.get(), "SBOswiadczenie");
        QCOMPARE(m_shown, 2);
        QVERIFY2(m_text.contains(QStringLiteral("dnia 10-07-2027")), qPrintable(m_text));

        // A print date emptied for the pen prints both forms without a word.
        field("dataWydruku")->clear();
        click(m_page.get(), "SBWniosek");
        click(m_page.get(), "SBOswiadczenie");
        QCOMPARE(messages(), QStringList());
        QCOMPARE(m_shown, 4);
        QVERIFY2(m_text.contains(QStringLiteral("dnia ....................")), qPrintable(m_text));
    }

    void fieldsAndPickersKeepInStepBothWays()
    {
        struct Pair
        {
            const char* field;
            const char* picker;
        };
        for (const Pair& p : {Pair{"dataWydruku", "DTPDataWydruku"},
                              Pair{"filtrUrlopOd", "DTPUrlopOd"},
                              Pair{"filtrUrlopDo", "DTPUrlopDo"}}) {
            picker(p.picker)->setDate(QDate(2024, 2, 29));
            QCOMPARE(field(p.field)->displayText(), QStringLiteral("29-02-2024"));
            typeDate(field(p.field), QStringLiteral("0103"));
            // Half typed: the picker keeps its day until the year is complete.
            QCOMPARE(field(p.field)->displayText(), QStringLiteral("01-03-    "));
            QCOMPARE(picker(p.picker)->date(), QDate(2024, 2, 29));
            QTest::keyClicks(field(p.field), QStringLiteral("2025"));
            QCOMPARE(picker(p.picker)->date(), QDate(2025, 3, 1));
            // A day the month does not have leaves the picker where it was.
            typeDate(field(p.field), QStringLiteral("31042025"));
            QCOMPARE(field(p.field)->displayText(), QStringLiteral("31-04-2025"));
            QCOMPARE(picker(p.picker)->date(), QDate(2025, 3, 1));
        }
    }

    void labelsLeadToTheirFields()
    {
        // Alt and the underlined letter of each date label puts the focus in its field.
        for (const auto& [key, name] : {std::pair{Qt::Key_D, "dataWydruku"},
                                        std::pair{Qt::Key_R, "filtrUrlopOd"},
                                        std::pair{Qt::Key_L, "filtrUrlopDo"}}) {
            QTest::keyClick(m_page.get(), key, Qt::AltModifier);
            QTRY_VERIFY2(field(name)->hasFocus(), name);
        }
        for (QLabel* label : m_page->findChildren<QLabel*>()) {
            if (label->text().endsWith(QLatin1Char(':')))
                QVERIFY2(label->buddy(), qPrintable(label->text()));
        }
        QCOMPARE(picker("DTPUrlopOd")->accessibleName(), QStringLiteral("Urlop od: (kalendarz)"));
    }

    void aRefusedDateGetsItsMessageAndTheFocus()
    {
        choose(page().filtrDlaPracownika, QStringLiteral("P2"));
        const auto refused = [this](const char* button, const char* name, const QString& text) {
            m_t->dialogs().clear();
            page().filtrIleDni->setFocus();
            click(m_page.get(), button);
            QCOMPARE(messages(), QStringList{text});
            QCOMPARE(m_t->dialogs().shown()[0].caption, QStringLiteral("Uwaga"));
            QTRY_VERIFY2(field(name)->hasFocus(), name);
            QCOMPARE(m_shown, 0);
        };
        typeDate(field("filtrUrlopOd"), QStringLiteral("31022023"));
        refused("SBWniosek", "filtrUrlopOd",
                QStringLiteral("Data urlopu (Od) wskazuje dzień, którego nie ma w kalendarzu. "
                               "Popraw pole."));
        typeDate(field("filtrUrlopOd"), QStringLiteral("0202"));
        refused("SBWniosek", "filtrUrlopOd",
                QStringLiteral("Niepoprawny format daty urlopu (Od). Popraw pole."));
        typeDate(field("filtrUrlopOd"), QStringLiteral("01022023"));
        refused("SBWniosek", "filtrUrlopDo",
                QStringLiteral("Data urlopu (Do) jest wcześniejsza niż data urlopu (Od). "
                               "Popraw pole."));
        field("filtrUrlopDo")->clear();
        refused("SBWniosek", "filtrUrlopDo",
                QStringLiteral("Niepoprawny format daty urlopu (Do). Popraw pole."));
        typeDate(field("filtrUrlopDo"), QStringLiteral("03022023"));
        typeDate(field("dataWydruku"), QStringLiteral("3"));
        refused("SBWniosek", "dataWydruku",
                QStringLiteral("Niepoprawny format daty wydruku. Popraw pole."));
        refused("SBOswiadczenie", "dataWydruku",
                QStringLiteral("Niepoprawny format daty wydruku. Popraw pole."));
        // The focused field is selected whole: the next digits typed start a new date.
        QTRY_COMPARE(field("dataWydruku")->selectionLength(), 10);
        QTest::keyClicks(field("dataWydruku"), QStringLiteral("31012023"));

        m_t->dialogs().clear();
        click(m_page.get(), "SBWniosek");
        QCOMPARE(messages(), QStringList());
        QCOMPARE(m_shown, 1);
        QVERIFY2(m_text.contains(QStringLiteral("od dnia 01-02-2023 do dnia 03-02-2023")),
                 qPrintable(m_text));
        QVERIFY(m_text.contains(QStringLiteral("31-01-2023")));
    }
};

ZF_QTEST_MAIN(ReportsPageTest)
#include "reportspage_test.moc"
