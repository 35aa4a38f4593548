// The bill and list objects of the test host. Each bill keeps its state in a BillState that its
// member functions share; the toolbar, tools, bill control and template are made afresh on each
// read over that state, so no object holds another and nothing outlives the script's last
// reference.
#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "fake_host.h"
#include "host_values.h"
#include "script_call.h"
#include "test_host.h"

namespace velaqm::testhost {

using com::testing::FakeHostObject;

struct BillState {
    LONG classTypeId = 0;
    std::wstring className;
    LONG mode = 2;
    LONG billStatus = 2;
    bool mutexSuccess = true;
    bool isChange = false;
    bool isok = false;
    bool locked = false;
    LONG fieldsLocked = -1;  // SetLockProperty not called yet
    Entries head;
    // SetBarStatus(key, property, value), for the script to read back.
    std::map<std::wstring, bool> barStatus;
    // The toolbar's tools: key to (Visible, Enabled).
    std::map<std::wstring, std::pair<bool, bool>> tools;
    std::vector<std::wstring> cellLocks;
    // A member that fails when called, as a client's member does on a broken form.
    std::wstring failing;
    // The entry page's rows: each cell's value dictionary by field key, shared by every read of
    // the cell so that what a plug-in writes into it stays.
    std::vector<std::map<std::wstring, std::shared_ptr<Entries>>> entryRows;
    // What the plug-in set on the form, by field key (SetGridMaxRows by page), for the script
    // to read back.
    std::map<std::wstring, bool> fieldsEnabled;
    std::map<std::wstring, std::wstring> fieldTexts;
    std::map<std::wstring, bool> columnLocks;
    std::map<LONG, LONG> gridMaxRows;
    // SetLockProperty of head fields, the last call's value by field key.
    std::map<std::wstring, bool> fieldLocks;
    // A list's show mode and its selected rows, one dictionary (FID, FEntryID) each: AfterSelList
    // hands the plug-in this very vector, so that what it clears is no longer selected.
    LONG showMode = 0;
    std::shared_ptr<std::vector<com::Variant>> selection =
        std::make_shared<std::vector<com::Variant>>();

