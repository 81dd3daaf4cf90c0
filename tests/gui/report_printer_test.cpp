// Printing the report to a PDF file and reading it back with pdftotext.

#include <QFile>
#include <QFontInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <string>
#include <vector>

#include "core/files/report_layout.h"
#include "core/problem/problem_state.h"
#include "core/solver/residual_system.h"
#include "gui/report_printer.h"
#include "support/fake_user_dialogs.h"

using namespace zl::gui;

namespace {

// x^2+y^2=k and x=y with k=2, written natively.
class CircleAndLine : public zl::ResidualSystem {
public:
    std::int32_t evaluate(int equation, const double *point, double &value) override
    {
        const double x = point[0], y = point[1];
        value = equation == 0 ? x * x + y * y - 2 : x - y;
        return 0;
    }
};

struct ExampleProblem {
    ExampleProblem()
    {
        problem.sizeProblem(2);
        auto &record = problem.spec;
        record.varNames = {"x", "y"};
        record.lowerLimits = {-5, -5};
        record.upperLimits = {5, 5};
        record.subintervals = {10, 10};
        record.maxError = 0.001;
        record.maxCycles = 8;
        record.constants[0] = "k=2";
        record.constantCount = 1;
        problem.store.solutionCount = 1;
        problem.store.solutions(0, 1) = 1;
        problem.store.solutions(1, 1) = 1;
    }

    std::vector<std::string> lines(int charsPerLine)
    {
        zl::ReportSources sources{constants, equations, charsPerLine};
        return zl::reportLines(problem, sources, residuals);
    }

    zl::ProblemState problem;
    CircleAndLine residuals;
    std::vector<std::string> constants{"k=2"};
    std::vector<std::string> equations{"x^2+y^2=k", "x=y"};
};

void setUpA4(QPrinter &printer, const QString &file)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
}

double pitchInPoints(QPrinter &printer)
{
    const QFontMetricsF metrics(ReportPrinter::reportFont(), &printer);
    return metrics.horizontalAdvance(QLatin1Char('a')) * 72.0 / printer.resolution();
}

QString rightTrimmed(QString line)
{
    while (!line.isEmpty() && line.back().isSpace())
        line.chop(1);
    return line;
}

// The PDF's text with its columns kept, one string per page, the page margin's
// indent removed and trailing blanks dropped.
QList<QStringList> readBack(const QString &pdf, double pitch)
{
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-layout", "-fixed", QString::number(pitch, 'f', 3), pdf, "-"});
    if (!pdftotext.waitForFinished(30000))
        return {};
    QList<QStringList> pages;
    qsizetype indent = -1;
    for (const QString &page : QString::fromUtf8(pdftotext.readAllStandardOutput()).split('\f')) {
        QStringList lines;
        for (const QString &line : page.split('\n')) {
            lines << rightTrimmed(line);
            if (!lines.back().isEmpty()) {
                const qsizetype lead = line.size() - line.trimmed().size() - (line.size() - rightTrimmed(line).size());
                indent = indent < 0 ? lead : qMin(indent, lead);
            }
        }
        while (!lines.isEmpty() && lines.back().isEmpty())
            lines.removeLast();
        if (!lines.isEmpty())
            pages << lines;
    }
    for (QStringList &page : pages)
        for (QString &line : page)
            line = line.mid(indent);
    return pages;
}

QStringList nonEmpty(const QStringList &lines)
{
    QStringList kept;
    for (const QString &line : lines)
        if (!line.isEmpty())
            kept << line;
    return kept;
}

} // namespace

class ReportPrinterTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(folder.isValid()); }
    void prints_the_example_in_fixed_columns();
    void line_length_follows_the_page_width_data();
    void line_length_follows_the_page_width();
    void cancelled_dialog_prints_nothing();
    void full_page_continues_on_the_next();
    void unwritable_output_is_reported();

private:
    QTemporaryDir folder;
};

