#include "gui/splash_sequence.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#include "gui/about_window.h"

namespace zl::gui {

qint64 SplashSequence::waitFrom(qint64 startMs) {
    constexpr qint64 kSecond = 1000;
    const qint64 intoSecond = ((startMs % kSecond) + kSecond) % kSecond;
    return 3 * kSecond - intoSecond;
}

void SplashSequence::run() {
    AboutWindow splash(AboutWindow::Role::Splash);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        splash.move(screen->availableGeometry().center() - splash.rect().center());
    splash.show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

    // The boundary is taken from the wall clock once; the wait itself runs on
    // the monotonic clock so that a clock change cannot stretch it.
    const qint64 wait = waitFrom(QDateTime::currentMSecsSinceEpoch());
    QElapsedTimer elapsed;
    elapsed.start();
    QEventLoop loop;
    while (elapsed.elapsed() < wait) {
        QTimer::singleShot(static_cast<int>(wait - elapsed.elapsed()), Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    splash.close();
}

}  // namespace zl::gui
