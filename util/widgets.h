#pragma once

#include <QPushButton>
#include <QString>

namespace zf {

// A push button found by tests under `name`; never the dialog's default button, so Enter in a
// field does not press it.
inline QPushButton* button(QWidget* parent, const char* name, const QString& text,
                           const QString& hint = {})
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(hint);
    b->setAutoDefault(false);
    return b;
}

} // namespace zf
