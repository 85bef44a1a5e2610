#pragma once

#include "app/tips.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

namespace zf {

// The tip of the day.
class TfPoradaDnia : public QDialog
{
    Q_OBJECT

public:
    // Reads the tip file (in the data folder) now; the tips stay for the whole run.
    explicit TfPoradaDnia(const QString& tipFile, QWidget* parent = nullptr);
    explicit TfPoradaDnia(Tips tips, QWidget* parent = nullptr);

    // The tick box "Nie pokazuj tego więcej", set and read by the callers.
    bool dontShowAgain() const;
    void setDontShowAgain(bool on);

    QString tipText() const;
    const Tips& tips() const { return m_tips; }

    // Shows another tip than the one shown last; with fewer than two tips the text stays.
    void showNextTip();

protected:
    void showEvent(QShowEvent* event) override;

private:
    Tips m_tips;
    QLabel* m_tip;
    QCheckBox* m_dontShow;
    QPushButton* m_next;
    QPushButton* m_ok;
};

} // namespace zf
