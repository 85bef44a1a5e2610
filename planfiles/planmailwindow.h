#pragma once

#include <QDialog>
#include <QStringList>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace zf {

class Dialogs;
class PlanMailRun;
class TmyDataBase;
struct SmtpSettings;

// "Wysyłanie planów e-mailem": sends the written plan files of the chosen employees of a plan
// through the mail server of "Opcje" and shows the result per employee, with "Wyślij ponownie
// nieudane". Nothing is sent twice unless that button is used.
class TfPlanMailResults : public QDialog
{
    Q_OBJECT
public:
    TfPlanMailResults(TmyDataBase& db, Dialogs& dialogs, int year, QWidget* parent = nullptr);
    ~TfPlanMailResults() override;

    // The whole sending: the settings, the password, the first run, then the window (modal).
    // False when nothing was tried (no settings, password question cancelled, database error).
    bool SendAndShow(const QStringList& keys);
    // One run over the waiting entries, with the progress window; the list refilled.
    void RunOnce();
    void RetryFailed();

    const PlanMailRun& run() const { return *m_run; }
    // How long a run lasts before its progress window appears (tests set 0).
    int progressDelayMs = 500;
    // Set by tests: the window is not shown modally after the first run.
    bool showModal = true;

private:
    void refill();

    TmyDataBase& m_db;
    Dialogs& m_dialogs;
    int m_year;
    std::unique_ptr<PlanMailRun> m_run;
    std::unique_ptr<SmtpSettings> m_settings;
    QLabel* m_summary;
    QTreeWidget* m_list;
    QPushButton* m_retry;
    QPushButton* m_close;
};

} // namespace zf
