// The editor's logic on real plan files in a real folder: opening and the refusals that leave a
// file untouched, the password, the choice around fixed and non-working days, and saving: the
// office's bytes with the new stamp and days, the limit, a file replaced meanwhile, a folder that
// cannot be written, and the question on closing.
#include "planer/planeditor.h"
#include "tests/planer/planer_files.h"
#include "tests/support/otheruser.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/util/print.h"
#include "util/dates.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <functional>
#include <limits>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace zf {
namespace {

// Also remembers whether each prompt was masked.
class Dialogs : public test::ScriptedDialogs
{
public:
    bool prompt(const QString& caption, const QString& label, QString& value, bool masked) override
    {
        masks.push_back(masked);
        return ScriptedDialogs::prompt(caption, label, value, masked);
    }
    std::vector<bool> masks;
};

class PlanEditorTest : public ::testing::Test
{
protected:
    QString write(const char* name, const PlanFileContent& c)
    {
        const QString path = folder.filePath(QString::fromLatin1(name));
        EXPECT_TRUE(WritePlanFileBytes(path, BuildPlanFileBytes(c)));
        return path;
    }
    QString write(const char* name, const QByteArray& bytes)
    {
        const QString path = folder.filePath(QString::fromLatin1(name));
        EXPECT_TRUE(test::writeAll(path, bytes));
        return path;
    }
    QString onlyMessage()
    {
        const QStringList texts = dialogs.informationTexts();
        EXPECT_EQ(texts.size(), 1) << texts.join(QLatin1Char('|')).toStdString();
        return texts.value(0);
    }

