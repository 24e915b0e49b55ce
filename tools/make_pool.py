#!/usr/bin/env python3
"""Generate the shipped default gadget pool file data/TafelbauGadgetPool.ini.

Usage:
    python3 tools/make_pool.py           write data/TafelbauGadgetPool.ini
    python3 tools/make_pool.py --check   verify the file on disk: it must equal
                                         what this script writes, read back to
                                         the same values, and every entry's
                                         import mask must read back the code
                                         its own template produces.

The file is written byte-exact: Latin-1, every line ended by CR LF, no BOM.
The head section comes first, then one group per entry in pool order
(ascending by name, comparing bytes after folding A-Z to a-z).

Conventions used by the templates:
  * "#[id]" is the gadget (or window) number: the VarID becomes a constant.
  * "[x]", "[y]", "[xd]", "[yd]" become "<number>*GTBScale" on expansion.
  * Commands with an optional Flags argument always emit "[flags]" last and
    offer a flag line "Keine Flags=0"; when no other flag is on by default
    that line is on, so a new gadget writes ", 0" instead of ", ".
  * Flag lines are written "Default:Name=Value" without blanks around "=":
    the value taken for a new gadget is the text after "=" untrimmed, and a
    leading blank would not survive an import (imported values are trimmed).
  * Import masks take the id without its "#": the mask prefix ends in "(#",
    so the line-by-line reading recognises only calls whose first argument
    is a #constant. The pool selects the statement reading
    (GGdtPoolImportSyntax = 1), which takes the function name before "(" and
    the arguments by position; --check still simulates the line reading,
    which a user gets back by setting the key to 0.
  * Parameters that name another gadget inside the argument list (the two
    gadgets of a splitter) carry their own "#" in the parameter value,
    because import cannot strip it there.
"""

import os
import sys

# --------------------------------------------------------------------------
# Head section (order matters).
# --------------------------------------------------------------------------

US = "\x1f"   # encodes CR LF inside one value
RS = "\x1e"   # encodes a tab inside one value

HEAD = [
    ("GeneralPrgHelpFile", ""),
    ("GGdtPoolCodeFileExt", ".pbi"),
    ("GGdtPoolCodeComment", ";"),
    ("GGdtPoolImportRemove", '"'),
    ("GGdtPoolImportTrim", ")"),
    ("GGdtPoolCRSep", '"+#CRLF$+"'),
    ("GGdtPoolKonstRumpf", "Enumeration 1"),
    ("GGdtPoolKonstCorps", "#"),
    ("GGdtPoolKonstEnde",
     "EndEnumeration" + US + "#GadgetIndex=#PB_Compiler_EnumerationValue"),
    # Beyond the nine: import reads sources as PureBasic statements (calls,
    # strings, comments) instead of searching each line for a mask prefix.
    ("GGdtPoolImportSyntax", "1"),
]


def rgb(r, g, b):
    return r + 256 * g + 65536 * b


# Frame colours by family (the card canvas is black).
C_CARD = rgb(255, 255, 0)       # windows and panel pages: yellow
# Never pure red (255) or pure green (65280): those mark the selected
# gadgets while moving and while resizing.
C_BUTTON = rgb(255, 160, 192)   # buttons, check and option boxes: pink
C_INPUT = rgb(0, 224, 255)      # text, input and editing gadgets: cyan
C_LIST = rgb(255, 96, 255)      # lists, trees, combo boxes: magenta
C_CONTAINER = rgb(255, 128, 0)  # containers: orange
C_RANGE = rgb(128, 128, 255)    # bars, sliders, spin: light blue
C_VIEW = rgb(255, 255, 255)     # images, canvas, calendar, web: white
C_CODE = rgb(192, 192, 192)     # not drawn

NOFLAGS_ON = (1, "Keine Flags", "0")
NOFLAGS_OFF = (0, "Keine Flags", "0")


def topic(library, command):
    return "%s/%s.html" % (library, command.lower())


# --------------------------------------------------------------------------
# Entries. One dictionary per pool entry.
#   code      template (lines joined by CR LF when it is a list)
#   mask      import search mask, sep its value separator
#   flags     list of (default, name, value)
#   params    names of p0..p9 (missing ones are empty)
#   sample    plausible p-values used by --check only
# --------------------------------------------------------------------------

