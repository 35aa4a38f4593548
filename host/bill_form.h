// The substitute host's bill form: one open bill with its template, values, field and cell
// states, toolbar and plug-in. It is the bill object the plug-in sees, and the form a scenario
// works in. It keeps the bill's life (open, new, copy, save, close) and its events; its values,
// field states and controls each have their own class.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frame/host_bill.h"
#include "frame/plugin.h"
#include "host/bill_controls.h"
#include "host/bill_edit_lock.h"
#include "host/bill_field_states.h"
#include "host/bill_form_values.h"
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
    // A new bill filled from rows pushed down from a list of the source class; the plug-in hears
    // of it as of a source-bill selection.
    void FillPushedRows(int sourceClassTypeId, const VectorPtr& rows);
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
    // The host's template export: its note (one line naming the bill) goes through
    // BeforeSetExportNote, and the lines the plug-in leaves head the template.
    std::vector<std::string> ExportTemplate();

    // What a person sees.
    std::string ValueText(std::string_view key, int row) const;
    std::string DisplayText(std::string_view key, int row) const;
    const HostTool& ToolState(std::string_view key) const;
    std::optional<std::string> BandText(std::string_view band) const {
        return m_controls.BandText(band);
    }
    bool FieldEnabled(std::string_view key) const;
    bool FieldLocked(std::string_view key) const;
    bool CellLocked(std::string_view key, int row) const;
    std::optional<int> CellSetting(std::string_view key, int row) const;
    bool BillLocked() const { return m_fields.BillLocked(); }
    int RowsWithData() const;
    std::optional<bool> LastSave() const { return m_lastSave; }
    // The record numbers the last lookup window showed; nullopt before any.
    const std::optional<std::vector<std::string>>& LastLookupOffer() const {
        return m_lastLookupOffer;
    }
    int BillId() const { return m_billId; }
    const ClassDef& Def() const { return *m_def; }
    std::string Render() const;
    // The plug-ins subscribed to the form's events.
    std::size_t SubscriberCount() const { return m_sinks.size(); }

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

    BillForm(Session& session, std::shared_ptr<const ClassDef> def);

    // Opening and loading.
    void AttachPlugin();
    void BuildToolbar();
    void NewBill();
    void ResetToTemplate();
    void NewEmptyData();
    void OfferBillNumber();
    // After the plug-in replaced the bill data: the bill keeps its internal ID, and its number
    // when the new data brings none.
    void KeepIdentity(const DictionaryPtr& before);
    void TakeEditLock();
    void ReleaseEditLock();

    // Saving, inside one transaction.
    void WriteBill();
    void SettleBillNumber();
    DictionaryPtr SavedBillInfo() const;

    // Events go to every subscribed sink; an error a handler passes back is shown by the host.
    template <class Call>
    void Raise(std::string_view event, Call&& call);

    // What a person does.
    const FieldDef& FieldOf(std::string_view key) const { return m_values.FieldOf(key); }
    const FieldDef& FieldOf(const DictionaryPtr& fieldInfo) const {
        return m_values.FieldOf(fieldInfo);
    }
    // The row a person types into: 0 in the head, the first row for none; ActionRefused past
    // the grid's row limit.
    int EditedRow(const FieldDef& field, int row) const;
    void RequireEditable(const FieldDef& field, int row) const;
    // Stores what a person typed or chose into the entered cell and raises Change.
    void TypeInto(const FieldDef& field, int row, std::string_view text);
    // mnuDataLookUp: the lookup window of the base-data field the cursor stands in, which takes
    // the next choice; the chosen record goes into the field as if its number were typed.
    void LookUpFocusedField();
    // Raises Change for a typed value; false when a handler cancelled it.
    bool RaiseChange(const FieldDef& field, const DictionaryPtr& value, int row);
    // " new bill", " bill 12": how the transcript's heading names the bill.
    std::string StatusText() const;

    // The host's own handling of the standard tools.
    void HostToolAction(std::string_view key);
    void AddRow();
    void DeleteRow();
    void CopyBill();
    // The source-bill selection window of the class and the fill from the bills picked there,
    // raising no event; false when the person picked none.
    bool SelectSourceBills(int sourceClassTypeId);
    // mnuSelectBill: BeforeSelBills, the selection of the bill's first source class, then
    // AfterSelBill.
    void SelectBillOfFirstSource();
    // Fills the bill from linked source data, then raises AfterFillRow for the head (row -1)
    // and for each entry row filled, handing on the page, the row's values and its source data.
    void FillFromLinked(const DictionaryPtr& linked);

    Session& m_session;
    std::shared_ptr<const ClassDef> m_def;
    std::shared_ptr<HostDataSrv> m_template;
    std::unique_ptr<Plugin> m_plugin;
    std::vector<BillEventsSink*> m_sinks;
    BillControls m_controls;
    BillFormValues m_values;
    BillFieldStates m_fields;
    BillEditLock m_editLock;
    BillCtlPtr m_billCtl;

    State m_state = State::New;
    int m_billId = 0;
    std::string m_proposedBillNo;  // the number the form offered a new bill
    bool m_isChange = false;
    bool m_isok = false;
    std::optional<bool> m_lastSave;
    std::optional<std::vector<std::string>> m_lastLookupOffer;
};

}  // namespace velaqm::host