void ReportPrinterTest::prints_the_example_in_fixed_columns()
{
    const QString pdf = folder.filePath("example.pdf");
    QPrinter printer(QPrinter::HighResolution);
    setUpA4(printer, QString());
    FakeUserDialogs dialogs;
    dialogs.printerAnswers.enqueue(true);
    dialogs.printerOutputFile = pdf;  // the user picked a file in the dialog
    ExampleProblem example;
    int askedWidth = 0;

    const auto outcome = ReportPrinter::print(nullptr, dialogs, printer, [&](int charsPerLine) {
        askedWidth = charsPerLine;
        return example.lines(charsPerLine);
    });

    QCOMPARE(outcome, ReportPrinter::Outcome::Printed);
    QCOMPARE(dialogs.count(FakeUserDialogs::Kind::Printer), 1);
    QCOMPARE(askedWidth, ReportPrinter::charsPerLine(printer));
    const double pitch = pitchInPoints(printer);
    QVERIFY2(qAbs(pitch - 6.0) < 0.05, qPrintable(QString::number(pitch)));  // 10 pt, 12 cpi
    const QList<QStringList> pages = readBack(pdf, pitch);
    QCOMPARE(pages.size(), 1);
    const QStringList printed = pages.first();

    const QStringList expectedInOrder{
        "ORDER: 2",
        "VARIABLES:",
        "x,y",
        "CONSTANTS:",
        "k=2",
        "VARIABLE NAME" + QString(6, ' ') + "LOWER LIMIT" + QString(9, ' ') + "UPPER LIMIT"
            + QString(9, ' ') + "# OF SUBINTERVALS",
        "x" + QString(18, ' ') + "-5 " + QString(17, ' ') + " 5 " + QString(17, ' ') + " 10",
        "y" + QString(18, ' ') + "-5 " + QString(17, ' ') + " 5 " + QString(17, ' ') + " 10",
        "EQUATION # 1 :",
        "x^2+y^2=k",
        "EQUATION # 2 :",
        "x=y",
        "MAXIMUM ERROR: 0.001",
        "MAXIMUM # OF CYCLES: 8",
        "SOLUTIONS FOUND:",
        "SET # 1 :",
        "x=  1 " + QString(34, ' ') + "EQUATION # 1 =  0",
        "y=  1 " + QString(34, ' ') + "EQUATION # 2 =  0",
    };
    QCOMPARE(nonEmpty(printed), expectedInOrder);
    // The blank lines stand where the layout put them.
    QStringList laidOut;
    for (const std::string &line : example.lines(askedWidth))
        laidOut << rightTrimmed(QString::fromStdString(line));
    while (!laidOut.isEmpty() && laidOut.back().isEmpty())
        laidOut.removeLast();
    QCOMPARE(printed, laidOut);
}

void ReportPrinterTest::line_length_follows_the_page_width_data()
{
    // Liberation Mono 10 pt is 6.0 pt wide; 90 % of the printable width counts.
    QTest::addColumn<int>("orientation");
    QTest::addColumn<double>("sideMarginMm");
    QTest::addColumn<int>("expectedChars");
    // A4 portrait: 210 - 2 x 15 = 180 mm = 510.2 pt -> 0.9 x 510.2 / 6.0 = 76.5
    QTest::newRow("A4 portrait, 15 mm") << int(QPageLayout::Portrait) << 15.0 << 76;
    // 297 - 2 x 15 = 267 mm = 756.9 pt -> 113.5
    QTest::newRow("A4 landscape, 15 mm") << int(QPageLayout::Landscape) << 15.0 << 113;
    // 210 - 2 x 40 = 130 mm = 368.5 pt -> 55.2
    QTest::newRow("A4 portrait, 40 mm") << int(QPageLayout::Portrait) << 40.0 << 55;
}

