// The values a plug-in reads and writes on its bill form, each read one way: by the field's info
// (GetFieldInfoByKey) and its value dictionary at a row (GetDataFld), whose "FFLD" is the value,
// "FFND" a lookup's number and "FDSP" its text.
#pragma once

#include <string>
#include <string_view>

#include "frame/host_bill.h"
#include "frame/variant.h"

namespace velaqm {

// The row of the head in the row-addressed calls.
inline constexpr int kHeadRow = 0;
// The entry page: its number in the page calls, its key in the bill's data.
inline constexpr int kEntryPage = 2;
inline constexpr std::string_view kEntryPageKey = "Page2";

class BillValues {
  public:
    explicit BillValues(BillEvent& bill) : m_bill(bill) {}

    DictionaryPtr Field(std::string_view key) const;
    // The value dictionary of the field at a row.
    DictionaryPtr Data(std::string_view key, int row = kHeadRow) const;

    Variant Head(std::string_view key) const;
    // The head value as a number (0 when empty).
    double HeadNumber(std::string_view key) const;
    Variant Entry(std::string_view key, int row) const;
    double EntryNumber(std::string_view key, int row) const;
    // The rows of the entry page, filled or not.
    int EntryRows() const;

    // A lookup field's number ("FFND") and text ("FDSP") in the head.
    std::string LookupNumber(std::string_view key) const;
    std::string LookupText(std::string_view key) const;
    // Fills a head lookup field: its shown text and the value dictionary's ID, text and number,
    // marked as changed.
    void SetLookup(std::string_view key, const Variant& id, const std::string& text,
                   const std::string& number) const;
    // Empties a head lookup field (ID 0).
    void ClearLookup(std::string_view key) const;
    // Empties the value dictionary of a cell (value, number and text), marked as changed; the
    // text shown is the caller's to set or leave.
    void ClearCell(std::string_view key, int row) const;

  private:
    BillEvent& m_bill;
};

}  // namespace velaqm
