' The retained-sample observation log plug-in inside the test host, handed a bill and a list: the
' load rule of a saved log, a sample number no sampling record holds refused at saving, audit
' refused for a destroyed sample, the list's bar, and every reference given back.

Const kClass = 1001907
Dim host, bill, list, plugin, billReferences, listReferences, title, cancel, key

On Error Resume Next
Set host = OpenTestHost()
title = MessageTitle(host)

Set bill = host.NewBill(kClass, "WatchLog")
Set list = host.NewList(kClass)
billReferences = bill.References
listReferences = list.References
Set plugin = CreateObject("VelaQMBillEvent.WatchLogEvent")
Check Ran(), "CreateObject VelaQMBillEvent.WatchLogEvent: " & lastError
plugin.Show bill
Check Ran(), "Show bill: " & lastError
plugin.Show list
Check Ran(), "Show list: " & lastError
Check bill.SinkCount = 1 And list.SinkCount = 1, "Show subscribes once to the bill and the list"

' A saved log, loaded: its sample and scheme are locked, the check items too, and the observed
' values of the filled row stay open.
bill.EntryValue "FCheckItemID", 1, 2
host.Clear
bill.RaiseAfterLoadBill
Check Ran(), "AfterLoadBill: " & lastError
Check bill.FieldLocked("FSampleNo") = True, "the sample is locked on a saved log"
Check bill.FieldLocked("FCheckProjectName") = True, "the scheme is locked on a saved log"
Check bill.ColumnLocked("FCheckItemID") = True, "the check items are locked"
For Each key In Array("FVatchValue", "FVatchValueID", "FVatchValueQty", "FWatchResult", "FMemo1")
    Check Has(bill.CellLocks, key & "=False"), key & " open in the filled row: " & bill.CellLocks
Next

' A sample number no sampling record holds: asked for exactly, the save refused.
bill.SetValueByKey "FSampleNo", "S-'1"
host.Clear
cancel = bill.RaiseBeforeSave(False)
Check Ran(), "BeforeSave with an unknown sample: " & lastError
Check cancel = True, "the save is cancelled"
Check host.Messages = title & host.Unicode("53D6 6837 7F16 53F7 4E0D 5B58 5728 FF0C 8BF7 68C0 " & _
      "67E5 FF01"), "the unknown sample is named: " & host.Messages
Check Has(host.Calls, "FSampleNo='S-''1'"), "the sample is asked for by its quoted number: " & host.Calls

' A destroyed sample's log is not audited.
host.AnswerQuery "select FDestoryFlag", "FDestoryFlag", True
host.Clear
cancel = bill.RaiseBarClick("mnuEditCheck", False)
Check Ran(), "audit of a destroyed sample's log: " & lastError
Check host.Messages = title & host.Unicode("6837 54C1 5DF2 7ECF 9500 6BC1 FF0C 4E0D 80FD 5BA1 " & _
      "6838 FF01"), "the destroyed sample is named: " & host.Messages
Check Not Has(host.Calls, "CheckBill"), "the audit service is not called: " & host.Calls

' The list's bar: no entry tools; outside the working modes no edit menu.
list.ShowMode = 2
list.RaiseBarInitialize
Check Ran(), "list BarInitialize: " & lastError
For Each key In Array("mnuEdit", "mnuEditDelEntry", "mnuEditCopyEntry")
    Check list.ActiveBar.Tools(key).Visible = False, key & " hidden on the list"
Next

Set plugin = Nothing
Check Ran(), "release: " & lastError
CheckGivenBack bill, billReferences, "bill"
CheckGivenBack list, listReferences, "list"
Set list = Nothing
Set bill = Nothing
Set host = Nothing
On Error GoTo 0
Finish "observation_log"
