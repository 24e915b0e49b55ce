; demo.tbf: Hauptprogramm, einmal von Tafelbau geschrieben und nun Ihres.
; Fenster und Gadgets entstehen in demo.pbi, das jedes Speichern der Liste neu schreibt.
EnableExplicit

XIncludeFile #PB_Compiler_FilePath + "demo.pbi"

Procedure StrName_Event()
	; EventType() sagt, was an #StrName geschah.
EndProcedure

Procedure StrVorname_Event()
	; EventType() sagt, was an #StrVorname geschah.
EndProcedure

Procedure ChkFirma_Event()
	; EventType() sagt, was an #ChkFirma geschah.
EndProcedure

Procedure StrTelefon_Event()
	; EventType() sagt, was an #StrTelefon geschah.
EndProcedure

Procedure StrMail_Event()
	; EventType() sagt, was an #StrMail geschah.
EndProcedure

Procedure BtnOk_Event()
	; EventType() sagt, was an #BtnOk geschah.
EndProcedure

Procedure BtnAbbrechen_Event()
	; EventType() sagt, was an #BtnAbbrechen geschah.
EndProcedure

Define Event
Repeat
	Event = WaitWindowEvent()
	Select Event
		Case #PB_Event_Gadget
			Select EventGadget()
				Case #StrName
					StrName_Event()
				Case #StrVorname
					StrVorname_Event()
				Case #ChkFirma
					ChkFirma_Event()
				Case #StrTelefon
					StrTelefon_Event()
				Case #StrMail
					StrMail_Event()
				Case #BtnOk
					BtnOk_Event()
				Case #BtnAbbrechen
					BtnAbbrechen_Event()
			EndSelect
		Case #PB_Event_Menu
			Select EventMenu()
			EndSelect
	EndSelect
Until Event = #PB_Event_CloseWindow
