; Einstellungen-Dialog, von Hand geschrieben (Latin-1, CR LF)
EnableExplicit

Enumeration Fenster
  #Fenster_Einstellungen
EndEnumeration

Enumeration Gadgets
  #Rahmen_Allgemein
  #Text_Name
  #Eingabe_Name
  #Auswahl_Sprache
  #Haken_Autostart
  #Knopf_Ok
  #Knopf_Abbrechen
EndEnumeration

#Titel$ = "Einstellungen"

Procedure.i OeffneEinstellungen(Elternfenster.i)
  Protected Ergebnis.i
  If OpenWindow(#Fenster_Einstellungen, 0, 0, 360, 220, #Titel$,
                #PB_Window_SystemMenu | #PB_Window_WindowCentered, WindowID(Elternfenster))
    FrameGadget(#Rahmen_Allgemein, 10, 10, 340, 160, "Allgemein")
    TextGadget(#Text_Name, 20, 35, 100, 20, "Benutzername:") : StringGadget(#Eingabe_Name, 130, 32, 200, 22, "")
    ComboBoxGadget(#Auswahl_Sprache, 130, 65, 200, 24)
    AddGadgetItem(#Auswahl_Sprache, -1, "Deutsch")   ; Vorgabe
    AddGadgetItem(#Auswahl_Sprache, -1, "Français")
    SetGadgetState(#Auswahl_Sprache, 0)
    CheckBoxGadget(#Haken_Autostart, 20, 100, 300, 20, "Beim Start öffnen; sonst nicht")
    ; ButtonGadget(#Knopf_Hilfe, 10, 180, 80, 26, "Hilfe") -- vorerst nicht
    ButtonGadget(#Knopf_Ok, WindowWidth(#Fenster_Einstellungen) - 180, 180, 80, 26, "OK", #PB_Button_Default)
    ButtonGadget(#Knopf_Abbrechen, 270, 180, 80, 26, "Abbrechen")
    GadgetToolTip(#Knopf_Abbrechen, "Schließt ohne zu speichern")
    Ergebnis = #True
  EndIf
  ProcedureReturn Ergebnis
EndProcedure

Procedure EinstellungenEreignis(Ereignis.i)
  Select Ereignis
    Case #PB_Event_Gadget
      Select EventGadget()
        Case #Knopf_Ok : CloseWindow(#Fenster_Einstellungen)
        Case #Knopf_Abbrechen : CloseWindow(#Fenster_Einstellungen)
      EndSelect
  EndSelect
EndProcedure
