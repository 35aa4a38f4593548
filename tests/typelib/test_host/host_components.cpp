// The Host object a script starts from, the stub components under the client's ProgIDs, and the
// watcher that takes message boxes off the screen.
#include <memory>
#include <sstream>
#include <string>
#include <utility>

#include "fake_host.h"
#include "host_values.h"
#include "script_call.h"
#include "test_host.h"

namespace velaqm::testhost {

using com::testing::FakeHostObject;

HostState& State() {
    static HostState state;
    return state;
}

std::wstring ModuleFile() {
    HMODULE module = nullptr;
    GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCWSTR>(&ModuleFile), &module);
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(module, path, MAX_PATH);
    return path;
}

namespace {

std::wstring Joined(const std::vector<std::wstring>& lines) {
    std::wstring text;
    for (const auto& line : lines)
        text += (text.empty() ? L"" : L"\n") + line;
    return text;
}

// --- message boxes -------------------------------------------------------------------------

BOOL CALLBACK CollectText(HWND child, LPARAM into) {
    wchar_t className[32] = {};
    GetClassNameW(child, className, 32);
    if (lstrcmpiW(className, L"Static") != 0) return TRUE;
    wchar_t text[1024] = {};
    if (GetWindowTextW(child, text, 1024) > 0) {
        auto& collected = *reinterpret_cast<std::wstring*>(into);
        collected += (collected.empty() ? L"" : L" ") + std::wstring(text);
    }
    return TRUE;
}

LRESULT CALLBACK WatchProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        const HWND box = reinterpret_cast<HWND>(wParam);
        wchar_t className[16] = {};
        GetClassNameW(box, className, 16);
        if (lstrcmpW(className, L"#32770") == 0) {
            wchar_t title[256] = {};
            GetWindowTextW(box, title, 256);
            std::wstring text;
            EnumChildWindows(box, CollectText, reinterpret_cast<LPARAM>(&text));
            State().messages.push_back(std::wstring(title) + L": " + text);
            int answer = State().messageAnswer;
            if (!GetDlgItem(box, answer)) answer = GetDlgItem(box, IDOK) ? IDOK : IDCANCEL;
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(box, answer)));
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

void WatchMessageBoxes() {
    static thread_local HHOOK hook = nullptr;
    if (!hook) hook = SetWindowsHookExW(WH_CBT, WatchProc, nullptr, GetCurrentThreadId());
    if (!hook) throw ScriptError("cannot watch message boxes");
}

// --- the Host object -----------------------------------------------------------------------

ComPtr<IDispatch> NewHost() {
    auto host = NewScriptObject();
    HostState& state = State();
    AddMember(*host, L"NewBill", [](Call& call) {
        call.Return(NewBill(call.Long(0), call.Count() > 1 ? call.Text(1) : L"Bill").get());
    });
    AddMember(*host, L"NewList", [](Call& call) { call.Return(NewList(call.Long(0)).get()); });
    // An object with no type information at all.
    AddMember(*host, L"NewUntyped", [](Call& call) {
        auto untyped = NewScriptObject();
        FakeHostObject* self = untyped.get();
        AddMember(*untyped, L"References",
                  [self](Call& inner) { inner.Return(static_cast<LONG>(self->References())); });
        call.Return(AsDispatch(untyped).get());
    });
    // A text from its UTF-16 code units in hex ("5BA1 6838"), so that a script file stays ASCII
    // (Wine's VBScript has no ChrW).
    AddMember(*host, L"Unicode", [](Call& call) {
        std::wstring text;
        for (std::wistringstream codes(call.Text(0)); codes;) {
            unsigned code = 0;
            if (codes >> std::hex >> code) text += static_cast<wchar_t>(code);
        }
        call.Return(std::wstring_view(text));
    });
    AddMember(*host, L"WatchMessages", [&state](Call& call) {
        if (call.Count() > 0) state.messageAnswer = call.Long(0);
        WatchMessageBoxes();
    });
    AddMember(*host, L"Messages",
              [&state](Call& call) { call.Return(std::wstring_view(Joined(state.messages))); });
    AddMember(*host, L"Calls",
              [&state](Call& call) { call.Return(std::wstring_view(Joined(state.calls))); });
    AddMember(*host, L"Clear", [&state](Call&) {
        state.messages.clear();
        state.calls.clear();
    });
    AddMember(*host, L"PropsString", [&state](Call& call) {
        if (call.Count() == 1)
            state.propsString = call.Text(0);
        else
            call.Return(std::wstring_view(state.propsString));
    });
    AddMember(*host, L"RightGranted", [&state](Call& call) { state.rightGranted = call.Bool(0); });
    // AnswerQuery(part, "Column1,Column2", values...): the rows, values given row by row, that the
    // connection and the report data answer a statement containing `part` with.
    AddMember(*host, L"AnswerQuery", [&state](Call& call) {
        auto answer = std::make_shared<QueryAnswer>();
        answer->part = call.Text(0);
        std::wistringstream columns(call.Text(1));
        for (std::wstring column; std::getline(columns, column, L',');)
            answer->columns.push_back(column);
        const std::size_t width = answer->columns.size();
        for (std::size_t i = 2; i < call.Count(); ++i) {
            if (width == 0) throw ScriptError("values need columns");
            if ((i - 2) % width == 0) answer->rows.emplace_back();
            answer->rows.back().push_back(com::Variant::copy_ind(call.Value(i)));
        }
        state.answers.push_back(std::move(answer));
    });
    AddMember(*host, L"CheckSucceeds",
              [&state](Call& call) { state.checkSucceeds = call.Bool(0); });
    return AsDispatch(host);
}

