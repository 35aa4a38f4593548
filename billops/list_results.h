// What an operation on the bills selected in a list (audit, un-audit, deletion) tells the user
// about each bill: a message box when one bill is selected, else one line per bill in a result
// list shown once the loop is done.
#pragma once

#include <memory>
#include <string_view>

#include "frame/host_services.h"

namespace velaqm {

class ListResults {
  public:
    // The result list is made at once, before any bill is touched; quiet shows nothing at all.
    ListResults(bool oneBill, bool quiet);

    bool OneBill() const { return m_oneBill; }
    void SetColWidth(int column, int width) { m_list->SetColWidth(column, width); }
    // message: the box shown for one bill; line: the whole result-list line, its "|" included.
    void Report(std::string_view message, std::string_view line);
    // A selected bill that someone deleted since the list was shown.
    void ReportGone(std::string_view billName);
    // Shows the result list when several bills were selected.
    void Show() const;

  private:
    bool m_oneBill;
    bool m_quiet;
    std::shared_ptr<DispBuilder> m_list;
};

}  // namespace velaqm
