#include "personnel/records.h"

#include "data/programoptions.h"
#include "data/mydatabase.h"
#include "personnel/filename.h"
#include "util/dialogs.h"

#include <QDir>

namespace zf {

namespace {

const QString kTable = QStringLiteral("EMPLOYEES");
const QString kActive = QStringLiteral("T");
const QString kDismissed = QStringLiteral("N");
// The engine's SQLCODE for a row still referred to by a foreign key.
constexpr int kForeignKeyViolation = -530;

Params employeeParams(const EmployeeData& d)
{
    return {{QStringLiteral("IDEMPLOYEE"), d.id},
            {QStringLiteral("PWD"), d.pwd},
            {QStringLiteral("IDDICUNIT"), d.unit},
            {QStringLiteral("SURNAME"), d.surname},
            {QStringLiteral("NAME"), d.name},
            {QStringLiteral("EMAIL"), d.email},
            {QStringLiteral("FILENAME"), d.fileName},
            {QStringLiteral("ACT"), d.dismissed ? kDismissed : kActive}};
}

} // namespace

const QString EmployeeRecords::kDuplicateNumber =
    QStringLiteral("Istnieje już osoba o podanym numerze ewidencyjnym");
const QString EmployeeRecords::kDuplicateFileName =
    QStringLiteral("Nazwa pliku została już przypisana innemu pracownikowi. Podaj inną nazwę.");
const QString EmployeeRecords::kInvalidFileName =
    QStringLiteral("Niepoprawna nazwa pliku. Podaj inną nazwę.");
const QString EmployeeRecords::kDeleteQuestion =
    QStringLiteral("Czy na pewno usunąć zaznaczoną pozycję?");
const QString EmployeeRecords::kEmployeeInPlan = QStringLiteral(
    "Nie można usunąć tego pracownika, ponieważ bierze udział w planie urlopowym. Jeśli "
    "pracownik już nie pracuje, zaznacz w jego kartotece pole \"Pracownik zwolniony\".");

EmployeeData EmployeeData::fromCurrentRow(const fb::DataSet& list)
{
    EmployeeData d;
    if (list.isEmpty())
        return d;
    d.id = list.asString(QStringLiteral("IDEMPLOYEE"));
    d.pwd = list.asString(QStringLiteral("PWD"));
    d.unit = list.value(QStringLiteral("IDDICUNIT")).isNull()
                 ? -1
                 : list.asInteger(QStringLiteral("IDDICUNIT"));
    d.dismissed = list.asString(QStringLiteral("ACT")) == kDismissed;
    d.surname = list.asString(QStringLiteral("SURNAME"));
    d.name = list.asString(QStringLiteral("NAME"));
    d.email = list.asString(QStringLiteral("EMAIL"));
    d.fileName = list.asString(QStringLiteral("FILENAME"));
    return d;
}

std::optional<CardProblem> CheckEmployeeCard(const EmployeeData& d, bool sprawdzHaslo)
{
    if (sprawdzHaslo && text::TrimLength(d.pwd) == 0)
        return CardProblem{CardField::Password,
                           QStringLiteral("Nie podano hasła dostępu do pliku planu urlopowego dla "
                                          "pracownika. Popraw pole")};
    if (d.id.contains(QLatin1Char('"')))
        return CardProblem{CardField::Number,
                           QStringLiteral("Numer ewidencyjny nie może zawierać znaku cudzysłowia: "
                                          "\". Popraw pole")};
    if (text::TrimLength(d.id) == 0)
        return CardProblem{CardField::Number,
                           QStringLiteral("Nie wprowadzono numeru ewidencyjnego. Popraw pole")};
    if (text::TrimLength(d.surname) == 0)
        return CardProblem{CardField::Surname,
                           QStringLiteral("Nie wprowadzono nazwiska. Popraw pole")};
    if (text::TrimLength(d.fileName) == 0)
        return CardProblem{CardField::FileName,
                           QStringLiteral("Brak nazwy pliku kalendarza. Popraw pole")};
    return std::nullopt;
}

bool ConfirmEmployeeCard(EmployeeCard& card, EmployeeData& data, bool sprawdzHaslo,
                         Dialogs& dialogs)
{
    if (const auto problem = CheckEmployeeCard(data, sprawdzHaslo)) {
        dialogs.information(kCaptionWarning, problem->message);
        card.focusField(problem->field);
        return false;
    }
    data.id = data.id.trimmed();
    return true;
}

EmployeeRecords::EmployeeRecords(TmyDataBase& db, Dialogs& dialogs, const ProgramOptions& options,
                                 QString dataFolder)
    : m_db(db), m_dialogs(dialogs), m_options(options), m_dataFolder(std::move(dataFolder))
{
}

bool EmployeeRecords::fileNameTaken(const QString& fileName, const QString& ownId)
{
    const QString key = FileNameKey(fileName);
    bool taken = false;
    const bool ok = m_db.Utility(kCodeEdit, [&](fb::Statement& st) {
        st.setSql(QStringLiteral("SELECT IDEMPLOYEE, FILENAME FROM EMPLOYEES"));
        st.execute();
        while (!taken && st.fetch())
            taken = FileNameKey(st.value(1).toString()) == key &&
                    (ownId.isNull() || st.value(0).toString() != ownId);
        st.close();
    });
    return !ok || taken;
}

bool EmployeeRecords::fileNameAccepted(const QString& fileName, const QString& ownId)
{
    if (fileNameTaken(fileName, ownId)) {
        m_dialogs.information(kCaptionWarning, kDuplicateFileName);
        return false;
    }
    // The trial file goes to "debug"; without that folder every name would look invalid.
    QDir().mkpath(m_dataFolder + QStringLiteral("/debug"));
    if (!IsValidFileName(fileName, m_dataFolder)) {
        m_dialogs.information(kCaptionWarning, kInvalidFileName);
        return false;
    }
    return true;
}

void EmployeeRecords::showEmployee(const QString& id)
{
    m_db.OpenEmployees();
    m_db.LocateByText(m_db.DBFEmployees, QStringLiteral("IDEMPLOYEE"), id);
}

void EmployeeRecords::AddEmployee(EmployeeCard& card, bool copy)
{
    try {
        m_db.Reopen(m_db.DBFUnits);
        EmployeeData data;
        if (copy) {
            data = EmployeeData::fromCurrentRow(m_db.DBFEmployees);
            data.id.clear();
            data.fileName.clear();
        }
        card.setNumberEnabled(true);
        card.setData(data);
        // Each refusal shows the card again as the clerk left it.
        while (card.showModal()) {
            data = card.data();
            if (!fileNameAccepted(data.fileName))
                continue;
            bool duplicate = false;
            const bool written =
                m_db.Write(TmyDataBase::DBFUEmployees.insertSql, employeeParams(data), kCodeAdd,
                           [&duplicate](const fb::Error& e) {
                               duplicate = e.isDuplicateKey();
                               return duplicate;
                           });
            if (written) {
                showEmployee(data.id);
                return;
            }
            if (duplicate)
                m_dialogs.information(kCaptionWarning, kDuplicateNumber);
        }
    } catch (const Exception& e) {
        m_db.ReportUnexpectedError(e.message(), true, kCodeAdd);
    }
}

void EmployeeRecords::EditEmployee(EmployeeCard& card)
{
    try {
        card.setNumberEnabled(false);
        m_db.Reopen(m_db.DBFUnits);
        if (m_db.DBFEmployees.isEmpty())
            return;
        const EmployeeData stored = EmployeeData::fromCurrentRow(m_db.DBFEmployees);
        card.setData(stored);
        while (card.showModal()) {
            EmployeeData data = card.data();
            if (data.fileName != stored.fileName && !fileNameAccepted(data.fileName, stored.id))
                continue;
            // The number cannot be edited here. The card trims it, so a number stored with
            // blanks around it would come back changed: the stored one is kept.
            data.id = stored.id;
            Params params = employeeParams(data);
            params.emplace_back(QStringLiteral("KEYIDEMPLOYEE"), stored.id);
            if (m_db.Write(TmyDataBase::DBFUEmployees.updateSql, params, kCodeEdit))
                showEmployee(stored.id);
            return;
        }
    } catch (const Exception& e) {
        m_db.ReportUnexpectedError(e.message(), true, kCodeEdit);
    }
}

void EmployeeRecords::ViewEmployee(EmployeeCard& card)
{
    try {
        m_db.Reopen(m_db.DBFUnits);
        if (m_db.DBFEmployees.isEmpty())
            return;
        card.setData(EmployeeData::fromCurrentRow(m_db.DBFEmployees));
        card.setEditable(false);
        card.showModal();
        card.setEditable(true);
    } catch (const Exception& e) {
        card.setEditable(true);
        m_db.ReportUnexpectedError(e.message(), true, kCodeEdit);
    }
}

void EmployeeRecords::DeleteEmployee()
{
    try {
        if (m_db.DBFEmployees.isEmpty())
            return;
        if (m_options.pytajPrzedKasowaniem &&
            !m_dialogs.question(kCaptionQuestion, kDeleteQuestion))
            return;
        const QString id = m_db.DBFEmployees.asString(QStringLiteral("IDEMPLOYEE"));
        bool inPlan = false;
        const bool deleted = m_db.Write(
            TmyDataBase::DBFUEmployees.deleteSql, {{QStringLiteral("KEYIDEMPLOYEE"), id}},
            kCodeDelete, [&inPlan](const fb::Error& e) {
                inPlan = e.sqlCode() == kForeignKeyViolation || e.gdsCode() == isc_foreign_key;
                return inPlan;
            });
        if (deleted)
            m_db.Reopen(m_db.DBFEmployees);
        else if (inPlan)
            m_dialogs.information(kCaptionWarning, kEmployeeInPlan);
    } catch (const Exception& e) {
        m_db.ReportUnexpectedError(e.message(), true, kCodeDelete);
    }
}

} // namespace zf
