#include "host/bill_ctl.h"

#include <string>

#include "frame/host_error.h"
#include "host/bill_form.h"
#include "host/session.h"

namespace velaqm::host {

BillForm& HostBillCtl::Form() const {
    auto form = m_form.lock();
    if (!form) throw HostError(kErrObjectNotSet, "BillCtl", "The bill form is closed");
    return *form;
}

bool HostBillCtl::MutexSuccess() const {
    return Form().m_editLock.Held();
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
    const FieldDef& field = form.m_values.FieldOf(fieldInfo);
    form.m_fields.SetLocked(field, locked);
    form.m_session.Log().Add(EntryKind::Field, field.key + (entryColumn ? " column" : "") +
                                                   " locked=" + (locked ? "true" : "false"));
}

void HostBillCtl::LockCell(const DictionaryPtr& fieldInfo, int row, bool locked) {
    Form().LockCell(fieldInfo, row, locked);
}

void HostBillCtl::SetGridMaxRows(int /*page*/, int rowLimit) {
    Form().m_values.SetGridMaxRows(rowLimit);
}

bool HostBillCtl::IsHaveData(int page, int row) const {
    BillForm& form = Form();
    if (page != kEntryPage) return true;
    return form.m_values.RowHasData(row);
}

void HostBillCtl::SetData(const DictionaryPtr& data) {
    BillForm& form = Form();
    const DictionaryPtr identity = form.m_values.Data();
    form.m_values.Replace(data);
    form.KeepIdentity(identity);
    form.m_isChange = true;
    form.m_session.Log().Add(EntryKind::Form, "bill data replaced");
}

void HostBillCtl::DoFilldata(const DictionaryPtr& data) {
    BillForm& form = Form();
    const bool own = data == form.m_values.Data();
    if (!own) form.FillFromLinked(data);
    form.m_isChange = true;
    form.m_session.Log().Add(EntryKind::Form, own ? "bill shown afresh" : "bill filled");
}

void HostBillCtl::DoSelBill(int sourceClassTypeId) {
    Form().SelectSourceBills(sourceClassTypeId);
}

}  // namespace velaqm::host
