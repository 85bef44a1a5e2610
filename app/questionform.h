#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace zf {

// The question window: "&Tak" or "&Nie".
class TquestionForm : public QDialog
{
    Q_OBJECT

public:
    explicit TquestionForm(QWidget* parent = nullptr);

    // Asks modally; true only for "&Tak" ("&Nie" and Esc give false). An empty caption gives
    // "Zdecyduj".
    bool ask(const QString& caption, const QString& text);
    bool answer() const { return m_answer; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* m_icon;
    QLabel* m_text;
    QPushButton* m_yes;
    QPushButton* m_no;
    bool m_answer = false;
};

} // namespace zf
