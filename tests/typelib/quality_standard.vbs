' The quality standard plug-in inside the test host, which stands in for the ERP client: an
' audited standard locked on load, a scheme number the data access does not know cleared with its
' message, a known one filled through the class link, and every reference given back.

Const kClass = 1001902
Dim host, bill, plugin, references, title, calls

On Error Resume Next
Set host = OpenTestHost()
title = MessageTitle(host)

Set bill = host.NewBill(kClass, "QualityStandard")
references = bill.References
Set plugin = ShowPlugin("VelaQMBillEvent.QualityStandard", bill)

' An audited standard, loaded: the display is refreshed and the bill locked.
bill.SetValueByKey "FCheckerID", 16394
host.Clear
bill.RaiseAfterLoadBill
Check Ran(), "AfterLoadBill: " & lastError
Check Has(host.Calls, "RefreshDisplay"), "an audited standard is shown afresh: " & host.Calls
Check bill.Locked = True, "an audited standard is locked"
bill.SetValueByKey "FCheckerID", 0
bill.RaiseAfterCopyBill
Check Ran(), "AfterCopyBill: " & lastError
Check bill.Locked = False, "a copy without a checker is unlocked"

' A scheme number the data access does not know: asked for exactly, refused, cleared.
bill.SetValueByKey "FQCSchemeNo", "FA-'9"
host.Clear
bill.RaiseChange "FQCSchemeNo", 0
Check Ran(), "Change of an unknown scheme: " & lastError
Check Has(host.Calls, "GetQCSchemeBilldata FBillNo = 'FA-''9'"), _
      "the scheme is asked for by its quoted number: " & host.Calls
Check host.Messages = title & host.Unicode("5BF9 4E0D 8D77 FF0C 4F60 8F93 5165 7684 8D28 68C0 " & _
      "65B9 6848 5355 53F7 4E0D 5B58 5728 FF0C 8BF7 68C0 67E5 91CD 65B0 8F93 5165 FF01"), _
      "the unknown scheme is named: " & host.Messages
Check bill.GetHeadValue("FQCSchemeNo") = "", "and cleared, found " & bill.GetHeadValue("FQCSchemeNo")
Check Not Has(host.Calls, "ClassLink"), "nothing is filled: " & host.Calls

' A known scheme fills the standard through the class link, from the scheme class (45).
host.AnswerQuery "FA-001", "FInterID,FBillNo", 1, "FA-001"
bill.SetValueByKey "FQCSchemeNo", "FA-001"
host.Clear
bill.RaiseChange "FQCSchemeNo", 0
Check Ran(), "Change of a known scheme: " & lastError
calls = host.Calls
Check host.Messages = "", "nothing shown: " & host.Messages
Check Has(calls, "ClassLink.DataSrv set") And Has(calls, "ClassLink.SRCClassTypeID 45") And _
      Has(calls, "ClassLink.InitLinkTemplate") And Has(calls, "ClassLink.selbills 1"), _
      "the class link is set up and given the scheme: " & calls
Check InStr(calls, "ClassLink.selbills") < InStr(calls, "DoFilldata") And Has(calls, "DoFilldata"), _
      "and the bill filled with what it gave: " & calls

Set plugin = Nothing
Check Ran(), "release: " & lastError
CheckGivenBack bill, references, "bill"
Set bill = Nothing
Set host = Nothing
On Error GoTo 0
Finish "quality_standard"
