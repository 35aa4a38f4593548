#include "host/bill_store.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <map>
#include <optional>
#include <string>

#include "frame/convert.h"
#include "frame/host_error.h"
#include "frame/text_util.h"
#include "host/native_sql.h"

namespace velaqm::host {

namespace {

// The digits of a complete number text: "-12.50e1" has 3 significant digits, no places and 3
// whole digits. Exponents are read only as far as they can matter.
struct NumberShape {
    long long significant = 0;
    long long places = 0;
    long long wholeDigits = 0;
};

std::optional<NumberShape> ShapeOf(std::string_view text) {
    text = TrimView(text);
    if (text.empty() || NumberPrefixLength(text) != text.size()) return std::nullopt;
    std::size_t pos = text.front() == '+' || text.front() == '-' ? 1 : 0;
    std::string digits;
    long long scale = 0;
    bool afterPoint = false;
    for (; pos < text.size() && text[pos] != 'e' && text[pos] != 'E'; ++pos) {
        if (text[pos] == '.') {
            afterPoint = true;
            continue;
        }
        digits += text[pos];
        if (afterPoint) ++scale;
    }
    long long exponent = 0;
    bool negativeExponent = false;
    for (++pos; pos < text.size(); ++pos) {
        if (text[pos] == '-') negativeExponent = true;
        if (text[pos] >= '0' && text[pos] <= '9')
            exponent = std::min(exponent * 10 + (text[pos] - '0'), 1'000'000LL);
    }
    scale -= negativeExponent ? -exponent : exponent;
    const auto first = digits.find_first_not_of('0');
    if (first == std::string::npos) return NumberShape{};
    digits.erase(0, first);
    while (digits.back() == '0') {
        digits.pop_back();
        --scale;
    }
    const auto significant = static_cast<long long>(digits.size());
    return NumberShape{significant, std::max(0LL, scale), std::max(0LL, significant - scale)};
}

// The column value of a field// The column value of a field's stored value.
Variant ColumnValue(const FieldDef& field, const Variant& stored) {
    if (stored.IsNull() || stored.IsEmpty()) return kNull;
    if (field.IsDate()) {
        const auto date = ToDate(stored);
        if (!date) return Text(stored).empty() ? Variant(kNull) : stored;
        return date->ToStorageString();
    }
    if (IsNumericType(field.valueType)) {
        if (stored.IsString() && Trim(stored.AsString()).empty()) return kNull;
        // A Decimal binds a whole number as a 64-bit integer; a Long or Double would not.
        return ToDecimal(stored);
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
    if (field.IsSourceLookup()) ShowSourceBill(db, field, value);
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
        Variant column = ColumnValue(*field, value ? value->Item("FFLD") : Variant());
        // A field left empty leaves the column to its default, as a row the form never showed
        // would: a sample is not destroyed (0) until something marks it so.
        if (column.IsNull()) continue;
        columns += ", " + QuoteName(field->fieldName);
        marks += ", ?";
        values.push_back(std::move(column));
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

bool IsNumericType(int valueType) {
    constexpr int kNumeric[] = {2,   3,   4,   5,   6,  11, 14, 16,  17, 18, 19, 20,  21,
                                131, 139, 104, 106, 62, 56, 60, 108, 59, 52, 48, 127, 122};
    return std::find(std::begin(kNumeric), std::end(kNumeric), valueType) != std::end(kNumeric);
}

NumberLimits NumberLimitsOf(int valueType) {
    constexpr std::int64_t kMax18 = 999'999'999'999'999'999;
    constexpr std::int64_t kMaxMoney = 922'337'203'685'477;  // whole part of money, decimal(19,4)
    switch (valueType) {
        case 11:  // bit, read as the host's booleans
        case 104:
            return {-1, 1, 0};
        case 16:
            return {-128, 127, 0};
        case 17:
        case 48:
            return {0, 255, 0};
        case 2:
        case 52:
            return {-32'768, 32'767, 0};
        case 18:
            return {0, 65'535, 0};
        case 3:
        case 56:
            return {std::numeric_limits<std::int32_t>::min(),
                    std::numeric_limits<std::int32_t>::max(), 0};
        case 19:
            return {0, 4'294'967'295, 0};
        case 20:
        case 127:
            return {-kMax18, kMax18, 0};
        case 21:
            return {0, kMax18, 0};
        case 6:
        case 60:
            return {-kMaxMoney, kMaxMoney, 4};
        case 122:
            return {-214'748, 214'748, 4};
        case 4:
        case 5:
        case 59:
        case 62:
            return {-kMax18, kMax18, Decimal::kMaxScale, NumberLimits::kFractionDigits};
        default:  // decimal and numeric: the client's decimal(28,10)
            return {-kMax18, kMax18, 10};
    }
}

TypedNumberProblem CheckTypedNumber(int valueType, std::string_view text) {
    const std::optional<NumberShape> shape = ShapeOf(text);
    if (!shape) return TypedNumberProblem::NotANumber;
    const NumberLimits limits = NumberLimitsOf(valueType);
    if (shape->wholeDigits > 18) return TypedNumberProblem::OutOfRange;
    if (shape->places > limits.places)
        return limits.places == 0 ? TypedNumberProblem::WholeOnly
                                  : TypedNumberProblem::TooManyPlaces;
    if (shape->significant > limits.digits ||
        (shape->places > 0 && shape->significant > NumberLimits::kFractionDigits))
        return TypedNumberProblem::TooManyDigits;
    // At most 18 whole digits and 28 places: the Decimal holds the text exactly.
    const Decimal value = *Decimal::Parse(TrimView(text));
    if (value < Decimal(limits.min) || value > Decimal(limits.max))
        return TypedNumberProblem::OutOfRange;
    return TypedNumberProblem::None;
}

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

void ShowSourceBill(Database& db, const FieldDef& field, const DictionaryPtr& value) {
    const std::string number = Text(value->Item("FFLD"));
    value->SetItem("FFND", number);
    value->SetItem("FDSP", number);
    const bool namedApart = !field.srcTable.empty() && !field.dspField.empty() &&
                            !EqualsNoCase(field.dspField, field.srcField);
    if (number.empty() || !namedApart) return;
    const auto rows =
        QueryRows(db,
                  "SELECT " + QuoteName(field.dspField) + " FROM " + QuoteName(field.srcTable) +
                      " WHERE " + QuoteName(field.srcField) + " = ?",
                  {number});
    if (!rows.empty()) value->SetItem("FDSP", Text(rows.front()[0]));
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
