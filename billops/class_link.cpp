#include "billops/class_link.h"

#include "frame/platform.h"

namespace velaqm {

VectorPtr RowDictionaries(const RecordsetPtr& rows) {
    VectorPtr result = NewVector();
    if (!rows) return result;
    for (; !rows->Eof(); rows->MoveNext()) {
        DictionaryPtr row = NewDictionary();
        for (int i = 0; i < rows->FieldCount(); ++i)
            row->SetItem(rows->FieldName(i), rows->Fields(i));
        result->Insert(Variant(row));
    }
    return result;
}

void FillThroughClassLink(BillEvent& bill, int sourceClassTypeId, const VectorPtr& rows) {
    const auto link = CreateObject<ClassLink>(progid::kClassLink);
    link->SetDataSrv(bill.DataSrv());
    link->SetSRCClassTypeID(sourceClassTypeId);
    link->InitLinkTemplate();
    const Variant filled = link->selbills(Variant(bill.BillData()), Variant(rows), Variant(true));
    bill.BillCtl()->DoFilldata(filled.ObjectAs<Dictionary>());
}

}  // namespace velaqm
