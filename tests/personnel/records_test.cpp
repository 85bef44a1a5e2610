// Employee operations against a real embedded database, with a scripted personnel card.
#include "data/mydatabase.h"
#include "data/programoptions.h"
#include "personnel/records.h"
#include "tests/support/test_database.h"
#include "tests/support/test_env.h"
#include "util/textcodec.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <deque>
#include <functional>

namespace zf {

// For readable failures of EmployeeData comparisons.
void PrintTo(const EmployeeData& d, std::ostream* os)
{
    *os << '{' << d.id.toStdString() << '|' << d.surname.toStdString() << '|'
        << d.name.toStdString() << '|' << d.email.toStdString() << '|' << d.pwd.toStdString() << '|'
        << d.unit << '|' << d.fileName.toStdString() << '|' << d.dismissed << '}';
}

namespace {

// The card as a clerk uses it: each showing runs the next scripted step, which may change what
// the card holds and answers whether "&Zapisz" closed it.
class ScriptedCard final : public EmployeeCard
{
public:
    using Step = std::function<bool(EmployeeData&)>;

    void then(Step step) { m_steps.push_back(std::move(step)); }
    void thenSave(const EmployeeData& d)
    {
        then([d](EmployeeData& held) {
            held = d;
            return true;
        });
    }
    void thenCancel()
    {
        then([](EmployeeData&) { return false; });
    }

    void setData(const EmployeeData& data) override
    {
        m_held = data;
        ++setDataCalls;
    }
    EmployeeData data() const override { return m_held; }
    bool showModal() override
    {
        shownWith.push_back(m_held);
        numberEnabledAtShow.push_back(m_numberEnabled);
        editableAtShow.push_back(m_editable);
        if (m_steps.empty()) {
            ADD_FAILURE() << "The card was shown once more than scripted";
            return false;
        }
        const Step step = m_steps.front();
        m_steps.pop_front();
        return step(m_held);
    }
    void setNumberEnabled(bool enabled) override { m_numberEnabled = enabled; }
    void focusField(CardField field) override { focused.push_back(field); }
    void setEditable(bool editable) override { m_editable = editable; }

    bool editable() const { return m_editable; }
    bool allStepsUsed() const { return m_steps.empty(); }

