#include "core/eval/global_table.h"

#include <cassert>

#include "core/eval/arithmetic.h"

namespace zl {
namespace {

std::size_t heldText(const Value &value) { return value.isString() ? value.text.size() : 0; }

}  // namespace

const double *Global::numberAddress() const {
    switch (storage) {
    case GlobalStorage::Script:
        return value.isString() ? nullptr : &value.number;
    case GlobalStorage::LibraryNumber:
        return libraryNumber;
    case GlobalStorage::LibraryErrorNumber:
        return nullptr;
    }
    return nullptr;
}

Value Global::read() const {
    switch (storage) {
    case GlobalStorage::Script:
        return value;
    case GlobalStorage::LibraryNumber:
        return Value::real(*libraryNumber);
    case GlobalStorage::LibraryErrorNumber:
        return Value::numeric(ValueKind::Long, *libraryErrorNumber);
    }
    return {};
}

Global *GlobalTable::find(std::string_view lowerName) {
    const auto found = byName_.find(lowerName);
    return found == byName_.end() ? nullptr : found->second;
}

Global &GlobalTable::create(std::string_view lowerName) {
    Global &global = globals_.emplace_back();
    global.name = std::string(lowerName);
    byName_.emplace(global.name, &global);
    ++generation_;
    return global;
}

Global &GlobalTable::declare(std::string_view lowerName) {
    if (Global *existing = find(lowerName)) return *existing;
    return create(lowerName);
}

void GlobalTable::bindLibraryNumber(std::string_view lowerName, double &member) {
    Global &global = declare(lowerName);
    global.storage = GlobalStorage::LibraryNumber;
    textSpace_ -= heldText(global.value);
    global.value = Value::empty();
    global.libraryNumber = &member;
    ++generation_;
}

void GlobalTable::bindLibraryErrorNumber(std::string_view lowerName, std::int32_t &member) {
    Global &global = declare(lowerName);
    global.storage = GlobalStorage::LibraryErrorNumber;
    textSpace_ -= heldText(global.value);
    global.value = Value::empty();
    global.libraryErrorNumber = &member;
    ++generation_;
}

void GlobalTable::copyScriptVariables(const GlobalTable &source) {
    for (const Global &original : source.globals_) {
        if (original.storage != GlobalStorage::Script) continue;
        Global &copy = declare(original.name);
        if (copy.storage != GlobalStorage::Script) continue;
        [[maybe_unused]] const std::int32_t failure = assign(copy, original.value);
        assert(failure == 0 && "a script variable takes any value");
    }
}

std::int32_t GlobalTable::assign(Global &global, Value value) {
    switch (global.storage) {
    case GlobalStorage::Script: {
        const std::size_t space = textSpace_ - heldText(global.value) + heldText(value);
        if (space > kMaxStringSpace) return errorNumber(ScriptErrorCode::OutOfStringSpace);
        textSpace_ = space;
        if (global.value.kind != value.kind) ++generation_;
        global.value = std::move(value);
        return 0;
    }
    case GlobalStorage::LibraryNumber: {
        const auto number = numericValue(value);
        if (!number) return errorNumber(ScriptErrorCode::TypeMismatch);
        *global.libraryNumber = *number;
        return 0;
    }
    case GlobalStorage::LibraryErrorNumber: {
        const auto number = numericValue(value);
        if (!number) return errorNumber(ScriptErrorCode::TypeMismatch);
        std::int32_t whole = 0;
        if (const auto error = arithmetic::toLong(*number, whole)) return error;
        *global.libraryErrorNumber = whole;
        return 0;
    }
    }
    return 0;
}

}  // namespace zl
