// TvxDateScaler: the time axis, and the one authority that converts between time and pixels.
//
// The axis shows Start .. Stop along its length (Width when Horizontal, else Height). Hidden
// hours of the day and hidden days of the week take no pixels: the length is shared out over
// visible time only. Two rows of marks (minor and major, on calendar boundaries) are rebuilt
// after every change of the range; they are also the anchors that shorten the walk of the
// conversions.
//
// Files: vxScaler.cpp (construction, properties, range state), vxScalerMapping.cpp (hidden
// time and the conversions), vxScalerMarks.cpp (levels, Snap, mark building), vxScalerLabels.cpp
// (label texts), vxScalerPaint.cpp / vxScalerIndicators.cpp / vxScalerMouse.cpp (painting,
// indicators, mouse, scroll buttons, zoom animation).
#pragma once

#include <vxplan/paint/vxOffscreenPaint.h>
#include <vxplan/platform/core/vxSet.h>
#include <vxplan/platform/time/vxTimer.h>
#include <vxplan/scaler/vxScalerSpans.h>

#include <memory>
#include <string>
#include <vector>

namespace vxplan {

class TvxDateScaler;

enum class TvxHiddenHoursEnum {
    thh00, thh01, thh02, thh03, thh04, thh05, thh06, thh07, thh08, thh09, thh10, thh11,
    thh12, thh13, thh14, thh15, thh16, thh17, thh18, thh19, thh20, thh21, thh22, thh23
};
using TvxHiddenHours = TSet<TvxHiddenHoursEnum, 32>;

// Ordinal = day of week - 1, Sunday first.
enum class TvxHiddenDaysEnum { thdSUN, thdMON, thdTUE, thdWED, thdTHU, thdFRI, thdSAT };
using TvxHiddenDays = TSet<TvxHiddenDaysEnum, 8>;

enum class TScalerFont { sTextFont1, sTextFont2, sTextFont3 };
enum class TIndicatorStyle { isNone, isNormal, isColorfull, isSober };
enum class TLookAndFeel { tlfClassic, tlfBoxed };
enum class TScrollButtons { tsbClassic, tsbSmall, tsbOff };

// Posted by the scaler to itself after it painted a changed range; its handler raises OnChange.
enum : unsigned { WM_VXSCALERCHANGE = 3022 };

// One mark of a mark row.
struct TScaleMark {
    bool IsMajor = false;
    TDateTime Date = 0;
    double Pixel = 0;  // along the axis, 0 at Start; the first mark may lie before it (within +-2^30)
    std::string Text;
    TScalerFont Font = TScalerFont::sTextFont1;
    bool Hidden = false;  // everything from this mark to the next is hidden time
    std::string SubText;  // second label of minor marks, from OnUserStringShortSub
    TScalerFont SubFont = TScalerFont::sTextFont1;
};
using TScaleMarkList = std::vector<TScaleMark>;

// A veto of a new range while the user zooms: true refuses it.
using TOnLimitScaling = TMethod<bool(TvxDateScaler* caller, TDateTime aStart, TDateTime aStop, double aScale)>;
using TOnScalerUserDraw = TMethod<void(TvxDateScaler* caller, TCanvas& aCanvas, const TRect& aRect)>;
using TOnUserStringEvent =
    TMethod<void(TDateTime theDate, TDateTime theStep, std::string& theResult, TScalerFont& theScalerFont)>;

class TvxDateScaler : public TvxOffscreenPaint {
public:
    explicit TvxDateScaler(TComponent* AOwner = nullptr);
    ~TvxDateScaler() override;

