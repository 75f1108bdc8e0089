#include "gui/print/DocumentPainter.h"

#include <QGlyphRun>
#include <QPagedPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>
#include <algorithm>
#include <array>
#include <optional>
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

// A text of the tables as it is met again and again: a long table repeats a few hundred texts,
// so each is converted, measured and shaped once.
struct DocumentPainter::TextEntry {
    QString text;
    std::array<double, 5> cellWidths{-1, -1, -1, -1, -1};   // by mark
    std::array<double, 2> advances{-1, -1};                 // regular, bold
    std::array<std::optional<QList<QGlyphRun>>, 2> glyphs;  // regular, bold
    std::array<double, 2> ascents{0, 0};                    // of the line the glyphs stand on
};

namespace {
// Glyphs of one font and colour, gathered to go out in one run.
struct GlyphBatch {
    QRawFont font;
    QColor colour;
    QList<quint32> glyphs;
    QList<QPointF> positions;
};
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
    std::unordered_map<std::string, TextEntry> texts;
    std::vector<GlyphBatch> batches;  // the glyphs of the page not yet drawn
    // Numbers and labels are digits only: set from the digits' glyphs without looking them up.
    struct Digits {
        QRawFont font;
        std::array<quint32, 10> glyphs{};
        std::array<double, 10> advances{};
        double ascent = 0;
        bool usable = false;
    };
    std::array<Digits, 2> digits;  // regular, bold
};

