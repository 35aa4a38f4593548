// The controls of a bill form: its toolbar (and, on a menu-bar form, the menu bar that holds its
// tools), their state right after the plug-in built them, and where the cursor stands.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "frame/host_bill.h"
#include "host/catalog.h"
#include "host/parts/toolbar.h"

namespace velaqm::host {

class Session;

class BillControls {
  public:
    // Every tool's change of state goes to the session's transcript.
    BillControls(Session& session, bool menuBarForm);

    const HostActiveBarPtr& Toolbar() const { return m_toolbar; }
    // Null unless the form is a menu-bar form.
    const HostMenuBarPtr& MenuBar() const { return m_menuBar; }

    // Keeps the tools as the plug-in's BarInitialize or MenuBarInitialize left them, and puts
    // them back before each load, new or copy.
    void KeepBuiltState();
    void RestoreBuiltState();

    // The tool of a key, on the menu bar of a menu-bar form, else on the toolbar; null if none.
    HostToolPtr FindTool(std::string_view key) const;
    // A plug-in's switch of a tool's "Visible" or "Enabled"; a HostError for anything else.
    void SetBarStatus(std::string_view toolKey, std::string_view property, bool value);
    int ToolIndex(std::string_view band, std::string_view toolKey) const;

    // Puts the cursor on a field's cell and returns the row BeginEdit names (0 in the head).
    int Focus(const FieldDef& field, int row);
    void FocusGrid(std::optional<int> row);
    void FocusHead() { m_focusGrid = false; }
    // The grid row the cursor last stood on.
    int FocusRow() const { return m_focusRow; }
    // The key of the field last entered; empty before any.
    const std::string& FocusKey() const { return m_focusKey; }
    ActiveControlPtr ActiveControl() const;

    // The toolbar's bands, or the menu bar's line and bands.
    std::string Render() const;
    // The tools of a band of the menu bar (on a menu-bar form) or of the toolbar, as Render
    // shows them; nullopt when there is no such band.
    std::optional<std::string> BandText(std::string_view band) const;

  private:
    HostActiveBarPtr m_toolbar;
    HostMenuBarPtr m_menuBar;
    ToolbarSnapshot m_toolbarAfterInit;
    ToolbarSnapshot m_menuBarAfterInit;
    bool m_focusGrid = false;
    int m_focusRow = 1;
    std::string m_focusKey;
};

}  // namespace velaqm::host
