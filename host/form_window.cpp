#include "host/form_window.h"

#include "frame/host_error.h"
#include "host/transcript.h"

namespace velaqm::host {

ObjectPtr HostFormWindow::AddControl(std::string_view progId) {
    if (m_control) throw HostError(kErrInvalidCall, "Form", "The window already has a control");
    m_control = m_session.CreateObject(progId);
    return m_control;
}

void HostFormWindow::ShowModal() {
    m_visible = true;
    m_session.Log().Add(EntryKind::Form, "window \"" + m_caption + "\" shown");
    m_events.Resize();
    auto* control = dynamic_cast<ChoosingControl*>(m_control.get());
    while (m_visible) {
        const auto choice = m_session.TakeChoice("window \"" + m_caption + "\"");
        if (!choice || !control) {
            if (!control) m_session.AddProblem("the window \"" + m_caption + "\" has no control");
            CloseBox();
            m_visible = false;  // nobody left to act in it
        } else if (choice->kind == WindowChoice::Kind::Close) {
            CloseBox();
        } else {
            control->Choose(*choice);
        }
    }
    m_session.Log().Add(EntryKind::Form, "window \"" + m_caption + "\" closed");
}

void HostFormWindow::CloseBox() {
    bool cancel = false;
    m_events.QueryUnload(cancel);
    if (!cancel) m_visible = false;
}

}  // namespace velaqm::host
