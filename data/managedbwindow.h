#pragma once

#include "data/managedb.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace zf {

class Dialogs;
class TmyDataBase;

// The database management window: quick creation of a local database, creation on a database
// server, or choice of an existing database. Every showing refills it from the module's
// connection settings; a success changes them and closes the window.
class TfManageDB : public QDialog
{
    Q_OBJECT
public:
    TfManageDB(TmyDataBase& db, Dialogs& dialogs, const QString& programFolder,
               const QString& dataFolder, QWidget* parent = nullptr);

    // Shows the window modally; the caller reads the module's settings and connection after.
    void ShowDatabaseManagement();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void QuickCreate();
    void CreateDatabase();
    void OpenExisting();
    void BrowseCreate();
    void BrowseOpen();

    void fieldsToLogic();
    void logicToFields();
    void apply(const ManageDatabase::Outcome& outcome);
    QLineEdit* editOf(ManageDatabase::Field field) const;

    ManageDatabase m_logic;

    QTabWidget* m_tabs = nullptr;
    QWidget* m_tabQuick = nullptr;
    QWidget* m_tabAdvanced = nullptr;
    QLabel* m_currentLocation = nullptr;
    QLineEdit* m_crName = nullptr;
    QLineEdit* m_crUser = nullptr;
    QLineEdit* m_crPassword = nullptr;
    QLineEdit* m_opName = nullptr;
    QLineEdit* m_opUser = nullptr;
    QLineEdit* m_opPassword = nullptr;
    QPlainTextEdit* m_help = nullptr;
};

} // namespace zf
