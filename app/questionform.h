#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace zf {

// The question window: "&Tak" or "&Nie", and "&Anuluj" when the question can be taken back.
class TquestionForm : public QDialog
{
    Q_OBJECT

public:
    enum class Choice { Yes, No, Cancel };

    explicit TquestionForm(QWidget* parent = nullptr);

    // Asks modally; true only for "&Tak" ("&Nie" and Esc give false). An empty caption gives
    // "Zdecyduj".
    bool ask(const QString& caption, const QString& text);
    // The same with "&Anuluj" beside them; Esc and the close box are "Anuluj".
    Choice askWithCancel(const QString& caption, const QString& text);
    bool answer() const { return m_answer; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* m_icon;
    QLabel* m_text;
    QPushButton* m_yes;
    QPushButton* m_no;
    QPushButton* m_cancel;
    bool m_answer = false;
    // Which button closed the window; Cancel when none did.
    Choice m_choice = Choice::Cancel;
};

} // namespace zf
