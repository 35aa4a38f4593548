// The sample destruction record's list: audit, un-audit, delete, and the sampling record a
// destruction record came from.
#include <string>

#include "billops/bill_tools.h"
#include "billops/list_tools.h"
#include "frame/convert.h"
#include "frame/error_policy.h"
#include "frame/messages.h"
#include "frame/platform.h"
#include "frame/sql_text.h"
#include "inspection/sample_destroy.h"
#include "inspection/sample_destroy_rules.h"

namespace velaqm {

namespace {

constexpr std::string_view kRelatedBillTrace = "VelaQMBillEvent.CSampleDestroy.GetRelatedBillID";

}  // namespace

void CSampleDestroy::m_list_BarInitialize(const ActiveBarPtr& oActiveBar) {
    TrapSilently([&] {
        AddListAuditTools(*m_List, *oActiveBar);
        HideTools(*oActiveBar, {tool::kDelEntry, tool::kCopyEntry, tool::kCopy});
    });
}

void CSampleDestroy::m_List_BarClick(const ToolPtr& Tool, bool& Cancel) {
    TrapSilently([&] {
        if (Cancel) return;
        const std::string name = Tool->Name();
        if (ClickListAuditTool(*m_List, name, Cancel)) return;
        if (name == tool::kViewSourceBill) {
            Cancel = true;
            ShowSamplingRecord();
        }
    });
}

void CSampleDestroy::ShowSamplingRecord() {
    const std::string filter = GetRelatedBillID(CurrentListRow(*m_List));
    if (filter.empty()) {
        Inform(LoadCVString("上查没有关联的单据"));
        return;
    }
    ShowBillsInLookUp(kSamplingRecordClass, "取样记录", filter);
}

std::string CSampleDestroy::GetRelatedBillID(const DictionaryPtr& row) {
    const TraceScope trace(kRelatedBillTrace);
    if (!row) return "";
    const RecordsetPtr record =
        CreateObject<AppConnection>(progid::kAppConnection)
            ->Execute(" SELECT FSampleID  FROM QMSampleDestroy WHERE FID = " +
                      SqlWhole(row->Item("FID")));
    if (!record || record->Eof()) return "";
    return SamplingRecordFilter(record->Fields("FSampleID"));
}

}  // namespace velaqm
