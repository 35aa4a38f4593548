#include "billops/bill_template.h"

#include "frame/convert.h"
#include "frame/platform.h"
#include "frame/sql_text.h"

namespace velaqm {

std::string NumberFieldName(const DataSrv& billTemplate) {
    const Variant numberKey = billTemplate.ClassType("BillNoField");
    const auto field = billTemplate.TableInfo(Text(numberKey)).ObjectAs<Dictionary>();
    if (!field)
        throw HostError(kErrObjectRequired, "DataSrv",
                        "The template has no number field " + Text(numberKey));
    return Text(field->Item("FFieldName"));
}

std::string HeadTableName(const DataSrv& billTemplate) {
    const VectorPtr pages = billTemplate.ClassTypeEntry();
    auto page = [&](std::size_t index) { return pages->Item(index).ObjectAs<Dictionary>(); };
    if (pages->Size() >= 2) {
        const DictionaryPtr second = page(2);
        if (second && NumberValue(second->Item("FEntryType")) == 0)
            return Text(second->Item("FTableName"));
    }
    const DictionaryPtr first = page(1);
    if (!first) throw HostError(kErrObjectRequired, "DataSrv", "The template has no head page");
    return Text(first->Item("FTableName"));
}

RecordsetPtr ReadCheckerAndNumber(const DataSrv& billTemplate, const Variant& billId,
                                  std::string_view where) {
    const std::string sql = "select FCheckerID," + SqlName(NumberFieldName(billTemplate)) +
                            " as FBillNo from " + SqlName(HeadTableName(billTemplate)) +
                            std::string(where) + SqlWhole(billId);
    return CreateObject<AppConnection>(progid::kAppConnection)->Execute(sql);
}

}  // namespace velaqm