ENTRIES = [
    dict(
        name="OpenWindow",
        code='OpenWindow(#[id], [x], [y], [xd], [yd], "[text]", [flags])',
        mask="OpenWindow(#[id],[x],[y],[xd],[yd],[text],[flags]",
        x=0, y=0, xy0=1, xd=400, yd=300,
        flags=[
            (1, "SystemMenu", "#PB_Window_SystemMenu"),
            (1, "ScreenCentered", "#PB_Window_ScreenCentered"),
            (0, "MinimizeGadget", "#PB_Window_MinimizeGadget"),
            (0, "MaximizeGadget", "#PB_Window_MaximizeGadget"),
            (0, "SizeGadget", "#PB_Window_SizeGadget"),
            (0, "TitleBar", "#PB_Window_TitleBar"),
            (0, "Tool", "#PB_Window_Tool"),
            (0, "BorderLess", "#PB_Window_BorderLess"),
            (0, "Invisible", "#PB_Window_Invisible"),
            (0, "NoGadgets", "#PB_Window_NoGadgets"),
            (0, "NoActivate", "#PB_Window_NoActivate"),
            NOFLAGS_OFF,
        ],
        params=[],
        helptopic=topic("window", "OpenWindow"),
        color=C_CARD,
    ),
    dict(
        name="AddGadgetItem",
        code='AddGadgetItem(#[p0], -1, "[text]")',
        mask="AddGadgetItem(#[p0],[skip],[text]",
        x=0, y=0, xy0=1, xd=290, yd=175,
        flags=[],
        params=["Panel (VarID ohne #)"],
        sample=["PanelGadget1"],
        helptopic=topic("gadget", "AddGadgetItem"),
        color=C_CARD,
    ),
    dict(
        name="CloseGadgetList",
        code="CloseGadgetList()",
        mask="CloseGadgetList(",
        flags=[],
        params=[],
        helptopic=topic("gadget", "CloseGadgetList"),
        dontshow=1,
        color=C_CODE,
    ),
    dict(
        name="Code",
        code="[text]",
        mask="",
        flags=[],
        params=[],
        helptopic="",
        dontshow=1,
        color=C_CODE,
    ),
    dict(
        name="ButtonGadget",
        code='ButtonGadget(#[id], [x], [y], [xd], [yd], "[text]", [flags])',
        mask="ButtonGadget(#[id],[x],[y],[xd],[yd],[text],[flags]",
        x=10, y=10, xd=100, yd=25,
        flags=[
            NOFLAGS_ON,
            (0, "Default", "#PB_Button_Default"),
            (0, "Toggle", "#PB_Button_Toggle"),
            (0, "MultiLine", "#PB_Button_MultiLine"),
            (0, "Left", "#PB_Button_Left"),
            (0, "Right", "#PB_Button_Right"),
        ],
        params=[],
        helptopic=topic("gadget", "ButtonGadget"),
        color=C_BUTTON,
    ),
    dict(
        name="ButtonImageGadget",
        code="ButtonImageGadget(#[id], [x], [y], [xd], [yd], [p0], [flags])",
        mask="ButtonImageGadget(#[id],[x],[y],[xd],[yd],[p0],[flags]",
        x=10, y=10, xd=40, yd=40,
        flags=[
            NOFLAGS_ON,
            (0, "Toggle", "#PB_Button_Toggle"),
        ],
        params=["ImageID"],
        sample=["ImageID(#Bild)"],
        helptopic=topic("gadget", "ButtonImageGadget"),
        color=C_BUTTON,
    ),
    dict(
        name="CalendarGadget",
        code="CalendarGadget(#[id], [x], [y], [xd], [yd], [p0], [flags])",
        mask="CalendarGadget(#[id],[x],[y],[xd],[yd],[p0],[flags]",
        x=10, y=10, xd=230, yd=180,
        flags=[
            NOFLAGS_ON,
            (0, "Borderless", "#PB_Calendar_Borderless"),
        ],
        params=["Datum (0 = heute)"],
        sample=["0"],
        helptopic=topic("gadget", "CalendarGadget"),
        color=C_VIEW,
    ),
    dict(
        name="CanvasGadget",
        code="CanvasGadget(#[id], [x], [y], [xd], [yd], [flags])",
        mask="CanvasGadget(#[id],[x],[y],[xd],[yd],[flags]",
        x=10, y=10, xd=200, yd=150,
        flags=[
            NOFLAGS_ON,
            (0, "Border", "#PB_Canvas_Border"),
            (0, "Keyboard", "#PB_Canvas_Keyboard"),
            (0, "ClipMouse", "#PB_Canvas_ClipMouse"),
            (0, "DrawFocus", "#PB_Canvas_DrawFocus"),
            (0, "Container", "#PB_Canvas_Container"),
        ],
        params=[],
        helptopic=topic("gadget", "CanvasGadget"),
        color=C_VIEW,
    ),
    dict(
        name="CheckBoxGadget",
        code='CheckBoxGadget(#[id], [x], [y], [xd], [yd], "[text]", [flags])',
        mask="CheckBoxGadget(#[id],[x],[y],[xd],[yd],[text],[flags]",
        x=10, y=10, xd=120, yd=20,
        flags=[
            NOFLAGS_ON,
            (0, "Right", "#PB_CheckBox_Right"),
            (0, "Center", "#PB_CheckBox_Center"),
            (0, "ThreeState", "#PB_CheckBox_ThreeState"),
        ],
        params=[],
        helptopic=topic("gadget", "CheckBoxGadget"),
        color=C_BUTTON,
    ),
    dict(
        name="ComboBoxGadget",
        code="ComboBoxGadget(#[id], [x], [y], [xd], [yd], [flags])",
        mask="ComboBoxGadget(#[id],[x],[y],[xd],[yd],[flags]",
        x=10, y=10, xd=150, yd=25,
        flags=[
            NOFLAGS_ON,
            (0, "Editable", "#PB_ComboBox_Editable"),
            (0, "LowerCase", "#PB_ComboBox_LowerCase"),
            (0, "UpperCase", "#PB_ComboBox_UpperCase"),
            (0, "Image", "#PB_ComboBox_Image"),
        ],
        params=[],
        helptopic=topic("gadget", "ComboBoxGadget"),
        color=C_LIST,
    ),
    dict(
        name="ContainerGadget",
        code="ContainerGadget(#[id], [x], [y], [xd], [yd], [flags])",
        mask="ContainerGadget(#[id],[x],[y],[xd],[yd],[flags]",
        x=10, y=10, xd=200, yd=150,
        flags=[
            (1, "BorderLess", "#PB_Container_BorderLess"),
            (0, "Flat", "#PB_Container_Flat"),
            (0, "Raised", "#PB_Container_Raised"),
            (0, "Single", "#PB_Container_Single"),
            (0, "Double", "#PB_Container_Double"),
            NOFLAGS_OFF,
        ],
        params=[],
        helptopic=topic("gadget", "ContainerGadget"),
        color=C_CONTAINER,
    ),
    dict(
        name="DateGadget",
        code='DateGadget(#[id], [x], [y], [xd], [yd], "[p0]", [p1], [flags])',
        mask="DateGadget(#[id],[x],[y],[xd],[yd],[p0],[p1],[flags]",
        x=10, y=10, xd=120, yd=25,
        flags=[
            NOFLAGS_ON,
            (0, "UpDown", "#PB_Date_UpDown"),
            (0, "CheckBox", "#PB_Date_CheckBox"),
        ],
        params=["Maske", "Datum (0 = heute)"],
        sample=["%dd.%mm.%yyyy", "Date()"],
        helptopic=topic("gadget", "DateGadget"),
        color=C_INPUT,
    ),
    dict(
        name="EditorGadget",
        code="EditorGadget(#[id], [x], [y], [xd], [yd], [flags])",
        mask="EditorGadget(#[id],[x],[y],[xd],[yd],[flags]",
        x=10, y=10, xd=250, yd=120,
        flags=[
            NOFLAGS_ON,
            (0, "ReadOnly", "#PB_Editor_ReadOnly"),
            (0, "WordWrap", "#PB_Editor_WordWrap"),
        ],
        params=[],
        helptopic=topic("gadget", "EditorGadget"),
        color=C_INPUT,
    ),
    dict(
        name="ExplorerComboGadget",
        code='ExplorerComboGadget(#[id], [x], [y], [xd], [yd], "[p0]", [flags])',
        mask="ExplorerComboGadget(#[id],[x],[y],[xd],[yd],[p0],[flags]",
        x=10, y=10, xd=250, yd=25,
        flags=[
            NOFLAGS_ON,
            (0, "DrivesOnly", "#PB_Explorer_DrivesOnly"),
            (0, "Editable", "#PB_Explorer_Editable"),
            (0, "NoMyDocuments", "#PB_Explorer_NoMyDocuments"),
        ],
        params=["Verzeichnis"],
        sample=["C:\\"],
        helptopic=topic("gadget", "ExplorerComboGadget"),
        color=C_LIST,
    ),
    dict(
        name="ExplorerListGadget",
        code='ExplorerListGadget(#[id], [x], [y], [xd], [yd], "[p0]", [flags])',
        mask="ExplorerListGadget(#[id],[x],[y],[xd],[yd],[p0],[flags]",
        x=10, y=10, xd=300, yd=200,
        flags=[
            NOFLAGS_ON,
            (0, "BorderLess", "#PB_Explorer_BorderLess"),
            (0, "AlwaysShowSelection", "#PB_Explorer_AlwaysShowSelection"),
            (0, "MultiSelect", "#PB_Explorer_MultiSelect"),
            (0, "GridLines", "#PB_Explorer_GridLines"),
            (0, "HeaderDragDrop", "#PB_Explorer_HeaderDragDrop"),
            (0, "FullRowSelect", "#PB_Explorer_FullRowSelect"),
            (0, "NoFiles", "#PB_Explorer_NoFiles"),
            (0, "NoFolders", "#PB_Explorer_NoFolders"),
            (0, "NoParentFolder", "#PB_Explorer_NoParentFolder"),
            (0, "NoDirectoryChange", "#PB_Explorer_NoDirectoryChange"),
            (0, "NoDriveRequester", "#PB_Explorer_NoDriveRequester"),
            (0, "NoSort", "#PB_Explorer_NoSort"),
            (0, "NoMyDocuments", "#PB_Explorer_NoMyDocuments"),
            (0, "AutoSort", "#PB_Explorer_AutoSort"),
            (0, "HiddenFiles", "#PB_Explorer_HiddenFiles"),
        ],
        params=["Verzeichnis"],
        sample=["*.*"],
        helptopic=topic("gadget", "ExplorerListGadget"),
        color=C_LIST,
    ),
    dict(
        name="ExplorerTreeGadget",
        code='ExplorerTreeGadget(#[id], [x], [y], [xd], [yd], "[p0]", [flags])',
        mask="ExplorerTreeGadget(#[id],[x],[y],[xd],[yd],[p0],[flags]",
        x=10, y=10, xd=200, yd=250,
        flags=[
            NOFLAGS_ON,
            (0, "BorderLess", "#PB_Explorer_BorderLess"),
            (0, "AlwaysShowSelection", "#PB_Explorer_AlwaysShowSelection"),
            (0, "NoLines", "#PB_Explorer_NoLines"),
            (0, "NoButtons", "#PB_Explorer_NoButtons"),
            (0, "NoFiles", "#PB_Explorer_NoFiles"),
            (0, "NoDriveRequester", "#PB_Explorer_NoDriveRequester"),
            (0, "NoMyDocuments", "#PB_Explorer_NoMyDocuments"),
            (0, "AutoSort", "#PB_Explorer_AutoSort"),
        ],
        params=["Verzeichnis"],
        sample=["C:\\Programme\\"],
        helptopic=topic("gadget", "ExplorerTreeGadget"),
        color=C_LIST,
    ),
    dict(
        name="FrameGadget",
        code='FrameGadget(#[id], [x], [y], [xd], [yd], "[text]", [flags])',
        mask="FrameGadget(#[id],[x],[y],[xd],[yd],[text],[flags]",
        x=10, y=10, xd=200, yd=100,
        flags=[
            NOFLAGS_ON,
            (0, "Single", "#PB_Frame_Single"),
            (0, "Double", "#PB_Frame_Double"),
            (0, "Flat", "#PB_Frame_Flat"),
        ],
        params=[],
        helptopic=topic("gadget", "FrameGadget"),
        color=C_CONTAINER,
    ),
    dict(
        name="HyperLinkGadget",
        code='HyperLinkGadget(#[id], [x], [y], [xd], [yd], "[text]", [p0], [flags])',
        mask="HyperLinkGadget(#[id],[x],[y],[xd],[yd],[text],[p0],[flags]",
        x=10, y=10, xd=150, yd=20,
        flags=[
            NOFLAGS_ON,
            (0, "Underline", "#PB_HyperLink_Underline"),
        ],
        params=["Farbe ($BBGGRR)"],
        sample=["$FF0000"],
        helptopic=topic("gadget", "HyperLinkGadget"),
        color=C_BUTTON,
    ),
    dict(
        name="IPAddressGadget",
        code="IPAddressGadget(#[id], [x], [y], [xd], [yd])",
        mask="IPAddressGadget(#[id],[x],[y],[xd],[yd]",
        x=10, y=10, xd=120, yd=25,
        flags=[],
        params=[],
        helptopic=topic("gadget", "IPAddressGadget"),
        color=C_INPUT,
    ),
    dict(
        name="ImageGadget",
        code="ImageGadget(#[id], [x], [y], [xd], [yd], [p0], [flags])",
        mask="ImageGadget(#[id],[x],[y],[xd],[yd],[p0],[flags]",
        x=10, y=10, xd=100, yd=100,
        flags=[
            NOFLAGS_ON,
            (0, "Border", "#PB_Image_Border"),
            (0, "Raised", "#PB_Image_Raised"),
        ],
        params=["ImageID"],
        sample=["ImageID(#Logo)"],
        helptopic=topic("gadget", "ImageGadget"),
        color=C_VIEW,
    ),
    dict(
        name="ListIconGadget",
        code='ListIconGadget(#[id], [x], [y], [xd], [yd], "[p0]", [p1], [flags])',
        mask="ListIconGadget(#[id],[x],[y],[xd],[yd],[p0],[p1],[flags]",
        x=10, y=10, xd=300, yd=150,
        flags=[
            (1, "GridLines", "#PB_ListIcon_GridLines"),
            (1, "FullRowSelect", "#PB_ListIcon_FullRowSelect"),
            (0, "CheckBoxes", "#PB_ListIcon_CheckBoxes"),
            (0, "ThreeState", "#PB_ListIcon_ThreeState"),
            (0, "MultiSelect", "#PB_ListIcon_MultiSelect"),
            (0, "HeaderDragDrop", "#PB_ListIcon_HeaderDragDrop"),
            (0, "AlwaysShowSelection", "#PB_ListIcon_AlwaysShowSelection"),
            NOFLAGS_OFF,
        ],
        params=["Spalte 1 Titel", "Spalte 1 Breite"],
        sample=["Name", "120"],
        helptopic=topic("gadget", "ListIconGadget"),
        color=C_LIST,
    ),
    dict(
        name="ListViewGadget",
        code="ListViewGadget(#[id], [x], [y], [xd], [yd], [flags])",
        mask="ListViewGadget(#[id],[x],[y],[xd],[yd],[flags]",
        x=10, y=10, xd=200, yd=150,
        flags=[
            NOFLAGS_ON,
            (0, "MultiSelect", "#PB_ListView_MultiSelect"),
            (0, "ClickSelect", "#PB_ListView_ClickSelect"),
        ],
        params=[],
        helptopic=topic("gadget", "ListViewGadget"),
        color=C_LIST,
    ),
    dict(
        name="MDIGadget",
        code="MDIGadget(#[id], [x], [y], [xd], [yd], [p0], [p1], [flags])",
        mask="MDIGadget(#[id],[x],[y],[xd],[yd],[p0],[p1],[flags]",
        x=10, y=10, xd=380, yd=280,
        flags=[
            NOFLAGS_ON,
            (0, "AutoSize", "#PB_MDI_AutoSize"),
            (0, "BorderLess", "#PB_MDI_BorderLess"),
            (0, "NoScrollBars", "#PB_MDI_NoScrollBars"),
        ],
        params=["Untermen\u00fc", "Erster Men\u00fcpunkt"],
        sample=["1", "100"],
        helptopic=topic("gadget", "MDIGadget"),
        color=C_CONTAINER,
    ),
    dict(
        name="OpenGLGadget",
        code="OpenGLGadget(#[id], [x], [y], [xd], [yd], [flags])",
        mask="OpenGLGadget(#[id],[x],[y],[xd],[yd],[flags]",
        x=10, y=10, xd=200, yd=150,
        flags=[
            NOFLAGS_ON,
            (0, "Keyboard", "#PB_OpenGL_Keyboard"),
            (0, "NoFlipSynchronization", "#PB_OpenGL_NoFlipSynchronization"),
            (0, "NoDepthBuffer", "#PB_OpenGL_NoDepthBuffer"),
            (0, "16BitDepthBuffer", "#PB_OpenGL_16BitDepthBuffer"),
            (0, "24BitDepthBuffer", "#PB_OpenGL_24BitDepthBuffer"),
            (0, "NoStencilBuffer", "#PB_OpenGL_NoStencilBuffer"),
            (0, "8BitStencilBuffer", "#PB_OpenGL_8BitStencilBuffer"),
            (0, "NoAccumulationBuffer", "#PB_OpenGL_NoAccumulationBuffer"),
            (0, "32BitAccumulationBuffer", "#PB_OpenGL_32BitAccumulationBuffer"),
            (0, "64BitAccumulationBuffer", "#PB_OpenGL_64BitAccumulationBuffer"),
        ],
        params=[],
        helptopic=topic("gadget", "OpenGLGadget"),
        color=C_VIEW,
    ),
    dict(
        name="OptionGadget",
        code='OptionGadget(#[id], [x], [y], [xd], [yd], "[text]")',
        mask="OptionGadget(#[id],[x],[y],[xd],[yd],[text]",
        x=10, y=10, xd=120, yd=20,
        flags=[],
        params=[],
        helptopic=topic("gadget", "OptionGadget"),
        color=C_BUTTON,
    ),
    dict(
        name="PanelGadget",
        code="PanelGadget(#[id], [x], [y], [xd], [yd])",
        mask="PanelGadget(#[id],[x],[y],[xd],[yd]",
        x=10, y=10, xd=300, yd=200,
        flags=[],
        params=[],
        helptopic=topic("gadget", "PanelGadget"),
        color=C_CONTAINER,
    ),
    dict(
        name="ProgressBarGadget",
        code="ProgressBarGadget(#[id], [x], [y], [xd], [yd], [p0], [p1], [flags])",
        mask="ProgressBarGadget(#[id],[x],[y],[xd],[yd],[p0],[p1],[flags]",
        x=10, y=10, xd=200, yd=20,
        flags=[
            NOFLAGS_ON,
            (0, "Smooth", "#PB_ProgressBar_Smooth"),
            (0, "Vertical", "#PB_ProgressBar_Vertical"),
        ],
        params=["Min", "Max"],
        sample=["0", "100"],
        helptopic=topic("gadget", "ProgressBarGadget"),
        color=C_RANGE,
    ),
    dict(
        name="ScintillaGadget",
        code="ScintillaGadget(#[id], [x], [y], [xd], [yd], [p0])",
        mask="ScintillaGadget(#[id],[x],[y],[xd],[yd],[p0]",
        x=10, y=10, xd=300, yd=200,
        flags=[],
        params=["Callback (0 oder @Prozedur())"],
        sample=["0"],
        helptopic=topic("scintilla", "ScintillaGadget"),
        color=C_INPUT,
    ),
    dict(
        name="ScrollAreaGadget",
        code="ScrollAreaGadget(#[id], [x], [y], [xd], [yd], [p0], [p1], [p2], [flags])",
        mask="ScrollAreaGadget(#[id],[x],[y],[xd],[yd],[p0],[p1],[p2],[flags]",
        x=10, y=10, xd=200, yd=150,
        flags=[
            NOFLAGS_ON,
            (0, "Flat", "#PB_ScrollArea_Flat"),
            (0, "Raised", "#PB_ScrollArea_Raised"),
            (0, "Single", "#PB_ScrollArea_Single"),
            (0, "BorderLess", "#PB_ScrollArea_BorderLess"),
            (0, "Center", "#PB_ScrollArea_Center"),
        ],
        params=["Innere Breite", "Innere H\u00f6he", "Scroll-Schritt"],
        sample=["400", "300", "10"],
        helptopic=topic("gadget", "ScrollAreaGadget"),
        color=C_CONTAINER,
    ),
    dict(
        name="ScrollBarGadget",
        code="ScrollBarGadget(#[id], [x], [y], [xd], [yd], [p0], [p1], [p2], [flags])",
        mask="ScrollBarGadget(#[id],[x],[y],[xd],[yd],[p0],[p1],[p2],[flags]",
        x=10, y=10, xd=200, yd=18,
        flags=[
            NOFLAGS_ON,
            (0, "Vertical", "#PB_ScrollBar_Vertical"),
        ],
        params=["Min", "Max", "Seitenl\u00e4nge"],
        sample=["0", "100", "10"],
        helptopic=topic("gadget", "ScrollBarGadget"),
        color=C_RANGE,
    ),
    dict(
        name="ShortcutGadget",
        code="ShortcutGadget(#[id], [x], [y], [xd], [yd], [p0])",
        mask="ShortcutGadget(#[id],[x],[y],[xd],[yd],[p0]",
        x=10, y=10, xd=150, yd=25,
        flags=[],
        params=["Shortcut"],
        sample=["#PB_Shortcut_Control|#PB_Shortcut_S"],
        helptopic=topic("gadget", "ShortcutGadget"),
        color=C_INPUT,
    ),
    dict(
        name="SpinGadget",
        code="SpinGadget(#[id], [x], [y], [xd], [yd], [p0], [p1], [flags])",
        mask="SpinGadget(#[id],[x],[y],[xd],[yd],[p0],[p1],[flags]",
        x=10, y=10, xd=80, yd=25,
        flags=[
            (1, "Numeric", "#PB_Spin_Numeric"),
            (0, "ReadOnly", "#PB_Spin_ReadOnly"),
            NOFLAGS_OFF,
        ],
        params=["Min", "Max"],
        sample=["0", "10"],
        helptopic=topic("gadget", "SpinGadget"),
        color=C_RANGE,
    ),
    dict(
        name="SplitterGadget",
        code="SplitterGadget(#[id], [x], [y], [xd], [yd], [p0], [p1], [flags])",
        mask="SplitterGadget(#[id],[x],[y],[xd],[yd],[p0],[p1],[flags]",
        x=10, y=10, xd=300, yd=200,
        flags=[
            (1, "Separator", "#PB_Splitter_Separator"),
            (0, "Vertical", "#PB_Splitter_Vertical"),
            (0, "FirstFixed", "#PB_Splitter_FirstFixed"),
            (0, "SecondFixed", "#PB_Splitter_SecondFixed"),
            NOFLAGS_OFF,
        ],
        params=["Gadget 1 (mit #)", "Gadget 2 (mit #)"],
        sample=["#ListViewGadget1", "#EditorGadget1"],
        helptopic=topic("gadget", "SplitterGadget"),
        color=C_CONTAINER,
    ),
    dict(
        name="StringGadget",
        code='StringGadget(#[id], [x], [y], [xd], [yd], "[text]", [flags])',
        mask="StringGadget(#[id],[x],[y],[xd],[yd],[text],[flags]",
        x=10, y=10, xd=150, yd=25,
        flags=[
            NOFLAGS_ON,
            (0, "Numeric", "#PB_String_Numeric"),
            (0, "Password", "#PB_String_Password"),
            (0, "ReadOnly", "#PB_String_ReadOnly"),
            (0, "LowerCase", "#PB_String_LowerCase"),
            (0, "UpperCase", "#PB_String_UpperCase"),
            (0, "BorderLess", "#PB_String_BorderLess"),
        ],
        params=[],
        helptopic=topic("gadget", "StringGadget"),
        color=C_INPUT,
    ),
    dict(
        name="TextGadget",
        code='TextGadget(#[id], [x], [y], [xd], [yd], "[text]", [flags])',
        mask="TextGadget(#[id],[x],[y],[xd],[yd],[text],[flags]",
        x=10, y=10, xd=100, yd=20,
        flags=[
            NOFLAGS_ON,
            (0, "Center", "#PB_Text_Center"),
            (0, "Right", "#PB_Text_Right"),
            (0, "Border", "#PB_Text_Border"),
        ],
        params=[],
        helptopic=topic("gadget", "TextGadget"),
        color=C_INPUT,
    ),
    dict(
        name="TrackBarGadget",
        code="TrackBarGadget(#[id], [x], [y], [xd], [yd], [p0], [p1], [flags])",
        mask="TrackBarGadget(#[id],[x],[y],[xd],[yd],[p0],[p1],[flags]",
        x=10, y=10, xd=200, yd=30,
        flags=[
            NOFLAGS_ON,
            (0, "Ticks", "#PB_TrackBar_Ticks"),
            (0, "Vertical", "#PB_TrackBar_Vertical"),
        ],
        params=["Min", "Max"],
        sample=["-5", "$FF"],
        helptopic=topic("gadget", "TrackBarGadget"),
        color=C_RANGE,
    ),
    dict(
        name="TreeGadget",
        code="TreeGadget(#[id], [x], [y], [xd], [yd], [flags])",
        mask="TreeGadget(#[id],[x],[y],[xd],[yd],[flags]",
        x=10, y=10, xd=200, yd=200,
        flags=[
            NOFLAGS_ON,
            (0, "AlwaysShowSelection", "#PB_Tree_AlwaysShowSelection"),
            (0, "NoLines", "#PB_Tree_NoLines"),
            (0, "NoButtons", "#PB_Tree_NoButtons"),
            (0, "CheckBoxes", "#PB_Tree_CheckBoxes"),
            (0, "ThreeState", "#PB_Tree_ThreeState"),
        ],
        params=[],
        helptopic=topic("gadget", "TreeGadget"),
        color=C_LIST,
    ),
    dict(
        name="WebGadget",
        code='WebGadget(#[id], [x], [y], [xd], [yd], "[p0]", [flags])',
        mask="WebGadget(#[id],[x],[y],[xd],[yd],[p0],[flags]",
        x=10, y=10, xd=380, yd=280,
        flags=[
            NOFLAGS_ON,
            (0, "Edge", "#PB_Web_Edge"),
        ],
        params=["URL"],
        sample=["https://www.purebasic.com"],
        helptopic=topic("gadget", "WebGadget"),
        color=C_VIEW,
    ),
]

