// The manual's window over the manual the build renders: its contents and chapters, a click on
// an entry, Enter in the search field, the chapter of every window and F1 in a modal window.
#include "app/manualchapters.h"
#include "app/manualwindow.h"

#include "tests/support/qtest_main.h"
#include "tests/support/test_env.h"

#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTest>
#include <QVBoxLayout>

namespace zf {

class TestManualWindow : public QObject
{
    Q_OBJECT

    static QString manual()
    {
        return test::programFolder() + QStringLiteral("/dokumentacja/Instrukcja obslugi.pdf");
    }

private slots:
    void contentsListTheChaptersAtTheirPages()
    {
        TfInstrukcja w;
        QVERIFY(w.openManual(manual()));
        const QStringList contents = w.contents();
        QVERIFY2(contents.size() > 40, qPrintable(contents.join(u'|')));
        QCOMPARE(contents.value(0), QStringLiteral("1. Wprowadzenie"));
        QVERIFY(contents.contains(QStringLiteral("10.1 Plany urlopowe")));
        QVERIFY(contents.contains(QStringLiteral("11. Jak wypełnić plan urlopowy")));
        // Chapters follow the contents and one another.
        int previous = 1;
        static const QRegularExpression entry(QStringLiteral("^\\d+\\.(\\d+)? \\S"));
        for (const QString& c : contents) {
            QVERIFY2(entry.match(c).hasMatch(), qPrintable(c));
            const int page = w.chapterPage(c.section(u' ', 1));
            QVERIFY2(page >= previous, qPrintable(c));
            previous = page;
        }
        QVERIFY(!w.openChapter(QStringLiteral("Nie ma takiego rozdziału")));
        QCOMPARE(w.currentPage(), 0);
    }

    void everyWindowOpensAChapterTheManualHas()
    {
        TfInstrukcja w;
        QVERIFY(w.openManual(manual()));
        const char* windows[] = {
            "zf::TfEmployeesPlans", "zf::TfEditCalendar", "zf::TfCalendar",  "zf::TfNewPlan",
            "zf::TfPlanConfig",     "zf::TPlanFilesWindow", "zf::TfManageDB", "zf::TfLogin",
            "zf::TfPlaner",         "zf::TfOsobowa",      "zf::TfScheduler", "zf::TfWydruk",
            "zf::TfInstrukcja",     "zf::TfFiszka",       "zf::TquestionForm"};
        for (const char* cls : windows) {
            const QString chapter = ManualChapterOf(QString::fromLatin1(cls));
            QVERIFY2(w.chapterPage(chapter) > 0, cls);
        }
        QCOMPARE(ManualChapterOf(QStringLiteral("zf::TfEmployeesPlans")),
                 QStringLiteral("Plany urlopowe"));
        QCOMPARE(ManualChapterOf(QStringLiteral("zf::TfPlaner")), kManualPlanerChapter);
        for (const QString& page : {QStringLiteral("start"), QStringLiteral("plans"),
                                   QStringLiteral("other")})
            QVERIFY(w.chapterPage(ManualChapterOf(QStringLiteral("zf::TfMain"), page)) > 0);
        QVERIFY(ManualChapterOf(QStringLiteral("QDialog")).isEmpty());

        QVERIFY(w.openChapter(QStringLiteral("Plany urlopowe")));
        QCOMPARE(w.currentPage(), w.chapterPage(QStringLiteral("Plany urlopowe")));
        QCOMPARE(w.findChild<QListWidget*>(QStringLiteral("lstSpisTresci"))->currentItem()->text(),
                 QStringLiteral("10.1 Plany urlopowe"));
    }

    void aClickOnAnEntryShowsItsChapter()
    {
        TfInstrukcja w;
        QVERIFY(w.openManual(manual()));
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto* list = w.findChild<QListWidget*>(QStringLiteral("lstSpisTresci"));
        QVERIFY(list);
        const int row = static_cast<int>(w.contents().indexOf(QStringLiteral("3.1 Okno logowania")));
        QVERIFY(row >= 0);
        list->scrollToItem(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
        QCOMPARE(w.currentPage(), w.chapterPage(QStringLiteral("Okno logowania")));
        QCOMPARE(w.findChild<QSpinBox*>(QStringLiteral("sePage"))->value(), w.currentPage() + 1);
        // Enter on the entry chosen does the same.
        list->setFocus();
        list->setCurrentRow(0);
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(w.currentPage(), w.chapterPage(QStringLiteral("Wprowadzenie")));
    }

    void enterInTheSearchFieldSearchesAtOnce()
    {
        TfInstrukcja w;
        QVERIFY(w.openManual(manual()));
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto* find = w.findChild<QLineEdit*>(QStringLiteral("edSzukaj"));
        find->setFocus();
        // Typed and Enter at once, before the model's own search has run: "Ctrl+H" stands only
        // in the chapter on the data folder.
        QTest::keyClicks(find, QStringLiteral("Ctrl+H"));
        QTest::keyClick(find, Qt::Key_Return);
        QVERIFY(w.isVisible());
        QCOMPARE(w.currentPage(), w.chapterPage(QStringLiteral("Folder danych programu")));
        // A text the manual lacks leaves the page.
        find->clear();
        QTest::keyClicks(find, QStringLiteral("zzqqxx-brak"));
        QTest::keyClick(find, Qt::Key_Enter);
        QCOMPARE(w.currentPage(), w.chapterPage(QStringLiteral("Folder danych programu")));
        QVERIFY(w.isVisible());
    }

    void f1ReachesTheApplicationFromAModalWindow()
    {
        QWidget* pressedIn = nullptr;
        TManualKey key([&](QWidget* window) { pressedIn = window; });
        qApp->installEventFilter(&key);
        QDialog dialog;
        auto* edit = new QLineEdit(&dialog);
        (new QVBoxLayout(&dialog))->addWidget(edit);
        dialog.setModal(true);
        dialog.show();
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_F1, Qt::ShiftModifier);
        QVERIFY(!pressedIn);
        QTest::keyClick(edit, Qt::Key_F1);
        QCOMPARE(pressedIn, &dialog);
        qApp->removeEventFilter(&key);
    }
};

} // namespace zf

ZF_QTEST_MAIN(zf::TestManualWindow)
#include "manualwindow_test.moc"
