// The format settings in force, taken from the system locale unless replaced.
#include <vxplan/platform/time/vxFormatSettings.h>

#include <QLocale>

#include <cctype>
#include <memory>
#include <mutex>

namespace vxplan {

namespace {

std::mutex settingsMutex;
std::unique_ptr<TFormatSettings> current;

void AppendLiteral(std::string& out, const std::string& text)
{
    if (text.empty()) return;
    const char quote = text.find('"') == std::string::npos ? '"' : '\'';
    out += quote;
    out += text;
    out += quote;
}

std::string Trimmed(const std::string& s)
{
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::string QtPatternToFormat(const std::string& pattern, char* separator, char token)
{
    std::string out;
    std::string literal;  // gathered so that a run of literal characters becomes one quoted text
    auto flush = [&] {
        AppendLiteral(out, literal);
        literal.clear();
    };
    const size_t n = pattern.size();
    size_t i = 0;
    while (i < n) {
        const char c = pattern[i];
        if (c == '\'') {
            // Qt quotes with '...' and writes a quote itself as ''.
            if (i + 1 < n && pattern[i + 1] == '\'') {
                literal += '\'';
                i += 2;
                continue;
            }
            ++i;
            while (i < n) {
                if (pattern[i] == '\'') {
                    if (i + 1 < n && pattern[i + 1] == '\'') {
                        literal += '\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                literal += pattern[i++];
            }
            continue;
        }
        if (std::isalpha(static_cast<unsigned char>(c))) {
            size_t count = 1;
            while (i + count < n && pattern[i + count] == c) ++count;
            std::string tok;
            switch (c) {
            case 'd': tok.assign(count > 4 ? 4 : count, 'd'); break;
            case 'M': tok.assign(count > 4 ? 4 : count, 'm'); break;
            case 'y': tok = count <= 2 ? "yy" : "yyyy"; break;
            case 'h':
            case 'H': tok = count == 1 ? "h" : "hh"; break;
            case 'm': tok = count == 1 ? "n" : "nn"; break;
            case 's': tok = count == 1 ? "s" : "ss"; break;
            case 'z': tok = count == 1 ? "z" : "zzz"; break;
            case 'A':
            case 'a':
                tok = "ampm";
                count = 1;
                if (i + 1 < n && (pattern[i + 1] == 'P' || pattern[i + 1] == 'p')) count = 2;
                break;
            case 't': break;  // the time zone has no counterpart
            default: literal.append(count, c); break;
            }
            if (!tok.empty()) {
                flush();
                out += tok;
            }
            i += count;
            continue;
        }
        if (separator && c != ' ' && std::ispunct(static_cast<unsigned char>(c)) && (*separator == 0 || *separator == c)) {
            *separator = c;
            flush();
            out += token;
        } else if (c == '/' || c == ':' || c == '"') {
            literal += c;  // would otherwise mean a separator or a quote
        } else {
            flush();
            out += c;
        }
        ++i;
    }
    flush();
    return Trimmed(out);
}

TFormatSettings DefaultFormatSettings() { return FormatSettingsFromLocale(QLocale::system()); }

TFormatSettings FormatSettingsFromLocale(const QLocale& locale)
{
    TFormatSettings fs;
    fs.DateSeparator = 0;
    fs.ShortDateFormat = QtPatternToFormat(locale.dateFormat(QLocale::ShortFormat).toStdString(), &fs.DateSeparator, '/');
    if (fs.DateSeparator == 0) fs.DateSeparator = '/';
    fs.LongDateFormat = QtPatternToFormat(locale.dateFormat(QLocale::LongFormat).toStdString(), nullptr, '/');
    fs.TimeSeparator = 0;
    fs.ShortTimeFormat = QtPatternToFormat(locale.timeFormat(QLocale::ShortFormat).toStdString(), &fs.TimeSeparator, ':');
    if (fs.TimeSeparator == 0) fs.TimeSeparator = ':';
    char longSeparator = fs.TimeSeparator;
    fs.LongTimeFormat = QtPatternToFormat(locale.timeFormat(QLocale::LongFormat).toStdString(), &longSeparator, ':');
    const QString point = locale.decimalPoint();
    fs.DecimalSeparator = point.size() == 1 && point[0].unicode() < 128 ? static_cast<char>(point[0].unicode()) : '.';
    fs.TimeAMString = locale.amText().toStdString();
    fs.TimePMString = locale.pmText().toStdString();
    for (int m = 0; m < 12; ++m) {
        fs.ShortMonthNames[static_cast<size_t>(m)] = locale.monthName(m + 1, QLocale::ShortFormat).toStdString();
        fs.LongMonthNames[static_cast<size_t>(m)] = locale.monthName(m + 1, QLocale::LongFormat).toStdString();
    }
    for (int d = 0; d < 7; ++d) {
        const int qtDay = d == 0 ? 7 : d;  // Qt counts from Monday = 1 to Sunday = 7
        fs.ShortDayNames[static_cast<size_t>(d)] = locale.dayName(qtDay, QLocale::ShortFormat).toStdString();
        fs.LongDayNames[static_cast<size_t>(d)] = locale.dayName(qtDay, QLocale::LongFormat).toStdString();
    }
    return fs;
}

TFormatSettings ClassicFormatSettings()
{
    TFormatSettings fs;
    fs.ShortMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    fs.LongMonthNames = {"January", "February", "March",     "April",   "May",      "June",
                         "July",    "August",   "September", "October", "November", "December"};
    fs.ShortDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    fs.LongDayNames = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    return fs;
}

const TFormatSettings& FormatSettings()
{
    std::lock_guard lock(settingsMutex);
    if (!current) current = std::make_unique<TFormatSettings>(DefaultFormatSettings());
    return *current;
}

void SetFormatSettings(const TFormatSettings& settings)
{
    std::lock_guard lock(settingsMutex);
    // Replaced in place, so references handed out earlier see the new settings.
    if (current) *current = settings;
    else current = std::make_unique<TFormatSettings>(settings);
}

}  // namespace vxplan
