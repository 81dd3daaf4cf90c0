#include "gui/qt_user_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>

namespace zl::gui {

namespace {

QString programTitle() {
    const QString name = QGuiApplication::applicationDisplayName();
    return name.isEmpty() ? QStringLiteral("Zerolith") : name;
}

// A box sizes itself to its text; one as narrow as "Incompatible file" leaves
// the window manager room for "Ze…h" of its title. A spacer across the box's
// grid is what its own sizing respects.
void keepTitleVisible(QMessageBox &box) {
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout()))
        grid->addItem(new QSpacerItem(QtUserDialogs::messageBoxMinimumWidth(box), 0, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
}

QString picturesFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::homePath();
    return folder;
}

}  // namespace

int QtUserDialogs::messageBoxMinimumWidth(const QMessageBox &box) {
    // Title bars use a larger, bold face, and hold an icon and three buttons.
    constexpr int kTitleBarButtons = 160;
    constexpr int kLeast = 320;
    return std::max(kLeast, 2 * box.fontMetrics().horizontalAdvance(box.windowTitle()) + kTitleBarButtons);
}

void QtUserDialogs::showScriptError(QWidget *parent, const QString &text) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Error in Script Control"), text, QMessageBox::Ok, parent);
    keepTitleVisible(box);
    box.exec();
}

void QtUserDialogs::showMessage(QWidget *parent, const QString &text) {
    QMessageBox box(QMessageBox::NoIcon, programTitle(), text, QMessageBox::Ok, parent);
    keepTitleVisible(box);
    box.exec();
}

bool QtUserDialogs::confirmLongRun(QWidget *parent, const QString &text) {
    QMessageBox box(QMessageBox::Question, programTitle(), text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    keepTitleVisible(box);
    return box.exec() == QMessageBox::Yes;
}

QMessageBox::StandardButton QtUserDialogs::askDecimalComma(const QString &text) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Decimal Comma Warning!"), text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);  // closing the box counts as Cancel
    box.exec();
    const auto answer = box.standardButton(box.clickedButton());
    return answer == QMessageBox::NoButton ? QMessageBox::Cancel : answer;
}

QString QtUserDialogs::openFileName(QWidget *parent) { return QFileDialog::getOpenFileName(parent); }

QString QtUserDialogs::saveFileName(QWidget *parent) { return QFileDialog::getSaveFileName(parent); }

QString QtUserDialogs::exportFileName(QWidget *parent) {
    const QStringList filters{QStringLiteral("PNG image (*.png)"), QStringLiteral("SVG drawing (*.svg)"),
                              QStringLiteral("PDF document (*.pdf)")};
    QString chosenFilter = filters.first();
    QString file = QFileDialog::getSaveFileName(parent, QStringLiteral("Export plot"),
                                                QDir(picturesFolder()).filePath(QStringLiteral("Zerolith plot.png")),
                                                filters.join(QStringLiteral(";;")), &chosenFilter);
    // A name typed without a suffix takes the chosen type's.
    static const QStringList suffixes{QStringLiteral("png"), QStringLiteral("svg"), QStringLiteral("pdf")};
    if (!file.isEmpty() && !suffixes.contains(QFileInfo(file).suffix().toLower()))
        file += QLatin1Char('.') + suffixes.value(int(filters.indexOf(chosenFilter)), suffixes.first());
    return file;
}

QString QtUserDialogs::defaultPdfFileName() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::homePath();
    return QDir(folder).filePath(QStringLiteral("Zerolith report.pdf"));
}

bool QtUserDialogs::choosePrinter(QWidget *parent, QPrinter &printer) {
    // Without an installed printer Qt prints to a PDF file; name one up front
    // so that the dialog shows where the report will go.
    const bool noPrinter = QPrinterInfo::availablePrinters().isEmpty();
    if (noPrinter && printer.outputFileName().isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(defaultPdfFileName());
    }
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    if (printer.outputFormat() == QPrinter::PdfFormat && printer.outputFileName().isEmpty()) {
        const QString file = QFileDialog::getSaveFileName(parent, QString(), defaultPdfFileName());
        if (file.isEmpty()) return false;
        printer.setOutputFileName(file);
    }
    return true;
}

}  // namespace zl::gui
