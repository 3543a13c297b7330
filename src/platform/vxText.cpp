// Text output on a context: TextOutW, GetTextExtentPoint32W and DrawTextW.
//
// Text at (x, y) is placed by the top-left corner of its cell, so the baseline is at
// y + ascent. An opaque background mode fills the cell (extent by ascent + descent) with the
// background colour before the glyphs are drawn. A rotated font turns the whole cell
// counter-clockwise around (x, y).
#include "platform/vxDeviceContext.h"

#include "platform/vxTextLayout.h"

namespace vxplan {

namespace {

// Draws one run of text with its cell's top-left at (x, y), logical; prefix is the index of a
// character to underline, or -1.
void DrawRun(TDeviceContext& dc, const QFont& font, const TTextMetrics& metrics, int x, int y, const QString& text,
             int prefix)
{
    QPainter& p = dc.Painter();
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (dc.Font.Orientation % 3600 != 0) {
        p.translate(x, y);
        p.rotate(-dc.Font.Orientation / 10.0);
        x = y = 0;
    }
    const int width = metrics.Width(text);
    if (dc.BkMode == OPAQUE && width > 0) p.fillRect(QRect(x, y, width, metrics.Height()), ToQColor(dc.BkColor));
    const QColor color = ToQColor(dc.TextColor);
    if (!text.isEmpty()) {
        p.setFont(font);
        p.setPen(color);
        p.setBrush(Qt::NoBrush);
        p.drawText(QPoint(x, y + metrics.Ascent()), text);
    }
    if (prefix >= 0 && prefix < text.size()) {
        // The underline leaves out the character's last column, so adjacent marks stay apart.
        const int from = x + metrics.Width(text.left(prefix));
        const int to = x + metrics.Width(text.left(prefix + 1)) - 1;
        if (to > from) p.fillRect(QRect(from, y + metrics.Ascent() + 1, to - from, 1), color);
    }
    p.restore();
}

}  // namespace

bool TextOutW(HDC dc, int x, int y, const std::string& text)
{
    if (!dc) return false;
    const QFont font = ContextFont(*dc);
    const TTextMetrics metrics(font, *dc);
    DrawRun(*dc, font, metrics, x, y, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), -1);
    return true;
}

bool GetTextExtentPoint32W(HDC dc, const std::string& text, TSize* size)
{
    if (!dc || !size) return false;
    const TTextMetrics metrics(ContextFont(*dc), *dc);
    size->cx = metrics.Width(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    size->cy = metrics.Height();
    return true;
}

int DrawTextW(HDC dc, const std::string& text, TRect& rect, uint32_t format)
{
    if (!dc || text.empty()) return 0;
    const QFont font = ContextFont(*dc);
    const TTextMetrics metrics(font, *dc);
    const TTextLayout layout = LayoutText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                                          rect.Width(), rect.Height(), format, metrics);
    const int lh = layout.LineHeight;
    const int total = lh * static_cast<int>(layout.Lines.size());

    if (format & DT_CALCRECT) {
        int widest = 0;
        for (const TTextLine& line : layout.Lines) widest = std::max(widest, line.Width);
        rect.Right = rect.Left + widest;
        rect.Bottom = rect.Top + total;
        return total;
    }

    int y = rect.Top;
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER)
            y = rect.Top + rect.Height() / 2 - lh / 2;
        else if (format & DT_BOTTOM)
            y = rect.Bottom - lh;
    }
    const int top = y;

    QPainter& p = dc->Painter();
    const bool clip = !(format & DT_NOCLIP);
    if (clip) {
        p.save();
        p.setClipRect(QRect(rect.Left, rect.Top, rect.Width(), rect.Height()),
                      p.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    }
    for (const TTextLine& line : layout.Lines) {
        int x = rect.Left;
        if (format & DT_CENTER)
            x = (rect.Left + rect.Right - line.Width) / 2;
        else if (format & DT_RIGHT)
            x = rect.Right - line.Width;
        for (const TTextSegment& seg : SplitTabs(line.Text, layout.TabWidth, metrics)) {
            const int prefix = line.Prefix >= seg.Start && line.Prefix < seg.Start + seg.Text.size() ? line.Prefix - seg.Start : -1;
            DrawRun(*dc, font, metrics, x + seg.X, y, seg.Text, prefix);
        }
        y += lh;
    }
    if (clip) p.restore();
    return (top - rect.Top) + total;
}

}  // namespace vxplan
