#include "core/eval/numeric_compiler.h"

#include <algorithm>

#include "core/eval/arithmetic.h"
#include "core/eval/tree_interpreter.h"

namespace zl {
namespace {

/// What a link's operand is, as far as fusing goes.
struct Operand {
    enum class Form : std::uint8_t { Constant, Variable, Square, Cube, Call, Other };
    Form form = Form::Other;
    double constant = 0;
    const double *variable = nullptr;
    FastFunction function = nullptr;  ///< Call: a built-in of the variable
};

/// Thrown when the expression may meet text and so has no numeric program.
struct NotNumeric {};

class NumericCompiler {
public:
    NumericCompiler(const CompiledExpression &expression, NameScope &scope, bool optimise)
        : expression_(expression), tree_(*expression.tree), interpreter_(expression, scope), library_(scope.library()),
          optimise_(optimise) {
        if (optimise_) markConstants();
    }

    NumericProgram compile() {
        emit(expression_.root);
        appendStore();
        append(NumericOp::End).count = 1;
        program_.maxDepth = maxDepth_;
        linkNumericProgram(program_);
        return std::move(program_);
    }

private:
    /// constant_[i]: node i computes the same number every time (literals and
    /// pure built-ins of them). Children come before parents in the node array.
    void markConstants() {
        constant_.assign(tree_.nodes.size(), false);
        for (std::size_t i = 0; i < tree_.nodes.size(); ++i) constant_[i] = computesConstant(tree_.nodes[i]);
    }

    bool isConstant(std::int32_t index) const { return constant_[static_cast<std::size_t>(index)]; }

    bool computesConstant(const Node &node) const {
        switch (node.kind) {
        case NodeKind::Number:
        case NodeKind::Boolean:
        case NodeKind::Empty:
            return true;
        case NodeKind::Unary:
            return isConstant(node.value);
        case NodeKind::Chain:
            if (!isConstant(node.value)) return false;
            for (std::int32_t i = 0; i < node.count; ++i) {
                const ChainLink &link = tree_.link(node.start + i);
                if (link.op == BinaryOperator::Concatenate || !isConstant(link.operand)) return false;
            }
            return true;
        case NodeKind::Call: {
            if (binding(node.value).kind != NameKind::Builtin) return false;
            for (std::int32_t i = 0; i < node.count; ++i)
                if (!isConstant(tree_.argument(node, i))) return false;
            return true;
        }
        default:
            return false;
        }
    }

    const NameBinding &binding(std::int32_t nameId) const {
        return expression_.names[static_cast<std::size_t>(nameId)];
    }

    /// The value of a constant node, when it computes without error.
    std::optional<double> foldedValue(std::int32_t index) {
        if (!optimise_ || !isConstant(index)) return std::nullopt;
        Value value;
        if (!interpreter_.evaluate(index, value) || value.isString()) return std::nullopt;
        return value.number;
    }

    /// The address of a numeric variable named by a Name or Member node;
    /// null for anything else. Throws for a variable holding text.
    const double *variableAddress(const Node &node) const {
        const NameBinding *variable = nullptr;
        if (node.kind == NodeKind::Name) {
            variable = &binding(node.value);
        } else if (node.kind == NodeKind::Member && binding(node.value).kind == NameKind::LibraryObject) {
            variable = &expression_.members[static_cast<std::size_t>(node.member)];
        }
        if (!variable || variable->kind != NameKind::Variable) return nullptr;
        const Global &global = *variable->global;
        if (global.storage == GlobalStorage::Script && global.value.isString()) throw NotNumeric{};
        return global.numberAddress();
    }

    Operand classify(std::int32_t index) {
        Operand operand;
        if (!optimise_) return operand;
        if (const auto value = foldedValue(index)) {
            operand.form = Operand::Form::Constant;
            operand.constant = *value;
            return operand;
        }
        const Node &node = tree_.node(index);
        if (const double *address = variableAddress(node)) {
            operand.form = Operand::Form::Variable;
            operand.variable = address;
        } else if (const double *squared = squaredVariable(node)) {
            operand.form = Operand::Form::Square;
            operand.variable = squared;
        } else if (const double *cubed = cubedVariable(node)) {
            operand.form = Operand::Form::Cube;
            operand.variable = cubed;
        } else if (const auto call = builtinOfVariable(node)) {
            operand.form = Operand::Form::Call;
            operand.function = call->function;
            operand.variable = call->variable;
        }
        return operand;
    }

