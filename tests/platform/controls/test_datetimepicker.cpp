// The date and time picker: values exact to the millisecond to the ends of the calendar, the
// date and time parts, range errors, the kinds, the display format against FormatDateTime, and
// the calendar that drops down without taking the focus from the control.
#include "test_editors_support.h"

#include <vxplan/platform/controls/vxDateTimePicker.h>
#include <vxplan/platform/core/vxExceptions.h>
#include <vxplan/platform/time/vxDateFormat.h>

#include "support/vxTestSupport.h"

#include <QCalendarWidget>
#include <QDateTimeEdit>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace vxplan;
using namespace vxplan::test;

namespace {

// Every test starts from the classic English settings and leaves the ones it found.
class Picker : public ::testing::Test {
protected:
    Picker() { SetFormatSettings(ClassicFormatSettings()); }
    ~Picker() override { SetFormatSettings(saved_); }

private:
    TFormatSettings saved_ = FormatSettings();
};

using PickerValue = Picker;
using PickerKinds = Picker;
using PickerFormat = Picker;
using PickerCalendar = Picker;

std::string Shown(TDateTimePicker& p) { return p.Widget()->text().toStdString(); }

}  // namespace

TEST_F(PickerValue, RoundTripsAreExactToTheMillisecondToTheEndsOfTheRange)
{
    TDateTimePicker picker;
    for (const TDateTime t : {EncodeDateTime(100, 1, 1, 0, 0, 0, 0), EncodeDateTime(9999, 12, 31, 23, 59, 59, 999), 0.0,
                              -1.25, EncodeDateTime(2021, 3, 28, 2, 30, 0, 1)}) {
        picker.SetDateTime(t);
        EXPECT_EQ(picker.GetDateTime(), t);
        EXPECT_EQ(picker.Widget()->dateTime(), DateTimeToUtcQDateTime(t));
    }
    // A fraction of a millisecond goes to the nearest one.
    const TDateTime t = EncodeDateTime(2024, 2, 29, 13, 14, 15, 16);
    picker.SetDateTime(t + 0.4 / MSecsPerDay);
    EXPECT_EQ(picker.GetDateTime(), t);
}

TEST_F(PickerValue, DateAndTimeOfDayKeepEachOther)
{
    TDateTimePicker picker;
    int changes = 0;
    picker.OnChange = [&](TObject*) { ++changes; };
    picker.SetDateTime(EncodeDateTime(2024, 2, 29, 13, 14, 15, 16));
    picker.SetDate(EncodeDate(2025, 1, 1) + 0.75);  // its time is not taken
    EXPECT_EQ(picker.GetDateTime(), EncodeDateTime(2025, 1, 1, 13, 14, 15, 16));
    picker.SetTime(3 + EncodeTime(6, 0, 0, 1));  // its date is not taken
    EXPECT_EQ(picker.GetDateTime(), EncodeDateTime(2025, 1, 1, 6, 0, 0, 1));
    EXPECT_EQ(picker.GetDate(), EncodeDate(2025, 1, 1));
    EXPECT_EQ(picker.GetTime(), EncodeTime(6, 0, 0, 1));
    picker.SetTime(EncodeTime(6, 0, 0, 1));
    EXPECT_EQ(changes, 3);
    // Before the origin the time of day still counts forward.
    picker.SetDateTime(-1.25);
    picker.SetTime(0.5);
    EXPECT_EQ(picker.GetDateTime(), -1.5);
    EXPECT_EQ(picker.GetDate(), -1.0);
    EXPECT_EQ(picker.GetTime(), 0.5);
}

TEST_F(PickerValue, BadValuesAreRefusedNamingThemAndChangeNothing)
{
    TDateTimePicker picker;
    const TDateTime start = EncodeDateTime(2020, 6, 15, 8, 0, 0, 0);
    picker.SetDateTime(start);
    int changes = 0;
    picker.OnChange = [&](TObject*) { ++changes; };
    EXPECT_EQ(ErrorText<EInvalidArgument>([&] { picker.SetDateTime(std::nan("")); }),
              "DateTime must be a finite number, not nan");
    EXPECT_EQ(ErrorText<EInvalidArgument>([&] { picker.SetDateTime(EncodeDateTime(99, 12, 31, 12, 0, 0, 0)); }),
              "DateTime 0099-12-31 12:00:00.000 lies outside MinDate..MaxDate (0100-01-01..9999-12-31)");
    EXPECT_THROW(picker.SetDateTime(MaxDateTime + 0.5), EInvalidArgument);
    EXPECT_THROW(picker.SetTime(std::numeric_limits<double>::infinity()), EInvalidArgument);

    picker.SetMinDate(EncodeDate(2020, 1, 1) + 0.5);  // its time of day is dropped
    picker.SetMaxDate(EncodeDate(2020, 12, 31));
    EXPECT_EQ(picker.GetMinDate(), EncodeDate(2020, 1, 1));
    EXPECT_EQ(ErrorText<EInvalidArgument>([&] { picker.SetDate(EncodeDate(2021, 1, 1)); }),
              "Date 2021-01-01 00:00:00.000 lies outside MinDate..MaxDate (2020-01-01..2020-12-31)");
    // The last day of the range is whole, to its last millisecond.
    picker.SetDateTime(EncodeDateTime(2020, 12, 31, 23, 59, 59, 999));
    picker.SetDateTime(start);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(ErrorText<EInvalidArgument>([&] { picker.SetMinDate(EncodeDate(2021, 1, 1)); }),
              "MinDate 2021-01-01 must not lie after MaxDate 2020-12-31");
    EXPECT_EQ(ErrorText<EInvalidArgument>([&] { picker.SetMaxDate(EncodeDate(50, 1, 1)); }),
              "MaxDate must lie within 0100-01-01..9999-12-31, not 0050-01-01 00:00:00.000");
    EXPECT_EQ(picker.GetDateTime(), start);
    EXPECT_EQ(picker.Widget()->dateTime(), DateTimeToUtcQDateTime(start));

    // A narrower range moves the value in, keeping its time of day.
    picker.SetMinDate(EncodeDate(2020, 7, 1));
    EXPECT_EQ(picker.GetDateTime(), EncodeDateTime(2020, 7, 1, 8, 0, 0, 0));
    EXPECT_EQ(changes, 3);
}

