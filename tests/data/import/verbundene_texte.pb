; Installationshinweis: Texte aus Teilen zusammengesetzt
EnableExplicit

Enumeration Fenster
  #Fenster_Hinweis
EndEnumeration

Enumeration Gadgets
  #Text_Hinweis
  #Text_Pfad
  #Text_Gruss
  #Knopf_Weiter
  #Knopf_Abbruch
  #Knopf_Details
EndEnumeration

Procedure HinweisZeigen(Name$)
  If OpenWindow(#Fenster_Hinweis, 0, 0, 380, 220, "Hinweis" + " - " + "Installation", #PB_Window_SystemMenu | #PB_Window_ScreenCentered)
    TextGadget(#Text_Hinweis, 10, 10, 360, 60, "Das Programm wird installiert." + #LF$ +
                                               "Bitte warten." + #CRLF$ +
                                               "Danach neu starten.")
    TextGadget(#Text_Pfad, 10, 80, 360, 20, "Ziel:" + #tab$ + "C:\Programme\Werkzeug")
    TextGadget(#Text_Gruss, 10, 105, 360, 20, "Hallo " + Name$ + "!")
    ButtonGadget(#Knopf_Details, 10, 180, 90, 26, ~"Details\r\n" + "anzeigen" + #CR$ + #LF$ + "(" + Chr(34) + "F1" + Chr(34) + ")")
    ButtonGadget(#Knopf_Weiter, 180, 180, 90, 26, "Weiter" + Chr(32) + ">>", #PB_Button_Default)
    ButtonGadget(#Knopf_Abbruch, 280, 180, 90, 26, "Abbrechen")
  EndIf
EndProcedure
