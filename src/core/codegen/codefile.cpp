#include "core/codegen/codefile.h"

#include "core/codegen/codefileguard.h"
#include "core/codegen/templateexpansion.h"
#include "core/document/atomicfile.h"
#include "core/document/latin1.h"
#include "core/document/systemerror.h"

#include <sys/stat.h>

#include <cstdio>

namespace tafelbau {

namespace {

// Lines 4 to 22: fixed, whatever comment marker the pool uses. The
// device-context calls exist on Windows only; elsewhere the compiler would
// refuse the whole include, and GTK and Cocoa scale by themselves, so the
// automatic factor there is 1. WinDC is declared for programs that use
// EnableExplicit, and a factor of 0 means 1, not a negative size.
constexpr std::string_view kHeaderBody =
    "Global GTBScale.f ;Faktor um Dialoge prozentual gr\xF6sser zu machen\r\n"
    ";offenbar akzeptiert PB ein doppeltes Global GTBScale.f (eines hier, evtl. eines im Code des Programers)\r\n"
    "GTBScale=1 ;Standard (falls der Programmierer nichts macht)\r\n"
    "Procedure _GTBScale(Faktor.f)\r\n"
    "\tProtected WinDC\r\n"
    "\tIf Faktor<0 ;Automatik muss der Programmierer wollen -> Faktor auf -1 -> Dialoge werden entsprechend der "
    "DPI-Einstellung in Windows skaliert\r\n"
    "\t  CompilerIf #PB_Compiler_OS = #PB_OS_Windows\r\n"
    "\t  WinDC = GetDC_(#Null); ;danke an velko - automatisch skalieren\r\n"
    "\t  GTBScale=GetDeviceCaps_(WinDC, #LOGPIXELSX) / 96 ;96DPI=100%\r\n"
    "\t  ReleaseDC_(#Null, WinDC)\r\n"
    "\t  CompilerElse\r\n"
    "\t  GTBScale=1\r\n"
    "\t  CompilerEndIf\r\n"
    "\tElseIf Faktor>0\r\n"
    "\t  GTBScale=Faktor\r\n"
    "\tElse\r\n"
    "\t  GTBScale=1\r\n"
    "\tEndIf\r\n"
    "EndProcedure\r\n"
    "\r\n";

/// The list path the code and export names are made from: without its
/// extension when the file name ends in "." and three characters.
std::string stemOf(const std::filesystem::path &listPath)
{
    const std::string &full = listPath.native();
    const std::size_t slash = full.rfind('/');
    const std::string_view name = std::string_view(full).substr(slash == std::string::npos ? 0 : slash + 1);
    const bool hasExtension = name.size() >= 4 && name[name.size() - 4] == '.'
        && name.substr(name.size() - 3).find_first_of("./") == std::string_view::npos;
    return hasExtension ? full.substr(0, full.size() - 4) : full;
}

std::filesystem::path absoluteNormal(const std::filesystem::path &p)
{
    std::error_code ec;
    std::filesystem::path abs = std::filesystem::weakly_canonical(p, ec);
    if (ec)
        abs = std::filesystem::absolute(p, ec).lexically_normal();
    return abs;
}

/// `path` with the letters A-Z and the Latin-1 capitals (in their UTF-8
/// form) made small, as a file system that ignores case compares names.
std::string caseFolded(const std::string &path)
{
    std::string out = foldedCopy(path);
    for (std::size_t i = 0; i + 1 < out.size(); ++i) {
        const auto lead = static_cast<unsigned char>(out[i]);
        const auto next = static_cast<unsigned char>(out[i + 1]);
        // U+00C0-U+00DE but U+00D7 (the multiplication sign).
        if (lead == 0xC3 && next >= 0x80 && next <= 0x9E && next != 0x97)
            out[i + 1] = static_cast<char>(next + 0x20);
    }
    return out;
}

} // namespace

CodeFileNames codeFileNames(const std::filesystem::path &listPath, const PoolSettings &settings)
{
    const std::string stem = stemOf(listPath);
    return {stem + settings.codeFileExt, stem + "PBFExport.pbf"};
}

bool sameFile(const std::filesystem::path &a, const std::filesystem::path &b, FileOps &files)
{
    const std::filesystem::path absA = absoluteNormal(a);
    const std::filesystem::path absB = absoluteNormal(b);
    if (absA == absB)
        return true;
    struct stat sa = {}, sb = {};
    const bool hasA = files.status(a, sa) == 0;
    const bool hasB = files.status(b, sb) == 0;
    if (hasA && hasB && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino)
        return true;
    return (hasA || hasB) && caseFolded(absA.native()) == caseFolded(absB.native());
}

std::string importSourceConflict(const std::filesystem::path &source, const std::filesystem::path &listFile,
                                 const PoolSettings &settings, FileOps &files)
{
    if (listFile.empty() || lacksCodeFileExtension(settings))
        return {};
    const CodeFileNames names = codeFileNames(listFile, settings);
    for (const std::filesystem::path &generated : {names.code, names.exportFile})
        if (sameFile(source, generated, files))
            return latin1ToUtf8("Fehler: Die Quelldatei w\xE4re die Codedatei der Gadgetliste: ") + source.string();
    return {};
}

bool lacksCodeFileExtension(const PoolSettings &settings)
{
    return settings.codeFileExt.find_first_not_of('.') == std::string::npos;
}

std::string sameFileMessage(const std::filesystem::path &path)
{
    return latin1ToUtf8("Fehler: Codedatei und Gadgetliste w\xE4ren dieselbe Datei: ") + path.string();
}

std::string codeFileDate(std::time_t when)
{
    std::tm tm{};
    localtime_r(&when, &tm);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%02d.%02d.%04d %02d:%02d", tm.tm_mday, tm.tm_mon + 1, tm.tm_year + 1900, tm.tm_hour,
                  tm.tm_min);
    return buf;
}

