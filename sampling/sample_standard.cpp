#include "sampling/sample_standard.h"

#include <algorithm>
#include <array>
#include <span>

#include "billops/audit.h"
#include "billops/audit_tools.h"
#include "billops/bill_values.h"
#include "billops/server_queries.h"
#include "billops/toolbar_form.h"
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

constexpr int kLevelClassType = 1001304;
constexpr int kStrictnessClassType = 1001300;
constexpr std::string_view kDefaultLevel = "C2";
constexpr std::string_view kDefaultStrictness = "YGD01";

// Empties the sample quantity and the Ac/Re of the rows of a saved code-letter standard whose
// sample quantity is 0 or less: %1 the code-letter method, %2 the standard's FID.
constexpr std::string_view kCleanUpRows =
    "UPDATE u \r\n"
    "SET FSampQty=CASE WHEN u.FSampQty<=0 THEN NULL ELSE u.FSampQty END\r\n"
    ",FACqty1=CASE WHEN u.FSampQty<=0 THEN NULL ELSE u.FACqty1 END\r\n"
    ",FReQty1=CASE WHEN u.FSampQty<=0 THEN NULL ELSE u.FReQty1 END\r\n"
    ",FAcQty2=CASE WHEN u.FSampQty<=0 THEN NULL ELSE u.FACqty2 END\r\n"
    ",FReQty2=CASE WHEN u.FSampQty<=0 THEN NULL ELSE u.FReQty2 END\r\n"
    "FROM QMSampStdEntry u\r\n"
    "INNER JOIN QMSampStd v ON v.FID=u.FID\r\n"
    " WHERE v.FSampMethodID= %1 AND u.FID =%2\r\n";

// The header fields of the plan: level, strictness and AQL.
constexpr std::array<std::string_view, 3> kPlanFields = {"FQCLevelID", "FYGDID", "FAQLID"};

std::string RowText(int row) {
    return std::to_string(row);
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
        ApplyCheckerLock(*m_BillInterface);
    });
}

void SampleStandard::m_billinterface_AfterCopyBill() {
    TrapSilently([&] {
        ApplyMethodFieldStates();
        ApplyMenuState();
        ApplyCheckerLock(*m_BillInterface);
    });
}

void SampleStandard::m_billinterface_BeforLoadBillFillData() {
    TrapSilently([&] { m_BillInterface->RefreshDisplay(); });
}

void SampleStandard::m_billinterface_AfterNewBill() {
    TrapSilently([&] {
        ApplyMenuState();
        Enable("FSwatchCode", false);
        Enable(kPlanFields, false);
        ApplyCheckerLock(*m_BillInterface);
    });
}

// The rows of a code-letter standard are generated: its row tools are refused.
void SampleStandard::m_billinterface_MenuBarClick(const ToolPtr& XPFTool, bool& Cancel) {
    TrapSilently([&] {
        if (Cancel) return;
        const std::string key = XPFTool->Name();
        const bool rowTool =
            std::any_of(tool::kRowTools.begin(), tool::kRowTools.end(),
                        [&](std::string_view row) { return EqualsNoCase(key, row); });
        if (rowTool &&
            WholeNumber(m_BillInterface->GetHeadValue("FSampMethodID")) == kMethodCodeLetter)
            Cancel = true;
    });
}

void SampleStandard::m_billinterface_SaveBillSuccess(const DictionaryPtr& dctData) {
    TrapSilently([&] { CleanUpAfterSave(dctData); });
}

// --- the sampling method -------------------------------------------------------------------

// A new method: the entry and the plan fields start empty, then the method's own form.
void SampleStandard::SetUpMethod() {
    const std::optional<MethodForm> form = MethodFormOf(Method());
    ResetForNewMethod(form);
    if (form) SetUpMethodForm(*form);
}