    VARIANT* HeadSlot(std::wstring_view key) {
        for (auto& [name, value] : head)
            if (CompareStringOrdinal(name.data(), static_cast<int>(name.size()), key.data(),
                                     static_cast<int>(key.size()), TRUE) == CSTR_EQUAL)
                return const_cast<VARIANT*>(&value.get());
        return nullptr;
    }
    const VARIANT& Head(std::wstring_view key) {
        static const VARIANT empty{};
        const VARIANT* slot = HeadSlot(key);
        return slot ? *slot : empty;
    }
    void SetHead(std::wstring_view key, const VARIANT& value) {
        if (VARIANT* slot = HeadSlot(key))
            com::Check(VariantCopyInd(slot, const_cast<VARIANT*>(&value)), "VariantCopyInd");
        else
            head.emplace_back(std::wstring(key), com::Variant::copy_ind(value));
    }
    // The value dictionary of an entry cell, rows from 1; one past the last row is a new row. A
    // row further on is empty and kept nowhere.
    std::shared_ptr<Entries> Cell(const std::wstring& key, LONG row) {
        if (row < 1) throw ScriptError("entry rows start at 1");
        const auto index = static_cast<std::size_t>(row - 1);
        if (index == entryRows.size()) entryRows.emplace_back();
        auto fresh = [] {
            auto cell = std::make_shared<Entries>();
            cell->emplace_back(L"FFLD", com::Variant());
            return cell;
        };
        if (index > entryRows.size()) return fresh();
        auto& cell = entryRows[index][key];
        if (!cell) cell = fresh();
        return cell;
    }
    // Whether an entry row holds a value in any cell, as the client asks of a grid row.
    bool RowHasData(LONG row) {
        if (row < 1 || static_cast<std::size_t>(row) > entryRows.size()) return false;
        for (const auto& [key, cell] : entryRows[static_cast<std::size_t>(row - 1)]) {
            if (!TextOf(GetItem(NewDictionary(cell).get(), L"FFLD").get()).empty()) return true;
        }
        return false;
    }
    LONG BillId() {
        com::Variant id;
        if (FAILED(VariantChangeType(id.put(), const_cast<VARIANT*>(&Head(L"FID")), 0, VT_I4)))
            return 0;
        return V_I4(&id.get());
    }
};

void HostState::SetChecker(LONG billId, LONG checker) {
    for (const auto& weak : bills)
        if (auto bill = weak.lock(); bill && bill->BillId() == billId)
            bill->SetHead(L"FCheckerID", LongValue(checker).get());
}

namespace {

using Bill = std::shared_ptr<BillState>;

// The client's number of a bill's entry page.
constexpr LONG kEntryPage = 2;

// The type information of the client's objects, from this DLL's type library.
ComPtr<ITypeInfo> HostType(std::wstring_view name) {
    ComPtr<ITypeLib> library;
    com::Check(LoadTypeLibEx(ModuleFile().c_str(), REGKIND_NONE, library.put()), "LoadTypeLibEx");
    std::wstring wanted(name);
    ComPtr<ITypeInfo> info;
    MEMBERID id = 0;
    USHORT found = 1;
    com::Check(library->FindName(wanted.data(), 0, info.put(), &id, &found), "FindName");
    if (found == 0) throw ScriptError("no type " + com::Utf8Of(name));
    return info;
}

IID GuidOf(const ComPtr<ITypeInfo>& info) {
    TYPEATTR* attributes = nullptr;
    com::Check(info->GetTypeAttr(&attributes), "GetTypeAttr");
    const IID guid = attributes->guid;
    info->ReleaseTypeAttr(attributes);
    return guid;
}

ComPtr<FakeHostObject> EventSource(std::wstring_view type, std::wstring_view coclass,
                                   std::wstring_view events) {
    auto object = FakeHostObject::Make(HostType(type), HostType(coclass), GuidOf(HostType(events)));
    object->SetRecording(false);
    return object;
}

// A property that a script reads with no argument and writes with one.
void AddFlag(FakeHostObject& object, std::wstring name, bool* flag) {
    AddMember(object, std::move(name), [flag](Call& call) {
        if (call.Count() == 1)
            *flag = call.Bool(0);
        else
            call.Return(*flag);
    });
}

void AddNumber(FakeHostObject& object, std::wstring name, LONG* number) {
    AddMember(object, std::move(name), [number](Call& call) {
        if (call.Count() == 1)
            *number = call.Long(0);
        else
            call.Return(*number);
    });
}

std::wstring OnOff(bool value) {
    return value ? L"True" : L"False";
}

// The key of the field info a member was given.
std::wstring FieldKey(const Call& call, std::size_t index) {
    const ComPtr<IDispatch> fieldInfo = call.Object(index);
    if (!fieldInfo) throw ScriptError("a field info is needed");
    return TextOf(GetItem(fieldInfo.get(), L"FKey").get());
}

// A value the plug-in set, or Empty when it set none.
template <class Map, class Key>
void ReturnIfSet(const Call& call, const Map& map, const Key& key) {
    if (const auto found = map.find(key); found != map.end()) {
        if constexpr (std::is_same_v<typename Map::mapped_type, std::wstring>)
            call.Return(std::wstring_view(found->second));
        else
            call.Return(found->second);
    }
}

// --- toolbar ------------------------------------------------------------------------------

ComPtr<IDispatch> NewTool(const Bill& bill, std::wstring key) {
    if (!bill->tools.contains(key)) throw ScriptError("no tool " + com::Utf8Of(key));
    auto tool = NewScriptObject();
    AddMember(*tool, L"Name", [key](Call& call) { call.Return(key); });
    AddMember(*tool, L"Visible", [bill, key](Call& call) {
        if (call.Count() == 1)
            bill->tools[key].first = call.Bool(0);
        else
            call.Return(bill->tools[key].first);
    });
    AddMember(*tool, L"Enabled", [bill, key](Call& call) {
        if (call.Count() == 1)
            bill->tools[key].second = call.Bool(0);
        else
            call.Return(bill->tools[key].second);
    });
    return AsDispatch(tool);
}

ComPtr<IDispatch> NewTools(const Bill& bill) {
    auto tools = NewScriptObject();
    AddMember(*tools, L"Item",
              [bill](Call& call) { call.Return(NewTool(bill, call.Text(0)).get()); });
    AddMember(*tools, L"Count",
              [bill](Call& call) { call.Return(static_cast<LONG>(bill->tools.size())); });
    return AsDispatch(tools);
}

ComPtr<IDispatch> NewActiveBar(const Bill& bill) {
    auto bar = NewScriptObject();
    // Tools("key") is read in one step by a script, as Tools.Item("key").
    AddMember(*bar, L"Tools", [bill](Call& call) {
        call.Return(call.Count() == 1 ? NewTool(bill, call.Text(0)).get() : NewTools(bill).get());
    });
    AddMember(*bar, L"RecalcLayout", [](Call&) {});
    return AsDispatch(bar);
}

// The menu bar of a menu-bar form: its tools are the bill's, Tools("key") read in one step as
// the toolbar's are; Tools.Add makes a tool of the bill, whose labels, picture and group mark are
// recorded; Bands(name).Tools.InsertBefore records where a tool was placed.
ComPtr<IDispatch> NewMenuTool(const Bill& bill, const std::wstring& key) {
    auto tool = NewScriptObject();
    AddMember(*tool, L"Name", [key](Call& call) { call.Return(std::wstring_view(key)); });
    for (const wchar_t* label : {L"Caption", L"ToolTipText", L"Description"})
        AddMember(*tool, label, [key, label](Call& call) {
            if (call.Count() == 1) State().Record(key + L" " + label + L"=" + call.Text(0));
        });
    for (const wchar_t* flag : {L"Visible", L"Enabled", L"BeginGroup"})
        AddMember(*tool, flag, [bill, key, flag](Call& call) {
            if (call.Count() != 1) {
                if (std::wstring_view(flag) == L"Visible") call.Return(bill->tools[key].first);
                if (std::wstring_view(flag) == L"Enabled") call.Return(bill->tools[key].second);
                return;
            }
            State().Record(key + L" " + flag + L"=" + OnOff(call.Bool(0)));
            if (std::wstring_view(flag) == L"Visible") bill->tools[key].first = call.Bool(0);
            if (std::wstring_view(flag) == L"Enabled") bill->tools[key].second = call.Bool(0);
        });
    AddMember(*tool, L"SetPicture", [key](Call& call) {
        const bool picture = static_cast<bool>(call.Object(1));
        State().Record(key + L" SetPicture " + call.Text(0) + (picture ? L" picture" : L" none") +
                       (call.Count() > 2 ? L" mask " + call.Text(2) : L""));
    });
    return AsDispatch(tool);
}

ComPtr<IDispatch> NewMenuBar(const Bill& bill) {
    auto bar = NewScriptObject();
    AddMember(*bar, L"Tools", [bill](Call& call) {
        if (call.Count() == 1) {
            call.Return(NewMenuTool(bill, call.Text(0)).get());
            return;
        }
        auto tools = NewScriptObject();
        AddMember(*tools, L"Add", [bill](Call& inner) {
            const std::wstring key = inner.Text(0);
            bill->tools.emplace(key, std::make_pair(true, true));
            inner.Return(NewMenuTool(bill, key).get());
        });
        AddMember(*tools, L"Item",
                  [bill](Call& inner) { inner.Return(NewMenuTool(bill, inner.Text(0)).get()); });
        call.Return(AsDispatch(tools).get());
    });
    AddMember(*bar, L"Bands", [](Call& call) {
        const std::wstring band = call.Text(0);
        auto tools = NewScriptObject();
        AddMember(*tools, L"InsertBefore", [band](Call& inner) {
            const ComPtr<IDispatch> tool = inner.Object(1);
            const std::wstring name = tool ? TextOf(GetProperty(tool.get(), L"Name").get()) : L"";
            State().Record(L"Insert " + name + L" before " + inner.Text(0) + L" in " + band);
        });
        auto object = NewScriptObject();
        const ComPtr<IDispatch> collection = AsDispatch(tools);
        AddMember(*object, L"Tools", [collection](Call& inner) { inner.Return(collection.get()); });
        call.Return(AsDispatch(object).get());
    });
    return AsDispatch(bar);
}

// --- bill control and template -------------------------------------------------------------

ComPtr<IDispatch> NewBillCtl(const Bill& bill) {
    auto control = NewScriptObject();
    AddFlag(*control, L"MutexSuccess", &bill->mutexSuccess);
    AddFlag(*control, L"IsChange", &bill->isChange);
    AddFlag(*control, L"Isok", &bill->isok);
    AddNumber(*control, L"BillStatus", &bill->billStatus);
    AddMember(*control, L"SetLockProperty", [bill](Call& call) {
        // For an entry column, the column's lock; for a head field, the whole form's.
        if (call.Count() > 2 && call.Bool(2)) {
            bill->columnLocks[FieldKey(call, 1)] = call.Bool(0);
            return;
        }
        bill->fieldsLocked = call.Bool(0) ? 1 : 0;
        std::wstring key;
        if (call.Object(1)) {
            key = FieldKey(call, 1);
            bill->fieldLocks[key] = call.Bool(0);
        }
        State().Record(L"SetLockProperty " + OnOff(call.Bool(0)) +
                       (key.empty() ? L"" : L" " + key));
    });
    AddMember(*control, L"LockCell", [bill](Call& call) {
        bill->cellLocks.push_back(FieldKey(call, 0) + L"=" + OnOff(call.Bool(2)));
    });
    AddMember(*control, L"SetGridMaxRows",
              [bill](Call& call) { bill->gridMaxRows[call.Long(0)] = call.Long(1); });
    AddMember(*control, L"IsHaveData", [bill](Call& call) {
        call.Return(call.Long(0) == kEntryPage && bill->RowHasData(call.Long(1)));
    });
    // The data the form is given and filled from: recorded, not taken.
    AddMember(*control, L"Data", [](Call& call) {
        if (call.Count() == 1) State().Record(L"SetData");
    });
    AddMember(*control, L"DoFilldata", [](Call&) { State().Record(L"DoFilldata"); });
    return AsDispatch(control);
}

ComPtr<IDispatch> FieldInfo(std::wstring_view key) {
    Entries entries;
    entries.emplace_back(L"FKey", TextValue(key));
    entries.emplace_back(L"FFieldName", TextValue(key));
    entries.emplace_back(L"FPage", LongValue(0));
    return NewDictionary(std::move(entries));
}

// The value dictionary of a head field: a copy of its value.
Entries HeadData(const Bill& bill, const std::wstring& key) {
    Entries value;
    value.emplace_back(L"FFLD", com::Variant::copy_ind(bill->Head(key)));
    return value;
}

void ReturnClassType(const Bill& bill, const Call& call) {
    const std::wstring key = call.Text(0);
    if (key == L"FID")
        call.Return(bill->classTypeId);
    else if (key == L"FName")
        call.Return(std::wstring_view(bill->className));
    else if (key == L"FObjectType")
        call.Return(LONG{3});
    else if (key == L"FObjectID")
        call.Return(bill->classTypeId);
    else
        throw ScriptError("no class type key " + com::Utf8Of(key));
}

ComPtr<IDispatch> NewDataSrv(const Bill& bill) {
    auto dataSrv = NewScriptObject();
    AddMember(*dataSrv, L"ClassType", [bill](Call& call) { ReturnClassType(bill, call); });
    AddMember(*dataSrv, L"TableInfo", [bill](Call& call) {
        Entries fields;
        for (const auto& [key, value] : bill->head)
            fields.emplace_back(key, ObjectValue(FieldInfo(key).get()));
        call.Return(NewDictionary(std::move(fields)).get());
    });
    AddMember(*dataSrv, L"GetExistBillNo", [bill](Call& call) {
        call.WriteBack(1, L"No.");
        call.Return(bill->Head(L"FBillNo"));
    });
    return AsDispatch(dataSrv);
}

// --- events --------------------------------------------------------------------------------

// DISPIDs of the client's event interfaces (test_host.idl).
enum BillEventId : DISPID {
    kAfterLoadBill = 1,
    kAfterNewBill = 2,
    kAfterCopyBill = 3,
    kBeforLoadBillFillData = 5,
    kBeforeSave = 6,
    kAfterSelBill = 9,
    kBarInitialize = 12,
    kBarClick = 13,
    kMenuBarInitialize = 14,
    kMenuBarClick = 15,
    kBeginEdit = 16,
    kChange = 17,
    kBeforeSetExportNote = 19,
};
enum ListEventId : DISPID { kAfterSelList = 1, kListBarInitialize = 2, kListBarClick = 3 };

VARIANT Borrowed(IDispatch* object) {
    VARIANT value;
    VariantInit(&value);
    V_VT(&value) = VT_DISPATCH;
    V_DISPATCH(&value) = object;
    return value;
}

// Raises an event; a handler's error reaches the script as the raising member's error.
void Raise(FakeHostObject& source, DISPID event, std::vector<VARIANT> args = {}) {
    com::testing::SinkFailure failure;
    if (source.Fire(event, std::move(args), &failure) == DISP_E_EXCEPTION)
        throw ScriptError(com::Utf8Of(failure.description));
}

// An event whose last argument is a cancel flag by reference, as the client passes it; the flag
// as the handlers left it.
bool RaiseCancellable(FakeHostObject& source, DISPID event, std::vector<VARIANT> args,
                      bool cancel) {
    VARIANT_BOOL flag = cancel ? VARIANT_TRUE : VARIANT_FALSE;
    VARIANT cancelArg;
    VariantInit(&cancelArg);
    V_VT(&cancelArg) = VT_BYREF | VT_BOOL;
    V_BOOLREF(&cancelArg) = &flag;
    args.push_back(cancelArg);
    Raise(source, event, std::move(args));
    return flag != VARIANT_FALSE;
}

// BarClick(Tool, Cancel).
bool RaiseBarClick(FakeHostObject& source, DISPID event, IDispatch* tool, bool cancel) {
    return RaiseCancellable(source, event, {Borrowed(tool)}, cancel);
}

VARIANT Number(LONG value) {
    VARIANT number;
    VariantInit(&number);
    V_VT(&number) = VT_I4;
    V_I4(&number) = value;
    return number;
}

// What a script asks of any event source: its subscriptions and its references.
void AddSourceMembers(FakeHostObject& object) {
    FakeHostObject* self = &object;
    AddMember(object, L"SinkCount",
              [self](Call& call) { call.Return(static_cast<LONG>(self->SinkCount())); });
    // Not counting the reference the call itself holds.
    AddMember(object, L"References",
              [self](Call& call) { call.Return(static_cast<LONG>(self->References())); });
}

void AddBillEvents(FakeHostObject& object, const Bill& bill) {
    FakeHostObject* self = &object;
    AddMember(object, L"RaiseAfterLoadBill", [self](Call&) { Raise(*self, kAfterLoadBill); });
    AddMember(object, L"RaiseAfterNewBill", [self](Call&) { Raise(*self, kAfterNewBill); });
    AddMember(object, L"RaiseAfterCopyBill", [self](Call&) { Raise(*self, kAfterCopyBill); });
    AddMember(object, L"RaiseBarInitialize", [self, bill](Call&) {
        const ComPtr<IDispatch> bar = NewActiveBar(bill);
        Raise(*self, kBarInitialize, {Borrowed(bar.get())});
    });
    AddMember(object, L"RaiseBarClick", [self, bill](Call& call) {
        const ComPtr<IDispatch> tool = NewTool(bill, call.Text(0));
        call.Return(RaiseBarClick(*self, kBarClick, tool.get(), call.Bool(1)));
    });
    AddMember(object, L"RaiseBeforLoadBillFillData",
              [self](Call&) { Raise(*self, kBeforLoadBillFillData); });
    AddMember(object, L"RaiseAfterSelBill",
              [self](Call& call) { Raise(*self, kAfterSelBill, {Number(call.Long(0))}); });
    // BeforeSave(bCancel), with the flag given (False when none).
    AddMember(object, L"RaiseBeforeSave", [self](Call& call) {
        call.Return(RaiseCancellable(*self, kBeforeSave, {}, call.Count() > 0 && call.Bool(0)));
    });
    AddMember(object, L"RaiseMenuBarInitialize", [self, bill](Call&) {
        const ComPtr<IDispatch> bar = NewMenuBar(bill);
        Raise(*self, kMenuBarInitialize, {Borrowed(bar.get())});
    });
    // RaiseMenuBarClick(key, cancel): MenuBarClick(XPFTool, Cancel); the flag as left.
    AddMember(object, L"RaiseMenuBarClick", [self, bill](Call& call) {
        const ComPtr<IDispatch> tool = NewMenuTool(bill, call.Text(0));
        call.Return(RaiseBarClick(*self, kMenuBarClick, tool.get(), call.Bool(1)));
    });
    // RaiseBeforeSetExportNote: the note's lines as the handlers left them, joined by "|".
    AddMember(object, L"RaiseBeforeSetExportNote", [self](Call& call) {
        auto lines = std::make_shared<std::vector<com::Variant>>();
        lines->push_back(TextValue(L"host note"));
        const ComPtr<IDispatch> note = NewVector(lines);
        Raise(*self, kBeforeSetExportNote, {Borrowed(note.get())});
        std::wstring joined;
        for (const com::Variant& line : *lines)
            joined += (joined.empty() ? L"" : L"|") + TextOf(line.get());
        call.Return(std::wstring_view(joined));
    });
    // RaiseBeginEdit(key): the user entered the head field, as BeginEdit(dct, Col, Row) with the
    // field's info; returns the info's "FFilter" as the handlers left it (Empty when none).
    AddMember(object, L"RaiseBeginEdit", [self](Call& call) {
        auto info = std::make_shared<Entries>();
        info->emplace_back(L"FKey", TextValue(call.Text(0)));
        info->emplace_back(L"FFieldName", TextValue(call.Text(0)));
        info->emplace_back(L"FPage", LongValue(0));
        const ComPtr<IDispatch> fieldInfo = NewDictionary(info);
        Raise(*self, kBeginEdit, {Borrowed(fieldInfo.get()), Number(0), Number(0)});
        for (const auto& [key, value] : *info)
            if (key == L"FFilter") call.Return(value.get());
    });
    // RaiseChange(key, row): the user changed the field at the row (0: the head), as
    // Change(dct, dctFld, Col, Row, Cancel) with the field's info and value dictionary.
    AddMember(object, L"RaiseChange", [self, bill](Call& call) {
        const std::wstring key = call.Text(0);
        const LONG row = call.Long(1);
        const ComPtr<IDispatch> fieldInfo = FieldInfo(key);
        const ComPtr<IDispatch> data =
            row > 0 ? NewDictionary(bill->Cell(key, row)) : NewDictionary(HeadData(bill, key));
        call.Return(RaiseCancellable(
            *self, kChange,
            {Borrowed(fieldInfo.get()), Borrowed(data.get()), Number(0), Number(row)}, false));
    });
}

// --- the list ------------------------------------------------------------------------------

// The list control: the selection as the client reports it, and the show mode.
ComPtr<IDispatch> NewListCtl(const Bill& list) {
    auto control = NewScriptObject();
    AddMember(*control, L"GetSelectedBillInfo", [list](Call& call) {
        std::vector<com::Variant> rows;
        for (const auto& row : *list->selection)
            rows.push_back(com::Variant::copy_ind(row.get()));
        call.Return(NewVector(std::move(rows)).get());
    });
    // The bills of the selected rows, each once, in selection order.
    AddMember(*control, L"GetSelectedBillID", [list](Call& call) {
        std::vector<com::Variant> ids;
        std::vector<std::wstring> seen;
        for (const auto& row : *list->selection) {
            com::Variant id = GetItem(V_DISPATCH(&row.get()), L"FID");
            const std::wstring text = TextOf(id.get());
            if (std::find(seen.begin(), seen.end(), text) != seen.end()) continue;
            seen.push_back(text);
            ids.push_back(std::move(id));
        }
        call.Return(NewVector(std::move(ids)).get());
    });
    AddMember(*control, L"RefreshList", [](Call&) { State().Record(L"RefreshList"); });
    AddNumber(*control, L"ShowMode", &list->showMode);
    return AsDispatch(control);
}

// What a script does to a list: sets its show mode, adds tools, selects rows and raises
// AfterSelList over them.
void AddListMembers(FakeHostObject& object, const Bill& list) {
    FakeHostObject* self = &object;
    AddMember(object, L"List", [list](Call& call) { call.Return(NewListCtl(list).get()); });
    AddNumber(object, L"ShowMode", &list->showMode);
    AddMember(object, L"ActiveBar", [list](Call& call) { call.Return(NewActiveBar(list).get()); });
    AddMember(object, L"AddTool", [list](Call& call) { list->tools[call.Text(0)] = {true, true}; });
    // Select(FID, FEntryID, FID, FEntryID, ...): the selected rows, replacing the last selection.
    AddMember(object, L"Select", [list](Call& call) {
        list->selection->clear();
        for (std::size_t i = 0; i + 1 < call.Count(); i += 2) {
            Entries row;
            row.emplace_back(L"FID", com::Variant::copy_ind(call.Value(i)));
            row.emplace_back(L"FEntryID", com::Variant::copy_ind(call.Value(i + 1)));
            list->selection->push_back(ObjectValue(NewDictionary(std::move(row)).get()));
        }
    });
    AddMember(object, L"SelectedCount",
              [list](Call& call) { call.Return(static_cast<LONG>(list->selection->size())); });
    // AfterSelList(RsId, VectList) over the selection.
    AddMember(object, L"RaiseAfterSelList", [self, list](Call&) {
        const ComPtr<IDispatch> rows = NewVector(list->selection);
        VARIANT noRecords;
        VariantInit(&noRecords);
        Raise(*self, kAfterSelList, {noRecords, Borrowed(rows.get())});
    });
}

// --- the bill ------------------------------------------------------------------------------

// A bill member that fails while the script has it failing.
void AddBillMember(FakeHostObject& object, const Bill& bill, std::wstring name, Member member) {
    AddMember(object, name, [bill, name, member = std::move(member)](Call& call) {
        if (CompareStringOrdinal(bill->failing.c_str(), -1, name.c_str(), -1, TRUE) == CSTR_EQUAL)
            throw ScriptError(com::Utf8Of(name) + " failed");
        member(call);
    });
}

// The entry page and the field states of the form, as the plug-in sets them and the script
// reads them back.
void AddEntryMembers(FakeHostObject& object, const Bill& bill) {
    AddBillMember(object, bill, L"SetCellValue", [bill](Call& call) {
        const std::wstring key = FieldKey(call, 0);
        const LONG row = call.Long(2);
        if (row > 0)
            PutItem(NewDictionary(bill->Cell(key, row)).get(), L"FFLD", call.Value(1));
        else
            bill->SetHead(key, call.Value(1));
    });
    AddBillMember(object, bill, L"SetFieldText", [bill](Call& call) {
        const std::wstring key = FieldKey(call, 0);
        const LONG row = call.Long(2);
        if (row > 0)
            PutItem(NewDictionary(bill->Cell(key, row)).get(), L"FDSP", call.Value(1));
        else
            bill->fieldTexts[key] = call.Text(1);
    });
    // SetText(value dictionary, text): the text is shown, and recorded.
    AddBillMember(object, bill, L"SetText", [](Call& call) {
        if (const ComPtr<IDispatch> value = call.Object(0))
            PutItem(value.get(), L"FDSP", call.Value(1));
        State().Record(L"SetText " + call.Text(1));
    });
    AddBillMember(object, bill, L"EnableField",
                  [bill](Call& call) { bill->fieldsEnabled[FieldKey(call, 0)] = call.Bool(1); });
    AddBillMember(object, bill, L"ClearPage", [bill](Call& call) {
        if (call.Long(0) == 2) bill->entryRows.clear();
        State().Record(L"ClearPage " + call.Text(0));
    });
    AddBillMember(object, bill, L"RefreshDisplay",
                  [](Call&) { State().Record(L"RefreshDisplay"); });
    AddBillMember(object, bill, L"GetEntryValue", [bill](Call& call) {
        call.Return(
            GetItem(NewDictionary(bill->Cell(call.Text(0), call.Long(1))).get(), L"FFLD").get());
    });
    AddBillMember(object, bill, L"MenuBar",
                  [bill](Call& call) { call.Return(NewMenuBar(bill).get()); });
    AddBillMember(object, bill, L"EntryRowCount",
                  [bill](Call& call) { call.Return(static_cast<LONG>(bill->entryRows.size())); });
    // The bill's data: the entry page's rows (Page2), each a copy of its cells' values.
    AddBillMember(object, bill, L"BillData", [bill](Call& call) {
        std::vector<com::Variant> rows;
        for (const auto& cells : bill->entryRows) {
            Entries row;
            for (const auto& [key, cell] : cells)
                row.emplace_back(key, GetItem(NewDictionary(cell).get(), L"FFLD"));
            rows.push_back(ObjectValue(NewDictionary(std::move(row)).get()));
        }
        Entries data;
        data.emplace_back(L"Page2", ObjectValue(NewVector(std::move(rows)).get()));
        call.Return(NewDictionary(std::move(data)).get());
    });
    // EntryValue(key, row) reads a cell's value; with a third argument it writes it.
    AddMember(object, L"EntryValue", [bill](Call& call) {
        auto cell = bill->Cell(call.Text(0), call.Long(1));
        if (call.Count() == 3)
            PutItem(NewDictionary(cell).get(), L"FFLD", call.Value(2));
        else
            call.Return(GetItem(NewDictionary(cell).get(), L"FFLD").get());
    });
    AddMember(object, L"FieldEnabled",
              [bill](Call& call) { ReturnIfSet(call, bill->fieldsEnabled, call.Text(0)); });
    AddMember(object, L"FieldText",
              [bill](Call& call) { ReturnIfSet(call, bill->fieldTexts, call.Text(0)); });
    AddMember(object, L"ColumnLocked",
              [bill](Call& call) { ReturnIfSet(call, bill->columnLocks, call.Text(0)); });
    AddMember(object, L"FieldLocked",
              [bill](Call& call) { ReturnIfSet(call, bill->fieldLocks, call.Text(0)); });
    AddMember(object, L"GridMaxRows",
              [bill](Call& call) { ReturnIfSet(call, bill->gridMaxRows, call.Long(0)); });
}

void AddBillMembers(FakeHostObject& object, const Bill& bill) {
    FakeHostObject* self = &object;
    AddMember(object, L"FailingMember", [bill](Call& call) { bill->failing = call.Text(0); });
    AddBillMember(object, bill, L"FID", [bill](Call& call) { call.Return(bill->classTypeId); });
    AddBillMember(object, bill, L"ClassType", [bill](Call& call) { ReturnClassType(bill, call); });
    AddBillMember(object, bill, L"CurBillID",
                  [bill](Call& call) { call.Return(bill->Head(L"FID")); });
    AddNumber(object, L"BillStatus", &bill->billStatus);
    AddNumber(object, L"Mode", &bill->mode);
    AddBillMember(object, bill, L"BillCtl",
                  [bill](Call& call) { call.Return(NewBillCtl(bill).get()); });
    AddBillMember(object, bill, L"DataSrv",
                  [bill](Call& call) { call.Return(NewDataSrv(bill).get()); });
    AddBillMember(object, bill, L"MultiCheckMgr", [](Call& call) {
        auto manager = NewScriptObject();
        AddMember(*manager, L"IsRun", [](Call& inner) { inner.Return(false); });
        call.Return(AsDispatch(manager).get());
    });
    AddBillMember(object, bill, L"GetFieldInfoByKey",
                  [](Call& call) { call.Return(FieldInfo(call.Text(0)).get()); });
    // A head field's value dictionary is a copy; an entry cell's is the cell's own.
    AddBillMember(object, bill, L"GetDataFld", [bill](Call& call) {
        const std::wstring key = FieldKey(call, 0);
        const LONG row = call.Count() > 1 ? call.Long(1) : 0;
        call.Return(row > 0 ? NewDictionary(bill->Cell(key, row)).get()
                            : NewDictionary(HeadData(bill, key)).get());
    });
    AddBillMember(object, bill, L"GetHeadValue",
                  [bill](Call& call) { call.Return(bill->Head(call.Text(0))); });
    AddBillMember(object, bill, L"SetValueByKey",
                  [bill](Call& call) { bill->SetHead(call.Text(0), call.Value(1)); });
    AddBillMember(object, bill, L"SetBarStatus", [bill](Call& call) {
        bill->barStatus[call.Text(0) + L"." + call.Text(1)] = call.Bool(2);
    });
    AddBillMember(object, bill, L"BarStatus", [bill](Call& call) {
        const auto found = bill->barStatus.find(call.Text(0) + L"." + call.Text(1));
        if (found != bill->barStatus.end()) call.Return(found->second);
    });
    AddBillMember(object, bill, L"LockBill", [bill](Call& call) { bill->locked = call.Bool(0); });
    AddFlag(object, L"Locked", &bill->locked);
    AddNumber(object, L"FieldsLocked", &bill->fieldsLocked);
    AddBillMember(object, bill, L"LockCell", [bill](Call& call) {
        const ComPtr<IDispatch> fieldInfo = call.Object(0);
        const std::wstring key = fieldInfo ? TextOf(GetItem(fieldInfo.get(), L"FKey").get()) : L"?";
        bill->cellLocks.push_back(key + L"=" + OnOff(call.Bool(2)));
    });
    AddBillMember(object, bill, L"CellLocks", [bill](Call& call) {
        std::wstring text;
        for (const auto& lock : bill->cellLocks)
            text += (text.empty() ? L"" : L";") + lock;
        call.Return(std::wstring_view(text));
    });
    // The client reloads a refreshed bill, which raises AfterLoadBill again.
    AddBillMember(object, bill, L"RefreshBill", [self](Call&) {
        State().Record(L"RefreshBill");
        Raise(*self, kAfterLoadBill);
    });
    AddBillMember(object, bill, L"ActiveBar",
                  [bill](Call& call) { call.Return(NewActiveBar(bill).get()); });
    AddEntryMembers(object, bill);
}

}  // namespace

ComPtr<IDispatch> NewBill(LONG classTypeId, const std::wstring& className) {
    auto bill = std::make_shared<BillState>();
    bill->classTypeId = classTypeId;
    bill->className = className;
    bill->head.emplace_back(L"FID", LongValue(static_cast<LONG>(State().bills.size()) + 5));
    bill->head.emplace_back(L"FBillNo", TextValue(L"CS000001"));
    bill->head.emplace_back(L"FCheckerID", LongValue(0));
    for (const wchar_t* key : {L"mnuEditCheck", L"mnuEditUnCheck", L"mnuFileSave"})
        bill->tools[key] = {false, true};
    for (const wchar_t* key : {L"mnuEditCopy", L"mnuEditDelRow"})
        bill->tools[key] = {true, true};
    State().bills.push_back(bill);

    auto object = EventSource(L"_BillEvent", L"BillEvent", L"__BillEvent");
    AddBillMembers(*object, bill);
    AddBillEvents(*object, bill);
    AddSourceMembers(*object);
    return AsDispatch(object);
}

ComPtr<IDispatch> NewList(LONG classTypeId) {
    auto bill = std::make_shared<BillState>();
    bill->classTypeId = classTypeId;
    for (const wchar_t* key : {L"mnuEdit", L"mnuEditCheck", L"mnuEditUnCheck", L"mnuEditCopy",
                               L"mnuEditDelEntry", L"mnuEditCopyEntry"})
        bill->tools[key] = {true, true};
    auto object = EventSource(L"_ListEvents", L"ListEvents", L"__ListEvents");
    FakeHostObject* self = object.get();
    AddMember(*object, L"DataSrv", [bill](Call& call) { call.Return(NewDataSrv(bill).get()); });
    AddMember(*object, L"RaiseBarInitialize", [self, bill](Call&) {
        const ComPtr<IDispatch> bar = NewActiveBar(bill);
        Raise(*self, kListBarInitialize, {Borrowed(bar.get())});
    });
    AddMember(*object, L"RaiseBarClick", [self, bill](Call& call) {
        const ComPtr<IDispatch> tool = NewTool(bill, call.Text(0));
        call.Return(RaiseBarClick(*self, kListBarClick, tool.get(), call.Bool(1)));
    });
    AddListMembers(*object, bill);
    AddSourceMembers(*object);
    return AsDispatch(object);
}

}  // namespace velaqm::testhost
