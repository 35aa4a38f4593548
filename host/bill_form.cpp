#include "host/bill_form.h"

#include <algorithm>
#include <sstream>

#include "frame/convert.h"
#include "frame/host_error.h"
#include "frame/platform.h"
#include "frame/text_util.h"
#include "host/action_refused.h"
#include "host/bill_ctl.h"
#include "host/bill_entry_pages.h"
#include "host/bill_store.h"
#include "host/form_support.h"
#include "host/native_sql.h"
#include "host/parts/string_table.h"
#include "host/session.h"

namespace velaqm::host {

namespace {

constexpr int kEntryPage = 2;

std::string Upper(std::string_view text) {
    return UpperAscii(text);
}

std::string YesNo(bool value) {
    return value ? "true" : "false";
}

// The grid's refusal of text typed into a numeric field, in the session's language: the
// source texts are Chinese, "%1" stands for the field's caption and "%2", "%3" for limits.
std::string TypedNumberMessage(const StringTable& strings, const std::string& caption,
                               const NumberLimits& limits, TypedNumberProblem problem) {
    std::string text;
    switch (problem) {
        case TypedNumberProblem::None:
            return "";
        case TypedNumberProblem::NotANumber:
            text = strings.Lookup("%1必须是数字，请重新输入！");
            break;
        case TypedNumberProblem::OutOfRange:
            text = ReplaceAll(ReplaceAll(strings.Lookup("%1超出范围（%2 ～ %3）！"), "%2",
                                         std::to_string(limits.min)),
                              "%3", std::to_string(limits.max));
            break;
        case TypedNumberProblem::WholeOnly:
            text = strings.Lookup("%1只能输入整数！");
            break;
        case TypedNumberProblem::TooManyPlaces:
            text =
                ReplaceAll(strings.Lookup("%1最多%2位小数！"), "%2", std::to_string(limits.places));
            break;
        case TypedNumberProblem::TooManyDigits:
            text = ReplaceAll(strings.Lookup("%1最多%2位有效数字！"), "%2",
                              std::to_string(NumberLimits::kFractionDigits));
            break;
    }
    return ReplaceAll(text, "%1", caption);
}

class HostActiveControl final : public velaqm::ActiveControl {
  public:
    HostActiveControl(std::string name, int row) : m_name(std::move(name)), m_row(row) {}
    std::string Name() const override { return m_name; }
    int ActiveRow() const override { return m_row; }

