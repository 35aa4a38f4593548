' The quality accident plug-in inside the test host: the audited bill is locked after a load, the
' work process's lookup is kept to the operations of the routing in the head and freed when there
' is none, and every reference is given back.

Const kClass = 1001909
Dim host, bill, plugin, references, filter

On Error Resume Next
Set host = OpenTestHost()

Set bill = host.NewBill(kClass, "QualityAccident")
references = bill.References
Set plugin = ShowPlugin("VelaQMBillEvent.QMAccident", bill)

' The toolbar offers the audit tools.
bill.RaiseBarInitialize
Check Ran(), "BarInitialize: " & lastError
Check bill.ActiveBar.Tools("mnuEditCheck").Visible = True, "mnuEditCheck shown"
Check bill.ActiveBar.Tools("mnuEditUnCheck").Visible = True, "mnuEditUnCheck shown"

' An audited accident is locked, with its fields, after a load, and its lookup is disabled.
bill.SetValueByKey "FCheckerID", 16394
bill.RaiseAfterLoadBill
Check Ran(), "AfterLoadBill: " & lastError
Check bill.Locked = True, "an audited accident is locked"
Check bill.FieldsLocked = 1, "with its fields, found " & bill.FieldsLocked
filter = bill.RaiseBeginEdit("FNote")
Check Ran(), "BeginEdit of an audited accident: " & lastError
Check bill.BarStatus("mnuDataLookUp", "Enabled") = False, "an audited accident's lookup is disabled"
bill.SetValueByKey "FCheckerID", 0
bill.RaiseAfterNewBill
Check bill.Locked = False, "a new accident without a checker is unlocked"

' An accident another user holds offers no audit tools and keeps its fields locked.
bill.BillCtl.MutexSuccess = False
bill.RaiseAfterLoadBill
Check Ran(), "AfterLoadBill of a bill held elsewhere: " & lastError
Check bill.BarStatus("mnuEditCheck", "Visible") = False, "mnuEditCheck hidden on a bill held elsewhere"
Check bill.FieldsLocked = 1, "its fields locked, found " & bill.FieldsLocked
bill.BillCtl.MutexSuccess = True

' The work process: the operations of routing 12, with the two blanks before WHERE.
bill.SetValueByKey "FRoutingname", 12
filter = bill.RaiseBeginEdit("FWorkPrc")
Check Ran(), "BeginEdit: " & lastError
Check filter = "FInterID in (SELECT FOperID FROM t_routingoper  WHERE FInterID= 12)", _
      "the lookup is kept to the routing's operations, found " & filter
bill.SetValueByKey "FRoutingname", ""
filter = bill.RaiseBeginEdit("FWorkPrc")
Check filter = "", "without a routing the filter is lifted, found " & filter
bill.SetValueByKey "FRoutingname", "x' OR '1'='1"
filter = bill.RaiseBeginEdit("FWorkPrc")
Check filter = "FInterID in (SELECT FOperID FROM t_routingoper  WHERE FInterID= 0)", _
      "a routing that is no ID names none, found " & filter
Check host.Messages = "", "BeginEdit shows nothing: " & host.Messages

Set plugin = Nothing
Check Ran(), "release: " & lastError
CheckGivenBack bill, references, "bill"
Set bill = Nothing
Set host = Nothing
On Error GoTo 0
Finish "quality_accident"
