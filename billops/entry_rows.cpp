#include "billops/entry_rows.h"

#include "billops/bill_values.h"
#include "frame/convert.h"
#include "frame/error_policy.h"
#include "frame/messages.h"
#include "frame/platform.h"

namespace velaqm {

namespace {

constexpr int kFirstEntryPage = 1;

// The user-defined columns of the entry page: a deployment's own, open wherever a row is.
std::vector<DictionaryPtr> UserDefinedColumns(BillEvent& bill) {
    std::vector<DictionaryPtr> columns;
    for (const auto& [key, item] : bill.DataSrv()->TableInfo()->Entries()) {
        const auto info = item.ObjectAs<Dictionary>();
        if (info && WholeNumber(info->Item("FPage")) == kEntryPage &&
            Truth(info->Item("FUserDefine")))
            columns.push_back(info);
    }
    return columns;
}

}  // namespace

std::vector<int> FilledRows(BillEvent& bill, std::string_view key) {
    const BillValues values(bill);
    std::vector<int> rows;
    for (int row = 1; row <= values.EntryRows(); ++row)
        if (!Text(values.Entry(key, row)).empty()) rows.push_back(row);
    return rows;
}

void OpenFilledRowCells(BillEvent& bill, std::string_view lockedColumn,
                        std::span<const std::string_view> openColumns) {
    const int mode = bill.Mode();
    if (mode != bill_mode::kExisting && mode != bill_mode::kNew) return;
    const BillValues values(bill);
    const BillCtlPtr form = bill.BillCtl();
    form->SetLockProperty(true, values.Field(lockedColumn), true);
    std::vector<DictionaryPtr> open = UserDefinedColumns(bill);
    for (std::string_view key : openColumns)
        open.push_back(values.Field(key));
    for (int row : FilledRows(bill, lockedColumn))
        for (const DictionaryPtr& field : open)
            form->LockCell(field, row, false);
}

void ApplyBaseProperty(BillEvent& bill, int row, std::span<const std::string_view> columns) {
    const BillValues values(bill);
    if (values.EntryNumber("FAnalysisMethodID", row) != kQuantitativeAnalysis) return;
    const EntryColumnPtr base = bill.EntryPages()->Item(kFirstEntryPage)->Columns("FBaseProperty");
    base->SetRow(row);
    for (std::string_view key : columns)
        ResumeNext([&] { bill.SetCellSetting(values.Field(key), row, LongNumber(base->Value())); });
}

bool RefuseLastRowDelete(BillEvent& bill, std::string_view key, bool& Cancel) {
    if (FilledRows(bill, key).size() >= 2) return false;
    Inform(LoadCVString("不允许删除，必须保留一行."));
    Cancel = true;
    return true;
}

}  // namespace velaqm