    QTemporaryDir folder;
    Dialogs dialogs;
    TPlanEditor editor{dialogs};
};

TEST_F(PlanEditorTest, OpensTheOfficesFileWithItsDays)
{
    const PlanFileContent c = test::samplePlan();
    const QString path = write("lucja.zfpn", c);
    ASSERT_EQ(editor.Open(path), TPlanEditor::OpenResult::Opened);
    EXPECT_TRUE(dialogs.shown().empty()) << "no password, nothing asked";
    EXPECT_TRUE(editor.isOpen());
    EXPECT_EQ(editor.year(), 2027);
    EXPECT_EQ(editor.plan().name, QStringLiteral("Łucja"));
    EXPECT_EQ(editor.plan().comment, c.comment);
    EXPECT_EQ(editor.entitlement(), 28);
    // The chosen Saturday is a non-working day: neither shown nor counted.
    EXPECT_EQ(editor.chosenDays(), (QList<int>{20270712, 20270713, 20270714, 20270715, 20270716}));
    EXPECT_EQ(editor.remaining(), 23);
    EXPECT_TRUE(editor.isFixed(20270716));
    EXPECT_TRUE(editor.isFixed(20271224));
    EXPECT_TRUE(editor.isFree(20270717));
    EXPECT_FALSE(editor.modified());
}

TEST_F(PlanEditorTest, RefusesWhatIsNoPlanAndNeverTouchesIt)
{
    const PlanFileContent c = test::samplePlan();
    const QByteArray good = BuildPlanFileBytes(c);
    const auto damaged = [&](const char* from, const char* to) {
        QByteArray text = BuildPlanFileText(c);
        text.replace(from, to);
        return EncryptString(text, kPlanFileCipherKey);
    };
    QByteArray random(3000, '\0');
    for (int i = 0; i < random.size(); ++i)
        random[i] = static_cast<char>((i * 7919 + 13) % 251);
    struct Case
    {
        const char* name;
        QByteArray bytes;
        const char* reason;
    };
    const Case cases[] = {
        {"pusty.zfpn", QByteArray(), "plik jest pusty"},
        {"obciety.zfpn", good.left(good.size() - 20), "plik jest niekompletny"},
        {"polowa.zfpn", good.left(good.size() / 2), "nie jest poprawnym planem"},
        {"wielki.zfpn", QByteArray(10 * 1024 * 1024, 'x'), "jest za duży"},
        {"losowy.zfpn", random, "brak roku planu"},
        {"innyklucz.zfpn", EncryptString(BuildPlanFileText(c), 12345), "brak roku planu"},
        {"bezklucza.zfpn", damaged("<IDEMPLOYEE>", "<IDEMPL>"),
         "brak numeru ewidencyjnego pracownika"},
        {"bezdni.zfpn", damaged("<SELECTEDDAYS>", "<SELECTED>"), "brak listy wybranych dni urlopu"},
        {"znacznik.zfpn", damaged("<CHECKSUM>5<", "<CHECKSUM>5x<"),
         "znacznik zmian nie jest liczbą całkowitą"},
        {"rok.zfpn", damaged("<IDYEAR>2027<", "<IDYEAR>1998<"),
         "rok planu spoza zakresu 1999–2999"},
    };
    // A plan open before stays open through every refusal.
    ASSERT_EQ(editor.Open(write("dobry.zfpn", c)), TPlanEditor::OpenResult::Opened);
    ASSERT_TRUE(editor.SetChosenDays({20270301, 20270716}));
    for (const Case& k : cases) {
        dialogs.clear();
        const QString path = write(k.name, k.bytes);
        const QDateTime modified = QFileInfo(path).lastModified();
        EXPECT_EQ(editor.Open(path), TPlanEditor::OpenResult::Failed) << k.name;
        const QString message = onlyMessage();
        EXPECT_TRUE(message.contains(QString::fromUtf8(k.reason))) << message.toStdString();
        EXPECT_TRUE(message.contains(QDir::toNativeSeparators(path))) << message.toStdString();
        EXPECT_EQ(dialogs.shown().at(0).caption, QStringLiteral("Błąd"));
        EXPECT_EQ(test::readAll(path), k.bytes) << k.name;
        EXPECT_EQ(QFileInfo(path).lastModified(), modified) << k.name;
        EXPECT_EQ(editor.path(), folder.filePath(QStringLiteral("dobry.zfpn")));
        EXPECT_EQ(editor.chosenDays(), (QList<int>{20270301, 20270716}));
    }

    dialogs.clear();
    EXPECT_EQ(editor.Open(folder.filePath(QStringLiteral("brak.zfpn"))),
              TPlanEditor::OpenResult::Failed);
    EXPECT_TRUE(onlyMessage().startsWith(QStringLiteral("Nie znaleziono pliku planu")));
    dialogs.clear();
    EXPECT_EQ(editor.Open(folder.path()), TPlanEditor::OpenResult::Failed);
    EXPECT_TRUE(onlyMessage().startsWith(QStringLiteral("To nie jest plik planu")));

    // A symbolic link is named as one, with the file it leads to (also one that is gone).
    const QString plan = folder.filePath(QStringLiteral("dobry.zfpn"));
    const QString link = folder.filePath(QStringLiteral("skrot.zfpn"));
    ASSERT_TRUE(QFile::link(plan, link));
    for (const QString& target : {plan, folder.filePath(QStringLiteral("usuniety.zfpn"))}) {
        QFile::remove(link);
        ASSERT_TRUE(QFile::link(target, link));
        dialogs.clear();
        EXPECT_EQ(editor.Open(link), TPlanEditor::OpenResult::Failed);
        const QString message = onlyMessage();
        EXPECT_TRUE(message.contains(QStringLiteral("dowiązaniem symbolicznym")) &&
                    message.contains(QDir::toNativeSeparators(link) + QLatin1Char('\n')) &&
                    message.contains(QDir::toNativeSeparators(target) + QLatin1Char('\n')) &&
                    !message.contains(QStringLiteral("Sprawdź, czy masz do niego dostęp")))
            << message.toStdString();
        EXPECT_EQ(message.contains(QStringLiteral("którego nie ma")), target != plan);
    }
    EXPECT_EQ(editor.path(), plan);
}

TEST_F(PlanEditorTest, AsksForThePasswordThreeTimes)
{
    PlanFileContent c = test::samplePlan();
    c.password = QStringLiteral("Ząb<7");
    const QString path = write("haslo.zfpn", c);

    dialogs.answerPrompt(QStringLiteral("zab<7"));
    dialogs.answerPrompt(QStringLiteral("Ząb<7"));
    EXPECT_EQ(editor.Open(path), TPlanEditor::OpenResult::Opened);
    EXPECT_EQ(dialogs.informationTexts(),
              QStringList{QStringLiteral("Niepoprawne hasło. Pozostałe próby: 2.")});
    EXPECT_EQ(dialogs.masks, (std::vector<bool>{true, true}));
    EXPECT_EQ(dialogs.shown().at(0).caption, QStringLiteral("Hasło planu urlopowego"));
    EXPECT_FALSE(dialogs.shown().at(0).text.contains(QStringLiteral("Łucja")))
        << "nothing of the plan before the password";

    TPlanEditor other(dialogs);
    dialogs.clear();
    dialogs.answerPrompt(QString());
    dialogs.answerPrompt(QStringLiteral("x"));
    dialogs.answerPrompt(QStringLiteral("ząb<7"));
    EXPECT_EQ(other.Open(path), TPlanEditor::OpenResult::PasswordRefused);
    EXPECT_FALSE(other.isOpen());
    ASSERT_EQ(dialogs.informationTexts().size(), 3);
    EXPECT_TRUE(dialogs.informationTexts().at(2).startsWith(
        QStringLiteral("Trzykrotnie podano niepoprawne hasło.")));
    EXPECT_TRUE(dialogs.allAnswersUsed());

    dialogs.clear();
    dialogs.answerPrompt(std::nullopt);
    EXPECT_EQ(other.Open(path), TPlanEditor::OpenResult::Cancelled);
    EXPECT_TRUE(dialogs.informationTexts().isEmpty());
    EXPECT_FALSE(other.isOpen());
}

TEST_F(PlanEditorTest, FixedAndNonWorkingDaysKeepTheirState)
{
    ASSERT_EQ(editor.Open(write("p.zfpn", test::samplePlan())), TPlanEditor::OpenResult::Opened);
    const QList<int> before = editor.chosenDays();

    EXPECT_TRUE(editor.SetChosenDays({20270712, 20270716, 20270802}));
    EXPECT_EQ(editor.chosenDays(), (QList<int>{20270712, 20270716, 20270802}));
    EXPECT_TRUE(editor.modified());

    // The fixed chosen day unticked, the fixed free day ticked, a non-working day, a day of
    // another year and no date at all: none is taken.
    EXPECT_FALSE(editor.SetChosenDays({20271224, 20270717, 20280105, 20270230, 20270803}));
    EXPECT_EQ(editor.chosenDays(), (QList<int>{20270716, 20270803}));

    // Back to the days read: nothing to save.
    EXPECT_TRUE(editor.SetChosenDays(before));
    EXPECT_FALSE(editor.modified());
}

TEST_F(PlanEditorTest, LaborCodeOnTheFilesNonWorkingAndChosenDays)
{
    PlanFileContent c = test::samplePlan();
    ASSERT_EQ(editor.Open(write("kp.zfpn", c)), TPlanEditor::OpenResult::Opened);
    // 12-16 July chosen, the weekends around them non-working in the file: 10 to 18 July.
    LaborCodeCheck k = editor.laborCode();
    EXPECT_EQ(k.longestRun, (RestRun{DayOfYear(20270710), DayOfYear(20270718)}));
    EXPECT_EQ(k.longestRun.days(), 9);
    EXPECT_TRUE(k.runBroken);
    EXPECT_EQ(k.carriedOver, 2);
    EXPECT_EQ(k.leaveByDeadline, 5);
    EXPECT_FALSE(k.carryOverBroken);

    // A second week: 10 to 25 July. 1 October is past the deadline for carried-over days.
    QList<int> days = editor.chosenDays();
    days << 20270719 << 20270720 << 20270721 << 20270722 << 20270723 << 20271001;
    editor.SetChosenDays(days);
    k = editor.laborCode();
    EXPECT_EQ(k.longestRun.days(), 16);
    EXPECT_FALSE(k.broken());
    EXPECT_EQ(k.leaveByDeadline, 10);

    // The entitlement is the file's: 9 days are not checked for the run; 11 carried over are
    // more than the ten days chosen by 30 September.
    editor.Close();
    c.thisYearDays = 7;
    ASSERT_EQ(editor.Open(write("kp9.zfpn", c)), TPlanEditor::OpenResult::Opened);
    EXPECT_FALSE(editor.laborCode().runChecked);
    EXPECT_FALSE(editor.laborCode().broken());
    editor.Close();
    c.lastYearDays = 11;
    c.selectedDays = days;
    ASSERT_EQ(editor.Open(write("kp11.zfpn", c)), TPlanEditor::OpenResult::Opened);
    EXPECT_TRUE(editor.laborCode().carryOverBroken);
    EXPECT_FALSE(editor.laborCode().runBroken);

    // An unchangeable day the office did not make leave is no leave, as in the office.
    editor.Close();
    c.selectedDays.clear();
    c.unchangeableDays = {20270705, 20270706, 20270707, 20270708, 20270709};
    ASSERT_EQ(editor.Open(write("kpfixed.zfpn", c)), TPlanEditor::OpenResult::Opened);
    EXPECT_EQ(editor.laborCode().longestRun.days(), 0);
}

TEST_F(PlanEditorTest, SavingWritesTheOfficesBytesWithTheNewStampAndDays)
{
    PlanFileContent c = test::samplePlan();
    const QString path = write("p.zfpn", c);
    ASSERT_EQ(editor.Open(path), TPlanEditor::OpenResult::Opened);
    ASSERT_TRUE(editor.SetChosenDays({20270716, 20270823, 20270802}));
    ASSERT_TRUE(editor.Save());
    EXPECT_TRUE(dialogs.shown().empty());
    EXPECT_FALSE(editor.modified());
    c.stamp = 6;
    c.selectedDays = {20270716, 20270802, 20270823};
    EXPECT_EQ(test::readAll(path), BuildPlanFileBytes(c));

    // Twice: the stamp moves twice and the office reads the last.
    ASSERT_TRUE(editor.SetChosenDays({20270716, 20270901}));
    ASSERT_TRUE(editor.Save());
    PlanFileData office;
    ASSERT_TRUE(ParsePlanFileText(test::clearTextOf(path), 2027, office));
    EXPECT_EQ(office.stamp, 7);
    EXPECT_EQ(office.selectedDays, (QList<int>{20270716, 20270901}));
    EXPECT_EQ(office.unchangeableDays, c.unchangeableDays);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("p.zfpn")})
        << "no temporary file is left";

    // At the largest stamp the next is the smallest.
    c.stamp = std::numeric_limits<int>::max();
    const QString top = write("max.zfpn", c);
    TPlanEditor other(dialogs);
    ASSERT_EQ(other.Open(top), TPlanEditor::OpenResult::Opened);
    ASSERT_TRUE(other.Save());
    ASSERT_TRUE(ParsePlanFileText(test::clearTextOf(top), 2027, office));
    EXPECT_EQ(office.stamp, std::numeric_limits<int>::min());
}

