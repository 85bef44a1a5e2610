// The database management window offscreen: its controls, its showing, quick creation through
// its button and the file choices.
#include "data/managedbwindow.h"
#include "data/mydatabase.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/modal.h"
#include "tests/support/qtest_main.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_env.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

#include <memory>

using namespace zf;

class TestManageDbWindow : public QObject
{
    Q_OBJECT

private:
    QString dataFolder() const { return test::dataHome() + QStringLiteral("/Orvantis/Zefirant"); }

    template <class T> T* child(const char* name)
    {
        auto* w = window->findChild<T*>(QString::fromLatin1(name));
        if (!w)
            qWarning("missing control %s", name);
        return w;
    }

    // Runs the window modally; `act` works on it and must close it. A window left open is
    // closed here so a failing test cannot hang.
    void runModal(std::function<void(TfManageDB*)> act)
    {
        bool acted = false;
        test::whenModal<TfManageDB>([&](TfManageDB* w) {
            acted = true;
            act(w);
            if (w->isVisible()) {
                QTest::qFail("the window stayed open", __FILE__, __LINE__);
                w->reject();
            }
        });
        window->ShowDatabaseManagement();
        QVERIFY(acted);
    }

    std::unique_ptr<QTemporaryDir> scratch;
    std::unique_ptr<test::ScriptedDialogs> dialogs;
    std::unique_ptr<test::ScriptedDialogs> moduleDialogs;
    std::unique_ptr<TmyDataBase> db;
    std::unique_ptr<TfManageDB> window;

private slots:
    void init()
    {
        test::clearDataHome();
        QDir().mkpath(dataFolder() + QStringLiteral("/debug"));
        scratch = std::make_unique<QTemporaryDir>();
        dialogs = std::make_unique<test::ScriptedDialogs>();
        moduleDialogs = std::make_unique<test::ScriptedDialogs>();
        db = std::make_unique<TmyDataBase>(
            DatabasePaths{dataFolder(),
                          test::programFolder(),
                          {scratch->path() + QStringLiteral("/no-installer")}},
            *moduleDialogs);
        // The window's messages go through its own dialogs, not the database module's.
        window = std::make_unique<TfManageDB>(*db, *dialogs, test::programFolder(), dataFolder());
    }

    void cleanup()
    {
        window.reset();
        db.reset();
        dialogs.reset();
        moduleDialogs.reset();
        scratch.reset();
    }

    void hasTheControlsWithTheirTexts()
    {
        QCOMPARE(window->windowTitle(), QStringLiteral("Zefirant PL+"));
        QCOMPARE(child<QLabel>("lblHeading")->text(), QStringLiteral("Konfiguracja bazy danych"));
        auto* tabs = child<QTabWidget>("pageControl");
        QVERIFY(tabs);
        QCOMPARE(tabs->count(), 2);
        QCOMPARE(tabs->tabText(0), QStringLiteral("  Szybkie zakładanie bazy   "));
        QCOMPARE(tabs->tabText(1), QStringLiteral("    Zaawansowane   "));

        for (const char* name :
             {"crName", "crUser", "crPassword", "opName", "opUser", "opPassword"}) {
            auto* e = child<QLineEdit>(name);
            QVERIFY2(e, name);
            const bool masked = QByteArray(name).endsWith("Password");
            QCOMPARE(e->echoMode() == QLineEdit::Password, masked);
            // Every field is on the advanced tab, where a refused check puts the focus.
            QVERIFY2(tabs->widget(1)->isAncestorOf(e), name);
        }
        const struct
        {
            const char* name;
            QString text;
            int tab; // -1: below the tabs
        } buttons[] = {
            {"btnQuickCreate", QStringLiteral("Stwórz bazę danych"), 0},
            {"btnCreate", QStringLiteral("Stwórz bazę danych"), 1},
            {"btnOpen", QStringLiteral("Otwórz istniejącą"), 1},
            {"btnBrowseCreate", QStringLiteral("[...]"), 1},
            {"btnBrowseOpen", QStringLiteral("[...]"), 1},
            {"btnClose", QStringLiteral("&Zamknij"), -1},
        };
        for (const auto& b : buttons) {
            auto* button = child<QPushButton>(b.name);
            QVERIFY2(button, b.name);
            QCOMPARE(button->text(), b.text);
            if (b.tab >= 0)
                QVERIFY2(tabs->widget(b.tab)->isAncestorOf(button), b.name);
            else
                QVERIFY2(!tabs->isAncestorOf(button), b.name);
        }
        QCOMPARE(child<QPushButton>("btnQuickCreate")->toolTip(),
                 QStringLiteral("Konfiguruj bazę"));
        QCOMPARE(child<QPushButton>("btnBrowseCreate")->toolTip(),
                 QStringLiteral("Wskaż lokalizację gdzie zostanie umieszczony plik bazy danych"));
        QCOMPARE(child<QPushButton>("btnBrowseOpen")->toolTip(),
                 QStringLiteral("Wskaż lokalizację istniejącej lokalnej bazy danych"));
        auto* help = child<QPlainTextEdit>("memoHelp");
        QVERIFY(help->isReadOnly());
        QVERIFY(help->toPlainText().contains(
            QStringLiteral("serwer-kadr:/var/lib/firebird/data/zefirant.fdb")));
    }

