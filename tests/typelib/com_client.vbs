' A late-bound client of the server, as the ERP client is: it creates every class by its ProgID
' and calls the public members through IDispatch. Wine's cscript exits 0 even when a script dies
' halfway, so the harness believes only the closing summary line and the WScript.Quit code.
Option Explicit

Dim passed, failed
passed = 0
failed = 0

Sub Check(ok, what)
    If ok Then
        passed = passed + 1
    Else
        failed = failed + 1
        WScript.Echo "FAIL " & what
    End If
End Sub

Function Describe(e)
    Describe = "error &H" & Hex(e.Number) & " " & e.Description
End Function

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
    Err.Clear
    Set plugin = CreateObject("VelaQMBillEvent." & name)
    Check Err.Number = 0 And Not plugin Is Nothing, "CreateObject VelaQMBillEvent." & name & ": " & Describe(Err)
    If Not plugin Is Nothing And InStr(withShow, "|" & name & "|") > 0 Then
        Err.Clear
        plugin.Show Nothing
        Check Err.Number = 0, name & ".Show Nothing: " & Describe(Err)
    End If
Next

Err.Clear
Set plugin = CreateObject("VelaQMBillEvent.CRejRule")
plugin.Show Nothing
Check Err.Number = 438, "CRejRule has no members, yet Show answered with " & Describe(Err)

Err.Clear
Set plugin = CreateObject("VelaQMBillEvent.CComRejectCO")
value = plugin.m_BillStatusExt
Check Err.Number = 0 And value = -1, "CComRejectCO.m_BillStatusExt starts at -1, read " & value & " " & Describe(Err)
plugin.m_BillStatusExt = 2
value = plugin.m_BillStatusExt
Check Err.Number = 0 And value = 2, "CComRejectCO.m_BillStatusExt written 2, read " & value & " " & Describe(Err)
value = plugin.MyCDec("12.5")
Check Err.Number = 0 And TypeName(value) = "Decimal", "CComRejectCO.MyCDec gives " & TypeName(value) & " " & Describe(Err)

Err.Clear
Set plugin = CreateObject("VelaQMBillEvent.CPoRejectCO")
plugin.m_BillStatusExt = 7
value = plugin.m_BillStatusExt
Check Err.Number = 0 And value = 7, "CPoRejectCO.m_BillStatusExt written 7, read " & value & " " & Describe(Err)

Err.Clear
Set plugin = CreateObject("VelaQMBillEvent.cItemSupply")
value = plugin.CheckItemUniq()
Check Err.Number = 0 And VarType(value) = vbBoolean, "cItemSupply.CheckItemUniq gives " & TypeName(value) & " " & Describe(Err)

Set plugin = Nothing
On Error GoTo 0
WScript.Echo "com_client: " & passed & " passed, " & failed & " failed"
WScript.Quit failed
