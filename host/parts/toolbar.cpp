#include "host/parts/toolbar.h"

#include <stdexcept>

#include "frame/host_error.h"
#include "frame/text_util.h"

namespace velaqm::host {

namespace {

constexpr std::string_view kActiveBarSource = "ActiveBar";
constexpr std::string_view kMenuBarSource = "MenuBar";

std::string Marks(const HostTool& tool) {
    std::string marks;
    auto mark = [&](bool holds, std::string_view what) {
        if (holds) marks += std::string(marks.empty() ? " (" : ", ") + std::string(what);
    };
    mark(!tool.Visible(), "hidden");
    mark(!tool.Enabled(), "disabled");
    mark(!tool.GetPicture(0).IsNothing(), "picture");
    return marks.empty() ? marks : marks + ")";
}

std::string RenderLine(std::string_view title, const std::vector<HostToolPtr>& tools) {
    std::string line(title);
    line += ":";
    if (!tools.empty()) line += " " + RenderTools(tools);
    return line + "\n";
}

}  // namespace

std::string RenderTools(const std::vector<HostToolPtr>& tools) {
    std::string text;
    for (const HostToolPtr& tool : tools)
        text += (text.empty() ? "" : ", ") + tool->Key() + Marks(*tool);
    return text;
}

// --- HostTool ------------------------------------------------------------------------------

HostTool::HostTool(std::string name, std::string key)
    : m_name(std::move(name)), m_key(key.empty() ? m_name : std::move(key)) {}

HostToolPtr HostTool::CopyOf(const Tool& tool) {
    if (const auto* ours = dynamic_cast<const HostTool*>(&tool)) {
        auto copy = std::make_shared<HostTool>(*ours);
        copy->m_observer.reset();
        return copy;
    }
    auto copy = std::make_shared<HostTool>(tool.Name(), tool.Key());
    copy->m_state.visible = tool.Visible();
    copy->m_state.enabled = tool.Enabled();
    copy->SetPicture(0, tool.GetPicture(0));
    return copy;
}

void HostTool::SetVisible(bool visible) {
    if (m_state.visible == visible) return;
    m_state.visible = visible;
    Notify("Visible", visible);
}

void HostTool::SetEnabled(bool enabled) {
    if (m_state.enabled == enabled) return;
    m_state.enabled = enabled;
    Notify("Enabled", enabled);
}

Variant HostTool::GetPicture(int kind) const {
    const auto found = m_state.pictures.find(kind);
    return found == m_state.pictures.end() ? Variant::Nothing() : found->second;
}

void HostTool::SetPicture(int kind, const Variant& picture) {
    m_state.maskColors.erase(kind);
    if (picture.IsNothing() || picture.IsEmpty())
        m_state.pictures.erase(kind);
    else
        m_state.pictures[kind] = picture;
}

void HostTool::SetPicture(int kind, const Variant& picture, std::int32_t maskColor) {
    SetPicture(kind, picture);
    if (m_state.pictures.contains(kind))
        m_state.maskColors[kind] = maskColor;
    else
        m_state.maskColors.erase(kind);
}

std::optional<std::int32_t> HostTool::MaskColor(int kind) const {
    const auto found = m_state.maskColors.find(kind);
    if (found == m_state.maskColors.end()) return std::nullopt;
    return found->second;
}

void HostTool::Notify(std::string_view property, bool value) const {
    if (m_observer && *m_observer) (*m_observer)(m_key, property, value);
}

// --- HostToolCollection --------------------------------------------------------------------

HostToolCollection::HostToolCollection(std::string source,
                                       std::shared_ptr<const ToolObserver> observer)
    : m_source(std::move(source)), m_observer(std::move(observer)) {}

HostToolCollection::HostToolCollection(std::string source,
                                       std::weak_ptr<const HostToolCollection> toolbar)
    : m_source(std::move(source)), m_toolbar(std::move(toolbar)) {}

ToolPtr HostToolCollection::Item(std::string_view key) const {
    if (HostToolPtr tool = Find(key)) return tool;
    throw HostError(kErrElementNotFound, m_source, "Element not found: " + std::string(key));
}

ToolPtr HostToolCollection::ItemAt(int index) const {
    if (index < 0 || index >= Count())
        throw HostError(kErrIndexOutOfBounds, m_source,
                        "Index out of bounds: " + std::to_string(index));
    return m_tools[static_cast<std::size_t>(index)];
}

void HostToolCollection::Insert(int position, const ToolPtr& tool) {
    if (!tool) throw HostError(kErrObjectRequired, m_source, "Object required");
    if (position < 0 || position > Count())
        throw HostError(kErrIndexOutOfBounds, m_source,
                        "Index out of bounds: " + std::to_string(position));
    const std::string key = tool->Key();
    if (IndexOf(key) >= 0)
        throw HostError(kErrKeyNotUnique, m_source, "Key is not unique in collection: " + key);
    m_tools.insert(m_tools.begin() + position, Adopt(tool));
}

void HostToolCollection::InsertBefore(std::string_view key, const ToolPtr& tool) {
    const int position = IndexOf(key);
    if (position < 0)
        throw HostError(kErrElementNotFound, m_source, "Element not found: " + std::string(key));
    Insert(position, tool);
}

HostToolPtr HostToolCollection::AddTool(std::string name, std::string key) {
    if (!m_observer) throw std::logic_error("tools are added to a toolbar, not to a band");
    auto tool = std::make_shared<HostTool>(std::move(name), std::move(key));
    if (IndexOf(tool->Key()) >= 0)
        throw HostError(kErrKeyNotUnique, m_source,
                        "Key is not unique in collection: " + tool->Key());
    tool->AttachObserver(m_observer);
    m_tools.push_back(tool);
    return tool;
}

HostToolPtr HostToolCollection::Find(std::string_view key) const {
    const int index = IndexOf(key);
    return index < 0 ? nullptr : m_tools[static_cast<std::size_t>(index)];
}

int HostToolCollection::IndexOf(std::string_view key) const {
    for (std::size_t i = 0; i < m_tools.size(); ++i) {
        if (EqualsNoCase(m_tools[i]->Key(), key)) return static_cast<int>(i);
    }
    return -1;
}

// A band shows the toolbar's own tool, so that both show one state; anything else is copied,
// as the control copies a tool that another toolbar owns.
HostToolPtr HostToolCollection::Adopt(const ToolPtr& tool) const {
    if (const auto toolbar = m_toolbar.lock()) {
        if (HostToolPtr own = toolbar->Find(tool->Key())) return own;
    }
    HostToolPtr copy = HostTool::CopyOf(*tool);
    copy->AttachObserver(Observer());
    return copy;
}

std::shared_ptr<const ToolObserver> HostToolCollection::Observer() const {
    if (m_observer) return m_observer;
    const auto toolbar = m_toolbar.lock();
    return toolbar ? toolbar->m_observer : nullptr;
}

// --- snapshots -----------------------------------------------------------------------------

void ToolbarSnapshot::Capture(const HostToolCollectionPtr& collection) {
    m_contents.emplace_back(collection, collection->Tools());
    for (const HostToolPtr& tool : collection->Tools())
        m_states.emplace(tool.get(), tool->SavedState());
}

void ToolbarSnapshot::Restore() const {
    for (const auto& [collection, tools] : m_contents)
        collection->Reset(tools);
    for (const auto& [collection, tools] : m_contents) {
        for (const HostToolPtr& tool : tools)
            tool->RestoreState(m_states.at(tool.get()));
    }
}

// --- HostActiveBar -------------------------------------------------------------------------

HostActiveBar::HostActiveBar()
    : m_tools(std::make_shared<HostToolCollection>(std::string(kActiveBarSource), m_observer)) {}

BandPtr HostActiveBar::Bands(std::string_view name) const {
    if (HostBandPtr band = FindBand(name)) return band;
    throw HostError(kErrElementNotFound, std::string(kActiveBarSource),
                    "Element not found: " + std::string(name));
}

HostBandPtr HostActiveBar::AddBand(std::string name) {
    if (FindBand(name))
        throw HostError(kErrKeyNotUnique, std::string(kActiveBarSource),
                        "Key is not unique in collection: " + name);
    auto tools = std::make_shared<HostToolCollection>(
        std::string(kActiveBarSource), std::weak_ptr<const HostToolCollection>(m_tools));
    auto band = std::make_shared<HostBand>(std::move(name), std::move(tools));
    m_bands.push_back(band);
    return band;
}

HostBandPtr HostActiveBar::FindBand(std::string_view name) const {
    for (const HostBandPtr& band : m_bands) {
        if (EqualsNoCase(band->Name(), name)) return band;
    }
    return nullptr;
}

HostToolPtr HostActiveBar::FindTool(std::string_view key) const {
    if (HostToolPtr tool = m_tools->Find(key)) return tool;
    for (const HostBandPtr& band : m_bands) {
        if (HostToolPtr tool = band->HostTools()->Find(key)) return tool;
    }
    return nullptr;
}

int HostActiveBar::ToolIndex(std::string_view band, std::string_view key) const {
    const HostBandPtr found = FindBand(band);
    return found ? found->HostTools()->IndexOf(key) : -1;
}

ToolbarSnapshot HostActiveBar::Snapshot() const {
    ToolbarSnapshot snapshot;
    snapshot.m_bands = m_bands;
    snapshot.Capture(m_tools);
    for (const HostBandPtr& band : m_bands)
        snapshot.Capture(band->HostTools());
    return snapshot;
}

void HostActiveBar::Restore(const ToolbarSnapshot& snapshot) {
    if (snapshot.Empty()) return;
    m_bands = snapshot.m_bands;
    snapshot.Restore();
}

std::string HostActiveBar::Render() const {
    std::string text;
    std::vector<HostToolPtr> unbanded;
    for (const HostToolPtr& tool : m_tools->Tools()) {
        bool shown = false;
        for (const HostBandPtr& band : m_bands)
            shown = shown || band->HostTools()->Find(tool->Key()) == tool;
        if (!shown) unbanded.push_back(tool);
    }
    for (const HostBandPtr& band : m_bands)
        text += RenderLine(band->Name(), band->HostTools()->Tools());
    if (!unbanded.empty()) text += RenderLine("(no band)", unbanded);
    return text;
}

// --- HostMenuBar ---------------------------------------------------------------------------

HostMenuBar::HostMenuBar()
    : m_tools(std::make_shared<HostToolCollection>(std::string(kMenuBarSource), m_observer)) {}

BandPtr HostMenuBar::Bands(std::string_view name) const {
    if (HostBandPtr band = FindBand(name)) return band;
    throw HostError(kErrElementNotFound, std::string(kMenuBarSource),
                    "Element not found: " + std::string(name));
}

HostBandPtr HostMenuBar::AddBand(std::string name) {
    if (FindBand(name))
        throw HostError(kErrKeyNotUnique, std::string(kMenuBarSource),
                        "Key is not unique in collection: " + name);
    auto tools = std::make_shared<HostToolCollection>(
        std::string(kMenuBarSource), std::weak_ptr<const HostToolCollection>(m_tools));
    auto band = std::make_shared<HostBand>(std::move(name), std::move(tools));
    m_bands.push_back(band);
    return band;
}

HostBandPtr HostMenuBar::FindBand(std::string_view name) const {
    for (const HostBandPtr& band : m_bands) {
        if (EqualsNoCase(band->Name(), name)) return band;
    }
    return nullptr;
}

ToolbarSnapshot HostMenuBar::Snapshot() const {
    ToolbarSnapshot snapshot;
    snapshot.m_bands = m_bands;
    snapshot.Capture(m_tools);
    for (const HostBandPtr& band : m_bands)
        snapshot.Capture(band->HostTools());
    return snapshot;
}

void HostMenuBar::Restore(const ToolbarSnapshot& snapshot) {
    if (snapshot.Empty()) return;
    m_bands = snapshot.m_bands;
    snapshot.Restore();
}

std::string HostMenuBar::Render() const {
    std::string text = RenderLine("menu", m_tools->Tools());
    for (const HostBandPtr& band : m_bands)
        text += RenderLine(band->Name(), band->HostTools()->Tools());
    return text;
}

// --- the standard bars ---------------------------------------------------------------------

namespace {

struct BandLayout {
    std::string_view band;
    std::vector<std::string_view> tools;
};

template <class Bar>
void AddBands(Bar& bar, const std::vector<BandLayout>& layout) {
    for (const BandLayout& entry : layout) {
        const HostToolCollectionPtr band = bar.AddBand(std::string(entry.band))->HostTools();
        for (std::string_view key : entry.tools)
            band->Insert(band->Count(), bar.HostTools()->Item(key));
    }
}

// The audit tools stay out of sight until a plug-in that audits shows them.
void HideAuditTools(const HostToolCollection& tools) {
    tools.Find("mnuEditCheck")->SetVisible(false);
    tools.Find("mnuEditUnCheck")->SetVisible(false);
}

}  // namespace

const std::vector<std::string>& StandardBillTools() {
    static const std::vector<std::string> tools = {
        "mnuFileNew",     "mnuFileSave",       "mnuEditCopy",     "mnuEditCheck",
        "mnuEditUnCheck", "mnuEditAddRow",     "mnuEditDelRow",   "mnuEditDelEntry",
        "mnuCopyRow",     "mnuBatchFillField", "mnuSelectBill",   "mnuDataLookUp",
        "mnuDataRefesh",  "mnuDataRedBill",    "mnuDataBlueBill", "mnuFileNeedFilter"};
    return tools;
}

const std::vector<std::string>& StandardListTools() {
    static const std::vector<std::string> tools = {
        "mnuEdit",          "mnuEditDelete",      "mnuEditCopy",        "mnuEditDelEntry",
        "mnuEditCopyEntry", "mnuDataViewPrvBill", "mnuDataViewNextBill"};
    return tools;
}

std::string PushToolKey(int classTypeId) {
    return "mnuPushBill_" + std::to_string(classTypeId);
}

HostActiveBarPtr MakeBillToolBar() {
    auto bar = std::make_shared<HostActiveBar>();
    for (const std::string& key : StandardBillTools())
        bar->HostTools()->AddTool(key);
    AddBands(
        *bar,
        {
            {"BandToolBar",
             {"mnuFileNew", "mnuFileSave", "mnuEditCopy", "mnuEditCheck", "mnuEditUnCheck",
              "mnuEditAddRow", "mnuEditDelRow", "mnuSelectBill", "mnuDataLookUp", "mnuDataRefesh"}},
            {"mnuFile", {"mnuFileNew", "mnuFileSave", "mnuFileNeedFilter"}},
            {"mnuEdit",
             {"mnuEditCopy", "mnuEditCheck", "mnuEditUnCheck", "mnuEditAddRow", "mnuEditDelRow",
              "mnuEditDelEntry", "mnuCopyRow", "mnuBatchFillField", "mnuSelectBill"}},
            {"mnuData", {"mnuDataLookUp", "mnuDataRefesh", "mnuDataRedBill", "mnuDataBlueBill"}},
        });
    HideAuditTools(*bar->HostTools());
    return bar;
}

HostMenuBarPtr MakeBillMenuBar() {
    auto bar = std::make_shared<HostMenuBar>();
    for (const std::string& key : StandardBillTools())
        bar->HostTools()->AddTool(key);
    AddBands(
        *bar,
        {
            {"BandToolBar",
             {"mnuFileNew", "mnuFileSave", "mnuEditCopy", "mnuEditCheck", "mnuEditUnCheck",
              "mnuEditAddRow", "mnuEditDelRow", "mnuSelectBill", "mnuDataLookUp", "mnuDataRefesh"}},
            {"mnuData", {"mnuDataLookUp", "mnuDataRefesh", "mnuDataRedBill", "mnuDataBlueBill"}},
        });
    HideAuditTools(*bar->HostTools());
    return bar;
}

HostActiveBarPtr MakeListToolBar(const std::vector<int>& pushClassTypeIds) {
    auto bar = std::make_shared<HostActiveBar>();
    for (const std::string& key : StandardListTools())
        bar->HostTools()->AddTool(key);
    std::vector<std::string> pushKeys;
    for (int classTypeId : pushClassTypeIds)
        pushKeys.push_back(bar->HostTools()->AddTool(PushToolKey(classTypeId))->Key());

    std::vector<std::string_view> toolBand = {"mnuEdit", "mnuEditDelete", "mnuEditCopy",
                                              "mnuDataViewPrvBill", "mnuDataViewNextBill"};
    std::vector<std::string_view> pushBand;
    for (const std::string& key : pushKeys) {
        toolBand.push_back(key);
        pushBand.push_back(key);
    }
    AddBands(
        *bar,
        {
            {"BandToolBar", toolBand},
            {"mnuEdit",
             {"mnuEdit", "mnuEditDelete", "mnuEditCopy", "mnuEditDelEntry", "mnuEditCopyEntry"}},
            {"mnuData", {"mnuDataViewPrvBill", "mnuDataViewNextBill"}},
            {"mnuPush", pushBand},
        });
    return bar;
}

}  // namespace velaqm::host