TEST_F(PickerValue, AChangeHandlerThatThrowsLeavesValueAndBoxAgreeing)
{
    TDateTimePicker picker;
    picker.OnChange = [](TObject*) { throw std::runtime_error("host failed"); };
    const TDateTime t = EncodeDateTime(2022, 5, 6, 7, 8, 9, 10);
    EXPECT_THROW(picker.SetDateTime(t), std::runtime_error);
    EXPECT_EQ(picker.GetDateTime(), t);
    EXPECT_EQ(picker.Widget()->dateTime(), DateTimeToUtcQDateTime(t));
    picker.OnChange = nullptr;
    picker.SetDate(EncodeDate(2023, 1, 1));
    EXPECT_EQ(Shown(picker), "2023-01-01");
}

TEST_F(PickerKinds, TheUserChangesOnlyThePartShown)
{
    TDateTimePicker picker;
    picker.SetDateTime(EncodeDateTime(2024, 2, 29, 23, 30, 0, 0));
    int changes = 0;
    picker.OnChange = [&](TObject*) { ++changes; };
    EXPECT_TRUE(picker.Widget()->calendarPopup());
    EXPECT_EQ(Shown(picker), "2024-02-29");
    // Up steps the year, the first part; 29 February goes to the 28th of a common year.
    Key(picker.Widget(), Qt::Key_Up);
    EXPECT_EQ(picker.GetDateTime(), EncodeDateTime(2025, 2, 28, 23, 30, 0, 0));

    picker.SetKind(TDateTimeKind::dtkTime);
    EXPECT_FALSE(picker.Widget()->calendarPopup());
    EXPECT_EQ(Shown(picker), "23:30:00");
    Key(picker.Widget(), Qt::Key_Up);  // the hour stops at 23 rather than turning the date
    Key(picker.Widget(), Qt::Key_Down);
    EXPECT_EQ(picker.GetDateTime(), EncodeDateTime(2025, 2, 28, 22, 30, 0, 0));
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(ErrorText<EInvalidArgument>([&] { picker.SetKind(static_cast<TDateTimeKind>(2)); }),
              "A picker's kind is dtkDate or dtkTime, not 2");
}

TEST_F(PickerFormat, TheBoxShowsWhatFormatDateTimePrints)
{
    TFormatSettings dotted = ClassicFormatSettings();
    dotted.DateSeparator = '.';
    dotted.TimeSeparator = '.';
    dotted.ShortDateFormat = "dd/mm/yy";
    dotted.LongDateFormat = "ddd d mmm yyyy";
    dotted.ShortTimeFormat = "h:nn am/pm";
    dotted.LongTimeFormat = "hh:nn:ss";
    const std::vector<std::string> formats{"",
                                           "dd/mm/yyyy",
                                           "d mmm yyyy",
                                           "dddd, d mmmm yyyy \"at\" hh:nn",
                                           "yyyy-mm-dd hh:nn:ss.zzz",
                                           "h:nn ampm",
                                           "hh:mm",
                                           "h mm",
                                           "ddddd t",
                                           "dddddd tt",
                                           "c",
                                           "'Week of' d/m",
                                           "\"it's\" yy",
                                           "hh:nn AM/PM"};
    const std::vector<TDateTime> values{EncodeDateTime(2024, 2, 9, 13, 4, 5, 60), EncodeDateTime(100, 1, 1, 0, 7, 0, 0),
                                        EncodeDateTime(9999, 12, 31, 23, 59, 59, 999), EncodeDateTime(1999, 11, 30, 9, 5, 0, 0)};
    TDateTimePicker picker;
    for (const TFormatSettings& settings : {ClassicFormatSettings(), dotted}) {
        SetFormatSettings(settings);
        for (const std::string& format : formats) {
            picker.SetFormat(format);
            for (TDateTime value : values) {
                picker.SetDateTime(value);
                // An empty format is the settings' short date for a date picker.
                const std::string expected = FormatDateTime(format.empty() ? settings.ShortDateFormat : format, value);
                EXPECT_EQ(Shown(picker), expected) << "format \"" << format << "\" as "
                                                   << picker.Widget()->displayFormat().toStdString();
            }
        }
    }
    // Where Qt cannot show the same, the nearest: milliseconds in three digits.
    SetFormatSettings(ClassicFormatSettings());
    picker.SetFormat("s.z");
    picker.SetDateTime(EncodeDateTime(2024, 2, 9, 13, 4, 5, 60));
    EXPECT_EQ(FormatDateTime("s.z", picker.GetDateTime()), "5.60");
    EXPECT_EQ(Shown(picker), "5.060");
}

