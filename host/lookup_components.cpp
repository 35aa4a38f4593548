#include "host/lookup_components.h"

#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

#include "frame/collections.h"
#include "frame/convert.h"
#include "frame/host_error.h"
#include "frame/host_services.h"
#include "frame/sql_text.h"
#include "frame/text_util.h"
#include "host/catalog.h"
#include "host/native_sql.h"
#include "host/parts/recordset.h"
#include "host/session.h"

namespace velaqm::host {

namespace {

int Int(const Variant& value) {
    return static_cast<int>(WholeNumber(value));
}

bool English(Session& session) {
    return EqualsNoCase(session.User().language, "en");
}

// "(a) AND (b)" of the conditions that are not blank.
std::string AndAll(std::initializer_list<std::string_view> conditions) {
    std::string joined;
    for (std::string_view condition : conditions) {
        if (TrimView(condition).empty()) continue;
        joined += (joined.empty() ? "(" : " AND (") + std::string(condition) + ")";
    }
    return joined;
}

// VelaMClass.ClassInfo: the attributes of the class type its filter names ("FID=1001906").
class HostClassInfo final : public ClassInfo {
  public:
    explicit HostClassInfo(Session& session) : m_session(session) {}

    DictionaryPtr GetClassType(std::string_view filter) override {
        const int id = ClassIdOf(filter);
        DictionaryPtr info = NewDictionary();
        const auto rows = QueryRows(m_session.Db(),
                                    "SELECT FID, FName_chs, FName_en, FTableName, FObjectType, "
                                    "FObjectID FROM ICClassType WHERE FID = ?",
                                    {id});
        if (rows.empty()) return info;
        const Row& r = rows.front();
        const bool english = English(m_session) && !Text(r[2]).empty();
        info->SetItem("FID", r[0]);
        info->SetItem("FName", english ? r[2] : r[1]);
        info->SetItem("FName_chs", r[1]);
        info->SetItem("FName_en", r[2]);
        info->SetItem("FTableName", r[3]);
        info->SetItem("FObjectType", r[4]);
        info->SetItem("FObjectID", r[5]);
        return info;
    }

  private:
    // The class type of a filter "FID=N"; anything else is refused, never run as SQL.
    static int ClassIdOf(std::string_view filter) {
        const std::string_view text = TrimView(filter);
        const std::size_t equals = text.find('=');
        if (equals != std::string_view::npos &&
            EqualsNoCase(TrimView(text.substr(0, equals)), "FID")) {
            const std::string number(TrimView(text.substr(equals + 1)));
            if (IsNumeric(number)) return static_cast<int>(WholeNumber(number));
        }
        throw HostError(kErrInvalidCall, "VelaMClass.ClassInfo",
                        "Class type filter not understood: " + std::string(filter));
    }

    Session& m_session;
};

// VelaClassTpl.DataSrv: the template of the class type it is set to.
class HostClassTemplate final : public ClassTemplate {
  public:
    explicit HostClassTemplate(Session& session) : m_session(session) {}

    void SetClassTypeID(int classTypeId) override {
        m_inner = std::make_shared<HostDataSrv>(m_session.Db(), m_session.ClassDefOf(classTypeId),
                                                m_session.User().language);
    }
    int ClassTypeID() const override { return m_inner ? m_inner->ClassTypeID() : 0; }
    Variant ClassType(std::string_view key) const override { return Inner().ClassType(key); }
    DictionaryPtr ClassType() const override { return Inner().ClassType(); }
    VectorPtr ClassTypeEntry() const override { return Inner().ClassTypeEntry(); }
    DictionaryPtr TableInfo() const override { return Inner().TableInfo(); }
    Variant TableInfo(std::string_view key) const override { return Inner().TableInfo(key); }
    Variant GetEmptyBill() override { return Inner().GetEmptyBill(); }
    DictionaryPtr GetEmptyData(int page) override { return Inner().GetEmptyData(page); }
    std::string GetExistBillNo(const Variant& billId, std::string& caption) override {
        return Inner().GetExistBillNo(billId, caption);
    }

