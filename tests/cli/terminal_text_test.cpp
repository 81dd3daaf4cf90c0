// Control characters on their way to a terminal: made visible, whatever
// encoding mistakes the text holds, also when a flush splits a character.

#include "cli/terminal_text.h"

#include <gtest/gtest.h>

#include <ostream>
#include <sstream>

namespace zl::cli {
namespace {

struct EscapeRow {
    const char *name;
    std::string text;
    std::string shown;
};

class VisibleControls : public ::testing::TestWithParam<EscapeRow> {};

TEST_P(VisibleControls, escapesWhatATerminalWouldObey) {
    EXPECT_EQ(visibleControls(GetParam().text), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Rows, VisibleControls,
                         ::testing::Values(EscapeRow{"PlainText", "x^2+y^2=k\tok\n", "x^2+y^2=k\tok\n"},
                                           EscapeRow{"EscapeSequence", "x\x1b[2J", "x\\x1B[2J"},
                                           EscapeRow{"TitleChange", "\x1b]0;owned\x07", "\\x1B]0;owned\\x07"},
                                           EscapeRow{"CarriageReturnAndDelete", "a\rb\x7f", "a\\x0Db\\x7F"},
                                           EscapeRow{"NulByte", std::string("a\0b", 3), "a\\x00b"},
                                           EscapeRow{"Utf8Letters", "\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80",
                                                     "\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80"},
                                           EscapeRow{"Utf8C1Control",
                                                     "a\xc2\x9b"
                                                     "31m",
                                                     "a\\u009B31m"},
                                           EscapeRow{"RawC1Byte",
                                                     "a\x9b"
                                                     "31m",
                                                     "a\\x9B31m"},
                                           EscapeRow{"Latin1Letter", "caf\xe9", "caf\\xE9"},
                                           EscapeRow{"OverlongSlash", "\xc0\xaf", "\\xC0\\xAF"},
                                           EscapeRow{"Surrogate", "\xed\xa0\x80", "\\xED\\xA0\\x80"},
                                           EscapeRow{"CutSequence", "\xe2\x82", "\\xE2\\x82"}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(VisibleControlsBuffer, joinsACharacterThatAFlushSplits) {
    std::ostringstream target;
    {
        VisibleControlsBuffer buffer(*target.rdbuf());
        std::ostream out(&buffer);
        out << "\xe2\x82" << std::flush;
        EXPECT_EQ(target.str(), "");
        out << "\xac\x1b\n" << std::flush;
        EXPECT_EQ(target.str(), "\xe2\x82\xac\\x1B\n");
        out << "\xe2";
    }
    EXPECT_EQ(target.str(), "\xe2\x82\xac\\x1B\n\\xE2");  // the rest at the end, made visible
}

/// A target that takes nothing, as a full disk does.
class RefusingBuffer : public std::streambuf {
protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
    std::streamsize xsputn(const char *, std::streamsize) override { return 0; }
};

TEST(VisibleControlsBuffer, aTargetThatFailsFailsTheStream) {
    RefusingBuffer refusing;
    VisibleControlsBuffer buffer(refusing);
    std::ostream out(&buffer);
    out << "line\n";
    EXPECT_FALSE(out);
}

}  // namespace
}  // namespace zl::cli
