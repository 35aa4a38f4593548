#include "host/bill_ctl.h"

#include <string>

#include "frame/host_error.h"
#include "frame/text_util.h"
#include "host/bill_form.h"
#include "host/bill_store.h"
#include "host/session.h"

namespace velaqm::host {

namespace {

constexpr int kEntryPage = 2;

}  // namespace

BillForm& HostBillCtl::Form() const {
    auto form = m_form.lock();
    if (!form) throw HostError(kErrObjectNotSet, "BillCtl", "The bill form is closed");
    return *form;
}

bool HostBillCtl::MutexSuccess() const {
    return Form().m_mutexSuccess;
}

int HostBillCtl::BillStatus() const {
    return Form().BillStatus();
}

bool HostBillCtl::IsChange() const {
    return Form().m_isChange;
}

bool HostBillCtl::Isok() const {
    return Form().m_isok;
}

void HostBillCtl::SetIsok(bool value) {
    Form().m_isok = value;
}

void HostBillCtl::SetLockProperty(bool locked, const DictionaryPtr& fieldInfo, bool entryColumn) {
    BillForm& form = Form();
    const FieldDef& field = form.FieldOf(fieldInfo);
    form.m_fieldLocked[UpperAscii(field.key)] = locked;
    form.m_session.Log().Add(EntryKind::Field, field.key + (entryColumn ? " column" : "") +
                                                   " locked=" + (locked ? "true" : "false"));
}

void HostBillCtl::LockCell(const DictionaryPtr& fieldInfo, int row, bool locked) {
    Form().LockCell(fieldInfo, row, locked);
}

void HostBillCtl::SetGridMaxRows(int /*page*/, int rowLimit) {
    Form().m_gridMaxRows = rowLimit;
}

bool HostBillCtl::IsHaveData(int page, int row) const {
    BillForm& form = Form();
    if (page != kEntryPage) return true;
    const VectorPtr rows = form.EntryRows();
    if (!rows || row < 1 || static_cast<std::size_t>(row) > rows->Size()) return false;
    return RowHoldsData(rows->Item(static_cast<std::size_t>(row)).ObjectAs<Dictionary>());
}

void HostBillCtl::DoSelBill(int sourceClassTypeId) {
    Form().m_session.Log().Add(
        EntryKind::Form, "source-bill selection of class " + std::to_string(sourceClassTypeId));
}

}  // namespace velaqm::host
