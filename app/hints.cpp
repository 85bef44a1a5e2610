#include "app/hints.h"

#include <QHelpEvent>
#include <QMainWindow>
#include <QToolTip>
#include <QWidget>

namespace zf {

THintHandler::THintHandler(std::function<void(const QString&)> showInStatusBar, QObject* parent)
    : QObject(parent), m_showInStatusBar(std::move(showInStatusBar))
{
}

bool THintHandler::inStatusBarsWindow(const QWidget* widget)
{
    // The status bar belongs to the main window, the program's only QMainWindow; a dialog's hint
    // there would outlive the dialog.
    return qobject_cast<const QMainWindow*>(widget->window()) != nullptr;
}

bool THintHandler::eventFilter(QObject* watched, QEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget)
        return false;
    switch (event->type()) {
    case QEvent::ToolTip:
        if (!widget->toolTip().isEmpty()) {
            const auto* help = static_cast<QHelpEvent*>(event);
            QToolTip::showText(help->globalPos(), widget->toolTip(), widget, {}, kHintDurationMs);
            return true;
        }
        break;
    case QEvent::Enter:
        if (m_showInStatusBar && !widget->toolTip().isEmpty() && inStatusBarsWindow(widget))
            m_showInStatusBar(widget->toolTip());
        break;
    case QEvent::Leave:
        if (m_showInStatusBar && !widget->toolTip().isEmpty() && inStatusBarsWindow(widget))
            m_showInStatusBar(QString());
        break;
    default:
        break;
    }
    return false;
}

} // namespace zf
