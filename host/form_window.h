// The substitute host's window for the library's own forms. Shown modally, it hands what the
// scenario chose (`choose`) to the control it carries, until the form hides it or it is closed.
#pragma once

#include <string>
#include <string_view>

#include "frame/host_forms.h"
#include "host/session.h"

namespace velaqm::host {

// A control that takes what a person does in its window.
class ChoosingControl {
  public:
    virtual ~ChoosingControl() = default;
    virtual void Choose(const WindowChoice& choice) = 0;
};

class HostFormWindow final : public FormWindow {
  public:
    HostFormWindow(Session& session, FormWindowEvents& events)
        : m_session(session), m_events(events) {}

    std::string Caption() const override { return m_caption; }
    void SetCaption(std::string_view caption) override { m_caption = caption; }
    int ScaleWidth() const override { return kWidth; }
    int ScaleHeight() const override { return kHeight; }
    ObjectPtr AddControl(std::string_view progId) override;
    ControlBounds ControlRect() const override { return m_bounds; }
    void SetControlRect(const ControlBounds& bounds) override { m_bounds = bounds; }
    void ShowModal() override;
    void Hide() override { m_visible = false; }

  private:
    // The inner area of a new window, in twips.
    static constexpr int kWidth = 9600;
    static constexpr int kHeight = 6000;

    void CloseBox();

    Session& m_session;
    FormWindowEvents& m_events;
    std::string m_caption;
    ObjectPtr m_control;
    ControlBounds m_bounds;
    bool m_visible = false;
};

}  // namespace velaqm::host
