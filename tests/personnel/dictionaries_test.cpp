// Dictionary operations against a real embedded database, with a scripted edit window.
#include "data/mydatabase.h"
#include "data/programoptions.h"
#include "personnel/dictionaries.h"
#include "tests/support/test_database.h"
#include "tests/support/test_env.h"
#include "util/textcodec.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <deque>
#include <functional>

namespace zf {
namespace {

// The edit window as a clerk uses it: each showing records what it was given and runs the next
// scripted answer.
class ScriptedEditor final : public DictionaryEditor
{
public:
    struct Shown
    {
        QString caption;
        QString label;
        DictionaryEntry entry;
    };

    void thenSave(const QString& description) { m_answers.push_back(description); }
    void thenCancel() { m_answers.push_back(std::nullopt); }

    bool editEntry(const QString& caption, const QString& label, DictionaryEntry& entry) override
    {
        shown.push_back({caption, label, entry});
        if (m_answers.empty()) {
            ADD_FAILURE() << "The edit window was shown once more than scripted";
            return false;
        }
        const auto answer = m_answers.front();
        m_answers.pop_front();
        if (!answer)
            return false;
        entry.description = *answer;
        return true;
    }

    std::vector<Shown> shown;

private:
    std::deque<std::optional<QString>> m_answers;
};

class DictionariesTest : public ::testing::TestWithParam<int>
{
protected:
    void SetUp() override
    {
        test::clearDataHome();
        QDir().mkpath(test::dataHome() + QStringLiteral("/Orvantis/Zefirant/debug"));
    }

    int position() const { return GetParam(); }
    QString type() const
    {
        return position() == 1 ? QStringLiteral("ZESPO") : QStringLiteral("TERMT");
    }

    int generator()
    {
        return tdb.scalarInt(QStringLiteral("SELECT GEN_ID(GEN_DICTIONARY, 0) FROM RDB$DATABASE"));
    }
    int entries()
    {
        return tdb.scalarInt(
            QStringLiteral("SELECT COUNT(*) FROM DICTIONARY WHERE IDTYPE='%1'").arg(type()));
    }
    // DESCRIPTION|ADDITIONAL1|ADDITIONAL2|IDTYPE of an entry.
    QString row(int key)
    {
        return tdb.scalar(QStringLiteral("SELECT DESCRIPTION || '|' || ADDITIONAL1 || '|' || "
                                         "ADDITIONAL2 || '|' || IDTYPE FROM DICTIONARY WHERE "
                                         "IDDICTIONARY=%1")
                              .arg(key));
    }
    int firstKey()
    {
        return tdb.scalarInt(
            QStringLiteral("SELECT MIN(IDDICTIONARY) FROM DICTIONARY WHERE IDTYPE='%1'")
                .arg(type()));
    }
    QString errorLog()
    {
        QFile f(test::dataHome() + QStringLiteral("/Orvantis/Zefirant/debug/error.log"));
        return f.open(QIODevice::ReadOnly) ? fromCp1250(f.readAll()) : QString();
    }
    void openAt(int key)
    {
        dictionaries.Open(position());
        ASSERT_TRUE(db().LocateByInteger(db().DBFDictionary, QStringLiteral("IDDICTIONARY"), key));
    }
    int currentKey() { return db().DBFDictionary.asInteger(QStringLiteral("IDDICTIONARY")); }

    TmyDataBase& db() { return tdb.db(); }
    test::ScriptedDialogs& dialogs() { return tdb.dialogs(); }

