#pragma once

#include <QDialog>

class QLineEdit;
class QCheckBox;
class QPushButton;

namespace zf {

// The find dialog of the grids: downward only, letter case fixed as shown; it stays open while
// the user works and asks its owner for each "Znajdź następny".
class TFindDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TFindDialog(QWidget* parent = nullptr);
    QString text() const;
    void setText(const QString& text);

signals:
    void findNext(const QString& text);

private:
    QLineEdit* m_text;
    QCheckBox* m_matchCase;
    QPushButton* m_next;
};

} // namespace zf
