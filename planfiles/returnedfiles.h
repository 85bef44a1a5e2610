#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace zf {

class Dialogs;
class TmyDataBase;

// One file picked with "Dodaj pliki…" and what became of it.
struct ReturnedFile
{
    QString source;
    bool added = false;
    QString employee; // "Name Surname (key)" when the file names a plan employee
    QString reason;   // why it was not added
};

// "Dodaj pliki…" of "Wczytaj wypełnione": plan files the employees sent back, picked anywhere
// (the folder where a mail program saved the attachments), checked and copied into the plan
// folder under the employee's file name, so that the usual scan offers them. A file is taken
// when it is a plan file of this plan's year, of an employee of the plan, saved by the employee
// (its stamp differs from the database's); when the plan folder already holds another file that
// employee saved and that has not been read, the clerk chooses which to keep.
class ReturnedFilesIntake
{
public:
    ReturnedFilesIntake(TmyDataBase& db, Dialogs& dialogs, int year);

    // False (reported) when the plan could not be read; `out` gets one entry per path.
    bool Add(const QStringList& paths, std::vector<ReturnedFile>& out);

    // The summary shown after Add: the files added and every refusal with its reason.
    static QString Summary(const std::vector<ReturnedFile>& files);

private:
    TmyDataBase& m_db;
    Dialogs& m_dialogs;
    int m_year;
};

} // namespace zf
