' The sampling standard plug-in inside a stand-in for the ERP client, driven as the client drives
' it: late-bound, with the bill's events raised through connection points. The test host
' (VelaQMTestHost.dll) makes the bill, keeps what the plug-in sets on its form and entry page, and
' its message-box watcher keeps what the plug-in shows. The checks are those of client_common.vbs,
' which the harness runs before this file.

Const kClass = 1001900
Const kFormula = 5
Const kSingleRow = 6
Dim host, bill, plugin, references, cancel, lotSizeMessage

On Error Resume Next
Set host = OpenTestHost()
' The product's title, then "Row 2's lot size must be above row 1's lot size, please check".
lotSizeMessage = MessageTitle(host) & host.Unicode("7B2C 0032 884C " & _
    "7684 005B 6279 91CF 005D 5E94 5927 4E8E 7B2C 0031 884C 7684 005B 6279 91CF 005D 002C " & _
    "8BF7 91CD 65B0 68C0 67E5 8F93 5165 FF01")

' Handed a bill, the plug-in subscribes to its events.
Set bill = host.NewBill(kClass, "SampleStandard")
references = bill.References
Set plugin = CreateObject("VelaQMBillEvent.SampleStandard")
Check Ran(), "CreateObject VelaQMBillEvent.SampleStandard: " & lastError
plugin.Show bill
Check Ran(), "Show bill: " & lastError
Check bill.SinkCount = 1, "Show subscribes once to the bill's events, found " & bill.SinkCount

' The formula method: the entry page emptied, only the formula typed in, with the formula tool.
host.Clear
bill.SetValueByKey "FSampMethodID", kFormula
cancel = bill.RaiseChange("FSampMethodID", 0)
Check Ran(), "Change of method to the formula method: " & lastError
Check cancel = False, "a change of method is not cancelled"
Check Has(host.Calls, "ClearPage 2"), "the entry page is emptied: " & host.Calls
Check bill.FieldEnabled("FFormula") = True, "formula enabled"
Check bill.FieldEnabled("FSampQty") = False, "sample quantity disabled"
Check bill.FieldEnabled("FQCLevelID") = False, "inspection level disabled"
Check bill.FieldEnabled("FAQLID") = False, "AQL disabled"
Check bill.FieldEnabled("FSwatchCode") = False, "code letter disabled"
Check bill.FieldText("FQCLevelID") = "" And Not IsEmpty(bill.FieldText("FQCLevelID")), _
      "inspection level emptied"
Check bill.ColumnLocked("FSwatchCode") = False, "code-letter column unlocked"
Check bill.BarStatus("mnuFormular", "Enabled") = True, "formula tool enabled"
Check bill.BarStatus("mnuEditAddRow", "Visible") = True, "row tools shown"
Check bill.GridMaxRows(0) = 500, "up to 500 rows, found " & bill.GridMaxRows(0)

' The single-row method: one row for any lot size, its lot size fixed, no row tools.
bill.SetValueByKey "FSampMethodID", kSingleRow
bill.RaiseChange "FSampMethodID", 0
Check Ran(), "Change of method to the single-row method: " & lastError
Check bill.GridMaxRows(0) = 1, "one row, found " & bill.GridMaxRows(0)
Check bill.EntryRowCount = 1, "the one row is written, found " & bill.EntryRowCount
Check CStr(bill.EntryValue("FLotSize", 1)) = "999999999999", _
      "its lot size is the open lot size: " & bill.EntryValue("FLotSize", 1)
Check Has(bill.CellLocks, "FLotSize=True"), "its lot size locked: " & bill.CellLocks
Check bill.BarStatus("mnuEditAddRow", "Visible") = False, "add-row tool hidden"
Check bill.BarStatus("mnuEditDelRow", "Visible") = False, "delete-row tool hidden"
Check bill.BarStatus("mnuFormular", "Enabled") = False, "formula tool disabled"
Check bill.FieldEnabled("FSampQty") = True, "sample quantity enabled"
Check bill.FieldEnabled("FFormula") = False, "formula disabled"

' Back to the formula method, rows typed in: a lot size not above the row before is refused,
' as the user types it and again at the save, with the same message.
bill.SetValueByKey "FSampMethodID", kFormula
bill.RaiseChange "FSampMethodID", 0
Check bill.EntryRowCount = 0, "a change of method empties the rows, found " & bill.EntryRowCount
bill.EntryValue("FLotSize", 1) = 100
bill.EntryValue("FFormula", 1) = "N*0.1"
bill.EntryValue("FLotSize", 2) = 50
bill.EntryValue("FFormula", 2) = "N*0.1"
Check Ran(), "rows typed in: " & lastError
host.Clear
cancel = bill.RaiseChange("FLotSize", 2)
Check Ran(), "Change of a lot size: " & lastError
Check cancel = True, "a falling lot size is refused as it is typed"
Check host.Messages = lotSizeMessage, "and said so: " & host.Messages
host.Clear
cancel = bill.RaiseBeforeSave(False)
Check Ran(), "BeforeSave with falling lot sizes: " & lastError
Check cancel = True, "the save is cancelled"
Check host.Messages = lotSizeMessage, "with the lot-size message: " & host.Messages

' Rising lot sizes with their formulas: the save goes ahead, nothing is shown.
bill.EntryValue("FLotSize", 2) = 200
host.Clear
cancel = bill.RaiseBeforeSave(False)
Check Ran(), "BeforeSave with rising lot sizes: " & lastError
Check cancel = False, "the save goes ahead"
Check host.Messages = "", "nothing shown: " & host.Messages

' Released, the plug-in ends its subscription and gives back every reference to the bill.
Set plugin = Nothing
Check Ran(), "release: " & lastError
CheckGivenBack bill, references, "bill"

Set bill = Nothing
Set host = Nothing
On Error GoTo 0
Finish "sample_standard"
