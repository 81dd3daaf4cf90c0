#pragma once
// Prints the report as one job in a fixed-pitch font: the lines come from the
// core's report layout for the number of characters that fit nine tenths of
// the printable width; a new page starts whenever one is full.

#include <QFont>

#include <functional>
#include <string>
#include <vector>

class QPrinter;
class QWidget;

namespace zl::gui {

class UserDialogs;

class ReportPrinter {
public:
    /// The report's lines for a given line length in characters.
    using ReportText = std::function<std::vector<std::string>(int charsPerLine)>;

    enum class Outcome { Printed, Cancelled, PrinterFailed };

    /// Gives the printer the margins of a printed document, 20 mm on every
    /// side (in place of the few millimetres a printer can print to); the
    /// print dialog may change them.
    static void useReportMargins(QPrinter &printer);

    /// "Courier New", or the fixed-pitch face the system puts in its place.
    static QFont reportFont();
    /// floor(0.9 x printable width / width of "a"), measured on the printer.
    static int charsPerLine(QPrinter &printer);
    /// Whole lines that fit the printable height of one page (at least 1).
    static int linesPerPage(QPrinter &printer);

    /// Asks for the printer, then prints. Nothing is printed when the dialog
    /// is cancelled.
    [[nodiscard]] static Outcome print(QWidget *parent, UserDialogs &dialogs, QPrinter &printer,
                                       const ReportText &text);
    /// Prints `lines` as one job; false when the printer could not start it.
    [[nodiscard]] static bool printLines(QPrinter &printer, const std::vector<std::string> &lines);
};

}  // namespace zl::gui
