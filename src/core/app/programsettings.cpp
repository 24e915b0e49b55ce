#include "core/app/programsettings.h"

#include "core/document/settingsdocument.h"

#include <algorithm>

namespace tafelbau {

namespace {
constexpr std::string_view kHelpComment =
    ";Grundpfad f\xFCr Hilfedatei (wird priorit\xE4r in der Gadget-Pool-Datei gespeichert";
constexpr std::string_view kCodeViewWidthKey = "GCodeViewWidth";
constexpr std::string_view kCodeViewLeftKey = "GCodeViewLeft";
constexpr std::string_view kFoldersGroup = "Folders";
constexpr std::string_view kLastFolderKey = "GLastFolder";
} // namespace

std::int32_t keptCodeViewWidth(std::int32_t width) noexcept
{
    return width < 1 ? 0 : std::clamp(width, kMinCodeViewWidth, kMaxCodeViewWidth);
}

ProgramSettings readProgramSettings(const std::filesystem::path &path)
{
    const ProgramSettings d;
    ProgramSettings s;
    SettingsDocument doc;
    doc.open(path);
    doc.selectGroup("General");
    s.helpFile = doc.readText("GGeneralPrgHelpFile", d.helpFile);
    s.panelHeight = doc.readNumber("GPanelHeight", d.panelHeight);
    s.panelWidth = doc.readNumber("GPanelWidth", d.panelWidth);
    s.panelRaster = doc.readNumber("GPanelRaster", d.panelRaster);
    s.panelRasterBig = doc.readNumber("GPanelRasterBig", d.panelRasterBig);
    doc.selectGroup("Window");
    s.mainWinX = doc.readNumber("GMainWinX", d.mainWinX);
    s.mainWinY = doc.readNumber("GMainWinY", d.mainWinY);
    s.mainWinXD = doc.readNumber("GMainWinXD", d.mainWinXD);
    s.mainWinYD = doc.readNumber("GMainWinYD", d.mainWinYD);
    doc.selectGroup("View");
    for (const ViewKey &k : kViewKeys)
        s.view.*k.value = doc.readNumber(k.key, d.view.*k.value ? 1 : 0) != 0;
    s.view.codeViewWidth = keptCodeViewWidth(doc.readNumber(kCodeViewWidthKey, d.view.codeViewWidth));
    s.view.codeViewLeft = doc.readNumber(kCodeViewLeftKey, 0) != 0;
    doc.selectGroup(kFoldersGroup);
    s.lastFolder = doc.readText(kLastFolderKey, "");
    doc.abandon();
    return s;
}

bool writeProgramSettings(const std::filesystem::path &path, const ProgramSettings &s, FileOps &files)
{
    // No data folder (no home): the settings are not kept.
    if (path.empty())
        return false;
    SettingsDocument doc(files);
    doc.open(path);
    doc.selectGroup("General");
    doc.writeText("GGeneralPrgHelpFile", s.helpFile);
    // Written once, not again at every exit.
    if (!doc.isCommentAfterCurrent(kHelpComment))
        doc.writeComment(kHelpComment);
    doc.writeNumber("GPanelHeight", s.panelHeight);
    doc.writeNumber("GPanelWidth", s.panelWidth);
    doc.writeNumber("GPanelRaster", s.panelRaster);
    doc.writeNumber("GPanelRasterBig", s.panelRasterBig);
    doc.selectGroup("Window");
    doc.writeNumber("GMainWinX", std::max(s.mainWinX, 0));
    doc.writeNumber("GMainWinY", std::max(s.mainWinY, 0));
    doc.writeNumber("GMainWinXD", s.mainWinXD);
    doc.writeNumber("GMainWinYD", s.mainWinYD);
    // A user who never switched a view on keeps the file as it always was.
    const bool anyOn =
        std::any_of(std::begin(kViewKeys), std::end(kViewKeys), [&](const ViewKey &k) { return s.view.*k.value; });
    if (doc.selectGroup("View") || anyOn) {
        for (const ViewKey &k : kViewKeys)
            doc.writeNumber(k.key, s.view.*k.value ? 1 : 0);
        if (const std::int32_t width = keptCodeViewWidth(s.view.codeViewWidth))
            doc.writeNumber(kCodeViewWidthKey, width);
        // Once there, the key follows the view back to the right.
        if (s.view.codeViewLeft || doc.find(kCodeViewLeftKey))
            doc.writeNumber(kCodeViewLeftKey, s.view.codeViewLeft ? 1 : 0);
    }
    // Like the view: the group appears once a file was chosen.
    if (doc.selectGroup(kFoldersGroup) || !s.lastFolder.empty())
        doc.writeText(kLastFolderKey, s.lastFolder);
    return doc.close();
}

} // namespace tafelbau
