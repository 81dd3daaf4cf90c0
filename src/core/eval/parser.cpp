#include "core/eval/parser.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/eval/lexer.h"
#include "core/eval/script_error_catalogue.h"

namespace zl {
namespace {

/// VBScript's binary operators from the loosest to the tightest binding.
/// Every level is left-associative: 2^3^2 is (2^3)^2, a-b-c is (a-b)-c.
/// Not sits between And and the comparisons; unary - and + between the
/// multiplicative operators and ^, so -2^2 is -(2^2).
enum class Precedence : std::uint8_t {
    Imp,
    Eqv,
    Xor,
    Or,
    And,
    Comparison,
    Concatenation,
    Additive,
    Modulo,
    IntegerDivision,
    Multiplicative,
    Power,
};

struct OperatorSyntax {
    TokenKind token;
    Precedence level;
    BinaryOperator op;
};

constexpr std::array kOperatorTable{
    OperatorSyntax{TokenKind::Imp, Precedence::Imp, BinaryOperator::Imp},
    OperatorSyntax{TokenKind::Eqv, Precedence::Eqv, BinaryOperator::Eqv},
    OperatorSyntax{TokenKind::Xor, Precedence::Xor, BinaryOperator::Xor},
    OperatorSyntax{TokenKind::Or, Precedence::Or, BinaryOperator::Or},
    OperatorSyntax{TokenKind::And, Precedence::And, BinaryOperator::And},
    OperatorSyntax{TokenKind::Equal, Precedence::Comparison, BinaryOperator::Equal},
    OperatorSyntax{TokenKind::NotEqual, Precedence::Comparison, BinaryOperator::NotEqual},
    OperatorSyntax{TokenKind::Less, Precedence::Comparison, BinaryOperator::Less},
    OperatorSyntax{TokenKind::Greater, Precedence::Comparison, BinaryOperator::Greater},
    OperatorSyntax{TokenKind::LessEqual, Precedence::Comparison, BinaryOperator::LessEqual},
    OperatorSyntax{TokenKind::GreaterEqual, Precedence::Comparison, BinaryOperator::GreaterEqual},
    OperatorSyntax{TokenKind::Ampersand, Precedence::Concatenation, BinaryOperator::Concatenate},
    OperatorSyntax{TokenKind::Plus, Precedence::Additive, BinaryOperator::Add},
    OperatorSyntax{TokenKind::Minus, Precedence::Additive, BinaryOperator::Subtract},
    OperatorSyntax{TokenKind::Mod, Precedence::Modulo, BinaryOperator::Modulo},
    OperatorSyntax{TokenKind::Backslash, Precedence::IntegerDivision, BinaryOperator::IntegerDivide},
    OperatorSyntax{TokenKind::Star, Precedence::Multiplicative, BinaryOperator::Multiply},
    OperatorSyntax{TokenKind::Slash, Precedence::Multiplicative, BinaryOperator::Divide},
    OperatorSyntax{TokenKind::Caret, Precedence::Power, BinaryOperator::Power},
};

/// The table's row for each token kind, or -1: every operand passes through
/// all twelve levels, so each looks its token up once instead of scanning.
constexpr auto kOperatorRowOfToken = [] {
    std::array<int, 256> rows{};
    rows.fill(-1);
    for (std::size_t i = 0; i < kOperatorTable.size(); ++i)
        rows[static_cast<std::uint8_t>(kOperatorTable[i].token)] = static_cast<int>(i);
    return rows;
}();

const OperatorSyntax *findOperator(TokenKind token, Precedence level) {
    const int row = kOperatorRowOfToken[static_cast<std::uint8_t>(token)];
    if (row < 0 || kOperatorTable[static_cast<std::size_t>(row)].level != level) return nullptr;
    return &kOperatorTable[static_cast<std::size_t>(row)];
}

std::string lowerCase(std::string_view word) {
    std::string result(word);
    for (char &c : result)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return result;
}

/// Thrown inside the parser only; parseExpression/parseStatements turn it into a ParseFailure.
struct ParseAbort {
    ParseFailure failure;
};

class Parser {
public:
    Parser(std::string_view text, std::size_t maxNodes) : lexer_(text), maxNodes_(maxNodes) {
        tree_ = std::make_shared<SyntaxTree>();
        tree_->source = std::string(text);
        advance();
    }

    std::shared_ptr<SyntaxTree> expressionText() {
        tree_->root = parseExpressionLevel();
        if (token_.kind != TokenKind::End) fail(ScriptErrorCode::ExpectedEndOfStatement);
        return tree_;
    }

