#include "supplier/supplier_eva_ext.h"

#include <vector>

#include "billops/audit.h"
#include "billops/audit_tools.h"
#include "billops/bill_tools.h"
#include "billops/bill_values.h"
#include "billops/class_link.h"
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
#include "supplier/supplier_log.h"

namespace velaqm {

namespace {

constexpr int kEvaluationProjectClass = 1001901;
constexpr LogCodes kNewEvaluationLog{.purchasing = "K206034", .quality = "QM008007"};
constexpr LogCodes kSavedEvaluationLog{.purchasing = "K206033", .quality = "QM008006"};
constexpr std::string_view kNoSupply = "没有供货信息，供货质量无法自动打分！";

// The date of a head field; a value that is not one fails as the conversion would.
Date DateOf(const Variant& value) {
    const std::optional<Date> day = ToDate(value);
    if (!day) throw HostError(kErrTypeMismatch, "SupplierEvaExt", "Type mismatch");
    return *day;
}

// A column of the statement's first row; none when there is no row or the column is Null.
std::optional<double> FigureOf(const RecordsetPtr& rows, std::string_view column) {
    if (!HasRow(rows)) return std::nullopt;
    const Variant value = rows->Fields(column);
    if (value.IsNull() || value.IsEmpty()) return std::nullopt;
    return NumberValue(value);
}

// A lookup's internal ID: 0 for none.
std::int32_t IdOf(const Variant& value) {
    return Text(value).empty() ? 0 : LongNumber(value);
}

}  // namespace

void SupplierEvaExt::Show(const Variant& oBillInterface) {
    m_billinterface = BillObjectOf(oBillInterface);
}

// --- handlers ----------------------------------------------------------------------------------

void SupplierEvaExt::m_billinterface_BarInitialize(const ActiveBarPtr& oActiveBar) {
    TrapSilently([&] { ShowAuditTools(oActiveBar); });
}

void SupplierEvaExt::m_billinterface_BarClick(const ToolPtr& Tool, bool& Cancel) {
    TrapSilently([&] {
        if (Cancel) return;
        const std::string name = Tool->Name();
        if (name == tool::kCheck) {
            AuditBill(*m_billinterface, true);
        } else if (name == tool::kUnCheck) {
            AuditBill(*m_billinterface, false);
        } else if (name == tool::kDataLookUp && LowerAscii(m_currentField) == "fprojid") {
            m_billinterface->BillCtl()->DoSelBill(kEvaluationProjectClass);
            m_billinterface->FireAfterSelBill(kEvaluationProjectClass);
        } else if (name == tool::kCopy) {
            m_copying = true;
        }
    });
}

// A new bill whose period cannot be proposed (it has no end date yet) gets it once a project
// is chosen.
void SupplierEvaExt::m_billinterface_AfterNewBill() {
    bool done = false;
    TrapSilently([&] {
        bool keepRowTools = true;
        SetAuditMenuState(*m_billinterface, keepRowTools);
        if (m_billinterface->Mode() == bill_mode::kNew && !m_copying) {
            ProposePeriod();
            m_periodPending = false;
            Refresh();
        }
        m_copying = false;
        WriteSupplierLog("", kNewEvaluationLog);
        ApplyCheckerLock(*m_billinterface);
        done = true;
    });
    if (!done) m_periodPending = true;
}

void SupplierEvaExt::m_billinterface_AfterLoadBill() {
    TrapSilently([&] {
        bool keepRowTools = true;
        SetAuditMenuState(*m_billinterface, keepRowTools);
        const BillValues values(*m_billinterface);
        const BillCtlPtr form = m_billinterface->BillCtl();
        if (m_billinterface->Mode() == bill_mode::kExisting &&
            !Text(values.Head("FProjID")).empty())
            form->SetLockProperty(true, values.Field("FProjID"), false);
        form->SetGridMaxRows(0, values.EntryRows());
        Refresh();
        if (!form->MutexSuccess() || values.HeadNumber("FCheckerID") > 0)
            m_billinterface->RefreshDisplay();
        ApplyCheckerLock(*m_billinterface);
    });
}

// No trap: a failure goes back to the host. A host whose copy raises no AfterNewBill ends the
// copy here, so that the next new bill has its period proposed again.
void SupplierEvaExt::m_billinterface_AfterCopyBill() {
    m_copying = false;
    Refresh();
    ApplyCheckerLock(*m_billinterface);
}

void SupplierEvaExt::m_billinterface_AfterSelBill(int) {
    TrapSilently([&] {
        if (Text(m_billinterface->GetHeadValue("FProjID")) != m_lastProject) ScoreSupplyQuality();
        Refresh();
        if (m_periodPending) {
            ProposePeriod();
            m_periodPending = false;
        }
    });
}

void SupplierEvaExt::m_billinterface_BeginEdit(const DictionaryPtr& dct, int, int) {
    TrapSilently([&] {
        const std::string key = Text(dct->Item("FKey"));
        if (LowerAscii(key) == "fprojid") {
            const bool audited = BillValues(*m_billinterface).HeadNumber("FCheckerID") > 0;
            m_billinterface->SetBarStatus(tool::kDataLookUp, kEnabled, !audited);
        }
        m_currentField = key;
    });
}

void SupplierEvaExt::m_billinterface_Change(const DictionaryPtr& dct, const DictionaryPtr&, int,
                                            int, bool&) {
    TrapSilently([&] {
        const std::string field = Text(dct->Item("FFieldName"));
        if (field == "FProjID")
            CheckProject();
        else if (field == "FGrade")
            ShowTotalScore();
        else if (field == "FBAssessDate" || field == "FEAssessDate" || field == "FSupID" ||
                 field == "FItemID")
            ScoreSupplyQuality();
    });
}

// A check that cannot be made refuses the save.
void SupplierEvaExt::m_billinterface_BeforeSave(bool& bCancel) {
    TrapAndShow(LoadCVString("[供应商评估]保存出错，原因："), [&] {
        bCancel = true;
        bCancel = SaveRefused() || ZeroScoreRefused();
    });
}

// No trap: a failure goes back to the host.
void SupplierEvaExt::m_billinterface_AfterSave(bool&) {
    const std::string number = Text(m_billinterface->GetHeadValue("FBillID"));
    WriteSupplierLog(FormatCVString("单据编号：%1", {number}), kSavedEvaluationLog);
}

// --- steps -------------------------------------------------------------------------------------

void SupplierEvaExt::ProposePeriod() {
    const BillValues values(*m_billinterface);
    const std::string begin = Text(Variant(ProposedBegin(DateOf(values.Head("FEAssessDate")))));
    values.Data("FBAssessDate")->SetItem("FFLD", begin);
    m_billinterface->SetFieldText(values.Field("FBAssessDate"), begin, kHeadRow);
}

// The grid holds the project's items and no more; the item is locked when evaluations are made
// for the supplier as a whole.
void SupplierEvaExt::Refresh() {
    const BillValues values(*m_billinterface);
    m_billinterface->BillCtl()->SetGridMaxRows(0, values.EntryRows());
    m_lastProject = Text(values.Head("FProjID"));
    if (GetSystemValue("IsAimAtICItem") == "0")
        m_billinterface->BillCtl()->SetLockProperty(true, values.Field("FItemID"), false);
}

// A project typed by number brings in its items; one that names no project gives way to the
// last one.
void SupplierEvaExt::CheckProject() {
    const BillValues values(*m_billinterface);
    const std::string project = Text(values.Head("FProjID"));
    if (project == m_lastProject || project.empty()) return;
    const VectorPtr projects =
        CreateObject<DataInfo>(progid::kDataInfo)
            ->GetProjData(GetPropsString(), "FProjID = " + SqlText(Trim(project)));
    if (!projects || projects->Size() == 0) {
        Inform(LoadCVString("你输入的评估方案代码有错，请重新输入或保留最后一次正确结果！"));
        m_billinterface->SetFieldText(values.Field("FProjID"), m_lastProject, kHeadRow);
        values.Data("FProjID")->SetItem("FFLD", m_lastProject);
        return;
    }
    FillThroughClassLink(*m_billinterface, kEvaluationProjectClass, projects);
    Refresh();
    ScoreSupplyQuality();
}

// The supply-quality rows are graded from the supply of the period, unless they hold a grade
// worked out for the same supplier, item and period. Without supply a row keeps its grade.
void SupplierEvaExt::ScoreSupplyQuality() {
    const BillValues values(*m_billinterface);
    const Variant begin = values.Head("FBAssessDate");
    if (Text(begin).empty()) return;
    SupplyScope scope{.begin = DateOf(begin), .end = DateOf(values.Head("FEAssessDate"))};
    if (scope.end < scope.begin) {
        Inform(LoadCVString("考核开始日期不能大于结束日期,请更正！"));
        return;
    }
    scope.supplier = IdOf(values.Head("FSupID"));
    scope.item = IdOf(values.Head("FItemID"));
    if (scope.supplier == 0 || (PerItem() && scope.item == 0)) return;
    const std::string supplyItem = ResumeNextOr(
        [] { return GetQMaInfoName(kEvaluationItemClass, kSupplyQualityItem); }, std::string());
    if (supplyItem.empty()) return;
    for (int row = 1; row <= values.EntryRows(); ++row) {
        if (Text(values.Data("FEvaItemNo39765", row)->Item("FDSP")) != supplyItem) continue;
        if (!GradeDue(Text(values.Entry("FGrade", row)), scope, m_lastScope)) continue;
        const std::optional<double> grade = SupplyGrade(scope, values.EntryNumber("FProjS", row));
        m_lastScope = scope;
        if (!grade) {
            Inform(LoadCVString(kNoSupply));
            continue;
        }
        const DictionaryPtr cell = values.Data("FGrade", row);
        cell->SetItem("FFLD", *grade);
        cell->SetItem("FModify", 1);
        m_billinterface->SetFieldText(values.Field("FGrade"), Text(Variant(*grade)), row);
        m_billinterface->BillCtl()->SetSumData(values.Field("FGrade"));
        ShowTotalScore();
    }
}

// For the supplier as a whole the quality module's rate; for one item its receipts and the
// stock taken in without a receipt. None without supply.
std::optional<double> SupplierEvaExt::SupplyGrade(const SupplyScope& scope, double points) {
    if (!PerItem()) {
        const DictionaryPtr period = NewDictionary();
        period->SetItem("SupID", scope.supplier);
        period->SetItem("BDate", Variant(scope.begin));
        period->SetItem("EDate", Variant(scope.end));
        const double rate =
            CreateObject<DataUpDate>(progid::kDataUpDate)->score(GetPropsString(), period);
        return GradeOfRate(rate, points);
    }
    const std::string period = PeriodClause(scope.begin, scope.end);
    const RecordsetPtr receipts =
        RunQuery(InspectedReceiptsSql(scope.supplier, scope.item, period));
    const RecordsetPtr stocked =
        RunQuery(StockedWithoutReceiptSql(scope.supplier, scope.item, period));
    return GradeOfSupply({.passed = FigureOf(receipts, "PassQty"),
                          .checked = FigureOf(receipts, "CheckQty"),
                          .stocked = FigureOf(stocked, "CheckQty")},
                         points);
}

void SupplierEvaExt::ShowTotalScore() {
    const BillValues values(*m_billinterface);
    std::vector<double> grades;
    for (int row = 1; row <= values.EntryRows(); ++row)
        grades.push_back(values.EntryNumber("FGrade", row));
    const double total = TotalScore(grades);
    const std::string score = Text(Variant(total));
    m_billinterface->SetFieldText(values.Field("FScore"), score, kHeadRow);
    const DictionaryPtr cell = values.Data("FScore");
    cell->SetItem("FFLD", score);
    cell->SetItem("FModify", 1);
    const EvaluationResult& result = ResultOf(total, values.HeadNumber("FPassMark"));
    const std::string name = ResumeNextOr(
        [&] { return GetQMaInfoName(kEvaluationResultClass, result.number); }, std::string());
    values.SetLookup("FEvaResult", std::string(result.id), name, std::string(result.number));
}

bool SupplierEvaExt::SaveRefused() {
    const BillValues values(*m_billinterface);
    const EvaluationHead head{.perItem = PerItem(),
                              .hasItem = IdOf(values.Head("FItemID")) != 0,
                              .begin = ToDate(values.Head("FBAssessDate")),
                              .end = ToDate(values.Head("FEAssessDate"))};
    const std::vector<std::string_view> problems = SaveProblemTexts(head);
    for (std::string_view problem : problems)
        Inform(LoadCVString(problem));
    return !problems.empty();
}

// A new evaluation scored 0 is saved only when the user says so.
bool SupplierEvaExt::ZeroScoreRefused() {
    if (m_billinterface->Mode() != bill_mode::kNew) return false;
    if (BillValues(*m_billinterface).HeadNumber("FScore") != 0) return false;
    return ShowMessage(LoadCVString("评估得分为0，是否保存？"), kMsgYesNo | kMsgInformation) ==
           kAnswerNo;
}

bool SupplierEvaExt::PerItem() {
    return GetSystemValue("IsAimAtICItem") == "1";
}

}  // namespace velaqm
