// The scale levels and their names.
#include <vxplan/scaler/vxScalerSpans.h>

namespace vxplan {

const TDateTime kScaleLevels[kScaleLevelCount] = {
    kScale10Hun, kScale1Sec,   kScale10Sec,  kScale1Min,  kScale10Min,  kScale1Hour,  kScale1Day,
    kScale1Week, kScale1Month, kScale3Month, kScale1Year, kScale10Year, kScale20Year, kScale100Year};

const char* const kScaleLevelNames[kScaleLevelCount] = {
    "1 tiondel", "1 sek",     "10 sek", "1 min", "10 min", "1 timme", "1 dag",
    "1 vecka",   "1 månad", "3 månader", "1 år", "10 år", "20 år", "100 år"};

TDateTime StepFork(TDateTime aSpan, std::string& aName)
{
    int level = kScaleLevelCount - 1;
    if (aSpan < kScale20Year) {
        // NaN compares false everywhere and ends at the top level too.
        for (int i = 0; i < kScaleLevelCount; ++i) {
            if (kScaleLevels[i] > aSpan) {
                level = i;
                break;
            }
        }
    }
    aName = kScaleLevelNames[level];
    return kScaleLevels[level];
}

std::string ScaleLevelName(TDateTime aStep)
{
    for (int i = 0; i < kScaleLevelCount; ++i)
        if (kScaleLevels[i] == aStep) return kScaleLevelNames[i];
    return {};
}

}  // namespace vxplan
