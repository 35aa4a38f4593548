' The item supply plug-in inside the test host, which stands in for the ERP client: the copy tool
' hidden, a check mode without inspection locking its row's scheme, shares short of 100 refused
' at saving, a saved definition of the item found through the planning component, and every
' reference given back.

Const kClass = 1001908
Dim host, bill, plugin, references, title, cancel

On Error Resume Next
Set host = OpenTestHost()
title = MessageTitle(host)

Set bill = host.NewBill(kClass, "ItemSupply")
references = bill.References
Set plugin = ShowPlugin("VelaQMBillEvent.cItemSupply", bill)

bill.RaiseBarInitialize
Check Ran(), "BarInitialize: " & lastError
Check bill.ActiveBar.Tools("mnuEditCopy").Visible = False, "the copy tool is hidden"
Check bill.ActiveBar.Tools("mnuEditCopy").Enabled = False, "and disabled"

' A row whose check mode needs no inspection: its scheme cell is locked, and unlocked again.
bill.EntryValue "FCheckMode", 1, 352
host.Clear
bill.RaiseChange "FCheckMode", 1
Check Ran(), "Change of the check mode: " & lastError
Check Has(bill.CellLocks, "FProjectID=True"), "the scheme is locked: " & bill.CellLocks
bill.EntryValue "FCheckMode", 1, 351
bill.RaiseChange "FCheckMode", 1
Check Has(bill.CellLocks, "FProjectID=False"), "and unlocked: " & bill.CellLocks
Check host.Messages = "", "nothing shown: " & host.Messages

' Shares that fall short of 100 refuse the save.
bill.EntryValue "FOrderPercent", 1, 60
bill.EntryValue "FOrderPercent", 2, 39.5
host.Clear
cancel = bill.RaiseBeforeSave(False)
Check Ran(), "BeforeSave: " & lastError
Check cancel = True, "the save is cancelled"
Check host.Messages = title & host.Unicode("8BA2 8D27 6BD4 4F8B 4E4B 548C 4E0D 80FD 5C0F 4E8E " & _
      "0031 0030 0030"), "the shares are named: " & host.Messages

' The item check: a saved definition of the item is found through the planning component.
bill.SetValueByKey "FItemID", 7
host.AnswerQuery "QMItemSupplyInfo where fitemid= 7", "FInterID,FItemID", 3, 7
host.Clear
Check plugin.CheckItemUniq() = True, "a saved definition of the item is found"
Check Ran(), "CheckItemUniq: " & lastError
Check Has(host.Calls, "MrpRuntime select * from QMItemSupplyInfo where fitemid= 7"), _
      "the item is asked for by its number: " & host.Calls
Check host.Messages = title & host.Unicode("5DF2 5B58 5728 6B64 7269 6599 6765 6E90 5173 7CFB " & _
      "5B9A 4E49 FF0C 4E0D 80FD 91CD 590D 5F55 5165 0021"), "the definition is named: " & host.Messages
bill.SetValueByKey "FItemID", 8
host.Clear
Check plugin.CheckItemUniq() = False, "an item without a definition passes"

Set plugin = Nothing
Check Ran(), "release: " & lastError
CheckGivenBack bill, references, "bill"
Set bill = Nothing
Set host = Nothing
On Error GoTo 0
Finish "item_supply"
