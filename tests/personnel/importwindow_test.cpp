// The employee import window offscreen: its controls, the button-state rules, the grid, Esc,
// the remembered configuration across windows and one import through its buttons.
#include "data/databasecreation.h"
#include "data/mydatabase.h"
#include "data/scriptrunner.h"
#include "personnel/importwindow.h"
#include "tests/support/qtest_main.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_env.h"
#include "util/inifile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace zf;

namespace {
const QString kUser = QStringLiteral("SYSDBA");
const QString kPassword = QStringLiteral("lanternox");
} // namespace

class TestImportWindow : public QObject
{
    Q_OBJECT

private:
    QString dataFolder() const { return test::dataHome() + QStringLiteral("/Orvantis/Zefirant"); }
    static QString sheet(const char* name)
    {
        return test::sourceFolder() + QStringLiteral("/tests/personnel/data/") +
               QString::fromLatin1(name);
    }

    template <class T> T* child(const QString& name)
    {
        auto* w = window->findChild<T*>(name);
        if (!w)
            qWarning("missing control %s", qPrintable(name));
        return w;
    }
    template <class T> T* child(const char* name) { return child<T>(QString::fromLatin1(name)); }
    QComboBox* list(int field) { return child<QComboBox>(QStringLiteral("cb%1").arg(field + 1)); }

    // "Zw&eryfikuj", "Importuj", "Zapisz log" enabled?
    QString buttons()
    {
        QString s;
        for (const char* name : {"SBZweryfikuj", "SBImportuj", "SBZapiszLog"})
            s += child<QPushButton>(name)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        return s;
    }

    void newWindow()
    {
        window =
            std::make_unique<TfImportPracownik>(*db, *dialogs, programDir->path(), dataFolder());
    }

    // Loads through the button, answering the restore question.
    void loadThroughButton(const QString& path, bool restore)
    {
        dialogs->chooseFile(path);
        dialogs->answer(restore);
        QTest::mouseClick(child<QPushButton>("SBZaladuj"), Qt::LeftButton);
        QVERIFY(dialogs->allAnswersUsed());
    }

    std::unique_ptr<QTemporaryDir> dbDir;
    std::unique_ptr<QTemporaryDir> programDir;
    std::unique_ptr<test::ScriptedDialogs> dialogs;
    std::unique_ptr<TmyDataBase> db;
    std::unique_ptr<TfImportPracownik> window;

private slots:
    void initTestCase()
    {
        QDir().mkpath(dataFolder() + QStringLiteral("/debug"));
        dbDir = std::make_unique<QTemporaryDir>();
        const QString path = dbDir->path() + QStringLiteral("/import.fdb");
        QFile script(DatabaseCreator::CreationScriptPath(test::programFolder()));
        QVERIFY(script.open(QIODevice::ReadOnly));
        {
            DatabaseCreator creator;
            const auto error =
                creator.create(path, kUser, kPassword, decipherScript(script.readAll()));
            QVERIFY2(!error, error ? qPrintable(error->message) : "");
            creator.DB.detach();
        }
        dialogs = std::make_unique<test::ScriptedDialogs>();
        db = std::make_unique<TmyDataBase>(
            DatabasePaths{dataFolder(),
                          test::programFolder(),
                          {dbDir->path() + QStringLiteral("/no-installer")}},
            *dialogs);
        QVERIFY(db->Connect(path, kUser, kPassword));
    }

    void cleanupTestCase()
    {
        db.reset();
        dialogs.reset();
        dbDir.reset();
    }

    void init()
    {
        dialogs->clear();
        programDir = std::make_unique<QTemporaryDir>();
        // The data folder outlives one test: no remembered import from an earlier one.
        IniFile(dataFolder() + QStringLiteral("/zefirant.ini"))
            .eraseSection(QStringLiteral("IMPORTS1"));
        newWindow();
    }

    void cleanup()
    {
        window.reset();
        programDir.reset();
    }

