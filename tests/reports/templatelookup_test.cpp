// Where the report templates are looked for: real folders named by the XDG environment.
#include "reports/dmraporty.h"

#include "data/mydatabase.h"
#include "tests/support/test_database.h"
#include "tests/support/test_env.h"
#include "util/dates.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zf {
namespace {

using test::TestDatabase;

// The three places of a template, each a real folder named by the environment.
class TemplateLookup : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        for (const char* v : {"XDG_CONFIG_HOME", "XDG_CONFIG_DIRS"}) {
            saved.emplace_back(v, qgetenv(v));
            hadIt.push_back(qEnvironmentVariableIsSet(v));
        }
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(path("home")));
        qputenv("XDG_CONFIG_DIRS", QFile::encodeName(path("etc1") + QLatin1Char(':') + path("etc2")));
    }
    void TearDown() override
    {
        for (size_t i = 0; i < saved.size(); ++i) {
            if (hadIt[i])
                qputenv(saved[i].first, saved[i].second);
            else
                qunsetenv(saved[i].first);
        }
    }
    QString path(const char* sub) const { return root.filePath(QString::fromLatin1(sub)); }
    // Writes a one-line template whose name tells where it came from.
    void put(const QString& folder, const QString& name)
    {
        QDir().mkpath(folder);
        QFile f(folder + QLatin1Char('/') + QStringLiteral("oswiadczenieopiekuna.frf"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QStringLiteral("raport: %1\npasmo: tytul 10\nkomorka: 0 0 50 10 | | %1\n")
                    .arg(name)
                    .toUtf8());
    }
    QString printed()
    {
        QString text;
        dm.show = [&text](const report::ReportDocument& d) { text = d.pageText(0); };
        EXPECT_TRUE(dm.OswiadczenieOpiekuna(QStringLiteral("x"), QStringLiteral("05-01-2023")));
        return text;
    }

    QTemporaryDir root;
    std::vector<std::pair<const char*, QByteArray>> saved;
    std::vector<bool> hadIt;
    TestDatabase t;
    TDMRaporty dm{t.db(), t.dialogs(), root.filePath(QStringLiteral("opt"))};
};

TEST_F(TemplateLookup, UserFolderThenSystemFoldersThenBesideTheProgram)
{
    const QString sub = QStringLiteral("/Orvantis/Zefirant/raporty");
    EXPECT_EQ(dm.TemplateFolders(),
              QStringList({path("home") + sub, path("etc1") + sub, path("etc2") + sub,
                           path("opt") + QStringLiteral("/raporty")}));
    put(path("opt") + QStringLiteral("/raporty"), QStringLiteral("program"));
    EXPECT_EQ(printed(), QStringLiteral("program"));
    put(path("etc2") + sub, QStringLiteral("drugi systemowy"));
    EXPECT_EQ(printed(), QStringLiteral("drugi systemowy"));
    put(path("etc1") + sub, QStringLiteral("systemowy"));
    EXPECT_EQ(printed(), QStringLiteral("systemowy"));
    put(path("home") + sub, QStringLiteral("użytkownika"));
    EXPECT_EQ(printed(), QStringLiteral("użytkownika"));
    EXPECT_EQ(dm.TemplatePath(QStringLiteral("oswiadczenieopiekuna.frf")),
              path("home") + sub + QStringLiteral("/oswiadczenieopiekuna.frf"));
}

TEST_F(TemplateLookup, DefaultsAndAMissingTemplateNamedBesideTheProgram)
{
    qunsetenv("XDG_CONFIG_HOME");
    qunsetenv("XDG_CONFIG_DIRS");
    const QString sub = QStringLiteral("/Orvantis/Zefirant/raporty");
    EXPECT_EQ(dm.TemplateFolders(),
              QStringList({QDir::homePath() + QStringLiteral("/.config") + sub,
                           QStringLiteral("/etc/xdg") + sub,
                           path("opt") + QStringLiteral("/raporty")}));
    EXPECT_EQ(dm.TemplatePath(QStringLiteral("brak.frf")),
              path("opt") + QStringLiteral("/raporty/brak.frf"));
}

} // namespace
} // namespace zf
