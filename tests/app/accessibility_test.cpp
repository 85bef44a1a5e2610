// Screen readers and the keyboard: every window of both programs (the office's and the
// employees' editor), on every page of its tabs, each focusable control named by its label or
// caption without padding spaces, and no Alt letter given to two controls of a window (or two
// items of a menu).
#include "app/infoform.h"
#include "app/loginwindow.h"
#include "app/mainwindow.h"
#include "app/manualwindow.h"
#include "app/promptform.h"
#include "app/qtdialogs.h"
#include "app/questionform.h"
#include "data/managedbwindow.h"
#include "planer/planerwindow.h"
#include "tests/app/apprun.h"
#include "tests/planer/planer_files.h"
#include "tests/support/qtest_main.h"
#include "util/accessiblenames.h"

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <iterator>
#include <map>

using namespace zf;

namespace {

QString describe(const QWidget* w)
{
    return QStringLiteral("%1 %2").arg(QString::fromLatin1(w->metaObject()->className()),
                                       w->objectName());
}

// Focusable controls of `window` (shown) whose spoken name is missing or padded.
QStringList unnamedControls(QWidget* window)
{
    QStringList bad;
    for (QWidget* c : window->findChildren<QWidget*>()) {
        if (c->window() != window || !c->isVisibleTo(window) || !(c->focusPolicy() & Qt::TabFocus))
            continue;
        // The editors inside spin boxes and combo boxes are spoken through their owner.
        if (qobject_cast<QAbstractSpinBox*>(c->parentWidget()) ||
            qobject_cast<QComboBox*>(c->parentWidget()) || c->focusProxy())
            continue;
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(c);
        const QString name = a ? a->text(QAccessible::Name) : QString();
        if (name.trimmed().isEmpty() || name != name.trimmed())
            bad << QStringLiteral("%1 in %2: \"%3\"").arg(describe(c), describe(window), name);
    }
    return bad;
}

// The Alt letter of a caption: the character after the first "&" that does not stand for itself.
QChar altLetter(const QString& text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&'))
            continue;
        if (text[i + 1] == QLatin1Char('&')) {
            ++i;
            continue;
        }
        return text[i + 1].toLower();
    }
    return {};
}

// Letters given to two or more captions, each with the captions that share it.
QStringList clashes(const QString& where, const std::multimap<QChar, QString>& captions)
{
    QStringList out;
    for (auto it = captions.begin(); it != captions.end();) {
        const auto [first, last] = captions.equal_range(it->first);
        if (std::distance(first, last) > 1) {
            QStringList shared;
            for (auto c = first; c != last; ++c)
                shared << QStringLiteral("\"%1\"").arg(c->second);
            out << QStringLiteral("Alt+%1 in %2: %3")
                       .arg(it->first.toUpper(), where, shared.join(QStringLiteral(", ")));
        }
        it = last;
    }
    return out;
}

// Controls of `window` (as it stands) that answer the same Alt letter: buttons, labels with a
// buddy, group boxes, tabs and the menu bar's menus; then the items of each of its menus, which
// answer their letters only while that menu is open.
QStringList sharedAltLetters(QWidget* window, const QString& where)
{
    std::multimap<QChar, QString> captions;
    const auto add = [&](const QString& text) {
        if (const QChar letter = altLetter(text); !letter.isNull())
            captions.emplace(letter, text);
    };
    for (QWidget* c : window->findChildren<QWidget*>()) {
        if (c->window() != window || !c->isVisibleTo(window))
            continue;
        if (auto* b = qobject_cast<QAbstractButton*>(c))
            add(b->text());
        else if (auto* l = qobject_cast<QLabel*>(c); l && l->buddy())
            add(l->text());
        else if (auto* g = qobject_cast<QGroupBox*>(c))
            add(g->title());
        else if (auto* bar = qobject_cast<QTabBar*>(c))
            for (int i = 0; i < bar->count(); ++i)
                add(bar->tabText(i));
        else if (auto* menus = qobject_cast<QMenuBar*>(c))
            for (QAction* a : menus->actions())
                if (a->isVisible())
                    add(a->text());
    }
    QStringList out = clashes(where, captions);
    for (QMenu* menu : window->findChildren<QMenu*>()) {
        std::multimap<QChar, QString> items;
        for (QAction* a : menu->actions())
            if (a->isVisible() && !a->isSeparator())
                if (const QChar letter = altLetter(a->text()); !letter.isNull())
                    items.emplace(letter, a->text());
        out << clashes(QStringLiteral("%1, menu \"%2\"").arg(where, menu->title()), items);
    }
    return out;
}

