' What every VBScript client of the server shares: the tally of checks and the helpers that read
' the error a statement raised. vbscript_test.cmake runs a client as one job made of this file and
' the client's own: Wine's cscript runs no .wsf job and its Execute and ExecuteGlobal are stubs,
' so the job is joined before cscript sees it. Wine's cscript exits 0 even when a script dies
' halfway, so the harness believes only the closing summary line and the WScript.Quit code.
Option Explicit

Dim passed, failed
passed = 0
failed = 0

' With On Error Resume Next, an error while a Check's arguments are worked out skips the Check
' altogether; the next Check reports it, and so does the summary.
Dim lastError
Sub Check(ok, what)
    If Err.Number <> 0 Then
        failed = failed + 1
        WScript.Echo "FAIL an unchecked " & Describe(Err) & ", before: " & what
        Err.Clear
    End If
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

' True when the statement before raised no error; the error is kept in lastError and cleared.
Function Ran()
    Ran = Err.Number = 0
    lastError = Describe(Err)
    Err.Clear
End Function

' The number of the error the statement before raised (0: none), kept and cleared as by Ran.
Function Raised()
    Raised = Err.Number
    lastError = Describe(Err)
    Err.Clear
End Function

Function Has(text, part)
    Has = InStr(1, text, part, vbBinaryCompare) > 0
End Function

' The summary line the harness looks for; the exit code is the number of failures.
Sub Finish(client)
    WScript.Echo client & ": " & passed & " passed, " & failed & " failed"
    WScript.Quit failed
End Sub

'' The test host that stands in for the ERP client and its components; each message box a plug-in
' shows is recorded and answered with OK.
Function OpenTestHost()
    On Error Resume Next
    Dim created
    Set created = CreateObject("VelaQMTestHost.Host")
    Check Ran(), "CreateObject VelaQMTestHost.Host: " & lastError
    created.WatchMessages vbOK
    Check Ran(), "WatchMessages: " & lastError
    Set OpenTestHost = created
End Function

' The plug-in of the ProgID, created through the server and shown the bill, to whose events it
' subscribes once.
Function ShowPlugin(progId, bill)
    On Error Resume Next
    Dim created
    Set created = CreateObject(progId)
    Check Ran(), "CreateObject " & progId & ": " & lastError
    created.Show bill
    Check Ran(), "Show: " & lastError
    Check bill.SinkCount = 1, "Show subscribes once to the bill's events, found " & bill.SinkCount
    Set ShowPlugin = created
End Function

' The caption of the plug-ins' message boxes, as the host records it before the message.
Function MessageTitle(host)
    MessageTitle = host.Unicode("5C9A 821F 63D0 793A") & ": "
End Function

' After the plug-in is released: no subscription to the form is left, and every reference the
' plug-in took to it is given back.
Sub CheckGivenBack(form, references, what)
    Check form.SinkCount = 0, "no subscription to the " & what & " left, found " & form.SinkCount
    Check form.References = references, "references to the " & what & " back to " & references & _
          ", found " & form.References
End Sub
