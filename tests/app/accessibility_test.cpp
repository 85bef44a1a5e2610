// Screen readers: every window of the running program, each focusable control named by its label
// or caption, without padding spaces.
#include "app/loginwindow.h"
#include "app/mainwindow.h"
#include "app/manualwindow.h"
#include "data/managedbwindow.h"
#include "tests/app/apprun.h"
#include "tests/support/qtest_main.h"
#include "util/accessiblenames.h"

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QMainWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

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

} // namespace

class AccessibilityTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<test::Run> m_run;
    QStringList m_bad;
    QStringList m_checked;

    TfMain& w() { return m_run->app->mainWindow(); }

    void check(QWidget* window)
    {
        m_checked << describe(window);
        m_bad << unnamedControls(window);
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

    void everyWindowNamesItsControls()
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
        qInfo("%s", qPrintable(m_checked.join(QStringLiteral(", "))));
        QVERIFY(m_checked.size() > 15);
        for (const QString& bad : m_bad)
            qWarning("unnamed: %s", qPrintable(bad));
        QVERIFY2(m_bad.isEmpty(), qPrintable(QStringLiteral("%1 controls without a name").arg(m_bad.size())));
    }

    void cleanupTestCase() { m_run.reset(); }
};

ZF_QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
