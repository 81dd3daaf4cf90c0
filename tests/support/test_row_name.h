#pragma once
// Names for the rows of parameterised tests, so that ctest and the test log
// show which row ran ("3_x_2" rather than a dump of the row's bytes).

#include <sstream>
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

/// rowName of a number as a stream writes it ("2.5", "1e+300").
inline std::string rowName(double value, std::size_t index) {
    std::ostringstream text;
    text << value;
    return rowName(text.str(), index);
}

}  // namespace zl::testing
