// zerolith-cli: the headless front end over the core.

#include <unistd.h>

#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_commands.h"
#include "cli/terminal_text.h"

int main(int argc, char **argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    // Messages reach the terminal with their control characters made visible;
    // so does the output when it goes to a terminal (a file keeps its bytes).
    zl::cli::VisibleControlsBuffer visibleErrors(*std::cerr.rdbuf());
    std::ostream err(&visibleErrors);
    std::optional<zl::cli::VisibleControlsBuffer> visibleOutput;
    if (::isatty(STDOUT_FILENO)) visibleOutput.emplace(*std::cout.rdbuf());
    std::ostream out(visibleOutput ? &*visibleOutput : std::cout.rdbuf());
    return zl::cli::runCommandLine(args, out, err);
}
