#include "gui/print/DocumentPainter.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>
#include <string>
#include <unordered_map>

#include "core/common/Error.h"
#include "core/export/PrintDocument.h"
#include "gui/common/Style.h"

namespace losfix {

namespace {

constexpr double kBodyPoints = 10;
constexpr double kSuffixPoints = 6.5;
constexpr double kTitlePoints = 13;
constexpr double kHeadPoints = 9;

QString Text(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QFont PrintFont(double points, bool bold, QPaintDevice& device) {
    QFont font(QStringLiteral("Calibri"));
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setKerning(false);  // the digits of a column stand exactly under each other
    // No ligatures: a reader or a search in the PDF finds "Losfix", not a "fi" glyph.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return QFont(font, &device);
}

}  // namespace

struct DocumentPainter::Fonts {
    Fonts(QPaintDevice& device)
        : body(PrintFont(kBodyPoints, false, device)),
          bold(PrintFont(kBodyPoints, true, device)),
          suffix(PrintFont(kSuffixPoints, true, device)),
          title(PrintFont(kTitlePoints, true, device)),
          head(PrintFont(kHeadPoints, false, device)),
          headBold(PrintFont(kHeadPoints, true, device)),
          bodyMetrics(body, &device),
          boldMetrics(bold, &device),
          suffixMetrics(suffix, &device),
          titleMetrics(title, &device),
          headMetrics(head, &device),
          headBoldMetrics(headBold, &device) {}

