#include "app/qtdialogs.h"

#include "app/infoform.h"
#include "app/promptform.h"
#include "app/questionform.h"
#include "util/filedialogs.h"

namespace zf {

QtDialogs::QtDialogs(QWidget* parent)
    : m_ownInfo(std::make_unique<TinfoForm>()), m_ownQuestion(std::make_unique<TquestionForm>()),
      m_ownPrompt(std::make_unique<TpromptForm>()), m_info(m_ownInfo.get()),
      m_question(m_ownQuestion.get()), m_prompt(m_ownPrompt.get()), m_parent(parent)
{
}

QtDialogs::QtDialogs(TinfoForm& info, TquestionForm& question, TpromptForm& prompt, QWidget* parent)
    : m_info(&info), m_question(&question), m_prompt(&prompt), m_parent(parent)
{
}

QtDialogs::~QtDialogs() = default;

void QtDialogs::setEnding(bool ending)
{
    m_info->setEnding(ending);
}

bool QtDialogs::ending() const
{
    return m_info->ending();
}

void QtDialogs::information(const QString& caption, const QString& text)
{
    m_info->show(caption, text);
}

bool QtDialogs::question(const QString& caption, const QString& text)
{
    return m_question->ask(caption, text);
}

Dialogs::Answer QtDialogs::questionWithCancel(const QString& caption, const QString& text)
{
    switch (m_question->askWithCancel(caption, text)) {
    case TquestionForm::Choice::Yes:
        return Answer::Yes;
    case TquestionForm::Choice::No:
        return Answer::No;
    case TquestionForm::Choice::Cancel:
        break;
    }
    return Answer::Cancel;
}

bool QtDialogs::prompt(const QString& caption, const QString& label, QString& value, bool masked)
{
    m_prompt->setMasked(masked);
    if (!m_prompt->prompt(caption, label, value))
        return false;
    value = m_prompt->answer();
    return true;
}

QString QtDialogs::openFileName(const QString& title, const QString& startPath,
                                const QStringList& filters)
{
    return askOpenFileName(m_parent, title, startPath, filters);
}

QString QtDialogs::saveFileName(const QString& title, const QString& startPath,
                                const QStringList& filters, const QString& defaultSuffix)
{
    return askSaveFileName(m_parent, title, startPath, filters, defaultSuffix);
}

QString QtDialogs::existingDirectory(const QString& title, const QString& startPath)
{
    return askExistingDirectory(m_parent, title, startPath);
}

} // namespace zf
