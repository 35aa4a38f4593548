#include "host/bill_controls.h"

#include <memory>
#include <utility>

#include "frame/host_error.h"
#include "frame/text_util.h"
#include "host/form_support.h"
#include "host/session.h"

namespace velaqm::host {

namespace {

// The control the cursor stands in, as the form tells its plug-in: "grid" on an entry row, or
// "head" (row 0).
class HostActiveControl final : public velaqm::ActiveControl {
  public:
    HostActiveControl(std::string name, int row) : m_name(std::move(name)), m_row(row) {}
    std::string Name() const override { return m_name; }
    int ActiveRow() const override { return m_row; }

  private:
    std::string m_name;
    int m_row;
};

}  // namespace

BillControls::BillControls(Session& session, bool menuBarForm)
    : m_toolbar(MakeBillToolBar()), m_menuBar(menuBarForm ? MakeBillMenuBar() : nullptr) {
    ObserveTools(session, *m_toolbar);
    if (m_menuBar) ObserveTools(session, *m_menuBar);
}

void BillControls::KeepBuiltState() {
    if (m_menuBar)
        m_menuBarAfterInit = m_menuBar->Snapshot();
    else
        m_toolbarAfterInit = m_toolbar->Snapshot();
}

void BillControls::RestoreBuiltState() {
    m_toolbar->Restore(m_toolbarAfterInit);
    if (m_menuBar) m_menuBar->Restore(m_menuBarAfterInit);
}

HostToolPtr BillControls::FindTool(std::string_view key) const {
    return m_menuBar ? m_menuBar->FindTool(key) : m_toolbar->FindTool(key);
}

void BillControls::SetBarStatus(std::string_view toolKey, std::string_view property, bool value) {
    const HostToolPtr found = FindTool(toolKey);
    if (!found) throw HostError(35601, "ActiveBar", "Element not found: " + std::string(toolKey));
    if (EqualsNoCase(property, "Visible"))
        found->SetVisible(value);
    else if (EqualsNoCase(property, "Enabled"))
        found->SetEnabled(value);
    else
        throw HostError(kErrInvalidCall, "BillEvent",
                        "Unknown tool property " + std::string(property));
}

int BillControls::ToolIndex(std::string_view band, std::string_view toolKey) const {
    return m_toolbar->ToolIndex(band, toolKey);
}

int BillControls::Focus(const FieldDef& field, int row) {
    m_focusKey = field.key;
    if (field.page == 1) {
        m_focusGrid = false;
        return 0;
    }
    m_focusGrid = true;
    m_focusRow = row < 1 ? 1 : row;
    return m_focusRow;
}

void BillControls::FocusGrid(std::optional<int> row) {
    m_focusGrid = true;
    if (row) m_focusRow = *row;
}

ActiveControlPtr BillControls::ActiveControl() const {
    return std::make_shared<HostActiveControl>(m_focusGrid ? "grid" : "head",
                                               m_focusGrid ? m_focusRow : 0);
}

std::optional<std::string> BillControls::BandText(std::string_view band) const {
    const HostBandPtr found = m_menuBar ? m_menuBar->FindBand(band) : m_toolbar->FindBand(band);
    if (!found) return std::nullopt;
    return RenderTools(found->HostTools()->Tools());
}

std::string BillControls::Render() const {
    return m_menuBar ? m_menuBar->Render() + "\n" : m_toolbar->Render();
}

}  // namespace velaqm::host
