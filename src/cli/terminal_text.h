#pragma once
// Text bound for a terminal. Names, equations and constants come from files
// anyone may write, and paths from the command line: an escape sequence in
// them must not reach the terminal, where it could move the cursor, recolour
// the screen or retitle the window.

#include <streambuf>
#include <string>
#include <string_view>

namespace zl::cli {

/// `text` with every control character made visible: C0 controls but tab and
/// line feed, and DEL, as \xHH; the C1 controls (U+0080 to U+009F) as \uHHHH;
/// and each byte that is not part of well-formed UTF-8 as \xHH. What remains
/// is valid UTF-8 that only prints.
std::string visibleControls(std::string_view text);

/// Passes what is written to `target` through visibleControls, a line at a
/// time (and on every flush). A sequence split by a flush is joined first.
class VisibleControlsBuffer : public std::streambuf {
public:
    explicit VisibleControlsBuffer(std::streambuf &target) : target_(target) {}
    ~VisibleControlsBuffer() override;
    VisibleControlsBuffer(const VisibleControlsBuffer &) = delete;
    VisibleControlsBuffer &operator=(const VisibleControlsBuffer &) = delete;

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char *text, std::streamsize count) override;
    int sync() override;

private:
    /// Writes the pending text up to its last complete character; with
    /// `everything`, the rest too.
    bool pass(bool everything);

    std::streambuf &target_;
    std::string pending_;
};

}  // namespace zl::cli
