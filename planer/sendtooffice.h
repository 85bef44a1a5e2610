#pragma once

#include "planfiles/planfile.h"
#include "util/mail.h"

#include <QString>

namespace zf {

// "Wyślij do działu kadr…": the message the desktop's mail composer opens with the saved plan
// file attached; the employee picks the office's address (or answers the office's message).
TMapiSendMail sendToOfficeMessage(const QString& path, const PlanFileContent& plan);

// Shown when no mail composer could be opened: where the file is, to attach it by hand.
QString noComposerMessage(const QString& path);

} // namespace zf
