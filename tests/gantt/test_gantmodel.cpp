// The chart's model as a host drives it: rows following the tree's entities, items and links
// with their notifications, and bad input refused without loss.
#include "vxGantFixture.h"

#include <vxplan/dataentity/vxDoLater.h>
#include <vxplan/overlap/vxTimeDistinctGenericThread.h>
#include <vxplan/platform/app/vxThread.h>
#include <vxplan/platform/core/vxExceptions.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

using namespace vxplan;
using vxplan::test::GantChart;
using vxplan::test::kMonday;

namespace {

using Strings = std::vector<std::string>;

std::string TextOf(TGantRow* row) { return row && row->GetTreeNode() ? row->GetTreeNode()->GetText() : "-"; }

Strings RowTexts(TGantRowList* rows)
{
    Strings out;
    for (int i = 0; i < rows->Count(); ++i) out.push_back(TextOf(rows->GetGantRow(i)));
    return out;
}

// A chart with one root entity A.
struct GantModel : ::testing::Test {
    GantChart c;
    TvxDataEntity_Tree* a = c.Node(nullptr, "A");
};

}  // namespace

TEST(GantRows, FollowTheTreesEntitiesWhetherShownOrNot)
{
    GantChart c;
    Strings freed;
    c.gant->OnBeforeFreeGantRow = TGantRowNotify([&](TGantRowList*, TGantRow* r) { freed.push_back(TextOf(r)); });
    auto* a = c.Node(nullptr, "A");
    auto* a1 = c.Node(a, "A1");
    auto* a11 = c.Node(a1, "A11");
    auto* b = c.Node(nullptr, "B");
    // Children of the collapsed A have rows already, in insertion order.
    EXPECT_EQ(RowTexts(c.rows), (Strings{"A", "A1", "A11", "B"}));
    EXPECT_EQ(c.rows->GetGantRow(4), nullptr);
    EXPECT_EQ(c.rows->GetGantRow(-1), nullptr);
    c.Item(a11, kMonday, kMonday + 1);

    c.tree->RemoveDataEntity(a1);
    EXPECT_EQ(freed, (Strings{"A1", "A11"}));
    EXPECT_EQ(RowTexts(c.rows), (Strings{"A", "B"}));
    EXPECT_EQ(c.Row(a1), nullptr);
    EXPECT_EQ(c.gant->GetAllDataLists()->Count(), 2) << "the removed rows' layers left the list of all layers";

    // A second row a host added for B goes with B too.
    c.rows->AddRow(b, nullptr);
    ASSERT_EQ(c.rows->Count(), 3);
    c.tree->RemoveDataEntity(b);
    EXPECT_EQ(RowTexts(c.rows), (Strings{"A"}));

    c.tree->Clear();
    EXPECT_EQ(c.rows->Count(), 0);
}

TEST_F(GantModel, AnItemIsVisibleWhenAnyPartOfItIsInTheScalersRange)
{
    // The range is Monday .. Monday + 10; both of its ends count.
    auto* item = c.Item(a, kMonday - 2, kMonday - 1);
    const struct {
        TDateTime start, stop;
        bool visible;
    } cases[] = {{-2, -1, false}, {-2, 0, true}, {-2, 20, true}, {10, 12, true}, {10.5, 12, false}};
    for (const auto& k : cases) {
        item->SetStartStop(kMonday + k.start, kMonday + k.stop);
        EXPECT_EQ(c.gant->IsVisible(item), k.visible) << k.start << " .. " << k.stop;
    }
}

TEST_F(GantModel, RowBandsFollowCollapseExpandHideAndMove)
{
    auto* a1 = c.Node(a, "A1");
    auto* a2 = c.Node(a, "A2");
    auto* b = c.Node(nullptr, "B");
    c.Pass();
    EXPECT_EQ(c.Row(a)->GetRect(), TRect(0, 0, 500, 20));
    EXPECT_EQ(c.Row(b)->GetRect(), TRect(0, 20, 500, 40));
    EXPECT_FALSE(c.Row(a1)->GetVisible());
    EXPECT_EQ(c.Row(a1)->GetRect(), kNoRect) << "a child of a collapsed parent has no band";

    a->SetExpanded(true);
    c.Pass();
    EXPECT_TRUE(c.Row(a1)->GetVisible());
    EXPECT_EQ(c.Row(a1)->GetRect().Top, 20);
    EXPECT_EQ(c.Row(a2)->GetRect().Top, 40);
    EXPECT_EQ(c.Row(b)->GetRect().Top, 60);

    a1->Set_HideNode(true);
    c.Pass();
    EXPECT_FALSE(c.Row(a1)->GetVisible());
    EXPECT_EQ(c.Row(a1)->GetRect().Bottom, -1);
    EXPECT_EQ(c.Row(a2)->GetRect().Top, 20);
    EXPECT_EQ(c.rows->Count(), 4) << "a hidden entity keeps its row";

    // Moving B under A keeps B's row and items; its band follows the new place.
    auto* item = c.Item(b, kMonday, kMonday + 1);
    TGantRow* rowB = c.Row(b);
    c.tree->ChangeOwner(b, a);
    c.Pass();
    EXPECT_EQ(c.Row(b), rowB);
    EXPECT_EQ(item->GetRow(), rowB);
    EXPECT_EQ(rowB->GetRect().Top, 40);

    a->SetExpanded(false);
    c.Pass();
    EXPECT_EQ(c.Row(b)->GetRect().Bottom, -1);
    EXPECT_EQ(c.gant->GetRowsInView().size(), 1u);
}

