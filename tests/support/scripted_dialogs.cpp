#include "tests/support/scripted_dialogs.h"

#include <gtest/gtest.h>

namespace zf::test {

QStringList ScriptedDialogs::informationTexts() const
{
    QStringList out;
    for (const Shown& s : m_shown)
        if (s.kind == Kind::Information)
            out << s.text;
    return out;
}

QStringList ScriptedDialogs::questionTexts() const
{
    QStringList out;
    for (const Shown& s : m_shown)
        if (s.kind == Kind::Question)
            out << s.text;
    return out;
}

QStringList ScriptedDialogs::choiceTexts() const
{
    QStringList out;
    for (const Shown& s : m_shown)
        if (s.kind == Kind::Choice)
            out << s.text;
    return out;
}

void ScriptedDialogs::clear()
{
    m_shown.clear();
    m_answers.clear();
    m_choices.clear();
    m_prompts.clear();
    m_files.clear();
}

void ScriptedDialogs::information(const QString& caption, const QString& text)
{
    m_shown.push_back({Kind::Information, caption, text});
    if (whileInformationShows)
        whileInformationShows(text);
}

bool ScriptedDialogs::question(const QString& caption, const QString& text)
{
    m_shown.push_back({Kind::Question, caption, text});
    if (m_answers.empty()) {
        ADD_FAILURE() << "Unexpected question: " << text.toStdString();
        return false;
    }
    const Answer a = m_answers.front();
    m_answers.pop_front();
    if (a == Answer::Cancel)
        ADD_FAILURE() << "\"Anuluj\" scripted for a question without it: " << text.toStdString();
    return a == Answer::Yes;
}

Dialogs::Answer ScriptedDialogs::questionWithCancel(const QString& caption, const QString& text)
{
    m_shown.push_back({Kind::Question, caption, text});
    if (m_answers.empty()) {
        ADD_FAILURE() << "Unexpected question: " << text.toStdString();
        return Answer::Cancel;
    }
    const Answer a = m_answers.front();
    m_answers.pop_front();
    return a;
}

int ScriptedDialogs::choose(const QString& caption, const QString& text, const QStringList& buttons,
                            int defaultButton)
{
    m_shown.push_back({Kind::Choice, caption, text});
    if (m_choices.empty()) {
        ADD_FAILURE() << "Unexpected choice: " << text.toStdString();
        return -1;
    }
    const int chosen = m_choices.front();
    m_choices.pop_front();
    if (chosen >= static_cast<int>(buttons.size()) || defaultButton >= buttons.size())
        ADD_FAILURE() << "No such button: " << chosen;
    return chosen;
}

bool ScriptedDialogs::prompt(const QString& caption, const QString& label, QString& value,
                             bool /*masked*/)
{
    m_shown.push_back({Kind::Prompt, caption, label});
    if (m_prompts.empty()) {
        ADD_FAILURE() << "Unexpected prompt: " << label.toStdString();
        return false;
    }
    const auto answer = m_prompts.front();
    m_prompts.pop_front();
    if (!answer)
        return false;
    value = *answer;
    return true;
}

QString ScriptedDialogs::nextFile(Kind kind, const QString& title, const QString& startPath)
{
    m_shown.push_back({kind, title, startPath});
    if (m_files.empty()) {
        ADD_FAILURE() << "Unexpected file dialog: " << title.toStdString();
        return {};
    }
    const QString f = m_files.front();
    m_files.pop_front();
    return f;
}

QString ScriptedDialogs::openFileName(const QString& title, const QString& startPath, const QStringList&)
{
    return nextFile(Kind::OpenFile, title, startPath);
}

QString ScriptedDialogs::saveFileName(const QString& title, const QString& startPath, const QStringList&,
                                      const QString&)
{
    return nextFile(Kind::SaveFile, title, startPath);
}

QString ScriptedDialogs::existingDirectory(const QString& title, const QString& startPath)
{
    return nextFile(Kind::Directory, title, startPath);
}

} // namespace zf::test