    /// The variable of a node of the form v ^ 2.
    const double *squaredVariable(const Node &node) { return poweredVariable(node, 2); }

    /// The variable of a node of the form v ^ 3, computed as (v * v) * v.
    const double *cubedVariable(const Node &node) { return poweredVariable(node, 3); }

    const double *poweredVariable(const Node &node, int power) {
        if (node.kind != NodeKind::Chain || node.count != 1) return nullptr;
        const ChainLink &link = tree_.link(node.start);
        if (link.op != BinaryOperator::Power) return nullptr;
        const auto exponent = foldedValue(link.operand);
        if (!exponent || arithmetic::multipliedExponent(*exponent) != power) return nullptr;
        return variableAddress(tree_.node(node.value));
    }

    struct VariableCall {
        FastFunction function;
        const double *variable;
    };

    /// A one-argument built-in applied to a numeric variable.
    std::optional<VariableCall> builtinOfVariable(const Node &node) {
        if (node.kind != NodeKind::Call || node.count != 1) return std::nullopt;
        const NameBinding &function = binding(node.value);
        if (function.kind != NameKind::Builtin) return std::nullopt;
        const auto builtin = static_cast<BuiltinFunction>(function.function);
        if (builtinSignature(builtin).minArguments > 1 || builtinSignature(builtin).maxArguments < 1)
            return std::nullopt;
        const double *variable = variableAddress(tree_.node(tree_.argument(node, 0)));
        if (!variable) return std::nullopt;
        return VariableCall{fastBuiltin(builtin), variable};
    }

    /// A residual ends in "-(right side)": its last subtraction and the
    /// store of the result become one step.
    void appendStore() {
        if (optimise_ && (fuseProductIntoStore() || fuseBinaryStepIntoStore())) return;
        if (optimise_ && !program_.code.empty()) {
            NumericInstruction &last = program_.code.back();
            switch (last.op) {
            case NumericOp::Subtract:
                last.op = NumericOp::SubtractStore;
                return;
            case NumericOp::SubtractConstant:
                last.op = NumericOp::SubtractConstantStore;
                return;
            case NumericOp::SubtractVariable:
                last.op = NumericOp::SubtractVariableStore;
                return;
            default:
                break;
            }
        }
        append(NumericOp::Store);
    }

    /// "... - (v * w)": the product, the subtraction and the store become one step.
    bool fuseProductIntoStore() {
        std::vector<NumericInstruction> &code = program_.code;
        if (code.size() < 2 || code.back().op != NumericOp::Subtract ||
            code[code.size() - 2].op != NumericOp::PushProduct)
            return false;
        code.pop_back();
        code.back().op = NumericOp::SubtractProductStore;
        return true;
    }

    /// "... a op b - (constant)" and "... a op b - (variable)" for op in + - *:
    /// the binary step, the subtraction and the store become one step.
    bool fuseBinaryStepIntoStore() {
        std::vector<NumericInstruction> &code = program_.code;
        if (code.size() < 2) return false;
        const NumericOp last = code.back().op;
        if (last != NumericOp::SubtractConstant && last != NumericOp::SubtractVariable) return false;
        const bool constant = last == NumericOp::SubtractConstant;
        NumericOp fused;
        switch (code[code.size() - 2].op) {
        case NumericOp::Add:
            fused = constant ? NumericOp::AddThenSubtractConstantStore : NumericOp::AddThenSubtractVariableStore;
            break;
        case NumericOp::Subtract:
            fused =
                constant ? NumericOp::SubtractThenSubtractConstantStore : NumericOp::SubtractThenSubtractVariableStore;
            break;
        case NumericOp::Multiply:
            fused =
                constant ? NumericOp::MultiplyThenSubtractConstantStore : NumericOp::MultiplyThenSubtractVariableStore;
            break;
        default:
            return false;
        }
        NumericInstruction operand = code.back();
        code.pop_back();
        operand.op = fused;
        code.back() = operand;
        return true;
    }

