#include "host/bill_form.h"

#include <algorithm>

#include "frame/convert.h"
#include "frame/host_error.h"
#include "frame/text_util.h"
#include "host/action_refused.h"
#include "host/bill_ctl.h"
#include "host/bill_entry_pages.h"
#include "host/bill_render.h"
#include "host/bill_store.h"
#include "host/form_support.h"
#include "host/link_components.h"
#include "host/native_sql.h"
#include "host/session.h"

namespace velaqm::host {

namespace {

// The multi-level audit of a class whose system profile turns it on; the substitute host runs
// it whenever asked.
class HostMultiCheckMgr final : public velaqm::MultiCheckMgr {
  public:
    bool IsRun() const override { return true; }
};

}  // namespace

// --- opening and closing ---------------------------------------------------------------------

std::shared_ptr<BillForm> BillForm::Create(Session& session, int classTypeId) {
    auto form =
        std::shared_ptr<BillForm>(new BillForm(session, LoadClassDef(session.Db(), classTypeId)));
    form->m_billCtl = std::make_shared<HostBillCtl>(form);
    form->AttachPlugin();
    return form;
}

BillForm::BillForm(Session& session, std::shared_ptr<const ClassDef> def)
    : m_session(session),
      m_def(std::move(def)),
      m_template(std::make_shared<HostDataSrv>(session.Db(), m_def, session.User().language)),
      m_controls(session, m_def->menuBarForm),
      m_values(session, m_def, m_template),
      m_fields(m_def),
      m_editLock(session, m_def->id) {}

BillForm::~BillForm() {
    try {
        Close();
    } catch (...) {
        // A form being destroyed has no one to report to.
    }
}

void BillForm::AttachPlugin() {
    m_plugin = AttachPluginOf(m_session, m_def->progId,
                              Variant(std::static_pointer_cast<BillEvent>(shared_from_this())));
}

void BillForm::BuildToolbar() {
    m_session.Log().Add(EntryKind::Form, "toolbar of class " + std::to_string(m_def->id));
    if (const HostMenuBarPtr& menuBar = m_controls.MenuBar())
        Raise("MenuBarInitialize", [&](BillEventsSink& sink) { sink.MenuBarInitialize(menuBar); });
    else
        Raise("BarInitialize",
              [&](BillEventsSink& sink) { sink.BarInitialize(m_controls.Toolbar()); });
    m_controls.KeepBuiltState();
}

void BillForm::OpenNew() {
    BuildToolbar();
    NewBill();
}

void BillForm::NewBill() {
    ReleaseEditLock();
    m_state = State::New;
    m_billId = 0;
    m_editLock.AssumeHeld();
    NewEmptyData();
    m_session.Log().Add(EntryKind::Form, "new bill of class " + std::to_string(m_def->id));
    Raise("AfterNewEmptyData", [](BillEventsSink& sink) { sink.AfterNewEmptyData(); });
    Raise("AfterNewBill", [](BillEventsSink& sink) { sink.AfterNewBill(); });
}

void BillForm::OpenSaved(int billId, bool readOnly) {
    m_billId = billId;
    m_state = readOnly ? State::View : State::Edit;
    // Read before any event: a bill that does not exist fails here, and the toolbar events
    // already see the bill's data.
    m_values.Load(billId);
    if (!readOnly) TakeEditLock();
    BuildToolbar();
    m_session.Log().Add(EntryKind::Form, std::string(readOnly ? "view" : "open") + " bill " +
                                             std::to_string(billId) + " of class " +
                                             std::to_string(m_def->id));
    RefreshBill();
}

void BillForm::Close() {
    if (m_plugin) {
        m_session.Log().Add(EntryKind::Form, "close");
        m_plugin.reset();  // the plug-in lets go of the bill object and its events
    }
    ReleaseEditLock();
}

void BillForm::TakeEditLock() {
    m_editLock.Adopt(m_editLock.TryTake(m_billId));
}

void BillForm::ReleaseEditLock() {
    m_editLock.Release(m_billId);
}

void BillForm::ResetToTemplate() {
    m_controls.RestoreBuiltState();
    m_fields.Reset();
    m_isChange = false;
    m_values.ResetGridMaxRows();
}

void BillForm::NewEmptyData() {
    ResetToTemplate();
    m_values.NewEmpty();
    OfferBillNumber();
    if (const FieldDef* id = m_def->IdField()) m_values.Store(*id, 0, 0);
}

void BillForm::OfferBillNumber() {
    m_proposedBillNo.clear();
    const FieldDef* billNo = m_def->BillNoField();
    if (!billNo) return;
    m_proposedBillNo = ProposedBillNumber(m_session.Db(), *m_def);
    m_values.Store(*billNo, 0, m_proposedBillNo);
}

void BillForm::KeepIdentity(const DictionaryPtr& before) {
    if (const FieldDef* id = m_def->IdField()) m_values.Store(*id, 0, m_billId);
    const FieldDef* billNo = m_def->BillNoField();
    if (!billNo || !m_values.ValueText(*billNo, 0).empty()) return;
    const auto head = before->Item("Page1").ObjectAs<Dictionary>();
    const auto number = head ? head->Item(billNo->key).ObjectAs<Dictionary>() : nullptr;
    if (number) m_values.Store(*billNo, 0, number->Item("FFLD"));
}

template <class Call>
void BillForm::Raise(std::string_view event, Call&& call) {
    RaiseToSinks(m_session, m_sinks, event, std::forward<Call>(call));
}

// --- saving ----------------------------------------------------------------------------------

bool BillForm::Save() {
    if (m_state == State::View) throw ActionRefused("the bill is open read-only");
    bool cancel = false;
    Raise("BeforeSave", [&](BillEventsSink& sink) { sink.BeforeSave(cancel); });
    if (cancel) {
        m_lastSave = false;
        m_session.Log().Add(EntryKind::Form, "save cancelled");
        return false;
    }
    try {
        WriteBill();
    } catch (const HostError& e) {
        m_lastSave = false;
        m_session.ShowHostError(e.Description());
        return false;
    }
    m_isChange = false;
    m_lastSave = true;
    m_session.Log().Add(EntryKind::Form, "saved bill " + std::to_string(m_billId));

    bool afterCancel = false;
    Raise("AfterSave", [&](BillEventsSink& sink) { sink.AfterSave(afterCancel); });
    const DictionaryPtr saved = SavedBillInfo();
    Raise("SaveBillSuccess", [&](BillEventsSink& sink) { sink.SaveBillSuccess(saved); });
    return true;
}

void BillForm::WriteBill() {
    Database& db = m_session.Db();
    const bool isNew = m_state == State::New;
    // The number, the bill and, for a new bill, its edit lock are one write: a save either
    // leaves all three in the database or none of them.
    Transaction transaction = db.BeginTransaction();
    SettleBillNumber();
    const int billId = SaveBill(db, *m_def, m_values.Data(), m_billId);
    const BillEditLock::Outcome lock = isNew ? m_editLock.TryTake(billId) : m_editLock.Current();
    transaction.Commit();

    m_billId = billId;
    m_editLock.Adopt(lock);
    if (const FieldDef* id = m_def->IdField()) m_values.Store(*id, 0, m_billId);
    m_state = State::Edit;
}

void BillForm::SettleBillNumber() {
    const FieldDef* billNo = m_def->BillNoField();
    if (!billNo) return;
    Database& db = m_session.Db();
    const std::string number = m_values.ValueText(*billNo, 0);
    if (!BillNumberTaken(db, *m_def, number, m_billId)) return;
    // Another writer saved a bill under the number this form proposed: the new bill takes
    // the next free one, as the client's numbering does.
    if (m_state != State::New || number != m_proposedBillNo)
        throw HostError(kErrInvalidCall, "BillForm",
                        "The bill number " + number + " is already used by another bill");
    m_proposedBillNo = ProposedBillNumber(db, *m_def);
    m_session.Log().Add(EntryKind::Form, "bill number " + number +
                                             " was taken meanwhile; saved as " + m_proposedBillNo);
    m_values.Store(*billNo, 0, m_proposedBillNo);
}

// What SaveBillSuccess hands the plug-in: the saved bill's ID, class and number.
DictionaryPtr BillForm::SavedBillInfo() const {
    DictionaryPtr saved = NewDictionary();
    saved->SetItem("FID", m_billId);
    saved->SetItem("FClassTypeID", m_def->id);
    if (const FieldDef* billNo = m_def->BillNoField())
        saved->SetItem("FBillNo", m_values.ValueText(*billNo, 0));
    return saved;
}

std::vector<std::string> BillForm::ExportTemplate() {
    const VectorPtr note = NewVector();
    note->Insert(Variant(m_def->name));
    Raise("BeforeSetExportNote", [&](BillEventsSink& sink) { sink.BeforeSetExportNote(note); });
    std::vector<std::string> lines;
    for (const Variant& line : *note)
        lines.push_back(Text(line));
    std::string shown;
    for (const std::string& line : lines)
        shown += (shown.empty() ? "" : " | ") + line;
    m_session.Log().Add(EntryKind::Form, "template export of class " + std::to_string(m_def->id) +
                                             ", its note: " + shown);
    return lines;
}

// --- what a person does ----------------------------------------------------------------------

int BillForm::EditedRow(const FieldDef& field, int row) const {
    row = field.page == 1 ? 0 : std::max(row, 1);
    if (row > m_values.GridMaxRows())
        throw ActionRefused("row " + std::to_string(row) + " is past the grid's row limit");
    return row;
}

void BillForm::RequireEditable(const FieldDef& field, int row) const {
    const std::string cell = CellName(field, row);
    if (m_state == State::View) throw ActionRefused("the bill is open read-only");
    if (m_fields.BillLocked()) throw ActionRefused("the bill is locked");
    if (!m_fields.Enabled(field.key)) throw ActionRefused(cell + " is disabled");
    if (m_fields.Locked(field.key)) throw ActionRefused(cell + " is locked");
    if (m_fields.CellLocked(field.key, row)) throw ActionRefused(cell + " is locked");
}

void BillForm::Enter(std::string_view key, int row) {
    const FieldDef& field = FieldOf(key);
    row = m_controls.Focus(field, row);
    Raise("BeginEdit", [&](BillEventsSink& sink) { sink.BeginEdit(field.info, field.index, row); });
}

void BillForm::Edit(std::string_view key, int row, std::string_view text) {
    const FieldDef& field = FieldOf(key);
    row = EditedRow(field, row);
    RequireEditable(field, row);
    Enter(key, row);
    TypeInto(field, row, text);
}

void BillForm::TypeInto(const FieldDef& field, int row, std::string_view text) {
    const DictionaryPtr value = m_values.ValueAt(field, row);
    const DictionaryPtr before = NewDictionary();
    for (const auto& [name, item] : value->Entries())
        before->SetItem(name, item);

    if (!m_values.StoreTyped(field, row, text)) return;
    if (!RaiseChange(field, value, row)) {
        for (const auto& [name, item] : before->Entries())
            value->SetItem(name, item);
        m_session.Log().Add(EntryKind::Value, CellName(field, row) + " change cancelled");
        return;
    }
    m_isChange = true;
}

void BillForm::LookUpFocusedField() {
    // Only a lookup into base data has the host's window; a source-bill lookup is the plug-in's
    // to offer, and any other field has none.
    const std::string& key = m_controls.FocusKey();
    if (key.empty()) return;
    const FieldDef& field = FieldOf(key);
    if (!field.IsLookup() || field.IsSourceLookup()) return;
    const int row = field.page == 1 ? 0 : m_controls.FocusRow();
    RequireEditable(field, row);

    m_lastLookupOffer = m_values.LookupOffer(field);
    std::string shown;
    for (const std::string& number : *m_lastLookupOffer)
        shown += (shown.empty() ? "" : ", ") + number;
    m_session.Log().Add(EntryKind::Form, "lookup of " + field.key + ": " + shown);
    const std::optional<WindowChoice> choice = m_session.TakeChoice("lookup of " + field.key);
    if (!choice || choice->kind != WindowChoice::Kind::Bills) return;
    // One record is taken: by its number, which the window must show, or by its internal ID,
    // which the filter still applies to.
    if (!choice->billNumbers.empty()) {
        const std::string& number = choice->billNumbers.front();
        if (std::ranges::find(*m_lastLookupOffer, number) == m_lastLookupOffer->end())
            m_session.AddProblem("the lookup of " + field.key + " shows no record " + number);
        else
            TypeInto(field, row, number);
    } else if (!choice->ids.empty()) {
        TypeInto(field, row, "id:" + std::to_string(choice->ids.front()));
    }
}

bool BillForm::RaiseChange(const FieldDef& field, const DictionaryPtr& value, int row) {
    bool cancel = false;
    Raise("Change",
          [&](BillEventsSink& sink) { sink.Change(field.info, value, field.index, row, cancel); });
    return !cancel;
}

void BillForm::FocusGrid(std::optional<int> row) {
    m_controls.FocusGrid(row);
}

void BillForm::FocusHead() {
    m_controls.FocusHead();
}

void BillForm::Click(std::string_view toolKey) {
    const HostToolPtr clicked = RequireUsable(m_controls.FindTool(toolKey), toolKey, "tool");
    m_session.Log().Add(EntryKind::Form, "click " + clicked->Name());
    bool cancel = false;
    if (m_def->menuBarForm)
        Raise("MenuBarClick", [&](BillEventsSink& sink) { sink.MenuBarClick(clicked, cancel); });
    else
        Raise("BarClick", [&](BillEventsSink& sink) { sink.BarClick(clicked, cancel); });
    if (!cancel) HostToolAction(clicked->Name());
}

void BillForm::ChooseMenu(std::string_view toolKey) {
    const HostToolPtr chosen = RequireUsable(m_controls.FindTool(toolKey), toolKey, "menu item");
    m_session.Log().Add(EntryKind::Form, "menu " + chosen->Name());
    bool cancel = false;
    Raise("MenuBarClick", [&](BillEventsSink& sink) { sink.MenuBarClick(chosen, cancel); });
    if (!cancel) HostToolAction(chosen->Name());
}

void BillForm::HostToolAction(std::string_view key) {
    if (EqualsNoCase(key, "mnuFileSave"))
        Save();
    else if (EqualsNoCase(key, "mnuEditAddRow"))
        AddRow();
    else if (EqualsNoCase(key, "mnuEditDelRow"))
        DeleteRow();
    else if (EqualsNoCase(key, "mnuEditCopy"))
        CopyBill();
    else if (EqualsNoCase(key, "mnuFileNew"))
        NewBill();
    else if (EqualsNoCase(key, "mnuDataRefesh") && m_billId > 0)
        RefreshBill();
    else if (EqualsNoCase(key, "mnuSelectBill"))
        SelectBillOfFirstSource();
    else if (EqualsNoCase(key, "mnuDataLookUp"))
        LookUpFocusedField();
}

bool BillForm::SelectSourceBills(int sourceClassTypeId) {
    const VectorPtr chosen = ChooseSourceBills(m_session, sourceClassTypeId);
    if (!chosen) return false;
    FillFromLinked(LinkedBillData(m_session, sourceClassTypeId, *m_template, chosen));
    m_isChange = true;
    return true;
}

void BillForm::FillPushedRows(int sourceClassTypeId, const VectorPtr& rows) {
    FillFromLinked(LinkedBillData(m_session, sourceClassTypeId, *m_template, rows));
    m_isChange = true;
    m_session.Log().Add(EntryKind::Form, "bill filled by the push-down");
    FireAfterSelBill(sourceClassTypeId);
}

void BillForm::FillFromLinked(const DictionaryPtr& linked) {
    m_values.FillFrom(linked);
    if (!linked) return;
    const VectorPtr pages = m_template->ClassTypeEntry();
    auto page = [&](std::size_t index) {
        return index <= pages->Size() ? pages->Item(index).ObjectAs<Dictionary>() : nullptr;
    };
    const DictionaryPtr data = m_values.Data();
    Raise("AfterFillRow", [&](BillEventsSink& sink) {
        sink.AfterFillRow(-1, page(1), data->Item("Page1").ObjectAs<Dictionary>(),
                          linked->Item("Page1").ObjectAs<Dictionary>());
    });
    const VectorPtr sourceRows = linked->Item("Page2").ObjectAs<Vector>();
    const VectorPtr rows = data->Item("Page2").ObjectAs<Vector>();
    if (!sourceRows || !rows) return;
    for (std::size_t row = 1; row <= sourceRows->Size() && row <= rows->Size(); ++row)
        Raise("AfterFillRow", [&](BillEventsSink& sink) {
            sink.AfterFillRow(static_cast<int>(row), page(kEntryPage),
                              rows->Item(row).ObjectAs<Dictionary>(),
                              sourceRows->Item(row).ObjectAs<Dictionary>());
        });
}

void BillForm::SelectBillOfFirstSource() {
    const std::vector<int> sources = SourceClassesOf(m_session, m_def->id);
    if (sources.empty()) throw ActionRefused("no class's bills fill this bill");
    // The plug-in prepares the bill for the selection; this host's window takes no filter.
    std::string filter;
    Raise("BeforeSelBills", [&](BillEventsSink& sink) {
        sink.BeforeSelBills(sources.front(), m_template, NewDictionary(), filter, NewDictionary());
    });
    if (SelectSourceBills(sources.front())) FireAfterSelBill(sources.front());
}

void BillForm::AddRow() {
    if (m_values.AddRow()) m_isChange = true;
}

void BillForm::DeleteRow() {
    if (m_values.DeleteRow(m_controls.FocusRow())) m_isChange = true;
}

void BillForm::CopyBill() {
    const DictionaryPtr source = m_values.Data();
    // The copy is a new bill: the original's edit lock goes back, as when a new bill is begun.
    ReleaseEditLock();
    NewEmptyData();
    m_values.CopyFrom(source);
    m_state = State::New;
    m_billId = 0;
    m_editLock.AssumeHeld();
    m_session.Log().Add(EntryKind::Form, "copy of the bill");
    Raise("AfterCopyBill", [](BillEventsSink& sink) { sink.AfterCopyBill(); });
}

// --- what a person sees ----------------------------------------------------------------------

std::string BillForm::ValueText(std::string_view key, int row) const {
    return m_values.ValueText(FieldOf(key), row);
}

std::string BillForm::DisplayText(std::string_view key, int row) const {
    return m_values.DisplayText(FieldOf(key), row);
}

const HostTool& BillForm::ToolState(std::string_view key) const {
    const HostToolPtr found = m_controls.FindTool(key);
    if (!found) throw ActionRefused("there is no tool " + std::string(key));
    return *found;
}

bool BillForm::FieldEnabled(std::string_view key) const {
    return m_fields.Enabled(key);
}

bool BillForm::FieldLocked(std::string_view key) const {
    return m_fields.Locked(key);
}

bool BillForm::CellLocked(std::string_view key, int row) const {
    return m_fields.CellLocked(key, row);
}

std::optional<int> BillForm::CellSetting(std::string_view key, int row) const {
    return m_fields.CellSetting(key, row);
}

int BillForm::RowsWithData() const {
    return m_values.RowsWithData();
}

std::string BillForm::StatusText() const {
    switch (m_state) {
        case State::New:
            return " new bill";
        case State::View:
            return " read-only" + std::to_string(m_billId);
        case State::Edit:
            return " bill " + std::to_string(m_billId);
    }
    return "";
}

std::string BillForm::Render() const {
    const BillHeading heading{Text(ClassType("FName")), StatusText(), m_fields.BillLocked()};
    return RenderBill(heading, *m_def, m_values, m_fields, m_controls);
}

// --- BillEvent ---------------------------------------------------------------------------------

void BillForm::Advise(BillEventsSink* sink) {
    AddSink(m_sinks, sink);
}

void BillForm::Unadvise(BillEventsSink* sink) {
    std::erase(m_sinks, sink);
}

DictionaryPtr BillForm::GetFieldInfoByKey(std::string_view key, std::string_view, int) {
    return FieldOf(key).info;
}

DictionaryPtr BillForm::GetDataFld(const DictionaryPtr& fieldInfo, int row) {
    const FieldDef& field = FieldOf(fieldInfo);
    return m_values.ValueAt(field, field.page == 1 ? 0 : row);
}

Variant BillForm::ClassType(std::string_view key) const {
    return m_template->ClassType(key);
}

Variant BillForm::FID() const {
    return m_def->id;
}

Variant BillForm::CurBillID() const {
    return m_billId;
}

void BillForm::RefreshBill() {
    if (m_billId <= 0) return;
    ResetToTemplate();
    Raise("BeforLoadBillFillData", [](BillEventsSink& sink) { sink.BeforLoadBillFillData(); });
    m_values.Load(m_billId);
    Raise("AfterLoadBill", [](BillEventsSink& sink) { sink.AfterLoadBill(); });
}

int BillForm::BillStatus() const {
    switch (m_state) {
        case State::New:
            return bill_status::kNew;
        case State::Edit:
            return bill_status::kEdit;
        case State::View:
            return bill_status::kView;
    }
    return bill_status::kView;
}

// The form's mode follows its state: new, an existing bill worked on, or neither.
int BillForm::Mode() const {
    switch (m_state) {
        case State::New:
            return bill_mode::kNew;
        case State::Edit:
            return bill_mode::kExisting;
        case State::View:
            return bill_mode::kNone;
    }
    return bill_mode::kNone;
}

void BillForm::SetText(const DictionaryPtr& valueDictionary, std::string_view text) {
    valueDictionary->SetItem("FDSP", std::string(text));
    m_session.Log().Add(EntryKind::Value, "text \"" + std::string(text) + "\"");
}

void BillForm::FireAfterSelBill(int sourceClassTypeId) {
    Raise("AfterSelBill", [&](BillEventsSink& sink) { sink.AfterSelBill(sourceClassTypeId); });
}

BillCtlPtr BillForm::BillCtl() const {
    return m_billCtl;
}

DataSrvPtr BillForm::DataSrv() const {
    return m_template;
}

MultiCheckMgrPtr BillForm::MultiCheckMgr() const {
    // A class runs a multi-level audit when the system profile says so.
    const Variant configured =
        QueryValue(m_session.Db(),
                   "SELECT FValue FROM t_SystemProfile WHERE FCategory = 'MultiCheck' AND FKey = ?",
                   {std::to_string(m_def->id)});
    return Truth(configured) ? std::make_shared<HostMultiCheckMgr>() : nullptr;
}

void BillForm::SetBarStatus(std::string_view toolKey, std::string_view property, bool value) {
    m_controls.SetBarStatus(toolKey, property, value);
}

ActiveControlPtr BillForm::ActiveControl() const {
    return m_controls.ActiveControl();
}

Variant BillForm::GetHeadValue(std::string_view key) {
    return m_values.ValueAt(FieldOf(key), 0)->Item("FFLD");
}

void BillForm::SetValueByKey(std::string_view key, const Variant& value, int row) {
    const FieldDef& field = FieldOf(key);
    m_values.Store(field, row < 0 ? 0 : row, value);
}

void BillForm::SetFieldText(const DictionaryPtr& fieldInfo, const Variant& text, int row) {
    m_values.Store(FieldOf(fieldInfo), row, text);
}

void BillForm::SetCellValue(const DictionaryPtr& fieldInfo, const Variant& value, int row) {
    m_values.Store(FieldOf(fieldInfo), row, value);
}

void BillForm::EnableField(const DictionaryPtr& fieldInfo, bool enabled) {
    const FieldDef& field = FieldOf(fieldInfo);
    m_fields.SetEnabled(field, enabled);
    m_session.Log().Add(EntryKind::Field, field.key + " enabled=" + (enabled ? "true" : "false"));
}

void BillForm::LockCell(const DictionaryPtr& fieldInfo, int row, bool locked) {
    m_fields.LockCell(FieldOf(fieldInfo), row, locked);
}

void BillForm::SetCellSetting(const DictionaryPtr& fieldInfo, int row, int value) {
    const FieldDef& field = FieldOf(fieldInfo);
    m_fields.SetCellSetting(field, row, value);
    m_session.Log().Add(EntryKind::Field,
                        CellName(field, row) + " setting=" + std::to_string(value));
}

void BillForm::RefreshDisplay() {
    m_session.Log().Add(EntryKind::Form, "display refreshed");
}

void BillForm::LockBill(bool locked) {
    if (locked != m_fields.BillLocked())
        m_session.Log().Add(EntryKind::Form,
                            std::string("bill ") + (locked ? "locked" : "unlocked"));
    m_fields.SetBillLocked(locked);
}

void BillForm::ClearPage(int page) {
    if (page != kEntryPage) return;
    m_values.ClearEntries();
}

EntryPagesPtr BillForm::EntryPages() const {
    return std::make_shared<HostEntryPages>(std::const_pointer_cast<BillForm>(shared_from_this()));
}

int BillForm::ToolIndex(std::string_view band, std::string_view toolKey) const {
    return m_controls.ToolIndex(band, toolKey);
}

DictionaryPtr BillForm::BillData() const {
    return m_values.Data();
}

Variant BillForm::GetEntryValue(std::string_view key, int row) {
    const FieldDef& field = FieldOf(key);
    return m_values.StoredItem(field, row, "FFLD");
}

int BillForm::EntryRowCount() const {
    return m_values.EntryRowCount();
}

MenuBarPtr BillForm::MenuBar() const {
    return m_controls.MenuBar();
}

void BillForm::SetSelectMode(int value) {
    m_session.Log().Add(EntryKind::Form, "selection mode " + std::to_string(value));
}

}  // namespace velaqm::host
