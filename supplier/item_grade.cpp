#include "supplier/item_grade.h"

#include <string>
#include <vector>

#include "billops/bill_tools.h"
#include "billops/bill_values.h"
#include "billops/server_queries.h"
#include "frame/convert.h"
#include "frame/error_policy.h"
#include "frame/host_services.h"
#include "frame/login.h"
#include "frame/messages.h"
#include "frame/platform.h"
#include "frame/plugin_show.h"
#include "frame/sql_text.h"
#include "frame/text_util.h"
#include "supplier/item_check.h"
#include "supplier/item_grade_rules.h"

namespace velaqm {

namespace {
constexpr int kCritical = 16;
constexpr std::string_view kCheckError = "[等级品]检查出错，原因：";
// The columns of a grade product, enabled and emptied together.
constexpr std::string_view kProductColumns[] = {"FItemIDE", "FUnitIDE", "FItemIDE56435",
                                                "FItemIDE56467"};
constexpr std::string_view kProductNameColumns[] = {"FItemIDE", "FItemIDE56435", "FItemIDE56467"};

std::vector<std::string> EntryTexts(const BillValues& values, std::string_view key) {
    std::vector<std::string> texts;
    for (int row = 1; row <= values.EntryRows(); ++row)
        texts.push_back(Text(values.Entry(key, row)));
    return texts;
}
}  // namespace

void CItemGrade::Show(const Variant& oBillInterface) {
    m_Bill = BillObjectOf(oBillInterface);
}

bool CItemGrade::CheckItemUniq() {
    return ItemAlreadyRecorded(
        "QMItemGrade", [&] { return BillValues(*m_Bill).Head("FItemID"); },
        "已存在此等级品信息，不能重复录入!");
}

// --- handlers ----------------------------------------------------------------------------------

void CItemGrade::m_Bill_BarInitialize(const ActiveBarPtr& oActiveBar) {
    TrapSilently([&] {
        const ToolPtr copy = oActiveBar->Tools()->Item(tool::kCopy);
        copy->SetVisible(false);
        copy->SetEnabled(false);
    });
}

void CItemGrade::m_Bill_AfterLoadBill() {
    TrapSilently([&] {
        FillParentGroup();
        ApplyTypeLock();
        m_Bill->SetBarStatus(tool::kCopy, kVisible, false);
        ApplyColumnState();
    });
}

// A new record starts with the type last seen.
void CItemGrade::m_Bill_AfterNewBill() {
    TrapSilently([&] {
        const DictionaryPtr type = BillValues(*m_Bill).Data("FType");
        type->SetItem("FFLD", m_lastType);
        type->SetItem("FModify", 1);
        m_Bill->SetText(type, std::to_string(m_lastType));
        ApplyColumnState();
        m_Bill->SetBarStatus(tool::kCopy, kVisible, false);
        FillParentGroup();
    });
}

void CItemGrade::m_Bill_Change(const DictionaryPtr& dct, const DictionaryPtr&, int, int Row,
                               bool&) {
    TrapSilently([&] {
        const std::string field = Text(dct->Item("FFieldName"));
        if (EqualsNoCase(field, "FType"))
            ApplyColumnState();
        else if (EqualsNoCase(field, "FGradeE"))
            CheckGrade(Row);
        else if (EqualsNoCase(field, "FGrade"))
            CheckGrade(kHeadRow);
        else if (EqualsNoCase(field, "FItemID"))
            ApplyTypeLock();
        else if (EqualsNoCase(field, "FItemIDE") && m_lastType == 0)
            CheckGradeProduct(Row);
    });
}

// A check that fails on the way refuses the save with the reason: the bill is never saved
// unchecked.
void CItemGrade::m_Bill_BeforeSave(bool& bCancel) {
    TrapAndShow(LoadCVString(kCheckError), [&] {
        bCancel = true;
        bCancel = SaveRefused();
    });
}

// --- steps -------------------------------------------------------------------------------------

void CItemGrade::ApplyColumnState() {
    const BillValues values(*m_Bill);
    const Variant type = values.Head("FType");
    m_lastType = LongNumber(type);
    const bool byProducts = NumberValue(type) == 0;
    for (const std::string_view key : kProductColumns)
        m_Bill->EnableField(values.Field(key), byProducts);
}

// Only a batch-managed item may be graded within itself: any other item is held to grading by
// products.
void CItemGrade::ApplyTypeLock() {
    const BillValues values(*m_Bill);
    const DictionaryPtr type = values.Field("FType");
    const std::int64_t item = WholeNumber(values.Head("FItemID"));
    if (item == 0 || BatchManaged(item)) {
        m_Bill->BillCtl()->SetLockProperty(false, type, false);
        return;
    }
    m_lastType = 0;
    const DictionaryPtr typeValue = values.Data("FType");
    typeValue->SetItem("FFLD", 0);
    m_Bill->SetText(typeValue, "0");
    ApplyColumnState();
    m_Bill->BillCtl()->SetLockProperty(true, type, false);
}

// An item whose batch management cannot be read counts as batch-managed, after telling the user.
bool CItemGrade::BatchManaged(std::int64_t item) {
    const Variant result =
        CreateObject<GradingData>(progid::kGradingData)
            ->GetData(GetPropsString(), "select FBatchManager from t_icitem where FItemID=" +
                                            SqlWhole(Variant(item)));
    const VectorPtr rows = result.ObjectAs<Vector>();
    if (!rows || rows->Size() == 0) {
        ShowMessage(LoadCVString("检查物料是否批次管理出错！"), kCritical);
        return true;
    }
    const auto first = rows->Item(1).ObjectAs<Dictionary>();
    return first && Truth(first->Item("FBatchManager"));
}

void CItemGrade::CheckGradeProduct(int row) {
    TrapAndShow(LoadCVString(kCheckError), [&] {
        const BillValues values(*m_Bill);
        const ProductRefusal refusal =
            GradeProductRefusal(Text(values.Head("FItemID")), EntryTexts(values, "FItemIDE"), row);
        if (refusal == ProductRefusal::kNone) return;
        Inform(LoadCVString(refusal == ProductRefusal::kMainItem
                                ? "等级品不能与主物料相同，请重新录入！"
                                : "已存在该等级品物料，请重新录入"));
        for (const std::string_view key : kProductNameColumns) {
            values.ClearCell(key, row);
            m_Bill->SetText(values.Data(key, row), "");
        }
    });
}

void CItemGrade::CheckGrade(int row) {
    TrapAndShow(LoadCVString(kCheckError), [&] {
        const BillValues values(*m_Bill);
        const std::string_view key = row == kHeadRow ? "FGrade" : "FGradeE";
        const std::string grade = Text(values.Entry(key, row));
        if (!GradeRepeated(grade, Text(values.Head("FGrade")), EntryTexts(values, "FGradeE"), row))
            return;
        Inform(LoadCVString("已存在此等级品等级，请重新录入"));
        values.ClearCell(key, row);
        m_Bill->SetText(values.Data(key, row), "");
    });
}

// The group is read once: from the data the host opened the bill with when the bill is in no
// mode, otherwise from the bill's own parent group. An empty parent group takes it.
void CItemGrade::FillParentGroup() {
    const BillValues values(*m_Bill);
    if (m_parentGroup == 0)
        m_parentGroup = LongNumber(m_Bill->Mode() == bill_mode::kNone
                                       ? m_Bill->BillData()->Item("FItemParentID")
                                       : values.Head("FParentID"));
    const DictionaryPtr parent = values.Data("FParentID");
    if (NumberValue(parent->Item("FFLD")) == 0) {
        parent->SetItem("FFLD", m_parentGroup);
        parent->SetItem("FMODIFY", 1);
    }
    m_Bill->SetText(parent, std::to_string(m_parentGroup));
}

bool CItemGrade::SaveRefused() {
    if (m_Bill->Mode() == bill_mode::kNew && CheckItemUniq()) return true;
    if (RowNamesMainItem() || RowIncomplete()) return true;
    const bool refused = UnitOutsideGroup();
    if (NumberValue(BillValues(*m_Bill).Head("FType")) != 0) EmptyGradeProducts();
    return refused;
}

// A failure of this check lets the save go on: the rows are checked again by the unit group.
bool CItemGrade::RowNamesMainItem() {
    bool found = false;
    TrapAndShow(LoadCVString(kCheckError), [&] {
        const BillValues values(*m_Bill);
        if (FirstRowNamingMainItem(Text(values.Head("FItemID")), EntryTexts(values, "FItemIDE")) ==
            0)
            return;
        Inform(LoadCVString("等级品不能与主物料相同，请更正！"));
        found = true;
    });
    return found;
}

// Rows that give a grade need their product and unit, unless the item is graded within itself.
bool CItemGrade::RowIncomplete() {
    const BillValues values(*m_Bill);
    if (NumberValue(values.Head("FType")) == 1) return false;
    for (int row = 1; row <= values.EntryRows(); ++row) {
        if (values.EntryNumber("FGradeE", row) == 0) continue;
        std::string_view rest;
        if (values.EntryNumber("FItemIDE", row) == 0 && m_Bill->BillCtl()->IsHaveData(2, row))
            rest = "行物料代码不能为空！";
        else if (values.EntryNumber("FUnitIDE", row) == 0)
            rest = "行计量单位不能为空！";
        if (rest.empty()) continue;
        Inform(RowText(row, rest));
        return true;
    }
    return false;
}

// Every unit is named in one message, one line per row.
bool CItemGrade::UnitOutsideGroup() {
    const BillValues values(*m_Bill);
    if (NumberValue(values.Head("FType")) == 1) return false;
    const std::int64_t item = WholeNumber(values.Head("FItemID"));
    if (item == 0) return true;
    const RecordsetPtr units = RunQuery(
        "select T1.* from t_MeasureUnit t1 where t1.funitgroupid=\r\n"
        "   (select a.funitgroupid from t_MeasureUnit a,t_icitem b where a.fitemid=b.funitid and "
        "b.fitemid=" +
        SqlWhole(Variant(item)) + ")");
    if (!HasRow(units)) {
        Inform(LoadCVString("检查物料单位组出错"));
        return true;
    }
    std::vector<std::int64_t> group;
    for (; !units->Eof(); units->MoveNext())
        group.push_back(WholeNumber(units->Fields("FItemID")));
    std::vector<std::int64_t> rowUnits;
    for (int row = 1; row <= values.EntryRows(); ++row)
        rowUnits.push_back(WholeNumber(values.Entry("FUnitIDE", row)));
    std::string text;
    for (const int row : RowsOutsideUnitGroup(rowUnits, group))
        text +=
            RowText(row, "行的物料单位和主产品的物料单位不在一个单位组，请到物料基础资料里更新") +
            "\r\n";
    if (text.empty()) return false;
    Inform(text);
    return true;
}

void CItemGrade::EmptyGradeProducts() {
    const BillValues values(*m_Bill);
    for (int row = 1; row <= values.EntryRows(); ++row)
        for (const std::string_view key : {"FItemIDE", "FUnitIDE"}) {
            values.ClearCell(key, row);
            m_Bill->SetText(values.Data(key, row), "");
        }
}

}  // namespace velaqm
