// Control characters on their way to a terminal: made visible, whatever
// encoding mistakes the text holds, also when a flush splits a character.

#include "cli/terminal_text.h"

#include <gtest/gtest.h>

#include <sstream>

namespace zl::cli {
namespace {

TEST(VisibleControls, EscapesWhatATerminalWouldObeyAndNothingElse) {
    const std::pair<std::string, std::string> rows[] = {
        {"x^2=k\tok\n\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80", "x^2=k\tok\n\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80"},
        {"x\x1b]0;t\x07\r\x7f", "x\\x1B]0;t\\x07\\x0D\\x7F"},
        {std::string("a\0b", 3), "a\\x00b"},
        {"\xc2\x9b"
         "1m \x9b"
         "1m",
         "\\u009B1m \\x9B1m"},  // C1 controls, as UTF-8 and raw
        {"caf\xe9 \xc0\xaf \xed\xa0\x80 \xe2\x82", "caf\\xE9 \\xC0\\xAF \\xED\\xA0\\x80 \\xE2\\x82"},  // no UTF-8
    };
    for (const auto &[text, shown] : rows) EXPECT_EQ(visibleControls(text), shown);
}

TEST(VisibleControls, ABufferJoinsACharacterThatAFlushSplits) {
    std::ostringstream target;
    {
        VisibleControlsBuffer buffer(*target.rdbuf());
        std::ostream out(&buffer);
        out << "\xe2\x82" << std::flush;
        EXPECT_EQ(target.str(), "");
        out << "\xac\x1b\n\xe2";
    }
    EXPECT_EQ(target.str(), "\xe2\x82\xac\\x1B\n\\xE2");  // the end, cut short, made visible
}

}  // namespace
}  // namespace zl::cli
