#include "util/smtpmail.h"

#include <QDateTime>
#include <QUuid>

#include <curl/curl.h>

namespace zf {

namespace {

// Seconds: a server that does not answer must not hold the office for minutes.
constexpr long kConnectTimeout = 20;
constexpr long kLowSpeedTime = 60;

struct CurlGlobal
{
    CurlGlobal() { curl_global_init(CURL_GLOBAL_DEFAULT); }
    ~CurlGlobal() { curl_global_cleanup(); }
};

void ensureGlobal()
{
    static CurlGlobal global;
}

bool isPlainHeaderText(const QString& text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u > 0x7e || u == u'"' || u == u'=' || u == u'?' || u == u'<' || u == u'>' ||
            u == u',' || u == u';' || u == u':' || u == u'@' || u == u'\\')
            return false;
    }
    return true;
}

// "Name <address>", the name encoded when it needs to be.
QByteArray mailbox(const QString& name, const QString& address)
{
    const QByteArray addr = '<' + address.trimmed().toUtf8() + '>';
    if (name.trimmed().isEmpty())
        return addr;
    return encodeHeaderWord(name.trimmed()) + ' ' + addr;
}

QByteArray rfc2822Date()
{
    return QDateTime::currentDateTime().toString(Qt::RFC2822Date).toLatin1();
}

} // namespace

QByteArray encodeHeaderWord(const QString& text)
{
    if (isPlainHeaderText(text))
        return text.toLatin1();
    // At most 45 bytes of UTF-8 per word keeps each word within 75 characters; a character's
    // bytes never straddle two words.
    QByteArray out;
    QByteArray chunk;
    const auto flush = [&]() {
        if (chunk.isEmpty())
            return;
        if (!out.isEmpty())
            out += ' ';
        out += "=?UTF-8?B?" + chunk.toBase64() + "?=";
        chunk.clear();
    };
    for (int i = 0; i < text.size();) {
        const int len = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QByteArray bytes = text.mid(i, len).toUtf8();
        if (chunk.size() + bytes.size() > 45)
            flush();
        chunk += bytes;
        i += len;
    }
    flush();
    return out;
}

QString securityName(SmtpSettings::Security security)
{
    switch (security) {
    case SmtpSettings::Security::None:
        return QStringLiteral("brak");
    case SmtpSettings::Security::StartTls:
        return QStringLiteral("STARTTLS");
    case SmtpSettings::Security::SslTls:
        return QStringLiteral("SSL/TLS");
    }
    return {};
}

struct SmtpSession::Curl
{
    CURL* easy = nullptr;
    QByteArray lastReply; // the server's last refusal during the current message
    char error[CURL_ERROR_SIZE] = {};

    static int debug(CURL*, curl_infotype type, char* data, size_t size, void* self)
    {
        // The last refusal is kept: the "221 Bye" of the closing comes after it.
        if (type == CURLINFO_HEADER_IN && size > 0 && (data[0] == '4' || data[0] == '5'))
            static_cast<Curl*>(self)->lastReply = QByteArray(data, static_cast<qsizetype>(size));
        return 0;
    }
};

SmtpSession::SmtpSession(SmtpSettings settings)
    : m_settings(std::move(settings)), m_curl(std::make_unique<Curl>())
{
    ensureGlobal();
    m_curl->easy = curl_easy_init();
}

SmtpSession::~SmtpSession()
{
    if (m_curl->easy)
        curl_easy_cleanup(m_curl->easy);
}

SmtpResult SmtpSession::send(const MailMessage& message)
{
    CURL* c = m_curl->easy;
    const SmtpSettings& s = m_settings;
    const bool ssl = s.security == SmtpSettings::Security::SslTls;
    const QByteArray url = (ssl ? QByteArrayLiteral("smtps://") : QByteArrayLiteral("smtp://")) +
                           urlHost(s.server) + ':' + QByteArray::number(s.port);
    const QByteArray user = s.user.toUtf8();
    const QByteArray password = s.password.toUtf8();
    const QByteArray from = '<' + s.sender.trimmed().toUtf8() + '>';
    const QByteArray to = '<' + message.to.trimmed().toUtf8() + '>';
    const QByteArray caFile = s.caFile.toLocal8Bit();

    curl_easy_reset(c);
    m_curl->lastReply.clear();
    m_curl->error[0] = 0;
    curl_easy_setopt(c, CURLOPT_URL, url.constData());
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, m_curl->error);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, kConnectTimeout);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, kLowSpeedTime);
    curl_easy_setopt(c, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(c, CURLOPT_DEBUGFUNCTION, &Curl::debug);
    curl_easy_setopt(c, CURLOPT_DEBUGDATA, m_curl.get());
    if (s.security == SmtpSettings::Security::StartTls)
        curl_easy_setopt(c, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
    if (!caFile.isEmpty())
        curl_easy_setopt(c, CURLOPT_CAINFO, caFile.constData());
    if (!user.isEmpty()) {
        curl_easy_setopt(c, CURLOPT_USERNAME, user.constData());
        curl_easy_setopt(c, CURLOPT_PASSWORD, password.constData());
    }
    curl_easy_setopt(c, CURLOPT_MAIL_FROM, from.constData());
    curl_slist* rcpt = curl_slist_append(nullptr, to.constData());
    curl_easy_setopt(c, CURLOPT_MAIL_RCPT, rcpt);

    const QByteArray headerLines[] = {
        "Date: " + rfc2822Date(),
        "From: " + mailbox(message.fromName, s.sender),
        "To: " + mailbox(message.toName, message.to),
        "Subject: " + encodeHeaderWord(message.subject),
        "Message-ID: <" + QUuid::createUuid().toByteArray(QUuid::WithoutBraces) + '@' +
            s.sender.section(QLatin1Char('@'), 1).trimmed().toUtf8() + '>',
    };
    curl_slist* headers = nullptr;
    for (const QByteArray& h : headerLines)
        headers = curl_slist_append(headers, h.constData());
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers);

    curl_mime* mime = curl_mime_init(c);
    curl_mimepart* text = curl_mime_addpart(mime);
    const QByteArray body = message.body.toUtf8();
    curl_mime_data(text, body.constData(), static_cast<size_t>(body.size()));
    curl_mime_type(text, "text/plain; charset=UTF-8");
    curl_mime_encoder(text, "quoted-printable");
    if (!message.attachmentName.isEmpty()) {
        curl_mimepart* file = curl_mime_addpart(mime);
        curl_mime_data(file, message.attachment.constData(),
                       static_cast<size_t>(message.attachment.size()));
        curl_mime_filename(file, encodeHeaderWord(message.attachmentName).constData());
        curl_mime_type(file, message.attachmentType.toLatin1().constData());
        curl_mime_encoder(file, "base64");
    }
    curl_easy_setopt(c, CURLOPT_MIMEPOST, mime);
    curl_easy_setopt(c, CURLOPT_UPLOAD, 1L);

    const CURLcode code = curl_easy_perform(c);
    curl_mime_free(mime);
    curl_slist_free_all(headers);
    curl_slist_free_all(rcpt);
    return classify(static_cast<int>(code));
}

