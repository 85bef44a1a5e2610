#pragma once

#include "personnel/records.h"

#include <QString>

#include <memory>

class QWidget;

namespace zf {

class Dialogs;
class TfBiblioteka;
class TfEditBibliotekaAll;
class TfOsobowa;
class TmyDataBase;
struct ProgramOptions;

// The personnel records and the dictionaries as the main window reaches them: the card, the
// dictionary window and its edit window, created once and kept for the whole run.
class TPersonnel
{
public:
    TPersonnel(TmyDataBase& db, Dialogs& dialogs, const ProgramOptions& options, QString dataFolder,
               QWidget* parent = nullptr);
    ~TPersonnel();
    TPersonnel(const TPersonnel&) = delete;
    TPersonnel& operator=(const TPersonnel&) = delete;

    // The generic commands of the personnel page, on the current row of DBFEmployees.
    void View();
    void Add(bool copy);
    void Edit();
    void Delete();

    // The dictionary window on its first dictionary ("Słowniki" and the card's "[...]").
    void ShowDictionaries();

    TfOsobowa& card() { return *m_card; }
    TfBiblioteka& dictionaryWindow() { return *m_dictionaries; }
    TfEditBibliotekaAll& entryWindow() { return *m_entry; }

private:
    TmyDataBase& m_db;
    EmployeeRecords m_records;
    std::unique_ptr<TfEditBibliotekaAll> m_entry;
    std::unique_ptr<TfBiblioteka> m_dictionaries;
    std::unique_ptr<TfOsobowa> m_card;
};

} // namespace zf
