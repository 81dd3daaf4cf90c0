#include "core/problem/matrix.h"

#include <algorithm>

namespace zl {

void Matrix::swapRows(int a, int b) {
    if (a == b) return;
    std::swap_ranges(row(a), row(a) + columnCount_, row(b));
}

}  // namespace zl
