#pragma once
// The fields of one problem-file line, read by the file's text rules:
// fields end at commas and at the line end; spaces before a field are
// skipped; a field that starts with a double quote is the text up to the next
// double quote, and whatever follows it up to the comma is skipped; any other
// text field runs to the comma; a number field is one number (.5, -.25, 1E-06,
// 2.5E+20) that only spaces may follow.

#include <cstddef>
#include <string>
#include <string_view>

namespace zl {

enum class FieldStatus {
    Ok,
    Missing,        ///< the line has no field left
    UnclosedQuote,  ///< a quoted text with no closing quote on the line
    NotANumber,     ///< a number is due and the field is something else
};

struct TextField {
    FieldStatus status = FieldStatus::Ok;
    std::string text;
};

struct NumberField {
    FieldStatus status = FieldStatus::Ok;
    double value = 0;       ///< may be infinite for a number beyond the double range
    std::string fieldText;  ///< the field as it stands, for messages
};

class LineFields {
public:
    explicit LineFields(std::string_view line) : line_(line) {}

    TextField nextText();
    NumberField nextNumber();

    /// True while the line holds a field not read yet (also an empty one after a comma).
    bool hasMoreFields() const { return fieldPending_; }

private:
    void skipSpaces();
    /// Moves past the comma that ends a field, or to the line end.
    void finishField(std::size_t fieldEnd);

    std::string_view line_;
    std::size_t position_ = 0;
    bool fieldPending_ = true;  // every line, even an empty one, starts with a field
};

/// True when the whole text is one number of the file's form, without blanks.
bool isFileNumberText(std::string_view text);

}  // namespace zl
