#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tafelbau {

enum class Answer { Yes, No, Cancel };

/// Every message box, question and chooser the program shows goes through
/// this interface: the program passes the Qt implementation, tests a scripted
/// one, batch mode one that writes to standard error. Texts are UTF-8.
class Dialogs
{
public:
    virtual ~Dialogs() = default;

    /// "Tafelbau Meldung" box with one OK button.
    virtual void showMessage(const std::string &text) = 0;
    virtual bool askYesNo(const std::string &title, const std::string &text) = 0;
    virtual Answer askYesNoCancel(const std::string &title, const std::string &text) = 0;
    /// A question with buttons of its own, in the box's order: returns the
    /// index of the one pressed. Return presses `defaultButton`; Escape and
    /// the box's close button answer `escapeButton`, so a stray key can be
    /// made harmless.
    virtual std::size_t askChoice(const std::string &title, const std::string &text,
                                  const std::vector<std::string> &buttons, std::size_t defaultButton,
                                  std::size_t escapeButton) = 0;
    /// `filter` is "Label (pattern)|Label (pattern)" as the choosers show it.
    virtual std::optional<std::filesystem::path> chooseOpenFile(const std::string &title,
                                                                const std::filesystem::path &start,
                                                                const std::string &filter) = 0;
    virtual std::optional<std::filesystem::path> chooseSaveFile(const std::string &title,
                                                                const std::filesystem::path &start,
                                                                const std::string &filter) = 0;
    virtual std::optional<std::uint32_t> chooseColour(std::uint32_t initial) = 0;
    virtual std::optional<std::string> inputText(const std::string &title, const std::string &prompt,
                                                 const std::string &initial) = 0;
};

} // namespace tafelbau
