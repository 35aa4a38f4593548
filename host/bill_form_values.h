// The values of one open bill: the bill data of its head and entry rows, the value set of each
// cell made on first use, and what a person may type into a field.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frame/collections.h"
#include "frame/variant.h"
#include "host/catalog.h"

namespace velaqm::host {

class Session;

// The page of entry rows; the head is page 1.
inline constexpr int kEntryPage = 2;

// The field of a key or of a field-info dictionary; a HostError for one the bill has not.
const FieldDef& FieldOf(const ClassDef& def, std::string_view key);
const FieldDef& FieldOf(const ClassDef& def, const DictionaryPtr& fieldInfo);

// A cell as messages and the transcript name it: "FNote", or "FQty row 3".
std::string CellName(const FieldDef& field, int row);

class BillFormValues {
  public:
    BillFormValues(Session& session, std::shared_ptr<const ClassDef> def,
                   std::shared_ptr<HostDataSrv> billTemplate);

    const FieldDef& FieldOf(std::string_view key) const { return host::FieldOf(*m_def, key); }
    const FieldDef& FieldOf(const DictionaryPtr& fieldInfo) const {
        return host::FieldOf(*m_def, fieldInfo);
    }

    // The bill data as the plug-in sees it ("Page1", "Page2").
    const DictionaryPtr& Data() const { return m_data; }
    void Load(int billId);
    // The template's empty bill with one empty entry row.
    void NewEmpty();
    // The head values of `source` but its identity (internal ID, number, checker), and all its
    // rows, over a new empty bill.
    void CopyFrom(const DictionaryPtr& source);
    // The plug-in's bill data in place of the form's.
    void Replace(const DictionaryPtr& data);
    // The cells of `data` marked "FModify": its head fields, and its entry rows in place of the
    // form's rows.
    void FillFrom(const DictionaryPtr& data);

    // The value set of a cell, made when the bill has none yet (rows up to the grid's limit).
    DictionaryPtr ValueAt(const FieldDef& field, int row);
    // One item ("FFLD", "FDSP") of a cell as stored; Empty for a cell the bill does not hold.
    Variant StoredItem(const FieldDef& field, int row, std::string_view item) const;
    // The stored value and the displayed text, as text; a head field is asked with any row.
    std::string ValueText(const FieldDef& field, int row) const;
    std::string DisplayText(const FieldDef& field, int row) const;

    // What a plug-in writes: the value, and its display text (a lookup's from its record).
    void Store(const FieldDef& field, int row, const Variant& value);
    // What a person types: false when the field refuses the text (a message box says why and
    // the old value stays). ActionRefused for a lookup number with no record.
    bool StoreTyped(const FieldDef& field, int row, std::string_view text);
    // The numbers of the records the host's lookup window shows for a lookup field, in number
    // order, under the filter of its field info (the template's, or what a plug-in set there).
    std::vector<std::string> LookupOffer(const FieldDef& field) const;

    // The entry rows, null for a bill without an entry page.
    VectorPtr EntryRows() const;
    int EntryRowCount() const;
    int RowsWithData() const;
    bool RowHasData(int row) const;
    // Rows a person adds and deletes, false when the bill has no rows to change; the grid
    // always keeps one row.
    bool AddRow();
    bool DeleteRow(int row);
    void ClearEntries();

    int GridMaxRows() const { return m_gridMaxRows; }
    void SetGridMaxRows(int rowLimit) { m_gridMaxRows = rowLimit; }
    void ResetGridMaxRows() { m_gridMaxRows = m_def->gridMaxRows; }

  private:
    DictionaryPtr HeadPage() const;
    void AppendEmptyRow(const VectorPtr& rows) const;
    // The caption a message names the field by, in the session's language.
    std::string Caption(const FieldDef& field) const;
    bool StoreTypedNumber(const FieldDef& field, int row, std::string_view text);
    void StoreLookupNumber(const FieldDef& field, int row, std::string_view text);
    // Takes a filled cell's value, and its number and text when the cell brings them.
    void FillCell(const FieldDef& field, int row, const DictionaryPtr& filled);
    // A lookup cell's number and text from its record; during a fill each record is read once.
    void ResolveLookupCell(const FieldDef& field, const DictionaryPtr& cell);

    Session& m_session;
    std::shared_ptr<const ClassDef> m_def;
    std::shared_ptr<HostDataSrv> m_template;
    // While a fill runs: the number and text read for each lookup field and value.
    using LookupTexts = std::map<std::pair<std::string, std::string>, std::pair<Variant, Variant>>;
    std::optional<LookupTexts> m_fillLookups;
    DictionaryPtr m_data;
    int m_gridMaxRows;
};

}  // namespace velaqm::host