    QFont body, bold, suffix, title, head, headBold;
    QFontMetricsF bodyMetrics, boldMetrics, suffixMetrics, titleMetrics, headMetrics,
        headBoldMetrics;
    // Widths of the texts met so far: a long table repeats a few hundred texts.
    mutable std::unordered_map<std::string, double> widths;
};

DocumentPainter::DocumentPainter(const PrintDocument& document, QPaintDevice& device)
    : document_(document),
      points_(std::max(device.logicalDpiY(), 1) / 72.0),
      fonts_(std::make_unique<Fonts>(device)) {
    metrics_.bodyWidth = device.width();
    metrics_.bodyHeight = device.height();
    metrics_.lineHeight = std::max(fonts_->bodyMetrics.lineSpacing(), 12 * points_) + points_;
    metrics_.cellGap = 4 * points_;
    metrics_.labelGap = 7 * points_;
    metrics_.flowGap = 14 * points_;
    metrics_.tableGap = 10 * points_;
    metrics_.headHeight = headHeight();
    PrintMeasure measure;
    measure.cell = [this](const PrintCell& cell) { return cellWidth(cell); };
    measure.heading = [this](std::string_view text) {
        return fonts_->boldMetrics.horizontalAdvance(
            QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    };
    layout_ = LayOutDocument(document_, metrics_, measure);
}

DocumentPainter::~DocumentPainter() = default;

double DocumentPainter::cellWidth(const PrintCell& cell) const {
    std::string key = cell.text;
    key.push_back(static_cast<char>('0' + static_cast<int>(cell.mark)));
    if (const auto found = fonts_->widths.find(key); found != fonts_->widths.end()) {
        return found->second;
    }
    const QString text = Text(cell.text);
    double width = 0;
    if (cell.mark == PrintMark::Bank) {
        // Bold in a box with a little air on both sides.
        width = fonts_->boldMetrics.horizontalAdvance(text) + 3 * points_;
    } else {
        width = fonts_->bodyMetrics.horizontalAdvance(text);
        if (const char* suffix = MarkSuffix(cell.mark); *suffix != '\0') {
            width +=
                0.6 * points_ + fonts_->suffixMetrics.horizontalAdvance(QString::fromUtf8(suffix));
        }
    }
    fonts_->widths.emplace(std::move(key), width);
    return width;
}

double DocumentPainter::headHeight() const {
    double height = fonts_->titleMetrics.lineSpacing();
    height += fonts_->headMetrics.lineSpacing() *
              static_cast<double>(std::max<std::size_t>(document_.headLines.size(), 1));
    if (!document_.legend.empty()) {
        height += metrics_.lineHeight;
    }
    // The rule under the head and the space below it.
    return height + 10 * points_;
}

void DocumentPainter::paintHead(QPainter& painter, int page) const {
    const double width = metrics_.bodyWidth;
    double y = 0;
    painter.setPen(Qt::black);
    painter.setFont(fonts_->title);
    painter.drawText(QPointF(0, y + fonts_->titleMetrics.ascent()), Text(document_.title));
    painter.setFont(fonts_->headBold);
    const QString pageText = Text(PageText(page + 1, pageCount()));
    painter.drawText(QPointF(width - fonts_->headBoldMetrics.horizontalAdvance(pageText),
                             y + fonts_->titleMetrics.ascent()),
                     pageText);
    y += fonts_->titleMetrics.lineSpacing();

    painter.setFont(fonts_->head);
    const QString printedAt = Text(document_.printedAt);
    const double ascent = fonts_->headMetrics.ascent();
    painter.drawText(QPointF(width - fonts_->headMetrics.horizontalAdvance(printedAt), y + ascent),
                     printedAt);
    const double room = width - fonts_->headMetrics.horizontalAdvance(printedAt) - 12 * points_;
    for (std::size_t i = 0; i < document_.headLines.size(); ++i) {
        const double lineRoom = i == 0 ? room : width;
        painter.drawText(
            QPointF(0, y + ascent),
            fonts_->headMetrics.elidedText(Text(document_.headLines[i]), Qt::ElideRight, lineRoom));
        y += fonts_->headMetrics.lineSpacing();
    }
    if (document_.headLines.empty()) {
        y += fonts_->headMetrics.lineSpacing();
    }

    if (!document_.legend.empty()) {
        double x = 0;
        const QString caption = QStringLiteral("Markiert:");
        painter.setFont(fonts_->head);
        const double baseline = y + (metrics_.lineHeight - fonts_->bodyMetrics.height()) / 2 +
                                fonts_->bodyMetrics.ascent();
        painter.drawText(QPointF(x, baseline), caption);
        x += fonts_->headMetrics.horizontalAdvance(caption) + 6 * points_;
        for (const PrintLegendEntry& entry : document_.legend) {
            const double sample = cellWidth(entry.sample);
            paintCell(painter, entry.sample, x, sample, y, PrintAlign::Left, false);
            x += sample + 3 * points_;
            painter.setFont(fonts_->head);
            painter.setPen(Qt::black);
            const QString text = Text(entry.text);
            painter.drawText(QPointF(x, baseline), text);
            x += fonts_->headMetrics.horizontalAdvance(text) + 12 * points_;
        }
        y += metrics_.lineHeight;
    }
    y += 3 * points_;
    painter.setPen(QPen(Qt::black, 0.8 * points_));
    painter.drawLine(QPointF(0, y), QPointF(width, y));
}

void DocumentPainter::paintCell(QPainter& painter, const PrintCell& cell, double left, double width,
                                double top, PrintAlign align, bool cut, bool heading,
                                bool label) const {
    if (cell.text.empty()) {
        return;
    }
    const double full =
        heading ? fonts_->boldMetrics.horizontalAdvance(Text(cell.text)) : cellWidth(cell);
    const double used = std::min(full, width);
    double x = left;
    if (align == PrintAlign::Right) {
        x = left + width - used;
    } else if (align == PrintAlign::Center) {
        x = left + (width - used) / 2;
    }
    const bool bold = heading || cell.mark == PrintMark::Bank;
    const QFontMetricsF& metrics = bold ? fonts_->boldMetrics : fonts_->bodyMetrics;
    const double baseline = top + (metrics_.lineHeight - metrics.height()) / 2 + metrics.ascent();

    if (cell.mark != PrintMark::None) {
        // The table's colour behind the number, for those who print in colour.
        const QRectF box(x - 0.5 * points_, top + 1.0 * points_, used + points_,
                         metrics_.lineHeight - 2.0 * points_);
        painter.fillRect(box, ToQColor(StatusColour(StatusOfMark(cell.mark))));
        if (cell.mark == PrintMark::Bank) {
            painter.setPen(QPen(Qt::black, 0.7 * points_));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(box);
        }
    }

    painter.setPen(Qt::black);
    QString text = Text(cell.text);
    if (cut && full > width) {
        text = metrics.elidedText(text, Qt::ElideRight, width);
    }
    if (bold) {
        painter.setFont(fonts_->bold);
        painter.drawText(QPointF(heading ? x : x + 1.5 * points_, baseline), text);
        return;
    }
    painter.setFont(fonts_->body);
    painter.setPen(label ? QColor(0x5a, 0x5a, 0x5a) : QColor(Qt::black));
    painter.drawText(QPointF(x, baseline), text);
    if (const char* suffix = MarkSuffix(cell.mark); *suffix != '\0') {
        const double textWidth = fonts_->bodyMetrics.horizontalAdvance(text);
        painter.setPen(QPen(Qt::black, 0.6 * points_));
        const double underline = baseline + 1.4 * points_;
        painter.drawLine(QPointF(x, underline), QPointF(x + textWidth, underline));
        painter.setFont(fonts_->suffix);
        painter.drawText(
            QPointF(x + textWidth + 0.6 * points_, baseline - 0.45 * fonts_->bodyMetrics.ascent()),
            QString::fromUtf8(suffix));
    }
}

void DocumentPainter::paintSlice(QPainter& painter, const PrintSlice& slice) const {
    const PrintTable& table = document_.tables[static_cast<std::size_t>(slice.table)];
    const TableGeometry& geometry = layout_.tables[static_cast<std::size_t>(slice.table)];
    const double line = metrics_.lineHeight;
    double top = metrics_.headHeight + slice.top;
    if (slice.caption) {
        painter.setFont(fonts_->bold);
        painter.setPen(Qt::black);
        painter.drawText(QPointF(0, top + (line - fonts_->boldMetrics.height()) / 2 +
                                        fonts_->boldMetrics.ascent()),
                         fonts_->boldMetrics.elidedText(Text(table.caption), Qt::ElideRight,
                                                        metrics_.bodyWidth));
        top += line;
    }
    if (slice.rowCount == 0) {
        return;
    }
    const std::vector<double>& lefts = geometry.columnLefts;
    const QPen thin(QColor(0x80, 0x80, 0x80), 0.4 * points_);
    const QPen faint(QColor(0xc8, 0xc8, 0xc8), 0.4 * points_);
    for (int column = 0; column < slice.columns; ++column) {
        const double left = column * (geometry.width + metrics_.flowGap);
        double y = top;
        if (slice.header) {
            for (std::size_t c = 0; c < table.header.size(); ++c) {
                paintCell(painter, {table.header[c], PrintMark::None}, left + lefts[c],
                          geometry.columnWidths[c], y, table.alignment(c), true, true);
            }
            painter.setPen(thin);
            painter.drawLine(QPointF(left, y + line - 0.5 * points_),
                             QPointF(left + geometry.width, y + line - 0.5 * points_));
            y += line;
        }
        const int first = slice.firstRow + column * slice.rowsPerColumn;
        const int last = std::min(first + slice.rowsPerColumn, slice.firstRow + slice.rowCount);
        for (int row = first; row < last; ++row) {
            const auto& cells = table.rows[static_cast<std::size_t>(row)];
            for (std::size_t c = 0; c < cells.size(); ++c) {
                paintCell(painter, cells[c], left + lefts[c], geometry.columnWidths[c], y,
                          table.alignment(c), geometry.shrunk, false, table.labelColumn && c == 0);
            }
            // A faint rule after every fifth row keeps the eye on its line.
            if (table.flow && (row - first) % 5 == 4 && row + 1 < last) {
                painter.setPen(faint);
                painter.drawLine(QPointF(left, y + line), QPointF(left + geometry.width, y + line));
            }
            y += line;
        }
        if (column > 0) {
            painter.setPen(thin);
            const double x = left - metrics_.flowGap / 2;
            painter.drawLine(QPointF(x, top), QPointF(x, y));
        }
    }
}

void DocumentPainter::paintPage(QPainter& painter, int page) const {
    if (page < 0 || page >= pageCount()) {
        return;
    }
    paintHead(painter, page);
    for (const PrintSlice& slice : layout_.pages[static_cast<std::size_t>(page)].slices) {
        paintSlice(painter, slice);
    }
}

bool PaintDocument(const PrintDocument& document, QPagedPaintDevice& device,
                   const std::function<bool(int, int)>& afterPage) {
    const DocumentPainter pages(document, device);
    QPainter painter;
    if (!painter.begin(&device)) {
        throw Error("Der Druck konnte nicht begonnen werden");
    }
    const int count = pages.pageCount();
    for (int page = 0; page < count; ++page) {
        if (page > 0) {
            device.newPage();
        }
        pages.paintPage(painter, page);
        if (afterPage && !afterPage(page + 1, count)) {
            painter.end();
            return false;
        }
    }
    painter.end();
    return true;
}

}  // namespace losfix
