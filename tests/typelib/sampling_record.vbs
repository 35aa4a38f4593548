' The sampling record plug-in inside a stand-in for the ERP client, handed both a bill and a list
' as the client hands them: late-bound, with their events raised through connection points. The
' test host (VelaQMTestHost.dll) makes the bill and the list, keeps what the plug-in sets on the
' form, answers the plug-in's statements with the rows this script gives, and its message-box
' watcher keeps what the plug-in shows. The checks are those of client_common.vbs, which the
' harness runs before this file.

Const kClass = 1001906
Const kPurchaseReceipt = 16
Const kProcessSampling = 17
Dim host, bill, list, plugin, other, key, calls, cancel, title
Dim billReferences, listReferences, references, severalRecords, severalRows

' A switch the plug-in set off (Empty, when it set none, is not off).
Function IsOff(value)
    IsOff = False
    If VarType(value) = vbBoolean Then IsOff = Not value
End Function

' The text of a row's message: "第" row and the rest, given as UTF-16 code units.
Function RowText(row, rest)
    RowText = host.Unicode("7B2C") & row & host.Unicode(rest)
End Function

On Error Resume Next
Set host = OpenTestHost()
' The product's title; "several bills" and "several rows cannot be selected, please select again".
title = MessageTitle(host)
severalRecords = title & host.Unicode("4E0D 80FD 9009 62E9 591A 5355 FF0C 8BF7 91CD 65B0 9009 62E9 FF01")
severalRows = title & host.Unicode("4E0D 80FD 9009 62E9 591A 884C FF0C 8BF7 91CD 65B0 9009 62E9 FF01")

' Handed a bill and a list, the plug-in subscribes to the events of each.
Set bill = host.NewBill(kClass, "SamplingRecord")
Set list = host.NewList(kClass)
billReferences = bill.References
listReferences = list.References
Set plugin = CreateObject("VelaQMBillEvent.SamplingLogEvent")
Check Ran(), "CreateObject VelaQMBillEvent.SamplingLogEvent: " & lastError
plugin.Show bill
Check Ran(), "Show bill: " & lastError
plugin.Show list
Check Ran(), "Show list: " & lastError
Check bill.SinkCount = 1, "Show subscribes once to the bill's events, found " & bill.SinkCount
Check list.SinkCount = 1, "Show subscribes once to the list's events, found " & list.SinkCount

' An object of another type name is ignored: no error, nothing kept, the subscriptions stay.
Set other = host.NewUntyped()
references = other.References
plugin.Show other
Check Ran(), "Show of an untyped object is ignored: " & lastError
Check other.References = references, "nothing keeps the untyped object"
Check bill.SinkCount = 1 And list.SinkCount = 1, "the bill and the list stay subscribed"
Set other = Nothing

' A saved record of process sampling, loaded: the fields of its sample type, the production task
' unlocked for it, then the source fields of a saved record locked.
bill.SetValueByKey "FSampleType", kProcessSampling
host.Clear
bill.RaiseAfterLoadBill
Check Ran(), "AfterLoadBill: " & lastError
For Each key In Array("FManTaskNo", "FWorkOrderNo", "FWorkProcID", "FWorkCenterID", _
                      "FWorkShopID", "FReqBillNo")
    Check bill.FieldEnabled(key) = True, key & " enabled for process sampling"
Next
For Each key In Array("FVendorID", "FWHID", "FSPID")
    Check IsOff(bill.FieldEnabled(key)), key & " disabled for process sampling"
Next
calls = host.Calls
Check Has(calls, "SetLockProperty False FManTaskNo"), "the production task is unlocked: " & calls
Check InStr(calls, "SetLockProperty False FManTaskNo") < InStr(calls, "SetLockProperty True FManTaskNo"), _
      "and locked after that as the source of a saved record: " & calls
For Each key In Array("FSampleType", "FManTaskNo", "FWorkOrderNo", "FReqBillNo")
    Check bill.FieldLocked(key) = True, key & " locked on a saved record"
Next

' A new record, loaded: the production task is unlocked and the source stays open.
bill.Mode = 1
host.Clear
bill.RaiseAfterLoadBill
Check Ran(), "AfterLoadBill of a new record: " & lastError
calls = host.Calls
Check Has(calls, "SetLockProperty False FManTaskNo"), "the production task unlocked: " & calls
Check Not Has(calls, "SetLockProperty True"), "no source field locked on a new record: " & calls
Check IsOff(bill.FieldLocked("FManTaskNo")), "the production task left unlocked"

' A saved purchase-receipt record whose second row repeats the first row's sample number: each
' number is looked for in the other records (none holds it), then the repeat refuses the save.
bill.Mode = 2
bill.SetValueByKey "FSampleType", kPurchaseReceipt
bill.EntryValue("FSampleNO", 1) = "S-1"
bill.EntryValue("FSampleNO", 2) = "S-1"
host.Clear
cancel = bill.RaiseBeforeSave(False)
Check Ran(), "BeforeSave with a repeated sample number: " & lastError
Check cancel = True, "the save is cancelled"
Check host.Messages = title & RowText(2, "884C 7684 6837 54C1 7F16 53F7 005B") & "S-1" & _
      host.Unicode("005D 5DF2 7ECF 5B58 5728 002C 8BF7 68C0 67E5 002E"), _
      "the repeated number is named: " & host.Messages
