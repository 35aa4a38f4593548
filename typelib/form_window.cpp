#include "typelib/form_window.h"

#include <oaidl.h>

#include <utility>

#include "frame/host_error.h"
#include "typelib/com_raii.h"
#include "typelib/host_components.h"

namespace velaqm::com {

namespace {

constexpr wchar_t kWindowClass[] = L"VelaQMBillEvent.Form";
constexpr wchar_t kControlClass[] = L"AtlAxWin";
constexpr int kWidth = 800;
constexpr int kHeight = 560;

HINSTANCE ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCWSTR>(&ThisModule), &module);
    return module;
}

// The control host of the system's ATL library, loaded from the system folder on first use and
// kept for the process: its window class must outlive every window made of it.
struct AtlControlHost {
    BOOL(WINAPI* AtlAxWinInit)() = nullptr;
    HRESULT(WINAPI* AtlAxGetControl)(HWND window, IUnknown** control) = nullptr;
};

template <class Function>
Function Export(HMODULE module, const char* name) {
    // Through the generic function type, the one cast between function types that is defined.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

const AtlControlHost* Atl() {
    static const AtlControlHost host = [] {
        AtlControlHost loaded;
        if (HMODULE atl = LoadLibraryExW(L"atl.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
            loaded.AtlAxWinInit = Export<decltype(loaded.AtlAxWinInit)>(atl, "AtlAxWinInit");
            loaded.AtlAxGetControl =
                Export<decltype(loaded.AtlAxGetControl)>(atl, "AtlAxGetControl");
        }
        return loaded;
    }();
    return host.AtlAxWinInit && host.AtlAxGetControl ? &host : nullptr;
}

[[noreturn]] void ThrowLastError(const char* what) {
    throw HostError(static_cast<std::int32_t>(HRESULT_FROM_WIN32(GetLastError())), "Form", what);
}

void RegisterWindowClass(WNDPROC procedure) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExW(ThisModule(), kWindowClass, &existing)) return;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = ThisModule();
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    if (!RegisterClassExW(&windowClass))
        ThrowLastError("The form's window class cannot be registered");
}

}  // namespace

ComFormWindow::ComFormWindow(FormWindowEvents& events, const NameTable& names)
    : m_events(events), m_names(names) {
    RegisterWindowClass(&ComFormWindow::WindowProc);
    m_window = CreateWindowExW(WS_EX_DLGMODALFRAME, kWindowClass, L"", WS_OVERLAPPEDWINDOW,
                               CW_USEDEFAULT, CW_USEDEFAULT, kWidth, kHeight, GetActiveWindow(),
                               nullptr, ThisModule(), this);
    if (!m_window) ThrowLastError("The form's window cannot be created");
}

ComFormWindow::~ComFormWindow() {
    SetWindowLongPtrW(m_window, GWLP_USERDATA, 0);  // no events while it goes
    DestroyWindow(m_window);
}

std::string ComFormWindow::Caption() const {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(m_window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(m_window, text.data(), static_cast<int>(text.size()))));
    return Utf8Of(text);
}

void ComFormWindow::SetCaption(std::string_view caption) {
    SetWindowTextW(m_window, WideOf(caption).c_str());
}

int ComFormWindow::ScaleWidth() const {
    RECT inner{};
    GetClientRect(m_window, &inner);
    return inner.right - inner.left;
}

int ComFormWindow::ScaleHeight() const {
    RECT inner{};
    GetClientRect(m_window, &inner);
    return inner.bottom - inner.top;
}

ObjectPtr ComFormWindow::AddControl(std::string_view progId) {
    const auto cannotCreate = [&] {
        return HostError(kErrCannotCreate, std::string(progId),
                         "ActiveX component can't create object: " + std::string(progId));
    };
    if (m_control) throw HostError(kErrInvalidCall, "Form", "The window already has a control");
    const AtlControlHost* atl = Atl();
    if (!atl) throw cannotCreate();
    atl->AtlAxWinInit();  // registers the host's window class; a second call changes nothing
    // The control host creates the control named by its window text as the window is made.
    m_control =
        CreateWindowExW(0, kControlClass, WideOf(progId).c_str(), WS_CHILD | WS_VISIBLE, 0, 0,
                        ScaleWidth(), ScaleHeight(), m_window, nullptr, ThisModule(), nullptr);
    if (!m_control) throw cannotCreate();
    ComPtr<IUnknown> control;
    ComPtr<IDispatch> automation;
    if (FAILED(atl->AtlAxGetControl(m_control, control.put())) || !control ||
        FAILED(control->QueryInterface(IID_IDispatch, automation.put_void()))) {
        DestroyWindow(std::exchange(m_control, nullptr));
        throw cannotCreate();
    }
    return AdaptComponent(progId, std::move(automation), m_names);
}

ControlBounds ComFormWindow::ControlRect() const {
    RECT rect{};
    if (!m_control) return {};
    GetWindowRect(m_control, &rect);
    MapWindowPoints(HWND_DESKTOP, m_window, reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

void ComFormWindow::SetControlRect(const ControlBounds& bounds) {
    if (m_control)
        MoveWindow(m_control, bounds.left, bounds.top, bounds.width, bounds.height, TRUE);
}

void ComFormWindow::ShowModal() {
    const HWND owner = GetWindow(m_window, GW_OWNER);
    const bool ownerWasEnabled = owner && IsWindowEnabled(owner);
    if (ownerWasEnabled) EnableWindow(owner, FALSE);
    m_visible = true;
    m_failure = nullptr;
    ShowWindow(m_window, SW_SHOWNORMAL);
    MSG message{};
    while (m_visible) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(message.wParam));  // the client's loop ends too
            break;
        }
        if (got == -1) break;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    Hide();
    if (ownerWasEnabled) {
        EnableWindow(owner, TRUE);
        SetActiveWindow(owner);
    }
    if (m_failure) std::rethrow_exception(std::exchange(m_failure, nullptr));
}

void ComFormWindow::Hide() {
    m_visible = false;
    ShowWindow(m_window, SW_HIDE);
    PostMessageW(m_window, WM_NULL, 0, 0);  // wakes the modal loop
}

LRESULT CALLBACK ComFormWindow::WindowProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<ComFormWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self || !self->m_window) return DefWindowProcW(window, message, wParam, lParam);
    try {
        return self->OnMessage(message, wParam, lParam);
    } catch (...) {
        // Errors must not cross the system's code: the modal loop throws them.
        self->m_failure = std::current_exception();
        self->Hide();
        return 0;
    }
}

LRESULT ComFormWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            m_events.Resize();
            return 0;
        case WM_CLOSE: {
            bool cancel = false;
            m_events.QueryUnload(cancel);
            if (!cancel) Hide();  // the form's owner unloads it by releasing it
            return 0;
        }
        default:
            return DefWindowProcW(m_window, message, wParam, lParam);
    }
}

}  // namespace velaqm::com
