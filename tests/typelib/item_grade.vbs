' The item grade plug-in inside the test host, which stands in for the ERP client: the type of an
' item without batch management locked, a repeated grade refused and cleared, a second record of
' the main item refused at saving, and every reference given back.

Const kClass = 1001904
Dim host, bill, plugin, references, title, cancel

On Error Resume Next
Set host = OpenTestHost()
title = MessageTitle(host)

Set bill = host.NewBill(kClass, "ItemGrade")
references = bill.References
Set plugin = ShowPlugin("VelaQMBillEvent.CItemGrade", bill)

' An item that is not batch-managed: read through the grading data, its type locked.
bill.SetValueByKey "FItemID", 3
host.AnswerQuery "from t_icitem where FItemID=3", "FBatchManager", False
host.Clear
bill.RaiseChange "FItemID", 0
Check Ran(), "Change of the main item: " & lastError
Check Has(host.Calls, "GradingData select FBatchManager from t_icitem where FItemID=3"), _
      "the item's batch management is read: " & host.Calls
Check bill.FieldLocked("FType") = True, "the type is locked"
Check bill.FieldEnabled("FItemIDE") = True, "the grade products are open"
Check host.Messages = "", "nothing shown: " & host.Messages

' A grade a row already gives, typed as the main item's grade: refused and cleared.
bill.EntryValue "FGradeE", 1, "A"
bill.SetValueByKey "FGrade", "A"
host.Clear
bill.RaiseChange "FGrade", 0
Check Ran(), "Change of the grade: " & lastError
Check host.Messages = title & host.Unicode("5DF2 5B58 5728 6B64 7B49 7EA7 54C1 7B49 7EA7 FF0C " & _
      "8BF7 91CD 65B0 5F55 5165"), "the grade is named: " & host.Messages
Check Has(host.Calls, "SetText "), "and shown empty: " & host.Calls

' A new record of a main item that has one already is refused at saving.
bill.Mode = 1
host.AnswerQuery "QMItemGrade where fitemid= 3", "FID,FItemID", 4, 3
host.Clear
cancel = bill.RaiseBeforeSave(False)
Check Ran(), "BeforeSave: " & lastError
Check cancel = True, "the save is cancelled"
Check Has(host.Calls, "MrpRuntime select * from QMItemGrade where fitemid= 3"), _
      "the main item is asked for by its number: " & host.Calls
Check host.Messages = title & host.Unicode("5DF2 5B58 5728 6B64 7B49 7EA7 54C1 4FE1 606F FF0C " & _
      "4E0D 80FD 91CD 590D 5F55 5165 0021"), "the record is named: " & host.Messages
Check plugin.CheckItemUniq() = True, "and the public check finds it too"

Set plugin = Nothing
Check Ran(), "release: " & lastError
CheckGivenBack bill, references, "bill"
Set bill = Nothing
Set host = Nothing
On Error GoTo 0
Finish "item_grade"
