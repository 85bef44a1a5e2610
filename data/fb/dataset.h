#pragma once

#include "data/fb/statement.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>
#include <QVariant>

#include <functional>
#include <vector>

namespace zf::fb {

class Transaction;

// A column's value as text: NULL reads as empty, a timestamp as "yyyy-MM-dd hh:mm:ss".
QString toText(const QVariant& v);

// A list opened from a select: every row is fetched into memory when it opens, and one row is
// current. Fields are reached by name as text or integer; each field may have a display text
// function, which the grids show.
class DataSet : public QObject
{
    Q_OBJECT
public:
    using DisplayText = std::function<QString(const QVariant&)>;

    DataSet(Connection& connection, Transaction& transaction, QString name,
            QObject* parent = nullptr);

    const QString& name() const { return m_name; }
    void setSql(const QString& sql);
    const QString& sql() const { return m_statement.sql(); }
    void setParam(const QString& name, const QVariant& value);
    QVariant param(const QString& name) const { return m_statement.param(name); }

    // Executes the select and fetches it whole; the first row becomes current.
    void open();
    void close();
    // Closes and opens again with the same text and parameters; tries to keep the current row
    // number.
    void reopen();
    bool isOpen() const { return m_open; }

    int recordCount() const { return m_rowCount; }
    bool isEmpty() const { return m_rowCount == 0; }
    // Row number of the current row, -1 when the list is empty or closed.
    int currentRow() const { return m_current; }
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    void first();
    void last();
    void next();
    void prior();
    // Makes the row current; returns false (and changes nothing) for a row outside the list.
    bool setCurrentRow(int row);

    int fieldCount() const { return static_cast<int>(m_fieldNames.size()); }
    const QStringList& fieldNames() const { return m_fieldNames; }
    int fieldIndex(const QString& name) const;
    bool hasField(const QString& name) const { return fieldIndex(name) >= 0; }

    // Values of the current row; an empty list gives null values.
    QVariant value(const QString& field) const;
    QString asString(const QString& field) const;
    int asInteger(const QString& field) const;
    QString displayText(const QString& field) const;

    // Values of any row.
    QVariant valueAt(int row, int column) const;
    QString displayTextAt(int row, int column) const;

    void setDisplayText(const QString& field, DisplayText fn);
    void clearDisplayTexts();

    // While controls are disabled, moving the current row emits nothing; enabling emits the
    // position reached (used by searches that walk the list).
    void disableControls();
    void enableControls();

    // Replaces the rows (for lists filled by the program rather than by a select).
    void setRows(const QStringList& fieldNames, std::vector<std::vector<QVariant>> rows);

signals:
    void aboutToChange();
    void changed();
    void currentRowChanged(int row);

private:
    void replaceRows(const QStringList& fieldNames, std::vector<QVariant> values, QByteArray text,
                     int rowCount);
    void setCurrent(int row, bool eof, bool bof);

    Statement m_statement;
    QString m_name;
    bool m_open = false;
    QStringList m_fieldNames;
    // Row after row, each of the fields' count: one allocation for the whole list. Fetched
    // texts stay as the bytes they came in, all in m_text, and are converted when asked for:
    // a list of 50,000 employees makes no string per cell until it is shown.
    std::vector<QVariant> m_values;
    QByteArray m_text;
    int m_rowCount = 0;
    int m_current = -1;
    bool m_eof = true;
    bool m_bof = true;
    int m_controlsDisabled = 0;
    QHash<QString, DisplayText> m_displayTexts;
};

} // namespace zf::fb
