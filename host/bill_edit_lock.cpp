#include "host/bill_edit_lock.h"

#include "frame/convert.h"
#include "host/native_sql.h"
#include "host/session.h"

namespace velaqm::host {

BillEditLock::BillEditLock(Session& session, int classTypeId)
    : m_session(session), m_classTypeId(classTypeId) {}

BillEditLock::Outcome BillEditLock::TryTake(int billId) const {
    Database& db = m_session.Db();
    Transaction transaction = db.BeginTransaction();
    const Variant holder =
        QueryValue(db, "SELECT FUserID FROM t_BillMutex WHERE FClassTypeID = ? AND FBillID = ?",
                   {m_classTypeId, billId});
    if (!holder.IsEmpty()) return {WholeNumber(holder) == m_session.User().userId, false};
    RunNative(db, "INSERT INTO t_BillMutex (FClassTypeID, FBillID, FUserID) VALUES (?, ?, ?)",
              {m_classTypeId, billId, m_session.User().userId});
    transaction.Commit();
    return {true, true};
}

void BillEditLock::Adopt(const Outcome& outcome) {
    m_held = outcome.held;
    m_taken = outcome.taken;
}

void BillEditLock::Release(int billId) {
    if (!m_taken) return;
    m_taken = false;
    RunNative(m_session.Db(),
              "DELETE FROM t_BillMutex WHERE FClassTypeID = ? AND FBillID = ? AND FUserID = ?",
              {m_classTypeId, billId, m_session.User().userId});
}

}  // namespace velaqm::host
