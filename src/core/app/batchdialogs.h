#pragma once

#include "core/document/dialogs.h"

#include <functional>
#include <string>

namespace tafelbau {

/// Dialogs for runs without a window: every message goes to standard error
/// and, where a display is at hand, also to a message box shown by `showBox`.
/// Questions and choosers cannot be answered here and decline.
class BatchDialogs : public Dialogs
{
public:
    explicit BatchDialogs(std::function<void(const std::string &)> showBox = {});

    void showMessage(const std::string &text) override;
    bool askYesNo(const std::string &title, const std::string &text) override;
    Answer askYesNoCancel(const std::string &title, const std::string &text) override;
    std::size_t askChoice(const std::string &title, const std::string &text, const std::vector<std::string> &buttons,
                          std::size_t defaultButton, std::size_t escapeButton) override;
    std::optional<std::filesystem::path> chooseOpenFile(const std::string &, const std::filesystem::path &,
                                                        const std::string &) override;
    std::optional<std::filesystem::path> chooseSaveFile(const std::string &, const std::filesystem::path &,
                                                        const std::string &) override;
    std::optional<std::uint32_t> chooseColour(std::uint32_t) override;
    std::optional<std::string> inputText(const std::string &, const std::string &, const std::string &) override;

    int messageCount() const { return m_count; }

private:
    std::function<void(const std::string &)> m_showBox;
    int m_count = 0;
};

/// Whether a message box could be shown: a display is named and Qt is not
/// told to draw off screen.
bool displayAvailable();

} // namespace tafelbau