// What every change of method starts with: no rows, no plan, the common field states and tools.
void SampleStandard::ResetForNewMethod(const std::optional<MethodForm>& form) {
    BillEvent& bill = *m_BillInterface;
    const BillValues values(bill);
    bill.ClearPage(kEntryPage);
    ClearEntryColumn("FLotSize");
    if (!(form && form->swatchCodeLocked.value_or(false)))
        bill.BillCtl()->SetLockProperty(false, values.Field("FSwatchCode"), true);
    bill.SetFieldText(values.Field("FQCLevelID"), "", kHeadRow);
    bill.SetFieldText(values.Field("FYGDID"), "", kHeadRow);
    for (std::string_view key : kPlanFields)
        values.ClearLookup(key);
    Enable("FSampQty", true);
    Enable("FFormula", false);
    bill.BillCtl()->LockCell(values.Field("FLotSize"), 1, false);
    if (!form || form->maxRows == kMaxRows) bill.BillCtl()->SetGridMaxRows(0, kMaxRows);
    bill.SetBarStatus(tool::kAddRow, kVisible, true);
    bill.SetBarStatus(tool::kDelRow, kVisible, true);
    bill.SetBarStatus(kFormulaTool, kEnabled, false);
}

// The method's fields, rows and tools where they differ from the common ones.
void SampleStandard::SetUpMethodForm(const MethodForm& form) {
    BillEvent& bill = *m_BillInterface;
    const BillValues values(bill);
    Enable("FSwatchCode", form.fields.swatchCode);
    Enable(kPlanFields, form.fields.levelStrictnessAql);
    ClearEntryColumn(form.clearedColumn);
    if (!form.fields.sampQty) Enable("FSampQty", false);
    if (form.fields.formula) Enable("FFormula", true);
    if (form.formulaTool) bill.SetBarStatus(kFormulaTool, kEnabled, true);
    if (form.maxRows != kMaxRows) bill.BillCtl()->SetGridMaxRows(0, form.maxRows);
    if (form.lotSizeFixed) {
        bill.BillCtl()->LockCell(values.Field("FLotSize"), 1, true);
        bill.SetCellValue(values.Field("FLotSize"), std::to_string(kOpenLotSize), 1);
    }
    if (!form.rowTools) {
        bill.SetBarStatus(tool::kAddRow, kVisible, false);
        bill.SetBarStatus(tool::kDelRow, kVisible, false);
    }
    if (form.defaultPlan) {
        const std::string level = FillDefaultLevelAndStrictness();
        if (form.codeLetterRows) WriteCodeLetterRows(bill, level);
    }
    if (form.swatchCodeLocked.value_or(false))
        bill.BillCtl()->SetLockProperty(true, values.Field("FSwatchCode"), true);
}

// The inspection level "C2" when its record exists, and always the strictness "YGD01"; the
// level's number, or "" when it has none.
std::string SampleStandard::FillDefaultLevelAndStrictness() {
    const BillValues values(*m_BillInterface);
    std::string levelNumber;
    const RecordsetPtr level =
        CreateObject<AppConnection>(progid::kAppConnection)
            ->Execute(
                " SELECT  * \r\n FROM QMAInfo \r\n WHERE FClassTypeID = 1001304 \r\n"
                " AND Fnumber = 'C2'");
    if (level && !level->Eof()) {
        levelNumber = Text(level->Fields("FNumber"));
        values.SetLookup("FQCLevelID", level->Fields("FID"),
                         GetQMaInfoName(kLevelClassType, kDefaultLevel), levelNumber);
    }
    values.SetLookup("FYGDID", 1, GetQMaInfoName(kStrictnessClassType, kDefaultStrictness),
                     std::string(kDefaultStrictness));
    return levelNumber;
}

// After a load or a copy: the fields and row limit the stored method allows.
void SampleStandard::ApplyMethodFieldStates() {
    BillEvent& bill = *m_BillInterface;
    const BillValues values(bill);
    const std::optional<MethodForm> form = MethodFormOf(Method());
    Enable("FSampQty", true);
    Enable("FFormula", false);
    bill.BillCtl()->SetGridMaxRows(0, kMaxRows);
    if (!form) return;
    if (form->swatchCodeLocked)
        bill.BillCtl()->SetLockProperty(*form->swatchCodeLocked, values.Field("FSwatchCode"), true);
    if (!form->fields.sampQty) Enable("FSampQty", false);
    if (form->fields.formula) Enable("FFormula", true);
    if (form->maxRows != kMaxRows) bill.BillCtl()->SetGridMaxRows(0, form->maxRows);
    if (form->lotSizeFixed) bill.BillCtl()->LockCell(values.Field("FLotSize"), 1, true);
    Enable("FSwatchCode", form->fields.swatchCode);
    Enable(kPlanFields, form->fields.levelStrictnessAql);
}