    void showingRefillsFromTheSettings()
    {
        db->location = QString();
        db->user = QStringLiteral("SYSDBA");
        db->password = QStringLiteral("tajne");
        runModal([&](TfManageDB*) {
            QCOMPARE(child<QTabWidget>("pageControl")->currentIndex(), 0);
            QCOMPARE(child<QLabel>("lblCurrentLocation")->text(), QStringLiteral("<brak>"));
            QCOMPARE(child<QLineEdit>("crName")->text(),
                     dataFolder() + QStringLiteral("/database/FB_ZEFIRANT_DEMO.FDB"));
            QCOMPARE(child<QLineEdit>("opUser")->text(), QStringLiteral("SYSDBA"));
            QCOMPARE(child<QLineEdit>("opPassword")->text(), QStringLiteral("tajne"));
            // Typed text and the tab do not survive the closing.
            child<QLineEdit>("crUser")->setText(QStringLiteral("wpisany"));
            child<QTabWidget>("pageControl")->setCurrentIndex(1);
            QTest::mouseClick(child<QPushButton>("btnClose"), Qt::LeftButton);
        });

        db->location = QStringLiteral("/srv/bazy/kadry.fdb");
        runModal([&](TfManageDB*) {
            QCOMPARE(child<QTabWidget>("pageControl")->currentIndex(), 0);
            QCOMPARE(child<QLabel>("lblCurrentLocation")->text(),
                     QStringLiteral("/srv/bazy/kadry.fdb"));
            QCOMPARE(child<QLineEdit>("opName")->text(), QStringLiteral("/srv/bazy/kadry.fdb"));
            QCOMPARE(child<QLineEdit>("crUser")->text(), QString());
            QTest::mouseClick(child<QPushButton>("btnClose"), Qt::LeftButton);
        });
        QVERIFY(!db->IsConnected());
    }

    void quickCreationThroughTheButton()
    {
        test::FixedClock clock(QDateTime(QDate(2024, 5, 6), QTime(14, 15, 16)));
        const QString file =
            dataFolder() + QStringLiteral("/database/db141516_FB_ZEFIRANT_DEMO.FDB");
        runModal([&](TfManageDB*) {
            QTest::mouseClick(child<QPushButton>("btnQuickCreate"), Qt::LeftButton);
        });
        QCOMPARE(window->result(), int(QDialog::Accepted));
        QCOMPARE(dialogs->informationTexts(),
                 QStringList{QStringLiteral("Baza danych została utworzona. Możesz rozpocząć już "
                                            "pracę z programem.")});
        QVERIFY(QFileInfo(file).isFile());
        QCOMPARE(db->location, file);
        QVERIFY(db->IsConnected());
        QVERIFY(db->CheckLogin(QStringLiteral("admin"), QStringLiteral("zefirant")));

        // The next showing names the new file.
        runModal([&](TfManageDB*) {
            QCOMPARE(child<QLabel>("lblCurrentLocation")->text(), file);
            QCOMPARE(child<QLineEdit>("opName")->text(), file);
            QCOMPARE(child<QLineEdit>("opPassword")->text(), QStringLiteral("lanternox"));
            QTest::mouseClick(child<QPushButton>("btnClose"), Qt::LeftButton);
        });
        QCOMPARE(window->result(), int(QDialog::Rejected));

        // Within the same second the name repeats: the window stays and shows what was tried.
        dialogs->clear();
        runModal([&](TfManageDB* w) {
            QTest::mouseClick(child<QPushButton>("btnQuickCreate"), Qt::LeftButton);
            QVERIFY(w->isVisible());
            QCOMPARE(child<QLineEdit>("crName")->text(), file);
            QCOMPARE(child<QLineEdit>("crUser")->text(), QStringLiteral("SYSDBA"));
            QTest::mouseClick(child<QPushButton>("btnClose"), Qt::LeftButton);
        });
        QCOMPARE(dialogs->shown().size(), size_t(1));
        QCOMPARE(dialogs->shown()[0].caption, QStringLiteral("Błąd"));
        QVERIFY(
            dialogs->shown()[0].text.contains(QStringLiteral("Baza prawdopodobnie już istnieje")));
        QCOMPARE(db->location, file);
    }

