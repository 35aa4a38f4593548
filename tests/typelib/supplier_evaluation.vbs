' The supplier evaluation plug-in inside the test host, which stands in for the ERP client: the
' grades add up to the score, which the pass mark makes a pass; a project typed by number fills
' the bill through the class link, an unknown one gives way to the last; a period that ends before
' it begins is refused at saving; and every reference is given back.

Const kClass = 1001905
Dim host, bill, plugin, references, cancel, calls, projectMessage

On Error Resume Next
Set host = OpenTestHost()
host.AnswerQuery "IsAimAtICItem", "FValue", "0"

Set bill = host.NewBill(kClass, "SupplierEva")
references = bill.References
Set plugin = ShowPlugin("VelaQMBillEvent.SupplierEvaExt", bill)

' Grades of 18.5 and 30 against a pass mark of 48: a score of 48.5, passed.
host.AnswerQuery "FNumber='HG'", "FName", host.Unicode("5408 683C")
bill.SetValueByKey "FPassMark", 48
bill.EntryValue "FGrade", 1, 18.5
bill.EntryValue "FGrade", 2, 30
bill.RaiseChange "FGrade", 1
Check Ran(), "Change of a grade: " & lastError
Check bill.FieldText("FScore") = "48.5", "the score is 48.5, found " & bill.FieldText("FScore")
Check bill.FieldText("FEvaResult") = host.Unicode("5408 683C"), "the result is a pass, found " & _
      bill.FieldText("FEvaResult")

' A project typed by number fills the bill from the project class through the class link.
host.AnswerQuery "FProjID = 'PJ-001'", "FID,FProjID", 1, "PJ-001"
bill.SetValueByKey "FProjID", "PJ-001"
host.Clear
bill.RaiseChange "FProjID", 0
Check Ran(), "Change of a known project: " & lastError
calls = host.Calls
Check host.Messages = "", "nothing shown: " & host.Messages
Check Has(calls, "GetProjData FProjID = 'PJ-001'"), "the project is asked for by number: " & calls
Check Has(calls, "ClassLink.SRCClassTypeID 1001901") And Has(calls, "ClassLink.selbills 1") And _
      Has(calls, "DoFilldata"), "and filled through the class link: " & calls

' A number that names no project is asked for quoted, named to the user and replaced by the last.
projectMessage = host.Unicode("4F60 8F93 5165 7684 8BC4 4F30 65B9 6848 4EE3 7801 6709 9519 FF0C " & _
                 "8BF7 91CD 65B0 8F93 5165 6216 4FDD 7559 6700 540E 4E00 6B21 6B63 786E 7ED3 679C FF01")
bill.SetValueByKey "FProjID", "PJ-'9"
host.Clear
bill.RaiseChange "FProjID", 0
Check Ran(), "Change of an unknown project: " & lastError
Check Has(host.Calls, "GetProjData FProjID = 'PJ-''9'"), "quoted: " & host.Calls
Check host.Messages = MessageTitle(host) & projectMessage, "the project message: " & host.Messages
Check bill.FieldText("FProjID") = "PJ-001", "the last project is back, found " & bill.FieldText("FProjID")

' A period that ends before it begins is refused at saving.
bill.SetValueByKey "FBAssessDate", "2009-10-01"
bill.SetValueByKey "FEAssessDate", "2009-09-30"
host.Clear
cancel = bill.RaiseBeforeSave
Check Ran(), "BeforeSave: " & lastError
Check cancel = True, "the save is refused"
Check host.Messages = MessageTitle(host) & host.Unicode("8003 6838 5F00 59CB 65E5 671F 4E0D 80FD " & _
      "5927 4E8E 7ED3 675F 65E5 671F 002C 8BF7 66F4 6B63 FF01"), "with the period's message: " & _
      host.Messages

Set plugin = Nothing
Check Ran(), "release: " & lastError
CheckGivenBack bill, references, "bill"
Set bill = Nothing
Set host = Nothing
On Error GoTo 0
Finish "supplier_evaluation"
