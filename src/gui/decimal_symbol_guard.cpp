#include "gui/decimal_symbol_guard.h"

#include <QStringList>

#include "gui/numeric_locale.h"
#include "gui/program_identity.h"
#include "gui/user_dialogs.h"

namespace zl::gui {

DecimalSymbolGuard::DecimalSymbolGuard(NumericLocale &numericLocale, UserDialogs &userDialogs)
    : locale_(numericLocale), dialogs_(userDialogs) {}

QString DecimalSymbolGuard::warningText() {
    // The box always speaks of the comma, whatever the symbol actually is.
    const QStringList lines{
        QStringLiteral("Proper operation of this application requires the use of the DECIMAL POINT."),
        QStringLiteral("Your system is currently using the DECIMAL COMMA."),
        QString(),
        QStringLiteral("Do you wish to temporarily change this system setting to decimal point?"),
        QStringLiteral("(Upon exiting, this application will restore your setting.)"),
        QStringLiteral("(See HELP FILE or visit ") + ProgramIdentity::webAddress +
            QStringLiteral(" for instructions on how to change MANUALLY)"),
        QString(),
        QStringLiteral("Press YES to change."),
    };
    return lines.join(QLatin1Char('\n'));
}

bool DecimalSymbolGuard::CheckDecimalSymbol() {
    if (locale_.decimalSymbol() == QStringLiteral(".")) return true;
    if (dialogs_.askDecimalComma(warningText()) != QMessageBox::Yes) return false;
    locale_.usePoint();
    return true;
}

void DecimalSymbolGuard::RestoreDecimalSymbol() { locale_.restore(); }

}  // namespace zl::gui
