Ok = ButtonGadget(#PB_Any, 1, 2, 3, 4, ~"a\"b\n", 0) : AddGadgetItem(Ok, -1, "x") ; ButtonGadget(#No)
SplitterGadget(7, 0, 0, 9, 9, Ok, "s", #Two) : Tab$ ("t"; 5)CloseGadgetList() : ButtonGadget(#Open, 1, "
