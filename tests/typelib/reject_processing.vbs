' The reject processing plug-in inside the test host, which stands in for the ERP client: on a
' purchase-order reject bill its strategy shows the audit tools of the menu bar, fills the reject
' quantity and then the receipt's number once an inspection is chosen, refuses a save whose
' defect rows do not add up, leaves a cancelled click alone, and every reference is given back.
' The strategy classes answer on their own as well.

Const kClass = 1001800
Dim host, bill, plugin, references, cancel, calls, strategy

On Error Resume Next
Set host = OpenTestHost()

Set bill = host.NewBill(kClass, "RejectPro")
references = bill.References
Set plugin = ShowPlugin("VelaQMBillEvent.CRejectPro", bill)

' The menu bar offers the audit tools and no copy.
bill.RaiseMenuBarInitialize
Check Ran(), "MenuBarInitialize: " & lastError
Check bill.MenuBar.Tools("mnuEditCheck").Visible = True, "mnuEditCheck shown"
Check bill.MenuBar.Tools("mnuEditUnCheck").Visible = True, "mnuEditUnCheck shown"
Check bill.MenuBar.Tools("mnuEditCopy").Visible = False, "mnuEditCopy hidden"

' An inspection chosen: the reject quantity is asked for first, then the receipt's number.
bill.SetValueByKey "FRequestBillID", 201
bill.SetValueByKey "fcheckbillid", 1
host.AnswerQuery "as FRejectQtyTmp", "FRejectQtyTmp", 25
host.AnswerQuery "from POInStock where FInterID=201", "FBillNo", "WIN000201"
host.Clear
bill.RaiseAfterSelBill 711
Check Ran(), "AfterSelBill: " & lastError
calls = host.Calls
Check InStr(calls, "FRejectQtyTmp") > 0, "the reject quantity is asked for: " & calls
Check InStr(calls, "FRejectQtyTmp") < InStr(calls, "select FBillNo"), "before the receipt's number: " & calls
Check Has(calls, "v1.finterid =201  and w1.finterid = 1"), "of the chosen receipt and inspection: " & calls
Check bill.GetHeadValue("FRejectQty") = 25, "the reject quantity is 25, found " & bill.GetHeadValue("FRejectQty")
Check bill.GetHeadValue("FRequestBillNo") = "WIN000201", "the receipt's number is filled, found " & _
      bill.GetHeadValue("FRequestBillNo")

' Rows of 10 and 10 do not add up to 25; the row below the one without a handling counts.
bill.EntryValue "FDefectHandlingID", 1, 1
bill.EntryValue "FDefectQty", 1, 10
bill.EntryValue "FDefectQty", 2, 99
bill.EntryValue "FDefectHandlingID", 3, 2
bill.EntryValue "FDefectQty", 3, 10
host.Clear
cancel = bill.RaiseBeforeSave
Check Ran(), "BeforeSave: " & lastError
Check cancel = True, "the save is refused"
Check host.Messages = MessageTitle(host) & host.Unicode("8868 4F53 4E0D 826F 6570 91CF 4E4B 548C " & _
      "5FC5 987B 7B49 4E8E 68C0 9A8C 4E0D 826F 6570 91CF 002E"), "with the defect message: " & host.Messages
bill.EntryValue "FDefectQty", 3, 15
host.Clear
cancel = bill.RaiseBeforeSave
Check Ran(), "BeforeSave of rows that add up: " & lastError
Check cancel = False, "rows of 10 and 15 save"
Check host.Messages = "", "without a message: " & host.Messages

' A click another plug-in cancelled is not the strategy's: nothing is audited.
host.Clear
cancel = bill.RaiseMenuBarClick("mnuEditCheck", True)
Check Ran(), "MenuBarClick: " & lastError
Check cancel = True, "the click stays cancelled"
Check host.Calls = "", "and nothing is called: " & host.Calls

' A bill another user holds: no audit tools, and the display is refreshed.
bill.BillCtl.MutexSuccess = False
host.Clear
bill.RaiseAfterLoadBill
Check Ran(), "AfterLoadBill: " & lastError
Check bill.BarStatus("mnuEditCheck", "Visible") = False, "mnuEditCheck hidden on a bill held elsewhere"
Check Has(host.Calls, "RefreshDisplay"), "the display is refreshed: " & host.Calls
Check bill.Locked = False, "a bill without a checker is not locked"

Set plugin = Nothing
Check Ran(), "release: " & lastError
CheckGivenBack bill, references, "bill"

' The strategies on their own: the common one starts its status at -1 and converts quantities;
' the plain strategy accepts a bill and does nothing with it.
Set strategy = CreateObject("VelaQMBillEvent.CComRejectCO")
Check Ran(), "CreateObject VelaQMBillEvent.CComRejectCO: " & lastError
Check strategy.m_BillStatusExt = -1, "the common strategy's status starts at -1, found " & strategy.m_BillStatusExt
strategy.m_BillStatusExt = 2
Check strategy.m_BillStatusExt = 2, "and keeps what it is given"
Check strategy.MyCDec("12.5") = 12.5, "MyCDec of 12.5, found " & strategy.MyCDec("12.5")
Check strategy.MyCDec("abc") = 0, "MyCDec of text is 0"
Check strategy.MyCDec(Null) = 0, "MyCDec of Null is 0"
Set strategy = CreateObject("VelaQMBillEvent.CPoRejectCO")
Check strategy.m_BillStatusExt = 0, "the purchase-order strategy's status starts at 0"
Set strategy = CreateObject("VelaQMBillEvent.IRejectCO")
strategy.Show bill
strategy.GetRejectQty
Check Ran(), "the plain strategy: " & lastError
Set strategy = Nothing
Check bill.References = references, "the plain strategy gives the bill back"

Set bill = Nothing
Set host = Nothing
On Error GoTo 0
Finish "reject_processing"