void appendCodeFileHead(std::string &out, const PoolSettings &settings, std::time_t when)
{
    out.append(settings.codeComment).append("Code generated by Tafelbau 0.583\r\n");
    out.append(settings.codeComment).append("Date: ").append(codeFileDate(when)).append("\r\n");
    out.append("\r\n");
    out.append(kHeaderBody);
    out.append("Enumeration 1\r\n");
}

void appendEnumerationLine(std::string &out, const GadgetRecord &record)
{
    if (record.dontshow == 0)
        out.append("\t#").append(record.varId).append("\r\n");
}

void appendCodeBlock(std::string &out, const GadgetRecord &record)
{
    appendExpandedTemplate(record, out);
    out.append("\r\n");
}

std::string codeFileBytes(const GdtList &list, const PoolSettings &settings, std::time_t when)
{
    std::size_t estimate = 1024;
    for (const GadgetRecord &r : list.records())
        estimate += r.code.size() + r.text.size() + r.varId.size() * 2 + 64;
    std::string out;
    out.reserve(estimate + estimate / 4);
    appendCodeFileHead(out, settings, when);
    for (const GadgetRecord &r : list.records())
        appendEnumerationLine(out, r);
    out.append(kEnumerationEnd);
    for (const GadgetRecord &r : list.records())
        appendCodeBlock(out, r);
    return out;
}

Outcome generateCodeFile(const std::filesystem::path &listPath, const GdtList &list, const PoolSettings &settings,
                         std::time_t when, FileOps &files)
{
    return writeCodeFiles(codeFileNames(listPath, settings), listPath, list, settings, when, files);
}

Outcome writeCodeFiles(const CodeFileNames &names, const std::filesystem::path &listPath, const GdtList &list,
                       const PoolSettings &settings, std::time_t when, FileOps &files)
{
    if (lacksCodeFileExtension(settings))
        return Outcome::failure(latin1ToUtf8("Keine Codedatei geschrieben: Die Gadget-Pool-Datei nennt keine Endung "
                                             "f\xFCr Codedateien (GGdtPoolCodeFileExt). Gespeichert ist nur die "
                                             "Gadgetliste: ")
                                + listPath.string());
    // An extension of ".tbf", or a list saved under the code file's name,
    // would have the generated code replace the list.
    for (const std::filesystem::path &generated : {names.code, names.exportFile})
        if (sameFile(generated, listPath, files))
            return Outcome::failure(sameFileMessage(generated));
    const std::string codeFailure = latin1ToUtf8("Fehler: Kann Codedatei nicht speichern: ") + names.code.string();
    AtomicFile code(files);
    if (!code.begin(names.code))
        return Outcome::failure(withSystemReason(codeFailure, code.error()));
    AtomicFile exportFile(files);
    if (!exportFile.begin(names.exportFile) || !exportFile.commit({}, false))
        return Outcome::failure(withSystemReason(
            latin1ToUtf8("Fehler: Kann PBFExport-Datei nicht speichern: ") + names.exportFile.string(),
            exportFile.error()));
    std::string bytes = codeFileBytes(list, settings, when);
    if (list.encoding() == TextEncoding::Utf8 || holdsWideCharacters(bytes))
        bytes = "\xEF\xBB\xBF" + latin1ToUtf8(bytes);
    // The new bytes go to their temporary file first: a full disk then
    // stops the save before a copy of the old ones is made.
    if (!code.write(bytes))
        return Outcome::failure(withSystemReason(codeFailure, code.error()));
    Outcome out = keepHandEdits(names.code, bytes, files);
    if (!out.ok)
        return out;
    if (!code.commit({}, false))
        return Outcome::failure(withSystemReason(codeFailure, code.error()));
    rememberCodeFile(names.code, bytes, files);
    return out;
}

} // namespace tafelbau
