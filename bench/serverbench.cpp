#include "bench/serverbench.h"

#include "bench/benchsupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>

#include <cstdio>
#include <cstdlib>

#include <sys/stat.h>

namespace zf::bench {

std::optional<ServerAccess> serverAccess()
{
    const QString host = qEnvironmentVariable("ZF_TEST_SERVER");
    const QString password = qEnvironmentVariable("ZF_TEST_SERVER_PASSWORD");
    if (host.isEmpty() || password.isEmpty()) {
        std::printf("No Firebird server (ZF_TEST_SERVER, ZF_TEST_SERVER_PASSWORD): no benchmark\n");
        return std::nullopt;
    }
    return ServerAccess{host, password};
}

ServerFolder::ServerFolder()
{
    QByteArray name = QFile::encodeName(QDir::tempPath() + QStringLiteral("/zf-server-XXXXXX"));
    if (mkdtemp(name.data()) && chmod(name.constData(), 0777) == 0)
        m_path = QFile::decodeName(name);
}

ServerFolder::~ServerFolder()
{
    if (!m_path.isEmpty())
        QDir(m_path).removeRecursively();
}

bool createServerDatabase(const QString& programFolder, const QString& location,
                          const QString& password)
{
    return createDatabase(programFolder, location, password);
}

bool runServerIsql(const QString& location, const QString& password, const QString& script)
{
    const QString isql = QStandardPaths::findExecutable(QStringLiteral("isql-fb"));
    if (isql.isEmpty()) {
        std::fprintf(stderr, "isql-fb not found\n");
        return false;
    }
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ISC_USER"), kUser);
    env.insert(QStringLiteral("ISC_PASSWORD"), password);
    p.setProcessEnvironment(env);
    p.setStandardOutputFile(QProcess::nullDevice());
    p.start(isql, {QStringLiteral("-q"), QStringLiteral("-b"), QStringLiteral("-sqldialect"),
                   QStringLiteral("1"), QStringLiteral("-i"), script, location});
    if (!p.waitForFinished(600000)) {
        std::fprintf(stderr, "isql-fb did not finish: %s\n", qPrintable(p.errorString()));
        p.kill();
        p.waitForFinished();
        return false;
    }
    const QByteArray err = p.readAllStandardError();
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0 || !err.trimmed().isEmpty()) {
        std::fprintf(stderr, "isql-fb failed (%d): %s\n", p.exitCode(), err.constData());
        return false;
    }
    return true;
}

QString employeeKey(int index)
{
    return QStringLiteral("P%1").arg(index + 1, 5, 10, QLatin1Char('0'));
}

QString officeFillScript(int employees, const std::vector<OfficePlan>& plans)
{
    // The date number of the day DT (YYYYMMDD), and whether DT is a working day.
    const QString number = QStringLiteral(
        "EXTRACT(YEAR FROM DT) * 10000 + EXTRACT(MONTH FROM DT) * 100 + EXTRACT(DAY FROM DT)");
    QString s = QStringLiteral("SET TERM ^ ;\n");
    for (const OfficePlan& p : plans) {
        s += QStringLiteral("INSERT INTO HOLIDAYPLANS (IDYEAR, STATUS, PLANDIR) VALUES (%1, %2, "
                            "'%3')^\n")
                 .arg(p.year)
                 .arg(p.status)
                 .arg(p.planDir);
        s += QStringLiteral("EXECUTE BLOCK AS\n"
                            "DECLARE DT TIMESTAMP;\n"
                            "BEGIN\n"
                            "  DT = CAST('%1-01-01' AS TIMESTAMP);\n"
                            "  WHILE (EXTRACT(YEAR FROM DT) = %1) DO BEGIN\n"
                            "    IF (EXTRACT(WEEKDAY FROM DT) IN (0, 6)) THEN\n"
                            "      INSERT INTO CALENDAR (IDYEAR, FREEDAY) VALUES (%1, %2);\n"
                            "    DT = DT + 1;\n"
                            "  END\n"
                            "END^\n")
                 .arg(p.year)
                 .arg(QString(number).replace(QStringLiteral("DT"), QStringLiteral(":DT")));
    }
    s += QStringLiteral("EXECUTE BLOCK AS\n"
                        "DECLARE I INTEGER = 0;\n"
                        "DECLARE K INTEGER;\n"
                        "DECLARE N INTEGER;\n"
                        "DECLARE DT TIMESTAMP;\n"
                        "DECLARE ID VARCHAR(20);\n"
                        "BEGIN\n"
                        "  WHILE (I < %1) DO BEGIN\n"
                        "    I = I + 1;\n"
                        "    ID = 'P' || LPAD(I, 5, '0');\n"
                        "    INSERT INTO EMPLOYEES (IDEMPLOYEE, SURNAME, NAME, IDDICUNIT, FILENAME, "
                        "PWD) VALUES (:ID, 'Nazwisko' || MOD(:I, 101), 'Imie' || MOD(:I, 37), "
                        "MOD(:I, 7), 'plan_' || :ID, 'haslo');\n")
             .arg(employees);
    for (const OfficePlan& p : plans) {
        if (p.members <= 0)
            continue;
        s += QStringLiteral("    IF (I <= %2) THEN BEGIN\n"
                            "      INSERT INTO EMPLOYEESSETTINGS (IDYEAR, IDEMPLOYEE, "
                            "LASTYEARDAYS, THISYEARDAYS) VALUES (%1, :ID, 2, 26);\n"
                            "      DT = CAST('%1-01-01' AS TIMESTAMP) + MOD(I * 7, 300);\n"
                            "      K = 0;\n"
                            "      WHILE (K < 26) DO BEGIN\n"
                            "        IF (EXTRACT(WEEKDAY FROM DT) NOT IN (0, 6)) THEN BEGIN\n"
                            "          N = %3;\n"
                            "          INSERT INTO EMPLOYEEHOLIDAYS (IDYEAR, IDEMPLOYEE, "
                            "SELECTEDDAY) VALUES (%1, :ID, :N);\n"
                            "          IF (K < 3) THEN INSERT INTO EMPLOYEECONSTDAYS (IDYEAR, "
                            "IDEMPLOYEE, SELECTEDDAY) VALUES (%1, :ID, :N);\n"
                            "          K = K + 1;\n"
                            "        END\n"
                            "        DT = DT + 1;\n"
                            "      END\n"
                            "    END\n")
                 .arg(p.year)
                 .arg(p.members)
                 .arg(number);
    }
    s += QStringLiteral("  END\nEND^\nSET TERM ; ^\nCOMMIT;\n");
    return s;
}

} // namespace zf::bench
