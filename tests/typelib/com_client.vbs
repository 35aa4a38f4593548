' A late-bound client of the server, as the ERP client is: it creates every class by its ProgID
' and calls the public members through IDispatch. The checks are those of client_common.vbs, which
' the harness runs before this file.

Dim classes, withShow, name, plugin, value
classes = Array("SampleStandard", "SamplingLogEvent", "QualityStandard", "CCheckItem", _
                "WatchLogEvent", "CSampleDestroy", "QMAccident", "ClientServiceLog", _
                "EvaProjExt", "SupplierEvaExt", "CItemGrade", "cItemSupply", "CRejectPro", _
                "IRejectCO", "CComRejectCO", "CPoRejectCO", "CRejRule")
' The classes whose default interface has Show; the two strategies have it on IRejectCO only.
withShow = "|SampleStandard|SamplingLogEvent|QualityStandard|CCheckItem|WatchLogEvent|" & _
           "CSampleDestroy|QMAccident|ClientServiceLog|EvaProjExt|SupplierEvaExt|CItemGrade|" & _
           "cItemSupply|CRejectPro|IRejectCO|"

On Error Resume Next
For Each name In classes
    Set plugin = Nothing
    Set plugin = CreateObject("VelaQMBillEvent." & name)
    Check Ran() And Not plugin Is Nothing, "CreateObject VelaQMBillEvent." & name & ": " & lastError
    If Not plugin Is Nothing And InStr(withShow, "|" & name & "|") > 0 Then
        plugin.Show Nothing
        If name = "CRejectPro" Then
            ' The reject bill reads its class type from the bill it is shown: with no bill, Show
            ' fails as a call through nothing does.
            Check Raised() = 91, name & ".Show Nothing fails with error 91, found " & lastError
        Else
            Check Ran(), name & ".Show Nothing: " & lastError
        End If
    End If
Next

Set plugin = CreateObject("VelaQMBillEvent.CRejRule")
plugin.Show Nothing
Check Raised() = 438, "CRejRule has no members, yet Show answered with " & lastError

Set plugin = CreateObject("VelaQMBillEvent.CComRejectCO")
value = plugin.m_BillStatusExt
Check Ran() And value = -1, "CComRejectCO.m_BillStatusExt starts at -1, read " & value & " " & lastError
plugin.m_BillStatusExt = 2
value = plugin.m_BillStatusExt
Check Ran() And value = 2, "CComRejectCO.m_BillStatusExt written 2, read " & value & " " & lastError
value = plugin.MyCDec("12.5")
Check Ran() And TypeName(value) = "Decimal", "CComRejectCO.MyCDec gives " & TypeName(value) & " " & lastError

Set plugin = CreateObject("VelaQMBillEvent.CPoRejectCO")
plugin.m_BillStatusExt = 7
value = plugin.m_BillStatusExt
Check Ran() And value = 7, "CPoRejectCO.m_BillStatusExt written 7, read " & value & " " & lastError

' CheckItemUniq reads the bill it was shown: the item clients call it inside the test host, where
' the message of a check without a bill is answered rather than left open on the desktop.

Set plugin = Nothing
On Error GoTo 0
Finish "com_client"
