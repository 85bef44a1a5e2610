// "Dodaj pliki…": files sent back by the employees, picked outside the plan folder, checked and
// copied in under the employee's file name, on a real embedded database and real files.
#include "planfiles/returnedfiles.h"
#include "tests/planfiles/planfiles_fixture.h"

#include <QDir>
#include <QFile>
#include <QMap>

#include <gtest/gtest.h>

namespace zf {
namespace {

class ReturnedFilesTest : public test::PlanFilesTest
{
protected:
    void SetUp() override
    {
        PlanFilesTest::SetUp();
        TWorkingWithXML x(t.db(), 2024);
        ASSERT_TRUE(exportAll(x));
    }
    // A file as an employee's editor saves it, in the downloads folder.
    QString returned(const char* name, const char* key, int stamp, int year = 2024)
    {
        PlanFileContent c;
        c.year = year;
        c.employeeKey = QString::fromLatin1(key);
        c.name = QStringLiteral("Imię");
        c.surname = QStringLiteral("Nazwisko");
        c.stamp = stamp;
        c.selectedDays = {20240805};
        const QString path = downloads.filePath(QString::fromLatin1(name));
        EXPECT_TRUE(WritePlanFileBytes(path, BuildPlanFileBytes(c)));
        return path;
    }
    QByteArray bytes(const QString& path) const
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // Every file of the plan folder with its bytes.
    QMap<QString, QByteArray> planFolder() const
    {
        QMap<QString, QByteArray> all;
        for (const QString& n : QDir(folder.path()).entryList(QDir::Files | QDir::System))
            all.insert(n, bytes(folder.filePath(n)));
        return all;
    }
    std::vector<ReturnedFile> add(const QStringList& paths)
    {
        std::vector<ReturnedFile> out;
        EXPECT_TRUE(ReturnedFilesIntake(t.db(), t.dialogs(), 2024).Add(paths, out));
        return out;
    }

    QTemporaryDir downloads;
};

TEST_F(ReturnedFilesTest, SavedFileIsCopiedUnderTheEmployeesNameAndTheScanOffersIt)
{
    const QString saved = returned("adam (1).zfpn", "A1", 12);
    const std::vector<ReturnedFile> out = add({saved});
    ASSERT_EQ(out.size(), 1u);
    EXPECT_TRUE(out[0].added) << out[0].reason.toStdString();
    EXPECT_EQ(out[0].employee, QStringLiteral("Adam Adamski (A1)"));
    EXPECT_EQ(bytes(path("adam")), bytes(saved));
    EXPECT_TRUE(QFile::exists(saved)); // a copy: the download stays

    TWorkingWithXML x(t.db(), 2024);
    QStringList keys;
    EXPECT_TRUE(x.FindChangedPlanFiles(keys));
    EXPECT_EQ(keys, QStringList{QStringLiteral("A1")});
    EXPECT_TRUE(ReturnedFilesIntake::Summary(out).contains(QStringLiteral("Adam Adamski (A1)")));
}

TEST_F(ReturnedFilesTest, EveryOtherFileIsRefusedWithItsReasonAndTheFolderStaysAsItWas)
{
    const auto before = planFolder();
    const QString otherYear = returned("rok.zfpn", "A1", 12, 2023);
    const QString stranger = returned("obcy.zfpn", "Z9", 3);
    const QString damaged = downloads.filePath(QStringLiteral("uszkodzony.zfpn"));
    {
        QByteArray b = bytes(returned("tmp.zfpn", "B2", 4));
        b.truncate(b.size() / 2);
        QFile f(damaged);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(b);
    }
    const QString unchanged = downloads.filePath(QStringLiteral("cezary.zfpn"));
    ASSERT_TRUE(QFile::copy(path("cezary"), unchanged)); // as the office sent it
    const QString link = downloads.filePath(QStringLiteral("dowiazanie.zfpn"));
    ASSERT_TRUE(QFile::link(returned("cel.zfpn", "B2", 9), link));

    const std::vector<ReturnedFile> out = add({otherYear, stranger, damaged, unchanged, link});
    ASSERT_EQ(out.size(), 5u);
    const QStringList expected{QStringLiteral("to plan na rok 2023, a nie na rok 2024"),
                               QStringLiteral("pracownik o numerze Z9 nie należy do planu"),
                               QStringLiteral("uszkodzony"), QStringLiteral("nie zapisał"),
                               QStringLiteral("dowiązanie")};
    for (std::size_t i = 0; i < out.size(); ++i) {
        EXPECT_FALSE(out[i].added) << i;
        EXPECT_TRUE(out[i].reason.contains(expected.at(static_cast<qsizetype>(i))))
            << i << ": " << out[i].reason.toStdString();
    }
    EXPECT_EQ(planFolder(), before);
    EXPECT_TRUE(t.dialogs().questionTexts().isEmpty());
}

TEST_F(ReturnedFilesTest, AnUnreadSaveInTheFolderIsReplacedOnlyWhenTheClerkSaysSo)
{
    // Beata saved in the shared folder and also mailed an older save back.
    const QString inFolder = returned("folder.zfpn", "B2", 5);
    ASSERT_TRUE(WritePlanFileBytes(path("beata"), bytes(inFolder)));
    const QString mailed = returned("beata.zfpn", "B2", 6);

    t.dialogs().answer(false);
    std::vector<ReturnedFile> out = add({mailed});
    ASSERT_EQ(out.size(), 1u);
    EXPECT_FALSE(out[0].added);
    EXPECT_EQ(t.dialogs().questionTexts().size(), 1);
    EXPECT_EQ(bytes(path("beata")), bytes(inFolder));

    t.dialogs().answer(true);
    out = add({mailed});
    EXPECT_TRUE(out[0].added);
    EXPECT_EQ(bytes(path("beata")), bytes(mailed));

    // The same file again is not asked about.
    out = add({mailed});
    EXPECT_FALSE(out[0].added);
    EXPECT_EQ(t.dialogs().questionTexts().size(), 2);
    EXPECT_TRUE(t.dialogs().allAnswersUsed());
}

} // namespace
} // namespace zf
