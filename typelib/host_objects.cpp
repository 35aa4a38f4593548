#include "typelib/host_objects.h"

#include <algorithm>
#include <span>
#include <vector>

#include <utility>

#include "frame/convert.h"
#include "frame/host_error.h"
#include "frame/text_util.h"
#include "typelib/com_error.h"
#include "typelib/com_variant.h"
#include "typelib/event_connection.h"
#include "typelib/event_subscribers.h"

namespace velaqm::com {

namespace {

using V = velaqm::Variant;

int Int(const V& value) {
    // A Long, what hosts return for counts and modes, needs no rounding.
    if (value.Type() == VarType::Long) return value.AsLong();
    return static_cast<int>(WholeNumber(value));
}

// --- values ----------------------------------------------------------------------------------

class DictionaryAdapter final : public Dictionary, public Adapted {
  public:
    using Adapted::Adapted;
    V Item(std::string_view key) const override {
        return Exists(key) ? Host().Get(Role("Dictionary.Item"), {V(key)}) : V();
    }
    void SetItem(std::string_view key, V value) override {
        Host().Put(Role("Dictionary.Item"), V(key), value);
    }
    bool Exists(std::string_view key) const override {
        return Truth(Host().Call(Role("Dictionary.Exists"), {V(key)}));
    }
    void Remove(std::string_view key) override {
        if (Exists(key)) Host().Call(Role("Dictionary.Remove"), {V(key)});
    }
    void Clear() override { Host().Call(Role("Dictionary.Clear")); }
    std::size_t Count() const override { return IndexNumber(Host().Get(Role("Dictionary.Count"))); }
    std::vector<std::pair<std::string, V>> Entries() const override {
        std::vector<std::pair<std::string, V>> entries;
        const auto keys = Expect<Vector>(Host().Call(Role("Dictionary.Keys")), Names());
        if (!keys) return entries;
        for (const V& key : *keys)
            entries.emplace_back(Text(key), Item(Text(key)));
        return entries;
    }
};

class VectorAdapter final : public Vector, public Adapted {
  public:
    using Adapted::Adapted;
    std::size_t Size() const override { return IndexNumber(Host().Get(Role("Vector.Size"))); }
    V Item(std::size_t index) const override {
        CheckIndex(index, Size());
        return Host().Get(Role("Vector.Item"), {V(index)});
    }
    void SetItem(std::size_t index, V value) override {
        CheckIndex(index, Size());
        Host().Put(Role("Vector.Item"), V(index), value);
    }
    void Insert(V value) override { Host().Call(Role("Vector.Insert"), {value}); }
    void Insert(std::size_t index, V value) override {
        CheckIndex(index, Size() + 1);
        Host().Call(Role("Vector.Insert"), {value, V(index)});
    }
    void Remove(std::size_t index) override {
        CheckIndex(index, Size());
        Host().Call(Role("Vector.Remove"), {V(index)});
    }
    void Clear() override { Host().Call(Role("Vector.Clear")); }

  private:
    static void CheckIndex(std::size_t index, std::size_t last) {
        if (index < 1 || index > last)
            throw HostError(kErrSubscript, "Vector", "Subscript out of range");
    }
};

class RecordsetAdapter final : public Recordset, public Adapted {
  public:
    using Adapted::Adapted;
    int State() const override { return Int(Host().Get("State")); }
    bool Eof() const override { return Truth(Host().Get("EOF")); }
    bool Bof() const override { return Truth(Host().Get("BOF")); }
    int RecordCount() const override { return Int(Host().Get("RecordCount")); }
    int FieldCount() const override { return Int(Fields().Get("Count")); }
    std::string FieldName(int index) const override { return Text(Field(V(index)).Get("Name")); }
    V Fields(std::string_view name) const override { return Field(V(name)).Get("Value"); }
    V Fields(int index) const override { return Field(V(index)).Get("Value"); }
    bool HasField(std::string_view name) const override {
        for (int i = 0; i < FieldCount(); ++i)
            if (EqualsNoCase(FieldName(i), name)) return true;
        return false;
    }
    void MoveFirst() override { Host().Call("MoveFirst"); }
    void MoveNext() override { Host().Call("MoveNext"); }
    void Close() override { Host().Call("Close"); }

