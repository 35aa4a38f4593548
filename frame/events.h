// Event members: the plug-in side of the host's events. An EventMember holds one host object
// and is subscribed to its events while it holds it, as a WithEvents variable is: assigning an
// object subscribes, assigning nothing or destroying the member unsubscribes. The plug-in names
// its handlers after member and event (`m_BillInterface_AfterLoadBill`) and binds them in a
// handler table; events without a handler do nothing.
#pragma once

#include <functional>
#include <memory>
#include <utility>

#include "frame/host_bill.h"
#include "frame/host_error.h"
#include "frame/host_forms.h"

namespace velaqm {

// Binds a member function of the plug-in as a handler: Handler(this, &Plugin::m_Bill_Change).
template <class C, class... Args>
auto Handler(C* self, void (C::*method)(Args...)) {
    return std::function<void(Args...)>(
        [self, method](Args... args) { (self->*method)(std::forward<Args>(args)...); });
}

struct BillEventHandlers {
    std::function<void()> AfterLoadBill{};
    std::function<void()> AfterNewBill{};
    std::function<void()> AfterCopyBill{};
    std::function<void()> AfterNewEmptyData{};
    std::function<void()> BeforLoadBillFillData{};
    std::function<void(bool&)> BeforeSave{};
    std::function<void(bool&)> AfterSave{};
    std::function<void(const DictionaryPtr&)> SaveBillSuccess{};
    std::function<void(int)> AfterSelBill{};
    std::function<void(int, const DataSrvPtr&, const DictionaryPtr&, std::string&,
                       const DictionaryPtr&)>
        BeforeSelBills{};
    std::function<void(int, const DictionaryPtr&, const DictionaryPtr&, const DictionaryPtr&)>
        AfterFillRow{};
    std::function<void(const ActiveBarPtr&)> BarInitialize{};
    std::function<void(const ToolPtr&, bool&)> BarClick{};
    std::function<void(const MenuBarPtr&)> MenuBarInitialize{};
    std::function<void(const ToolPtr&, bool&)> MenuBarClick{};
    std::function<void(const DictionaryPtr&, int, int)> BeginEdit{};
    std::function<void(const DictionaryPtr&, const DictionaryPtr&, int, int, bool&)> Change{};
    std::function<void(const DictionaryPtr&, const DictionaryPtr&, const Variant&,
                       const std::string&, const std::string&, const Variant&, bool&)>
        BeforeDoAction{};
    std::function<void(const VectorPtr&)> BeforeSetExportNote{};
};

struct ListEventHandlers {
    std::function<void(const Variant&, const VectorPtr&)> AfterSelList{};
    std::function<void(const ActiveBarPtr&)> BarInitialize{};
    std::function<void(const ToolPtr&, bool&)> BarClick{};
};

struct ListSelEventHandlers {
    std::function<void(const std::string&)> DoAction{};
};

namespace detail {

// Forwards each event to its handler, when the plug-in bound one.
class BillHandlerSink final : public BillEventsSink {
  public:
    explicit BillHandlerSink(BillEventHandlers handlers) : m_on(std::move(handlers)) {}
    void AfterLoadBill() override { Call(m_on.AfterLoadBill); }
    void AfterNewBill() override { Call(m_on.AfterNewBill); }
    void AfterCopyBill() override { Call(m_on.AfterCopyBill); }
    void AfterNewEmptyData() override { Call(m_on.AfterNewEmptyData); }
    void BeforLoadBillFillData() override { Call(m_on.BeforLoadBillFillData); }
    void BeforeSave(bool& bCancel) override { Call(m_on.BeforeSave, bCancel); }
    void AfterSave(bool& bCancel) override { Call(m_on.AfterSave, bCancel); }
    void SaveBillSuccess(const DictionaryPtr& d) override { Call(m_on.SaveBillSuccess, d); }
    void AfterSelBill(int type) override { Call(m_on.AfterSelBill, type); }
    void BeforeSelBills(int type, const DataSrvPtr& ds, const DictionaryPtr& link,
                        std::string& filter, const DictionaryPtr& param) override {
        Call(m_on.BeforeSelBills, type, ds, link, filter, param);
    }
    void AfterFillRow(int row, const DictionaryPtr& page, const DictionaryPtr& entry,
                      const DictionaryPtr& link) override {
        Call(m_on.AfterFillRow, row, page, entry, link);
    }
    void BarInitialize(const ActiveBarPtr& bar) override { Call(m_on.BarInitialize, bar); }
    void BarClick(const ToolPtr& tool, bool& cancel) override { Call(m_on.BarClick, tool, cancel); }
    void MenuBarInitialize(const MenuBarPtr& bar) override { Call(m_on.MenuBarInitialize, bar); }
    void MenuBarClick(const ToolPtr& tool, bool& cancel) override {
        Call(m_on.MenuBarClick, tool, cancel);
    }
    void BeginEdit(const DictionaryPtr& dct, int col, int row) override {
        Call(m_on.BeginEdit, dct, col, row);
    }
    void Change(const DictionaryPtr& dct, const DictionaryPtr& fld, int col, int row,
                bool& cancel) override {
        Call(m_on.Change, dct, fld, col, row, cancel);
    }
    void BeforeDoAction(const DictionaryPtr& dct, const DictionaryPtr& fld, const Variant& item,
                        const std::string& actionType, const std::string& action,
                        const Variant& parameters, bool& cancel) override {
        Call(m_on.BeforeDoAction, dct, fld, item, actionType, action, parameters, cancel);
    }
    void BeforeSetExportNote(const VectorPtr& notes) override {
        Call(m_on.BeforeSetExportNote, notes);
    }