    /// statements := statement { (":" | line end) statement } end
    std::shared_ptr<SyntaxTree> statementText() {
        for (;;) {
            parseStatement();
            if (token_.kind == TokenKind::End) return tree_;
            if (token_.kind != TokenKind::Colon && token_.kind != TokenKind::Newline)
                fail(ScriptErrorCode::ExpectedEndOfStatement);
            advance();
        }
    }

private:
    using OperandParser = std::int32_t (Parser::*)();

    /// Counts nesting so that deeply nested input fails with error 28 instead
    /// of exhausting the machine stack.
    class NestingGuard {
    public:
        explicit NestingGuard(Parser &parser) : parser_(parser) {
            if (++parser_.depth_ > kMaxNestingDepth) parser_.fail(ScriptErrorCode::OutOfStackSpace);
        }
        ~NestingGuard() { --parser_.depth_; }
        NestingGuard(const NestingGuard &) = delete;
        NestingGuard &operator=(const NestingGuard &) = delete;

    private:
        Parser &parser_;
    };

    [[noreturn]] void fail(ScriptErrorCode code) { fail(errorNumber(code)); }
    [[noreturn]] void fail(std::int32_t number) {
        // A lexical error at this place is what the user has to fix first.
        if (token_.kind == TokenKind::Invalid) number = token_.errorNumber;
        throw ParseAbort{{number, token_.offset}};
    }

    void advance() { token_ = lexer_.next(); }

    void expect(TokenKind kind, ScriptErrorCode otherwise) {
        if (token_.kind != kind) fail(otherwise);
        advance();
    }

    std::int32_t addNode(const Node &node) {
        if (tree_->nodes.size() >= maxNodes_) fail(ScriptErrorCode::OutOfMemory);
        tree_->nodes.push_back(node);
        return static_cast<std::int32_t>(tree_->nodes.size() - 1);
    }

    std::int32_t nameId(std::string_view spelling) {
        std::string name = lowerCase(spelling);
        const auto [entry, inserted] = nameIds_.try_emplace(name, static_cast<std::int32_t>(tree_->names.size()));
        if (inserted) tree_->names.push_back(std::move(name));
        return entry->second;
    }

    std::string_view spelling(const Token &token) const {
        return std::string_view(tree_->source)
            .substr(static_cast<std::size_t>(token.offset), static_cast<std::size_t>(token.length));
    }

    /// statement := [ declaration | assignment ]
    void parseStatement() {
        switch (token_.kind) {
        case TokenKind::End:
        case TokenKind::Colon:
        case TokenKind::Newline:
            return;
        case TokenKind::Dim:
        case TokenKind::Public:
        case TokenKind::Private:
            parseDeclaration();
            return;
        case TokenKind::Identifier:
            parseAssignment();
            return;
        default:
            fail(ScriptErrorCode::ExpectedStatement);
        }
    }

    /// declaration := ("Dim" | "Public" | "Private") identifier { "," identifier }
    void parseDeclaration() {
        Statement statement;
        statement.kind = StatementKind::Declare;
        statement.offset = token_.offset;
        statement.start = static_cast<std::int32_t>(tree_->declarations.size());
        advance();
        for (;;) {
            if (token_.kind != TokenKind::Identifier) fail(ScriptErrorCode::ExpectedIdentifier);
            tree_->declarations.push_back({nameId(spelling(token_)), token_.offset});
            advance();
            if (token_.kind != TokenKind::Comma) break;
            advance();
        }
        statement.count = static_cast<std::int32_t>(tree_->declarations.size()) - statement.start;
        tree_->statements.push_back(statement);
    }

    /// assignment := identifier [ "." identifier ] "=" expression
    void parseAssignment() {
        Statement statement;
        statement.kind = StatementKind::Assign;
        statement.offset = token_.offset;
        statement.target = nameId(spelling(token_));
        advance();
        if (token_.kind == TokenKind::Dot) {
            advance();
            if (token_.kind != TokenKind::Identifier) fail(ScriptErrorCode::ExpectedIdentifier);
            statement.targetMember = nameId(spelling(token_));
            advance();
        }
        expect(TokenKind::Equal, ScriptErrorCode::ExpectedEquals);
        statement.value = parseExpressionLevel();
        tree_->statements.push_back(statement);
    }

    /// expression := impExpression
    std::int32_t parseExpressionLevel() {
        NestingGuard guard(*this);
        return parseImp();
    }

