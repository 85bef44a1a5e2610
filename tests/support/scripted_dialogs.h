#pragma once

#include "util/dialogs.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace zf::test {

// The dialogs of the program with answers given in advance. Everything shown is recorded in
// order; a question or choice with no scripted answer fails the running test.
class ScriptedDialogs : public Dialogs
{
public:
    enum class Kind { Information, Question, Choice, Prompt, OpenFile, SaveFile, Directory };
    struct Shown
    {
        Kind kind;
        QString caption;
        QString text; // for the file dialogs: the start path they were given
    };

    void answer(bool yes) { m_answers.push_back(yes ? Answer::Yes : Answer::No); }
    // Also for the questions with "Anuluj"; a plain question given Cancel fails the test.
    void answer(Answer a) { m_answers.push_back(a); }
    // The place of the button chosen at the next choice.
    void answerChoice(int button) { m_choices.push_back(button); }
    void answerPrompt(std::optional<QString> text) { m_prompts.push_back(std::move(text)); }
    // Called with each information text as it is shown: what holds while the clerk reads it.
    std::function<void(const QString&)> whileInformationShows;
    void chooseFile(const QString& path) { m_files.push_back(path); }

    const std::vector<Shown>& shown() const { return m_shown; }
    // The texts of the information windows, in order.
    QStringList informationTexts() const;
    QStringList questionTexts() const;
    QStringList choiceTexts() const;
    bool allAnswersUsed() const { return m_answers.empty() && m_choices.empty() && m_prompts.empty() && m_files.empty(); }
    void clear();

    void information(const QString& caption, const QString& text) override;
    bool question(const QString& caption, const QString& text) override;
    int choose(const QString& caption, const QString& text, const QStringList& buttons,
               int defaultButton) override;
    Answer questionWithCancel(const QString& caption, const QString& text) override;
    bool prompt(const QString& caption, const QString& label, QString& value,
                bool masked) override;
    QString openFileName(const QString& title, const QString& startPath,
                         const QStringList& filters) override;
    QString saveFileName(const QString& title, const QString& startPath,
                         const QStringList& filters, const QString& defaultSuffix) override;
    QString existingDirectory(const QString& title, const QString& startPath) override;

private:
    QString nextFile(Kind kind, const QString& title, const QString& startPath);

    std::vector<Shown> m_shown;
    std::deque<Answer> m_answers;
    std::deque<int> m_choices;
    std::deque<std::optional<QString>> m_prompts;
    std::deque<QString> m_files;
};

} // namespace zf::test
