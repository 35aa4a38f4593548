// The substitute host's bill form: one open bill with its template, values, field and cell
// states, toolbar and plug-in. It is the bill object the plug-in sees, and the form a scenario
// works in.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "frame/host_bill.h"
#include "frame/plugin.h"
#include "host/catalog.h"
#include "host/parts/toolbar.h"

namespace velaqm::host {

class Session;

class BillForm final : public BillEvent, public std::enable_shared_from_this<BillForm> {
  public:
    enum class State { New, Edit, View };

    // A form for the class type, with its plug-in attached but nothing loaded.
    static std::shared_ptr<BillForm> Create(Session& session, int classTypeId);
    ~BillForm() override;

    // Opening raises the toolbar events, then the load or new-bill events.
    void OpenNew();
    void OpenSaved(int billId, bool readOnly);
    // Releases the plug-in and the edit lock.
    void Close();

    // What a person does. Each throws ActionRefused for what the form does not allow.
    void Enter(std::string_view key, int row);
    void Edit(std::string_view key, int row, std::string_view text);
    void Click(std::string_view toolKey);
    void ChooseMenu(std::string_view toolKey);
    void FocusGrid(std::optional<int> row);
    void FocusHead();
    // The host's own save (BeforeSave, write, AfterSave, SaveBillSuccess); true when saved.
    bool Save();

    // What a person sees.
    std::string ValueText(std::string_view key, int row) const;
    std::string DisplayText(std::string_view key, int row) const;
    const HostTool& ToolState(std::string_view key) const;
    bool FieldEnabled(std::string_view key) const;
    bool FieldLocked(std::string_view key) const;
    bool CellLocked(std::string_view key, int row) const;
    bool BillLocked() const { return m_billLocked; }
    int RowsWithData() const;
    std::optional<bool> LastSave() const { return m_lastSave; }
    int BillId() const { return m_billId; }
    const ClassDef& Def() const { return *m_def; }
    std::string Render() const;

    // BillEvent
    void Advise(BillEventsSink* sink) override;
    void Unadvise(BillEventsSink* sink) override;
    DictionaryPtr GetFieldInfoByKey(std::string_view key, std::string_view page,
                                    int column) override;
    DictionaryPtr GetDataFld(const DictionaryPtr& fieldInfo, int row) override;
    Variant ClassType(std::string_view key) const override;
    Variant FID() const override;
    Variant CurBillID() const override;
    void RefreshBill() override;
    int BillStatus() const override;
    void SetText(const DictionaryPtr& valueDictionary, std::string_view text) override;
    void FireAfterSelBill(int sourceClassTypeId) override;
    BillCtlPtr BillCtl() const override;
    DataSrvPtr DataSrv() const override;
    MultiCheckMgrPtr MultiCheckMgr() const override;
    void SetBarStatus(std::string_view toolKey, std::string_view property, bool value) override;
    ActiveControlPtr ActiveControl() const override;
    int Mode() const override;
    Variant GetHeadValue(std::string_view key) override;
    void SetValueByKey(std::string_view key, const Variant& value, int row) override;
    void SetFieldText(const DictionaryPtr& fieldInfo, const Variant& text, int row) override;
    void SetCellValue(const DictionaryPtr& fieldInfo, const Variant& value, int row) override;
    void EnableField(const DictionaryPtr& fieldInfo, bool enabled) override;
    void LockCell(const DictionaryPtr& fieldInfo, int row, bool locked) override;
    void SetCellSetting(const DictionaryPtr& fieldInfo, int row, int value) override;
    void RefreshDisplay() override;
    void LockBill(bool locked) override;
    void ClearPage(int page) override;
    EntryPagesPtr EntryPages() const override;
    int ToolIndex(std::string_view band, std::string_view toolKey) const override;
    DictionaryPtr BillData() const override;
    void SetSelectMode(int value) override;
    Variant GetEntryValue(std::string_view key, int row) override;
    int EntryRowCount() const override;
    MenuBarPtr MenuBar() const override;

  private:
    friend class HostBillCtl;
    friend class HostEntryColumn;
    using CellKey = std::pair<std::string, int>;  // upper-cased field key, row

    BillForm(Session& session, std::shared_ptr<const ClassDef> def);

    // Opening and loading.
    void AttachPlugin();
    void BuildToolbar();
    void NewBill();
    void ResetToTemplate();
    void LoadFromDatabase();
    void NewEmptyData();
    // The edit lock of a saved bill: held by this user (`held`), and taken by this form now
    // (`taken`), so that closing the form gives it back.
    struct EditLock {
        bool held = false;
        bool taken = false;
    };
    EditLock TryEditLock(int billId);
    void TakeEditLock();
    void ReleaseEditLock();

    // Saving, inside one transaction.
    void WriteBill();
    void SettleBillNumber();

    // Events go to every subscribed sink; an error a handler passes back is shown by the host.
    template <class Call>
    void Raise(std::string_view event, Call&& call);

    // The tool of a key, on the menu bar of a menu-bar form, else on the toolbar.
    HostToolPtr FindTool(std::string_view key) const;

    // Values.
    const FieldDef& FieldOf(std::string_view key) const;
    const FieldDef& FieldOf(const DictionaryPtr& fieldInfo) const;
    // The value set of a cell, made when the bill has none yet (rows up to the grid's limit).
    DictionaryPtr ValueAt(const FieldDef& field, int row);
    // One item ("FFLD", "FDSP") of a cell as stored; Empty for a cell the bill does not hold.
    Variant StoredItem(const FieldDef& field, int row, std::string_view item) const;
    DictionaryPtr HeadPage() const;
    VectorPtr EntryRows() const;
    void StoreValue(const FieldDef& field, int row, const Variant& value);
    // What a person types: false when the field refuses the text (a message box says why and
    // the old value stays).
    bool StoreTypedText(const FieldDef& field, int row, std::string_view text);
    std::string Caption(const FieldDef& field) const;
    std::string CellName(const FieldDef& field, int row) const;
    static int CellRow(const FieldDef& field, int row);
    void RequireEditable(const FieldDef& field, int row) const;

    // The host's own handling of the standard tools.
    void HostToolAction(std::string_view key);
    void AddRow();
    void DeleteRow();
    void CopyBill();

    Session& m_session;
    std::shared_ptr<const ClassDef> m_def;
    std::shared_ptr<HostDataSrv> m_template;
    std::unique_ptr<Plugin> m_plugin;
    std::vector<BillEventsSink*> m_sinks;
    std::shared_ptr<HostActiveBar> m_toolbar;
    std::shared_ptr<HostMenuBar> m_menuBar;  // a menu-bar form's tools
    ToolbarSnapshot m_toolbarAfterInit;
    ToolbarSnapshot m_menuBarAfterInit;
    BillCtlPtr m_billCtl;
    DictionaryPtr m_data;

    State m_state = State::New;
    int m_billId = 0;
    std::string m_proposedBillNo;  // the number the form offered a new bill
    bool m_mutexSuccess = true;
    bool m_ownsEditLock = false;
    bool m_isChange = false;
    bool m_isok = false;
    bool m_billLocked = false;
    int m_gridMaxRows = 500;
    bool m_focusGrid = false;
    int m_focusRow = 1;
    std::optional<bool> m_lastSave;

    std::map<std::string, bool> m_fieldEnabled;  // by upper-cased key
    std::map<std::string, bool> m_fieldLocked;
    std::map<CellKey, bool> m_cellLocks;
    std::map<CellKey, int> m_cellSettings;
    std::map<std::string, bool> m_columnFlags;
};

}  // namespace velaqm::host
