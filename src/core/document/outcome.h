#pragma once

#include <string>

namespace tafelbau {

/// What a load or save tells its caller: success, or the message for the
/// user (UTF-8, ready for the message box and standard error).
struct Outcome
{
    Outcome() = default;
    Outcome(bool success, std::string text) : ok(success), message(std::move(text)) {}

    bool ok = true;
    std::string message;
    /// Something to say even on success, once, where it does not stop the
    /// user (the window's status line, standard error of a batch run).
    std::string notice;

    static Outcome failure(std::string text) { return {false, std::move(text)}; }
};

} // namespace tafelbau
