// FormatDateTime's tokens turned into Qt's date-time edit format, token by token as
// vxDateFormat.cpp's formatter reads them.
#include <vxplan/platform/controls/vxDateTimeEditFormat_p.h>

#include <cctype>
#include <string_view>

namespace vxplan {

namespace {

char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

bool StartsWithNoCase(const std::string& s, size_t at, const char* word)
{
    for (size_t k = 0; word[k]; ++k)
        if (at + k >= s.size() || Upper(s[at + k]) != word[k]) return false;
    return true;
}

bool HasHalfDayToken(const std::string& format)
{
    for (size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c == '"' || c == '\'') {
            const size_t end = format.find(c, i + 1);
            if (end == std::string::npos) return false;
            i = end;
        } else if (StartsWithNoCase(format, i, "A/P") || StartsWithNoCase(format, i, "AMPM") ||
                   StartsWithNoCase(format, i, "AM/PM")) {
            return true;
        }
    }
    return false;
}

class TQtFormat {
public:
    explicit TQtFormat(const TFormatSettings& fs) : fs_(fs) {}

    void Store(const std::string& format, int nesting, bool timeOnly)
    {
        if (nesting > 1) return;
        const bool clock12 = HasHalfDayToken(format);
        char lastToken = ' ';
        const size_t n = format.size();
        size_t i = 0;
        while (i < n) {
            const char raw = format[i];
            const char token = Upper(raw);
            if (raw == '"' || raw == '\'') {
                size_t end = format.find(raw, i + 1);
                if (end == std::string::npos) end = n;
                literal_.append(format, i + 1, end - i - 1);
                i = end + 1;
                continue;
            }
            if (token == 'A') {
                i += StoreHalfDay(format, i);
                continue;
            }
            if (raw == '/' || raw == ':') {
                const char sep = raw == '/' ? fs_.DateSeparator : fs_.TimeSeparator;
                if (sep) literal_ += sep;
                ++i;
                continue;
            }
            if (std::string_view(" CDHMNSTYZ").find(token) == std::string_view::npos) {
                literal_ += raw;
                ++i;
                continue;
            }
            size_t count = 1;
            while (i + count < n && Upper(format[i + count]) == token) ++count;
            StoreToken(token, count, nesting, timeOnly, clock12, lastToken);
            lastToken = token;
            i += count;
        }
    }

    QString Result()
    {
        FlushLiteral();
        return QString::fromStdString(out_);
    }

private:
    // Qt reads letters as fields and a single quote as the start of a quoted text, so a literal
    // holding either (or any byte of a non-ASCII character) goes in quotes, its quotes doubled.
    void FlushLiteral()
    {
        if (literal_.empty()) return;
        bool quote = false;
        for (char c : literal_)
            if (std::isalpha(static_cast<unsigned char>(c)) || c == '\'' || static_cast<unsigned char>(c) >= 0x80)
                quote = true;
        if (!quote) {
            out_ += literal_;
        } else {
            out_ += '\'';
            for (char c : literal_) {
                if (c == '\'') out_ += '\'';
                out_ += c;
            }
            out_ += '\'';
        }
        literal_.clear();
    }

    void Field(const char* qt)
    {
        FlushLiteral();
        out_ += qt;
    }

    // am/pm, a/p and ampm; returns the characters used. A lone 'a' is literal text.
    size_t StoreHalfDay(const std::string& format, size_t i)
    {
        const bool upper = std::isupper(static_cast<unsigned char>(format[i])) != 0;
        if (StartsWithNoCase(format, i, "AMPM")) {
            Field("Ap");  // the locale's text as it is
            return 4;
        }
        if (StartsWithNoCase(format, i, "AM/PM")) {
            Field(upper ? "AP" : "ap");
            return 5;
        }
        if (StartsWithNoCase(format, i, "A/P")) {
            Field(upper ? "AP" : "ap");
            return 3;
        }
        literal_ += format[i];
        return 1;
    }

    void StoreToken(char token, size_t count, int nesting, bool timeOnly, bool clock12, char lastToken)
    {
        const bool one = count == 1;
        switch (token) {
        case ' ': literal_.append(count, ' '); break;
        case 'Y': Field(count > 2 ? "yyyy" : "yy"); break;
        case 'M':
            if (lastToken == 'H' || timeOnly) Field(one ? "m" : "mm");
            else if (count <= 2) Field(one ? "M" : "MM");
            else Field(count == 3 ? "MMM" : "MMMM");
            break;
        case 'D':
            if (count <= 4) Field(count == 1 ? "d" : count == 2 ? "dd" : count == 3 ? "ddd" : "dddd");
            else Store(count == 5 ? fs_.ShortDateFormat : fs_.LongDateFormat, nesting + 1, false);
            break;
        // Qt's h counts to 12 whenever the whole format shows the half day, H never does.
        case 'H': Field(clock12 ? (one ? "h" : "hh") : (one ? "H" : "HH")); break;
        case 'N': Field(one ? "m" : "mm"); break;
        case 'S': Field(one ? "s" : "ss"); break;
        // Qt's z is a fraction of the second ("05" for 50 ms); three digits come nearest.
        case 'Z': Field("zzz"); break;
        case 'T': Store(one ? fs_.ShortTimeFormat : fs_.LongTimeFormat, nesting + 1, true); break;
        case 'C':
            Store(fs_.ShortDateFormat, nesting + 1, false);
            literal_ += ' ';
            Store(fs_.LongTimeFormat, nesting + 1, true);
            break;
        default: break;
        }
    }

    const TFormatSettings& fs_;
    std::string out_;
    std::string literal_;
};

bool NamesMatch(const QLocale& locale, const TFormatSettings& fs)
{
    for (int m = 0; m < 12; ++m) {
        const size_t k = static_cast<size_t>(m);
        if (locale.monthName(m + 1, QLocale::ShortFormat).toStdString() != fs.ShortMonthNames[k] ||
            locale.monthName(m + 1, QLocale::LongFormat).toStdString() != fs.LongMonthNames[k])
            return false;
    }
    for (int d = 0; d < 7; ++d) {
        const int qtDay = d == 0 ? 7 : d;  // Qt counts from Monday = 1 to Sunday = 7
        const size_t k = static_cast<size_t>(d);
        if (locale.dayName(qtDay, QLocale::ShortFormat).toStdString() != fs.ShortDayNames[k] ||
            locale.dayName(qtDay, QLocale::LongFormat).toStdString() != fs.LongDayNames[k])
            return false;
    }
    return true;
}

}  // namespace

QString QtDisplayFormat(const std::string& format, const TFormatSettings& settings)
{
    TQtFormat f(settings);
    f.Store(format.empty() ? std::string("c") : format, 0, false);
    return f.Result();
}

QLocale LocaleForNames(const TFormatSettings& settings)
{
    for (const QLocale& locale : {QLocale::system(), QLocale(), QLocale(QLocale::English, QLocale::UnitedStates)})
        if (NamesMatch(locale, settings)) return locale;
    return QLocale::system();
}

}  // namespace vxplan
