#pragma once

#include <QString>

#include <optional>

namespace zf {

class Dialogs;
struct SmtpSettings;

// The mail server's password in the desktop's secret store (the Secret Service through
// libsecret: GNOME Keyring, KWallet), filed under the server and the user.
class SecretStore
{
public:
    // The password stored for the server and user; nothing when none is stored. `error` gets
    // a text when no secret store answers.
    static std::optional<QString> lookup(const QString& server, const QString& user,
                                         QString* error = nullptr);
    // False (with the reason) when no secret store answers or it refused.
    static bool store(const QString& server, const QString& user, const QString& password,
                      QString* error = nullptr);
    static void forget(const QString& server, const QString& user);
};

// Where a run's mail password comes from: the secret store when one answers, else the user,
// asked once per run of the program and kept only in memory.
class MailPasswords
{
public:
    // Fills settings.password when the server needs a login; false when the user cancelled
    // the question.
    static bool fill(SmtpSettings& settings, Dialogs& dialogs);
    // After a refused login: the password is asked again next time.
    static void forget(const SmtpSettings& settings);
    // Stores a password typed in "Opcje"; false when it could be kept only for this run.
    static bool remember(const SmtpSettings& settings, const QString& password);
};

} // namespace zf
