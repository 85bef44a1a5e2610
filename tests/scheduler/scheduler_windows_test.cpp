// The deadline editor, the deadline reminder, the notes window and the note reminder offscreen,
// driven as a clerk would, over a real embedded database.
#include "data/databasecreation.h"
#include "data/mydatabase.h"
#include "data/programoptions.h"
#include "data/scriptrunner.h"
#include "scheduler/notatki.h"
#include "scheduler/schedulerwindow.h"
#include "scheduler/shownotatka.h"
#include "scheduler/sprawdzeniedat.h"
#include "scheduler/terminarz.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/modal.h"
#include "tests/support/qtest_main.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_env.h"
#include "tests/support/window_database.h"
#include "util/dates.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

#include <memory>

using namespace zf;

namespace {

using test::child;
using test::click;
using test::onModal;

} // namespace

class SchedulerWindowsTest : public test::WindowDatabaseTest
{
    Q_OBJECT

    std::unique_ptr<TScheduler> m_scheduler;
    int m_kindsEdited = 0;



    void addDeadline(int id, int date, const QString& description)
    {
        QVERIFY(m_db->Write(TmyDataBase::DBFUScheduler.insertSql,
                            {{QStringLiteral("IDTERM"), id},
                             {QStringLiteral("IDDICCLASS"), 0},
                             {QStringLiteral("DATESINCE"), date},
                             {QStringLiteral("IDEMPLOYEE"), QString()},
                             {QStringLiteral("DESCRIPTION"), description},
                             {QStringLiteral("OTHER"), QStringLiteral("inne")},
                             {QStringLiteral("ACT"), QStringLiteral("T")}},
                            1));
    }

private slots:
    void initTestCase()
    {
        setDateSeparator(QLatin1Char('-'));
        const QString error = openDatabase(QStringLiteral("terminarz.fdb"));
        QVERIFY2(error.isEmpty(), qPrintable(error));
        m_scheduler =
            std::make_unique<TScheduler>(*m_db, m_dialogs, m_options, [this] { ++m_kindsEdited; });
    }

    void init()
    {
        m_options = ProgramOptions{};
        QVERIFY(m_db->Write(QStringLiteral("DELETE FROM SCHEDULER"), {}, 1));
        QVERIFY(m_db->Write(QStringLiteral("DELETE FROM GLOBALNOTES"), {}, 1));
        m_db->OpenScheduler();
        m_dialogs.clear();
    }

    void cleanupTestCase()
    {
        m_scheduler.reset();
        m_db.reset();
    }

    void editorRefusesADayThatDoesNotExist()
    {
        bool stayedOpen = false;
        onModal<TfScheduler>([&](TfScheduler* w) {
            QCOMPARE(w->windowTitle(), QStringLiteral("Edytuj termin"));
            auto* date = child<QLineEdit>(w, "fDATESINCE");
            QCOMPARE(date->displayText(), QStringLiteral("  -  -    "));
            QVERIFY(child<QCheckBox>(w, "fACT")->isChecked());
            date->setText(QStringLiteral("31-02-2024"));
            click(w, "SBZapisz");
            stayedOpen = w->isVisible();
            date->setText(QStringLiteral("29-02-2024"));
            child<QPlainTextEdit>(w, "fDESCRIPTION")->setPlainText(QStringLiteral("  Przegląd  "));
            click(w, "SBZapisz");
        });
        m_scheduler->Add(false);
        QVERIFY(stayedOpen);
        QCOMPARE(m_dialogs.informationTexts(),
                 QStringList{QStringLiteral("Niepoprawny format daty terminu. Popraw pole.")});
        QCOMPARE(m_dialogs.shown()[0].caption, QStringLiteral("Uwaga"));
        QCOMPARE(value(QStringLiteral("SELECT DATESINCE FROM SCHEDULER")),
                 QStringLiteral("20240229"));
        QCOMPARE(value(QStringLiteral("SELECT DESCRIPTION FROM SCHEDULER")),
                 QStringLiteral("Przegląd"));
    }

