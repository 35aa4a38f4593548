#include "typelib/host_objects.h"

#include <algorithm>
#include <span>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "frame/convert.h"
#include "frame/host_error.h"
#include "frame/host_services.h"
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
    void SetPicture(int kind, const V& picture, std::int32_t maskColor) override {
        Host().Call("SetPicture", {V(kind), picture, V(maskColor)});
    }
    void SetBeginGroup(bool value) override { Host().Put("BeginGroup", value); }
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
    void InsertBefore(std::string_view key, const ToolPtr& tool) override {
        Host().Call(Role("Tools.InsertBefore"), {V(key), V(ObjectPtr(tool))});
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
    BandPtr Bands(std::string_view name) const override {
        return Expect<Band>(Host().Get("Bands", {V(name)}), Names());
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

class DataSrvAdapter final : public DataSrvAdapterOf<DataSrv> {
  public:
    using DataSrvAdapterOf::DataSrvAdapterOf;
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
    void SetData(const DictionaryPtr& data) override { Host().Put("Data", V(ObjectPtr(data))); }
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

// --- the item dialog's form ------------------------------------------------------------------

class ItemDialogFormAdapter final : public QMItemDialogForm, public Adapted {
  public:
    using Adapted::Adapted;
    bool SetFunc(const DictionaryPtr& data, int function) override {
        return Truth(Host().Call("SetFunc", {V(ObjectPtr(data)), V(function)}));
    }
    void Show(int modal) override { Host().Call("Show", {V(modal)}); }
};

// --- the contract table ----------------------------------------------------------------------

// Bills and lists are told by their type names when they arrive (AdaptDispatch); every other
// contract a host object may also stand in for by use, as VB lets an object fill a typed variable.
enum class Arrival { ByUse, ByTypeName };

// One contract of the table and the adapter that serves it from a host object.
template <class ContractType, class AdapterType, Arrival kArrival = Arrival::ByUse>
struct Adapts {
    using Contract = ContractType;
    using Adapter = AdapterType;
    static constexpr bool kByUse = kArrival == Arrival::ByUse;
};

// Every contract a host object is adapted to; a new contract is one line here.
// clang-format off
using ContractTable = std::tuple<
    Adapts<Dictionary, DictionaryAdapter>,
    Adapts<Vector, VectorAdapter>,
    Adapts<Recordset, RecordsetAdapter>,
    Adapts<Tool, ToolAdapter>,
    Adapts<ToolCollection, ToolCollectionAdapter>,
    Adapts<Band, BandAdapter>,
    Adapts<ActiveBar, ActiveBarAdapter>,
    Adapts<MenuBar, MenuBarAdapter>,
    Adapts<MultiCheckMgr, MultiCheckMgrAdapter>,
    Adapts<ActiveControl, ActiveControlAdapter>,
    Adapts<EntryColumn, EntryColumnAdapter>,
    Adapts<EntryPage, EntryPageAdapter>,
    Adapts<EntryPages, EntryPagesAdapter>,
    Adapts<DataSrv, DataSrvAdapter>,
    Adapts<BillCtl, BillCtlAdapter>,
    Adapts<BillEvent, BillEventAdapter, Arrival::ByTypeName>,
    Adapts<ListCtl, ListCtlAdapter>,
    Adapts<ListEvents, ListEventsAdapter, Arrival::ByTypeName>,
    Adapts<QMItemDialogForm, ItemDialogFormAdapter>>;
// clang-format on

// The adapter type of Contract, found in the table when the code is compiled.
template <class Contract, class Entry, class... Rest>
constexpr auto AdapterTypeOf(std::tuple<Entry, Rest...>*) {
    if constexpr (std::is_same_v<Contract, typename Entry::Contract>)
        return std::type_identity<typename Entry::Adapter>{};
    else
        return AdapterTypeOf<Contract>(static_cast<std::tuple<Rest...>*>(nullptr));
}

template <class Contract>
using AdapterFor =
    typename decltype(AdapterTypeOf<Contract>(static_cast<ContractTable*>(nullptr)))::type;

// The adapter of the table's entry for `contract`; null when there is none, or when the entry
// is a bill's or a list's and `byUseOnly` holds.
template <class... Entries>
ObjectPtr MakeAdapter(std::tuple<Entries...>*, const std::type_info& contract,
                      const DispatchClient& client, const NameTable& names, bool byUseOnly) {
    ObjectPtr adapter;
    (void)(((Entries::kByUse || !byUseOnly) && contract == typeid(typename Entries::Contract) &&
            (adapter = std::make_shared<typename Entries::Adapter>(client, names))) ||
           ...);
    return adapter;
}

ObjectPtr MakeAdapter(const std::type_info& contract, const DispatchClient& client,
                      const NameTable& names, bool byUseOnly) {
    return MakeAdapter(static_cast<ContractTable*>(nullptr), contract, client, names, byUseOnly);
}

}  // namespace

ObjectPtr DispatchObject::AsContract(const std::type_info& contract) const {
    return MakeAdapter(contract, m_client, m_names, /*byUseOnly=*/true);
}

ObjectPtr AdapterOf(const std::type_info& contract, const DispatchObject& object,
                    const NameTable& names) {
    return MakeAdapter(contract, object.Client(), names, /*byUseOnly=*/false);
}

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
            return std::make_shared<AdapterFor<T>>(std::move(client), names);
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
    // Writes the handlers' value through a by-reference argument: into the caller's VARIANT,
    // or into the caller's typed variable, converted to its type (a text as BSTR* reaches the
    // caller's string). An argument passed by value keeps what it had.
    void WriteBack(std::size_t i, const V& value) const {
        VARIANT* slot = Raw(i);
        if (!slot || !(V_VT(slot) & VT_BYREF)) return;
        com::Variant written = ToVariant(value);
        if (V_VT(slot) == (VT_BYREF | VT_VARIANT)) {
            ClearVariant(*V_VARIANTREF(slot));
            written.detach_to(V_VARIANTREF(slot));
            return;
        }
        if (V_VT(slot) == (VT_BYREF | VT_BSTR)) {
            VARIANT text;
            VariantInit(&text);
            VARIANT source = written.get();  // read only: `written` keeps it
            if (FAILED(VariantChangeType(&text, &source, 0, VT_BSTR))) return;
            SysFreeString(*V_BSTRREF(slot));
            *V_BSTRREF(slot) = V_BSTR(&text);
        }
    }

  private:
    std::span<VARIANT*> m_args;
    const NameTable& m_names;
};

// How one host event reaches the plug-in sinks: its arguments read in the plug-ins' terms, every
// sink called, a cancel flag or a by-reference argument written back.
template <class Sink>
struct EventRoute {
    std::string_view event;
    void (*deliver)(const Subscribers<Sink>& sinks, const EventArgs& args);
};

template <class Sink, std::size_t N>
void Route(const EventRoute<Sink> (&routes)[N], std::string_view event,
           const Subscribers<Sink>& sinks, const EventArgs& args) {
    for (const EventRoute<Sink>& route : routes)
        // The length first: most of the names are not the event's.
        if (route.event.size() == event.size() && EqualsNoCase(route.event, event))
            return route.deliver(sinks, args);
}

using BillSinks = Subscribers<BillEventsSink>;
using ListSinks = Subscribers<ListEventsSink>;

// An event without arguments.
template <void (BillEventsSink::*kHandler)()>
void Notify(const BillSinks& sinks, const EventArgs&) {
    sinks.Each([](BillEventsSink& s) { (s.*kHandler)(); });
}

// An event whose one argument is the cancel flag.
template <void (BillEventsSink::*kHandler)(bool&)>
void NotifyCancellable(const BillSinks& sinks, const EventArgs& a) {
    EventArgs::Flag cancel(a.Raw(0));
    sinks.Each([&](BillEventsSink& s) { (s.*kHandler)(cancel.value); });
}

// A toolbar or menu click: the tool, then the cancel flag.
template <class Sink, void (Sink::*kHandler)(const ToolPtr&, bool&)>
void NotifyClick(const Subscribers<Sink>& sinks, const EventArgs& a) {
    const auto tool = a.Object<Tool>(0);
    EventArgs::Flag cancel(a.Raw(1));
    sinks.Each([&](Sink& s) { (s.*kHandler)(tool, cancel.value); });
}

void DeliverSaveBillSuccess(const BillSinks& sinks, const EventArgs& a) {
    const auto data = a.Object<Dictionary>(0);
    sinks.Each([&](BillEventsSink& s) { s.SaveBillSuccess(data); });
}

void DeliverAfterSelBill(const BillSinks& sinks, const EventArgs& a) {
    sinks.Each([&](BillEventsSink& s) { s.AfterSelBill(a.Int(0)); });
}

// The handlers may rewrite the filter, which goes back to the host.
void DeliverBeforeSelBills(const BillSinks& sinks, const EventArgs& a) {
    std::string filter = a.Text(3);
    const auto dataSrv = a.Object<velaqm::DataSrv>(1);
    const auto link = a.Object<Dictionary>(2);
    const auto param = a.Object<Dictionary>(4);
    sinks.Each(
        [&](BillEventsSink& s) { s.BeforeSelBills(a.Int(0), dataSrv, link, filter, param); });
    a.WriteBack(3, V(filter));
}

void DeliverAfterFillRow(const BillSinks& sinks, const EventArgs& a) {
    const auto page = a.Object<Dictionary>(1);
    const auto entry = a.Object<Dictionary>(2);
    const auto link = a.Object<Dictionary>(3);
    sinks.Each([&](BillEventsSink& s) { s.AfterFillRow(a.Int(0), page, entry, link); });
}

template <class Sink>
void DeliverBarInitialize(const Subscribers<Sink>& sinks, const EventArgs& a) {
    const auto bar = a.Object<ActiveBar>(0);
    sinks.Each([&](Sink& s) { s.BarInitialize(bar); });
}

void DeliverMenuBarInitialize(const BillSinks& sinks, const EventArgs& a) {
    const auto bar = a.Object<velaqm::MenuBar>(0);
    sinks.Each([&](BillEventsSink& s) { s.MenuBarInitialize(bar); });
}

void DeliverBeginEdit(const BillSinks& sinks, const EventArgs& a) {
    const auto field = a.Object<Dictionary>(0);
    sinks.Each([&](BillEventsSink& s) { s.BeginEdit(field, a.Int(1), a.Int(2)); });
}

void DeliverChange(const BillSinks& sinks, const EventArgs& a) {
    const auto field = a.Object<Dictionary>(0);
    const auto value = a.Object<Dictionary>(1);
    EventArgs::Flag cancel(a.Raw(4));
    sinks.Each(
        [&](BillEventsSink& s) { s.Change(field, value, a.Int(2), a.Int(3), cancel.value); });
}

void DeliverBeforeDoAction(const BillSinks& sinks, const EventArgs& a) {
    const auto field = a.Object<Dictionary>(0);
    const auto value = a.Object<Dictionary>(1);
    EventArgs::Flag cancel(a.Raw(6));
    sinks.Each([&](BillEventsSink& s) {
        s.BeforeDoAction(field, value, a.Value(2), a.Text(3), a.Text(4), a.Value(5), cancel.value);
    });
}

void DeliverBeforeSetExportNote(const BillSinks& sinks, const EventArgs& a) {
    const auto notes = a.Object<Vector>(0);
    sinks.Each([&](BillEventsSink& s) { s.BeforeSetExportNote(notes); });
}

constexpr EventRoute<BillEventsSink> kBillEventRoutes[] = {
    {"AfterLoadBill", Notify<&BillEventsSink::AfterLoadBill>},
    {"AfterNewBill", Notify<&BillEventsSink::AfterNewBill>},
    {"AfterCopyBill", Notify<&BillEventsSink::AfterCopyBill>},
    {"AfterNewEmptyData", Notify<&BillEventsSink::AfterNewEmptyData>},
    {"BeforLoadBillFillData", Notify<&BillEventsSink::BeforLoadBillFillData>},
    {"BeforeSave", NotifyCancellable<&BillEventsSink::BeforeSave>},
    {"AfterSave", NotifyCancellable<&BillEventsSink::AfterSave>},
    {"SaveBillSuccess", DeliverSaveBillSuccess},
    {"AfterSelBill", DeliverAfterSelBill},
    {"BeforeSelBills", DeliverBeforeSelBills},
    {"AfterFillRow", DeliverAfterFillRow},
    {"BarInitialize", DeliverBarInitialize<BillEventsSink>},
    {"BarClick", NotifyClick<BillEventsSink, &BillEventsSink::BarClick>},
    {"MenuBarClick", NotifyClick<BillEventsSink, &BillEventsSink::MenuBarClick>},
    {"MenuBarInitialize", DeliverMenuBarInitialize},
    {"BeginEdit", DeliverBeginEdit},
    {"Change", DeliverChange},
    {"BeforeDoAction", DeliverBeforeDoAction},
    {"BeforeSetExportNote", DeliverBeforeSetExportNote},
};

void DeliverAfterSelList(const ListSinks& sinks, const EventArgs& a) {
    const auto list = a.Object<Vector>(1);
    sinks.Each([&](ListEventsSink& s) { s.AfterSelList(a.Value(0), list); });
}

constexpr EventRoute<ListEventsSink> kListEventRoutes[] = {
    {"AfterSelList", DeliverAfterSelList},
    {"BarInitialize", DeliverBarInitialize<ListEventsSink>},
    {"BarClick", NotifyClick<ListEventsSink, &ListEventsSink::BarClick>},
};

void BillEventAdapter::Advise(BillEventsSink* sink) {
    m_sinks.Add(sink, HostObject(),
                [this](std::string_view event, std::span<VARIANT*> args) { Deliver(event, args); });
}

void BillEventAdapter::Unadvise(BillEventsSink* sink) {
    m_sinks.Remove(sink);
}

void BillEventAdapter::Deliver(std::string_view event, std::span<VARIANT*> args) {
    Route(kBillEventRoutes, event, m_sinks, EventArgs(args, Names()));
}

void ListEventsAdapter::Advise(ListEventsSink* sink) {
    m_sinks.Add(sink, HostObject(),
                [this](std::string_view event, std::span<VARIANT*> args) { Deliver(event, args); });
}

void ListEventsAdapter::Unadvise(ListEventsSink* sink) {
    m_sinks.Remove(sink);
}

void ListEventsAdapter::Deliver(std::string_view event, std::span<VARIANT*> args) {
    Route(kListEventRoutes, event, m_sinks, EventArgs(args, Names()));
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
