#include "gui/window_title.h"

#include <QFile>
#include <QFileInfo>

#include "gui/program_identity.h"

namespace zl::gui {

QString windowTitleFor(const std::string &fileName) {
    if (fileName.empty()) return ProgramIdentity::productName;
    const QString shown = QFileInfo(QFile::decodeName(QByteArray::fromStdString(fileName))).fileName();
    return shown + QStringLiteral(" \u2014 ") + ProgramIdentity::productName;
}

}  // namespace zl::gui
