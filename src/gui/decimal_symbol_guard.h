#pragma once
// The start-up check that numbers will be read with the decimal point: under
// any other decimal symbol the user either lets the program use the point for
// this run or the program ends before any window opens.

#include <QString>

namespace zl::gui {

class NumericLocale;
class UserDialogs;

class DecimalSymbolGuard {
public:
    DecimalSymbolGuard(NumericLocale &locale, UserDialogs &dialogs);

    /// True when start-up may go on: the symbol was the point already, or the
    /// user answered Yes and the process now uses the point.
    [[nodiscard]] bool CheckDecimalSymbol();
    /// Puts the symbol found at start-up back; safe to call more than once.
    void RestoreDecimalSymbol();

    static QString warningText();

private:
    NumericLocale &locale_;
    UserDialogs &dialogs_;
};

}  // namespace zl::gui
