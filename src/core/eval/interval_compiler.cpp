#include "core/eval/interval_compiler.h"

#include <bit>
#include <cmath>
#include <map>
#include <tuple>
#include <unordered_map>

#include "core/eval/arithmetic.h"
#include "core/eval/builtin_functions.h"
#include "core/eval/compiled_expression.h"
#include "core/eval/math_library.h"
#include "core/eval/parser.h"
#include "core/eval/script_engine_impl.h"
#include "core/eval/tree_interpreter.h"
#include "core/problem/problem_record.h"

namespace zl {
namespace {

/// Thrown when a residual holds something no interval can stand for.
struct NoIntervalForm {
    std::string reason;
};

IntervalOp builtinOp(BuiltinFunction function) {
    switch (function) {
    case BuiltinFunction::Abs:
        return IntervalOp::Abs;
    case BuiltinFunction::Atn:
        return IntervalOp::Atn;
    case BuiltinFunction::Cos:
        return IntervalOp::Cos;
    case BuiltinFunction::Exp:
        return IntervalOp::Exp;
    case BuiltinFunction::Fix:
        return IntervalOp::Fix;
    case BuiltinFunction::Int:
        return IntervalOp::Int;
    case BuiltinFunction::Log:
        return IntervalOp::Log;
    case BuiltinFunction::Round:
        return IntervalOp::Round;
    case BuiltinFunction::Sgn:
        return IntervalOp::Sgn;
    case BuiltinFunction::Sin:
        return IntervalOp::Sin;
    case BuiltinFunction::Sqr:
        return IntervalOp::Sqr;
    case BuiltinFunction::Tan:
        return IntervalOp::Tan;
    case BuiltinFunction::CInt:
        return IntervalOp::CInt;
    case BuiltinFunction::CLng:
        return IntervalOp::CLng;
    case BuiltinFunction::CSng:
        return IntervalOp::CSng;
    case BuiltinFunction::CBool:
        return IntervalOp::CBool;
    case BuiltinFunction::CDbl:
        break;
    }
    return IntervalOp::Constant;  // CDbl: handled as the identity by the caller
}

IntervalOp libraryOp(LibraryFunction function) {
    static constexpr IntervalOp kOps[] = {IntervalOp::Asin, IntervalOp::Acos,  IntervalOp::Sinh,  IntervalOp::Cosh,
                                          IntervalOp::Tanh, IntervalOp::Asinh, IntervalOp::Acosh, IntervalOp::Atanh};
    return kOps[static_cast<std::size_t>(function)];
}

IntervalOp binaryOp(BinaryOperator op) {
    switch (op) {
    case BinaryOperator::Imp:
        return IntervalOp::Imp;
    case BinaryOperator::Eqv:
        return IntervalOp::Eqv;
    case BinaryOperator::Xor:
        return IntervalOp::Xor;
    case BinaryOperator::Or:
        return IntervalOp::Or;
    case BinaryOperator::And:
        return IntervalOp::And;
    case BinaryOperator::Equal:
        return IntervalOp::Equal;
    case BinaryOperator::NotEqual:
        return IntervalOp::NotEqual;
    case BinaryOperator::Less:
        return IntervalOp::Less;
    case BinaryOperator::Greater:
        return IntervalOp::Greater;
    case BinaryOperator::LessEqual:
        return IntervalOp::LessEqual;
    case BinaryOperator::GreaterEqual:
        return IntervalOp::GreaterEqual;
    case BinaryOperator::Add:
        return IntervalOp::Add;
    case BinaryOperator::Subtract:
        return IntervalOp::Subtract;
    case BinaryOperator::Modulo:
        return IntervalOp::Modulo;
    case BinaryOperator::IntegerDivide:
        return IntervalOp::IntegerDivide;
    case BinaryOperator::Multiply:
        return IntervalOp::Multiply;
    case BinaryOperator::Divide:
        return IntervalOp::Divide;
    case BinaryOperator::Power:
        return IntervalOp::Power;
    case BinaryOperator::Concatenate:
        break;
    }
    throw NoIntervalForm{"the & operator"};
}

/// Builds the nodes of one program, each distinct node once.
class NodeBuilder {
public:
    explicit NodeBuilder(IntervalProgram &program) : program_(program) {}

    std::int32_t add(const IntervalNode &node) {
        const Key key{static_cast<int>(node.op),
                      node.a,
                      node.b,
                      node.count,
                      std::bit_cast<std::uint64_t>(node.constant.lo),
                      std::bit_cast<std::uint64_t>(node.constant.hi)};
        if (const auto found = index_.find(key); found != index_.end()) return found->second;
        const auto index = static_cast<std::int32_t>(program_.nodes.size());
        program_.nodes.push_back(node);
        index_.emplace(key, index);
        return index;
    }

