#include "app/hints.h"

#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

namespace zf {

THintHandler::THintHandler(std::function<void(const QString&)> showInStatusBar, QObject* parent)
    : QObject(parent), m_showInStatusBar(std::move(showInStatusBar))
{
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
        if (m_showInStatusBar && !widget->toolTip().isEmpty())
            m_showInStatusBar(widget->toolTip());
        break;
    case QEvent::Leave:
        if (m_showInStatusBar && !widget->toolTip().isEmpty())
            m_showInStatusBar(QString());
        break;
    default:
        break;
    }
    return false;
}

} // namespace zf
