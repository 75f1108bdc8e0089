#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace losfix {

// Pixel width of a text in the font it will be shown in.
using TextMeasure = std::function<int(std::string_view text)>;

// Left-fills a label with spaces so that it looks centred in a column of the given pixel width:
// n = round((round(0.7 * width) - textWidth) / (2 * spaceWidth)), halves to the even neighbour.
std::string PadLabel(std::string_view text, int columnWidth, const TextMeasure& measure);

// Rounds numerator / denominator to the nearest integer, halves to the even neighbour, exactly.
long long RoundHalfEvenDiv(long long numerator, long long denominator);

}  // namespace losfix
