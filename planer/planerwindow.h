#pragma once

#include "app/manualwindow.h"
#include "planer/planeditor.h"

#include <QMainWindow>
#include <QPointer>

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;

namespace zf {

class Dialogs;
class TYearCalendarSelector;

// "Mój plan urlopowy na rok Y": the employee's window over one leave-plan file. It shows the
// employee, the entitlement and the office's comment, lets the days be chosen in the year
// calendar selector (non-working days without a tick box, unchangeable days fixed), counts them
// against the entitlement and lists the runs of leave. The logic is TPlanEditor's.
class TfPlaner : public QMainWindow
{
    Q_OBJECT
public:
    explicit TfPlaner(Dialogs& dialogs, QWidget* parent = nullptr);
    ~TfPlaner() override;

    // Opens a plan file, first offering to save the changes of the one open. After three wrong
    // passwords the window closes.
    TPlanEditor::OpenResult OpenFile(const QString& path);
    // "Otwórz…": a file chosen among *.zfpn files.
    void ChooseFile();
    // "Zapisz"; true when saved.
    bool Save();
    // "Wyślij do działu kadr…": the plan saved first when changed, then the mail composer.
    void SendToOffice();
    // The mail composer tool and where it is looked for (tests).
    void SetMailTool(const QString& name, const QStringList& searchPaths);
    // "Pomoc" (F1): the manual shipped beside the program, at the employees' chapter.
    void ShowHelp();
    // The manual's file, beside the program; tests point it elsewhere.
    QString manualPath;
    TfInstrukcja* manualWindow() const { return m_manual; }

    const TPlanEditor& editor() const { return m_editor; }
    TYearCalendarSelector* selector() const { return m_selector; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void build();
    // Everything from the editor: the heading, the figures, the comment and the calendar.
    void showPlan();
    // The count and the runs.
    void showChoice();
    // After a tick: the editor takes the calendar's days; what it keeps otherwise is put back.
    void takeCalendarChoice();

    Dialogs& m_dialogs;
    TPlanEditor m_editor;
    bool m_choicePending = false;
    // The window closes without asking again (the password was refused).
    bool m_closeQuietly = false;

    QLabel* m_hint = nullptr;
    QLineEdit* m_employee = nullptr;
    QLineEdit* m_lastYear = nullptr;
    QLineEdit* m_thisYear = nullptr;
    QLineEdit* m_summary = nullptr;
    QPlainTextEdit* m_comment = nullptr;
    QWidget* m_planArea = nullptr;
    QScrollArea* m_scroll = nullptr;
    TYearCalendarSelector* m_selector = nullptr;
    QLabel* m_calendarLabel = nullptr;
    QLabel* m_count = nullptr;
    QLabel* m_laborCode = nullptr;
    QListWidget* m_runs = nullptr;
    QPushButton* m_open = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_close = nullptr;
    QPushButton* m_send = nullptr;
    QString m_mailTool = QStringLiteral("xdg-email");
    QStringList m_mailSearchPaths;
    QPushButton* m_help = nullptr;
    QPointer<TfInstrukcja> m_manual;
};

} // namespace zf
