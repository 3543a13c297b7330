// TDateTimePicker: the value, its range and kinds, the display format and the calendar over
// Qt's date-time edit.
//
// value_ is the truth, Qt's edit shows it. The edit works in UTC, so that its fields are the
// value's whatever the local zone's daylight-saving gaps. Qt pins the edit's date range to the
// value's date while the format shows no date, so ShowValue sets the range before the value.
#include <vxplan/platform/controls/vxDateTimePicker.h>

#include <vxplan/platform/controls/vxDateTimeEditFormat_p.h>
#include <vxplan/platform/controls/vxForwardingWidget_p.h>
#include <vxplan/platform/core/vxExceptions.h>
#include <vxplan/platform/core/vxFlagScope.h>
#include <vxplan/platform/time/vxDateFormat.h>

#include <QCalendarWidget>
#include <QDateTimeEdit>
#include <QStyle>
#include <QStyleOptionComboBox>

#include <cmath>
#include <sstream>

namespace vxplan {

namespace {

const TDateTime kFirstDate = EncodeDate(100, 1, 1);
const TDateTime kLastDate = EncodeDate(9999, 12, 31);

TDateTime DatePart(TDateTime t) { return std::trunc(t); }
TDateTime TimePart(TDateTime t) { return std::fabs(t - std::trunc(t)); }

// The value to the millisecond, as the edit holds it; false outside the calendar.
bool TryRound(TDateTime t, TDateTime& result)
{
    if (!std::isfinite(t) || t < MinDateTime - 1 || t > MaxDateTime + 1) return false;
    try {
        result = QDateTimeToDateTime(DateTimeToUtcQDateTime(t));
        return true;
    } catch (const EConvertError&) {
        return false;
    }
}

std::string Number(TDateTime t)
{
    std::ostringstream out;
    out.precision(17);
    out << t;
    return out.str();
}

// The value for a message: its date and time when it has them, the number otherwise.
std::string Describe(TDateTime t, bool withTime = true)
{
    TDateTime rounded = 0;
    if (!TryRound(t, rounded)) return Number(t);
    return FormatDateTime(withTime ? "yyyy-mm-dd hh:nn:ss.zzz" : "yyyy-mm-dd", rounded, ClassicFormatSettings());
}

}  // namespace

// Drops the calendar down on F4 and Alt+Down as the platform does (Qt's edit only on a click of
// the arrow), and tells the control when the calendar shows and goes.
class TDateTimePicker::TEdit : public TForwardingWidget<QDateTimeEdit> {
public:
    explicit TEdit(TDateTimePicker* owner) : TForwardingWidget(owner), owner_(owner) {}

    void WatchCalendar(QWidget* popup)
    {
        popup_ = popup;
        popup_->installEventFilter(this);
    }

    // Qt's edit opens its calendar only from a press on the arrow: that press it gets.
    void OpenCalendar()
    {
        QStyleOptionComboBox option;
        option.initFrom(this);
        option.editable = true;
        option.subControls = QStyle::SC_All;
        const QPointF arrow =
            style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, this).center();
        QMouseEvent press(QEvent::MouseButtonPress, arrow, mapToGlobal(arrow), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QDateTimeEdit::mousePressEvent(&press);
    }

    void CloseCalendar()
    {
        if (popup_) popup_->hide();
    }

protected:
    // Tab leaves the control as on the platform, where Qt's edit would step to its next field
    // first (the arrow keys move between the fields).
    bool focusNextPrevChild(bool next) override { return QWidget::focusNextPrevChild(next); }

    void PassKeyPress(QKeyEvent* e) override
    {
        const Qt::KeyboardModifiers mods = e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
        const bool drop = (e->key() == Qt::Key_F4 && mods == Qt::NoModifier) ||
                          (e->key() == Qt::Key_Down && mods == Qt::AltModifier);
        if (drop && calendarPopup()) {
            owner_->SetDroppedDown(true);
            return;
        }
        QDateTimeEdit::keyPressEvent(e);
    }

    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (watched == popup_ && e->type() == QEvent::Show) owner_->CalendarShown();
        if (watched == popup_ && e->type() == QEvent::Hide) owner_->CalendarHidden();
        return QDateTimeEdit::eventFilter(watched, e);
    }

private:
    TDateTimePicker* owner_;
    QWidget* popup_ = nullptr;
};

