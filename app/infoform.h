#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace zf {

// The information window through which every message reaches the user.
class TinfoForm : public QDialog
{
    Q_OBJECT

public:
    explicit TinfoForm(QWidget* parent = nullptr);

    using QDialog::show;
    // Shows the text modally until "&OK", Enter or Esc; an empty caption gives "Informacja".
    // While the program is ending nothing is shown and the call returns at once.
    void show(const QString& caption, const QString& text);

    // Set once the program has begun to end, so late messages cannot hold the ending up.
    void setEnding(bool ending) { m_ending = ending; }
    bool ending() const { return m_ending; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* m_icon;
    QLabel* m_text;
    QPushButton* m_ok;
    bool m_ending = false;
};

} // namespace zf