  private:
    HostDataSrv& Inner() const {
        if (!m_inner)
            throw HostError(kErrInvalidCall, std::string(progid::kClassTemplate),
                            "No class type has been set");
        return *m_inner;
    }

    Session& m_session;
    std::shared_ptr<HostDataSrv> m_inner;
};

// VelaClassLookUp.BillLookUp: one transcript entry naming, page by page, the bills of the
// page's class that meet its filter.
class HostBillLookUp final : public BillLookUp {
  public:
    explicit HostBillLookUp(Session& session) : m_session(session) {}

    void SetClassTypeID(int classTypeId) override { m_classTypeId = classTypeId; }
    void SetDataSrv(const DataSrvPtr& dataSrv) override { m_dataSrv = dataSrv; }

    // `params` holds the pages as dictionaries ("FClassID", "FName", and "Filter", either the
    // dictionary of MakeLookupParams or the filter text, or "FilterString" on the page itself),
    // shown in their order; a dictionary with "FClassID" is one page by itself.
    Variant ConnectViewExt(const DictionaryPtr& params) override {
        std::vector<DictionaryPtr> pages;
        if (params && params->Exists("FClassID")) {
            pages.push_back(params);
        } else if (params) {
            for (const auto& [name, item] : params->Entries())
                if (const DictionaryPtr page = item.ObjectAs<Dictionary>()) pages.push_back(page);
        }
        std::string shown;
        for (const DictionaryPtr& page : pages)
            shown += (shown.empty() ? "" : "; ") + ShowPage(*page);
        m_session.Log().Add(EntryKind::Form,
                            "linked bills: " + (shown.empty() ? std::string("(no page)") : shown));
        return Variant();
    }

  private:
    static std::string FilterOf(const Dictionary& page) {
        const Variant filter = page.Item("Filter");
        if (const DictionaryPtr params = filter.ObjectAs<Dictionary>())
            return Text(params->Item("FilterString"));
        if (filter.IsString()) return filter.AsString();
        return Text(page.Item("FilterString"));
    }

    std::string ShowPage(const Dictionary& page) {
        const int classId = Int(page.Item("FClassID"));
        const std::optional<BillTables> tables = ResolveBillTables(m_session, classId);
        std::string name = Text(page.Item("FName"));
        if (!tables) return name + " (unknown class " + std::to_string(classId) + ")";
        if (name.empty()) name = tables->name;
        const std::string shownColumn =
            "v1." + (tables->billNo.empty() ? tables->key : tables->billNo);
        const std::string where = AndAll({tables->listFilter, FilterOf(page)});
        const ResultSet result = m_session.Db().Execute(
            BillQuery(*tables, "DISTINCT " + shownColumn, where, shownColumn));
        std::string bills;
        for (const auto& row : result.rows)
            bills += (bills.empty() ? "" : ", ") + Text(row.front());
        return name + " " + (bills.empty() ? "(no bill)" : bills);
    }

    Session& m_session;
    int m_classTypeId = 0;
    DataSrvPtr m_dataSrv;
};

// VelaMQMDataAccess.DataInfo over the session's database.
class HostDataInfo final : public DataInfo {
  public:
    explicit HostDataInfo(Session& session) : m_session(session) {}

    std::string GetSysValue(std::string_view, std::string_view category,
                            std::string_view name) override {
        return Text(QueryValue(
            m_session.Db(), "SELECT FValue FROM t_SystemProfile WHERE FCategory = ? AND FKey = ?",
            {std::string(category), std::string(name)}));
    }
    // The supplier evaluation projects (class type 1001901) meeting the plug-in's condition, one
    // row each, as the class link takes chosen bills.
    VectorPtr GetProjData(std::string_view, std::string_view filter) override {
        return BillRows("SELECT FID, FProjID, FProjName FROM QMEvaProj", filter, "FID");
    }
    // The inspection schemes (class type 45), the same way.
    VectorPtr GetQCSchemeBilldata(std::string_view, std::string_view filter) override {
        return BillRows("SELECT FInterID, FBillNo, FSchemeName FROM icqcscheme", filter,
                        "FInterID");
    }

