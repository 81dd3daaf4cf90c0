#include "core/problem/user_constants.h"

#include <algorithm>

namespace zl {
namespace {

bool isAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isAsciiDigit(char c) { return c >= '0' && c <= '9'; }

bool isBlank(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c == ' '; });
}

}  // namespace

std::optional<std::string_view> UserConstants::namePart(std::string_view constant) {
    const auto equals = constant.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    return constant.substr(0, equals);
}

bool UserConstants::isValidName(std::string_view name) {
    if (name.empty() || !isAsciiLetter(name.front())) return false;
    return std::all_of(name.begin() + 1, name.end(), [](char c) { return isAsciiLetter(c) || isAsciiDigit(c); });
}

ConstantAddResult UserConstants::add(std::string_view text) {
    const auto name = namePart(text);
    if (!name || !isValidName(*name)) return ConstantAddResult::Refused;

    keepCountInRange();
    const auto offset = unmirroredCount();
    const auto match = findFirstItemNamed(*name);
    const bool freesSlot = match && *match >= offset;
    if (!freesSlot && record_.constantCount >= kConstantSlots) return ConstantAddResult::TableFull;

    if (match) {
        if (freesSlot) removeTableEntry(*match - offset);
        removeItem(*match);
    }
    record_.constants[static_cast<std::size_t>(record_.constantCount)] = std::string(text);
    ++record_.constantCount;
    listItems_.emplace_back(text);
    return ConstantAddResult::Added;
}

ConstantRemoval UserConstants::remove(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= listItems_.size()) return {};
    const auto item = static_cast<std::size_t>(index);
    keepCountInRange();

    ConstantRemoval removal;
    removal.removed = true;
    const std::string &text = listItems_[item];
    if (const auto name = namePart(text); name && !isBlank(*name))
        removal.engineStatement = text.substr(0, name->size() + 1) + "0";

    const auto offset = unmirroredCount();
    if (item >= offset) removeTableEntry(item - offset);
    removeItem(item);
    return removal;
}

void UserConstants::keepCountInRange() { record_.constantCount = std::clamp(record_.constantCount, 0, kConstantSlots); }

std::size_t UserConstants::unmirroredCount() const {
    const auto mirrored = static_cast<std::size_t>(record_.constantCount);
    return listItems_.size() > mirrored ? listItems_.size() - mirrored : 0;
}

std::optional<std::size_t> UserConstants::findFirstItemNamed(std::string_view name) const {
    for (std::size_t k = 0; k < listItems_.size(); ++k) {
        if (namePart(listItems_[k]) == name) return k;
    }
    return std::nullopt;
}

void UserConstants::removeItem(std::size_t index) {
    listItems_.erase(listItems_.begin() + static_cast<std::ptrdiff_t>(index));
}

void UserConstants::removeTableEntry(std::size_t slot) {
    const auto count = static_cast<std::size_t>(record_.constantCount);
    if (slot >= count) return;
    auto &table = record_.constants;
    std::move(table.begin() + static_cast<std::ptrdiff_t>(slot) + 1, table.begin() + static_cast<std::ptrdiff_t>(count),
              table.begin() + static_cast<std::ptrdiff_t>(slot));
    table[count - 1].clear();
    record_.constantCount = static_cast<std::int32_t>(count - 1);
}

}  // namespace zl