TEST_F(PickerFormat, KindAndDateFormatTakeTheSettingsInForceThen)
{
    TDateTimePicker picker;
    picker.SetDateTime(EncodeDateTime(2024, 2, 9, 13, 4, 5, 0));
    EXPECT_EQ(Shown(picker), "2024-02-09");
    picker.SetDateFormat(TDTDateFormat::dfLong);
    EXPECT_EQ(Shown(picker), "Friday, 9 February 2024");
    TFormatSettings fs = ClassicFormatSettings();
    fs.LongDateFormat = "d/m/yyyy";
    fs.DateSeparator = '/';
    fs.LongTimeFormat = "h.nn";
    SetFormatSettings(fs);
    EXPECT_EQ(Shown(picker), "Friday, 9 February 2024");  // until the next format change
    picker.SetDateFormat(TDTDateFormat::dfLong);
    EXPECT_EQ(Shown(picker), "9/2/2024");
    picker.SetKind(TDateTimeKind::dtkTime);
    EXPECT_EQ(Shown(picker), "13.04");

    // A format without a date or time is refused, and the one before stays.
    EXPECT_EQ(ErrorText<EInvalidArgument>([&] { picker.SetFormat("\"nothing\""); }),
              "Format \"\"nothing\"\" shows no part of a date or time");
    EXPECT_EQ(picker.GetFormat(), "");
    EXPECT_EQ(Shown(picker), "13.04");
}

TEST_F(PickerCalendar, TheCalendarDropsDownWithoutTakingTheFocusFromTheControl)
{
    TForm form;
    auto* picker = form.Add(new TDateTimePicker(&form.panel), 0);
    picker->SetDateTime(EncodeDateTime(2024, 2, 9, 13, 4, 5, 6));
    std::vector<std::string> seen;
    picker->OnEnter = [&](TObject*) { seen.push_back("enter"); };
    picker->OnExit = [&](TObject*) { seen.push_back("exit"); };
    picker->OnChange = [&](TObject*) { seen.push_back("change"); };
    picker->OnDropDown = [&](TObject*) { seen.push_back("dropdown"); };
    picker->OnCloseUp = [&](TObject*) { seen.push_back("closeup"); };
    picker->SetCalendarWeekNumbers(true);
    EXPECT_EQ(picker->CalendarWidget()->verticalHeaderFormat(), QCalendarWidget::ISOWeekNumbers);
    picker->SetFocus();
    picker->SetDroppedDown(true);
    EXPECT_TRUE(picker->GetDroppedDown());
    EXPECT_EQ(QApplication::activePopupWidget(), picker->CalendarWidget()->window());
    QApplication::processEvents();
    // The user goes on a day in the calendar and takes it.
    QWidget* inCalendar = QApplication::focusWidget();
    ASSERT_TRUE(inCalendar && picker->CalendarWidget()->isAncestorOf(inCalendar));
    Key(inCalendar, Qt::Key_Right);
    Key(inCalendar, Qt::Key_Return, "\r");
    EXPECT_FALSE(picker->GetDroppedDown());
    EXPECT_EQ(picker->GetDateTime(), EncodeDateTime(2024, 2, 10, 13, 4, 5, 6));
    // Checked before the offscreen platform's queued activation change, which real window
    // systems do not send for a popup.
    EXPECT_EQ(seen, (std::vector<std::string>{"enter", "dropdown", "change", "closeup"}));

    // F4 drops it down too; a time picker has none.
    seen.clear();
    Key(picker->Widget(), Qt::Key_F4);
    EXPECT_TRUE(picker->GetDroppedDown());
    picker->SetKind(TDateTimeKind::dtkTime);
    EXPECT_FALSE(picker->GetDroppedDown());
    picker->SetDroppedDown(true);
    EXPECT_FALSE(picker->GetDroppedDown());
    EXPECT_EQ(seen, (std::vector<std::string>{"dropdown", "closeup"}));
}
