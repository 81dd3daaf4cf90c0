// Fuzz target: number reading and the general number text.
// Properties: reading never fails or loops; a whole-number text reads the same
// both ways; any finite double written as text reads back to 15 digits and
// writes the same text again.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "core/numbers/number_reading.h"
#include "core/numbers/number_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char *>(data), size);

    const double leading = zl::readLeadingNumber(text);
    (void)zl::roundToInt32(leading);
    (void)zl::roundToInt16(leading);
    if (const auto whole = zl::parseWholeNumber(text)) {
        if (!std::isfinite(*whole)) std::abort();
        if (zl::readLeadingNumber(text) != *whole) std::abort();
    }

    if (size >= sizeof(double)) {
        double value = 0;
        std::memcpy(&value, data, sizeof value);
        if (std::isfinite(value)) {
            const std::string written = zl::generalNumberText(value);
            const double back = zl::readLeadingNumber(written);
            if (std::fabs(back - value) > std::fabs(value) * 1e-14) std::abort();
            if (zl::generalNumberText(back) != written) std::abort();
            const std::string padded = zl::paddedNumberText(value);
            if (padded.back() != ' ' || zl::readLeadingNumber(padded) != back) std::abort();
        }
    }
    return 0;
}
