#include "gui/start_up.h"

#include "gui/decimal_symbol_guard.h"

namespace zl::gui {

bool startUp(DecimalSymbolGuard &guard, const std::function<void()> &showSplash,
             const std::function<void()> &showMainWindow) {
    if (!guard.CheckDecimalSymbol()) return false;
    showSplash();
    showMainWindow();
    return true;
}

}  // namespace zl::gui