    // (login, link, chosen rows, target template): the link is a source class ID or a link key
    // of ICClassLink; the chosen rows a Vector of dictionaries with "FInterID" and, for entry
    // rows, "FEntryID". Gives back "Data", a recordset with one column per linked target key
    // and one row per source entry, and the target's "PageCount" and "Page" + i, each page with
    // its "Fields" (a Vector of field infos).
    Variant GetSelOldBillData(std::string_view, const Variant& link, const Variant& chosen,
                              const Variant& target) override {
        const DataSrvPtr billTemplate = target.ObjectAs<DataSrv>();
        if (!billTemplate) throw HostError(kErrObjectRequired, kSource, "Object required");
        const std::vector<Row> fields = LinkFields(link, billTemplate->ClassTypeID());
        if (fields.empty())
            throw HostError(kErrInvalidCall, kSource,
                            "No class link " + Text(link) + " to class type " +
                                std::to_string(billTemplate->ClassTypeID()));
        const std::optional<BillTables> tables = ResolveBillTables(m_session, Int(fields[0][0]));
        if (!tables)
            throw HostError(kErrInvalidCall, kSource, "Unknown source class " + Text(fields[0][0]));

        std::string columns;
        for (const Row& field : fields)
            columns +=
                (columns.empty() ? "" : ", ") + Text(field[2]) + " AS " + SqlName(Text(field[1]));
        const std::string keyExpr =
            Trim(Text(fields[0][3])).empty() ? "v1." + tables->key : Text(fields[0][3]);
        ResultSet rows = m_session.Db().Execute(BillQuery(
            *tables, columns,
            ChosenRowsCondition(chosen.ObjectAs<Vector>(), keyExpr, !tables->entry.empty()),
            keyExpr + (tables->entry.empty() ? "" : ", u1.FEntryID")));

        DictionaryPtr data = Pages(*billTemplate);
        data->SetItem("Data", ObjectPtr(std::make_shared<HostRecordset>(std::move(rows.columns),
                                                                        std::move(rows.rows))));
        return Variant(data);
    }

    // An empty row of the page (its dictionary or number) of the template.
    Variant GetEmptyData(const Variant& page, const Variant&, const Variant& target) override {
        const DataSrvPtr billTemplate = target.ObjectAs<DataSrv>();
        if (!billTemplate) throw HostError(kErrObjectRequired, kSource, "Object required");
        const DictionaryPtr pageInfo = page.ObjectAs<Dictionary>();
        return Variant(
            billTemplate->GetEmptyData(pageInfo ? Int(pageInfo->Item("FIndex")) : Int(page)));
    }

  private:
    static inline const std::string kSource = "VelaMQMDataAccess.DataInfo";

    static HostError NotOffered(std::string_view member) {
        return HostError(kErrNoSuchMember, kSource,
                         "The substitute host does not offer " + std::string(member));
    }

    // The link's rows: source class, target key, source expression, key expression.
    std::vector<Row> LinkFields(const Variant& link, int destClassTypeId) {
        const bool byClass = IsNumeric(link);
        return QueryRows(
            m_session.Db(),
            std::string("SELECT FSourceClassID, FDestKey, FSourceExpr, FKeyExpr "
                        "FROM ICClassLink WHERE ") +
                (byClass ? "FSourceClassID = ?" : "FLinkKey = ?") +
                " AND FDestClassTypeID = ? ORDER BY rowid",
            {byClass ? Variant(WholeNumber(link)) : Variant(Text(link)), destClassTypeId});
    }

