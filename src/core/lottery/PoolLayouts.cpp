#include "core/lottery/PoolLayouts.h"

#include <algorithm>

namespace losfix {

namespace {

struct ColumnGeometry {
    int gridColumns;
    int buttonWidth;
    int leftOffset;
    int frameGap;
};

struct RowGeometry {
    int gridRows;
    int buttonHeight;
    int buttonGap;
    int topOffset;
    int frameGap;
    int captionPointSize;
};

constexpr std::array<ColumnGeometry, 3> kColumnGeometry = {{
    {5, 55, 3, 30},
    {6, 46, 2, 12},
    {7, 39, 3, 0},
}};

constexpr std::array<RowGeometry, 7> kRowGeometry = {{
    {5, 42, 6, 6, 44, 10},
    {6, 35, 5, 5, 31, 10},
    {7, 30, 4, 6, 22, 10},
    {8, 25, 5, 5, 16, 10},
    {9, 25, 1, 6, 11, 10},
    {10, 20, 4, 5, 7, 9},
    {13, 18, 0, 6, 0, 8},
}};

const ColumnGeometry& ColumnsFor(int gridColumns) {
    for (const auto& entry : kColumnGeometry) {
        if (entry.gridColumns == gridColumns) {
            return entry;
        }
    }
    return kColumnGeometry.back();
}

const RowGeometry& RowsFor(int gridRows) {
    for (const auto& entry : kRowGeometry) {
        if (entry.gridRows == gridRows) {
            return entry;
        }
    }
    return kRowGeometry.back();
}

}  // namespace

BoardGeometry LayoutForPoolItem(int item) {
    item = std::clamp(item, 0, kPoolItemCount - 1);
    const PoolLayout& layout = PoolLayouts[static_cast<std::size_t>(item)];
    const ColumnGeometry& columns = ColumnsFor(layout.gridColumns);
    const RowGeometry& rows = RowsFor(layout.gridRows);

    BoardGeometry geometry;
    geometry.poolSize = layout.poolSize;
    geometry.gridRows = layout.gridRows;
    geometry.gridColumns = layout.gridColumns;
    geometry.captionPointSize = rows.captionPointSize;
    geometry.buttons.reserve(static_cast<std::size_t>(layout.poolSize));
    geometry.frames.reserve(static_cast<std::size_t>(layout.poolSize));

    for (int r = 1; r <= layout.gridRows; ++r) {
        for (int c = 1; c <= layout.gridColumns; ++c) {
            const int k = (r - 1) * layout.gridColumns + c;
            if (k > layout.poolSize) {
                break;
            }
            geometry.buttons.push_back(
                Rect{(c - 1) * (columns.buttonWidth + 1) + columns.leftOffset,
                     (r - 1) * (rows.buttonHeight + rows.buttonGap) + 2 + rows.topOffset,
                     columns.buttonWidth, rows.buttonHeight});
            geometry.frames.push_back(Rect{(c - 1) * (kFrameWidth + columns.frameGap) + 5,
                                           (r - 1) * (kFrameHeight + rows.frameGap) + 5,
                                           kFrameWidth, kFrameHeight});
        }
    }
    return geometry;
}

}  // namespace losfix
