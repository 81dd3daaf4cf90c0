#pragma once
// Save and Open of a problem: from the window's fields and the record to a
// file, and from a file read in full back into the record.

#include <optional>
#include <string>
#include <vector>

#include "core/files/file_error.h"
#include "core/files/problem_file_data.h"
#include "core/problem/problem_field_texts.h"
#include "core/problem/problem_state.h"

namespace zl {

/// What Save writes: the numeric reading of each numeric field (so "12abc"
/// saves as 12 and "" as 0) and each equation's text; the names and the
/// solutions from the record; the constants-list items in list order. The
/// record's order decides how many variable records there are.
ProblemFileData problemFileDataToSave(const ProblemState &problem, const ProblemFieldTexts &fields,
                                      const std::vector<std::string> &constantItems);

/// Writes `data` to `path` through a temporary file, so a failed save keeps
/// the former file. Content that would not read back as it stands is refused
/// before anything is written.
[[nodiscard]] std::optional<FileError> saveProblemFile(const std::string &path, const ProblemFileData &data);

/// Fills the record from a file read in full, as Open does: sizes the problem,
/// then names, equations and their residuals, limits, subintervals, the error
/// bound and iteration limit, the constants table and the stored solutions.
/// Leaves fileName, loadingFile and the random seeds alone. Data beyond the
/// record's limits is refused with InvalidProblem and nothing is changed.
[[nodiscard]] std::optional<FileError> applyProblemFile(const ProblemFileData &data, ProblemState &problem);

}  // namespace zl
