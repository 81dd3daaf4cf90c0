#pragma once
// The parsed form of a statement list or an expression: nodes in one array,
// referring to each other by index. Chains of one precedence level are one
// node with a list of links, so a long sum stays a shallow tree.

#include <cstdint>
#include <string>
#include <vector>

#include "core/eval/token.h"

namespace zl {

enum class BinaryOperator : std::uint8_t {
    Imp,
    Eqv,
    Xor,
    Or,
    And,
    Equal,
    NotEqual,
    Less,
    Greater,
    LessEqual,
    GreaterEqual,
    Concatenate,
    Add,
    Subtract,
    Modulo,
    IntegerDivide,
    Multiply,
    Divide,
    Power,
};

enum class UnaryOperator : std::uint8_t { Negate, Identity, Not };

enum class NodeKind : std::uint8_t {
    Number,   ///< value: index into constants; detail: LiteralType
    Text,     ///< value: index into texts
    Boolean,  ///< detail: 1 for True
    Empty,
    Null,
    Nothing,
    Name,        ///< value: name id (a bare name, no parentheses)
    Call,        ///< value: name id; start, count: arguments
    Member,      ///< value: object name id; member: member name id
    MemberCall,  ///< value: object name id; member: member name id; start, count: arguments
    Unary,       ///< detail: UnaryOperator; value: operand node
    Chain,       ///< value: first operand node; start, count: links
};

struct Node {
    NodeKind kind = NodeKind::Empty;
    std::uint8_t detail = 0;
    std::int32_t offset = 0;  ///< source position of the node's token (the operator of a Unary)
    std::int32_t value = 0;
    std::int32_t member = 0;
    std::int32_t start = 0;
    std::int32_t count = 0;
};

/// One step of a chain: the running value `op` the operand.
struct ChainLink {
    BinaryOperator op;
    std::int32_t offset;   ///< source position of the operator
    std::int32_t operand;  ///< node index
};

enum class StatementKind : std::uint8_t { Assign, Declare };

struct Statement {
    StatementKind kind = StatementKind::Assign;
    std::int32_t offset = 0;         ///< source position of the statement's first token
    std::int32_t target = -1;        ///< Assign: name id of the target (the object for sh.name)
    std::int32_t targetMember = -1;  ///< Assign: member name id for object.member, else -1
    std::int32_t value = -1;         ///< Assign: expression node
    std::int32_t start = 0;          ///< Declare: first entry in declarations
    std::int32_t count = 0;          ///< Declare: number of names
};

struct NameUse {
    std::int32_t name;    ///< name id
    std::int32_t offset;  ///< source position
};

struct SyntaxTree {
    std::string source;
    std::vector<Node> nodes;
    std::vector<ChainLink> links;
    std::vector<std::int32_t> arguments;  ///< node indices of call arguments
    std::vector<double> constants;
    std::vector<std::string> texts;  ///< string literals, quotes removed
    std::vector<std::string> names;  ///< every name used, lower case, each once
    std::vector<Statement> statements;
    std::vector<NameUse> declarations;
    std::int32_t root = -1;  ///< the expression node, for an expression

    const Node &node(std::int32_t index) const { return nodes[static_cast<std::size_t>(index)]; }
    const ChainLink &link(std::int32_t index) const { return links[static_cast<std::size_t>(index)]; }
    std::int32_t argument(const Node &call, std::int32_t i) const {
        return arguments[static_cast<std::size_t>(call.start + i)];
    }
};

}  // namespace zl
