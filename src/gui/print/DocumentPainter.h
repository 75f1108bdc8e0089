#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <functional>
#include <memory>

#include "core/export/PrintLayout.h"

class QPagedPaintDevice;
class QPainter;
class QPaintDevice;

namespace losfix {

// Paints a document on a printer or a PDF writer: the head on every page, the tables as the
// layout places them, 10-point text. Works on any thread the device may be used on (a PDF
// writer also beside the window's thread).
class DocumentPainter {
public:
    // Lays the document out for the printable area of the device.
    DocumentPainter(const PrintDocument& document, QPaintDevice& device);
    ~DocumentPainter();

    int pageCount() const { return static_cast<int>(layout_.pages.size()); }
    const PrintLayout& layout() const { return layout_; }
    // Paints page `page` (from 0) with a painter that is active on the device.
    void paintPage(QPainter& painter, int page) const;

private:
    struct Fonts;

    double cellWidth(const PrintCell& cell) const;
    double headHeight() const;
    void paintHead(QPainter& painter, int page) const;
    void paintCell(QPainter& painter, const PrintCell& cell, double left, double width, double top,
                   PrintAlign align, bool cut, bool heading = false, bool label = false) const;
    void paintSlice(QPainter& painter, const PrintSlice& slice) const;

    const PrintDocument& document_;
    double points_ = 1;  // device units per point
    std::unique_ptr<Fonts> fonts_;
    PrintMetrics metrics_;
    PrintLayout layout_;
};

// Paints every page of the document on the device, a new page before each but the first.
// `afterPage` (pages done, page count) may return false to stop; then this returns false.
bool PaintDocument(const PrintDocument& document, QPagedPaintDevice& device,
                   const std::function<bool(int, int)>& afterPage = {});

}  // namespace losfix