    int setDataCalls = 0;
    std::vector<EmployeeData> shownWith;
    std::vector<bool> numberEnabledAtShow;
    std::vector<bool> editableAtShow;
    std::vector<CardField> focused;

private:
    std::deque<Step> m_steps;
    EmployeeData m_held;
    bool m_numberEnabled = true;
    bool m_editable = true;
};

EmployeeData employee(const QString& id, const QString& surname, const QString& fileName)
{
    EmployeeData d;
    d.id = id;
    d.surname = surname;
    d.name = QStringLiteral("Jan");
    d.email = id + QStringLiteral("@firma.pl");
    d.pwd = QStringLiteral("tajne");
    d.fileName = fileName;
    return d;
}

// --- the checks of "&Zapisz" -----------------------------------------------------------------

struct CheckCase
{
    const char* name;
    EmployeeData data;
    bool sprawdzHaslo;
    std::optional<CardField> field;
    const char* message;
};

EmployeeData with(std::function<void(EmployeeData&)> change)
{
    EmployeeData d =
        employee(QStringLiteral("001"), QStringLiteral("Nowak"), QStringLiteral("nowak"));
    change(d);
    return d;
}

const char* const kPasswordMissing =
    "Nie podano hasła dostępu do pliku planu urlopowego dla pracownika. Popraw pole";
const char* const kQuote = "Numer ewidencyjny nie może zawierać znaku cudzysłowia: \". Popraw pole";
const char* const kNoNumber = "Nie wprowadzono numeru ewidencyjnego. Popraw pole";
const char* const kNoSurname = "Nie wprowadzono nazwiska. Popraw pole";
const char* const kNoFileName = "Brak nazwy pliku kalendarza. Popraw pole";

class CardChecks : public ::testing::TestWithParam<CheckCase>
{
};

TEST_P(CardChecks, FirstFailingCheckInItsOrder)
{
    const CheckCase& c = GetParam();
    const auto problem = CheckEmployeeCard(c.data, c.sprawdzHaslo);
    ASSERT_EQ(problem.has_value(), c.field.has_value());
    if (problem) {
        EXPECT_EQ(problem->field, *c.field);
        EXPECT_EQ(problem->message, QString::fromUtf8(c.message));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, CardChecks,
    ::testing::Values(
        CheckCase{"EverythingEmptyPasswordFirst", EmployeeData{}, true, CardField::Password,
                  kPasswordMissing},
        CheckCase{"PasswordOfBlanks", with([](EmployeeData& d) { d.pwd = QStringLiteral("   "); }),
                  true, CardField::Password, kPasswordMissing},
        CheckCase{"EmptyPasswordAllowedWhenNotChecked",
                  with([](EmployeeData& d) { d.pwd.clear(); }), false, std::nullopt, ""},
        CheckCase{"QuoteBeforeEmptySurname", with([](EmployeeData& d) {
                      d.id = QStringLiteral("A\"1");
                      d.surname.clear();
                  }),
                  true, CardField::Number, kQuote},
        CheckCase{"QuoteAlone", with([](EmployeeData& d) { d.id = QStringLiteral("\""); }), true,
                  CardField::Number, kQuote},
        CheckCase{"NumberOfBlanks", with([](EmployeeData& d) {
                      d.id = QStringLiteral("  ");
                      d.fileName.clear();
                  }),
                  true, CardField::Number, kNoNumber},
        CheckCase{"SurnameOfBlanksBeforeFileName", with([](EmployeeData& d) {
                      d.surname = QStringLiteral(" ");
                      d.fileName.clear();
                  }),
                  true, CardField::Surname, kNoSurname},
        CheckCase{"FileNameOfBlanks",
                  with([](EmployeeData& d) { d.fileName = QStringLiteral("  "); }), true,
                  CardField::FileName, kNoFileName},
        CheckCase{"FirstNameAndEmailNotChecked", with([](EmployeeData& d) {
                      d.name.clear();
                      d.email.clear();
                  }),
                  true, std::nullopt, ""}),
    [](const ::testing::TestParamInfo<CheckCase>& info) { return std::string(info.param.name); });

TEST(ConfirmEmployeeCard, ShowsTheProblemAndFocusesItsField)
{
    test::ScriptedDialogs dialogs;
    ScriptedCard card;
    EmployeeData d = with([](EmployeeData& e) { e.surname.clear(); });
    EXPECT_FALSE(ConfirmEmployeeCard(card, d, true, dialogs));
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].caption, QStringLiteral("Uwaga"));
    EXPECT_EQ(dialogs.shown()[0].text, QString::fromUtf8(kNoSurname));
    EXPECT_EQ(card.focused, std::vector<CardField>{CardField::Surname});
}

TEST(ConfirmEmployeeCard, TrimsTheNumberWhenEverythingPasses)
{
    test::ScriptedDialogs dialogs;
    ScriptedCard card;
    EmployeeData d = with([](EmployeeData& e) { e.id = QStringLiteral("  007 "); });
    EXPECT_TRUE(ConfirmEmployeeCard(card, d, true, dialogs));
    EXPECT_EQ(d.id, QStringLiteral("007"));
    EXPECT_TRUE(dialogs.shown().empty());
    EXPECT_TRUE(card.focused.empty());
}

// --- the operations ------------------------------------------------------------------------------

class EmployeesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::clearDataHome();
        QDir().mkpath(dataFolder() + QStringLiteral("/debug"));
        unitKey = tdb.scalarInt(QStringLiteral(
            "SELECT IDDICTIONARY FROM DICTIONARY WHERE IDTYPE='ZESPO' AND DESCRIPTION='Magazyn'"));
        ASSERT_GT(unitKey, 0);
    }

    static QString dataFolder() { return test::dataHome() + QStringLiteral("/Orvantis/Zefirant"); }

    void insert(const EmployeeData& d)
    {
        tdb.exec(
            QStringLiteral("INSERT INTO EMPLOYEES (IDEMPLOYEE, SURNAME, NAME, IDDICUNIT, EMAIL, "
                           "FILENAME, PWD, ACT) VALUES ('%1', '%2', '%3', %4, '%5', '%6', "
                           "'%7', '%8')")
                .arg(d.id, d.surname, d.name, QString::number(d.unit), d.email, d.fileName, d.pwd,
                     d.dismissed ? QStringLiteral("N") : QStringLiteral("T")));
    }

    // The stored row, read on a connection of its own; empty id when there is none.
    EmployeeData stored(const QString& id)
    {
        const QString row = tdb.scalar(
            QStringLiteral("SELECT IDEMPLOYEE || '|' || SURNAME || '|' || NAME || '|' || EMAIL || "
                           "'|' || PWD || '|' || IDDICUNIT || '|' || FILENAME || '|' || ACT FROM "
                           "EMPLOYEES WHERE IDEMPLOYEE='%1'")
                .arg(id));
        EmployeeData d;
        const QStringList f = row.split(QLatin1Char('|'));
        if (f.size() != 8)
            return d;
        d.id = f[0];
        d.surname = f[1];
        d.name = f[2];
        d.email = f[3];
        d.pwd = f[4];
        d.unit = f[5].toInt();
        d.fileName = f[6];
        d.dismissed = f[7] == QStringLiteral("N");
        return d;
    }

    int count() { return tdb.scalarInt(QStringLiteral("SELECT COUNT(*) FROM EMPLOYEES")); }

    QString errorLog()
    {
        QFile f(dataFolder() + QStringLiteral("/debug/error.log"));
        return f.open(QIODevice::ReadOnly) ? fromCp1250(f.readAll()) : QString();
    }

    void openAt(const QString& id)
    {
        db().OpenEmployees();
        ASSERT_TRUE(db().LocateByText(db().DBFEmployees, QStringLiteral("IDEMPLOYEE"), id));
    }

    QString currentId() { return db().DBFEmployees.asString(QStringLiteral("IDEMPLOYEE")); }

    TmyDataBase& db() { return tdb.db(); }
    test::ScriptedDialogs& dialogs() { return tdb.dialogs(); }

    test::TestDatabase tdb;
    ProgramOptions options;
    EmployeeRecords records{tdb.db(), tdb.dialogs(), options, dataFolder()};
    ScriptedCard card;
    int unitKey = 0;
};

