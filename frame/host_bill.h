// The host's bill object, its bill control and template, and the list object: the contracts
// through which the plug-ins see a bill form or a bill list. Members keep the host's names;
// operations the host only describes by role carry the names of the role table in DESIGN.md.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "frame/collections.h"
#include "frame/host_toolbar.h"
#include "frame/object.h"
#include "frame/variant.h"

namespace velaqm {

class Recordset;
using RecordsetPtr = std::shared_ptr<Recordset>;

// The edit states of a bill form (`BillStatus`) that the plug-ins' rules name.
namespace bill_status {
inline constexpr int kView = 0;  // opened read-only
inline constexpr int kNew = 1;   // being created
inline constexpr int kEdit = 2;  // an existing bill being worked on
}  // namespace bill_status

// The bill's mode value (`Mode`).
namespace bill_mode {
inline constexpr int kNone = 0;
inline constexpr int kNew = 1;
inline constexpr int kExisting = 2;
}  // namespace bill_mode

// The bill template (`DataSrv`): class attributes, pages and field definitions.
class DataSrv : public Object {
  public:
    std::string TypeName() const override { return "DataSrv"; }

    virtual int ClassTypeID() const = 0;
    // A class attribute: "FID", "FName", "FObjectType", "FObjectID", "BillNoField", ...;
    // "Mutex" is the task-lock list (a Vector of dictionaries). Empty when unknown.
    virtual Variant ClassType(std::string_view key) const = 0;
    // Every class attribute, by key, as the host hands the template on to its own components.
    virtual DictionaryPtr ClassType() const = 0;
    // The pages: Item(1) the head, Item(2) the entry, each a Dictionary with "FTableName" and
    // "FEntryType".
    virtual VectorPtr ClassTypeEntry() const = 0;
    // Every field of the template, by key (each a field-info Dictionary).
    virtual DictionaryPtr TableInfo() const = 0;
    // The field info of one key; Nothing when the template has no such field.
    virtual Variant TableInfo(std::string_view key) const = 0;
    virtual Variant GetEmptyBill() = 0;
    // An empty row value set for a page.
    virtual DictionaryPtr GetEmptyData(int page) = 0;
    // The bill number of a saved bill; `caption` receives the number field's caption.
    virtual std::string GetExistBillNo(const Variant& billId, std::string& caption) = 0;
};
using DataSrvPtr = std::shared_ptr<DataSrv>;

// The bill control, the object the plug-ins also call the form object.
class BillCtl : public Object {
  public:
    std::string TypeName() const override { return "BillCtl"; }