  private:
    template <class F, class... A>
    static void Call(const F& handler, A&&... args) {
        if (handler) handler(std::forward<A>(args)...);
    }
    BillEventHandlers m_on;
};

class ListHandlerSink final : public ListEventsSink {
  public:
    explicit ListHandlerSink(ListEventHandlers handlers) : m_on(std::move(handlers)) {}
    void AfterSelList(const Variant& rsId, const VectorPtr& list) override {
        if (m_on.AfterSelList) m_on.AfterSelList(rsId, list);
    }
    void BarInitialize(const ActiveBarPtr& bar) override {
        if (m_on.BarInitialize) m_on.BarInitialize(bar);
    }
    void BarClick(const ToolPtr& tool, bool& cancel) override {
        if (m_on.BarClick) m_on.BarClick(tool, cancel);
    }

  private:
    ListEventHandlers m_on;
};

class ListSelHandlerSink final : public ListSelEventsSink {
  public:
    explicit ListSelHandlerSink(ListSelEventHandlers handlers) : m_on(std::move(handlers)) {}
    void DoAction(const std::string& action) override {
        if (m_on.DoAction) m_on.DoAction(action);
    }

  private:
    ListSelEventHandlers m_on;
};

template <class Host>
struct SinkFor;
template <>
struct SinkFor<BillEvent> {
    using Handlers = BillEventHandlers;
    using Sink = BillHandlerSink;
};
template <>
struct SinkFor<ListEvents> {
    using Handlers = ListEventHandlers;
    using Sink = ListHandlerSink;
};
template <>
struct SinkFor<ListSelControl> {
    using Handlers = ListSelEventHandlers;
    using Sink = ListSelHandlerSink;
};

}  // namespace detail

// EventMember<BillEvent>, EventMember<ListEvents> or EventMember<ListSelControl>.
template <class Host>
class EventMember {
  public:
    using Handlers = typename detail::SinkFor<Host>::Handlers;

    explicit EventMember(Handlers handlers) : m_sink(std::move(handlers)) {}
    EventMember(const EventMember&) = delete;
    EventMember& operator=(const EventMember&) = delete;
    ~EventMember() { Reset(); }

    // Replaces the held object: the old one loses the subscription, the new one gains it.
    EventMember& operator=(std::shared_ptr<Host> object) {
        if (object == m_object) return *this;
        Reset();
        if (object) object->Advise(&m_sink);  // an object that cannot be subscribed stays out
        m_object = std::move(object);
        return *this;
    }
    // Set to nothing: ends the subscription.
    void Reset() {
        if (m_object) m_object->Unadvise(&m_sink);
        m_object.reset();
    }

    Host* operator->() const { return Checked(); }
    Host& operator*() const { return *Checked(); }
    const std::shared_ptr<Host>& Get() const { return m_object; }
    explicit operator bool() const { return m_object != nullptr; }

  private:
    // Using a member that holds nothing is the run-time error "Object variable not set".
    Host* Checked() const {
        if (!m_object)
            throw HostError(kErrObjectNotSet, "", "Object variable or With block variable not set");
        return m_object.get();
    }

    std::shared_ptr<Host> m_object;
    typename detail::SinkFor<Host>::Sink m_sink;
};

}  // namespace velaqm
