// zerolith-cli eval and the command dispatcher, driven through runCommandLine.

#include <gtest/gtest.h>

#include <tuple>

#include "cli_test_support.h"

namespace zl::cli {
namespace {

using testing::runCli;

TEST(EvalCommand, PrintsTheValueOrTheError) {
    const std::tuple<Arguments, int, std::string, std::string> rows[] = {
        {{"eval", "Asin(1)"}, 0, "1.5707963267949\n", ""},
        {{"eval", "1/0"}, 1, "", "error 11: Division by zero\n"},
        {{"eval", "--exec", "a=1", "--exec", "b=a+1", "a+b"}, 0, "3\n", ""},
        {{"eval", "--", "-2^2"}, 0, "-4\n", ""},
        {{"eval", "-2^2"}, 0, "-4\n", ""},
        {{"eval", "Acosh(0.5)"}, 1, "", "error 5: Invalid procedure call or argument\n"},
        {{"eval", "--exec", "c = Atanh(1)", "c"}, 0, "0\n", ""},  // a statement's library failure is not the value's
        {{"eval", "--exec", "sin = 1", "1"}, 1, "", "error 501: Illegal assignment\n"},
        {{"eval"}, 2, "", "zerolith-cli: eval: no expression given\n"},
        {{"eval", "--exec"}, 2, "", "zerolith-cli: eval: --exec needs a statement\n"},
        {{"eval", "1", "2"}, 2, "", "zerolith-cli: eval: more than one expression given ('1', '2')\n"},
        {{}, 2, "", "zerolith-cli: no command given (try --help)\n"},
        {{"evaluate", "1"}, 2, "", "zerolith-cli: unknown command 'evaluate' (try --help)\n"},
        {{"eval", "--exec", "q = 5", "q"}, 0, "5\n", ""},
        {{"eval", "q"}, 1, "", "error 500: Variable is undefined\n"},  // each eval starts from a fresh engine
    };
    for (const auto &[args, exitCode, out, err] : rows) {
        const testing::Outcome outcome = runCli(args);
        EXPECT_EQ(std::tie(outcome.exitCode, outcome.out, outcome.err), std::tie(exitCode, out, err))
            << ::testing::PrintToString(args);
    }
}

}  // namespace
}  // namespace zl::cli
