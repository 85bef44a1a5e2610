#include "app/qtdialogs.h"

#include "app/infoform.h"
#include "app/promptform.h"
#include "app/questionform.h"
#include "util/filedialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <vector>

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

int QtDialogs::choose(const QString& caption, const QString& text, const QStringList& buttons,
                      int defaultButton)
{
    // Over whatever modal window is in front, so the question is never hidden behind it.
    QWidget* over = QApplication::activeModalWidget();
    QMessageBox box(QMessageBox::Question, caption.isEmpty() ? kCaptionQuestion : caption, text,
                    QMessageBox::NoButton, over ? over : m_parent);
    box.setObjectName(QStringLiteral("TchoiceForm"));
    std::vector<QPushButton*> added;
    for (const QString& b : buttons) {
        QPushButton* button = box.addButton(b, QMessageBox::AcceptRole);
        button->setAccessibleName(QString(b).remove(QLatin1Char('&')));
        added.push_back(button);
    }
    if (defaultButton >= 0 && defaultButton < static_cast<int>(added.size()))
        box.setDefaultButton(added[static_cast<std::size_t>(defaultButton)]);
    if (!added.empty())
        box.setEscapeButton(added.back());
    box.exec();
    for (std::size_t i = 0; i < added.size(); ++i)
        if (box.clickedButton() == added[i])
            return static_cast<int>(i);
    return -1;
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

QStringList QtDialogs::openFileNames(const QString& title, const QString& startPath,
                                     const QStringList& filters)
{
    return askOpenFileNames(m_parent, title, startPath, filters);
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
