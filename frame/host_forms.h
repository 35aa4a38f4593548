// The library's own windows and the host control that one of them carries: a form window the
// platform makes (a caption, an inner area, one hosted control, a modal show), and the host's
// list-selection control (`ICListSel`) with the actions it raises.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "frame/collections.h"
#include "frame/object.h"
#include "frame/variant.h"

namespace velaqm {

// What a form hears from its window.
class FormWindowEvents {
  public:
    virtual ~FormWindowEvents() = default;
    // The inner area changed size.
    virtual void Resize() = 0;
    // The user closes the window with its close box; a true `cancel` keeps it open.
    virtual void QueryUnload(bool& cancel) = 0;
};

struct ControlBounds {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// One window of the library's own, made by Platform::CreateFormWindow and destroyed with it.
class FormWindow : public Object {
  public:
    std::string TypeName() const override { return "Form"; }

    virtual std::string Caption() const = 0;
    virtual void SetCaption(std::string_view caption) = 0;
    // The inner area.
    virtual int ScaleWidth() const = 0;
    virtual int ScaleHeight() const = 0;
    // Creates the control of that class on the window (one per window); throws HostError when
    // the class cannot be created.
    virtual ObjectPtr AddControl(std::string_view progId) = 0;
    virtual ControlBounds ControlRect() const = 0;
    virtual void SetControlRect(const ControlBounds& bounds) = 0;
    // Shows the window modally: returns once it is hidden or closed.
    virtual void ShowModal() = 0;
    virtual void Hide() = 0;
};
using FormWindowPtr = std::shared_ptr<FormWindow>;

// What the list-selection control raises: a named action ("SelectOK", "Exit", ...).
class ListSelEventsSink {
  public:
    virtual ~ListSelEventsSink() = default;
    virtual void DoAction(const std::string& action) = 0;
};

// The settings of the list-selection control, read and written by name.
enum class ListSelProperty {
    ListShowStatus,     // integer
    DestBillTransType,  // text
    ListID,             // integer: the list template (the class type of its bills)
    TranType,           // integer
    BaseInfo,           // text: connection | user ID | user name
    MultiSelect,        // integer: not 0 lets the user pick several rows
    CanSelectMultiRow,  // boolean
    Filter,             // text: an SQL condition on the list
    LocalCnn,           // text: the local connection string
    SystemName,         // text
    SelectFlag,         // integer
};
// The member name of a property ("ListShowStatus").
std::string_view NameOf(ListSelProperty property);

// The host's list-selection control (class `VelaList.ICList`).
class ListSelControl : public Object {
  public:
    std::string TypeName() const override { return "ICList"; }

    virtual Variant Property(ListSelProperty property) const = 0;
    virtual void SetProperty(ListSelProperty property, const Variant& value) = 0;
    // Loads the list; false when it cannot be loaded.
    virtual bool InitData() = 0;
    // True while the control holds a confirmed selection.
    virtual bool OK() const = 0;
    // The selected rows, the list's recordset and its field descriptions.
    virtual Variant Selected() const = 0;
    virtual Variant GetListRs() const = 0;
    virtual Variant GetListFieldsDes() const = 0;
    // The entries describing the loaded list, from 1; each has "FName".
    virtual VectorPtr ListInfo() const = 0;
    // Closes the list the control holds.
    virtual void CloseList() = 0;

    virtual void Advise(ListSelEventsSink* sink) = 0;
    virtual void Unadvise(ListSelEventsSink* sink) = 0;
};
using ListSelControlPtr = std::shared_ptr<ListSelControl>;

namespace progid {
inline constexpr std::string_view kListSelControl = "VelaList.ICList";
}  // namespace progid

}  // namespace velaqm
