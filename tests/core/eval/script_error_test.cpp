#include "core/eval/script_error.h"

#include <gtest/gtest.h>

#include <set>

#include "core/eval/script_error_catalogue.h"

namespace zl {
namespace {

TEST(ScriptErrorCatalogue, EveryNumberHasOneMessageAndEveryMessageItsNumber) {
    std::set<std::int32_t> numbers;
    std::set<std::string_view> messages;
    for (const ScriptErrorEntry &entry : kScriptErrorCatalogue) {
        const std::int32_t number = errorNumber(entry.code);
        EXPECT_TRUE(numbers.insert(number).second) << entry.name << ": number " << number << " listed twice";
        EXPECT_TRUE(messages.insert(entry.message).second) << entry.name << ": message listed twice";
        EXPECT_FALSE(entry.message.empty()) << entry.name;
        EXPECT_EQ(errorDescription(number), entry.message) << entry.name;
    }
    EXPECT_EQ(errorDescription(0), kUnknownErrorDescription);
    EXPECT_EQ(errorDescription(12), kUnknownErrorDescription);
    EXPECT_FALSE(messages.contains(kUnknownErrorDescription));
}

TEST(ScriptErrorMessage, LaysOutTheErrorBoxWithBareCarriageReturns) {
    const ScriptError error{1002, "Microsoft VBScript compilation error", "Syntax error", 1, 2, "x+*2"};
    EXPECT_EQ(scriptErrorMessage(error),
              "Microsoft VBScript compilation error 1002\rSyntax error\r\rAt line 1, col 2: [x+*2]");
}

}  // namespace
}  // namespace zl
