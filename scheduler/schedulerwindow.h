#pragma once

#include "scheduler/deadlines.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace zf {

class Dialogs;
class TDateField;
class TmyDataBase;

// The deadline editor "Edytuj termin": kind, date, employee, description, other information and
// the active flag. "&Zapisz" tests the date; what is done with a saved editor is up to the
// caller (Deadlines).
class TfScheduler final : public QDialog, public DeadlineEditor
{
    Q_OBJECT
public:
    // `editKinds` runs for "[...]" (the dictionary window on the kinds of deadline); the pick
    // lists follow DBFTermClass and DBFEmployeesPrompt whenever they change.
    TfScheduler(TmyDataBase& db, Dialogs& dialogs, std::function<void()> editKinds,
                QWidget* parent = nullptr);

    // DeadlineEditor
    void setData(const DeadlineData& data) override;
    DeadlineData data() const override;
    bool showModal() override;
    void setEditable(bool editable) override;
    void focusDate() override;

    bool accepted() const { return m_accepted; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void save();
    void reloadKinds();
    void reloadEmployees();
    void setKind(int key);
    void setEmployee(const QString& id);

    TmyDataBase& m_db;
    Dialogs& m_dialogs;
    std::function<void()> m_editKinds;
    bool m_accepted = false;
    // The keys the editor holds; they survive an entry missing from its list, so that saving
    // other changes does not drop them.
    int m_kind = 0;
    QString m_employee;

    QComboBox* m_kindList;
    TDateField* m_date;
    QComboBox* m_employeeList;
    QPlainTextEdit* m_description;
    QLineEdit* m_other;
    QCheckBox* m_active;
    QPushButton* m_save;
    QPushButton* m_cancel;
    QPushButton* m_dictionaries;
    QPushButton* m_noKind;
    QPushButton* m_noEmployee;
};

} // namespace zf
