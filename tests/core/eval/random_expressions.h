#pragma once
// Random expressions over x, y and z that use every operator and function of
// the language, for property tests of the numeric and interval programs and
// the contractors.

#include <initializer_list>
#include <random>
#include <string>
#include <vector>

namespace zl::testing {

/// What expressions are made of: each test draws from the words its programs take.
struct ExpressionWords {
    std::vector<std::string> leaves, arithmetic, operators, functions, exponents, digits, prefixes;
    double leafChance = 0.2;
};

/// Values and truth values only: every expression has an interval form.
inline ExpressionWords intervalWords(bool libraryFunctions = true) {
    ExpressionWords words{
        .leaves = {"x", "y", "z", "x", "y", "z", "sh.x", "pi", "0", "1", "2", "0.5", "3.25", "True", "(1/3)", "ierr",
                   "k"},
        .arithmetic = {"+", "-", "*", "/", "+", "-", "*"},
        .operators = {"^", "\\", "Mod", "=", "<>", "<", ">", "<=", ">=", "And", "Or", "Xor", "Eqv", "Imp"},
        .functions = {"Abs", "Atn", "Cos", "Exp", "Fix", "Int", "Log", "Round", "Sgn", "Sin", "Sqr", "Tan", "CDbl",
                      "CInt", "CLng", "CSng", "CBool"},
        .exponents = {"2", "3", "-1", "-2", "0", "0.5", "17", "-2.5", "y"},
        .digits = {"0", "1", "2", "y"},
        .prefixes = {"-", "Not "}};
    if (libraryFunctions)
        words.functions.insert(words.functions.end(),
                               {"Asin", "Acos", "Sinh", "Cosh", "Tanh", "Asinh", "Acosh", "Atanh"});
    return words;
}

class RandomExpressions {
public:
    RandomExpressions(std::uint64_t seed, ExpressionWords words) : words_(std::move(words)), random_(seed) {}
    /// Without `libraryFunctions`, only the language's own functions appear.
    explicit RandomExpressions(std::uint64_t seed, bool libraryFunctions = true)
        : RandomExpressions(seed, intervalWords(libraryFunctions)) {}

    // Parts are joined from a braced list, whose elements are evaluated in order: with
    // operator+ the order of the random draws, and so the expressions, would depend on
    // the compiler.
    std::string expression(int depth) {
        if (depth == 0 || chance(words_.leafChance)) return leaf();
        switch (pick(10)) {
        case 0:
        case 1:
            return join({"(", expression(depth - 1), " ", pick(words_.arithmetic), " ", expression(depth - 1), ")"});
        case 2:
            return join({expression(depth - 1), " ", pick(words_.operators), " ", expression(depth - 1)});
        case 3:
            return join({pick(words_.functions), "(", expression(depth - 1), ")"});
        case 4:
            return join({"(", expression(depth - 1), ")^", pick(words_.exponents)});
        case 5:
            return join({"(", pick(words_.prefixes), "(", expression(depth - 1), "))"});
        case 6:
            return join({"(", expression(depth - 1), " ", pick(words_.arithmetic), " ", leaf(), "^",
                         pick(words_.exponents), ")"});
        case 7:
            return join({"Round(", expression(depth - 1), ", ", pick(words_.digits), ")"});
        case 8:
            return join({"(", expression(depth - 1), " ", pick(words_.arithmetic), " ", pick(words_.functions), "(",
                         leaf(), "))"});
        default:
            return join({"(", leaf(), " ", pick(words_.arithmetic), " ", leaf(), ")"});
        }
    }

    double uniform(double from, double to) { return std::uniform_real_distribution<double>(from, to)(random_); }
    std::size_t pick(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random_); }
    const std::string &pick(const std::vector<std::string> &choices) { return choices[pick(choices.size())]; }
    bool chance(double p) { return uniform(0, 1) < p; }

private:
    std::string leaf() { return pick(words_.leaves); }
    static std::string join(std::initializer_list<std::string> parts) {
        std::string joined;
        for (const std::string &part : parts) joined += part;
        return joined;
    }

    ExpressionWords words_;
    std::mt19937_64 random_;
};

}  // namespace zl::testing
