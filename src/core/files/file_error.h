#pragma once
// What can go wrong with a problem file, as numbered errors with one message each.

#include <cstdint>
#include <string>

namespace zl {

enum class FileErrorCode : std::int32_t {
    CannotOpen = 1,         ///< a missing file, a folder, a device
    Incompatible = 2,       ///< first field "rootex" or anything but "Rootex"
    EarlyEnd = 3,           ///< the file stops before the last solution value
    MissingField = 4,       ///< "2,1,0.001" as the header
    NotANumber = 5,         ///< "2,x,0.001,8" as the header
    ExtraField = 6,         ///< "2,1,0.001,8,9" as the header
    UnclosedQuote = 7,      ///< "\"x,-5,5,10,x=y" as a variable record
    OutOfRange = 8,         ///< order 0, 101 solutions, a count of -1
    LineTooLong = 9,        ///< a line of more than kMaxFileLineLength characters
    FileTooLarge = 10,      ///< more than kMaxFileBytes read before the last value
    UnwritableText = 11,    ///< a name holding a double quote, a constant holding a comma
    UnwritableNumber = 12,  ///< an upper limit of 1E+400, 3E+10 subintervals
    InvalidProblem = 13,    ///< no variables, or more solutions or constants than a file holds
    WriteFailed = 14,       ///< a missing folder, a full disk, a device or FIFO as the target
};

/// One file error: its number, the 1-based line it concerns (0 for none) and
/// the whole message for the user, line included.
struct FileError {
    FileErrorCode code = FileErrorCode::CannotOpen;
    std::int32_t line = 0;
    std::string message;
};

/// "Line 3: " followed by `detail`, or `detail` alone for line 0.
FileError makeFileError(FileErrorCode code, std::int32_t line, const std::string &detail);

/// The short title of each error number ("Incompatible file" for Incompatible).
const char *fileErrorTitle(FileErrorCode code);

}  // namespace zl
