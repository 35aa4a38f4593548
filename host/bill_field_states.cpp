#include "host/bill_field_states.h"

#include "frame/text_util.h"
#include "host/bill_form_values.h"

namespace velaqm::host {

namespace {

// The head is the one row of its page: a head field's cell is row 1, whatever row is asked.
int CellRow(const FieldDef& field, int row) {
    return field.page == 1 ? 1 : row;
}

}  // namespace

BillFieldStates::BillFieldStates(std::shared_ptr<const ClassDef> def) : m_def(std::move(def)) {}

void BillFieldStates::Reset() {
    m_fieldEnabled.clear();
    m_fieldLocked.clear();
    for (const FieldDef& field : m_def->fields) {
        m_fieldEnabled[UpperAscii(field.key)] = field.enabled;
        m_fieldLocked[UpperAscii(field.key)] = field.locked;
    }
    m_cellLocks.clear();
    m_cellSettings.clear();
    m_columnFlags.clear();
    m_billLocked = false;
}

bool BillFieldStates::Enabled(std::string_view key) const {
    const auto found = m_fieldEnabled.find(UpperAscii(key));
    return found == m_fieldEnabled.end() ? FieldOf(*m_def, key).enabled : found->second;
}

bool BillFieldStates::Locked(std::string_view key) const {
    const auto found = m_fieldLocked.find(UpperAscii(key));
    return found == m_fieldLocked.end() ? FieldOf(*m_def, key).locked : found->second;
}

bool BillFieldStates::CellLocked(std::string_view key, int row) const {
    const auto found = m_cellLocks.find({UpperAscii(key), CellRow(FieldOf(*m_def, key), row)});
    return found != m_cellLocks.end() && found->second;
}

std::optional<int> BillFieldStates::CellSetting(std::string_view key, int row) const {
    const auto found = m_cellSettings.find({UpperAscii(FieldOf(*m_def, key).key), row});
    if (found == m_cellSettings.end()) return std::nullopt;
    return found->second;
}

void BillFieldStates::SetEnabled(const FieldDef& field, bool enabled) {
    m_fieldEnabled[UpperAscii(field.key)] = enabled;
}

void BillFieldStates::SetLocked(const FieldDef& field, bool locked) {
    m_fieldLocked[UpperAscii(field.key)] = locked;
}

void BillFieldStates::LockCell(const FieldDef& field, int row, bool locked) {
    m_cellLocks[{UpperAscii(field.key), CellRow(field, row)}] = locked;
}

void BillFieldStates::SetCellSetting(const FieldDef& field, int row, int value) {
    m_cellSettings[{UpperAscii(field.key), row}] = value;
}

void BillFieldStates::SetColumnFlag(std::string_view key, bool value) {
    m_columnFlags[UpperAscii(key)] = value;
}

}  // namespace velaqm::host