    std::int32_t constant(const Interval &value) {
        IntervalNode node;
        node.op = IntervalOp::Constant;
        // An infinite number overflows wherever it is used: nothing is defined there.
        node.constant = std::isfinite(value.lo) && std::isfinite(value.hi) ? value : Interval::empty();
        return add(node);
    }

    /// An operation node; on constant operands its value is computed now,
    /// unless it is undefined or irregular there (evaluation then tells).
    std::int32_t operation(IntervalOp op, std::int32_t a, std::int32_t b = -1, std::int32_t count = 0,
                           Interval parameter = {}) {
        IntervalNode node;
        node.op = op;
        node.a = a;
        node.b = b;
        node.count = count;
        node.constant = parameter;
        if (isConstant(a) && (b < 0 || isConstant(b))) {
            bool regular = true;
            const Interval value =
                applyIntervalOp(node, nodeAt(a).constant, b < 0 ? Interval(0.0) : nodeAt(b).constant, regular);
            if (regular && !value.isEmpty()) return constant(value);
        }
        return add(node);
    }

    const IntervalNode &nodeAt(std::int32_t index) const { return program_.nodes[static_cast<std::size_t>(index)]; }
    bool isConstant(std::int32_t index) const { return nodeAt(index).op == IntervalOp::Constant; }

private:
    using Key = std::tuple<int, std::int32_t, std::int32_t, std::int32_t, std::uint64_t, std::uint64_t>;
    IntervalProgram &program_;
    std::map<Key, std::int32_t> index_;
};

class ResidualCompiler {
public:
    ResidualCompiler(NodeBuilder &nodes, const CompiledExpression &expression, NameScope &scope,
                     const std::unordered_map<const Global *, std::int32_t> &variables)
        : nodes_(nodes), expression_(expression), tree_(*expression.tree), scope_(scope),
          interpreter_(expression, scope), variables_(variables) {
        markVariableFree();
    }

    std::int32_t compile() { return emit(expression_.root); }

private:
    const NameBinding &binding(std::int32_t nameId) const {
        return expression_.names[static_cast<std::size_t>(nameId)];
    }
    const NameBinding &memberBinding(std::int32_t nameId) const {
        return expression_.members[static_cast<std::size_t>(nameId)];
    }

    /// The global a Name or Member node reads, or null.
    const Global *globalOf(const Node &node) const {
        if (node.kind == NodeKind::Name && binding(node.value).kind == NameKind::Variable)
            return binding(node.value).global;
        if (node.kind == NodeKind::Member && binding(node.value).kind == NameKind::LibraryObject &&
            memberBinding(node.member).kind == NameKind::Variable)
            return memberBinding(node.member).global;
        return nullptr;
    }

    bool isProblemVariable(const Global *global) const { return global && variables_.contains(global); }

    /// variableFree_[i]: node i reads no variable of the problem, calls no
    /// library function and makes no text, so the engine can compute it once.
    /// Children come before parents in the node array.
    void markVariableFree() {
        variableFree_.assign(tree_.nodes.size(), false);
        for (std::size_t i = 0; i < tree_.nodes.size(); ++i) variableFree_[i] = computesOnce(tree_.nodes[i]);
    }

    bool free(std::int32_t index) const { return variableFree_[static_cast<std::size_t>(index)]; }

    bool computesOnce(const Node &node) const {
        switch (node.kind) {
        case NodeKind::Number:
        case NodeKind::Boolean:
        case NodeKind::Empty:
            return true;
        case NodeKind::Name:
        case NodeKind::Member: {
            const Global *global = globalOf(node);
            return global && !isProblemVariable(global) && global->storage != GlobalStorage::LibraryErrorNumber;
        }
        case NodeKind::Unary:
            return free(node.value);
        case NodeKind::Chain:
            if (!free(node.value)) return false;
            for (std::int32_t i = 0; i < node.count; ++i) {
                const ChainLink &link = tree_.link(node.start + i);
                if (link.op == BinaryOperator::Concatenate || !free(link.operand)) return false;
            }
            return true;
        case NodeKind::Call:
            if (binding(node.value).kind != NameKind::Builtin) return false;
            for (std::int32_t i = 0; i < node.count; ++i)
                if (!free(tree_.argument(node, i))) return false;
            return true;
        default:
            return false;
        }
    }

    /// The number the engine computes for a variable-free node, when it does.
    std::optional<double> onceValue(std::int32_t index) {
        if (!free(index)) return std::nullopt;
        Value value;
        if (!interpreter_.evaluate(index, value)) return std::nullopt;
        return numericValue(value);
    }

