// TvxOffscreenPaint: painting through the off-screen bitmap, and printing through the same code.
#include <vxplan/paint/vxOffscreenPaint.h>

#include <vxplan/platform/controls/vxKeys.h>
#include <vxplan/platform/core/vxExceptions.h>
#include <vxplan/platform/graphics/vxDeviceContext.h>

namespace vxplan {

namespace {

// How near an edge (pixels) a drag asks the control to scroll.
constexpr int kDragScrollMargin = 5;
// The height of "X" at 8 points on the screen, the measure font scales are taken against.
constexpr double kScreenHeightOf8Points = 13;

}  // namespace

TvxOffscreenPaint::TvxOffscreenPaint(TComponent* AOwner) : TCustomPanel(AOwner)
{
    SetOpaque(true);
    SetCaption("");
}

TvxOffscreenPaint::~TvxOffscreenPaint()
{
    activeXIntf_.reset();
    activeXControl_ = nullptr;
}

TCanvas& TvxOffscreenPaint::GetOffscreenCanvas()
{
    if (GetIsPrinting() && printingCanvas_) return *printingCanvas_;
    return bitmap_.Canvas();
}

void TvxOffscreenPaint::OffscreenPaint()
{
    if (OnPaint) OnPaint(this);
}

void TvxOffscreenPaint::UpdateOffscreenCanvas()
{
    bitmap_.SetSize(GetWidth(), GetHeight());
    TCanvas& canvas = GetOffscreenCanvas();
    canvas.SetFont(Font());
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    canvas.Brush().SetColor(GetColor());
    canvas.FillRect(Rect(0, 0, GetWidth(), GetHeight()));
}

void TvxOffscreenPaint::Paint()
{
    if (GetIsPrinting()) return;
    invalidateCount_ = 0;
    UpdateOffscreenCanvas();
    OffscreenPaint();
    SmashPaint();
}

void TvxOffscreenPaint::SmashPaint()
{
    TCanvas& direct = GetDirectCanvas();
    // Margins wider than the control leave nothing of the bitmap to show.
    const TRect shown = Rect(0, 0, std::max(GetWidth() - rightMargin_, 0), std::max(GetHeight() - bottomMargin_, 0));
    direct.CopyRect(shown, bitmap_.Canvas(), shown);
    if (rightMargin_ > 0 && bottomMargin_ > 0) {
        const TColor kept = direct.Brush().GetColor();
        direct.Brush().SetColor(clBtnFace);
        direct.FillRect(Rect(shown.Right, shown.Bottom, GetWidth(), GetHeight()));
        direct.Brush().SetColor(kept);
    }
}

void TvxOffscreenPaint::Invalidate()
{
    // Invalidations gather until the next paint: only the first reaches the window.
    if (++invalidateCount_ == 1) TCustomPanel::Invalidate();
}

void TvxOffscreenPaint::Repaint()
{
    if (updateCount_ == 0) TCustomPanel::Repaint();
}

void TvxOffscreenPaint::BeginUpdate() { ++updateCount_; }

void TvxOffscreenPaint::EndUpdate()
{
    if (updateCount_ > 0) --updateCount_;
    Invalidate();
}

void TvxOffscreenPaint::PossibleScroll(TScrollDirection) {}

void TvxOffscreenPaint::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept)
{
    if (Y < kDragScrollMargin)
        PossibleScroll(TScrollDirection::tsdUp);
    else if (Y > int64_t{GetHeight()} - bottomMargin_ - kDragScrollMargin)
        PossibleScroll(TScrollDirection::tsdDown);
    else if (X < kDragScrollMargin)
        PossibleScroll(TScrollDirection::tsdLeft);
    else if (X > int64_t{GetWidth()} - rightMargin_ - kDragScrollMargin)
        PossibleScroll(TScrollDirection::tsdRight);
    TCustomPanel::DragOver(Source, X, Y, State, Accept);
}

void TvxOffscreenPaint::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_KEYDOWN:
        // An embedding host moves the focus out of the control itself.
        if (activeXControl_ && message.WParam == VK_TAB && OnTab) {
            OnTab(true);
            return;
        }
        break;
    case CM_WANTSPECIALKEY: {
        const WPARAM key = message.WParam;
        message.Result = (key < 256 && wantedSpecialKeys_.test(key)) || (key == VK_TAB && OnTab && OnTab(false));
        return;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        TCustomPanel::WndProc(message);
        Invalidate();
        return;
    case WM_MOUSEWHEEL:
        TCustomPanel::WndProc(message);
        if (OnWheelMessage) {
            TWMMouseWheel wheel;
            wheel.Keys = static_cast<uint16_t>(message.WParam & 0xFFFF);
            wheel.WheelDelta = static_cast<int16_t>((message.WParam >> 16) & 0xFFFF);
            wheel.XPos = static_cast<int16_t>(message.LParam & 0xFFFF);
            wheel.YPos = static_cast<int16_t>((message.LParam >> 16) & 0xFFFF);
            wheel.Result = message.Result;
            OnWheelMessage(wheel);
            message.Result = wheel.Result;
        }
        return;
    default: break;
    }
    TCustomPanel::WndProc(message);
}

