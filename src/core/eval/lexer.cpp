#include "core/eval/lexer.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>

#include "core/eval/script_error_catalogue.h"

namespace zl {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isWordCharacter(char c) { return isLetter(c) || isDigit(c) || c == '_'; }
char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

int digitValue(char c) {
    if (isDigit(c)) return c - '0';
    const char l = lower(c);
    if (l >= 'a' && l <= 'f') return l - 'a' + 10;
    return 99;
}

struct Keyword {
    std::string_view word;  // lower case
    TokenKind kind;
};

// Sorted by word for binary search.
constexpr std::array kKeywords{
    Keyword{"and", TokenKind::And},
    Keyword{"as", TokenKind::ReservedWord},
    Keyword{"byref", TokenKind::ReservedWord},
    Keyword{"byval", TokenKind::ReservedWord},
    Keyword{"call", TokenKind::ReservedWord},
    Keyword{"case", TokenKind::ReservedWord},
    Keyword{"class", TokenKind::ReservedWord},
    Keyword{"const", TokenKind::ReservedWord},
    Keyword{"dim", TokenKind::Dim},
    Keyword{"do", TokenKind::ReservedWord},
    Keyword{"each", TokenKind::ReservedWord},
    Keyword{"else", TokenKind::ReservedWord},
    Keyword{"elseif", TokenKind::ReservedWord},
    Keyword{"empty", TokenKind::Empty},
    Keyword{"end", TokenKind::ReservedWord},
    Keyword{"eqv", TokenKind::Eqv},
    Keyword{"erase", TokenKind::ReservedWord},
    Keyword{"error", TokenKind::ReservedWord},
    Keyword{"exit", TokenKind::ReservedWord},
    Keyword{"explicit", TokenKind::ReservedWord},
    Keyword{"false", TokenKind::False},
    Keyword{"for", TokenKind::ReservedWord},
    Keyword{"function", TokenKind::ReservedWord},
    Keyword{"get", TokenKind::ReservedWord},
    Keyword{"goto", TokenKind::ReservedWord},
    Keyword{"if", TokenKind::ReservedWord},
    Keyword{"imp", TokenKind::Imp},
    Keyword{"in", TokenKind::ReservedWord},
    Keyword{"is", TokenKind::ReservedWord},
    Keyword{"let", TokenKind::ReservedWord},
    Keyword{"loop", TokenKind::ReservedWord},
    Keyword{"me", TokenKind::ReservedWord},
    Keyword{"mod", TokenKind::Mod},
    Keyword{"new", TokenKind::ReservedWord},
    Keyword{"next", TokenKind::ReservedWord},
    Keyword{"not", TokenKind::Not},
    Keyword{"nothing", TokenKind::Nothing},
    Keyword{"null", TokenKind::Null},
    Keyword{"on", TokenKind::ReservedWord},
    Keyword{"option", TokenKind::ReservedWord},
    Keyword{"or", TokenKind::Or},
    Keyword{"preserve", TokenKind::ReservedWord},
    Keyword{"private", TokenKind::Private},
    Keyword{"property", TokenKind::ReservedWord},
    Keyword{"public", TokenKind::Public},
    Keyword{"redim", TokenKind::ReservedWord},
    Keyword{"rem", TokenKind::Rem},
    Keyword{"resume", TokenKind::ReservedWord},
    Keyword{"select", TokenKind::ReservedWord},
    Keyword{"set", TokenKind::ReservedWord},
    Keyword{"step", TokenKind::ReservedWord},
    Keyword{"stop", TokenKind::ReservedWord},
    Keyword{"sub", TokenKind::ReservedWord},
    Keyword{"then", TokenKind::ReservedWord},
    Keyword{"to", TokenKind::ReservedWord},
    Keyword{"true", TokenKind::True},
    Keyword{"until", TokenKind::ReservedWord},
    Keyword{"wend", TokenKind::ReservedWord},
    Keyword{"while", TokenKind::ReservedWord},
    Keyword{"with", TokenKind::ReservedWord},
    Keyword{"xor", TokenKind::Xor},
};

static_assert(std::is_sorted(kKeywords.begin(), kKeywords.end(),
                             [](const Keyword &a, const Keyword &b) { return a.word < b.word; }));

constexpr std::size_t kLongestKeyword = 8;

}  // namespace

