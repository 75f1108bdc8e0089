#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QPointF>
#include <functional>
#include <memory>
#include <string>

#include "core/export/PrintLayout.h"

class QColor;
class QPagedPaintDevice;
class QRawFont;
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
    struct TextEntry;

    TextEntry& entry(const std::string& text) const;
    double advance(TextEntry& text, bool bold) const;
    void drawText(QPainter& painter, QPointF baseline, TextEntry& text, bool bold) const;
    void flushGlyphs(QPainter& painter) const;
    void useFont(QPainter& painter, const QFont& font) const;
    void prepareDigits();
    double digitsWidth(const std::string& text, bool bold) const;
    void drawDigits(QPainter& painter, QPointF baseline, const std::string& text, bool bold) const;
    void appendGlyphs(const QRawFont& font, const QColor& colour, const quint32* glyphs,
                      const QPointF* positions, qsizetype count, QPointF origin) const;
    double textWidth(const std::string& text, bool bold) const;
    void drawCellText(QPainter& painter, QPointF baseline, const std::string& text,
                      bool bold) const;
    double markedWidth(PrintMark mark, double textWidth) const;
    double cellWidth(const PrintCell& cell) const;
    double cellWidth(const PrintCell& cell, TextEntry& text) const;
    double headHeight() const;
    void paintHead(QPainter& painter, int page) const;
    void paintCell(QPainter& painter, const PrintCell& cell, double left, double width, double top,
                   PrintAlign align, bool cut, bool heading = false, bool label = false) const;
    void paintSlice(QPainter& painter, const PrintSlice& slice) const;

    const PrintDocument& document_;
    QPaintDevice* device_;
    double points_ = 1;  // device units per point
    std::unique_ptr<Fonts> fonts_;
    mutable const QFont* currentFont_ = nullptr;  // the painter's font, when it is one of ours
    mutable bool glyphRuns_ = false;              // the device takes glyph runs as they are (a PDF)
    PrintMetrics metrics_;
    PrintLayout layout_;
};

// Paints every page of the document on the device, a new page before each but the first.
// `afterPage` (pages done, page count) may return false to stop; then this returns false.
bool PaintDocument(const PrintDocument& document, QPagedPaintDevice& device,
                   const std::function<bool(int, int)>& afterPage = {});

}  // namespace losfix
