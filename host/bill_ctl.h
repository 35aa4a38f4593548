// The bill control of a bill form (the bill object's BillCtl): its edit lock, change and
// "is ok" flags, field and cell locks, and the grid's row limit. It holds the form weakly and
// fails as the client does once the form is closed.
#pragma once

#include <memory>

#include "frame/host_bill.h"

namespace velaqm::host {

class BillForm;

class HostBillCtl final : public velaqm::BillCtl {
  public:
    explicit HostBillCtl(std::weak_ptr<BillForm> form) : m_form(std::move(form)) {}

    bool MutexSuccess() const override;
    int BillStatus() const override;
    bool IsChange() const override;
    bool Isok() const override;
    void SetIsok(bool value) override;
    void SetLockProperty(bool locked, const DictionaryPtr& fieldInfo, bool entryColumn) override;
    void LockCell(const DictionaryPtr& fieldInfo, int row, bool locked) override;
    void SetGridMaxRows(int page, int rowLimit) override;
    void SetSumData(const DictionaryPtr& /*fieldInfo*/) override {}
    bool IsHaveData(int page, int row) const override;
    void DoSelBill(int sourceClassTypeId) override;
    void SetData(const DictionaryPtr& data) override;
    void DoFilldata(const DictionaryPtr& data) override;

  private:
    BillForm& Form() const;

    std::weak_ptr<BillForm> m_form;
};

}  // namespace velaqm::host
