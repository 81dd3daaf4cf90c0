#include "core/eval/numeric_program.h"

#include <algorithm>
#include <cmath>

#include "core/eval/arithmetic.h"

namespace zl {

using namespace arithmetic;

// A failure only needs to be noticed: the general evaluator reruns the
// expression to tell which error it was (see the header for where checks are).
//
// Threaded dispatch: every instruction jumps straight to the next one's code
// through its handler, so each jump is predicted on its own. The switch form
// enters every step through one jump table. `top` is never passed by
// reference, so that it stays in a register.
namespace {

bool isStore(NumericOp op) { return op >= NumericOp::Store && op <= NumericOp::MultiplyThenSubtractVariableStore; }

/// The result being computed at `instruction`: the one the next store writes
/// (none after a failed input of a program without results: its count, 0).
std::int32_t failedResult(const NumericInstruction *instruction) {
    while (!isStore(instruction->op) && instruction->op != NumericOp::End) ++instruction;
    return instruction->count;
}

/// The program's result count, from its End.
std::int32_t resultCount(const NumericInstruction *instruction) {
    while (instruction->op != NumericOp::End) ++instruction;
    return instruction->count;
}

/// The runner in both forms. The threaded form called with `handlers` set
/// only reports where the code of each instruction starts (label addresses
/// exist only in here).
// The labels and jumps of the runner read best as they are laid out by hand.
// clang-format off
#if ZL_NUMERIC_THREADED_DISPATCH
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-label"  // the switch form does not jump to them
#endif
template <bool kThreaded>
std::int32_t execute(const NumericInstruction *instruction, const NumericFrame &frame,
                     const void *const **handlers) {
#if ZL_NUMERIC_THREADED_DISPATCH
    if constexpr (kThreaded) {
        static constexpr const void *kHandlers[] = {
#define ZL_NUMERIC_OP_LABEL(name) &&op_##name,
            ZL_NUMERIC_OPS(ZL_NUMERIC_OP_LABEL)
#undef ZL_NUMERIC_OP_LABEL
        };
        if (handlers) [[unlikely]] {
            *handlers = kHandlers;
            return 0;
        }
    }
#define ZL_STEP(name) case NumericOp::name: op_##name:
#define ZL_DISPATCH()                                 \
    if constexpr (kThreaded) goto *instruction->handler; \
    else continue
#else
    (void)handlers;
#define ZL_STEP(name) case NumericOp::name:
#define ZL_DISPATCH() continue
#endif
#define ZL_NEXT()  \
    ++instruction; \
    ZL_DISPATCH()
#define ZL_REQUIRE_FINITE(value) \
    if (!std::isfinite(value)) [[unlikely]] goto failed
#define ZL_COMPUTE(call)                             \
    {                                                \
        double computed = 0;                         \
        if ((call) != kOk) [[unlikely]] goto failed; \
        top = computed;                              \
    }                                                \
    ZL_NEXT()
#define ZL_STORE()                                                      \
    ZL_REQUIRE_FINITE(top);                                             \
    values[instruction->count] = top;                                   \
    statuses[instruction->count] = 0;                                   \
    --below; /* back where the result began: its first step pushed */   \
    ZL_NEXT()

    double *below = frame.stack;  // the slot under the top
    double top = 0;
    const double *inputs = frame.inputs;
    double *values = frame.values;
    std::int32_t *statuses = frame.statuses;
    const NumericInstruction *const first = instruction;
    std::int32_t pointsDone = 0;

#if ZL_NUMERIC_THREADED_DISPATCH
    if constexpr (kThreaded) goto *instruction->handler;  // the switch is never entered
#endif
    for (;;) {
        switch (instruction->op) {
        ZL_STEP(TakeInput) {
            const double input = inputs[instruction->count];
            ZL_REQUIRE_FINITE(input);
            *instruction->target = input;
            ZL_NEXT();
        }
        ZL_STEP(PushConstant)
            *++below = top;
            top = instruction->constant;
            ZL_NEXT();
        ZL_STEP(PushVariable)
            *++below = top;
            top = *instruction->variable;
            ZL_NEXT();
        ZL_STEP(PushErrorNumber)
            *++below = top;
            top = *instruction->errorNumber;
            ZL_NEXT();
        ZL_STEP(PushSquare) {
            *++below = top;
            const double v = *instruction->variable;
            top = v * v;
            ZL_NEXT();
        }
        ZL_STEP(PushCall)
            *++below = top;
            top = instruction->function(*instruction->variable);
            ZL_NEXT();
        ZL_STEP(PushCube) {
            *++below = top;
            const double v = *instruction->variable;
            top = (v * v) * v;
            ZL_NEXT();
        }
        ZL_STEP(PushScaled)
            *++below = top;
            top = instruction->constant * *instruction->secondVariable;
            ZL_NEXT();
        ZL_STEP(PushSum)
            *++below = top;
            top = *instruction->variable + *instruction->secondVariable;
            ZL_NEXT();
        ZL_STEP(PushDifference)
            *++below = top;
            top = *instruction->variable - *instruction->secondVariable;
            ZL_NEXT();
        ZL_STEP(PushProduct)
            *++below = top;
            top = *instruction->variable * *instruction->secondVariable;
            ZL_NEXT();

        ZL_STEP(AddConstant)
            top += instruction->constant;
            ZL_NEXT();
        ZL_STEP(SubtractConstant)
            top -= instruction->constant;
            ZL_NEXT();
        ZL_STEP(MultiplyConstant)
            top *= instruction->constant;
            ZL_NEXT();
        ZL_STEP(DivideConstant)
            top /= instruction->constant;
            ZL_NEXT();
        ZL_STEP(AddVariable)
            top += *instruction->variable;
            ZL_NEXT();
        ZL_STEP(SubtractVariable)
            top -= *instruction->variable;
            ZL_NEXT();
        ZL_STEP(MultiplyVariable)
            top *= *instruction->variable;
            ZL_NEXT();
        ZL_STEP(DivideVariable)
            top /= *instruction->variable;
            ZL_NEXT();
        ZL_STEP(AddSquare) {
            const double v = *instruction->variable;
            top += v * v;
            ZL_NEXT();
        }
        ZL_STEP(SubtractSquare) {
            const double v = *instruction->variable;
            top -= v * v;
            ZL_NEXT();
        }
        ZL_STEP(MultiplySquare) {
            // An infinite square times a zero top would be NaN anyway; times
            // anything else it stays infinite.
            const double v = *instruction->variable;
            top *= v * v;
            ZL_NEXT();
        }
        ZL_STEP(AddCube) {
            const double v = *instruction->variable;
            top += (v * v) * v;
            ZL_NEXT();
        }
        ZL_STEP(SubtractCube) {
            const double v = *instruction->variable;
            top -= (v * v) * v;
            ZL_NEXT();
        }
        ZL_STEP(MultiplyCube) {
            const double v = *instruction->variable;
            top *= (v * v) * v;
            ZL_NEXT();
        }
        // A failed call gives a non-finite value, which +, - and * keep.
        ZL_STEP(AddCall)
            top += instruction->function(*instruction->variable);
            ZL_NEXT();
        ZL_STEP(SubtractCall)
            top -= instruction->function(*instruction->variable);
            ZL_NEXT();
        ZL_STEP(MultiplyCall)
            top *= instruction->function(*instruction->variable);
            ZL_NEXT();

        ZL_STEP(Add)
            top = *below-- + top;
            ZL_NEXT();
        ZL_STEP(Subtract)
            top = *below-- - top;
            ZL_NEXT();
        ZL_STEP(Multiply)
            top = *below-- * top;
            ZL_NEXT();
        ZL_STEP(Divide)
            ZL_REQUIRE_FINITE(top);  // x / inf would be 0
            top = *below-- / top;
            ZL_NEXT();
        ZL_STEP(Power)
            ZL_REQUIRE_FINITE(top);
            ZL_REQUIRE_FINITE(*below);
            ZL_COMPUTE(power(*below--, top, computed));
        ZL_STEP(IntegerDivide)
            ZL_COMPUTE(integerDivide(*below--, top, computed));
        ZL_STEP(Modulo)
            ZL_COMPUTE(modulo(*below--, top, computed));
#define ZL_COMPARE(relation)                                    \
            ZL_REQUIRE_FINITE(top);                             \
            ZL_REQUIRE_FINITE(*below);                          \
            top = truth(*below-- relation top);                 \
            ZL_NEXT()
        ZL_STEP(Equal)
            ZL_COMPARE(==);
        ZL_STEP(NotEqual)
            ZL_COMPARE(!=);
        ZL_STEP(Less)
            ZL_COMPARE(<);
        ZL_STEP(Greater)
            ZL_COMPARE(>);
        ZL_STEP(LessEqual)
            ZL_COMPARE(<=);
        ZL_STEP(GreaterEqual)
            ZL_COMPARE(>=);
#undef ZL_COMPARE
        ZL_STEP(And)
            ZL_COMPUTE(bitwise(Bitwise::And, *below--, top, computed));
        ZL_STEP(Or)
            ZL_COMPUTE(bitwise(Bitwise::Or, *below--, top, computed));
        ZL_STEP(Xor)
            ZL_COMPUTE(bitwise(Bitwise::Xor, *below--, top, computed));
        ZL_STEP(Eqv)
            ZL_COMPUTE(bitwise(Bitwise::Eqv, *below--, top, computed));
        ZL_STEP(Imp)
            ZL_COMPUTE(bitwise(Bitwise::Imp, *below--, top, computed));
        ZL_STEP(RoundDigits)
            ZL_COMPUTE(roundToDigits(*below--, top, computed));

        ZL_STEP(Negate)
            top = -top;
            ZL_NEXT();
        ZL_STEP(Not)
            ZL_COMPUTE(bitwiseNot(top, computed));
        ZL_STEP(Square)
            top = top * top;
            ZL_NEXT();
        ZL_STEP(Cube)
            top = (top * top) * top;
            ZL_NEXT();
        ZL_STEP(SquareRoot)
            top = std::sqrt(top);
            ZL_NEXT();
        ZL_STEP(Absolute)
            top = std::fabs(top);
            ZL_NEXT();
        ZL_STEP(WholePower)
            ZL_REQUIRE_FINITE(top);  // inf^0 = 1, inf^-1 = 0
            ZL_COMPUTE(wholePower(top, instruction->count, computed));
        ZL_STEP(PowerConstant)
            ZL_REQUIRE_FINITE(top);
            ZL_COMPUTE(power(top, instruction->constant, computed));
        ZL_STEP(Call)
            top = instruction->function(top);
            ZL_NEXT();
        ZL_STEP(CallChecked)
            ZL_REQUIRE_FINITE(top);
            top = instruction->function(top);
            ZL_NEXT();
        ZL_STEP(CallLibrary)
            ZL_REQUIRE_FINITE(top);
            top = instruction->libraryFunction(*instruction->library, top);
            ZL_NEXT();
        ZL_STEP(Fail)
            goto failed;
        ZL_STEP(RequireNoLibraryError)
            if (*instruction->errorNumber != 0) [[unlikely]] goto failed;
            ZL_NEXT();

        ZL_STEP(Store)
            ZL_STORE();
        ZL_STEP(SubtractStore)
            top = *below-- - top;
            ZL_STORE();
        ZL_STEP(SubtractConstantStore)
            top -= instruction->constant;
            ZL_STORE();
        ZL_STEP(SubtractVariableStore)
            top -= *instruction->variable;
            ZL_STORE();
        ZL_STEP(SubtractProductStore)
            top -= *instruction->variable * *instruction->secondVariable;
            ZL_STORE();
        ZL_STEP(AddThenSubtractConstantStore)
            top = (*below-- + top) - instruction->constant;
            ZL_STORE();
        ZL_STEP(SubtractThenSubtractConstantStore)
            top = (*below-- - top) - instruction->constant;
            ZL_STORE();
        ZL_STEP(MultiplyThenSubtractConstantStore)
            top = (*below-- * top) - instruction->constant;
            ZL_STORE();
        ZL_STEP(AddThenSubtractVariableStore)
            top = (*below-- + top) - *instruction->variable;
            ZL_STORE();
        ZL_STEP(SubtractThenSubtractVariableStore)
            top = (*below-- - top) - *instruction->variable;
            ZL_STORE();
        ZL_STEP(MultiplyThenSubtractVariableStore)
            top = (*below-- * top) - *instruction->variable;
            ZL_STORE();
        ZL_STEP(End)
            if (++pointsDone < frame.points) {
                // Every result left the stack as it found it: the next point starts afresh.
                inputs += frame.inputStride;
                values += instruction->count;
                statuses += instruction->count;
                instruction = first;
                ZL_DISPATCH();
            }
            return pointsDone * instruction->count;
        }
    }

failed:
    return pointsDone * resultCount(instruction) + failedResult(instruction);

#undef ZL_STEP
#undef ZL_NEXT
#undef ZL_DISPATCH
#undef ZL_REQUIRE_FINITE
#undef ZL_COMPUTE
#undef ZL_STORE
}
#if ZL_NUMERIC_THREADED_DISPATCH
#pragma GCC diagnostic pop
#endif
// clang-format on

}  // namespace

void linkNumericProgram([[maybe_unused]] NumericProgram &program) {
#if ZL_NUMERIC_THREADED_DISPATCH
    const void *const *handlers = nullptr;
    execute<true>(nullptr, {}, &handlers);
    for (NumericInstruction &instruction : program.code)
        instruction.handler = handlers[static_cast<std::size_t>(instruction.op)];
#endif
}

NumericProgram joinNumericPrograms(std::span<double *const> inputTargets,
                                   std::span<const NumericProgram *const> programs,
                                   const std::int32_t *libraryErrorNumber) {
    NumericProgram joined;
    for (std::size_t i = 0; i < inputTargets.size(); ++i) {
        NumericInstruction &take = joined.code.emplace_back();
        take.op = NumericOp::TakeInput;
        take.count = static_cast<std::int32_t>(i);
        take.target = inputTargets[i];
    }
    std::int32_t results = 0;
    for (const NumericProgram *program : programs) {
        // Every part leaves the stack as it found it, so each starts from the bottom.
        for (const NumericInstruction &instruction : program->code) {
            if (instruction.op == NumericOp::End) break;
            if (isStore(instruction.op)) {
                // The library is only called before the store, which only computes.
                if (program->touchesLibrary) {
                    NumericInstruction &check = joined.code.emplace_back();
                    check.op = NumericOp::RequireNoLibraryError;
                    check.errorNumber = libraryErrorNumber;
                }
                joined.code.push_back(instruction);
                joined.code.back().count = results++;
                continue;
            }
            joined.code.push_back(instruction);
        }
        joined.maxDepth = std::max(joined.maxDepth, program->maxDepth);
        joined.touchesLibrary = joined.touchesLibrary || program->touchesLibrary;
    }
    joined.code.emplace_back().count = results;
    linkNumericProgram(joined);
    return joined;
}

std::int32_t runNumericProgram(const NumericProgram &program, const NumericFrame &frame) {
    constexpr bool kThreaded = ZL_NUMERIC_THREADED_DISPATCH != 0;
    return execute<kThreaded>(program.code.data(), frame, nullptr);
}

std::int32_t runNumericProgramBySwitch(const NumericProgram &program, const NumericFrame &frame) {
    return execute<false>(program.code.data(), frame, nullptr);
}

}  // namespace zl
