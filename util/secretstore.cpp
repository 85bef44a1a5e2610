// libsecret's GLib headers come first: Qt's keyword macros would break them.
#include <libsecret/secret.h>

#include "util/secretstore.h"

#include "util/dialogs.h"
#include "util/smtpmail.h"

#include <QHash>

namespace zf {

namespace {

const SecretSchema* schema()
{
    static const SecretSchema s = {"pl.orvantis.zefirant.Poczta",
                                   SECRET_SCHEMA_NONE,
                                   {{"server", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                    {"user", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                    {nullptr, SECRET_SCHEMA_ATTRIBUTE_STRING}},
                                   0,
                                   nullptr,
                                   nullptr,
                                   nullptr,
                                   nullptr,
                                   nullptr,
                                   nullptr,
                                   nullptr};
    return &s;
}

QString takeError(GError* error)
{
    if (!error)
        return {};
    const QString text = QString::fromUtf8(error->message);
    g_error_free(error);
    return text;
}

// The passwords typed in this run, by server and user.
QHash<QString, QString>& runPasswords()
{
    static QHash<QString, QString> passwords;
    return passwords;
}

QString runKey(const SmtpSettings& s)
{
    return s.server.trimmed() + QLatin1Char('\n') + s.user;
}

} // namespace

std::optional<QString> SecretStore::lookup(const QString& server, const QString& user,
                                           QString* error)
{
    GError* e = nullptr;
    const QByteArray srv = server.trimmed().toUtf8();
    const QByteArray usr = user.toUtf8();
    gchar* found = secret_password_lookup_sync(schema(), nullptr, &e, "server", srv.constData(),
                                               "user", usr.constData(), nullptr);
    const QString text = takeError(e);
    if (error)
        *error = text;
    if (!found)
        return std::nullopt;
    const QString password = QString::fromUtf8(found);
    secret_password_free(found);
    return password;
}

bool SecretStore::store(const QString& server, const QString& user, const QString& password,
                        QString* error)
{
    GError* e = nullptr;
    const QByteArray srv = server.trimmed().toUtf8();
    const QByteArray usr = user.toUtf8();
    const QByteArray pwd = password.toUtf8();
    const QByteArray label = "Zefirant PL+: poczta " + usr + '@' + srv;
    const gboolean ok = secret_password_store_sync(
        schema(), SECRET_COLLECTION_DEFAULT, label.constData(), pwd.constData(), nullptr, &e,
        "server", srv.constData(), "user", usr.constData(), nullptr);
    const QString text = takeError(e);
    if (error)
        *error = text;
    return ok && text.isEmpty();
}

void SecretStore::forget(const QString& server, const QString& user)
{
    GError* e = nullptr;
    const QByteArray srv = server.trimmed().toUtf8();
    const QByteArray usr = user.toUtf8();
    secret_password_clear_sync(schema(), nullptr, &e, "server", srv.constData(), "user",
                               usr.constData(), nullptr);
    takeError(e);
}

bool MailPasswords::fill(SmtpSettings& settings, Dialogs& dialogs)
{
    if (settings.user.isEmpty())
        return true;
    const auto typed = runPasswords().constFind(runKey(settings));
    if (typed != runPasswords().cend()) {
        settings.password = *typed;
        return true;
    }
    QString storeError;
    if (const auto stored = SecretStore::lookup(settings.server, settings.user, &storeError)) {
        settings.password = *stored;
        return true;
    }
    QString password;
    if (!dialogs.prompt(QStringLiteral("Hasło do serwera poczty"),
                        QStringLiteral("Hasło użytkownika „%1” na serwerze %2:")
                            .arg(settings.user, settings.server.trimmed()),
                        password, true))
        return false;
    remember(settings, password);
    settings.password = password;
    return true;
}

void MailPasswords::forget(const SmtpSettings& settings)
{
    runPasswords().remove(runKey(settings));
    SecretStore::forget(settings.server, settings.user);
}

bool MailPasswords::remember(const SmtpSettings& settings, const QString& password)
{
    if (SecretStore::store(settings.server, settings.user, password)) {
        runPasswords().remove(runKey(settings));
        return true;
    }
    runPasswords().insert(runKey(settings), password);
    return false;
}

} // namespace zf
