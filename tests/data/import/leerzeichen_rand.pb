; Eingabemaske: Beschriftungen mit Leerzeichen am Rand
Enumeration
  #Maske
  #Beschriftung_Name
  #Eingabe_Name
  #Beschriftung_Ort
  #Geburtstag
  #Speichern
EndEnumeration

OpenWindow(#Maske, 0, 0, 300, 160, "Person", #PB_Window_SystemMenu)
TextGadget(#Beschriftung_Name, 10, 12, 80, 20, "Name: ", #PB_Text_Right)
StringGadget(#Eingabe_Name, 95, 10, 195, 24, "  ")
TextGadget(#Beschriftung_Ort, 10, 42, 80, 20, "    Ort:")
DateGadget(#Geburtstag, 95, 70, 195, 24, " %dd.%mm.%yyyy ", 0)
ButtonGadget(#Speichern, 190, 120, 100, 28, " Speichern ")
