#include "data/formeditable.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTextEdit>

namespace zf {

void SetFormEditable(QWidget* window, bool editable)
{
    if (!window)
        return;
    const QString cancel = QStringLiteral("&Anuluj");
    const QString ok = QStringLiteral("&OK");
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (auto* date = qobject_cast<QDateTimeEdit*>(w)) {
            date->setEnabled(editable);
        } else if (auto* spin = qobject_cast<QAbstractSpinBox*>(w)) {
            spin->setReadOnly(!editable);
        } else if (auto* line = qobject_cast<QLineEdit*>(w)) {
            // The editor inside a pick list or spin field follows its owner, not this rule.
            if (!qobject_cast<QComboBox*>(line->parentWidget()) &&
                !qobject_cast<QAbstractSpinBox*>(line->parentWidget()))
                line->setReadOnly(!editable);
        } else if (auto* memo = qobject_cast<QPlainTextEdit*>(w)) {
            memo->setReadOnly(!editable);
        } else if (auto* rich = qobject_cast<QTextEdit*>(w)) {
            rich->setReadOnly(!editable);
        } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            combo->setEnabled(editable);
        } else if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w)) {
            w->setEnabled(editable);
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            if (!editable && button->text() == cancel) {
                button->setText(ok);
                button->setToolTip(QStringLiteral("Zamknij"));
                button->setVisible(true);
            } else if (editable && button->text() == ok) {
                button->setText(cancel);
                button->setToolTip(QStringLiteral("Anuluj zmiany"));
                button->setVisible(true);
            } else {
                button->setVisible(editable);
            }
        }
    }
}

} // namespace zf
