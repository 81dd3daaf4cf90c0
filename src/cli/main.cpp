// zerolith-cli: the headless front end over the core.

#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_commands.h"

int main(int argc, char **argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return zl::cli::runCommandLine(args, std::cout, std::cerr);
}