calls = host.Calls
Check Has(calls, "Execute select FSampleNO from QMSamplingEntry where FSampleNO= 'S-1' and FID<>"), _
      "the other records are asked for the number: " & calls

' A number another record holds.
host.AnswerQuery "FSampleNO= 'S-9'", "FSampleNO", "S-9"
bill.EntryValue("FSampleNO", 2) = "S-9"
host.Clear
cancel = bill.RaiseBeforeSave(False)
Check Ran(), "BeforeSave with a stored sample number: " & lastError
Check cancel = True, "a stored number cancels the save"
Check host.Messages = title & RowText(2, "884C 7684 6837 54C1 7F16 53F7 5DF2 7ECF 5B58 5728 FF0C " & _
      "8BF7 68C0 67E5 0021"), "the stored number is refused: " & host.Messages

' A storage deadline before the server's date, then one on it.
host.AnswerQuery "GetDate()", "Today", DateSerial(2026, 12, 7)
bill.EntryValue("FSampleNO", 2) = "S-2"
bill.EntryValue("FSaveDT", 2) = "2026-12-06"
host.Clear
cancel = bill.RaiseBeforeSave(False)
Check Ran(), "BeforeSave with a passed deadline: " & lastError
Check cancel = True, "a passed deadline cancels the save"
Check host.Messages = title & RowText(2, "884C 7684 4FDD 5B58 671F 9650 5FC5 987B 5927 4E8E 7B49 " & _
      "4E8E 5F53 524D 65E5 671F FF0C 8BF7 68C0 67E5 0021"), "the deadline is refused: " & host.Messages
Check Has(host.Calls, "GetData  Select GetDate()"), "the server's date is read: " & host.Calls
bill.EntryValue("FSaveDT", 2) = "2026-12-07"
host.Clear
cancel = bill.RaiseBeforeSave(False)
Check Ran(), "BeforeSave of sound samples: " & lastError
Check cancel = False, "the save goes ahead"
Check host.Messages = "", "nothing shown: " & host.Messages

' The list's bar without the copy tools. (In show modes 0 and 1 the plug-in also copies its audit
' tools in from a toolbar control of the client, which the test host does not offer.)
list.ShowMode = 2
list.RaiseBarInitialize
Check Ran(), "list BarInitialize: " & lastError
For Each key In Array("mnuEditCopy", "mnuEditDelEntry", "mnuEditCopyEntry")
    Check list.ActiveBar.Tools(key).Visible = False, key & " hidden on the list"
Next
Check list.ActiveBar.Tools("mnuEditCheck").Visible = True, "the audit tool stays on the list"

' Rows of two records are unselected with a message; rows of one record stay selected.
host.Clear
list.Select 5, 1, 6, 1
list.RaiseAfterSelList
Check Ran(), "AfterSelList over two records: " & lastError
Check list.SelectedCount = 0, "the selection is emptied, found " & list.SelectedCount
Check host.Messages = severalRecords, "one record at a time: " & host.Messages
host.Clear
list.Select 5, 1, 5, 2
list.RaiseAfterSelList
Check Ran(), "AfterSelList over one record: " & lastError
Check list.SelectedCount = 2, "two rows of one record stay selected, found " & list.SelectedCount
Check host.Messages = "", "nothing shown: " & host.Messages

' A push takes one sample: of several records or several rows it is cancelled. After a push
' command, rows of several records may be selected.
list.AddTool "mnuPushBill_1001907"
list.Select 5, 1, 6, 1
host.Clear
cancel = list.RaiseBarClick("mnuPushBill_1001907", False)
Check Ran(), "push of two records: " & lastError
Check cancel = True, "the push of two records is cancelled"
Check host.Messages = severalRecords, "with the several-records message: " & host.Messages
list.Select 5, 1, 5, 2
host.Clear
cancel = list.RaiseBarClick("mnuPushBill_1001907", False)
Check Ran(), "push of two rows: " & lastError
Check cancel = True, "the push of two rows is cancelled"
Check host.Messages = severalRows, "with the several-rows message: " & host.Messages
list.Select 5, 1, 6, 1
list.RaiseAfterSelList
Check list.SelectedCount = 2, "after a push command two records stay selected"

' Released, the plug-in ends both subscriptions and gives back every reference.
Set plugin = Nothing
Check Ran(), "release: " & lastError
CheckGivenBack bill, billReferences, "bill"
CheckGivenBack list, listReferences, "list"

Set list = Nothing
Set bill = Nothing
Set host = Nothing
On Error GoTo 0
Finish "sampling_record"
