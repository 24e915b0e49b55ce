#pragma once

#include "core/document/gadgetrecord.h"

#include <string>

namespace tafelbau {

/// Deepest indentation that expansion writes. A hand-edited list file can
/// hold any tab level; past this the output would only grow without bound.
inline constexpr std::int32_t kMaxExpandedTab = 1000;

/// The block of code that stands for `record` in the code file: its template
/// indented by `tab` and its placeholders replaced, in a fixed order, by the
/// record's values. A pure function.
std::string expandTemplate(const GadgetRecord &record);

/// Appends the expansion to `out` (saves a copy per record in big files).
void appendExpandedTemplate(const GadgetRecord &record, std::string &out);

} // namespace tafelbau