    NumericInstruction &append(NumericOp op, int depthChange = 0) {
        depth_ += depthChange;
        maxDepth_ = std::max(maxDepth_, depth_);
        program_.code.emplace_back();
        program_.code.back().op = op;
        return program_.code.back();
    }

    void pushConstant(double value) { append(NumericOp::PushConstant, +1).constant = value; }

    void emit(std::int32_t index) {
        if (const auto value = foldedValue(index)) return pushConstant(*value);
        const Node &node = tree_.node(index);
        switch (node.kind) {
        case NodeKind::Number:
            return pushConstant(tree_.constants[static_cast<std::size_t>(node.value)]);
        case NodeKind::Boolean:
            return pushConstant(arithmetic::truth(node.detail != 0));
        case NodeKind::Empty:
            return pushConstant(0);
        case NodeKind::Text:
            throw NotNumeric{};
        case NodeKind::Name:
        case NodeKind::Member:
            return emitVariable(node);
        case NodeKind::Call:
            return emitCall(binding(node.value), node);
        case NodeKind::MemberCall:
            if (binding(node.value).kind != NameKind::LibraryObject) return emitFailure();
            return emitCall(expression_.members[static_cast<std::size_t>(node.member)], node);
        case NodeKind::Unary:
            return emitUnary(node);
        case NodeKind::Chain:
            return emitChain(node);
        case NodeKind::Null:
        case NodeKind::Nothing:
            return emitFailure();
        }
    }

    /// A step that always fails; it still counts as a value on the stack.
    void emitFailure() { append(NumericOp::Fail, +1); }

    void emitVariable(const Node &node) {
        if (const double *address = variableAddress(node)) {
            append(NumericOp::PushVariable, +1).variable = address;
            return;
        }
        const NameBinding &variable = node.kind == NodeKind::Name
                                          ? binding(node.value)
                                          : expression_.members[static_cast<std::size_t>(node.member)];
        const bool objectOk = node.kind == NodeKind::Name || binding(node.value).kind == NameKind::LibraryObject;
        if (objectOk && variable.kind == NameKind::Variable &&
            variable.global->storage == GlobalStorage::LibraryErrorNumber) {
            append(NumericOp::PushErrorNumber, +1).errorNumber = variable.global->libraryErrorNumber;
            program_.touchesLibrary = true;
            return;
        }
        emitFailure();
    }

    void emitCall(const NameBinding &function, const Node &node) {
        if (function.kind == NameKind::LibraryFunction && node.count == 1) {
            emit(tree_.argument(node, 0));
            NumericInstruction &call = append(NumericOp::CallLibrary);
            program_.touchesLibrary = true;
            call.libraryFunction = libraryEntryPoint(static_cast<LibraryFunction>(function.function));
            call.library = library_;
            return;
        }
        if (function.kind != NameKind::Builtin) return emitFailure();
        const auto builtin = static_cast<BuiltinFunction>(function.function);
        const BuiltinSignature &signature = builtinSignature(builtin);
        if (node.count < signature.minArguments || node.count > signature.maxArguments) return emitFailure();
        if (node.count == 2) {
            emit(tree_.argument(node, 0));
            emit(tree_.argument(node, 1));
            append(NumericOp::RoundDigits, -1);
            return;
        }
        const std::int32_t argument = tree_.argument(node, 0);
        const Operand operand = classify(argument);
        if (operand.form == Operand::Form::Variable) {
            NumericInstruction &call = append(NumericOp::PushCall, +1);
            call.variable = operand.variable;
            call.function = fastBuiltin(builtin);
            return;
        }
        emit(argument);
        if (optimise_) {
            // Done in place rather than by a call.
            if (builtin == BuiltinFunction::CDbl) return;
            if (builtin == BuiltinFunction::Sqr) return void(append(NumericOp::SquareRoot));
            if (builtin == BuiltinFunction::Abs) return void(append(NumericOp::Absolute));
        }
        append(hidesNonFiniteArgument(builtin) ? NumericOp::CallChecked : NumericOp::Call).function =
            fastBuiltin(builtin);
    }

