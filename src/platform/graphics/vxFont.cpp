// TFont: the font of a canvas, kept as the platform keeps it (name, height in device pixels,
// style, colour, orientation) and turned into a QFont only when it is selected into a context.
#include <vxplan/platform/graphics/vxCanvas.h>

#include <vxplan/platform/core/vxExceptions.h>

#include <QFontMetrics>

#include <algorithm>
#include <string>

namespace vxplan {

namespace {

// A positive height is the cell height (ascent + descent); Qt sizes fonts by their em, so the
// em is scaled down by the family's cell-to-em ratio, measured once at a large size for
// precision.
int PixelSizeForCellHeight(const QFont& font, int cellHeight)
{
    constexpr int kProbe = 1000;
    QFont probe(font);
    probe.setPixelSize(kProbe);
    const QFontMetricsF metrics(probe);
    const double cell = metrics.ascent() + metrics.descent();
    if (cell <= 0) return cellHeight;
    return std::max(1, Round(cellHeight * kProbe / cell));
}

}  // namespace

TFont::TFont() = default;

void TFont::SetName(const std::string& name)
{
    if (name.empty()) throw EInvalidArgument("A font needs a name");
    if (name == name_) return;
    name_ = name;
    Modified();
}

int TFont::GetSize() const { return -MulDiv(height_, 72, pixelsPerInch_); }

void TFont::SetSize(int points) { SetHeight(-MulDiv(points, pixelsPerInch_, 72)); }

void TFont::SetHeight(int height)
{
    if (height == height_) return;
    height_ = height;
    Modified();
}

void TFont::SetStyle(TFontStyles style)
{
    if (style == style_) return;
    style_ = style;
    Modified();
}

void TFont::SetColor(TColor color)
{
    if (color == color_) return;
    color_ = color;
    Modified();
}

void TFont::SetOrientation(int tenths)
{
    if (tenths == orientation_) return;
    orientation_ = tenths;
    Modified();
}

void TFont::SetPitch(TFontPitch pitch)
{
    if (pitch == pitch_) return;
    pitch_ = pitch;
    Modified();
}

void TFont::SetPixelsPerInch(int ppi)
{
    if (ppi <= 0) throw EInvalidArgument("Pixels per inch must be positive, not " + std::to_string(ppi));
    // The height in pixels stays; only the size in points it stands for changes.
    if (ppi == pixelsPerInch_) return;
    pixelsPerInch_ = ppi;
    Modified();
}

void TFont::Assign(const TFont& other)
{
    if (&other == this) return;
    name_ = other.name_;
    height_ = other.height_;
    pixelsPerInch_ = other.pixelsPerInch_;
    style_ = other.style_;
    color_ = other.color_;
    orientation_ = other.orientation_;
    pitch_ = other.pitch_;
    Modified();
}

void TFont::Modified()
{
    data_.reset();
    Changed();
}

const TFontData& TFont::Data() const
{
    if (data_) return *data_;
    TFontData& data = data_.emplace();
    QFont& f = data.Font;
    f.setFamily(QString::fromStdString(name_));
    f.setBold(style_.Contains(TFontStyle::fsBold));
    f.setItalic(style_.Contains(TFontStyle::fsItalic));
    f.setUnderline(style_.Contains(TFontStyle::fsUnderline));
    f.setStrikeOut(style_.Contains(TFontStyle::fsStrikeOut));
    if (pitch_ == TFontPitch::fpFixed) {
        f.setFixedPitch(true);
        f.setStyleHint(QFont::Monospace);
    }
    // The platform places glyphs on whole pixels without kerning, so text widths add up.
    f.setKerning(false);
    f.setHintingPreference(QFont::PreferFullHinting);
    // Height 0 asks for the default size: that of an 8-point font on a 96-dpi screen.
    const int height = height_ == 0 ? -11 : height_;
    f.setPixelSize(height < 0 ? -height : PixelSizeForCellHeight(f, height));
    data.Color = color_;
    data.Orientation = orientation_;
    return data;
}

}  // namespace vxplan
