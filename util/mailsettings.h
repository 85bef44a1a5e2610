#pragma once

#include "util/smtpmail.h"

namespace zf {

// The mail server settings of "Opcje", in the "POCZTA" section of "zefirant.ini". The
// password is never written there.
SmtpSettings readMailSettings(const QString& iniPath);
bool writeMailSettings(const QString& iniPath, const SmtpSettings& settings);

} // namespace zf
