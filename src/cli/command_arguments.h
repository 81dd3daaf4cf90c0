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
    /// `valueOptions` takes the next word as its value, one named in `flags`
    /// stands alone. Anything else that starts with "--" is an error.
    static std::optional<CommandArguments> parse(const Arguments &args, const std::set<std::string> &valueOptions,
                                                 std::string &error, const std::set<std::string> &flags = {});

    const std::vector<std::string> &positionals() const { return positionals_; }
    std::optional<std::string> option(const std::string &name) const;
    bool flag(const std::string &name) const { return flags_.count(name) != 0; }

private:
    std::vector<std::string> positionals_;
    std::map<std::string, std::string> options_;
    std::set<std::string> flags_;
};

/// Reads a whole decimal number for an option such as --seeds; nothing when
/// the text is not an integer within [minimum, maximum].
std::optional<long long> parseIntegerOption(const std::string &text, long long minimum, long long maximum);

/// Reads a decimal number such as "2.5" for an option such as --timeout;
/// nothing when the text is not one greater than 0 and at most `maximum`.
std::optional<double> parsePositiveNumberOption(const std::string &text, double maximum);

}  // namespace zl::cli
