#include "util/accessiblenames.h"

#include <QAbstractButton>
#include <QEvent>
#include <QLabel>
#include <QTabBar>
#include <QTextDocumentFragment>
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
    // Qt names a field by its label only when the two are siblings, and item views never.
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (QWidget* buddy = label->buddy()) {
            const QString text = Qt::mightBeRichText(label->text())
                                     ? QTextDocumentFragment::fromHtml(label->text()).toPlainText()
                                     : label->text();
            const QString name = spokenCaption(text);
            if (!name.isEmpty())
                giveName(buddy, name);
        }
    }
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        QString name = spokenCaption(button->text());
        // A button showing only a picture is named by its hint.
        if (name.isEmpty())
            name = button->toolTip().simplified();
        QString plain = button->text();
        plain.remove(QLatin1Char('&'));
        // Qt's own name (the caption without "&") serves the unpadded ones and follows changes.
        if (!name.isEmpty() && (name != plain || !button->property(kGivenName).isNull()))
            giveName(button, name);
    }
    for (QTabBar* tabs : window->findChildren<QTabBar*>()) {
        for (int i = 0; i < tabs->count(); ++i)
            if (tabs->accessibleTabName(i).isEmpty())
                tabs->setAccessibleTabName(i, spokenCaption(tabs->tabText(i)));
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
