// <windows.h> first: its MessageBox macro must not rename the platform's member.
#include <windows.h>
#undef MessageBox

#include <olectl.h>

#include "typelib/com_platform.h"

#include <filesystem>
#include <memory>
#include <type_traits>

#include "frame/host_error.h"
#include "frame/host_services.h"
#include "frame/text_util.h"
#include "typelib/com_raii.h"
#include "typelib/form_window.h"
#include "typelib/host_components.h"
#include "typelib/host_objects.h"
#include "typelib/module.h"

namespace velaqm::com {

namespace {

struct BitmapDeleter {
    void operator()(HBITMAP bitmap) const noexcept { DeleteObject(bitmap); }
};
using BitmapHandle = std::unique_ptr<std::remove_pointer_t<HBITMAP>, BitmapDeleter>;

constexpr int kPointerHourglass = 11;

// The ProgID COM is asked for: the deployment's name for a class whose ProgID the library chose
// itself, the code's own otherwise.
std::string_view RegisteredProgId(std::string_view progId, const NameTable& names) {
    if (EqualsNoCase(progId, progid::kToolbarControl))
        return names.MemberOf("ToolbarControl.ProgID");
    return progId;
}

}  // namespace

// The adapter follows the code's ProgID: a renamed class still has the contract it was asked for.
ObjectPtr ComPlatform::CreateObject(std::string_view progId) {
    const std::string_view registered = RegisteredProgId(progId, m_names);
    const std::wstring name = WideOf(registered);
    CLSID clsid{};
    ComPtr<IDispatch> object;
    if (FAILED(CLSIDFromProgID(name.c_str(), &clsid)) ||
        FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IDispatch, object.put_void())) ||
        !object)
        throw HostError(kErrCannotCreate, std::string(registered),
                        "ActiveX component can't create object: " + std::string(registered));
    return AdaptComponent(progId, std::move(object), m_names);
}

// The bitmap becomes an OLE picture, which owns it from then on; until then the handle is ours.
ObjectPtr ComPlatform::LoadResPicture(int resourceId) {
    BitmapHandle bitmap(static_cast<HBITMAP>(LoadImageW(ThisModule(), MAKEINTRESOURCEW(resourceId),
                                                        IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
    if (!bitmap)
        throw HostError(kErrResourceNotFound, "VelaQMBillEvent",
                        "Resource with identifier '" + std::to_string(resourceId) + "' not found");
    PICTDESC description{};
    description.cbSizeofstruct = sizeof description;
    description.picType = PICTYPE_BITMAP;
    description.bmp.hbitmap = bitmap.get();
    ComPtr<IDispatch> picture;
    Check(OleCreatePictureIndirect(&description, IID_IDispatch, TRUE, picture.put_void()),
          "OleCreatePictureIndirect");
    bitmap.release();
    return AdaptDispatch(std::move(picture), m_names);
}

FormWindowPtr ComPlatform::CreateFormWindow(FormWindowEvents& events) {
    return std::make_shared<ComFormWindow>(events, m_names);
}

int ComPlatform::MessageBox(std::string_view text, int flags, std::string_view title) {
    const std::wstring wideText = WideOf(text);
    const std::wstring wideTitle = WideOf(title);
    return MessageBoxW(GetActiveWindow(), wideText.c_str(), wideTitle.c_str(),
                       static_cast<UINT>(flags));
}

void ComPlatform::SetMousePointer(int pointer) {
    SetCursor(LoadCursorW(nullptr, pointer == kPointerHourglass ? IDC_WAIT : IDC_ARROW));
}

void ComPlatform::DoEvents() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

std::string ComPlatform::ComputerName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    if (!GetComputerNameW(name, &size))
        throw HostError(static_cast<std::int32_t>(HRESULT_FROM_WIN32(GetLastError())),
                        "GetComputerName", "The computer name cannot be read");
    return Utf8Of(std::wstring_view(name, size));
}

int ComPlatform::ProcessId() {
    return static_cast<int>(GetCurrentProcessId());
}

Date ComPlatform::Now() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return Date(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
}

// The folder of the client's program file (the process's, not this DLL's).
std::string ComPlatform::ClientDirectory() {
    wchar_t program[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, program, MAX_PATH);
    return Utf8Of(std::filesystem::path(std::wstring(program, length)).parent_path().wstring());
}

std::optional<int> ComPlatform::GetAttr(std::string_view path) {
    const DWORD attributes = GetFileAttributesW(WideOf(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    return static_cast<int>(attributes & 0xFF);
}

void ComPlatform::SetAttr(std::string_view path, int attributes) {
    if (!SetFileAttributesW(WideOf(path).c_str(), static_cast<DWORD>(attributes)))
        throw HostError(kErrPermissionDenied, "SetAttr", "Permission denied: " + std::string(path));
}

ComPlatform& EnsureComPlatform() {
    static ComPlatform platform(NameTable::Load(std::filesystem::path(ModulePath()).parent_path() /
                                                "VelaQMBillEvent.names"));
    static const bool installed = (InstallPlatform(&platform), true);
    (void)installed;
    return platform;
}

}  // namespace velaqm::com
