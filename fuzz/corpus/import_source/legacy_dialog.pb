; Einstellungen-Dialog, von Hand geschrieben (vor Tafelbau)
EnableExplicit

Enumeration
  #WinOptionen
  #FrmAnzeige
  #OptHell
  #OptDunkel
  #ChkStart
  #TxtSchrift
  #SpnSchrift
  #TrkZoom
  #BtnSpeichern
  #BtnAbbrechen
EndEnumeration

Procedure OeffneOptionen()
  If OpenWindow(#WinOptionen, 100, 100, 360, 250, "Optionen", #PB_Window_SystemMenu | #PB_Window_WindowCentered)
    FrameGadget(#FrmAnzeige, 10, 10, 340, 90, "Anzeige")      ; Rahmen um die Farbwahl
    OptionGadget(#OptHell,   20, 30, 150, 20, "Helles Thema")
    OptionGadget(#OptDunkel, 20, 55, 150, 20, "Dunkles Thema")
    CheckBoxGadget(#ChkStart, 10, 110, 250, 20, "Beim Start öffnen")
    TextGadget(#TxtSchrift, 10, 143, 100, 20, "Schriftgröße:")
    SpinGadget(#SpnSchrift, 120, 140, 60, 25, 6, 72, #PB_Spin_Numeric)
    TrackBarGadget(#TrkZoom, 10, 175, 340, 25, 50, 200)
    ButtonGadget(#BtnSpeichern, 140, 215, 100, 25, "Speichern", #PB_Button_Default)
    ButtonGadget(#BtnAbbrechen, 250, 215, 100, 25, "Abbrechen")
    SetGadgetState(#OptHell, #True)
    ProcedureReturn #True
  EndIf
EndProcedure
