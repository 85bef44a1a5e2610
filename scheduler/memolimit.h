#pragma once

#include <QString>

class QPlainTextEdit;

namespace zf {

// A multi-line field that takes at most `maxLength` typed characters, each one Windows-1250 can
// hold: a change that would break either rule is undone as it is typed or pasted. A longer
// text put in by setMemoText stays and may only shrink.
void limitMemo(QPlainTextEdit* memo, int maxLength);
void setMemoText(QPlainTextEdit* memo, const QString& text);

} // namespace zf