    void refusedCheckFocusesTheFieldAndStays()
    {
        window->show();
        child<QTabWidget>("pageControl")->setCurrentIndex(1);
        child<QLineEdit>("crName")->setText(QStringLiteral("ab"));
        child<QLineEdit>("crUser")->setFocus();
        QTest::mouseClick(child<QPushButton>("btnCreate"), Qt::LeftButton);
        QVERIFY(window->isVisible());
        QCOMPARE(window->focusWidget(), child<QLineEdit>("crName"));
        QCOMPARE(dialogs->informationTexts(),
                 QStringList{QStringLiteral("Nie wprowadzono nazwy i lokalizacji bazy. Popraw "
                                            "pole.")});

        dialogs->clear();
        child<QLineEdit>("opName")->setText(scratch->path() + QStringLiteral("/baza.fdb"));
        child<QLineEdit>("opUser")->setText(QStringLiteral("SYSDBA"));
        child<QLineEdit>("opPassword")->clear();
        QTest::mouseClick(child<QPushButton>("btnOpen"), Qt::LeftButton);
        QVERIFY(window->isVisible());
        QVERIFY(!db->IsConnected());
        QCOMPARE(window->focusWidget(), child<QLineEdit>("opPassword"));
        QCOMPARE(dialogs->informationTexts(),
                 QStringList{QStringLiteral("Nie podano hasła do bazy danych (domyślnie "
                                            "lanternox). Popraw pole.")});
        window->hide();
    }

    void browseButtonsFillTheNameFields()
    {
        window->show();
        child<QTabWidget>("pageControl")->setCurrentIndex(1);
        dialogs->chooseFile(QStringLiteral("/srv/bazy/nowa.fdb"));
        QTest::mouseClick(child<QPushButton>("btnBrowseCreate"), Qt::LeftButton);
        QCOMPARE(child<QLineEdit>("crName")->text(), QStringLiteral("/srv/bazy/nowa.fdb"));

        child<QLineEdit>("opUser")->setText(QStringLiteral("wpisany"));
        dialogs->chooseFile(QStringLiteral("/srv/bazy/stara.fdb"));
        QTest::mouseClick(child<QPushButton>("btnBrowseOpen"), Qt::LeftButton);
        QCOMPARE(child<QLineEdit>("opName")->text(), QStringLiteral("/srv/bazy/stara.fdb"));
        // Only the name changes; what was typed elsewhere stays.
        QCOMPARE(child<QLineEdit>("opUser")->text(), QStringLiteral("wpisany"));
        QCOMPARE(child<QLineEdit>("crName")->text(), QStringLiteral("/srv/bazy/nowa.fdb"));

        // A cancelled choice keeps the name.
        dialogs->chooseFile(QString());
        QTest::mouseClick(child<QPushButton>("btnBrowseOpen"), Qt::LeftButton);
        QCOMPARE(child<QLineEdit>("opName")->text(), QStringLiteral("/srv/bazy/stara.fdb"));

        QCOMPARE(dialogs->shown().size(), size_t(3));
        QCOMPARE(dialogs->shown()[0].kind, test::ScriptedDialogs::Kind::SaveFile);
        QCOMPARE(dialogs->shown()[1].kind, test::ScriptedDialogs::Kind::OpenFile);
        QCOMPARE(dialogs->shown()[0].caption,
                 QStringLiteral("Wskaż lokalizację pliku bazy danych"));
        window->hide();
    }
};

ZF_QTEST_MAIN(TestManageDbWindow)
#include "managedbwindow_test.moc"
