// TDateTimePicker: a date, or a time of day, in a box over Qt's date-time edit.
//
// The value is a TDateTime (days since 30 December 1899, see vxDateUtils.h), kept exact to the
// millisecond; 0.0, the platform's "cleared" value, is a value like any other. Kind dtkDate
// shows the date and drops a calendar down (the arrow, F4 or Alt+Down); dtkTime shows the time
// with up and down buttons. The user changes only the part shown: the time of a date picker
// stays, and so does the date of a time picker. MinDate and MaxDate bound the date part
// (defaults 1 January 100 and 31 December 9999, the widest Qt's edit takes).
//
// Format, in FormatDateTime's tokens, chooses what the box shows; "" takes the settings'
// ShortDateFormat or LongDateFormat (by DateFormat) for a date and LongTimeFormat for a time.
// The format, separators and names are read from FormatSettings() at SetKind, SetFormat and
// SetDateFormat. The box shows what FormatDateTime prints, but for what Qt's edit cannot show:
// z has three digits like zzz, a/p and mixed-case am/pm show the whole half-day text in upper
// case, and c always shows its time.
//
// OnChange follows every change of the value, by the user or the program; OnDropDown comes
// when the calendar has opened and OnCloseUp when it has gone. Keys reach OnKeyDown and
// OnKeyPress before the box acts on them (setting Key to 0 swallows one), focus changes raise
// OnEnter and OnExit, and the focus moving into the calendar and back raises neither.
#pragma once

#include <vxplan/platform/controls/vxWinControl.h>
#include <vxplan/platform/time/vxDateUtils.h>

#include <string>

class QCalendarWidget;
class QDateTimeEdit;

namespace vxplan {

enum class TDateTimeKind { dtkDate, dtkTime };
enum class TDTDateFormat { dfShort, dfLong };

class TDateTimePicker : public TWinControl {
public:
    explicit TDateTimePicker(TComponent* AOwner = nullptr);
    ~TDateTimePicker() override;

    // The setters throw EInvalidArgument, naming the value, for one that is not finite or whose
    // date lies outside MinDate..MaxDate; the value stays as it was.
    TDateTime GetDateTime() const { return value_; }
    void SetDateTime(TDateTime value);
    // The date part; setting it keeps the time of day.
    TDateTime GetDate() const;
    void SetDate(TDateTime date);
    // The time of day (the fraction of the value); setting it keeps the date.
    TDateTime GetTime() const;
    void SetTime(TDateTime time);

    // Both throw EInvalidArgument for a value that is no kind or date format.
    TDateTimeKind GetKind() const { return kind_; }
    void SetKind(TDateTimeKind kind);
    TDTDateFormat GetDateFormat() const { return dateFormat_; }
    void SetDateFormat(TDTDateFormat dateFormat);
    // Throws EInvalidArgument for a format that shows no part of a date or time, and keeps the
    // one before.
    const std::string& GetFormat() const { return format_; }
    void SetFormat(const std::string& format);

    // Dates (their time of day is ignored) within 1 January 100 .. 31 December 9999, MinDate
    // not after MaxDate, else EInvalidArgument. A value outside the new range moves into it,
    // keeping its time of day.
    TDateTime GetMinDate() const { return minDate_; }
    void SetMinDate(TDateTime date);
    TDateTime GetMaxDate() const { return maxDate_; }
    void SetMaxDate(TDateTime date);

    // Opening does nothing for a time picker, a read-only one, or one not on screen.
    bool GetDroppedDown() const { return dropped_; }
    void SetDroppedDown(bool droppedDown);
    // The calendar shows ISO week numbers beside its weeks.
    bool GetCalendarWeekNumbers() const { return weekNumbers_; }
    void SetCalendarWeekNumbers(bool weekNumbers);

    void SetFocus() override;
    // The calendar that drops down, for sizing and looks; it exists for either kind.
    QCalendarWidget* CalendarWidget() const { return calendar_; }
    QDateTimeEdit* Widget() const;

    TNotifyEvent OnChange;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;

protected:
    virtual void Change();
    virtual void DropDown();
    virtual void CloseUp();
    void Resize() override;
    void FontChanged() override;
    void ColorChanged() override;

private:
    class TEdit;
    // candidate rounded to the millisecond, after checking it; given is what the caller passed,
    // named in the error.
    TDateTime Checked(TDateTime given, TDateTime candidate, const char* what) const;
    TDateTime CheckedLimit(TDateTime date, const char* what) const;
    void Assign(TDateTime value);
    void ShowValue();
    // False when Qt's edit refuses the format the control would show.
    bool ApplyFormat();
    void WidgetChanged();
    void CalendarShown();
    void CalendarHidden();

    TEdit* edit_;
    QCalendarWidget* calendar_;
    TDateTime value_ = 0;
    TDateTime minDate_;
    TDateTime maxDate_;
    TDateTimeKind kind_ = TDateTimeKind::dtkDate;
    TDTDateFormat dateFormat_ = TDTDateFormat::dfShort;
    std::string format_;
    bool weekNumbers_ = false;
    bool dropped_ = false;
    bool syncing_ = false;
};

}  // namespace vxplan
