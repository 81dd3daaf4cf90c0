#include "gui/window_title.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "gui/program_identity.h"
#include "install_layout.h"

namespace zl::gui {

QString windowTitleFor(const std::string &fileName) {
    if (fileName.empty()) return ProgramIdentity::productName;
    const QString shown = QFileInfo(QFile::decodeName(QByteArray::fromStdString(fileName))).fileName();
    return shown + QStringLiteral(" \u2014 ") + ProgramIdentity::productName;
}

QIcon programIcon(const QString &programFolder) {
    QIcon icon = QIcon::fromTheme(QStringLiteral("zerolith"));
    if (!icon.isNull()) return icon;
    // Without a desktop icon theme (a bare window manager) the theme has no name.
    const QDir icons(QDir(programFolder).filePath(QString::fromUtf8(kInstalledIconFolder)));
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString picture = icons.filePath(QStringLiteral("%1x%1/apps/zerolith.png").arg(size));
        if (QFileInfo::exists(picture)) icon.addFile(picture, QSize(size, size));
    }
    return icon;
}

}  // namespace zl::gui