  private:
    DispatchClient Fields() const { return Client(Host().Get("Fields")); }
    DispatchClient Field(const V& key) const { return Client(Fields().Get("Item", {key})); }
    static DispatchClient Client(const V& object) {
        const auto dispatch = object.ObjectAs<DispatchObject>();
        if (!dispatch) throw HostError(kErrObjectRequired, "Recordset", "Object required");
        return dispatch->Client();
    }
};

// --- toolbars --------------------------------------------------------------------------------

class ToolAdapter final : public Tool, public Adapted {
  public:
    using Adapted::Adapted;
    std::string Name() const override { return Text(Host().Get("Name")); }
    bool Visible() const override { return Truth(Host().Get("Visible")); }
    void SetVisible(bool visible) override { Host().Put("Visible", visible); }
    bool Enabled() const override { return Truth(Host().Get("Enabled")); }
    void SetEnabled(bool enabled) override { Host().Put("Enabled", enabled); }
    void SetCaption(std::string_view text) override { Host().Put("Caption", V(text)); }
    void SetToolTipText(std::string_view text) override { Host().Put("ToolTipText", V(text)); }
    void SetDescription(std::string_view text) override { Host().Put("Description", V(text)); }
    V GetPicture(int kind) const override { return Host().Call("GetPicture", {V(kind)}); }
    void SetPicture(int kind, const V& picture) override {
        Host().Call("SetPicture", {V(kind), picture});
    }
};

class ToolCollectionAdapter final : public ToolCollection, public Adapted {
  public:
    using Adapted::Adapted;
    int Count() const override { return Int(Host().Get("Count")); }
    ToolPtr Item(std::string_view key) const override {
        return Expect<Tool>(Host().Get("Item", {V(key)}), Names());
    }
    ToolPtr ItemAt(int index) const override {
        return Expect<Tool>(Host().Get("Item", {V(index)}), Names());
    }
    void Insert(int position, const ToolPtr& tool) override {
        Host().Call("Insert", {V(position), V(ObjectPtr(tool))});
    }
    ToolPtr Add(std::string_view name) override {
        return Expect<Tool>(Host().Call("Add", {V(name)}), Names());
    }
};

class BandAdapter final : public Band, public Adapted {
  public:
    using Adapted::Adapted;
    std::string Name() const override { return Text(Host().Get("Name")); }
    ToolCollectionPtr Tools() const override {
        return Expect<ToolCollection>(Host().Get("Tools"), Names());
    }
};

class ActiveBarAdapter final : public ActiveBar, public Adapted {
  public:
    using Adapted::Adapted;
    ToolCollectionPtr Tools() const override {
        return Expect<ToolCollection>(Host().Get("Tools"), Names());
    }
    BandPtr Bands(std::string_view name) const override {
        return Expect<Band>(Host().Get("Bands", {V(name)}), Names());
    }
    void RecalcLayout() override { Host().Call("RecalcLayout"); }
};

class MenuBarAdapter final : public MenuBar, public Adapted {
  public:
    using Adapted::Adapted;
    ToolCollectionPtr Tools() const override {
        return Expect<ToolCollection>(Host().Get("Tools"), Names());
    }
};

// --- the bill ----------------------------------------------------------------------------------

class MultiCheckMgrAdapter final : public MultiCheckMgr, public Adapted {
  public:
    using Adapted::Adapted;
    bool IsRun() const override { return Truth(Host().Get("IsRun")); }
};

class ActiveControlAdapter final : public ActiveControl, public Adapted {
  public:
    using Adapted::Adapted;
    std::string Name() const override { return Text(Host().Get("Name")); }
    int ActiveRow() const override { return Int(Host().Get("ActiveRow")); }
};

class EntryColumnAdapter final : public EntryColumn, public Adapted {
  public:
    using Adapted::Adapted;
    void SetRow(int row) override { Host().Put(Role("EntryColumn.Row"), row); }
    V Value() const override { return Host().Get(Role("EntryColumn.Value")); }
    void SetDisplayFlag(bool value) override { Host().Put(Role("EntryColumn.DisplayFlag"), value); }
};

class EntryPageAdapter final : public EntryPage, public Adapted {
  public:
    using Adapted::Adapted;
    EntryColumnPtr Columns(std::string_view key) const override {
        return Expect<EntryColumn>(Host().Get("Columns", {V(key)}), Names());
    }
};

class EntryPagesAdapter final : public EntryPages, public Adapted {
  public:
    using Adapted::Adapted;
    int Count() const override { return Int(Host().Get("Count")); }
    EntryPagePtr Item(int index) const override {
        return Expect<EntryPage>(Host().Get("Item", {V(index)}), Names());
    }
};

class DataSrvAdapter final : public DataSrv, public Adapted {
  public:
    using Adapted::Adapted;
    int ClassTypeID() const override { return Int(Host().Get("ClassTypeID")); }
    V ClassType(std::string_view key) const override { return Host().Get("ClassType", {V(key)}); }
    VectorPtr ClassTypeEntry() const override {
        return Expect<Vector>(Host().Get("ClassTypeEntry"), Names());
    }
    DictionaryPtr TableInfo() const override {
        return Expect<Dictionary>(Host().Get("TableInfo"), Names());
    }
    V TableInfo(std::string_view key) const override { return Host().Get("TableInfo", {V(key)}); }
    V GetEmptyBill() override { return Host().Call("GetEmptyBill"); }
    DictionaryPtr GetEmptyData(int page) override {
        return Expect<Dictionary>(Host().Call("GetEmptyData", {V(page)}), Names());
    }
    std::string GetExistBillNo(const V& billId, std::string& caption) override {
        V text(caption);
        const V number = Host().Call("GetExistBillNo", {billId, Arg::ByRef(text)});
        caption = Text(text);
        return Text(number);
    }
};

class BillCtlAdapter final : public BillCtl, public Adapted {
  public:
    using Adapted::Adapted;
    bool MutexSuccess() const override { return Truth(Host().Get("MutexSuccess")); }
    int BillStatus() const override { return Int(Host().Get("BillStatus")); }
    bool IsChange() const override { return Truth(Host().Get("IsChange")); }
    bool Isok() const override { return Truth(Host().Get("Isok")); }
    void SetIsok(bool value) override { Host().Put("Isok", value); }
    void SetLockProperty(bool locked, const DictionaryPtr& fieldInfo, bool entryColumn) override {
        Host().Call("SetLockProperty", {V(locked), V(ObjectPtr(fieldInfo)), V(entryColumn)});
    }
    void LockCell(const DictionaryPtr& fieldInfo, int row, bool locked) override {
        Host().Call("LockCell", {V(ObjectPtr(fieldInfo)), V(row), V(locked)});
    }
    void SetGridMaxRows(int page, int rowLimit) override {
        Host().Call("SetGridMaxRows", {V(page), V(rowLimit)});
    }
    void SetSumData(const DictionaryPtr& fieldInfo) override {
        Host().Call("SetSumData", {V(ObjectPtr(fieldInfo))});
    }
    bool IsHaveData(int page, int row) const override {
        return Truth(Host().Call("IsHaveData", {V(page), V(row)}));
    }
    void DoSelBill(int sourceClassTypeId) override {
        Host().Call("DoSelBill", {V(sourceClassTypeId)});
    }
    void DoFilldata(const DictionaryPtr& data) override {
        Host().Call("DoFilldata", {V(ObjectPtr(data))});
    }
};

class BillEventAdapter final : public BillEvent, public Adapted {
  public:
    using Adapted::Adapted;
    std::string TypeName() const override { return "BillEvent"; }

