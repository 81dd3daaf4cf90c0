#pragma once
// The user constants: the window's constants list (the items the engine runs,
// in order) and the record's table of at most 101 "name=value" lines.
//
// The table normally mirrors the list item for item. After Open the list may
// also hold constants typed before the file was opened, in front of the file's
// ones; the table then mirrors the tail of the list. Every operation keeps
// that shape, so it never removes a table entry that is not the list item
// concerned, and 0 <= constantCount <= 101 holds whatever happens.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/problem/problem_record.h"

namespace zl {

enum class ConstantAddResult {
    Added,      ///< the text was stored; the window clears the box
    Refused,    ///< no "=" or not a valid name before it; the text stays in the box
    TableFull,  ///< 101 constants are held and none has this name
};

struct ConstantRemoval {
    bool removed = false;  ///< false when the index names no item
    /// The statement that leaves the removed name defined as 0 in the engine
    /// ("a=" followed by "0"); none for an item without a name before an "=".
    std::optional<std::string> engineStatement;
};

class UserConstants {
public:
    UserConstants(std::vector<std::string> &listItems, ProblemSpec &record) : listItems_(listItems), record_(record) {}

    /// Stores `text` ("name=value") at the end of the list and the table. An
    /// item with the same name (exact, case-sensitive; the first one only) is
    /// removed first, so a new value replaces the old one.
    [[nodiscard]] ConstantAddResult add(std::string_view text);

    /// Removes list item `index` and its table entry.
    [[nodiscard]] ConstantRemoval remove(int index);

    /// The text before the first "=", or nothing when there is no "=".
    static std::optional<std::string_view> namePart(std::string_view constant);

    /// First character an ASCII letter, then ASCII letters and digits only.
    static bool isValidName(std::string_view name);

private:
    void keepCountInRange();
    /// Number of list items in front of the ones the table mirrors.
    std::size_t unmirroredCount() const;
    std::optional<std::size_t> findFirstItemNamed(std::string_view name) const;
    void removeItem(std::size_t index);
    void removeTableEntry(std::size_t slot);

    std::vector<std::string> &listItems_;
    ProblemSpec &record_;
};

}  // namespace zl
