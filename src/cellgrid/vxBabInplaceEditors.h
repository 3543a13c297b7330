// The five in-place editors a grid view places over the cell it edits: a one-line edit, a memo,
// a combo box, a check box and a date-time picker. Each is owned by its view, created hidden,
// and hands its keys and its loss of focus to the view, which decides when the edit ends:
//   Escape cancels; Tab ends the edit in every editor, Enter in all but the memo (where it
//   breaks the line); Up and Down end a one-line edit and then move the grid's focus;
//   losing the focus ends the edit (the one-line edit and the check box always, the others
//   when the view's StopEditOnFocusChange is set).
#pragma once

#include <vxplan/cellgrid/vxBabGridTypes.h>
#include <vxplan/platform/controls/vxCheckBox.h>
#include <vxplan/platform/controls/vxComboBox.h>
#include <vxplan/platform/controls/vxDateTimePicker.h>
#include <vxplan/platform/controls/vxEdit.h>
#include <vxplan/platform/controls/vxMemo.h>

namespace vxplan {

class TBabGridView_Custom;

// What every editor shares: the view, placing and hiding, and the keys and focus loss handed
// to the view.
template <class TBase>
class TBabInplace : public TBase {
public:
    explicit TBabInplace(TBabGridView_Custom* theView);
    // Shows the editor over theRect (one pixel taller) and gives it the focus.
    void Start(const TRect& theRect);
    // Gives the focus back to the view when the editor has it, and hides.
    void Stop();
    TBabGridView_Custom* View() const { return view_; }

protected:
    void WndProc(TMessage& message) override;
    void KeyPress(char32_t& key) override;
    void DoExit() override;
    // The memo keeps Enter for its line breaks.
    virtual bool MultiLine() const { return false; }
    // Whether losing the focus ends the edit even without StopEditOnFocusChange.
    virtual bool AlwaysStopsOnExit() const { return false; }
    // The check box and the picker are never taller than a single line.
    virtual TRect PlacedRect(const TRect& theRect) const { return theRect; }

private:
    TBabGridView_Custom* view_;
};

class TBabInplaceEditor : public TBabInplace<TCustomEdit> {
public:
    using TBabInplace::TBabInplace;

protected:
    void KeyDown(uint16_t& key, TShiftState shift) override;
    bool AlwaysStopsOnExit() const override { return true; }
};

class TBabInplaceComboEditor : public TBabInplace<TCustomComboBox> {
public:
    using TBabInplace::TBabInplace;
};

class TBabInplaceMemoEditor : public TBabInplace<TCustomMemo> {
public:
    explicit TBabInplaceMemoEditor(TBabGridView_Custom* theView);

protected:
    bool MultiLine() const override { return true; }
};

class TBabInplaceBoolEditor : public TBabInplace<TCustomCheckBox> {
public:
    using TBabInplace::TBabInplace;

protected:
    bool AlwaysStopsOnExit() const override { return true; }
    TRect PlacedRect(const TRect& theRect) const override;
};

class TBabInplaceDateTimeEditor : public TBabInplace<TDateTimePicker> {
public:
    explicit TBabInplaceDateTimeEditor(TBabGridView_Custom* theView);
    // The drop-down calendar shows week numbers (and is widened to fit them).
    bool GetWeekNumbers() const { return weekNumbers_; }
    void SetWeekNumbers(bool theValue) { weekNumbers_ = theValue; }

protected:
    TRect PlacedRect(const TRect& theRect) const override;

private:
    void CalendarDroppedDown(TObject*);

    bool weekNumbers_ = false;
};

extern template class TBabInplace<TCustomEdit>;
extern template class TBabInplace<TCustomComboBox>;
extern template class TBabInplace<TCustomMemo>;
extern template class TBabInplace<TCustomCheckBox>;
extern template class TBabInplace<TDateTimePicker>;

}  // namespace vxplan
