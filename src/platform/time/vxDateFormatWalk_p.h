// One reading of FormatDateTime's format language, shared by the formatter and by whatever
// turns a format into another (the date-time picker's display format).
// Internal to the library and its tests, not part of the vxplan API: hosts do not include it.
//
// The walker splits a format into quoted and plain text, the '/' and ':' separators, half-day
// tokens and runs of one token letter (in any case), and hands each to its subclass, which
// prints or translates it. A subclass expands the nested formats (c, ddddd, dddddd, t, tt) by
// calling Walk again one level deeper; past one level nothing is read, so a setting that names
// itself cannot recurse.
#pragma once

#include <cstddef>
#include <string>

namespace vxplan {

char UpperAscii(char c);
// Whether s holds the upper-case word at position at, in any letter case.
bool StartsWithNoCase(const std::string& s, size_t at, const char* word);

enum class THalfDayToken {
    hdAmPmSettings,  // ampm: the settings' texts
    hdAmSlashPm,     // am/pm
    hdASlashP        // a/p
};

// Where a token run stands.
struct TDateTokenPlace {
    const std::string& format;
    size_t at;
    int nesting;
    // Inside a time format (t, tt, c's time): m means minutes.
    bool timeOnly;
    // The format holds a half-day token, so hours count to 12.
    bool clock12;
    // The token run before this one (a blank counts): m right after h means minutes.
    char lastToken;
};

class TDateFormatWalker {
public:
    virtual ~TDateFormatWalker() = default;

protected:
    void Walk(const std::string& format, int nesting, bool timeOnly);

    // Characters copied as they stand: quoted text, blanks, anything that is no token.
    virtual void Text(const std::string& format, size_t at, size_t count) = 0;
    // '/' or ':' as written.
    virtual void Separator(char raw) = 0;
    // The half-day token at format[at] (its letters in the case the format wrote them).
    virtual void HalfDay(THalfDayToken kind, const std::string& format, size_t at) = 0;
    // A run of count letters of one token (upper case): C D H M N S T Y Z.
    virtual void Token(char token, size_t count, const TDateTokenPlace& place) = 0;
};

}  // namespace vxplan
