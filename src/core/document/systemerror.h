// The reason a file operation failed, in the words the user reads after the
// program's own message.
#pragma once

#include <string>

namespace tafelbau {

/// Not an errno value: the path names something that is neither a regular
/// file nor a folder (a pipe, a device, a socket), which a save must not
/// write into -- a pipe without a reader would hold the save forever.
inline constexpr int kNotARegularFile = -1;

/// The German reason for an errno value (or kNotARegularFile), UTF-8.
/// Values without a text of their own give "Systemfehler N".
std::string systemReason(int error);

/// `message` followed by a line with the reason; `message` alone for 0.
std::string withSystemReason(std::string message, int error);

} // namespace tafelbau
