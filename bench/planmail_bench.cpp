// Sending 500 plan files to a local SMTP server (aiosmtpd on the loopback address, accepting and
// forgetting), against libcurl's own SMTP sending of the same messages in a plain loop: one
// handle, the connection reused, every message's MIME built before the timed loop. The floor's
// messages are built anew (untimed) for each run: a MIME that libcurl has already sent once goes
// out again about twice as fast, which a real run, sending each message once, never sees.
//
// Our side does per employee what the office's sending does: read the file from the plan
// folder, build the message, send it through SmtpSession. The database read of the addresses
// (one statement for the whole plan) is not part of it.
#include "bench/benchsupport.h"
#include "planfiles/planmail.h"
#include "util/smtpmail.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <curl/curl.h>

#include <cstdio>

using namespace zf;

namespace {

constexpr int kMessages = 500;
constexpr int kBenchRuns = 5;

struct Server
{
    QProcess process;
    int port = 0;
    bool start(const QString& folder)
    {
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QStringLiteral("/usr/bin/python3"),
                      {QStringLiteral(ZF_BENCH_SOURCE_FOLDER "/tests/util/smtp_test_server.py"),
                       QStringLiteral("--dir"), folder, QStringLiteral("--quiet")});
        while (port == 0 && process.waitForReadyRead(30000)) {
            const QString line = QString::fromUtf8(process.readLine()).trimmed();
            if (line.startsWith(QLatin1String("PORT ")))
                port = line.mid(5).toInt();
        }
        return port != 0;
    }
    ~Server()
    {
        process.kill();
        process.waitForFinished(10000);
    }
};

} // namespace

