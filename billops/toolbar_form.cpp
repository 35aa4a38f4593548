#include "billops/toolbar_form.h"

#include <array>
#include <string_view>
#include <utility>

#include "frame/host_services.h"
#include "frame/messages.h"
#include "frame/platform.h"

namespace velaqm {

namespace {

// Each tool with the text of its caption and tool tips.
constexpr std::array<std::pair<std::string_view, std::string_view>, 3> kTools{{
    {"mnuEditCheck", "审核"},
    {"mnuEditUnCheck", "反审核"},
    {"mnuFormular", "公式"},
}};

}  // namespace

std::shared_ptr<ToolbarForm> ToolbarForm::Instance() {
    // One form per client process; a fresh process state loads it anew.
    // Never destroyed, like the rest of the process state: it holds the client's toolbar
    // control, which must not be released while the library is being unloaded.
    static int loadedIn = -1;
    static auto* const form = new std::shared_ptr<ToolbarForm>;
    if (!*form || loadedIn != ProcessGeneration()) {
        auto loading = std::make_shared<ToolbarForm>();
        loading->Load();
        *form = std::move(loading);
        loadedIn = ProcessGeneration();
    }
    return *form;
}

void ToolbarForm::Load() {
    m_bar = CreateObject<ActiveBar>(progid::kToolbarControl);
    SetFormFont(shared_from_this());
    for (const auto& [key, text] : kTools) {
        const ToolPtr tool = m_bar->Tools()->Add(key);
        const std::string label = LoadCVString(text);
        tool->SetCaption(label);
        tool->SetToolTipText(label);
        tool->SetDescription(label);
    }
}

}  // namespace velaqm