TEST_F(GantModel, ItemNotificationsComeInTheirOrder)
{
    Strings log;
    auto note = [&](const char* what) { return [&log, what](auto...) { log.push_back(what); }; };
    c.gant->OnInsertItem_Chronbar = TOnInsertItem([&](TObject* g, TvxDataEntity* e) {
        EXPECT_EQ(g, c.gant.get());
        EXPECT_EQ(static_cast<TvxDataEntity_Chronbar*>(e)->GetColor(), 0u) << "defaults are set after the insert";
        log.push_back("insert");
    });
    c.gant->OnContentChanged_Chronbar = TOnContentChanged(note("content"));
    c.gant->OnChangeDataEntity_Chronbar = TOnInfoPush_Chronbar(note("change"));
    c.gant->OnValueChanged_Chronbar = TOnInfoPush(note("value"));
    c.gant->OnSelectionChanged_Chronbar = TOnSelectionChanged(note("selection"));
    c.gant->OnBeforeCanEditItem_Chronbar = TOnBeforeCanEditItem(note("canedit"));

    auto* item = c.gant->AddChronbar(a, 2);
    EXPECT_EQ(c.Row(a)->GetDataLists()->Count(), 3) << "missing layers are added";
    EXPECT_EQ(item->GetColor(), 0xFFFFFFu);
    EXPECT_EQ(item->GetStyle(), TChronbarStyle::gtsSquare);
    EXPECT_TRUE(item->GetCanEdit());
    item->DoInfoPush();
    item->SetSelected(true);
    EXPECT_EQ(log, (Strings{"insert", "content", "canedit", "change", "value", "selection"}));

    // Deletion: the handler still sees the item's links; they go after it.
    auto* other = c.Item(a, kMonday, kMonday + 1);
    auto* link = c.gant->AddLink();
    link->SetFromItem(item);
    link->SetToItem(other);
    c.gant->SetActiveDataEntity(item);
    log.clear();
    int linksSeen = -1;
    c.gant->OnDeleteItem_Chronbar = TOnDeleteItem([&](TObject*, TvxDataEntity*) {
        linksSeen = c.gant->GetLinks()->Count();
        log.push_back("delete");
    });
    c.gant->RemoveChronbar(item);
    EXPECT_EQ(log, (Strings{"delete", "content"}));
    EXPECT_EQ(linksSeen, 1);
    EXPECT_EQ(c.gant->GetLinks()->Count(), 0);
    EXPECT_EQ(c.gant->GetActiveDataEntity(), nullptr);
    EXPECT_TRUE(other->GetLinks().empty());
    c.gant->OnDeleteItem_Chronbar = {};
    c.gant->OnContentChanged_Chronbar = {};
}

TEST(GantRows, RowEventsAndUserMadeRows)
{
    GantChart c;
    int countSeen = -1;
    c.gant->OnAfterAddGantRow = TGantRowNotify([&](TGantRowList* l, TGantRow*) { countSeen = l->Count(); });
    c.Node(nullptr, "A");
    EXPECT_EQ(countSeen, 1) << "the row is in the list when the event comes";

    TGantRow* made = nullptr;
    c.gant->OnUserCreateGantRow = TUserCreateGantRow([&](TGantRowList* l, TvxDataEntity_Tree* n, TvxDataEntity_GridTreeNode* g,
                                                         TGantRow*& result) {
        made = result = new TGantRow(l, n, g);
        made->SetSelectColor(0x123456);
    });
    auto* b = c.Node(nullptr, "B");
    EXPECT_EQ(c.Row(b), made);
    EXPECT_EQ(made->GetSelectColor(), 0x123456u);
    EXPECT_TRUE(made->GetTimeItems_CanMove());
    EXPECT_TRUE(made->GetShowSelection());
    EXPECT_EQ(made->GetDrawLayerStart(), 0);
}