// --- components ----------------------------------------------------------------------------

ComPtr<IDispatch> NewShareProps() {
    auto props = NewScriptObject();
    AddMember(*props, L"GetProperty", [](Call& call) {
        if (call.Text(0) == L"PropsString") call.Return(std::wstring_view(State().propsString));
    });
    return AsDispatch(props);
}

ComPtr<IDispatch> NewGLData() {
    auto rights = NewScriptObject();
    AddMember(*rights, L"AccessCheck", [](Call& call) {
        State().Record(L"AccessCheck " + call.Text(0) + L" " + call.Text(1) + L" " + call.Text(2));
        call.Return(State().rightGranted);
    });
    AddMember(*rights, L"WriteLog", [](Call& call) {
        State().Record(L"WriteLog " + call.Text(0) + L" " + call.Text(1) + L" " + call.Text(2));
    });
    return AsDispatch(rights);
}

// The check-value dialog: loads its one form, which records what it is given and its showing.
ComPtr<IDispatch> NewItemDialog() {
    auto dialog = NewScriptObject();
    AddMember(*dialog, L"Load", [](Call& call) {
        State().Record(L"Load " + call.Text(0));
        if (call.Text(0) != L"FrmItemValue") return;
        auto form = NewScriptObject();
        AddMember(*form, L"SetFunc", [](Call& inner) {
            const ComPtr<IDispatch> data = inner.Object(0);
            if (!data) throw ScriptError("SetFunc needs its dictionary");
            std::wstring given = L"SetFunc";
            for (const wchar_t* key : {L"FParentNumber", L"FGroupNumber", L"FItemID", L"FName"})
                given += L" " + std::wstring(key) + L"=" + TextOf(GetItem(data.get(), key).get());
            State().Record(given + L" " + inner.Text(1));
            inner.Return(true);
        });
        AddMember(*form, L"Show", [](Call& inner) { State().Record(L"Show " + inner.Text(0)); });
        call.Return(AsDispatch(form).get());
    });
    return AsDispatch(dialog);
}

// Audits or un-audits the bill named in the parameters and says so in "ReturnString".
ComPtr<IDispatch> NewBillSimpleCheck() {
    auto service = NewScriptObject();
    AddMember(*service, L"CheckBill", [](Call& call) {
        HostState& state = State();
        const ComPtr<IDispatch> params = call.Object(1);
        if (!params) throw ScriptError("CheckBill needs its parameters");
        const std::wstring billId = TextOf(GetItem(params.get(), L"InterID").get());
        const std::wstring uncheck = TextOf(GetItem(params.get(), L"CheckSwitch").get());
        state.Record(L"CheckBill " + TextOf(GetItem(params.get(), L"BillClassTypeid").get()) +
                     L" " + billId + L" " + uncheck);
        PutItem(params.get(), L"ReturnString", TextValue(state.checkReturn).get());
        if (state.checkSucceeds)
            state.SetChecker(std::stol(billId), uncheck == L"0" ? state.checkerId : 0);
        call.Return(state.checkSucceeds);
    });
    return AsDispatch(service);
}

ComPtr<IDispatch> NewResLoader() {
    auto loader = NewScriptObject();
    auto baseName = std::make_shared<std::wstring>();
    auto language = std::make_shared<std::wstring>();
    AddMember(*loader, L"ResFileBaseName", [baseName](Call& call) {
        if (call.Count() == 1)
            *baseName = call.Text(0);
        else
            call.Return(std::wstring_view(*baseName));
    });
    AddMember(*loader, L"LanguageID", [language](Call& call) {
        if (call.Count() == 1)
            *language = call.Text(0);
        else
            call.Return(std::wstring_view(*language));
    });
    // The texts are shown as written: the script runs in Chinese.
    AddMember(*loader, L"LoadString",
              [](Call& call) { call.Return(std::wstring_view(call.Text(0))); });
    return AsDispatch(loader);
}

ComPtr<IDispatch> NewLangInfo() {
    auto info = NewScriptObject();
    AddMember(*info, L"CurrentLanguage",
              [](Call& call) { call.Return(std::wstring_view(L"chs")); });
    return AsDispatch(info);
}

}  // namespace velaqm::testhost
