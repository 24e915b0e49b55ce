; Dateiansicht: geteilte Bereiche, ihre Gadgets gleich im Aufruf erzeugt
Enumeration
  #Haupt
  #Baum
  #Vorschau
  #Teiler_Rechts
  #Teiler
  #Oben
  #Unten
  #Knoepfe
EndEnumeration

OpenWindow(#Haupt, 0, 0, 640, 440, "Dateien", #PB_Window_SystemMenu | #PB_Window_SizeGadget)
SplitterGadget(#Teiler, 10, 10, 620, 380,
               ExplorerTreeGadget(#Baum, 0, 0, 0, 0, "C:\"),
               SplitterGadget(#Teiler_Rechts, 0, 0, 0, 0, ListViewGadget(#PB_Any, 0, 0, 0, 0),
                              EditorGadget(#Vorschau, 0, 0, 0, 0, #PB_Editor_ReadOnly)),
               #PB_Splitter_Vertical)
SplitterGadget(#Knoepfe, 10, 400, 620, 30, ButtonGadget(#Oben, 0, 0, 0, 0, "Nach oben"), ButtonGadget(#Unten, 0, 0, 0, 0, "Nach unten"), #PB_Splitter_Vertical | #PB_Splitter_Separator)
