#include "gui/report_printer.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>

#include <cmath>

#include "gui/user_dialogs.h"

namespace zl::gui {

namespace {

constexpr double kUsedWidthShare = 0.9;
constexpr int kReportPointSize = 10;
constexpr double kMarginMm = 20;

QRectF printableArea(QPrinter &printer) { return printer.pageLayout().paintRectPixels(printer.resolution()); }

}  // namespace

void ReportPrinter::useReportMargins(QPrinter &printer) {
    printer.setPageMargins(QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter);
}

QFont ReportPrinter::reportFont() {
    QFont font(QStringLiteral("Courier New"), kReportPointSize);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

int ReportPrinter::charsPerLine(QPrinter &printer) {
    // Metrics on the printer itself, in its device pixels: screen metrics
    // would be in the wrong unit and rounded.
    const QFontMetricsF metrics(reportFont(), &printer);
    const double charWidth = metrics.horizontalAdvance(QLatin1Char('a'));
    if (charWidth <= 0) return 1;
    const double fitting = std::floor(kUsedWidthShare * printableArea(printer).width() / charWidth);
    return fitting < 1 ? 1 : static_cast<int>(fitting);
}

int ReportPrinter::linesPerPage(QPrinter &printer) {
    const QFontMetricsF metrics(reportFont(), &printer);
    const double fitting = std::floor(printableArea(printer).height() / metrics.lineSpacing());
    return fitting < 1 ? 1 : static_cast<int>(fitting);
}

ReportPrinter::Outcome ReportPrinter::print(QWidget *parent, UserDialogs &dialogs, QPrinter &printer,
                                            const ReportText &text) {
    if (!dialogs.choosePrinter(parent, printer)) return Outcome::Cancelled;
    return printLines(printer, text(charsPerLine(printer))) ? Outcome::Printed : Outcome::PrinterFailed;
}

bool ReportPrinter::printLines(QPrinter &printer, const std::vector<std::string> &lines) {
    const int pageLines = linesPerPage(printer);
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    painter.setFont(reportFont());
    const QFontMetricsF metrics(painter.font(), &printer);
    const double lineHeight = metrics.lineSpacing();

    int lineOnPage = 0;
    for (const std::string &line : lines) {
        if (lineOnPage == pageLines) {
            if (!printer.newPage()) {
                painter.end();
                return false;
            }
            lineOnPage = 0;
        }
        const double baseline = lineOnPage * lineHeight + metrics.ascent();
        painter.drawText(QPointF(0, baseline), QString::fromStdString(line));
        ++lineOnPage;
    }
    return painter.end();
}

}  // namespace zl::gui
