// Printing the report to a PDF file and reading it back with pdftotext.

#include <QApplication>
#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <string>
#include <vector>

#include "core/files/report_layout.h"
#include "gui/qt_user_dialogs.h"
#include "gui/report_printer.h"
#include "support/fake_user_dialogs.h"

using namespace zl::gui;
using Lines = std::vector<std::string>;

namespace {

// x,y; x^2+y^2=k; x=y; k=2; -5..5 in 10 subintervals; 0.001; 8; solution x=y=1.
struct ExampleProblem {
    Lines lines(int charsPerLine) const { return zl::reportLines(data, charsPerLine); }
    zl::ReportData data{
        {"x", "y"}, {"k=2"}, {-5, -5}, {5, 5}, {10, 10}, {"x^2+y^2=k", "x=y"}, 0.001, 8, {{{1, 1}, {0, 0}, {0, 0}}}};
};

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
    void prints_the_example_in_fixed_columns() {
        QPrinter printer(QPrinter::HighResolution);
        useA4(printer, QString(), QPageLayout::Portrait, 15);
        FakeUserDialogs dialogs;
        dialogs.printerAnswers.enqueue(true);
        dialogs.printerOutputFile = folder.filePath("example.pdf");  // chosen in the dialog
        ExampleProblem example;
        Lines laidOut;

        QCOMPARE(ReportPrinter::print(nullptr, dialogs, printer, [&](int n) { return laidOut = example.lines(n); }),
                 ReportPrinter::Outcome::Printed);

        // The page shows the layout's lines as they are (the layout's own tests pin
        // their text): every column in place, empty lines kept.
        QVERIFY2(qAbs(pitchInPoints(printer) - 6.0) < 0.05, "10 pt at 12 characters an inch");
        const QList<QStringList> pages = readBack(printer);
        QCOMPARE(pages.size(), 1);
        QStringList expected;
        for (const std::string &line : laidOut)
            expected << QString::fromStdString(line).replace(QRegularExpression("\\s+$"), QString());
        QCOMPARE(pages.first(), expected);
    }

    // 90 % of the printable width over the 6.0 pt pitch of 10 pt Liberation Mono:
    // A4 portrait with 15 mm sides is 180 mm wide, landscape 267 mm, portrait
    // with 40 mm sides 130 mm.
    void line_length_follows_the_page_width() {
        const struct {
            QPageLayout::Orientation orientation;
            double sideMm;
            int expectedChars;
        } pages[] = {
            {QPageLayout::Portrait, 15, 76}, {QPageLayout::Landscape, 15, 113}, {QPageLayout::Portrait, 40, 55}};
        for (const auto &page : pages) {
            QPrinter printer(QPrinter::HighResolution);
            useA4(printer, folder.filePath("width.pdf"), page.orientation, page.sideMm);
            ExampleProblem example;
            example.data.equations[0] = std::string(200, 'q');  // cut into pieces of one line each
            FakeUserDialogs dialogs;
            dialogs.printerAnswers.enqueue(true);

            QCOMPARE(ReportPrinter::print(nullptr, dialogs, printer, [&](int n) { return example.lines(n); }),
                     ReportPrinter::Outcome::Printed);

            QStringList pieces = readBack(printer).value(0).filter(QRegularExpression("^q+$"));
            QCOMPARE(pieces.size(), (200 + page.expectedChars - 1) / page.expectedChars);
            QCOMPARE(pieces.first().size(), page.expectedChars);
        }
    }

    void cancelled_dialog_prints_nothing() {
        QPrinter printer(QPrinter::HighResolution);
        useA4(printer, folder.filePath("cancelled.pdf"), QPageLayout::Portrait, 15);
        FakeUserDialogs dialogs;
        dialogs.printerAnswers.enqueue(false);
        bool laidOut = false;

        const auto outcome = ReportPrinter::print(nullptr, dialogs, printer, [&](int) {
            laidOut = true;
            return Lines{"ORDER: 1 "};
        });

        QCOMPARE(outcome, ReportPrinter::Outcome::Cancelled);
        QVERIFY(!laidOut);
        QVERIFY(!QFile::exists(printer.outputFileName()));
        // An output that cannot be written is reported, not taken for printed.
        useA4(printer, folder.filePath("no such folder/x.pdf"), QPageLayout::Portrait, 15);
        dialogs.printerAnswers.enqueue(true);
        QCOMPARE(ReportPrinter::print(nullptr, dialogs, printer, [](int) { return Lines{"x"}; }),
                 ReportPrinter::Outcome::PrinterFailed);
    }

    void full_page_continues_on_the_next() {
        QPrinter printer(QPrinter::HighResolution);
        useA4(printer, folder.filePath("pages.pdf"), QPageLayout::Portrait, 15);
        const int perPage = ReportPrinter::linesPerPage(printer);
        QVERIFY2(perPage > 55 && perPage < 75, "267 mm of height at some 4 mm a line");
        Lines lines;
        for (int n = 1; n <= 2 * perPage + 1; ++n) lines.push_back("LINE " + std::to_string(n));

        QVERIFY(ReportPrinter::printLines(printer, lines));

        const QList<QStringList> pages = readBack(printer);
        QCOMPARE(pages.size(), 3);
        QCOMPARE(pages[0].size(), perPage);
        QCOMPARE(pages[1].first(), QStringLiteral("LINE %1").arg(perPage + 1));
        QCOMPARE(pages[2], QStringList{QStringLiteral("LINE %1").arg(2 * perPage + 1)});
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
