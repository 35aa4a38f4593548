// The host's toolbar and menu-bar objects as the plug-ins see them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "frame/object.h"
#include "frame/variant.h"

namespace velaqm {

// One tool of a toolbar band or menu bar ("mnuEditCheck"). A menu-bar tool (CXPFTool) is a tool
// whose key may differ from its name.
class Tool : public Object {
  public:
    std::string TypeName() const override { return "Tool"; }

    virtual std::string Name() const = 0;
    virtual std::string Key() const { return Name(); }
    virtual bool Visible() const = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    // The label texts: caption, tool tip and description.
    virtual void SetCaption(std::string_view text) = 0;
    virtual void SetToolTipText(std::string_view text) = 0;
    virtual void SetDescription(std::string_view text) = 0;
    // The tool's picture of the given kind; Nothing when it has none.
    virtual Variant GetPicture(int kind) const = 0;
    virtual void SetPicture(int kind, const Variant& picture) = 0;
    // The picture drawn with maskColor (0xBBGGRR) as its transparent colour.
    virtual void SetPicture(int kind, const Variant& picture, std::int32_t maskColor) = 0;
    // A separator line before the tool wherever it is shown.
    virtual void SetBeginGroup(bool value) = 0;
};
using ToolPtr = std::shared_ptr<Tool>;

// A keyed collection of tools: the toolbar's own, or one band's.
class ToolCollection : public Object {
  public:
    std::string TypeName() const override { return "Tools"; }

    virtual int Count() const = 0;
    // The tool under key (its name); throws HostError when there is none.
    virtual ToolPtr Item(std::string_view key) const = 0;
    // The tool at a 0-based position.
    virtual ToolPtr ItemAt(int index) const = 0;
    // Inserts the tool before the 0-based position (Count() appends). A toolbar's collection
    // takes a copy of a tool from elsewhere; a band's takes the toolbar's own tool of that name.
    // A name already in the collection is refused with a HostError, as a duplicate key is.
    virtual void Insert(int position, const ToolPtr& tool) = 0;
    // Inserts the tool before the tool under key, as Insert does at its position; throws
    // HostError when the collection has no tool under key.
    virtual void InsertBefore(std::string_view key, const ToolPtr& tool) = 0;
    // A new tool of the toolbar under that name, appended (a toolbar's own collection only).
    virtual ToolPtr Add(std::string_view name) = 0;
};
using ToolCollectionPtr = std::shared_ptr<ToolCollection>;

class Band : public Object {
  public:
    std::string TypeName() const override { return "Band"; }
    virtual std::string Name() const = 0;
    virtual ToolCollectionPtr Tools() const = 0;
};
using BandPtr = std::shared_ptr<Band>;

// The host toolbar control (`oActiveBar`).
class ActiveBar : public Object {
  public:
    std::string TypeName() const override { return "ActiveBar"; }
    virtual ToolCollectionPtr Tools() const = 0;
    // The band of that name; throws HostError when there is none.
    virtual BandPtr Bands(std::string_view name) const = 0;
    virtual void RecalcLayout() = 0;
};
using ActiveBarPtr = std::shared_ptr<ActiveBar>;

// The menu bar of a menu-bar form (`oMenuBar`): its tools, shown in its menu and toolbar bands.
class MenuBar : public Object {
  public:
    std::string TypeName() const override { return "MenuBar"; }
    virtual ToolCollectionPtr Tools() const = 0;
    // The band of that name ("mnuData", "BandToolBar"); throws HostError when there is none.
    virtual BandPtr Bands(std::string_view name) const = 0;
};
using MenuBarPtr = std::shared_ptr<MenuBar>;

}  // namespace velaqm
