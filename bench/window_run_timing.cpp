// Times a run in the main window, as a user starts it, against the same run on
// the command line, and samples the window's event loop meanwhile.
//   QT_QPA_PLATFORM=offscreen window_run_timing FILE explore|random [SEEDS] [--latency] [--shot PNG]
// Opens FILE in the window, clicks Explore or Random (with SEEDS typed into the
// seeds field), and prints the wall and CPU time from the click until the
// window has handled the run's end. --latency prints the largest gaps
// between ticks of a 10 ms timer during the run; --shot saves a picture of
// the window one second into the run.

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "gui/main_window.h"
#include "gui/problem_file_commands.h"
#include "gui/qt_user_dialogs.h"

namespace {

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

/// Answers the question before a long walk with yes (no when ZL_DECLINE is set), and tells.
struct YesToLongRuns : zl::gui::QtUserDialogs {
    bool confirmLongRun(QWidget *, const QString &text) override {
        std::printf("asked: %s\n", qPrintable(text));
        return qEnvironmentVariableIsEmpty("ZL_DECLINE");
    }
};

}  // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: window_run_timing FILE explore|random [SEEDS] [--latency] [--shot PNG]\n");
        return 2;
    }
    const bool random = args[2] == QLatin1String("random");
    const bool latency = args.contains(QStringLiteral("--latency"));
    const qsizetype shotAt = args.indexOf(QStringLiteral("--shot"));
    const QString shot = shotAt > 0 && shotAt + 1 < args.size() ? args[shotAt + 1] : QString();

    YesToLongRuns dialogs;
    zl::gui::MainWindow window(dialogs);
    zl::gui::ProblemFileCommands files(window, dialogs);
    window.resize(900, 700);
    window.show();
    files.openFile(args[1]);
    if (random && args.size() > 3) window.findChild<QLineEdit *>(QStringLiteral("txtRand"))->setText(args[3]);

    std::vector<qint64> gaps;
    QElapsedTimer sinceTick;
    QTimer ticks;
    ticks.setInterval(10);
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        gaps.push_back(sinceTick.nsecsElapsed());
        sinceTick.restart();
    });

    QElapsedTimer wall;
    double cpuAtStart = 0;
    QTimer::singleShot(200, [&] {
        cpuAtStart = cpuSeconds();
        wall.start();
        if (latency) {
            sinceTick.start();
            ticks.start();
        }
        window.findChild<QPushButton *>(random ? QStringLiteral("cmdRandom") : QStringLiteral("cmdExplore"))->click();
        if (!shot.isEmpty()) QTimer::singleShot(1000, [&] { window.grab().save(shot); });
        auto *poll = new QTimer(&app);
        QObject::connect(poll, &QTimer::timeout, [&, poll] {
            if (window.runUnderWay()) return;
            poll->stop();
            std::printf(
                "wall %.3f s  cpu %.3f s  lines %s\n", double(wall.nsecsElapsed()) / 1e9, cpuSeconds() - cpuAtStart,
                qPrintable(window.findChild<QWidget *>(QStringLiteral("lblRoots"))->property("text").toString()));
            if (latency && !gaps.empty()) {
                std::sort(gaps.begin(), gaps.end());
                const auto at = [&](double q) { return double(gaps[std::size_t(q * double(gaps.size() - 1))]) / 1e6; };
                std::printf("timer gaps (10 ms timer, %zu ticks): median %.1f ms, 99%% %.1f ms, max %.1f ms\n",
                            gaps.size(), at(0.5), at(0.99), at(1.0));
            }
            app.quit();
        });
        poll->start(1);
    });
    return app.exec();
}
