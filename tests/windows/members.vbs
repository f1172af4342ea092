' Every member of ctrJornavista by name, as a VBScript client sees it. Each check
' prints one result line; members.js prints the same lines, and the stage compares
' the whole output with members.expected (cscript prints nothing when a script
' stops on an error, so a missing line is the failure).
Option Explicit

Dim c, f, i, s, t

' VBScript hands a control-facility error (0x800A....) to the script as its number
' alone; printed in full, as JScript and the component report it.
Function ErrText()
  If Err.Number > 0 And Err.Number < 65536 Then
    ErrText = "error 800A" & Right("000" & Hex(Err.Number), 4)
  Else
    ErrText = "error " & Hex(Err.Number)
  End If
End Function

Function Status()
  If Err.Number = 0 Then Status = "ok" Else Status = ErrText()
  Err.Clear
End Function

Function Color(v)
  Color = Right("0000000" & Hex(v), 8)
End Function

Function Bool(v)
  If v Then Bool = "true" Else Bool = "false"
End Function

Sub Say(line)
  WScript.Echo line
End Sub

On Error Resume Next

Set c = CreateObject("JornavistaControl.ctrJornavista")
Say "create: " & Status()

' The selected date is text, stored as written.
c.SDate = "14/11/2003"
Say "SDate put ""14/11/2003"": " & Status() & ", get """ & c.SDate & """"
c.SDate = "not a date"
Say "SDate put ""not a date"": " & Status() & ", get """ & c.SDate & """"
c.SDate = ""
Say "SDate put """": " & Status() & ", get length " & Len(c.SDate)
' "Grüße €": u with diaeresis, sharp s and the euro sign (U+20AC), which is
' beyond Latin-1. Wine's VBScript has no ChrW, so the text is made with Chr from
' the Windows-1252 code page that the prefix uses.
s = "Gr" & Chr(252) & Chr(223) & "e " & Chr(128)
c.SDate = s
t = c.SDate
Say "SDate put non-ASCII: " & Status() & ", get length " & Len(t) & ", same " & Bool(t = s)

' The appearance properties keep what they are given.
c.BackColor = &H80000005
Say "BackColor put 80000005: " & Status() & ", get " & Color(c.BackColor)
c.BackColor = &HFF8040
Say "BackColor put 00FF8040: " & Status() & ", get " & Color(c.BackColor)
c.ForeColor = &H80000008
Say "ForeColor put 80000008: " & Status() & ", get " & Color(c.ForeColor)
c.ForeColor = 255
Say "ForeColor put 000000FF: " & Status() & ", get " & Color(c.ForeColor)
c.Enabled = False
Say "Enabled put false: " & Status() & ", get " & Bool(c.Enabled)
c.Enabled = True
Say "Enabled put true: " & Status() & ", get " & Bool(c.Enabled)
c.BackStyle = 0
Say "BackStyle put 0: " & Status() & ", get " & c.BackStyle
c.BackStyle = 1
Say "BackStyle put 1: " & Status() & ", get " & c.BackStyle
c.BorderStyle = 1
Say "BorderStyle put 1: " & Status() & ", get " & c.BorderStyle
c.BorderStyle = 0
Say "BorderStyle put 0: " & Status() & ", get " & c.BorderStyle

' The font is held by reference: the same object comes back.
Set f = CreateObject("StdFont")
Say "StdFont: " & Status()
f.Size = 12
Set c.Font = f
Say "Font putref StdFont: " & Status() & ", size as set " & Bool(c.Font.Size = f.Size) & ", bold " & Bool(c.Font.Bold)
Say "Font get is the same object: " & Bool(c.Font Is f)
f.Italic = True
Say "Font sees a later change: italic " & Bool(c.Font.Italic)

c.Refresh
Say "Refresh: " & Status()

' Arguments of the wrong type fail the put and leave the value as it was.
c.BackStyle = "abc"
Say "BackStyle put ""abc"": " & Status() & ", get " & c.BackStyle
c.BackStyle = 70000
Say "BackStyle put 70000: " & Status() & ", get " & c.BackStyle
c.BorderStyle = "x"
Say "BorderStyle put ""x"": " & Status() & ", get " & c.BorderStyle
c.Enabled = "maybe"
Say "Enabled put ""maybe"": " & Status() & ", get " & Bool(c.Enabled)
c.BackColor = "red"
Say "BackColor put ""red"": " & Status() & ", get " & Color(c.BackColor)
c.SDate = Null
Say "SDate put Null: " & Status() & ", get length " & Len(c.SDate) & ", same " & Bool(c.SDate = s)
Set c.Font = c
Say "Font putref a non-font: " & Status() & ", same font " & Bool(c.Font Is f)
c.Refresh 1
Say "Refresh with an argument: " & Status()
i = c.NoSuchMember
Say "NoSuchMember get: " & Status()

Say "members: end"
