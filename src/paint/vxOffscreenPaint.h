// TvxOffscreenPaint: the base of every control that draws itself.
//
// A paint renders the whole control into an off-screen bitmap of the control's size and copies
// it to the window in one go, so nothing flickers and the background is never erased. The same
// drawing code prints: Print points the drawing canvas at a printer's device context, scaled, and
// runs the one routine descendants override, OffscreenPaint. Descendants draw on
// GetOffscreenCanvas and multiply every length by GetScalex/GetScaley (1 on screen), and call
// PrintResizeFont after choosing a font, so one routine serves screen and printer.
#pragma once

#include <vxplan/platform/controls/vxPanel.h>
#include <vxplan/platform/graphics/vxBitmap.h>

#include <algorithm>
#include <bitset>
#include <memory>

namespace vxplan {

class TvxOffscreenPaint;

enum class TScrollDirection { tsdUp, tsdDown, tsdLeft, tsdRight };

// The wheel message, decoded: the MK_ key flags, the turn (120 a notch, positive away from the
// user) and the pointer in screen coordinates. Result goes back as the message's result.
struct TWMMouseWheel {
    unsigned Msg = WM_MOUSEWHEEL;
    uint16_t Keys = 0;
    int16_t WheelDelta = 0;
    int16_t XPos = 0;
    int16_t YPos = 0;
    LRESULT Result = 0;
};

using TOnPrintResizeFont = TMethod<void(TvxOffscreenPaint* caller, int& FontSize, bool& DefaultResize)>;
using TWheelMessageEvent = TMethod<void(TWMMouseWheel& Msg)>;
// Asked for the Tab key when the control is embedded in a host: perform false only asks whether
// the control takes Tab, perform true acts on it.
using TOnTab = TMethod<bool(bool perform)>;

class TvxOffscreenPaint : public TCustomPanel {
public:
    explicit TvxOffscreenPaint(TComponent* AOwner = nullptr);
    ~TvxOffscreenPaint() override;

    // While printing, the printing canvas; otherwise the bitmap's. All drawing goes here.
    TCanvas& GetOffscreenCanvas();
    // The window's canvas, bound during a paint.
    TCanvas& GetDirectCanvas() { return Canvas(); }

    // The one routine descendants override; the base raises OnPaint.
    virtual void OffscreenPaint();
    // Copies the bitmap to the window, leaving out the margins.
    virtual void SmashPaint();
    // Called while something is dragged near an edge; nothing in the base.
    virtual void PossibleScroll(TScrollDirection aDirection);
    virtual void BeginUpdate();
    virtual void EndUpdate();
    // Draws the control on a device context with its top-left corner at (aX, aY) in device
    // units. The scales (0 means 1) are what descendants multiply lengths by; with aScaled the
    // control is also laid out at its scaled size while it prints.
    virtual void Print(HDC aDC, int aX, int aY, double aScaleX, double aScaleY, bool aScaled);
    // The largest print scale: far beyond any printer's resolution, yet every length stays an int.
    static constexpr double kMaxPrintScale = 1000;
    // Throws EInvalidArgument for a scale outside 0..kMaxPrintScale (NaN included).
    static void CheckPrintScale(double aScale);

    void BeginPrint() { ++printingCount_; }
    void EndPrint();
    bool GetIsPrinting() const { return printingCount_ >= 1; }
    bool GetAssignedPrintingCanvas() const { return printingCanvas_ != nullptr; }
    TPoint GetPrintOrigin() const { return printOrigin_; }

    void InternalSetPrintScalex(double scale) { printScaleX_ = scale; }
    void InternalSetPrintScaley(double scale) { printScaleY_ = scale; }
    double GetPrintScalex() const { return printScaleX_ == 0 ? 1 : printScaleX_; }
    double GetPrintScaley() const { return printScaleY_ == 0 ? 1 : printScaleY_; }
    // 1 on screen, the print scale while printing.
    double GetScalex() const { return GetIsPrinting() ? GetPrintScalex() : 1; }
    double GetScaley() const { return GetIsPrinting() ? GetPrintScaley() : 1; }

    // The ratio between the screen's and the canvas's height of 8-point text: 13 over the height
    // of "X" at size 8 (1 when that height is 0). Leaves the canvas font at size 8.
    static double GetFontScale(TCanvas& aCanvas);
    void CalculateFontScale() { fontScale_ = GetFontScale(GetOffscreenCanvas()); }
    double GetFontScaleInUse() const { return fontScale_; }
    // While printing, resizes the canvas font for the printer (see OnPrintResizeFont).
    void PrintResizeFont();

    // Sets the bounds the control reports without moving its window.
    void SetSizeDontTell(const TRect& aRect);

    // Pixels at the right and bottom edge that the bitmap does not cover (scroll bars sit there).
    // Negative margins are taken as 0.
    int GetRightMargin() const { return rightMargin_; }
    void SetRightMargin(int margin) { rightMargin_ = std::max(margin, 0); }
    int GetBottomMargin() const { return bottomMargin_; }
    void SetBottomMargin(int margin) { bottomMargin_ = std::max(margin, 0); }

    // Key codes the control takes as ordinary keys instead of focus moves.
    std::bitset<256>& WantedSpecialKeys() { return wantedSpecialKeys_; }

    // The host that embeds the control (kept alive while set) and its Tab handling. Passing a
    // null control clears it.
    void SetActiveXOwner(std::shared_ptr<void> anIntf, TWinControl* aControl, TOnTab anOnTab);
    TWinControl* GetActiveXOwner() const { return activeXControl_; }

    void Invalidate() override;
    void Repaint() override;
    void WndProc(TMessage& message) override;
    void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) override;

    // The panel's properties, public.
    using TCustomPanel::GetAlignment;
    using TCustomPanel::GetBevelInner;
    using TCustomPanel::GetBevelOuter;
    using TCustomPanel::GetBevelWidth;
    using TCustomPanel::GetBorderStyle;
    using TCustomPanel::GetBorderWidth;
    using TCustomPanel::SetAlignment;
    using TCustomPanel::SetBevelInner;
    using TCustomPanel::SetBevelOuter;
    using TCustomPanel::SetBevelWidth;
    using TCustomPanel::SetBorderStyle;
    using TCustomPanel::SetBorderWidth;

    TNotifyEvent OnPaint;
    TOnPrintResizeFont OnPrintResizeFont;
    TNotifyEvent OnAfterPrint;
    TWheelMessageEvent OnWheelMessage;
    TOnTab OnTab;

protected:
    void Paint() override;
    // Sizes the bitmap to the control, gives its canvas the control's font and colour and fills it.
    void UpdateOffscreenCanvas();
    int GetUpdateCount() const { return updateCount_; }

private:
    class TPrintScope;

    TBitmap bitmap_;
    std::unique_ptr<TCanvas> printingCanvas_;
    std::shared_ptr<void> activeXIntf_;
    TWinControl* activeXControl_ = nullptr;
    int updateCount_ = 0;
    int printingCount_ = 0;
    int invalidateCount_ = 0;
    int rightMargin_ = 0;
    int bottomMargin_ = 0;
    std::bitset<256> wantedSpecialKeys_;
    TPoint printOrigin_;
    double printScaleX_ = 0;
    double printScaleY_ = 0;
    double fontScale_ = 1;
};

}  // namespace vxplan
