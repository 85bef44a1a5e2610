#pragma once

#include <QString>

#include <optional>

namespace zf {

class Dialogs;
class TmyDataBase;
struct ProgramOptions;

namespace fb {
class DataSet;
}

// One employee as the personnel card shows it.
struct EmployeeData
{
    QString id; // personnel number
    QString surname;
    QString name;
    QString email;
    QString pwd;
    int unit = -1;          // IDDICTIONARY of the unit, -1 for none
    QString fileName;       // without ".zfpn"
    bool dismissed = false; // "Pracownik zwolniony": ACT "N"

    bool operator==(const EmployeeData&) const = default;

    // The current row of the employees list; an empty list gives a new employee.
    static EmployeeData fromCurrentRow(const fb::DataSet& list);
};

enum class CardField
{
    Number,
    Surname,
    Name,
    Email,
    Password,
    Unit,
    FileName,
    Dismissed
};

// What the operations need from the personnel card, so that the "show it again with everything
// kept" loops run headless against a scripted card.
class EmployeeCard
{
public:
    virtual ~EmployeeCard() = default;

    virtual void setData(const EmployeeData& data) = 0;
    virtual EmployeeData data() const = 0;
    // Shows the card modally with what it holds; true when it was closed by "&Zapisz".
    virtual bool showModal() = 0;
    virtual void setNumberEnabled(bool enabled) = 0;
    virtual void focusField(CardField field) = 0;
    // Viewing (false) or editing (true).
    virtual void setEditable(bool editable) = 0;
};

struct CardProblem
{
    CardField field;
    QString message;
};

// The checks of "&Zapisz" in their order; the first one that fails.
std::optional<CardProblem> CheckEmployeeCard(const EmployeeData& data, bool sprawdzHaslo);

// "&Zapisz" of the card: a failed check is shown ("Uwaga") and its field focused; when all pass
// the number in `data` is trimmed and true is returned.
bool ConfirmEmployeeCard(EmployeeCard& card, EmployeeData& data, bool sprawdzHaslo,
                         Dialogs& dialogs);

// The personnel records: adding, copying, editing, viewing and deleting employees over the
// shared employees list.
class EmployeeRecords
{
public:
    EmployeeRecords(TmyDataBase& db, Dialogs& dialogs, const ProgramOptions& options,
                    QString dataFolder);

    void AddEmployee(EmployeeCard& card, bool copy);
    void EditEmployee(EmployeeCard& card);
    void ViewEmployee(EmployeeCard& card);
    void DeleteEmployee();

    static const QString kDuplicateNumber;
    static const QString kDuplicateFileName;
    static const QString kInvalidFileName;
    static const QString kDeleteQuestion;
    static const QString kEmployeeInPlan;

    static constexpr int kCodeAdd = 9;
    static constexpr int kCodeEdit = 15;
    static constexpr int kCodeDelete = 16;

private:
    // The file-name tests of adding and of a changed name in editing; shows the message.
    // `ownId`: the employee being edited, whose own name does not count as taken.
    bool fileNameAccepted(const QString& fileName, const QString& ownId = QString());
    // Whether another employee's plan file name is the same file (FileNameKey); true when the
    // database cannot tell, so a doubtful name is refused.
    bool fileNameTaken(const QString& fileName, const QString& ownId);
    void showEmployee(const QString& id);

    TmyDataBase& m_db;
    Dialogs& m_dialogs;
    const ProgramOptions& m_options;
    QString m_dataFolder;
};

} // namespace zf
