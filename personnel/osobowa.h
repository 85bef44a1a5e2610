#pragma once

#include "personnel/records.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace zf {

class Dialogs;
class TmyDataBase;
struct ProgramOptions;

// The personnel card "Kartoteka osobowa": one employee's fields. "&Zapisz" runs the checks of
// the card; what is done with an accepted card is up to the caller (EmployeeRecords).
class TfOsobowa final : public QDialog, public EmployeeCard
{
    Q_OBJECT
public:
    // `editDictionaries` runs for "[...]"; the unit list follows DBFUnits whenever it changes.
    TfOsobowa(TmyDataBase& db, Dialogs& dialogs, const ProgramOptions& options,
              std::function<void()> editDictionaries, QWidget* parent = nullptr);

    // EmployeeCard
    void setData(const EmployeeData& data) override;
    EmployeeData data() const override;
    bool showModal() override;
    void setNumberEnabled(bool enabled) override;
    void focusField(CardField field) override;
    void setEditable(bool editable) override;

    bool accepted() const { return m_accepted; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void save();
    void reloadUnits();
    void setUnit(int key);

    TmyDataBase& m_db;
    Dialogs& m_dialogs;
    const ProgramOptions& m_options;
    std::function<void()> m_editDictionaries;
    bool m_accepted = false;
    // The unit key the card holds; it survives a unit missing from the list (deleted), so that
    // saving other changes does not drop it.
    int m_unit = -1;
    // The file name was proposed for this card's data already: a clerk who cleared it has
    // chosen an empty field.
    bool m_fileNameProposed = false;
    // The mouse press that gave the file name field its focus and its proposal.
    bool m_eatClick = false;

    QLineEdit* m_id;
    QLineEdit* m_surname;
    QLineEdit* m_name;
    QLineEdit* m_email;
    QLineEdit* m_pwd;
    QComboBox* m_unitList;
    QLineEdit* m_fileName;
    QCheckBox* m_showPwd;
    QCheckBox* m_dismissed;
    QPushButton* m_save;
    QPushButton* m_cancel;
    QPushButton* m_dictionaries;
    QPushButton* m_noUnit;
};

} // namespace zf
