#pragma once

#include "util/collections.h"
#include "util/inifile.h"

#include <QString>

#include <array>

namespace zf {

// The columns of a data grid as the width storage sees them; windows hand in an adapter over
// their grid, so the storage needs no widgets.
class TOVGridColumns
{
public:
    virtual ~TOVGridColumns() = default;
    virtual int columnCount() const = 0;
    virtual int columnWidth(int column) const = 0;
    virtual void setColumnWidth(int column, int width) = 0;
};

// One registered grid.
class TDBGridData : public TOVItem
{
public:
    static constexpr int kDefaultSlots = 41;
    // Only the first 40 columns have a designed width to go back to.
    static constexpr int kStoredDefaults = kDefaultSlots - 1;

    QString name;
    TOVGridColumns* grid = nullptr; // not owned
    // The designed widths; 0 marks a slot without one.
    std::array<int, kDefaultSlots> defaultWidths{};
};

// Keeps grid column widths in section "DBGRID" of the settings file, one key per grid whose
// value is the widths of all its columns joined by ",".
class TOVGridStorage
{
public:
    explicit TOVGridStorage(const QString& settingsPath);
    ~TOVGridStorage();
    TOVGridStorage(const TOVGridStorage&) = delete;
    TOVGridStorage& operator=(const TOVGridStorage&) = delete;

    static QString Section() { return QStringLiteral("DBGRID"); }

    // Records the grid with its current widths as the designed ones. The grid must stay alive
    // as long as the storage is used.
    void RegisterGrid(TOVGridColumns* grid, const QString& name);
    // Applies the stored widths. An entry whose count differs from the grid's columns, or with
    // a part that is no whole number of at least 0, is ignored as a whole.
    void LoadWidths();
    // Writes every registered grid's widths; false when the file could not be written.
    bool SaveWidths();
    void RestoreDefaultWidths();

    int Count() const { return m_grids.Count(); }
    const TDBGridData* GridAt(int index) const;

private:
    IniFile m_ini;
    TOVObjectVector m_grids; // of TDBGridData, owned
};

} // namespace zf
