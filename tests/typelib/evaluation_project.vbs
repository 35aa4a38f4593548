' The supplier evaluation project plug-in inside the test host, which stands in for the ERP
' client: a new project takes its marks from the system parameters, a weight gives its share of
' the total mark, weights that do not add up to 100 are refused at saving, and every reference is
' given back.

Const kClass = 1001901
Dim host, bill, plugin, references, cancel

On Error Resume Next
Set host = OpenTestHost()

Set bill = host.NewBill(kClass, "EvaProj")
references = bill.References
Set plugin = ShowPlugin("VelaQMBillEvent.EvaProjExt", bill)

' A new project: the total and pass marks of the system parameters.
host.AnswerQuery "TotalEvaluateMark", "FValue", "80"
host.AnswerQuery "PassEvaluateMark", "FValue", "48"
bill.RaiseAfterNewBill
Check Ran(), "AfterNewBill: " & lastError
Check Has(host.Calls, "GetSysValue IC TotalEvaluateMark"), "the total mark is read: " & host.Calls
Check bill.FieldText("FTotalMark") = "80", "the total mark is shown, found " & bill.FieldText("FTotalMark")
Check bill.FieldText("FPassMark") = "48", "the pass mark is shown, found " & bill.FieldText("FPassMark")

' A weight of 25 is a share of 20 of a total mark of 80.
bill.EntryValue "FEvaItemNo", 1, 60
bill.EntryValue "FPercent", 1, 25
bill.RaiseChange "FPercent", 1
Check Ran(), "Change of a weight: " & lastError
Check bill.EntryValue("FProjS", 1) = 20, "the share is 20, found " & bill.EntryValue("FProjS", 1)

' The audit tools are shown, and a project with a checker is locked after a copy.
bill.RaiseBarInitialize
Check Ran(), "BarInitialize: " & lastError
Check bill.ActiveBar.Tools("mnuEditCheck").Visible = True, "mnuEditCheck shown"
Check bill.ActiveBar.Tools("mnuEditUnCheck").Visible = True, "mnuEditUnCheck shown"
bill.SetValueByKey "FCheckerID", 16394
bill.RaiseAfterCopyBill
Check Ran(), "AfterCopyBill: " & lastError
Check bill.Locked = True, "a project with a checker is locked"
bill.SetValueByKey "FCheckerID", 0

' An item another row holds is taken out of the row it was typed into.
host.Clear
bill.EntryValue "FEvaItemNo", 2, 60
bill.RaiseChange "FEvaItemNo", 2
Check Ran(), "Change of an item: " & lastError
Check host.Messages = MessageTitle(host) & host.Unicode("5DF2 5B58 5728 8BE5 8BC4 4F30 9879 " & _
      "76EE FF0C 8BF7 91CD 65B0 5F55 5165"), "the repeated item is named: " & host.Messages
Check bill.EntryValue("FEvaItemNo", 2) = "", "and taken out, found " & bill.EntryValue("FEvaItemNo", 2)

' One item weighing 25 is not a whole project (the emptied row does not count).
host.Clear
cancel = bill.RaiseBeforeSave
Check Ran(), "BeforeSave: " & lastError
Check cancel = True, "the save is refused"
Check host.Messages = MessageTitle(host) & host.Unicode("6743 91CD 4E4B 548C 5FC5 987B 7B49 " & _
      "4E8E 0031 0030 0030 0025 FF0C 8BF7 66F4 6B63 FF01"), "with the weights' message: " & host.Messages

Set plugin = Nothing
Check Ran(), "release: " & lastError
CheckGivenBack bill, references, "bill"
Set bill = Nothing
Set host = Nothing
On Error GoTo 0
Finish "evaluation_project"
