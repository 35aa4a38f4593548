#include "host/parts/recordset.h"

#include <stdexcept>

#include "frame/host_error.h"
#include "frame/text_util.h"

namespace velaqm::host {

namespace {

[[noreturn]] void ThrowNoCurrentRecord() {
    throw HostError(kErrNoCurrentRecord, "ADODB.Recordset",
                    "Either BOF or EOF is True, or the current record has been deleted. "
                    "Requested operation requires a current record.");
}

[[noreturn]] void ThrowItemNotFound(std::string_view item) {
    throw HostError(kErrItemNotFound, "ADODB.Fields",
                    "Item cannot be found in the collection corresponding to the requested name "
                    "or ordinal: " +
                        std::string(item));
}

}  // namespace

HostRecordset::HostRecordset(ResultRows result) : m_result(std::move(result)) {
    for (const auto& row : m_result.rows) {
        if (row.size() != m_result.columns.size())
            throw std::invalid_argument("a result row of " + std::to_string(row.size()) +
                                        " values under " + std::to_string(m_result.columns.size()) +
                                        " columns");
    }
}

bool HostRecordset::Eof() const {
    RequireOpen();
    return m_position >= m_result.rows.size();
}

// Without MovePrevious the position is only ever before the first record when there is none.
bool HostRecordset::Bof() const {
    RequireOpen();
    return m_result.rows.empty();
}

int HostRecordset::RecordCount() const {
    RequireOpen();
    return static_cast<int>(m_result.rows.size());
}

int HostRecordset::FieldCount() const {
    RequireOpen();
    return static_cast<int>(m_result.columns.size());
}

std::string HostRecordset::FieldName(int index) const {
    RequireOpen();
    if (index < 0 || index >= FieldCount()) ThrowItemNotFound(std::to_string(index));
    return m_result.columns[static_cast<std::size_t>(index)];
}

Variant HostRecordset::Fields(std::string_view name) const {
    RequireOpen();
    const int column = ColumnOf(name);
    if (column < 0) ThrowItemNotFound(name);
    return CurrentRow()[static_cast<std::size_t>(column)];
}

Variant HostRecordset::Fields(int index) const {
    RequireOpen();
    if (index < 0 || index >= FieldCount()) ThrowItemNotFound(std::to_string(index));
    return CurrentRow()[static_cast<std::size_t>(index)];
}

bool HostRecordset::HasField(std::string_view name) const {
    RequireOpen();
    return ColumnOf(name) >= 0;
}

void HostRecordset::MoveFirst() {
    RequireOpen();
    if (m_result.rows.empty()) ThrowNoCurrentRecord();
    m_position = 0;
}

void HostRecordset::MoveNext() {
    RequireOpen();
    if (Eof()) ThrowNoCurrentRecord();
    ++m_position;
}

void HostRecordset::Close() {
    RequireOpen();
    m_open = false;
}

void HostRecordset::RequireOpen() const {
    if (!m_open)
        throw HostError(kErrObjectClosed, "ADODB.Recordset",
                        "Operation is not allowed when the object is closed.");
}

int HostRecordset::ColumnOf(std::string_view name) const {
    for (std::size_t i = 0; i < m_result.columns.size(); ++i) {
        if (EqualsNoCase(m_result.columns[i], name)) return static_cast<int>(i);
    }
    return -1;
}

const std::vector<Variant>& HostRecordset::CurrentRow() const {
    if (m_position >= m_result.rows.size()) ThrowNoCurrentRecord();
    return m_result.rows[m_position];
}

}  // namespace velaqm::host
