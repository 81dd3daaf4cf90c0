#pragma once
// Every question and message box the program shows, behind one interface so
// that tests can answer them. QtUserDialogs is the real one.

#include <QMessageBox>
#include <QString>

class QPrinter;
class QWidget;

namespace zl::gui {

class UserDialogs {
public:
    virtual ~UserDialogs() = default;

    /// The critical "Error in Script Control" box with an OK button.
    virtual void showScriptError(QWidget *parent, const QString &text) = 0;

    /// A plain message with an OK button and the program's title ("Incompatible
    /// file", or why a file could not be read or written).
    virtual void showMessage(QWidget *parent, const QString &text) = 0;

    /// The critical "Decimal Comma Warning!" box: Yes, No or Cancel
    /// (closing the box counts as Cancel).
    virtual QMessageBox::StandardButton askDecimalComma(const QString &text) = 0;

    /// A question before a long run: true for Yes, false for No (closing the box counts as No).
    [[nodiscard]] virtual bool confirmLongRun(QWidget *parent, const QString &text) = 0;

    /// Open and save dialogs: the chosen file's full path, or "" when cancelled.
    virtual QString openFileName(QWidget *parent) = 0;
    virtual QString saveFileName(QWidget *parent) = 0;

    /// Where to save a picture of a plot: a file name ending in .png, .svg
    /// or .pdf, or "" when cancelled.
    virtual QString exportFileName(QWidget *parent) = 0;

    /// The print dialog for `printer`; false when the user cancelled it.
    [[nodiscard]] virtual bool choosePrinter(QWidget *parent, QPrinter &printer) = 0;
};

}  // namespace zl::gui
