// FormatDateTime's tokens turned into Qt's date-time edit format, read by the walker the
// formatter uses.
#include <vxplan/platform/controls/vxDateTimeEditFormat_p.h>

#include <vxplan/platform/time/vxDateFormatWalk_p.h>

#include <cctype>

namespace vxplan {

namespace {

class TQtFormat : public TDateFormatWalker {
public:
    explicit TQtFormat(const TFormatSettings& fs) : fs_(fs) {}

    QString Translate(const std::string& format)
    {
        Walk(format, 0, false);
        FlushLiteral();
        return QString::fromStdString(out_);
    }

private:
    void Text(const std::string& format, size_t at, size_t count) override { literal_.append(format, at, count); }

    void Separator(char raw) override
    {
        const char sep = raw == '/' ? fs_.DateSeparator : fs_.TimeSeparator;
        if (sep) literal_ += sep;
    }

    void HalfDay(THalfDayToken kind, const std::string& format, size_t at) override
    {
        const bool upper = std::isupper(static_cast<unsigned char>(format[at])) != 0;
        // ampm: the locale's text as it is.
        Field(kind == THalfDayToken::hdAmPmSettings ? "Ap" : upper ? "AP" : "ap");
    }

    void Token(char token, size_t count, const TDateTokenPlace& place) override
    {
        const bool one = count == 1;
        switch (token) {
        case 'Y': Field(count > 2 ? "yyyy" : "yy"); break;
        case 'M':
            if (place.lastToken == 'H' || place.timeOnly) Field(one ? "m" : "mm");
            else if (count <= 2) Field(one ? "M" : "MM");
            else Field(count == 3 ? "MMM" : "MMMM");
            break;
        case 'D':
            if (count <= 4) Field(count == 1 ? "d" : count == 2 ? "dd" : count == 3 ? "ddd" : "dddd");
            else Walk(count == 5 ? fs_.ShortDateFormat : fs_.LongDateFormat, place.nesting + 1, false);
            break;
        // Qt's h counts to 12 whenever the whole format shows the half day, H never does.
        case 'H': Field(place.clock12 ? (one ? "h" : "hh") : (one ? "H" : "HH")); break;
        case 'N': Field(one ? "m" : "mm"); break;
        case 'S': Field(one ? "s" : "ss"); break;
        // Qt's z is a fraction of the second ("05" for 50 ms); three digits come nearest.
        case 'Z': Field("zzz"); break;
        case 'T': Walk(one ? fs_.ShortTimeFormat : fs_.LongTimeFormat, place.nesting + 1, true); break;
        case 'C':
            Walk(fs_.ShortDateFormat, place.nesting + 1, false);
            literal_ += ' ';
            Walk(fs_.LongTimeFormat, place.nesting + 1, true);
            break;
        default: break;
        }
    }

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
    return TQtFormat(settings).Translate(format.empty() ? std::string("c") : format);
}

QLocale LocaleForNames(const TFormatSettings& settings)
{
    for (const QLocale& locale : {QLocale::system(), QLocale(), QLocale(QLocale::English, QLocale::UnitedStates)})
        if (NamesMatch(locale, settings)) return locale;
    return QLocale::system();
}

}  // namespace vxplan
