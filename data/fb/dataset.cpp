#include "data/fb/dataset.h"

#include "data/fb/error.h"
#include "util/textcodec.h"

#include <QDateTime>

#include <iterator>

namespace zf::fb {

namespace {

// Where a fetched text's bytes are in the list's m_text.
struct TextCell
{
    qsizetype offset = 0;
    qsizetype size = 0;
};

} // namespace

DataSet::DataSet(Connection& connection, Transaction& transaction, QString name,
                 QObject* parent)
    : QObject(parent), m_statement(connection, &transaction), m_name(std::move(name))
{
}

void DataSet::setSql(const QString& sql)
{
    close();
    m_statement.setSql(sql);
}

void DataSet::setParam(const QString& name, const QVariant& value)
{
    m_statement.setParam(name, value);
}

void DataSet::open()
{
    // As many as the last time: a list reopened mostly keeps its size.
    const std::size_t lastSize = m_values.size();
    const qsizetype lastText = m_text.size();
    close();
    m_statement.execute();
    QStringList names;
    for (int i = 0; i < m_statement.fieldCount(); ++i)
        names << m_statement.fieldName(i);
    std::vector<QVariant> values;
    values.reserve(lastSize);
    QByteArray text;
    text.reserve(lastText);
    int rowCount = 0;
    try {
        while (m_statement.fetch()) {
            for (int i = 0; i < names.size(); ++i) {
                if (const std::optional<QByteArrayView> bytes = m_statement.textIfAny(i)) {
                    values.push_back(QVariant::fromValue(TextCell{text.size(), bytes->size()}));
                    text.append(*bytes);
                } else {
                    values.push_back(m_statement.valueOnce(i));
                }
            }
            ++rowCount;
        }
    } catch (...) {
        m_statement.close();
        throw;
    }
    replaceRows(names, std::move(values), std::move(text), rowCount);
}

void DataSet::replaceRows(const QStringList& fieldNames, std::vector<QVariant> values,
                          QByteArray text, int rowCount)
{
    emit aboutToChange();
    m_fieldNames = fieldNames;
    m_values = std::move(values);
    m_text = std::move(text);
    m_rowCount = rowCount;
    m_open = true;
    m_current = rowCount == 0 ? -1 : 0;
    m_eof = rowCount == 0;
    m_bof = true;
    emit changed();
    if (!m_controlsDisabled)
        emit currentRowChanged(m_current);
}

void DataSet::close()
{
    m_statement.close();
    if (!m_open)
        return;
    emit aboutToChange();
    m_open = false;
    m_values.clear();
    m_text.clear();
    m_rowCount = 0;
    m_current = -1;
    m_eof = m_bof = true;
    emit changed();
}

void DataSet::reopen()
{
    const int keep = m_current;
    open();
    if (keep >= 0 && m_rowCount > 0)
        setCurrentRow(qMin(keep, recordCount() - 1));
}

void DataSet::setRows(const QStringList& fieldNames, std::vector<std::vector<QVariant>> rows)
{
    m_statement.close();
    QStringList names;
    for (const QString& n : fieldNames)
        names << n.toUpper();
    std::vector<QVariant> values;
    values.reserve(rows.size() * static_cast<size_t>(names.size()));
    for (std::vector<QVariant>& row : rows) {
        row.resize(static_cast<size_t>(names.size()));
        std::move(row.begin(), row.end(), std::back_inserter(values));
    }
    replaceRows(names, std::move(values), {}, static_cast<int>(rows.size()));
}

void DataSet::setCurrent(int row, bool eof, bool bof)
{
    const bool moved = row != m_current;
    m_current = row;
    m_eof = eof;
    m_bof = bof;
    if (moved && !m_controlsDisabled)
        emit currentRowChanged(m_current);
}

void DataSet::first()
{
    setCurrent(m_rowCount == 0 ? -1 : 0, m_rowCount == 0, true);
}

void DataSet::last()
{
    setCurrent(recordCount() - 1, m_rowCount == 0, m_rowCount == 0);
}

void DataSet::next()
{
    if (m_rowCount == 0 || m_current >= recordCount() - 1) {
        // Stepping past the last row leaves it current and sets the end flag.
        setCurrent(m_current, true, m_rowCount == 0);
        return;
    }
    setCurrent(m_current + 1, false, false);
}

void DataSet::prior()
{
    if (m_current <= 0) {
        setCurrent(m_current, m_rowCount == 0, true);
        return;
    }
    setCurrent(m_current - 1, false, false);
}

bool DataSet::setCurrentRow(int row)
{
    if (row < 0 || row >= recordCount())
        return false;
    setCurrent(row, false, false);
    return true;
}

int DataSet::fieldIndex(const QString& name) const
{
    return static_cast<int>(m_fieldNames.indexOf(name.toUpper()));
}

QVariant DataSet::valueAt(int row, int column) const
{
    if (row < 0 || row >= recordCount() || column < 0 || column >= fieldCount())
        return {};
    const QVariant& v = m_values[static_cast<size_t>(row) * static_cast<size_t>(fieldCount()) +
                                 static_cast<size_t>(column)];
    if (v.metaType() != QMetaType::fromType<TextCell>())
        return v;
    const auto* cell = static_cast<const TextCell*>(v.constData());
    return fromCp1250(QByteArrayView(m_text.constData() + cell->offset, cell->size));
}

QVariant DataSet::value(const QString& field) const
{
    const int column = fieldIndex(field);
    if (column < 0)
        throw Error(QStringLiteral("Field ") + field + QStringLiteral(" not found in ") + m_name,
                    0, 0);
    return valueAt(m_current, column);
}

QString toText(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return {};
    if (v.metaType().id() == QMetaType::QDateTime)
        return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    return v.toString();
}

QString DataSet::asString(const QString& field) const
{
    return toText(value(field));
}

int DataSet::asInteger(const QString& field) const
{
    const QVariant v = value(field);
    if (!v.isValid() || v.isNull())
        return 0;
    bool ok = false;
    const int i = v.toInt(&ok);
    if (ok)
        return i;
    return static_cast<int>(v.toString().trimmed().toLongLong());
}

QString DataSet::displayTextAt(int row, int column) const
{
    const QVariant v = valueAt(row, column);
    const auto it = m_displayTexts.constFind(m_fieldNames.value(column));
    if (it != m_displayTexts.constEnd())
        return (*it)(v);
    return toText(v);
}

QString DataSet::displayText(const QString& field) const
{
    const int column = fieldIndex(field);
    if (column < 0)
        throw Error(QStringLiteral("Field ") + field + QStringLiteral(" not found in ") + m_name,
                    0, 0);
    return displayTextAt(m_current, column);
}

void DataSet::setDisplayText(const QString& field, DisplayText fn)
{
    emit aboutToChange();
    m_displayTexts.insert(field.toUpper(), std::move(fn));
    emit changed();
}

void DataSet::clearDisplayTexts()
{
    m_displayTexts.clear();
}

void DataSet::disableControls()
{
    ++m_controlsDisabled;
}

void DataSet::enableControls()
{
    if (m_controlsDisabled > 0 && --m_controlsDisabled == 0)
        emit currentRowChanged(m_current);
}

} // namespace zf::fb
