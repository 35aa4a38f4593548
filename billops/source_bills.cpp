#include "billops/source_bills.h"

#include <string>

#include "billops/lookup_filter.h"
#include "billops/server_queries.h"
#include "frame/convert.h"
#include "frame/host_error.h"
#include "frame/host_services.h"
#include "frame/login.h"
#include "frame/platform.h"
#include "frame/sql_text.h"
#include "frame/text_util.h"

namespace velaqm {

namespace {

constexpr int kWorkOrderList = 601;
constexpr int kTaskDispatchList = 691;
constexpr std::string_view kLineBreak = "\r\n";

RecordsetPtr Execute(std::string_view sql) {
    return CreateObject<AppConnection>(progid::kAppConnection)->Execute(sql);
}

void AndJoin(std::string& condition, const std::string& more) {
    if (!more.empty()) condition += " AND " + more;
}

// The number typed into the lookup field: its number, else its text, else its value.
std::string TypedNumber(const DictionaryPtr& value) {
    for (std::string_view item : {"FFND", "FDSP", "FFLD"}) {
        std::string text = Trim(Text(value->Item(item)));
        if (!text.empty()) return text;
    }
    return "";
}

// The rows of the search, or null when the lookup's list or its tables are not known.
RecordsetPtr SearchSourceBills(BillEvent& bill, const DictionaryPtr& lookup,
                               const std::string& typed) {
    std::string column = Text(lookup->Item("FFNDFieldName"));
    if (Trim(column).empty()) column = Text(lookup->Item("FSRCFieldName"));
    std::string condition = SqlName(column) + "= " + SqlText(typed);
    AndJoin(condition, ExpandFilter(lookup, bill));

    const Variant classId = lookup->Item("FLookupClassID");
    const RecordsetPtr list = Execute(
        "SELECT FBillTemplateID,FFilter FROM ICListTemplate WHERE FID=" + SqlWhole(classId));
    if (!HasRow(list)) return nullptr;
    AndJoin(condition, ExpandFilterText(Text(list->Fields("FFilter")), bill));

    const RecordsetPtr tables =
        Execute("SELECT FHeadTable,FEntryTable FROM ICTransactiontype WHERE FID=" +
                SqlWhole(list->Fields("FBillTemplateID")));
    if (!HasRow(tables)) return nullptr;
    const std::string entry = Trim(Text(tables->Fields("FEntryTable")));
    return Execute(SourceBillStatement(static_cast<int>(WholeNumber(classId)),
                                       SqlName(Trim(Text(tables->Fields("FHeadTable")))),
                                       entry.empty() ? "" : SqlName(entry), condition));
}

void ClearLookup(BillEvent& bill, const DictionaryPtr& value) {
    value->SetItem("FFLD", "");
    value->SetItem("FFND", "");
    value->SetItem("FDSP", "");
    value->SetItem("FModify", 1);
    bill.SetText(value, "");
}

// The lookup record's number and text for a stored value; false when there is none.
bool ReadLookupTexts(const DictionaryPtr& field, const Variant& value,
                     const DictionaryPtr& packed) {
    const std::string table = Trim(Text(field->Item("FSRCTableName")));
    const std::string key = Trim(Text(field->Item("FSRCFieldName")));
    if (table.empty() || key.empty() || Text(value).empty()) return false;
    std::string display = Trim(Text(field->Item("FDSPFieldName")));
    std::string number = Trim(Text(field->Item("FFNDFieldName")));
    if (display.empty()) display = key;
    if (number.empty()) number = key;
    try {
        const RecordsetPtr record =
            Execute("SELECT " + SqlName(display) + " AS FDSP, " + SqlName(number) +
                    " AS FFND FROM " + SqlName(table) + " WHERE " + SqlName(key) + " = " +
                    (value.IsNumber() ? SqlNumber(value) : SqlText(Text(value))));
        if (!HasRow(record)) return false;
        packed->SetItem("FDSP", Text(record->Fields("FDSP")));
        packed->SetItem("FFND", Text(record->Fields("FFND")));
        return true;
    } catch (const HostError&) {
        return false;
    }
}

// Every field of the page that the source rows have a column for, packed into the target row.
void CopySourceRow(const DictionaryPtr& page, const RecordsetPtr& source,
                   const DictionaryPtr& target) {
    const VectorPtr fields = page->Item("Fields").ObjectAs<Vector>();
    if (!fields) return;
    for (const Variant& item : *fields) {
        const DictionaryPtr field = item.ObjectAs<Dictionary>();
        if (!field) continue;
        const std::string key = Text(field->Item("FKey"));
        if (source->HasField(key)) target->SetItem(key, PackValue(field, source->Fields(key)));
    }
}

}  // namespace

std::string SourceBillStatement(int lookupClassId, std::string_view headTable,
                                std::string_view entryTable, std::string_view condition) {
    const std::string head(headTable);
    const std::string entry(entryTable);
    const std::string where(condition);
    const std::string br(kLineBreak);
    if (lookupClassId == kWorkOrderList)
        return " SELECT u1.FWBInterID as FInterID,u1.FEntryID FROM " + head + " v1, " + entry +
               " u1, icmo t3 " + br +
               " WHERE v1.FInterID=u1.FinterID AND v1.FICMOInterId = t3.FInterID AND  " + br +
               where;
    if (lookupClassId == kTaskDispatchList)
        return " Select v2.FTaskDispInterID as FInterID,v2.FEntryID from ICTaskDispBillEntry v2 "
               " left join ICTaskDispBill v1 on v1.FInterID=v2.FInterID "
               " left join ICMO t1 on t1.FInterID=v1.FICMOInterID "
               " left join SHWorkBillEntry t3 on v1.FWorkBillInterID=t3.FWBInterID "
               "WHERE " +
               where;
    if (entry.empty()) return "SELECT v1.FInterID FROM " + head + " v1 WHERE " + where;
    return "SELECT v1.FInterID,u1.FEntryID FROM " + head + " v1, " + entry + " u1 " +
           " WHERE v1.FInterID=u1.FinterID AND " + where;
}

VectorPtr FindSourceBills(BillEvent& bill, const DictionaryPtr& lookup,
                          const DictionaryPtr& value) {
    if (WholeNumber(lookup->Item("FLookUpType")) != kLookupSourceBill) return nullptr;
    RecordsetPtr rows;
    try {
        rows = SearchSourceBills(bill, lookup, TypedNumber(value));
    } catch (const HostError&) {
        // A source table or column the database does not have: no bill has that number.
        rows = nullptr;
    }
    if (!HasRow(rows)) {
        ClearLookup(bill, value);
        return nullptr;
    }
    const bool withEntry = rows->HasField("FEntryID");
    VectorPtr found = NewVector();
    for (rows->MoveFirst(); !rows->Eof(); rows->MoveNext()) {
        DictionaryPtr row = NewDictionary();
        row->SetItem("FInterID", rows->Fields("FInterID"));
        if (withEntry) row->SetItem("FEntryID", rows->Fields("FEntryID"));
        found->Insert(Variant(row));
    }
    return found;
}

DictionaryPtr PackValue(const DictionaryPtr& field, const Variant& value) {
    const Variant stored = value.IsNull() || value.IsEmpty() ? Variant(std::string()) : value;
    DictionaryPtr packed = NewDictionary();
    packed->SetItem("FFLD", stored);
    packed->SetItem("FFND", "");
    packed->SetItem("FDSP", Text(stored));
    if (WholeNumber(field->Item("FLookUpType")) != 0 && !ReadLookupTexts(field, stored, packed))
        packed->SetItem("FFND", Text(stored));
    packed->SetItem("FModify", 1);
    return packed;
}

DictionaryPtr FillFromSourceBills(BillEvent& bill, const Variant& linkKey,
                                  const VectorPtr& selected, const DictionaryPtr& page,
                                  DictionaryPtr result, std::string_view pageFilter) {
    if (!result) result = NewDictionary();
    const auto access = CreateObject<DataInfo>(progid::kDataInfo);
    const Variant target(bill.DataSrv());
    // The host's reading: the login, the link, the chosen rows and the target template; it gives
    // back "Data" (the source rows by target key) and the target's "PageCount" and "Page" + i.
    const DictionaryPtr source =
        access->GetSelOldBillData(GetPropsString(), linkKey, Variant(selected), target)
            .ObjectAs<Dictionary>();
    if (!source) return result;
    const RecordsetPtr rows = source->Item("Data").ObjectAs<Recordset>();
    const DictionaryPtr pages = page ? page : source;
    if (!HasRow(rows)) return result;

    const auto pageCount = WholeNumber(pages->Item("PageCount"));
    for (int i = 1; i <= pageCount; ++i) {
        const std::string number = std::to_string(i);
        if (!pageFilter.empty() && pageFilter.find(number) == std::string_view::npos) continue;
        const DictionaryPtr pageInfo = pages->Item("Page" + number).ObjectAs<Dictionary>();
        if (!pageInfo) continue;
        const std::string pageKey = "Page" + number;
        if (WholeNumber(pageInfo->Item("FEntryType")) != 0) {
            VectorPtr entryRows = NewVector();
            result->SetItem(pageKey, Variant(entryRows));
            int rowNumber = 0;
            for (rows->MoveFirst(); !rows->Eof(); rows->MoveNext()) {
                const DictionaryPtr row =
                    access->GetEmptyData(Variant(pageInfo), ++rowNumber, target)
                        .ObjectAs<Dictionary>();
                if (!row) continue;
                entryRows->Insert(Variant(row));
                CopySourceRow(pageInfo, rows, row);
            }
        } else {
            DictionaryPtr head = result->Item(pageKey).ObjectAs<Dictionary>();
            if (!head) {
                head = access->GetEmptyData(Variant(pageInfo), 0, target).ObjectAs<Dictionary>();
                if (!head) continue;
                result->SetItem(pageKey, Variant(head));
            }
            rows->MoveFirst();
            CopySourceRow(pageInfo, rows, head);
        }
    }
    return result;
}

}  // namespace velaqm
