; Preisrechner (UTF-8 mit BOM, wie der PureBasic-Editor speichert)
Enumeration
  #Rechner
  #Beschriftung_Menge
  #Menge
  #Beschriftung_Preis
  #Waehrung
  #Uebernehmen
EndEnumeration

OpenWindow(#Rechner, 0, 0, 320, 140, "Preis für Größen & Mengen", #PB_Window_SystemMenu)
TextGadget(#Beschriftung_Menge, 10, 12, 120, 20, "Menge (Stück):")
SpinGadget(#Menge, 140, 10, 80, 24, 1, 999, #PB_Spin_Numeric)
TextGadget(#Beschriftung_Preis, 10, 42, 120, 20, "Preis in € – netto")
ComboBoxGadget(#PB_Any, 140, 40, 80, 24)
ButtonGadget(#PB_Any, 200, 100, 110, 28, "Übernehmen")
