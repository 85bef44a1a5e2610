#include "scheduler/memolimit.h"

#include "util/textcodec.h"

#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QVariant>

namespace zf {

namespace {

// The last text the rules accepted.
constexpr const char* kAccepted = "zfAcceptedText";

} // namespace

void limitMemo(QPlainTextEdit* memo, int maxLength)
{
    memo->setProperty(kAccepted, memo->toPlainText());
    QObject::connect(memo, &QPlainTextEdit::textChanged, memo, [memo, maxLength] {
        const QString now = memo->toPlainText();
        const QString before = memo->property(kAccepted).toString();
        if ((now.size() <= maxLength || now.size() <= before.size()) && isCp1250Encodable(now)) {
            memo->setProperty(kAccepted, now);
            return;
        }
        // Back to the text before the change, the cursor where the change began.
        const int grown = static_cast<int>(now.size() - before.size());
        const int position = memo->textCursor().position() - qMax(grown, 0);
        {
            const QSignalBlocker block(memo);
            memo->setPlainText(before);
        }
        QTextCursor cursor = memo->textCursor();
        cursor.setPosition(qBound(0, position, static_cast<int>(before.size())));
        memo->setTextCursor(cursor);
    });
}

void setMemoText(QPlainTextEdit* memo, const QString& text)
{
    const QSignalBlocker block(memo);
    memo->setPlainText(text);
    memo->setProperty(kAccepted, memo->toPlainText());
}

} // namespace zf