ENTRY_DEFAULTS = dict(
    mask="", sep=",", x=0, y=0, xy0=0, xd=0, yd=0, flagsep="|",
    helpfile="", helptopic="", dontshow=0, color=rgb(192, 192, 192),
    sample=[],
)

# --------------------------------------------------------------------------
# Building the file.
# --------------------------------------------------------------------------


def complete(entry):
    e = dict(ENTRY_DEFAULTS)
    e.update(entry)
    code = e["code"]
    e["code"] = "\r\n".join(code) if isinstance(code, list) else code
    e["flagtext"] = "\r\n".join("%d:%s=%s" % f for f in e["flags"])
    e["params"] = (list(e["params"]) + [""] * 10)[:10]
    return e


def fold(name):
    return bytes(b + 32 if 65 <= b <= 90 else b for b in name.encode("latin-1"))


def pool_order(entries):
    return sorted(entries, key=lambda e: fold(e["name"]))  # stable


def encode_multiline(text):
    return text.replace("\r\n", US).replace("\t", RS)


def decode_multiline(text):
    return text.replace(US, "\r\n").replace(RS, "\t")


def entry_keys(e):
    """The key/value pairs of one group, in file order."""
    kv = [
        ("code", encode_multiline(e["code"])),
        ("importcode", e["mask"]),
        ("importwerttrenn", e["sep"]),
        ("x", str(e["x"])),
        ("y", str(e["y"])),
        ("xy0", str(e["xy0"])),
        ("xd", str(e["xd"])),
        ("yd", str(e["yd"])),
        ("flags", encode_multiline(e["flagtext"])),
        ("flagsep", e["flagsep"]),
    ]
    kv += [("p%d" % i, e["params"][i]) for i in range(10)]
    kv += [
        ("helpfile", e["helpfile"]),
        ("helptopic", e["helptopic"]),
        ("dontshow", str(e["dontshow"])),
        ("color", str(e["color"])),
    ]
    return kv


