// The observation log's list: audit, un-audit and delete of the selection, and the sampling
// records that hold the selected log's sample.
#include <string>

#include "billops/bill_tools.h"
#include "billops/list_tools.h"
#include "frame/convert.h"
#include "frame/error_policy.h"
#include "frame/messages.h"
#include "frame/platform.h"
#include "frame/sql_text.h"
#include "inspection/watch_log_event.h"

namespace velaqm {

namespace {

constexpr int kSamplingRecordClass = 1001906;

// The sampling records (their internal IDs, joined by ",") whose entries hold the log's sample.
std::string SamplingRecordsOf(const Variant& logId) {
    const RecordsetPtr rows = CreateObject<AppConnection>(progid::kAppConnection)
                                  ->Execute(
                                      "select a.FID from qmsamplingentry a"
                                      " inner join qmwatchlog b on a.FSampleNo=b.FSampleNo"
                                      " Where b.FID =" +
                                      SqlWhole(logId));
    std::string ids;
    for (; rows && !rows->Eof(); rows->MoveNext())
        ids += (ids.empty() ? "" : ",") + SqlWhole(rows->Fields("FID"));
    return ids;
}

}  // namespace

void WatchLogEvent::m_listInterface_BarInitialize(const ActiveBarPtr& oActiveBar) {
    TrapSilently([&] {
        if (!AddListAuditTools(*m_ListInterface, *oActiveBar))
            HideTools(*oActiveBar, {tool::kEdit});
        HideTools(*oActiveBar, {tool::kDelEntry, tool::kCopyEntry});
    });
}

void WatchLogEvent::m_listInterface_BarClick(const ToolPtr& Tool, bool& Cancel) {
    TrapSilently([&] {
        if (Cancel) return;
        const std::string name = Tool->Name();
        if (ClickListAuditTool(*m_ListInterface, name, Cancel)) return;
        if (name == tool::kViewSourceBill) {
            Cancel = true;
            ShowRelatedSamplingRecords();
        }
    });
}

void WatchLogEvent::ShowRelatedSamplingRecords() {
    const DictionaryPtr row = CurrentListRow(*m_ListInterface);
    if (!row) return;
    const std::string ids = SamplingRecordsOf(row->Item("FID"));
    if (ids.empty()) {
        Inform(LoadCVString("所选[留样观察记录]没有关联的[取样记录]"));
        return;
    }
    ShowBillsInLookUp(kSamplingRecordClass, "取样记录", "qmsamplingentry.FID in (" + ids + ")");
}

}  // namespace velaqm
