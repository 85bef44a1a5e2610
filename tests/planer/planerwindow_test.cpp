// The plan window offscreen: what it shows of a file, ticking around non-working and fixed days,
// the count and the refusal over the limit, the password (also through the program's own masked
// prompt), the question on closing, a failed save that keeps the choice, dropping a file, and
// keyboard and screen-reader access.
#include "app/infoform.h"
#include "app/manualchapters.h"
#include "app/manualwindow.h"
#include "app/promptform.h"
#include "app/qtdialogs.h"
#include "app/questionform.h"
#include "planer/planerwindow.h"
#include "plans/calendar/calendarselector.h"
#include "plans/calendar/yearcalendarselector.h"
#include "tests/planer/planer_files.h"
#include "tests/support/modal.h"
#include "tests/support/qtest_main.h"
#include "tests/support/scripted_dialogs.h"

#include <QAccessible>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <memory>

using namespace zf;
using test::child;

class TestPlanerWindow : public QObject
{
    Q_OBJECT

private:
    QString write(const char* name, const PlanFileContent& c)
    {
        const QString path = folder->filePath(QString::fromLatin1(name));
        if (!WritePlanFileBytes(path, BuildPlanFileBytes(c)))
            qWarning("plan file not written");
        return path;
    }
    // A window with the sample plan open and shown.
    std::unique_ptr<TfPlaner> openSample(const PlanFileContent& c = test::samplePlan())
    {
        auto w = std::make_unique<TfPlaner>(*dialogs);
        const QString path = write("plan.zfpn", c);
        if (w->OpenFile(path) != TPlanEditor::OpenResult::Opened)
            qWarning("sample plan not opened");
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get()))
            qWarning("window not exposed");
        return w;
    }
    static void clickDay(TfPlaner& w, int month, int day)
    {
        TCalendarSelector* m = w.selector()->month(month);
        const QRect box = m->boxRect(day);
        QTest::mouseClick(m, Qt::LeftButton, {},
                          box.isNull() ? m->dayCellRect(day).center() : box.center());
        // The window takes the tick once the selector has stored it.
        QCoreApplication::processEvents();
    }
    static bool ticked(TfPlaner& w, int month, int day)
    {
        return w.selector()->GetDays()[month - 1][day - 1].selected;
    }
    // The background the employee sees on a day (a point the number and the box leave free).
    static QColor shown(TfPlaner& w, int month, int day)
    {
        TCalendarSelector* m = w.selector()->month(month);
        return QColor(m->grab().toImage().pixel(m->dayCellRect(day).topLeft() + QPoint(2, 2)));
    }
    static QString count(TfPlaner& w) { return child<QLabel>(&w, "labelLeft")->text(); }
    static QStringList runs(TfPlaner& w)
    {
        QStringList out;
        auto* list = child<QListWidget>(&w, "lbOkresy");
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }

    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<test::ScriptedDialogs> dialogs;

