// zerolith-cli explore, random, list and report, driven through runCommandLine
// on problem files written into a temporary folder.

#include <tuple>

#include "cli_test_support.h"

namespace zl::cli {
namespace {

using testing::Outcome;
using testing::readBytes;
using testing::runCli;

std::string example(const std::string &name) { return std::string(ZEROLITH_SOURCE_DIR) + "/examples/" + name; }

using SolveCommands = testing::CliFolderTest;

const char *const kCircleAndLine =
    "Rootex\r\n2,1,0.001,8\r\n\"x\",-5,5,10,\"x^2+y^2=k\"\r\n\"y\",-5,5,10,\"x=y\"\r\n 1 \r\nk=2\r\n 1 \r\n 1 \r\n";

// The last file has a constant that makes one stored solution fail: list
// still succeeds, and the file saved keeps both solutions.
TEST_F(SolveCommands, ListSaveWritesAFileOfOursBackByteForByte) {
    for (const std::string &file :
         {example("circle_and_line.zerolith"), example("two_parabolas.zerolith"), example("three_variables.zerolith"),
          write("p.zerolith",
                "Rootex\r\n1,2,0.001,8\r\n\"x\",0,10,10,\"Log(x-k)=0\"\r\n 1 \r\nk=5\r\n 1 \r\n 6 \r\n")}) {
        const Outcome outcome = runCli({"list", file, "--save", path("out")});
        EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
        EXPECT_EQ(readBytes(path("out")), readBytes(file)) << file;
    }
}

TEST_F(SolveCommands, RandomWithAFixedSeedRepeatsItself) {
    const auto random = [](const char *seed) {
        return runCli({"random", example("default.zerolith"), "--seeds", "5", "--rng-seed", seed});
    };
    const Outcome first = random("42");
    ASSERT_EQ(first.exitCode, 0) << first.err;
    EXPECT_EQ(random("42").out, first.out);
    EXPECT_NE(random("43").out, first.out);
    EXPECT_NE(first.out.find("TRIAL5:\n"), std::string::npos);  // --seeds reaches the run
    EXPECT_EQ(first.out.find("TRIAL6"), std::string::npos);
}

TEST_F(SolveCommands, ReportPrintsTheLayoutAtTheGivenWidth) {
    const Outcome outcome = runCli({"report", write("p.zerolith", kCircleAndLine), "--width", "5"});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_NE(outcome.out.find("ORDER: 2 \nVARIABLES:\nx,y\n\n\nCONSTANTS:\nk=2\n\n"), std::string::npos);
    EXPECT_NE(outcome.out.find("EQUATION # 1 :\nx^2+y\n^2=k\n"), std::string::npos) << outcome.out;
    EXPECT_NE(outcome.out.find("SET # 1 :\nx=  1 " + std::string(34, ' ') + "EQUATION # 1 =  0 \n"), std::string::npos);
}

// Reported once, though every node would fail the same way.
TEST_F(SolveCommands, AScriptErrorEndsTheRunWithExitOne) {
    const Outcome outcome =
        runCli({"explore", write("p.zerolith", "Rootex\r\n1,0,0.01,8\r\n\"x\",-1,1,4,\"x+*2=0\"\r\n 0 \r\n")});
    EXPECT_EQ(std::tie(outcome.exitCode, outcome.out, outcome.err),
              std::tuple(1, "0 solutions\n",
                         "zerolith-cli: Error in Script Control\nZerolith script compilation error 1002\n"
                         "Syntax error\n\nAt line 1, col 2: [x+*2-(0)]\n"));
}

// The bound on the grid's node count: 11 x 11 nodes are refused under a
// bound of 120 before anything runs, and run under a bound of 121.
TEST_F(SolveCommands, ExploreRefusesAGridAboveItsNodeBound) {
    const std::string file = write("p.zerolith", kCircleAndLine);
    const Outcome refused = runCli({"explore", file, "--max-nodes", "120"});
    EXPECT_EQ(std::tie(refused.exitCode, refused.out, refused.err),
              std::tuple(2, "",
                         "zerolith-cli: the grid has 121 nodes, more than the 120 Explore takes on; use fewer "
                         "subintervals or raise the bound with --max-nodes N\n"));
    const Outcome allowed = runCli({"explore", file, "--max-nodes", "121"});
    EXPECT_EQ(allowed.exitCode, 0) << allowed.err;
    EXPECT_TRUE(allowed.out.ends_with("\n2 solutions\n")) << allowed.out;
}

TEST_F(SolveCommands, BadInputSaysWhatIsWrongAndExitsTwo) {
    const char *const good = kCircleAndLine;
    // Each row: its name, the arguments ("@" for the file written from the
    // content), the content, and a part of what stderr must say.
    const std::tuple<const char *, Arguments, const char *, const char *> rows[] = {
        {"LowerCaseMagic", {"list", "@"}, "rootex\r\n", "bad.zerolith: Incompatible file"},
        {"TextBound", {"explore", "@"}, "Rootex\r\n2,1,x,8\r\n", "bad.zerolith:2: the error bound must be a number"},
        {"MissingFile", {"explore", "/nonexistent/zerolith.file"}, "", "/nonexistent/zerolith.file"},
        {"NoFile", {"explore"}, "", "explore takes one problem file"},
        {"TwoFiles", {"list", "@", "@"}, good, "list takes one problem file"},
        {"UnknownOption", {"explore", "@", "--fast"}, good, "unknown option --fast"},
        {"NoSeeds", {"random", "@"}, good, "--seeds"},
        {"ZeroSeeds", {"random", "@", "--seeds", "0"}, good, "--seeds"},
        {"TextSeeds", {"random", "@", "--seeds", "many"}, good, "--seeds"},
        {"NegativeRngSeed", {"random", "@", "--seeds", "2", "--rng-seed", "-1"}, good, "--rng-seed"},
        {"NegativeTimeout", {"random", "@", "--seeds", "2", "--timeout", "-1"}, good, "--timeout"},
        {"ZeroMaxNodes", {"explore", "@", "--max-nodes", "0"}, good, "--max-nodes"},
        {"TextMaxNodes", {"explore", "@", "--max-nodes", "1e9"}, good, "--max-nodes"},
        {"WidthZero", {"report", "@", "--width", "0"}, good, "--width"},
        {"SaveIntoMissingFolder", {"list", "@", "--save", "/nonexistent/dir/out"}, good, "/nonexistent/dir/out"},
    };
    for (const auto &[name, rowArgs, content, errorText] : rows) {
        Arguments args = rowArgs;
        for (std::string &word : args)
            if (word == "@") word = write("bad.zerolith", content);
        const Outcome outcome = runCli(args);
        EXPECT_EQ(outcome.exitCode, 2) << name;
        EXPECT_NE(outcome.err.find(errorText), std::string::npos) << name << ": " << outcome.err;
        EXPECT_EQ(outcome.err.rfind("zerolith-cli: ", 0), 0u) << name << ": " << outcome.err;
    }
}

}  // namespace
}  // namespace zl::cli
