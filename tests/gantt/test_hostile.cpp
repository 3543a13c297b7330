// The chart's model against hostile values through its public calls: layer indexes that would
// make layers without end, and insets and sub-columns at the edges of the int range. Each call
// is refused with a clear error or its rectangle saturates, and the chart still paints.
#include "vxGantFixture.h"

#include <vxplan/platform/core/vxExceptions.h>

#include <gtest/gtest.h>

#include <climits>

using namespace vxplan;
using vxplan::test::GantChart;
using vxplan::test::kMonday;

TEST(HostileGantt, LayerIndexesBeyondTheBoundAreRefusedWithoutMakingLayers)
{
    GantChart c;
    TvxDataEntity_Tree* node = c.Node(nullptr, "row");
    c.Pass();
    TGantRow* row = c.Row(node);
    ASSERT_NE(row, nullptr);
    const int layers = row->GetDataLists()->Count();
    for (const int layer : {-1, INT_MIN, TGantRow::kMaxLayers, INT_MAX}) {
        SCOPED_TRACE(layer);
        EXPECT_THROW(c.gant->AddChronbar(node, layer), EInvalidArgument);
        EXPECT_EQ(row->GetDataLists()->Count(), layers);
    }
    EXPECT_THROW(row->GetLayer(INT_MAX), EInvalidArgument);
    EXPECT_EQ(row->GetLayer(-1), nullptr);
    EXPECT_EQ(row->GetDataLists()->Count(), layers);
    try {
        c.gant->AddChronbar(node, INT_MAX);
    } catch (const EInvalidArgument& e) {
        EXPECT_STREQ(e.what(), "Layer index 2147483647 outside 0..999");
    }
    EXPECT_NE(c.gant->AddChronbar(node, TGantRow::kMaxLayers - 1), nullptr) << "the last layer is made";
}

TEST(HostileGantt, ExtremeInsetsAndSubColumnsGiveSaturatedBars)
{
    GantChart c;
    TvxDataEntity_Tree* node = c.Node(nullptr, "row");
    TvxDataEntity_Chronbar* item = c.Item(node, kMonday + 1, kMonday + 2);
    c.Pass();
    const TRect plain = c.ItemRect(item);
    ASSERT_LT(plain.Top, plain.Bottom);
    for (const int inset : {INT_MIN, INT_MAX}) {
        item->SetTopInset(inset);
        item->SetBottomInset(inset);
        const TRect r = c.ItemRect(item);
        SCOPED_TRACE(inset);
        EXPECT_EQ(r.Left, plain.Left);
        EXPECT_LE(r.Top, r.Bottom);
        c.gant->GrabImage();
    }
    item->SetTopInset(0);
    item->SetBottomInset(0);

    TGantRow* row = c.Row(node);
    row->SetUseSubCols(3);
    for (const int lane : {INT_MIN, -1, INT_MAX}) {
        SCOPED_TRACE(lane);
        row->DataListOnSubCol(0, lane);
        const TRect r = c.ItemRect(item);
        EXPECT_LE(r.Top, r.Bottom);
        c.gant->GrabImage();
    }
    row->SetCollisionDetection(true);
    for (const int lane : {INT_MIN, INT_MAX}) {
        SCOPED_TRACE(lane);
        item->SetSubCol(lane);
        const TRect r = c.ItemRect(item);
        EXPECT_LE(r.Top, r.Bottom);
    }
    row->SetCollisionDetection(false);
    row->SetUseSubCols(3);
    row->DataListOnSubCol(0, 1);
    const TRect middle = c.ItemRect(item);
    EXPECT_GT(middle.Top, plain.Top) << "the second of three lanes";
    EXPECT_LT(middle.Bottom, plain.Bottom);
}
