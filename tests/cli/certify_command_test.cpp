// zerolith-cli certify, and the certify options of explore and list, driven
// through runCommandLine on problem files written into a temporary folder.

#include <gmock/gmock.h>

#include <tuple>

#include "cli_test_support.h"

namespace zl::cli {
namespace {

using testing::CliFolderTest;
using testing::Outcome;
using testing::runCli;

using CertifyCommand = CliFolderTest;

const char *const kCircleAndLine =
    "Rootex\r\n2,0,1E-10,8\r\n\"x\",-5,5,10,\"x^2+y^2=k\"\r\n\"y\",-5,5,10,\"x=y\"\r\n 1 \r\nk=2\r\n";

TEST_F(CertifyCommand, PrintsTheProvedRootsTheSummaryAndTheCount) {
    const Outcome outcome =
        runCli({"certify", write("p.zerolith", kCircleAndLine), "--threads", "3", "--timeout", "600"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_THAT(outcome.out,
                ::testing::EndsWith("y=1                           EQUATION #2=0\n\n"
                                    "ALL SOLUTIONS IN THE BOX FOUND: 2, each proved unique\n2 solutions\n"));
}

TEST_F(CertifyCommand, InsideBoxAndProofLinesOnExploreAndList) {
    const std::string saved = path("saved.zerolith");
    const Outcome explore = runCli(
        {"explore", write("p.zerolith", kCircleAndLine), "--inside-box", "--certify", "--quiet", "--save", saved});
    const Outcome list = runCli({"list", saved, "--certify"});
    EXPECT_EQ(std::tie(explore.exitCode, explore.err, list.exitCode, list.err), std::tuple(0, "", 0, ""));
    EXPECT_THAT(
        explore.out,
        ::testing::EndsWith("PROVED UNIQUE WITHIN 0.5\n\nPROBLEMS ENCOUNTERED:\n-POSSIBLE INCONSISTENCE PROBLEMS.\n"
                            "OUTSIDE THE BOX, NOT STORED: 0 converged points.\n2 solutions\n"));
    EXPECT_THAT(
        list.out,
        ::testing::EndsWith("y=1                           EQUATION #2=0\nPROVED UNIQUE WITHIN 0.5\n\n2 solutions\n"));
}

TEST_F(CertifyCommand, RefusesBadOptions) {
    const std::string file = write("p.zerolith", kCircleAndLine);
    for (const Arguments &args :
         {Arguments{"certify", file, "--min-width", "0"}, Arguments{"certify", file, "--min-width", "tiny"},
          Arguments{"certify", file, "--threads", "0"}, Arguments{"certify"}}) {
        const Outcome outcome = runCli(args);
        EXPECT_EQ(std::tie(outcome.exitCode, outcome.out), std::tuple(2, "")) << ::testing::PrintToString(args);
        EXPECT_THAT(outcome.err, ::testing::StartsWith("zerolith-cli: "));
    }
}

}  // namespace
}  // namespace zl::cli
