#include "core/certify/certify_lines.h"

#include "core/numbers/number_text.h"

namespace zl {
namespace {

std::string upperCase(std::string_view text) {
    std::string result(text);
    for (char &c : result)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return result;
}

}  // namespace

std::string completeSearchLine(std::int64_t rootCount) {
    return "ALL SOLUTIONS IN THE BOX FOUND: " + std::to_string(rootCount) + ", each proved unique";
}

std::string incompleteSearchLine(std::int64_t rootCount, std::int64_t undecidedCount) {
    return "SEARCH NOT COMPLETE: " + std::to_string(rootCount) + " solutions proved unique, " +
           std::to_string(undecidedCount) + " boxes undecided";
}

std::string undecidedBoxLine(int number, const std::vector<std::string> &names, const Box &box) {
    std::string line = "UNDECIDED BOX " + std::to_string(number) + ":";
    for (std::size_t i = 0; i < box.size(); ++i) {
        line += ' ';
        line += i < names.size() ? names[i] : std::string();
        line += "=[" + generalNumberText(box[i].lo) + ", " + generalNumberText(box[i].hi) + "]";
    }
    return line;
}

std::string noIntervalFormLine(int equationNumber, std::string_view what) {
    return "NO INTERVAL FORM: EQUATION #" + std::to_string(equationNumber) + " USES " + upperCase(what) + ".";
}

std::string notListedLine(std::int64_t notListed) {
    return "MORE THAN 100 SOLUTIONS: " + std::to_string(notListed) + " MORE PROVED, NOT LISTED.";
}

std::string proofLine(const double *radius) {
    if (!radius) return "NOT PROVED";
    return "PROVED UNIQUE WITHIN " + generalNumberText(*radius);
}

}  // namespace zl
