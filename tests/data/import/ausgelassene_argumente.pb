; Termine: Datum, Kalender und Listen, die freiwilligen Argumente weggelassen
Enumeration
  #Termin
  #Datum_Von
  #Datum_Bis
  #Kalender
  #Teilnehmer
  #Teilnehmer_1
  #Notizen
EndEnumeration

If OpenWindow(#Termin, 0, 0, 520, 240, "Termin", #PB_Window_SystemMenu | #PB_Window_ScreenCentered)
  DateGadget(#Datum_Von, 10, 10, 140, 24)
  DateGadget(#Datum_Bis, 160, 10, 140, 24, "%dd.%mm.%yyyy")
  CalendarGadget(#Kalender, 10, 44, 290, 180)
  ScrollAreaGadget(#Teilnehmer, 310, 10, 200, 100, 180, 600)
    CheckBoxGadget(#Teilnehmer_1, 5, 5, 160, 20, "Frau Berger")
  CloseGadgetList()
  ScrollAreaGadget(#Notizen, 310, 120, 200, 104, 400, 400, 20, #PB_ScrollArea_Flat)
  CloseGadgetList()
EndIf
