#pragma once

#include <QWidget>

#include <functional>
#include <map>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;

namespace zf {

namespace fb {
class DataSet;
}
class TDMRaporty;
class TDateField;

// The reports page: the filters and buttons of the printed documents. The pick lists follow the
// shared lists of plans, units and employees.
class TReportsPage : public QWidget
{
    Q_OBJECT
public:
    TReportsPage(fb::DataSet& plans, fb::DataSet& units, fb::DataSet& employees,
                 QWidget* parent = nullptr);

    // Back to the start-up state: whole year, nothing chosen, today's date everywhere.
    void resetFilters(const QDate& today);

    QComboBox* filtrPlanUrlopowy;
    QComboBox* filtrMiesiac;
    QComboBox* filtrZespol;
    QComboBox* filtrPracownik;
    QComboBox* filtrDlaPracownika;
    QComboBox* filtrRodzajWniosku;
    // The masked fields of the three dates and their pickers.
    QLineEdit* dataWydruku;
    QLineEdit* filtrUrlopOd;
    QLineEdit* filtrUrlopDo;
    QLineEdit* filtrIleDni;
    QDateEdit* DTPDataWydruku;
    QDateEdit* DTPUrlopOd;
    QDateEdit* DTPUrlopDo;
    QPushButton* SBGrafikMiesiac;
    QPushButton* SBGrafikRok;
    QPushButton* SBZestawienie;
    QPushButton* SBWniosek;
    QPushButton* SBOswiadczenie;

    // Chosen keys: the plan year (0 none), unit (0 none), employees ("" none).
    int planYear() const;
    int unit() const;
    QString employee() const;
    QString formEmployee() const;

    // The five report buttons' commands, by objectName, reading the filters into the report
    // data when pressed. A form refused for one of its dates puts the focus in that field.
    std::map<QString, std::function<void()>> ReportCommands(TDMRaporty& dm);

private:
    TDateField* dateField(const QString& name, const QString& pickerName);
    void fillFromList(QComboBox* box, fb::DataSet& list, const QString& keyField,
                      const QString& textField);

    TDateField* m_printDate;
    TDateField* m_from;
    TDateField* m_to;
};

} // namespace zf
