// The date scaler under random settings and range changes, its mapping checked after each.
//
// Whatever was set (range, zoom, scroll, hidden hours and days, sizes, levels, formats), the
// range stays inside the calendar with Start before Stop, the visible amount never exceeds the
// true one, the marks run forward, time to pixel and pixel to time never run backwards, and a
// pixel of the axis maps to a time that maps back to that pixel.
#include "vxFuzzCheck.h"

#include <vxplan/platform/core/vxExceptions.h>
#include <vxplan/platform/time/vxClock.h>
#include <vxplan/scaler/vxScaler.h>

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

using namespace vxplan;

namespace {

constexpr TDateTime kMs = 1.0 / MSecsPerDay;

std::string Describe(TvxDateScaler& s)
{
    return "start " + std::to_string(s.GetStart()) + " stop " + std::to_string(s.GetStop()) + " len " +
           std::to_string(s.GetScaleLen()) + " hidden hours " + std::to_string(s.GetHiddenHourCount()) + " days " +
           std::to_string(s.GetHiddenDayCount());
}

// A time near the range most of the time, anything now and then.
TDateTime PickTime(FuzzedDataProvider& in, TvxDateScaler& s)
{
    const TDateTime span = s.GetStop() - s.GetStart();
    switch (in.ConsumeIntegralInRange(0, 5)) {
    case 0: return in.ConsumeFloatingPoint<double>();
    case 1: return in.ConsumeFloatingPointInRange<double>(MinDateTime, MaxDateTime);
    case 2: return EncodeDate(in.ConsumeIntegralInRange<Word>(1800, 2200), in.ConsumeIntegralInRange<Word>(1, 12), 1) +
                   in.ConsumeIntegralInRange(0, 47) / 48.0;
    default: return s.GetStart() + span * in.ConsumeFloatingPointInRange<double>(-1.0, 2.0);
    }
}

double PickScale(FuzzedDataProvider& in)
{
    if (in.ConsumeIntegralInRange(0, 7) == 0) return in.ConsumeFloatingPoint<double>();
    // Days per pixel, from a tenth of a second to decades.
    return std::pow(10.0, in.ConsumeFloatingPointInRange<double>(-6.0, 2.0));
}

void Step(FuzzedDataProvider& in, TvxDateScaler& s)
{
    const int op = in.ConsumeIntegralInRange(0, 14);
    if (std::getenv("VXPLAN_FUZZ_TRACE")) std::fprintf(stderr, "step %d on %s\n", op, Describe(s).c_str());
    switch (op) {
    case 0: s.SetStart(PickTime(in, s)); break;
    case 1: s.SetStop(PickTime(in, s)); break;
    case 2: s.SetScale(PickScale(in)); break;
    case 3: {
        TvxHiddenHours hours;
        const uint32_t bits = in.ConsumeIntegral<uint32_t>();
        for (int h = 0; h < 24; ++h)
            if ((bits >> h) & 1u) hours.Include(static_cast<TvxHiddenHoursEnum>(h));
        s.SetHiddenHours(hours);
        break;
    }
    case 4: {
        TvxHiddenDays days;
        const uint8_t bits = in.ConsumeIntegral<uint8_t>();
        for (int d = 0; d < 7; ++d)
            if ((bits >> d) & 1u) days.Include(static_cast<TvxHiddenDaysEnum>(d));
        s.SetHiddenDays(days);
        break;
    }
    case 5: {
        const int len = in.ConsumeIntegralInRange(0, 3) == 0 ? in.ConsumeIntegralInRange(-10, 20000)
                                                             : in.ConsumeIntegralInRange(50, 2000);
        s.SetBounds(0, 0, s.GetHorizontal() ? len : 40, s.GetHorizontal() ? 40 : len);
        break;
    }
    case 6: s.SetHorizontal(in.ConsumeBool()); break;
    case 7: s.SetCenterScale(PickScale(in), PickTime(in, s), in.ConsumeIntegralInRange(-100, 3000)); break;
    case 8: s.SetMinStart(PickTime(in, s)); break;
    case 9: s.SetMaxStop(PickTime(in, s)); break;
    case 10: s.SetFirstDayOfWeek(in.ConsumeIntegralInRange(0, 8)); break;
    case 11: s.SetPixelsForModeSwitch(in.ConsumeIntegralInRange(-1, 400)); break;
    case 12: s.SetWeekNumbers(in.ConsumeBool()); break;
    case 13:
        if (in.ConsumeBool())
            s.SetDateFormat(in.ConsumeRandomLengthString(12));
        else
            s.SetTimeFormat(in.ConsumeRandomLengthString(12));
        break;
    default: {
        // A scroll by whole pixels, as the scroll buttons and dragging do.
        const TDateTime to = s.VisibleTimeDiffToTrueTime(s.GetStart(), in.ConsumeIntegralInRange(-500, 500) * s.GetScale());
        s.SetStart(s.VisibleTimeToTrueTime_High(to));
        break;
    }
    }
}

void CheckMarks(TvxDateScaler& s)
{
    const TScaleMarkList& minor = s.GetMinorMarks();
    for (size_t k = 1; k < minor.size(); ++k)
        VX_FUZZ_REQUIRE(minor[k - 1].Date < minor[k].Date && minor[k - 1].Pixel <= minor[k].Pixel,
                        Describe(s) + " minor mark " + std::to_string(k) + " at " + std::to_string(minor[k].Date));
    const TScaleMarkList& major = s.GetMajorMarks();
    for (size_t k = 1; k < major.size(); ++k)
        VX_FUZZ_REQUIRE(major[k - 1].Date < major[k].Date, Describe(s) + " major mark " + std::to_string(k));
}

void CheckMapping(FuzzedDataProvider& in, TvxDateScaler& s)
{
    const TDateTime start = s.GetStart();
    const TDateTime stop = s.GetStop();
    VX_FUZZ_REQUIRE(start >= 0 && start < stop && stop <= MaxDateTime, Describe(s));
    const TDateTime amount = s.VisibleTimeAmount();
    VX_FUZZ_REQUIRE(amount >= 0 && amount <= stop - start, Describe(s) + " amount " + std::to_string(amount));
    CheckMarks(s);
    const int len = s.GetScaleLen();
    if (len <= 0 || amount <= 0) return;

    VX_FUZZ_REQUIRE(s.DateToPixel(start) == 0, Describe(s) + " start at " + std::to_string(s.DateToPixel(start)));
    VX_FUZZ_REQUIRE(std::abs(s.DateToPixel(stop) - len) <= 1,
                    Describe(s) + " stop at " + std::to_string(s.DateToPixel(stop)));

    // Times in order map to pixels in order, also beyond the range.
    TDateTime t = start - (stop - start) * in.ConsumeProbability<double>();
    int lastPixel = s.DateToPixel(t);
    for (int k = 0; k < 12; ++k) {
        const TDateTime next = t + (stop - start) * in.ConsumeProbability<double>() / 4;
        const int p = s.DateToPixel(next);
        VX_FUZZ_REQUIRE(p >= lastPixel, Describe(s) + " " + std::to_string(t) + " at " + std::to_string(lastPixel) +
                                            " but later " + std::to_string(next) + " at " + std::to_string(p));
        t = next;
        lastPixel = p;
    }

    // Pixels in order map to times in order, and each pixel of the axis maps back to itself (to
    // a pixel more where a pixel is shorter than the millisecond the times are kept to).
    const double scale = s.GetScale();
    const int slack = 1 + static_cast<int>(std::ceil(2 * kMs / std::max(scale, 1e-12)));
    int p = in.ConsumeIntegralInRange(-20, len);
    TDateTime lastTime = s.PixelToDate(p);
    for (int k = 0; k < 12; ++k) {
        const int q = p + in.ConsumeIntegralInRange(0, std::max(1, len / 6));
        const TDateTime at = s.PixelToDate(q);
        VX_FUZZ_REQUIRE(at >= lastTime, Describe(s) + " pixel " + std::to_string(p) + " is " + std::to_string(lastTime) +
                                            " but " + std::to_string(q) + " is " + std::to_string(at));
        if (q >= 0 && q <= len) {
            const int back = s.DateToPixel(at);
            VX_FUZZ_REQUIRE(std::abs(back - q) <= slack, Describe(s) + " pixel " + std::to_string(q) + " is " +
                                                             std::to_string(at) + " at pixel " + std::to_string(back));
        }
        p = q;
        lastTime = at;
    }

    // Visible time runs one way and never exceeds true time.
    const TDateTime a = PickTime(in, s);
    const TDateTime b = PickTime(in, s);
    if (std::fabs(a) < 1e7 && std::fabs(b) < 1e7) {
        const TDateTime ab = s.DateDiffToVisibleTime(a, b);
        VX_FUZZ_REQUIRE(ab == -s.DateDiffToVisibleTime(b, a) && std::fabs(ab) <= std::fabs(b - a) + kMs,
                        Describe(s) + " visible " + std::to_string(a) + ".." + std::to_string(b));
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::EnsureApplication();
    static TTestClock clock(EncodeDate(2026, 3, 2) + 0.4);
    SetApplicationClock(&clock);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    TvxDateScaler s;
    s.SetHorizontal(true);
    s.SetBounds(0, 0, 1000, 40);
    for (int step = 0; step < 24 && in.remaining_bytes() > 0; ++step) {
        try {
            Step(in, s);
        } catch (const EInvalidArgument&) {
        }
        CheckMapping(in, s);
    }
    return 0;
}