    /// Parses `operand { operator-of-level operand }` into one Chain node, or
    /// returns the lone operand.
    std::int32_t parseChain(Precedence level, OperandParser operand) {
        const std::int32_t first = (this->*operand)();
        std::vector<ChainLink> links;
        while (const OperatorSyntax *syntax = findOperator(token_.kind, level)) {
            const std::int32_t offset = token_.offset;
            advance();
            links.push_back({syntax->op, offset, (this->*operand)()});
        }
        if (links.empty()) return first;
        Node chain;
        chain.kind = NodeKind::Chain;
        chain.offset = tree_->node(first).offset;
        chain.value = first;
        chain.start = static_cast<std::int32_t>(tree_->links.size());
        chain.count = static_cast<std::int32_t>(links.size());
        tree_->links.insert(tree_->links.end(), links.begin(), links.end());
        return addNode(chain);
    }

    /// impExpression := eqvExpression { "Imp" eqvExpression }
    std::int32_t parseImp() { return parseChain(Precedence::Imp, &Parser::parseEqv); }
    /// eqvExpression := xorExpression { "Eqv" xorExpression }
    std::int32_t parseEqv() { return parseChain(Precedence::Eqv, &Parser::parseXor); }
    /// xorExpression := orExpression { "Xor" orExpression }
    std::int32_t parseXor() { return parseChain(Precedence::Xor, &Parser::parseOr); }
    /// orExpression := andExpression { "Or" andExpression }
    std::int32_t parseOr() { return parseChain(Precedence::Or, &Parser::parseAnd); }
    /// andExpression := notExpression { "And" notExpression }
    std::int32_t parseAnd() { return parseChain(Precedence::And, &Parser::parseNot); }

    /// notExpression := "Not" notExpression | comparison
    std::int32_t parseNot() {
        if (token_.kind != TokenKind::Not) return parseComparison();
        return parsePrefix(UnaryOperator::Not, &Parser::parseNot);
    }

    /// comparison := concatenation { ("=" | "<>" | "<" | ">" | "<=" | ">=") concatenation }
    std::int32_t parseComparison() { return parseChain(Precedence::Comparison, &Parser::parseConcatenation); }
    /// concatenation := additive { "&" additive }
    std::int32_t parseConcatenation() { return parseChain(Precedence::Concatenation, &Parser::parseAdditive); }
    /// additive := modulo { ("+" | "-") modulo }
    std::int32_t parseAdditive() { return parseChain(Precedence::Additive, &Parser::parseModulo); }
    /// modulo := integerDivision { "Mod" integerDivision }
    std::int32_t parseModulo() { return parseChain(Precedence::Modulo, &Parser::parseIntegerDivision); }
    /// integerDivision := multiplicative { "\" multiplicative }
    std::int32_t parseIntegerDivision() {
        return parseChain(Precedence::IntegerDivision, &Parser::parseMultiplicative);
    }
    /// multiplicative := unary { ("*" | "/") unary }
    std::int32_t parseMultiplicative() { return parseChain(Precedence::Multiplicative, &Parser::parseUnary); }

    /// unary := ("-" | "+") unary | power
    std::int32_t parseUnary() {
        if (token_.kind == TokenKind::Minus) return parsePrefix(UnaryOperator::Negate, &Parser::parseUnary);
        if (token_.kind == TokenKind::Plus) return parsePrefix(UnaryOperator::Identity, &Parser::parseUnary);
        return parsePower();
    }

    /// power := primary { "^" exponent }
    std::int32_t parsePower() { return parseChain(Precedence::Power, &Parser::parseExponent); }

    /// exponent := ("-" | "+") exponent | primary
    /// The first operand of a power chain is a primary too; a sign before it
    /// belongs to the unary level.
    std::int32_t parseExponent() {
        if (token_.kind == TokenKind::Minus) return parsePrefix(UnaryOperator::Negate, &Parser::parseExponent);
        if (token_.kind == TokenKind::Plus) return parsePrefix(UnaryOperator::Identity, &Parser::parseExponent);
        return parsePrimary();
    }

    std::int32_t parsePrefix(UnaryOperator op, OperandParser operand) {
        NestingGuard guard(*this);
        Node node;
        node.kind = NodeKind::Unary;
        node.detail = static_cast<std::uint8_t>(op);
        node.offset = token_.offset;
        advance();
        node.value = (this->*operand)();
        return addNode(node);
    }

