#pragma once

#include "core/windows/layoutrules.h"

#include <QSize>

#include <map>

class QWidget;

namespace tafelbau {

/// Moves and sizes the anchored ones of `gadgets` (by number) as `rules`
/// want them for `window` at inner size `size`. Returns what the rules say,
/// the window's own minimum size included.
LayoutRules::Outcome applyLayoutRules(const LayoutRules &rules, int window, QSize size,
                                      const std::map<int, QWidget *> &gadgets);

} // namespace tafelbau
