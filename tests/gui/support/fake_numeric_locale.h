#pragma once
// A NumericLocale for tests: a fixed decimal symbol ("," unless given), and
// counts of the switches to the point and of the restorations.

#include <QString>

#include <utility>

#include "gui/numeric_locale.h"

namespace zl::gui {

class FakeNumericLocale : public NumericLocale {
public:
    explicit FakeNumericLocale(QString symbol = QStringLiteral(",")) : symbol(std::move(symbol)) {}
    QString decimalSymbol() const override { return symbol; }
    void usePoint() override { ++switches; }
    void restore() override { ++restores; }
    QString symbol;
    int switches = 0, restores = 0;
};

}  // namespace zl::gui
