' The sample destruction plug-in inside the test host, handed a bill and a list: the copy tool
' taken away, the load rule of a saved record, the last row kept, a sampling record's samples
' filled through the grading data and the class link, the list's bar, and every reference given
' back.

Const kClass = 1001911
Dim host, bill, list, plugin, billReferences, listReferences, title, cancel, key, calls

On Error Resume Next
Set host = OpenTestHost()
title = MessageTitle(host)

Set bill = host.NewBill(kClass, "SampleDestroy")
Set list = host.NewList(kClass)
billReferences = bill.References
listReferences = list.References
Set plugin = CreateObject("VelaQMBillEvent.CSampleDestroy")
Check Ran(), "CreateObject VelaQMBillEvent.CSampleDestroy: " & lastError
plugin.Show bill
Check Ran(), "Show bill: " & lastError
plugin.Show list
Check Ran(), "Show list: " & lastError
Check bill.SinkCount = 1 And list.SinkCount = 1, "Show subscribes once to the bill and the list"

' The bill's bar: the audit tools shown, the copy tool hidden and disabled.
bill.RaiseBarInitialize
Check Ran(), "BarInitialize: " & lastError
Check bill.ActiveBar.Tools("mnuEditCheck").Visible = True, "the audit tool shown"
Check bill.ActiveBar.Tools("mnuEditCopy").Visible = False, "the copy tool hidden"
Check bill.ActiveBar.Tools("mnuEditCopy").Enabled = False, "and disabled"

' A saved record, loaded: its sampling record is locked, the samples too, the destruction cells
' of the filled row open.
bill.EntryValue "FSampleNo_2", 1, "S-1"
host.Clear
bill.RaiseAfterLoadBill
Check Ran(), "AfterLoadBill: " & lastError
Check bill.FieldLocked("FSampleNo") = True, "the sampling record is locked on a saved record"
Check bill.ColumnLocked("FSampleNo_2") = True, "the samples are locked"
For Each key In Array("FReason", "FDestroyerID", "FDestroyDate", "FNote")
    Check Has(bill.CellLocks, key & "=False"), key & " open in the filled row: " & bill.CellLocks
Next

' The last sample stays: deleting its row is refused.
host.Clear
cancel = bill.RaiseBarClick("mnuEditDelRow", False)
Check Ran(), "row delete of the last sample: " & lastError
Check cancel = True, "the delete is cancelled"
Check host.Messages = title & host.Unicode("4E0D 5141 8BB8 5220 9664 FF0C 5FC5 987B 4FDD 7559 " & _
      "4E00 884C 002E"), "one row must remain: " & host.Messages

' An audited sampling record's samples, found through the grading data, fill the bill.
host.AnswerQuery "a.FbillNo= 'QY-''1'", "FID,FClassTypeID,FEntryID", 5, 1001906, 1
bill.SetValueByKey "FSampleNO", "QY-'1"
host.Clear
bill.RaiseChange "FSampleNO", 0
Check Ran(), "Change of the sampling record: " & lastError
calls = host.Calls
Check Has(calls, "GradingData") And Has(calls, "a.FbillNo= 'QY-''1'"), _
      "the record's samples are asked for by its quoted number: " & calls
Check Has(calls, "ClassLink.SRCClassTypeID 1001906") And Has(calls, "ClassLink.selbills 1") And _
      Has(calls, "DoFilldata"), "and filled through the class link: " & calls

' The list's bar: no copy or entry tools.
list.ShowMode = 2
list.RaiseBarInitialize
Check Ran(), "list BarInitialize: " & lastError
For Each key In Array("mnuEditCopy", "mnuEditDelEntry", "mnuEditCopyEntry")
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
Finish "sample_destruction"
