#include "core/problem/user_constants.h"

#include <gtest/gtest.h>

namespace zl {
namespace {

using Items = std::vector<std::string>;
using Result = ConstantAddResult;

/// A constants list and a record whose table holds the last `tableCount` items.
struct Constants {
    explicit Constants(Items items = {}, int tableCount = -1) : list(std::move(items)) {
        const int count = tableCount < 0 ? static_cast<int>(list.size()) : tableCount;
        std::copy(list.end() - count, list.end(), record.constants.begin());
        record.constantCount = count;
    }
    Items table() const { return Items(record.constants.begin(), record.constants.begin() + record.constantCount); }

    Items list;
    ProblemSpec record;
    UserConstants constants{list, record};
};

TEST(UserConstants, AddAcceptsOnlyALetterThenLettersOrDigitsBeforeTheFirstEquals) {
    const std::pair<const char *, Result> cases[] = {
        {"a=2.37", Result::Added}, {"a1=5", Result::Added},    {"Zz9=x=y", Result::Added}, {"b=2*pi", Result::Added},
        {"1a=5", Result::Refused}, {"a_b=5", Result::Refused}, {"a =5", Result::Refused},  {" a=5", Result::Refused},
        {"=5", Result::Refused},   {"a5", Result::Refused},    {"", Result::Refused},      {"\xE9=1", Result::Refused}};
    for (const auto &[text, expected] : cases) {
        Constants c;
        EXPECT_EQ(c.constants.add(text), expected) << text;
        EXPECT_EQ(c.list, expected == Result::Added ? Items{text} : Items{}) << text;
        EXPECT_EQ(c.table(), c.list) << text;
    }
}

TEST(UserConstants, ANewValueReplacesTheFirstSameNamedConstantCaseSensitively) {
    Constants c({"a=2.37", "b=1", "A=7", "a=0"});
    EXPECT_EQ(c.constants.add("a=3"), Result::Added);
    EXPECT_EQ(c.list, (Items{"b=1", "A=7", "a=0", "a=3"}));
    EXPECT_EQ(c.table(), c.list);
    EXPECT_EQ(c.record.constants[4], "");  // the freed slot is cleared
}

TEST(UserConstants, AFullTableRefusesANewNameButTakesAReplacement) {
    Items items;
    for (int k = 0; k < kConstantSlots; ++k) items.push_back("c" + std::to_string(k) + "=1");
    Constants c(items);
    EXPECT_EQ(c.constants.add("extra=1"), Result::TableFull);
    EXPECT_EQ(c.list, items);
    EXPECT_EQ(c.constants.add("c0=2"), Result::Added);
    EXPECT_EQ(c.list.back(), "c0=2");
    EXPECT_EQ(c.table(), c.list);
}

TEST(UserConstants, RemoveReturnsTheStatementThatSetsTheNameToZero) {
    const std::pair<const char *, std::optional<std::string>> cases[] = {
        {"a=2.37", "a=0"},          {"a=b=c", "a=0"},     {"a =5", "a =0"},
        {"noequals", std::nullopt}, {"=5", std::nullopt}, {"  =5", std::nullopt}};
    for (const auto &[item, statement] : cases) {
        Constants c({"first=1", item});
        const auto removal = c.constants.remove(1);
        EXPECT_TRUE(removal.removed);
        EXPECT_EQ(removal.engineStatement, statement) << item;
        EXPECT_EQ(c.list, Items{"first=1"});
        EXPECT_EQ(c.table(), c.list);
    }
    Constants c({"a=1"});
    for (int index : {-1, 1}) EXPECT_FALSE(c.constants.remove(index).removed);
    EXPECT_EQ(c.table(), Items{"a=1"});
}

// After Open the list holds the constants typed before the file in front of
// the file's ones; only the file's are in the table.
TEST(UserConstants, AfterOpenTheTableStaysTheTailOfTheList) {
    Constants c({"a=1", "p=5", "k=2", "a=9"}, 2);
    EXPECT_TRUE(c.constants.remove(1).removed);
    EXPECT_EQ(c.table(), (Items{"k=2", "a=9"}));
    EXPECT_TRUE(c.constants.remove(2).removed);
    EXPECT_EQ(c.table(), Items{"k=2"});
    EXPECT_EQ(c.constants.add("a=3"), Result::Added);  // replaces the typed a=1
    EXPECT_EQ(c.list, (Items{"k=2", "a=3"}));
    EXPECT_EQ(c.table(), (Items{"k=2", "a=3"}));
}

}  // namespace
}  // namespace zl
