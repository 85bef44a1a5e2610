#pragma once

#include "util/dialogs.h"

#include <memory>

class QWidget;

namespace zf {

class TinfoForm;
class TpromptForm;
class TquestionForm;

// The dialogs of the program on screen: messages, questions and prompts through the program's
// own windows, file choices through Qt's file dialog.
class QtDialogs final : public Dialogs
{
public:
    // With its own information, question and prompt windows. File dialogs open over `parent`.
    explicit QtDialogs(QWidget* parent = nullptr);
    // With the windows created at start-up; they must outlive this object.
    QtDialogs(TinfoForm& info, TquestionForm& question, TpromptForm& prompt,
              QWidget* parent = nullptr);
    ~QtDialogs() override;
    QtDialogs(const QtDialogs&) = delete;
    QtDialogs& operator=(const QtDialogs&) = delete;

    // While set, information() shows nothing and returns at once (the program is ending).
    void setEnding(bool ending);
    bool ending() const;

    TinfoForm& infoForm() { return *m_info; }
    TquestionForm& questionForm() { return *m_question; }
    TpromptForm& promptForm() { return *m_prompt; }
    void setParent(QWidget* parent) { m_parent = parent; }

    void information(const QString& caption, const QString& text) override;
    bool question(const QString& caption, const QString& text) override;
    int choose(const QString& caption, const QString& text, const QStringList& buttons,
               int defaultButton) override;
    Answer questionWithCancel(const QString& caption, const QString& text) override;
    bool prompt(const QString& caption, const QString& label, QString& value, bool masked) override;
    // Only an existing file can be chosen.
    QString openFileName(const QString& title, const QString& startPath,
                         const QStringList& filters) override;
    QStringList openFileNames(const QString& title, const QString& startPath,
                              const QStringList& filters) override;
    // Asks before overwriting an existing file; a name typed without suffix gets the default
    // one (given with or without its dot).
    QString saveFileName(const QString& title, const QString& startPath, const QStringList& filters,
                         const QString& defaultSuffix) override;
    QString existingDirectory(const QString& title, const QString& startPath) override;

private:
    std::unique_ptr<TinfoForm> m_ownInfo;
    std::unique_ptr<TquestionForm> m_ownQuestion;
    std::unique_ptr<TpromptForm> m_ownPrompt;
    TinfoForm* m_info;
    TquestionForm* m_question;
    TpromptForm* m_prompt;
    QWidget* m_parent;
};

} // namespace zf
