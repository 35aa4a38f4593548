#include "billops/linked_bills.h"

#include <cstdlib>
#include <string>

#include "frame/convert.h"
#include "frame/host_services.h"
#include "frame/messages.h"
#include "frame/platform.h"
#include "frame/sql_text.h"
#include "frame/text_util.h"

namespace velaqm {

namespace {

// The bill lookup shows the head and the entries of each linked bill.
constexpr std::string_view kLinkedPages = ",1,2,";

bool HasLinkValue(const Variant& value) {
    if (value.IsNull() || value.IsEmpty()) return false;
    if (IsNumeric(value)) return NumberValue(value) != 0;
    return !Trim(Text(value)).empty();
}

std::string LinkLiteral(const Variant& value) {
    return IsNumeric(value) ? SqlNumber(value) : SqlText(Trim(Text(value)));
}

std::string HeadTableOf(const DataSrv& billTemplate) {
    const VectorPtr pages = billTemplate.ClassTypeEntry();
    if (pages && pages->Size() >= 1)
        if (const DictionaryPtr head = pages->Item(1).ObjectAs<Dictionary>())
            return Text(head->Item("FTableName"));
    return Text(billTemplate.ClassType("FTableName"));
}

// The selected bill's values of the link columns, or null when it has none.
RecordsetPtr ReadLinkValues(const DataSrv& billTemplate, const VectorPtr& links,
                            const Variant& billId) {
    std::string fields;
    for (const Variant& item : *links)
        if (const DictionaryPtr link = item.ObjectAs<Dictionary>())
            fields += (fields.empty() ? "" : ",") + SqlName(Text(link->Item("FieldName")));
    if (fields.empty()) return nullptr;
    const RecordsetPtr values =
        CreateObject<AppConnection>(progid::kAppConnection)
            ->Execute(" SELECT " + fields + " FROM " + SqlName(HeadTableOf(billTemplate)) +
                      " WHERE FID = " + SqlWhole(billId));
    return values && !values->Eof() ? values : nullptr;
}

}  // namespace

void ShowLinkedBills(ListEvents& list, const VectorPtr& links) {
    const VectorPtr selected = list.List()->GetSelectedBillID();
    if (!selected || selected->Size() != 1) {
        ShowMessage(LoadCVString("不能选择多张单据，请重新选择！"), kMsgInformation);
        return;
    }
    const DataSrvPtr billTemplate = list.DataSrv();
    const RecordsetPtr values = ReadLinkValues(*billTemplate, links, selected->Item(1));

    DictionaryPtr pages = NewDictionary();
    for (const Variant& item : *links) {
        const DictionaryPtr link = item.ObjectAs<Dictionary>();
        if (!link || !values) continue;
        const auto classId = WholeNumber(link->Item("FClassID"));
        if (classId == 0) continue;
        const Variant value = values->Fields(Text(link->Item("FieldName")));
        if (!HasLinkValue(value)) continue;
        const DictionaryPtr info = GetClassTypeInfo(static_cast<int>(std::llabs(classId)));
        link->SetItem("FName", info->Item("FName"));
        const std::string filter = Text(link->Item("FSourFilter")) + "=" + LinkLiteral(value);
        link->SetItem("Filter", Variant(MakeLookupParams(kLinkedPages, filter, "", "")));
        pages->SetItem("Page" + std::to_string(pages->Count() + 1), Variant(link));
    }
    if (pages->Count() == 0) {
        ShowMessage(LoadCVString("无关联单据信息！"), kMsgInformation);
        return;
    }
    OpenBillLookUp(billTemplate->ClassTypeID(), pages);
}

void OpenBillLookUp(int classTypeId, const DictionaryPtr& params) {
    const auto billTemplate = CreateObject<ClassTemplate>(progid::kClassTemplate);
    billTemplate->SetClassTypeID(classTypeId);
    const auto lookUp = CreateObject<BillLookUp>(progid::kBillLookUp);
    lookUp->SetClassTypeID(classTypeId);
    lookUp->SetDataSrv(billTemplate);
    lookUp->ConnectViewExt(params);
}

DictionaryPtr GetClassTypeInfo(int classTypeId) {
    DictionaryPtr info = CreateObject<ClassInfo>(progid::kClassInfo)
                             ->GetClassType("FID=" + std::to_string(classTypeId));
    return info ? info : NewDictionary();
}

DictionaryPtr MakeLookupParams(std::string_view selectPage, std::string_view filter,
                               std::string_view headSort, std::string_view entrySort) {
    DictionaryPtr params = NewDictionary();
    params->SetItem("SelectPage", std::string(selectPage));
    params->SetItem("FilterString", std::string(filter));
    params->SetItem("HeadSort", std::string(headSort));
    params->SetItem("EntrySort", std::string(entrySort));
    return params;
}

}  // namespace velaqm