TEST_F(EmployeesTest, AddStartsEmptyStoresTheCardAndMakesTheNewRowCurrent)
{
    insert(employee(QStringLiteral("100"), QStringLiteral("Adamski"), QStringLiteral("adamski")));
    insert(
        employee(QStringLiteral("300"), QStringLiteral("Zieliński"), QStringLiteral("zielinski")));
    openAt(QStringLiteral("100"));

    EmployeeData d =
        employee(QStringLiteral("200"), QStringLiteral("Łęcki"), QStringLiteral("lecki"));
    d.unit = unitKey;
    d.dismissed = true;
    card.thenSave(d);
    records.AddEmployee(card, false);

    ASSERT_EQ(card.shownWith.size(), 1u);
    EXPECT_EQ(card.shownWith[0], EmployeeData{});
    EXPECT_TRUE(card.numberEnabledAtShow[0]);
    EXPECT_EQ(stored(QStringLiteral("200")), d);
    EXPECT_EQ(tdb.scalar(QStringLiteral("SELECT ACT FROM EMPLOYEES WHERE IDEMPLOYEE='200'")),
              QStringLiteral("N"));
    EXPECT_EQ(currentId(), QStringLiteral("200"));
    EXPECT_TRUE(dialogs().shown().empty());
}

TEST_F(EmployeesTest, DuplicateNumberShowsTheCardAgainWithEverythingKept)
{
    const EmployeeData first =
        employee(QStringLiteral("001"), QStringLiteral("Nowak"), QStringLiteral("nowak"));
    insert(first);
    EmployeeData typed =
        employee(QStringLiteral("001"), QStringLiteral("Kowal"), QStringLiteral("kowal"));
    typed.unit = unitKey;
    card.thenSave(typed);
    card.then([&](EmployeeData& held) {
        EXPECT_EQ(held, typed);
        held.id = QStringLiteral("002");
        return true;
    });
    records.AddEmployee(card, false);

    EXPECT_TRUE(card.allStepsUsed());
    EXPECT_EQ(card.setDataCalls, 1);
    ASSERT_EQ(dialogs().shown().size(), 1u);
    EXPECT_EQ(dialogs().shown()[0].caption, QStringLiteral("Uwaga"));
    EXPECT_EQ(dialogs().shown()[0].text,
              QStringLiteral("Istnieje już osoba o podanym numerze ewidencyjnym"));
    EXPECT_EQ(stored(QStringLiteral("001")), first);
    typed.id = QStringLiteral("002");
    EXPECT_EQ(stored(QStringLiteral("002")), typed);
    EXPECT_TRUE(errorLog().isEmpty());
}