    std::int32_t emit(std::int32_t index) {
        if (const auto value = onceValue(index)) return nodes_.constant(Interval(*value));
        const Node &node = tree_.node(index);
        switch (node.kind) {
        case NodeKind::Number:
            return nodes_.constant(Interval(tree_.constants[static_cast<std::size_t>(node.value)]));
        case NodeKind::Boolean:
            return nodes_.constant(Interval(arithmetic::truth(node.detail != 0)));
        case NodeKind::Empty:
            return nodes_.constant(Interval(0.0));
        case NodeKind::Text:
            throw NoIntervalForm{"text"};
        case NodeKind::Null:
            throw NoIntervalForm{"Null"};
        case NodeKind::Nothing:
            throw NoIntervalForm{"Nothing"};
        case NodeKind::Name:
        case NodeKind::Member:
            return emitName(node);
        case NodeKind::Call:
            return emitCall(binding(node.value), node);
        case NodeKind::MemberCall:
            if (binding(node.value).kind != NameKind::LibraryObject) throw NoIntervalForm{"a call on no object"};
            return emitCall(memberBinding(node.member), node);
        case NodeKind::Unary:
            return emitUnary(node);
        case NodeKind::Chain:
            return emitChain(node);
        }
        throw NoIntervalForm{"an unknown expression"};
    }

    std::int32_t emitName(const Node &node) {
        const Global *global = globalOf(node);
        const std::string &name =
            tree_.names[static_cast<std::size_t>(node.kind == NodeKind::Name ? node.value : node.member)];
        if (!global) throw NoIntervalForm{"the name " + name + ", which holds no number"};
        // The library's error number is 0 whenever an evaluation succeeds:
        // it is cleared before each one, and any failure fails the whole.
        if (global->storage == GlobalStorage::LibraryErrorNumber) return nodes_.constant(Interval(0.0));
        if (const auto variable = variables_.find(global); variable != variables_.end()) return variable->second;
        const std::optional<double> value = numericValue(global->read());
        if (!value) throw NoIntervalForm{"the name " + name + ", which holds text"};
        return nodes_.constant(Interval(*value));
    }

    std::int32_t emitCall(const NameBinding &function, const Node &node) {
        if (function.kind == NameKind::LibraryFunction) {
            if (node.count != 1) throw NoIntervalForm{"a library call with other than one argument"};
            const IntervalOp op = libraryOp(static_cast<LibraryFunction>(function.function));
            const std::int32_t argument = emit(tree_.argument(node, 0));
            if (op == IntervalOp::Asin || op == IntervalOp::Acos) return emitArcSine(op, argument);
            return nodes_.operation(op, argument);
        }
        if (function.kind != NameKind::Builtin) throw NoIntervalForm{"a call of something that is no function"};
        const auto builtin = static_cast<BuiltinFunction>(function.function);
        const BuiltinSignature &signature = builtinSignature(builtin);
        if (node.count < signature.minArguments || node.count > signature.maxArguments)
            throw NoIntervalForm{"a call with the wrong number of arguments"};
        const std::int32_t argument = emit(tree_.argument(node, 0));
        if (node.count == 2) return nodes_.operation(IntervalOp::RoundDigits, argument, emit(tree_.argument(node, 1)));
        if (builtin == BuiltinFunction::CDbl) return argument;
        return nodes_.operation(builtinOp(builtin), argument);
    }

    /// Asin and Acos give the library's halfpi at +-1; it must be a fixed number.
    std::int32_t emitArcSine(IntervalOp op, std::int32_t argument) {
        MathLibrary *library = scope_.library();
        const NameBinding halfpi = scope_.resolve("halfpi");
        if (!library || isProblemVariable(halfpi.global))
            throw NoIntervalForm{"Asin or Acos while halfpi is a variable"};
        return nodes_.operation(op, argument, -1, 0, Interval(library->halfpi));
    }

    std::int32_t emitUnary(const Node &node) {
        const std::int32_t operand = emit(node.value);
        switch (static_cast<UnaryOperator>(node.detail)) {
        case UnaryOperator::Negate:
            return nodes_.operation(IntervalOp::Negate, operand);
        case UnaryOperator::Not:
            return nodes_.operation(IntervalOp::Not, operand);
        case UnaryOperator::Identity:
            break;
        }
        return operand;
    }

    std::int32_t emitChain(const Node &chain) {
        std::int32_t running = emit(chain.value);
        for (std::int32_t i = 0; i < chain.count; ++i) {
            const ChainLink &link = tree_.link(chain.start + i);
            const IntervalOp op = binaryOp(link.op);
            const std::int32_t operand = emit(link.operand);
            running = op == IntervalOp::Power ? emitPower(running, operand) : nodes_.operation(op, running, operand);
        }
        return running;
    }

