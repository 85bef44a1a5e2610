#pragma once

// What the export and import tests share: a plan of three employees on a real embedded database
// with its folder, and the files as the employees' editor leaves them.
#include "cipher/cipher.h"
#include "planfiles/planfile.h"
#include "planfiles/workingwithxml.h"
#include "tests/planfiles/planfiles_seed.h"
#include "tests/support/test_database.h"

#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zf::test {

class PlanFilesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const QString& sql : test::planSeed(folder.path()))
            t.exec(sql);
    }

    QString path(const char* name) const
    {
        return folder.path() + QLatin1Char('/') + QString::fromLatin1(name) +
               QStringLiteral(".zfpn");
    }
    QByteArray clearText(const char* name) const
    {
        QByteArray bytes;
        EXPECT_TRUE(ReadPlanFileBytes(path(name), bytes)) << name;
        return DecryptString(bytes, kPlanFileCipherKey);
    }
    // What the editing program leaves: the file's content with other days and a new stamp.
    void fillIn(const char* name, const QList<int>& chosen, const QList<int>& fixed, int stamp)
    {
        PlanFileData d;
        ASSERT_TRUE(ParsePlanFileText(clearText(name), 2024, d));
        PlanFileContent c;
        c.year = 2024;
        c.employeeKey = d.employeeKey;
        c.name = d.name;
        c.surname = d.surname;
        c.stamp = stamp;
        c.selectedDays = chosen;
        c.unchangeableDays = fixed;
        ASSERT_TRUE(WritePlanFileBytes(path(name), BuildPlanFileBytes(c)));
    }
    QString days(const char* table, const char* key)
    {
        // LIST() keeps the test to one query; the order is fixed by the sub-select.
        return t.scalar(QStringLiteral("SELECT LIST(SELECTEDDAY, ',') FROM (SELECT SELECTEDDAY "
                                       "FROM %1 WHERE IDYEAR=2024 AND IDEMPLOYEE='%2' ORDER BY "
                                       "SELECTEDDAY)")
                            .arg(QString::fromLatin1(table), QString::fromLatin1(key)));
    }
    int stamp(const char* key)
    {
        return t.scalarInt(QStringLiteral("SELECT CHECKSUM FROM EMPLOYEESSETTINGS WHERE "
                                          "IDYEAR=2024 AND IDEMPLOYEE='%1'")
                               .arg(QString::fromLatin1(key)));
    }
    bool exportAll(TWorkingWithXML& x, bool includeDays = true)
    {
        return x.WritePlanFiles({QStringLiteral("A1"), QStringLiteral("B2"), QStringLiteral("C3")},
                                QStringLiteral("Uwagi"), includeDays, true);
    }
    QStringList messages() { return t.dialogs().informationTexts(); }

    QTemporaryDir folder;
    test::TestDatabase t;
};

} // namespace zf::test
