// Where rows and items lie: item rectangles from the scaler's mapping and the row bands, lanes,
// hit tests at rectangle borders, and rows found by y in and beyond the view.
#include "vxGantFixture.h"

#include "support/vxTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

using namespace vxplan;
using vxplan::test::GantChart;
using vxplan::test::kMonday;

namespace {

TvxHiddenHours Nights()
{
    TvxHiddenHours set;
    for (int h : {0, 1, 2, 3, 4, 5, 6, 7, 17, 18, 19, 20, 21, 22, 23}) set.Include(static_cast<TvxHiddenHoursEnum>(h));
    return set;
}
}  // namespace

TEST(GantGeometry, ItemRectanglesFollowZoomAndHiddenTime)
{
    GantChart c;
    auto* a = c.Node(nullptr, "A");
    auto* item = c.Item(a, kMonday + 1, kMonday + 2);
    c.Pass();
    EXPECT_EQ(c.ItemRect(item), TRect(50, 1, 100, 19)) << "one pixel inside the band at top and bottom";

    c.Range(kMonday, kMonday + 5);
    EXPECT_EQ(c.ItemRect(item), TRect(100, 1, 200, 19));

    // Weekends and nights take no room: ten visible days of nine hours over 500 pixels.
    c.scaler->SetHiddenDays({TvxHiddenDaysEnum::thdSAT, TvxHiddenDaysEnum::thdSUN});
    c.scaler->SetHiddenHours(Nights());
    c.Range(kMonday, kMonday + 14);
    item->SetStartStop(kMonday + 1 + 8 * kHour, kMonday + 1 + 17 * kHour);
    EXPECT_EQ(c.ItemRect(item), TRect(50, 1, 100, 19)) << "Tuesday's visible hours";
    item->SetStartStop(kMonday + 4 + 12 * kHour, kMonday + 7 + 12 * kHour);
    EXPECT_EQ(c.ItemRect(item).Width(), 50) << "Friday noon to Monday noon is one visible day";
}

TEST(GantGeometry, InsetsMinimumWidthAndFixedWidth)
{
    GantChart c;
    auto* a = c.Node(nullptr, "A");
    auto* item = c.Item(a, kMonday + 1, kMonday + 2);
    c.Pass();
    item->SetTopInset(4);
    item->SetBottomInset(30);
    EXPECT_EQ(c.ItemRect(item), TRect(50, 5, 100, 5)) << "the bottom never rises above the top";
    item->SetTopInset(0);
    item->SetBottomInset(0);

    // A stop before the start still gets 5 pixels from the start pixel.
    item->SetStopDateTime(kMonday + 0.5);
    EXPECT_EQ(c.ItemRect(item), TRect(50, 1, 55, 19));
    item->SetStopDateTime(kMonday + 1);
    EXPECT_EQ(c.ItemRect(item).Width(), 5);

    // Fixed width 7 centred on pixel 100: 97..104, whatever the stop.
    item->SetStartStop(kMonday + 2, kMonday + 6);
    item->SetFixedPixelWidth(7);
    EXPECT_FALSE(item->IsResizable());
    EXPECT_EQ(c.ItemRect(item), TRect(97, 1, 104, 19));

    item->SetVisible(false);
    TRect r;
    EXPECT_FALSE(c.gant->RectFromDataEntity(item, r));
    EXPECT_EQ(r, kNoRect);
}

TEST(GantGeometry, LanesSplitTheBand)
{
    GantChart c;
    c.Node(nullptr, "A");
    c.Node(nullptr, "B");
    auto* n = c.Node(nullptr, "C");
    TGantRow* row = c.Row(n);
    auto* item = c.Item(n, kMonday + 1, kMonday + 2);
    c.Pass();
    ASSERT_EQ(row->GetRect(), TRect(0, 40, 500, 60));

    // Collision detection on: lanes by SubCol; 0 keeps the whole band.
    row->SetCollisionDetection(true);
    row->SetUseSubCols(3);
    item->SetSubCol(2);
    EXPECT_EQ(c.ItemRect(item).Top, 47);
    EXPECT_EQ(c.ItemRect(item).Bottom, 53);
    item->SetSubCol(0);
    EXPECT_EQ(c.ItemRect(item).Top, 41);
    EXPECT_EQ(c.ItemRect(item).Bottom, 59);

    // Off: layers keep to the lanes they were given; only layers 0..9 have one.
    row->SetCollisionDetection(false);
    EXPECT_EQ(row->GetUseSubCols(), 0);
    row->SetUseSubCols(2);
    row->DataListOnSubCol(1, 1);
    row->DataListOnSubCol(10, 1);
    row->DataListOnSubCol(-1, 1);
    auto* upper = c.Item(n, kMonday + 1, kMonday + 2, 1);
    auto* high = c.Item(n, kMonday + 1, kMonday + 2, 12);
    EXPECT_EQ(c.ItemRect(upper).Top, 50);
    EXPECT_EQ(c.ItemRect(upper).Bottom, 59);
    EXPECT_EQ(row->GetDataListOnSubCol(10), 0);
    EXPECT_EQ(c.ItemRect(high).Top, 41) << "a layer beyond the ten is drawn in lane 0";
    EXPECT_EQ(c.ItemRect(high).Bottom, 50);
}

