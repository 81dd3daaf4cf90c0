#include "core/problem/field_rules.h"

#include <algorithm>
#include <cmath>

#include "core/numbers/number_reading.h"

namespace zl {

bool isUsableOrder(std::int32_t order) { return order >= 1 && order <= kMaxOrder; }

std::optional<std::int32_t> orderFromText(std::string_view text) {
    const auto order = roundToInt32(readLeadingNumber(text));
    if (!order || !isUsableOrder(*order)) return std::nullopt;
    return order;
}

bool isUsableVariableName(std::string_view name) { return !name.empty() && name.find(',') == std::string_view::npos; }

std::vector<std::string> splitNameList(std::string_view text) {
    std::vector<std::string> pieces;
    for (std::size_t start = 0;;) {
        const std::size_t comma = text.find(',', start);
        pieces.emplace_back(text.substr(start, comma - start));
        if (comma == std::string_view::npos) return pieces;
        start = comma + 1;
    }
}

bool namesFitOrder(const std::vector<std::string> &names, std::int32_t order) {
    return order >= 1 && names.size() == static_cast<std::size_t>(order) &&
           std::all_of(names.begin(), names.end(), [](const std::string &name) { return isUsableVariableName(name); });
}

std::optional<std::vector<std::string>> namesFromText(std::string_view text, std::int32_t order) {
    std::vector<std::string> names = splitNameList(text);
    if (!namesFitOrder(names, order)) return std::nullopt;
    return names;
}

bool isUsableErrorBound(double bound) { return bound > 0 && std::isfinite(bound); }

std::optional<double> errorBoundFromText(std::string_view text) {
    const double bound = readLeadingNumber(text);
    if (!isUsableErrorBound(bound)) return std::nullopt;
    return bound;
}

bool isUsableIterations(std::int32_t cycles) { return cycles >= 1; }

std::optional<std::int16_t> iterationsNormalForm(std::string_view text) {
    const auto value = parseWholeNumber(text);
    return value ? roundToInt16(*value) : std::nullopt;
}

std::optional<std::int32_t> randomSeedsFromText(std::string_view text) {
    const double value = readLeadingNumber(text);
    if (!(value >= 1)) return std::nullopt;
    return roundToInt32(value);
}

std::optional<double> limitFromText(std::string_view text) { return parseWholeNumber(text); }

}  // namespace zl
