// FormatDateTime's tokens and the parsing of dates and times from text.
#include <vxplan/platform/time/vxDateFormat.h>

#include <vxplan/platform/core/vxExceptions.h>
#include <vxplan/platform/time/vxDateFormatWalk_p.h>

#include <cctype>
#include <optional>
#include <vector>

namespace vxplan {

namespace {

void AppendNumber(std::string& out, int value, int digits)
{
    std::string text = std::to_string(value);
    if (static_cast<int>(text.size()) < digits) out.append(static_cast<size_t>(digits) - text.size(), '0');
    out += text;
}

// The parts of the value, the date decoded only when a token asks for it (a format of times
// only works on any value).
class Parts {
public:
    explicit Parts(TDateTime t) : t_(t) { DecodeTime(t, hour, minute, second, msec); }
    Word Year() { return Date().y; }
    Word Month() { return Date().m; }
    Word Day() { return Date().d; }
    // Of the day printed: a time that rounds up to midnight has moved the date on a day, which
    // DayOfWeek, taking the day unrounded, does not see.
    int WeekDay() { return DayOfWeek(EncodeDate(Year(), Month(), Day())); }
    bool HasTime() const { return hour != 0 || minute != 0 || second != 0; }

    Word hour = 0, minute = 0, second = 0, msec = 0;

private:
    struct Ymd {
        Word y, m, d;
    };
    const Ymd& Date()
    {
        if (!date_) {
            Ymd v{};
            DecodeDate(t_, v.y, v.m, v.d);
            date_ = v;
        }
        return *date_;
    }
    TDateTime t_;
    std::optional<Ymd> date_;
};

class Formatter : public TDateFormatWalker {
public:
    Formatter(TDateTime t, const TFormatSettings& fs) : parts_(t), fs_(fs) {}

    std::string Format(const std::string& format)
    {
        Walk(format, 0, false);
        return std::move(out_);
    }

private:
    void Text(const std::string& format, size_t at, size_t count) override { out_.append(format, at, count); }

    void Separator(char raw) override { out_ += raw == '/' ? fs_.DateSeparator : fs_.TimeSeparator; }

    void HalfDay(THalfDayToken kind, const std::string& format, size_t at) override
    {
        const bool am = parts_.hour < 12;
        switch (kind) {
        case THalfDayToken::hdAmPmSettings: out_ += am ? fs_.TimeAMString : fs_.TimePMString; break;
        // In the case the format wrote it.
        case THalfDayToken::hdAmSlashPm: out_.append(format, am ? at : at + 3, 2); break;
        case THalfDayToken::hdASlashP: out_ += format[am ? at : at + 2]; break;
        }
    }

    void Token(char token, size_t count, const TDateTokenPlace& place) override
    {
        const int two = count == 1 ? 0 : 2;
        switch (token) {
        case 'Y':
            if (count > 2) AppendNumber(out_, parts_.Year(), 4);
            else AppendNumber(out_, parts_.Year() % 100, 2);
            break;
        case 'M':
            if (place.lastToken == 'H' || place.timeOnly) {
                AppendNumber(out_, parts_.minute, two);
            } else if (count <= 2) {
                AppendNumber(out_, parts_.Month(), two);
            } else {
                const auto& names = count == 3 ? fs_.ShortMonthNames : fs_.LongMonthNames;
                out_ += names[static_cast<size_t>(parts_.Month() - 1)];
            }
            break;
        case 'D':
            if (count <= 2) AppendNumber(out_, parts_.Day(), two);
            else if (count == 3) out_ += fs_.ShortDayNames[static_cast<size_t>(parts_.WeekDay() - 1)];
            else if (count == 4) out_ += fs_.LongDayNames[static_cast<size_t>(parts_.WeekDay() - 1)];
            else if (count == 5) Walk(fs_.ShortDateFormat, place.nesting + 1, false);
            else Walk(fs_.LongDateFormat, place.nesting + 1, false);
            break;
        case 'H': {
            int h = parts_.hour;
            if (place.clock12) {
                h %= 12;
                if (h == 0) h = 12;
            }
            AppendNumber(out_, h, two);
            break;
        }
        case 'N': AppendNumber(out_, parts_.minute, two); break;
        case 'S': AppendNumber(out_, parts_.second, two); break;
        case 'Z': AppendNumber(out_, parts_.msec, count == 1 ? 0 : 3); break;
        case 'T': Walk(count == 1 ? fs_.ShortTimeFormat : fs_.LongTimeFormat, place.nesting + 1, true); break;
        case 'C':
            Walk(fs_.ShortDateFormat, place.nesting + 1, false);
            if (parts_.HasTime()) {
                out_ += ' ';
                Walk(fs_.LongTimeFormat, place.nesting + 1, true);
            }
            break;
        default: break;
        }
    }

