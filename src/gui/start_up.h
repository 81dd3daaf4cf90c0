#pragma once
// The order of start-up: the decimal-symbol check, the splash, the main window.

#include <functional>

namespace zl::gui {

class DecimalSymbolGuard;

/// False when the user declined the decimal point: then neither step ran and
/// the program is to end at once.
[[nodiscard]] bool startUp(DecimalSymbolGuard &guard, const std::function<void()> &showSplash,
                           const std::function<void()> &showMainWindow);

}  // namespace zl::gui
