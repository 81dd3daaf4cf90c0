#pragma once
// Builds a SyntaxTree from script text, following the grammar level by level.

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "core/eval/syntax_tree.h"

namespace zl {

/// Why a text could not be parsed: an error number and the source position.
struct ParseFailure {
    std::int32_t number = 0;
    std::int32_t offset = 0;
};

struct ParseResult {
    std::shared_ptr<const SyntaxTree> tree;  ///< null when parsing failed
    ParseFailure failure;
    bool ok() const { return tree != nullptr; }
};

/// Deepest nesting of parentheses, argument lists and prefix operators.
inline constexpr int kMaxNestingDepth = 200;
/// Most nodes one text may produce; beyond it the text is refused (error 7).
inline constexpr std::size_t kMaxSyntaxNodes = 1'000'000;
/// Most nodes the residuals of one problem may produce together, so that the
/// largest problem file cannot hold more than a few hundred megabytes of
/// compiled equations: two equations of the largest size, or 500 of 4,000
/// nodes each, far more than a system of that order needs.
inline constexpr std::size_t kMaxProblemSyntaxNodes = 2'000'000;

/// One expression and nothing else, of at most `maxNodes` nodes (error 7 beyond).
[[nodiscard]] ParseResult parseExpression(std::string_view text, std::size_t maxNodes = kMaxSyntaxNodes);

/// Statements separated by ":" or line ends.
[[nodiscard]] ParseResult parseStatements(std::string_view text);

}  // namespace zl
