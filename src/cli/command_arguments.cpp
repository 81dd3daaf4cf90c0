#include "cli/command_arguments.h"

#include <charconv>

namespace zl::cli {

std::optional<CommandArguments> CommandArguments::parse(const Arguments &args,
                                                        const std::set<std::string> &valueOptions, std::string &error,
                                                        const std::set<std::string> &flags) {
    CommandArguments parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &word = args[i];
        if (word.size() < 2 || word.compare(0, 2, "--") != 0) {
            parsed.positionals_.push_back(word);
            continue;
        }
        if (flags.count(word)) {
            parsed.flags_.insert(word);
            continue;
        }
        if (!valueOptions.count(word)) {
            error = "unknown option " + word;
            return std::nullopt;
        }
        if (i + 1 >= args.size()) {
            error = word + " needs a value";
            return std::nullopt;
        }
        parsed.options_[word] = args[++i];
    }
    return parsed;
}

std::optional<std::string> CommandArguments::option(const std::string &name) const {
    const auto found = options_.find(name);
    if (found == options_.end()) return std::nullopt;
    return found->second;
}

std::optional<long long> parseIntegerOption(const std::string &text, long long minimum, long long maximum) {
    long long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < minimum || value > maximum)
        return std::nullopt;
    return value;
}

std::optional<double> parsePositiveNumberOption(const std::string &text, double maximum) {
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    if (ec != std::errc() || end != text.data() + text.size() || !(value > 0) || value > maximum) return std::nullopt;
    return value;
}

}  // namespace zl::cli
