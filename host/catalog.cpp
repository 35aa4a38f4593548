#include "host/catalog.h"

#include <algorithm>
#include <sstream>

#include "frame/convert.h"
#include "frame/host_error.h"
#include "frame/text_util.h"
#include "host/native_sql.h"

namespace velaqm::host {

namespace {

int Int(const Variant& value) {
    return static_cast<int>(WholeNumber(value));
}

DictionaryPtr FieldInfo(const FieldDef& field, const ClassDef& def) {
    DictionaryPtr info = NewDictionary();
    info->SetItem("FKey", field.key);
    info->SetItem("FFieldName", field.fieldName);
    info->SetItem("FClassTypeID", def.id);
    info->SetItem("FPage", field.page);
    info->SetItem("FIndex", field.index);
    info->SetItem("FCaption", field.caption);
    info->SetItem("FValueType", field.valueType);
    info->SetItem("FKeyWord", field.keyWord);
    info->SetItem("FLookUpType", field.lookUpType);
    info->SetItem("FSRCTableName", field.srcTable);
    info->SetItem("FSRCFieldName", field.srcField);
    info->SetItem("FDSPFieldName", field.dspField);
    info->SetItem("FFNDFieldName", field.fndField);
    for (const PageDef& page : def.pages)
        if (page.index == field.page) info->SetItem("FTableName", page.tableName);
    return info;
}

void ReadClassType(Database& db, ClassDef& def) {
    const auto rows =
        QueryRows(db,
                  "SELECT FName_chs, FName_en, FTableName, FObjectType, FObjectID, "
                  "FProgID, FFormKind, FBillNoPrefix, FGridMaxRows, FListPlugin, FPushClasses "
                  "FROM ICClassType WHERE FID = ?",
                  {def.id});
    if (rows.empty())
        throw HostError(kErrInvalidCall, "VelaClassTpl.DataSrv",
                        "Unknown class type " + std::to_string(def.id));
    const Row& r = rows.front();
    def.name = Text(r[0]);
    def.nameEn = Text(r[1]);
    def.tableName = Text(r[2]);
    def.objectType = Int(r[3]);
    def.objectId = Int(r[4]);
    def.progId = Text(r[5]);
    def.menuBarForm = Int(r[6]) == 1;
    def.billNoPrefix = Text(r[7]);
    def.gridMaxRows = r[8].IsNull() ? 500 : Int(r[8]);
    def.listPlugin = Int(r[9]) == 1;
    std::istringstream pushClasses(Text(r[10]));
    for (std::string part; std::getline(pushClasses, part, ',');)
        if (!TrimView(part).empty()) def.pushClasses.push_back(Int(Variant(part)));
}

void ReadPages(Database& db, ClassDef& def) {
    for (const Row& r : QueryRows(db,
                                  "SELECT FIndex, FTableName, FEntryType FROM ICClassTypeEntry "
                                  "WHERE FParentID = ? ORDER BY FIndex",
                                  {def.id}))
        def.pages.push_back({Int(r[0]), Text(r[1]), Int(r[2])});
    if (def.pages.empty()) def.pages.push_back({1, def.tableName, 0});
}

void ReadFields(Database& db, ClassDef& def) {
    for (const Row& r : QueryRows(
             db,
             "SELECT FKey, FFieldName, FPage, FIndex, FCaption_chs, FCaption_en, FValueType, "
             "FKeyWord, FLookUpType, FSRCTableName, FSRCFieldName, FDSPFieldName, FFNDFieldName, "
             "FEnabled, FLocked, FLookupClassID, FFilter, FUserDefine "
             "FROM ICClassTableInfo WHERE FClassTypeID = ? ORDER BY FPage, FIndex",
             {def.id})) {
        FieldDef field;
        field.key = Text(r[0]);
        field.fieldName = Text(r[1]);
        field.page = Int(r[2]);
        field.index = Int(r[3]);
        field.caption = Text(r[4]);
        field.captionEn = Text(r[5]);
        field.valueType = Int(r[6]);
        field.keyWord = Text(r[7]);
        field.lookUpType = Int(r[8]);
        field.srcTable = Text(r[9]);
        field.srcField = Text(r[10]);
        field.dspField = Text(r[11]);
        field.fndField = Text(r[12]);
        field.enabled = r[13].IsNull() || Truth(r[13]);
        field.locked = Truth(r[14]);
        field.info = FieldInfo(field, def);
        field.info->SetItem("FLookupClassID", r[15]);
        field.info->SetItem("FFilter", Text(r[16]));
        field.info->SetItem("FUserDefine", r[17]);
        def.fields.push_back(std::move(field));
    }
}

void ReadMutex(Database& db, ClassDef& def) {
    def.mutex = NewVector();
    for (const Row& r : QueryRows(db,
                                  "SELECT FOpareteType, FSubSysID, FNumber FROM ICClassMutex "
                                  "WHERE FClassTypeID = ?",
                                  {def.id})) {
        DictionaryPtr entry = NewDictionary();
        entry->SetItem("FOpareteType", r[0]);
        entry->SetItem("FSubSysID", r[1]);
        entry->SetItem("FNumber", r[2]);
        def.mutex->Insert(Variant(entry));
    }
}

}  // namespace

const FieldDef* ClassDef::Field(std::string_view key) const {
    for (const FieldDef& field : fields)
        if (EqualsNoCase(field.key, key)) return &field;
    return nullptr;
}

const FieldDef* ClassDef::BillNoField() const {
    for (const FieldDef& field : fields)
        if (EqualsNoCase(field.keyWord, "BILLNO")) return &field;
    return nullptr;
}

const FieldDef* ClassDef::IdField() const {
    for (const FieldDef& field : fields)
        if (field.page == 1 && EqualsNoCase(field.fieldName, "FID")) return &field;
    return nullptr;
}

const PageDef& ClassDef::HeadPage() const {
    return pages.front();
}

const PageDef* ClassDef::EntryPage() const {
    for (const PageDef& page : pages)
        if (page.entryType != 0) return &page;
    return nullptr;
}

std::vector<const FieldDef*> ClassDef::FieldsOf(int page) const {
    std::vector<const FieldDef*> result;
    for (const FieldDef& field : fields)
        if (field.page == page) result.push_back(&field);
    return result;
}

std::shared_ptr<const ClassDef> LoadClassDef(Database& db, int classTypeId) {
    auto def = std::make_shared<ClassDef>();
    def->id = classTypeId;
    ReadClassType(db, *def);
    ReadPages(db, *def);
    ReadFields(db, *def);
    ReadMutex(db, *def);
    return def;
}

DictionaryPtr EmptyFieldValue() {
    DictionaryPtr value = NewDictionary();
    value->SetItem("FFLD", "");
    value->SetItem("FFND", "");
    value->SetItem("FDSP", "");
    value->SetItem("FMODIFY", 0);
    return value;
}

HostDataSrv::HostDataSrv(Database& db, std::shared_ptr<const ClassDef> def, std::string language)
    : m_db(db), m_def(std::move(def)), m_language(std::move(language)) {
    Build();
}

void HostDataSrv::Build() {
    m_classType = NewDictionary();
    m_classType->SetItem("FID", m_def->id);
    const bool english = m_language == "en" && !m_def->nameEn.empty();
    m_classType->SetItem("FName", english ? m_def->nameEn : m_def->name);
    m_classType->SetItem("FName_en", m_def->nameEn);
    m_classType->SetItem("FTableName", m_def->tableName);
    m_classType->SetItem("FObjectType", m_def->objectType);
    m_classType->SetItem("FObjectID", m_def->objectId);
    const FieldDef* billNo = m_def->BillNoField();
    m_classType->SetItem("BillNoField", billNo ? billNo->key : std::string());
    m_classType->SetItem("Mutex", Variant(m_def->mutex));

    m_pages = NewVector();
    for (const PageDef& page : m_def->pages) {
        DictionaryPtr entry = NewDictionary();
        entry->SetItem("FIndex", page.index);
        entry->SetItem("FTableName", page.tableName);
        entry->SetItem("FEntryType", page.entryType);
        m_pages->Insert(Variant(entry));
    }

    m_tableInfo = NewDictionary();
    for (const FieldDef& field : m_def->fields)
        m_tableInfo->SetItem(field.key, Variant(field.info));
}

Variant HostDataSrv::ClassType(std::string_view key) const {
    return m_classType->Item(key);
}

VectorPtr HostDataSrv::ClassTypeEntry() const {
    return m_pages;
}

DictionaryPtr HostDataSrv::TableInfo() const {
    return m_tableInfo;
}

Variant HostDataSrv::TableInfo(std::string_view key) const {
    return m_tableInfo->Exists(key) ? m_tableInfo->Item(key) : Variant::Nothing();
}

Variant HostDataSrv::GetEmptyBill() {
    DictionaryPtr bill = NewDictionary();
    bill->SetItem("PageCount", static_cast<int>(m_def->pages.size()));
    for (const PageDef& page : m_def->pages) {
        if (page.entryType == 0)
            bill->SetItem("Page" + std::to_string(page.index), Variant(GetEmptyData(page.index)));
        else
            bill->SetItem("Page" + std::to_string(page.index), Variant(NewVector()));
    }
    return Variant(bill);
}

DictionaryPtr HostDataSrv::GetEmptyData(int page) {
    DictionaryPtr row = NewDictionary();
    for (const FieldDef* field : m_def->FieldsOf(page))
        row->SetItem(field->key, EmptyFieldValue());
    return row;
}

std::string HostDataSrv::GetExistBillNo(const Variant& billId, std::string& caption) {
    caption = "单据编号：";
    const FieldDef* billNo = m_def->BillNoField();
    if (!billNo) return "";
    const std::string sql = "SELECT " + QuoteName(billNo->fieldName) + " FROM " +
                            QuoteName(m_def->HeadPage().tableName) + " WHERE FID = ?";
    return Text(QueryValue(m_db, sql, {Variant(WholeNumber(billId))}));
}

void HostDataSrv::SetClassTypeID(int classTypeId) {
    m_def = LoadClassDef(m_db, classTypeId);
    Build();
}

}  // namespace velaqm::host
