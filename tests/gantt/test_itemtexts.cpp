// The labels of a time item: where they are drawn, how they are clipped, which font they get.
#include <vxplan/gantt/vxTimeItemTexts.h>

#include "vxGantFixture.h"

#include <vxplan/platform/core/vxExceptions.h>
#include <vxplan/platform/graphics/vxBitmap.h>

#include "support/vxTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vxplan;
using vxplan::test::CountPixels;
using vxplan::test::ExpectPixels;
using vxplan::test::PixelAt;

namespace {
const TColor kPaper = 0xFFFFFF;
const TColor kBar = 0x00FF00;

struct Sheet {
    TBitmap bitmap;
    Sheet()
    {
        bitmap.SetSize(240, 100);
        bitmap.Canvas().Brush().SetColor(kPaper);
        bitmap.Canvas().FillRect(TRect(0, 0, 240, 100));
        // The bar's colour is the brush when texts are drawn.
        bitmap.Canvas().Brush().SetColor(kBar);
        bitmap.Canvas().Font().SetColor(0);
        bitmap.Canvas().Font().SetSize(14);
    }
    const QImage& Image() { return bitmap.Image(); }
};
}  // namespace

TEST(TimeItemTexts, DrawnAtTheirOffsetAndClippedInsideTheBar)
{
    Sheet s;
    TvxTimeItemTextCollection texts;
    texts.AddText("WWWWWWWWWWWW", 2, 1, 1);
    texts.DrawToCanvasInsideRect(TRect(100, 40, 160, 54), s.bitmap.Canvas(), 1.0, 1.0);
    const QImage& img = s.Image();
    // The clip (102, 41)-(159, 53) takes the bar's colour and the text; nothing goes beyond it.
    ExpectPixels(img, {{102, 41, kBar}, {101, 41, kPaper}, {102, 40, kPaper}});
    EXPECT_EQ(CountPixels(img, kPaper, 159, 0, 240, 100), 81 * 100) << "right of x = 159 untouched";
    EXPECT_EQ(CountPixels(img, kPaper, 0, 53, 240, 100), 240 * 47) << "below y = 53 untouched";
    EXPECT_GT(CountPixels(img, 0, 102, 41, 159, 53), 20) << "the text itself";

    // Scaled for a printer: the offset grows with the scale.
    Sheet p;
    texts.DrawToCanvasInsideRect(TRect(100, 40, 160, 54), p.bitmap.Canvas(), 3.0, 2.0);
    ExpectPixels(p.Image(), {{105, 41, kPaper}, {106, 42, kBar}});
}

TEST(TimeItemTexts, SkippedTextsAndTheStyleCallback)
{
    Sheet s;
    TvxTimeItemTextCollection texts;
    std::vector<int> styles;
    texts.OnStyleSet = TOnStyleSet([&](TvxTimeItemTextCollection*, TCanvas&, int32_t style) { styles.push_back(style); });
    texts.AddText("", 0, 0, 5);
    texts.AddText("beyond", 70, 0, 2);
    texts.DrawToCanvasInsideRect(TRect(100, 40, 160, 54), s.bitmap.Canvas(), 1.0, 1.0);
    EXPECT_EQ(styles, (std::vector<int>{2})) << "an empty text asks for no font";
    EXPECT_EQ(CountPixels(s.Image(), kPaper, 0, 0, 240, 100), 240 * 100) << "a text beyond the right edge is not drawn";

    texts.DropText(0);
    ASSERT_EQ(texts.GetCount(), 1);
    EXPECT_EQ(texts.GetTimeItemText(0)->GetText(), "beyond");
    EXPECT_THROW(texts.DropText(1), EListError);
    EXPECT_THROW(texts.GetTimeItemText(-1), EListError);
    EXPECT_EQ(texts.GetCount(), 1);
}

TEST(TimeItemTexts, TheChartPicksTheFontByStyle)
{
    test::GantChart c;
    c.gant->GetFontTimeItemStyle1().SetName("Style One");
    c.gant->GetFontTimeItemStyle2().SetName("Style Two");
    c.gant->GetFontTimeItemStyle3().SetName("Style Three");
    auto* node = c.Node(nullptr, "A");
    auto* item = c.Item(node, test::kMonday, test::kMonday + 1);
    TvxTimeItemTextCollection* texts = item->GetTexts();
    ASSERT_NE(texts, nullptr);
    ASSERT_TRUE(static_cast<bool>(texts->OnStyleSet));
    TBitmap bitmap;
    bitmap.SetSize(10, 10);
    TCanvas& canvas = bitmap.Canvas();
    const std::vector<std::pair<int, std::string>> cases{{1, "Style One"}, {2, "Style Two"}, {3, "Style Three"}, {7, "Style One"}, {0, "Style One"}};
    for (const auto& [style, name] : cases) {
        texts->OnStyleSet(texts, canvas, style);
        EXPECT_EQ(canvas.Font().GetName(), name) << "style " << style;
    }
}
