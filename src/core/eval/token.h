#pragma once
// The tokens the lexer hands to the parser.

#include <cstdint>

namespace zl {

enum class TokenKind : std::uint8_t {
    End,
    Newline,
    Colon,
    Comma,
    Dot,
    LeftParenthesis,
    RightParenthesis,
    Number,
    String,
    Identifier,
    Plus,
    Minus,
    Star,
    Slash,
    Backslash,
    Caret,
    Ampersand,
    Equal,
    NotEqual,
    Less,
    Greater,
    LessEqual,
    GreaterEqual,
    And,
    Or,
    Not,
    Xor,
    Eqv,
    Imp,
    Mod,
    True,
    False,
    Empty,
    Null,
    Nothing,
    Dim,
    Public,
    Private,
    Rem,           ///< starts a comment; the lexer skips it and never returns it
    ReservedWord,  ///< a word the language keeps for itself that this engine has no use for
    Invalid,       ///< a lexical error; errorNumber says which
};

/// The subtype of a numeric literal: whole numbers up to 16 bits are Integer,
/// up to 32 bits Long, everything else Double.
enum class LiteralType : std::uint8_t { Integer, Long, Double };

struct Token {
    TokenKind kind = TokenKind::End;
    LiteralType literalType = LiteralType::Double;
    std::int32_t offset = 0;  ///< position of the first character in the source
    std::int32_t length = 0;
    double number = 0;             ///< value of a Number token
    std::int32_t errorNumber = 0;  ///< error of an Invalid token
};

}  // namespace zl