TEST_F(EmployeesTest, FileNameOfAnotherEmployeeOrInvalidIsRefusedOnAdd)
{
    insert(employee(QStringLiteral("001"), QStringLiteral("Nowak"), QStringLiteral("nowak")));
    card.thenSave(
        employee(QStringLiteral("002"), QStringLiteral("Kowal"), QStringLiteral("nowak")));
    card.then([](EmployeeData& held) {
        held.fileName = QStringLiteral("../nowak");
        return true;
    });
    card.then([](EmployeeData& held) {
        EXPECT_EQ(held.fileName, QStringLiteral("../nowak"));
        return false;
    });
    records.AddEmployee(card, false);

    EXPECT_TRUE(card.allStepsUsed());
    EXPECT_EQ(dialogs().informationTexts(),
              (QStringList{QStringLiteral("Nazwa pliku została już przypisana innemu pracownikowi. "
                                          "Podaj inną nazwę."),
                           QStringLiteral("Niepoprawna nazwa pliku. Podaj inną nazwę.")}));
    EXPECT_EQ(count(), 1);
    EXPECT_TRUE(QDir(dataFolder() + QStringLiteral("/debug")).entryList(QDir::Files).isEmpty());
}

TEST_F(EmployeesTest, OtherEngineErrorOnAddIsReportedWithCode9AndTheCardShownAgain)
{
    card.thenSave(
        employee(QStringLiteral("001"), QString(60, QLatin1Char('X')), QStringLiteral("x")));
    card.thenCancel();
    records.AddEmployee(card, false);

    EXPECT_TRUE(card.allStepsUsed());
    ASSERT_EQ(dialogs().shown().size(), 1u);
    EXPECT_EQ(dialogs().shown()[0].caption, QStringLiteral("Błąd"));
    EXPECT_TRUE(errorLog().contains(QStringLiteral("[0000000009]")));
    EXPECT_EQ(count(), 0);
}

TEST_F(EmployeesTest, CopyKeepsEverythingButNumberAndFileName)
{
    EmployeeData source =
        employee(QStringLiteral("001"), QStringLiteral("Nowak"), QStringLiteral("nowak"));
    source.unit = unitKey;
    source.dismissed = true;
    insert(source);
    openAt(QStringLiteral("001"));

    card.then([](EmployeeData& held) {
        held.id = QStringLiteral("002");
        held.fileName = QStringLiteral("nowak2");
        return true;
    });
    records.AddEmployee(card, true);

    ASSERT_EQ(card.shownWith.size(), 1u);
    EmployeeData expected = source;
    expected.id.clear();
    expected.fileName.clear();
    EXPECT_EQ(card.shownWith[0], expected);
    EXPECT_TRUE(card.numberEnabledAtShow[0]);
    expected.id = QStringLiteral("002");
    expected.fileName = QStringLiteral("nowak2");
    EXPECT_EQ(stored(QStringLiteral("002")), expected);
}

TEST_F(EmployeesTest, CopyOnAnEmptyListStartsLikeAdd)
{
    db().OpenEmployees();
    card.thenCancel();
    records.AddEmployee(card, true);
    ASSERT_EQ(card.shownWith.size(), 1u);
    EXPECT_EQ(card.shownWith[0], EmployeeData{});
}

TEST_F(EmployeesTest, EditWritesTheCardWithoutTestingAnUnchangedFileName)
{
    insert(employee(QStringLiteral("001"), QStringLiteral("Adamski"), QStringLiteral("adamski")));
    const EmployeeData before =
        employee(QStringLiteral("002"), QStringLiteral("Nowak"), QStringLiteral("nowak"));
    insert(before);
    openAt(QStringLiteral("002"));

    EmployeeData changed = before;
    changed.surname = QStringLiteral("Nowak-Żak");
    changed.unit = unitKey;
    changed.dismissed = true;
    changed.pwd.clear();
    card.thenSave(changed);
    records.EditEmployee(card);

    ASSERT_EQ(card.shownWith.size(), 1u);
    EXPECT_EQ(card.shownWith[0], before);
    EXPECT_FALSE(card.numberEnabledAtShow[0]);
    EXPECT_TRUE(dialogs().shown().empty());
    EXPECT_EQ(stored(QStringLiteral("002")), changed);
    EXPECT_EQ(currentId(), QStringLiteral("002"));
}

