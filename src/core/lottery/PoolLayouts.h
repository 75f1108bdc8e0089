#pragma once

#include <array>
#include <vector>

namespace losfix {

// One item of the pool size choice: the pool size and the grid the board and the distribution
// panel share.
struct PoolLayout {
    int poolSize;
    int gridRows;
    int gridColumns;
};

constexpr int kPoolItemCount = 12;
constexpr int kDefaultPoolItem = 5;  // 49 numbers
constexpr int kRowSizeItemCount = 14;
constexpr int kDefaultRowSizeItem = 3;  // 6 numbers a row
constexpr int kMaxNumber = 90;

constexpr std::array<PoolLayout, kPoolItemCount> PoolLayouts = {{
    {35, 5, 7},
    {38, 8, 5},
    {39, 8, 5},
    {42, 6, 7},
    {45, 9, 5},
    {49, 7, 7},
    {50, 10, 5},
    {54, 9, 6},
    {60, 10, 6},
    {69, 10, 7},
    {70, 10, 7},
    {90, 13, 7},
}};

constexpr int PoolSizeOfItem(int item) {
    return PoolLayouts[static_cast<std::size_t>(item)].poolSize;
}
constexpr int RowSizeOfItem(int item) {
    return item + 3;
}

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Rect&) const = default;
};

// Where everything stands for one pool size item: element k - 1 belongs to number k (1..N).
struct BoardGeometry {
    int poolSize = 0;
    int gridRows = 0;
    int gridColumns = 0;
    int captionPointSize = 10;
    std::vector<Rect> buttons;  // on the board panel
    std::vector<Rect> frames;   // distribution frames (60 x 22) on the distribution panel
};

constexpr int kFrameWidth = 60;
constexpr int kFrameHeight = 22;

// The geometry tables applied to an item index (0..11); items outside are clamped.
BoardGeometry LayoutForPoolItem(int item);

}  // namespace losfix
