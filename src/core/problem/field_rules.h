#pragma once
// What the problem's fields accept. The window refuses to let the focus leave
// a field whose text breaks its rule; the problem file reader refuses a file
// whose values break the same rules, so an opened problem is always one the
// user could have typed. Each text rule gives the value the field stands for,
// or nothing when the text is refused.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zl {

/// Largest order the program accepts. Every per-variable array and the
/// order x (order + 1) Newton matrix must fit comfortably in memory, and a
/// Newton cycle costs 2 * order^2 evaluations, so larger systems are refused.
inline constexpr std::int32_t kMaxOrder = 500;

/// 1..kMaxOrder.
[[nodiscard]] bool isUsableOrder(std::int32_t order);

/// The leading number rounded (halves to even) when that is a usable order:
/// "2.5" gives 2, "3.5" gives 4; "0.4" is positive but rounds to no order.
[[nodiscard]] std::optional<std::int32_t> orderFromText(std::string_view text);

/// Not empty, and no comma (a comma separates names in the names field).
[[nodiscard]] bool isUsableVariableName(std::string_view name);

/// The pieces between commas, exactly as typed: blanks are kept and empty
/// pieces count ("x,,y" gives three pieces, "" gives one empty piece).
[[nodiscard]] std::vector<std::string> splitNameList(std::string_view text);

/// One usable name per variable of a problem of `order` variables.
/// Duplicates pass: nothing compares the names with each other.
[[nodiscard]] bool namesFitOrder(const std::vector<std::string> &names, std::int32_t order);

/// The names a names text gives a problem of `order` variables.
[[nodiscard]] std::optional<std::vector<std::string>> namesFromText(std::string_view text, std::int32_t order);

/// Above 0 and finite: the solver compares distances with it.
[[nodiscard]] bool isUsableErrorBound(double bound);

/// The leading number when it is a usable error bound; an empty or
/// non-numeric text reads 0 and is refused.
[[nodiscard]] std::optional<double> errorBoundFromText(std::string_view text);

/// At least one Newton cycle per seed.
[[nodiscard]] bool isUsableIterations(std::int32_t cycles);

/// The text's 16-bit integer form, which the iterations field writes back in
/// place of the text ("7.5" gives 8, "2.5" gives 2, "0.4" gives 0): the whole
/// text must be a number and the rounded value must fit 16 bits. The form is
/// kept even when isUsableIterations then refuses it.
[[nodiscard]] std::optional<std::int16_t> iterationsNormalForm(std::string_view text);

/// The leading number rounded (halves to even) when the number is at least 1
/// and the result fits 32 bits: "1.4" gives 1, "0.5" is refused. A run of
/// many seeds can be stopped, so nothing lower bounds the count.
[[nodiscard]] std::optional<std::int32_t> randomSeedsFromText(std::string_view text);

/// A lower or upper limit: the whole text one finite number ("1e3" gives 1000;
/// "abc", "" and "12abc" are refused). A lower limit above the upper one passes.
[[nodiscard]] std::optional<double> limitFromText(std::string_view text);

}  // namespace zl