def build_bytes():
    lines = ["%s = %s" % kv for kv in HEAD]
    for e in pool_order([complete(x) for x in ENTRIES]):
        lines.append("[%s]" % e["name"])
        lines += ["%s = %s" % kv for kv in entry_keys(e)]
    return b"".join(line.encode("latin-1") + b"\r\n" for line in lines)


def target_path():
    here = os.path.dirname(os.path.abspath(__file__))
    return os.path.join(os.path.dirname(here), "data", "TafelbauGadgetPool.ini")


# --------------------------------------------------------------------------
# Check: a simulation of how the program reads the file, adds a gadget,
# expands its template and imports a source line.
# --------------------------------------------------------------------------

BLANKS = " \t"


def read_settings(data):
    """Parse the settings file form: returns (head dict, [(group, dict)])."""
    text = data.decode("latin-1")
    head, groups, cur = {}, [], None
    for raw in text.replace("\r", "\n").split("\n"):
        line = raw.lstrip(BLANKS)
        if not line:
            continue
        if line.startswith(";"):
            continue
        if line.startswith("["):
            name = line[1:].split("]", 1)[0]
            cur = {}
            groups.append((name, cur))
            continue
        if "=" in line:
            key, value = line.split("=", 1)
        else:
            key, value = line, ""
        key = key.rstrip(BLANKS).lower()
        target = head if cur is None else cur
        if key not in target:                     # the first of equal keys wins
            target[key] = value.strip(BLANKS)     # ReadText trims both ends
    return head, groups