void TvxOffscreenPaint::SetActiveXOwner(std::shared_ptr<void> anIntf, TWinControl* aControl, TOnTab anOnTab)
{
    activeXIntf_ = aControl ? std::move(anIntf) : nullptr;
    activeXControl_ = aControl;
    OnTab = aControl ? anOnTab : TOnTab();
}

void TvxOffscreenPaint::SetSizeDontTell(const TRect& aRect)
{
    UpdateBoundsFromWindow(aRect.Left, aRect.Top, aRect.Width(), aRect.Height());
}

void TvxOffscreenPaint::EndPrint()
{
    if (printingCount_ > 0) --printingCount_;
    if (printingCount_ == 0) {
        UpdateOffscreenCanvas();
        // A paint that came while printing drew nothing: the window must be drawn again even
        // when invalidations are still gathered.
        invalidateCount_ = 0;
        Invalidate();
    }
}

double TvxOffscreenPaint::GetFontScale(TCanvas& aCanvas)
{
    aCanvas.Font().SetSize(8);
    const int height = aCanvas.TextHeight("X");
    return height == 0 ? 1 : kScreenHeightOf8Points / height;
}

void TvxOffscreenPaint::PrintResizeFont()
{
    if (!GetIsPrinting()) return;
    TFont& font = GetOffscreenCanvas().Font();
    int size = font.GetSize();
    bool defaultResize = true;
    if (OnPrintResizeFont) {
        int chosen = size;
        OnPrintResizeFont(this, chosen, defaultResize);
        if (!defaultResize) size = chosen;
    }
    if (defaultResize) size = Round(GetPrintScaley() * (size * fontScale_));
    font.SetSize(size);
}

// What Print changes on the control and the context, put back however the drawing ends.
class TvxOffscreenPaint::TPrintScope {
public:
    TPrintScope(TvxOffscreenPaint& control, HDC dc, TRect printedBounds, TRect clip)
        : control_(control), dc_(dc), bounds_(control.GetBoundsRect())
    {
        control_.SetSizeDontTell(printedBounds);
        control_.printingCanvas_ = std::make_unique<TCanvas>();
        control_.BeginPrint();
        GetViewportOrgEx(dc_, &viewport_);
        SetViewportOrgEx(dc_, control_.printOrigin_.X, control_.printOrigin_.Y, nullptr);
        control_.printingCanvas_->SetHandle(dc_);
        // The host's own clip comes back afterwards.
        previousClip_ = CreateRectRgn(0, 0, 0, 0);
        hadClip_ = GetClipRgn(dc_, previousClip_) == 1;
        HRGN region = CreateRectRgnIndirect(clip);
        SelectClipRgn(dc_, region);
        DeleteObject(region);
    }

    ~TPrintScope()
    {
        RestoreClip();
        control_.printingCanvas_->SetHandle(nullptr);
        control_.printingCanvas_.reset();
        SetViewportOrgEx(dc_, viewport_.X, viewport_.Y, nullptr);
        control_.SetSizeDontTell(bounds_);
        control_.EndPrint();
    }

    // A print that drew without failing: the clip goes, then the host hears of it while the
    // printing canvas still exists.
    void Finished()
    {
        RestoreClip();
        if (control_.OnAfterPrint) control_.OnAfterPrint(&control_);
    }

    TPrintScope(const TPrintScope&) = delete;
    TPrintScope& operator=(const TPrintScope&) = delete;

private:
    void RestoreClip()
    {
        if (!previousClip_) return;
        SelectClipRgn(dc_, hadClip_ ? previousClip_ : nullptr);
        DeleteObject(previousClip_);
        previousClip_ = nullptr;
    }

    TvxOffscreenPaint& control_;
    HDC dc_;
    TRect bounds_;
    TPoint viewport_;
    HRGN previousClip_ = nullptr;
    bool hadClip_ = false;
};

void TvxOffscreenPaint::CheckPrintScale(double aScale)
{
    if (!(aScale >= 0 && aScale <= kMaxPrintScale))
        throw EInvalidArgument("Print scale " + NumberText(aScale) + " outside 0.." + NumberText(kMaxPrintScale));
}

void TvxOffscreenPaint::Print(HDC aDC, int aX, int aY, double aScaleX, double aScaleY, bool aScaled)
{
    if (!aDC) throw EInvalidArgument("Print needs a device context");
    CheckPrintScale(aScaleX);
    CheckPrintScale(aScaleY);
    printOrigin_ = Point(aX, aY);
    printScaleX_ = aScaleX;
    printScaleY_ = aScaleY;
    const int width = aScaled ? Round(GetPrintScalex() * GetWidth()) : GetWidth();
    const int height = aScaled ? Round(GetPrintScaley() * GetHeight()) : GetHeight();
    TPrintScope scope(*this, aDC, Bounds(GetLeft(), GetTop(), width, height), Bounds(aX, aY, width, height));
    CalculateFontScale();
    OffscreenPaint();
    scope.Finished();
}

}  // namespace vxplan