TEST_F(PlanEditorTest, MoreDaysThanTheEntitlement)
{
    PlanFileContent c = test::samplePlan();
    c.lastYearDays = -1;
    c.thisYearDays = 3;
    const QString path = write("p.zfpn", c);
    const QByteArray bytes = test::readAll(path);
    ASSERT_EQ(editor.Open(path), TPlanEditor::OpenResult::Opened);
    ASSERT_TRUE(editor.SetChosenDays({20270716, 20270802, 20270803}));
    EXPECT_EQ(editor.remaining(), -1);

    EXPECT_FALSE(editor.Save()) << "the office checks the range";
    EXPECT_EQ(onlyMessage(),
              QStringLiteral("Wybrano więcej dni urlopu niż przysługujący limit. Popraw grafik."));
    EXPECT_EQ(dialogs.shown().at(0).caption, QStringLiteral("Informacja"));
    EXPECT_EQ(test::readAll(path), bytes);
    EXPECT_TRUE(editor.modified());

    c.checkRange = false;
    const QString free = write("bez.zfpn", c);
    TPlanEditor other(dialogs);
    ASSERT_EQ(other.Open(free), TPlanEditor::OpenResult::Opened);
    ASSERT_TRUE(other.SetChosenDays({20270716, 20270802, 20270803}));
    dialogs.clear();
    EXPECT_TRUE(other.Save()) << "a warning only";
    EXPECT_EQ(dialogs.shown().at(0).caption, QStringLiteral("Uwaga"));
    EXPECT_TRUE(onlyMessage().contains(QStringLiteral("(3) niż przysługujący limit (2)")));
    PlanFileData office;
    ASSERT_TRUE(ParsePlanFileText(test::clearTextOf(free), 2027, office));
    EXPECT_EQ(office.selectedDays.size(), 3);
}

