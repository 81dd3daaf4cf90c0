#pragma once
// Random expressions over x, y and z that use every operator and function of
// the language, for property tests of the interval programs and contractors.

#include <random>
#include <string>
#include <vector>

namespace zl::testing {

class RandomExpressions {
public:
    /// Without `libraryFunctions`, only the language's own functions appear.
    explicit RandomExpressions(std::uint64_t seed, bool libraryFunctions = true) : random_(seed) {
        for (const std::string &name : kFunctions)
            if (libraryFunctions || !isLibraryFunction(name)) functions_.push_back(name);
    }

    std::string expression(int depth) {
        if (depth == 0 || chance(0.2)) return leaf();
        switch (pick(8)) {
        case 0:
        case 1:
            return "(" + expression(depth - 1) + " " + pickFrom(kArithmetic) + " " + expression(depth - 1) + ")";
        case 2:
            return "(" + expression(depth - 1) + " " + pickFrom(kOtherOperators) + " " + expression(depth - 1) + ")";
        case 3:
        case 4:
            return "(" + pickFrom(functions_) + "(" + expression(depth - 1) + "))";
        case 5:
            return "(" + expression(depth - 1) + ")^" + pickFrom(kExponents);
        case 6:
            return "Round(" + expression(depth - 1) + ", " + pickFrom(kDigits) + ")";
        default:
            return "(-" + expression(depth - 1) + ")";
        }
    }

    double uniform(double from, double to) { return std::uniform_real_distribution<double>(from, to)(random_); }

private:
    static inline const std::vector<std::string> kArithmetic{"+", "-", "*", "/", "+", "-", "*"};
    static inline const std::vector<std::string> kOtherOperators{"^",  "\\", "Mod", "=",  "<>",  "<",   ">",
                                                                 "<=", ">=", "And", "Or", "Xor", "Eqv", "Imp"};
    static inline const std::vector<std::string> kFunctions{
        "Abs",  "Atn",  "Cos",  "Exp",   "Fix",  "Int",  "Log",  "Round", "Sgn",  "Sin",   "Sqr",   "Tan",   "CDbl",
        "CInt", "CLng", "CSng", "CBool", "Asin", "Acos", "Sinh", "Cosh",  "Tanh", "Asinh", "Acosh", "Atanh", "Not "};
    static inline const std::vector<std::string> kExponents{"2", "3", "-1", "-2", "0", "0.5", "17", "-2.5", "y"};
    static inline const std::vector<std::string> kDigits{"0", "1", "2", "y"};
    static inline const std::vector<std::string> kLeaves{"x", "y", "z",   "x",    "y",    "z",     "sh.x", "pi", "0",
                                                         "1", "2", "0.5", "3.25", "True", "(1/3)", "ierr", "k"};

    static bool isLibraryFunction(const std::string &name) {
        for (const char *library : {"Asin", "Acos", "Sinh", "Cosh", "Tanh", "Asinh", "Acosh", "Atanh"})
            if (name == library) return true;
        return false;
    }

    std::string leaf() { return pickFrom(kLeaves); }
    bool chance(double p) { return uniform(0, 1) < p; }
    std::size_t pick(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random_); }
    const std::string &pickFrom(const std::vector<std::string> &choices) { return choices[pick(choices.size())]; }

    std::vector<std::string> functions_;
    std::mt19937_64 random_;
};

}  // namespace zl::testing