TEST_F(GantModel, BadInputIsRefusedAndLosesNothing)
{
    GantChart other;
    auto* x = other.Node(nullptr, "X");
    auto* item = c.Item(a, kMonday + 1, kMonday + 2);

    // Times: outside the calendar, or a stop before the start given at once.
    EXPECT_THROW(item->SetStartDateTime(1e9), EInvalidArgument);
    EXPECT_THROW(item->SetStopDateTime(std::nan("")), EInvalidArgument);
    EXPECT_THROW(item->SetStartStop(kMonday + 3, kMonday + 2), EInvalidArgument);
    EXPECT_EQ(item->GetStartDateTime(), kMonday + 1);
    EXPECT_EQ(item->GetStopDateTime(), kMonday + 2);
    // One end at a time may pass the other on the way (a move to later sets the start first).
    item->SetStartDateTime(kMonday + 5);
    EXPECT_EQ(item->GetStartDateTime(), kMonday + 5);

    // A link to an item of another chart.
    auto* foreign = other.Item(x, kMonday, kMonday + 1);
    auto* link = c.gant->AddLink();
    link->SetFromItem(item);
    EXPECT_THROW(link->SetToItem(foreign), EInvalidArgument);
    EXPECT_EQ(link->GetToItem(), nullptr);
    EXPECT_TRUE(foreign->GetLinks().empty());
    EXPECT_EQ(link->GetLinkStyle(), TLinkStyle::tlsDefault);
    EXPECT_EQ(link->GetColor(), 0xFF0000u);

    // An item for a row of another chart, or for a row that has gone.
    EXPECT_THROW(c.gant->AddChronbarToGantRow(other.Row(x), 0), EInvalidArgument);
    EXPECT_EQ(other.Row(x)->GetDataLists()->Count(), 1) << "the foreign row got nothing";
    auto* b = c.Node(nullptr, "B");
    TGantRow* gone = c.Row(b);
    c.tree->RemoveDataEntity(b);
    EXPECT_THROW(c.gant->AddChronbarToGantRow(gone, 0), EInvalidArgument);
    EXPECT_THROW(c.gant->AddChronbar(x, 0), EInvalidArgument) << "a node of another chart has no row here";
    EXPECT_EQ(c.gant->AddChronbarToGantRow(nullptr, 0), nullptr);
    EXPECT_EQ(c.gant->AddChronbar(nullptr, 0), nullptr);
}

TEST_F(GantModel, LinksAreDroppedAtBothEnds)
{
    auto* i1 = c.Item(a, kMonday, kMonday + 1);
    auto* i2 = c.Item(a, kMonday + 2, kMonday + 3);
    auto* i3 = c.Item(a, kMonday + 4, kMonday + 5);
    auto join = [&](TvxDataEntity_Chronbar* f, TvxDataEntity_Chronbar* t) {
        auto* l = c.gant->AddLink();
        l->SetFromItem(f);
        l->SetToItem(t);
        return l;
    };
    join(i1, i2);
    auto* keep = join(i1, i3);
    join(i3, i2);
    c.gant->DropAllLinks(i2);
    ASSERT_EQ(c.gant->GetLinks()->Count(), 1);
    EXPECT_EQ(c.gant->GetLinks()->GetItems(0), keep);
    EXPECT_TRUE(i2->GetLinks().empty());
    EXPECT_EQ(i1->GetLinks().size(), 1u);

    // Freeing a link lets both items forget it.
    c.gant->GetLinks()->Remove(keep);
    EXPECT_TRUE(i1->GetLinks().empty());
    EXPECT_TRUE(i3->GetLinks().empty());

    // Removing the tree entity takes the row, its items and their links.
    join(i1, i3);
    auto* b = c.Node(nullptr, "B");
    auto* ib = c.Item(b, kMonday, kMonday + 1);
    join(ib, i1);
    c.tree->RemoveDataEntity(a);
    EXPECT_EQ(c.gant->GetLinks()->Count(), 0);
    EXPECT_TRUE(ib->GetLinks().empty());
}

TEST_F(GantModel, TimeCopyAndMoveRowAreTheHandlersWork)
{
    auto* item = c.Item(a, kMonday, kMonday + 1);
    TvxDataEntity_Chronbar* made = item;
    EXPECT_FALSE(c.gant->TimeCopy(item, c.Row(a), c.Row(a), kMonday + 2, kMonday + 3, made));
    EXPECT_EQ(made, nullptr);
    EXPECT_EQ(c.Row(a)->GetLayer(0)->Count(), 1);
    EXPECT_EQ(item->GetStartDateTime(), kMonday);

    TDateTime seenStop = 0;
    c.gant->OnTimeChangeRow = TOnTimeCopyOrChangeRow(
        [&](TvxGant_ComBasic*, TvxDataEntity_Chronbar*, TGantRow*, TGantRow*, TDateTime, TDateTime stop) { seenStop = stop; });
    EXPECT_TRUE(c.gant->TimeMoveRow(item, c.Row(a), c.Row(a), kMonday + 2, kMonday + 3, made));
    EXPECT_EQ(seenStop, kMonday + 3);
}

