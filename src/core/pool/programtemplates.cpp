#include "core/pool/programtemplates.h"

namespace tafelbau {

const ProgramTemplates &builtInProgramTemplates()
{
    // Plain PureBasic for every platform, clean under EnableExplicit. The
    // include opens the windows itself as it is included; the loop ends
    // when any window is closed.
    static const ProgramTemplates templates{
        "; [list]: Hauptprogramm, einmal von Tafelbau geschrieben und nun Ihres.\r\n"
        "; Fenster und Gadgets entstehen in [include], das jedes Speichern der Liste neu schreibt.\r\n"
        "EnableExplicit\r\n"
        "\r\n"
        "XIncludeFile #PB_Compiler_FilePath + \"[include]\"\r\n"
        "\r\n"
        "[procedures]\r\n"
        "Define Event\r\n"
        "Repeat\r\n"
        "\tEvent = WaitWindowEvent()\r\n"
        "\tSelect Event\r\n"
        "\t\tCase #PB_Event_Gadget\r\n"
        "\t\t\tSelect EventGadget()\r\n"
        "[gadgetcases]\r\n"
        "\t\t\tEndSelect\r\n"
        "\t\tCase #PB_Event_Menu\r\n"
        "\t\t\tSelect EventMenu()\r\n"
        "[menucases]\r\n"
        "\t\t\tEndSelect\r\n"
        "\tEndSelect\r\n"
        "Until Event = #PB_Event_CloseWindow\r\n",

        "Procedure [id]_Event()\r\n"
        "\t; EventType() sagt, was an #[id] geschah.\r\n"
        "EndProcedure\r\n"
        "\r\n",

        "\t\t\t\tCase #[id]\r\n"
        "\t\t\t\t\t[id]_Event()\r\n",
    };
    return templates;
}

ProgramTemplates programTemplates(const PoolSettings &settings)
{
    const ProgramTemplates &builtIn = builtInProgramTemplates();
    return {settings.mainProgram.value_or(builtIn.program), settings.mainProcedure.value_or(builtIn.procedure),
            settings.mainCase.value_or(builtIn.eventCase)};
}

bool setProgramTemplates(PoolSettings &settings, const ProgramTemplates &wanted)
{
    const ProgramTemplates now = programTemplates(settings);
    bool changed = false;
    auto take = [&](std::optional<std::string> &field, const std::string &was, const std::string &text) {
        if (text == was)
            return;
        field = text;
        changed = true;
    };
    take(settings.mainProgram, now.program, wanted.program);
    take(settings.mainProcedure, now.procedure, wanted.procedure);
    take(settings.mainCase, now.eventCase, wanted.eventCase);
    return changed;
}

} // namespace tafelbau
