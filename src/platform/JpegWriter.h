#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace losfix {

// 24-bit RGB pixels, row by row, no padding.
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // width * height * 3
};

// Encodes with libjpeg: default parameters, the given quality (36..100) with baseline-compatible
// tables, simple progression. Throws losfix::Error with libjpeg's message when encoding fails;
// libjpeg's own handler, which would end the program, is never reached.
std::vector<std::uint8_t> EncodeProgressiveJpeg(const RgbImage& image, int quality);

}  // namespace losfix
