#pragma once

#include <string_view>

namespace losfix::testing {

// A text measure for tests: a space is 3 pixels wide, every other character 7.
inline int FixedMeasure(std::string_view text) {
    int width = 0;
    for (const char c : text) {
        width += c == ' ' ? 3 : 7;
    }
    return width;
}

}  // namespace losfix::testing
