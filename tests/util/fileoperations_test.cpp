#include "util/fileoperations.h"

#include "tests/util/print.h"

#include "tests/support/test_env.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zf {
namespace {

class FileOperationTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString path(const QString& relative) const { return dir.filePath(relative); }
    QString path(const char* relative) const { return path(QString::fromUtf8(relative)); }

    void write(const char* relative, const QByteArray& bytes) const
    {
        const QString p = path(relative);
        QDir().mkpath(QFileInfo(p).absolutePath());
        QFile f(p);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray read(const char* relative) const
    {
        QFile f(path(relative));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    bool exists(const char* relative) const { return QFileInfo::exists(path(relative)); }
    // Several paths joined with ";".
    QString paths(std::initializer_list<const char*> relatives) const
    {
        QStringList all;
        for (const char* r : relatives)
            all << path(r);
        return all.join(QLatin1Char(';'));
    }
    QStringList names(const char* folder) const
    {
        return QDir(path(folder))
            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    }

    int run(TFileMode mode, const QString& source, const QString& destination,
            TFileOptions options = {})
    {
        op.SetMode(mode);
        op.SetSource(source);
        op.SetDestination(destination);
        op.SetOptions(options);
        return op.Execute();
    }

    QTemporaryDir dir;
    TFileOperation op;
};

TEST_F(FileOperationTest, CopiesSeveralFilesIntoAFolder)
{
    write("src/a.txt", "A");
    write("src/b.dat", QByteArray("B\0b", 3));
    write("src/sub/c.txt", "C");
    QDir().mkpath(path("dst"));
    EXPECT_EQ(run(foCopy, paths({"src/a.txt", "src/b.dat", "src/sub"}), path("dst")), frOk);
    EXPECT_EQ(read("dst/a.txt"), "A");
    EXPECT_EQ(read("dst/b.dat"), QByteArray("B\0b", 3));
    EXPECT_EQ(read("dst/sub/c.txt"), "C");
    EXPECT_EQ(read("src/a.txt"), "A");
    EXPECT_FALSE(op.AbortByUser());
}

TEST_F(FileOperationTest, MovesSeveralFiles)
{
    write("src/a.txt", "A");
    write("src/sub/c.txt", "C");
    QDir().mkpath(path("dst"));
    EXPECT_EQ(run(foMove, paths({"src/a.txt", "src/sub"}), path("dst")), frOk);
    EXPECT_EQ(read("dst/a.txt"), "A");
    EXPECT_EQ(read("dst/sub/c.txt"), "C");
    EXPECT_EQ(names("src"), QStringList());
}

TEST_F(FileOperationTest, DeletesSeveralFilesAndFolders)
{
    write("a.txt", "A");
    write("b.txt", "B");
    write("sub/c.txt", "C");
    write("keep.txt", "K");
    EXPECT_EQ(run(foDelete, paths({"a.txt", "b.txt", "sub"}), QString()), frOk);
    EXPECT_EQ(names(""), QStringList{QStringLiteral("keep.txt")});
}

TEST_F(FileOperationTest, RenamesByNameOrToAFullPath)
{
    write("a.txt", "A");
    EXPECT_EQ(run(foRename, path("a.txt"), QStringLiteral("b.txt")), frOk);
    EXPECT_EQ(names(""), QStringList{QStringLiteral("b.txt")});

    QDir().mkpath(path("inny"));
    EXPECT_EQ(run(foRename, path("b.txt"), path("inny/c.txt")), frOk);
    EXPECT_EQ(read("inny/c.txt"), "A");
    EXPECT_FALSE(exists("b.txt"));
}

TEST_F(FileOperationTest, RenameTakesOneSourceWithoutWildcards)
{
    write("a.txt", "A");
    write("b.txt", "B");
    EXPECT_EQ(run(foRename, paths({"a.txt", "b.txt"}), QStringLiteral("c.txt")), frRenameSource);
    EXPECT_EQ(run(foRename, path("*.txt"), QStringLiteral("c.txt")), frRenameSource);
    EXPECT_EQ(run(foRename, path("a.txt"), QString()), frNoDestination);
    EXPECT_EQ(names(""), (QStringList{QStringLiteral("a.txt"), QStringLiteral("b.txt")}));
}

TEST_F(FileOperationTest, WildcardsSelectByName)
{
    write("src/a.txt", "A");
    write("src/ab.txt", "AB");
    write("src/c.dat", "C");
    write("src/README", "R");
    QDir().mkpath(path("q"));
    QDir().mkpath(path("star"));
    QDir().mkpath(path("all"));
    EXPECT_EQ(run(foCopy, path("src/?.txt"), path("q")), frOk);
    EXPECT_EQ(names("q"), QStringList{QStringLiteral("a.txt")});
    EXPECT_EQ(run(foCopy, path("src/*.txt"), path("star")), frOk);
    EXPECT_EQ(names("star"), (QStringList{QStringLiteral("a.txt"), QStringLiteral("ab.txt")}));
    // "*.*" also takes names without a dot.
    EXPECT_EQ(run(foCopy, path("src/*.*"), path("all")), frOk);
    EXPECT_EQ(names("all"), names("src"));
}

TEST_F(FileOperationTest, FilesOnlyKeepsWildcardsOffFolders)
{
    write("src/a.txt", "A");
    write("src/d.txt/inner.txt", "I");
    QDir().mkpath(path("files"));
    QDir().mkpath(path("both"));
    EXPECT_EQ(run(foCopy, path("src/*.txt"), path("files"), fofFilesOnly), frOk);
    EXPECT_EQ(names("files"), QStringList{QStringLiteral("a.txt")});
    EXPECT_EQ(run(foCopy, path("src/*.txt"), path("both")), frOk);
    EXPECT_EQ(read("both/d.txt/inner.txt"), "I");

    // A folder named without wildcards is still taken.
    EXPECT_EQ(run(foCopy, path("src/d.txt"), path("files"), fofFilesOnly), frOk);
    EXPECT_EQ(read("files/d.txt/inner.txt"), "I");
}

TEST_F(FileOperationTest, WildcardsDeleteMatchingFilesOnly)
{
    write("a.tmp", "");
    write("b.tmp", "");
    write("c.txt", "");
    EXPECT_EQ(run(foDelete, path("*.tmp"), QString()), frOk);
    EXPECT_EQ(names(""), QStringList{QStringLiteral("c.txt")});
    // Nothing left to match is no failure.
    EXPECT_EQ(run(foDelete, path("*.tmp"), QString()), frOk);
}

TEST_F(FileOperationTest, MissingSourceFailsBeforeAnythingIsDone)
{
    write("a.txt", "A");
    write("b.txt", "B");
    QDir().mkpath(path("dst"));
    EXPECT_EQ(run(foCopy, paths({"a.txt", "brak.txt", "b.txt"}), path("dst")), frSourceMissing);
    EXPECT_EQ(names("dst"), QStringList());
    EXPECT_EQ(run(foDelete, paths({"a.txt", "brak.txt"}), QString()), frSourceMissing);
    EXPECT_TRUE(exists("a.txt"));
    EXPECT_EQ(run(foCopy, path("brak/*.txt"), path("dst")), frSourceMissing);
}

TEST_F(FileOperationTest, SourceMustNameAFile)
{
    write("sub/a.txt", "A");
    EXPECT_EQ(run(foDelete, QString(), QString()), frBadSource);
    EXPECT_EQ(run(foDelete, QStringLiteral(";;"), QString()), frBadSource);
    EXPECT_EQ(run(foDelete, path("sub/.."), QString()), frBadSource);
    EXPECT_EQ(run(foDelete, path("sub/."), QString()), frBadSource);
    EXPECT_EQ(read("sub/a.txt"), "A");
    EXPECT_EQ(run(foCopy, path("sub/a.txt"), QString()), frNoDestination);
}

TEST_F(FileOperationTest, MissingDestinationFolderIsCreatedOnlyWhenAllowed)
{
    write("a.txt", "A");
    EXPECT_EQ(run(foCopy, path("a.txt"), path("nowy/glebiej")), frFolderMissing);
    EXPECT_FALSE(exists("nowy"));
    EXPECT_EQ(run(foCopy, path("a.txt"), path("nowy/glebiej"), fofNoConfirmMkDir), frOk);
    EXPECT_EQ(read("nowy/glebiej/a.txt"), "A");
    // Answering yes to everything also creates it.
    EXPECT_EQ(run(foMove, path("a.txt"), path("drugi"), fofNoConfirmation), frOk);
    EXPECT_EQ(read("drugi/a.txt"), "A");
    // A file in the way is no folder.
    write("plik", "P");
    write("b.txt", "B");
    EXPECT_EQ(run(foCopy, path("b.txt"), path("plik"), fofNoConfirmMkDir), frFolderMissing);
    EXPECT_EQ(read("plik"), "P");
}

TEST_F(FileOperationTest, MultiDestFilesNamesEachTarget)
{
    write("src/a.txt", "A");
    write("src/b.txt", "B");
    const TFileOptions options = fofMultiDestFiles | fofNoConfirmMkDir;
    EXPECT_EQ(
        run(foCopy, paths({"src/a.txt", "src/b.txt"}), paths({"x/1.txt", "y/2.txt"}), options),
        frOk);
    EXPECT_EQ(read("x/1.txt"), "A");
    EXPECT_EQ(read("y/2.txt"), "B");

    EXPECT_EQ(run(foCopy, paths({"src/a.txt", "src/b.txt"}), path("z"), options),
              frDestinationCount);
    EXPECT_FALSE(exists("z"));

    // With wildcards the destination receives the matches as a folder.
    EXPECT_EQ(run(foCopy, path("src/*.txt"), path("w"), options), frOk);
    EXPECT_EQ(names("w"), (QStringList{QStringLiteral("a.txt"), QStringLiteral("b.txt")}));
}

TEST_F(FileOperationTest, ExistingTargetIsKeptReplacedOrAvoided)
{
    write("src/a.txt", "new");
    write("dst/a.txt", "old");
    EXPECT_EQ(run(foCopy, path("src/a.txt"), path("dst")), frTargetExists);
    EXPECT_EQ(read("dst/a.txt"), "old");

    EXPECT_EQ(run(foCopy, path("src/a.txt"), path("dst"), fofRenameOnCollision), frOk);
    EXPECT_EQ(run(foCopy, path("src/a.txt"), path("dst"), fofRenameOnCollision), frOk);
    EXPECT_EQ(names("dst"), (QStringList{QStringLiteral("a (2).txt"), QStringLiteral("a (3).txt"),
                                         QStringLiteral("a.txt")}));
    EXPECT_EQ(read("dst/a (3).txt"), "new");
    EXPECT_EQ(read("dst/a.txt"), "old");

    EXPECT_EQ(run(foMove, path("src/a.txt"), path("dst"), fofNoConfirmation), frOk);
    EXPECT_EQ(read("dst/a.txt"), "new");
    EXPECT_FALSE(exists("src/a.txt"));
}

TEST_F(FileOperationTest, FileAndFolderNeverReplaceEachOther)
{
    write("src/x", "file");
    write("dst/x/inner", "I");
    EXPECT_EQ(run(foCopy, path("src/x"), path("dst"), fofNoConfirmation), frCannotReplace);
    EXPECT_EQ(read("dst/x/inner"), "I");
    EXPECT_EQ(
        run(foCopy, path("src/x"), path("dst/x/inner"), fofMultiDestFiles | fofNoConfirmation),
        frOk);
    EXPECT_EQ(read("dst/x/inner"), "file");
}

TEST_F(FileOperationTest, MovedFolderMergesIntoExistingOne)
{
    write("src/f/a.txt", "new a");
    write("src/f/b.txt", "b");
    write("dst/f/a.txt", "old a");
    write("dst/f/c.txt", "c");
    EXPECT_EQ(run(foMove, path("src/f"), path("dst")), frTargetExists);
    EXPECT_EQ(run(foMove, path("src/f"), path("dst"), fofNoConfirmation), frOk);
    EXPECT_EQ(names("dst/f"), (QStringList{QStringLiteral("a.txt"), QStringLiteral("b.txt"),
                                           QStringLiteral("c.txt")}));
    EXPECT_EQ(read("dst/f/a.txt"), "new a");
    EXPECT_FALSE(exists("src/f"));
}

TEST_F(FileOperationTest, FileCopiedOntoItselfIsNotLost)
{
    write("a.txt", "keep me");
    EXPECT_EQ(run(foCopy, path("a.txt"), dir.path(), fofNoConfirmation), frSameFile);
    EXPECT_EQ(run(foMove, path("a.txt"), path("a.txt"), fofMultiDestFiles | fofNoConfirmation),
              frSameFile);
    EXPECT_EQ(read("a.txt"), "keep me");
    EXPECT_EQ(run(foCopy, path("a.txt"), dir.path(), fofRenameOnCollision), frOk);
    EXPECT_EQ(read("a (2).txt"), "keep me");
}

TEST_F(FileOperationTest, FolderIsNotCopiedIntoItself)
{
    write("f/a.txt", "A");
    EXPECT_EQ(run(foCopy, path("f"), path("f"), fofNoConfirmation), frIntoItself);
    EXPECT_EQ(run(foMove, path("f"), path("f/sub"), fofNoConfirmMkDir), frIntoItself);
    EXPECT_EQ(names("f"), QStringList{QStringLiteral("a.txt")});
}

TEST_F(FileOperationTest, AllowUndoSendsDeletedFilesToTheTrash)
{
    // The trash of the test data home, which lies on the same file system as the test folder.
    test::clearDataHome();
    QTemporaryDir near(test::tempRoot() + QStringLiteral("/undo-XXXXXX"));
    ASSERT_TRUE(near.isValid());
    const QString victim = near.filePath(QStringLiteral("kosz.txt"));
    QFile f(victim);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("T");
    f.close();

    EXPECT_EQ(run(foDelete, victim, QString(), fofAllowUndo), frOk);
    EXPECT_FALSE(QFile::exists(victim));
    QFile trashed(test::dataHome() + QStringLiteral("/Trash/files/kosz.txt"));
    ASSERT_TRUE(trashed.open(QIODevice::ReadOnly));
    EXPECT_EQ(trashed.readAll(), "T");
}

// ---- TFileOperations ----

class FileOperationsTest : public FileOperationTest
{
protected:
    void SetUp() override
    {
        FileOperationTest::SetUp();
        op.SetMode(foCopy);
        queue.SetOperation(&op);
    }
    TFileOperations queue;
};

TEST_F(FileOperationsTest, OneDestinationStaysForTheFollowingSources)
{
    write("src/a.txt", "A");
    write("src/b.txt", "B");
    write("src/c.txt", "C");
    op.SetOptions(fofNoConfirmMkDir);
    for (const char* name : {"src/a.txt", "src/b.txt", "src/c.txt"})
        queue.AddSource(path(name));
    queue.AddDestination(path("dst"));
    EXPECT_EQ(queue.ExecuteAll(), frOk);
    EXPECT_EQ(names("dst"), (QStringList{QStringLiteral("a.txt"), QStringLiteral("b.txt"),
                                         QStringLiteral("c.txt")}));
    EXPECT_EQ(op.Destination(), path("dst"));
    EXPECT_EQ(op.Source(), path("src/c.txt"));
}

TEST_F(FileOperationsTest, EachSourceTakesTheDestinationOfItsPosition)
{
    write("src/a.txt", "A");
    write("src/b.txt", "B");
    write("src/c.txt", "C");
    op.SetOptions(fofNoConfirmMkDir);
    for (const char* name : {"src/a.txt", "src/b.txt", "src/c.txt"})
        queue.AddSource(path(name));
    queue.AddDestination(path("one"));
    queue.AddDestination(path("two"));
    EXPECT_EQ(queue.ExecuteAll(), frOk);
    EXPECT_EQ(names("one"), QStringList{QStringLiteral("a.txt")});
    EXPECT_EQ(names("two"), (QStringList{QStringLiteral("b.txt"), QStringLiteral("c.txt")}));
}

TEST_F(FileOperationsTest, InstallsFilesUnderTheirOwnNamesIntoNewFolders)
{
    // As the add-on installer queues them: one full target path per source.
    write("pakiet/prog.bin", QByteArray("\x7f"
                                        "ELF\0",
                                        5));
    write("pakiet/lib/pomoc.txt", "P");
    write("cel/prog.bin", "old");
    op.SetOptions(fofFilesOnly | fofMultiDestFiles | fofNoConfirmation | fofNoConfirmMkDir |
                  fofSilent | fofSimpleProgress);
    op.SetTitle(QStringLiteral("Kopiowanie plików"));
    for (const char* name : {"prog.bin", "lib/pomoc.txt"}) {
        queue.AddSource(path("pakiet/") + QString::fromUtf8(name));
        queue.AddDestination(path("cel/") + QString::fromUtf8(name));
    }
    EXPECT_EQ(queue.ExecuteAll(), frOk);
    EXPECT_EQ(read("cel/prog.bin"), QByteArray("\x7f"
                                               "ELF\0",
                                               5));
    EXPECT_EQ(read("cel/lib/pomoc.txt"), "P");
}

TEST_F(FileOperationsTest, StopsAtTheFirstFailure)
{
    write("src/a.txt", "A");
    write("src/c.txt", "C");
    QDir().mkpath(path("dst"));
    queue.AddSource(path("src/a.txt"));
    queue.AddSource(path("src/brak.txt"));
    queue.AddSource(path("src/c.txt"));
    queue.AddDestination(path("dst"));
    EXPECT_EQ(queue.ExecuteAll(), frSourceMissing);
    EXPECT_EQ(names("dst"), QStringList{QStringLiteral("a.txt")});
}

TEST_F(FileOperationsTest, ClearEmptiesBothLists)
{
    write("src/a.txt", "A");
    queue.AddSource(path("src/a.txt"));
    queue.AddDestination(path("dst"));
    queue.Clear();
    EXPECT_TRUE(queue.Sources().isEmpty());
    EXPECT_TRUE(queue.Destinations().isEmpty());
    EXPECT_EQ(queue.ExecuteAll(), frOk);
    EXPECT_FALSE(exists("dst"));
}

TEST(FileOperationsWithoutOperation, NothingQueuedSucceedsSomethingQueuedFails)
{
    TFileOperations queue;
    EXPECT_EQ(queue.ExecuteAll(), frOk);
    queue.AddSource(QStringLiteral("/nonexistent/a.txt"));
    EXPECT_EQ(queue.ExecuteAll(), frNoOperation);
}

} // namespace
} // namespace zf