TEST_F(PlanEditorTest, AFileReplacedMeanwhileIsOverwrittenOnlyWhenAllowed)
{
    PlanFileContent c = test::samplePlan();
    const QString path = write("p.zfpn", c);
    ASSERT_EQ(editor.Open(path), TPlanEditor::OpenResult::Opened);
    ASSERT_TRUE(editor.SetChosenDays({20270716, 20270802}));

    // The office writes the file again meanwhile, with the stamp the editor would give.
    PlanFileContent office = c;
    office.stamp = 6;
    office.comment = QStringLiteral("Nowa wersja");
    write("p.zfpn", office);
    const QByteArray theirs = test::readAll(path);
    dialogs.answer(false);
    EXPECT_FALSE(editor.Save());
    ASSERT_EQ(dialogs.questionTexts().size(), 1);
    EXPECT_TRUE(dialogs.questionTexts().at(0).contains(QStringLiteral("zmieniony lub zastąpiony")));
    EXPECT_EQ(dialogs.shown().at(0).caption, QStringLiteral("Uwaga"));
    EXPECT_EQ(test::readAll(path), theirs);
    EXPECT_TRUE(editor.modified());

    dialogs.clear();
    dialogs.answer(true);
    EXPECT_TRUE(editor.Save());
    PlanFileData read;
    ASSERT_TRUE(ParsePlanFileText(test::clearTextOf(path), 2027, read));
    EXPECT_EQ(read.selectedDays, (QList<int>{20270716, 20270802}));
    EXPECT_EQ(read.stamp, 7) << "differs from the stamp of the replaced file too";

    // Saved again without anyone else: no question.
    dialogs.clear();
    ASSERT_TRUE(editor.SetChosenDays({20270716, 20270803}));
    EXPECT_TRUE(editor.Save());
    EXPECT_TRUE(dialogs.shown().empty());

    // Removed meanwhile.
    ASSERT_TRUE(QFile::remove(path));
    dialogs.answer(false);
    EXPECT_FALSE(editor.Save());
    EXPECT_TRUE(dialogs.questionTexts().value(0).contains(QStringLiteral("usunięty")));
    EXPECT_FALSE(QFile::exists(path));
    dialogs.answer(true);
    EXPECT_TRUE(editor.Save());
    EXPECT_TRUE(QFile::exists(path));
}

