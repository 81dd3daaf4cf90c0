// Printing the report to a PDF file and reading it back with pdftotext.

#include <QApplication>
#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <string>
#include <vector>

#include "gui/qt_user_dialogs.h"
#include "gui/report_printer.h"
#include "support/fake_user_dialogs.h"

using namespace zl::gui;
using Lines = std::vector<std::string>;

namespace {

void useA4(QPrinter &printer, const QString &file, QPageLayout::Orientation orientation, double sideMm) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), orientation, QMarginsF(sideMm, 15, sideMm, 15), QPageLayout::Millimeter));
}

double pitchInPoints(QPrinter &printer) {
    return QFontMetricsF(ReportPrinter::reportFont(), &printer).horizontalAdvance('a') * 72.0 / printer.resolution();
}

// The PDF's pages with their columns kept (pdftotext -fixed at the font's
// pitch), the margin's indent and trailing blanks removed.
QList<QStringList> readBack(QPrinter &printer) {
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-layout", "-fixed", QString::number(pitchInPoints(printer), 'f', 3),
                                  printer.outputFileName(), "-"});
    pdftotext.waitForFinished(30000);
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    qsizetype indent = text.size();
    for (const QString &line : text.split(QRegularExpression("[\n\f]")))
        if (!line.trimmed().isEmpty()) indent = qMin(indent, line.indexOf(line.trimmed().front()));
    QList<QStringList> pages;
    for (const QString &page : text.split('\f')) {
        QStringList lines;
        for (const QString &line : page.split('\n'))
            lines << line.mid(indent).replace(QRegularExpression("\\s+$"), QString());
        while (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
        if (!lines.isEmpty()) pages << lines;
    }
    return pages;
}

}  // namespace

class ReportPrinterTest : public QObject {
    Q_OBJECT
private slots:
    // The layout is asked for 90 % of the printable width over the 6.0 pt pitch
    // of 10 pt Liberation Mono (A4 portrait with 15 mm sides is 180 mm wide,
    // landscape 267 mm, portrait with 40 mm sides 130 mm); its lines are printed
    // as they are, columns and empty lines kept, a full page before the next.
    void prints_the_lines_in_fixed_columns_at_the_page_s_width_and_height() {
        const struct {
            QPageLayout::Orientation orientation;
            double sideMm;
            int chars, linesPerPage;
        } pages[] = {{QPageLayout::Portrait, 15, 76, 66},
                     {QPageLayout::Landscape, 15, 113, 44},
                     {QPageLayout::Portrait, 40, 55, 66}};
        for (const auto &page : pages) {
            QPrinter printer(QPrinter::HighResolution);
            useA4(printer, QString(), page.orientation, page.sideMm);
            FakeUserDialogs dialogs;
            dialogs.printerAnswers.enqueue(true);
            dialogs.printerOutputFile = folder.filePath("report.pdf");  // chosen in the dialog
            QStringList expected;
            const auto layout = [&](int chars) {
                Lines lines{std::string(chars, 'q'), "", "SET # 1   x =  1    y = -2"};
                while (int(lines.size()) <= 2 * page.linesPerPage)
                    lines.push_back("LINE " + std::to_string(lines.size()));
                for (const std::string &line : lines) expected << QString::fromStdString(line);
                return lines;
            };

            QCOMPARE(ReportPrinter::print(nullptr, dialogs, printer, layout), ReportPrinter::Outcome::Printed);

            QVERIFY2(qAbs(pitchInPoints(printer) - 6.0) < 0.05, "10 pt at 12 characters an inch");
            QCOMPARE(expected.first().size(), page.chars);
            const QList<QStringList> printed = readBack(printer);
            QCOMPARE(printed.size(), 3);
            for (int k = 0; k < 3; ++k) QCOMPARE(printed[k], expected.mid(k * page.linesPerPage, page.linesPerPage));
        }
    }

    void cancelled_dialog_prints_nothing_and_a_failed_output_is_reported() {
        QPrinter printer(QPrinter::HighResolution);
        useA4(printer, folder.filePath("cancelled.pdf"), QPageLayout::Portrait, 15);
        FakeUserDialogs dialogs;  // no answer queued: the dialog is cancelled
        bool laidOut = false;
        const auto layout = [&](int) {
            laidOut = true;
            return Lines{"ORDER: 1 "};
        };

        QCOMPARE(ReportPrinter::print(nullptr, dialogs, printer, layout), ReportPrinter::Outcome::Cancelled);
        QVERIFY(!laidOut && !QFile::exists(printer.outputFileName()));

        // An output that cannot be written is reported, not taken for printed.
        useA4(printer, folder.filePath("no such folder/x.pdf"), QPageLayout::Portrait, 15);
        dialogs.printerAnswers.enqueue(true);
        QCOMPARE(ReportPrinter::print(nullptr, dialogs, printer, layout), ReportPrinter::Outcome::PrinterFailed);
    }

    void without_a_printer_the_real_dialog_prints_to_a_pdf_file() {
        if (!QPrinterInfo::availablePrinters().isEmpty()) QSKIP("a printer is installed here");
        qputenv("HOME", folder.path().toLocal8Bit());  // where the PDF goes by default
        QPrinter printer(QPrinter::HighResolution);
        ReportPrinter::useReportMargins(printer);
        QString offered;
        QTimer::singleShot(100, [&] {  // the user accepts the dialog with Enter
            auto *dialog = qobject_cast<QPrintDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog != nullptr);
            offered = printer.outputFileName();
            QTest::keyClick(dialog->windowHandle(), Qt::Key_Return);
        });
        QtUserDialogs dialogs;

        const auto outcome = ReportPrinter::print(nullptr, dialogs, printer, [](int) { return Lines{"ORDER: 1 "}; });

        QCOMPARE(outcome, ReportPrinter::Outcome::Printed);
        QVERIFY(offered.startsWith(folder.path()) && offered.endsWith(".pdf"));
        QVERIFY(QFile::exists(printer.outputFileName()));
        QCOMPARE(printer.pageLayout().margins(QPageLayout::Millimeter),
                 QMarginsF(20, 20, 20, 20));  // kept by the dialog
    }

private:
    QTemporaryDir folder;
};

QTEST_MAIN(ReportPrinterTest)
#include "report_printer_test.moc"
