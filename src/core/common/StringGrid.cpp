#include "core/common/StringGrid.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>
#include <utility>

namespace losfix {

namespace {

constexpr std::size_t kMostLengthBytes = (sizeof(std::size_t) * CHAR_BIT + 6) / 7;

// Writes a cell's length before its text; returns how many bytes it took.
std::size_t PutLength(char* out, std::size_t length) {
    std::size_t n = 0;
    while (length >= 0x80) {
        out[n++] = static_cast<char>((length & 0x7F) | 0x80);
        length >>= 7;
    }
    out[n++] = static_cast<char>(length);
    return n;
}

std::size_t LengthBytes(std::size_t length) {
    std::size_t n = 1;
    while (length >= 0x80) {
        length >>= 7;
        ++n;
    }
    return n;
}

// Walks the cells of a row's bytes (only ever written by PutLength and a text).
class CellCursor {
public:
    explicit CellCursor(std::string_view bytes) : bytes_(bytes) {}

    bool done() const { return position_ >= bytes_.size(); }
    // Where the next cell starts.
    std::size_t position() const { return position_; }

    std::string_view next() {
        std::size_t length = 0;
        int shift = 0;
        while (true) {
            const auto byte = static_cast<unsigned char>(bytes_[position_++]);
            length |= static_cast<std::size_t>(byte & 0x7F) << shift;
            if (byte < 0x80) {
                break;
            }
            shift += 7;
        }
        const std::string_view text = bytes_.substr(position_, length);
        position_ += length;
        return text;
    }

