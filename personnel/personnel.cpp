#include "personnel/personnel.h"

#include "data/mydatabase.h"
#include "personnel/biblioteka.h"
#include "personnel/osobowa.h"

namespace zf {

TPersonnel::TPersonnel(TmyDataBase& db, Dialogs& dialogs, const ProgramOptions& options,
                       QString dataFolder, QWidget* parent)
    : m_db(db), m_records(db, dialogs, options, std::move(dataFolder)),
      m_entry(std::make_unique<TfEditBibliotekaAll>(dialogs, parent)),
      m_dictionaries(std::make_unique<TfBiblioteka>(db, dialogs, options, *m_entry, parent)),
      m_card(std::make_unique<TfOsobowa>(
          db, dialogs, options, [this] { ShowDictionaries(); }, parent))
{
}

TPersonnel::~TPersonnel() = default;

void TPersonnel::View()
{
    m_records.ViewEmployee(*m_card);
}

void TPersonnel::Add(bool copy)
{
    m_records.AddEmployee(*m_card, copy);
}

void TPersonnel::Edit()
{
    m_records.EditEmployee(*m_card);
}

void TPersonnel::Delete()
{
    m_records.DeleteEmployee();
}

void TPersonnel::ShowDictionaries()
{
    m_dictionaries->ShowDictionaries(1);
    m_db.Reopen(m_db.DBFUnits);
    // Renamed or deleted units show at once in the personnel list.
    if (m_db.DBFEmployees.isOpen())
        m_db.Reopen(m_db.DBFEmployees);
}

} // namespace zf
