#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include "core/export/PrintDocument.h"

namespace losfix {

// Sizes of a page in the units of the device that prints it (pixels of the printer or PDF).
struct PrintMetrics {
    double bodyWidth = 0;   // the printable width
    double bodyHeight = 0;  // the printable height
    double headHeight = 0;  // head, legend and rule, from the top of the printable area
    double lineHeight = 0;  // one table line
    double cellGap = 0;     // between the cells of a line
    double labelGap = 0;    // after a label column, instead of the cell gap
    double flowGap = 0;     // between the side-by-side columns of a flowing table
    double tableGap = 0;    // between two tables
};

// Widths of texts as the printer sets them.
struct PrintMeasure {
    std::function<double(const PrintCell&)> cell;     // a body cell, its mark included
    std::function<double(std::string_view)> heading;  // a header cell or caption (bold)
};

// A run of rows of one table placed on one page: the rows [firstRow, firstRow + rowCount) stand
// in `columns` side-by-side columns of at most `rowsPerColumn` lines, column by column.
struct PrintSlice {
    int table = 0;
    int firstRow = 0;
    int rowCount = 0;
    int rowsPerColumn = 0;
    int columns = 1;
    double top = 0;        // y of the first line (caption, header or row) below the head
    bool caption = false;  // the caption line stands above
    bool header = false;   // every column starts with the header lines

    // Where row `row` of the table stands: column and line within the slice.
    int columnOf(int row) const { return (row - firstRow) / rowsPerColumn; }
    int lineOf(int row) const { return (row - firstRow) % rowsPerColumn; }
};

struct PrintPage {
    std::vector<PrintSlice> slices;
};

struct TableGeometry {
    std::vector<double> columnWidths;  // shrunk to the page where a table is wider
    std::vector<double> columnLefts;   // from the left edge of the table's column
    double width = 0;                  // one column of the table, gaps included
    bool shrunk = false;               // the cells must be cut to their widths
};

struct PrintLayout {
    std::vector<TableGeometry> tables;
    std::vector<PrintPage> pages;  // at least one, even for nothing to print
};

// Lays the tables out below the head of every page. A row is one line and never splits; a table
// continues on the next page with its header; a caption never stands alone at the foot of a page;
// tables kept whole or with the next start a new page when that keeps them together.
// Widths are measured once for every distinct text.
PrintLayout LayOutDocument(const PrintDocument& document, const PrintMetrics& metrics,
                           const PrintMeasure& measure);

}  // namespace losfix