  private:
    Subscribers<BillEventsSink> m_sinks;
    void Deliver(std::string_view event, std::span<VARIANT*> args);

  public:
    void Advise(BillEventsSink* sink) override;
    void Unadvise(BillEventsSink* sink) override;

    DictionaryPtr GetFieldInfoByKey(std::string_view key, std::string_view page,
                                    int column) override {
        return Expect<Dictionary>(Host().Call("GetFieldInfoByKey", {V(key), V(page), V(column)}),
                                  Names());
    }
    DictionaryPtr GetDataFld(const DictionaryPtr& fieldInfo, int row) override {
        return Expect<Dictionary>(Host().Call("GetDataFld", {V(ObjectPtr(fieldInfo)), V(row)}),
                                  Names());
    }
    V ClassType(std::string_view key) const override { return Host().Get("ClassType", {V(key)}); }
    V FID() const override { return Host().Get("FID"); }
    V CurBillID() const override { return Host().Get("CurBillID"); }
    void RefreshBill() override { Host().Call("RefreshBill"); }
    int BillStatus() const override { return Int(Host().Get("BillStatus")); }
    void SetText(const DictionaryPtr& valueDictionary, std::string_view text) override {
        Host().Call("SetText", {V(ObjectPtr(valueDictionary)), V(text)});
    }
    void FireAfterSelBill(int sourceClassTypeId) override {
        Host().Call("FireAfterSelBill", {V(sourceClassTypeId)});
    }
    BillCtlPtr BillCtl() const override {
        return Expect<velaqm::BillCtl>(Host().Get(Role("BillCtl")), Names());
    }
    DataSrvPtr DataSrv() const override {
        return Expect<velaqm::DataSrv>(Host().Get("DataSrv"), Names());
    }
    MultiCheckMgrPtr MultiCheckMgr() const override {
        return Expect<velaqm::MultiCheckMgr>(Host().Get("MultiCheckMgr"), Names());
    }
    void SetBarStatus(std::string_view toolKey, std::string_view property, bool value) override {
        Host().Call("SetBarStatus", {V(toolKey), V(property), V(value)});
    }
    ActiveControlPtr ActiveControl() const override {
        return Expect<velaqm::ActiveControl>(Host().Get(Role("ActiveControl")), Names());
    }
    int Mode() const override { return Int(Host().Get(Role("Mode"))); }
    V GetHeadValue(std::string_view key) override {
        return Host().Call(Role("GetHeadValue"), {V(key), V(-1), V(1)});
    }
    void SetValueByKey(std::string_view key, const V& value, int row) override {
        Host().Call(Role("SetValueByKey"), {V(key), value, V(row)});
    }
    void SetFieldText(const DictionaryPtr& fieldInfo, const V& text, int row) override {
        Host().Call(Role("SetFieldText"), {V(ObjectPtr(fieldInfo)), text, V(row)});
    }
    void SetCellValue(const DictionaryPtr& fieldInfo, const V& value, int row) override {
        Host().Call(Role("SetCellValue"), {V(ObjectPtr(fieldInfo)), value, V(row)});
    }
    void EnableField(const DictionaryPtr& fieldInfo, bool enabled) override {
        Host().Call(Role("EnableField"), {V(ObjectPtr(fieldInfo)), V(enabled)});
    }
    void LockCell(const DictionaryPtr& fieldInfo, int row, bool locked) override {
        Host().Call(Role("LockCell"), {V(ObjectPtr(fieldInfo)), V(row), V(locked)});
    }
    void SetCellSetting(const DictionaryPtr& fieldInfo, int row, int value) override {
        Host().Call(Role("SetCellSetting"), {V(ObjectPtr(fieldInfo)), V(row), V(value)});
    }
    void RefreshDisplay() override { Host().Call(Role("RefreshDisplay")); }
    void LockBill(bool locked) override { Host().Call(Role("LockBill"), {V(locked)}); }
    void ClearPage(int page) override { Host().Call(Role("ClearPage"), {V(page)}); }
    EntryPagesPtr EntryPages() const override {
        return Expect<velaqm::EntryPages>(Host().Get(Role("EntryPages")), Names());
    }
    int ToolIndex(std::string_view band, std::string_view toolKey) const override {
        return Int(Host().Call(Role("ToolIndex"), {V(band), V(toolKey)}));
    }
    DictionaryPtr BillData() const override {
        return Expect<Dictionary>(Host().Get(Role("BillData")), Names());
    }
    void SetSelectMode(int value) override { Host().Call(Role("SetSelectMode"), {V(value)}); }
    V GetEntryValue(std::string_view key, int row) override {
        return Host().Call(Role("GetEntryValue"), {V(key), V(row)});
    }
    int EntryRowCount() const override { return Int(Host().Get(Role("EntryRowCount"))); }
    MenuBarPtr MenuBar() const override {
        return Expect<velaqm::MenuBar>(Host().Get(Role("MenuBar")), Names());
    }
};

// --- the list ----------------------------------------------------------------------------------

class ListCtlAdapter final : public ListCtl, public Adapted {
  public:
    using Adapted::Adapted;
    VectorPtr GetSelectedBillID() const override {
        return Expect<Vector>(Host().Call("GetSelectedBillID"), Names());
    }
    VectorPtr GetSelectedBillInfo() const override {
        return Expect<Vector>(Host().Call("GetSelectedBillInfo"), Names());
    }
    void RefreshList() override { Host().Call("RefreshList"); }
    int ShowMode() const override { return Int(Host().Get("ShowMode")); }
};

class ListEventsAdapter final : public ListEvents, public Adapted {
  public:
    using Adapted::Adapted;
    std::string TypeName() const override { return "ListEvents"; }

