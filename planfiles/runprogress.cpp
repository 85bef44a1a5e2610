#include "planfiles/runprogress.h"

#include <QApplication>
#include <QEvent>
#include <QProgressDialog>

namespace zf {

// Sees every other dialog window that appears while the run lasts.
class RunProgress::MessageWatch : public QObject
{
public:
    explicit MessageWatch(RunProgress& owner) : m_owner(owner) { qApp->installEventFilter(this); }
    ~MessageWatch() override { qApp->removeEventFilter(this); }
    MessageWatch(const MessageWatch&) = delete;
    MessageWatch& operator=(const MessageWatch&) = delete;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto* w = static_cast<QWidget*>(watched);
            if (w->isWindow() && w->windowType() == Qt::Dialog && w != m_owner.m_dialog.get())
                m_owner.messageShown();
        }
        return false;
    }

private:
    RunProgress& m_owner;
};

RunProgress::RunProgress(QWidget* parent, const QString& title, const QString& employeePrefix,
                         int delayMs)
    : m_dialog(std::make_unique<QProgressDialog>(parent)), m_prefix(employeePrefix)
{
    m_dialog->setObjectName(QStringLiteral("RunProgress"));
    m_dialog->setWindowTitle(title);
    m_dialog->setCancelButtonText(QStringLiteral("&Przerwij"));
    m_dialog->setWindowModality(Qt::WindowModal);
    m_dialog->setAutoClose(false);
    m_dialog->setAutoReset(false);
    m_dialog->setMinimumDuration(delayMs);
    m_dialog->setMinimumWidth(420);
    // The constructor's own timer would show the window by itself later; the first step starts
    // the count instead.
    m_dialog->reset();
    m_watch = std::make_unique<MessageWatch>(*this);
}

RunProgress::~RunProgress() = default;

void RunProgress::messageShown()
{
    // reset() also stops the window's own timer, which would otherwise show it over the message.
    m_closedForMessage = true;
    m_cancelled = m_cancelled || m_dialog->wasCanceled();
    m_dialog->reset();
    m_dialog->hide();
}

PlanFilesProgress RunProgress::callback()
{
    return [this](int index, int total, const QString& employee) {
        return step(index, total, employee);
    };
}

bool RunProgress::step(int index, int total, const QString& employee)
{
    if (m_dialog->maximum() != total)
        m_dialog->setMaximum(total);
    m_dialog->setLabelText(QStringLiteral("%1%2\n(%3 z %4)")
                               .arg(m_prefix, employee)
                               .arg(index + 1)
                               .arg(total));
    if (m_closedForMessage) {
        m_closedForMessage = false;
        m_dialog->show();
    }
    // Showing the value also lets the window handle its events, "&Przerwij" included.
    m_dialog->setValue(index);
    return !m_cancelled && !m_dialog->wasCanceled();
}

void RunProgress::finish()
{
    m_watch.reset();
    m_dialog->reset();
    m_dialog->hide();
}

} // namespace zf
