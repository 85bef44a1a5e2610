#pragma once

#include <QDialog>

class QCheckBox;
class QPlainTextEdit;
class QPushButton;

namespace zf {

// The scratch pad: temporary notes kept in memory for the run only. Shown without blocking.
class TfFiszka : public QDialog
{
    Q_OBJECT

public:
    explicit TfFiszka(QWidget* parent = nullptr);

    void clearLines();
    void addLine(const QString& line);
    QString text() const;

    bool stayOnTop() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void setStayOnTop(bool on);

    QPlainTextEdit* m_text;
    QCheckBox* m_onTop;
    QPushButton* m_ok;
    bool m_placed = false;
};

} // namespace zf
