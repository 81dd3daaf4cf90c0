// The progress line's text, and how it is written to a terminal and to a log.

#include "cli/progress_display.h"

#include <gtest/gtest.h>

#include <sstream>

namespace zl::cli {
namespace {

using namespace std::chrono_literals;

TEST(ProgressText, SaysHowFarTheRunIsAndHowLongItTakes) {
    EXPECT_EQ(progressText({RunUnit::Nodes, 1234567, 8120601, 2, 2345ms, 13s}),
              "Explore: 1234567 of 8120601 nodes (15%), 2 solutions, 2.3 s, about 13 s left");
    EXPECT_EQ(progressText({RunUnit::Seeds, 41, 1000, 2, 75s, 3725s}),
              "Random: 41 of 1000 seeds (4%), 2 solutions, 1 min 15 s, about 1 h 2 min left");
    EXPECT_EQ(progressText({RunUnit::Nodes, 0, 1e20, 2, 0ms, std::nullopt}),
              "Explore: 0 of 1E+20 nodes (0%), 2 solutions, 0.0 s");
}

TEST(ProgressDisplay, RewritesOneLineInPlaceOrWritesPlainLines) {
    std::ostringstream terminal, log;
    {
        ProgressDisplay inPlace(terminal, ProgressStyle::InPlace);
        ProgressDisplay lines(log, ProgressStyle::Lines);
        const RunProgress halfway{RunUnit::Seeds, 1, 2, 2, 0ms, std::nullopt};
        for (int k = 0; k < 2; ++k) {
            inPlace.runProgress(halfway);
            lines.runProgress(halfway);
        }
    }
    const std::string text = "Random: 1 of 2 seeds (50%), 2 solutions, 0.0 s";
    EXPECT_EQ(terminal.str(), "\r" + text + "\x1b[K\r" + text + "\x1b[K\r\x1b[K");
    EXPECT_EQ(log.str(), text + "\n" + text + "\n");
}

}  // namespace
}  // namespace zl::cli
