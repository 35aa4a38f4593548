// Bill templates read from the host's metadata tables (ICClassType, ICClassTypeEntry,
// ICClassTableInfo, ICClassMutex), and the template object the plug-ins see (`DataSrv`).
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frame/collections.h"
#include "frame/host_services.h"
#include "host/db/database.h"

namespace velaqm::host {

inline constexpr int kSourceLookupType = 100;

struct FieldDef {
    std::string key;
    std::string fieldName;
    int page = 1;
    int index = 0;  // column order on the page
    std::string caption;
    std::string captionEn;
    int valueType = 200;
    std::string keyWord;
    int lookUpType = 0;
    std::string srcTable, srcField, dspField, fndField;
    bool enabled = true;
    bool locked = false;
    // The field-info Dictionary the plug-ins are handed: one object per field and template.
    DictionaryPtr info;

    // A lookup into base data, which the host resolves: the stored ID shows the record's text.
    bool IsLookup() const { return lookUpType != 0 && !IsSourceLookup() && !srcTable.empty(); }
    // A lookup into another bill: it holds the source bill's number as typed or filled in, and
    // the plug-in checks it.
    bool IsSourceLookup() const { return lookUpType == kSourceLookupType; }
    bool IsDate() const { return valueType == 135 || valueType == 61 || valueType == 189; }
};

struct PageDef {
    int index = 1;
    std::string tableName;
    int entryType = 0;  // 0 head page, otherwise an entry page
};

struct ClassDef {
    int id = 0;
    std::string name;
    std::string nameEn;
    std::string tableName;
    int objectType = 0;
    int objectId = 0;
    std::string progId;
    bool listPlugin = false;       // the plug-in also serves the bill list
    std::vector<int> pushClasses;  // the class types its list pushes bills down to
    bool menuBarForm = false;
    std::string billNoPrefix;
    int gridMaxRows = 500;
    std::vector<PageDef> pages;
    std::vector<FieldDef> fields;
    VectorPtr mutex;  // the task-lock list: dictionaries of FOpareteType, FSubSysID, FNumber

    const FieldDef* Field(std::string_view key) const;
    const FieldDef* BillNoField() const;
    // The head field that shows the bill's internal ID: the one stored in the head table's FID,
    // whatever its key ("FID", "FInterID"); null when the template has none.
    const FieldDef* IdField() const;
    const PageDef& HeadPage() const;
    const PageDef* EntryPage() const;  // null for a bill with one page
    std::vector<const FieldDef*> FieldsOf(int page) const;
};

// Reads a class type's template; throws HostError for an unknown class type.
std::shared_ptr<const ClassDef> LoadClassDef(Database& db, int classTypeId);

// The bill template object of one class type.
class HostDataSrv : public ClassTemplate {
  public:
    // The bill name ("FName") is given in the session's language.
    HostDataSrv(Database& db, std::shared_ptr<const ClassDef> def, std::string language);

    const ClassDef& Def() const { return *m_def; }

    int ClassTypeID() const override { return m_def->id; }
    Variant ClassType(std::string_view key) const override;
    DictionaryPtr ClassType() const override { return m_classType; }
    VectorPtr ClassTypeEntry() const override;
    DictionaryPtr TableInfo() const override;
    Variant TableInfo(std::string_view key) const override;
    Variant GetEmptyBill() override;
    DictionaryPtr GetEmptyData(int page) override;
    std::string GetExistBillNo(const Variant& billId, std::string& caption) override;
    void SetClassTypeID(int classTypeId) override;

  private:
    Database& m_db;
    std::shared_ptr<const ClassDef> m_def;
    std::string m_language;
    DictionaryPtr m_classType;
    VectorPtr m_pages;
    DictionaryPtr m_tableInfo;

    void Build();
};

// An empty value set of one field: "FFLD", "FFND", "FDSP", "FMODIFY".
DictionaryPtr EmptyFieldValue();

}  // namespace velaqm::host
