#include "util/accessiblenames.h"

#include <QAbstractButton>
#include <QEvent>
#include <QLabel>
#include <QWidget>

namespace zf {

namespace {

// Marks names this code gave, so that a later caption replaces them and the window's own stay.
constexpr const char* kGivenName = "zfGivenAccessibleName";

void giveName(QWidget* control, const QString& name)
{
    const QString current = control->accessibleName();
    if (!current.isEmpty() && current != control->property(kGivenName).toString())
        return;
    control->setAccessibleName(name);
    control->setProperty(kGivenName, name);
}

} // namespace

QString spokenCaption(const QString& caption)
{
    QString text = caption;
    // "&&" stands for one "&"; a single one marks the access key.
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text.simplified();
}

void nameControls(QWidget* window)
{
    if (!window)
        return;
    for (QLabel* label : window->findChildren<QLabel*>()) {
        QWidget* buddy = label->buddy();
        if (buddy && buddy->parentWidget() != label->parentWidget()) {
            const QString name = spokenCaption(label->text());
            if (!name.isEmpty())
                giveName(buddy, name);
        }
    }
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        const QString name = spokenCaption(button->text());
        QString plain = button->text();
        plain.remove(QLatin1Char('&'));
        // Qt's own name (the caption without "&") serves the unpadded ones and follows changes.
        if (!name.isEmpty() && (name != plain || !button->property(kGivenName).isNull()))
            giveName(button, name);
    }
}

bool AccessibleNames::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        if (widget->isWindow())
            nameControls(widget);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace zf