def flags_for_new_gadget(flagtext, flagsep):
    """How a new gadget's flags are built from the pool entry's flag lines."""
    flags = ""
    for line in flagtext.replace("\r\n", "\r").split("\r"):
        line = line.strip(" ")
        if line.split(":", 1)[0].strip(" ") != "1":
            continue
        parts = line.split("=")
        value = parts[1] if len(parts) > 1 else ""
        flags = value if flags == "" else flags + flagsep + value
    return flags


def flag_items(flagtext):
    """How the flags editor reads the flag lines: [(name, value)]."""
    items = []
    for line in flagtext.replace("\r\n", "\r").split("\r"):
        line = line.strip(" ")
        colon = line.split(":")
        rest = colon[1].strip(" ") if len(colon) > 1 else ""
        eq = rest.split("=")
        name = eq[0].strip(" ")
        value = eq[1].strip(" ") if len(eq) > 1 else ""
        items.append((name, value))
    return items


def ci_replace(s, placeholder, value):
    """Replace every placeholder, letter case of A-Z ignored, left to right."""
    out, i, low, ph = [], 0, s.lower(), placeholder.lower()
    while True:
        j = low.find(ph, i)
        if j < 0:
            out.append(s[i:])
            return "".join(out)
        out.append(s[i:j])
        out.append(value)
        i = j + len(ph)


