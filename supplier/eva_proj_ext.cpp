#include "supplier/eva_proj_ext.h"

#include <vector>

#include "billops/audit.h"
#include "billops/audit_tools.h"
#include "billops/bill_tools.h"
#include "billops/bill_values.h"
#include "billops/row_values.h"
#include "billops/server_queries.h"
#include "frame/convert.h"
#include "frame/error_policy.h"
#include "frame/messages.h"
#include "frame/plugin_show.h"
#include "supplier/eva_proj_rules.h"
#include "supplier/supplier_log.h"

namespace velaqm {

namespace {

constexpr LogCodes kNewProjectLog{.purchasing = "K206029", .quality = "QM008002"};
constexpr LogCodes kSavedProjectLog{.purchasing = "K206028", .quality = "QM008001"};

// The head marks a new project takes from the system parameters.
struct DefaultMark {
    std::string_view key;
    std::string_view parameter;
};
constexpr DefaultMark kDefaultMarks[] = {
    {.key = "FTotalMark", .parameter = "TotalEvaluateMark"},
    {.key = "FPassMark", .parameter = "PassEvaluateMark"},
};

}  // namespace

void EvaProjExt::Show(const Variant& oBillInterface) {
    m_billinterface = BillObjectOf(oBillInterface);
}

// --- handlers ----------------------------------------------------------------------------------

void EvaProjExt::m_billinterface_BarInitialize(const ActiveBarPtr& oActiveBar) {
    TrapSilently([&] { ShowAuditTools(oActiveBar); });
}

// No trap: a failure goes back to the host, which then runs its own handling of the tool.
void EvaProjExt::m_billinterface_BarClick(const ToolPtr& Tool, bool& Cancel) {
    if (Cancel) return;
    const std::string name = Tool->Name();
    if (name == tool::kCheck)
        AuditBill(*m_billinterface, true);
    else if (name == tool::kUnCheck)
        AuditBill(*m_billinterface, false);
}

void EvaProjExt::m_billinterface_AfterNewBill() {
    TrapSilently([&] {
        bool keepRowTools = true;
        SetAuditMenuState(*m_billinterface, keepRowTools);
        FillDefaultMarks();
        WriteSupplierLog("", kNewProjectLog);
        ApplyCheckerLock(*m_billinterface);
    });
}

void EvaProjExt::m_billinterface_AfterLoadBill() {
    TrapSilently([&] {
        bool keepRowTools = true;
        SetAuditMenuState(*m_billinterface, keepRowTools);
        const bool audited = BillValues(*m_billinterface).HeadNumber("FCheckerID") > 0;
        if (!m_billinterface->BillCtl()->MutexSuccess() || audited)
            m_billinterface->RefreshDisplay();
        ApplyCheckerLock(*m_billinterface);
    });
}

// No trap: a failure goes back to the host.
void EvaProjExt::m_billinterface_AfterCopyBill() {
    ApplyCheckerLock(*m_billinterface);
}

void EvaProjExt::m_billinterface_Change(const DictionaryPtr& dct, const DictionaryPtr&, int,
                                        int Row, bool&) {
    const std::string field = Text(dct->Item("FFieldName"));
    if (field == "FPercent")
        TrapSilently([&] { ShowShareOfWeight(Row); });
    else if (field == "FEvaItemNo")
        TrapAndShow(LoadCVString("[供应商评估方案]检查出错，原因："),
                    [&] { RefuseRepeatedItem(Row); });
}

// A check that cannot be made refuses the save.
void EvaProjExt::m_billinterface_BeforeSave(bool& bCancel) {
    TrapAndShow(LoadCVString("[供应商评估方案]保存出错，原因："), [&] {
        bCancel = true;
        bCancel = SaveRefused();
    });
}

// No trap: a failure goes back to the host.
void EvaProjExt::m_billinterface_AfterSave(bool&) {
    const std::string number = Text(m_billinterface->GetHeadValue("FProjID"));
    WriteSupplierLog(FormatCVString("单据编号：%1", {number}), kSavedProjectLog);
}

// --- steps -------------------------------------------------------------------------------------

// A project that has no total mark yet (a copy has one) takes both marks from the parameters.
void EvaProjExt::FillDefaultMarks() {
    const BillValues values(*m_billinterface);
    if (!Text(values.Head("FTotalMark")).empty()) return;
    for (const DefaultMark& mark : kDefaultMarks) {
        const std::string value = GetSystemValue(mark.parameter);
        const DictionaryPtr cell = values.Data(mark.key);
        cell->SetItem("FFLD", value);
        cell->SetItem("FModify", true);
        m_billinterface->SetFieldText(values.Field(mark.key), value, kHeadRow);
    }
}

// The share is of the total mark of the system parameters, which every project is scored on.
// An empty weight leaves the share as it was.
void EvaProjExt::ShowShareOfWeight(int row) {
    const BillValues values(*m_billinterface);
    const Variant weight = values.Entry("FPercent", row);
    const std::string totalMark = GetSystemValue("TotalEvaluateMark");
    if (Text(weight).empty()) return;
    const double share = ShareOfWeight(NumberValue(Variant(totalMark)), NumberValue(weight));
    const DictionaryPtr cell = values.Data("FProjS", row);
    cell->SetItem("FFLD", share);
    cell->SetItem("FModify", 1);
    m_billinterface->SetFieldText(values.Field("FProjS"), Text(Variant(share)), row);
    m_billinterface->BillCtl()->SetSumData(values.Field("FProjS"));
}

// An item another row already holds is taken out of the changed row again.
void EvaProjExt::RefuseRepeatedItem(int row) {
    const BillValues values(*m_billinterface);
    const std::string item = Text(values.Entry("FEvaItemNo", row));
    if (!OtherRowHolding(ColumnValues(*m_billinterface, "FEvaItemNo"), row, item)) return;
    Inform(LoadCVString("已存在该评估项目，请重新录入"));
    const DictionaryPtr cell = values.Data("FEvaItemNo", row);
    for (std::string_view part : {"FFLD", "FFND", "FDSP"})
        cell->SetItem(part, "");
    m_billinterface->SetFieldText(values.Field("FEvaItemNo"), "", row);
    m_billinterface->SetFieldText(values.Field("FEvaItemNo47848"), "", row);
}

bool EvaProjExt::SaveRefused() {
    if (RepeatedItemsRefused()) return true;
    const BillValues values(*m_billinterface);
    std::vector<WeightRow> rows;
    for (int row = 1; row <= values.EntryRows(); ++row) {
        const Variant weight = values.Entry("FPercent", row);
        rows.push_back(
            {Text(values.Entry("FEvaItemNo", row)),
             Text(weight).empty() ? std::nullopt : std::optional<Decimal>(ToDecimal(weight))});
    }
    const std::optional<WeightProblem> problem = FirstWeightProblem(rows);
    if (!problem) return false;
    Inform(LoadCVString(WeightProblemText(*problem)));
    return true;
}

// A repeat check that cannot be made is shown and lets the weight checks decide.
bool EvaProjExt::RepeatedItemsRefused() {
    bool refused = false;
    TrapAndShow(LoadCVString("[供应商评估方案]检查出错，原因："), [&] {
        if (!HasRepeatedValue(ColumnValues(*m_billinterface, "FEvaItemNo"))) return;
        Inform(LoadCVString("存在重复的评估项目，请更正"));
        refused = true;
    });
    return refused;
}

}  // namespace velaqm