    Parts parts_;
    const TFormatSettings& fs_;
    std::string out_;
};

std::string Trim(const std::string& s)
{
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

struct Number {
    int value;
    size_t digits;
};

// Digits into a number; more than nine digits is never a date or time part.
bool ToNumber(const std::string& digits, Number& out)
{
    if (digits.empty() || digits.size() > 9) return false;
    out = {std::stoi(digits), digits.size()};
    return true;
}

bool ParseDate(const std::string& input, TDateTime& result, const TFormatSettings& fs)
{
    const std::string text = Trim(input);
    if (text.empty()) return false;
    // The order of day, month and year as the short date format first names them.
    int yp = 0, mp = 0, dp = 0, which = 0;
    for (char c : fs.ShortDateFormat) {
        if (which == 3) break;
        const char u = UpperAscii(c);
        if (u == 'Y' && yp == 0) yp = ++which;
        else if (u == 'M' && mp == 0) mp = ++which;
        else if (u == 'D' && dp == 0) dp = ++which;
    }
    const char sep = fs.DateSeparator ? fs.DateSeparator : '/';
    std::vector<Number> values;
    std::string digits;
    auto close = [&] {
        Number v{};
        if (!ToNumber(digits, v)) return false;
        values.push_back(v);
        digits.clear();
        return values.size() <= 3;
    };
    for (char c : text) {
        if (std::isdigit(static_cast<unsigned char>(c))) digits += c;
        else if (c == sep) {
            if (!close()) return false;
        } else if (c != ' ') return false;  // blanks around the separators are allowed
    }
    if (!digits.empty() && !close()) return false;
    if (values.empty() || (which < 3 && static_cast<int>(values.size()) > which)) return false;

    Word cy = 0, cm = 0, cd = 0;
    DecodeDate(vxplan::Date(), cy, cm, cd);
    int y = cy, m = cm, d = 0;
    size_t yearDigits = 4;
    if (values.size() == 3) {
        if (yp == 0 || mp == 0 || dp == 0) return false;
        y = values[static_cast<size_t>(yp - 1)].value;
        yearDigits = values[static_cast<size_t>(yp - 1)].digits;
        m = values[static_cast<size_t>(mp - 1)].value;
        d = values[static_cast<size_t>(dp - 1)].value;
    } else if (values.size() == 1) {
        d = values[0].value;
    } else if (dp < mp) {
        d = values[0].value;
        m = values[1].value;
    } else {
        d = values[1].value;
        m = values[0].value;
    }
    if (yearDigits <= 2 && y < 100) {
        // Wide, since the window may be any int; a year it takes beyond the calendar fails below.
        const int64_t start = int64_t{cy} - fs.TwoDigitYearCenturyWindow;
        int64_t year = y + start / 100 * 100;
        if (fs.TwoDigitYearCenturyWindow > 0 && year < start) year += 100;
        y = year >= 1 && year <= 9999 ? static_cast<int>(year) : 0;
    }
    if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1 || d > 31) return false;
    return TryEncodeDate(static_cast<Word>(y), static_cast<Word>(m), static_cast<Word>(d), result);
}

bool EndsWithNoCase(const std::string& s, const std::string& word)
{
    if (word.empty() || word.size() > s.size()) return false;
    for (size_t k = 0; k < word.size(); ++k)
        if (UpperAscii(s[s.size() - word.size() + k]) != UpperAscii(word[k])) return false;
    return true;
}

bool ParseTime(const std::string& input, TDateTime& result, const TFormatSettings& fs)
{
    std::string text = Trim(input);
    // A half-day suffix, the settings' own or the English one.
    int half = 0;  // 1 = before noon, 2 = after
    for (const auto& [word, which] : {std::pair{fs.TimeAMString, 1}, std::pair{fs.TimePMString, 2},
                                      std::pair{std::string("AM"), 1}, std::pair{std::string("PM"), 2}}) {
        if (EndsWithNoCase(text, word)) {
            half = which;
            text = Trim(text.substr(0, text.size() - word.size()));
            break;
        }
    }
    if (text.empty()) return false;
    const char sep = fs.TimeSeparator ? fs.TimeSeparator : ':';
    std::vector<Number> values;
    std::string digits;
    Number msec{0, 0};
    bool inMsec = false;
    for (char c : text) {
        if (std::isdigit(static_cast<unsigned char>(c))) digits += c;
        else if (c == sep && !inMsec) {
            Number v{};
            if (!ToNumber(digits, v)) return false;
            values.push_back(v);
            digits.clear();
        } else if (c == fs.DecimalSeparator && !inMsec) {
            Number v{};
            if (!ToNumber(digits, v)) return false;
            values.push_back(v);
            digits.clear();
            if (values.size() != 3) return false;  // milliseconds only after the seconds
            inMsec = true;
        } else return false;
    }
    Number last{};
    if (!ToNumber(digits, last)) return false;
    if (inMsec) {
        if (last.digits > 3) return false;
        msec = last;
    } else values.push_back(last);
    if (values.size() > 3) return false;
    int h = values[0].value;
    const int n = values.size() > 1 ? values[1].value : 0;
    const int s = values.size() > 2 ? values[2].value : 0;
    if (half != 0) {
        if (h < 1 || h > 12) return false;
        if (h == 12) h = 0;
        if (half == 2) h += 12;
    }
    if (h > 23 || n > 59 || s > 59) return false;
    return TryEncodeTime(static_cast<Word>(h), static_cast<Word>(n), static_cast<Word>(s),
                         static_cast<Word>(msec.value), result);
}

bool ParseDateTime(const std::string& input, TDateTime& result, const TFormatSettings& fs)
{
    const std::string text = Trim(input);
    // A date, a blank and a time; the first blank that splits the text so wins (a date format
    // may hold blanks of its own).
    for (size_t at = text.find(' '); at != std::string::npos; at = text.find(' ', at + 1)) {
        TDateTime date = 0, time = 0;
        if (ParseDate(text.substr(0, at), date, fs) && ParseTime(text.substr(at + 1), time, fs)) {
            result = ComposeDateTime(date, time);
            return true;
        }
    }
    const char timeSep = fs.TimeSeparator ? fs.TimeSeparator : ':';
    if (timeSep != fs.DateSeparator && text.find(timeSep) != std::string::npos) return ParseTime(text, result, fs);
    return ParseDate(text, result, fs);
}

[[noreturn]] void Fail(const std::string& text, const char* what)
{
    throw EConvertError("'" + text + "' is not a valid " + what);
}

}  // namespace

std::string FormatDateTime(const std::string& format, TDateTime t, const TFormatSettings& settings)
{
    return Formatter(t, settings).Format(format.empty() ? std::string("c") : format);
}

std::string FormatDateTime(const std::string& format, TDateTime t) { return FormatDateTime(format, t, FormatSettings()); }

std::string DateToStr(TDateTime t) { return FormatDateTime("ddddd", t); }
std::string TimeToStr(TDateTime t) { return FormatDateTime("tt", t); }
std::string DateTimeToStr(TDateTime t) { return FormatDateTime("c", t); }

bool TryStrToDate(const std::string& text, TDateTime& result, const TFormatSettings& settings)
{
    return ParseDate(text, result, settings);
}
bool TryStrToTime(const std::string& text, TDateTime& result, const TFormatSettings& settings)
{
    return ParseTime(text, result, settings);
}
bool TryStrToDateTime(const std::string& text, TDateTime& result, const TFormatSettings& settings)
{
    return ParseDateTime(text, result, settings);
}
bool TryStrToDate(const std::string& text, TDateTime& result) { return ParseDate(text, result, FormatSettings()); }
bool TryStrToTime(const std::string& text, TDateTime& result) { return ParseTime(text, result, FormatSettings()); }
bool TryStrToDateTime(const std::string& text, TDateTime& result)
{
    return ParseDateTime(text, result, FormatSettings());
}

TDateTime StrToDate(const std::string& text, const TFormatSettings& settings)
{
    TDateTime r = 0;
    if (!ParseDate(text, r, settings)) Fail(text, "date");
    return r;
}
TDateTime StrToTime(const std::string& text, const TFormatSettings& settings)
{
    TDateTime r = 0;
    if (!ParseTime(text, r, settings)) Fail(text, "time");
    return r;
}
TDateTime StrToDateTime(const std::string& text, const TFormatSettings& settings)
{
    TDateTime r = 0;
    if (!ParseDateTime(text, r, settings)) Fail(text, "date and time");
    return r;
}
TDateTime StrToDate(const std::string& text) { return StrToDate(text, FormatSettings()); }
TDateTime StrToTime(const std::string& text) { return StrToTime(text, FormatSettings()); }
TDateTime StrToDateTime(const std::string& text) { return StrToDateTime(text, FormatSettings()); }

}  // namespace vxplan
