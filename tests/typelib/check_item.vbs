' The check item plug-in inside the test host, on its menu-bar form: the check-value tool is added
' with the library's own bitmap and placed before the refresh in both bands, the analysis method
' sets the decimals, the template note is the plug-in's three lines, the dialog is created for a
' saved item and refused for a new one, and every reference is given back.

Const kClass = 1001903
Dim host, bill, plugin, references, calls, cancel, note

On Error Resume Next
Set host = OpenTestHost()

Set bill = host.NewBill(kClass, "CheckItem")
references = bill.References
Set plugin = ShowPlugin("VelaQMBillEvent.CCheckItem", bill)

' The tool: its labels, its picture (the DLL's bitmap 1, grey transparent) and both bands.
host.Clear
bill.RaiseMenuBarInitialize
Check Ran(), "MenuBarInitialize: " & lastError
calls = host.Calls
Check Has(calls, "mnuItemValue SetPicture 0 picture mask 12632256"), "the tool carries its picture: " & calls
Check Has(calls, "mnuItemValue Caption="), "the tool has its caption: " & calls
Check Has(calls, "mnuItemValue Visible=True"), "the tool is shown: " & calls
Check Has(calls, "Insert mnuItemValue before mnuDataRefesh in mnuData"), "in the data menu: " & calls
Check Has(calls, "Insert mnuItemValue before mnuDataRefesh in BandToolBar"), "on the toolbar: " & calls

' Analysis method 10 keeps two decimals.
bill.SetValueByKey "FAnalysisMethodID", 10
bill.RaiseChange "FAnalysisMethodID", 0
Check Ran(), "Change: " & lastError
Check bill.GetHeadValue("FQtyDecimal") = 2, "method 10 gives 2, found " & bill.GetHeadValue("FQtyDecimal")

' The template note: the plug-in's three lines in place of the host's.
note = bill.RaiseBeforeSetExportNote
Check Ran(), "BeforeSetExportNote: " & lastError
Check Not Has(note, "host note"), "the host's note is replaced: " & note
Check UBound(Split(note, "|")) = 2, "three lines: " & note

' A new item: the message, the click cancelled, no dialog.
host.Clear
bill.SetValueByKey "FID", 0
cancel = bill.RaiseMenuBarClick("mnuItemValue", False)
Check Ran(), "MenuBarClick on a new item: " & lastError
Check cancel = True, "the click is cancelled"
Check Has(host.Messages, host.Unicode("8BBE 7F6E 68C0 9A8C 503C")), "save first: " & host.Messages
Check Not Has(host.Calls, "Load"), "no dialog: " & host.Calls

' A saved item: the dialog's form gets the four values and is shown modally.
host.Clear
bill.SetValueByKey "FID", 3
bill.SetValueByKey "FNumber", "JC03"
bill.SetValueByKey "FParentNumber", "JC"
bill.SetValueByKey "FName", "Water"
cancel = bill.RaiseMenuBarClick("mnuItemValue", False)
Check Ran(), "MenuBarClick on a saved item: " & lastError
Check cancel = False, "the click is left to the client"
calls = host.Calls
Check Has(calls, "Load FrmItemValue"), "the dialog is created and loads its form: " & calls
Check Has(calls, "SetFunc FParentNumber=JC FGroupNumber=JC03 FItemID=3 FName=Water 1"), _
      "the form gets the item: " & calls
Check Has(calls, "Show 1"), "and is shown modally: " & calls
Check host.Messages = "", "nothing is said: " & host.Messages

Set plugin = Nothing
Check Ran(), "release: " & lastError
CheckGivenBack bill, references, "bill"
Set bill = Nothing
Set host = Nothing
On Error GoTo 0
Finish "check_item"
