#include "host/bill_store.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "frame/convert.h"
#include "frame/host_error.h"
#include "frame/text_util.h"
#include "host/native_sql.h"

namespace velaqm::host {

namespace {

// Database type codes read as numbers: the integer, float, decimal and bit types.
bool IsNumericType(int valueType) {
    constexpr int kNumeric[] = {2,   3,   4,   5,   6,  11, 14, 16,  17, 18, 19, 20,  21,
                                131, 139, 104, 106, 62, 56, 60, 108, 59, 52, 48, 127, 122};
    return std::find(std::begin(kNumeric), std::end(kNumeric), valueType) != std::end(kNumeric);
}

// The column value of a field's stored value.
Variant ColumnValue(const FieldDef& field, const Variant& stored) {
    if (stored.IsNull() || stored.IsEmpty()) return kNull;
    if (field.IsDate()) {
        const auto date = ToDate(stored);
        if (!date) return Text(stored).empty() ? Variant(kNull) : stored;
        return date->ToStorageString();
    }
    if (IsNumericType(field.valueType)) {
        if (stored.IsString() && Trim(stored.AsString()).empty()) return kNull;
        return ToDecimal(stored).ToString().find('.') == std::string::npos
                   ? Variant(WholeNumber(stored))
                   : Variant(NumberValue(stored));
    }
    return Text(stored);
}

DictionaryPtr ValueSet(Database& db, const FieldDef& field, const Variant& stored) {
    DictionaryPtr value = EmptyFieldValue();
    value->SetItem("FFLD", stored.IsNull() ? Variant("") : stored);
    if (field.IsLookup())
        ResolveLookup(db, field, value);
    else
        value->SetItem("FDSP", Text(stored));
    return value;
}

// The fields stored in a page's table: every field of the page but the key columns.
std::vector<const FieldDef*> StoredFields(const ClassDef& def, int page) {
    std::vector<const FieldDef*> fields;
    for (const FieldDef* field : def.FieldsOf(page))
        if (!EqualsNoCase(field->fieldName, "FID") && !EqualsNoCase(field->fieldName, "FEntryID"))
            fields.push_back(field);
    return fields;
}

DictionaryPtr RowFromRecord(Database& db, const ClassDef& def, int page, Statement& record) {
    DictionaryPtr row = NewDictionary();
    std::map<std::string, int> columns;
    for (int i = 0; i < record.ColumnCount(); ++i)
        columns[UpperAscii(record.ColumnName(i))] = i;
    for (const FieldDef* field : def.FieldsOf(page)) {
        const auto column = columns.find(UpperAscii(field->fieldName));
        const Variant stored = column == columns.end() ? Variant() : record.Column(column->second);
        row->SetItem(field->key, ValueSet(db, *field, stored));
    }
    return row;
}

void InsertRow(Database& db, const std::string& table, const std::vector<const FieldDef*>& fields,
               const DictionaryPtr& row, std::vector<std::pair<std::string, Variant>> keys) {
    std::string columns, marks;
    std::vector<Variant> values;
    for (auto& [name, value] : keys) {
        columns += (columns.empty() ? "" : ", ") + QuoteName(name);
        marks += marks.empty() ? "?" : ", ?";
        values.push_back(value);
    }
    for (const FieldDef* field : fields) {
        const auto value = row->Item(field->key).ObjectAs<Dictionary>();
        columns += ", " + QuoteName(field->fieldName);
        marks += ", ?";
        values.push_back(ColumnValue(*field, value ? value->Item("FFLD") : Variant()));
    }
    auto insert =
        db.Prepare("INSERT INTO " + QuoteName(table) + " (" + columns + ") VALUES (" + marks + ")");
    insert->BindAll(values);
    insert->Run();
}

void UpdateHead(Database& db, const std::string& table, const std::vector<const FieldDef*>& fields,
                const DictionaryPtr& head, int billId) {
    if (fields.empty()) return;
    std::string assignments;
    std::vector<Variant> values;
    for (const FieldDef* field : fields) {
        const auto value = head->Item(field->key).ObjectAs<Dictionary>();
        assignments += (assignments.empty() ? "" : ", ") + QuoteName(field->fieldName) + " = ?";
        values.push_back(ColumnValue(*field, value ? value->Item("FFLD") : Variant()));
    }
    values.push_back(billId);
    auto update =
        db.Prepare("UPDATE " + QuoteName(table) + " SET " + assignments + " WHERE FID = ?");
    update->BindAll(values);
    update->Run();
}

}  // namespace

std::string ProposedBillNumber(Database& db, const ClassDef& def) {
    auto next =
        WholeNumber(QueryValue(db, "SELECT MAX(FID) FROM " + QuoteName(def.HeadPage().tableName))) +
        1;
    for (;; ++next) {
        char digits[32];
        std::snprintf(digits, sizeof digits, "%06lld", static_cast<long long>(next));
        std::string number = def.billNoPrefix + digits;
        if (!BillNumberTaken(db, def, number, 0)) return number;
    }
}

bool BillNumberTaken(Database& db, const ClassDef& def, std::string_view number, int billId) {
    const FieldDef* billNo = def.BillNoField();
    if (!billNo || Trim(number).empty()) return false;
    return !QueryValue(db,
                       "SELECT 1 FROM " + QuoteName(def.HeadPage().tableName) + " WHERE " +
                           QuoteName(billNo->fieldName) + " = ? AND FID <> ?",
                       {std::string(number), billId})
                .IsEmpty();
}

void ResolveLookup(Database& db, const FieldDef& field, const DictionaryPtr& value) {
    const Variant stored = value->Item("FFLD");
    value->SetItem("FFND", "");
    value->SetItem("FDSP", "");
    if (Text(stored).empty()) return;
    const std::string fnd = field.fndField.empty() ? field.srcField : field.fndField;
    const std::string dsp = field.dspField.empty() ? fnd : field.dspField;
    const auto rows =
        QueryRows(db,
                  "SELECT " + QuoteName(fnd) + ", " + QuoteName(dsp) + " FROM " +
                      QuoteName(field.srcTable) + " WHERE " + QuoteName(field.srcField) + " = ?",
                  {stored});
    if (rows.empty()) return;
    value->SetItem("FFND", Text(rows.front()[0]));
    value->SetItem("FDSP", Text(rows.front()[1]));
}

bool RowHoldsData(const DictionaryPtr& row) {
    for (const auto& [key, cell] : row->Entries()) {
        const auto value = cell.ObjectAs<Dictionary>();
        if (value && !Text(value->Item("FFLD")).empty()) return true;
    }
    return false;
}

DictionaryPtr LoadBill(Database& db, const ClassDef& def, int billId) {
    DictionaryPtr data = NewDictionary();
    data->SetItem("PageCount", static_cast<int>(def.pages.size()));
    for (const PageDef& page : def.pages) {
        const std::string pageKey = "Page" + std::to_string(page.index);
        if (page.entryType == 0) {
            auto head = db.Prepare("SELECT * FROM " + QuoteName(page.tableName) + " WHERE FID = ?");
            head->Bind(1, billId);
            if (!head->Step()) {
                throw HostError(kErrInvalidCall, "VelaClassTpl.DataSrv",
                                "The bill " + std::to_string(billId) + " does not exist");
            }
            DictionaryPtr values = RowFromRecord(db, def, page.index, *head);
            data->SetItem(pageKey, Variant(values));
            continue;
        }
        VectorPtr rows = NewVector();
        auto entries = db.Prepare("SELECT * FROM " + QuoteName(page.tableName) +
                                  " WHERE FID = ? ORDER BY FEntryID");
        entries->Bind(1, billId);
        while (entries->Step())
            rows->Insert(Variant(RowFromRecord(db, def, page.index, *entries)));
        data->SetItem(pageKey, Variant(rows));
    }
    return data;
}

int SaveBill(Database& db, const ClassDef& def, const DictionaryPtr& data, int billId) {
    Transaction transaction = db.BeginTransaction();
    const PageDef& headPage = def.HeadPage();
    const auto head = data->Item("Page" + std::to_string(headPage.index)).ObjectAs<Dictionary>();
    if (!head) throw HostError(kErrObjectRequired, "BillForm", "The bill has no head data");
    if (billId <= 0) {
        billId = static_cast<int>(WholeNumber(
                     QueryValue(db, "SELECT MAX(FID) FROM " + QuoteName(headPage.tableName)))) +
                 1;
        InsertRow(db, headPage.tableName, StoredFields(def, headPage.index), head,
                  {{"FID", billId}});
    } else {
        UpdateHead(db, headPage.tableName, StoredFields(def, headPage.index), head, billId);
    }
    for (const PageDef& page : def.pages) {
        if (page.entryType == 0) continue;
        RunNative(db, "DELETE FROM " + QuoteName(page.tableName) + " WHERE FID = ?", {billId});
        const auto rows = data->Item("Page" + std::to_string(page.index)).ObjectAs<Vector>();
        if (!rows) continue;
        int entryId = 0;
        for (const Variant& item : *rows) {
            const auto row = item.ObjectAs<Dictionary>();
            if (!row || !RowHoldsData(row)) continue;
            InsertRow(db, page.tableName, StoredFields(def, page.index), row,
                      {{"FID", billId}, {"FEntryID", ++entryId}});
        }
    }
    transaction.Commit();
    return billId;
}

}  // namespace velaqm::host