  private:
    std::string m_name;
    int m_row;
};

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
      m_toolbar(MakeBillToolBar()),
      m_menuBar(m_def->menuBarForm ? MakeBillMenuBar() : nullptr),
      m_gridMaxRows(m_def->gridMaxRows) {
    ObserveTools(m_session, *m_toolbar);
    if (m_menuBar) ObserveTools(m_session, *m_menuBar);
}

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
    if (m_menuBar) {
        Raise("MenuBarInitialize",
              [&](BillEventsSink& sink) { sink.MenuBarInitialize(m_menuBar); });
        m_menuBarAfterInit = m_menuBar->Snapshot();
    } else {
        Raise("BarInitialize", [&](BillEventsSink& sink) { sink.BarInitialize(m_toolbar); });
        m_toolbarAfterInit = m_toolbar->Snapshot();
    }
}

void BillForm::OpenNew() {
    BuildToolbar();
    NewBill();
}

void BillForm::NewBill() {
    ReleaseEditLock();
    m_state = State::New;
    m_billId = 0;
    m_mutexSuccess = true;
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
    m_data = LoadBill(m_session.Db(), *m_def, billId);
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

void BillForm::WriteBill() {
    Database& db = m_session.Db();
    const bool isNew = m_state == State::New;
    // The number, the bill and, for a new bill, its edit lock are one write: a save either
    // leaves all three in the database or none of them.
    Transaction transaction = db.BeginTransaction();
    SettleBillNumber();
    const int billId = SaveBill(db, *m_def, m_data, m_billId);
    const EditLock lock = isNew ? TryEditLock(billId) : EditLock{m_mutexSuccess, m_ownsEditLock};
    transaction.Commit();

    m_billId = billId;
    m_mutexSuccess = lock.held;
    m_ownsEditLock = lock.taken;
    if (const FieldDef* id = m_def->Field("FID")) StoreValue(*id, 0, m_billId);
    m_state = State::Edit;
}

void BillForm::SettleBillNumber() {
    const FieldDef* billNo = m_def->BillNoField();
    if (!billNo) return;
    Database& db = m_session.Db();
    const std::string number = ValueText(billNo->key, 0);
    if (!BillNumberTaken(db, *m_def, number, m_billId)) return;
    // Another writer saved a bill under the number this form proposed: the new bill takes
    // the next free one, as the client's numbering does.
    if (m_state != State::New || number != m_proposedBillNo)
        throw HostError(kErrInvalidCall, "BillForm",
                        "The bill number " + number + " is already used by another bill");
    m_proposedBillNo = ProposedBillNumber(db, *m_def);
    m_session.Log().Add(EntryKind::Form, "bill number " + number +
                                             " was taken meanwhile; saved as " + m_proposedBillNo);
    StoreValue(*billNo, 0, m_proposedBillNo);
}

BillForm::EditLock BillForm::TryEditLock(int billId) {
    Database& db = m_session.Db();
    // Read and take in one transaction, so that two users opening the bill at once do not
    // both take it.
    Transaction transaction = db.BeginTransaction();
    const Variant holder =
        QueryValue(db, "SELECT FUserID FROM t_BillMutex WHERE FClassTypeID = ? AND FBillID = ?",
                   {m_def->id, billId});
    if (!holder.IsEmpty()) return {WholeNumber(holder) == m_session.User().userId, false};
    RunNative(db, "INSERT INTO t_BillMutex (FClassTypeID, FBillID, FUserID) VALUES (?, ?, ?)",
              {m_def->id, billId, m_session.User().userId});
    transaction.Commit();
    return {true, true};
}

void BillForm::TakeEditLock() {
    const EditLock lock = TryEditLock(m_billId);
    m_mutexSuccess = lock.held;
    m_ownsEditLock = lock.taken;
}

void BillForm::ReleaseEditLock() {
    if (!m_ownsEditLock) return;
    m_ownsEditLock = false;
    RunNative(m_session.Db(),
              "DELETE FROM t_BillMutex WHERE FClassTypeID = ? AND FBillID = ? AND FUserID = ?",
              {m_def->id, m_billId, m_session.User().userId});
}

void BillForm::ResetToTemplate() {
    m_toolbar->Restore(m_toolbarAfterInit);
    if (m_menuBar) m_menuBar->Restore(m_menuBarAfterInit);
    m_fieldEnabled.clear();
    m_fieldLocked.clear();
    for (const FieldDef& field : m_def->fields) {
        m_fieldEnabled[Upper(field.key)] = field.enabled;
        m_fieldLocked[Upper(field.key)] = field.locked;
    }
    m_cellLocks.clear();
    m_cellSettings.clear();
    m_columnFlags.clear();
    m_billLocked = false;
    m_isChange = false;
    m_gridMaxRows = m_def->gridMaxRows;
}

void BillForm::LoadFromDatabase() {
    m_data = LoadBill(m_session.Db(), *m_def, m_billId);
}

void BillForm::NewEmptyData() {
    ResetToTemplate();
    m_data = m_template->GetEmptyBill().ObjectAs<Dictionary>();
    if (const VectorPtr rows = EntryRows())
        rows->Insert(Variant(m_template->GetEmptyData(kEntryPage)));
    m_proposedBillNo.clear();
    if (const FieldDef* billNo = m_def->BillNoField()) {
        m_proposedBillNo = ProposedBillNumber(m_session.Db(), *m_def);
        StoreValue(*billNo, 0, m_proposedBillNo);
    }
    if (const FieldDef* id = m_def->Field("FID")) StoreValue(*id, 0, 0);
}

template <class Call>
void BillForm::Raise(std::string_view event, Call&& call) {
    RaiseToSinks(m_session, m_sinks, event, std::forward<Call>(call));
}

// --- what a person does ----------------------------------------------------------------------

void BillForm::RequireEditable(const FieldDef& field, int row) const {
    const std::string cell = CellName(field, row);
    if (m_state == State::View) throw ActionRefused("the bill is open read-only");
    if (m_billLocked) throw ActionRefused("the bill is locked");
    if (!FieldEnabled(field.key)) throw ActionRefused(cell + " is disabled");
    if (FieldLocked(field.key)) throw ActionRefused(cell + " is locked");
    if (CellLocked(field.key, row)) throw ActionRefused(cell + " is locked");
}

void BillForm::Enter(std::string_view key, int row) {
    const FieldDef& field = FieldOf(key);
    if (field.page != 1 && row < 1) row = 1;
    if (field.page != 1) {
        m_focusGrid = true;
        m_focusRow = row;
    } else {
        m_focusGrid = false;
        row = 0;
    }
    Raise("BeginEdit", [&](BillEventsSink& sink) { sink.BeginEdit(field.info, field.index, row); });
}

void BillForm::Edit(std::string_view key, int row, std::string_view text) {
    const FieldDef& field = FieldOf(key);
    if (field.page == 1) row = 0;
    if (field.page != 1 && row < 1) row = 1;
    if (row > m_gridMaxRows)
        throw ActionRefused("row " + std::to_string(row) + " is past the grid's row limit");
    RequireEditable(field, row);
    Enter(key, row);

    const DictionaryPtr value = ValueAt(field, row);
    const DictionaryPtr before = NewDictionary();
    for (const auto& [name, item] : value->Entries())
        before->SetItem(name, item);

    if (!StoreTypedText(field, row, text)) return;
    bool cancel = false;
    Raise("Change",
          [&](BillEventsSink& sink) { sink.Change(field.info, value, field.index, row, cancel); });
    if (cancel) {
        for (const auto& [name, item] : before->Entries())
            value->SetItem(name, item);
        m_session.Log().Add(EntryKind::Value, CellName(field, row) + " change cancelled");
        return;
    }
    m_isChange = true;
}

void BillForm::FocusGrid(std::optional<int> row) {
    m_focusGrid = true;
    if (row) m_focusRow = *row;
}

void BillForm::FocusHead() {
    m_focusGrid = false;
}

void BillForm::Click(std::string_view toolKey) {
    const HostToolPtr clicked = RequireUsable(FindTool(toolKey), toolKey, "tool");
    m_session.Log().Add(EntryKind::Form, "click " + clicked->Name());
    bool cancel = false;
    if (m_def->menuBarForm)
        Raise("MenuBarClick", [&](BillEventsSink& sink) { sink.MenuBarClick(clicked, cancel); });
    else
        Raise("BarClick", [&](BillEventsSink& sink) { sink.BarClick(clicked, cancel); });
    if (!cancel) HostToolAction(clicked->Name());
}

void BillForm::ChooseMenu(std::string_view toolKey) {
    const HostToolPtr chosen = RequireUsable(FindTool(toolKey), toolKey, "menu item");
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
}

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
    DictionaryPtr saved = NewDictionary();
    saved->SetItem("FID", m_billId);
    saved->SetItem("FClassTypeID", m_def->id);
    if (const FieldDef* billNo = m_def->BillNoField())
        saved->SetItem("FBillNo", ValueText(billNo->key, 0));
    Raise("SaveBillSuccess", [&](BillEventsSink& sink) { sink.SaveBillSuccess(saved); });
    return true;
}

void BillForm::AddRow() {
    const VectorPtr rows = EntryRows();
    if (!rows) return;
    if (static_cast<int>(rows->Size()) >= m_gridMaxRows)
        throw ActionRefused("the grid holds at most " + std::to_string(m_gridMaxRows) + " rows");
    rows->Insert(Variant(m_template->GetEmptyData(kEntryPage)));
    m_isChange = true;
}

void BillForm::DeleteRow() {
    const VectorPtr rows = EntryRows();
    if (!rows || rows->Size() == 0) return;
    const auto row =
        static_cast<std::size_t>(std::clamp<int>(m_focusRow, 1, static_cast<int>(rows->Size())));
    rows->Remove(row);
    if (rows->Size() == 0) rows->Insert(Variant(m_template->GetEmptyData(kEntryPage)));
    m_isChange = true;
}

void BillForm::CopyBill() {
    const DictionaryPtr source = m_data;
    NewEmptyData();
    for (const FieldDef& field : m_def->fields) {
        if (field.page != 1 || EqualsNoCase(field.key, "FID") || &field == m_def->BillNoField() ||
            EqualsNoCase(field.key, "FCheckerID"))
            continue;
        const auto from =
            source->Item("Page1").ObjectAs<Dictionary>()->Item(field.key).ObjectAs<Dictionary>();
        if (from) StoreValue(field, 0, from->Item("FFLD"));
    }
    if (const VectorPtr sourceRows = source->Item("Page2").ObjectAs<Vector>()) {
        const VectorPtr rows = EntryRows();
        rows->Clear();
        for (const Variant& item : *sourceRows) {
            DictionaryPtr copy = m_template->GetEmptyData(kEntryPage);
            for (const auto& [key, cell] : item.ObjectAs<Dictionary>()->Entries())
                if (auto value = cell.ObjectAs<Dictionary>())
                    for (const auto& [name, part] : value->Entries())
                        copy->Item(key).ObjectAs<Dictionary>()->SetItem(name, part);
            rows->Insert(Variant(copy));
        }
    }
    m_state = State::New;
    m_billId = 0;
    m_mutexSuccess = true;
    m_session.Log().Add(EntryKind::Form, "copy of the bill");
    Raise("AfterCopyBill", [](BillEventsSink& sink) { sink.AfterCopyBill(); });
}

HostToolPtr BillForm::FindTool(std::string_view key) const {
    return m_menuBar ? m_menuBar->FindTool(key) : m_toolbar->FindTool(key);
}

// --- values ----------------------------------------------------------------------------------

const FieldDef& BillForm::FieldOf(std::string_view key) const {
    const FieldDef* field = m_def->Field(key);
    if (!field)
        throw HostError(kErrInvalidCall, "BillEvent", "The bill has no field " + std::string(key));
    return *field;
}

const FieldDef& BillForm::FieldOf(const DictionaryPtr& fieldInfo) const {
    if (!fieldInfo) throw HostError(kErrObjectRequired, "BillEvent", "Object required");
    return FieldOf(Text(fieldInfo->Item("FKey")));
}

DictionaryPtr BillForm::HeadPage() const {
    return m_data->Item("Page1").ObjectAs<Dictionary>();
}

VectorPtr BillForm::EntryRows() const {
    return m_data ? m_data->Item("Page2").ObjectAs<Vector>() : nullptr;
}

DictionaryPtr BillForm::ValueAt(const FieldDef& field, int row) {
    DictionaryPtr cells = HeadPage();
    if (field.page != 1) {
        const VectorPtr rows = EntryRows();
        if (!rows || row < 1 || row > m_gridMaxRows)
            throw HostError(kErrSubscript, "BillEvent",
                            "Row " + std::to_string(row) + " is outside the grid");
        while (rows->Size() < static_cast<std::size_t>(row))
            rows->Insert(Variant(m_template->GetEmptyData(kEntryPage)));
        cells = rows->Item(static_cast<std::size_t>(row)).ObjectAs<Dictionary>();
    }
    auto value = cells->Item(field.key).ObjectAs<Dictionary>();
    if (!value) {
        value = EmptyFieldValue();
        cells->SetItem(field.key, Variant(value));
    }
    return value;
}

Variant BillForm::StoredItem(const FieldDef& field, int row, std::string_view item) const {
    DictionaryPtr cells = HeadPage();
    if (field.page != 1) {
        const VectorPtr rows = EntryRows();
        if (!rows || row < 1 || static_cast<std::size_t>(row) > rows->Size()) return Variant();
        cells = rows->Item(static_cast<std::size_t>(row)).ObjectAs<Dictionary>();
    }
    const auto value = cells ? cells->Item(field.key).ObjectAs<Dictionary>() : nullptr;
    return value ? value->Item(item) : Variant();
}

std::string BillForm::CellName(const FieldDef& field, int row) const {
    return field.page == 1 ? field.key : field.key + " row " + std::to_string(row);
}

void BillForm::StoreValue(const FieldDef& field, int row, const Variant& value) {
    const DictionaryPtr cell = ValueAt(field, row);
    cell->SetItem("FFLD", value);
    if (field.IsLookup())
        ResolveLookup(m_session.Db(), field, cell);
    else
        cell->SetItem("FDSP", Text(value));
    m_session.Log().Add(EntryKind::Value, CellName(field, row) + " = \"" + Text(value) + "\"");
}

std::string BillForm::Caption(const FieldDef& field) const {
    const bool english = EqualsNoCase(m_session.User().language, "en");
    const std::string& caption =
        english && !field.captionEn.empty() ? field.captionEn : field.caption;
    return caption.empty() ? field.key : caption;
}

bool BillForm::StoreTypedText(const FieldDef& field, int row, std::string_view text) {
    if (!field.IsLookup() && IsNumericType(field.valueType) && !TrimView(text).empty()) {
        const TypedNumberProblem problem = CheckTypedNumber(field.valueType, text);
        if (problem != TypedNumberProblem::None) {
            m_session.MessageBox(TypedNumberMessage(m_session.Strings(), Caption(field),
                                                    NumberLimitsOf(field.valueType), problem),
                                 kMsgExclamation, "VelaQM");
            return false;
        }
        StoreValue(field, row, std::string(TrimView(text)));
        return true;
    }
    if (!field.IsLookup() || text.empty()) {
        StoreValue(field, row, std::string(text));
        return true;
    }
    // A lookup field takes the record's number, or "id:N" for its internal ID.
    const bool byId = text.substr(0, 3) == "id:";
    const std::string column =
        byId ? field.srcField : (field.fndField.empty() ? field.srcField : field.fndField);
    const Variant wanted =
        byId ? Variant(LeadingNumber(text.substr(3))) : Variant(std::string(text));
    // The template's filter keeps the lookup to its own records (QMAInfo holds many kinds).
    const std::string filter = Text(field.info->Item("FFilter"));
    const Variant id = QueryValue(m_session.Db(),
                                  "SELECT " + QuoteName(field.srcField) + " FROM " +
                                      QuoteName(field.srcTable) + " WHERE " + QuoteName(column) +
                                      " = ?" + (filter.empty() ? "" : " AND (" + filter + ")"),
                                  {wanted});
    if (id.IsEmpty()) throw ActionRefused(field.key + " has no record " + std::string(text));
    StoreValue(field, row, id);
    return true;
}

std::string BillForm::ValueText(std::string_view key, int row) const {
    const FieldDef& field = FieldOf(key);
    return Text(StoredItem(field, std::max(row, 1), "FFLD"));
}

std::string BillForm::DisplayText(std::string_view key, int row) const {
    const FieldDef& field = FieldOf(key);
    return Text(StoredItem(field, std::max(row, 1), "FDSP"));
}

const HostTool& BillForm::ToolState(std::string_view key) const {
    const HostToolPtr found = FindTool(key);
    if (!found) throw ActionRefused("there is no tool " + std::string(key));
    return *found;
}

bool BillForm::FieldEnabled(std::string_view key) const {
    const auto found = m_fieldEnabled.find(Upper(key));
    return found == m_fieldEnabled.end() ? FieldOf(key).enabled : found->second;
}

bool BillForm::FieldLocked(std::string_view key) const {
    const auto found = m_fieldLocked.find(Upper(key));
    return found == m_fieldLocked.end() ? FieldOf(key).locked : found->second;
}

// The head is the one row of its page: a head field's cell is row 1, whatever row is asked.
int BillForm::CellRow(const FieldDef& field, int row) {
    return field.page == 1 ? 1 : row;
}

bool BillForm::CellLocked(std::string_view key, int row) const {
    const auto found = m_cellLocks.find({Upper(key), CellRow(FieldOf(key), row)});
    return found != m_cellLocks.end() && found->second;
}

int BillForm::RowsWithData() const {
    const VectorPtr rows = EntryRows();
    if (!rows) return 0;
    return static_cast<int>(std::count_if(rows->begin(), rows->end(), [](const Variant& row) {
        return RowHoldsData(row.ObjectAs<Dictionary>());
    }));
}

std::string BillForm::Render() const {
    std::ostringstream out;
    out << Text(ClassType("FName")) << " (" << m_def->id << ")";
    out << (m_state == State::New    ? " new bill"
            : m_state == State::View ? " read-only"
                                     : " bill ")
        << (m_state == State::New ? "" : std::to_string(m_billId));
    if (m_billLocked) out << " [locked]";
    out << '\n';
    for (const FieldDef* field : m_def->FieldsOf(1)) {
        out << "  " << field->key << " = " << DisplayText(field->key, 0);
        if (!FieldEnabled(field->key)) out << " (disabled)";
        if (FieldLocked(field->key)) out << " (locked)";
        out << '\n';
    }
    if (const VectorPtr rows = EntryRows()) {
        int number = 0;
        for (const Variant& row : *rows) {
            ++number;
            const auto cells = row.ObjectAs<Dictionary>();
            if (!RowHoldsData(cells)) continue;
            out << "  row " << number << ":";
            for (const FieldDef* field : m_def->FieldsOf(kEntryPage))
                out << ' ' << field->key << '=' << DisplayText(field->key, number);
            out << '\n';
        }
    }
    out << (m_menuBar ? m_menuBar->Render() + "\n" : m_toolbar->Render());
    return out.str();
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
    return ValueAt(field, field.page == 1 ? 0 : row);
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
    LoadFromDatabase();
    Raise("AfterLoadBill", [](BillEventsSink& sink) { sink.AfterLoadBill(); });
}

int BillForm::BillStatus() const {
    switch (m_state) {
        case State::New:
            return 1;
        case State::Edit:
            return 2;
        case State::View:
            return 0;
    }
    return 0;
}

int BillForm::Mode() const {
    return BillStatus();
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
    const HostToolPtr found = FindTool(toolKey);
    if (!found) throw HostError(35601, "ActiveBar", "Element not found: " + std::string(toolKey));
    if (EqualsNoCase(property, "Visible"))
        found->SetVisible(value);
    else if (EqualsNoCase(property, "Enabled"))
        found->SetEnabled(value);
    else
        throw HostError(kErrInvalidCall, "BillEvent",
                        "Unknown tool property " + std::string(property));
}

ActiveControlPtr BillForm::ActiveControl() const {
    return std::make_shared<HostActiveControl>(m_focusGrid ? "grid" : "head",
                                               m_focusGrid ? m_focusRow : 0);
}

Variant BillForm::GetHeadValue(std::string_view key) {
    return ValueAt(FieldOf(key), 0)->Item("FFLD");
}

void BillForm::SetValueByKey(std::string_view key, const Variant& value, int row) {
    const FieldDef& field = FieldOf(key);
    StoreValue(field, row < 0 ? 0 : row, value);
}

void BillForm::SetFieldText(const DictionaryPtr& fieldInfo, const Variant& text, int row) {
    StoreValue(FieldOf(fieldInfo), row, text);
}

void BillForm::SetCellValue(const DictionaryPtr& fieldInfo, const Variant& value, int row) {
    StoreValue(FieldOf(fieldInfo), row, value);
}

void BillForm::EnableField(const DictionaryPtr& fieldInfo, bool enabled) {
    const FieldDef& field = FieldOf(fieldInfo);
    m_fieldEnabled[Upper(field.key)] = enabled;
    m_session.Log().Add(EntryKind::Field, field.key + " enabled=" + YesNo(enabled));
}

void BillForm::LockCell(const DictionaryPtr& fieldInfo, int row, bool locked) {
    const FieldDef& field = FieldOf(fieldInfo);
    m_cellLocks[{Upper(field.key), CellRow(field, row)}] = locked;
}

void BillForm::SetCellSetting(const DictionaryPtr& fieldInfo, int row, int value) {
    m_cellSettings[{Upper(FieldOf(fieldInfo).key), row}] = value;
}

void BillForm::RefreshDisplay() {
    m_session.Log().Add(EntryKind::Form, "display refreshed");
}

void BillForm::LockBill(bool locked) {
    if (locked != m_billLocked)
        m_session.Log().Add(EntryKind::Form,
                            std::string("bill ") + (locked ? "locked" : "unlocked"));
    m_billLocked = locked;
}

void BillForm::ClearPage(int page) {
    if (page != kEntryPage) return;
    if (const VectorPtr rows = EntryRows()) {
        rows->Clear();
        rows->Insert(Variant(m_template->GetEmptyData(kEntryPage)));
    }
}

EntryPagesPtr BillForm::EntryPages() const {
    return std::make_shared<HostEntryPages>(std::const_pointer_cast<BillForm>(shared_from_this()));
}

int BillForm::ToolIndex(std::string_view band, std::string_view toolKey) const {
    return m_toolbar->ToolIndex(band, toolKey);
}

DictionaryPtr BillForm::BillData() const {
    return m_data;
}

Variant BillForm::GetEntryValue(std::string_view key, int row) {
    const FieldDef& field = FieldOf(key);
    return StoredItem(field, row, "FFLD");
}

int BillForm::EntryRowCount() const {
    const VectorPtr rows = EntryRows();
    return rows ? static_cast<int>(rows->Size()) : 0;
}

MenuBarPtr BillForm::MenuBar() const {
    return m_menuBar;
}

void BillForm::SetSelectMode(int value) {
    m_session.Log().Add(EntryKind::Form, "selection mode " + std::to_string(value));
}

}  // namespace velaqm::host
