#pragma once

#include <QWidget>

class QDateEdit;
class QLineEdit;

namespace zf {

// A masked date field of 10 characters (two digits, separator, two digits, separator, four
// digits; blanks where nothing is typed) with a calendar picker beside it. Typed digits fill
// day, month and year and the separators stay. The two keep in step: picking a date writes its
// date text into the field, and a typed text that names a real day moves the picker to it.
// Used by the deadline editor, the notes and the reports page.
class TDateField final : public QWidget
{
    Q_OBJECT
public:
    TDateField(const QString& fieldName, const QString& pickerName, QWidget* parent = nullptr);

    QLineEdit* edit() const { return m_edit; }
    QDateEdit* picker() const { return m_picker; }

    // The 10 characters as shown, blanks included: the empty date text when nothing is typed.
    QString text() const;
    void setText(const QString& text);
    // The picker shows the day of the field's text, today when that is no valid date; the field
    // is not touched.
    void showTextInPicker();
    // The accessible names of the field and its picker, from the caption of the field's label.
    void setCaption(const QString& caption);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void followText();

    QLineEdit* m_edit;
    QDateEdit* m_picker;
};

} // namespace zf