namespace {

bool DigitsOnly(const std::string& text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

void DocumentPainter::prepareDigits() {
    for (const bool bold : {false, true}) {
        Fonts::Digits& digits = fonts_->digits[bold ? 1 : 0];
        QTextLayout layout(QStringLiteral("0123456789"), bold ? fonts_->bold : fonts_->body,
                           device_);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        line.setPosition(QPointF(0, 0));
        layout.endLayout();
        const QList<QGlyphRun> runs = layout.glyphRuns();
        if (runs.size() != 1 || runs[0].glyphIndexes().size() != 10) {
            continue;  // a font without its own digits: every text goes the long way
        }
        const QRawFont font = runs[0].rawFont();
        const QList<quint32> glyphs = runs[0].glyphIndexes();
        const QList<QPointF> advances = font.advancesForGlyphIndexes(glyphs);
        digits.font = font;
        for (int d = 0; d < 10; ++d) {
            digits.glyphs[static_cast<std::size_t>(d)] = glyphs[d];
            digits.advances[static_cast<std::size_t>(d)] = advances[d].x();
        }
        digits.ascent = line.ascent();
        digits.usable = true;
    }
}

void DocumentPainter::useFont(QPainter& painter, const QFont& font) const {
    // Setting a font marks it for the device again; a preview would record it for every cell.
    if (currentFont_ != &font) {
        painter.setFont(font);
        currentFont_ = &font;
    }
}

double DocumentPainter::digitsWidth(const std::string& text, bool bold) const {
    const Fonts::Digits& digits = fonts_->digits[bold ? 1 : 0];
    double width = 0;
    for (const char c : text) {
        width += digits.advances[static_cast<std::size_t>(c - '0')];
    }
    return width;
}

void DocumentPainter::appendGlyphs(const QRawFont& font, const QColor& colour,
                                   const quint32* glyphs, const QPointF* positions, qsizetype count,
                                   QPointF origin) const {
    auto batch =
        std::find_if(fonts_->batches.begin(), fonts_->batches.end(),
                     [&](const GlyphBatch& b) { return b.colour == colour && b.font == font; });
    if (batch == fonts_->batches.end()) {
        batch = fonts_->batches.insert(fonts_->batches.end(), GlyphBatch{font, colour, {}, {}});
    }
    for (qsizetype i = 0; i < count; ++i) {
        batch->glyphs.append(glyphs[i]);
        batch->positions.append(positions[i] + origin);
    }
}

void DocumentPainter::drawDigits(QPainter& painter, QPointF baseline, const std::string& text,
                                 bool bold) const {
    const Fonts::Digits& digits = fonts_->digits[bold ? 1 : 0];
    if (!glyphRuns_) {
        useFont(painter, bold ? fonts_->bold : fonts_->body);
        painter.drawText(baseline, Text(text));
        return;
    }
    std::array<quint32, 16> glyphs{};
    std::array<QPointF, 16> positions{};
    const QColor colour = painter.pen().color();
    double x = 0;
    std::size_t count = 0;
    for (const char c : text) {
        const auto d = static_cast<std::size_t>(c - '0');
        glyphs[count] = digits.glyphs[d];
        positions[count] = QPointF(x, digits.ascent);
        x += digits.advances[d];
        if (++count == glyphs.size()) {
            appendGlyphs(digits.font, colour, glyphs.data(), positions.data(),
                         static_cast<qsizetype>(count),
                         QPointF(baseline.x(), baseline.y() - digits.ascent));
            baseline.rx() += x;
            x = 0;
            count = 0;
        }
    }
    appendGlyphs(digits.font, colour, glyphs.data(), positions.data(),
                 static_cast<qsizetype>(count),
                 QPointF(baseline.x(), baseline.y() - digits.ascent));
}

DocumentPainter::TextEntry& DocumentPainter::entry(const std::string& text) const {
    auto& texts = fonts_->texts;
    auto found = texts.find(text);
    if (found == texts.end()) {
        found = texts.emplace(text, TextEntry{}).first;
        found->second.text = Text(text);
    }
    return found->second;
}

double DocumentPainter::advance(TextEntry& text, bool bold) const {
    double& width = text.advances[bold ? 1 : 0];
    if (width < 0) {
        width = (bold ? fonts_->boldMetrics : fonts_->bodyMetrics).horizontalAdvance(text.text);
    }
    return width;
}

void DocumentPainter::drawText(QPainter& painter, QPointF baseline, TextEntry& text,
                               bool bold) const {
    if (!glyphRuns_) {
        useFont(painter, bold ? fonts_->bold : fonts_->body);
        painter.drawText(baseline, text.text);
        return;
    }
    // A PDF takes the glyphs as they are: each text is shaped once, and the glyphs of a page go
    // out in a few runs, not in a million calls that each set the font and the text matrix.
    auto& runs = text.glyphs[bold ? 1 : 0];
    if (!runs) {
        QTextLayout layout(text.text, bold ? fonts_->bold : fonts_->body, device_);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        line.setPosition(QPointF(0, 0));
        layout.endLayout();
        runs = layout.glyphRuns();
        text.ascents[bold ? 1 : 0] = line.ascent();
    }
    const QPointF origin(baseline.x(), baseline.y() - text.ascents[bold ? 1 : 0]);
    const QColor colour = painter.pen().color();
    for (const QGlyphRun& run : *runs) {
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        appendGlyphs(run.rawFont(), colour, glyphs.constData(), positions.constData(),
                     std::min(glyphs.size(), positions.size()), origin);
    }
}

void DocumentPainter::flushGlyphs(QPainter& painter) const {
    for (GlyphBatch& batch : fonts_->batches) {
        if (batch.glyphs.isEmpty()) {
            continue;
        }
        QGlyphRun run;
        run.setRawFont(batch.font);
        run.setGlyphIndexes(batch.glyphs);
        run.setPositions(batch.positions);
        painter.setPen(batch.colour);
        painter.drawGlyphRun(QPointF(0, 0), run);
        batch.glyphs.clear();
        batch.positions.clear();
    }
}

DocumentPainter::DocumentPainter(const PrintDocument& document, QPaintDevice& device)
    : document_(document),
      device_(&device),
      points_(std::max(device.logicalDpiY(), 1) / 72.0),
      fonts_(std::make_unique<Fonts>(device)) {
    prepareDigits();
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
    const bool bank = cell.mark == PrintMark::Bank;
    if (fonts_->digits[bank ? 1 : 0].usable && DigitsOnly(cell.text)) {
        return markedWidth(cell.mark, digitsWidth(cell.text, bank));
    }
    return cellWidth(cell, entry(cell.text));
}

double DocumentPainter::markedWidth(PrintMark mark, double textWidth) const {
    if (mark == PrintMark::Bank) {
        return textWidth + 3 * points_;  // bold in a box with a little air on both sides
    }
    if (const char* suffix = MarkSuffix(mark); *suffix != '\0') {
        return textWidth + 0.6 * points_ +
               fonts_->suffixMetrics.horizontalAdvance(QString::fromUtf8(suffix));
    }
    return textWidth;
}

double DocumentPainter::cellWidth(const PrintCell& cell, TextEntry& text) const {
    double& width = text.cellWidths[static_cast<std::size_t>(cell.mark)];
    if (width < 0) {
        width = markedWidth(cell.mark, advance(text, cell.mark == PrintMark::Bank));
    }
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
    useFont(painter, fonts_->title);
    painter.drawText(QPointF(0, y + fonts_->titleMetrics.ascent()), Text(document_.title));
    useFont(painter, fonts_->headBold);
    const QString pageText = Text(PageText(page + 1, pageCount()));
    painter.drawText(QPointF(width - fonts_->headBoldMetrics.horizontalAdvance(pageText),
                             y + fonts_->titleMetrics.ascent()),
                     pageText);
    y += fonts_->titleMetrics.lineSpacing();

    useFont(painter, fonts_->head);
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
        useFont(painter, fonts_->head);
        const double baseline = y + (metrics_.lineHeight - fonts_->bodyMetrics.height()) / 2 +
                                fonts_->bodyMetrics.ascent();
        painter.drawText(QPointF(x, baseline), caption);
        x += fonts_->headMetrics.horizontalAdvance(caption) + 6 * points_;
        for (const PrintLegendEntry& entry : document_.legend) {
            const double sample = cellWidth(entry.sample);
            paintCell(painter, entry.sample, x, sample, y, PrintAlign::Left, false);
            x += sample + 3 * points_;
            useFont(painter, fonts_->head);
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

double DocumentPainter::textWidth(const std::string& text, bool bold) const {
    if (fonts_->digits[bold ? 1 : 0].usable && DigitsOnly(text)) {
        return digitsWidth(text, bold);
    }
    return advance(entry(text), bold);
}

void DocumentPainter::drawCellText(QPainter& painter, QPointF baseline, const std::string& text,
                                   bool bold) const {
    if (fonts_->digits[bold ? 1 : 0].usable && DigitsOnly(text)) {
        drawDigits(painter, baseline, text, bold);
    } else {
        drawText(painter, baseline, entry(text), bold);
    }
}

void DocumentPainter::paintCell(QPainter& painter, const PrintCell& cell, double left, double width,
                                double top, PrintAlign align, bool cut, bool heading,
                                bool label) const {
    if (cell.text.empty()) {
        return;
    }
    const bool bold = heading || cell.mark == PrintMark::Bank;
    const double full = heading ? textWidth(cell.text, true) : cellWidth(cell);
    const double used = std::min(full, width);
    double x = left;
    if (align == PrintAlign::Right) {
        x = left + width - used;
    } else if (align == PrintAlign::Center) {
        x = left + (width - used) / 2;
    }
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

    painter.setPen(label ? QColor(0x5a, 0x5a, 0x5a) : QColor(Qt::black));
    if (cut && full > width) {
        useFont(painter, bold ? fonts_->bold : fonts_->body);
        painter.drawText(QPointF(x, baseline),
                         metrics.elidedText(Text(cell.text), Qt::ElideRight, width));
        return;
    }
    if (bold) {
        drawCellText(painter, QPointF(heading ? x : x + 1.5 * points_, baseline), cell.text, true);
        return;
    }
    drawCellText(painter, QPointF(x, baseline), cell.text, false);
    if (const char* suffix = MarkSuffix(cell.mark); *suffix != '\0') {
        const double plain = textWidth(cell.text, false);
        painter.setPen(QPen(Qt::black, 0.6 * points_));
        const double underline = baseline + 1.4 * points_;
        painter.drawLine(QPointF(x, underline), QPointF(x + plain, underline));
        useFont(painter, fonts_->suffix);
        painter.drawText(
            QPointF(x + plain + 0.6 * points_, baseline - 0.45 * fonts_->bodyMetrics.ascent()),
            QString::fromUtf8(suffix));
    }
}

void DocumentPainter::paintSlice(QPainter& painter, const PrintSlice& slice) const {
    const PrintTable& table = document_.tables[static_cast<std::size_t>(slice.table)];
    const TableGeometry& geometry = layout_.tables[static_cast<std::size_t>(slice.table)];
    const double line = metrics_.lineHeight;
    double top = metrics_.headHeight + slice.top;
    if (slice.caption) {
        useFont(painter, fonts_->bold);
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
                double lineTop = y;
                for (const std::string& text : CaptionLines(table.header[c])) {
                    paintCell(painter, {text, PrintMark::None}, left + lefts[c],
                              geometry.columnWidths[c], lineTop, table.alignment(c), true, true);
                    lineTop += line;
                }
            }
            y += line * table.headerLines();
            painter.setPen(thin);
            painter.drawLine(QPointF(left, y - 0.5 * points_),
                             QPointF(left + geometry.width, y - 0.5 * points_));
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
    // A preview records pictures, which keep texts but turn glyphs into outlines.
    glyphRuns_ =
        painter.paintEngine() != nullptr && painter.paintEngine()->type() == QPaintEngine::Pdf;
    currentFont_ = nullptr;
    paintHead(painter, page);
    for (const PrintSlice& slice : layout_.pages[static_cast<std::size_t>(page)].slices) {
        paintSlice(painter, slice);
    }
    flushGlyphs(painter);
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
