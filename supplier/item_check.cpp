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

namespace {}  // namespace

bool ItemAlreadyRecorded(std::string_view table, const std::function<Variant()>& itemId,
                         std::string_view duplicateMessage) {
    try {
        const std::string sql =
            SqlFormat("select * from %1 where fitemid= %2", {SqlName(table), SqlWhole(itemId())});
        const RecordsetPtr rows =
            CreateObject<MrpRuntime>(progid::kMrpRuntime)->GetData(GetPropsString(), sql);
        if (!rows) {
            Inform(LoadCVString("取数出错"));
            return true;
        }
        if (rows->Eof()) return false;
        Inform(LoadCVString(duplicateMessage));
        return true;
    } catch (const std::exception& e) {
        SetErr(AsHostError(e));
        Inform(LoadCVString("调用中间层组件出现错误！"));
        return true;
    }
}

}  // namespace velaqm
