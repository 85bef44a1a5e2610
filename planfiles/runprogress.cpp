#include "planfiles/runprogress.h"

#include <QProgressDialog>

namespace zf {

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
}

RunProgress::~RunProgress() = default;

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
    // Showing the value also lets the window handle its events, "&Przerwij" included.
    m_dialog->setValue(index);
    return !m_dialog->wasCanceled();
}

void RunProgress::finish()
{
    m_dialog->reset();
    m_dialog->hide();
}

} // namespace zf
