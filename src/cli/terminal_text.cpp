#include "cli/terminal_text.h"

#include <cstdio>
#include <cstring>

namespace zl::cli {
namespace {

void appendEscape(std::string &out, const char *format, unsigned value) {
    char escape[8];
    std::snprintf(escape, sizeof escape, format, value);
    out += escape;
}

/// The length a UTF-8 sequence with this first byte has, or 0 for a byte
/// that cannot start one.
std::size_t expectedLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

/// The length of the well-formed UTF-8 sequence that `text` starts with
/// (no overlong forms, surrogates or values beyond U+10FFFF), or 0.
std::size_t sequenceLength(std::string_view text) {
    const auto byte = [text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const std::size_t length = expectedLength(byte(0));
    if (length <= 1 || text.size() < length) return length == 1 ? 1 : 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (byte(0) == 0xE0) low = 0xA0;
    if (byte(0) == 0xED) high = 0x9F;
    if (byte(0) == 0xF0) low = 0x90;
    if (byte(0) == 0xF4) high = 0x8F;
    if (byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
    return length;
}

bool isControl(unsigned char c) { return (c < 0x20 && c != '\t' && c != '\n') || c == 0x7F; }

}  // namespace

std::string visibleControls(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const auto lead = static_cast<unsigned char>(text[0]);
        const std::size_t length = sequenceLength(text);
        if (length == 0 || (length == 1 && isControl(lead))) {
            appendEscape(out, "\\x%02X", lead);
            text.remove_prefix(1);
            continue;
        }
        if (lead == 0xC2 && static_cast<unsigned char>(text[1]) < 0xA0)  // U+0080..U+009F
            appendEscape(out, "\\u%04X", static_cast<unsigned char>(text[1]));
        else
            out.append(text.substr(0, length));
        text.remove_prefix(length);
    }
    return out;
}

VisibleControlsBuffer::~VisibleControlsBuffer() {
    pass(true);
    target_.pubsync();
}

VisibleControlsBuffer::int_type VisibleControlsBuffer::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    pending_.push_back(traits_type::to_char_type(c));
    if (c == '\n' && !pass(false)) return traits_type::eof();
    return c;
}

std::streamsize VisibleControlsBuffer::xsputn(const char *text, std::streamsize count) {
    pending_.append(text, static_cast<std::size_t>(count));
    if (std::memchr(text, '\n', static_cast<std::size_t>(count)) && !pass(false)) return 0;
    return count;
}

int VisibleControlsBuffer::sync() {
    const bool passed = pass(false);
    return target_.pubsync() == 0 && passed ? 0 : -1;
}

bool VisibleControlsBuffer::pass(bool everything) {
    std::size_t end = pending_.size();
    if (!everything) {
        // Keep back a sequence whose last bytes have not come yet.
        for (std::size_t back = 1; back <= 3 && back <= end; ++back) {
            const auto byte = static_cast<unsigned char>(pending_[end - back]);
            if (byte < 0x80) break;
            if (byte >= 0xC0) {
                if (expectedLength(byte) > back) end -= back;
                break;
            }
        }
    }
    const std::string shown = visibleControls(std::string_view(pending_).substr(0, end));
    pending_.erase(0, end);
    return target_.sputn(shown.data(), static_cast<std::streamsize>(shown.size())) ==
           static_cast<std::streamsize>(shown.size());
}

}  // namespace zl::cli
