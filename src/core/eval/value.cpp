#include "core/eval/value.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "core/numbers/number_reading.h"
#include "core/numbers/number_text.h"

namespace zl {
namespace {

bool isWholeKind(ValueKind kind) {
    return kind == ValueKind::Empty || kind == ValueKind::Boolean || kind == ValueKind::Integer ||
           kind == ValueKind::Long;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

/// "&Hff" or "&O17" as a whole text, read as the literals are (two's complement up to 32 bits).
std::optional<double> radixNumber(std::string_view text) {
    if (text.size() < 3 || text[0] != '&') return std::nullopt;
    const char marker = text[1];
    const int radix = (marker == 'h' || marker == 'H') ? 16 : (marker == 'o' || marker == 'O') ? 8 : 0;
    if (radix == 0) return std::nullopt;
    std::uint64_t value = 0;
    const auto digits = text.substr(2);
    const auto [end, status] = std::from_chars(digits.data(), digits.data() + digits.size(), value, radix);
    if (status != std::errc() || end != digits.data() + digits.size() || value > 0xFFFFFFFFu) return std::nullopt;
    if (value <= 0xFFFF) return static_cast<double>(static_cast<std::int16_t>(static_cast<std::uint16_t>(value)));
    return static_cast<double>(static_cast<std::int32_t>(static_cast<std::uint32_t>(value)));
}

/// A single-precision number shows its 7 significant digits, not the
/// binary expansion of the float.
double singleDisplayValue(double number) {
    char buffer[32];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::general, 7);
    double shown = number;
    std::from_chars(buffer, written.ptr, shown);
    return shown;
}

}  // namespace

std::optional<double> numberFromText(std::string_view text) {
    const std::string_view core = trimmed(text);
    if (auto radix = radixNumber(core)) return radix;
    return parseWholeNumber(core);
}

std::optional<double> numericValue(const Value &value) {
    if (value.kind != ValueKind::String) return value.number;
    return numberFromText(value.text);
}

std::string textOf(const Value &value) {
    switch (value.kind) {
    case ValueKind::Empty:
        return {};
    case ValueKind::Boolean:
        return value.number != 0 ? "True" : "False";
    case ValueKind::String:
        return value.text;
    case ValueKind::Single:
        return generalNumberText(singleDisplayValue(value.number));
    default:
        return generalNumberText(value.number);
    }
}

ValueKind arithmeticKind(ValueKind left, ValueKind right, double result) {
    if (isWholeKind(left) && isWholeKind(right)) {
        if (result >= -32768.0 && result <= 32767.0) return ValueKind::Integer;
        if (result >= -2147483648.0 && result <= 2147483647.0) return ValueKind::Long;
    }
    return ValueKind::Double;
}

}  // namespace zl
