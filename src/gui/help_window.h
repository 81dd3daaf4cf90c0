#pragma once
// Help: the help file "rootex.chm" in the program's folder when there is one,
// handed to the desktop's viewer; otherwise the HTML manual that ships with the
// program, in a browser window of our own, open at its table of contents.

#include <QStringList>
#include <QWidget>

class QTextBrowser;

namespace zl::gui {

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    /// `manualFolders`: where to look for the manual's index.html, in order.
    explicit HelpWindow(QStringList manualFolders, QWidget *parent = nullptr);

    /// The help file when present, else this window at the manual's contents.
    /// False when neither the help file nor the manual could be found.
    [[nodiscard]] bool openHelp(const QString &programFolder);

    /// The manual's table of contents, or "" when no folder holds it.
    QString manualIndex() const;
    QTextBrowser *browser() const { return pages_; }

    /// The folders a program in `programFolder` looks in: manual/ beside it,
    /// docs/manual of a source tree the build folder sits in, then where the
    /// installed program's manual is (share/zerolith/manual beside bin/).
    static QStringList defaultManualFolders(const QString &programFolder);

private:
    QStringList folders_;
    QTextBrowser *pages_ = nullptr;
};

}  // namespace zl::gui
