#include "core/export/PrintLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <unordered_map>

namespace losfix {

namespace {

// A table of 100,000 rows holds a few hundred distinct texts: each is measured once.
class WidthCache {
public:
    explicit WidthCache(const PrintMeasure& measure) : measure_(measure) {}

    double cell(const PrintCell& cell) {
        // Numbers and labels are short: their bytes and the mark make a key of one word.
        if (cell.text.size() <= 7) {
            std::uint64_t key = static_cast<std::uint64_t>(cell.mark) << 56;
            for (std::size_t i = 0; i < cell.text.size(); ++i) {
                key |= static_cast<std::uint64_t>(static_cast<unsigned char>(cell.text[i]))
                       << (8 * i);
            }
            key |= static_cast<std::uint64_t>(cell.text.size()) << 60;
            const auto found = shortCells_.find(key);
            if (found != shortCells_.end()) {
                return found->second;
            }
            return shortCells_.emplace(key, measured(cell)).first->second;
        }
        key_.assign(cell.text);
        key_.push_back(static_cast<char>('0' + static_cast<int>(cell.mark)));
        const auto found = cells_.find(key_);
        if (found != cells_.end()) {
            return found->second;
        }
        return cells_.emplace(key_, measured(cell)).first->second;
    }

    double heading(const std::string& text) {
        return measure_.heading ? measure_.heading(text) : 0.0;
    }

private:
    double measured(const PrintCell& cell) const {
        return measure_.cell ? measure_.cell(cell) : 0.0;
    }

    const PrintMeasure& measure_;
    std::unordered_map<std::uint64_t, double> shortCells_;
    std::unordered_map<std::string, double> cells_;
    std::string key_;
};

TableGeometry MeasureTable(const PrintTable& table, const PrintMetrics& metrics,
                           WidthCache& widths) {
    TableGeometry geometry;
    const std::size_t columns = table.columnCount();
    geometry.columnWidths.assign(columns, 0.0);
    for (std::size_t c = 0; c < table.header.size(); ++c) {
        for (const std::string& line : CaptionLines(table.header[c])) {
            geometry.columnWidths[c] = std::max(geometry.columnWidths[c], widths.heading(line));
        }
    }
    for (const auto& row : table.rows) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (!row[c].text.empty()) {
                geometry.columnWidths[c] = std::max(geometry.columnWidths[c], widths.cell(row[c]));
            }
        }
    }
    if (!table.narrowest.empty()) {
        const double narrowest = widths.cell({table.narrowest, PrintMark::None});
        for (std::size_t c = 1; c < columns; ++c) {
            geometry.columnWidths[c] = std::max(geometry.columnWidths[c], narrowest);
        }
    }
    if (table.evenColumns && columns > 1) {
        const double widest =
            *std::max_element(geometry.columnWidths.begin() + 1, geometry.columnWidths.end());
        std::fill(geometry.columnWidths.begin() + 1, geometry.columnWidths.end(), widest);
    }
    double width = 0;
    for (const double column : geometry.columnWidths) {
        width += column;
    }
    double gaps = columns > 1 ? metrics.cellGap * static_cast<double>(columns - 1) : 0.0;
    const double firstGap = table.labelColumn ? metrics.labelGap : metrics.cellGap;
    if (columns > 1) {
        gaps += firstGap - metrics.cellGap;
    }
    if (width + gaps > metrics.bodyWidth && width > 0) {
        // Too wide for the page: every column gives up the same share, its text is cut.
        const double scale = std::max(metrics.bodyWidth - gaps, 0.0) / width;
        for (double& column : geometry.columnWidths) {
            column *= scale;
        }
        width = std::max(metrics.bodyWidth - gaps, 0.0);
        geometry.shrunk = true;
    }
    geometry.width = width + gaps;
    geometry.columnLefts.assign(columns, 0.0);
    for (std::size_t c = 1; c < columns; ++c) {
        geometry.columnLefts[c] = geometry.columnLefts[c - 1] + geometry.columnWidths[c - 1] +
                                  (c == 1 ? firstGap : metrics.cellGap);
    }
    return geometry;
}

}  // namespace