QByteArray SmtpSession::urlHost(const QString& server)
{
    const QString host = server.trimmed();
    // A bare IPv6 address goes into the address in brackets.
    if (host.contains(QLatin1Char(':')) && !host.startsWith(QLatin1Char('[')))
        return '[' + host.toUtf8() + ']';
    return host.toUtf8();
}

SmtpResult SmtpSession::classify(int code) const
{
    SmtpResult r;
    CURL* c = m_curl->easy;
    long reply = 0;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &reply);
    r.replyCode = static_cast<int>(reply);
    r.reply = QString::fromUtf8(m_curl->lastReply).trimmed();
    if (!r.reply.isEmpty())
        r.replyCode = r.reply.left(3).toInt();
    const SmtpSettings& s = m_settings;
    const QString where = QStringLiteral("%1:%2").arg(s.server.trimmed()).arg(s.port);
    switch (static_cast<CURLcode>(code)) {
    case CURLE_OK:
        r.reply.clear();
        return r;
    case CURLE_COULDNT_RESOLVE_HOST:
        r.status = SmtpResult::Status::ServerNotFound;
        r.message = QStringLiteral("Nie znaleziono serwera poczty „%1”. Sprawdź nazwę serwera "
                                   "w opcjach programu (zakładka „Poczta”).")
                        .arg(s.server.trimmed());
        return r;
    case CURLE_LOGIN_DENIED:
        r.status = SmtpResult::Status::LoginRefused;
        r.message = QStringLiteral("Serwer poczty %1 odrzucił logowanie użytkownika „%2”. "
                                   "Sprawdź nazwę użytkownika w opcjach programu i hasło.")
                        .arg(where, s.user);
        return r;
    case CURLE_USE_SSL_FAILED:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_CERTPROBLEM:
        r.status = SmtpResult::Status::SecurityFailed;
        r.message = QStringLiteral("Nie udało się nawiązać bezpiecznego połączenia z serwerem "
                                   "poczty %1 (%2). Sprawdź rodzaj zabezpieczenia i port "
                                   "w opcjach programu.")
                        .arg(where, QString::fromUtf8(m_curl->error));
        return r;
    case CURLE_COULDNT_CONNECT:
    case CURLE_OPERATION_TIMEDOUT:
        // Before the greeting: nothing is there; after it, the server went away.
        if (r.replyCode == 0 && r.reply.isEmpty()) {
            r.status = SmtpResult::Status::NoConnection;
            r.message = QStringLiteral("Nie można połączyć się z serwerem poczty %1. Sprawdź "
                                       "nazwę serwera i numer portu w opcjach programu.")
                            .arg(where);
            return r;
        }
        break;
    default:
        break;
    }
    // A reply in 4xx or 5xx other than "closing" refused this message only.
    if (r.replyCode >= 400 && r.replyCode != 421) {
        r.status = SmtpResult::Status::Refused;
        r.message = QStringLiteral("Serwer poczty odrzucił wiadomość: ") + r.reply;
        return r;
    }
    if (r.replyCode == 0 && r.reply.isEmpty() && code == CURLE_WEIRD_SERVER_REPLY) {
        r.status = SmtpResult::Status::NoConnection;
        r.message = QStringLiteral("Pod adresem %1 nie odpowiada serwer poczty. Sprawdź numer "
                                   "portu i rodzaj zabezpieczenia w opcjach programu.")
                        .arg(where);
        return r;
    }
    r.status = SmtpResult::Status::ConnectionLost;
    r.message = QStringLiteral("Połączenie z serwerem poczty %1 zostało przerwane (%2).")
                    .arg(where, QString::fromUtf8(m_curl->error));
    return r;
}

} // namespace zf
