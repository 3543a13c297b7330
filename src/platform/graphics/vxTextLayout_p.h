// The one text path of the platform layer, shared by TextOutW, DrawTextW and the canvas: the
// font as drawn on a given context, its metrics, and the breaking of DrawTextW's text into
// lines (prefixes, tabs, word breaks, ellipses). Internal to the platform layer.
// Internal to the library and its tests, not part of the vxplan API: hosts do not include it.
#pragma once

#include <vxplan/platform/graphics/vxDeviceContext.h>

#include <QFont>
#include <QFontMetrics>
#include <QString>

#include <vector>

namespace vxplan {

// The selected font as it is drawn on dc: without antialiasing on images so pixels are exact,
// antialiased on PDF and printer pages.
QFont ContextFont(const TDeviceContext& dc);

// Metrics of a font on a context's device, in device pixels.
class TTextMetrics {
public:
    TTextMetrics(const QFont& font, const TDeviceContext& dc);
    int Ascent() const { return ascent_; }
    int Descent() const { return descent_; }
    // The cell height: ascent plus descent.
    int Height() const { return ascent_ + descent_; }
    int AveCharWidth() const { return aveCharWidth_; }
    int Width(const QString& text) const { return text.isEmpty() ? 0 : metrics_.horizontalAdvance(text); }
    const QFontMetrics& Metrics() const { return metrics_; }

private:
    QFontMetrics metrics_;
    int ascent_, descent_, aveCharWidth_;
};

// What a context keeps of its selected font (TDeviceContext::Text): the font it was made from,
// to tell when another one is selected, the font as drawn, and its metrics.
struct TContextText {
    TContextText(const QFont& selected, const TDeviceContext& dc);
    QFont Selected;
    QFont Font;
    TTextMetrics Metrics;
};

// One line of DrawTextW's output: its characters with prefixes removed, the index of the
// underlined (prefixed) character or -1, and its width with tabs expanded.
struct TTextLine {
    QString Text;
    int Prefix = -1;
    int Width = 0;
};

struct TTextLayout {
    std::vector<TTextLine> Lines;
    int LineHeight = 0;
    int TabWidth = 0;
};

// Breaks text into the lines DrawTextW draws in a rectangle of the given width and height
// (height only matters for clipped multi-line text: lines below the first one that reaches the
// bottom are not produced).
TTextLayout LayoutText(const QString& text, int width, int height, uint32_t format, const TTextMetrics& metrics);

// The x offsets of the tab-separated segments of a line, relative to the line's start; tab stops
// are every tabWidth pixels. Without tab expansion the line is one segment at 0.
struct TTextSegment {
    QString Text;
    int X = 0;
    int Start = 0;  // index of the segment's first character in the line
};
std::vector<TTextSegment> SplitTabs(const QString& line, int tabWidth, const TTextMetrics& metrics);

}  // namespace vxplan