// Runs `check` on the window as it stands, then once on every other page of each of its tab
// widgets and page stacks (a page's controls answer only while it is shown), and puts the pages
// back.
void onEveryPage(QWidget* window, const std::function<void()>& check)
{
    check();
    for (QTabWidget* tabs : window->findChildren<QTabWidget*>()) {
        const int shown = tabs->currentIndex();
        for (int i = 0; i < tabs->count(); ++i) {
            if (i == shown || !tabs->isVisibleTo(window) || !tabs->isTabEnabled(i))
                continue;
            tabs->setCurrentIndex(i);
            check();
        }
        tabs->setCurrentIndex(shown);
    }
    // A page stack of its own (not a tab widget's) shows the pages of a choice.
    for (QStackedWidget* stack : window->findChildren<QStackedWidget*>()) {
        if (qobject_cast<QTabWidget*>(stack->parentWidget()) || !stack->isVisibleTo(window))
            continue;
        const int shown = stack->currentIndex();
        for (int i = 0; i < stack->count(); ++i) {
            if (i == shown)
                continue;
            stack->setCurrentIndex(i);
            check();
        }
        stack->setCurrentIndex(shown);
    }
}

} // namespace

class AccessibilityTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<test::Run> m_run;
    QStringList m_bad;
    QStringList m_shared;
    QStringList m_checked;

    TfMain& w() { return m_run->app->mainWindow(); }

    void check(QWidget* window)
    {
        m_checked << describe(window);
        onEveryPage(window, [&] {
            m_bad << unnamedControls(window);
            m_shared << sharedAltLetters(window, describe(window));
        });
    }

private slots:
    void initTestCase()
    {
        m_run = std::make_unique<test::Run>(m_dir.path());
        test::whenModal<TfManageDB>([this](TfManageDB* d) {
            check(d);
            d->findChild<QPushButton*>(QStringLiteral("btnQuickCreate"))->click();
        });
        test::whenModal<TfLogin>([this](TfLogin* d) {
            check(d);
            d->findChild<QLineEdit*>(QStringLiteral("edUser"))->setText(QStringLiteral("admin"));
            d->findChild<QLineEdit*>(QStringLiteral("edPassword"))->setText(QStringLiteral("zefirant"));
            d->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
        }, 20000);
        QVERIFY(m_run->app->start());
        w().openExternally = [](const QString&, const QString&) {};
    }

    void thePaddedCaptionsAreSpokenTrimmed()
    {
        QCOMPARE(spokenCaption(QStringLiteral("    &OK        ")), QStringLiteral("OK"));
        QCOMPARE(spokenCaption(QStringLiteral("  Usuń      ")), QStringLiteral("Usuń"));
        QCOMPARE(spokenCaption(QStringLiteral("Zapisz && zamknij")), QStringLiteral("Zapisz & zamknij"));
    }

    void everyWindowNamesItsControlsAndGivesEachAltLetterOnce()
    {
        // The main window on each of its pages.
        for (auto show : {&TfMain::showStartPage, &TfMain::showPlansPage, &TfMain::showPersonnelPage,
                          &TfMain::showReportsPage, &TfMain::showDeadlinesPage}) {
            (w().*show)();
            check(&w());
        }
        w().action(QStringLiteral("actPomoc"))->trigger();
        QVERIFY(w().manualWindow());

        // Then every other window the program has made, each shown as the program shows it.
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window == &w() || (!qobject_cast<QDialog*>(window) && !qobject_cast<QMainWindow*>(window)))
                continue;
            if (qobject_cast<QFileDialog*>(window))
                continue;
            const bool wasVisible = window->isVisible();
            if (!wasVisible)
                window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window));
            check(window);
            if (!wasVisible)
                window->hide();
        }

        // The employees' editor, before a plan is open and with one open, and its messages.
        QTemporaryDir plans;
        const QString plan = plans.filePath(QStringLiteral("plan.zfpn"));
        QVERIFY(WritePlanFileBytes(plan, BuildPlanFileBytes(test::samplePlan())));
        QtDialogs editorDialogs;
        TfPlaner editor(editorDialogs);
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        check(&editor);
        QCOMPARE(editor.OpenFile(plan), TPlanEditor::OpenResult::Opened);
        check(&editor);
        for (QWidget* window : {static_cast<QWidget*>(&editorDialogs.infoForm()),
                                static_cast<QWidget*>(&editorDialogs.questionForm()),
                                static_cast<QWidget*>(&editorDialogs.promptForm())}) {
            // The prompt's field is named by the question it is shown with.
            if (auto* label = window->findChild<QLabel*>(QStringLiteral("lbLabel")))
                label->setText(QStringLiteral("Podaj hasło otrzymane z działu kadr:"));
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window));
            check(window);
            window->hide();
        }

        qInfo("%s", qPrintable(m_checked.join(QStringLiteral(", "))));
        QVERIFY(m_checked.size() > 15);
        for (const QString& bad : m_bad)
            qWarning("unnamed: %s", qPrintable(bad));
        for (const QString& shared : m_shared)
            qWarning("shared: %s", qPrintable(shared));
        QVERIFY2(m_bad.isEmpty(), qPrintable(QStringLiteral("%1 controls without a name").arg(m_bad.size())));
        QVERIFY2(m_shared.isEmpty(),
                 qPrintable(QStringLiteral("%1 Alt letters given twice").arg(m_shared.size())));
    }

    void cleanupTestCase() { m_run.reset(); }
};

ZF_QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