    // ---- Properties ----------------------------------------------------------------------
    const std::string& GetDateFormat() const { return dateFormat_; }
    void SetDateFormat(const std::string& value);
    const std::string& GetTimeFormat() const { return timeFormat_; }
    void SetTimeFormat(const std::string& value);
    // 1 = Sunday .. 7 = Saturday; anything else throws EInvalidArgument and changes nothing.
    int GetFirstDayOfWeek() const { return firstDayOfWeek_; }
    void SetFirstDayOfWeek(int value);
    bool GetWeekNumbers() const { return weekNumbers_; }
    void SetWeekNumbers(bool value);
    const std::string& GetWeekPrefix() const { return weekPrefix_; }
    void SetWeekPrefix(const std::string& value);
    const std::string& GetWeekYearFormat() const { return weekYearFormat_; }
    void SetWeekYearFormat(const std::string& value);
    const std::string& GetQuarterPrefix() const { return quarterPrefix_; }
    void SetQuarterPrefix(const std::string& value);
    TvxHiddenHours GetHiddenHours() const { return hiddenHours_; }
    // Keeps the visible amount shown; Stop moves. All 24 hours hidden means none.
    void SetHiddenHours(TvxHiddenHours value);
    TvxHiddenDays GetHiddenDays() const { return hiddenDays_; }
    // As SetHiddenHours; all seven days hidden means none.
    void SetHiddenDays(TvxHiddenDays value);
    bool GetIndicatorOn() const { return indicatorOn_; }
    void SetIndicatorOn(bool value);
    bool GetHorizontal() const { return horizontal_; }
    void SetHorizontal(bool value);
    int GetPixelsForModeSwitch() const { return pixelsForModeSwitch_; }
    // At least 1 (EInvalidArgument otherwise).
    void SetPixelsForModeSwitch(int value);
    double GetScale();  // days of visible time per pixel
    TDateTime GetStart() const { return start_; }
    // Slides the range: the visible amount (the zoom) stays. Negative becomes 0; a date outside
    // years 1..9999 (or NaN), or one that takes Stop past 1 Jan 4000, throws EInvalidArgument
    // and changes nothing.
    void SetStart(TDateTime t);
    TDateTime GetStop() const { return stop_; }
    // Never later than 1 Jan 4000; a date outside the calendar, or not after Start, throws.
    void SetStop(TDateTime t);
    // The limits of user scrolling and zooming: inside the calendar, MinStart before MaxStop.
    TDateTime GetMinStart() const { return minStart_; }
    void SetMinStart(TDateTime value);
    TDateTime GetMaxStop() const { return maxStop_; }
    void SetMaxStop(TDateTime value);
    double GetZoomFactor() const { return zoomFactor_; }
    void SetZoomFactor(double value);
    TIndicatorStyle GetIndicatorStyle() const { return indicatorStyle_; }
    void SetIndicatorStyle(TIndicatorStyle value);
    bool GetRescaleWithCtrl() const { return rescaleWithCtrl_; }
    void SetRescaleWithCtrl(bool value);
    TFont& GetTextFont1() { return textFont1_; }
    TFont& GetTextFont2() { return textFont2_; }
    TFont& GetTextFont3() { return textFont3_; }
    // The fonts are copied.
    void SetTextFont1(const TFont& value);
    void SetTextFont2(const TFont& value);
    void SetTextFont3(const TFont& value);
    TFont& GetScalerFont(TScalerFont which);
    TLookAndFeel GetLookAndFeel() const { return lookAndFeel_; }
    void SetLookAndFeel(TLookAndFeel value);
    TScrollButtons GetScrollButtons() const { return scrollButtons_; }
    void SetScrollButtons(TScrollButtons value);
    bool GetVerticalText() const { return verticalText_; }
    void SetVerticalText(bool value);

    TNotifyEvent OnChange;
    TNotifyEvent OnAnimateChange;
    TOnUserStringEvent OnUserStringShort;
    TOnUserStringEvent OnUserStringLong;
    TOnUserStringEvent OnUserStringShortSub;
    TOnLimitScaling OnLimitScaling;
    TOnScalerUserDraw OnUserDrawBackground;
    TOnScalerUserDraw OnUserDrawForeground;