def expand(rec, tab=0):
    s = rec["code"]
    for _ in range(max(tab, 0)):
        s = "\t" + s.replace("\r\n", "\r\n\t")
    subst = [
        ("[id]", rec["VarID"]),
        ("[text]", rec["text"]),
        ("[x]", "%d*GTBScale" % rec["x"]),
        ("[y]", "%d*GTBScale" % rec["y"]),
        ("[xd]", "%d*GTBScale" % rec["xd"]),
        ("[yd]", "%d*GTBScale" % rec["yd"]),
        ("[flags]", rec["flags"]),
    ] + [("[p%d]" % i, rec["p"][i]) for i in range(10)]
    for ph, value in subst:
        s = ci_replace(s, ph, value)
    return s


def read_number(text):
    i, n = 0, len(text)
    while i < n and text[i] in BLANKS:
        i += 1
    sign = 1
    if i < n and text[i] in "+-":
        sign = -1 if text[i] == "-" else 1
        i += 1
    base, digits = 10, "0123456789"
    if i < n and text[i] == "$":
        base, digits = 16, "0123456789abcdefABCDEF"
        i += 1
    elif i < n and text[i] == "%":
        base, digits = 2, "01"
        i += 1
    value = 0
    while i < n and text[i] in digits:
        value = value * base + int(text[i], 16)
        i += 1
    value = (sign * value) & 0xFFFFFFFF
    return value - (1 << 32) if value >= (1 << 31) else value


def mask_prefix(mask):
    return mask.split("[", 1)[0]


def between_first_two(s, prefix):
    parts = s.replace(prefix, "\r").split("\r")
    return parts[1] if len(parts) > 1 else ""


def import_line(line, pool, settings, used=()):
    """Import one source line; returns (entry, record) or None."""
    if line == "":
        return None
    entry = None
    for e in pool:
        prefix = mask_prefix(e["mask"])
        if prefix and prefix in line:
            entry = e
            break
    if entry is None:
        return None
    prefix = mask_prefix(entry["mask"])
    rec = dict(VarID="", text="", x=0, y=0, xd=0, yd=0, flags="", p=[""] * 10)
    mask_rest = between_first_two(entry["mask"], prefix).lower()
    rest = between_first_two(line, prefix)
    comment = settings["ggdtpoolcodecomment"]
    if comment and comment in rest:
        rest = rest[:rest.index(comment)]
    for ch in settings["ggdtpoolimportremove"]:
        if ch.isascii() and ch.isalpha():
            rest = "".join(c for c in rest if c.lower() != ch.lower())
        else:
            rest = rest.replace(ch, "")
    for ch in settings["ggdtpoolimporttrim"]:
        rest = rest.strip(ch)
    sep = entry["sep"]
    names = mask_rest.split(sep)        # non-overlapping, left to right
    values = rest.split(sep)
    for i, name in enumerate(names):
        name = name.strip(" ")
        value = values[i].strip(" ") if i < len(values) else ""
        if name == "[id]":
            if value:
                rec["VarID"] = make_unique(value, used)
        elif name in ("[x]", "[y]", "[xd]", "[yd]"):
            rec[name[1:-1]] = read_number(value)
        elif name == "[text]":
            rec["text"] = value
        elif name == "[flags]":
            rec["flags"] = value if value else "0"
        elif len(name) == 4 and name.startswith("[p") and name[2].isdigit() \
                and name.endswith("]"):
            rec["p"][int(name[2])] = value
    if rec["VarID"] == "":
        rec["VarID"] = make_unique(entry["name"], used)
    return entry, rec, names


