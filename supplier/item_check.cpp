#include "supplier/item_check.h"

#include <exception>

#include "frame/err.h"
#include "frame/error_policy.h"
#include "frame/host_services.h"
#include "frame/login.h"
#include "frame/messages.h"
#include "frame/platform.h"
#include "frame/sql_text.h"

namespace velaqm {

namespace {
constexpr int kInformation = 64;
}  // namespace

bool ItemAlreadyRecorded(std::string_view table, const std::function<Variant()>& itemId,
                         std::string_view duplicateMessage) {
    try {
        const std::string sql =
            SqlFormat("select * from %1 where fitemid= %2", {SqlName(table), SqlWhole(itemId())});
        const RecordsetPtr rows =
            CreateObject<MrpRuntime>(progid::kMrpRuntime)->GetData(GetPropsString(), sql);
        if (!rows) {
            ShowMessage(LoadCVString("取数出错"), kInformation);
            return true;
        }
        if (rows->Eof()) return false;
        ShowMessage(LoadCVString(duplicateMessage), kInformation);
        return true;
    } catch (const std::exception& e) {
        SetErr(AsHostError(e));
        ShowMessage(LoadCVString("调用中间层组件出现错误！"), kInformation);
        return true;
    }
}

}  // namespace velaqm
