#pragma once

// A real SMTP server for a test (tests/util/smtp_test_server.py, aiosmtpd) on 127.0.0.1 and a
// port it picks; what arrives is read back as Python's email package parsed it.
#include "tests/support/test_env.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>

namespace zf::test {

class SmtpTestServer
{
public:
    explicit SmtpTestServer(QStringList options = {})
    {
        const QString python = QFile::exists(QStringLiteral("/usr/bin/python3"))
                                   ? QStringLiteral("/usr/bin/python3")
                                   : QStringLiteral("python3");
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(
            python, QStringList{sourceFolder() + QStringLiteral("/tests/util/smtp_test_server.py"),
                                QStringLiteral("--dir"), m_dir.path()} +
                        options);
        // The server prints its port (and certificate) once it listens; 30 s bounds a broken
        // start.
        while (m_process.waitForReadyRead(30000)) {
            while (m_process.canReadLine()) {
                const QString line = QString::fromUtf8(m_process.readLine()).trimmed();
                if (line.startsWith(QLatin1String("PORT ")))
                    m_port = line.mid(5).toInt();
                else if (line.startsWith(QLatin1String("CERT ")))
                    m_cert = line.mid(5);
            }
            if (m_port && (m_cert.size() || !options.contains(QStringLiteral("--starttls"))))
                break;
        }
    }
    ~SmtpTestServer() { stop(); }

    bool running() const { return m_port != 0 && m_process.state() == QProcess::Running; }
    int port() const { return m_port; }
    const QString& certificate() const { return m_cert; }

    // Ends the server at once, as a server that goes away does.
    void stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.kill();
        m_process.waitForFinished(10000);
    }

    // The messages received, in order.
    QList<QJsonObject> messages() const
    {
        QList<QJsonObject> list;
        QDir dir(m_dir.path());
        QStringList names = dir.entryList({QStringLiteral("*.json")}, QDir::Files);
        std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
            return a.section(QLatin1Char('.'), 0, 0).toInt() <
                   b.section(QLatin1Char('.'), 0, 0).toInt();
        });
        for (const QString& name : names) {
            QFile f(dir.filePath(name));
            if (f.open(QIODevice::ReadOnly))
                list.append(QJsonDocument::fromJson(f.readAll()).object());
        }
        return list;
    }
    // Every raw message as it arrived, concatenated.
    QByteArray rawMessages() const
    {
        QByteArray all;
        QDir dir(m_dir.path());
        for (const QString& name : dir.entryList({QStringLiteral("*.eml")}, QDir::Files)) {
            QFile f(dir.filePath(name));
            if (f.open(QIODevice::ReadOnly))
                all += f.readAll();
        }
        return all;
    }
    static QByteArray attachment(const QJsonObject& message, int index = 0)
    {
        QFile f(message.value(QStringLiteral("attachments"))
                    .toArray()
                    .at(index)
                    .toObject()
                    .value(QStringLiteral("file"))
                    .toString());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    int m_port = 0;
    QString m_cert;
};

} // namespace zf::test
