#include "billops/list_results.h"

#include "frame/messages.h"
#include "frame/platform.h"

namespace velaqm {

ListResults::ListResults(bool oneBill, bool quiet)
    : m_oneBill(oneBill), m_quiet(quiet), m_list(CreateObject<DispBuilder>(progid::kDispBuilder)) {
    m_list->SetCols(1);
    m_list->SetTitles(LoadCVString("提示信息") + "|");
}

void ListResults::Report(std::string_view message, std::string_view line) {
    if (m_quiet) return;
    if (m_oneBill)
        ShowMessage(message, kMsgInformation);
    else
        m_list->Add(line);
}

void ListResults::ReportGone(std::string_view billName) {
    Report(FormatCVString("所选[%1]单据已不存在,请检查。", {billName}),
           FormatCVString("所选[%1]单据已不存在,请检查。|", {billName}));
}

void ListResults::Show() const {
    if (!m_oneBill && !m_quiet) m_list->Show();
}

}  // namespace velaqm
