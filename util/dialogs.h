#pragma once

#include <QString>
#include <QStringList>

namespace zf {

// Captions used by the system's messages.
inline const QString kCaptionInformation = QStringLiteral("Informacja");
inline const QString kCaptionWarning = QStringLiteral("Uwaga");
inline const QString kCaptionError = QStringLiteral("Błąd");
inline const QString kCaptionQuestion = QStringLiteral("Pytanie");

// The one way logic talks to the user. Windows provide a Qt implementation; tests script the
// answers, so every algorithm that asks something runs headless.
class Dialogs
{
public:
    virtual ~Dialogs() = default;

    // The information window: a text with a caption ("Informacja", "Uwaga", "Błąd").
    virtual void information(const QString& caption, const QString& text) = 0;

    // The question window with "&Tak" and "&Nie"; true for "Tak".
    virtual bool question(const QString& caption, const QString& text) = 0;

    // A question with buttons of its own (captions with their "&" letters); the button at
    // `defaultButton` takes Enter and Esc chooses the last one. Answers the chosen button's
    // place, or -1 where nothing could be asked (a console run).
    virtual int choose(const QString& /*caption*/, const QString& /*text*/,
                       const QStringList& /*buttons*/, int /*defaultButton*/)
    {
        return -1;
    }

    enum class Answer { Yes, No, Cancel };
    // The question window with "&Tak", "&Nie" and "&Anuluj" (Esc is "Anuluj"): for a question
    // asked on the way somewhere (closing, opening another file) that the user may take back.
    // Where no window can be shown, it is the plain question.
    virtual Answer questionWithCancel(const QString& caption, const QString& text)
    {
        return question(caption, text) ? Answer::Yes : Answer::No;
    }

    // The prompt window: asks for one text; false when cancelled. `value` holds the initial
    // text and receives the answer.
    virtual bool prompt(const QString& caption, const QString& label, QString& value,
                        bool masked) = 0;

    // File choices; an empty result means the user cancelled.
    virtual QString openFileName(const QString& title, const QString& startPath,
                                 const QStringList& filters) = 0;
    // Several existing files at once; by default one, through openFileName.
    virtual QStringList openFileNames(const QString& title, const QString& startPath,
                                      const QStringList& filters)
    {
        const QString path = openFileName(title, startPath, filters);
        return path.isEmpty() ? QStringList() : QStringList{path};
    }
    virtual QString saveFileName(const QString& title, const QString& startPath,
                                 const QStringList& filters, const QString& defaultSuffix) = 0;
    virtual QString existingDirectory(const QString& title, const QString& startPath) = 0;
};

} // namespace zf