    // Moves to cell `column`, or to the end when the row has fewer cells; returns the cells passed.
    int skip(int column) {
        int passed = 0;
        while (passed < column && !done()) {
            next();
            ++passed;
        }
        return passed;
    }

private:
    std::string_view bytes_;
    std::size_t position_ = 0;
};

// The cells before `columns`, without the empty ones at the end.
std::string_view Trimmed(std::string_view bytes, int columns = INT_MAX) {
    CellCursor cursor(bytes);
    std::size_t end = 0;
    for (int c = 0; c < columns && !cursor.done(); ++c) {
        if (!cursor.next().empty()) {
            end = cursor.position();
        }
    }
    return bytes.substr(0, end);
}

// The cells of `head` before `column` and those of `tail` from `column` on.
void AppendSpliced(std::string& out, std::string_view head, std::string_view tail, int column) {
    CellCursor headCursor(head);
    const int headCells = headCursor.skip(column);
    CellCursor tailCursor(tail);
    tailCursor.skip(column);
    if (tailCursor.done()) {
        out.append(Trimmed(head.substr(0, headCursor.position())));
        return;
    }
    out.append(head.substr(0, headCursor.position()));
    out.append(static_cast<std::size_t>(column - headCells), '\0');
    out.append(tail.substr(tailCursor.position()));
}

}  // namespace

// ---- Row ----------------------------------------------------------------------------------------

StringGrid::Row& StringGrid::Row::operator=(const Row& other) {
    if (this != &other) {
        assign(other.bytes());
    }
    return *this;
}

StringGrid::Row& StringGrid::Row::operator=(Row&& other) noexcept {
    if (this != &other) {
        release();
        data_ = other.data_;
        other.data_ = nullptr;
    }
    return *this;
}

std::size_t StringGrid::Row::size() const {
    std::size_t size = 0;
    if (data_ != nullptr) {
        std::memcpy(&size, data_, sizeof size);
    }
    return size;
}

std::size_t StringGrid::Row::capacity() const {
    std::size_t capacity = 0;
    if (data_ != nullptr) {
        std::memcpy(&capacity, data_ + sizeof(std::size_t), sizeof capacity);
    }
    return capacity;
}

std::string_view StringGrid::Row::bytes() const {
    return data_ != nullptr ? std::string_view(text(), size()) : std::string_view();
}

void StringGrid::Row::reallocate(std::size_t capacity) {
    const std::size_t used = std::min(size(), capacity);
    char* fresh = static_cast<char*>(::operator new(kHeader + capacity));
    if (used > 0) {
        std::memcpy(fresh + kHeader, text(), used);
    }
    std::memcpy(fresh, &used, sizeof used);
    std::memcpy(fresh + sizeof used, &capacity, sizeof capacity);
    release();
    data_ = fresh;
}

char* StringGrid::Row::overwrite(std::size_t size) {
    if (size == 0) {
        truncate(0);
        return nullptr;
    }
    if (capacity() < size) {
        truncate(0);
        reallocate(size);
    }
    std::memcpy(data_, &size, sizeof size);
    return text();
}

void StringGrid::Row::assign(std::string_view bytes) {
    // Bytes of this row itself always fit its storage; only bytes from elsewhere make it grow.
    if (char* out = overwrite(bytes.size())) {
        std::memmove(out, bytes.data(), bytes.size());
    }
}

void StringGrid::Row::replace(std::size_t at, std::size_t length, std::string_view first,
                              std::string_view second, std::size_t capacityHint) {
    const std::size_t used = size();
    const std::size_t inserted = first.size() + second.size();
    const std::size_t needed = used - length + inserted;
    if (needed > capacity()) {
        reallocate(std::max({needed, capacity() + capacity() / 2, capacityHint}));
    }
    if (data_ == nullptr) {
        return;
    }
    char* bytes = text();
    std::memmove(bytes + at + inserted, bytes + at + length, used - at - length);
    if (!first.empty()) {
        std::memcpy(bytes + at, first.data(), first.size());
    }
    if (!second.empty()) {
        std::memcpy(bytes + at + first.size(), second.data(), second.size());
    }
    std::memcpy(data_, &needed, sizeof needed);
}

void StringGrid::Row::truncate(std::size_t size) {
    if (size < this->size()) {
        std::memcpy(data_, &size, sizeof size);
    }
}

void StringGrid::Row::release() {
    ::operator delete(data_);
    data_ = nullptr;
}

// ---- StringGrid ---------------------------------------------------------------------------------

StringGrid::StringGrid(int columns, int rows, int fixedColumns, int fixedRows)
    : columns_(std::max(columns, 0)), fixedColumns_(fixedColumns), fixedRows_(fixedRows) {
    setRowCount(rows);
}

std::size_t StringGrid::rowCapacityHint() const {
    // A row written cell by cell gets room for a length byte and two digits a cell at once.
    return static_cast<std::size_t>(columns_) * 3 + 8;
}

void StringGrid::setRowCount(int rows) {
    rows_.resize(static_cast<std::size_t>(std::max(rows, 0)));
    ++revision_;
}

void StringGrid::setColumnCount(int columns) {
    columns_ = std::max(columns, 0);
    for (auto& row : rows_) {
        row.truncate(Trimmed(row.bytes(), columns_).size());
    }
    ++revision_;
}

void StringGrid::setFixed(int fixedColumns, int fixedRows) {
    fixedColumns_ = fixedColumns;
    fixedRows_ = fixedRows;
    ++revision_;
}

std::string StringGrid::cell(int column, int row) const {
    return std::string(cellView(column, row));
}

std::string_view StringGrid::cellView(int column, int row) const {
    if (!inside(column, row)) {
        return {};
    }
    CellCursor cursor(rows_[static_cast<std::size_t>(row)].bytes());
    if (cursor.skip(column) < column || cursor.done()) {
        return {};
    }
    return cursor.next();
}

void StringGrid::setCell(int column, int row, std::string text) {
    if (!inside(column, row)) {
        return;
    }
    Row& cells = rows_[static_cast<std::size_t>(row)];
    const std::string_view bytes = cells.bytes();
    char length[kMostLengthBytes];
    const std::string_view lengthBytes(length, PutLength(length, text.size()));
    // A row written cell by cell, left to right, is not walked again for every cell: nothing has
    // changed since its last cell was written.
    const bool afterLastCell =
        revision_ == lastCellRevision_ && row == lastCellRow_ && column > lastCellColumn_;
    CellCursor cursor(bytes);
    const int passed = afterLastCell ? lastCellColumn_ + 1 : cursor.skip(column);
    const std::size_t at = afterLastCell ? bytes.size() : cursor.position();
    bool last = false;
    if (afterLastCell || cursor.done()) {
        if (!text.empty()) {
            // Empty cells up to the column, then the text.
            std::string prefix(static_cast<std::size_t>(column - passed), '\0');
            prefix.append(lengthBytes);
            cells.replace(at, 0, prefix, text, rowCapacityHint());
            last = true;
        } else if (afterLastCell) {
            // Nothing to write; the row's last cell stays where it was.
            ++revision_;
            lastCellRevision_ = revision_;
            return;
        }
    } else {
        cursor.next();
        if (text.empty() && cursor.done()) {
            // The last cell emptied: the empty ones before it go as well.
            cells.truncate(Trimmed(bytes.substr(0, at)).size());
        } else {
            last = cursor.done();
            cells.replace(at, cursor.position() - at, lengthBytes, text, rowCapacityHint());
        }
    }
    ++revision_;
    if (last) {
        lastCellRevision_ = revision_;
        lastCellRow_ = row;
        lastCellColumn_ = column;
    }
}

std::vector<std::string> StringGrid::rowCells(int row) const {
    std::vector<std::string> cells;
    cells.reserve(static_cast<std::size_t>(columns_));
    if (row >= 0 && row < rowCount()) {
        CellCursor cursor(rows_[static_cast<std::size_t>(row)].bytes());
        while (!cursor.done()) {
            cells.emplace_back(cursor.next());
        }
    }
    cells.resize(static_cast<std::size_t>(columns_));
    return cells;
}

void StringGrid::cellViews(int row, std::vector<std::string_view>& views) const {
    views.assign(static_cast<std::size_t>(columns_), std::string_view());
    if (row < 0 || row >= rowCount()) {
        return;
    }
    CellCursor cursor(rows_[static_cast<std::size_t>(row)].bytes());
    for (std::size_t c = 0; c < views.size() && !cursor.done(); ++c) {
        views[c] = cursor.next();
    }
}

void StringGrid::setRowCells(int row, const std::vector<std::string>& cells) {
    if (row < 0 || row >= rowCount()) {
        return;
    }
    std::size_t count = std::min(cells.size(), static_cast<std::size_t>(columns_));
    while (count > 0 && cells[count - 1].empty()) {
        --count;
    }
    std::size_t size = 0;
    for (std::size_t i = 0; i < count; ++i) {
        size += LengthBytes(cells[i].size()) + cells[i].size();
    }
    // A new row gets exactly its size; one that is rewritten keeps its storage if large enough.
    char* out = rows_[static_cast<std::size_t>(row)].overwrite(size);
    for (std::size_t i = 0; i < count; ++i) {
        const std::string& text = cells[i];
        out += PutLength(out, text.size());
        if (!text.empty()) {
            std::memcpy(out, text.data(), text.size());
            out += text.size();
        }
    }
    ++revision_;
}

void StringGrid::copyRow(const StringGrid& source, int row) {
    if (row < 0 || row >= rowCount()) {
        return;
    }
    auto& cells = rows_[static_cast<std::size_t>(row)];
    if (&source == this) {
        // Already its own cells.
    } else if (row < source.rowCount()) {
        // Assigning keeps this row's storage when it is large enough.
        cells.assign(Trimmed(source.rows_[static_cast<std::size_t>(row)].bytes(), columns_));
    } else {
        cells.truncate(0);
    }
    ++revision_;
}

void StringGrid::clearRow(int row) {
    if (row < 0 || row >= rowCount()) {
        return;
    }
    rows_[static_cast<std::size_t>(row)].release();
    ++revision_;
}

void StringGrid::swapRows(int rowA, int rowB, int fromColumn) {
    if (rowA < 0 || rowB < 0 || rowA >= rowCount() || rowB >= rowCount() || rowA == rowB) {
        return;
    }
    auto& a = rows_[static_cast<std::size_t>(rowA)];
    auto& b = rows_[static_cast<std::size_t>(rowB)];
    if (fromColumn <= 0) {
        a.swap(b);
    } else {
        std::string newA;
        std::string newB;
        AppendSpliced(newA, a.bytes(), b.bytes(), fromColumn);
        AppendSpliced(newB, b.bytes(), a.bytes(), fromColumn);
        a.assign(newA);
        b.assign(newB);
    }
    ++revision_;
}

void StringGrid::permuteRows(int firstRow, const std::vector<int>& order, int fromColumn) {
    // Whole rows move (no cell is copied); the cells before fromColumn go back to their place.
    // Rows hold only the cells written so far, so any of them may be shorter than fromColumn.
    const int from = std::clamp(fromColumn, 0, columns_);
    const auto first = static_cast<std::size_t>(firstRow);
    std::string heads;
    std::vector<std::size_t> headEnds(from > 0 ? order.size() : 0);
    std::vector<int> headCells(headEnds.size());
    for (std::size_t i = 0; i < headEnds.size(); ++i) {
        const std::string_view bytes = rows_[first + i].bytes();
        CellCursor cursor(bytes);
        headCells[i] = cursor.skip(from);
        heads.append(bytes.substr(0, cursor.position()));
        headEnds[i] = heads.size();
    }
    std::vector<Row> moved(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        moved[i] = std::move(rows_[static_cast<std::size_t>(order[i])]);
    }
    for (std::size_t i = 0; i < order.size(); ++i) {
        Row& row = rows_[first + i];
        row = std::move(moved[i]);
        if (from == 0) {
            continue;
        }
        const std::size_t headStart = i == 0 ? 0 : headEnds[i - 1];
        const std::string_view head =
            std::string_view(heads).substr(headStart, headEnds[i] - headStart);
        CellCursor tail(row.bytes());
        tail.skip(from);
        if (tail.done()) {
            row.assign(Trimmed(head));
        } else {
            const std::string gap(static_cast<std::size_t>(from - headCells[i]), '\0');
            row.replace(0, tail.position(), head, gap, 0);
        }
    }
    ++revision_;
}

bool StringGrid::operator==(const StringGrid& other) const {
    if (columns_ != other.columns_ || fixedColumns_ != other.fixedColumns_ ||
        fixedRows_ != other.fixedRows_ || rowCount() != other.rowCount()) {
        return false;
    }
    // Every row is kept in one form: its cells within the columns, no empty cells at the end,
    // each length in as few bytes as it takes. Equal cells are equal bytes.
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        if (rows_[r].bytes() != other.rows_[r].bytes()) {
            return false;
        }
    }
    return true;
}

}  // namespace losfix
