#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace zf {

// The prompt window: asks for one line of text.
class TpromptForm : public QDialog
{
    Q_OBJECT

public:
    explicit TpromptForm(QWidget* parent = nullptr);

    // Shows a "*" for each typed character in the next prompt only.
    void setMasked(bool masked) { m_masked = masked; }
    bool masked() const { return m_masked; }

    // Asks modally; true for "&Ok" or Enter in the field, false for "&Anuluj" or Esc. An empty
    // caption gives "Wprowadź". The masking is cleared afterwards.
    bool prompt(const QString& caption, const QString& label, const QString& initial);
    // The text of the answer field after the last prompt.
    QString answer() const;
    bool result() const { return m_result; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* m_label;
    QLineEdit* m_answer;
    QPushButton* m_ok;
    QPushButton* m_cancel;
    bool m_masked = false;
    bool m_result = false;
};

} // namespace zf
