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

/// One expression and nothing else.
[[nodiscard]] ParseResult parseExpression(std::string_view text);

/// Statements separated by ":" or line ends.
[[nodiscard]] ParseResult parseStatements(std::string_view text);

}  // namespace zl
