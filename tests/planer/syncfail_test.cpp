// Saving on a disk that does not confirm the new names (fsync of the folder and syncfs fail,
// through tests/planer/failsync.cpp): the editor says so and keeps the changes unsaved, the
// office's batch replaces nothing and leaves nothing behind.
#include "planer/planeditor.h"
#include "tests/planer/planer_files.h"
#include "tests/support/scripted_dialogs.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zf {
namespace {

QStringList entries(const QTemporaryDir& dir)
{
    return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                      QDir::Name);
}

TEST(UnconfirmedDisk, TheEditorSaysSoAndKeepsTheChangesUnsaved)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("p.zfpn"));
    ASSERT_TRUE(test::writeAll(path, BuildPlanFileBytes(test::samplePlan())));
    test::ScriptedDialogs dialogs;
    TPlanEditor editor(dialogs);
    ASSERT_EQ(editor.Open(path), TPlanEditor::OpenResult::Opened);
    ASSERT_TRUE(editor.SetChosenDays({20270716, 20270802}));
    EXPECT_FALSE(editor.Save());
    ASSERT_EQ(dialogs.informationTexts().size(), 1);
    EXPECT_TRUE(dialogs.informationTexts().at(0).contains(QStringLiteral("nie potwierdził")))
        << dialogs.informationTexts().at(0).toStdString();
    EXPECT_TRUE(editor.modified()) << "closing still asks";
    // The file holds the new days all the same, and saving again asks nothing about it.
    PlanFileData office;
    ASSERT_TRUE(ParsePlanFileText(test::clearTextOf(path), 2027, office));
    EXPECT_EQ(office.selectedDays, (QList<int>{20270716, 20270802}));
    dialogs.clear();
    EXPECT_FALSE(editor.Save());
    EXPECT_TRUE(dialogs.questionTexts().isEmpty());
    EXPECT_EQ(entries(folder), QStringList{QStringLiteral("p.zfpn")});
}

TEST(UnconfirmedDisk, TheOfficesBatchReplacesNothing)
{
    QTemporaryDir folder;
    const QString a = folder.filePath(QStringLiteral("a.zfpn"));
    ASSERT_TRUE(test::writeAll(a, "old a"));
    PlanFileBatch batch;
    ASSERT_TRUE(batch.add(a, "new a"));
    ASSERT_TRUE(batch.add(folder.filePath(QStringLiteral("b.zfpn")), "new b"));
    EXPECT_EQ(batch.commit(), 0);
    EXPECT_FALSE(batch.synced());
    EXPECT_EQ(test::readAll(a), QByteArray("old a"));
    EXPECT_EQ(entries(folder), QStringList{QStringLiteral("a.zfpn")});
}

} // namespace
} // namespace zf
