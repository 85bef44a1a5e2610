// The personnel card, the dictionary window and its edit window offscreen, driven as a clerk
// would, over a real embedded database.
#include "data/databasecreation.h"
#include "data/dbgrid.h"
#include "data/mydatabase.h"
#include "data/programoptions.h"
#include "data/scriptrunner.h"
#include "personnel/biblioteka.h"
#include "personnel/osobowa.h"
#include "personnel/personnel.h"
#include "tests/support/modal.h"
#include "tests/support/qtest_main.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_env.h"
#include "tests/support/window_database.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

using namespace zf;

namespace {

using test::child;
using test::click;

QLineEdit* field(QWidget* w, const char* name)
{
    return child<QLineEdit>(w, name);
}

// Typing character by character, Polish letters included (keyClicks knows only Latin-1).
void type(QWidget* w, const QString& text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// Runs the steps on the next showings of a modal window of type W, one step a showing. Each
// step must close its window; a window a step leaves open is closed so no test can hang.
template <class W> void onShowings(std::vector<std::function<void(W*)>> steps)
{
    if (steps.empty())
        return;
    auto first = steps.front();
    steps.erase(steps.begin());
    test::whenModal<W>([first, rest = std::move(steps)](W* w) {
        onShowings<W>(rest);
        first(w);
        if (w->isVisible()) {
            QTest::qFail("the window stayed open", __FILE__, __LINE__);
            w->reject();
        }
    });
}

} // namespace

class PersonnelWindowsTest : public test::WindowDatabaseTest
{
    Q_OBJECT

    std::unique_ptr<TPersonnel> m_personnel;

    TfOsobowa& card() { return m_personnel->card(); }

    void addEmployee(const QString& id, const QString& surname, const QString& fileName,
                     int unit = -1)
    {
        QVERIFY(m_db->Write(TmyDataBase::DBFUEmployees.insertSql,
                            {{QStringLiteral("IDEMPLOYEE"), id},
                             {QStringLiteral("SURNAME"), surname},
                             {QStringLiteral("NAME"), QStringLiteral("Jan")},
                             {QStringLiteral("IDDICUNIT"), unit},
                             {QStringLiteral("EMAIL"), QStringLiteral("jan@firma.pl")},
                             {QStringLiteral("FILENAME"), fileName},
                             {QStringLiteral("PWD"), QStringLiteral("tajne")},
                             {QStringLiteral("ACT"), QStringLiteral("N")}},
                            1));
    }

    int unitKey(const QString& text)
    {
        return value(QStringLiteral("SELECT IDDICTIONARY FROM DICTIONARY WHERE IDTYPE='ZESPO' AND "
                                    "DESCRIPTION='%1'")
                         .arg(text))
            .toInt();
    }
    int employees() { return value(QStringLiteral("SELECT COUNT(*) FROM EMPLOYEES")).toInt(); }

    static void fill(TfOsobowa* w, const QString& id, const QString& surname,
                     const QString& fileName, const QString& pwd = QStringLiteral("tajne"))
    {
        field(w, "fIDEMPLOYEE")->setText(id);
        field(w, "fSURNAME")->setText(surname);
        field(w, "fNAME")->setText(QStringLiteral("Ewa"));
        field(w, "fPWD")->setText(pwd);
        field(w, "fFILENAME")->setText(fileName);
    }

private slots:
    void initTestCase()
    {
        const QString error = openDatabase(QStringLiteral("kadry.fdb"));
        QVERIFY2(error.isEmpty(), qPrintable(error));
        m_personnel = std::make_unique<TPersonnel>(*m_db, m_dialogs, m_options, dataFolder());
    }

    void init()
    {
        m_options = ProgramOptions{};
        QVERIFY(m_db->Write(QStringLiteral("DELETE FROM EMPLOYEES"), {}, 1));
        m_db->OpenEmployees();
        m_dialogs.clear();
    }

    void cleanupTestCase()
    {
        m_personnel.reset();
        m_db.reset();
    }

