#include "gui/football/TableMeasure.h"

#include <QFontMetrics>
#include <memory>
#include <string>
#include <unordered_map>

#include "gui/common/Style.h"

namespace losfix {

namespace {

struct Measurer {
    QFontMetrics metrics{TableFont()};
    bool equalDigits = true;
    std::unordered_map<std::string, int> shapes;

    Measurer() {
        const int zero = metrics.horizontalAdvance(QLatin1Char('0'));
        for (char digit = '1'; digit <= '9'; ++digit) {
            equalDigits = equalDigits && metrics.horizontalAdvance(QLatin1Char(digit)) == zero;
        }
    }

    int measure(std::string_view text) {
        return metrics.horizontalAdvance(
            QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }

    int operator()(std::string_view text) {
        if (!equalDigits) {
            return measure(text);
        }
        std::string shape(text);
        for (char& c : shape) {
            if (c >= '0' && c <= '9') {
                c = '0';
            } else if (c != ' ') {
                return measure(text);
            }
        }
        const auto known = shapes.find(shape);
        if (known != shapes.end()) {
            return known->second;
        }
        const int width = measure(shape);
        shapes.emplace(std::move(shape), width);
        return width;
    }
};

}  // namespace

TextMeasure TableTextMeasure() {
    auto measurer = std::make_shared<Measurer>();
    return [measurer](std::string_view text) { return (*measurer)(text); };
}

}  // namespace losfix
