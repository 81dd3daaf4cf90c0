#pragma once
// Which plane of a problem a plot shows, what its title says, and which of
// the stored solutions lie in it.

#include <string>
#include <vector>

#include "core/plot/plane_slice.h"
#include "core/problem/problem_state.h"

namespace zl {

/// The two axis variables, and the stored solution (1-based) at whose values
/// the other variables stay; 0 for the centre of the search box.
struct SliceChoice {
    int xVariable = 0;
    int yVariable = 1;
    int solution = 0;
};

/// The plane of `choice`. A one-variable problem gives a slice with only x.
PlaneSlice planeThrough(const ProblemState &problem, const SliceChoice &choice);

/// What the title of a slice of three or more variables says: the point it
/// passes through and the fixed variables' values, such as
/// "Slice through solution 2: z = 0.57735". Empty when no variable is fixed.
std::string sliceTitle(const ProblemState &problem, const PlaneSlice &slice, int solution);

struct PlottedRoot {
    int solution = 0;  ///< 1-based, as the list numbers it
    PlanePoint at;     ///< y is 0 for a one-variable problem (the zero line)
};

/// The stored solutions that lie in the plane: each fixed variable within
/// maxError of the plane's value (the duplicate test of the solution list).
std::vector<PlottedRoot> rootsInPlane(const ProblemState &problem, const PlaneSlice &slice);

}  // namespace zl