// Runs `act` as a user who may not write into the folder: in a child process as "nobody" when
// the tests run as root (whom no permission stops), else here. Answers `act`'s result.
bool asUserWithoutWriteAccess(const std::function<bool()>& act)
{
    if (geteuid() != 0)
        return act();
    const pid_t child = fork();
    if (child == 0) {
        const bool ok = setgid(65534) == 0 && setuid(65534) == 0 && act();
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(PlanEditorTest, AFolderThatCannotBeWrittenKeepsTheFile)
{
    const QString share = folder.filePath(QStringLiteral("udzial"));
    ASSERT_TRUE(QDir().mkpath(share));
    const QString path = share + QStringLiteral("/p.zfpn");
    ASSERT_TRUE(WritePlanFileBytes(path, BuildPlanFileBytes(test::samplePlan())));
    const QByteArray bytes = test::readAll(path);
    ASSERT_EQ(editor.Open(path), TPlanEditor::OpenResult::Opened);
    ASSERT_TRUE(editor.SetChosenDays({20270716, 20270802}));
    chmod(QFile::encodeName(folder.path()).constData(), 0755);
    chmod(QFile::encodeName(path).constData(), 0644);
    chmod(QFile::encodeName(share).constData(), 0555);

    const bool refused = asUserWithoutWriteAccess([&] {
        dialogs.clear();
        return !editor.Save() && dialogs.informationTexts().size() == 1 &&
               dialogs.informationTexts().at(0).startsWith(
                   QStringLiteral("Nie udało się zapisać planu w folderze:\n") +
                   QDir::toNativeSeparators(share) + QLatin1Char('\n')) &&
               editor.modified() && editor.chosenDays() == QList<int>{20270716, 20270802};
    });
    chmod(QFile::encodeName(share).constData(), 0755);
    EXPECT_TRUE(refused);
    EXPECT_EQ(test::readAll(path), bytes);
    EXPECT_EQ(QDir(share).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("p.zfpn")});

    // A file protected against writing in a folder that can be written.
    chmod(QFile::encodeName(share).constData(), 0777);
    chmod(QFile::encodeName(path).constData(), 0444);
    const bool protectedFile = asUserWithoutWriteAccess([&] {
        dialogs.clear();
        return !editor.Save() && dialogs.informationTexts().size() == 1 &&
               dialogs.informationTexts().at(0).contains(QStringLiteral("jest tylko do odczytu"));
    });
    EXPECT_TRUE(protectedFile);
    EXPECT_EQ(test::readAll(path), bytes);
}

// office:users 0660 in a shared folder, saved by an employee of the group: the office can still
// read it, and nothing is left beside it.
TEST_F(PlanEditorTest, AnEmployeesSaveKeepsTheOfficesOwnerGroupAndMode)
{
    if (!test::runningAsRoot())
        GTEST_SKIP() << "saving as another user needs root";
    constexpr uid_t kOffice = 4242;
    constexpr gid_t kUsers = 4243;
    const QString path = write("p.zfpn", test::samplePlan());
    const QByteArray name = QFile::encodeName(path);
    ASSERT_EQ(chmod(QFile::encodeName(folder.path()).constData(), 0777), 0);
    ASSERT_EQ(chown(name.constData(), kOffice, kUsers), 0);
    ASSERT_EQ(chmod(name.constData(), 0660), 0);
    EXPECT_TRUE(test::asUser(test::kNobody, test::kNogroup, kUsers, [&] {
        return editor.Open(path) == TPlanEditor::OpenResult::Opened &&
               editor.SetChosenDays({20270716, 20270802, 20270803}) && editor.Save();
    }));
    struct stat st
    {
    };
    ASSERT_EQ(stat(name.constData(), &st), 0);
    EXPECT_EQ(st.st_uid, kOffice);
    EXPECT_EQ(st.st_gid, kUsers);
    EXPECT_EQ(st.st_mode & 07777, mode_t(0660));
    PlanFileData office;
    ASSERT_TRUE(ParsePlanFileText(test::clearTextOf(path), 2027, office));
    EXPECT_EQ(office.selectedDays, (QList<int>{20270716, 20270802, 20270803}));
    EXPECT_NE(office.stamp, test::samplePlan().stamp);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("p.zfpn")});
}

