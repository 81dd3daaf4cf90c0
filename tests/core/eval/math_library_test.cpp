// The math library's functions: values, the special cases at +-1 and the
// failures each records in both error numbers while returning 0.

#include <gtest/gtest.h>

#include <cmath>

#include "core/eval/math_library.h"
#include "script_session.h"

namespace zl {
namespace {

using zl::testing::relativelyClose;

using LibraryFunction = double (MathLibrary::*)(double);

struct LibraryRow {
    const char *name;
    LibraryFunction function;
    double argument;
    double value;  ///< expected when errorNumber is 0
    std::int32_t errorNumber;
};

constexpr double kHalfPi = 1.5707963267948966;

const LibraryRow kRows[] = {
    {"AsinOne", &MathLibrary::Asin, 1, kHalfPi, 0},
    {"AsinMinusOne", &MathLibrary::Asin, -1, -kHalfPi, 0},
    {"AsinHalf", &MathLibrary::Asin, 0.5, std::asin(0.5), 0},
    {"AsinJustAboveOne", &MathLibrary::Asin, 1.0000001, 0, 5},
    {"AsinMinusTwo", &MathLibrary::Asin, -2, 0, 5},
    {"AcosMinusOne", &MathLibrary::Acos, -1, 2 * kHalfPi, 0},
    {"AcosOne", &MathLibrary::Acos, 1, 0, 0},
    {"AcosZero", &MathLibrary::Acos, 0, kHalfPi, 0},
    {"AcosThird", &MathLibrary::Acos, 1.0 / 3, std::acos(1.0 / 3), 0},
    {"AcosTwo", &MathLibrary::Acos, 2, 0, 5},
    {"SinhOne", &MathLibrary::Sinh, 1, std::sinh(1.0), 0},
    {"Sinh709", &MathLibrary::Sinh, 709, std::sinh(709.0), 0},
    {"Sinh710", &MathLibrary::Sinh, 710, 0, 6},
    {"SinhMinus710", &MathLibrary::Sinh, -710, 0, 6},
    {"CoshMinusTwo", &MathLibrary::Cosh, -2, std::cosh(-2.0), 0},
    {"CoshMinus710", &MathLibrary::Cosh, -710, 0, 6},
    {"TanhHalf", &MathLibrary::Tanh, 0.5, std::tanh(0.5), 0},
    {"TanhMinus20", &MathLibrary::Tanh, -20, std::tanh(-20.0), 0},
    {"Tanh710", &MathLibrary::Tanh, 710, 0, 6},
    {"TanhMinus710", &MathLibrary::Tanh, -710, 0, 6},
    {"TanhMinus709_5", &MathLibrary::Tanh, -709.5, 0, 6},  // -2 exp(709.5) overflows
    {"AsinhMinusThree", &MathLibrary::Asinh, -3, std::asinh(-3.0), 0},
    {"AsinhLargeNegative", &MathLibrary::Asinh, -1e8, 0, 5},
    {"AsinhSquareOverflows", &MathLibrary::Asinh, 1e200, 0, 6},
    {"AcoshOne", &MathLibrary::Acosh, 1, 0, 0},
    {"AcoshTen", &MathLibrary::Acosh, 10, std::acosh(10.0), 0},
    {"AcoshHalf", &MathLibrary::Acosh, 0.5, 0, 5},
    {"AcoshMinusTwo", &MathLibrary::Acosh, -2, 0, 5},
    {"AcoshSquareOverflows", &MathLibrary::Acosh, -1e200, 0, 6},
    {"AtanhHalf", &MathLibrary::Atanh, 0.5, std::atanh(0.5), 0},
    {"AtanhOne", &MathLibrary::Atanh, 1, 0, 11},
    {"AtanhMinusOne", &MathLibrary::Atanh, -1, 0, 5},
    {"AtanhTwo", &MathLibrary::Atanh, 2, 0, 5},
};
// A failure sets both error numbers; a success leaves them as they were.
TEST(MathLibraryCall, ComputesOrRecordsItsFailure) {
    for (const LibraryRow &row : kRows) {
        MathLibrary library;
        library.halfpi = kHalfPi;
        library.ierr = 7;
        std::int32_t owner = 42;
        library.setOwnerErrorNumber(&owner);
        const double result = (library.*row.function)(row.argument);
        EXPECT_EQ(library.ierr, row.errorNumber ? row.errorNumber : 7) << row.name;
        EXPECT_EQ(owner, row.errorNumber ? row.errorNumber : 42) << row.name;
        EXPECT_TRUE(row.errorNumber ? result == 0 : relativelyClose(result, row.value)) << row.name << ": " << result;
    }
}

TEST(MathLibrary, AResultBeyondTheDoubleRangeIsAnOverflow) {
    MathLibrary library;
    library.halfpi = 1e308;
    EXPECT_EQ(library.Acos(-1), 0);  // 2 * halfpi
    EXPECT_EQ(library.ierr, 6);
    library.ierr = 0;
    EXPECT_EQ(library.Asin(-1), -1e308);
    EXPECT_EQ(library.Acos(1), 0);
    EXPECT_EQ(library.ierr, 0);
}

TEST(MathLibrary, ANonNumericArgumentIsTheLibrarysOwnFailure) {
    zl::testing::ScriptSession session;
    EXPECT_EQ(session.valueOf("1 + Sinh(\"abc\")"), 1);
    EXPECT_EQ(session.library.ierr, 13);
    EXPECT_EQ(session.context.lastErrorNumber(), 13);
    EXPECT_TRUE(session.reported.empty());
}

}  // namespace
}  // namespace zl