    /// A constant exponent picks the form the language computes it by.
    std::int32_t emitPower(std::int32_t base, std::int32_t exponent) {
        const IntervalNode &e = nodes_.nodeAt(exponent);
        if (e.op != IntervalOp::Constant || !e.constant.isPoint())
            return nodes_.operation(IntervalOp::Power, base, exponent);
        const double c = e.constant.lo;
        const int whole = arithmetic::multipliedExponent(c);
        if (whole == 1) return base;
        if (whole == 2) return nodes_.operation(IntervalOp::Square, base);
        if (whole <= arithmetic::kMaxMultipliedExponent)
            return nodes_.operation(IntervalOp::WholePower, base, -1, whole);
        return nodes_.operation(IntervalOp::ConstantPower, base, -1, 0, Interval(c));
    }

    NodeBuilder &nodes_;
    const CompiledExpression &expression_;
    const SyntaxTree &tree_;
    NameScope &scope_;
    TreeInterpreter interpreter_;
    const std::unordered_map<const Global *, std::int32_t> &variables_;
    std::vector<bool> variableFree_;
};

/// Where the assignment "name= value" of a variable stores its value, as the
/// evaluator binds it; null when the name cannot be assigned.
Global *variableGlobal(NameScope &scope, const std::string &name) {
    const ParseResult parsed = parseStatements(name + "= 0");
    if (!parsed.ok() || parsed.tree->statements.size() != 1) return nullptr;
    const SyntaxTree &tree = *parsed.tree;
    const Statement &assignment = tree.statements.front();
    if (assignment.kind != StatementKind::Assign) return nullptr;
    const std::string &target = tree.names[static_cast<std::size_t>(assignment.target)];
    const NameBinding binding = scope.resolve(target);
    if (assignment.targetMember >= 0) {
        if (binding.kind != NameKind::LibraryObject) return nullptr;
        const NameBinding member = scope.resolveMember(tree.names[static_cast<std::size_t>(assignment.targetMember)]);
        return member.kind == NameKind::Variable ? member.global : nullptr;
    }
    if (binding.kind == NameKind::Variable) return binding.global;
    if (binding.kind == NameKind::Undefined) return &scope.globals().declare(target);
    return nullptr;
}

}  // namespace

IntervalCompilation compileIntervalProgram(const std::vector<std::shared_ptr<const SyntaxTree>> &residuals,
                                           NameScope &scope, const std::vector<Global *> &variables) {
    IntervalCompilation result;
    IntervalProgram program;
    program.variableCount = static_cast<std::int32_t>(variables.size());
    NodeBuilder nodes(program);
    // Two variables stored in the same global: the later assignment wins.
    std::unordered_map<const Global *, std::int32_t> variableNodes;
    for (std::size_t i = 0; i < variables.size(); ++i) {
        IntervalNode node;
        node.op = IntervalOp::Variable;
        node.count = static_cast<std::int32_t>(i);
        const std::int32_t index = nodes.add(node);
        if (variables[i] && variables[i]->storage != GlobalStorage::LibraryErrorNumber)
            variableNodes[variables[i]] = index;
    }
    for (std::size_t j = 0; j < residuals.size(); ++j) {
        if (!residuals[j]) {
            result.equation = static_cast<std::int32_t>(j);
            result.reason = "text that does not parse";
            return result;
        }
        const CompiledExpression expression =
            compileExpression(residuals[j], residuals[j]->root, scope, {.numeric = false});
        try {
            program.roots.push_back(ResidualCompiler(nodes, expression, scope, variableNodes).compile());
        } catch (const NoIntervalForm &failure) {
            result.equation = static_cast<std::int32_t>(j);
            result.reason = failure.reason;
            return result;
        }
    }
    computeResidualNodes(program);
    result.program = std::move(program);
    return result;
}

IntervalCompilation compileIntervalSystem(ScriptEngine &engine, const ProblemSpec &record) {
    NameScope &scope = engineScope(engine);
    const auto order = static_cast<std::size_t>(std::max(record.order, 0));
    std::vector<Global *> variables;
    for (std::size_t i = 0; i < order; ++i)
        variables.push_back(i < record.varNames.size() ? variableGlobal(scope, record.varNames[i]) : nullptr);
    std::vector<std::shared_ptr<const SyntaxTree>> residuals;
    for (std::size_t j = 0; j < order; ++j) {
        const ParseResult parsed = parseExpression(j < record.residuals.size() ? record.residuals[j] : "");
        residuals.push_back(parsed.tree);
    }
    return compileIntervalProgram(residuals, scope, variables);
}

}  // namespace zl