PrintLayout LayOutDocument(const PrintDocument& document, const PrintMetrics& metrics,
                           const PrintMeasure& measure) {
    PrintLayout layout;
    WidthCache widths(measure);
    layout.pages.emplace_back();
    const double lineHeight = std::max(metrics.lineHeight, 1e-6);
    const double available = metrics.bodyHeight - metrics.headHeight;
    // Whole lines that fit from y down to the foot of the page.
    const auto linesFrom = [&](double y) {
        return static_cast<int>(std::floor((available - y) / lineHeight + 1e-9));
    };
    double y = 0;
    const auto newPage = [&] {
        layout.pages.emplace_back();
        y = 0;
    };

    for (std::size_t t = 0; t < document.tables.size(); ++t) {
        const PrintTable& table = document.tables[t];
        TableGeometry geometry = MeasureTable(table, metrics, widths);
        const int flowColumns =
            table.flow
                ? std::max(1, static_cast<int>(std::floor((metrics.bodyWidth + metrics.flowGap) /
                                                          (geometry.width + metrics.flowGap))))
                : 1;
        layout.tables.push_back(std::move(geometry));

        if (y > 0) {
            y += metrics.tableGap;
        }
        if (y > 0 && (table.keepWhole || table.keepWithNext)) {
            // The lines of the tables that belong together, each unsplit.
            double together = 0;
            for (std::size_t k = t; k < document.tables.size(); ++k) {
                const PrintTable& part = document.tables[k];
                together += lineHeight * ((part.caption.empty() ? 0 : 1) + part.headerLines() +
                                          static_cast<int>(part.rows.size()));
                if (!part.keepWithNext || k + 1 == document.tables.size()) {
                    break;
                }
                together += metrics.tableGap;
            }
            if (together > available - y + 1e-9 && together <= available + 1e-9) {
                newPage();
            }
        }
        const int captionLines = table.caption.empty() ? 0 : 1;
        const int headerLines = table.headerLines();
        const int rowCount = static_cast<int>(table.rows.size());
        if (rowCount == 0) {
            if (captionLines == 0) {
                continue;
            }
            if (linesFrom(y) < 1 && y > 0) {
                newPage();
            }
            PrintSlice slice;
            slice.table = static_cast<int>(t);
            slice.rowsPerColumn = 1;
            slice.top = y;
            slice.caption = true;
            layout.pages.back().slices.push_back(slice);
            y += lineHeight;
            continue;
        }

        int row = 0;
        bool first = true;
        while (row < rowCount) {
            int lines = linesFrom(y) - (first ? captionLines : 0) - headerLines;
            if (lines < 1 && y > 0) {
                newPage();
                lines = linesFrom(y) - (first ? captionLines : 0) - headerLines;
            }
            lines = std::max(lines, 1);  // a page too small for anything still takes a row
            const int remaining = rowCount - row;
            PrintSlice slice;
            slice.table = static_cast<int>(t);
            slice.firstRow = row;
            slice.top = y;
            slice.caption = first && captionLines > 0;
            slice.header = headerLines > 0;
            if (remaining <= lines * flowColumns) {
                // The last part of a table: its columns come out about equally long.
                slice.rowsPerColumn = (remaining + flowColumns - 1) / flowColumns;
                slice.rowCount = remaining;
            } else {
                slice.rowsPerColumn = lines;
                slice.rowCount = lines * flowColumns;
            }
            slice.columns = (slice.rowCount + slice.rowsPerColumn - 1) / slice.rowsPerColumn;
            layout.pages.back().slices.push_back(slice);
            y += lineHeight * (slice.rowsPerColumn + headerLines + (slice.caption ? 1 : 0));
            row += slice.rowCount;
            first = false;
            if (row < rowCount) {
                newPage();
            }
        }
    }
    return layout;
}

}  // namespace losfix
