#include "tests/support/test_env.h"

#include <QDir>
#include <QTemporaryDir>

#include <memory>

namespace zf::test {

namespace {
std::unique_ptr<QTemporaryDir> g_root;
}

void prepareEnvironment()
{
    g_root = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/zf-test-XXXXXX"));
    const QString root = g_root->path();
    for (const char* sub : {"data", "config", "run"})
        QDir(root).mkpath(QString::fromLatin1(sub));
    qputenv("XDG_DATA_HOME", QFile::encodeName(root + QStringLiteral("/data")));
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName(root + QStringLiteral("/config")));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(root + QStringLiteral("/run")));
    QFile::setPermissions(root + QStringLiteral("/run"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void cleanupEnvironment()
{
    g_root.reset();
}

QString tempRoot()
{
    return g_root ? g_root->path() : QString();
}

QString dataHome()
{
    return tempRoot() + QStringLiteral("/data");
}

void clearDataHome()
{
    QDir dir(dataHome());
    dir.removeRecursively();
    QDir().mkpath(dataHome());
}

QString programFolder()
{
    return QStringLiteral(ZF_TEST_PROGRAM_FOLDER);
}

QString sourceFolder()
{
    return QStringLiteral(ZF_TEST_SOURCE_FOLDER);
}

} // namespace zf::test
