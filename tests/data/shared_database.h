// Several copies of the program sharing one database on the local Firebird server: the fixture
// of the server tests.
#pragma once

#include "data/databasecreation.h"
#include "data/mydatabase.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_database.h"
#include "tests/support/test_env.h"
#include "util/textcodec.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <optional>

namespace zf::servertest {

inline const QString kUser = QStringLiteral("SYSDBA");

// The server the test command started (or found), from its environment.
struct ServerAccess
{
    QString host;
    QString password;
};

inline std::optional<ServerAccess> serverAccess()
{
    const QString host = qEnvironmentVariable("ZF_TEST_SERVER");
    const QString password = qEnvironmentVariable("ZF_TEST_SERVER_PASSWORD");
    if (host.isEmpty() || password.isEmpty())
        return std::nullopt;
    return ServerAccess{host, password};
}

// A folder the server, running as user `firebird`, can create files in; removed with its files.
class ServerFolder
{
public:
    ServerFolder()
    {
        QByteArray name = QFile::encodeName(QDir::tempPath() + QStringLiteral("/zf-server-XXXXXX"));
        if (mkdtemp(name.data()) && chmod(name.constData(), 0777) == 0)
            m_path = QFile::decodeName(name);
    }
    ~ServerFolder()
    {
        if (!m_path.isEmpty())
            QDir(m_path).removeRecursively();
    }
    ServerFolder(const ServerFolder&) = delete;
    ServerFolder& operator=(const ServerFolder&) = delete;

    const QString& path() const { return m_path; }

private:
    QString m_path;
};

// One copy of the program: its own module, dialogs and data folder (with the log's folder).
class Workstation
{
public:
    explicit Workstation(const QString& name)
        : m_folder(test::dataHome() + QLatin1Char('/') + name),
          db(DatabasePaths{m_folder + QStringLiteral("/Orvantis/Zefirant"),
                           test::programFolder(),
                           {m_folder + QStringLiteral("/no-installer")}},
             dialogs)
    {
        QDir().mkpath(db.paths().dataFolder + QStringLiteral("/debug"));
    }

    // The log's lines without their time stamps; a line without one is kept whole, so that an
    // entry spread over several lines shows up as a failure.
    QStringList logEntries() const
    {
        QFile f(db.paths().dataFolder + QStringLiteral("/debug/error.log"));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        static const QRegularExpression stamp(
            QStringLiteral("^\\d{4}\\.\\d{2}\\.\\d{2} \\d{2}:\\d{2}:\\d{2}  "));
        QStringList entries;
        for (const QString& line :
             fromCp1250(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            const auto m = stamp.match(line);
            entries << (m.hasMatch() ? line.mid(m.capturedLength()) : line);
        }
        return entries;
    }

private:
    QString m_folder;

public:
    test::ScriptedDialogs dialogs;
    TmyDataBase db;
};

// Two copies of the program connected to one fresh database on the server.
class SharedDatabaseTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const auto access = serverAccess();
        if (!access)
            GTEST_SKIP() << "No Firebird server: ZF_TEST_SERVER and ZF_TEST_SERVER_PASSWORD are "
                            "not set (scripts/test.sh sets them when it can start a server)";
        password = access->password;
        ASSERT_FALSE(folder.path().isEmpty()) << "cannot make a folder for the server";
        location = access->host + QLatin1Char(':') + folder.path() + QStringLiteral("/shared.fdb");

        DatabaseCreator creator;
        const auto error = creator.create(location, kUser, password, test::creationScriptLines());
        ASSERT_FALSE(error) << "creating " << location.toStdString() << " failed at step "
                            << error->step << ": " << error->message.toStdString();
        creator.DB.detach();

        test::clearDataHome();
        first = std::make_unique<Workstation>(QStringLiteral("first"));
        second = std::make_unique<Workstation>(QStringLiteral("second"));
        ASSERT_TRUE(first->db.Connect(location, kUser, password));
        ASSERT_TRUE(second->db.Connect(location, kUser, password));
    }

    void TearDown() override
    {
        // Every attachment ends before the folder and its database go.
        first.reset();
        second.reset();
    }

    void expectNothingShown()
    {
        EXPECT_TRUE(first->dialogs.shown().empty());
        EXPECT_TRUE(second->dialogs.shown().empty());
        for (const Workstation* ws : {first.get(), second.get()})
            EXPECT_TRUE(ws->logEntries().isEmpty())
                << ws->logEntries().join(QLatin1Char('|')).toStdString();
    }

    ServerFolder folder;
    QString password;
    QString location;
    std::unique_ptr<Workstation> first;
    std::unique_ptr<Workstation> second;
};

} // namespace zf::servertest
