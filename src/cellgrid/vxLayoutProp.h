// How a cell looks: colours, font, minimum size, text flags, alignment and frame lines. Shared by
// reference between many cells (never copied per cell); a cell without one has no layout.
#pragma once

#include <vxplan/cellgrid/vxBabGridTypes.h>
#include <vxplan/platform/graphics/vxCanvas.h>
#include <vxplan/platform/graphics/vxColor.h>

#include <cstdint>
#include <string>

namespace vxplan {

enum class TFrameOption { foLeft, foRight, foTop, foBottom };
using TFrameOptions = TSet<TFrameOption, 4>;
enum class TFrameKind { fkNormal, fk3d };

struct TLayoutProp;

using TOnLineDraw = TMethod<void(TLayoutProp* aLayoutProp, TFrameOption aFrameOption, TBabCell* aCell,
                                 const TRect& aDrawRect, const TPoint& aStartPix, const TPoint& aStopPix,
                                 bool& aDoDefaultDraw, TCanvas& aCanvas)>;

struct TLayoutProp {
    std::string Name;
    TColor BackColor = 0;
    TColor FrontColor = 0;
    bool UseFontInfo = false;
    TColor FontColor = 0;
    std::string FontName;
    int FontSize = 0;
    TFontStyles FontStyle;
    int MinWidth = 0;
    int MinHeight = 0;
    bool WrapTextAndFit = false;
    bool WindowsFlagDraw = false;
    uint32_t WindowsFlags = 0;
    TFrameOptions FrameOptions;
    TFrameKind FrameKind = TFrameKind::fkNormal;
    TColor FrameColor = 0;
    bool FrameOptionsUse = false;
    bool HorzAlignRight = false;
    bool HorzAlignCenter = false;
    bool VertAlignCenter = false;
    bool EndEllipsis = false;
    TOnLineDraw OnFrameLineDraw;
};

}  // namespace vxplan
