#include "core/eval/name_scope.h"

#include <array>

#include "core/eval/builtin_functions.h"
#include "core/eval/math_library.h"

namespace zl {
namespace {

constexpr std::array<std::string_view, 4> kLibraryNumberMembers{"pi", "halfpi", "e", "x"};
constexpr std::string_view kLibraryErrorMember = "ierr";

bool isLibraryMember(std::string_view lowerName) {
    for (std::string_view member : kLibraryNumberMembers)
        if (member == lowerName) return true;
    return lowerName == kLibraryErrorMember;
}

}  // namespace

void NameScope::addLibrary(MathLibrary &library) {
    library_ = &library;
    globals_.bindLibraryNumber("pi", library.pi);
    globals_.bindLibraryNumber("halfpi", library.halfpi);
    globals_.bindLibraryNumber("e", library.e);
    globals_.bindLibraryNumber("x", library.x);
    globals_.bindLibraryErrorNumber(kLibraryErrorMember, library.ierr);
}

NameBinding NameScope::resolve(std::string_view lowerName) {
    if (const auto builtin = findBuiltin(lowerName))
        return {NameKind::Builtin, static_cast<std::uint8_t>(*builtin), nullptr};
    if (library_) {
        if (const auto function = findLibraryFunction(lowerName))
            return {NameKind::LibraryFunction, static_cast<std::uint8_t>(*function), nullptr};
        if (lowerName == kLibraryObjectName) return {NameKind::LibraryObject, 0, nullptr};
    }
    if (Global *global = globals_.find(lowerName)) return {NameKind::Variable, 0, global};
    return {};
}

NameBinding NameScope::resolveMember(std::string_view lowerName) {
    if (!library_) return {};
    if (const auto function = findLibraryFunction(lowerName))
        return {NameKind::LibraryFunction, static_cast<std::uint8_t>(*function), nullptr};
    if (isLibraryMember(lowerName)) return {NameKind::Variable, 0, globals_.find(lowerName)};
    return {};
}

}  // namespace zl