// --- menus and locks -----------------------------------------------------------------------

void SampleStandard::ApplyMenuState() {
    ApplyToolSettings(*m_BillInterface,
                      StandardMenuState(ReadBillFacts(*m_BillInterface), Method()));
}

void SampleStandard::ApplyReadOnlyRule() {
    if (IsReadOnly(ReadBillFacts(*m_BillInterface))) m_BillInterface->RefreshDisplay();
}

// --- checks --------------------------------------------------------------------------------

bool SampleStandard::LotSizeRefused(int row) {
    if (row <= 1) return false;
    const BillValues values(*m_BillInterface);
    if (!LotSizeOutOfOrder(row, values.EntryNumber("FLotSize", row - 1),
                           values.EntryNumber("FLotSize", row)))
        return false;
    Inform(SaveProblemText({SaveProblem::Kind::kLotSizeOrder, row}));
    return true;
}

bool SampleStandard::SaveRefused() {
    const BillValues values(*m_BillInterface);
    const StandardHead head{Method(), values.HeadNumber("FQCLevelID"), values.HeadNumber("FYGDID"),
                            values.HeadNumber("FAQLID")};
    const int filled = FilledRows();
    std::vector<StandardRow> rows;
    for (int row = 1; row <= filled; ++row) {
        const Variant sample = values.Entry("FSampQty", row);
        rows.push_back(
            {values.EntryNumber("FLotSize", row), Text(values.Entry("FFormula", row)),
             Text(sample).empty() ? std::nullopt : std::optional<double>(NumberValue(sample)),
             values.EntryNumber("FAcQty1", row), values.EntryNumber("FReQty1", row)});
    }
    const auto problem = FirstSaveProblem(head, rows);
    // The rows the sample checks read store an empty sample quantity as 0.
    const int checked = RowsThroughSampleChecks(head.method, filled, problem);
    for (int row = 1; row <= checked; ++row)
        if (!rows[static_cast<std::size_t>(row - 1)].sampQty)
            values.Data("FSampQty", row)->SetItem("FFLD", "0");
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
        ->Execute(SqlFormat(kCleanUpRows, {SqlWhole(kMethodCodeLetter), SqlWhole(id)}));
    m_BillInterface->RefreshBill();
}

// --- the formula editor --------------------------------------------------------------------

void SampleStandard::EditFormula() {
    BillEvent& bill = *m_BillInterface;
    const DictionaryPtr formulaField = BillValues(bill).Field("FFormula");
    const ActiveControlPtr control = bill.ActiveControl();
    std::string formula = Text(bill.GetDataFld(formulaField, control->ActiveRow())->Item("FFLD"));
    if (control->Name() != "grid") return;
    auto editor = CreateObject<FormulaEditor>(progid::kFormulaEditor);
    const std::string edited = editor->Show(formula);
    if (editor->OK()) bill.SetCellValue(formulaField, edited, bill.ActiveControl()->ActiveRow());
}

// --- reading and writing the bill ----------------------------------------------------------

int SampleStandard::Method() {
    return static_cast<int>(WholeNumber(BillValues(*m_BillInterface).Head("FSampMethodID")));
}

int SampleStandard::FilledRows() {
    return FilledEntryRows(*m_BillInterface);
}

void SampleStandard::ClearEntryColumn(std::string_view key) {
    const DictionaryPtr field = BillValues(*m_BillInterface).Field(key);
    const int filled = FilledRows();
    for (int row = 1; row <= filled; ++row)
        m_BillInterface->SetCellValue(field, "", row);
}

void SampleStandard::Enable(std::string_view key, bool enabled) {
    m_BillInterface->EnableField(BillValues(*m_BillInterface).Field(key), enabled);
}

void SampleStandard::Enable(std::span<const std::string_view> keys, bool enabled) {
    for (std::string_view key : keys)
        Enable(key, enabled);
}

}  // namespace velaqm