def make_unique(t, used):
    if t not in used:
        return t
    n = 1
    while t + str(n) in used:
        n += 1
    return t + str(n)


def pool_from_file(data):
    head, groups = read_settings(data)
    pool = []
    for name, kv in groups:
        e = dict(
            name=name,
            code=decode_multiline(kv.get("code", "")),
            mask=kv.get("importcode", ""),
            sep=kv.get("importwerttrenn", ","),
            flagtext=decode_multiline(kv.get("flags", "")),
            flagsep=kv.get("flagsep", "|"),
            params=[kv.get("p%d" % i, "") for i in range(10)],
        )
        for key in ("x", "y", "xy0", "xd", "yd", "dontshow", "color"):
            e[key] = int(kv[key])
        e["helpfile"] = kv.get("helpfile", "")
        e["helptopic"] = kv.get("helptopic", "")
        pool.append(e)
    return head, pool


class Failures:
    def __init__(self):
        self.messages = []

    def check(self, cond, message):
        if not cond:
            self.messages.append(message)


def check(path):
    f = Failures()
    expected = build_bytes()
    with open(path, "rb") as fh:
        data = fh.read()
    f.check(data == expected, "file on disk differs from the generated bytes "
            "(run without --check to regenerate)")
    f.check(not data.startswith(b"\xef\xbb\xbf"), "file starts with a BOM")
    f.check(b"\n" not in data.replace(b"\r\n", b""), "lone LF in the file")
    f.check(b"\r" not in data.replace(b"\r\n", b""), "lone CR in the file")
    f.check(b"\0" not in data, "NUL byte in the file")

    head, pool = pool_from_file(data)

    # Head section reads back as intended.
    for key, value in HEAD:
        f.check(head.get(key.lower()) == value,
                "head key %s reads back as %r" % (key, head.get(key.lower())))

    # Entries read back as intended and are in pool order.
    wanted = pool_order([complete(x) for x in ENTRIES])
    f.check([e["name"] for e in pool] == [e["name"] for e in wanted],
            "groups are not the entries in pool order")
    f.check(len({fold(e["name"]) for e in pool}) == len(pool),
            "two entry names differ only in letter case")
    for got, want in zip(pool, wanted):
        n = want["name"]
        for key, wkey in (("code", "code"), ("mask", "mask"), ("sep", "sep"),
                          ("flagtext", "flagtext"), ("flagsep", "flagsep"),
                          ("params", "params"), ("x", "x"), ("y", "y"),
                          ("xy0", "xy0"), ("xd", "xd"), ("yd", "yd"),
                          ("helpfile", "helpfile"), ("helptopic", "helptopic"),
                          ("dontshow", "dontshow"), ("color", "color")):
            f.check(got[key] == want[wkey],
                    "%s: %s reads back as %r, wanted %r"
                    % (n, key, got[key], want[wkey]))
        for key, value in entry_keys(want):
            f.check(value == value.strip(BLANKS),
                    "%s: value of %s starts or ends with a blank" % (n, key))
        f.check("]" not in n and n != "", "%s: bad group name" % n)

    settings = head
    for e in pool:
        n = e["name"]
        # Flag lines: what a new gadget gets equals what the editor offers.
        items = flag_items(e["flagtext"]) if e["flagtext"] else []
        values = [v for _, v in items]
        for name, value in items:
            f.check(name != "" and value != "",
                    "%s: flag line without name or value" % n)
        for a in values:
            for b in values:
                f.check(a == b or a not in b,
                        "%s: flag value %s is part of %s (the flags editor "
                        "would mark it wrongly)" % (n, a, b))
        f.check(len(set(values)) == len(values), "%s: duplicate flag value" % n)
        newflags = flags_for_new_gadget(e["flagtext"], e["flagsep"])
        editor_on = [v for v in values if v and v in newflags]
        f.check(e["flagsep"].join(editor_on) == newflags,
                "%s: flags editor would not show the new gadget's flags "
                "%r as they are" % (n, newflags))
        has_flags_ph = "[flags]" in e["code"].lower()
        f.check(has_flags_ph == bool(e["flagtext"]),
                "%s: [flags] in the template and flag lines disagree" % n)
        if has_flags_ph:
            f.check(newflags != "",
                    "%s: a new gadget would get empty flags" % n)

        if not e["mask"]:
            continue
        prefix = mask_prefix(e["mask"])
        f.check(prefix != "", "%s: mask prefix is empty" % n)
        f.check(not prefix.startswith(" ") and not prefix.endswith(" "),
                "%s: mask prefix has blanks at an end" % n)

        # The mask's understood names match the template's placeholders.
        known = {"[id]", "[x]", "[y]", "[xd]", "[yd]", "[text]", "[flags]"} | \
            {"[p%d]" % i for i in range(10)}
        mask_names = [m.strip(" ") for m in
                      between_first_two(e["mask"], prefix).lower().split(e["sep"])]
        if "[" in e["mask"]:
            for m in mask_names:
                f.check(m.startswith("[") and m.endswith("]"),
                        "%s: mask field %r is not a bracketed name" % (n, m))
        for m in mask_names:
            if m in known and m != "[id]":
                f.check(m in e["code"].lower(),
                        "%s: mask reads %s which the template lacks" % (n, m))
        for i in range(10):
            used = ("[p%d]" % i) in e["code"].lower()
            f.check(used == (e["params"][i] != ""),
                    "%s: p%d named %r but used=%s" % (n, i, e["params"][i], used))

        # Round trip: new gadget -> expansion -> import.
        want = complete(next(x for x in ENTRIES if x["name"] == n))
        sample = (list(want["sample"]) + [""] * 10)[:10]
        for i in range(10):
            if e["params"][i]:
                f.check(sample[i] != "", "%s: no sample for p%d" % (n, i))
        varid = n + "1"
        rec = dict(code=e["code"], VarID=varid, text=varid, x=10, y=20,
                   xd=100, yd=25, flags=newflags, p=sample)
        for tab in (0, 2):
            out = expand(rec, tab)
            lines = out.split("\r\n")
            results = [import_line(l, pool, settings) for l in lines]
            hits = [r for r in results if r is not None]
            f.check(len(hits) == 1 and results[0] is not None,
                    "%s (tab %d): %d lines of the expansion import, wanted "
                    "only the first" % (n, tab, len(hits)))
            if not hits or results[0] is None:
                continue
            entry, got, names = results[0]
            f.check(entry["name"] == n,
                    "%s (tab %d): line imported as %s: %r"
                    % (n, tab, entry["name"], lines[0]))
            if entry["name"] != n:
                continue
            if "[id]" in names:
                f.check(got["VarID"] == varid, "%s: VarID %r" % (n, got["VarID"]))
            else:
                f.check(got["VarID"] == n, "%s: VarID %r" % (n, got["VarID"]))
            for key in ("x", "y", "xd", "yd", "text", "flags"):
                if "[%s]" % key in names:
                    f.check(got[key] == rec[key], "%s: %s %r, wanted %r"
                            % (n, key, got[key], rec[key]))
            for i in range(10):
                if "[p%d]" % i in names:
                    f.check(got["p"][i] == sample[i], "%s: p%d %r, wanted %r"
                            % (n, i, got["p"][i], sample[i]))
        # Empty flags (all deselected) import back as "0".
        if has_flags_ph and "[flags]" in mask_names:
            rec0 = dict(rec, flags="0")
            r = import_line(expand(rec0), pool, settings)
            f.check(r is not None and r[1]["flags"] == "0",
                    "%s: flags 0 do not round-trip" % n)

    # A few hand-written lines of the kind dialog code contains.
    samples = [
        ('  ButtonGadget(#Ok, 10, 20, 80, 24, "Weiter") ; Knopf',
         "ButtonGadget", dict(VarID="Ok", x=10, y=20, xd=80, yd=24,
                              text="Weiter)", flags="0")),
        ('ButtonImageGadget(#Btn, 5, 5, 32, 32, ImageID(#Img))',
         "ButtonImageGadget", dict(VarID="Btn", x=5, p0="ImageID(#Img", flags="0")),
        ('\tImageGadget(#Logo, 0, 0, 64, 64, ImageID(#Img), #PB_Image_Border)',
         "ImageGadget", dict(VarID="Logo", xd=64, p0="ImageID(#Img)",
                             flags="#PB_Image_Border")),
        ('ExplorerTreeGadget(#Tree, 0, 0, 100, 100, "C:\\")',
         "ExplorerTreeGadget", dict(VarID="Tree", p0="C:\\")),
        ('TreeGadget(#Tree, $10, %11, 100, 100)',
         "TreeGadget", dict(VarID="Tree", x=16, y=3, flags="0")),
        ('ExplorerComboGadget(#Ec, 0, 0, 100, 25, "")',
         "ExplorerComboGadget", dict(VarID="Ec")),
        ('ComboBoxGadget(#Cb, 0, 0, 100, 25, #PB_ComboBox_Editable)',
         "ComboBoxGadget", dict(VarID="Cb", flags="#PB_ComboBox_Editable")),
        ('ListViewGadget(#Lv, 1, 2, 3, 4)', "ListViewGadget", dict(VarID="Lv")),
        ('ListIconGadget(#Li, 1, 2, 3, 4, "Name", 100, #PB_ListIcon_GridLines)',
         "ListIconGadget", dict(VarID="Li", p0="Name", p1="100")),
        ('If OpenWindow(#Main, 0, 0, 400, 300, "Titel", '
         '#PB_Window_SystemMenu | #PB_Window_ScreenCentered)',
         "OpenWindow", dict(VarID="Main", text="Titel",
                            flags="#PB_Window_SystemMenu | #PB_Window_ScreenCentered")),
        ('  AddGadgetItem(#Panel, -1, "Seite 1")',
         "AddGadgetItem", dict(VarID="AddGadgetItem", p0="Panel", text="Seite 1")),
        ('CloseGadgetList()', "CloseGadgetList", dict(VarID="CloseGadgetList")),
        ('TextGadget(#PB_Any, 1, 2, 3, 4, "x")', "TextGadget", dict(VarID="PB_Any")),
        ('SetGadgetText(#Str, "ButtonGadget")', None, {}),
        ('; ButtonGadget is made in a procedure', None, {}),
    ]
    for line, want_name, fields in samples:
        r = import_line(line, pool, settings)
        got_name = r[0]["name"] if r else None
        f.check(got_name == want_name, "line %r imported as %s, wanted %s"
                % (line, got_name, want_name))
        if r and got_name == want_name:
            rec = r[1]
            for key, value in fields.items():
                got = rec["p"][int(key[1])] if key[0] == "p" and key[1:].isdigit() \
                    else rec[key]
                f.check(got == value, "line %r: %s %r, wanted %r"
                        % (line, key, got, value))

    # Import twice into one list: identifiers get 1, then 2 appended.
    used = set()
    for expect in ("Ok", "Ok1", "Ok2"):
        r = import_line('ButtonGadget(#Ok, 1, 2, 3, 4, "x", 0)', pool, settings, used)
        f.check(r[1]["VarID"] == expect, "unique VarID %r, wanted %r"
                % (r[1]["VarID"], expect))
        used.add(r[1]["VarID"])

    # Which earlier prefix occurs in a later entry's prefix (pool order)?
    for i, a in enumerate(pool):
        pa = mask_prefix(a["mask"])
        for b in pool[i + 1:]:
            pb = mask_prefix(b["mask"])
            if pa and pb:
                f.check(pa not in pb, "prefix %r of %s steals lines of %s"
                        % (pa, a["name"], b["name"]))

    if f.messages:
        for m in f.messages:
            print("FAIL:", m)
        print("%d problem(s)" % len(f.messages))
        return 1
    print("OK: %d entries, %d with import masks, file %d bytes"
          % (len(pool), sum(1 for e in pool if e["mask"]), len(data)))
    return 0


def main(argv):
    path = target_path()
    if argv[1:] == ["--check"]:
        return check(path)
    if argv[1:]:
        print(__doc__)
        return 2
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as fh:
        fh.write(build_bytes())
    print("wrote", path)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