void ReportPrinterTest::line_length_follows_the_page_width()
{
    QFETCH(int, orientation);
    QFETCH(double, sideMarginMm);
    QFETCH(int, expectedChars);
    QPrinter printer(QPrinter::HighResolution);
    const QString pdf = folder.filePath("width.pdf");
    setUpA4(printer, pdf);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Orientation(orientation),
                                      QMarginsF(sideMarginMm, 15, sideMarginMm, 15),
                                      QPageLayout::Millimeter));
    QCOMPARE(ReportPrinter::charsPerLine(printer), expectedChars);

    // A long equation is cut at exactly that many characters on paper.
    ExampleProblem example;
    example.equations[0] = std::string(200, 'q');
    FakeUserDialogs dialogs;
    dialogs.printerAnswers.enqueue(true);
    QCOMPARE(ReportPrinter::print(nullptr, dialogs, printer,
                                  [&](int chars) { return example.lines(chars); }),
             ReportPrinter::Outcome::Printed);
    const QStringList printed = readBack(pdf, pitchInPoints(printer)).value(0);
    QStringList pieces;
    for (const QString &line : printed)
        if (line.startsWith('q'))
            pieces << line;
    QVERIFY(pieces.size() >= 2);
    QCOMPARE(pieces.first().size(), expectedChars);
    qsizetype total = 0;
    for (const QString &piece : pieces)
        total += piece.size();
    QCOMPARE(total, 200);
}

void ReportPrinterTest::cancelled_dialog_prints_nothing()
{
    const QString pdf = folder.filePath("cancelled.pdf");
    QPrinter printer(QPrinter::HighResolution);
    setUpA4(printer, pdf);
    FakeUserDialogs dialogs;
    dialogs.printerAnswers.enqueue(false);
    bool laidOut = false;

    const auto outcome = ReportPrinter::print(nullptr, dialogs, printer, [&](int) {
        laidOut = true;
        return std::vector<std::string>{"ORDER: 1 "};
    });

    QCOMPARE(outcome, ReportPrinter::Outcome::Cancelled);
    QVERIFY(!laidOut);
    QVERIFY(!QFile::exists(pdf));
}

void ReportPrinterTest::full_page_continues_on_the_next()
{
    const QString pdf = folder.filePath("pages.pdf");
    QPrinter printer(QPrinter::HighResolution);
    setUpA4(printer, pdf);
    const int perPage = ReportPrinter::linesPerPage(printer);
    // 277 mm of height at the font's line spacing: some 60-70 lines.
    QVERIFY2(perPage > 55 && perPage < 75, qPrintable(QString::number(perPage)));
    std::vector<std::string> lines;
    const int total = 2 * perPage + 3;
    for (int n = 1; n <= total; ++n)
        lines.push_back("LINE " + std::to_string(n));

    QVERIFY(ReportPrinter::printLines(printer, lines));

    const QList<QStringList> pages = readBack(pdf, pitchInPoints(printer));
    QCOMPARE(pages.size(), 3);
    QCOMPARE(pages[0].size(), perPage);
    QCOMPARE(pages[0].first(), QStringLiteral("LINE 1"));
    QCOMPARE(pages[0].last(), QStringLiteral("LINE %1").arg(perPage));
    QCOMPARE(pages[1].first(), QStringLiteral("LINE %1").arg(perPage + 1));
    QCOMPARE(pages[2], (QStringList{QStringLiteral("LINE %1").arg(total - 2),
                                    QStringLiteral("LINE %1").arg(total - 1),
                                    QStringLiteral("LINE %1").arg(total)}));
}

void ReportPrinterTest::unwritable_output_is_reported()
{
    QPrinter printer(QPrinter::HighResolution);
    setUpA4(printer, folder.filePath("no such folder/report.pdf"));
    FakeUserDialogs dialogs;
    dialogs.printerAnswers.enqueue(true);
    const auto outcome = ReportPrinter::print(nullptr, dialogs, printer, [](int) {
        return std::vector<std::string>{"ORDER: 1 "};
    });
    QCOMPARE(outcome, ReportPrinter::Outcome::PrinterFailed);
}

QTEST_MAIN(ReportPrinterTest)
#include "report_printer_test.moc"