    // ---- Conversions ---------------------------------------------------------------------
    // Pixels beyond this are as good as infinitely far: pixels of times and marks are clamped
    // here, so they stay drawable (clipped) and sums of two of them stay ints.
    static constexpr double kPixelLimit = 1073741824.0;  // 2^30
    int DateToPixel(TDateTime theDate);
    TDateTime PixelToDate(int thePixel);
    double DateDiffToPixelLength(TDateTime theFrom, TDateTime theTo);
    TDateTime DateDiffToVisibleTime(TDateTime theFrom, TDateTime theTo);
    TDateTime VisibleTimeDiffToTrueTime(TDateTime theFrom, TDateTime theVisibleDiff);
    TDateTime VisibleTimeToTrueTime_Low(TDateTime t);
    TDateTime VisibleTimeToTrueTime_High(TDateTime t);
    TDateTime VisibleTimeAmount();
    virtual int TimeToPixel(TDateTime t);
    virtual TDateTime PixelLenToDate(int n);
    virtual int GetScaleLen();
    double ScalePixel(double x);
    int GetPixelFromScaleMark(const TScaleMark& theMark);
    void FindScaleMarksFromDate(TDateTime theDate, TScaleMark*& theBefore, TScaleMark*& theAfter);
    void FindScaleMarksFromPixel(int thePixel, TScaleMark*& theBefore, TScaleMark*& theAfter);

    // ---- Hidden time ---------------------------------------------------------------------
    bool IsHiddenHour(int hour) const;
    bool IsHiddenDay(int day) const;  // day: a whole TDateTime day number
    int GetHiddenHourCount() const { return hiddenHourCount_; }
    int GetHiddenDayCount() const { return hiddenDayCount_; }
    TDateTime VisibleTimeForDay(int day) const;
    TDateTime VisibleTimeForWeek();
    TDateTime VisibleTimeForPartOfDay(int day, TDateTime theLength, TDateTime theStart) const;

    // ---- Weeks ---------------------------------------------------------------------------
    TDateTime TruncToFirstDayOfWeek(TDateTime t) const;
    TDateTime FirstWeekOfYear(TDateTime t, bool& theFlag) const;
    int GetWeekNum(TDateTime t, bool& theNextYear) const;

    // ---- Range ---------------------------------------------------------------------------
    virtual void SetScale(double theScale);
    bool CheckIfOkStartStop(TDateTime aStart, TDateTime aStop) const;
    void BeginUpdate() override;
    void EndUpdate() override;

    // ---- Levels, marks and labels --------------------------------------------------------
    void CalcDrawMode();
    TDateTime Snap(TDateTime aDate, TDateTime aStep);
    TDateTime GetAdaptiveStep(TDateTime aDate, TDateTime aStep) const;
    void GetApprioateStringShort(TDateTime aDate, TDateTime aStep, int aWidth, std::string& theText,
                                 TScalerFont& theFont, std::string& theSubText, TScalerFont& theSubFont);
    std::string GetApprioateStringLong(TDateTime aDate, TDateTime aStep, TScalerFont& aFont);
    std::string GetWeekString(const std::string& aFormat, TDateTime aDate, bool aShort, int aWidth) const;
    int DateToQuarter(TDateTime aDate) const;
    void CalcOddOrEventStartForVerticalBack();
    int GetOddOrEventStartForVerticalBack() const { return oddOrEvenStart_; }
    // Label position (day and longer steps: the middle of the interval) and box position (the
    // other way round) of mark i, j being the next mark (past the end: the end of the axis).
    // An i outside the list throws EListError.
    int GetScaleMarkPix(const TScaleMarkList& aList, int i, int j);
    int GetBoxPix(const TScaleMarkList& aList, int i, int j);

    const TScaleMarkList& GetMinorMarks() const { return minorMarks_; }
    const TScaleMarkList& GetMajorMarks() const { return majorMarks_; }
    TDateTime GetMinorStep() const { return minorStep_; }
    TDateTime GetMajorStep() const { return majorStep_; }
    const std::string& GetMinorStepName() const { return minorStepName_; }
    const std::string& GetMajorStepName() const { return majorStepName_; }
    TDateTime GetTimeOf10Pixels() const { return timeOf10Pixels_; }
    bool GetChanged() const { return changed_; }