    void hasTheControlsWithTheirTexts()
    {
        QCOMPARE(window->windowTitle(), QStringLiteral("Import pracowników"));
        QVERIFY(window->isModal());
        QCOMPARE(child<QLabel>("lblHeading")->text(),
                 QStringLiteral("Import pracowników z arkusza .CSV"));
        const struct
        {
            const char* name;
            QString text;
            QString hint;
        } buttonTexts[] = {
            {"SBZaladuj", QStringLiteral("Załaduj &arkusz .CSV"),
             QStringLiteral("Wczytaj arkusz .CSV do modułu importującego dane")},
            {"SBZweryfikuj", QStringLiteral("Zw&eryfikuj"),
             QStringLiteral("Weryfikuje poprawność arkusza")},
            {"SBImportuj", QStringLiteral("Importuj"), QString()},
            {"SBZapiszLog", QStringLiteral("Zapisz log"),
             QStringLiteral("Zapisz arkusz .CSV wraz z informacjami o wyniku importu")},
            {"SBZamknij", QStringLiteral("&Zamknij"), QString()},
        };
        for (const auto& b : buttonTexts) {
            auto* button = child<QPushButton>(b.name);
            QVERIFY2(button, b.name);
            QCOMPARE(button->text(), b.text);
            QCOMPARE(button->toolTip(), b.hint);
        }

        const QStringList labels = {QStringLiteral("Numer ewidencyjny *)"),
                                    QStringLiteral("Imię"),
                                    QStringLiteral("Nazwisko *)"),
                                    QStringLiteral("Zespół"),
                                    QStringLiteral("Email"),
                                    QStringLiteral("Hasło *)"),
                                    QStringLiteral("Nazwa pliku planu *)"),
                                    QStringLiteral("Pracownik zwolniony?")};
        QHash<QWidget*, QString> buddies;
        for (QLabel* label : window->findChildren<QLabel*>())
            if (label->buddy())
                buddies.insert(label->buddy(), label->text());
        for (int i = 0; i < 8; ++i) {
            QComboBox* cb = list(i);
            QVERIFY(cb);
            QVERIFY(!cb->isEditable());
            QCOMPARE(cb->count(), 1);
            QCOMPARE(cb->itemText(0), QStringLiteral("Brak danych"));
            QCOMPARE(buddies.value(cb), labels[i]);
        }
        auto* separator = child<QComboBox>("separator");
        QVERIFY(separator->isEditable());
        QCOMPARE(separator->lineEdit()->maxLength(), 1);
        QCOMPARE(separator->itemText(0), QStringLiteral(";"));
        QCOMPARE(separator->itemText(1), QStringLiteral(","));
        QCOMPARE(buddies.value(separator), QStringLiteral("Separator kolumn"));
        auto* symbol = child<QComboBox>("symbolZW");
        QVERIFY(symbol->isEditable());
        QStringList symbols;
        for (int i = 0; i < symbol->count(); ++i)
            symbols << symbol->itemText(i);
        QCOMPARE(symbols,
                 (QStringList{QStringLiteral("T"), QStringLiteral("TAK"), QStringLiteral("TRUE"),
                              QStringLiteral("YES"), QStringLiteral("+"), QStringLiteral("1")}));
        QCOMPARE(buddies.value(symbol),
                 QStringLiteral("Symbol oznaczający pracownika zwolnionego"));
        auto* skip = child<QCheckBox>("pominPierwszy");
        QCOMPARE(skip->text(), QStringLiteral("Pomiń pierwszy wiersz"));
        QCOMPARE(skip->toolTip(),
                 QStringLiteral("Pomiń podczas importu pierwszy wiersz arkusza (np. nagłówki "
                                "kolumn)"));
        auto* keep = child<QCheckBox>("nieCzysc");
        QCOMPARE(keep->text(), QStringLiteral("Nie czyść ustawień po wczytaniu .CSV"));
        QVERIFY(keep->isChecked());
        auto* grid = child<QTableView>("CSV");
        QCOMPARE(buddies.value(grid), QStringLiteral("Obraz załadowanego arkusza:"));
    }