TDateTimePicker::TDateTimePicker(TComponent* AOwner)
    : TWinControl(AOwner), edit_(new TEdit(this)), calendar_(new QCalendarWidget(edit_)), minDate_(kFirstDate),
      maxDate_(kLastDate)
{
    SetColor(clWindow);
    SetBounds(0, 0, 186, 21);
    SetTabStop(true);
    setFocusProxy(edit_);
    if (!TryRound(Now(), value_) || value_ < minDate_ || value_ >= maxDate_ + 1) value_ = 0;
    {
        const TFlagScope syncing(syncing_);
        edit_->setTimeSpec(Qt::UTC);
        // Qt takes a calendar only from an edit that shows a date and drops one down.
        edit_->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        edit_->setCalendarPopup(true);
        calendar_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
        edit_->setCalendarWidget(calendar_);
        edit_->WatchCalendar(calendar_->window());
    }
    QObject::connect(edit_, &QDateTimeEdit::dateTimeChanged, edit_, [this](const QDateTime&) { WidgetChanged(); });
    ApplyFormat();
    FontChanged();
}

// Deleted while the control is whole (see ~TCustomEdit); the calendar going with it raises
// nothing.
TDateTimePicker::~TDateTimePicker() { delete edit_; }

QDateTimeEdit* TDateTimePicker::Widget() const { return edit_; }

// --- Value ----------------------------------------------------------------------------------

TDateTime TDateTimePicker::Checked(TDateTime given, TDateTime candidate, const char* what) const
{
    if (!std::isfinite(given)) throw EInvalidArgument(std::string(what) + " must be a finite number, not " + Number(given));
    TDateTime rounded = 0;
    if (!TryRound(candidate, rounded) || DatePart(rounded) < minDate_ || DatePart(rounded) > maxDate_)
        throw EInvalidArgument(std::string(what) + " " + Describe(given) + " lies outside MinDate..MaxDate (" +
                               Describe(minDate_, false) + ".." + Describe(maxDate_, false) + ")");
    return rounded;
}

void TDateTimePicker::Assign(TDateTime value)
{
    if (value == value_) return;
    value_ = value;
    ShowValue();
    Change();
}

void TDateTimePicker::SetDateTime(TDateTime value) { Assign(Checked(value, value, "DateTime")); }

TDateTime TDateTimePicker::GetDate() const { return DatePart(value_); }

void TDateTimePicker::SetDate(TDateTime date)
{
    Assign(Checked(date, ComposeDateTime(DatePart(date), TimePart(value_)), "Date"));
}

// From the milliseconds of the day, as EncodeTime counts them: value_ - trunc(value_) would
// carry the rounding of the whole value.
TDateTime TDateTimePicker::GetTime() const
{
    return static_cast<double>(DateTimeToUtcQDateTime(value_).time().msecsSinceStartOfDay()) /
           static_cast<double>(MSecsPerDay);
}

void TDateTimePicker::SetTime(TDateTime time)
{
    Assign(Checked(time, ComposeDateTime(DatePart(value_), TimePart(time)), "Time"));
}

void TDateTimePicker::ShowValue()
{
    const TFlagScope syncing(syncing_);
    const QDate lastDay = DateTimeToUtcQDateTime(maxDate_).date();
    edit_->setDateTimeRange(DateTimeToUtcQDateTime(minDate_), QDateTime(lastDay, QTime(23, 59, 59, 999), Qt::UTC));
    edit_->setDateTime(DateTimeToUtcQDateTime(value_));
}

void TDateTimePicker::WidgetChanged()
{
    if (syncing_) return;
    const TDateTime shown = QDateTimeToDateTime(edit_->dateTime());
    const TDateTime candidate = kind_ == TDateTimeKind::dtkDate ? ComposeDateTime(DatePart(shown), TimePart(value_))
                                                                : ComposeDateTime(DatePart(value_), TimePart(shown));
    TDateTime value = 0;
    if (!TryRound(candidate, value) || value == value_) return;
    value_ = value;
    Change();
}

// --- Range ----------------------------------------------------------------------------------

TDateTime TDateTimePicker::CheckedLimit(TDateTime date, const char* what) const
{
    if (!std::isfinite(date) || DatePart(date) < kFirstDate || DatePart(date) > kLastDate)
        throw EInvalidArgument(std::string(what) + " must lie within 0100-01-01..9999-12-31, not " + Describe(date));
    return DatePart(date);
}

void TDateTimePicker::SetMinDate(TDateTime date)
{
    const TDateTime day = CheckedLimit(date, "MinDate");
    if (day > maxDate_)
        throw EInvalidArgument("MinDate " + Describe(day, false) + " must not lie after MaxDate " + Describe(maxDate_, false));
    minDate_ = day;
    ShowValue();
    if (DatePart(value_) < day) {
        TDateTime moved = 0;
        TryRound(ComposeDateTime(day, TimePart(value_)), moved);
        Assign(moved);
    }
}