    // True while this client holds the bill's edit lock.
    virtual bool MutexSuccess() const = 0;
    virtual int BillStatus() const = 0;
    // Unsaved edits.
    virtual bool IsChange() const = 0;
    // The writable flag, set true after an audit.
    virtual bool Isok() const = 0;
    virtual void SetIsok(bool value) = 0;
    // entryColumn: True for an entry column, False for a head field.
    virtual void SetLockProperty(bool locked, const DictionaryPtr& fieldInfo, bool entryColumn) = 0;
    virtual void LockCell(const DictionaryPtr& fieldInfo, int row, bool locked) = 0;
    virtual void SetGridMaxRows(int page, int rowLimit) = 0;
    // Recomputes a column's total.
    virtual void SetSumData(const DictionaryPtr& fieldInfo) = 0;
    virtual bool IsHaveData(int page, int row) const = 0;
    // Lets the user choose a source bill of that class type.
    virtual void DoSelBill(int sourceClassTypeId) = 0;
    // Replaces the bill data ("PageCount", "Page1", "Page2", as DataSrv::GetEmptyBill makes it)
    // wholesale; DoFilldata then shows it.
    virtual void SetData(const DictionaryPtr& data) = 0;
    // Fills the bill from data shaped as the bill data: the head fields and the entry rows whose
    // value dictionaries are marked "FModify"; given the bill's own data, shows it.
    virtual void DoFilldata(const DictionaryPtr& data) = 0;
};
using BillCtlPtr = std::shared_ptr<BillCtl>;

// The multi-level audit manager of a bill.
class MultiCheckMgr : public Object {
  public:
    std::string TypeName() const override { return "MultiCheckMgr"; }
    virtual bool IsRun() const = 0;
};
using MultiCheckMgrPtr = std::shared_ptr<MultiCheckMgr>;

// The control that has the focus on a bill form ("grid" for the entry grid).
class ActiveControl : public Object {
  public:
    std::string TypeName() const override { return "Control"; }
    virtual std::string Name() const = 0;
    virtual int ActiveRow() const = 0;
};
using ActiveControlPtr = std::shared_ptr<ActiveControl>;

// One column of an entry page, positioned on a row.
class EntryColumn : public Object {
  public:
    std::string TypeName() const override { return "Column"; }
    virtual void SetRow(int row) = 0;
    virtual Variant Value() const = 0;
    // The column's one Boolean display property.
    virtual void SetDisplayFlag(bool value) = 0;
};
using EntryColumnPtr = std::shared_ptr<EntryColumn>;

class EntryPage : public Object {
  public:
    std::string TypeName() const override { return "EntryPage"; }
    // Throws HostError when the page has no column of that key.
    virtual EntryColumnPtr Columns(std::string_view key) const = 0;
};
using EntryPagePtr = std::shared_ptr<EntryPage>;

class EntryPages : public Object {
  public:
    std::string TypeName() const override { return "EntryPages"; }
    virtual int Count() const = 0;
    // 1-based: Item(1) is entry page 1.
    virtual EntryPagePtr Item(int index) const = 0;
};
using EntryPagesPtr = std::shared_ptr<EntryPages>;

// Receives the events of a bill object. Every event does nothing unless overridden; `bCancel`
// and `Cancel` are in/out flags: true stops the host's action.
class BillEventsSink {
  public:
    virtual ~BillEventsSink() = default;
    virtual void AfterLoadBill() {}
    virtual void AfterNewBill() {}
    virtual void AfterCopyBill() {}
    virtual void AfterNewEmptyData() {}
    virtual void BeforLoadBillFillData() {}
    virtual void BeforeSave(bool& /*bCancel*/) {}
    virtual void AfterSave(bool& /*bCancel*/) {}
    virtual void SaveBillSuccess(const DictionaryPtr& /*dctData*/) {}
    virtual void AfterSelBill(int /*lSelBillType*/) {}
    virtual void BeforeSelBills(int /*lSelBillType*/, const DataSrvPtr& /*oDataSrv*/,
                                const DictionaryPtr& /*dctLink*/, std::string& /*sFilter*/,
                                const DictionaryPtr& /*dctParam*/) {}
    virtual void AfterFillRow(int /*lRow*/, const DictionaryPtr& /*dctPage*/,
                              const DictionaryPtr& /*dctEntryData*/,
                              const DictionaryPtr& /*dctLink*/) {}
    virtual void BarInitialize(const ActiveBarPtr& /*oActiveBar*/) {}
    virtual void BarClick(const ToolPtr& /*Tool*/, bool& /*Cancel*/) {}
    virtual void MenuBarInitialize(const MenuBarPtr& /*oMenuBar*/) {}
    virtual void MenuBarClick(const ToolPtr& /*XPFTool*/, bool& /*Cancel*/) {}
    virtual void BeginEdit(const DictionaryPtr& /*dct*/, int /*Col*/, int /*Row*/) {}
    virtual void Change(const DictionaryPtr& /*dct*/, const DictionaryPtr& /*dctFld*/, int /*Col*/,
                        int /*Row*/, bool& /*Cancel*/) {}
    virtual void BeforeDoAction(const DictionaryPtr& /*dct*/, const DictionaryPtr& /*dctFld*/,
                                const Variant& /*ItemObj*/, const std::string& /*ActionTypeName*/,
                                const std::string& /*ActionName*/, const Variant& /*Paremeters*/,
                                bool& /*bCancel*/) {}
    virtual void BeforeSetExportNote(const VectorPtr& /*vctExportNote*/) {}
};

// The bill object (type name "BillEvent").
class BillEvent : public Object {
  public:
    std::string TypeName() const override { return "BillEvent"; }

    // Event subscription; the host keeps no ownership of the sink.
    virtual void Advise(BillEventsSink* sink) = 0;
    virtual void Unadvise(BillEventsSink* sink) = 0;

