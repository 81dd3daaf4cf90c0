#include "core/problem/user_constants.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zl {
namespace {

using Items = std::vector<std::string>;

/// The table's slots in use, for comparison with the list.
Items tableOf(const ProblemSpec &spec) {
    return Items(spec.constants.begin(), spec.constants.begin() + spec.constantCount);
}

struct Constants {
    Items list;
    ProblemSpec spec;
    UserConstants constants{list, spec};

    void addAll(const Items &texts) {
        for (const auto &text : texts) ASSERT_EQ(constants.add(text), ConstantAddResult::Added) << text;
    }
};

struct AddCase {
    const char *text;
    ConstantAddResult expected;
};

class ConstantAddTest : public testing::TestWithParam<AddCase> {};

TEST_P(ConstantAddTest, AcceptsOnlyLetterThenLettersOrDigitsBeforeTheFirstEquals) {
    Constants c;
    const auto result = c.constants.add(GetParam().text);
    EXPECT_EQ(result, GetParam().expected);
    const bool added = result == ConstantAddResult::Added;
    EXPECT_EQ(c.list, added ? Items{GetParam().text} : Items{});
    EXPECT_EQ(tableOf(c.spec), c.list);
}

INSTANTIATE_TEST_SUITE_P(Names, ConstantAddTest,
                         testing::Values(AddCase{"a=2.37", ConstantAddResult::Added},
                                         AddCase{"a1=5", ConstantAddResult::Added},
                                         AddCase{"Zz9=x=y", ConstantAddResult::Added},  // the first "=" splits
                                         AddCase{"b=2*pi", ConstantAddResult::Added},
                                         AddCase{"1a=5", ConstantAddResult::Refused},
                                         AddCase{"a_b=5", ConstantAddResult::Refused},
                                         AddCase{"a =5", ConstantAddResult::Refused},
                                         AddCase{" a=5", ConstantAddResult::Refused},
                                         AddCase{"=5", ConstantAddResult::Refused},
                                         AddCase{"a5", ConstantAddResult::Refused},
                                         AddCase{"\xE9t\xE9=1", ConstantAddResult::Refused},
                                         AddCase{"", ConstantAddResult::Refused}));

TEST(UserConstants, ANewValueReplacesTheFirstSameNamedConstantAndGoesToTheEnd) {
    Constants c;
    c.addAll({"a=2.37", "b=1", "A=7"});
    EXPECT_EQ(c.constants.add("a=3"), ConstantAddResult::Added);
    EXPECT_EQ(c.list, (Items{"b=1", "A=7", "a=3"}));
    EXPECT_EQ(tableOf(c.spec), c.list);
    EXPECT_EQ(c.spec.constants[3], "");  // the freed slot is cleared
}

TEST(UserConstants, NamesDifferingInCaseAreDifferentConstants) {
    Constants c;
    c.addAll({"a=2.37", "A=3"});
    EXPECT_EQ(c.list, (Items{"a=2.37", "A=3"}));
    EXPECT_EQ(c.spec.constantCount, 2);
}

TEST(UserConstants, AFullTableRefusesANewNameButStillTakesAReplacement) {
    Constants c;
    for (int k = 0; k < kConstantSlots; ++k) c.addAll({"c" + std::to_string(k) + "=1"});
    EXPECT_EQ(c.constants.add("extra=1"), ConstantAddResult::TableFull);
    EXPECT_EQ(c.spec.constantCount, kConstantSlots);
    EXPECT_EQ(c.list.size(), static_cast<std::size_t>(kConstantSlots));

    EXPECT_EQ(c.constants.add("c0=2"), ConstantAddResult::Added);
    EXPECT_EQ(c.spec.constantCount, kConstantSlots);
    EXPECT_EQ(c.list.back(), "c0=2");
    EXPECT_EQ(tableOf(c.spec), c.list);
}

struct RemoveCase {
    const char *item;
    std::optional<std::string> statement;
};

class ConstantRemoveTest : public testing::TestWithParam<RemoveCase> {};

TEST_P(ConstantRemoveTest, LeavesTheNameDefinedAsZero) {
    Constants c;
    c.list = {"first=1", GetParam().item};
    c.spec.constants[0] = "first=1";
    c.spec.constants[1] = GetParam().item;
    c.spec.constantCount = 2;

    const auto removal = c.constants.remove(1);
    EXPECT_TRUE(removal.removed);
    EXPECT_EQ(removal.engineStatement, GetParam().statement);
    EXPECT_EQ(c.list, Items{"first=1"});
    EXPECT_EQ(tableOf(c.spec), c.list);
}

INSTANTIATE_TEST_SUITE_P(Items, ConstantRemoveTest,
                         testing::Values(RemoveCase{"a=2.37", "a=0"},
                                         RemoveCase{"a=b=c", "a=0"},
                                         RemoveCase{"a =5", "a =0"},       // from a file: the engine takes it
                                         RemoveCase{"noequals", std::nullopt},
                                         RemoveCase{"=5", std::nullopt},
                                         RemoveCase{"  =5", std::nullopt}));

TEST(UserConstants, RemoveWithoutASelectionChangesNothing) {
    Constants c;
    c.addAll({"a=1"});
    for (int index : {-1, 1, 99}) {
        EXPECT_FALSE(c.constants.remove(index).removed) << index;
        EXPECT_EQ(c.list, Items{"a=1"});
        EXPECT_EQ(c.spec.constantCount, 1);
    }
}

// After Open the list holds the constants typed before the file in front of
// the file's ones, which alone are in the table.
class ConstantsAfterOpen : public testing::Test {
protected:
    void SetUp() override {
        c.list = {"a=1", "p=5", "k=2", "a=9"};
        c.spec.constants[0] = "k=2";
        c.spec.constants[1] = "a=9";
        c.spec.constantCount = 2;
    }
    Constants c;
};

TEST_F(ConstantsAfterOpen, RemovingAnEarlierItemLeavesTheTableAlone) {
    const auto removal = c.constants.remove(1);
    EXPECT_EQ(removal.engineStatement, "p=0");
    EXPECT_EQ(c.list, (Items{"a=1", "k=2", "a=9"}));
    EXPECT_EQ(tableOf(c.spec), (Items{"k=2", "a=9"}));
}

TEST_F(ConstantsAfterOpen, RemovingAFileConstantRemovesItsOwnTableEntry) {
    c.constants.remove(3);
    EXPECT_EQ(c.list, (Items{"a=1", "p=5", "k=2"}));
    EXPECT_EQ(tableOf(c.spec), Items{"k=2"});
}

TEST_F(ConstantsAfterOpen, ReplacingTheFirstSameNamedItemKeepsTheTableTheListsTail) {
    EXPECT_EQ(c.constants.add("a=3"), ConstantAddResult::Added);
    EXPECT_EQ(c.list, (Items{"p=5", "k=2", "a=9", "a=3"}));
    EXPECT_EQ(tableOf(c.spec), (Items{"k=2", "a=9", "a=3"}));

    EXPECT_EQ(c.constants.add("k=4"), ConstantAddResult::Added);
    EXPECT_EQ(c.list, (Items{"p=5", "a=9", "a=3", "k=4"}));
    EXPECT_EQ(tableOf(c.spec), (Items{"a=9", "a=3", "k=4"}));
}

TEST(UserConstants, ACountOutsideTheTableIsBroughtBackIntoRange) {
    Constants c;
    c.spec.constantCount = 500;
    EXPECT_EQ(c.constants.add("z=1"), ConstantAddResult::TableFull);
    EXPECT_EQ(c.spec.constantCount, kConstantSlots);
    c.spec.constantCount = -3;
    EXPECT_EQ(c.constants.add("z=1"), ConstantAddResult::Added);
    EXPECT_EQ(c.spec.constantCount, 1);
}

} // namespace
} // namespace zl
