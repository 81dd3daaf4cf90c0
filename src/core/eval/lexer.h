#pragma once
// Splits script text into tokens, one at a time, on demand.

#include <string_view>

#include "core/eval/token.h"

namespace zl {

class Lexer {
public:
    explicit Lexer(std::string_view text) : text_(text) {}

    /// The next token; End at the end of the text (and forever after).
    /// Comments (' and Rem) run to the end of their line and yield nothing.
    Token next();

private:
    Token lexNumber();
    Token lexRadixNumber(int radix);
    Token lexString();
    Token lexWord();
    Token lexSymbol();
    Token make(TokenKind kind, std::size_t start) const;
    Token invalid(std::int32_t errorNumber, std::size_t start) const;
    void skipBlanks();
    void skipToLineEnd();
    char peek(std::size_t ahead = 0) const {
        return position_ + ahead < text_.size() ? text_[position_ + ahead] : '\0';
    }

    std::string_view text_;
    std::size_t position_ = 0;
};

/// The keyword a word stands for (case-insensitive), or Identifier.
TokenKind keywordKind(std::string_view word);

}  // namespace zl
