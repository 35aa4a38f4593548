#include "supplier/item_supply.h"

#include <string>
#include <vector>

#include "billops/bill_tools.h"
#include "billops/bill_values.h"
#include "billops/row_values.h"
#include "billops/server_queries.h"
#include "frame/convert.h"
#include "frame/error_policy.h"
#include "frame/host_error.h"
#include "frame/messages.h"
#include "frame/plugin_show.h"
#include "frame/sql_text.h"
#include "frame/text_util.h"
#include "supplier/item_check.h"
#include "supplier/item_supply_rules.h"

namespace velaqm {

namespace {
constexpr std::string_view kCheckError = "[物料来源关系]检查出错，原因：";

// The value of each entry row, in row order, as stored.
std::vector<Variant> StoredColumn(const BillValues& values, std::string_view key) {
    std::vector<Variant> column;
    for (int row = 1; row <= values.EntryRows(); ++row)
        column.push_back(values.Entry(key, row));
    return column;
}
}  // namespace

void cItemSupply::Show(const Variant& oBillInterface) {
    m_Bill = BillObjectOf(oBillInterface);
}

bool cItemSupply::CheckItemUniq() {
    return ItemAlreadyRecorded(
        "QMItemSupplyInfo", [&] { return BillValues(*m_Bill).Head("FItemID"); },
        "已存在此物料来源关系定义，不能重复录入!");
}

// --- handlers ----------------------------------------------------------------------------------

void cItemSupply::m_Bill_BarInitialize(const ActiveBarPtr& oActiveBar) {
    TrapSilently([&] {
        const ToolPtr copy = oActiveBar->Tools()->Item(tool::kCopy);
        copy->SetVisible(false);
        copy->SetEnabled(false);
    });
}

// The head comes as row -1: only entry rows have a check mode.
void cItemSupply::m_Bill_AfterFillRow(int lRow, const DictionaryPtr&, const DictionaryPtr&,
                                      const DictionaryPtr&) {
    if (lRow >= 1) ApplyCheckMode(lRow);
}

void cItemSupply::m_Bill_BeginEdit(const DictionaryPtr& dct, int, int Row) {
    if (EqualsNoCase(Text(dct->Item("FFieldName")), "FProjectID")) CheckScheme(Row);
}

void cItemSupply::m_Bill_Change(const DictionaryPtr& dct, const DictionaryPtr&, int, int Row,
                                bool&) {
    const std::string field = Text(dct->Item("FFieldName"));
    if (EqualsNoCase(field, "FSupplyID"))
        CheckSupplier(Row);
    else if (EqualsNoCase(field, "FCheckMode"))
        ApplyCheckMode(Row);
    else if (EqualsNoCase(field, "FProjectID"))
        CheckScheme(Row);
}

// A check that fails on the way refuses the save with the reason: the bill is never saved
// unchecked.
void cItemSupply::m_Bill_BeforeSave(bool& bCancel) {
    TrapAndShow(LoadCVString(kCheckError), [&] {
        bCancel = true;
        bCancel = SaveRefused();
    });
}

// --- steps -------------------------------------------------------------------------------------

bool cItemSupply::SaveRefused() {
    const BillValues values(*m_Bill);
    if (const auto refusal = OrderShareRefusal(StoredColumn(values, "FOrderPercent"))) {
        Inform(LoadCVString(*refusal));
        return true;
    }
    if (NumberValue(values.Head("FInterID")) == 0) return CheckItemUniq();
    return false;
}

void cItemSupply::CheckSupplier(int row) {
    TrapAndShow(LoadCVString(kCheckError), [&] {
        const BillValues values(*m_Bill);
        const std::string supplier = Text(values.Entry("FSupplyID", row));
        if (!OtherRowHolding(ColumnValues(*m_Bill, "FSupplyID"), row, supplier)) return;
        Inform(LoadCVString("已存在该供应商，请重新录入"));
        for (const std::string_view key : {"FSupplyID", "FSupplyID54072"}) {
            m_Bill->SetText(values.Data(key, row), "");
            values.ClearCell(key, row);
        }
    });
}

void cItemSupply::ApplyCheckMode(int row) {
    TrapAndShow(LoadCVString(kCheckError), [&] {
        const BillValues values(*m_Bill);
        const bool noScheme = NeedsNoScheme(values.Entry("FCheckMode", row));
        if (noScheme) m_Bill->SetValueByKey("FProjectID", "", row);
        m_Bill->LockCell(values.Field("FProjectID"), row, noScheme);
    });
}

// A scheme that is unknown, not released or out of its validity period is named to the user; the
// cell keeps it so that it can be corrected.
void cItemSupply::CheckScheme(int row) {
    TrapAndShow(LoadCVString(kCheckError), [&] {
        const auto scheme = SchemeToCheck(BillValues(*m_Bill).Entry("FProjectID", row));
        if (!scheme) return;
        const RecordsetPtr count = RunQuery(
            "select count(*) ct from icqcscheme where fisvalid=1 and  getdate() between "
            "FvalidDate and FInvalidDate and finterid=" +
            SqlWhole(*scheme));
        if (!HasRow(count))
            throw HostError(kErrUnexpected, "cItemSupply", LoadCVString("取数出错"));
        if (NumberValue(count->Fields("ct")) == 0)
            Inform(FormatCVString("第%1行的[检验方案代码]不存在或已过期，请修改!",
                                  {std::to_string(row)}));
    });
}

}  // namespace velaqm
