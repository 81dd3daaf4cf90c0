#pragma once
// Names for the rows of parameterised tests, so that ctest and the test log
// show which row ran ("3_x_2" rather than a dump of the row's bytes).

#include <string>
#include <string_view>

namespace zl::testing {

/// The row's index, then the letters and digits of `text` with every other
/// run of characters written as one "_"; at most 40 characters of it.
inline std::string rowName(std::string_view text, std::size_t index) {
    std::string name;
    for (char c : text) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
            name.push_back(c);
        else if (!name.empty() && name.back() != '_')
            name.push_back('_');
        if (name.size() >= 40) break;
    }
    return std::to_string(index) + "_" + name;
}

}  // namespace zl::testing
