#include "core/files/file_line_fields.h"

#include "core/numbers/number_reading.h"

namespace zl {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t skipDigits(std::string_view text, std::size_t at) {
    while (at < text.size() && isDigit(text[at])) ++at;
    return at;
}

std::size_t nextComma(std::string_view text, std::size_t from) {
    const auto comma = text.find(',', from);
    return comma == std::string_view::npos ? text.size() : comma;
}

}  // namespace

bool isFileNumberText(std::string_view text) {
    std::size_t at = 0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
    const auto integerEnd = skipDigits(text, at);
    bool hasDigits = integerEnd > at;
    at = integerEnd;
    if (at < text.size() && text[at] == '.') {
        const auto fractionEnd = skipDigits(text, at + 1);
        hasDigits = hasDigits || fractionEnd > at + 1;
        at = fractionEnd;
    }
    if (!hasDigits) return false;
    if (at < text.size() && (text[at] == 'E' || text[at] == 'e')) {
        ++at;
        if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
        const auto exponentEnd = skipDigits(text, at);
        if (exponentEnd == at) return false;
        at = exponentEnd;
    }
    return at == text.size();
}

void LineFields::skipSpaces() {
    while (position_ < line_.size() && line_[position_] == ' ') ++position_;
}

void LineFields::finishField(std::size_t fieldEnd) {
    position_ = fieldEnd;
    fieldPending_ = position_ < line_.size();  // a comma: another field follows
    if (fieldPending_) ++position_;
}

TextField LineFields::nextText() {
    if (!fieldPending_) return {FieldStatus::Missing, {}};
    skipSpaces();
    if (position_ < line_.size() && line_[position_] == '"') {
        const auto closing = line_.find('"', position_ + 1);
        if (closing == std::string_view::npos) return {FieldStatus::UnclosedQuote, {}};
        TextField field{FieldStatus::Ok, std::string(line_.substr(position_ + 1, closing - position_ - 1))};
        finishField(nextComma(line_, closing + 1));
        return field;
    }
    const auto end = nextComma(line_, position_);
    TextField field{FieldStatus::Ok, std::string(line_.substr(position_, end - position_))};
    finishField(end);
    return field;
}

NumberField LineFields::nextNumber() {
    if (!fieldPending_) return {FieldStatus::Missing, 0, {}};
    skipSpaces();
    const auto end = nextComma(line_, position_);
    NumberField field;
    field.fieldText = std::string(line_.substr(position_, end - position_));
    finishField(end);

    const auto blank = field.fieldText.find(' ');
    const std::string_view number = std::string_view(field.fieldText).substr(0, blank);
    const bool onlySpacesAfter =
        blank == std::string::npos || field.fieldText.find_first_not_of(' ', blank) == std::string::npos;
    if (!isFileNumberText(number) || !onlySpacesAfter) {
        field.status = FieldStatus::NotANumber;
        return field;
    }
    field.value = readLeadingNumber(number);
    return field;
}

}  // namespace zl
