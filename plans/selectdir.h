#pragma once

#include <QDialog>
#include <QString>

class QComboBox;
class QFileSystemModel;
class QPushButton;
class QTreeView;

namespace zf {

class Dialogs;

// "Wybierz lokalizację": a root selector (the file system root, the home folder and the mounted
// volumes) over a folder tree; the chosen folder is the tree's current folder.
class TfSelectDir : public QDialog
{
    Q_OBJECT
public:
    explicit TfSelectDir(Dialogs& dialogs, QWidget* parent = nullptr);
    ~TfSelectDir() override;

    // Shows the window modally starting at `start` (when it is a folder); true when it was
    // closed with "&OK", and folder() is then the chosen folder.
    bool Execute(const QString& start);
    bool result() const { return m_result; }
    QString folder() const { return m_folder; }

    // The tree's current folder, and moving it (the root following the path).
    QString currentFolder() const;
    bool setCurrentFolder(const QString& path);
    // "Nowy folder": asks for a name and creates the folder below the current one.
    void NewFolder();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fillRoots();
    void rootChosen(int index);
    void confirm();

    Dialogs& m_dialogs;
    bool m_result = false;
    QString m_folder;
    QComboBox* m_roots;
    QFileSystemModel* m_model;
    QTreeView* m_tree;
    QPushButton* m_newFolder;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};

} // namespace zf
