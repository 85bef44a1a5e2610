// The options window offscreen against a real embedded database: showing, saving, cancelling
// (button and Esc) and both password changes.
#include "app/optionswindow.h"
#include "data/databasecreation.h"
#include "data/mydatabase.h"
#include "data/programoptions.h"
#include "tests/support/modal.h"
#include "tests/support/qtest_main.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_env.h"

#include <QAccessible>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace zf;

class OptionsWindowTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    test::ScriptedDialogs m_dialogs;
    std::unique_ptr<TmyDataBase> m_db;
    ProgramOptions m_options;
    QString m_iniPath = m_dir.path() + QStringLiteral("/zefirant.ini");
    std::unique_ptr<OptionsStore> m_store;
    std::unique_ptr<TfOpcjeProgramu> m_window;

    QString sqlValue(const QString& sql)
    {
        QString value;
        m_db->Utility(1, [&](fb::Statement& st) {
            st.setSql(sql);
            st.execute();
            if (st.returnsRows() && st.fetch())
                value = st.value(0).toString();
            st.close();
        });
        return value;
    }
    void exec(const QString& sql) { sqlValue(sql); }
    template <class T> static T* child(QWidget* w, const char* name)
    {
        T* c = w->findChild<T*>(QLatin1String(name));
        if (!c)
            qFatal("No control %s", name);
        return c;
    }
    static void tick(QWidget* w, const char* name, bool on)
    {
        child<QCheckBox>(w, name)->setChecked(on);
    }
    static void type(QWidget* w, const char* name, const QString& text)
    {
        QLineEdit* e = child<QLineEdit>(w, name);
        e->clear();
        // Key by key as typed; Qt Test's own helpers know only ASCII keys.
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, e, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    // Shows the window, lets `act` work in it, and gives back what ShowOptions returned.
    bool showAnd(std::function<void(TfOpcjeProgramu*)> act)
    {
        bool acted = false;
        test::whenModal<TfOpcjeProgramu>([&](TfOpcjeProgramu* w) {
            acted = true;
            act(w);
        });
        const bool saved = m_window->ShowOptions();
        if (!acted)
            qWarning("The options window was not shown");
        return saved;
    }

private slots:
    void initTestCase()
    {
        const QString path = m_dir.path() + QStringLiteral("/opcje.fdb");
        QFile script(DatabaseCreator::CreationScriptPath(test::programFolder()));
        QVERIFY(script.open(QIODevice::ReadOnly));
        {
            DatabaseCreator creator;
            const auto error =
                creator.create(path, QStringLiteral("SYSDBA"), QStringLiteral("lanternox"),
                               decipherScript(script.readAll()));
            QVERIFY2(!error, error ? qPrintable(error->message) : "");
            creator.DB.detach();
        }
        m_db = std::make_unique<TmyDataBase>(
            DatabasePaths{m_dir.path(),
                          test::programFolder(),
                          {m_dir.path() + QStringLiteral("/no-installer")}},
            m_dialogs);
        QVERIFY(m_db->Connect(path, QStringLiteral("SYSDBA"), QStringLiteral("lanternox")));
        m_store = std::make_unique<OptionsStore>(m_iniPath);
        m_window = std::make_unique<TfOpcjeProgramu>(*m_db, m_dialogs, m_options, *m_store);
    }

    void init()
    {
        m_dialogs.clear();
        QFile::remove(m_iniPath);
        m_options = ProgramOptions();
        m_db->loginState().approvedPlanLock = true;
        exec(QStringLiteral("UPDATE SYSTEMPARAMS SET IVALUE=0 WHERE ID='ALLOWEMPLLOGIN'"));
        exec(QStringLiteral("UPDATE SYSTEMPARAMS SET IVALUE=1 WHERE ID='DISALLOWEDIT'"));
    }

    void showingFillsThePagesAndSavingStoresEverything()
    {
        exec(QStringLiteral("UPDATE SYSTEMPARAMS SET IVALUE=1 WHERE ID='ALLOWEMPLLOGIN'"));
        m_options.sprawdzajNotatki = false;
        m_options.dataWstecznaMin = 3;
        bool shownRight = false;
        const bool saved = showAnd([&](TfOpcjeProgramu* w) {
            shownRight = child<QTabWidget>(w, "pcOpcje")->currentWidget()->objectName() ==
                             QStringLiteral("tsOpcje") &&
                         !child<QCheckBox>(w, "cbSprawdzajNotatki")->isChecked() &&
                         child<QCheckBox>(w, "cbSprawdzajTerminy")->isChecked() &&
                         child<QLineEdit>(w, "eDataWsteczna")->text() == QStringLiteral("7") &&
                         child<QLineEdit>(w, "eDataWstecznaMin")->text() == QStringLiteral("3") &&
                         child<QCheckBox>(w, "cbDisallowEdit")->isChecked() &&
                         child<QCheckBox>(w, "cbAllowEmplLogin")->isChecked();
            tick(w, "cbPokazujPoradeDnia", false);
            tick(w, "cbSprawdzajNotatki", true);
            tick(w, "cbDisallowEdit", false);
            tick(w, "cbAllowEmplLogin", false);
            type(w, "eDataWsteczna", QStringLiteral("21"));
            type(w, "eDataWstecznaMin", QStringLiteral("x"));
            child<QPushButton>(w, "SBZapisz")->click();
        });
        QVERIFY(shownRight);
        QVERIFY(saved);
        QVERIFY(!m_window->isVisible());
        const ProgramOptions back = m_store->ReadOptions();
        QVERIFY(!back.pokazujPoradeDnia && back.sprawdzajNotatki && back.sprawdzajTerminy);
        QCOMPARE(back.dataWsteczna, 21);
        QCOMPARE(back.dataWstecznaMin, 3); // "x" keeps the days
        QCOMPARE(
            sqlValue(QStringLiteral("SELECT IVALUE FROM SYSTEMPARAMS WHERE ID='DISALLOWEDIT'")),
            QStringLiteral("0"));
        QCOMPARE(
            sqlValue(QStringLiteral("SELECT IVALUE FROM SYSTEMPARAMS WHERE ID='ALLOWEMPLLOGIN'")),
            QStringLiteral("0"));
        QVERIFY(!m_db->loginState().approvedPlanLock);
        QVERIFY(m_dialogs.shown().empty());
    }

    void laborCodeTickBoxIsOnByDefaultAndSaved()
    {
        QString caption;
        bool shownOn = false;
        QString name;
        showAnd([&](TfOpcjeProgramu* w) {
            auto* box = child<QCheckBox>(w, "cbSprawdzajKodeksPracy");
            caption = box->text();
            shownOn = box->isChecked();
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(box);
            name = a ? a->text(QAccessible::Name) : QString();
            // On its box: the row is wider than the box and its caption.
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
            child<QPushButton>(w, "SBZapisz")->click();
        });
        QCOMPARE(caption, QStringLiteral("Sprawdzaj plan z &Kodeksem pracy"));
        QVERIFY(shownOn);
        QCOMPARE(name, QStringLiteral("Sprawdzaj plan z Kodeksem pracy"));
        QVERIFY(!m_options.sprawdzajKodeksPracy);
        QVERIFY(!m_store->ReadOptions().sprawdzajKodeksPracy);
        // The next showing shows it off.
        bool shownOff = false;
        showAnd([&](TfOpcjeProgramu* w) {
            shownOff = !child<QCheckBox>(w, "cbSprawdzajKodeksPracy")->isChecked();
            w->reject();
        });
        QVERIFY(shownOff);
    }

    void cancellingSavesNothing_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("&Anuluj") << false;
        QTest::newRow("Esc in a field") << true;
    }
    void cancellingSavesNothing()
    {
        QFETCH(bool, escape);
        QString leftOver;
        const bool saved = showAnd([&](TfOpcjeProgramu* w) {
            tick(w, "cbPytajPrzedKasowaniem", false);
            tick(w, "cbDisallowEdit", false);
            tick(w, "cbAllowEmplLogin", true);
            type(w, "eDataWsteczna", QStringLiteral("40"));
            child<QTabWidget>(w, "pcOpcje")->setCurrentIndex(1);
            type(w, "ePracNowe", QStringLiteral("tajne"));
            if (escape)
                QTest::keyClick(child<QLineEdit>(w, "ePracNowe"), Qt::Key_Escape);
            else
                child<QPushButton>(w, "SBAnuluj")->click();
        });
        QVERIFY(!saved);
        QVERIFY(!m_window->isVisible());
        QVERIFY(!QFile::exists(m_iniPath));
        QVERIFY(m_options.pytajPrzedKasowaniem);
        QCOMPARE(m_options.dataWsteczna, 7);
        QVERIFY(m_db->loginState().approvedPlanLock);
        QCOMPARE(
            sqlValue(QStringLiteral("SELECT IVALUE FROM SYSTEMPARAMS WHERE ID='ALLOWEMPLLOGIN'")),
            QStringLiteral("0"));

        // The next showing starts afresh: first page, the password fields empty.
        showAnd([&](TfOpcjeProgramu* w) {
            leftOver = child<QLineEdit>(w, "ePracNowe")->text() +
                       child<QTabWidget>(w, "pcOpcje")->currentWidget()->objectName();
            w->reject();
        });
        QCOMPARE(leftOver, QStringLiteral("tsOpcje"));
    }

    void passwordsChangeAtOnceWhateverTheClosing()
    {
        QString selectedAfterMismatch;
        QString typedUnencodable;
        showAnd([&](TfOpcjeProgramu* w) {
            child<QTabWidget>(w, "pcOpcje")->setCurrentIndex(1);
            type(w, "eAdminBiezace", QStringLiteral("zefirant"));
            type(w, "eAdminNowe", QStringLiteral("nowe1"));
            type(w, "eAdminPowtorz", QStringLiteral("nowe2"));
            child<QPushButton>(w, "SBZmienAdmin")->click();
            selectedAfterMismatch = child<QLineEdit>(w, "eAdminNowe")->selectedText();
            type(w, "eAdminPowtorz", QStringLiteral("nowe1"));
            child<QPushButton>(w, "SBZmienAdmin")->click();

            // A character Windows-1250 cannot hold is refused as it is typed.
            type(w, "ePracNowe", QStringLiteral("ñ1ą"));
            typedUnencodable = child<QLineEdit>(w, "ePracNowe")->text();
            type(w, "ePracPowtorz", QStringLiteral("1ą"));
            child<QPushButton>(w, "SBZmienPrac")->click();
            type(w, "ePracNowe", QStringLiteral("ząb"));
            type(w, "ePracPowtorz", QStringLiteral("ząb"));
            child<QPushButton>(w, "SBZmienPrac")->click();
            child<QPushButton>(w, "SBAnuluj")->click();
        });
        QCOMPARE(selectedAfterMismatch, QStringLiteral("nowe1"));
        QCOMPARE(typedUnencodable, QStringLiteral("1ą"));
        QCOMPARE(m_dialogs.informationTexts(),
                 (QStringList{
                     QStringLiteral("Podane nowe hasło oraz jego powtórka są różne. Popraw pola."),
                     QStringLiteral("Hasło dla administratora zostało zmienione"),
                     QStringLiteral("Hasło zbyt krótkie. Popraw pole."),
                     QStringLiteral("Hasło dla pracownika zostało zmienione")}));
        QCOMPARE(sqlValue(QStringLiteral("SELECT PWD FROM USERS WHERE LOGIN='admin'")),
                 QStringLiteral("nowe1"));
        QVERIFY(m_db->CheckLogin(QStringLiteral("pracownik"), QStringLiteral("ząb")));
    }
};

ZF_QTEST_MAIN(OptionsWindowTest)
#include "optionswindow_test.moc"
