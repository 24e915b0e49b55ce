#include "core/app/batchdialogs.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace tafelbau {

BatchDialogs::BatchDialogs(std::function<void(const std::string &)> showBox) : m_showBox(std::move(showBox)) {}

void BatchDialogs::showMessage(const std::string &text)
{
    ++m_count;
    // The message texts break lines with CR LF for the box; a terminal wants LF.
    std::string line;
    line.reserve(text.size() + 16);
    line.append("Tafelbau: ");
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        line.push_back(text[i]);
    }
    if (line.back() != '\n')
        line.push_back('\n');
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
    if (m_showBox)
        m_showBox(text);
}

bool BatchDialogs::askYesNo(const std::string &, const std::string &)
{
    return false;
}

Answer BatchDialogs::askYesNoCancel(const std::string &, const std::string &)
{
    return Answer::Cancel;
}

std::size_t BatchDialogs::askChoice(const std::string &, const std::string &, const std::vector<std::string> &,
                                    std::size_t, std::size_t escapeButton)
{
    return escapeButton;
}

std::optional<std::filesystem::path> BatchDialogs::chooseOpenFile(const std::string &, const std::filesystem::path &,
                                                                  const std::string &)
{
    return std::nullopt;
}

std::optional<std::filesystem::path> BatchDialogs::chooseSaveFile(const std::string &, const std::filesystem::path &,
                                                                  const std::string &)
{
    return std::nullopt;
}

std::optional<std::uint32_t> BatchDialogs::chooseColour(std::uint32_t)
{
    return std::nullopt;
}

std::optional<std::string> BatchDialogs::inputText(const std::string &, const std::string &, const std::string &)
{
    return std::nullopt;
}

bool displayAvailable()
{
    const char *display = std::getenv("DISPLAY");
    const char *wayland = std::getenv("WAYLAND_DISPLAY");
    const bool named = (display && *display) || (wayland && *wayland);
    if (!named)
        return false;
    const char *platform = std::getenv("QT_QPA_PLATFORM");
    if (platform) {
        const std::string_view p(platform);
        if (p.starts_with("offscreen") || p.starts_with("minimal"))
            return false;
    }
    return true;
}

} // namespace tafelbau
