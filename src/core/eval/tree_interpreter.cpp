#include "core/eval/tree_interpreter.h"

#include <array>
#include <span>
#include <string>
#include <vector>

#include "core/eval/builtin_functions.h"
#include "core/eval/math_library.h"
#include "core/eval/script_error_catalogue.h"
#include "core/eval/variant_operations.h"

namespace zl {
namespace {

constexpr std::int32_t kTypeMismatch = errorNumber(ScriptErrorCode::TypeMismatch);
constexpr std::int32_t kWrongArguments = errorNumber(ScriptErrorCode::WrongNumberOfArguments);
constexpr std::int32_t kNotSupported = errorNumber(ScriptErrorCode::ObjectDoesNotSupport);
constexpr std::int32_t kObjectRequired = errorNumber(ScriptErrorCode::ObjectRequired);
constexpr std::int32_t kOutOfStringSpace = errorNumber(ScriptErrorCode::OutOfStringSpace);

/// The most arguments any function takes (Round).
constexpr std::int32_t kMaxArguments = 2;

ValueKind literalKind(std::uint8_t literalType) {
    switch (static_cast<LiteralType>(literalType)) {
    case LiteralType::Integer:
        return ValueKind::Integer;
    case LiteralType::Long:
        return ValueKind::Long;
    case LiteralType::Double:
        return ValueKind::Double;
    }
    return ValueKind::Double;
}

/// A number, text or truth value written in the source, a sign before it included.
bool isLiteral(const SyntaxTree &tree, std::int32_t index) {
    const Node *node = &tree.node(index);
    while (node->kind == NodeKind::Unary && static_cast<UnaryOperator>(node->detail) != UnaryOperator::Not)
        node = &tree.node(node->value);
    return node->kind == NodeKind::Number || node->kind == NodeKind::Text || node->kind == NodeKind::Boolean;
}

}  // namespace

bool TreeInterpreter::fail(std::int32_t number, std::int32_t offset) {
    failure_ = {number, offset};
    return false;
}

NameBinding TreeInterpreter::nameBinding(std::int32_t nameId) {
    const NameBinding &bound = expression_.names[static_cast<std::size_t>(nameId)];
    if (bound.kind != NameKind::Undefined) return bound;
    // An earlier statement of the same text may have created it since.
    return scope_.resolve(tree_.names[static_cast<std::size_t>(nameId)]);
}

bool TreeInterpreter::evaluate(std::int32_t index, Value &result) {
    const Node &node = tree_.node(index);
    switch (node.kind) {
    case NodeKind::Number:
        result = Value::numeric(literalKind(node.detail), tree_.constants[static_cast<std::size_t>(node.value)]);
        return true;
    case NodeKind::Text: {
        const std::string &text = tree_.texts[static_cast<std::size_t>(node.value)];
        if (text.size() > kMaxTextLength) return fail(kOutOfStringSpace, node.offset);
        result = Value::string(text);
        return true;
    }
    case NodeKind::Boolean:
        result = Value::boolean(node.detail != 0);
        return true;
    case NodeKind::Empty:
        result = Value::empty();
        return true;
    case NodeKind::Null:
        return fail(errorNumber(ScriptErrorCode::InvalidUseOfNull), node.offset);
    case NodeKind::Nothing:
        return fail(kObjectRequired, node.offset);
    case NodeKind::Name:
        return evaluateName(node, result);
    case NodeKind::Call:
        return evaluateCall(node, result);
    case NodeKind::Member:
        return evaluateMember(node, result);
    case NodeKind::MemberCall:
        return evaluateMemberCall(node, result);
    case NodeKind::Unary: {
        Value operand;
        if (!evaluate(node.value, operand)) return false;
        if (const auto error = applyUnary(static_cast<UnaryOperator>(node.detail), operand, result))
            return fail(error, node.offset);
        return true;
    }
    case NodeKind::Chain:
        return evaluateChainPrefix(node, node.count, result);
    }
    return fail(errorNumber(ScriptErrorCode::SyntaxError), node.offset);
}

bool TreeInterpreter::evaluateChainPrefix(const Node &chain, std::int32_t linkCount, Value &result) {
    // The & level has no other operator, so one link tells the whole chain.
    if (linkCount > 0 && tree_.link(chain.start).op == BinaryOperator::Concatenate)
        return evaluateConcatenation(chain, linkCount, result);
    if (!evaluate(chain.value, result)) return false;
    Value operand;
    Value combined;
    for (std::int32_t i = 0; i < linkCount; ++i) {
        const ChainLink &link = tree_.link(chain.start + i);
        if (!evaluate(link.operand, operand)) return false;
        std::int32_t error = 0;
        if (link.op == BinaryOperator::Add && result.isString() &&
            (operand.isString() || operand.kind == ValueKind::Empty)) {
            // A text grows where it stands: n joins cost the length of the result, not n times it.
            if ((error = appendText(result.text, operand.text))) return fail(error, link.offset);
            continue;
        }
        if (isComparison(link.op)) {
            const bool literal = (i == 0 && isLiteral(tree_, chain.value)) || isLiteral(tree_, link.operand);
            error = compareValues(link.op, result, operand,
                                  literal ? ComparedOperands::WithLiteral : ComparedOperands::Values, combined);
        } else {
            error = applyBinary(link.op, result, operand, combined);
        }
        if (error) return fail(error, link.offset);
        std::swap(result, combined);
    }
    return true;
}

// Every operand's text first, then the result allocated once at its length.
bool TreeInterpreter::evaluateConcatenation(const Node &chain, std::int32_t linkCount, Value &result) {
    std::vector<std::string> parts;
    parts.reserve(static_cast<std::size_t>(linkCount) + 1);
    std::size_t length = 0;
    Value operand;
    for (std::int32_t i = -1; i < linkCount; ++i) {
        const ChainLink *link = i < 0 ? nullptr : &tree_.link(chain.start + i);
        if (!evaluate(link ? link->operand : chain.value, operand)) return false;
        parts.push_back(operand.isString() ? std::move(operand.text) : textOf(operand));
        length += parts.back().size();
        if (length > kMaxTextLength) return fail(kOutOfStringSpace, link ? link->offset : chain.offset);
    }
    std::string text;
    text.reserve(length);
    for (const std::string &part : parts) text += part;
    result = Value::string(std::move(text));
    return true;
}

bool TreeInterpreter::evaluateName(const Node &node, Value &result) {
    const NameBinding binding = nameBinding(node.value);
    switch (binding.kind) {
    case NameKind::Variable:
        result = binding.global->read();
        return true;
    case NameKind::Builtin:
    case NameKind::LibraryFunction:
        return fail(kWrongArguments, node.offset);
    case NameKind::LibraryObject:
        return fail(kNotSupported, node.offset);
    case NameKind::Undefined:
        break;
    }
    return fail(errorNumber(ScriptErrorCode::VariableUndefined), node.offset);
}

bool TreeInterpreter::evaluateCall(const Node &node, Value &result) {
    return callFunction(nameBinding(node.value), node, result);
}

bool TreeInterpreter::evaluateMember(const Node &node, Value &result) {
    if (nameBinding(node.value).kind != NameKind::LibraryObject) return fail(kObjectRequired, node.offset);
    const NameBinding &member = expression_.members[static_cast<std::size_t>(node.member)];
    switch (member.kind) {
    case NameKind::Variable:
        result = member.global->read();
        return true;
    case NameKind::LibraryFunction:
        return fail(kWrongArguments, node.offset);
    default:
        return fail(kNotSupported, node.offset);
    }
}

bool TreeInterpreter::evaluateMemberCall(const Node &node, Value &result) {
    if (nameBinding(node.value).kind != NameKind::LibraryObject) return fail(kObjectRequired, node.offset);
    const NameBinding &member = expression_.members[static_cast<std::size_t>(node.member)];
    if (member.kind == NameKind::Undefined) return fail(kNotSupported, node.offset);
    return callFunction(member, node, result);
}

bool TreeInterpreter::evaluateArguments(const Node &node, Value *arguments) {
    for (std::int32_t i = 0; i < node.count; ++i)
        if (!evaluate(tree_.argument(node, i), arguments[i])) return false;
    return true;
}

bool TreeInterpreter::callFunction(const NameBinding &binding, const Node &node, Value &result) {
    std::array<Value, kMaxArguments> arguments;
    switch (binding.kind) {
    case NameKind::Builtin: {
        const auto function = static_cast<BuiltinFunction>(binding.function);
        const BuiltinSignature &signature = builtinSignature(function);
        if (node.count < signature.minArguments || node.count > signature.maxArguments)
            return fail(kWrongArguments, node.offset);
        if (!evaluateArguments(node, arguments.data())) return false;
        const std::span<const Value> passed(arguments.data(), static_cast<std::size_t>(node.count));
        if (const auto error = callBuiltin(function, passed, result)) return fail(error, node.offset);
        return true;
    }
    case NameKind::LibraryFunction: {
        if (node.count != 1) return fail(kWrongArguments, node.offset);
        if (!evaluateArguments(node, arguments.data())) return false;
        const auto function = static_cast<LibraryFunction>(binding.function);
        result = Value::real(callLibraryFunction(*scope_.library(), function, arguments[0]));
        return true;
    }
    case NameKind::LibraryObject:
        return fail(kNotSupported, node.offset);
    case NameKind::Variable:
    case NameKind::Undefined:
        break;
    }
    // Calling a variable, or a function nobody defined.
    return fail(kTypeMismatch, node.offset);
}

}  // namespace zl
