#include "sampling/code_letter_plan.h"

#include <array>

#include "billops/bill_values.h"
#include "frame/convert.h"
#include "frame/error_policy.h"
#include "frame/host_services.h"
#include "frame/messages.h"
#include "frame/platform.h"
#include "frame/sql_text.h"
#include "frame/text_util.h"
#include "sampling/sample_standard_rules.h"

namespace velaqm {

namespace {

constexpr std::array<std::string_view, 7> kLevels = {"C1", "C2", "C3", "S1", "S2", "S3", "S4"};
// The plan of each lot-size range: %1 the AQL's cell column in vw_QM105E, %2 the strictness,
// %3 and %4 the AQL's Re and Ac columns, %5 the level's letter column. An arrow in a cell sends
// the letter to the nearest usable plan below (↓) or above (↑) it.
constexpr std::string_view kPlanBatch =
    "SET NOCOUNT ON\r\n"
    "CREATE TABLE #Standard(\r\n"
    "     FLotSize INT,\r\n"
    "     FCode VARCHAR(2),\r\n"
    "     FSampleQty INT,\r\n"
    "     FREQty INT,\r\n"
    "     FACQty INT)\r\n"
    "INSERT INTO #Standard(FSampleQty,FCode,FLotSize,FReQty,FAcQty)\r\n"
    "SELECT (CASE WHEN vq.%1='↓' THEN (SELECT TOP 1 q1.FSample FROM vw_QM105E vq1 INNER JOIN "
    "QM105E "
    "q1 ON q1.FID=vq1.FID WHERE q1.FYGD=%2 AND vq1.%1<>'↓' AND vq1.%1<>'↑' AND q1.FCode>t.FNewCode "
    " "
    "ORDER BY q1.FSample ASC,q1.FCode ASC)\r\n"
    "             WHEN vq.%1='↑' OR vq.%1='' THEN (SELECT TOP 1 vq1.FSample FROM vw_QM105E vq1 "
    "INNER JOIN QM105E q1 ON q1.FID=vq1.FID WHERE q1.FYGD=%2 AND vq1.%1<>'↓' AND vq1.%1<>'↑' AND "
    "q1.FCode<t.FNewCode ORDER BY q1.FSample DESC ,q1.FCode DESC)\r\n"
    "        Else q.FSample END) AS FSampleQty,t.FNewCode ,t.FUp AS FLotSize,%3,%4\r\n"
    "FROM vw_QM105E vq\r\n"
    "INNER JOIN QM105E q ON q.FID=vq.FID\r\n"
    "INNER JOIN (SELECT  %5 AS FNewCode,FID,FUp FROM QMSampleLetter) t ON t.FNewCode=q.FCode\r\n"
    "WHERE q.FYGD=%2\r\n"
    "SELECT * FROM #Standard\r\n"
    "DROP TABLE #Standard";

constexpr std::string_view kTraceTag = "VelaQMBillEvent.SampleStandard.RefreshAcRe";

RecordsetPtr Execute(std::string_view sql) {
    return CreateObject<AppConnection>(progid::kAppConnection)->Execute(sql);
}

// The code letter is shown and the formula hidden; the letters are not typed in.
void ShowCodeLetterColumns(BillEvent& bill) {
    const EntryPagePtr entry = bill.EntryPages()->Item(1);
    entry->Columns("FSwatchCode")->SetDisplayFlag(true);
    entry->Columns("FFormula")->SetDisplayFlag(false);
}

void LockCodeLetters(BillEvent& bill) {
    bill.BillCtl()->SetLockProperty(true, BillValues(bill).Field("FSwatchCode"), true);
}

// A whole number that must be there: a NULL ends the refresh, as the plan has no numbers.
std::int64_t Required(const Variant& value, std::string_view what) {
    if (value.IsNull() || value.IsEmpty())
        throw HostError(kErrInvalidUseOfNull, "VelaQMBillEvent",
                        "Invalid use of Null: " + std::string(what));
    return WholeNumber(value);
}

void WriteNumber(BillEvent& bill, std::string_view key, int row, std::int64_t number) {
    const DictionaryPtr field = BillValues(bill).Field(key);
    bill.SetCellValue(field, std::to_string(number), row);
    const DictionaryPtr data = bill.GetDataFld(field, row);
    data->SetItem("FFLD", Variant(number));
    data->SetItem("FMODIFY", 1);
}

void ClearThroughRowZero(BillEvent& bill, std::string_view key) {
    const DictionaryPtr field = BillValues(bill).Field(key);
    bill.SetCellValue(field, "", 0);
    const DictionaryPtr data = bill.GetDataFld(field, 0);
    data->SetItem("FFLD", "");
    data->SetItem("FMODIFY", 1);
}

// The entry row whose lot size is the range's upper bound (the open range's row for NULL), or 0.
int RowOfRange(BillEvent& bill, const Variant& upperBound, int filledRows) {
    const DictionaryPtr lotSize = BillValues(bill).Field("FLotSize");
    const double wanted =
        upperBound.IsNull() ? static_cast<double>(kOpenLotSize) : NumberValue(upperBound);
    for (int row = 1; row <= filledRows; ++row)
        if (NumberValue(bill.GetDataFld(lotSize, row)->Item("FFLD")) == wanted) return row;
    return 0;
}

// Writes each plan record into the row of its lot-size range.
void WritePlans(BillEvent& bill, Recordset& plans) {
    const int filled = FilledEntryRows(bill);
    plans.MoveFirst();
    for (; !plans.Eof(); plans.MoveNext()) {
        const Variant upperBound = plans.Fields("FLotSize");
        const int row = RowOfRange(bill, upperBound, filled);
        if (row == 0) continue;
        const std::optional<std::int64_t> lot =
            upperBound.IsNull() ? std::nullopt : std::optional(WholeNumber(upperBound));
        const std::int64_t sample = Required(plans.Fields("FSampleQty"), "FSampleQty");
        const std::int64_t ac = Required(plans.Fields("FACQty"), "FACQty");
        const std::int64_t re = Required(plans.Fields("FREQty"), "FREQty");
        WriteNumber(bill, "FSampQty", row, SampleQuantity(lot, sample));
        WriteNumber(bill, "FAcQty1", row, ac);
        WriteNumber(bill, "FReQty1", row, re);
    }
}

}  // namespace

int FilledEntryRows(BillEvent& bill) {
    const BillValues values(bill);
    const int count = values.EntryRows();
    const DictionaryPtr lotSize = values.Field("FLotSize");
    int filled = 0;
    for (int row = 1; row <= count; ++row)
        if (NumberValue(bill.GetDataFld(lotSize, row)->Item("FFLD")) != 0) ++filled;
    return filled;
}

std::string AqlToken(std::string_view aql) {
    return ReplaceAll(std::string(aql), ".", "_");
}

std::string LetterColumn(std::string_view level) {
    for (std::string_view known : kLevels)
        // A char, not "F": GCC 12 -O3 warns falsely (-Wrestrict) on "x" + string&&.
        if (level == known) return 'F' + std::string(level);
    return "";
}

std::string CodeLetterPlanSql(std::string_view level, std::string_view strictness,
                              std::string_view aqlToken) {
    const std::string token(aqlToken);
    return SqlFormat(kPlanBatch, {SqlName("F" + token + "_AC_RE"), SqlText(strictness),
                                  SqlName("FAQL_" + token + "_RE"),
                                  SqlName("FAQL_" + token + "_AC"), LetterColumn(level)});
}

bool WriteEntryRow(BillEvent& bill, int page, int row,
                   const std::vector<std::pair<std::string, Variant>>& values) {
    const DictionaryPtr data = bill.BillData();
    if (row < 1 || page < 1 || page > WholeNumber(data->Item("PageCount"))) return false;
    const VectorPtr rows = data->Item("Page" + std::to_string(page)).ObjectAs<Vector>();
    const DictionaryPtr rowValues = bill.DataSrv()->GetEmptyData(page);
    if (!rows || !rowValues) return false;
    for (const auto& [key, value] : values) {
        const std::string fieldKey = Text(BillValues(bill).Field(key)->Item("FKey"));
        const DictionaryPtr fieldValue = rowValues->Item(fieldKey).ObjectAs<Dictionary>();
        if (!fieldValue)
            throw HostError(kErrObjectRequired, "VelaQMBillEvent",
                            "Object required: the row has no field " + fieldKey);
        fieldValue->SetItem("FFLD", value);
        fieldValue->SetItem("FModify", 1);
    }
    if (row == 1)
        rows->SetItem(1, Variant(ObjectPtr(rowValues)));
    else
        rows->Insert(static_cast<std::size_t>(row), Variant(ObjectPtr(rowValues)));
    return true;
}

bool WriteCodeLetterRows(BillEvent& bill, std::string_view level) {
    bill.ClearPage(kEntryPage);
    ShowCodeLetterColumns(bill);
    LockCodeLetters(bill);
    if (level.empty()) return false;
    // A char, not a literal: GCC 12 -O3 warns falsely (-Wrestrict) on "x" + string&&.
    const std::string letterColumn = SqlName('F' + std::string(level));
    const RecordsetPtr ranges =
        Execute("select FLow,FUp, " + letterColumn + " from QMSampleLetter order by fid");
    bool written = false;
    const DictionaryPtr lotSize = BillValues(bill).Field("FLotSize");
    const DictionaryPtr codeLetter = BillValues(bill).Field("FSwatchCode");
    int row = 0;
    for (; ranges && !ranges->Eof(); ranges->MoveNext()) {
        ++row;
        const Variant upperBound = ranges->Fields("FUp");
        const Variant lot =
            upperBound.IsNull() ? Variant(std::to_string(kOpenLotSize)) : upperBound;
        const Variant letter = ranges->Fields(letterColumn);
        WriteEntryRow(bill, kEntryPage, row, {{"FLotSize", lot}, {"FSwatchCode", letter}});
        bill.SetCellValue(lotSize, lot, row);
        bill.SetCellValue(codeLetter, Text(letter), row);
        written = true;
    }
    if (ranges && ranges->State() == Recordset::kStateOpen) ranges->Close();
    return written;
}

void RefreshAcRe(BillEvent& bill, bool reloadRows) {
    TrapSilently([&] {
        if (WholeNumber(BillValues(bill).Head("FSampMethodID")) != kMethodCodeLetter) return;
        const TraceScope trace(kTraceTag);
        const BillValues values(bill);
        const std::string level = values.LookupNumber("FQCLevelID");
        if (level.empty()) {
            bill.ClearPage(kEntryPage);
            LockCodeLetters(bill);
            ShowCodeLetterColumns(bill);
            return;
        }
        if (reloadRows && !WriteCodeLetterRows(bill, level)) return;
        const RecordsetPtr plans = Execute(CodeLetterPlanSql(
            level, values.LookupNumber("FYGDID"), AqlToken(values.LookupNumber("FAQLID"))));
        if (!plans) {
            for (std::string_view key : {"FSampQty", "FAcQty1", "FReQty1"})
                ClearThroughRowZero(bill, key);
            return;
        }
        if (!plans->Eof()) WritePlans(bill, *plans);
    });
}

std::int64_t SampleQuantity(std::optional<std::int64_t> lotSize, std::int64_t planSample) {
    const std::int64_t lot = lotSize.value_or(kOpenRangeCap);
    return lot < planSample ? lot : planSample;
}

}  // namespace velaqm
