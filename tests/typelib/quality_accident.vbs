' The quality accident plug-in inside the test host: the audited bill is locked after a load, the
' work process's lookup is kept to the operations of the routing in the head and freed when there
' is none, and every reference is given back.

Const kClass = 1001909
Dim host, bill, plugin, references, filter

On Error Resume Next
Set host = CreateObject("VelaQMTestHost.Host")
Check Ran(), "CreateObject VelaQMTestHost.Host: " & lastError
host.WatchMessages vbOK

Set bill = host.NewBill(kClass, "QualityAccident")
references = bill.References
Set plugin = CreateObject("VelaQMBillEvent.QMAccident")
Check Ran(), "CreateObject VelaQMBillEvent.QMAccident: " & lastError
plugin.Show bill
Check Ran(), "Show: " & lastError
Check bill.SinkCount = 1, "Show subscribes once to the bill's events, found " & bill.SinkCount

' An audited accident is locked, with its fields, after a load.
bill.SetValueByKey "FCheckerID", 16394
bill.RaiseAfterLoadBill
Check Ran(), "AfterLoadBill: " & lastError
Check bill.Locked = True, "an audited accident is locked"
Check bill.FieldsLocked = 1, "with its fields, found " & bill.FieldsLocked
bill.SetValueByKey "FCheckerID", 0

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
