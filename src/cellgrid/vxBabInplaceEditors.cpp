// The in-place editors: placing over the cell, handing keys and focus loss to the view.
#include <vxplan/cellgrid/vxBabInplaceEditors.h>

#include <vxplan/cellgrid/vxBabGridView.h>
#include <vxplan/platform/controls/vxKeys.h>

#include <QCalendarWidget>

#include <algorithm>

namespace vxplan {

namespace {

constexpr int kSingleLineHeight = 21;

}  // namespace

template <class TBase>
TBabInplace<TBase>::TBabInplace(TBabGridView_Custom* theView) : TBase(theView), view_(theView)
{
    TBase::SetVisible(false);
    TBase::SetTabStop(false);
    TBase::SetParent(theView);
}

template <class TBase>
void TBabInplace<TBase>::Start(const TRect& theRect)
{
    const TRect r = PlacedRect(theRect);
    TBase::SetBounds(r.Left, r.Top, std::max(r.Width(), 0), std::max(r.Height(), 0) + 1);
    TBase::SetVisible(true);
    TBase::BringToFront();
    TBase::SetFocus();
}

template <class TBase>
void TBabInplace<TBase>::Stop()
{
    if (!TBase::GetVisible()) return;
    if (TBase::Focused() && view_->CanFocus()) view_->SetFocus();
    TBase::SetVisible(false);
}

template <class TBase>
void TBabInplace<TBase>::WndProc(TMessage& message)
{
    // Tab ends the edit instead of moving the focus on.
    if (message.Msg == CM_WANTSPECIALKEY && message.WParam == VK_TAB) {
        message.Result = 1;
        return;
    }
    TBase::WndProc(message);
}

template <class TBase>
void TBabInplace<TBase>::KeyPress(char32_t& key)
{
    view_->EditorKeyPress(key, MultiLine());
    if (key != 0) TBase::KeyPress(key);
}

template <class TBase>
void TBabInplace<TBase>::DoExit()
{
    TBase::DoExit();
    if (TBase::IsDestroying() || view_->IsDestroying()) return;
    if (AlwaysStopsOnExit() || view_->GetStopEditOnFocusChange()) view_->StopEditing();
}

template class TBabInplace<TCustomEdit>;
template class TBabInplace<TCustomComboBox>;
template class TBabInplace<TCustomMemo>;
template class TBabInplace<TCustomCheckBox>;
template class TBabInplace<TDateTimePicker>;

// --- The one-line edit -----------------------------------------------------------------------

void TBabInplaceEditor::KeyDown(uint16_t& key, TShiftState shift)
{
    TBabInplace::KeyDown(key, shift);
    switch (key) {
    case VK_TAB:
    case VK_RETURN:
        key = 0;
        View()->StopEditing();
        break;
    case VK_UP:
    case VK_DOWN: {
        // The edit ends and the grid moves its focus with the same key.
        uint16_t passed = key;
        key = 0;
        TBabGridView_Custom* view = View();
        view->StopEditing();
        view->Perform(WM_KEYDOWN, passed, 1);
        break;
    }
    default: break;
    }
}

// --- The memo --------------------------------------------------------------------------------

TBabInplaceMemoEditor::TBabInplaceMemoEditor(TBabGridView_Custom* theView) : TBabInplace(theView)
{
    SetWantReturns(true);
}

// --- The check box ---------------------------------------------------------------------------

TRect TBabInplaceBoolEditor::PlacedRect(const TRect& theRect) const
{
    TRect r = theRect;
    r.Left = std::min(r.Left + 1, r.Right);
    r.Top = std::min(r.Top + 1, r.Bottom);
    if (r.Bottom - r.Top > kSingleLineHeight) r.Bottom = r.Top + kSingleLineHeight;
    return r;
}

// --- The date-time picker --------------------------------------------------------------------

TBabInplaceDateTimeEditor::TBabInplaceDateTimeEditor(TBabGridView_Custom* theView) : TBabInplace(theView)
{
    OnDropDown = TNotifyEvent(this, &TBabInplaceDateTimeEditor::CalendarDroppedDown);
}

TRect TBabInplaceDateTimeEditor::PlacedRect(const TRect& theRect) const
{
    TRect r = theRect;
    if (r.Bottom - r.Top > kSingleLineHeight) r.Bottom = r.Top + kSingleLineHeight;
    return r;
}

void TBabInplaceDateTimeEditor::CalendarDroppedDown(TObject*)
{
    if (!weekNumbers_) return;
    SetCalendarWeekNumbers(true);
    if (QCalendarWidget* calendar = CalendarWidget()) {
        const QSize fit = calendar->minimumSizeHint();
        calendar->resize(fit.width() + 2, fit.height());
    }
}

}  // namespace vxplan