    void emitUnary(const Node &node) {
        emit(node.value);
        switch (static_cast<UnaryOperator>(node.detail)) {
        case UnaryOperator::Negate:
            append(NumericOp::Negate);
            break;
        case UnaryOperator::Not:
            append(NumericOp::Not);
            break;
        case UnaryOperator::Identity:
            break;
        }
    }

    void emitChain(const Node &chain) {
        std::int32_t next = 0;
        if (optimise_) {
            if (const double *squared = squaredVariable(chain)) {
                append(NumericOp::PushSquare, +1).variable = squared;
                return;
            }
            if (const double *cubed = cubedVariable(chain)) {
                append(NumericOp::PushCube, +1).variable = cubed;
                return;
            }
            next = foldPrefix(chain);
            if (next == 0 && pushFirstPair(chain)) next = 1;
        }
        if (next == 0) emit(chain.value);
        for (std::int32_t i = next; i < chain.count; ++i) {
            const ChainLink &link = tree_.link(chain.start + i);
            if (link.op == BinaryOperator::Concatenate) throw NotNumeric{};
            emitLink(link);
        }
    }

    /// Pushes the value of the chain's longest constant beginning; returns
    /// how many links it covered (0: nothing pushed). Later links are not
    /// regrouped: (x + 1) + 2 is not x + 3 in floating point.
    std::int32_t foldPrefix(const Node &chain) {
        if (!isConstant(chain.value)) return 0;
        std::int32_t covered = 0;
        while (covered < chain.count && tree_.link(chain.start + covered).op != BinaryOperator::Concatenate &&
               isConstant(tree_.link(chain.start + covered).operand))
            ++covered;
        if (covered == 0) return 0;
        Value value;
        if (!interpreter_.evaluateChainPrefix(chain, covered, value) || value.isString()) return 0;
        pushConstant(value.number);
        return covered;
    }

    /// Pushes "a op b" for a chain that begins with two variables, or with a
    /// constant times a variable, in one step; false when it does not.
    bool pushFirstPair(const Node &chain) {
        if (chain.count == 0) return false;
        const ChainLink &link = tree_.link(chain.start);
        const Operand right = classify(link.operand);
        if (right.form != Operand::Form::Variable) return false;
        const Operand left = classify(chain.value);
        if (left.form == Operand::Form::Constant && link.op == BinaryOperator::Multiply) {
            NumericInstruction &scaled = append(NumericOp::PushScaled, +1);
            scaled.constant = left.constant;
            scaled.secondVariable = right.variable;
            return true;
        }
        if (left.form != Operand::Form::Variable) return false;
        NumericOp op;
        switch (link.op) {
        case BinaryOperator::Add:
            op = NumericOp::PushSum;
            break;
        case BinaryOperator::Subtract:
            op = NumericOp::PushDifference;
            break;
        case BinaryOperator::Multiply:
            op = NumericOp::PushProduct;
            break;
        default:
            return false;
        }
        NumericInstruction &pair = append(op, +1);
        pair.variable = left.variable;
        pair.secondVariable = right.variable;
        return true;
    }

    void emitLink(const ChainLink &link) {
        const Operand operand = classify(link.operand);
        if (link.op == BinaryOperator::Power && operand.form == Operand::Form::Constant)
            return emitConstantPower(operand.constant);
        if (const auto fused = fusedOp(link.op, operand.form)) {
            NumericInstruction &instruction = append(*fused);
            if (operand.form == Operand::Form::Constant)
                instruction.constant = operand.constant;
            else
                instruction.variable = operand.variable;
            if (operand.form == Operand::Form::Call) instruction.function = operand.function;
            return;
        }
        emit(link.operand);
        append(stackOp(link.op), -1);
    }