    static DictionaryPtr Pages(DataSrv& billTemplate) {
        DictionaryPtr data = NewDictionary();
        const VectorPtr pages = billTemplate.ClassTypeEntry();
        const DictionaryPtr fields = billTemplate.TableInfo();
        data->SetItem("PageCount", static_cast<int>(pages->Size()));
        int number = 0;
        for (const Variant& item : *pages) {
            const DictionaryPtr source = item.ObjectAs<Dictionary>();
            DictionaryPtr page = NewDictionary();
            for (const auto& [key, value] : source->Entries())
                page->SetItem(key, value);
            VectorPtr pageFields = NewVector();
            for (const auto& [key, value] : fields->Entries()) {
                const DictionaryPtr field = value.ObjectAs<Dictionary>();
                if (field && Int(field->Item("FPage")) == Int(source->Item("FIndex")))
                    pageFields->Insert(value);
            }
            page->SetItem("Fields", Variant(pageFields));
            data->SetItem("Page" + std::to_string(++number), Variant(page));
        }
        return data;
    }

    Session& m_session;

    // One Dictionary per row of the query under the condition (every row for a blank one).
    VectorPtr BillRows(const std::string& select, std::string_view filter,
                       std::string_view key) const {
        const std::string where =
            TrimView(filter).empty() ? "" : " WHERE (" + std::string(filter) + ")";
        const ResultSet result =
            m_session.Db().Execute(select + where + " ORDER BY " + std::string(key));
        VectorPtr rows = NewVector();
        for (const Row& row : result.rows) {
            DictionaryPtr bill = NewDictionary();
            for (std::size_t c = 0; c < result.columns.size(); ++c)
                bill->SetItem(result.columns[c], row[c]);
            rows->Insert(Variant(bill));
        }
        return rows;
    }
};

}  // namespace

std::string ChosenRowsCondition(const VectorPtr& chosen, const std::string& keyExpr,
                                bool withEntries) {
    std::string condition;
    if (chosen)
        for (const Variant& item : *chosen) {
            const DictionaryPtr row = item.ObjectAs<Dictionary>();
            // Rows a plug-in read from a head table name the bill by FID, not FInterID.
            const Variant id = !row                      ? item
                               : row->Exists("FInterID") ? row->Item("FInterID")
                                                         : row->Item("FID");
            std::string one = keyExpr + " = " + SqlNumber(id);
            if (row && withEntries && row->Exists("FEntryID"))
                one += " AND u1.FEntryID = " + SqlNumber(row->Item("FEntryID"));
            condition += (condition.empty() ? "(" : " OR (") + one + ")";
        }
    return condition.empty() ? "1=0" : "(" + condition + ")";
}

bool HasColumn(Database& db, std::string_view table, std::string_view column) {
    return !QueryValue(db, "SELECT 1 FROM pragma_table_info(?) WHERE name = ? COLLATE NOCASE",
                       {std::string(table), std::string(column)})
                .IsEmpty();
}

std::string JoinKeyOf(Database& db, std::string_view head) {
    return HasColumn(db, head, "FInterID") ? "FInterID" : "FID";
}

std::optional<BillTables> ResolveBillTables(Session& session, int classId) {
    Database& db = session.Db();
    const int id = std::abs(classId);
    BillTables tables;
    int templateId = id;
    const auto lists = QueryRows(
        db, "SELECT FBillTemplateID, FName, FFilter FROM ICListTemplate WHERE FID = ?", {id});
    if (!lists.empty()) {
        if (!lists[0][0].IsNull()) templateId = Int(lists[0][0]);
        tables.name = Text(lists[0][1]);
        tables.listFilter = Text(lists[0][2]);
    }
    const bool isClass =
        !QueryValue(db, "SELECT 1 FROM ICClassType WHERE FID = ?", {templateId}).IsEmpty();
    const std::shared_ptr<const ClassDef> def = isClass ? session.ClassDefOf(templateId) : nullptr;
    const auto types =
        QueryRows(db, "SELECT FHeadTable, FEntryTable, FName FROM ICTransactiontype WHERE FID = ?",
                  {templateId});
    if (!types.empty()) {
        tables.head = Trim(Text(types[0][0]));
        tables.entry = Trim(Text(types[0][1]));
        if (tables.name.empty()) tables.name = Text(types[0][2]);
    } else if (def) {
        tables.head = def->HeadPage().tableName;
        tables.entry = def->EntryPage() ? def->EntryPage()->tableName : "";
    } else {
        return std::nullopt;
    }
    if (def) {
        tables.name = English(session) && !def->nameEn.empty() ? def->nameEn : def->name;
        if (const FieldDef* billNo = def->BillNoField()) tables.billNo = billNo->fieldName;
    }
    if (tables.billNo.empty() && HasColumn(db, tables.head, "FBillNo")) tables.billNo = "FBillNo";
    tables.key = JoinKeyOf(db, tables.head);
    return tables;
}

namespace {

bool IdentifierChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '#' || c == '@' || c == '$' || static_cast<unsigned char>(c) >= 0x80;
}

// The text with the qualifiers "v1." and "u1." (outside quoted text) written as the tables'
// names; `namesEntries` tells whether the entries are named either way.
std::string ResolveAliases(const BillTables& tables, std::string_view sql, bool& namesEntries) {
    std::string out;
    namesEntries = false;
    char quote = 0;
    for (std::size_t i = 0; i < sql.size();) {
        const char c = sql[i];
        if (quote) {
            out += c;
            ++i;
            if (c == quote) quote = 0;
            continue;
        }
        if (c == '\'' || c == '"' || c == '[') {
            quote = c == '[' ? ']' : c;
            out += c;
            ++i;
            continue;
        }
        if (!IdentifierChar(c) || (i > 0 && (IdentifierChar(sql[i - 1]) || sql[i - 1] == '.'))) {
            out += c;
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < sql.size() && IdentifierChar(sql[end]))
            ++end;
        const std::string_view word = sql.substr(i, end - i);
        const bool qualifier = end < sql.size() && sql[end] == '.';
        if (qualifier && EqualsNoCase(word, "v1")) {
            out += tables.head;
        } else if (qualifier && !tables.entry.empty() && EqualsNoCase(word, "u1")) {
            out += tables.entry;
            namesEntries = true;
        } else {
            if (qualifier && !tables.entry.empty() && EqualsNoCase(word, tables.entry))
                namesEntries = true;
            out += word;
        }
        i = end;
    }
    return out;
}

}  // namespace

