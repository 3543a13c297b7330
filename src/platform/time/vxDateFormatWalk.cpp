// The walk over FormatDateTime's format language.
#include <vxplan/platform/time/vxDateFormatWalk_p.h>

#include <cctype>
#include <string_view>

namespace vxplan {

namespace {

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

}  // namespace

char UpperAscii(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

bool StartsWithNoCase(const std::string& s, size_t at, const char* word)
{
    for (size_t k = 0; word[k]; ++k)
        if (at + k >= s.size() || UpperAscii(s[at + k]) != word[k]) return false;
    return true;
}

void TDateFormatWalker::Walk(const std::string& format, int nesting, bool timeOnly)
{
    if (nesting > 1) return;
    const bool clock12 = HasHalfDayToken(format);
    char lastToken = ' ';
    const size_t n = format.size();
    size_t i = 0;
    while (i < n) {
        const char raw = format[i];
        const char token = UpperAscii(raw);
        if (raw == '"' || raw == '\'') {
            size_t end = format.find(raw, i + 1);
            if (end == std::string::npos) end = n;
            Text(format, i + 1, end - i - 1);
            i = end + 1;
            continue;
        }
        if (token == 'A') {
            // am/pm, a/p and ampm; a lone 'a' is text.
            if (StartsWithNoCase(format, i, "AMPM")) {
                HalfDay(THalfDayToken::hdAmPmSettings, format, i);
                i += 4;
            } else if (StartsWithNoCase(format, i, "AM/PM")) {
                HalfDay(THalfDayToken::hdAmSlashPm, format, i);
                i += 5;
            } else if (StartsWithNoCase(format, i, "A/P")) {
                HalfDay(THalfDayToken::hdASlashP, format, i);
                i += 3;
            } else {
                Text(format, i, 1);
                ++i;
            }
            continue;
        }
        if (raw == '/' || raw == ':') {
            Separator(raw);
            ++i;
            continue;
        }
        if (std::string_view(" CDHMNSTYZ").find(token) == std::string_view::npos) {
            Text(format, i, 1);
            ++i;
            continue;
        }
        size_t count = 1;
        while (i + count < n && UpperAscii(format[i + count]) == token) ++count;
        if (token == ' ')
            Text(format, i, count);
        else
            Token(token, count, TDateTokenPlace{format, i, nesting, timeOnly, clock12, lastToken});
        // Only these tokens (a blank among them) decide whether a following m is minutes.
        lastToken = token;
        i += count;
    }
}

}  // namespace vxplan
