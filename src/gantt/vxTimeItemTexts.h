// The labels of a time item: texts drawn inside the item's rectangle after the bar, each at an
// offset from the rectangle's top-left corner and in one of the chart's text styles, whose font
// the owner selects through OnStyleSet just before the text is drawn.
#pragma once

#include <vxplan/platform/core/vxMethod.h>
#include <vxplan/platform/core/vxTypes.h>
#include <vxplan/platform/graphics/vxCanvas.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vxplan {

class TvxTimeItemTextCollection;

using TOnStyleSet = TMethod<void(TvxTimeItemTextCollection* aTimeItemTextCollection, TCanvas& aCanvas, int32_t aStyle)>;

class TvxTimeItemText {
public:
    int32_t GetStyle() const { return Style; }
    void SetStyle(int32_t style) { Style = style; }
    const std::string& GetText() const { return Text; }
    void SetText(const std::string& text) { Text = text; }
    // Offset from the item rectangle's top-left corner, in pixels at print scale 1.
    TPoint GetPos() const { return Pos; }
    void SetPos(TPoint pos) { Pos = pos; }

private:
    int32_t Style = 0;
    std::string Text;
    TPoint Pos;
};

class TvxTimeItemTextCollection {
public:
    TvxTimeItemTextCollection() = default;
    TvxTimeItemTextCollection(const TvxTimeItemTextCollection&) = delete;
    TvxTimeItemTextCollection& operator=(const TvxTimeItemTextCollection&) = delete;

    TvxTimeItemText* AddText(const std::string& text, int x, int y, int32_t style);
    // Throws EListError for an index outside 0..Count-1 and changes nothing.
    void DropText(int index);
    int GetCount() const { return static_cast<int>(fTexts.size()); }
    // Throws EListError for an index outside 0..Count-1.
    TvxTimeItemText* GetTimeItemText(int index) const;

    // Draws every non-empty text at its offset (scaled) from rect's top-left corner, clipped to
    // the rectangle less its last column and row; a text starting outside it is not drawn.
    void DrawToCanvasInsideRect(const TRect& rect, TCanvas& canvas, double scaleX, double scaleY);

    TOnStyleSet OnStyleSet;

private:
    std::vector<std::unique_ptr<TvxTimeItemText>> fTexts;
};

}  // namespace vxplan
