// What the plug-in has switched on the fields of the open bill: each field's enable switch and
// lock, the locks and settings of single cells, the display flags of entry columns, and the
// lock switch of the whole bill. Before each load, new or copy they go back to the template's.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "host/catalog.h"

namespace velaqm::host {

class BillFieldStates {
  public:
    explicit BillFieldStates(std::shared_ptr<const ClassDef> def);

    // Every field as the template has it; no cell locks, settings or flags; the bill unlocked.
    void Reset();

    // A key the bill has no field for is a HostError.
    bool Enabled(std::string_view key) const;
    bool Locked(std::string_view key) const;
    bool CellLocked(std::string_view key, int row) const;
    // The setting a plug-in gave the cell; nullopt when it gave none.
    std::optional<int> CellSetting(std::string_view key, int row) const;
    bool BillLocked() const { return m_billLocked; }

    void SetEnabled(const FieldDef& field, bool enabled);
    void SetLocked(const FieldDef& field, bool locked);
    void LockCell(const FieldDef& field, int row, bool locked);
    void SetCellSetting(const FieldDef& field, int row, int value);
    void SetColumnFlag(std::string_view key, bool value);
    void SetBillLocked(bool locked) { m_billLocked = locked; }

  private:
    using CellKey = std::pair<std::string, int>;  // upper-cased field key, row

    std::shared_ptr<const ClassDef> m_def;
    std::map<std::string, bool> m_fieldEnabled;  // by upper-cased key
    std::map<std::string, bool> m_fieldLocked;
    std::map<CellKey, bool> m_cellLocks;
    std::map<CellKey, int> m_cellSettings;
    std::map<std::string, bool> m_columnFlags;
    bool m_billLocked = false;
};

}  // namespace velaqm::host
