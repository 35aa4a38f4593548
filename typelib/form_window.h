// The library's own windows inside the ERP client: a top-level window owned by the client's
// active window, carrying one ActiveX control sited by the system's ATL control host (atl.dll,
// window class "AtlAxWin"), shown modally with a message loop of its own.
#pragma once

#include <windows.h>

#include <exception>
#include <string>
#include <string_view>

#include "frame/host_forms.h"
#include "typelib/name_table.h"

namespace velaqm::com {

class ComFormWindow final : public FormWindow {
  public:
    // Throws HostError when the window cannot be created.
    ComFormWindow(FormWindowEvents& events, const NameTable& names);
    ~ComFormWindow() override;
    ComFormWindow(const ComFormWindow&) = delete;
    ComFormWindow& operator=(const ComFormWindow&) = delete;

    std::string Caption() const override;
    void SetCaption(std::string_view caption) override;
    int ScaleWidth() const override;
    int ScaleHeight() const override;
    ObjectPtr AddControl(std::string_view progId) override;
    ControlBounds ControlRect() const override;
    void SetControlRect(const ControlBounds& bounds) override;
    // Disables the owner while the window shows, as a modal form does; an error raised by the
    // form's handlers inside the loop ends it and is thrown here.
    void ShowModal() override;
    void Hide() override;

    HWND Handle() const { return m_window; }

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    FormWindowEvents& m_events;
    const NameTable& m_names;
    HWND m_window = nullptr;
    HWND m_control = nullptr;
    bool m_visible = false;
    std::exception_ptr m_failure;
};

}  // namespace velaqm::com
