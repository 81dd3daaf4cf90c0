#pragma once
// The engine's global names and their values. A global lives as long as the
// engine; its address never changes, so compiled code may point at it.

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <string_view>

#include "core/eval/value.h"

namespace zl {

enum class GlobalStorage : std::uint8_t {
    Script,              ///< an ordinary variable holding any Value
    LibraryNumber,       ///< a double member of the math library (pi, halfpi, e, x)
    LibraryErrorNumber,  ///< the library's 32-bit ierr member
};

struct Global {
    std::string name;  ///< lower case
    GlobalStorage storage = GlobalStorage::Script;
    Value value;                                 ///< Script storage
    double *libraryNumber = nullptr;             ///< LibraryNumber storage
    std::int32_t *libraryErrorNumber = nullptr;  ///< LibraryErrorNumber storage

    /// Where compiled numeric code may read this global's number: null while
    /// it holds text, and for the error-number member.
    const double *numberAddress() const;
    Value read() const;
};

/// What the variables may hold together: texts of at most kMaxStringSpace
/// characters in all (beyond it an assignment fails with 14 "Out of string
/// space"), and at most kMaxGlobals names that statements declare (beyond it
/// a statement fails with 7 "Out of memory"). Constants that copy a long text
/// again and again, or declare names by the million, then stop early.
inline constexpr std::size_t kMaxStringSpace = 64u << 20;
inline constexpr std::size_t kMaxGlobals = 100'000;

class GlobalTable {
public:
    Global *find(std::string_view lowerName);

    /// The global of that name, created as Empty when there is none.
    Global &declare(std::string_view lowerName);

    /// Makes `lowerName` a view of a library member (replacing any script variable of that name).
    void bindLibraryNumber(std::string_view lowerName, double &member);
    void bindLibraryErrorNumber(std::string_view lowerName, std::int32_t &member);

    /// Assigns as a statement does: a library member takes a number only (13
    /// for other text); ierr takes a 32-bit integer (6 beyond that range); a
    /// text that would take the texts held beyond kMaxStringSpace fails with 14.
    [[nodiscard]] std::int32_t assign(Global &global, Value value);

    /// assign() for a number, the evaluator's hot path.
    [[nodiscard]] std::int32_t assignNumber(Global &global, double number) {
        if (global.storage == GlobalStorage::LibraryNumber) {
            *global.libraryNumber = number;
            return 0;
        }
        if (global.storage == GlobalStorage::Script && global.value.kind == ValueKind::Double) {
            global.value.number = number;
            return 0;
        }
        return assign(global, Value::real(number));
    }

    /// Declares every script variable of `source` here with a copy of its
    /// value. Names bound to library members here keep their binding.
    void copyScriptVariables(const GlobalTable &source);

    /// Changes whenever compiled code may have to be redone: a global was
    /// created, re-bound, or changed its kind of value.
    const std::uint64_t &generation() const { return generation_; }

    std::size_t size() const { return globals_.size(); }

private:
    Global &create(std::string_view lowerName);

    std::deque<Global> globals_;
    std::map<std::string, Global *, std::less<>> byName_;
    std::uint64_t generation_ = 0;
    std::size_t textSpace_ = 0;  ///< the characters of all texts the variables hold
};

}  // namespace zl
