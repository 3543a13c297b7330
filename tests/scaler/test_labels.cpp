// Label texts of the mark rows at every level, week and quarter labels, and the host's
// overrides, with the format settings pinned to the classic English ones.
#include <vxplan/platform/time/vxClock.h>
#include <vxplan/platform/time/vxDateFormat.h>
#include <vxplan/scaler/vxScaler.h>

#include <gtest/gtest.h>

using namespace vxplan;

namespace {

class Labels : public ::testing::Test {
protected:
    Labels()
    {
        SetFormatSettings(ClassicFormatSettings());
        scaler.SetHorizontal(true);
        scaler.SetBounds(0, 0, 1500, 40);
    }
    ~Labels() override { SetFormatSettings(saved); }

    std::string Short(TDateTime t, TDateTime step)
    {
        std::string text, sub;
        TScalerFont font, subFont;
        scaler.GetApprioateStringShort(t, step, 30, text, font, sub, subFont);
        return text;
    }
    std::string Long(TDateTime t, TDateTime step)
    {
        TScalerFont font;
        return scaler.GetApprioateStringLong(t, step, font);
    }

    const TFormatSettings saved = FormatSettings();
    TTestClockScope clock{46000.4};
    TvxDateScaler scaler;
    // Tuesday 2 June 2026, 09:05:07.250: week 23.
    const TDateTime tue = EncodeDateTime(2026, 6, 2, 9, 5, 7, 250);
};

}  // namespace

TEST_F(Labels, ShortLabelsAtEveryLevel)
{
    scaler.SetDateFormat("yyyy-mm-dd");
    scaler.SetTimeFormat("hh:nn:ss.zzz");
    // A week is labelled with its date when there are no week numbers.
    const std::pair<TDateTime, const char*> levels[] = {
        {kScale10Hun, "2026-06-02 09:05:07.250"}, {kScale1Sec, "07"}, {kScale10Sec, "07"}, {kScale1Min, "05"},
        {kScale10Min, "05"}, {kScale1Hour, "09"}, {kScale1Day, "Tue"}, {kScale1Week, "2026-06-02"},
        {kScale1Month, "Jun"}, {kScale3Month, " Q2"}, {kScale1Year, "26"}, {kScale10Year, "26"},
        {kScale20Year, "26"}, {kScale100Year, "26"}};
    for (auto [level, text] : levels) EXPECT_EQ(Short(tue, level), text) << "level " << level;
}

TEST_F(Labels, LongLabelsAtEveryLevel)
{
    scaler.SetTimeFormat("hh:nn");
    scaler.SetDateFormat("d/m");
    EXPECT_EQ(Long(tue, kScale10Hun), "2-6 09:05");
    for (TDateTime step : {kScale1Sec, kScale10Sec, kScale1Min, kScale10Min, kScale1Hour}) EXPECT_EQ(Long(tue, step), "09:05");
    for (auto [level, text] : {std::pair<TDateTime, const char*>{kScale1Day, "Tue"}, {kScale1Month, "2026 Jun"},
                               {kScale3Month, "2026 Q2"}, {kScale1Year, "2026"}})
        EXPECT_EQ(Long(tue, level), text) << "level " << level;
    // The decades end where their nominal length ends: 2020 plus 3652 days is 31 Dec 2029.
    EXPECT_EQ(Long(EncodeDate(2020, 1, 1), kScale10Year), "2020 - 2029");
    EXPECT_EQ(Long(EncodeDate(2000, 1, 1), kScale20Year), "2000 - 2020");
    EXPECT_EQ(Long(EncodeDate(2000, 1, 1), kScale100Year), "2000 - 2099");
}

TEST_F(Labels, WeekLabelsWithNumbers)
{
    scaler.SetWeekNumbers(true);
    EXPECT_EQ(Short(tue, kScale1Week), " w 23");
    EXPECT_EQ(Long(tue, kScale1Week), "2026 w 23");
    // The last days of 2024 are week 1 of 2025, and say so.
    EXPECT_EQ(Long(EncodeDate(2024, 12, 30), kScale1Week), "2025 w 1");
    scaler.SetWeekPrefix("v.");
    scaler.SetWeekYearFormat("");
    EXPECT_EQ(Long(tue, kScale1Week), "v.23");
    scaler.SetWeekYearFormat("yy");
    EXPECT_EQ(scaler.GetWeekString("", tue, false, 1000), "26v.23");
    scaler.SetQuarterPrefix(" K");
    EXPECT_EQ(Long(tue, kScale3Month), "2026 K2");
}

TEST_F(Labels, MarksCarryTheirLabels)
{
    scaler.SetStart(EncodeDate(2026, 5, 30));
    scaler.SetStop(EncodeDate(2026, 5, 30) + 50);  // days over weeks
    ASSERT_EQ(scaler.GetMinorStep(), kScale1Day);
    const TScaleMarkList& days = scaler.GetMinorMarks();
    EXPECT_EQ(days[0].Text, "Sat");
    EXPECT_EQ(days[2].Text, "Mon");
    EXPECT_TRUE(days[0].SubText.empty());
    EXPECT_EQ(scaler.GetMajorMarks()[0].Text, FormatDateTime("", EncodeDate(2026, 5, 25))) << "weeks by DateFormat";
}

TEST_F(Labels, HostHandlersOverrideTextsAndFonts)
{
    scaler.OnUserStringShort = [](TDateTime, TDateTime step, std::string& text, TScalerFont& font) {
        if (step == kScale1Day) text = "<" + text + ">";
        font = TScalerFont::sTextFont3;
    };
    scaler.OnUserStringShortSub = [](TDateTime t, TDateTime, std::string& text, TScalerFont& font) {
        text = FormatDateTime("d", t);
        font = TScalerFont::sTextFont2;
    };
    scaler.OnUserStringLong = [](TDateTime, TDateTime, std::string& text, TScalerFont&) { text += "!"; };
    scaler.SetStart(EncodeDate(2026, 5, 30));
    scaler.SetStop(EncodeDate(2026, 5, 30) + 50);
    const TScaleMark& first = scaler.GetMinorMarks()[0];
    EXPECT_EQ(first.Text, "<Sat>");
    EXPECT_EQ(first.Font, TScalerFont::sTextFont3);
    EXPECT_EQ(&scaler.GetScalerFont(first.Font), &scaler.GetTextFont3());
    EXPECT_EQ(first.SubText, "30");
    EXPECT_EQ(first.SubFont, TScalerFont::sTextFont2);
    EXPECT_EQ(scaler.GetMajorMarks()[0].Text.back(), '!');
    EXPECT_EQ(scaler.GetMajorMarks()[0].Font, TScalerFont::sTextFont1);
}
