#pragma once
// The real message boxes and dialogs, on Qt's standard widgets.

#include "gui/user_dialogs.h"

namespace zl::gui {

class QtUserDialogs : public UserDialogs {
public:
    void showScriptError(QWidget *parent, const QString &text) override;
    void showMessage(QWidget *parent, const QString &text) override;
    QMessageBox::StandardButton askDecimalComma(const QString &text) override;
    [[nodiscard]] bool confirmLongRun(QWidget *parent, const QString &text) override;
    QString openFileName(QWidget *parent) override;
    QString saveFileName(QWidget *parent) override;
    QString exportFileName(QWidget *parent) override;
    [[nodiscard]] bool choosePrinter(QWidget *parent, QPrinter &printer) override;

    /// The least width of a message box, enough for the window manager to
    /// show its whole title beside the title bar's buttons.
    static int messageBoxMinimumWidth(const QMessageBox &box);

    /// Where a PDF goes when no printer is installed and the user named no file.
    static QString defaultPdfFileName();
};

}  // namespace zl::gui
