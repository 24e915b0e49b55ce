; Werkzeugfenster: Gadgets über #PB_Any in einer Struktur (UTF-8, LF)
DeclareModule Werkzeug
  Structure Fenster
    Handle.i
    Liste.i
    Vorschau.i
    Knopf.i[2]
  EndStructure
  Declare.i Oeffnen()
EndDeclareModule

Module Werkzeug
  Global Dlg.Fenster

  Procedure.i Oeffnen()
    Dlg\Handle = OpenWindow(#PB_Any, 100, 100, 520, 360, "Größen & Maße", #PB_Window_SystemMenu | #PB_Window_SizeGadget)
    If Dlg\Handle = 0 : ProcedureReturn #False : EndIf

    Dlg\Liste = ListIconGadget(#PB_Any, 10, 10, 240, 300, "Name", 120,
                               #PB_ListIcon_GridLines | #PB_ListIcon_FullRowSelect) ; Spalte 1
    AddGadgetColumn(Dlg\Liste, 1, "Größe", 100)
    Protected Fortschritt.i = ProgressBarGadget(#PB_Any, 10, 320, 240, 20, 0, 100) : SetGadgetState(Fortschritt, 0)

    CompilerIf #PB_Compiler_OS = #PB_OS_Windows
      Dlg\Vorschau = WebGadget(#PB_Any, 260, 10, 250, 260, "about:blank", #PB_Web_Edge)
    CompilerElse
      Dlg\Vorschau = EditorGadget(#PB_Any, 260, 10, 250, 260, #PB_Editor_ReadOnly)
    CompilerEndIf
    Hinweis = TextGadget(#PB_Any, 260, 275, 250, 40, ~"Doppelklick öffnet,\nEntf löscht")

    Dlg\Knopf[0] = ButtonGadget(#PB_Any, 260, 320, 120, 30, "Übernehmen") : Dlg\Knopf[1] = ButtonGadget(#PB_Any, 390, 320, 120, 30, "Schließen")
    SplitterGadget(#PB_Any, 0, 0, 0, 0, Dlg\Liste, Dlg\Vorschau) ; wird später eingeblendet
    ProcedureReturn Dlg\Handle
  EndProcedure
EndModule