TEST_F(EmployeesTest, EditRefusesAChangedFileNameThatIsTakenOrInvalid)
{
    insert(employee(QStringLiteral("001"), QStringLiteral("Adamski"), QStringLiteral("adamski")));
    const EmployeeData before =
        employee(QStringLiteral("002"), QStringLiteral("Nowak"), QStringLiteral("nowak"));
    insert(before);
    openAt(QStringLiteral("002"));

    card.then([](EmployeeData& held) {
        held.fileName = QStringLiteral("adamski");
        return true;
    });
    card.then([](EmployeeData& held) {
        held.fileName = QStringLiteral("..");
        return true;
    });
    card.thenCancel();
    records.EditEmployee(card);

    EXPECT_TRUE(card.allStepsUsed());
    EXPECT_EQ(card.setDataCalls, 1);
    EXPECT_EQ(dialogs().informationTexts(),
              (QStringList{QStringLiteral("Nazwa pliku została już przypisana innemu pracownikowi. "
                                          "Podaj inną nazwę."),
                           QStringLiteral("Niepoprawna nazwa pliku. Podaj inną nazwę.")}));
    EXPECT_EQ(stored(QStringLiteral("002")), before);
}

TEST_F(EmployeesTest, FileNamesDifferingOnlyInCaseAreOneFile)
{
    insert(employee(QStringLiteral("001"), QStringLiteral("Kowalski"), QStringLiteral("jan_kowalski")));
    card.thenSave(
        employee(QStringLiteral("002"), QStringLiteral("Kowalski"), QStringLiteral("Jan_Kowalski")));
    card.thenCancel();
    records.AddEmployee(card, false);
    EXPECT_EQ(dialogs().informationTexts(),
              QStringList{QStringLiteral("Nazwa pliku została już przypisana innemu pracownikowi. "
                                         "Podaj inną nazwę.")});
    EXPECT_EQ(count(), 1);

    // The employee's own name in another case is still the employee's own file.
    dialogs().clear();
    openAt(QStringLiteral("001"));
    card.then([](EmployeeData& held) {
        held.fileName = QStringLiteral("Jan_Kowalski");
        return true;
    });
    records.EditEmployee(card);
    EXPECT_TRUE(dialogs().informationTexts().isEmpty());
    EXPECT_EQ(stored(QStringLiteral("001")).fileName, QStringLiteral("Jan_Kowalski"));
}

TEST_F(EmployeesTest, EditKeepsANumberStoredWithBlanks)
{
    insert(employee(QStringLiteral(" 005 "), QStringLiteral("Nowak"), QStringLiteral("nowak")));
    openAt(QStringLiteral(" 005 "));
    card.then([](EmployeeData& held) {
        held.id = held.id.trimmed(); // as the card's "&Zapisz" leaves it
        held.surname = QStringLiteral("Nowacka");
        return true;
    });
    records.EditEmployee(card);

    EXPECT_TRUE(dialogs().shown().empty());
    EXPECT_EQ(stored(QStringLiteral(" 005 ")).surname, QStringLiteral("Nowacka"));
    EXPECT_EQ(tdb.scalar(QStringLiteral("SELECT '[' || IDEMPLOYEE || ']' FROM EMPLOYEES")),
              QStringLiteral("[ 005 ]"));
    EXPECT_EQ(count(), 1);
}

TEST_F(EmployeesTest, EditDatabaseErrorIsReportedWithCode15AndEndsTheOperation)
{
    const EmployeeData before =
        employee(QStringLiteral("001"), QStringLiteral("Nowak"), QStringLiteral("nowak"));
    insert(before);
    openAt(QStringLiteral("001"));
    card.then([](EmployeeData& held) {
        held.surname = QString(60, QLatin1Char('X'));
        return true;
    });
    records.EditEmployee(card);

    EXPECT_EQ(card.shownWith.size(), 1u);
    ASSERT_EQ(dialogs().shown().size(), 1u);
    EXPECT_EQ(dialogs().shown()[0].caption, QStringLiteral("Błąd"));
    EXPECT_TRUE(errorLog().contains(QStringLiteral("[0000000015]")));
    EXPECT_EQ(stored(QStringLiteral("001")), before);
}

