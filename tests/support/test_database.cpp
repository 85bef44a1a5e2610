#include "tests/support/test_database.h"

#include "data/databasecreation.h"
#include "data/fb/statement.h"
#include "data/fb/transactionguard.h"
#include "tests/support/test_env.h"
#include "util/textcodec.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace zf::test {

QStringList creationScriptLines()
{
    QFile f(DatabaseCreator::CreationScriptPath(programFolder()));
    if (!f.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "Creation script missing: " << f.fileName().toStdString();
        return {};
    }
    return decipherScript(f.readAll());
}

QStringList sourceScriptLines(const QString& relativePath)
{
    QFile f(sourceFolder() + QLatin1Char('/') + relativePath);
    if (!f.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "Script missing: " << f.fileName().toStdString();
        return {};
    }
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\n|\r"));
    return QString::fromUtf8(f.readAll()).split(lineBreak);
}

void createDatabaseFile(const QString& path, const QStringList& lines)
{
    DatabaseCreator creator;
    const auto error = creator.create(path, QString::fromLatin1(TestDatabase::kUser),
                                      QString::fromLatin1(TestDatabase::kPassword), lines);
    if (error)
        ADD_FAILURE() << "Creating " << path.toStdString() << " failed at step " << error->step
                      << ": " << error->message.toStdString();
    creator.DB.detach();
}

TestDatabase::TestDatabase()
{
    init(creationScriptLines());
}

TestDatabase::TestDatabase(const QStringList& scriptLines)
{
    init(scriptLines);
}

void TestDatabase::init(const QStringList& lines)
{
    m_path = m_dir.path() + QStringLiteral("/test.fdb");
    createDatabaseFile(m_path, lines);
    DatabasePaths paths{dataHome() + QStringLiteral("/Orvantis/Zefirant"), programFolder(),
                        {m_dir.path() + QStringLiteral("/no-installer")}};
    m_db = std::make_unique<TmyDataBase>(paths, m_dialogs);
    if (!m_db->Connect(m_path, QString::fromLatin1(kUser), QString::fromLatin1(kPassword)))
        ADD_FAILURE() << "Cannot connect to " << m_path.toStdString();
}

TestDatabase::~TestDatabase()
{
    m_db.reset();
}

void TestDatabase::exec(const QString& sql)
{
    query(sql, nullptr);
}

QString TestDatabase::scalar(const QString& sql)
{
    QString value;
    query(sql, &value);
    return value;
}

void TestDatabase::query(const QString& sql, QString* firstValue)
{
    fb::Connection c;
    c.attach(m_path, QString::fromLatin1(kUser), QString::fromLatin1(kPassword));
    fb::Transaction t(c, fb::tpb::engineDefaults());
    fb::TransactionGuard g(t);
    fb::Statement st(c, &t);
    st.setSql(sql);
    st.execute();
    if (firstValue) {
        *firstValue = st.fetch() ? st.value(0).toString() : QString();
        st.close();
    }
    g.commit();
}

} // namespace zf::test
