// Temporary: trivial bodies for the painting, mouse and zoom members so the library links until
// their real definitions arrive (this file is deleted then).
#include "scaler/vxScaler.h"

namespace vxplan {

void TvxDateScaler::DoThePaint(TCanvas&, const TRect&) { AnnounceChangeIfDue(); }
void TvxDateScaler::DoBackground(TCanvas&, const TRect&) {}
void TvxDateScaler::DoForeground(TCanvas&, const TRect&) {}
void TvxDateScaler::CalcPixAndDrawScaleMarks(TCanvas&, const TRect&, const TScaleMarkList&, std::vector<int>&, int,
                                             int)
{
}
void TvxDateScaler::DrawScaleMarksText(TCanvas&, const TRect&, const TScaleMarkList&) {}
void TvxDateScaler::DrawBoxes(TCanvas&, const TRect&) {}
void TvxDateScaler::DrawScrollButtons(TCanvas&, const TRect&) {}
void TvxDateScaler::DrawTriangleButton(TCanvas&, const TRect&, TScrollDirection, bool) {}
void TvxDateScaler::DrawZoomButtons(TCanvas&, const TRect&) {}
void TvxDateScaler::DrawScaleIndicator(TCanvas&, const TRect&) {}
void TvxDateScaler::NormalIndicator(TCanvas&, const TRect&) {}
void TvxDateScaler::ColorFullIndicator(TCanvas&, const TRect&) {}
void TvxDateScaler::SoberIndicator(TCanvas&, const TRect&) {}
void TvxDateScaler::RotateFontIfNeeded(TCanvas&) {}
bool TvxDateScaler::RescaleNotPan(TShiftState) const { return false; }
void TvxDateScaler::ScrollButtonPressed(TObject*) {}
TDateTime TvxDateScaler::GetScrollStep() { return 0; }
void TvxDateScaler::StartStepUp() {}
void TvxDateScaler::StartStepDown() {}
void TvxDateScaler::StopStep() {}
void TvxDateScaler::SetCenterScale(double, TDateTime, int) {}
void TvxDateScaler::AnimateScaleTransition(double, int) {}
void TvxDateScaler::AnimateScaleTransition(TDateTime, TDateTime, int) {}
void TvxDateScaler::Print(HDC aDC, int aX, int aY, double aScaleX, double aScaleY, bool aScaled)
{
    TvxOffscreenPaint::Print(aDC, aX, aY, aScaleX, aScaleY, aScaled);
}
void TvxDateScaler::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TvxOffscreenPaint::MouseDown(button, shift, x, y);
}
void TvxDateScaler::MouseMove(TShiftState shift, int x, int y) { TvxOffscreenPaint::MouseMove(shift, x, y); }
void TvxDateScaler::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TvxOffscreenPaint::MouseUp(button, shift, x, y);
}

}  // namespace vxplan
