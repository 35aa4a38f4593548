' The customer service log plug-in inside a stand-in for the ERP client, driven as the client
' drives it: late-bound, with the bill's events raised through connection points. The test host
' (VelaQMTestHost.dll) makes the bill and answers for the client's components; its message-box
' watcher keeps what the plug-in shows and presses OK. The checks are those of client_common.vbs,
' which the harness runs before this file.

Const kClass = 1001910
Dim host, bill, plugin, references, cancel, calls, messages, other, kind

On Error Resume Next
Set host = OpenTestHost()

' Handed a bill, the plug-in subscribes to its events.
Set bill = host.NewBill(kClass, "CustomerServiceLog")
references = bill.References
Set plugin = CreateObject("VelaQMBillEvent.ClientServiceLog")
plugin.Show bill
Check Ran(), "Show bill: " & lastError
Check bill.SinkCount = 1, "Show subscribes once to the bill's events, found " & bill.SinkCount

' BarInitialize: the audit tools of the toolbar are shown.
bill.RaiseBarInitialize
Check Ran(), "BarInitialize: " & lastError
Check bill.ActiveBar.Tools("mnuEditCheck").Visible = True, "BarInitialize shows mnuEditCheck"
Check bill.ActiveBar.Tools("mnuEditUnCheck").Visible = True, "BarInitialize shows mnuEditUnCheck"
Check bill.ActiveBar.Tools("mnuFileSave").Visible = False, "BarInitialize leaves other tools alone"

' AfterLoadBill on a bill being edited, held by this user and not audited.
bill.RaiseAfterLoadBill
Check Ran(), "AfterLoadBill: " & lastError
Check bill.BarStatus("mnuEditCheck", "Enabled") = True, "audit enabled on a bill being edited"
Check bill.BarStatus("mnuEditUnCheck", "Enabled") = True, "un-audit enabled on a bill being edited"
Check bill.BarStatus("mnuEditCheck", "Visible") = True, "audit menu shown to the holder"
Check bill.BarStatus("mnuEditAddRow", "Visible") = False, "row tools hidden"
Check IsEmpty(bill.BarStatus("mnuFileSave", "Enabled")), "save left alone on an editable bill"
Check bill.FieldsLocked = 0, "fields unlocked, found " & bill.FieldsLocked
Check bill.Locked = False, "lock switch off on a bill not audited"
Check Has(bill.CellLocks, "FBillNo=False"), "head cells unlocked: " & bill.CellLocks

' A click the client has already cancelled: the plug-in leaves it alone.
host.Clear
cancel = bill.RaiseBarClick("mnuEditCheck", True)
Check Ran(), "BarClick cancelled: " & lastError
Check cancel = True, "a cancel flag of True comes back True"
Check host.Calls = "", "a cancelled click calls nothing: " & host.Calls

' Audit: rights, the audit service, its answer shown, the bill reloaded and locked, the log.
host.Clear
cancel = bill.RaiseBarClick("mnuEditCheck", False)
Check Ran(), "BarClick audit: " & lastError
Check cancel = False, "the audit click leaves the cancel flag False"
calls = host.Calls
Check Has(calls, "AccessCheck 3 1001910 1"), "the audit right is checked: " & calls
Check Has(calls, "CheckBill 1001910 5 0"), "the audit service audits bill 5: " & calls
Check Has(calls, "RefreshBill"), "the bill is reloaded: " & calls
Check Has(calls, "WriteLog ") And Has(calls, "[CustomerServiceLog]") And Has(calls, "No.CS000001"), _
      "the action log names the bill: " & calls
messages = host.Messages
Check Has(messages, "audit done"), "the audit service's answer is shown: " & messages
Check Has(messages, MessageTitle(host)), "under the product's title"
Check bill.BillCtl.Isok = True, "the bill control is told the bill changed"
Check bill.Locked = True, "lock switch on after the audited bill is reloaded"
Check bill.FieldsLocked = 1, "fields locked on an audited bill"

' Audit again: refused with the plug-in's own message, the service is not called.
host.Clear
bill.RaiseBarClick "mnuEditCheck", False
Check Has(host.Messages, host.Unicode("8BE5 5355 5DF2 7ECF 5BA1 6838")), "already audited: " & host.Messages
Check Not Has(host.Calls, "CheckBill"), "no second audit: " & host.Calls

' Un-audit: the service un-audits, the reloaded bill is unlocked.
host.Clear
bill.RaiseBarClick "mnuEditUnCheck", False
Check Has(host.Calls, "CheckBill 1001910 5 1"), "the audit service un-audits: " & host.Calls
Check bill.Locked = False, "lock switch off after un-audit"
Check bill.FieldsLocked = 0, "fields unlocked after un-audit"

' Without the right: the plug-in's message, no audit.
host.Clear
host.RightGranted False
bill.RaiseBarClick "mnuEditCheck", False
Check Has(host.Messages, host.Unicode("6CA1 6709 76F8 5E94 7684 6743 9650")), "no right: " & host.Messages
Check Not Has(host.Calls, "CheckBill"), "no audit without the right: " & host.Calls
host.RightGranted True

' Held by another user: the audit menu is hidden and the fields stay locked.
bill.BillCtl.MutexSuccess = False
bill.RaiseAfterLoadBill
Check bill.BarStatus("mnuEditCheck", "Visible") = False, "audit menu hidden from another user"
Check bill.FieldsLocked = 1, "fields locked on a bill held by another user"
bill.BillCtl.MutexSuccess = True

' A failing client member: trapped silently after a load, returned to the client after a copy.
bill.FailingMember "LockBill"
host.Clear
bill.RaiseAfterLoadBill
Check Ran(), "AfterLoadBill traps the failure: " & lastError
Check host.Messages = "", "and shows nothing: " & host.Messages
bill.RaiseAfterCopyBill
Check Raised() <> 0 And Has(lastError, "LockBill failed"), _
      "AfterCopyBill returns the failure to the client: " & lastError
bill.FailingMember ""

' Released, the plug-in ends its subscription and gives back every reference to the bill.
Set plugin = Nothing
CheckGivenBack bill, references, "bill"

' A bill-only plug-in refuses any other object as VB's typed assignment does (Type mismatch),
' keeping neither a subscription nor a reference.
For Each kind In Array("list", "untyped")
    If kind = "list" Then Set other = host.NewList(kClass) Else Set other = host.NewUntyped()
    references = other.References
    Set plugin = CreateObject("VelaQMBillEvent.ClientServiceLog")
    plugin.Show other
    Check Raised() = 13, "Show " & kind & " is a type mismatch: " & lastError
    If kind = "list" Then Check other.SinkCount = 0, "no subscription to a list"
    Set plugin = Nothing
    Check other.References = references, "nothing keeps the " & kind
Next
Set plugin = CreateObject("VelaQMBillEvent.ClientServiceLog")
plugin.Show Nothing
Check Ran(), "Show Nothing: " & lastError
Set plugin = Nothing
Check Ran(), "release after Show Nothing: " & lastError

Set bill = Nothing
Set host = Nothing
On Error GoTo 0
Finish "client_service_log"
