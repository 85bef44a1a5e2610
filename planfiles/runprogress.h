#pragma once

#include "planfiles/workingwithxml.h"

#include <QString>

#include <memory>

class QProgressDialog;
class QWidget;

namespace zf {

// The progress window of a long run over employees: it appears when the run lasts longer than
// `delayMs`, shows the employee being processed and the count, and its "&Przerwij" stops the run
// before the next employee. Any message or question that comes up during the run closes it
// first, so nothing waits for the clerk behind it; the next employee brings it back.
class RunProgress
{
public:
    RunProgress(QWidget* parent, const QString& title, const QString& employeePrefix, int delayMs);
    ~RunProgress();
    RunProgress(const RunProgress&) = delete;
    RunProgress& operator=(const RunProgress&) = delete;

    // The callback for TWorkingWithXML::setProgress.
    PlanFilesProgress callback();
    // Closes the window once the run is over.
    void finish();
    QProgressDialog* dialog() const { return m_dialog.get(); }

private:
    class MessageWatch;
    bool step(int index, int total, const QString& employee);
    void messageShown();

    std::unique_ptr<QProgressDialog> m_dialog;
    std::unique_ptr<MessageWatch> m_watch;
    QString m_prefix;
    bool m_closedForMessage = false;
    bool m_cancelled = false; // "&Przerwij" pressed before a message closed the window
};

} // namespace zf