private slots:
    void init()
    {
        folder = std::make_unique<QTemporaryDir>();
        dialogs = std::make_unique<test::ScriptedDialogs>();
    }

    void showsThePlan()
    {
        TfPlaner empty(*dialogs);
        QCOMPARE(empty.windowTitle(), QStringLiteral("Mój plan urlopowy"));
        QVERIFY(!child<QPushButton>(&empty, "SBZapisz")->isEnabled());

        auto w = openSample();
        QCOMPARE(w->windowTitle(), QStringLiteral("Mój plan urlopowy na rok 2027"));
        QCOMPARE(child<QLineEdit>(w.get(), "fEMPLOYEE")->text(),
                 QStringLiteral("Łucja Wiśniewska (P17)"));
        QCOMPARE(child<QLineEdit>(w.get(), "fLASTYEARDAYS")->text(), QStringLiteral("2"));
        QCOMPARE(child<QLineEdit>(w.get(), "fTHISYEARDAYS")->text(), QStringLiteral("26"));
        QCOMPARE(child<QLineEdit>(w.get(), "fSUMMARY")->text(), QStringLiteral("28"));
        auto* comment = child<QPlainTextEdit>(w.get(), "fCOMMENT");
        QVERIFY(comment->isReadOnly());
        QCOMPARE(comment->toPlainText(), test::samplePlan().comment);
        QCOMPARE(comment->document()->blockCount(), 2);
        QCOMPARE(count(*w), QStringLiteral("Wybrano 5 dni z 28, pozostało 23"));
        QCOMPARE(runs(*w), QStringList{QStringLiteral("12-07-2027 – 16-07-2027, 5 dni roboczych")});
        QVERIFY(ticked(*w, 7, 16));
        QVERIFY(w->selector()->GetDays()[6][15].unchangeable);
        QVERIFY(w->selector()->GetDays()[11][23].unchangeable);
        QVERIFY2(!ticked(*w, 7, 17), "a chosen non-working day is not shown");
    }

    void laborCodeLineTurnsToMetAsDaysAreTicked()
    {
        auto w = openSample();
        auto* line = child<QLabel>(w.get(), "labelKodeksPracy");
        QVERIFY(line->isVisible());
        QCOMPARE(line->text(), QStringLiteral("Kodeks pracy: brak 14 dni z rzędu (art. 162 KP); "
                                              "najdłuższy odpoczynek: 10-07-2027 – 18-07-2027 "
                                              "(9 dni)"));
        QCOMPARE(line->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QVERIFY(line->toolTip().startsWith(QStringLiteral("Brak części urlopu trwającej")));
        for (int d = 19; d <= 22; ++d)
            clickDay(*w, 7, d);
        QVERIFY(line->text().contains(QStringLiteral("(13 dni)")));
        clickDay(*w, 7, 23);
        QCOMPARE(line->text(), QStringLiteral("Kodeks pracy: spełnione; najdłuższy odpoczynek: "
                                              "10-07-2027 – 25-07-2027 (16 dni)"));
        QVERIFY(line->palette().color(QPalette::WindowText) != QColor(255, 0, 0));
        QVERIFY(line->toolTip().contains(QStringLiteral("(art. 168 KP)")));
        // Unticking a day of the week breaks the run again.
        clickDay(*w, 7, 14);
        QVERIFY(line->text().startsWith(QStringLiteral("Kodeks pracy: brak 14 dni z rzędu")));
    }

    void nonWorkingDaysCannotBeTicked()
    {
        auto w = openSample();
        TCalendarSelector* july = w->selector()->month(7);
        QVERIFY(!july->hasTickBox(17));
        QVERIFY(!july->hasTickBox(18));
        QVERIFY(july->hasTickBox(19));
        clickDay(*w, 7, 18);
        QVERIFY(!ticked(*w, 7, 18));
        QVERIFY(!w->editor().isChosen(20270718));
        QCOMPARE(count(*w), QStringLiteral("Wybrano 5 dni z 28, pozostało 23"));
        QVERIFY(!w->editor().modified());
    }

    void fixedDaysKeepTheirState()
    {
        auto w = openSample();
        clickDay(*w, 7, 16); // fixed and chosen
        QVERIFY(ticked(*w, 7, 16));
        QVERIFY(w->editor().isChosen(20270716));
        clickDay(*w, 12, 24); // fixed, not chosen
        QVERIFY(!ticked(*w, 12, 24));
        QVERIFY(!w->editor().isChosen(20271224));
        QCOMPARE(count(*w), QStringLiteral("Wybrano 5 dni z 28, pozostało 23"));
        QCOMPARE(shown(*w, 7, 16), QColor(0x70, 0xD0, 0x60));  // fixed, ticked
        QCOMPARE(shown(*w, 12, 24), QColor(0xC2, 0xFF, 0xAE)); // fixed, not ticked
        QVERIFY(w->statusBar()->currentMessage().contains(QStringLiteral("niezmienialnych")));
        QVERIFY(!w->editor().modified());

        // Any other day follows the click, and the runs with it.
        clickDay(*w, 7, 19);
        clickDay(*w, 7, 12);
        QVERIFY(ticked(*w, 7, 19));
        QVERIFY(!ticked(*w, 7, 12));
        QCOMPARE(shown(*w, 7, 19), QColor(0xFF, 0xFF, 0x00));
        QCOMPARE(shown(*w, 7, 12), QColor(0xFF, 0xFF, 0xFF));
        QCOMPARE(count(*w), QStringLiteral("Wybrano 5 dni z 28, pozostało 23"));
        QCOMPARE(runs(*w), QStringList{QStringLiteral("13-07-2027 – 19-07-2027, 5 dni roboczych")});
        QVERIFY(w->editor().modified());
    }

    void countTurnsRedAndSavingIsRefusedOverTheLimit()
    {
        PlanFileContent c = test::samplePlan();
        c.thisYearDays = 5; // 7 with the two carried over
        auto w = openSample(c);
        const QByteArray before = test::readAll(w->editor().path());
        auto* label = child<QLabel>(w.get(), "labelLeft");
        const QColor normal = label->palette().color(QPalette::WindowText);
        clickDay(*w, 8, 2);
        clickDay(*w, 8, 3);
        QCOMPARE(count(*w), QStringLiteral("Wybrano 7 dni z 7, pozostało 0"));
        QCOMPARE(label->palette().color(QPalette::WindowText), normal);
        clickDay(*w, 8, 4);
        QCOMPARE(count(*w), QStringLiteral("Wybrano 8 dni z 7, pozostało -1"));
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(255, 0, 0));

        test::click(w.get(), "SBZapisz");
        QCOMPARE(dialogs->informationTexts(),
                 QStringList{QStringLiteral(
                     "Wybrano więcej dni urlopu niż przysługujący limit. Popraw grafik.")});
        QCOMPARE(test::readAll(w->editor().path()), before);
        QVERIFY(ticked(*w, 8, 4));

        clickDay(*w, 8, 4);
        QCOMPARE(label->palette().color(QPalette::WindowText), normal);
        test::click(w.get(), "SBZapisz");
        QVERIFY(!w->editor().modified());
        QVERIFY(w->statusBar()->currentMessage().startsWith(QStringLiteral("Zapisano plan")));
        PlanFileData office;
        QVERIFY(ParsePlanFileText(test::clearTextOf(w->editor().path()), 2027, office));
        QCOMPARE(office.stamp, 6);
        QCOMPARE(office.selectedDays.size(), 7);
    }

    void threeWrongPasswordsCloseTheWindow()
    {
        PlanFileContent c = test::samplePlan();
        c.password = QStringLiteral("tajne");
        const QString path = write("haslo.zfpn", c);
        TfPlaner w(*dialogs);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        for (int i = 0; i < 3; ++i)
            dialogs->answerPrompt(QStringLiteral("zle"));
        QCOMPARE(w.OpenFile(path), TPlanEditor::OpenResult::PasswordRefused);
        QVERIFY(!w.isVisible());
        QVERIFY(child<QLineEdit>(&w, "fEMPLOYEE")->text().isEmpty());
        QCOMPARE(w.windowTitle(), QStringLiteral("Mój plan urlopowy"));

        // The right one on the second try, through the program's own prompt window.
        QtDialogs real;
        TfPlaner other(real);
        int prompts = 0;
        const auto type = [&prompts](TpromptForm* f, const char* text) {
            ++prompts;
            auto* field = child<QLineEdit>(f, "eAnswer");
            QCOMPARE(field->echoMode(), QLineEdit::Password);
            field->setText(QString::fromLatin1(text));
            test::click(f, "SBOk");
        };
        test::onModal<TpromptForm>([&](TpromptForm* f) {
            // Then the message about the wrong password, then the prompt again.
            test::onModal<TinfoForm>([&](TinfoForm* info) {
                test::onModal<TpromptForm>([&](TpromptForm* again) { type(again, "tajne"); });
                info->accept();
            });
            type(f, "zle");
        });
        QCOMPARE(other.OpenFile(path), TPlanEditor::OpenResult::Opened);
        QCOMPARE(prompts, 2);
        QCOMPARE(other.windowTitle(), QStringLiteral("Mój plan urlopowy na rok 2027"));
    }

    void closingAsksAboutChanges()
    {
        auto w = openSample();
        QVERIFY2(w->close(), "no changes, no question");
        QVERIFY(dialogs->shown().empty());

        w = openSample();
        clickDay(*w, 8, 2);
        dialogs->answer(false);
        QVERIFY(w->close());
        QCOMPARE(dialogs->questionTexts(), QStringList{QStringLiteral("Zapisać zmiany?")});
        PlanFileData office;
        QVERIFY(ParsePlanFileText(test::clearTextOf(w->editor().path()), 2027, office));
        QCOMPARE(office.stamp, 5);

        // "Tak" with a save that is refused: the window stays with the choice.
        PlanFileContent c = test::samplePlan();
        c.thisYearDays = 3; // 5 with the two carried over, all chosen
        w = openSample(c);
        clickDay(*w, 8, 2);
        dialogs->clear();
        dialogs->answer(true);
        QVERIFY(!w->close());
        QVERIFY(w->isVisible());
        QVERIFY(ticked(*w, 8, 2));
        QCOMPARE(dialogs->informationTexts().size(), 1);

        dialogs->clear();
        clickDay(*w, 8, 2);
        clickDay(*w, 7, 12);
        dialogs->answer(true);
        QVERIFY(w->close());
        QVERIFY(ParsePlanFileText(test::clearTextOf(w->editor().path()), 2027, office));
        QCOMPARE(office.stamp, 6);

        // On screen the question offers "Anuluj" too, and it goes back to the plan unsaved.
        QtDialogs screen;
        TfPlaner onScreen(screen);
        const QString path = write("ekran.zfpn", test::samplePlan());
        QCOMPARE(onScreen.OpenFile(path), TPlanEditor::OpenResult::Opened);
        onScreen.show();
        clickDay(onScreen, 8, 2);
        QStringList captions;
        test::whenModal<TquestionForm>([&](TquestionForm* q) {
            for (const char* name : {"SBTak", "SBNie", "SBAnuluj"})
                if (child<QPushButton>(q, name)->isVisible())
                    captions << child<QPushButton>(q, name)->text();
            test::click(q, "SBAnuluj");
        });
        QVERIFY(!onScreen.close());
        QCOMPARE(captions, (QStringList{QStringLiteral("&Tak"), QStringLiteral("&Nie"),
                                        QStringLiteral("&Anuluj")}));
        QVERIFY(onScreen.isVisible());
        QVERIFY(ticked(onScreen, 8, 2));
        QVERIFY(ParsePlanFileText(test::clearTextOf(path), 2027, office));
        QCOMPARE(office.stamp, 5);
        test::whenModal<TquestionForm>([](TquestionForm* q) { test::click(q, "SBNie"); });
        QVERIFY(onScreen.close());
        // The plain question has no "Anuluj".
        test::whenModal<TquestionForm>([&](TquestionForm* q) {
            QVERIFY(!child<QPushButton>(q, "SBAnuluj")->isVisible());
            test::click(q, "SBNie");
        });
        QVERIFY(!screen.question(QStringLiteral("Pytanie"), QStringLiteral("Zapisać?")));
    }

    void aSaveDeclinedOverAnotherProgramsFileSaysSo()
    {
        auto w = openSample();
        clickDay(*w, 8, 2);
        test::click(w.get(), "SBZapisz");
        QVERIFY(w->statusBar()->currentMessage().startsWith(QStringLiteral("Zapisano plan")));
        // The office writes a new file meanwhile; the employee keeps it.
        PlanFileContent office = test::samplePlan();
        office.comment = QStringLiteral("Nowa wersja");
        write("plan.zfpn", office);
        clickDay(*w, 7, 12);
        dialogs->answer(false);
        test::click(w.get(), "SBZapisz");
        QVERIFY(dialogs->questionTexts().value(0).contains(QStringLiteral("zmieniony")));
        QCOMPARE(w->statusBar()->currentMessage(),
                 QStringLiteral("Planu nie zapisano – wybrane dni są nadal w oknie."));
        QVERIFY(w->editor().modified());
    }

    void aFailedSaveKeepsTheWindowAndTheChoice()
    {
        const QString share = folder->filePath(QStringLiteral("udzial"));
        QVERIFY(QDir().mkpath(share));
        const QString path = share + QStringLiteral("/plan.zfpn");
        QVERIFY(WritePlanFileBytes(path, BuildPlanFileBytes(test::samplePlan())));
        TfPlaner w(*dialogs);
        QCOMPARE(w.OpenFile(path), TPlanEditor::OpenResult::Opened);
        w.show();
        clickDay(w, 8, 2);
        // The share goes away while the plan is open.
        QVERIFY(QDir(share).removeRecursively());
        dialogs->answer(true); // save it again under its name
        test::click(&w, "SBZapisz");
        QCOMPARE(dialogs->informationTexts().size(), 1);
        QVERIFY(dialogs->informationTexts().at(0).contains(QDir::toNativeSeparators(share)));
        QVERIFY(w.isVisible());
        QVERIFY(ticked(w, 8, 2));
        QVERIFY(w.editor().modified());
        QCOMPARE(count(w), QStringLiteral("Wybrano 6 dni z 28, pozostało 22"));
    }

    void opensAChosenOrDroppedFile()
    {
        const QString path = write("upuszczony.zfpn", test::samplePlan());
        TfPlaner w(*dialogs);
        w.show();
        dialogs->chooseFile(QString());
        test::click(&w, "SBOtworz");
        QVERIFY(!w.editor().isOpen());
        dialogs->chooseFile(path);
        test::click(&w, "SBOtworz");
        QCOMPARE(w.editor().path(), path);

        TfPlaner dropped(*dialogs);
        dropped.show();
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(&dropped, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&dropped, &drop);
        QTRY_VERIFY(dropped.editor().isOpen());
        QCOMPARE(dropped.windowTitle(), QStringLiteral("Mój plan urlopowy na rok 2027"));

        // Two files or a web address are not taken.
        QMimeData two;
        two.setUrls({QUrl::fromLocalFile(path), QUrl::fromLocalFile(path)});
        QDragEnterEvent twoEnter(QPoint(10, 10), Qt::CopyAction, &two, Qt::LeftButton,
                                 Qt::NoModifier);
        twoEnter.setAccepted(false);
        QCoreApplication::sendEvent(&dropped, &twoEnter);
        QVERIFY(!twoEnter.isAccepted());
    }

    void f1OpensTheEmployeesChapterOfTheManual()
    {
        auto w = openSample();
        w->manualPath =
            test::programFolder() + QStringLiteral("/dokumentacja/Instrukcja obslugi.pdf");
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QTest::keyClick(w.get(), Qt::Key_F1);
        TfInstrukcja* manual = w->manualWindow();
        QVERIFY(manual);
        QVERIFY(manual->isVisible());
        QVERIFY(manual->chapterPage(kManualPlanerChapter) > 0);
        QTRY_COMPARE(manual->currentPage(), manual->chapterPage(kManualPlanerChapter));
        manual->close();
        // "Pomoc" does the same; a manual that cannot be read is told, with its path.
        w->manualPath = folder->filePath(QStringLiteral("brak.pdf"));
        child<QPushButton>(w.get(), "SBPomoc")->click();
        QCOMPARE(dialogs->informationTexts().size(), 1);
        QVERIFY(dialogs->informationTexts().value(0).contains(w->manualPath));
        QVERIFY(!manual->isVisible());
    }

    void everyControlCanBeReached()
    {
        auto w = openSample();
        QHash<QWidget*, QString> buddies;
        QSet<QChar> letters;
        const auto mnemonic = [&](const QString& text) {
            const qsizetype at = text.indexOf(QLatin1Char('&'));
            QVERIFY2(at >= 0 && at + 1 < text.size(), qPrintable(text));
            const QChar letter = text.at(at + 1).toLower();
            QVERIFY2(!letters.contains(letter), qPrintable(text));
            letters.insert(letter);
        };
        for (QLabel* label : w->findChildren<QLabel*>())
            if (label->buddy()) {
                buddies.insert(label->buddy(), label->text());
                mnemonic(label->text());
            }
        for (QPushButton* b : w->findChildren<QPushButton*>())
            mnemonic(b->text());
        for (const char* name :
             {"fEMPLOYEE", "fLASTYEARDAYS", "fTHISYEARDAYS", "fSUMMARY", "fCOMMENT", "lbOkresy"}) {
            QWidget* field = child<QWidget>(w.get(), name);
            QVERIFY2(buddies.contains(field), name);
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(field);
            QVERIFY(a);
            QString expected = buddies.value(field);
            expected.remove(QLatin1Char('&')).chop(1); // without the colon
            QCOMPARE(a->text(QAccessible::Name), expected);
        }
        QVERIFY(buddies.contains(w->selector()->month(1)));
        for (int m = 1; m <= 12; ++m) {
            TCalendarSelector* month = w->selector()->month(m);
            QCOMPARE(month->accessibleName(),
                     TCalendarSelector::monthTitle(m) + QStringLiteral(" 2027"));
            QCOMPARE(month->focusPolicy(), Qt::StrongFocus);
        }

        // Space on the focused day ticks it, as a click does.
        TCalendarSelector* march = w->selector()->month(3);
        QTest::keyClick(march, Qt::Key_Space); // the first key finds the 1st
        QCoreApplication::processEvents();
        QVERIFY(w->editor().isChosen(20270301));
        QCOMPARE(count(*w), QStringLiteral("Wybrano 6 dni z 28, pozostało 22"));
    }
};

ZF_QTEST_MAIN(TestPlanerWindow)
#include "planerwindow_test.moc"
