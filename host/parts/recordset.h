// The substitute host's recordset: a query result read as ADO reads a static, client-side
// recordset, raising ADO's errors where the plug-ins could misuse it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "frame/host_services.h"
#include "frame/variant.h"

namespace velaqm::host {

// ADO's error numbers for the misuses a recordset reports.
inline constexpr std::int32_t kErrNoCurrentRecord = 3021;
inline constexpr std::int32_t kErrItemNotFound = 3265;
inline constexpr std::int32_t kErrObjectClosed = 3704;

// A plain query result: column names and rows of values, each row as wide as the columns.
struct ResultRows {
    std::vector<std::string> columns;
    std::vector<std::vector<Variant>> rows;
};

class HostRecordset : public Recordset {
  public:
    // Open, on the first record (or at both ends when there is none). Throws
    // std::invalid_argument for a row whose width differs from the columns'.
    explicit HostRecordset(ResultRows result);
    HostRecordset(std::vector<std::string> columns, std::vector<std::vector<Variant>> rows)
        : HostRecordset(ResultRows{std::move(columns), std::move(rows)}) {}

    int State() const override { return m_open ? kStateOpen : kStateClosed; }
    bool Eof() const override;
    bool Bof() const override;
    int RecordCount() const override;
    int FieldCount() const override;
    std::string FieldName(int index) const override;
    Variant Fields(std::string_view name) const override;
    Variant Fields(int index) const override;
    bool HasField(std::string_view name) const override;
    void MoveFirst() override;
    void MoveNext() override;
    // Closing twice is refused, as ADO refuses it.
    void Close() override;

  private:
    void RequireOpen() const;
    int ColumnOf(std::string_view name) const;
    const std::vector<Variant>& CurrentRow() const;

    ResultRows m_result;
    std::size_t m_position = 0;
    bool m_open = true;
};

}  // namespace velaqm::host