void TDateTimePicker::SetMaxDate(TDateTime date)
{
    const TDateTime day = CheckedLimit(date, "MaxDate");
    if (day < minDate_)
        throw EInvalidArgument("MaxDate " + Describe(day, false) + " must not lie before MinDate " + Describe(minDate_, false));
    maxDate_ = day;
    ShowValue();
    if (DatePart(value_) > day) {
        TDateTime moved = 0;
        TryRound(ComposeDateTime(day, TimePart(value_)), moved);
        Assign(moved);
    }
}

// --- Kind and format ------------------------------------------------------------------------

bool TDateTimePicker::ApplyFormat()
{
    const TFormatSettings& fs = FormatSettings();
    std::string format = format_;
    if (format.empty())
        format = kind_ == TDateTimeKind::dtkTime ? fs.LongTimeFormat
                 : dateFormat_ == TDTDateFormat::dfLong ? fs.LongDateFormat
                                                        : fs.ShortDateFormat;
    const QString qt = QtDisplayFormat(format, fs);
    const QLocale locale = LocaleForNames(fs);
    bool taken = false;
    {
        const TFlagScope syncing(syncing_);
        edit_->setLocale(locale);
        calendar_->setLocale(locale);
        edit_->setCalendarPopup(kind_ == TDateTimeKind::dtkDate);
        edit_->setDisplayFormat(qt);
        taken = edit_->displayFormat() == qt;
    }
    // Settings without a usable format of their own still show the value.
    if (!taken && format_.empty()) {
        const TFlagScope syncing(syncing_);
        edit_->setDisplayFormat(kind_ == TDateTimeKind::dtkTime ? QStringLiteral("HH:mm:ss") : QStringLiteral("yyyy-MM-dd"));
    }
    ShowValue();
    return taken;
}

void TDateTimePicker::SetKind(TDateTimeKind kind)
{
    if (kind != TDateTimeKind::dtkDate && kind != TDateTimeKind::dtkTime)
        throw EInvalidArgument("A picker's kind is dtkDate or dtkTime, not " + std::to_string(static_cast<int>(kind)));
    if (kind == TDateTimeKind::dtkTime) SetDroppedDown(false);
    kind_ = kind;
    ApplyFormat();
}

void TDateTimePicker::SetDateFormat(TDTDateFormat dateFormat)
{
    if (dateFormat != TDTDateFormat::dfShort && dateFormat != TDTDateFormat::dfLong)
        throw EInvalidArgument("A picker's date format is dfShort or dfLong, not " +
                               std::to_string(static_cast<int>(dateFormat)));
    dateFormat_ = dateFormat;
    ApplyFormat();
}

void TDateTimePicker::SetFormat(const std::string& format)
{
    const std::string before = format_;
    format_ = format;
    if (ApplyFormat()) return;
    format_ = before;
    ApplyFormat();
    throw EInvalidArgument("Format \"" + format + "\" shows no part of a date or time");
}

// --- Calendar -------------------------------------------------------------------------------

void TDateTimePicker::SetDroppedDown(bool droppedDown)
{
    if (droppedDown == dropped_) return;
    if (!droppedDown) {
        edit_->CloseCalendar();
        return;
    }
    if (kind_ == TDateTimeKind::dtkDate && !edit_->isReadOnly() && edit_->isVisible()) edit_->OpenCalendar();
}

void TDateTimePicker::SetCalendarWeekNumbers(bool weekNumbers)
{
    weekNumbers_ = weekNumbers;
    calendar_->setVerticalHeaderFormat(weekNumbers ? QCalendarWidget::ISOWeekNumbers : QCalendarWidget::NoVerticalHeader);
}

void TDateTimePicker::CalendarShown()
{
    if (dropped_) return;
    dropped_ = true;
    DropDown();
}

void TDateTimePicker::CalendarHidden()
{
    if (!dropped_) return;
    dropped_ = false;
    CloseUp();
}

// --- Hooks ----------------------------------------------------------------------------------

void TDateTimePicker::Change()
{
    if (OnChange) OnChange(this);
}

void TDateTimePicker::DropDown()
{
    if (OnDropDown) OnDropDown(this);
}

void TDateTimePicker::CloseUp()
{
    if (OnCloseUp) OnCloseUp(this);
}

void TDateTimePicker::SetFocus()
{
    TWinControl::SetFocus();
    edit_->setFocus(Qt::OtherFocusReason);
}

void TDateTimePicker::Resize()
{
    edit_->setGeometry(0, 0, GetWidth(), GetHeight());
    TWinControl::Resize();
}

void TDateTimePicker::FontChanged()
{
    TWinControl::FontChanged();
    forwarding::FollowFont(edit_, Font(), QPalette::Text);
}

void TDateTimePicker::ColorChanged()
{
    TWinControl::ColorChanged();
    forwarding::FollowColor(edit_, GetColor(), QPalette::Base);
}

}  // namespace vxplan
