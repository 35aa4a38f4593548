#include "billops/bill_values.h"

#include "frame/convert.h"

namespace velaqm {

DictionaryPtr BillValues::Field(std::string_view key) const {
    return m_bill.GetFieldInfoByKey(key, "", 0);
}

DictionaryPtr BillValues::Data(std::string_view key, int row) const {
    return m_bill.GetDataFld(Field(key), row);
}

Variant BillValues::Head(std::string_view key) const {
    return Data(key)->Item("FFLD");
}

double BillValues::HeadNumber(std::string_view key) const {
    return NumberValue(Head(key));
}

Variant BillValues::Entry(std::string_view key, int row) const {
    return Data(key, row)->Item("FFLD");
}

double BillValues::EntryNumber(std::string_view key, int row) const {
    return NumberValue(Entry(key, row));
}

int BillValues::EntryRows() const {
    const VectorPtr rows = m_bill.BillData()->Item(kEntryPageKey).ObjectAs<Vector>();
    return rows ? static_cast<int>(rows->Size()) : 0;
}

std::string BillValues::LookupNumber(std::string_view key) const {
    return Text(Data(key)->Item("FFND"));
}

std::string BillValues::LookupText(std::string_view key) const {
    return Text(Data(key)->Item("FDSP"));
}

void BillValues::SetLookup(std::string_view key, const Variant& id, const std::string& text,
                           const std::string& number) const {
    const DictionaryPtr field = Field(key);
    m_bill.SetFieldText(field, text, kHeadRow);
    const DictionaryPtr data = m_bill.GetDataFld(field, kHeadRow);
    data->SetItem("FFLD", id);
    data->SetItem("FDSP", text);
    data->SetItem("FFND", number);
    data->SetItem("FMODIFY", 1);
}

void BillValues::ClearLookup(std::string_view key) const {
    SetLookup(key, 0, "", "");
}

void BillValues::ClearCell(std::string_view key, int row) const {
    const DictionaryPtr data = Data(key, row);
    data->SetItem("FFLD", "");
    data->SetItem("FFND", "");
    data->SetItem("FDSP", "");
    data->SetItem("FMODIFY", 1);
}

}  // namespace velaqm
