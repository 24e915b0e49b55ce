  ButtonGadget(#Ok, 10, 20, 80, 24, "OK", #PB_Button_Default) ; comment
StringGadget(#PB_Any, $10, %101, 1*GTBScale, -5, "a, b")
OpenWindow(#Win, 0, 0, 400, 300, "Title", #PB_Window_SystemMenu)Frame#F1
Gadget(#G, 1, 2, 3, 4, a, b, c, #G2)
ButtonGadget(#Ok, 1, 1, 1, 1, "again")