    // ---- Painting, mouse, scrolling, zooming (vxScalerPaint/Indicators/Mouse.cpp) ----------
    void DoThePaint(TCanvas& aCanvas, const TRect& aRect);
    void DoBackground(TCanvas& aCanvas, const TRect& aRect);
    void DoForeground(TCanvas& aCanvas, const TRect& aRect);
    // Rounds every mark's pixel into thePixels and draws the ticks (factor: print factor).
    void CalcPixAndDrawScaleMarks(TCanvas& aCanvas, const TRect& aRect, const TScaleMarkList& theMarks,
                                  std::vector<int>& thePixels, int aFactorX, int aFactorY);
    void DrawScaleMarksText(TCanvas& aCanvas, const TRect& aRect, const TScaleMarkList& theMarks);
    void DrawBoxes(TCanvas& aCanvas, const TRect& aRect);
    void DrawScrollButtons(TCanvas& aCanvas, const TRect& aRect);
    void DrawTriangleButton(TCanvas& aCanvas, const TRect& aButton, TScrollDirection aDirection, bool aPressed);
    void DrawZoomButtons(TCanvas& aCanvas, const TRect& aRect);
    void DrawScaleIndicator(TCanvas& aCanvas, const TRect& aRect);
    void NormalIndicator(TCanvas& aCanvas, const TRect& aRect);
    void ColorFullIndicator(TCanvas& aCanvas, const TRect& aRect);
    void SoberIndicator(TCanvas& aCanvas, const TRect& aRect);
    void RotateFontIfNeeded(TCanvas& aCanvas);

    bool RescaleNotPan(TShiftState aShift) const;
    void ScrollButtonPressed(TObject* Sender);
    TDateTime GetScrollStep();
    void StartStepUp();
    void StartStepDown();
    void StopStep();
    // StartStepUp or StartStepDown is in force.
    bool IsStepping() const { return programmaticStep_; }
    // Steps every 150 ms with the base step until StopStep, toward later or earlier time.
    void StartProgrammaticStep(bool later);

    virtual void SetCenterScale(double aScale, TDateTime aDate, int aPixel);
    void AnimateScaleTransition(double aScale, int aSteps);
    void AnimateScaleTransition(TDateTime aStart, TDateTime aStop, int aSteps);

    void Print(HDC aDC, int aX, int aY, double aScaleX, double aScaleY, bool aScaled) override;

    TRect GetEarlierButtonRect() const { return earlierButton_; }
    TRect GetLaterButtonRect() const { return laterButton_; }
    const std::vector<int>& GetMinorPixels() const { return minorPixels_; }
    const std::vector<int>& GetMajorPixels() const { return majorPixels_; }
    bool GetPressed() const { return pressed_; }
    bool GetZooming() const { return zooming_; }
    TTimer& GetScrollTimer() { return *scrollTimer_; }
    // ---- end of painting, mouse, scrolling, zooming -----------------------------------------

    void WndProc(TMessage& message) override;

protected:
    void OffscreenPaint() override;
    void Resize() override;
    // Handler of the change message: raises OnChange.
    void CallChange();
    // Clears the changed flag and posts the change message, when a painted change is due.
    void AnnounceChangeIfDue();

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    // A disabled scroll timer on the clock in force, raising ScrollButtonPressed.
    std::unique_ptr<TTimer> NewScrollTimer(int interval);
    // Scrolling starts: the timer runs on the clock in force now (a host or a test may have
    // installed another since the scaler was made), with the interval given.
    void StartScrollTimer(int interval);
    // One step of the scroll buttons, toward later time when stepUp_.
    void ScrollStep(TDateTime step);
    // Stores a range without the setters' checks (callers keep Start <= Stop).
    void AssignRange(TDateTime theStart, TDateTime theStop);
    // Puts the range back to one day from Start, ends any mouse operation and throws aMessage.
    [[noreturn]] void FailScale(const std::string& aMessage);
    // The visible time from lo to hi (lo <= hi, both finite and near the calendar).
    TDateTime VisibleBetween(TDateTime lo, TDateTime hi);
    // Mark i's pixel, or the middle between it and mark j when the step's length is as asked.
    int MarkOrMiddlePix(const TScaleMarkList& aList, int i, int j, bool aMiddleForDays);
    // CalcDrawMode without the failure handling.
    void BuildAllMarks();
    void BuildMarks(TScaleMarkList& theList, TDateTime theStep, bool theMajor);
    void RecountHidden();
    // The visible time from midnight of aDay to t (t inside that day, or its end).
    void RebuildMarksAndChange();
    // After a change of the hidden sets: Stop := the time at the end of the axis.
    void MoveStopKeepingAmount();
    // Throws EInvalidArgument for NaN or a date outside years 1..9999.
    static void CheckCalendarDate(TDateTime t, const char* aWhat);