int main(int argc, char** argv)
{
    return bench::benchMain(argc, argv, [](const QString& root) {
        const QString folder = root + QStringLiteral("/plan");
        QDir().mkpath(folder);
        // Files of a plan file's usual size, each different.
        std::vector<PlanMailEntry> entries;
        for (int i = 0; i < kMessages; ++i) {
            PlanMailEntry e;
            e.key = QString::number(1000 + i);
            e.text = QStringLiteral("Pracownik Numer%1 (%2)").arg(i).arg(e.key);
            e.email = QStringLiteral("pracownik%1@firma.example").arg(i);
            e.fileName = QStringLiteral("pracownik%1").arg(i);
            QByteArray bytes(3000, '\0');
            for (int b = 0; b < bytes.size(); ++b)
                bytes[b] = static_cast<char>((b * 31 + i * 7) & 0xff);
            if (!bench::writeBytes(folder + QLatin1Char('/') + e.fileName + QStringLiteral(".zfpn"),
                                   bytes))
                return 1;
            entries.push_back(e);
        }
        Server server;
        if (!server.start(root)) {
            std::fprintf(stderr, "The SMTP server (python3-aiosmtpd) did not start\n");
            return 1;
        }
        SmtpSettings settings;
        settings.server = QStringLiteral("127.0.0.1");
        settings.port = server.port;
        settings.security = SmtpSettings::Security::None;
        settings.sender = QStringLiteral("kadry@firma.example");

        const auto ours = [&]() {
            SmtpSession session(settings);
            for (const PlanMailEntry& e : entries) {
                const QString path = PlanFilePath(folder, e.fileName);
                QFile f(path);
                if (!f.open(QIODevice::ReadOnly))
                    return false;
                const SmtpResult r =
                    session.send(planMailMessage(2024, e, QFileInfo(path).fileName(), f.readAll()));
                if (!r.sent()) {
                    std::fprintf(stderr, "%s\n", qPrintable(r.message));
                    return false;
                }
            }
            return true;
        };

        // The floor: the same messages built with libcurl's MIME before each run (untimed: a
        // message is sent once, so each run gets messages of its own, as a real run would), then
        // sent in a plain loop over one handle.
        curl_global_init(CURL_GLOBAL_DEFAULT);
        CURL* easy = curl_easy_init();
        struct Source
        {
            QByteArray rcpt, body, attachment, fileName;
            QList<QByteArray> headers;
        };
        std::vector<Source> sources;
        for (const PlanMailEntry& e : entries) {
            const QString path = PlanFilePath(folder, e.fileName);
            QFile f(path);
            if (!f.open(QIODevice::ReadOnly))
                return 1;
            const MailMessage m = planMailMessage(2024, e, QFileInfo(path).fileName(), f.readAll());
            sources.push_back(
                {"<" + m.to.toUtf8() + ">",
                 m.body.toUtf8(),
                 m.attachment,
                 m.attachmentName.toUtf8(),
                 {QByteArray("From: ") + encodeHeaderWord(m.fromName) + " <kadry@firma.example>",
                  QByteArray("To: <") + m.to.toUtf8() + ">",
                  QByteArray("Subject: ") + encodeHeaderWord(m.subject)}});
        }
        struct Built
        {
            curl_mime* mime = nullptr;
            curl_slist* headers = nullptr;
            curl_slist* rcpt = nullptr;
        };
        std::vector<Built> built;
        const auto freeBuilt = [&]() {
            for (Built& b : built) {
                curl_mime_free(b.mime);
                curl_slist_free_all(b.headers);
                curl_slist_free_all(b.rcpt);
            }
            built.clear();
        };
        const auto buildAll = [&]() {
            freeBuilt();
            for (const Source& src : sources) {
                Built b;
                b.rcpt = curl_slist_append(nullptr, src.rcpt.constData());
                for (const QByteArray& h : src.headers)
                    b.headers = curl_slist_append(b.headers, h.constData());
                b.mime = curl_mime_init(easy);
                curl_mimepart* text = curl_mime_addpart(b.mime);
                curl_mime_data(text, src.body.constData(), static_cast<size_t>(src.body.size()));
                curl_mime_type(text, "text/plain; charset=UTF-8");
                curl_mime_encoder(text, "quoted-printable");
                curl_mimepart* file = curl_mime_addpart(b.mime);
                curl_mime_data(file, src.attachment.constData(),
                               static_cast<size_t>(src.attachment.size()));
                curl_mime_filename(file, src.fileName.constData());
                curl_mime_type(file, "application/x-zefirant-plan");
                curl_mime_encoder(file, "base64");
                built.push_back(b);
            }
            return true;
        };
        const QByteArray url = "smtp://127.0.0.1:" + QByteArray::number(server.port);
        const auto floor = [&]() {
            for (const Built& b : built) {
                curl_easy_setopt(easy, CURLOPT_URL, url.constData());
                curl_easy_setopt(easy, CURLOPT_MAIL_FROM, "<kadry@firma.example>");
                curl_easy_setopt(easy, CURLOPT_MAIL_RCPT, b.rcpt);
                curl_easy_setopt(easy, CURLOPT_HTTPHEADER, b.headers);
                curl_easy_setopt(easy, CURLOPT_MIMEPOST, b.mime);
                curl_easy_setopt(easy, CURLOPT_UPLOAD, 1L);
                if (curl_easy_perform(easy) != CURLE_OK)
                    return false;
            }
            return true;
        };

        // The two sides in turn, so both see the machine as it is.
        bench::Runs oursRuns;
        bench::Runs floorRuns;
        if (!ours() || !buildAll() || !floor())
            return 1; // warm-up
        for (int run = 0; run < kBenchRuns; ++run) {
            QElapsedTimer t;
            t.start();
            if (!ours())
                return 1;
            oursRuns.ms.push_back(bench::msSince(t));
            buildAll();
            t.restart();
            if (!floor())
                return 1;
            floorRuns.ms.push_back(bench::msSince(t));
        }
        freeBuilt();
        curl_easy_cleanup(easy);
        curl_global_cleanup();
        std::printf("%d messages: ours median %.1f ms (best %.1f), libcurl loop median %.1f ms "
                    "(best %.1f)\n",
                    kMessages, oursRuns.median(), oursRuns.best(), floorRuns.median(),
                    floorRuns.best());
        bench::printResult("mail/500 plan files", oursRuns.median(), floorRuns.median(), 1.5);
        return 0;
    });
}
