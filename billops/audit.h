// Audit (审核) and un-audit (反审核) of quality bills, from a bill form and from a list, with
// the rights check, the network task lock per bill, the messages and the user-action log.
#pragma once

#include <string>
#include <string_view>

#include "frame/host_bill.h"
#include "frame/host_toolbar.h"
#include "frame/variant.h"

namespace velaqm {

// The rights HasAccess asks for, the operations of a template's task-lock list, and the kind of
// the user-action log's lines about a bill.
inline constexpr int kRightAudit = 1;
inline constexpr int kRightDelete = 65536;
inline constexpr int kLockOperationDelete = 3;
inline constexpr int kLockOperationAudit = 4;
inline constexpr int kLogKindBill = 5;

// Audits (check true) or un-audits the bill shown in a bill form. A host error on the way goes
// back to the host with its number and source and a translated description.
void AuditBill(BillEvent& bill, bool check);

// The standard bill toolbar click: "mnuEditCheck" audits, "mnuEditUnCheck" un-audits. Returns
// false for any other tool, which is the plug-in's own to handle.
bool ClickAuditTool(BillEvent& bill, const ToolPtr& tool);

// Has the host's audit service audit (check true) or un-audit one bill: true when it changed
// the bill. `answer` receives the text the service has for the user either way.
bool CheckBillByService(const Variant& classTypeId, const Variant& billId, bool check,
                        std::string& answer);

// Audits or un-audits the bills selected in a list; quiet suppresses the messages of the loop.
void AuditSelectedBills(ListEvents& list, bool check, bool quiet);
void UnAuditSelectedBills(ListEvents& list, bool quiet);

// The user's right of the given kind on the bill's class (1 = audit).
bool HasAccess(const BillEvent& bill, int rightKind);
bool HasAccess(const DataSrv& billTemplate, int rightKind);
void ShowNoRight();

// Writes a line to the user-action log and clears any error it raised.
void WriteActionLog(int kind, std::string_view text, std::string_view functionCode);

// Takes the network task lock of an operation on one bill: a handle to release, -1 when the
// lock list configures none for the operation, 0 when the lock cannot be had (after a message).
int AcquireTaskLock(const Variant& lockList, int operationType, const Variant& billId);
void ReleaseTaskLock(int handle);

// Releases a positive task-lock handle when it goes out of scope.
class TaskLock {
  public:
    TaskLock(const Variant& lockList, int operationType, const Variant& billId)
        : m_handle(AcquireTaskLock(lockList, operationType, billId)) {}
    ~TaskLock();
    TaskLock(const TaskLock&) = delete;
    TaskLock& operator=(const TaskLock&) = delete;
    // False when another user's task holds the bill.
    bool Held() const { return m_handle != 0; }

  private:
    int m_handle;
};

// The rights function code of an audit log line, by subsystem ("SubID", any case) and class.
enum class AuditPath { BillForm, List };
std::string AuditFunctionCode(std::string_view subId, int classTypeId, bool check, AuditPath path);
// The same for the deletion of a bill from a list.
std::string DeleteFunctionCode(std::string_view subId, int classTypeId);

// The bill name used in the list path's messages.
std::string ListBillName(int classTypeId, std::string_view templateName);

}  // namespace velaqm
