#include "core/files/file_error.h"

namespace zl {

FileError makeFileError(FileErrorCode code, std::int32_t line, const std::string &detail) {
    FileError error;
    error.code = code;
    error.line = line;
    error.message = line > 0 ? "Line " + std::to_string(line) + ": " + detail : detail;
    return error;
}

const char *fileErrorTitle(FileErrorCode code) {
    switch (code) {
    case FileErrorCode::CannotOpen:
        return "Cannot open the file";
    case FileErrorCode::Incompatible:
        return "Incompatible file";
    case FileErrorCode::EarlyEnd:
        return "The file ends early";
    case FileErrorCode::MissingField:
        return "A field is missing";
    case FileErrorCode::NotANumber:
        return "A number is expected";
    case FileErrorCode::ExtraField:
        return "Unexpected text";
    case FileErrorCode::UnclosedQuote:
        return "A quoted text is not closed";
    case FileErrorCode::OutOfRange:
        return "A value is out of range";
    case FileErrorCode::LineTooLong:
        return "A line is too long";
    case FileErrorCode::FileTooLarge:
        return "The file is too large";
    case FileErrorCode::UnwritableText:
        return "A text cannot be saved";
    case FileErrorCode::UnwritableNumber:
        return "A number cannot be saved";
    case FileErrorCode::InvalidProblem:
        return "The problem cannot be saved";
    case FileErrorCode::WriteFailed:
        return "The file could not be written";
    }
    return "Unknown file error";
}

}  // namespace zl
