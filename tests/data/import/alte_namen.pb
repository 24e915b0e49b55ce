; Adressbuch aus PureBasic-4-Zeiten, spaeter um eine Karte ergaenzt
Enumeration
  #Adressen
  #Rahmen_Liste
  #Liste
  #Rahmen_Suche
  #Suchleiste
  #Suchtext
  #Suchen
  #Karte
  #Reiter
  #Zeigen
EndEnumeration

Procedure AdressbuchOeffnen()
  OpenWindow(#Adressen, 100, 100, 500, 400, "Adressbuch", #PB_Window_SystemMenu | #PB_Window_MinimizeGadget)
  Frame3DGadget(#Rahmen_Liste, 5, 5, 490, 250, "Kontakte")
  ListIconGadget(#Liste, 15, 25, 470, 220, "Name", 150, #PB_ListIcon_FullRowSelect | #PB_ListIcon_GridLines)
  AddGadgetColumn(#Liste, 1, "Telefon", 120)
  AddGadgetColumn(#Liste, 2, "E-Mail", 190)
  Frame3DGadget(#Rahmen_Suche, 5, 260, 490, 60, "Suche", #PB_Frame3D_Flat)
  ContainerGadget(#Suchleiste, 15, 280, 470, 30)
  CloseGadgetList()
  ; die Suchleiste wird erst hier gefuellt
  OpenGadgetList(#Suchleiste)
    StringGadget(#Suchtext, 0, 0, 380, 24, "")
    ButtonGadget(#Suchen, 390, 0, 80, 24, "Suchen")
  CloseGadgetList()
  PanelGadget(#Reiter, 5, 325, 490, 70)
    AddGadgetItem(#Reiter, -1, "Notizen")
    AddGadgetItem(#Reiter, -1, "Karte")
  CloseGadgetList()
  OpenGadgetList(#Reiter, 1)
    ButtonGadget(#Zeigen, 5, 5, 80, 24, "Zeigen")
  CloseGadgetList()
  CompilerIf #PB_Compiler_Version >= 610
    WebViewGadget(#Karte, 5, 325, 490, 70)
  CompilerEndIf
EndProcedure
