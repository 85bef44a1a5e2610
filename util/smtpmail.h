#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

namespace zf {

// The office's mail server as "Opcje" keeps it. The password is never part of the stored
// settings; the caller fills it in for the run from the secret store or the user.
struct SmtpSettings
{
    enum class Security
    {
        None = 0,
        StartTls = 1,
        SslTls = 2
    };

    QString server;
    int port = 587;
    Security security = Security::StartTls;
    QString user;   // empty: the server is used without logging in
    QString sender; // the "From" address
    QString password;
    // A file of certificates to trust besides the system's (an office's own certificate
    // authority); empty: the system's only.
    QString caFile;

    bool complete() const { return !server.trimmed().isEmpty() && !sender.trimmed().isEmpty(); }
};

// One message: a plain UTF-8 text and at most one attachment.
struct MailMessage
{
    QString to;
    QString toName; // shown beside the address; may be empty
    QString fromName;
    QString subject;
    QString body;
    QString attachmentName; // empty: no attachment
    QString attachmentType = QStringLiteral("application/octet-stream");
    QByteArray attachment;
};

// How one send ended.
struct SmtpResult
{
    enum class Status
    {
        Sent,
        Refused,        // the server refused this message (its reply says why); others may pass
        ServerNotFound, // the name did not resolve
        NoConnection,   // nothing answers on that port, or the answer is not mail
        LoginRefused,
        SecurityFailed, // the TLS handshake, the certificate or STARTTLS
        ConnectionLost, // the server went away during the message
    };
    Status status = Status::Sent;
    int replyCode = 0;
    QString reply;   // the server's last reply line when it refused
    QString message; // a Polish sentence for the user (empty when sent)

    bool sent() const { return status == Status::Sent; }
    // Whether later messages of a run can still get through.
    bool runCanGoOn() const { return status == Status::Sent || status == Status::Refused; }
};

// "=?UTF-8?B?...?=" words for a header text, as short as the rules for encoded words ask;
// plain ASCII without specials is returned as it stands.
QByteArray encodeHeaderWord(const QString& text);

// Sends messages through libcurl's SMTP, keeping one connection open across the messages of a
// run where the server allows it.
class SmtpSession
{
public:
    explicit SmtpSession(SmtpSettings settings);
    ~SmtpSession();
    SmtpSession(const SmtpSession&) = delete;
    SmtpSession& operator=(const SmtpSession&) = delete;

    SmtpResult send(const MailMessage& message);
    const SmtpSettings& settings() const { return m_settings; }

private:
    struct Curl;
    SmtpResult classify(int code) const;
    static QByteArray urlHost(const QString& server);

    SmtpSettings m_settings;
    std::unique_ptr<Curl> m_curl;
};

// The text of a security choice as "Opcje" shows it.
QString securityName(SmtpSettings::Security security);

} // namespace zf