    test::TestDatabase tdb;
    ProgramOptions options;
    Dictionaries dictionaries{tdb.db(), tdb.dialogs(), options};
    ScriptedEditor editor;
};

TEST_P(DictionariesTest, AddTakesItsKeyFromGetKeyAndStartsEmpty)
{
    dictionaries.Open(position());
    const int before = entries();
    editor.thenSave(QStringLiteral("Żółta grupa"));
    dictionaries.AddEntry(editor, position(), false);

    ASSERT_EQ(editor.shown.size(), 1u);
    const DictionaryType& t = DictionaryTypeAt(position());
    EXPECT_EQ(editor.shown[0].caption, t.title);
    EXPECT_EQ(editor.shown[0].label, t.label);
    EXPECT_TRUE(editor.shown[0].entry.description.isEmpty());
    EXPECT_TRUE(editor.shown[0].entry.additional1.isEmpty());
    const int key = generator();
    EXPECT_EQ(row(key), QStringLiteral("Żółta grupa|||") + type());
    EXPECT_EQ(entries(), before + 1);
    EXPECT_EQ(currentKey(), key);
    EXPECT_TRUE(dialogs().shown().empty());
}

TEST_P(DictionariesTest, CopyAndEditKeepTheHiddenValue)
{
    const int source = firstKey();
    tdb.exec(QStringLiteral("UPDATE DICTIONARY SET ADDITIONAL1='X7', ADDITIONAL2='old' WHERE "
                            "IDDICTIONARY=%1")
                 .arg(source));
    const QString text = tdb.scalar(
        QStringLiteral("SELECT DESCRIPTION FROM DICTIONARY WHERE IDDICTIONARY=%1").arg(source));
    openAt(source);

    editor.thenSave(QStringLiteral("Kopia"));
    dictionaries.AddEntry(editor, position(), true);
    ASSERT_EQ(editor.shown.size(), 1u);
    EXPECT_EQ(editor.shown[0].entry.description, text);
    EXPECT_EQ(editor.shown[0].entry.additional1, QStringLiteral("X7"));
    const int copy = generator();
    EXPECT_EQ(row(copy), QStringLiteral("Kopia|X7||") + type());
    EXPECT_EQ(currentKey(), copy);

    openAt(source);
    editor.thenSave(QStringLiteral("Zmieniona"));
    dictionaries.EditEntry(editor, position());
    ASSERT_EQ(editor.shown.size(), 2u);
    EXPECT_EQ(editor.shown[1].entry.description, text);
    EXPECT_EQ(row(source), QStringLiteral("Zmieniona|X7||") + type());
    EXPECT_EQ(currentKey(), source);
    EXPECT_EQ(generator(), copy); // editing takes no key
}

TEST_P(DictionariesTest, CancelWritesNothingAndCopyOnAnEmptyListDoesNothing)
{
    openAt(firstKey());
    const int keys = generator();
    editor.thenCancel();
    dictionaries.AddEntry(editor, position(), false);
    editor.thenCancel();
    dictionaries.EditEntry(editor, position());
    EXPECT_EQ(editor.shown.size(), 2u);
    EXPECT_EQ(generator(), keys);

    tdb.exec(QStringLiteral("DELETE FROM DICTIONARY WHERE IDTYPE='%1'").arg(type()));
    dictionaries.Open(position());
    dictionaries.AddEntry(editor, position(), true);
    dictionaries.EditEntry(editor, position());
    dictionaries.DeleteEntry();
    EXPECT_EQ(editor.shown.size(), 2u);
    EXPECT_TRUE(dialogs().shown().empty());
}

TEST_P(DictionariesTest, DeleteAsksOnlyWhenTheOptionSays)
{
    const int before = entries();
    openAt(firstKey());
    dialogs().answer(false);
    dictionaries.DeleteEntry();
    EXPECT_EQ(dialogs().questionTexts(),
              QStringList{QStringLiteral("Czy na pewno usunąć zaznaczoną pozycję?")});
    EXPECT_EQ(entries(), before);

    dialogs().answer(true);
    dictionaries.DeleteEntry();
    EXPECT_EQ(entries(), before - 1);
    EXPECT_EQ(db().DBFDictionary.recordCount(), before - 1);

    options.pytajPrzedKasowaniem = false;
    dictionaries.DeleteEntry();
    EXPECT_EQ(entries(), before - 2);
    EXPECT_EQ(dialogs().questionTexts().size(), 2);
}

INSTANTIATE_TEST_SUITE_P(BothTypes, DictionariesTest, ::testing::Values(1, 2),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return info.param == 1 ? std::string("Units") : std::string("Terms");
                         });

class DictionaryFailures : public DictionariesTest
{
};

TEST_F(DictionaryFailures, NoKeyStopsTheAddBeforeAnythingIsWritten)
{
    tdb.exec(QStringLiteral("DROP PROCEDURE GET_KEY"));
    dictionaries.Open(1);
    const int before = tdb.scalarInt(QStringLiteral("SELECT COUNT(*) FROM DICTIONARY"));
    editor.thenSave(QStringLiteral("Nowy zespół"));
    dictionaries.AddEntry(editor, 1, false);

    const QStringList texts = dialogs().informationTexts();
    ASSERT_FALSE(texts.isEmpty());
    EXPECT_EQ(texts.last(), QStringLiteral("Wystąpił nieoczekiwany błąd. Orginalny komunikat: "
                                           "Nie udało się pobrać nowego klucza dla słowników"));
    EXPECT_TRUE(errorLog().contains(
        QStringLiteral("[0000000050]  Nie udało się pobrać nowego klucza dla słowników")));
    EXPECT_EQ(tdb.scalarInt(QStringLiteral("SELECT COUNT(*) FROM DICTIONARY")), before);
}

TEST_F(DictionaryFailures, AUnitDeletedInUseShowsAsAnEmptyTextInTheEmployeesList)
{
    const int unit = tdb.scalarInt(QStringLiteral(
        "SELECT IDDICTIONARY FROM DICTIONARY WHERE IDTYPE='ZESPO' AND DESCRIPTION='Produkcja'"));
    tdb.exec(QStringLiteral("INSERT INTO EMPLOYEES (IDEMPLOYEE, SURNAME, NAME, IDDICUNIT, EMAIL, "
                            "FILENAME, PWD, ACT) VALUES ('001', 'Nowak', 'Jan', %1, '', 'nowak', "
                            "'x', 'T')")
                 .arg(unit));
    db().OpenEmployees();
    EXPECT_EQ(db().DBFEmployees.displayText(QStringLiteral("UNIT_O")), QStringLiteral("Produkcja"));

    dictionaries.Open(1);
    ASSERT_TRUE(db().LocateByInteger(db().DBFDictionary, QStringLiteral("IDDICTIONARY"), unit));
    options.pytajPrzedKasowaniem = false;
    dictionaries.DeleteEntry();

    db().OpenEmployees();
    EXPECT_EQ(db().DBFEmployees.displayText(QStringLiteral("UNIT_O")), QString());
    EXPECT_EQ(db().DBFEmployees.asInteger(QStringLiteral("IDDICUNIT")), unit);
    EXPECT_TRUE(dialogs().shown().empty());
}

TEST(ConfirmDictionaryEntry, BlanksAreRefused)
{
    test::ScriptedDialogs dialogs;
    EXPECT_FALSE(ConfirmDictionaryEntry(QStringLiteral("   "), dialogs));
    EXPECT_TRUE(ConfirmDictionaryEntry(QStringLiteral(" a "), dialogs));
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].caption, QStringLiteral("Uwaga"));
    EXPECT_EQ(dialogs.shown()[0].text, QStringLiteral("Nie wypełniono pola"));
}

