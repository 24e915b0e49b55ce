#pragma once

#include <string>

namespace tafelbau {

/// What a load or save tells its caller: success, or the message for the
/// user (UTF-8, ready for the message box and standard error).
struct Outcome
{
    bool ok = true;
    std::string message;

    static Outcome failure(std::string text) { return {false, std::move(text)}; }
};

} // namespace tafelbau
