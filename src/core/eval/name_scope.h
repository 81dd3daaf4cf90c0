#pragma once
// What a name in a script refers to: a built-in function, a math-library
// function, the library object "sh", or a global.

#include <cstdint>
#include <string_view>

#include "core/eval/global_table.h"

namespace zl {

class MathLibrary;

inline constexpr std::string_view kLibraryObjectName = "sh";

enum class NameKind : std::uint8_t { Undefined, Variable, Builtin, LibraryFunction, LibraryObject };

struct NameBinding {
    NameKind kind = NameKind::Undefined;
    std::uint8_t function = 0;  ///< BuiltinFunction or LibraryFunction
    Global *global = nullptr;   ///< Variable
};

class NameScope {
public:
    GlobalTable &globals() { return globals_; }
    const GlobalTable &globals() const { return globals_; }
    MathLibrary *library() const { return library_; }

    /// Adds the library: its functions by bare name, its members as globals.
    void addLibrary(MathLibrary &library);

    /// A bare name. Functions come first: no variable can hide them.
    NameBinding resolve(std::string_view lowerName);

    /// A name after "sh.": a library function or member, else Undefined.
    NameBinding resolveMember(std::string_view lowerName);

private:
    GlobalTable globals_;
    MathLibrary *library_ = nullptr;
};

}  // namespace zl
