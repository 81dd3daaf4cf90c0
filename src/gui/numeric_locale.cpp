#include "gui/numeric_locale.h"

#include <clocale>

namespace zl::gui {

namespace {

// The first decimal point that is not "." among the C library's and Qt's view
// of the user's locale: either one would read "1.5" wrongly.
QString userDecimalSymbol() {
    const std::lconv *conventions = std::localeconv();
    const QString libraryPoint = QString::fromLocal8Bit(conventions->decimal_point);
    if (libraryPoint != QStringLiteral(".")) return libraryPoint;
    return QLocale::system().decimalPoint();
}

}  // namespace

ProcessNumericLocale::ProcessNumericLocale() : savedQtDefault_(QLocale()) {
    const char *chosen = std::setlocale(LC_NUMERIC, "");
    if (chosen == nullptr)  // the named locale is not installed: keep what is in force
        chosen = std::setlocale(LC_NUMERIC, nullptr);
    savedNumericName_ = chosen != nullptr ? chosen : "C";
    symbol_ = userDecimalSymbol();
}

QString ProcessNumericLocale::decimalSymbol() const { return symbol_; }

void ProcessNumericLocale::usePoint() {
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale::c());
}

void ProcessNumericLocale::restore() {
    std::setlocale(LC_NUMERIC, savedNumericName_.c_str());
    QLocale::setDefault(savedQtDefault_);
}

}  // namespace zl::gui
