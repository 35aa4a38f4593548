// The entry pages of a bill form as a plug-in reads them: the substitute's bills have one, page 1
// of the collection, whose columns a plug-in reads row by row by field key.
#pragma once

#include <memory>

#include "frame/host_bill.h"

namespace velaqm::host {

class BillForm;

class HostEntryPages final : public velaqm::EntryPages {
  public:
    explicit HostEntryPages(std::weak_ptr<BillForm> form) : m_form(std::move(form)) {}
    int Count() const override { return 1; }
    EntryPagePtr Item(int index) const override;

  private:
    std::weak_ptr<BillForm> m_form;
};

}  // namespace velaqm::host