TEST_F(GantModel, LookupsByReferenceAndActiveItem)
{
    auto* b = c.Node(nullptr, "B");
    int ref = 0;
    a->SetUserReference(&ref);
    b->SetUserReference(&ref);
    EXPECT_EQ(c.rows->FindRowFromTreeNodeDataEntityUserReference(&ref), c.Row(b)) << "the last match";
    EXPECT_EQ(c.rows->FindRowFromUntypedNode(a), c.Row(a));

    auto* first = c.Item(a, kMonday, kMonday + 1);
    auto* second = c.Item(a, kMonday, kMonday + 1);
    auto* later = c.Item(b, kMonday, kMonday + 1, 1);
    first->SetUserReference(&ref);
    second->SetUserReference(&ref);
    EXPECT_EQ(c.gant->FindChronbarObjectFromUserReference(&ref), first) << "the first of a layer ends that layer";
    later->SetUserReference(&ref);
    EXPECT_EQ(c.gant->FindChronbarObjectFromUserReference(&ref), later) << "the match found last in the walk";

    std::vector<TDateTime> hint;
    c.gant->OnHintInfo = TOnHintInfo([&](TObject*, TDateTime s, TDateTime e, TDateTime l) { hint = {s, e, l}; });
    c.gant->SetActiveDataEntity(first);
    EXPECT_EQ(hint, (std::vector<TDateTime>{kMonday, kMonday + 1, 1}));
    c.gant->SetActiveDataEntity(nullptr);
    EXPECT_EQ(hint, (std::vector<TDateTime>{0, 0, 0}));
}

// Loaded items are made, not inserted: they have their texts too.
TEST_F(GantModel, VirtuallyLoadedItemsHaveTexts)
{
    TvxDataList_GantRow* layer = c.Row(a)->GetLayer(0);
    int loads = 0;
    c.gant->OnVirtualLoad_Chronbar = TOnGantVirtualLoad([&](TvxGant_ComBasic*, TvxDataEntity*) { ++loads; });
    layer->AddUnloaded(3);
    auto* item = static_cast<TvxDataEntity_Chronbar*>(layer->GetItems(1));
    ASSERT_NE(item, nullptr);
    EXPECT_GE(loads, 1);
    ASSERT_NE(item->GetTexts(), nullptr);
    EXPECT_TRUE(static_cast<bool>(item->GetTexts()->OnStyleSet)) << "the chart chooses the fonts";
}

namespace {
bool ServeUntil(const std::function<bool()>& done)
{
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!done()) {
        if (std::chrono::steady_clock::now() > give_up) return false;
        TDoLater::DoAllNow();
        CheckSynchronize(2);
    }
    return true;
}
}  // namespace

TEST_F(GantModel, OverlappingItemsGetLanesAndRemovingTheRowIsSafe)
{
    const TDateTime h = 1.0 / 24;
    auto* i1 = c.Item(a, kMonday + 8 * h, kMonday + 10 * h);
    auto* i2 = c.Item(a, kMonday + 9 * h, kMonday + 11 * h);
    auto* i3 = c.Item(a, kMonday + 10 * h, kMonday + 12 * h);
    TGantRow* row = c.Row(a);
    row->SetCollisionDetection(true);
    ASSERT_TRUE(ServeUntil([&] { return row->GetUseSubCols() == 2 && !row->GetThread(); }));
    EXPECT_EQ(i1->GetSubCol() + i2->GetSubCol() + i3->GetSubCol(), 4) << "lanes 1, 2, 1 in some order";
    EXPECT_EQ(i1->GetSubCol(), i3->GetSubCol()) << "touching ends share a lane";

    // Removing the row frees its layers with the row let go first: content changes of row-less
    // lists ask for no lanes, and no deferred call outlives the row.
    int rowless = 0;
    c.gant->OnContentChanged_Chronbar = TOnContentChanged([&](TObject*, TvxDataList* l) {
        if (!static_cast<TvxDataList_GantRow*>(l)->GetRow()) ++rowless;
    });
    i2->DoInfoPush();
    c.tree->RemoveDataEntity(a);
    EXPECT_EQ(rowless, 3);
    TDoLater::DoAllNow();
    EXPECT_TRUE(ServeUntil([] { return TTimeDistinctGenericThread::ThreadCount() == 0; }));
    c.gant->OnContentChanged_Chronbar = {};
}