    void emitConstantPower(double exponent) {
        const int whole = arithmetic::multipliedExponent(exponent);
        if (whole == 2) {
            append(NumericOp::Square);
        } else if (whole == 3) {
            append(NumericOp::Cube);
        } else if (whole <= arithmetic::kMaxMultipliedExponent) {
            append(NumericOp::WholePower).count = whole;
        } else {
            append(NumericOp::PowerConstant).constant = exponent;
        }
    }

    static std::optional<NumericOp> fusedOp(BinaryOperator op, Operand::Form form) {
        using F = Operand::Form;
        switch (op) {
        case BinaryOperator::Add:
            return form == F::Constant   ? NumericOp::AddConstant
                   : form == F::Variable ? NumericOp::AddVariable
                   : form == F::Square   ? NumericOp::AddSquare
                   : form == F::Cube     ? NumericOp::AddCube
                   : form == F::Call     ? std::optional(NumericOp::AddCall)
                                         : std::nullopt;
        case BinaryOperator::Subtract:
            return form == F::Constant   ? NumericOp::SubtractConstant
                   : form == F::Variable ? NumericOp::SubtractVariable
                   : form == F::Square   ? NumericOp::SubtractSquare
                   : form == F::Cube     ? NumericOp::SubtractCube
                   : form == F::Call     ? std::optional(NumericOp::SubtractCall)
                                         : std::nullopt;
        case BinaryOperator::Multiply:
            return form == F::Constant   ? NumericOp::MultiplyConstant
                   : form == F::Variable ? NumericOp::MultiplyVariable
                   : form == F::Square   ? NumericOp::MultiplySquare
                   : form == F::Cube     ? NumericOp::MultiplyCube
                   : form == F::Call     ? std::optional(NumericOp::MultiplyCall)
                                         : std::nullopt;
        case BinaryOperator::Divide:
            return form == F::Constant   ? NumericOp::DivideConstant
                   : form == F::Variable ? std::optional(NumericOp::DivideVariable)
                                         : std::nullopt;
        default:
            return std::nullopt;
        }
    }

    static NumericOp stackOp(BinaryOperator op) {
        switch (op) {
        case BinaryOperator::Imp:
            return NumericOp::Imp;
        case BinaryOperator::Eqv:
            return NumericOp::Eqv;
        case BinaryOperator::Xor:
            return NumericOp::Xor;
        case BinaryOperator::Or:
            return NumericOp::Or;
        case BinaryOperator::And:
            return NumericOp::And;
        case BinaryOperator::Equal:
            return NumericOp::Equal;
        case BinaryOperator::NotEqual:
            return NumericOp::NotEqual;
        case BinaryOperator::Less:
            return NumericOp::Less;
        case BinaryOperator::Greater:
            return NumericOp::Greater;
        case BinaryOperator::LessEqual:
            return NumericOp::LessEqual;
        case BinaryOperator::GreaterEqual:
            return NumericOp::GreaterEqual;
        case BinaryOperator::Add:
            return NumericOp::Add;
        case BinaryOperator::Subtract:
            return NumericOp::Subtract;
        case BinaryOperator::Modulo:
            return NumericOp::Modulo;
        case BinaryOperator::IntegerDivide:
            return NumericOp::IntegerDivide;
        case BinaryOperator::Multiply:
            return NumericOp::Multiply;
        case BinaryOperator::Divide:
            return NumericOp::Divide;
        case BinaryOperator::Power:
            return NumericOp::Power;
        case BinaryOperator::Concatenate:
            break;
        }
        throw NotNumeric{};
    }

    const CompiledExpression &expression_;
    const SyntaxTree &tree_;
    TreeInterpreter interpreter_;
    MathLibrary *library_;
    bool optimise_;
    std::vector<bool> constant_;
    NumericProgram program_;
    std::int32_t depth_ = 0;
    std::int32_t maxDepth_ = 0;
};

}  // namespace

std::optional<NumericProgram> compileNumericProgram(const CompiledExpression &expression, NameScope &scope,
                                                    bool optimise) {
    try {
        return NumericCompiler(expression, scope, optimise).compile();
    } catch (const NotNumeric &) {
        return std::nullopt;
    }
}

}  // namespace zl
