// What the reject strategies share besides their rules: closing a query's recordset on every
// way out.
#pragma once

#include <utility>

#include "frame/host_services.h"

namespace velaqm {

// Closes the recordset when it is open and lets it go; a failure to close is ignored.
void CloseRecordset(RecordsetPtr& rs) noexcept;

// A query's recordset, closed with CloseRecordset when the scope ends.
class QueryResult {
  public:
    explicit QueryResult(RecordsetPtr rs) : m_rs(std::move(rs)) {}
    ~QueryResult() { CloseRecordset(m_rs); }
    QueryResult(const QueryResult&) = delete;
    QueryResult& operator=(const QueryResult&) = delete;

    // A first row came back.
    bool HasRow() const { return m_rs && !m_rs->Eof(); }
    Recordset& operator*() const { return *m_rs; }
    Recordset* operator->() const { return m_rs.get(); }

  private:
    RecordsetPtr m_rs;
};

}  // namespace velaqm
