// The substitute host's toolbar and menu bar: tools with their state, keyed collections, bands,
// the standard bill and list toolbars, and what the forms need around them (a transcript hook,
// a snapshot to start every load from the same toolbar, a text rendering for `show`).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frame/host_toolbar.h"
#include "frame/variant.h"

namespace velaqm::host {

// Told of every change of a tool's Visible or Enabled: (tool key, "Visible" or "Enabled", new
// value). The forms write it to the transcript.
using ToolObserver =
    std::function<void(const std::string& key, std::string_view property, bool value)>;

// Error numbers of the toolbar control, as its collections raise them.
inline constexpr std::int32_t kErrIndexOutOfBounds = 35600;
inline constexpr std::int32_t kErrElementNotFound = 35601;
inline constexpr std::int32_t kErrKeyNotUnique = 35602;

// The library's one bitmap resource, the picture of the tools it adds.
inline constexpr int kLibraryBitmap = 1;

// A picture loaded from the library's resources: it names the resource it came from.
class HostPicture final : public Object {
  public:
    explicit HostPicture(int resourceId) : m_resourceId(resourceId) {}
    std::string TypeName() const override { return "Picture"; }
    int ResourceId() const { return m_resourceId; }

  private:
    int m_resourceId;
};

class HostTool : public Tool {
  public:
    // Everything a form restores before a load.
    struct State {
        bool visible = true;
        bool enabled = true;
        std::string caption;
        std::string toolTipText;
        std::string description;
        std::map<int, Variant> pictures;
        std::map<int, std::int32_t> maskColors;  // of the pictures set with one
        bool beginGroup = false;
    };

    // A menu-bar tool may carry a key other than its name; an empty key means the name.
    explicit HostTool(std::string name, std::string key = {});

    // A detached copy of any tool: name, key and state (all of it when the tool is one of ours;
    // visibility, enablement and picture 0 otherwise).
    static std::shared_ptr<HostTool> CopyOf(const Tool& tool);

    std::string Name() const override { return m_name; }
    std::string Key() const override { return m_key; }
    bool Visible() const override { return m_state.visible; }
    void SetVisible(bool visible) override;
    bool Enabled() const override { return m_state.enabled; }
    void SetEnabled(bool enabled) override;
    void SetCaption(std::string_view text) override { m_state.caption = text; }
    void SetToolTipText(std::string_view text) override { m_state.toolTipText = text; }
    void SetDescription(std::string_view text) override { m_state.description = text; }
    Variant GetPicture(int kind) const override;
    void SetPicture(int kind, const Variant& picture) override;
    void SetPicture(int kind, const Variant& picture, std::int32_t maskColor) override;
    void SetBeginGroup(bool value) override { m_state.beginGroup = value; }

    // The mask colour of the picture of that kind; nullopt when it was set without one.
    std::optional<std::int32_t> MaskColor(int kind) const;
    bool BeginGroup() const { return m_state.beginGroup; }
    const std::string& Caption() const { return m_state.caption; }
    const std::string& ToolTipText() const { return m_state.toolTipText; }
    const std::string& Description() const { return m_state.description; }

    const State& SavedState() const { return m_state; }
    // Puts a saved state back without telling the observer: the host resets, nobody clicks.
    void RestoreState(const State& state) { m_state = state; }

    // The observer of the toolbar the tool belongs to (shared by all its tools).
    void AttachObserver(std::shared_ptr<const ToolObserver> observer) {
        m_observer = std::move(observer);
    }

  private:
    void Notify(std::string_view property, bool value) const;

    std::string m_name;
    std::string m_key;
    State m_state;
    std::shared_ptr<const ToolObserver> m_observer;
};
using HostToolPtr = std::shared_ptr<HostTool>;

// A toolbar's own collection, or one of its bands'. Keys compare without regard to ASCII case.
class HostToolCollection : public ToolCollection {
  public:
    // A toolbar's own collection; `source` names the control in its errors.
    HostToolCollection(std::string source, std::shared_ptr<const ToolObserver> observer);
    // A band's collection, drawing its tools from the toolbar's own collection.
    HostToolCollection(std::string source, std::weak_ptr<const HostToolCollection> toolbar);

    int Count() const override { return static_cast<int>(m_tools.size()); }
    ToolPtr Item(std::string_view key) const override;
    ToolPtr ItemAt(int index) const override;
    void Insert(int position, const ToolPtr& tool) override;
    void InsertBefore(std::string_view key, const ToolPtr& tool) override;

    // A new tool of this toolbar appended to its own collection (not for bands).
    HostToolPtr AddTool(std::string name, std::string key = {});
    ToolPtr Add(std::string_view name) override { return AddTool(std::string(name)); }
    // The tool under key, or null.
    HostToolPtr Find(std::string_view key) const;
    // 0-based position of the tool under key, -1 when absent.
    int IndexOf(std::string_view key) const;
    const std::vector<HostToolPtr>& Tools() const { return m_tools; }
    // Replaces the whole content, for a snapshot being restored.
    void Reset(std::vector<HostToolPtr> tools) { m_tools = std::move(tools); }

  private:
    HostToolPtr Adopt(const ToolPtr& tool) const;
    std::shared_ptr<const ToolObserver> Observer() const;