bool NamesEntries(const BillTables& tables, std::string_view sql) {
    bool namesEntries = false;
    ResolveAliases(tables, sql, namesEntries);
    return namesEntries;
}

std::string BillQuery(const BillTables& tables, std::string_view select, std::string_view where,
                      std::string_view orderBy) {
    const std::string head = SqlName(tables.head);
    const std::string rest = (TrimView(where).empty() ? "" : " WHERE " + std::string(where)) +
                             (orderBy.empty() ? "" : " ORDER BY " + std::string(orderBy));
    std::string sql = "SELECT " + std::string(select) + " FROM " + head;
    bool namesEntries = false;
    ResolveAliases(tables, std::string(select) + rest, namesEntries);
    if (namesEntries) {
        const std::string entry = SqlName(tables.entry);
        sql += " LEFT JOIN " + entry + " ON " + entry + "." + tables.key + " = " + head + "." +
               tables.key;
    }
    return ResolveAliases(tables, sql + rest, namesEntries);
}

ObjectPtr MakeClassInfo(Session& session) {
    return std::make_shared<HostClassInfo>(session);
}
ObjectPtr MakeClassTemplate(Session& session) {
    return std::make_shared<HostClassTemplate>(session);
}
ObjectPtr MakeBillLookUp(Session& session) {
    return std::make_shared<HostBillLookUp>(session);
}
ObjectPtr MakeDataInfo(Session& session) {
    return std::make_shared<HostDataInfo>(session);
}

}  // namespace velaqm::host
