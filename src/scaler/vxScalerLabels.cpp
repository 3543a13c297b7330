// TvxDateScaler: the label texts of the minor and the major marks.
#include <vxplan/scaler/vxScaler.h>

#include <vxplan/platform/core/vxExceptions.h>
#include <vxplan/platform/time/vxDateFormat.h>

namespace vxplan {

namespace {

bool IsYearLevel(TDateTime aStep)
{
    return aStep == kScale1Year || aStep == kScale10Year || aStep == kScale20Year || aStep == kScale100Year;
}

}  // namespace

void TvxDateScaler::GetApprioateStringShort(TDateTime aDate, TDateTime aStep, int aWidth, std::string& theText,
                                            TScalerFont& theFont, std::string& theSubText,
                                            TScalerFont& theSubFont)
{
    if (aStep == kScale1Sec || aStep == kScale10Sec)
        theText = FormatDateTime("SS", aDate);
    else if (aStep == kScale1Min || aStep == kScale10Min)
        theText = FormatDateTime("NN", aDate);
    else if (aStep == kScale1Hour)
        theText = FormatDateTime("HH", aDate);
    else if (aStep == kScale1Day)
        theText = FormatDateTime("ddd", aDate);
    else if (aStep == kScale1Week)
        theText = GetWeekString(dateFormat_, aDate, true, aWidth);
    else if (aStep == kScale1Month)
        theText = FormatDateTime("mmm", aDate);
    else if (aStep == kScale3Month)
        theText = quarterPrefix_ + std::to_string(DateToQuarter(aDate));
    else if (IsYearLevel(aStep))
        theText = FormatDateTime("yy", aDate);
    else
        theText = FormatDateTime(dateFormat_, aDate) + " " + FormatDateTime(timeFormat_, aDate);
    theFont = TScalerFont::sTextFont1;
    theSubText.clear();
    theSubFont = TScalerFont::sTextFont1;
    if (OnUserStringShort) OnUserStringShort(aDate, aStep, theText, theFont);
    if (OnUserStringShortSub) OnUserStringShortSub(aDate, aStep, theSubText, theSubFont);
}

std::string TvxDateScaler::GetApprioateStringLong(TDateTime aDate, TDateTime aStep, TScalerFont& aFont)
{
    std::string text;
    if (aStep == kScale1Sec || aStep == kScale10Sec || aStep == kScale1Min || aStep == kScale10Min ||
        aStep == kScale1Hour)
        text = FormatDateTime(timeFormat_, aDate);
    else if (aStep == kScale1Day)
        text = FormatDateTime("ddd", aDate);
    else if (aStep == kScale1Week)
        text = GetWeekString(dateFormat_, aDate, false, 1000);
    else if (aStep == kScale1Month)
        text = FormatDateTime("yyyy mmm", aDate);
    else if (aStep == kScale3Month)
        text = FormatDateTime("yyyy", aDate) + quarterPrefix_ + std::to_string(DateToQuarter(aDate));
    else if (aStep == kScale1Year)
        text = FormatDateTime("yyyy", aDate);
    else if (aStep == kScale10Year || aStep == kScale20Year || aStep == kScale100Year)
        text = FormatDateTime("yyyy", aDate) + " - " + FormatDateTime("yyyy", aDate + aStep);
    else
        text = FormatDateTime(dateFormat_, aDate) + " " + FormatDateTime(timeFormat_, aDate);
    aFont = TScalerFont::sTextFont1;
    if (OnUserStringLong) OnUserStringLong(aDate, aStep, text, aFont);
    return text;
}

std::string TvxDateScaler::GetWeekString(const std::string& aFormat, TDateTime aDate, bool aShort,
                                         [[maybe_unused]] int aWidth) const
{
    if (!weekNumbers_) return FormatDateTime(aFormat, aDate);
    bool nextYear;
    const int w = GetWeekNum(aDate, nextYear);
    // The last days of December can belong to week 1 of the next year, and carry its year.
    if (nextYear) aDate += kYear;
    std::string text;
    if (!aShort && !weekYearFormat_.empty()) text = FormatDateTime(weekYearFormat_, aDate);
    return text + weekPrefix_ + std::to_string(w);
}

int TvxDateScaler::DateToQuarter(TDateTime aDate) const
{
    Word y, m, d;
    // Half a month on: a date late in a quarter's last month already counts to the next one.
    DecodeDate(aDate + 15, y, m, d);
    switch (m) {
    case 1: case 2: case 3: return 1;
    case 4: case 5: case 6: return 2;
    case 7: case 8: case 9: return 3;
    case 10: case 11: case 12: return 4;
    default: break;
    }
    throw Exception("Internal error - impossible return value");
}

}  // namespace vxplan
