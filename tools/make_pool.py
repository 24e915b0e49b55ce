#!/usr/bin/env python3
"""Generate the shipped default gadget pool file data/TafelbauGadgetPool.ini.

Usage:
    python3 tools/make_pool.py           write data/TafelbauGadgetPool.ini
    python3 tools/make_pool.py --check   verify that the file on disk is what
                                         this script writes (the program's
                                         tests check the round trip of every
                                         entry through expansion and import).

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
    the arguments by position; a user gets the line reading back by setting
    the key to 0.
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
        helptopic=topic("gadget", "AddGadgetItem"),
        color=C_CARD,
    ),
    dict(
        name="AddGadgetColumn",
        code='AddGadgetColumn(#[p0], [p1], "[text]", [p2])',
        mask="AddGadgetColumn(#[p0],[p1],[text],[p2]",
        flags=[],
        params=["ListIcon (VarID ohne #)", "Position", "Breite"],
        helptopic=topic("gadget", "AddGadgetColumn"),
        dontshow=1,
        color=C_CODE,
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
        # The frame's name before PureBasic 5.10; older programs still use it.
        name="Frame3DGadget",
        code='Frame3DGadget(#[id], [x], [y], [xd], [yd], "[text]", [flags])',
        mask="Frame3DGadget(#[id],[x],[y],[xd],[yd],[text],[flags]",
        x=10, y=10, xd=200, yd=100,
        flags=[
            NOFLAGS_ON,
            (0, "Single", "#PB_Frame3D_Single"),
            (0, "Double", "#PB_Frame3D_Double"),
            (0, "Flat", "#PB_Frame3D_Flat"),
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
        # Reopens a container, or one tab of a panel, to add gadgets to it.
        name="OpenGadgetList",
        code="OpenGadgetList(#[p0], [p1])",
        mask="OpenGadgetList(#[p0],[p1]",
        flags=[],
        params=["Container (VarID ohne #)", "Registerkarte (bei Panel)"],
        helptopic=topic("gadget", "OpenGadgetList"),
        dontshow=1,
        color=C_CODE,
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
        helptopic=topic("gadget", "WebGadget"),
        color=C_VIEW,
    ),
]

ENTRY_DEFAULTS = dict(
    mask="", sep=",", x=0, y=0, xy0=0, xd=0, yd=0, flagsep="|",
    helpfile="", helptopic="", dontshow=0, color=rgb(192, 192, 192),
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
# Check: the file on disk is what this script writes. How the program reads
# it, expands each template and imports the result back is checked by the
# program's own tests (the shipped pool's round trip), not simulated here.
# --------------------------------------------------------------------------


def check(path):
    expected = build_bytes()
    with open(path, "rb") as fh:
        data = fh.read()
    problems = []
    if data != expected:
        problems.append("file on disk differs from the generated bytes (run without --check to regenerate)")
    if data.startswith(b"\xef\xbb\xbf"):
        problems.append("file starts with a BOM")
    if b"\n" in data.replace(b"\r\n", b"") or b"\r" in data.replace(b"\r\n", b""):
        problems.append("lone CR or LF in the file")
    if b"\0" in data:
        problems.append("NUL byte in the file")
    for m in problems:
        print("FAIL:", m)
    if problems:
        return 1
    print("OK: %d entries, file %d bytes" % (len(ENTRIES), len(data)))
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