    void editorPickListsPickerAndKeys()
    {
        m_kindsEdited = 0;
        onModal<TfScheduler>([&](TfScheduler* w) {
            auto* kinds = child<QComboBox>(w, "fIDDICCLASS");
            QVERIFY(kinds->count() > 0);
            QCOMPARE(kinds->currentIndex(), -1);
            kinds->setCurrentIndex(0);
            click(w, "SBSlowniki");
            // The picker writes its day into the field.
            child<QDateEdit>(w, "DTPDATESINCE")->setDate(QDate(2024, 5, 17));
            QCOMPARE(child<QLineEdit>(w, "fDATESINCE")->displayText(),
                     QStringLiteral("17-05-2024"));
            auto* other = child<QLineEdit>(w, "fOTHER");
            QCOMPARE(other->maxLength(), 254);
            other->setText(QStringLiteral("pokój 5"));
            QTest::keyClick(other, Qt::Key_Return);
        });
        m_scheduler->Add(false);
        QCOMPARE(m_kindsEdited, 1);
        QCOMPARE(value(QStringLiteral("SELECT DATESINCE FROM SCHEDULER")),
                 QStringLiteral("20240517"));
        QCOMPARE(value(QStringLiteral("SELECT OTHER FROM SCHEDULER")), QStringLiteral("pokój 5"));
        const QString kind = value(QStringLiteral("SELECT IDDICCLASS FROM SCHEDULER"));
        QVERIFY(kind.toInt() > 0);

        // Edit: the kind shows, the clearing button takes it away; Esc in the date field cancels.
        onModal<TfScheduler>([](TfScheduler* w) {
            QVERIFY(child<QComboBox>(w, "fIDDICCLASS")->currentIndex() >= 0);
            click(w, "SBBezRodzaju");
            QCOMPARE(child<QComboBox>(w, "fIDDICCLASS")->currentIndex(), -1);
            QTest::keyClick(child<QLineEdit>(w, "fDATESINCE"), Qt::Key_Escape);
        });
        m_scheduler->Edit();
        QCOMPARE(value(QStringLiteral("SELECT IDDICCLASS FROM SCHEDULER")), kind);
        onModal<TfScheduler>([](TfScheduler* w) {
            click(w, "SBBezRodzaju");
            click(w, "SBZapisz");
        });
        m_scheduler->Edit();
        QCOMPARE(value(QStringLiteral("SELECT IDDICCLASS FROM SCHEDULER")), QStringLiteral("0"));
    }

    void viewShowsTheDeadlineWithOnlyOk()
    {
        addDeadline(1, 20240301, QStringLiteral("do obejrzenia"));
        m_db->OpenScheduler();
        onModal<TfScheduler>([](TfScheduler* w) {
            QVERIFY(!child<QPushButton>(w, "SBZapisz")->isVisible());
            QVERIFY(!child<QPushButton>(w, "SBSlowniki")->isVisible());
            QCOMPARE(child<QPushButton>(w, "SBAnuluj")->text(), QStringLiteral("&OK"));
            QVERIFY(child<QLineEdit>(w, "fDATESINCE")->isReadOnly());
            QVERIFY(!child<QDateEdit>(w, "DTPDATESINCE")->isEnabled());
            QCOMPARE(child<QLineEdit>(w, "fDATESINCE")->displayText(),
                     QStringLiteral("01-03-2024"));
            QCOMPARE(child<QPlainTextEdit>(w, "fDESCRIPTION")->toPlainText(),
                     QStringLiteral("do obejrzenia"));
            QTest::keyClick(child<QLineEdit>(w, "fOTHER"), Qt::Key_Return); // saves nothing
            QVERIFY(w->isVisible());
            click(w, "SBAnuluj");
        });
        m_scheduler->View();
        QVERIFY(child<QPushButton>(&m_scheduler->editor(), "SBZapisz")
                    ->isVisibleTo(&m_scheduler->editor()));
        QCOMPARE(child<QPushButton>(&m_scheduler->editor(), "SBAnuluj")->text(),
                 QStringLiteral("&Anuluj"));
    }