TEST_F(PlanEditorTest, AFailedSaveLeavesNoTemporaryBehind)
{
    const QString path = write("p.zfpn", test::samplePlan());
    ASSERT_EQ(editor.Open(path), TPlanEditor::OpenResult::Opened);
    ASSERT_TRUE(editor.SetChosenDays({20270716, 20270802}));
    // A folder put at the plan's name: the finished temporary cannot replace it.
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QDir().mkpath(path + QStringLiteral("/inside")));
    dialogs.answer(true);
    EXPECT_FALSE(editor.Save());
    EXPECT_TRUE(onlyMessage().startsWith(QStringLiteral("Nie udało się zapisać planu")));
    EXPECT_TRUE(editor.modified());
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("p.zfpn")});
    EXPECT_EQ(QDir(path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("inside")});
}

TEST_F(PlanEditorTest, ClosingAsksOnlyAfterChanges)
{
    const QString path = write("p.zfpn", test::samplePlan());
    const QByteArray bytes = test::readAll(path);
    ASSERT_EQ(editor.Open(path), TPlanEditor::OpenResult::Opened);
    EXPECT_TRUE(editor.ConfirmClose());
    EXPECT_TRUE(dialogs.shown().empty());

    ASSERT_TRUE(editor.SetChosenDays({20270716, 20270802}));
    dialogs.answer(false);
    EXPECT_TRUE(editor.ConfirmClose());
    EXPECT_EQ(dialogs.questionTexts(), QStringList{QStringLiteral("Zapisać zmiany?")});
    EXPECT_EQ(dialogs.shown().at(0).caption, QStringLiteral("Pytanie"));
    EXPECT_EQ(test::readAll(path), bytes);

    // "Anuluj": back to the plan, nothing written.
    dialogs.answer(Dialogs::Answer::Cancel);
    EXPECT_FALSE(editor.ConfirmClose());
    EXPECT_TRUE(editor.modified());
    EXPECT_EQ(test::readAll(path), bytes);

    dialogs.answer(true);
    EXPECT_TRUE(editor.ConfirmClose());
    PlanFileData office;
    ASSERT_TRUE(ParsePlanFileText(test::clearTextOf(path), 2027, office));
    EXPECT_EQ(office.selectedDays, (QList<int>{20270716, 20270802}));

    // A save that is refused keeps the plan open.
    QList<int> many;
    for (int d = 1; d <= 29; ++d)
        many << 20270800 + d;
    editor.SetChosenDays(many);
    ASSERT_LT(editor.remaining(), 0);
    dialogs.clear();
    dialogs.answer(true);
    EXPECT_FALSE(editor.ConfirmClose());
    EXPECT_TRUE(editor.isOpen());
}

} // namespace
} // namespace zf
