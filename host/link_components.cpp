#include "host/link_components.h"

#include <string>

#include "frame/convert.h"
#include "frame/host_error.h"
#include "frame/host_services.h"
#include "frame/sql_text.h"
#include "frame/text_util.h"
#include "host/db/sqlite.h"
#include "host/lookup_components.h"
#include "host/native_sql.h"
#include "host/parts/recordset.h"

namespace velaqm::host {

namespace {

constexpr std::string_view kSource = "VelaClassLink.ClassLink";

int Int(const Variant& value) {
    return static_cast<int>(WholeNumber(value));
}

struct LinkField {
    std::string destKey;
    std::string sourceExpr;
    std::string keyExpr;
};

// The fields of the first link from the source class to the target class.
std::vector<LinkField> LinkFields(Database& db, int sourceClassTypeId, int destClassTypeId) {
    const auto rows = QueryRows(
        db,
        "SELECT FDestKey, FSourceExpr, FKeyExpr FROM ICClassLink WHERE FSourceClassID = ? AND "
        "FDestClassTypeID = ? AND FLinkKey = (SELECT FLinkKey FROM ICClassLink WHERE "
        "FSourceClassID = ? AND FDestClassTypeID = ? ORDER BY rowid LIMIT 1) ORDER BY rowid",
        {sourceClassTypeId, destClassTypeId, sourceClassTypeId, destClassTypeId});
    std::vector<LinkField> fields;
    for (const Row& row : rows)
        fields.push_back({Text(row[0]), Text(row[1]), Trim(Text(row[2]))});
    return fields;
}

DictionaryPtr Filled(const Variant& value) {
    DictionaryPtr cell = NewDictionary();
    cell->SetItem("FFLD", value.IsNull() ? Variant(std::string()) : value);
    cell->SetItem("FModify", 1);
    return cell;
}

int PageOf(const DataSrv& target, const std::string& key) {
    const auto field = target.TableInfo(key).ObjectAs<Dictionary>();
    return field ? Int(field->Item("FPage")) : 0;
}

// VelaClassLink.ClassLink: set the target template and the source class, initialise the link,
// then selbills(bill data, chosen rows, ...) gives the data to fill the bill with.
class HostClassLink final : public ClassLink {
  public:
    explicit HostClassLink(Session& session) : m_session(session) {}

    void SetDataSrv(const DataSrvPtr& dataSrv) override { m_target = dataSrv; }
    void SetSRCClassTypeID(int classTypeId) override { m_sourceClass = classTypeId; }
    void InitLinkTemplate() override {
        if (!m_target) throw HostError(kErrObjectRequired, std::string(kSource), "No DataSrv");
        if (LinkFields(m_session.Db(), m_sourceClass, m_target->ClassTypeID()).empty())
            throw HostError(kErrInvalidCall, std::string(kSource),
                            "No class link from class type " + std::to_string(m_sourceClass) +
                                " to class type " + std::to_string(m_target->ClassTypeID()));
        m_initialised = true;
    }
    Variant selbills(const Variant&, const Variant& chosen, const Variant&) override {
        if (!m_initialised)
            throw HostError(kErrInvalidCall, std::string(kSource), "The link is not initialised");
        return Variant(
            LinkedBillData(m_session, m_sourceClass, *m_target, chosen.ObjectAs<Vector>()));
    }
    Variant DoFilldata(const Variant& data) override { return data; }

  private:
    Session& m_session;
    DataSrvPtr m_target;
    int m_sourceClass = 0;
    bool m_initialised = false;
};

}  // namespace

DictionaryPtr LinkedBillData(Session& session, int sourceClassTypeId, const DataSrv& target,
                             const VectorPtr& chosen) {
    const std::vector<LinkField> fields =
        LinkFields(session.Db(), sourceClassTypeId, target.ClassTypeID());
    const std::optional<BillTables> tables = ResolveBillTables(session, sourceClassTypeId);
    if (fields.empty() || !tables)
        throw HostError(kErrInvalidCall, std::string(kSource),
                        "No class link from class type " + std::to_string(sourceClassTypeId) +
                            " to class type " + std::to_string(target.ClassTypeID()));
    std::string columns;
    for (const LinkField& field : fields)
        columns +=
            (columns.empty() ? "" : ", ") + field.sourceExpr + " AS " + SqlName(field.destKey);
    const std::string keyExpr =
        fields.front().keyExpr.empty() ? "v1." + tables->key : fields.front().keyExpr;
    const ResultSet rows = session.Db().Execute(
        BillQuery(*tables, columns, ChosenRowsCondition(chosen, keyExpr, !tables->entry.empty()),
                  keyExpr + (tables->entry.empty() ? "" : ", u1.FEntryID")));

    DictionaryPtr head = NewDictionary();
    VectorPtr entries = NewVector();
    for (std::size_t r = 0; r < rows.rows.size(); ++r) {
        DictionaryPtr entry = NewDictionary();
        for (std::size_t c = 0; c < rows.columns.size(); ++c) {
            const int page = PageOf(target, rows.columns[c]);
            if (page == 1 && r == 0) head->SetItem(rows.columns[c], Filled(rows.rows[r][c]));
            if (page > 1) entry->SetItem(rows.columns[c], Filled(rows.rows[r][c]));
        }
        if (entry->Count() > 0) entries->Insert(Variant(entry));
    }
    DictionaryPtr data = NewDictionary();
    data->SetItem("Page1", Variant(head));
    data->SetItem("Page2", Variant(entries));
    return data;
}

std::vector<int> SourceClassesOf(Session& session, int classTypeId) {
    std::vector<int> classes;
    for (const Row& row : QueryRows(session.Db(),
                                    "SELECT FSourceClassID FROM ICClassLink WHERE "
                                    "FDestClassTypeID = ? GROUP BY FSourceClassID ORDER BY "
                                    "min(rowid)",
                                    {classTypeId}))
        classes.push_back(Int(row[0]));
    return classes;
}

VectorPtr ChooseSourceBills(Session& session, int sourceClassTypeId) {
    const std::optional<BillTables> tables = ResolveBillTables(session, sourceClassTypeId);
    if (!tables) return nullptr;
    session.Log().Add(EntryKind::Form, "source-bill selection of " + tables->name);
    const std::optional<WindowChoice> choice = session.TakeChoice("source-bill selection");
    if (!choice || choice->kind != WindowChoice::Kind::Bills) return nullptr;
    VectorPtr picked = NewVector();
    auto pick = [&](const std::string& column, const Variant& wanted) {
        const Variant id =
            QueryValue(session.Db(),
                       "SELECT " + QuoteName(tables->key) + " FROM " + QuoteName(tables->head) +
                           " WHERE " + QuoteName(column) + " = ?",
                       {wanted});
        if (id.IsEmpty()) {
            session.AddProblem("the source-bill selection shows no bill " + Text(wanted));
            return false;
        }
        DictionaryPtr row = NewDictionary();
        row->SetItem("FInterID", id);
        picked->Insert(Variant(row));
        return true;
    };
    for (const std::string& number : choice->billNumbers)
        if (tables->billNo.empty() || !pick(tables->billNo, number)) return nullptr;
    for (int id : choice->ids)
        if (!pick(tables->key, id)) return nullptr;
    session.Log().Add(EntryKind::Form, "source bills chosen: " + std::to_string(picked->Size()));
    return picked->Size() > 0 ? picked : nullptr;
}

ObjectPtr MakeClassLink(Session& session) {
    return std::make_shared<HostClassLink>(session);
}

}  // namespace velaqm::host