    std::string m_source;
    std::shared_ptr<const ToolObserver> m_observer;     // a toolbar's collection
    std::weak_ptr<const HostToolCollection> m_toolbar;  // a band's collection
    std::vector<HostToolPtr> m_tools;
};
using HostToolCollectionPtr = std::shared_ptr<HostToolCollection>;

class HostBand : public Band {
  public:
    HostBand(std::string name, HostToolCollectionPtr tools)
        : m_name(std::move(name)), m_tools(std::move(tools)) {}
    std::string Name() const override { return m_name; }
    ToolCollectionPtr Tools() const override { return m_tools; }
    const HostToolCollectionPtr& HostTools() const { return m_tools; }

  private:
    std::string m_name;
    HostToolCollectionPtr m_tools;
};
using HostBandPtr = std::shared_ptr<HostBand>;

// Which tools a toolbar or menu bar held, in which order, and the state of each, as a form
// saves them right after building its toolbar.
class ToolbarSnapshot {
  public:
    // A snapshot never taken: restoring it changes nothing.
    bool Empty() const { return m_contents.empty(); }

  private:
    friend class HostActiveBar;
    friend class HostMenuBar;
    void Capture(const HostToolCollectionPtr& collection);
    void Restore() const;

    std::vector<std::pair<HostToolCollectionPtr, std::vector<HostToolPtr>>> m_contents;
    std::vector<HostBandPtr> m_bands;
    // Keyed by address: the tools are kept alive by m_contents.
    std::map<const HostTool*, HostTool::State> m_states;
};

// Keeps the observer every tool of one bar reports to.
class ObservedBar {
  public:
    void SetObserver(ToolObserver observer) { *m_observer = std::move(observer); }

  protected:
    ObservedBar() : m_observer(std::make_shared<ToolObserver>()) {}
    std::shared_ptr<ToolObserver> m_observer;
};

class HostActiveBar : public ActiveBar, public ObservedBar {
  public:
    HostActiveBar();

    ToolCollectionPtr Tools() const override { return m_tools; }
    BandPtr Bands(std::string_view name) const override;
    void RecalcLayout() override { ++m_layoutCount; }

    // A new empty band; a name already used is refused with a HostError.
    HostBandPtr AddBand(std::string name);
    // The band of that name (ASCII case ignored), or null.
    HostBandPtr FindBand(std::string_view name) const;
    const std::vector<HostBandPtr>& BandList() const { return m_bands; }
    const HostToolCollectionPtr& HostTools() const { return m_tools; }

    // The tool under key: the toolbar's own, else a band's copy; null when neither has one.
    HostToolPtr FindTool(std::string_view key) const;
    // 0-based position of the tool in the band; -1 when the band or the tool is absent.
    int ToolIndex(std::string_view band, std::string_view key) const;
    int LayoutCount() const { return m_layoutCount; }

    ToolbarSnapshot Snapshot() const;
    // Puts back the tools of the toolbar and of every band, and their states; tools inserted
    // since are dropped. Nothing is reported to the observer.
    void Restore(const ToolbarSnapshot& snapshot);

    // One line per band: its name and tools in order, each marked "(hidden)", "(disabled)" or
    // "(picture)" when so; tools of the toolbar that no band shows come last, under "(no band)".
    std::string Render() const;

  private:
    HostToolCollectionPtr m_tools;
    std::vector<HostBandPtr> m_bands;
    int m_layoutCount = 0;
};
using HostActiveBarPtr = std::shared_ptr<HostActiveBar>;

class HostMenuBar : public MenuBar, public ObservedBar {
  public:
    HostMenuBar();

    ToolCollectionPtr Tools() const override { return m_tools; }
    BandPtr Bands(std::string_view name) const override;
    const HostToolCollectionPtr& HostTools() const { return m_tools; }
    HostToolPtr FindTool(std::string_view key) const { return m_tools->Find(key); }

    // A new empty band over the menu bar's tools; a name already used is refused.
    HostBandPtr AddBand(std::string name);
    HostBandPtr FindBand(std::string_view name) const;

    ToolbarSnapshot Snapshot() const;
    void Restore(const ToolbarSnapshot& snapshot);
    // "menu:" and the tools in order, then one line per band, marked as in
    // HostActiveBar::Render.
    std::string Render() const;

  private:
    HostToolCollectionPtr m_tools;
    std::vector<HostBandPtr> m_bands;
};
using HostMenuBarPtr = std::shared_ptr<HostMenuBar>;

// The tools in order, each marked as HostActiveBar::Render marks them: "mnuA, mnuB (hidden)".
std::string RenderTools(const std::vector<HostToolPtr>& tools);

// The tools of the standard bill toolbar, in toolbar order.
const std::vector<std::string>& StandardBillTools();
// The list toolbar's tools before the push tools.
const std::vector<std::string>& StandardListTools();
// The push tool of a following bill type: "mnuPushBill_<classTypeId>".
std::string PushToolKey(int classTypeId);

// The toolbar of a bill form: bands "BandToolBar", "mnuFile", "mnuEdit" and "mnuData" over the
// standard bill tools, each tool one object shared by the bands that show it. Every tool is
// visible and enabled except mnuEditCheck and mnuEditUnCheck, which wait for a plug-in to show
// them.
HostActiveBarPtr MakeBillToolBar();
// The menu bar of a menu-bar form: the standard bill tools, in the same start states, shown in
// the bands "BandToolBar" and "mnuData" as on the bill toolbar.
HostMenuBarPtr MakeBillMenuBar();
// The toolbar of a bill list: bands "BandToolBar", "mnuEdit", "mnuData" and "mnuPush" over the
// list tools and one push tool per following class type; all visible and enabled.
HostActiveBarPtr MakeListToolBar(const std::vector<int>& pushClassTypeIds);

}  // namespace velaqm::host
