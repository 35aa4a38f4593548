#include "billops/push_down.h"

#include <string>

#include "billops/audit_state.h"
#include "billops/bill_template.h"
#include "frame/convert.h"
#include "frame/host_services.h"
#include "frame/messages.h"
#include "frame/platform.h"

namespace velaqm {

bool CanPushDown(ListEvents& list) {
    const VectorPtr selected = list.List()->GetSelectedBillID();
    if (selected->Size() != 1) {
        ShowMessage(LoadCVString("不能选择多张单据，请重新选择！"), kMsgInformation);
        return false;
    }
    const DataSrvPtr billTemplate = list.DataSrv();
    const RecordsetPtr bill = ReadCheckerAndNumber(*billTemplate, selected->Item(1));
    if (!bill || bill->Eof()) return false;
    if (IsAudited(NumberValue(bill->Fields("FCheckerID")))) return true;
    ShowMessage(Text(billTemplate->ClassType("FName")) + "[" + Text(bill->Fields("FBillNo")) +
                    LoadCVString("]还没有审核,不能下推！"),
                kMsgInformation);
    return false;
}

void SelectSourceBills(BillEvent& bill, int sourceBillType) {
    bill.BillCtl()->DoSelBill(sourceBillType);
    bill.FireAfterSelBill(sourceBillType);
}

}  // namespace velaqm