TEST(GantGeometry, HitTestsAtRectangleBorders)
{
    GantChart c;
    auto* a = c.Node(nullptr, "A");
    auto* item = c.Item(a, kMonday + 1, kMonday + 2);  // (50, 1, 100, 19)
    c.Pass();
    // The band's own top is in no row.
    for (auto [x, y, hit] : {std::tuple{50, 1, item}, {99, 18, item}, {100, 10, nullptr}, {49, 10, nullptr},
                             {60, 19, nullptr}, {60, 0, nullptr}})
        EXPECT_EQ(c.gant->GetDataEntityFromXY(x, y), hit) << x << "," << y;
    EXPECT_EQ(c.Row(a)->FindDataEntityFromX(60), item);

    // Overlaps: the item drawn last wins, layer by layer, then in list order.
    auto* same = c.Item(a, kMonday + 1.5, kMonday + 3);
    EXPECT_EQ(c.gant->GetDataEntityFromXY(80, 10), same);
    auto* upper = c.Item(a, kMonday, kMonday + 1.6, 1);
    EXPECT_EQ(c.gant->GetDataEntityFromXY(78, 10), upper);
    c.Row(a)->SetDrawLayerStart(1);
    EXPECT_EQ(c.gant->GetDataEntityFromXY(120, 10), nullptr) << "layers below DrawLayerStart are not hit";
    EXPECT_EQ(c.gant->GetDataEntityFromXY(60, 10), upper);

    // Narrow items: a fixed width of 7 at pixel 100, and a stop before the start (5 pixels).
    auto* b = c.Node(nullptr, "B");
    auto* pin = c.Item(b, kMonday + 2, kMonday + 2);
    pin->SetFixedPixelWidth(7);
    auto* reversed = c.Item(b, kMonday + 4, kMonday + 4);
    reversed->SetStopDateTime(kMonday + 3);
    c.Pass();
    for (auto [x, hit] : {std::pair<int, TvxDataEntity*>{97, pin}, {103, pin}, {104, nullptr}, {204, reversed}, {205, nullptr}})
        EXPECT_EQ(c.gant->GetDataEntityFromXY(x, 30), hit) << "x " << x;
}

TEST(GantGeometry, RowsByYOnBordersAndBeyondTheView)
{
    GantChart c;
    std::vector<TvxDataEntity_Tree*> n;
    for (int i = 0; i < 40; ++i) n.push_back(c.Node(nullptr, "N" + std::to_string(i)));
    c.Pass();
    EXPECT_EQ(c.gant->GetRowsInView().size(), 18u) << "355 pixels of area: only the rows in view are read";
    for (auto [y, row] : {std::pair<int, TGantRow*>{20, nullptr}, {21, c.Row(n[1])}, {39, c.Row(n[1])}, {40, nullptr}})
        EXPECT_EQ(c.rows->FindRowFromY(y), row) << "y " << y;

    // Scrolled by ten rows: rows above and below the view are found by walking from its ends.
    c.tree->SetTopItem(n[10]);
    c.Pass();
    // The top of row 0, at -200, is a border.
    for (auto [y, row] : {std::pair<int, TGantRow*>{1, c.Row(n[10])}, {-5, c.Row(n[9])}, {-200, nullptr},
                          {-199, c.Row(n[0])}, {401, c.Row(n[30])}, {400, nullptr}, {10000, nullptr}})
        EXPECT_EQ(c.rows->FindRowFromY(y), row) << "y " << y;

    // An item of a row out of view keeps its true rectangle (links reach it).
    auto* item = c.Item(n[2], kMonday + 1, kMonday + 2);
    EXPECT_EQ(c.ItemRect(item), TRect(50, -159, 100, -141));
    // Removing a row refreshes the lookup: no removed row is found.
    c.tree->RemoveDataEntity(n[11]);
    EXPECT_EQ(c.rows->FindRowFromY(21), c.Row(n[12]));
}

TEST(GantGeometry, APaintReadsTheBandsOfTheRowsInView)
{
    GantChart c;
    auto* a = c.Node(nullptr, "A");
    c.Node(nullptr, "B");
    c.gant->SetGantBackColor(0x336699);
    const QImage image = c.ga->GrabImage();
    EXPECT_EQ(vxplan::test::PixelAt(image, 10, 10), 0x336699u);
    ASSERT_EQ(c.gant->GetRowsInView().size(), 2u);
    EXPECT_EQ(c.gant->GetRowsInView().front(), c.Row(a));
    EXPECT_EQ(c.rows->FindRowFromY(10), c.Row(a));
}
