#include "core/common/PadLabel.h"

#include <string>

namespace losfix {

long long RoundHalfEvenDiv(long long numerator, long long denominator) {
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    // Floor division, then decide on the remainder so that exact halves go to the even side.
    long long quotient = numerator / denominator;
    long long remainder = numerator % denominator;
    if (remainder < 0) {
        --quotient;
        remainder += denominator;
    }
    const long long twice = 2 * remainder;
    if (twice > denominator || (twice == denominator && (quotient % 2 != 0))) {
        ++quotient;
    }
    return quotient;
}

std::string PadLabel(std::string_view text, int columnWidth, const TextMeasure& measure) {
    const long long textWidth = measure(text);
    const long long spaceWidth = measure(" ");
    // 0.7 x width computed exactly as 7 x width / 10.
    const long long target = RoundHalfEvenDiv(7LL * columnWidth, 10);
    long long spaces = 0;
    if (spaceWidth > 0) {
        spaces = RoundHalfEvenDiv(target - textWidth, 2 * spaceWidth);
    }
    std::string result;
    if (spaces > 0) {
        result.assign(static_cast<std::size_t>(spaces), ' ');
    }
    result.append(text);
    return result;
}

}  // namespace losfix
