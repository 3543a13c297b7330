// Text output on a context: TextOutW, GetTextExtentPoint32W and DrawTextW.
//
// Text at (x, y) is placed by the top-left corner of its cell, so the baseline is at
// y + ascent. An opaque background mode fills the cell (extent by ascent + descent) with the
// background colour before the glyphs are drawn. A rotated font turns the whole cell
// counter-clockwise around (x, y).
#include <vxplan/platform/graphics/vxDeviceContext.h>

#include <vxplan/platform/graphics/vxDrawing_p.h>
#include <vxplan/platform/graphics/vxTextLayout_p.h>

namespace vxplan {

namespace {

// True when pen is what QPainter::setPen(color) would make: text drawn with it is the same.
bool IsTextPen(const QPen& pen, const QColor& color)
{
    return pen.style() == Qt::SolidLine && pen.brush().style() == Qt::SolidPattern && pen.color() == color &&
           pen.widthF() == 1.0 && pen.capStyle() == Qt::SquareCap && pen.joinStyle() == Qt::BevelJoin &&
           !pen.isCosmetic();
}

// Draws one run of text with its cell's top-left at (x, y), logical; width is the run's width
// when known, else -1; prefix is the index of a character to underline, or -1.
//
// Every user of the painter sets the pen, brush and composition it needs, so a run leaves its
// own behind rather than paying for save and restore, and sets them only when they differ:
// setFont in particular resolves a new font each time. Only a rotation is undone.
void DrawRun(TDeviceContext& dc, const TContextText& ct, int x, int y, const QString& text, int width, int prefix)
{
    const TTextMetrics& metrics = ct.Metrics;
    x = drawing::CutFar(x), y = drawing::CutFar(y);
    QPainter& p = dc.Painter();
    const bool rotated = dc.Font.Orientation % 3600 != 0;
    if (rotated) {
        p.save();
        p.translate(x, y);
        p.rotate(-dc.Font.Orientation / 10.0);
        x = y = 0;
    }
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (dc.BkMode == OPAQUE) {
        if (width < 0) width = metrics.Width(text);
        if (width > 0) p.fillRect(QRect(x, y, width, metrics.Height()), ToQColor(dc.BkColor));
    }
    const QColor color = ToQColor(dc.TextColor);
    if (!text.isEmpty()) {
        if (!(p.font() == ct.Font)) p.setFont(ct.Font);
        if (!IsTextPen(p.pen(), color)) p.setPen(color);
        if (p.brush().style() != Qt::NoBrush) p.setBrush(Qt::NoBrush);
        p.drawText(QPoint(x, y + metrics.Ascent()), text);
    }
    if (prefix >= 0 && prefix < text.size()) {
        // The underline leaves out the character's last column, so adjacent marks stay apart.
        const int from = x + metrics.Width(text.left(prefix));
        const int to = x + metrics.Width(text.left(prefix + 1)) - 1;
        if (to > from) p.fillRect(QRect(from, y + metrics.Ascent() + 1, to - from, 1), color);
    }
    if (rotated) p.restore();
}

}  // namespace

bool TextOutW(HDC dc, int x, int y, const std::string& text)
{
    if (!dc) return false;
    DrawRun(*dc, dc->Text(), x, y, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), -1, -1);
    return true;
}

bool GetTextExtentPoint32W(HDC dc, const std::string& text, TSize* size)
{
    if (!dc || !size) return false;
    const TTextMetrics& metrics = dc->Text().Metrics;
    size->cx = metrics.Width(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    size->cy = metrics.Height();
    return true;
}

int DrawTextW(HDC dc, const std::string& text, TRect& rect, uint32_t format)
{
    if (!dc || text.empty()) return 0;
    // Sides far outside every device are cut, so the placement below stays in int.
    const TRect r = drawing::CutFarRect(rect);
    const TContextText& ct = dc->Text();
    const TTextMetrics& metrics = ct.Metrics;
    const TTextLayout layout = LayoutText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                                          r.Width(), r.Height(), format, metrics);
    const int lh = layout.LineHeight;
    const int total = lh * static_cast<int>(layout.Lines.size());

    if (format & DT_CALCRECT) {
        int widest = 0;
        for (const TTextLine& line : layout.Lines) widest = std::max(widest, line.Width);
        rect.Right = AddClamped(rect.Left, widest);
        rect.Bottom = AddClamped(rect.Top, total);
        return total;
    }

    int y = r.Top;
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER)
            y = r.Top + r.Height() / 2 - lh / 2;
        else if (format & DT_BOTTOM)
            y = r.Bottom - lh;
    }
    const int top = y;

    QPainter& p = dc->Painter();
    const bool clip = !(format & DT_NOCLIP);
    if (clip) {
        p.save();
        p.setClipRect(QRect(r.Left, r.Top, r.Width(), r.Height()),
                      p.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    }
    for (const TTextLine& line : layout.Lines) {
        int x = r.Left;
        if (format & DT_CENTER)
            x = (r.Left + r.Right - line.Width) / 2;
        else if (format & DT_RIGHT)
            x = r.Right - line.Width;
        if (layout.TabWidth <= 0) {
            DrawRun(*dc, ct, x, y, line.Text, line.Width, line.Prefix);
        } else {
            for (const TTextSegment& seg : SplitTabs(line.Text, layout.TabWidth, metrics)) {
                const int prefix = line.Prefix >= seg.Start && line.Prefix < seg.Start + seg.Text.size() ? line.Prefix - seg.Start : -1;
                DrawRun(*dc, ct, x + seg.X, y, seg.Text, -1, prefix);
            }
        }
        y += lh;
    }
    if (clip) p.restore();
    return (top - r.Top) + total;
}

}  // namespace vxplan
