#include "host/bill_form_values.h"

#include <algorithm>

#include "frame/convert.h"
#include "frame/host_error.h"
#include "frame/platform.h"
#include "frame/text_util.h"
#include "host/action_refused.h"
#include "host/bill_store.h"
#include "host/native_sql.h"
#include "host/parts/string_table.h"
#include "host/session.h"

namespace velaqm::host {

namespace {

// The grid's refusal of text typed into a numeric field, in the session's language: the
// source texts are Chinese, "%1" stands for the field's caption and "%2", "%3" for limits.
std::string TypedNumberMessage(const StringTable& strings, const std::string& caption,
                               const NumberLimits& limits, TypedNumberProblem problem) {
    std::string text;
    switch (problem) {
        case TypedNumberProblem::None:
            return "";
        case TypedNumberProblem::NotANumber:
            text = strings.Lookup("%1必须是数字，请重新输入！");
            break;
        case TypedNumberProblem::OutOfRange:
            text = ReplaceAll(ReplaceAll(strings.Lookup("%1超出范围（%2 ～ %3）！"), "%2",
                                         std::to_string(limits.min)),
                              "%3", std::to_string(limits.max));
            break;
        case TypedNumberProblem::WholeOnly:
            text = strings.Lookup("%1只能输入整数！");
            break;
        case TypedNumberProblem::TooManyPlaces:
            text =
                ReplaceAll(strings.Lookup("%1最多%2位小数！"), "%2", std::to_string(limits.places));
            break;
        case TypedNumberProblem::TooManyDigits:
            text = ReplaceAll(strings.Lookup("%1最多%2位有效数字！"), "%2",
                              std::to_string(NumberLimits::kFractionDigits));
            break;
    }
    return ReplaceAll(text, "%1", caption);
}

// The cells of one row of the entry page.
DictionaryPtr RowCells(const VectorPtr& rows, int row) {
    return rows->Item(static_cast<std::size_t>(row)).ObjectAs<Dictionary>();
}

}  // namespace

const FieldDef& FieldOf(const ClassDef& def, std::string_view key) {
    const FieldDef* field = def.Field(key);
    if (!field)
        throw HostError(kErrInvalidCall, "BillEvent", "The bill has no field " + std::string(key));
    return *field;
}

const FieldDef& FieldOf(const ClassDef& def, const DictionaryPtr& fieldInfo) {
    if (!fieldInfo) throw HostError(kErrObjectRequired, "BillEvent", "Object required");
    return FieldOf(def, Text(fieldInfo->Item("FKey")));
}

std::string CellName(const FieldDef& field, int row) {
    return field.page == 1 ? field.key : field.key + " row " + std::to_string(row);
}

BillFormValues::BillFormValues(Session& session, std::shared_ptr<const ClassDef> def,
                               std::shared_ptr<HostDataSrv> billTemplate)
    : m_session(session),
      m_def(std::move(def)),
      m_template(std::move(billTemplate)),
      m_gridMaxRows(m_def->gridMaxRows) {}

// --- the bill data -------------------------------------------------------------------------

void BillFormValues::Load(int billId) {
    m_data = LoadBill(m_session.Db(), *m_def, billId);
}

void BillFormValues::NewEmpty() {
    m_data = m_template->GetEmptyBill().ObjectAs<Dictionary>();
    if (const VectorPtr rows = EntryRows()) AppendEmptyRow(rows);
}

void BillFormValues::CopyFrom(const DictionaryPtr& source) {
    for (const FieldDef& field : m_def->fields) {
        if (field.page != 1 || EqualsNoCase(field.key, "FID") || &field == m_def->BillNoField() ||
            EqualsNoCase(field.key, "FCheckerID"))
            continue;
        const auto from =
            source->Item("Page1").ObjectAs<Dictionary>()->Item(field.key).ObjectAs<Dictionary>();
        if (from) Store(field, 0, from->Item("FFLD"));
    }
    if (const VectorPtr sourceRows = source->Item("Page2").ObjectAs<Vector>()) {
        const VectorPtr rows = EntryRows();
        rows->Clear();
        for (const Variant& item : *sourceRows) {
            DictionaryPtr copy = m_template->GetEmptyData(kEntryPage);
            for (const auto& [key, cell] : item.ObjectAs<Dictionary>()->Entries())
                if (auto value = cell.ObjectAs<Dictionary>())
                    for (const auto& [name, part] : value->Entries())
                        copy->Item(key).ObjectAs<Dictionary>()->SetItem(name, part);
            rows->Insert(Variant(copy));
        }
    }
}

void BillFormValues::Replace(const DictionaryPtr& data) {
    if (!data || !data->Item("Page1").ObjectAs<Dictionary>())
        throw HostError(kErrInvalidCall, "BillCtl", "The bill data has no head page");
    m_data = data;
    if (const VectorPtr rows = EntryRows(); rows && rows->Size() == 0) AppendEmptyRow(rows);
}

namespace {

bool Modified(const DictionaryPtr& cell) {
    return cell && NumberValue(cell->Item("FModify")) != 0;
}

}  // namespace

void BillFormValues::FillFrom(const DictionaryPtr& data) {
    if (!data || data == m_data) return;
    // The rows of a fill share their lookup records (the same item, unit, method): read once.
    m_fillLookups.emplace();
    const std::unique_ptr<std::optional<LookupTexts>, void (*)(std::optional<LookupTexts>*)>
        fillOver(&m_fillLookups, [](std::optional<LookupTexts>* lookups) { lookups->reset(); });
    if (const auto head = data->Item("Page1").ObjectAs<Dictionary>())
        for (const auto& [key, cell] : head->Entries())
            if (const auto filled = cell.ObjectAs<Dictionary>(); Modified(filled))
                FillCell(FieldOf(key), 0, filled);
    const auto rows = data->Item("Page2").ObjectAs<Vector>();
    if (!rows || rows->Size() == 0 || !EntryRows()) return;
    EntryRows()->Clear();
    int row = 0;
    for (const Variant& item : *rows) {
        AppendEmptyRow(EntryRows());
        ++row;
        if (const auto cells = item.ObjectAs<Dictionary>())
            for (const auto& [key, cell] : cells->Entries())
                if (const auto filled = cell.ObjectAs<Dictionary>(); Modified(filled))
                    FillCell(FieldOf(key), row, filled);
    }
}

void BillFormValues::ResolveLookupCell(const FieldDef& field, const DictionaryPtr& cell) {
    if (!m_fillLookups) {
        ResolveLookup(m_session.Db(), field, cell);
        return;
    }
    const auto key = std::make_pair(field.key, Text(cell->Item("FFLD")));
    if (const auto known = m_fillLookups->find(key); known != m_fillLookups->end()) {
        cell->SetItem("FFND", known->second.first);
        cell->SetItem("FDSP", known->second.second);
        return;
    }
    ResolveLookup(m_session.Db(), field, cell);
    m_fillLookups->emplace(key, std::make_pair(cell->Item("FFND"), cell->Item("FDSP")));
}

void BillFormValues::FillCell(const FieldDef& field, int row, const DictionaryPtr& filled) {
    Store(field, row, filled->Item("FFLD"));
    const DictionaryPtr cell = ValueAt(field, row);
    for (std::string_view part : {"FFND", "FDSP"})
        if (!Text(filled->Item(part)).empty()) cell->SetItem(part, filled->Item(part));
    cell->SetItem("FMODIFY", 1);
}

DictionaryPtr BillFormValues::HeadPage() const {
    return m_data->Item("Page1").ObjectAs<Dictionary>();
}

VectorPtr BillFormValues::EntryRows() const {
    return m_data ? m_data->Item("Page2").ObjectAs<Vector>() : nullptr;
}

void BillFormValues::AppendEmptyRow(const VectorPtr& rows) const {
    rows->Insert(Variant(m_template->GetEmptyData(kEntryPage)));
}

// --- cells -----------------------------------------------------------------------------------

DictionaryPtr BillFormValues::ValueAt(const FieldDef& field, int row) {
    DictionaryPtr cells = HeadPage();
    if (field.page != 1) {
        const VectorPtr rows = EntryRows();
        if (!rows || row < 1 || row > m_gridMaxRows)
            throw HostError(kErrSubscript, "BillEvent",
                            "Row " + std::to_string(row) + " is outside the grid");
        while (rows->Size() < static_cast<std::size_t>(row))
            AppendEmptyRow(rows);
        cells = RowCells(rows, row);
    }
    auto value = cells->Item(field.key).ObjectAs<Dictionary>();
    if (!value) {
        value = EmptyFieldValue();
        cells->SetItem(field.key, Variant(value));
    }
    return value;
}

Variant BillFormValues::StoredItem(const FieldDef& field, int row, std::string_view item) const {
    DictionaryPtr cells = HeadPage();
    if (field.page != 1) {
        const VectorPtr rows = EntryRows();
        if (!rows || row < 1 || static_cast<std::size_t>(row) > rows->Size()) return Variant();
        cells = RowCells(rows, row);
    }
    const auto value = cells ? cells->Item(field.key).ObjectAs<Dictionary>() : nullptr;
    return value ? value->Item(item) : Variant();
}

std::string BillFormValues::ValueText(const FieldDef& field, int row) const {
    return Text(StoredItem(field, std::max(row, 1), "FFLD"));
}

std::string BillFormValues::DisplayText(const FieldDef& field, int row) const {
    return Text(StoredItem(field, std::max(row, 1), "FDSP"));
}

void BillFormValues::Store(const FieldDef& field, int row, const Variant& value) {
    const DictionaryPtr cell = ValueAt(field, row);
    cell->SetItem("FFLD", value);
    if (field.IsLookup())
        ResolveLookupCell(field, cell);
    else
        cell->SetItem("FDSP", Text(value));
    if (field.IsSourceLookup()) ShowSourceBill(m_session.Db(), field, cell);
    m_session.Log().Add(EntryKind::Value, CellName(field, row) + " = \"" + Text(value) + "\"");
}

// --- typed text ------------------------------------------------------------------------------

bool BillFormValues::StoreTyped(const FieldDef& field, int row, std::string_view text) {
    if (!field.IsLookup() && IsNumericType(field.valueType) && !TrimView(text).empty())
        return StoreTypedNumber(field, row, text);
    if (!field.IsLookup() || text.empty()) {
        Store(field, row, std::string(text));
        return true;
    }
    StoreLookupNumber(field, row, text);
    return true;
}

bool BillFormValues::StoreTypedNumber(const FieldDef& field, int row, std::string_view text) {
    const TypedNumberProblem problem = CheckTypedNumber(field.valueType, text);
    if (problem != TypedNumberProblem::None) {
        m_session.MessageBox(TypedNumberMessage(m_session.Strings(), Caption(field),
                                                NumberLimitsOf(field.valueType), problem),
                             kMsgExclamation, "VelaQM");
        return false;
    }
    Store(field, row, std::string(TrimView(text)));
    return true;
}

// A lookup field takes the record's number, or "id:N" for its internal ID.
void BillFormValues::StoreLookupNumber(const FieldDef& field, int row, std::string_view text) {
    const bool byId = text.substr(0, 3) == "id:";
    const std::string column =
        byId ? field.srcField : (field.fndField.empty() ? field.srcField : field.fndField);
    const Variant wanted =
        byId ? Variant(LeadingNumber(text.substr(3))) : Variant(std::string(text));
    // The template's filter keeps the lookup to its own records (QMAInfo holds many kinds).
    const std::string filter = Text(field.info->Item("FFilter"));
    const Variant id = QueryValue(m_session.Db(),
                                  "SELECT " + QuoteName(field.srcField) + " FROM " +
                                      QuoteName(field.srcTable) + " WHERE " + QuoteName(column) +
                                      " = ?" + (filter.empty() ? "" : " AND (" + filter + ")"),
                                  {wanted});
    if (id.IsEmpty()) throw ActionRefused(field.key + " has no record " + std::string(text));
    Store(field, row, id);
}

std::vector<std::string> BillFormValues::LookupOffer(const FieldDef& field) const {
    const std::string number = field.fndField.empty() ? field.srcField : field.fndField;
    const std::string filter = Text(field.info->Item("FFilter"));
    const ResultSet records = m_session.Db().Execute(
        "SELECT " + QuoteName(number) + " FROM " + QuoteName(field.srcTable) +
        (filter.empty() ? "" : " WHERE (" + filter + ")") + " ORDER BY " + QuoteName(number));
    std::vector<std::string> offer;
    for (const auto& record : records.rows)
        offer.push_back(Text(record.front()));
    return offer;
}

std::string BillFormValues::Caption(const FieldDef& field) const {
    const bool english = EqualsNoCase(m_session.User().language, "en");
    const std::string& caption =
        english && !field.captionEn.empty() ? field.captionEn : field.caption;
    return caption.empty() ? field.key : caption;
}

// --- entry rows ------------------------------------------------------------------------------

int BillFormValues::EntryRowCount() const {
    const VectorPtr rows = EntryRows();
    return rows ? static_cast<int>(rows->Size()) : 0;
}

int BillFormValues::RowsWithData() const {
    const VectorPtr rows = EntryRows();
    if (!rows) return 0;
    return static_cast<int>(std::count_if(rows->begin(), rows->end(), [](const Variant& row) {
        return RowHoldsData(row.ObjectAs<Dictionary>());
    }));
}

bool BillFormValues::RowHasData(int row) const {
    const VectorPtr rows = EntryRows();
    if (!rows || row < 1 || static_cast<std::size_t>(row) > rows->Size()) return false;
    return RowHoldsData(RowCells(rows, row));
}

bool BillFormValues::AddRow() {
    const VectorPtr rows = EntryRows();
    if (!rows) return false;
    if (static_cast<int>(rows->Size()) >= m_gridMaxRows)
        throw ActionRefused("the grid holds at most " + std::to_string(m_gridMaxRows) + " rows");
    AppendEmptyRow(rows);
    return true;
}

bool BillFormValues::DeleteRow(int row) {
    const VectorPtr rows = EntryRows();
    if (!rows || rows->Size() == 0) return false;
    rows->Remove(static_cast<std::size_t>(std::clamp<int>(row, 1, static_cast<int>(rows->Size()))));
    if (rows->Size() == 0) AppendEmptyRow(rows);
    return true;
}

void BillFormValues::ClearEntries() {
    if (const VectorPtr rows = EntryRows()) {
        rows->Clear();
        AppendEmptyRow(rows);
    }
}

}  // namespace velaqm::host
