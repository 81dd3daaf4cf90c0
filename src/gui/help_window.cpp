#include "gui/help_window.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "install_layout.h"

namespace zl::gui {

namespace {

const QString kHelpFileName = QStringLiteral("rootex.chm");
const QString kIndexName = QStringLiteral("index.html");

}  // namespace

HelpWindow::HelpWindow(QStringList manualFolders, QWidget *parent)
    : QWidget(parent, Qt::Window), folders_(std::move(manualFolders)) {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Zerolith Help"));
    pages_ = new QTextBrowser(this);
    pages_->setOpenExternalLinks(true);

    auto *contents = new QPushButton(QStringLiteral("&Contents"), this);
    auto *back = new QPushButton(QStringLiteral("&Back"), this);
    connect(contents, &QPushButton::clicked, pages_, &QTextBrowser::home);
    connect(back, &QPushButton::clicked, pages_, &QTextBrowser::backward);
    connect(pages_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    back->setEnabled(false);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addWidget(back);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(pages_);
    resize(720, 560);
}

QStringList HelpWindow::defaultManualFolders(const QString &programFolder) {
    const QDir program(programFolder);
    return {program.filePath(QStringLiteral("manual")), program.filePath(QStringLiteral("../docs/manual")),
            program.filePath(QString::fromUtf8(kInstalledManualFolder))};
}

QString HelpWindow::manualIndex() const {
    for (const QString &folder : folders_) {
        const QFileInfo index(QDir(folder).filePath(kIndexName));
        if (index.isFile()) return index.absoluteFilePath();
    }
    return QString();
}

bool HelpWindow::openHelp(const QString &programFolder) {
    const QFileInfo helpFile(QDir(programFolder).filePath(kHelpFileName));
    if (helpFile.isFile()) return QDesktopServices::openUrl(QUrl::fromLocalFile(helpFile.absoluteFilePath()));

    const QString index = manualIndex();
    if (index.isEmpty()) return false;
    pages_->clearHistory();
    pages_->setSource(QUrl::fromLocalFile(index));
    show();
    raise();
    activateWindow();
    return true;
}

}  // namespace zl::gui
