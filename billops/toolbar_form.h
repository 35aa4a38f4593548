// The library's hidden toolbar form: never shown, it only carries a toolbar of the host's
// toolbar control whose tools "mnuEditCheck", "mnuEditUnCheck" and "mnuFormular" the plug-ins
// copy into the host's own toolbars.
#pragma once

#include <memory>
#include <string>

#include "frame/host_toolbar.h"

namespace velaqm {

class ToolbarForm final : public Object, public std::enable_shared_from_this<ToolbarForm> {
  public:
    std::string TypeName() const override { return "Form1"; }

    // The form of the running client, loaded when a plug-in first needs it; it stays hidden.
    static std::shared_ptr<ToolbarForm> Instance();

    const ActiveBarPtr& ABar() const { return m_bar; }

  private:
    void Load();

    ActiveBarPtr m_bar;
};

}  // namespace velaqm
