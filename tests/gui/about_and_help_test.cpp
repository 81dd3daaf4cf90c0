// The About/splash window and the help command.

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>
#include <QWindow>

#include "gui/about_window.h"
#include "gui/help_window.h"

using namespace zl::gui;

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

bool hasInk(const QImage &image, const QRect &band, QRgb background)
{
    for (int y = band.top(); y <= band.bottom(); ++y)
        for (int x = band.left(); x <= band.right(); ++x)
            if (image.pixel(x, y) != background)
                return true;
    return false;
}

} // namespace

class AboutAndHelpTest : public QObject {
    Q_OBJECT
private slots:
    void about_window_prints_eleven_lines_data();
    void about_window_prints_eleven_lines();
    void click_closes_about_box_but_not_splash_data();
    void click_closes_about_box_but_not_splash();
    void help_without_chm_opens_manual_contents();
    void manual_contents_cover_every_topic_and_links_resolve();
    void help_with_chm_hands_it_to_the_desktop();
    void help_without_any_manual_reports_failure();
};

void AboutAndHelpTest::about_window_prints_eleven_lines_data()
{
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("notice");
    QTest::newRow("splash") << int(AboutWindow::Role::Splash) << "\u00A9 2026 Zerolith developers";
    QTest::newRow("about") << int(AboutWindow::Role::About) << "2026 Zerolith developers";
}

void AboutAndHelpTest::about_window_prints_eleven_lines()
{
    QFETCH(int, role);
    QFETCH(QString, notice);
    AboutWindow window{AboutWindow::Role(role)};
    const QStringList expected{"", "", "Zerolith", "", notice, "", "All rights reserved.", "",
                               "https://zerolith.example.org", "", "support@zerolith.example.org"};
    QCOMPARE(window.lines(), expected);
    QCOMPARE(window.font().pointSize(), 24);
    QVERIFY(window.font().bold());

    // The title line is painted where the third line stands, the first two are blank.
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QImage image = window.grab().toImage();
    const int lineHeight = QFontMetrics(window.font()).lineSpacing();
    const QRgb background = image.pixel(image.width() - 1, image.height() - 1);
    QVERIFY(!hasInk(image, QRect(0, 0, image.width(), 2 * lineHeight - 2), background));
    QVERIFY(hasInk(image, QRect(0, 2 * lineHeight, image.width(), lineHeight), background));
    // Every line fits the window.
    const QFontMetrics metrics(window.font());
    for (const QString &line : window.lines())
        QVERIFY(metrics.horizontalAdvance(line) < window.width());
    QVERIFY(window.height() >= 11 * lineHeight);
}

void AboutAndHelpTest::click_closes_about_box_but_not_splash_data()
{
    QTest::addColumn<int>("role");
    QTest::addColumn<bool>("closes");
    QTest::newRow("about box") << int(AboutWindow::Role::About) << true;
    QTest::newRow("splash") << int(AboutWindow::Role::Splash) << false;
}

void AboutAndHelpTest::click_closes_about_box_but_not_splash()
{
    QFETCH(int, role);
    QFETCH(bool, closes);
    AboutWindow window{AboutWindow::Role(role)};
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, window.rect().center());
    QCOMPARE(window.isVisible(), !closes);
}

void AboutAndHelpTest::help_without_chm_opens_manual_contents()
{
    QTemporaryDir programFolder;  // no rootex.chm there
    HelpWindow help({programFolder.filePath("manual"), kManualFolder});

    QVERIFY(help.openHelp(programFolder.path()));

    QVERIFY(help.isVisible());
    const QUrl index = QUrl::fromLocalFile(QDir(kManualFolder).absoluteFilePath("index.html"));
    QCOMPARE(help.browser()->source(), index);
    QVERIFY(help.browser()->toPlainText().contains("Table of contents"));

    // Tab to the first link and follow it with Enter, then back with Contents.
    help.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&help));
    help.browser()->setFocus();
    QTest::keyClick(help.windowHandle(), Qt::Key_Tab);
    QTest::keyClick(help.windowHandle(), Qt::Key_Return);
    QCOMPARE(help.browser()->source().fileName(), QStringLiteral("starting.html"));
    QVERIFY(help.browser()->toPlainText().contains("Decimal Comma Warning!"));
    auto *contents = help.findChild<QPushButton *>();
    QVERIFY(contents != nullptr && contents->text().contains("Contents"));
    QTest::mouseClick(help.windowHandle(), Qt::LeftButton, {},
                      contents->mapTo(&help, contents->rect().center()));
    QCOMPARE(help.browser()->source(), index);
}

void AboutAndHelpTest::manual_contents_cover_every_topic_and_links_resolve()
{
    QFile indexFile(kManualFolder + "/index.html");
    QVERIFY(indexFile.open(QIODevice::ReadOnly));
    const QString index = QString::fromUtf8(indexFile.readAll());
    for (const char *topic : {"Entering a problem", "Constants", "Search intervals", "Explore",
                              "Random", "Reading the solution list", "Files and printing"})
        QVERIFY2(index.contains(QLatin1String(topic)), topic);

    // Every local link of every page leads to a page that exists.
    const QDir manual(kManualFolder);
    const QRegularExpression link(QStringLiteral("href=\"([^\"#:]+)"));
    for (const QString &page : manual.entryList({"*.html"})) {
        QFile file(manual.filePath(page));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(file.readAll());
        for (const auto &match : link.globalMatch(html))
            QVERIFY2(manual.exists(match.captured(1)), qPrintable(page + " -> " + match.captured(1)));
    }
}

void AboutAndHelpTest::help_with_chm_hands_it_to_the_desktop()
{
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

void AboutAndHelpTest::help_without_any_manual_reports_failure()
{
    QTemporaryDir programFolder;
    HelpWindow help(HelpWindow::defaultManualFolders(programFolder.path()));
    QVERIFY(!help.openHelp(programFolder.path()));
    QVERIFY(!help.isVisible());
}

QTEST_MAIN(AboutAndHelpTest)
#include "about_and_help_test.moc"
