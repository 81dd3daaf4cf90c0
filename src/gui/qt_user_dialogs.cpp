#include "gui/qt_user_dialogs.h"

#include <QDir>
#include <QFileDialog>
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

}  // namespace

void QtUserDialogs::showScriptError(QWidget *parent, const QString &text) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Error in Script Control"), text, QMessageBox::Ok, parent);
    box.exec();
}

void QtUserDialogs::showMessage(QWidget *parent, const QString &text) {
    QMessageBox box(QMessageBox::NoIcon, programTitle(), text, QMessageBox::Ok, parent);
    box.exec();
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
