// The About/splash window and the help command.

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>
#include <QWindow>

#include "gui/about_window.h"
#include "gui/help_window.h"
#include "gui/window_title.h"
#include "support/gui_input.h"

using namespace zl::gui;
using zl::gui::testing::clickThroughWindow;

namespace {

const QString kManualFolder = QStringLiteral(ZEROLITH_SOURCE_DIR "/docs/manual");

// Receives what QDesktopServices would hand to the desktop.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened << url; }
};

}  // namespace

class AboutAndHelpTest : public QObject {
    Q_OBJECT
private slots:
    // The splash shows the copyright sign and ignores a click; About closes on one.
    void about_window_lines_and_click() {
        for (const auto role : {AboutWindow::Role::Splash, AboutWindow::Role::About}) {
            const bool about = role == AboutWindow::Role::About;
            const QString notice = about ? "2026 Zerolith developers" : "\u00A9 2026 Zerolith developers";
            AboutWindow window{role};
            QCOMPARE(window.lines(), (QStringList{"", "", "Zerolith", "", notice, "", "All rights reserved.", "",
                                                  "https://zerolith.example.org", "", "support@zerolith.example.org"}));
            QCOMPARE(window.font().pointSize(), 24);
            QVERIFY(window.font().bold());
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            clickThroughWindow(&window);
            QCOMPARE(window.isVisible(), !about);
        }
    }

    void help_without_chm_opens_manual_contents() {
        QTemporaryDir programFolder;  // no rootex.chm there, nor a manual
        HelpWindow help({programFolder.filePath("manual"), kManualFolder});

        QVERIFY(help.openHelp(programFolder.path()));

        QVERIFY(help.isVisible());
        const QUrl index = QUrl::fromLocalFile(QDir(kManualFolder).absoluteFilePath("index.html"));
        QCOMPARE(help.browser()->source(), index);
        // Tab to the first link, follow it with Enter, come back with Contents.
        QVERIFY(zl::gui::testing::showActive(help));
        help.browser()->setFocus();
        QTest::keyClick(help.windowHandle(), Qt::Key_Tab);
        QTest::keyClick(help.windowHandle(), Qt::Key_Return);
        QCOMPARE(help.browser()->source().fileName(), QStringLiteral("starting.html"));
        clickThroughWindow(help.findChild<QPushButton *>());  // Contents
        QCOMPARE(help.browser()->source(), index);
    }

    void manual_links_all_resolve() {
        const QDir manual(kManualFolder);
        const QRegularExpression link(QStringLiteral("href=\"([^\"#:]+)"));
        for (const QString &page : manual.entryList({"*.html"})) {
            QFile file(manual.filePath(page));
            QVERIFY(file.open(QIODevice::ReadOnly));
            for (const auto &match : link.globalMatch(QString::fromUtf8(file.readAll())))
                QVERIFY2(manual.exists(match.captured(1)), qPrintable(page + " -> " + match.captured(1)));
        }
    }

    void help_with_chm_hands_it_to_the_desktop() {
        QTemporaryDir programFolder;
        QFile chm(programFolder.filePath("rootex.chm"));
        QVERIFY(chm.open(QIODevice::WriteOnly));
        chm.close();
        UrlRecorder recorder;
        QDesktopServices::setUrlHandler("file", &recorder, "open");
        HelpWindow help({kManualFolder});

        QVERIFY(help.openHelp(programFolder.path()));

        QDesktopServices::unsetUrlHandler("file");
        QCOMPARE(recorder.opened.size(), 1);
        QCOMPARE(QFileInfo(recorder.opened.first().toLocalFile()).canonicalFilePath(),
                 QFileInfo(chm).canonicalFilePath());
        QVERIFY(!help.isVisible());
    }

    // As the package lays it out: /usr/bin/zerolith, /usr/share/zerolith/manual,
    // /usr/share/icons/hicolor/48x48/apps/zerolith.png.
    void installed_program_finds_its_manual_and_icon() {
        QTemporaryDir root;
        const QDir usr(root.filePath("usr"));
        QVERIFY(usr.mkpath("bin") && usr.mkpath("share/zerolith/manual") &&
                usr.mkpath("share/icons/hicolor/48x48/apps"));
        const QString index = usr.filePath("share/zerolith/manual/index.html");
        QVERIFY(QFile::copy(QDir(kManualFolder).filePath("index.html"), index));
        QImage picture(48, 48, QImage::Format_ARGB32);
        picture.fill(Qt::darkBlue);
        QVERIFY(picture.save(usr.filePath("share/icons/hicolor/48x48/apps/zerolith.png")));

        const HelpWindow help(HelpWindow::defaultManualFolders(usr.filePath("bin")));
        QCOMPARE(help.manualIndex(), QFileInfo(index).absoluteFilePath());
        QVERIFY(programIcon(usr.filePath("bin")).availableSizes().contains(QSize(48, 48)));
        QVERIFY(programIcon(root.path()).isNull());  // run from elsewhere: no icon
    }
};

QTEST_MAIN(AboutAndHelpTest)
#include "about_and_help_test.moc"
