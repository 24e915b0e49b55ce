; Anmeldung und Fehlermeldung teilen sich ihre Konstanten -
; an manchen Stellen anders geschrieben, was PureBasic gleich ist.
Enumeration
  #Dlg_Login
  #Name
  #Sprache
  #Ok
  #Abbrechen
EndEnumeration

Procedure Anmelden()
  OpenWindow(#Dlg_Login, 0, 0, 260, 150, "Anmelden", #PB_Window_ScreenCentered)
  StringGadget(#Name, 10, 10, 240, 24, "")
  ComboBoxGadget(#Sprache, 10, 44, 240, 24)
  AddGadgetItem(#SPRACHE, -1, "Deutsch")
  AddGadgetItem(#sprache, -1, "English")
  ButtonGadget(#Ok, 10, 110, 110, 28, "OK", #PB_Button_Default)
  ButtonGadget(#Abbrechen, 140, 110, 110, 28, "Abbrechen")
EndProcedure

Procedure AnmeldungFehlgeschlagen()
  OpenWindow(#DLG_LOGIN, 0, 0, 260, 90, "Fehler", #PB_Window_ScreenCentered)
  TextGadget(#PB_Any, 10, 10, 240, 40, "Name oder Kennwort falsch.")
  ButtonGadget(#OK, 75, 55, 110, 28, "OK")
EndProcedure
