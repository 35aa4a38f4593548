#include "host/bill_entry_pages.h"

#include <string>
#include <string_view>

#include "frame/host_error.h"
#include "host/bill_form.h"

namespace velaqm::host {

// Named outside the unnamed namespace so that the form can befriend it: a column sets its
// display flag among the form's field states.
class HostEntryColumn final : public EntryColumn {
  public:
    HostEntryColumn(std::weak_ptr<BillForm> form, std::string key)
        : m_form(std::move(form)), m_key(std::move(key)) {}
    void SetRow(int row) override { m_row = row; }
    Variant Value() const override {
        auto form = m_form.lock();
        if (!form) throw HostError(kErrObjectNotSet, "EntryPage", "The bill form is closed");
        return form->GetEntryValue(m_key, m_row);
    }
    void SetDisplayFlag(bool value) override {
        if (auto form = m_form.lock()) form->m_fields.SetColumnFlag(m_key, value);
    }

  private:
    std::weak_ptr<BillForm> m_form;
    std::string m_key;
    int m_row = 1;
};

namespace {

class HostEntryPage final : public EntryPage {
  public:
    explicit HostEntryPage(std::weak_ptr<BillForm> form) : m_form(std::move(form)) {}
    // A HostError for a key the bill has no field for.
    EntryColumnPtr Columns(std::string_view key) const override {
        auto form = m_form.lock();
        if (!form || !form->Def().Field(key))
            throw HostError(kErrSubscript, "EntryPage", "No column " + std::string(key));
        return std::make_shared<HostEntryColumn>(m_form, std::string(key));
    }

  private:
    std::weak_ptr<BillForm> m_form;
};

}  // namespace

EntryPagePtr HostEntryPages::Item(int index) const {
    if (index != 1) throw HostError(kErrSubscript, "EntryPages", "Subscript out of range");
    return std::make_shared<HostEntryPage>(m_form);
}

}  // namespace velaqm::host
