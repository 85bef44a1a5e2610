#pragma once

#include "archiwizacja/archiver.h"
#include "archiwizacja/settings.h"

#include <QWidget>

#include <functional>
#include <optional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace zf {
class Dialogs;
}

namespace zf::archive {

// The archiving tool's only window: the current database, a backup into a chosen file, a
// restore of a chosen backup into a new database file, gbak's progress and its last lines.
class TfArchiwizacja : public QWidget
{
    Q_OBJECT
public:
    struct Inputs
    {
        std::optional<Settings> settings; // nullopt: `settingsError` says why
        QString settingsError;
        bool fromZefirant = false; // started by Zefirant PL+ ("ZF")
        // Whether the program is open on this computer now (its single-copy lock); unset, the
        // "ZF" argument stands for it.
        std::function<bool()> programRunning;
    };

    TfArchiwizacja(Dialogs& dialogs, Inputs inputs, QWidget* parent = nullptr);
    ~TfArchiwizacja() override;

    // Null when the settings could not be read (both buttons are then disabled).
    Archiver* archiver() { return m_archiver; }

    // The note above the buttons says again whether the program is open: it may have been
    // closed since, which is what the note asks for.
    void refreshHint();

signals:
    // After every finished backup or restore, once its message has been shown.
    void operationFinished(const zf::archive::Archiver::Result& result);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void SBKopiaClick();
    void SBOdtworzClick();
    void started(const QString& status);
    void appendLog(const QString& line);
    void onFinished(const Archiver::Result& result);
    void setRunning(bool running);

    Dialogs& m_dialogs;
    Inputs m_inputs;
    Archiver* m_archiver = nullptr;
    QString m_backupFolder; // where the last backup went; the next one is proposed there
    bool m_shown = false;
    bool m_closing = false;

    QLineEdit* fLokalizacja;
    QLineEdit* fUzytkownik;
    QLabel* lUwaga;
    QPushButton* SBKopia;
    QPushButton* SBOdtworz;
    QPushButton* SBZamknij;
    QLabel* lStatus;
    QProgressBar* pbPostep;
    QPlainTextEdit* mLog;
};

} // namespace zf::archive