  private:
    Subscribers<ListEventsSink> m_sinks;
    void Deliver(std::string_view event, std::span<VARIANT*> args);

  public:
    void Advise(ListEventsSink* sink) override;
    void Unadvise(ListEventsSink* sink) override;
    DataSrvPtr DataSrv() const override {
        return Expect<velaqm::DataSrv>(Host().Get("DataSrv"), Names());
    }
    ListCtlPtr List() const override { return Expect<ListCtl>(Host().Get("List"), Names()); }
};

}  // namespace

// --- the expected kinds ------------------------------------------------------------------------

namespace {

template <class T>
struct AdapterFor;
template <>
struct AdapterFor<Dictionary> {
    using Type = DictionaryAdapter;
};
template <>
struct AdapterFor<Vector> {
    using Type = VectorAdapter;
};
template <>
struct AdapterFor<Recordset> {
    using Type = RecordsetAdapter;
};
template <>
struct AdapterFor<Tool> {
    using Type = ToolAdapter;
};
template <>
struct AdapterFor<ToolCollection> {
    using Type = ToolCollectionAdapter;
};
template <>
struct AdapterFor<Band> {
    using Type = BandAdapter;
};
template <>
struct AdapterFor<ActiveBar> {
    using Type = ActiveBarAdapter;
};
template <>
struct AdapterFor<MenuBar> {
    using Type = MenuBarAdapter;
};

template <>
struct AdapterFor<MultiCheckMgr> {
    using Type = MultiCheckMgrAdapter;
};
template <>
struct AdapterFor<ActiveControl> {
    using Type = ActiveControlAdapter;
};
template <>
struct AdapterFor<EntryColumn> {
    using Type = EntryColumnAdapter;
};
template <>
struct AdapterFor<EntryPage> {
    using Type = EntryPageAdapter;
};
template <>
struct AdapterFor<EntryPages> {
    using Type = EntryPagesAdapter;
};
template <>
struct AdapterFor<DataSrv> {
    using Type = DataSrvAdapter;
};
template <>
struct AdapterFor<BillCtl> {
    using Type = BillCtlAdapter;
};
template <>
struct AdapterFor<BillEvent> {
    using Type = BillEventAdapter;
};
template <>
struct AdapterFor<ListCtl> {
    using Type = ListCtlAdapter;
};
template <>
struct AdapterFor<ListEvents> {
    using Type = ListEventsAdapter;
};
}  // namespace

namespace {

// The adapter of the first of Contracts that is `contract`; null when none is.
template <class... Contracts>
ObjectPtr AdapterOf(const std::type_info& contract, const DispatchClient& client,
                    const NameTable& names) {
    ObjectPtr adapter;
    (void)((contract == typeid(Contracts) &&
            (adapter = std::make_shared<typename AdapterFor<Contracts>::Type>(client, names))) ||
           ...);
    return adapter;
}

}  // namespace

ObjectPtr DispatchObject::AsContract(const std::type_info& contract) const {
    return AdapterOf<Dictionary, Vector, Recordset, Tool, ToolCollection, Band, ActiveBar, MenuBar,
                     MultiCheckMgr, ActiveControl, EntryColumn, EntryPage, EntryPages, DataSrv,
                     BillCtl, ListCtl>(contract, m_client, m_names);
}

template <class T>
std::shared_ptr<T> Expect(const velaqm::Variant& value, const NameTable& names) {
    if (value.IsNothing() || value.IsEmpty()) return nullptr;
    if (auto ready = value.ObjectAs<T>()) return ready;
    if (const auto dispatch = value.ObjectAs<DispatchObject>())
        return std::make_shared<typename AdapterFor<T>::Type>(dispatch->Client(), names);
    throw HostError(kErrTypeMismatch, "VelaQMBillEvent", "Type mismatch");
}

template std::shared_ptr<Dictionary> Expect<Dictionary>(const velaqm::Variant&, const NameTable&);
template std::shared_ptr<Vector> Expect<Vector>(const velaqm::Variant&, const NameTable&);
template std::shared_ptr<Recordset> Expect<Recordset>(const velaqm::Variant&, const NameTable&);
template std::shared_ptr<Tool> Expect<Tool>(const velaqm::Variant&, const NameTable&);
template std::shared_ptr<ToolCollection> Expect<ToolCollection>(const velaqm::Variant&,
                                                                const NameTable&);
template std::shared_ptr<Band> Expect<Band>(const velaqm::Variant&, const NameTable&);
template std::shared_ptr<ActiveBar> Expect<ActiveBar>(const velaqm::Variant&, const NameTable&);
template std::shared_ptr<MenuBar> Expect<MenuBar>(const velaqm::Variant&, const NameTable&);
template std::shared_ptr<MultiCheckMgr> Expect<MultiCheckMgr>(const velaqm::Variant&,
                                                              const NameTable&);
template std::shared_ptr<ActiveControl> Expect<ActiveControl>(const velaqm::Variant&,
                                                              const NameTable&);
template std::shared_ptr<EntryColumn> Expect<EntryColumn>(const velaqm::Variant&, const NameTable&);
template std::shared_ptr<EntryPage> Expect<EntryPage>(const velaqm::Variant&, const NameTable&);
template std::shared_ptr<EntryPages> Expect<EntryPages>(const velaqm::Variant&, const NameTable&);
template std::shared_ptr<DataSrv> Expect<DataSrv>(const velaqm::Variant&, const NameTable&);
template std::shared_ptr<BillCtl> Expect<BillCtl>(const velaqm::Variant&, const NameTable&);
template std::shared_ptr<BillEvent> Expect<BillEvent>(const velaqm::Variant&, const NameTable&);
template std::shared_ptr<ListCtl> Expect<ListCtl>(const velaqm::Variant&, const NameTable&);
template std::shared_ptr<ListEvents> Expect<ListEvents>(const velaqm::Variant&, const NameTable&);

namespace {

// --- events ------------------------------------------------------------------------------------

bool IsEventSource(std::string_view typeName) {
    return EqualsNoCase(typeName, "BillEvent") || EqualsNoCase(typeName, "ListEvents");
}

// A host object passed in as the contract T, as Expect<T>(FromVariant(argument)) makes it but
// without the generic object in between and the copy of its client: a host passes a new Tool
// with every toolbar click.
template <class T>
std::shared_ptr<T> ExpectArgument(const VARIANT& argument, const NameTable& names) {
    if (ComPtr<IDispatch> host = HostObjectIn(argument)) {
        DispatchClient client(std::move(host));
        if (!IsEventSource(client.TypeName()))
            return std::make_shared<typename AdapterFor<T>::Type>(std::move(client), names);
    }
    return Expect<T>(FromVariant(argument), names);
}

// One event's arguments, read in the plug-ins' terms; a cancel flag is written back when the
// handlers are done.
class EventArgs {
  public:
    EventArgs(std::span<VARIANT*> args, const NameTable& names) : m_args(args), m_names(names) {}
    V Value(std::size_t i) const { return i < m_args.size() ? FromVariant(*m_args[i]) : V(); }
    int Int(std::size_t i) const { return static_cast<int>(WholeNumber(Value(i))); }
    std::string Text(std::size_t i) const { return velaqm::Text(Value(i)); }
    template <class T>
    std::shared_ptr<T> Object(std::size_t i) const {
        return i < m_args.size() ? ExpectArgument<T>(*m_args[i], m_names) : nullptr;
    }
    // A cancel flag: starts as the host passed it, goes back when the guard ends.
    class Flag {
      public:
        Flag(VARIANT* argument) : m_argument(argument), value(argument && ReadBool(argument)) {}
        ~Flag() {
            if (m_argument) WriteBackBool(m_argument, value);
        }
        Flag(const Flag&) = delete;
        Flag& operator=(const Flag&) = delete;