    void cardHasItsFieldsLimitsAndHints_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QString>("hint");
        QTest::newRow("number") << QStringLiteral("fIDEMPLOYEE") << 20 << QString();
        QTest::newRow("surname") << QStringLiteral("fSURNAME") << 50 << QString();
        QTest::newRow("first name") << QStringLiteral("fNAME") << 30 << QString();
        QTest::newRow("e-mail") << QStringLiteral("fEMAIL") << 100 << QString();
        QTest::newRow("password") << QStringLiteral("fPWD") << 13
                                  << QStringLiteral(
                                         "Hasło używane do logowania się do planu urlopowego");
        QTest::newRow("file name")
            << QStringLiteral("fFILENAME") << 200
            << QStringLiteral("Nazwa pliku pod jaką zapisywany będzie plan urlopów pracownika");
    }

    void cardHasItsFieldsLimitsAndHints()
    {
        QFETCH(QString, name);
        QFETCH(int, limit);
        QFETCH(QString, hint);
        QCOMPARE(card().windowTitle(), QStringLiteral("Kartoteka osobowa"));
        auto* f = card().findChild<QLineEdit*>(name);
        QVERIFY(f);
        QCOMPARE(f->maxLength(), limit);
        QCOMPARE(f->toolTip(), hint);
        // Characters the database cannot hold are refused as they are typed.
        f->clear();
        type(f, QStringLiteral("Łódź ñ"));
        QCOMPARE(f->text().size(), 5);
        QVERIFY(f->text().startsWith(QStringLiteral("Łódź")));
    }

