#pragma once
// The arguments of one subcommand: positional words and "--name value" options.

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "cli/cli_commands.h"

namespace zl::cli {

class CommandArguments {
public:
    /// Splits `args` into positionals and options; every option named in
    /// `valueOptions` takes the next word as its value. Anything else that
    /// starts with "--" is an error.
    static std::optional<CommandArguments> parse(const Arguments &args, const std::set<std::string> &valueOptions,
                                                 std::string &error);

    const std::vector<std::string> &positionals() const { return positionals_; }
    std::optional<std::string> option(const std::string &name) const;

private:
    std::vector<std::string> positionals_;
    std::map<std::string, std::string> options_;
};

/// Reads a whole decimal number for an option such as --seeds; nothing when
/// the text is not an integer within [minimum, maximum].
std::optional<long long> parseIntegerOption(const std::string &text, long long minimum, long long maximum);

}  // namespace zl::cli
