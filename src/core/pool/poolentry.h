#pragma once

#include "core/document/gadgetrecord.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace tafelbau {

/// One gadget type of the pool. Field defaults are those a group without
/// keys yields when the pool file is read.
struct PoolEntry
{
    std::string name;
    std::string code;
    std::string importcode;
    std::string importwerttrenn = ",";
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int8_t xy0 = 0;
    std::int32_t xd = 0;
    std::int32_t yd = 0;
    std::string flags;
    std::string flagsep = "|";
    std::array<std::string, 10> p;
    std::string helpfile;
    std::string helptopic;
    std::int8_t dontshow = 0;
    std::uint32_t color = kDefaultFrameColour;

    bool operator==(const PoolEntry &) const = default;
};

/// The program-wide values of the pool file's head section: nine texts and
/// the import reading. Empty until a pool file is read: without a pool file
/// there is no extension and no comment marker.
struct PoolSettings
{
    std::string generalPrgHelpFile;
    std::string codeFileExt;
    std::string codeComment;
    std::string importRemove;
    std::string importTrim;
    std::string crSep;
    std::string konstRumpf;
    std::string konstCorps;
    std::string konstEnde;
    /// GGdtPoolImportSyntax: import reads sources as PureBasic statements
    /// instead of line by line. Unset when the file has no such key, so that
    /// saving such a pool writes the file as it was.
    std::optional<bool> importSyntax;

    bool readsImportAsSyntax() const { return importSyntax.value_or(false); }

    /// The templates of the main program that "Programm erzeugen" writes
    /// (GGdtPoolMainProgram, GGdtPoolMainProcedure, GGdtPoolMainCase).
    /// Unset: the built-in ones of programtemplates.h, and the pool file
    /// gets no key, so older pools keep their bytes.
    std::optional<std::string> mainProgram;
    std::optional<std::string> mainProcedure;
    std::optional<std::string> mainCase;

    bool operator==(const PoolSettings &) const = default;
};

} // namespace tafelbau
