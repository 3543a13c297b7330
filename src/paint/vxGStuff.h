// GStuff: drawing routines shared by the components and offered to hosts: the marks of a
// selected item, bevels, tinted colours and shaded fills for item styles, rotated fonts, and
// bitmaps printed as device-independent pixels.
#pragma once

#include <vxplan/platform/graphics/vxBitmap.h>
#include <vxplan/platform/graphics/vxCanvas.h>
#include <vxplan/platform/graphics/vxImageList.h>
#include <vxplan/platform/menus/vxMenus.h>

#include <string>
#include <vector>

namespace vxplan {

class TControl;

// Receives the clicks of a choice menu: the chosen item's index becomes the choice.
class TPopUpHandler : public TObject {
public:
    void Click(TObject* Sender);
    // The index of the last item clicked in any choice menu; -1 before a choice.
    static int Choice();
    static void ResetChoice();
};

class GStuff {
public:
    GStuff() = delete;

    // Four black 5 x 5 squares inside the corners of aRect.
    static void DoSelectContent(TCanvas& aCanvas, const TRect& aRect);
    // A one-pixel 3-D frame inside aRect: raised is light at the top left, sunken the opposite.
    static void BevelRect(TCanvas& aCanvas, const TRect& aRect, bool aRaised);
    static bool BigEnough(const TRect& aRect, int aWidth, int aHeight);
    // aRect with each side moved by its amount.
    static TRect Fixrect(const TRect& aRect, int dLeft, int dTop, int dRight, int dBottom);
    // Red, green and blue each multiplied by aFactor, rounded and kept within 0..255.
    static TColor TintColor(TColor aColor, double aFactor);
    // Turns the font's text by anAngle degrees (counter-clockwise), as for vertical labels.
    static void RotateFont(TFont& aFont, int anAngle);
    // Fills aRect with lines shaded from aColor: lightest along the middle, darker toward the
    // top and bottom edges. Rectangles under 15 x 15 pixels are filled plainly.
    static void FillRadiated(TCanvas& aCanvas, const TRect& aRect, TColor aColor);

    // One item per string with anOnClick, the one at aDefault the menu's default; with
    // anAddCancel a separator and "Avbryt" follow, neither with a click handler.
    static void CreateMenuOptions(TPopupMenu& aMenu, const std::vector<std::string>& aStrings,
                                  const TNotifyEvent& anOnClick, int aDefault, bool anAddCancel);
    // Asks the user to choose at the control's client point: the index chosen, or -1 when the
    // menu was dismissed or "Avbryt" chosen.
    static int UserOptionStrings(TControl* aControl, int aX, int aY, const std::vector<std::string>& aStrings,
                                 int aDefault);
    static int UserOption(TControl* aControl, int aX, int aY, std::initializer_list<std::string> aOptions,
                          int aDefault);
};

// Stretches the bitmap's pixels into aRect on any context, printers included.
void PrintBitmap(TCanvas& aCanvas, const TRect& aRect, const TBitmap& aBitmap);
// The same with image anIndex of the list, on a white ground; an index outside it prints nothing.
void PrintBitmap_ImageList(TCanvas& aCanvas, const TRect& aRect, const TCustomImageList& anImageList, int anIndex);

}  // namespace vxplan
