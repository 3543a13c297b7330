// The text members of TCanvas: they select the canvas's font into its context and go through
// the context's text functions, so canvas text and DrawTextW are one path.
#include <vxplan/platform/graphics/vxCanvas.h>

#include <vxplan/platform/core/vxExceptions.h>
#include <vxplan/platform/graphics/vxDrawing_p.h>
#include <vxplan/platform/graphics/vxTextLayout_p.h>

namespace vxplan {

namespace {

// A canvas without a context measures as a 96-dpi screen would.
TSize MeasureOffscreen(const TFont& font, const std::string& text)
{
    static QImage image(1, 1, QImage::Format_RGB32);
    static TDeviceContext dc(&image);
    dc.Font = font.Data();
    TSize size;
    GetTextExtentPoint32W(&dc, text, &size);
    return size;
}

}  // namespace

void TCanvas::TextOut(int x, int y, const std::string& text)
{
    Changing();
    RequireState();
    TextOutW(handle_, x, y, text);
    // The pen moves to the end of the text, as after LineTo.
    MoveTo(AddClamped(x, TextWidth(text)), y);
    Changed();
}

void TCanvas::TextRect(const TRect& r, int x, int y, const std::string& text)
{
    Changing();
    RequireState();
    if (!handle_) throw EInvalidOperation("Canvas does not allow drawing");
    if (r.IsEmpty()) {
        Changed();
        return;
    }
    QPainter& p = handle_->Painter();
    p.save();
    const TRect cut = drawing::CutFarRect(r);
    const QRect clip(cut.Left, cut.Top, cut.Width(), cut.Height());
    p.setClipRect(clip, p.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    if (brush_.GetStyle() != TBrushStyle::bsClear) {
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        p.fillRect(clip, ToQColor(brush_.GetColor()));
    }
    TextOutW(handle_, x, y, text);
    p.restore();
    Changed();
}

TSize TCanvas::TextExtent(const std::string& text)
{
    if (!handle_) return MeasureOffscreen(font_, text);
    RequireState();
    TSize size;
    GetTextExtentPoint32W(handle_, text, &size);
    return size;
}

int TCanvas::TextWidth(const std::string& text) { return TextExtent(text).cx; }

int TCanvas::TextHeight(const std::string& text) { return TextExtent(text).cy; }

}  // namespace vxplan