    // Labels and formats.
    std::string dateFormat_;
    std::string timeFormat_;
    int firstDayOfWeek_ = 2;
    bool weekNumbers_ = false;
    std::string weekPrefix_ = " w ";
    std::string weekYearFormat_ = "YYYY";
    std::string quarterPrefix_ = " Q";

    // Range and hidden time.
    TDateTime start_ = 0;
    TDateTime stop_ = 0;
    TDateTime minStart_ = 0;
    TDateTime maxStop_ = 0;  // 1 Jan 4000, set in the constructor
    bool horizontal_ = false;
    TvxHiddenHours hiddenHours_;
    TvxHiddenDays hiddenDays_;
    int hiddenHourCount_ = 0;
    int hiddenDayCount_ = 0;
    uint32_t hiddenHourBits_ = 0;  // bit h: hour h hidden (the fast path of the mapping)
    uint8_t hiddenDayBits_ = 0;    // bit d: day of week d + 1 hidden

    // Caches.
    TDateTime amountStart_ = 0;
    TDateTime amountStop_ = 0;
    TDateTime amount_ = 0;
    bool amountValid_ = false;
    TDateTime weekTime_ = 0;
    bool weekStale_ = true;

    // Resize and change announcement.
    bool resizePending_ = false;
    int savedScaleLen_ = 0;
    double savedScale_ = 0;
    TDateTime lastPaintStop_ = 0;
    bool changed_ = false;
    bool failing_ = false;  // inside FailScale: a second failure only empties the marks

    // Presentation.
    int pixelsForModeSwitch_ = 15;
    double zoomFactor_ = 0.9;
    bool indicatorOn_ = true;
    TIndicatorStyle indicatorStyle_ = TIndicatorStyle::isNormal;
    bool rescaleWithCtrl_ = false;
    TFont textFont1_;
    TFont textFont2_;
    TFont textFont3_;
    TLookAndFeel lookAndFeel_ = TLookAndFeel::tlfClassic;
    TScrollButtons scrollButtons_ = TScrollButtons::tsbClassic;
    bool verticalText_ = false;

    // Marks.
    TScaleMarkList minorMarks_;
    TScaleMarkList majorMarks_;
    std::vector<TDateTime> minorMarkDates_;  // the minor marks' dates, packed for searching
    TDateTime minorStep_ = 0;
    TDateTime majorStep_ = 0;
    std::string minorStepName_;
    std::string majorStepName_;
    TDateTime timeOf10Pixels_ = 0;
    int oddOrEvenStart_ = 0;

    // ---- Interaction state (painting, mouse, scrolling, zooming) ----------------------------
    bool pressed_ = false;
    int downX_ = 0;
    int downY_ = 0;
    int downPos_ = 0;  // along the axis
    double scaleAtPress_ = 0;
    TDateTime dateAtPress_ = 0;
    TShiftState shiftAtPress_;
    int64_t pressTick_ = 0;  // tick count of the first press, for scroll acceleration
    bool zooming_ = false;
    std::unique_ptr<TTimer> scrollTimer_;
    bool stepUp_ = false;
    bool stepDown_ = false;
    bool programmaticStep_ = false;
    TPoint lastMouse_{-1, -1};  // where the pointer was last seen, for the scroll timer
    TRect earlierButton_ = kNoRect;
    TRect laterButton_ = kNoRect;
    std::vector<int> minorPixels_;
    std::vector<int> majorPixels_;
};

}  // namespace vxplan