TEST_F(EmployeesTest, EditAndViewOnAnEmptyListShowNothing)
{
    db().OpenEmployees();
    records.EditEmployee(card);
    records.ViewEmployee(card);
    EXPECT_TRUE(card.shownWith.empty());
}

TEST_F(EmployeesTest, ViewShowsTheRowReadOnlyAndSavesNothing)
{
    EmployeeData d =
        employee(QStringLiteral("001"), QStringLiteral("Nowak"), QStringLiteral("nowak"));
    d.unit = unitKey;
    insert(d);
    openAt(QStringLiteral("001"));
    card.then([](EmployeeData& held) {
        held.surname = QStringLiteral("Zmieniony");
        return true;
    });
    records.ViewEmployee(card);

    ASSERT_EQ(card.shownWith.size(), 1u);
    EXPECT_EQ(card.shownWith[0], d);
    EXPECT_FALSE(card.editableAtShow[0]);
    EXPECT_TRUE(card.editable());
    EXPECT_EQ(stored(QStringLiteral("001")), d);
}

struct DeleteCase
{
    const char* name;
    bool ask;
    bool answer;
    bool deleted;
};

class EmployeeDelete : public EmployeesTest, public ::testing::WithParamInterface<DeleteCase>
{
};

TEST_P(EmployeeDelete, AsksOnlyWhenTheOptionSays)
{
    const DeleteCase& c = GetParam();
    insert(employee(QStringLiteral("001"), QStringLiteral("Adamski"), QStringLiteral("adamski")));
    insert(employee(QStringLiteral("002"), QStringLiteral("Nowak"), QStringLiteral("nowak")));
    openAt(QStringLiteral("002"));
    options.pytajPrzedKasowaniem = c.ask;
    if (c.ask)
        dialogs().answer(c.answer);
    records.DeleteEmployee();

    EXPECT_EQ(dialogs().questionTexts(),
              c.ask ? QStringList{QStringLiteral("Czy na pewno usunąć zaznaczoną pozycję?")}
                    : QStringList{});
    if (c.ask) {
        EXPECT_EQ(dialogs().shown()[0].caption, QStringLiteral("Pytanie"));
    }
    EXPECT_EQ(stored(QStringLiteral("002")).id.isEmpty(), c.deleted);
    EXPECT_EQ(count(), c.deleted ? 1 : 2);
    EXPECT_EQ(db().DBFEmployees.recordCount(), c.deleted ? 1 : 2);
}

INSTANTIATE_TEST_SUITE_P(Table, EmployeeDelete,
                         ::testing::Values(DeleteCase{"AskedYes", true, true, true},
                                           DeleteCase{"AskedNo", true, false, false},
                                           DeleteCase{"NotAsked", false, false, true}),
                         [](const ::testing::TestParamInfo<DeleteCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(EmployeesTest, DeletingAnEmployeeInAPlanIsRefusedWithAClearMessage)
{
    insert(employee(QStringLiteral("001"), QStringLiteral("Nowak"), QStringLiteral("nowak")));
    tdb.exec(
        QStringLiteral("INSERT INTO HOLIDAYPLANS (IDYEAR, STATUS, PLANDIR) VALUES (2024, 2, '')"));
    tdb.exec(
        QStringLiteral("INSERT INTO EMPLOYEESSETTINGS (IDYEAR, IDEMPLOYEE, THISYEARDAYS) VALUES "
                       "(2024, '001', 26)"));
    openAt(QStringLiteral("001"));
    options.pytajPrzedKasowaniem = false;
    records.DeleteEmployee();

    ASSERT_EQ(dialogs().shown().size(), 1u);
    EXPECT_EQ(dialogs().shown()[0].caption, QStringLiteral("Uwaga"));
    EXPECT_EQ(dialogs().shown()[0].text, EmployeeRecords::kEmployeeInPlan);
    EXPECT_TRUE(
        EmployeeRecords::kEmployeeInPlan.contains(QStringLiteral("\"Pracownik zwolniony\"")));
    EXPECT_TRUE(errorLog().isEmpty());
    EXPECT_EQ(count(), 1);
    EXPECT_EQ(currentId(), QStringLiteral("001"));

    // Out of the plan, the same employee goes.
    tdb.exec(QStringLiteral("DELETE FROM EMPLOYEESSETTINGS"));
    records.DeleteEmployee();
    EXPECT_EQ(count(), 0);
}

} // namespace
} // namespace zf