    void buttonStatesFollowTheRules()
    {
        window->show();
        QCOMPARE(buttons(), QStringLiteral("000"));
        // Before any sheet a changed list has nothing to verify.
        child<QCheckBox>("pominPierwszy")->setChecked(true);
        QCOMPARE(buttons(), QStringLiteral("000"));

        loadThroughButton(sheet("libreoffice_pracownicy.csv"), false);
        QCOMPARE(buttons(), QStringLiteral("100"));
        QCOMPARE(list(0)->count(), 9);
        QCOMPARE(list(0)->itemText(8), QStringLiteral("Kolumna #8"));
        for (int i = 0; i < 8; ++i)
            list(i)->setCurrentIndex(i + 1);
        QCOMPARE(buttons(), QStringLiteral("100"));

        QTest::mouseClick(child<QPushButton>("SBZweryfikuj"), Qt::LeftButton);
        QCOMPARE(buttons(), QStringLiteral("011"));
        QCOMPARE(window->logic().grid().status(1), QStringLiteral("Ok"));

        const auto backToVerify = [&](const char* what, const std::function<void()>& change) {
            QTest::mouseClick(child<QPushButton>("SBZweryfikuj"), Qt::LeftButton);
            QCOMPARE(buttons(), QStringLiteral("011"));
            change();
            QVERIFY2(buttons() == QStringLiteral("100"), what);
        };
        backToVerify("list", [&] { list(3)->setCurrentIndex(0); });
        backToVerify("skip-first", [&] { child<QCheckBox>("pominPierwszy")->setChecked(false); });
        backToVerify("symbol", [&] {
            QTest::keyClicks(child<QComboBox>("symbolZW")->lineEdit(), QStringLiteral("AK"));
        });
        QCOMPARE(window->logic().symbolZW, QStringLiteral("TAK"));

        // The separator and the keep-settings box do not touch the buttons.
        QTest::mouseClick(child<QPushButton>("SBZweryfikuj"), Qt::LeftButton);
        child<QComboBox>("separator")->setCurrentIndex(1);
        child<QCheckBox>("nieCzysc")->setChecked(false);
        QCOMPARE(buttons(), QStringLiteral("011"));

        // Loading starts with all three disabled; a failed load leaves them so.
        dialogs->chooseFile(programDir->path() + QStringLiteral("/brak.csv"));
        QTest::mouseClick(child<QPushButton>("SBZaladuj"), Qt::LeftButton);
        QCOMPARE(buttons(), QStringLiteral("000"));
        QVERIFY(dialogs->informationTexts().last().contains(
            QStringLiteral("Błąd podczas otwierania pliku.")));
        dialogs->answer(false);
        window->reject();
    }

    void gridShowsTheSheetUnderItsTitles()
    {
        window->show();
        loadThroughButton(sheet("excel_pracownicy.csv"), false);
        auto* grid = child<QTableView>("CSV");
        QAbstractItemModel* model = grid->model();
        QCOMPARE(model->rowCount(), 8);
        QCOMPARE(model->columnCount(), 10);
        QCOMPARE(model->index(0, 0).data().toString(), QStringLiteral("Kolumna #1"));
        QCOMPARE(model->index(0, 8).data().toString(), QStringLiteral("Zaimportowano?"));
        QCOMPARE(model->index(0, 9).data().toString(), QStringLiteral("Uwagi"));
        QCOMPARE(model->index(2, 1).data().toString(), QStringLiteral("Wójcik"));
        // The title row stands in the header, which stays in sight.
        QVERIFY(grid->isRowHidden(0));
        QCOMPARE(grid->horizontalHeader()->model()->headerData(0, Qt::Horizontal).toString(),
                 QStringLiteral("Kolumna #1"));
        QCOMPARE(grid->columnWidth(0), 100);
        QCOMPARE(grid->columnWidth(7), 100);
        QCOMPARE(grid->columnWidth(8), 100);
        QCOMPARE(grid->columnWidth(9), 200);
        dialogs->answer(false);
        window->reject();
    }

    void showingResetsOnlyUntilASheetIsLoaded()
    {
        window->show();
        child<QComboBox>("separator")->setCurrentText(QStringLiteral(","));
        child<QComboBox>("symbolZW")->setCurrentText(QStringLiteral("X"));
        dialogs->answer(false);
        window->reject();
        QVERIFY(!window->isVisible());
        window->show();
        QCOMPARE(child<QComboBox>("separator")->currentText(), QStringLiteral(";"));
        QCOMPARE(child<QComboBox>("symbolZW")->currentText(), QStringLiteral("T"));

        loadThroughButton(sheet("excel_pracownicy.csv"), false);
        list(0)->setCurrentIndex(1);
        child<QComboBox>("separator")->setCurrentText(QStringLiteral(","));
        dialogs->answer(false);
        window->reject();
        window->show();
        QCOMPARE(child<QComboBox>("separator")->currentText(), QStringLiteral(","));
        QCOMPARE(list(0)->currentIndex(), 1);
        QCOMPARE(child<QTableView>("CSV")->model()->rowCount(), 8);
        QCOMPARE(buttons(), QStringLiteral("100"));
        dialogs->answer(false);
        window->reject();
    }

