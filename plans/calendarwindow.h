#pragma once

#include <QDialog>

class QComboBox;
class QLabel;

namespace zf {

class Dialogs;
class TmyDataBase;
class TYearCalendarSelector;

// "Kalendarz dni wolnych od pracy": the non-working days of one plan year, ticked in the year
// selector and saved together.
class TfCalendar : public QDialog
{
    Q_OBJECT
public:
    TfCalendar(TmyDataBase& db, Dialogs& dialogs, QWidget* parent = nullptr);

    // Shows the stored days of `year`; true when they were saved.
    bool Execute(int year);
    bool saved() const { return m_saved; }
    TYearCalendarSelector& selector() { return *m_selector; }

    static const QString kFileHelp;

    // The commands, as their buttons run them.
    void markWeekdays();
    void markHolidays();
    void readFile();
    void showFileHelp();
    void clearAll();
    void saveChanges();

private:
    TmyDataBase& m_db;
    Dialogs& m_dialogs;
    TYearCalendarSelector* m_selector;
    QComboBox* m_weekDay;
    QLabel* m_yearLabel;
    int m_year = 0;
    bool m_saved = false;
};

} // namespace zf