TokenKind keywordKind(std::string_view word) {
    if (word.size() > kLongestKeyword) return TokenKind::Identifier;
    char buffer[kLongestKeyword];
    for (std::size_t i = 0; i < word.size(); ++i) buffer[i] = lower(word[i]);
    const std::string_view key(buffer, word.size());
    const auto found = std::lower_bound(kKeywords.begin(), kKeywords.end(), key,
                                        [](const Keyword &k, std::string_view w) { return k.word < w; });
    return (found != kKeywords.end() && found->word == key) ? found->kind : TokenKind::Identifier;
}

Token Lexer::make(TokenKind kind, std::size_t start) const {
    Token token;
    token.kind = kind;
    token.offset = static_cast<std::int32_t>(start);
    token.length = static_cast<std::int32_t>(position_ - start);
    return token;
}

Token Lexer::invalid(std::int32_t errorNumber, std::size_t start) const {
    Token token = make(TokenKind::Invalid, start);
    token.errorNumber = errorNumber;
    return token;
}

void Lexer::skipBlanks() {
    while (position_ < text_.size() &&
           (text_[position_] == ' ' || text_[position_] == '\t' || text_[position_] == '\r'))
        ++position_;
}

void Lexer::skipToLineEnd() {
    while (position_ < text_.size() && text_[position_] != '\n') ++position_;
}

Token Lexer::next() {
    for (;;) {
        skipBlanks();
        if (position_ >= text_.size()) return make(TokenKind::End, position_);
        const char c = text_[position_];
        if (c == '\'') {
            skipToLineEnd();
            continue;
        }
        if (isDigit(c) || (c == '.' && isDigit(peek(1)))) return lexNumber();
        if (c == '"') return lexString();
        if (isLetter(c)) {
            Token word = lexWord();
            if (word.kind == TokenKind::Rem) {
                skipToLineEnd();
                continue;
            }
            return word;
        }
        if (c == '&') {
            const char radix = lower(peek(1));
            if (radix == 'h' && digitValue(peek(2)) < 16) return lexRadixNumber(16);
            if (radix == 'o' && digitValue(peek(2)) < 8) return lexRadixNumber(8);
        }
        return lexSymbol();
    }
}

/// digits [ "." digits ] [ ("E"|"e") ["+"|"-"] digits ], or "." digits [...]
Token Lexer::lexNumber() {
    const std::size_t start = position_;
    bool whole = true;
    while (isDigit(peek())) ++position_;
    if (peek() == '.') {
        whole = false;
        ++position_;
        while (isDigit(peek())) ++position_;
    }
    if (lower(peek()) == 'e') {
        whole = false;
        ++position_;
        if (peek() == '+' || peek() == '-') ++position_;
        if (!isDigit(peek())) return invalid(errorNumber(ScriptErrorCode::InvalidNumber), start);
        while (isDigit(peek())) ++position_;
    }
    const std::string_view spelling = text_.substr(start, position_ - start);
    double value = 0;
    const auto [end, status] = std::from_chars(spelling.data(), spelling.data() + spelling.size(), value);
    if (status == std::errc::result_out_of_range) {
        // A tiny magnitude reads as 0; one beyond the double range is no number.
        const auto exponent = spelling.find_first_of("eE");
        const bool negativeExponent =
            exponent != std::string_view::npos && exponent + 1 < spelling.size() && spelling[exponent + 1] == '-';
        if (!negativeExponent) return invalid(errorNumber(ScriptErrorCode::InvalidNumber), start);
        value = 0;
    } else if (status != std::errc() || end != spelling.data() + spelling.size()) {
        return invalid(errorNumber(ScriptErrorCode::InvalidNumber), start);
    }
    Token token = make(TokenKind::Number, start);
    token.number = value;
    token.literalType = !whole                  ? LiteralType::Double
                        : value <= 32767.0      ? LiteralType::Integer
                        : value <= 2147483647.0 ? LiteralType::Long
                                                : LiteralType::Double;
    return token;
}