      private:
        VARIANT* m_argument;

      public:
        bool value;
    };
    VARIANT* Raw(std::size_t i) const { return i < m_args.size() ? m_args[i] : nullptr; }

  private:
    std::span<VARIANT*> m_args;
    const NameTable& m_names;
};

void BillEventAdapter::Advise(BillEventsSink* sink) {
    m_sinks.Add(sink, HostObject(),
                [this](std::string_view event, std::span<VARIANT*> args) { Deliver(event, args); });
}

void BillEventAdapter::Unadvise(BillEventsSink* sink) {
    m_sinks.Remove(sink);
}

void BillEventAdapter::Deliver(std::string_view event, std::span<VARIANT*> raw) {
    const EventArgs a(raw, Names());
    // The length first: most of the names below are not the event's.
    auto is = [&](std::string_view name) {
        return event.size() == name.size() && EqualsNoCase(event, name);
    };
    auto each = [&](auto&& call) { m_sinks.Each(call); };
    if (is("AfterLoadBill")) return each([](BillEventsSink& s) { s.AfterLoadBill(); });
    if (is("AfterNewBill")) return each([](BillEventsSink& s) { s.AfterNewBill(); });
    if (is("AfterCopyBill")) return each([](BillEventsSink& s) { s.AfterCopyBill(); });
    if (is("AfterNewEmptyData")) return each([](BillEventsSink& s) { s.AfterNewEmptyData(); });
    if (is("BeforLoadBillFillData"))
        return each([](BillEventsSink& s) { s.BeforLoadBillFillData(); });
    if (is("BeforeSave") || is("AfterSave")) {
        EventArgs::Flag cancel(a.Raw(0));
        const bool before = is("BeforeSave");
        return each([&](BillEventsSink& s) {
            before ? s.BeforeSave(cancel.value) : s.AfterSave(cancel.value);
        });
    }
    if (is("SaveBillSuccess")) {
        const auto data = a.Object<Dictionary>(0);
        return each([&](BillEventsSink& s) { s.SaveBillSuccess(data); });
    }
    if (is("AfterSelBill")) return each([&](BillEventsSink& s) { s.AfterSelBill(a.Int(0)); });
    if (is("BeforeSelBills")) {
        std::string filter = a.Text(3);
        const auto dataSrv = a.Object<velaqm::DataSrv>(1);
        const auto link = a.Object<Dictionary>(2);
        const auto param = a.Object<Dictionary>(4);
        each([&](BillEventsSink& s) { s.BeforeSelBills(a.Int(0), dataSrv, link, filter, param); });
        if (VARIANT* slot = a.Raw(3); slot && (V_VT(slot) & VT_BYREF)) {
            VARIANT* target = V_VT(slot) == (VT_BYREF | VT_VARIANT) ? V_VARIANTREF(slot) : slot;
            com::Variant written = ToVariant(V(filter));
            ClearVariant(*target);
            written.detach_to(target);
        }
        return;
    }
    if (is("AfterFillRow")) {
        const auto page = a.Object<Dictionary>(1);
        const auto entry = a.Object<Dictionary>(2);
        const auto link = a.Object<Dictionary>(3);
        return each([&](BillEventsSink& s) { s.AfterFillRow(a.Int(0), page, entry, link); });
    }
    if (is("BarInitialize")) {
        const auto bar = a.Object<ActiveBar>(0);
        return each([&](BillEventsSink& s) { s.BarInitialize(bar); });
    }
    if (is("BarClick") || is("MenuBarClick")) {
        const auto tool = a.Object<Tool>(0);
        EventArgs::Flag cancel(a.Raw(1));
        const bool menu = is("MenuBarClick");
        return each([&](BillEventsSink& s) {
            menu ? s.MenuBarClick(tool, cancel.value) : s.BarClick(tool, cancel.value);
        });
    }
    if (is("MenuBarInitialize")) {
        const auto bar = a.Object<velaqm::MenuBar>(0);
        return each([&](BillEventsSink& s) { s.MenuBarInitialize(bar); });
    }
    if (is("BeginEdit")) {
        const auto field = a.Object<Dictionary>(0);
        return each([&](BillEventsSink& s) { s.BeginEdit(field, a.Int(1), a.Int(2)); });
    }
    if (is("Change")) {
        const auto field = a.Object<Dictionary>(0);
        const auto value = a.Object<Dictionary>(1);
        EventArgs::Flag cancel(a.Raw(4));
        return each(
            [&](BillEventsSink& s) { s.Change(field, value, a.Int(2), a.Int(3), cancel.value); });
    }
    if (is("BeforeDoAction")) {
        const auto field = a.Object<Dictionary>(0);
        const auto value = a.Object<Dictionary>(1);
        EventArgs::Flag cancel(a.Raw(6));
        return each([&](BillEventsSink& s) {
            s.BeforeDoAction(field, value, a.Value(2), a.Text(3), a.Text(4), a.Value(5),
                             cancel.value);
        });
    }
    if (is("BeforeSetExportNote")) {
        const auto notes = a.Object<Vector>(0);
        return each([&](BillEventsSink& s) { s.BeforeSetExportNote(notes); });
    }
}

void ListEventsAdapter::Advise(ListEventsSink* sink) {
    m_sinks.Add(sink, HostObject(),
                [this](std::string_view event, std::span<VARIANT*> args) { Deliver(event, args); });
}

void ListEventsAdapter::Unadvise(ListEventsSink* sink) {
    m_sinks.Remove(sink);
}

void ListEventsAdapter::Deliver(std::string_view event, std::span<VARIANT*> raw) {
    const EventArgs a(raw, Names());
    if (EqualsNoCase(event, "AfterSelList")) {
        const auto list = a.Object<Vector>(1);
        return m_sinks.Each([&](ListEventsSink& s) { s.AfterSelList(a.Value(0), list); });
    }
    if (EqualsNoCase(event, "BarInitialize")) {
        const auto bar = a.Object<ActiveBar>(0);
        return m_sinks.Each([&](ListEventsSink& s) { s.BarInitialize(bar); });
    }
    if (EqualsNoCase(event, "BarClick")) {
        const auto tool = a.Object<Tool>(0);
        EventArgs::Flag cancel(a.Raw(1));
        return m_sinks.Each([&](ListEventsSink& s) { s.BarClick(tool, cancel.value); });
    }
}

}  // namespace

IDispatch* HostDispatchOf(const Object& object) {
    if (const auto* adapted = dynamic_cast<const Adapted*>(&object)) return adapted->HostObject();
    if (const auto* generic = dynamic_cast<const DispatchObject*>(&object))
        return generic->Client().Raw();
    return nullptr;
}

ObjectPtr AdaptDispatch(ComPtr<IDispatch> object, const NameTable& names) {
    if (!object) return nullptr;
    auto generic = std::make_shared<DispatchObject>(std::move(object), names);
    const std::string type = generic->TypeName();
    if (EqualsNoCase(type, "BillEvent")) return Expect<BillEvent>(V(ObjectPtr(generic)), names);
    if (EqualsNoCase(type, "ListEvents")) return Expect<ListEvents>(V(ObjectPtr(generic)), names);
    return generic;
}

}  // namespace velaqm::com