    /// primary := number | string | "True" | "False" | "Empty" | "Null" | "Nothing"
    ///          | "(" expression ")" | reference
    std::int32_t parsePrimary() {
        Node node;
        node.offset = token_.offset;
        switch (token_.kind) {
        case TokenKind::Number:
            node.kind = NodeKind::Number;
            node.detail = static_cast<std::uint8_t>(token_.literalType);
            node.value = static_cast<std::int32_t>(tree_->constants.size());
            tree_->constants.push_back(token_.number);
            break;
        case TokenKind::String:
            node.kind = NodeKind::Text;
            node.value = static_cast<std::int32_t>(tree_->texts.size());
            tree_->texts.push_back(stringValue(token_));
            break;
        case TokenKind::True:
        case TokenKind::False:
            node.kind = NodeKind::Boolean;
            node.detail = token_.kind == TokenKind::True ? 1 : 0;
            break;
        case TokenKind::Empty:
            node.kind = NodeKind::Empty;
            break;
        case TokenKind::Null:
            node.kind = NodeKind::Null;
            break;
        case TokenKind::Nothing:
            node.kind = NodeKind::Nothing;
            break;
        case TokenKind::LeftParenthesis: {
            advance();
            const std::int32_t inner = parseExpressionLevel();
            expect(TokenKind::RightParenthesis, ScriptErrorCode::ExpectedCloseParenthesis);
            return inner;
        }
        case TokenKind::Identifier:
            return parseReference();
        default:
            fail(ScriptErrorCode::SyntaxError);
        }
        advance();
        return addNode(node);
    }

    /// reference := identifier [ "." identifier ] [ "(" [ expression { "," expression } ] ")" ]
    std::int32_t parseReference() {
        Node node;
        node.offset = token_.offset;
        node.kind = NodeKind::Name;
        node.value = nameId(spelling(token_));
        advance();
        if (token_.kind == TokenKind::Dot) {
            advance();
            if (token_.kind != TokenKind::Identifier) fail(ScriptErrorCode::ExpectedIdentifier);
            node.kind = NodeKind::Member;
            node.member = nameId(spelling(token_));
            advance();
        }
        if (token_.kind == TokenKind::LeftParenthesis) {
            node.kind = node.kind == NodeKind::Member ? NodeKind::MemberCall : NodeKind::Call;
            parseArguments(node);
        }
        return addNode(node);
    }

    void parseArguments(Node &call) {
        advance();
        std::vector<std::int32_t> arguments;
        if (token_.kind != TokenKind::RightParenthesis) {
            for (;;) {
                arguments.push_back(parseExpressionLevel());
                if (token_.kind != TokenKind::Comma) break;
                advance();
            }
        }
        expect(TokenKind::RightParenthesis, ScriptErrorCode::ExpectedCloseParenthesis);
        call.start = static_cast<std::int32_t>(tree_->arguments.size());
        call.count = static_cast<std::int32_t>(arguments.size());
        tree_->arguments.insert(tree_->arguments.end(), arguments.begin(), arguments.end());
    }

    /// The text between the quotes, each "" read as one ".
    std::string stringValue(const Token &token) const {
        const std::string_view quoted = spelling(token);
        std::string text;
        text.reserve(quoted.size());
        for (std::size_t i = 1; i + 1 < quoted.size(); ++i) {
            text.push_back(quoted[i]);
            if (quoted[i] == '"') ++i;
        }
        return text;
    }

    Lexer lexer_;
    Token token_;
    std::shared_ptr<SyntaxTree> tree_;
    std::unordered_map<std::string, std::int32_t> nameIds_;
    std::size_t maxNodes_;
    int depth_ = 0;
};

/// A tree is kept as long as its text is compiled, so the room its vectors
/// grew into while parsing (up to as much again) is given back.
std::shared_ptr<SyntaxTree> withoutSpareRoom(std::shared_ptr<SyntaxTree> tree) {
    tree->nodes.shrink_to_fit();
    tree->links.shrink_to_fit();
    tree->arguments.shrink_to_fit();
    tree->constants.shrink_to_fit();
    tree->texts.shrink_to_fit();
    tree->names.shrink_to_fit();
    tree->statements.shrink_to_fit();
    tree->declarations.shrink_to_fit();
    return tree;
}

template <typename Entry>
ParseResult runParser(std::string_view text, std::size_t maxNodes, Entry entry) {
    if (text.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max() / 2))
        return {nullptr, {errorNumber(ScriptErrorCode::OutOfMemory), 0}};
    try {
        Parser parser(text, std::min(maxNodes, kMaxSyntaxNodes));
        return {withoutSpareRoom(entry(parser)), {}};
    } catch (const ParseAbort &abort) {
        return {nullptr, abort.failure};
    }
}

}  // namespace

ParseResult parseExpression(std::string_view text, std::size_t maxNodes) {
    return runParser(text, maxNodes, [](Parser &parser) { return parser.expressionText(); });
}

ParseResult parseStatements(std::string_view text) {
    return runParser(text, kMaxSyntaxNodes, [](Parser &parser) { return parser.statementText(); });
}

}  // namespace zl