    void configurationIsRememberedForANewWindow()
    {
        window->show();
        loadThroughButton(sheet("excel_pracownicy.csv"), false);
        const QList<int> positions = {1, 3, 2, 4, 0, 5, 6, 7};
        for (int i = 0; i < 8; ++i)
            list(i)->setCurrentIndex(positions[i]);
        child<QCheckBox>("pominPierwszy")->setChecked(true);
        child<QComboBox>("symbolZW")->setCurrentText(QStringLiteral("TAK"));
        dialogs->answer(true);
        QTest::mouseClick(child<QPushButton>("SBZamknij"), Qt::LeftButton);
        QVERIFY(!window->isVisible());
        QCOMPARE(dialogs->questionTexts().last(),
                 QStringLiteral("Czy zapamiętać konfigurację imporu?"));
        QVERIFY(QFile::exists(dataFolder() + QStringLiteral("/zefirant.ini")));
        QVERIFY(!QFile::exists(programDir->path() + QStringLiteral("/zefirant.ini")));

        newWindow();
        window->show();
        QCOMPARE(list(1)->currentIndex(), 0);
        loadThroughButton(sheet("excel_pracownicy.csv"), true);
        for (int i = 0; i < 8; ++i)
            QCOMPARE(list(i)->currentIndex(), positions[i]);
        QVERIFY(child<QCheckBox>("pominPierwszy")->isChecked());
        QCOMPARE(child<QComboBox>("symbolZW")->currentText(), QStringLiteral("TAK"));
        QCOMPARE(buttons(), QStringLiteral("100"));
        dialogs->answer(false);
        window->reject();
    }

    void escapeClosesFromTheGridTheCheckBoxAndAClosedList()
    {
        const char* closing[] = {"CSV", "pominPierwszy", "cb1", "cb8"};
        for (const char* name : closing) {
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window.get()));
            auto* w = child<QWidget>(name);
            w->setFocus();
            dialogs->answer(false);
            QTest::keyClick(w, Qt::Key_Escape);
            QVERIFY2(!window->isVisible(), name);
            QVERIFY2(dialogs->allAnswersUsed(), name);
        }
        const char* staying[] = {"separator", "symbolZW", "nieCzysc", "SBZaladuj"};
        for (const char* name : staying) {
            window->show();
            auto* w = child<QWidget>(name);
            w->setFocus();
            QWidget* target = window->focusWidget();
            QTest::keyClick(target, Qt::Key_Escape);
            QVERIFY2(window->isVisible(), name);
        }
        dialogs->answer(false);
        window->reject();
        QVERIFY(dialogs->allAnswersUsed());
    }

    void importThroughTheButtons()
    {
        window->show();
        loadThroughButton(sheet("libreoffice_pracownicy.csv"), false);
        child<QCheckBox>("pominPierwszy")->setChecked(true);
        for (int i = 0; i < 8; ++i)
            list(i)->setCurrentIndex(i + 1);
        list(3)->setCurrentIndex(0); // this database has no unit "Kadry; płace"
        QTest::mouseClick(child<QPushButton>("SBZweryfikuj"), Qt::LeftButton);
        dialogs->answer(true);
        QTest::mouseClick(child<QPushButton>("SBImportuj"), Qt::LeftButton);
        QCOMPARE(dialogs->informationTexts().last(),
                 QStringLiteral("Operacja zakończona. Dodano wierszy: 5."));
        QVERIFY(db->RecordExists(QStringLiteral("1001"), QStringLiteral("EMPLOYEES"),
                                 QStringLiteral("IDEMPLOYEE")));
        QVERIFY(db->RecordExists(QStringLiteral("Żółkiewski"), QStringLiteral("EMPLOYEES"),
                                 QStringLiteral("SURNAME")));

        const QString log = programDir->path() + QStringLiteral("/wynik.csv");
        dialogs->chooseFile(log);
        QTest::mouseClick(child<QPushButton>("SBZapiszLog"), Qt::LeftButton);
        QCOMPARE(dialogs->informationTexts().last(), QStringLiteral("Arkusz wynikowy zapisano."));
        QVERIFY(QFile::exists(log));
        QCOMPARE(dialogs->shown().at(dialogs->shown().size() - 2).caption,
                 QStringLiteral("Zapisz wyniku importu do arkusza .CSV"));
        dialogs->answer(false);
        window->reject();
        QVERIFY(dialogs->allAnswersUsed());
    }
};

ZF_QTEST_MAIN(TestImportWindow)
#include "importwindow_test.moc"