TEST(MinimumStaff, StoredChangedRemovedAndGoneWithItsUnit)
{
    test::TestDatabase t;
    t.exec(QStringLiteral("INSERT INTO DICTIONARY (IDDICTIONARY, IDTYPE, DESCRIPTION) VALUES "
                          "(900, 'ZESPO', 'Serwis')"));
    const auto rows = [&] {
        return t.scalarInt(QStringLiteral("SELECT COUNT(*) FROM UNITSTAFFING"));
    };
    EXPECT_EQ(ReadMinimumStaff(t.db(), 900), 0);
    EXPECT_TRUE(StoreMinimumStaff(t.db(), 900, 3));
    EXPECT_EQ(ReadMinimumStaff(t.db(), 900), 3);
    EXPECT_TRUE(StoreMinimumStaff(t.db(), 900, 5));
    EXPECT_EQ(ReadMinimumStaff(t.db(), 900), 5);
    EXPECT_EQ(rows(), 1);
    EXPECT_TRUE(StoreMinimumStaff(t.db(), 900, 0));
    EXPECT_EQ(rows(), 0);
    EXPECT_TRUE(StoreMinimumStaff(t.db(), 900, 2));
    t.exec(QStringLiteral("DELETE FROM DICTIONARY WHERE IDDICTIONARY=900"));
    EXPECT_EQ(rows(), 0);
}

} // namespace
} // namespace zf