    void reminderListsTheDueDeadlinesAndSavesThem()
    {
        test::FixedClock clock(QDateTime(QDate(2024, 3, 10), QTime(8, 0)));
        addDeadline(1, 20240312, QStringLiteral("Zamówić tonery"));
        const QString path = m_dir.path() + QStringLiteral("/SprawdzoneTerminy.txt");
        m_dialogs.chooseFile(path);
        QString shown;
        onModal<TfSprawdzenieDat>([&](TfSprawdzenieDat* w) {
            QCOMPARE(w->windowTitle(), QStringLiteral("Sprawdzenie terminów"));
            shown = child<QPlainTextEdit>(w, "memoTerminy")->toPlainText();
            click(w, "SBZapiszWynik");
            click(w, "SBOk");
        });
        m_scheduler->CheckTerms(true);
        const QString expected = QStringLiteral("Termin na dzień: 12-03-2024\nZamówić tonery\n\n") +
                                 QString(51, QLatin1Char('-'));
        QCOMPARE(shown, expected);
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(),
                 QByteArray("Termin na dzie\xF1: 12-03-2024\r\nZam\xF3wi\xE6 tonery\r\n\r\n") +
                     QByteArray(51, '-') + QByteArray("\r\n"));
        QCOMPARE(m_dialogs.informationTexts(),
                 QStringList{QStringLiteral("Dane zostały zapisane w pliku: ") + path});
    }

    void notesWindowGoesFromSlotOneBackToThirty()
    {
        m_dialogs.answer(true);
        onModal<TfNotatki>([](TfNotatki* w) {
            QCOMPARE(w->windowTitle(), QStringLiteral("Notatki"));
            auto* number = child<QLineEdit>(w, "edNumer");
            auto* date = child<QLineEdit>(w, "edTermin");
            auto* text = child<QPlainTextEdit>(w, "memoNotatka");
            QCOMPARE(number->text(), QStringLiteral("1"));
            text->setPlainText(QStringLiteral("do wyczyszczenia"));
            click(w, "SBWyczysc");
            QCOMPARE(text->toPlainText(), QString());
            click(w, "SBPoprzednia");
            QCOMPARE(number->text(), QStringLiteral("30"));
            date->setText(QStringLiteral("31-13-2024"));
            text->setPlainText(QStringLiteral("ostatnia"));
            click(w, "SBNastepna");
            QCOMPARE(number->text(), QStringLiteral("1"));
            click(w, "SBNastepna");
            QCOMPARE(number->text(), QStringLiteral("2"));
            date->setText(QStringLiteral("10-03-2024"));
            text->setPlainText(QStringLiteral("druga"));
            // Enter in the date field closes the window, the shown slot stored.
            QTest::keyClick(date, Qt::Key_Return);
        });
        m_scheduler->EditNotes();
        QCOMPARE(m_dialogs.questionTexts(),
                 QStringList{QStringLiteral("Czy usunąć bieżącą notatkę?")});
        QCOMPARE(value(QStringLiteral("SELECT DESCRIPTION FROM GLOBALNOTES WHERE IDNOTE=30")),
                 QStringLiteral("ostatnia"));
        QCOMPARE(value(QStringLiteral("SELECT DATA FROM GLOBALNOTES WHERE IDNOTE=30")),
                 QStringLiteral("  -  -    "));
        QCOMPARE(value(QStringLiteral("SELECT DATA FROM GLOBALNOTES WHERE IDNOTE=2")),
                 QStringLiteral("10-03-2024"));
        QCOMPARE(value(QStringLiteral("SELECT DESCRIPTION FROM GLOBALNOTES WHERE IDNOTE=1")),
                 QString());
    }

    void dateFieldsTakeTypedDigitsAndKeepInStepWithTheirPickers()
    {
        // Digits typed after a click beside a full or empty mask fill day, month and year; a
        // typed day moves the picker, a picked day is written into the field.
        const auto typeDate = [](QLineEdit* edit, const QString& digits) {
            QTest::mouseClick(edit, Qt::LeftButton, {},
                              QPoint(edit->width() - 3, edit->height() / 2));
            QTRY_VERIFY(edit->hasFocus());
            QCoreApplication::processEvents();
            QTest::keyClicks(edit, digits);
        };
        onModal<TfScheduler>([&](TfScheduler* w) {
            auto* date = child<QLineEdit>(w, "fDATESINCE");
            auto* picker = child<QDateEdit>(w, "DTPDATESINCE");
            typeDate(date, QStringLiteral("17052024"));
            QCOMPARE(date->displayText(), QStringLiteral("17-05-2024"));
            QCOMPARE(picker->date(), QDate(2024, 5, 17));
            typeDate(date, QStringLiteral("0306"));
            QCOMPARE(date->displayText(), QStringLiteral("03-06-    "));
            QCOMPARE(picker->date(), QDate(2024, 5, 17));
            QTest::keyClicks(date, QStringLiteral("2025"));
            QCOMPARE(picker->date(), QDate(2025, 6, 3));
            picker->setDate(QDate(2025, 6, 4));
            QCOMPARE(date->displayText(), QStringLiteral("04-06-2025"));
            QCOMPARE(date->accessibleName(), QStringLiteral("Data terrminu"));
            QTest::keyClick(date, Qt::Key_Return);
        });
        m_scheduler->Add(false);
        QCOMPARE(value(QStringLiteral("SELECT DATESINCE FROM SCHEDULER")),
                 QStringLiteral("20250604"));

        onModal<TfNotatki>([&](TfNotatki* w) {
            auto* date = child<QLineEdit>(w, "edTermin");
            auto* picker = child<QDateEdit>(w, "DTPTermin");
            typeDate(date, QStringLiteral("10032024"));
            QCOMPARE(picker->date(), QDate(2024, 3, 10));
            picker->setDate(QDate(2024, 4, 1));
            QCOMPARE(date->displayText(), QStringLiteral("01-04-2024"));
            typeDate(date, QStringLiteral("02042024"));
            QCOMPARE(picker->date(), QDate(2024, 4, 2));
            child<QPlainTextEdit>(w, "memoNotatka")->setPlainText(QStringLiteral("Przegląd"));
            click(w, "SBOk");
        });
        m_scheduler->EditNotes();
        QCOMPARE(value(QStringLiteral("SELECT DATA FROM GLOBALNOTES WHERE IDNOTE=1")),
                 QStringLiteral("02-04-2024"));
    }

    void noteReminderShowsTheNoteAndDeletesIt()
    {
        onModal<TfNotatki>([](TfNotatki* w) {
            child<QLineEdit>(w, "edTermin")->setText(QStringLiteral("10-03-2024"));
            child<QPlainTextEdit>(w, "memoNotatka")->setPlainText(QStringLiteral("Zadzwonić"));
            click(w, "SBOk");
        });
        m_scheduler->EditNotes();
        m_options.pytajPrzedKasowaniem = false;
        QString shown;
        QString date;
        QString heading;
        onModal<TfShowNotatka>([&](TfShowNotatka* w) {
            QCOMPARE(w->windowTitle(), QStringLiteral("Notatka"));
            shown = child<QPlainTextEdit>(w, "memoNotatka")->toPlainText();
            date = child<QLabel>(w, "lbTermin")->text();
            heading = child<QLabel>(w, "lbNaglowek")->text();
            click(w, "SBUsun");
        });
        // Reminded on the 9th: the note is due the next day, and the window says which day.
        m_scheduler->RemindNotes(20240309, 20240317);
        QCOMPARE(shown, QStringLiteral("Zadzwonić"));
        QCOMPARE(date, QStringLiteral("Termin notatki: 10-03-2024"));
        QCOMPARE(heading, QStringLiteral("Znaleziono notatkę na dziś"));
        QCOMPARE(value(QStringLiteral("SELECT DESCRIPTION FROM GLOBALNOTES WHERE IDNOTE=1")),
                 QString());

        m_scheduler->ApplyRestrictedMode(true);
        QVERIFY(!child<QPushButton>(&m_scheduler->noteWindow(), "SBUsun")
                     ->isVisibleTo(&m_scheduler->noteWindow()));
        m_scheduler->ApplyRestrictedMode(false);
        QVERIFY(child<QPushButton>(&m_scheduler->noteWindow(), "SBUsun")
                    ->isVisibleTo(&m_scheduler->noteWindow()));
    }
};

ZF_QTEST_MAIN(SchedulerWindowsTest)
#include "scheduler_windows_test.moc"
