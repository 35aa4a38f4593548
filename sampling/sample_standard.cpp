#include "sampling/sample_standard.h"

#include <algorithm>
#include <array>
#include <span>

#include "billops/audit.h"
#include "billops/server_queries.h"
#include "billops/toolbar_form.h"
#include "frame/bill_frame.h"
#include "frame/convert.h"
#include "frame/error_policy.h"
#include "frame/messages.h"
#include "frame/platform.h"
#include "frame/plugin_show.h"
#include "frame/sql_text.h"
#include "frame/text_util.h"
#include "sampling/code_letter_plan.h"

namespace velaqm {

namespace {

constexpr int kEntryPage = 2;
constexpr int kHead = 0;
constexpr int kLevelClassType = 1001304;
constexpr int kStrictnessClassType = 1001300;
constexpr std::string_view kDefaultLevel = "C2";
constexpr std::string_view kDefaultStrictness = "YGD01";
constexpr std::string_view kFormulaTool = "mnuFormular";
constexpr std::string_view kVisible = "Visible";
constexpr std::string_view kEnabled = "Enabled";

// The header fields of the table-driven methods: the sample code, then the plan's level,
// strictness and AQL.
constexpr std::array<std::string_view, 4> kTableFields = {"FSwatchCode", "FQCLevelID", "FYGDID",
                                                          "FAQLID"};
constexpr std::array<std::string_view, 3> kPlanFields = {"FQCLevelID", "FYGDID", "FAQLID"};

// The row tools that a code-letter standard refuses (its rows are generated).
constexpr std::array<std::string_view, 5> kRowTools = {
    "MNUEDITADDROW", "MNUEDITDELROW", "MNUEDITDELENTRY", "MNUCOPYROW", "MNUBATCHFILLFIELD"};

std::string RowText(int row) {
    return std::to_string(row);
}

void Inform(const std::string& text) {
    ShowMessage(text, kMsgInformation);
}

std::string SaveProblemText(const SaveProblem& problem) {
    using Kind = SaveProblem::Kind;
    const std::string row = RowText(problem.row);
    switch (problem.kind) {
        case Kind::kNoLevel:
            return LoadCVString("按抽样表时，[检验水平]不能为空!");
        case Kind::kNoStrictness:
            return LoadCVString("按抽样表时，[严格度]不能为空!");
        case Kind::kNoAql:
            return LoadCVString("按抽样表时，[AQL]不能为空!");
        case Kind::kLotSizeOrder:
            return LoadCVString("第", kTextTrailingBlank) + row +
                   LoadCVString("行的[批量]应大于第", kTextTrailingBlank) +
                   RowText(problem.row - 1) + LoadCVString("行的[批量],请重新检查输入！");
        case Kind::kNoFormula:
            return LoadCVString("第", kTextTrailingBlank) + row +
                   LoadCVString("行的[样本数公式]不能为空，请输入!");
        case Kind::kSampleNegative:
            return LoadCVString("第", kTextTrailingBlank) + row +
                   LoadCVString("行的[样本数]不能小于0，请检查输入!");
        case Kind::kSampleAboveLot:
            return LoadCVString("第", kTextTrailingBlank) + row +
                   LoadCVString("行的[样本数]不能大于[批量大小]，请检查输入!");
        case Kind::kSampleBelowAcceptance:
            return FormatCVString("第%1行的[样本数]不能小于[允收数]，请检查输入!", {row});
        case Kind::kSampleBelowRejection:
            return FormatCVString("第%1行的[样本数]不能小于[拒收数]，请检查输入!", {row});
    }
    return "";
}

}  // namespace

void SampleStandard::Show(const Variant& oBillInterface) {
    m_BillInterface = BillObjectOf(oBillInterface);
}

// --- handlers ----------------------------------------------------------------------------------

void SampleStandard::m_BillInterface_BarInitialize(const ActiveBarPtr& oActiveBar) {
    TrapSilently([&] {
        const ToolPtr formula = ToolbarForm::Instance()->ABar()->Tools()->Item(kFormulaTool);
        InsertToolIntoBand(*oActiveBar, "mnuData", formula, 1);
        const int lookUp = m_BillInterface->ToolIndex("BandToolBar", tool::kDataLookUp);
        InsertToolIntoBand(*oActiveBar, "BandToolBar", formula, lookUp + 1);
        oActiveBar->Tools()->Item(kFormulaTool)->SetEnabled(false);
        ShowAuditTools(oActiveBar);
    });
}

void SampleStandard::m_BillInterface_BarClick(const ToolPtr& Tool, bool& Cancel) {
    TrapSilently([&] {
        if (Cancel) return;
        const std::string name = Tool->Name();
        if (name == tool::kCheck)
            AuditBill(*m_BillInterface, true);
        else if (name == tool::kUnCheck)
            AuditBill(*m_BillInterface, false);
        else if (name == kFormulaTool)
            EditFormula();
    });
}

void SampleStandard::m_BillInterface_Change(const DictionaryPtr& dct, const DictionaryPtr&, int,
                                            int Row, bool& Cancel) {
    TrapSilently([&] {
        const std::string field = Text(dct->Item("FFieldName"));
        if (field == "FSampMethodID")
            SetUpMethod();
        else if (field == "FLotSize")
            Cancel = LotSizeRefused(Row);
        else if (field == "FQCLevelID")
            RefreshAcRe(*m_BillInterface, true);
        else if (field == "FYGDID" || field == "FAQLID")
            RefreshAcRe(*m_BillInterface, false);
    });
}

void SampleStandard::m_billinterface_BeforeSave(bool& bCancel) {
    TrapSilently([&] {
        if (SaveRefused()) bCancel = true;
    });
}

void SampleStandard::m_BillInterface_AfterLoadBill() {
    TrapSilently([&] {
        ApplyMethodFieldStates();
        ApplyMenuState();
        ApplyReadOnlyRule();
        ApplyCheckerLock();
    });
}

void SampleStandard::m_billinterface_AfterCopyBill() {
    TrapSilently([&] {
        ApplyMethodFieldStates();
        ApplyMenuState();
        ApplyCheckerLock();
    });
}

void SampleStandard::m_billinterface_BeforLoadBillFillData() {
    TrapSilently([&] { m_BillInterface->RefreshDisplay(); });
}

void SampleStandard::m_billinterface_AfterNewBill() {
    TrapSilently([&] {
        ApplyMenuState();
        Enable(kTableFields, false);
        ApplyCheckerLock();
    });
}

void SampleStandard::m_billinterface_MenuBarClick(const ToolPtr& XPFTool, bool& Cancel) {
    TrapSilently([&] {
        if (Cancel) return;
        const std::string key = UpperAscii(XPFTool->Name());
        if (std::find(kRowTools.begin(), kRowTools.end(), key) != kRowTools.end() &&
            WholeNumber(m_BillInterface->GetHeadValue("FSampMethodID")) == kMethodCodeLetter)
            Cancel = true;
    });
}

void SampleStandard::m_billinterface_SaveBillSuccess(const DictionaryPtr& dctData) {
    TrapSilently([&] { CleanUpAfterSave(dctData); });
}

// --- the sampling method -------------------------------------------------------------------

// A new method: the entry and the table fields start empty, then the method's own settings.
void SampleStandard::SetUpMethod() {
    BillEvent& bill = *m_BillInterface;
    const int method = Method();
    bill.ClearPage(kEntryPage);
    ClearEntryColumn("FLotSize");
    if (method != kMethodCodeLetter)
        bill.BillCtl()->SetLockProperty(false, Field("FSwatchCode"), true);
    bill.SetFieldText(Field("FQCLevelID"), "", kHead);
    bill.SetFieldText(Field("FYGDID"), "", kHead);
    for (std::string_view key : kPlanFields)
        ClearLookup(key);
    Enable("FSampQty", true);
    Enable("FFormula", false);
    bill.BillCtl()->LockCell(Field("FLotSize"), 1, false);
    if (method != kMethodSingleRow) bill.BillCtl()->SetGridMaxRows(0, kMaxRows);
    bill.SetBarStatus(tool::kAddRow, kVisible, true);
    bill.SetBarStatus(tool::kDelRow, kVisible, true);
    bill.SetBarStatus(kFormulaTool, kEnabled, false);

    const MethodFields fields = MethodFieldStates(method);
    switch (method) {
        case kMethodSamplingTable: {
            Enable("FSwatchCode", fields.swatchCode);
            Enable(kPlanFields, fields.levelStrictnessAql);
            ClearEntryColumn("FFormula");
            FillDefaultLevelAndStrictness();
            break;
        }
        case kMethodFormula:
            Enable(kTableFields, false);
            ClearEntryColumn("FSampQty");
            Enable("FSampQty", fields.sampQty);
            Enable("FFormula", fields.formula);
            bill.SetBarStatus(kFormulaTool, kEnabled, true);
            break;
        case kMethodSingleRow:
            Enable(kTableFields, false);
            ClearEntryColumn("FFormula");
            bill.BillCtl()->SetGridMaxRows(0, MaxRowsOf(method));
            bill.BillCtl()->LockCell(Field("FLotSize"), 1, true);
            bill.SetCellValue(Field("FLotSize"), "999999999999", 1);
            bill.SetBarStatus(tool::kAddRow, kVisible, false);
            bill.SetBarStatus(tool::kDelRow, kVisible, false);
            break;
        case kMethodCodeLetter: {
            Enable(kTableFields, true);
            ClearEntryColumn("FFormula");
            WriteCodeLetterRows(bill, FillDefaultLevelAndStrictness());
            bill.BillCtl()->SetLockProperty(true, Field("FSwatchCode"), true);
            break;
        }
        default:
            break;
    }
}

// The inspection level "C2" when its record exists, and always the strictness "YGD01"; the
// level's number, or "" when it has none.
std::string SampleStandard::FillDefaultLevelAndStrictness() {
    BillEvent& bill = *m_BillInterface;
    std::string levelNumber;
    const RecordsetPtr level =
        CreateObject<AppConnection>(progid::kAppConnection)
            ->Execute(
                " SELECT  * \r\n FROM QMAInfo \r\n WHERE FClassTypeID = 1001304 \r\n"
                " AND Fnumber = 'C2'");
    if (level && !level->Eof()) {
        const std::string name =
            GetQMaInfoName("fClassTypeid=" + std::to_string(kLevelClassType) + " and FNumber='" +
                           std::string(kDefaultLevel) + "'");
        levelNumber = Text(level->Fields("FNumber"));
        bill.SetFieldText(Field("FQCLevelID"), name, kHead);
        const DictionaryPtr data = bill.GetDataFld(Field("FQCLevelID"), kHead);
        data->SetItem("FFLD", level->Fields("FID"));
        data->SetItem("FDSP", name);
        data->SetItem("FFND", levelNumber);
        data->SetItem("FMODIFY", 1);
    }
    const std::string strictness =
        GetQMaInfoName("fClassTypeid=" + std::to_string(kStrictnessClassType) + " and FNumber='" +
                       std::string(kDefaultStrictness) + "'");
    bill.SetFieldText(Field("FYGDID"), strictness, kHead);
    const DictionaryPtr data = bill.GetDataFld(Field("FYGDID"), kHead);
    data->SetItem("FFLD", 1);
    data->SetItem("FDSP", strictness);
    data->SetItem("FFND", std::string(kDefaultStrictness));
    data->SetItem("FMODIFY", 1);
    return levelNumber;
}

// After a load or a copy: the fields and row limit the stored method allows.
void SampleStandard::ApplyMethodFieldStates() {
    BillEvent& bill = *m_BillInterface;
    const int method = Method();
    const MethodFields fields = MethodFieldStates(method);
    Enable("FSampQty", true);
    Enable("FFormula", false);
    bill.BillCtl()->SetGridMaxRows(0, kMaxRows);
    switch (method) {
        case kMethodSamplingTable:
            bill.BillCtl()->SetLockProperty(false, Field("FSwatchCode"), true);
            break;
        case kMethodFormula:
            Enable("FSampQty", fields.sampQty);
            Enable("FFormula", fields.formula);
            break;
        case kMethodSingleRow:
            bill.BillCtl()->SetGridMaxRows(0, MaxRowsOf(method));
            bill.BillCtl()->LockCell(Field("FLotSize"), 1, true);
            break;
        case kMethodCodeLetter:
            bill.BillCtl()->SetLockProperty(true, Field("FSwatchCode"), true);
            break;
        default:
            return;
    }
    Enable("FSwatchCode", fields.swatchCode);
    Enable(kPlanFields, fields.levelStrictnessAql);
}

// --- menus and locks -----------------------------------------------------------------------

void SampleStandard::ApplyMenuState() {
    BillEvent& bill = *m_BillInterface;
    const int method = Method();
    const bool mutex = bill.BillCtl()->MutexSuccess();
    if (Audited() || !mutex) {
        for (std::string_view key :
             {tool::kAddRow, tool::kDelRow, tool::kDelEntry, tool::kCopyRow, tool::kBatchFillField})
            bill.SetBarStatus(key, kVisible, false);
        for (std::string_view key : {tool::kFileSave, tool::kDataLookUp, kFormulaTool})
            bill.SetBarStatus(key, kEnabled, false);
    } else {
        bill.SetBarStatus(tool::kAddRow, kVisible, method != kMethodSingleRow);
        bill.SetBarStatus(tool::kDelRow, kVisible, method != kMethodSingleRow);
        bill.SetBarStatus(tool::kFileSave, kEnabled, true);
        bill.SetBarStatus(tool::kDataLookUp, kEnabled, true);
        bill.SetBarStatus(kFormulaTool, kEnabled, method == kMethodFormula);
    }
    bill.SetBarStatus("mnuDataRedBill", kVisible, false);
    bill.SetBarStatus("mnuDataBlueBill", kVisible, false);

    const int mode = bill.Mode();
    if (mode == 1) {
        bill.SetBarStatus(tool::kUnCheck, kEnabled, false);
        bill.SetBarStatus(tool::kCheck, kEnabled, false);
    } else if (mode == 0 || !mutex) {
        for (std::string_view key : {tool::kUnCheck, tool::kCheck}) {
            bill.SetBarStatus(key, kEnabled, false);
            bill.SetBarStatus(key, kVisible, false);
        }
    } else {
        bill.SetBarStatus(tool::kUnCheck, kEnabled, true);
        bill.SetBarStatus(tool::kCheck, kEnabled, true);
    }
}

void SampleStandard::ApplyReadOnlyRule() {
    if (NumberValue(HeadValue("FCheckerID")) > 0 || !m_BillInterface->BillCtl()->MutexSuccess())
        m_BillInterface->RefreshDisplay();
}

void SampleStandard::ApplyCheckerLock() {
    m_BillInterface->LockBill(!(NumberValue(m_BillInterface->GetHeadValue("FCheckerID")) < 1));
}

// --- checks --------------------------------------------------------------------------------

bool SampleStandard::LotSizeRefused(int row) {
    if (row <= 1) return false;
    if (!LotSizeOutOfOrder(row, NumberValue(EntryValue("FLotSize", row - 1)),
                           NumberValue(EntryValue("FLotSize", row))))
        return false;
    Inform(SaveProblemText({SaveProblem::Kind::kLotSizeOrder, row}));
    return true;
}

bool SampleStandard::SaveRefused() {
    const StandardHead head{Method(), NumberValue(HeadValue("FQCLevelID")),
                            NumberValue(HeadValue("FYGDID")), NumberValue(HeadValue("FAQLID"))};
    const int filled = FilledRows();
    std::vector<StandardRow> rows;
    for (int row = 1; row <= filled; ++row) {
        const Variant sample = EntryValue("FSampQty", row);
        rows.push_back(
            {NumberValue(EntryValue("FLotSize", row)), Text(EntryValue("FFormula", row)),
             Text(sample).empty() ? std::nullopt : std::optional<double>(NumberValue(sample)),
             NumberValue(EntryValue("FAcQty1", row)), NumberValue(EntryValue("FReQty1", row))});
    }
    const auto problem = FirstSaveProblem(head, rows);
    // The rows the sample checks read store an empty sample quantity as 0.
    const int checked = RowsThroughSampleChecks(head.method, filled, problem);
    for (int row = 1; row <= checked; ++row)
        if (!rows[static_cast<std::size_t>(row - 1)].sampQty)
            m_BillInterface->GetDataFld(Field("FSampQty"), row)->SetItem("FFLD", "0");
    if (!problem) return false;
    Inform(SaveProblemText(*problem));
    return true;
}

// A code-letter standard keeps no sample quantity and no Ac/Re in rows whose sample quantity is
// 0 or less; the form then shows the stored rows.
void SampleStandard::CleanUpAfterSave(const DictionaryPtr& dctData) {
    const Variant id = dctData->Item("FID");
    if (!(NumberValue(id) > 0)) return;
    CreateObject<AppConnection>(progid::kAppConnection)
        ->Execute(
            "UPDATE u \r\n"
            "SET FSampQty=CASE WHEN u.FSampQty<=0 THEN NULL ELSE u.FSampQty END\r\n"
            ",FACqty1=CASE WHEN u.FSampQty<=0 THEN NULL ELSE u.FACqty1 END\r\n"
            ",FReQty1=CASE WHEN u.FSampQty<=0 THEN NULL ELSE u.FReQty1 END\r\n"
            ",FAcQty2=CASE WHEN u.FSampQty<=0 THEN NULL ELSE u.FACqty2 END\r\n"
            ",FReQty2=CASE WHEN u.FSampQty<=0 THEN NULL ELSE u.FReQty2 END\r\n"
            "FROM QMSampStdEntry u\r\n"
            "INNER JOIN QMSampStd v ON v.FID=u.FID\r\n"
            " WHERE v.FSampMethodID= " +
            std::to_string(kMethodCodeLetter) + " AND u.FID =" + SqlWhole(id) + "\r\n");
    m_BillInterface->RefreshBill();
}

// --- the formula editor --------------------------------------------------------------------

void SampleStandard::EditFormula() {
    BillEvent& bill = *m_BillInterface;
    const DictionaryPtr formulaField = Field("FFormula");
    const ActiveControlPtr control = bill.ActiveControl();
    std::string formula = Text(bill.GetDataFld(formulaField, control->ActiveRow())->Item("FFLD"));
    if (control->Name() != "grid") return;
    auto editor = CreateObject<FormulaEditor>(progid::kFormulaEditor);
    const std::string edited = editor->Show(formula);
    if (editor->OK()) bill.SetCellValue(formulaField, edited, bill.ActiveControl()->ActiveRow());
}

// --- reading and writing the bill ----------------------------------------------------------

DictionaryPtr SampleStandard::Field(std::string_view key) {
    return m_BillInterface->GetFieldInfoByKey(key, "", 0);
}

Variant SampleStandard::HeadValue(std::string_view key) {
    return m_BillInterface->GetDataFld(Field(key), kHead)->Item("FFld");
}

Variant SampleStandard::EntryValue(std::string_view key, int row) {
    return m_BillInterface->GetDataFld(Field(key), row)->Item("FFld");
}

int SampleStandard::Method() {
    return static_cast<int>(WholeNumber(HeadValue("FSampMethodID")));
}

bool SampleStandard::Audited() {
    return NumberValue(HeadValue("FCheckerID")) != 0;
}

int SampleStandard::FilledRows() {
    return FilledEntryRows(*m_BillInterface);
}

void SampleStandard::ClearEntryColumn(std::string_view key) {
    const DictionaryPtr field = Field(key);
    const int filled = FilledRows();
    for (int row = 1; row <= filled; ++row)
        m_BillInterface->SetCellValue(field, "", row);
}

void SampleStandard::ClearLookup(std::string_view key) {
    const DictionaryPtr field = Field(key);
    m_BillInterface->SetFieldText(field, "", kHead);
    const DictionaryPtr data = m_BillInterface->GetDataFld(field, kHead);
    data->SetItem("FFLD", 0);
    data->SetItem("FDSP", "");
    data->SetItem("FFND", "");
    data->SetItem("FMODIFY", 1);
}

void SampleStandard::Enable(std::string_view key, bool enabled) {
    m_BillInterface->EnableField(Field(key), enabled);
}

void SampleStandard::Enable(std::span<const std::string_view> keys, bool enabled) {
    for (std::string_view key : keys)
        Enable(key, enabled);
}

}  // namespace velaqm
