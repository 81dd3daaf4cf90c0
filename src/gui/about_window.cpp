#include "gui/about_window.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include "gui/program_identity.h"

namespace zl::gui {

namespace {

constexpr int kMargin = 24;

Qt::WindowFlags flagsFor(AboutWindow::Role role) {
    return role == AboutWindow::Role::Splash ? Qt::SplashScreen | Qt::FramelessWindowHint : Qt::Dialog;
}

}  // namespace

QStringList AboutWindow::linesFor(Role role) {
    using namespace ProgramIdentity;
    const QString notice = role == Role::Splash ? copyrightSign + makerNotice : makerNotice;
    return {QString(),    QString(), productName, QString(), notice,     QString(),
            rightsNotice, QString(), webAddress,  QString(), mailAddress};
}

QFont AboutWindow::textFont() {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(24);
    font.setBold(true);
    return font;
}

AboutWindow::AboutWindow(Role role, QWidget *parent)
    : QWidget(parent, flagsFor(role)), shownAs_(role), textLines_(linesFor(role)) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About ") + ProgramIdentity::productName);
    setFont(textFont());
    setAutoFillBackground(true);
    const QFontMetrics metrics(font());
    int widest = 0;
    for (const QString &line : textLines_) widest = qMax(widest, metrics.horizontalAdvance(line));
    setFixedSize(widest + 2 * kMargin, static_cast<int>(textLines_.size()) * metrics.lineSpacing() + kMargin);
}

void AboutWindow::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(palette().windowText().color());
    const QFontMetrics metrics(font());
    int baseline = metrics.ascent();
    for (const QString &line : textLines_) {
        painter.drawText(kMargin, baseline, line);
        baseline += metrics.lineSpacing();
    }
}

void AboutWindow::mousePressEvent(QMouseEvent *event) {
    event->accept();
    if (shownAs_ == Role::About) close();
}

}  // namespace zl::gui
