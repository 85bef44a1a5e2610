#include "util/gridstorage.h"

#include "util/ovutilities.h"

#include <QList>
#include <QStringList>

#include <optional>

namespace zf {

namespace {

// The widths of a stored value, or nothing when any part is not a width.
std::optional<QList<int>> parseWidths(const QStringList& parts)
{
    QList<int> widths;
    widths.reserve(parts.size());
    for (const QString& part : parts) {
        bool ok = false;
        const int w = part.trimmed().toInt(&ok, 10);
        if (!ok || w < 0)
            return std::nullopt;
        widths << w;
    }
    return widths;
}

} // namespace

TOVGridStorage::TOVGridStorage(const QString& settingsPath) : m_ini(settingsPath) {}

TOVGridStorage::~TOVGridStorage()
{
    m_grids.FreeItems();
}

void TOVGridStorage::RegisterGrid(TOVGridColumns* grid, const QString& name)
{
    if (!grid)
        return;
    auto* data = new TDBGridData;
    data->name = name;
    data->grid = grid;
    const int count = grid->columnCount();
    for (int i = 0; i < TDBGridData::kStoredDefaults && i < count; ++i)
        data->defaultWidths[static_cast<size_t>(i)] = grid->columnWidth(i);
    m_grids.Add(data);
}

const TDBGridData* TOVGridStorage::GridAt(int index) const
{
    return static_cast<const TDBGridData*>(m_grids.GetAt(index));
}

void TOVGridStorage::LoadWidths()
{
    for (int g = 0; g < m_grids.Count(); ++g) {
        const TDBGridData* data = GridAt(g);
        const QString value = m_ini.readString(Section(), data->name);
        if (value.isEmpty())
            continue;
        const QStringList parts = TOVUtilities::Split(QLatin1Char(','), value);
        if (parts.size() != data->grid->columnCount())
            continue;
        const auto widths = parseWidths(parts);
        if (!widths)
            continue;
        for (int i = 0; i < widths->size(); ++i)
            data->grid->setColumnWidth(i, widths->at(i));
    }
}

bool TOVGridStorage::SaveWidths()
{
    bool ok = true;
    for (int g = 0; g < m_grids.Count(); ++g) {
        const TDBGridData* data = GridAt(g);
        QStringList widths;
        for (int i = 0; i < data->grid->columnCount(); ++i)
            widths << QString::number(data->grid->columnWidth(i));
        ok = m_ini.writeString(Section(), data->name, widths.join(QLatin1Char(','))) && ok;
    }
    return ok;
}

void TOVGridStorage::RestoreDefaultWidths()
{
    for (int g = 0; g < m_grids.Count(); ++g) {
        const TDBGridData* data = GridAt(g);
        const int count = data->grid->columnCount();
        for (int i = 0; i < count && i < TDBGridData::kDefaultSlots; ++i) {
            const int w = data->defaultWidths[static_cast<size_t>(i)];
            if (w != 0)
                data->grid->setColumnWidth(i, w);
        }
    }
}

} // namespace zf
