; Knoepfe ohne eigene Namen neben solchen mit Nummer und Konstante
Enumeration 100
  #ButtonGadget2
  #Ok
EndEnumeration

OpenWindow(0, 0, 0, 300, 200, "Knoepfe", #PB_Window_SystemMenu)
ButtonGadget(-1, 10, 10, 120, 26, "Ohne Namen 1")
ButtonGadget(#PB_Any, 10, 40, 120, 26, "Ohne Namen 2")
ButtonGadget(1, 10, 70, 120, 26, "Nummer 1")
ButtonGadget(2, 10, 100, 120, 26, "Nummer 2")
ButtonGadget(#ButtonGadget2, 10, 130, 120, 26, "Konstante")
Ok = ButtonGadget(#PB_Any, 150, 10, 120, 26, "Variable Ok")
ButtonGadget(#Ok, 150, 40, 120, 26, "Konstante Ok")