/// "&H" hex digits or "&O" octal digits. Up to 16 bits the value is an
/// Integer and up to 32 bits a Long, both read as two's complement, so &HFFFF
/// is -1; wider values are no number.
Token Lexer::lexRadixNumber(int radix) {
    const std::size_t start = position_;
    position_ += 2;
    std::uint64_t value = 0;
    bool tooWide = false;
    while (digitValue(peek()) < radix) {
        value = value * static_cast<std::uint64_t>(radix) + static_cast<std::uint64_t>(digitValue(peek()));
        if (value > 0xFFFFFFFFu) tooWide = true, value = 0xFFFFFFFFu + 1;
        ++position_;
    }
    if (tooWide) return invalid(errorNumber(ScriptErrorCode::InvalidNumber), start);
    Token token = make(TokenKind::Number, start);
    if (value <= 0xFFFF) {
        token.literalType = LiteralType::Integer;
        token.number = static_cast<double>(static_cast<std::int16_t>(static_cast<std::uint16_t>(value)));
    } else {
        token.literalType = LiteralType::Long;
        token.number = static_cast<double>(static_cast<std::int32_t>(static_cast<std::uint32_t>(value)));
    }
    return token;
}

/// '"' { any character but '"' and line end | '""' } '"'
Token Lexer::lexString() {
    const std::size_t start = position_;
    ++position_;
    for (;;) {
        const char c = peek();
        if (position_ >= text_.size() || c == '\n')
            return invalid(errorNumber(ScriptErrorCode::UnterminatedString), start);
        ++position_;
        if (c == '"') {
            if (peek() != '"') return make(TokenKind::String, start);
            ++position_;
        }
    }
}

/// letter { letter | digit | "_" }
Token Lexer::lexWord() {
    const std::size_t start = position_;
    while (isWordCharacter(peek())) ++position_;
    return make(keywordKind(text_.substr(start, position_ - start)), start);
}

Token Lexer::lexSymbol() {
    const std::size_t start = position_;
    const char c = text_[position_++];
    switch (c) {
    case '\n':
        return make(TokenKind::Newline, start);
    case ':':
        return make(TokenKind::Colon, start);
    case ',':
        return make(TokenKind::Comma, start);
    case '.':
        return make(TokenKind::Dot, start);
    case '(':
        return make(TokenKind::LeftParenthesis, start);
    case ')':
        return make(TokenKind::RightParenthesis, start);
    case '+':
        return make(TokenKind::Plus, start);
    case '-':
        return make(TokenKind::Minus, start);
    case '*':
        return make(TokenKind::Star, start);
    case '/':
        return make(TokenKind::Slash, start);
    case '\\':
        return make(TokenKind::Backslash, start);
    case '^':
        return make(TokenKind::Caret, start);
    case '&':
        return make(TokenKind::Ampersand, start);
    case '=':
        return make(TokenKind::Equal, start);
    case '<':
        if (peek() == '>') return ++position_, make(TokenKind::NotEqual, start);
        if (peek() == '=') return ++position_, make(TokenKind::LessEqual, start);
        return make(TokenKind::Less, start);
    case '>':
        if (peek() == '=') return ++position_, make(TokenKind::GreaterEqual, start);
        return make(TokenKind::Greater, start);
    default:
        return invalid(errorNumber(ScriptErrorCode::InvalidCharacter), start);
    }
}

}  // namespace zl
