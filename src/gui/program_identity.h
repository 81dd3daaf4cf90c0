#pragma once
// Who makes the program: the texts of the splash and About windows and the
// address the decimal-symbol warning points to.

#include <QString>

namespace zl::gui::ProgramIdentity {

inline const QString productName = QStringLiteral("Zerolith");
inline const QString makerNotice = QStringLiteral("2026 Zerolith developers");
inline const QString copyrightSign = QStringLiteral("\u00A9 ");
inline const QString rightsNotice = QStringLiteral("All rights reserved.");
inline const QString webAddress = QStringLiteral("https://zerolith.example.org");
inline const QString mailAddress = QStringLiteral("support@zerolith.example.org");

}  // namespace zl::gui::ProgramIdentity