    void cardChecksInTheirOrder_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("surname");
        QTest::addColumn<QString>("pwd");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<bool>("sprawdzHaslo");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focused");
        QTest::newRow("password first")
            << QString() << QString() << QStringLiteral(" ") << QString() << true
            << QStringLiteral("Nie podano hasła dostępu do pliku planu urlopowego dla pracownika. "
                              "Popraw pole")
            << QStringLiteral("fPWD");
        QTest::newRow("quote in the number")
            << QStringLiteral("1\"2") << QString() << QString() << QString() << false
            << QStringLiteral(
                   "Numer ewidencyjny nie może zawierać znaku cudzysłowia: \". Popraw pole")
            << QStringLiteral("fIDEMPLOYEE");
        QTest::newRow("no number")
            << QStringLiteral("   ") << QString() << QStringLiteral("x") << QString() << true
            << QStringLiteral("Nie wprowadzono numeru ewidencyjnego. Popraw pole")
            << QStringLiteral("fIDEMPLOYEE");
        QTest::newRow("no surname")
            << QStringLiteral("010") << QStringLiteral("  ") << QStringLiteral("x") << QString()
            << true << QStringLiteral("Nie wprowadzono nazwiska. Popraw pole")
            << QStringLiteral("fSURNAME");
        QTest::newRow("no file name") << QStringLiteral("010") << QStringLiteral("Nowak")
                                      << QStringLiteral("x") << QStringLiteral(" ") << true
                                      << QStringLiteral("Brak nazwy pliku kalendarza. Popraw pole")
                                      << QStringLiteral("fFILENAME");
        QTest::newRow("accepted, number trimmed")
            << QStringLiteral("  010 ") << QStringLiteral("Nowak") << QStringLiteral("x")
            << QStringLiteral("nowak") << true << QString() << QString();
        QTest::newRow("no password needed")
            << QStringLiteral("011") << QStringLiteral("Nowak") << QString()
            << QStringLiteral("nowak") << false << QString() << QString();
    }

    void cardChecksInTheirOrder()
    {
        QFETCH(QString, id);
        QFETCH(QString, surname);
        QFETCH(QString, pwd);
        QFETCH(QString, fileName);
        QFETCH(bool, sprawdzHaslo);
        QFETCH(QString, message);
        QFETCH(QString, focused);
        m_options.sprawdzHaslo = sprawdzHaslo;
        bool checked = false;
        onShowings<TfOsobowa>({[&](TfOsobowa* w) {
            fill(w, id, surname, fileName, pwd);
            click(w, "SBZapisz");
            checked = true;
            if (message.isEmpty()) {
                QVERIFY(!w->isVisible());
                QVERIFY(m_dialogs.shown().empty());
                return;
            }
            QVERIFY(w->isVisible());
            QCOMPARE(m_dialogs.informationTexts(), QStringList{message});
            QCOMPARE(m_dialogs.shown()[0].caption, QStringLiteral("Uwaga"));
            QCOMPARE(w->focusWidget()->objectName(), focused);
            click(w, "SBAnuluj");
        }});
        m_personnel->Add(false);
        QVERIFY(checked);
        if (message.isEmpty()) {
            const QString trimmed = id.trimmed();
            QCOMPARE(value(QStringLiteral("SELECT '[' || IDEMPLOYEE || ']' FROM EMPLOYEES")),
                     QLatin1Char('[') + trimmed + QLatin1Char(']'));
            QCOMPARE(m_db->DBFEmployees.asString(QStringLiteral("IDEMPLOYEE")), trimmed);
        } else {
            QCOMPARE(employees(), 0);
        }
    }

    void enterInTheTextFieldsSavesAndEscCancels_data()
    {
        QTest::addColumn<QString>("name");
        for (const char* n : {"fIDEMPLOYEE", "fSURNAME", "fNAME", "fPWD", "fEMAIL", "fFILENAME"})
            QTest::newRow(n) << QString::fromLatin1(n);
    }

    void enterInTheTextFieldsSavesAndEscCancels()
    {
        QFETCH(QString, name);
        onShowings<TfOsobowa>({[&](TfOsobowa* w) {
            fill(w, QStringLiteral("020"), QString(), QStringLiteral("kowal"));
            QTest::keyClick(w->findChild<QLineEdit*>(name), Qt::Key_Return);
            // Once: Enter is not also taken by a default button.
            QCOMPARE(m_dialogs.informationTexts(),
                     QStringList{QStringLiteral("Nie wprowadzono nazwiska. Popraw pole")});
            QVERIFY(w->isVisible());
            field(w, "fSURNAME")->setText(QStringLiteral("Kowal"));
            QTest::keyClick(w->findChild<QLineEdit*>(name), Qt::Key_Enter);
            QVERIFY(!w->isVisible());
        }});
        m_personnel->Add(false);
        QCOMPARE(employees(), 1);

        onShowings<TfOsobowa>({[&](TfOsobowa* w) {
            field(w, "fSURNAME")->setText(QStringLiteral("Zmieniony"));
            QTest::keyClick(w->findChild<QLineEdit*>(name), Qt::Key_Escape);
        }});
        m_personnel->Edit();
        QCOMPARE(value(QStringLiteral("SELECT SURNAME FROM EMPLOYEES")), QStringLiteral("Kowal"));
    }

    void duplicateNumberShowsTheCardAgainWithEverythingKept()
    {
        addEmployee(QStringLiteral("001"), QStringLiteral("Nowak"), QStringLiteral("nowak"));
        const int unit = unitKey(QStringLiteral("Magazyn"));
        int showings = 0;
        onShowings<TfOsobowa>(
            {[&](TfOsobowa* w) {
                 ++showings;
                 fill(w, QStringLiteral(" 001"), QStringLiteral("Kowal"), QStringLiteral("kowal"));
                 field(w, "fEMAIL")->setText(QStringLiteral("k@firma.pl"));
                 auto* units = child<QComboBox>(w, "fIDDICUNIT");
                 units->setCurrentIndex(units->findData(unit));
                 child<QCheckBox>(w, "fACT")->setChecked(true);
                 click(w, "SBZapisz");
             },
             [&](TfOsobowa* w) {
                 ++showings;
                 QCOMPARE(m_dialogs.informationTexts(),
                          QStringList{
                              QStringLiteral("Istnieje już osoba o podanym numerze ewidencyjnym")});
                 QCOMPARE(field(w, "fIDEMPLOYEE")->text(), QStringLiteral("001"));
                 QCOMPARE(field(w, "fSURNAME")->text(), QStringLiteral("Kowal"));
                 QCOMPARE(field(w, "fNAME")->text(), QStringLiteral("Ewa"));
                 QCOMPARE(field(w, "fEMAIL")->text(), QStringLiteral("k@firma.pl"));
                 QCOMPARE(field(w, "fPWD")->text(), QStringLiteral("tajne"));
                 QCOMPARE(field(w, "fFILENAME")->text(), QStringLiteral("kowal"));
                 QCOMPARE(child<QComboBox>(w, "fIDDICUNIT")->currentText(),
                          QStringLiteral("Magazyn"));
                 QVERIFY(child<QCheckBox>(w, "fACT")->isChecked());
                 QVERIFY(field(w, "fIDEMPLOYEE")->isEnabled());
                 field(w, "fIDEMPLOYEE")->setText(QStringLiteral("002"));
                 click(w, "SBZapisz");
             }});
        m_personnel->Add(false);
        QCOMPARE(showings, 2);
        QCOMPARE(value(QStringLiteral("SELECT SURNAME || '|' || IDDICUNIT || '|' || ACT FROM "
                                      "EMPLOYEES WHERE IDEMPLOYEE='002'")),
                 QStringLiteral("Kowal|%1|N").arg(unit));
        // The grid's list stands on the new row.
        QCOMPARE(m_db->DBFEmployees.asString(QStringLiteral("IDEMPLOYEE")), QStringLiteral("002"));
    }

    void copyPrefillsAndEditLocksTheNumber()
    {
        const int unit = unitKey(QStringLiteral("Produkcja"));
        addEmployee(QStringLiteral("001"), QStringLiteral("Nowak"), QStringLiteral("nowak"), unit);
        m_db->OpenEmployees();
        onShowings<TfOsobowa>({[&](TfOsobowa* w) {
            QVERIFY(field(w, "fIDEMPLOYEE")->isEnabled());
            QCOMPARE(field(w, "fIDEMPLOYEE")->text(), QString());
            QCOMPARE(field(w, "fFILENAME")->text(), QString());
            QCOMPARE(field(w, "fSURNAME")->text(), QStringLiteral("Nowak"));
            QCOMPARE(field(w, "fPWD")->text(), QStringLiteral("tajne"));
            QCOMPARE(field(w, "fEMAIL")->text(), QStringLiteral("jan@firma.pl"));
            QCOMPARE(child<QComboBox>(w, "fIDDICUNIT")->currentText(), QStringLiteral("Produkcja"));
            QVERIFY(child<QCheckBox>(w, "fACT")->isChecked());
            QCOMPARE(w->focusWidget(), field(w, "fIDEMPLOYEE"));
            click(w, "SBAnuluj");
        }});
        m_personnel->Add(true);

        onShowings<TfOsobowa>({[&](TfOsobowa* w) {
            QVERIFY(!field(w, "fIDEMPLOYEE")->isEnabled());
            QCOMPARE(field(w, "fIDEMPLOYEE")->text(), QStringLiteral("001"));
            QCOMPARE(w->focusWidget(), field(w, "fSURNAME"));
            QCOMPARE(field(w, "fSURNAME")->selectedText(), QStringLiteral("Nowak"));
            click(w, "SBAnuluj");
        }});
        m_personnel->Edit();
        QCOMPARE(employees(), 1);
    }

    void typedFileNamesAreFilteredFilledInOnesAreNot()
    {
        onShowings<TfOsobowa>({[&](TfOsobowa* w) {
            QVERIFY(QTest::qWaitForWindowActive(w));
            auto* name = field(w, "fNAME");
            auto* surname = field(w, "fSURNAME");
            auto* file = field(w, "fFILENAME");
            name->setText(QStringLiteral("Anna Maria"));
            surname->setText(QStringLiteral("Nowak"));
            // Entering the empty field fills it, blank and all.
            file->setFocus(Qt::TabFocusReason);
            QCOMPARE(file->text(), QStringLiteral("Anna Maria_Nowak"));
            // A field that is not empty stays as it is.
            name->setFocus(Qt::TabFocusReason);
            name->setText(QStringLiteral("Ewa"));
            file->setFocus(Qt::TabFocusReason);
            QCOMPARE(file->text(), QStringLiteral("Anna Maria_Nowak"));

            file->clear();
            name->setFocus(Qt::TabFocusReason);
            file->setFocus(Qt::TabFocusReason);
            QCOMPARE(file->text(), QString()); // proposed once: cleared, it stays empty
            QTest::keyClicks(file, QStringLiteral("jan kowalski*1:\"x\"?"));
            QCOMPARE(file->text(), QStringLiteral("jan_kowalski_1__x__"));
            file->insert(QStringLiteral(" a;b"));
            QCOMPARE(file->text(), QStringLiteral("jan_kowalski_1__x__ a;b"));
            click(w, "SBAnuluj");
        }});
        m_personnel->Add(false);
    }

    void clickingIntoTheEmptyFileNameProposesANameThatTypingReplaces()
    {
        onShowings<TfOsobowa>({[&](TfOsobowa* w) {
            QVERIFY(QTest::qWaitForWindowActive(w));
            fill(w, QStringLiteral("040"), QStringLiteral("O\"Brien/Kos"), QString());
            field(w, "fNAME")->setText(QStringLiteral("Jan.."));
            auto* file = field(w, "fFILENAME");
            // The clerk clicks into the middle of the empty field.
            QTest::mouseClick(file, Qt::LeftButton, {}, QPoint(file->width() / 2, file->height() / 2));
            QCOMPARE(w->focusWidget(), file);
            QCOMPARE(file->text(), QStringLiteral("Jan._OBrienKos"));
            QCOMPARE(file->selectedText(), file->text());
            QTest::keyClicks(file, QStringLiteral("kos"));
            QCOMPARE(file->text(), QStringLiteral("kos"));
            // A later click only places the cursor, as in any field.
            QTest::mouseClick(file, Qt::LeftButton, {}, QPoint(file->width() - 2, file->height() / 2));
            QTest::keyClicks(file, QStringLiteral("2"));
            QCOMPARE(file->text(), QStringLiteral("kos2"));
            click(w, "SBZapisz");
        }});
        m_personnel->Add(false);
        QCOMPARE(value(QStringLiteral("SELECT FILENAME FROM EMPLOYEES WHERE IDEMPLOYEE='040'")),
                 QStringLiteral("kos2"));
    }

    void thePasswordIsMaskedUntilAskedFor()
    {
        addEmployee(QStringLiteral("001"), QStringLiteral("Nowak"), QStringLiteral("nowak"));
        m_db->OpenEmployees();
        const auto check = [&](TfOsobowa* w) {
            auto* pwd = field(w, "fPWD");
            auto* show = child<QCheckBox>(w, "cbPokazHaslo");
            QCOMPARE(show->accessibleName(), QStringLiteral("Pokaż hasło"));
            QCOMPARE(pwd->echoMode(), QLineEdit::Password);
            QCOMPARE(pwd->text(), QStringLiteral("tajne"));
            show->click();
            QCOMPARE(pwd->echoMode(), QLineEdit::Normal);
            show->click();
            QCOMPARE(pwd->echoMode(), QLineEdit::Password);
            show->click(); // left shown: the next showing masks it again
            // The box follows the field in the Tab order.
            pwd->setFocus(Qt::TabFocusReason);
            QTest::keyClick(pwd, Qt::Key_Tab);
            QCOMPARE(w->focusWidget(), show);
            click(w, "SBAnuluj");
        };
        onShowings<TfOsobowa>({check});
        m_personnel->Edit();
        onShowings<TfOsobowa>({check}); // viewing too
        m_personnel->View();
    }

    void typedBlankIsStoredAsUnderscore()
    {
        onShowings<TfOsobowa>({[&](TfOsobowa* w) {
            fill(w, QStringLiteral("030"), QStringLiteral("Kowalski"), QString());
            QTest::keyClicks(field(w, "fFILENAME"), QStringLiteral("jan kowalski"));
            click(w, "SBZapisz");
        }});
        m_personnel->Add(false);
        QCOMPARE(value(QStringLiteral("SELECT FILENAME FROM EMPLOYEES WHERE IDEMPLOYEE='030'")),
                 QStringLiteral("jan_kowalski"));
    }

    void clearButtonLeavesNoUnit()
    {
        const int unit = unitKey(QStringLiteral("Magazyn"));
        addEmployee(QStringLiteral("001"), QStringLiteral("Nowak"), QStringLiteral("nowak"), unit);
        m_db->OpenEmployees();
        onShowings<TfOsobowa>({[&](TfOsobowa* w) {
            auto* units = child<QComboBox>(w, "fIDDICUNIT");
            QCOMPARE(units->currentText(), QStringLiteral("Magazyn"));
            auto* clear = child<QPushButton>(w, "SBBezZespolu");
            QVERIFY(clear->text().isEmpty());
            QCOMPARE(clear->toolTip(), QStringLiteral("Nie wskazuj żadnego zespołu"));
            clear->click();
            QCOMPARE(units->currentIndex(), -1);
            QCOMPARE(units->currentText(), QString());
            click(w, "SBZapisz");
        }});
        m_personnel->Edit();
        QCOMPARE(value(QStringLiteral("SELECT IDDICUNIT FROM EMPLOYEES")), QStringLiteral("-1"));
    }

    void aUnitMissingFromTheListIsKeptWhenSaving()
    {
        addEmployee(QStringLiteral("001"), QStringLiteral("Nowak"), QStringLiteral("nowak"), 9999);
        m_db->OpenEmployees();
        onShowings<TfOsobowa>({[&](TfOsobowa* w) {
            QCOMPARE(child<QComboBox>(w, "fIDDICUNIT")->currentText(), QString());
            field(w, "fSURNAME")->setText(QStringLiteral("Nowacka"));
            click(w, "SBZapisz");
        }});
        m_personnel->Edit();
        QCOMPARE(value(QStringLiteral("SELECT SURNAME || '|' || IDDICUNIT FROM EMPLOYEES")),
                 QStringLiteral("Nowacka|9999"));
    }

    void viewShowsTheCardReadOnlyAndSavesNothing()
    {
        addEmployee(QStringLiteral("001"), QStringLiteral("Nowak"), QStringLiteral("nowak"));
        m_db->OpenEmployees();
        onShowings<TfOsobowa>({[&](TfOsobowa* w) {
            QCOMPARE(field(w, "fSURNAME")->text(), QStringLiteral("Nowak"));
            for (const char* n :
                 {"fIDEMPLOYEE", "fSURNAME", "fNAME", "fEMAIL", "fPWD", "fFILENAME"})
                QVERIFY2(field(w, n)->isReadOnly(), n);
            QVERIFY(!child<QComboBox>(w, "fIDDICUNIT")->isEnabled());
            QVERIFY(!child<QCheckBox>(w, "fACT")->isEnabled());
            for (const char* n : {"SBZapisz", "SBSlowniki", "SBBezZespolu"})
                QVERIFY2(!child<QPushButton>(w, n)->isVisible(), n);
            QCOMPARE(child<QPushButton>(w, "SBAnuluj")->text(), QStringLiteral("&OK"));
            field(w, "fSURNAME")->setText(QStringLiteral("Zmieniony"));
            QTest::keyClick(field(w, "fSURNAME"), Qt::Key_Return);
            QVERIFY(w->isVisible());
            click(w, "SBAnuluj");
        }});
        m_personnel->View();
        QCOMPARE(value(QStringLiteral("SELECT SURNAME FROM EMPLOYEES")), QStringLiteral("Nowak"));
        QVERIFY(!field(&card(), "fSURNAME")->isReadOnly());
        QVERIFY(child<QPushButton>(&card(), "SBZapisz")->isVisibleTo(&card()));
        QCOMPARE(child<QPushButton>(&card(), "SBAnuluj")->text(), QStringLiteral("&Anuluj"));
    }

    void dictionaryButtonOpensTheUnitsAndRefreshesThePickList()
    {
        onShowings<TfEditBibliotekaAll>({[&](TfEditBibliotekaAll* e) {
            QCOMPARE(e->windowTitle(), QStringLiteral("Nazwy zespołów"));
            QCOMPARE(child<QLabel>(e, "lbOpis")->text(), QStringLiteral("Nazwa zespołu"));
            QVERIFY(!field(e, "FUzup1")->isVisible());
            QCOMPARE(field(e, "FOpis")->maxLength(), 100);
            field(e, "FOpis")->setText(QStringLiteral("Logistyka"));
            QTest::keyClick(field(e, "FOpis"), Qt::Key_Return);
        }});
        onShowings<TfBiblioteka>({[&](TfBiblioteka* b) {
            QCOMPARE(b->windowTitle(), QStringLiteral("Biblioteka"));
            QCOMPARE(b->position(), 1);
            QCOMPARE(child<QComboBox>(b, "cbSlownik")->currentText(),
                     QStringLiteral("Nazwy zespołów"));
            QVERIFY(b->grid(1)->isVisible());
            click(b, "SBDodaj");
            QCOMPARE(m_db->DBFDictionary.asString(QStringLiteral("DESCRIPTION")),
                     QStringLiteral("Logistyka"));
            click(b, "SBZamknij");
        }});
        onShowings<TfOsobowa>({[&](TfOsobowa* w) {
            auto* units = child<QComboBox>(w, "fIDDICUNIT");
            QCOMPARE(units->findText(QStringLiteral("Logistyka")), -1);
            click(w, "SBSlowniki");
            QVERIFY(w->isVisible());
            QVERIFY(units->findText(QStringLiteral("Logistyka")) >= 0);
            click(w, "SBAnuluj");
        }});
        m_personnel->Add(false);
        QVERIFY(!m_db->DBFDictionary.isOpen());
    }

    void dictionaryWindowWorksOnBothDictionaries()
    {
        m_options.pytajPrzedKasowaniem = false;
        const int unit = unitKey(QStringLiteral("Dział handlowy"));
        addEmployee(QStringLiteral("001"), QStringLiteral("Nowak"), QStringLiteral("nowak"), unit);
        m_db->OpenEmployees();
        QCOMPARE(m_db->DBFEmployees.displayText(QStringLiteral("UNIT_O")),
                 QStringLiteral("Dział handlowy"));
        const int terms =
            value(QStringLiteral("SELECT COUNT(*) FROM DICTIONARY WHERE IDTYPE='TERMT'")).toInt();

        onShowings<TfEditBibliotekaAll>(
            {[&](TfEditBibliotekaAll* e) {
                 QCOMPARE(e->windowTitle(), QStringLiteral("Rodzaj terminów"));
                 QCOMPARE(child<QLabel>(e, "lbOpis")->text(), QStringLiteral("Rodzaj terminu"));
                 field(e, "FOpis")->setText(QStringLiteral("   "));
                 click(e, "SBZapisz");
                 QCOMPARE(m_dialogs.informationTexts(),
                          QStringList{QStringLiteral("Nie wypełniono pola")});
                 QVERIFY(e->isVisible());
                 field(e, "FOpis")->setText(QStringLiteral("Egzamin"));
                 click(e, "SBZapisz");
             },
             [&](TfEditBibliotekaAll* e) {
                 QCOMPARE(field(e, "FOpis")->text(), QStringLiteral("Egzamin"));
                 QCOMPARE(field(e, "FOpis")->selectedText(), QStringLiteral("Egzamin"));
                 field(e, "FOpis")->setText(QStringLiteral("Egzamin końcowy"));
                 click(e, "SBZapisz");
             }});
        onShowings<TfBiblioteka>({[&](TfBiblioteka* b) {
            auto* choice = child<QComboBox>(b, "cbSlownik");
            choice->setCurrentIndex(1);
            QCOMPARE(b->position(), 2);
            QVERIFY(b->grid(2)->isVisible());
            QCOMPARE(b->grid(2)->model()->headerData(0, Qt::Horizontal).toString(),
                     QStringLiteral("Rodzaj terminów"));
            QCOMPARE(b->grid(2)->model()->rowCount(), terms);
            // Insert in the grid adds, Enter edits.
            QVERIFY(QTest::qWaitForWindowActive(b));
            b->grid(2)->setFocus();
            QTest::keyClick(b->grid(2), Qt::Key_Insert);
            QCOMPARE(b->grid(2)->model()->rowCount(), terms + 1);
            QTest::keyClick(b->grid(2), Qt::Key_Return);
            QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM DICTIONARY WHERE IDTYPE='TERMT' "
                                          "AND DESCRIPTION='Egzamin końcowy'")),
                     QStringLiteral("1"));

            // Back on the units, the unit an employee uses goes.
            choice->setCurrentIndex(0);
            QVERIFY(b->grid(1)->isVisible());
            QVERIFY(
                m_db->LocateByInteger(m_db->DBFDictionary, QStringLiteral("IDDICTIONARY"), unit));
            b->activateWindow(); // the closed edit window took the activation with it
            QVERIFY(QTest::qWaitForWindowActive(b));
            b->grid(1)->setFocus();
            QTest::keyClick(b->grid(1), Qt::Key_Delete);
            QVERIFY(
                !m_db->LocateByInteger(m_db->DBFDictionary, QStringLiteral("IDDICTIONARY"), unit));
            QTest::keyClick(b->grid(1), Qt::Key_Escape);
        }});
        m_personnel->ShowDictionaries();
        QVERIFY(!m_db->DBFDictionary.isOpen());
        // The personnel list shows the employee without a unit at once.
        QCOMPARE(m_db->DBFEmployees.displayText(QStringLiteral("UNIT_O")), QString());
        QCOMPARE(m_db->DBFEmployees.asInteger(QStringLiteral("IDDICUNIT")), unit);
    }

    void unitsCarryTheirMinimumStaffing()
    {
        const int unit = unitKey(QStringLiteral("Zarząd"));
        const auto stored = [&] {
            return value(QStringLiteral("SELECT MINSTAFF FROM UNITSTAFFING WHERE IDDICUNIT=%1")
                             .arg(unit));
        };
        const auto setMinimum = [](int minimum) {
            return [minimum](TfEditBibliotekaAll* e) {
                auto* field = child<QSpinBox>(e, "FMinObsada");
                QVERIFY(field->isVisible());
                QVERIFY(field->isEnabled());
                field->setValue(minimum);
                click(e, "SBZapisz");
            };
        };
        onShowings<TfBiblioteka>({[&](TfBiblioteka* b) {
            QVERIFY(
                m_db->LocateByInteger(m_db->DBFDictionary, QStringLiteral("IDDICTIONARY"), unit));
            onShowings<TfEditBibliotekaAll>({setMinimum(3)});
            b->EditEntry();
            QCOMPARE(stored(), QStringLiteral("3"));

            // Editing shows what is stored; 0 removes the threshold.
            onShowings<TfEditBibliotekaAll>({[&](TfEditBibliotekaAll* e) {
                QCOMPARE(child<QSpinBox>(e, "FMinObsada")->value(), 3);
                setMinimum(0)(e);
            }});
            b->EditEntry();
            QCOMPARE(stored(), QString());

            // A restricted login sees the field but cannot change it.
            m_db->loginState().restricted = true;
            onShowings<TfEditBibliotekaAll>({[&](TfEditBibliotekaAll* e) {
                QVERIFY(!child<QSpinBox>(e, "FMinObsada")->isEnabled());
                click(e, "SBAnuluj");
            }});
            b->EditEntry();
            m_db->loginState().restricted = false;

            // The kinds of deadline have no threshold.
            child<QComboBox>(b, "cbSlownik")->setCurrentIndex(1);
            onShowings<TfEditBibliotekaAll>({[&](TfEditBibliotekaAll* e) {
                QVERIFY(!child<QSpinBox>(e, "FMinObsada")->isVisible());
                click(e, "SBAnuluj");
            }});
            b->EditEntry();
            b->reject();
        }});
        m_personnel->ShowDictionaries();
        QCOMPARE(stored(), QString());
    }
};

ZF_QTEST_MAIN(PersonnelWindowsTest)
#include "records_window_test.moc"