    // Field info of a field ("" and 0 for a head field); throws HostError for an unknown key.
    virtual DictionaryPtr GetFieldInfoByKey(std::string_view key, std::string_view page,
                                            int column) = 0;
    // The value dictionary of a field at a row (0 = head): "FFLD", "FFND", "FDSP", "FMODIFY".
    virtual DictionaryPtr GetDataFld(const DictionaryPtr& fieldInfo, int row = 0) = 0;
    virtual Variant ClassType(std::string_view key) const = 0;
    // The class type ID of the bill.
    virtual Variant FID() const = 0;
    // The internal ID of the shown bill.
    virtual Variant CurBillID() const = 0;
    virtual void RefreshBill() = 0;
    virtual int BillStatus() const = 0;
    virtual void SetText(const DictionaryPtr& valueDictionary, std::string_view text) = 0;
    virtual void FireAfterSelBill(int sourceClassTypeId) = 0;
    virtual BillCtlPtr BillCtl() const = 0;
    virtual DataSrvPtr DataSrv() const = 0;
    // Null when the bill has no multi-level audit.
    virtual MultiCheckMgrPtr MultiCheckMgr() const = 0;
    // property is "Visible" or "Enabled".
    virtual void SetBarStatus(std::string_view toolKey, std::string_view property, bool value) = 0;
    virtual ActiveControlPtr ActiveControl() const = 0;

    // Operations known by role.
    // bill_mode: kNew while a new bill is being created, kExisting for an existing bill being
    // worked on, kNone neither.
    virtual int Mode() const = 0;
    virtual Variant GetHeadValue(std::string_view key) = 0;
    // row -1 addresses the head.
    virtual void SetValueByKey(std::string_view key, const Variant& value, int row) = 0;
    // row 0 addresses the head.
    virtual void SetFieldText(const DictionaryPtr& fieldInfo, const Variant& text, int row) = 0;
    virtual void SetCellValue(const DictionaryPtr& fieldInfo, const Variant& value, int row) = 0;
    virtual void EnableField(const DictionaryPtr& fieldInfo, bool enabled) = 0;
    virtual void LockCell(const DictionaryPtr& fieldInfo, int row, bool locked) = 0;
    virtual void SetCellSetting(const DictionaryPtr& fieldInfo, int row, int value) = 0;
    virtual void RefreshDisplay() = 0;
    virtual void LockBill(bool locked) = 0;
    // Leaves the page with one empty row.
    virtual void ClearPage(int page) = 0;
    virtual EntryPagesPtr EntryPages() const = 0;
    // 0-based position of the tool in the band; -1 when absent.
    virtual int ToolIndex(std::string_view band, std::string_view toolKey) const = 0;
    // "PageCount", "Page" + n (the row Vector of page n), "AddModel".
    virtual DictionaryPtr BillData() const = 0;
    virtual void SetSelectMode(int value) = 0;

    // What a menu-bar form offers besides: an entry value by key and row (its first entry
    // table), the entry row count and the menu bar (null on a toolbar form).
    virtual Variant GetEntryValue(std::string_view key, int row) = 0;
    virtual int EntryRowCount() const = 0;
    virtual MenuBarPtr MenuBar() const = 0;
};
using BillEventPtr = std::shared_ptr<BillEvent>;

// The list control of a bill list.
class ListCtl : public Object {
  public:
    std::string TypeName() const override { return "List"; }
    // The internal IDs of the selected bills, in selection order.
    virtual VectorPtr GetSelectedBillID() const = 0;
    // One row Dictionary per selected row.
    virtual VectorPtr GetSelectedBillInfo() const = 0;
    virtual void RefreshList() = 0;
    virtual int ShowMode() const = 0;
};
using ListCtlPtr = std::shared_ptr<ListCtl>;

class ListEventsSink {
  public:
    virtual ~ListEventsSink() = default;
    virtual void AfterSelList(const Variant& /*RsId*/, const VectorPtr& /*VectList*/) {}
    virtual void BarInitialize(const ActiveBarPtr& /*oActiveBar*/) {}
    virtual void BarClick(const ToolPtr& /*Tool*/, bool& /*Cancel*/) {}
};

// The list object (type name "ListEvents").
class ListEvents : public Object {
  public:
    std::string TypeName() const override { return "ListEvents"; }
    virtual void Advise(ListEventsSink* sink) = 0;
    virtual void Unadvise(ListEventsSink* sink) = 0;
    virtual DataSrvPtr DataSrv() const = 0;
    virtual ListCtlPtr List() const = 0;
};
using ListEventsPtr = std::shared_ptr<ListEvents>;

}  // namespace velaqm
