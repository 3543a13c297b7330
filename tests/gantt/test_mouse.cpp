// The Gantt area's mouse, driven with injected input: which press starts which operation, the
// selection, move, copy, grow and dependency drags and what their release changes, the events
// in their order, the outline left on the screen, scrolling near the edges, and handlers that
// delete or raise midway.
#include "vxGantFixture.h"

#include "support/vxTestSupport.h"

#include <vxplan/dataentity/vxDoLater.h>
#include <vxplan/paint/vxGraphHintWindow.h>
#include <vxplan/platform/controls/vxPanel.h>
#include <vxplan/platform/time/vxTimer.h>

#include <QApplication>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

using namespace vxplan;
using vxplan::test::GantChart;
using vxplan::test::kMonday;
using vxplan::test::SendMouse;

namespace {

using Mode = TGantMouseMoveMode;

// Six rows of 20 pixels; 50 pixels a day from Monday on.
struct MouseChart : GantChart {
    std::vector<TvxDataEntity_Tree*> n;
    std::vector<std::string> log;

    MouseChart()
    {
        for (int i = 0; i < 6; ++i) n.push_back(Node(nullptr, "N" + std::to_string(i)));
        gant->SetGantBackColor(0xD0D0D0);
        gant->SetGantPyjamasColor(0xD0D0D0);
        gant->SetDrawLongLines(false);
        Pass();
    }
    TvxDataEntity_Chronbar* Bar(int row, double from, double to)
    {
        auto* item = Item(n[static_cast<size_t>(row)], kMonday + from, kMonday + to);
        item->SetColor(0x3080F0);
        return item;
    }
    QWidget* W() { return ga; }
    void Press(int x, int y, Qt::KeyboardModifiers mods = Qt::NoModifier, Qt::MouseButton b = Qt::LeftButton)
    {
        SendMouse(W(), QEvent::MouseButtonPress, x, y, b, b, mods);
    }
    void Move(int x, int y, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        SendMouse(W(), QEvent::MouseMove, x, y, Qt::NoButton, Qt::LeftButton, mods);
    }
    void Release(int x, int y, Qt::KeyboardModifiers mods = Qt::NoModifier, Qt::MouseButton b = Qt::LeftButton)
    {
        SendMouse(W(), QEvent::MouseButtonRelease, x, y, b, Qt::NoButton, mods);
    }
    void Drag(int x0, int y0, int x1, int y1, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        Press(x0, y0, mods);
        Move((x0 + x1) / 2, (y0 + y1) / 2, mods);
        Move(x1, y1, mods);
        Release(x1, y1, mods);
    }
    void Escape()
    {
        QKeyEvent e(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(W(), &e);
    }
    // What the area shows now, outlines included.
    QImage Shown() { return ga->GrabImage(); }
    // What the area shows after every pending paint and deferred call has run.
    QImage Settled()
    {
        ga->GrabImage();
        QCoreApplication::processEvents();
        TDoLater::DoAllNow();
        return ga->GrabImage();
    }
    TDateTime Day(double d) const { return kMonday + d; }
};

int DiffPixels(const QImage& a, const QImage& b)
{
    int n = 0;
    for (int y = 0; y < std::min(a.height(), b.height()); ++y)
        for (int x = 0; x < std::min(a.width(), b.width()); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) ++n;
    return n;
}

}  // namespace

TEST(GantMouse, APressPicksTheOperationByZoneKeysAndFlags)
{
    MouseChart c;
    auto* bar = c.Bar(0, 2, 4);  // pixels 100..200, row band 0..20
    ASSERT_EQ(c.ItemRect(bar), TRect(100, 1, 200, 19));
    auto modeOfPress = [&](int x, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        c.Press(x, 10, mods);
        const Mode mode = c.gant->GetMouseMoveMode();
        c.Release(x, 10, mods);
        return mode;
    };
    EXPECT_EQ(modeOfPress(101), Mode::mmGrowLeft) << "2 pixels inside the left end";
    EXPECT_EQ(modeOfPress(103), Mode::mmMove) << "3 pixels inside";
    EXPECT_EQ(modeOfPress(197), Mode::mmGrowRight);
    EXPECT_EQ(modeOfPress(196), Mode::mmMove);
    EXPECT_EQ(modeOfPress(150, Qt::ControlModifier), Mode::mmCopy);
    EXPECT_EQ(modeOfPress(50), Mode::mmNone) << "no item";

    bar->SetFixedPixelWidth(100);
    EXPECT_EQ(modeOfPress(101), Mode::mmMove) << "a fixed-width item does not grow";
    bar->SetFixedPixelWidth(0);
    bar->SetCanEdit(false);
    EXPECT_EQ(modeOfPress(101), Mode::mmNone);
    EXPECT_EQ(modeOfPress(150), Mode::mmNone);
    c.gant->StickyMode = TGantStickyMode::smDependency;
    EXPECT_EQ(modeOfPress(150), Mode::mmDependency) << "a link may start from an item that cannot be edited";
    EXPECT_EQ(c.gant->StickyMode, TGantStickyMode::smNone) << "every press resets it";

    // A double click reports the item and starts no move.
    bar->SetCanEdit(true);
    TvxDataEntity_Chronbar* doubleClicked = nullptr;
    c.gant->OnDblClickGantArea = TOnDblClickGantArea([&](TvxGant_ComBasic*, TvxDataEntity_Chronbar* e) { doubleClicked = e; });
    c.Press(150, 10);
    c.Release(150, 10);
    SendMouse(c.W(), QEvent::MouseButtonDblClick, 150, 10, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(doubleClicked, bar);
    EXPECT_EQ(c.gant->GetMouseMoveMode(), Mode::mmNone);
    c.Release(150, 10);
}

TEST(GantMouse, EventsComeInTheirOrder)
{
    MouseChart c;
    auto* bar = c.Bar(1, 2, 4);
    auto& log = c.log;
    TvxGant_ComBasic* g = c.gant.get();
    g->OnSelectionChanged_Chronbar = TOnSelectionChanged([&](TObject*, TvxDataList*, TvxDataEntity* e) {
        log.push_back(std::string("selection ") + (static_cast<TvxDataEntity_Chronbar*>(e)->GetSelected() ? "on" : "off"));
    });
    g->OnClickGantArea = TOnClickGantArea([&](TvxGant_ComBasic*, TvxDataEntity_Chronbar* e) {
        log.push_back(e == bar ? "click bar" : "click none");
    });
    g->OnRightClickGantArea = TOnClickGantArea([&](TvxGant_ComBasic*, TvxDataEntity_Chronbar*) { log.push_back("right click"); });
    g->OnHintInfo = TOnHintInfo([&](TObject* o, TDateTime s, TDateTime e, TDateTime) {
        log.push_back(o ? "hint item" : s == 0 && e == 0 ? "hint none" : "hint outline");
    });
    g->OnGantAreaMouseDown = TMouseEvent([&](TObject*, TMouseButton, TShiftState, int, int) { log.push_back("down"); });
    g->OnGantAreaMouseMove = TMouseMoveEvent([&](TObject*, TShiftState, int, int) { log.push_back("move"); });
    g->OnGantAreaMouseUp = TMouseEvent([&](TObject*, TMouseButton, TShiftState, int, int) { log.push_back("up"); });

    c.Press(150, 30);
    c.Move(200, 30);
    c.Release(200, 30);
    EXPECT_EQ(log, (std::vector<std::string>{"selection on", "click bar", "hint item", "down", "hint outline", "move",
                                             "hint item", "up"}));
    log.clear();
    c.Move(300, 100);
    EXPECT_EQ(log, (std::vector<std::string>{"hint none", "move"}));
    log.clear();
    c.Press(300, 100, Qt::NoModifier, Qt::RightButton);
    c.Release(300, 100, Qt::NoModifier, Qt::RightButton);
    EXPECT_EQ(log, (std::vector<std::string>{"selection off", "click none", "right click", "hint none", "down",
                                             "hint none", "up"}));
    EXPECT_EQ(bar->GetStartDateTime(), c.Day(3)) << "the drag moved it a day";
}

TEST(GantMouse, SelectionFollowsClicksAndADragMovesEverySelectedBar)
{
    MouseChart c;
    auto* a = c.Bar(0, 1, 2);
    auto* b = c.Bar(2, 3, 4);
    auto* d = c.Bar(4, 5, 6);
    c.Press(75, 10);
    c.Release(75, 10);
    c.Press(175, 50, Qt::ShiftModifier);
    c.Release(175, 50, Qt::ShiftModifier);
    c.Press(275, 90, Qt::ControlModifier);
    c.Release(275, 90, Qt::ControlModifier);
    EXPECT_TRUE(a->GetSelected() && b->GetSelected() && d->GetSelected());

    // Pressing the middle one keeps all three for the drag; all move by the same time.
    c.Drag(175, 50, 275, 50);
    EXPECT_EQ(a->GetStartDateTime(), c.Day(3));
    EXPECT_EQ(b->GetStartDateTime(), c.Day(5));
    EXPECT_EQ(d->GetStopDateTime(), c.Day(8));
    EXPECT_TRUE(a->GetSelected() && b->GetSelected() && d->GetSelected()) << "a drag keeps the selection";

    // A click without moving leaves the pressed bar alone selected.
    c.Press(275, 50);
    c.Release(275, 50);
    EXPECT_TRUE(b->GetSelected());
    EXPECT_FALSE(a->GetSelected() || d->GetSelected());
    // Shift on a selected bar and no move unselects it.
    c.Press(275, 50, Qt::ShiftModifier);
    c.Release(275, 50, Qt::ShiftModifier);
    EXPECT_FALSE(b->GetSelected());
    // A press on nothing clears everything.
    a->SetSelected(true);
    c.Press(20, 110);
    c.Release(20, 110);
    EXPECT_FALSE(a->GetSelected());
}

TEST(GantMouse, MovingToAnotherRowIsTheHandlersWorkUnlessTimesMoveToo)
{
    MouseChart c;
    auto* bar = c.Bar(0, 2, 4);
    struct Report {
        TGantRow* from;
        TGantRow* to;
        TDateTime start, stop;
    };
    std::vector<Report> moves;
    c.gant->OnTimeChangeRow = TOnTimeCopyOrChangeRow([&](TvxGant_ComBasic*, TvxDataEntity_Chronbar*, TGantRow* row,
                                                         TGantRow* newRow, TDateTime s, TDateTime e) {
        moves.push_back({row, newRow, s, e});
    });
    c.Drag(150, 10, 200, 50);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].from, c.Row(c.n[0]));
    EXPECT_EQ(moves[0].to, c.Row(c.n[2]));
    EXPECT_EQ(moves[0].start, c.Day(3));
    EXPECT_EQ(moves[0].stop, c.Day(5));
    EXPECT_EQ(bar->GetStartDateTime(), c.Day(2)) << "times stay unless MoveInTimeWhenMoveRow";
    EXPECT_EQ(bar->GetRow(), c.Row(c.n[0]));

    c.gant->SetMoveInTimeWhenMoveRow(true);
    c.Drag(150, 10, 200, 50);
    EXPECT_EQ(bar->GetStartDateTime(), c.Day(3));
    EXPECT_EQ(moves.size(), 2u);

    // Gated rows: no change of time, then no change of row.
    TGantRow* row0 = c.Row(c.n[0]);
    row0->SetTimeItems_CanMove(false);
    c.Drag(175, 10, 275, 10);
    EXPECT_EQ(bar->GetStartDateTime(), c.Day(3));
    row0->SetTimeItems_CanMove(true);
    row0->SetTimeItems_CanChangeRow(false);
    c.Drag(175, 10, 225, 90);
    EXPECT_EQ(bar->GetStartDateTime(), c.Day(4));
    EXPECT_EQ(moves.size(), 2u) << "the row stays";

    // A copy is reported, nothing else changes.
    std::vector<Report> copies;
    c.gant->OnTimeCopy = TOnTimeCopyOrChangeRow([&](TvxGant_ComBasic*, TvxDataEntity_Chronbar*, TGantRow* row,
                                                    TGantRow* newRow, TDateTime s, TDateTime e) {
        copies.push_back({row, newRow, s, e});
    });
    c.Drag(225, 10, 325, 10, Qt::ControlModifier);
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies[0].start, c.Day(6));
    EXPECT_EQ(bar->GetStartDateTime(), c.Day(4));
}

TEST(GantMouse, GrowingMovesOneEndSnappedAndNeverPastTheOther)
{
    MouseChart c;
    // 10:07 to 3 days later: off the snap grid on purpose.
    const TDateTime start = c.Day(2) + 10.0 / 24 + 7.0 / 1440;
    auto* bar = c.Item(c.n[0], start, c.Day(5));
    const TRect r = c.ItemRect(bar);
    c.Drag(r.Right - 1, 10, r.Right + 49, 10);
    EXPECT_EQ(bar->GetStartDateTime(), start) << "the left end stays where it was";
    EXPECT_NEAR(bar->GetStopDateTime(), c.Day(6), 30.0 / 1440) << "the right end went a day further, snapped";
    const TDateTime stop = bar->GetStopDateTime();

    // Dragging the right end far left of the start gives a zero length.
    c.Drag(c.ItemRect(bar).Right - 1, 10, 20, 10);
    EXPECT_EQ(bar->GetStopDateTime(), start);
    EXPECT_EQ(bar->GetStartDateTime(), start);
    bar->SetStartStop(start, stop);

    // A click in a grow zone changes nothing; nor does a grow in a row that may not resize.
    c.Press(c.ItemRect(bar).Left + 1, 10);
    c.Release(c.ItemRect(bar).Left + 1, 10);
    EXPECT_EQ(bar->GetStartDateTime(), start);
    EXPECT_EQ(bar->GetStopDateTime(), stop);
    c.Row(c.n[0])->SetTimeItems_CanResize(false);
    c.Drag(c.ItemRect(bar).Left + 1, 10, c.ItemRect(bar).Left - 60, 10);
    EXPECT_EQ(bar->GetStartDateTime(), start);
    c.Row(c.n[0])->SetTimeItems_CanResize(true);
    // The left end grows to the left, snapped to the start grid.
    c.Drag(c.ItemRect(bar).Left + 1, 10, c.ItemRect(bar).Left - 49, 10);
    EXPECT_NEAR(bar->GetStartDateTime(), start - 1, 30.0 / 1440);
    EXPECT_EQ(bar->GetStopDateTime(), stop);
}

TEST(GantMouse, AMoveOfMoreThanTwelveHoursBecomesWholeDaysWhenAsked)
{
    MouseChart c;
    auto* bar = c.Bar(0, 2, 3);
    c.gant->SetMoveOver12Then24(true);
    c.Drag(125, 10, 157, 10);  // 32 pixels: 15.36 hours
    EXPECT_EQ(bar->GetStartDateTime(), c.Day(3));
    EXPECT_EQ(bar->GetStopDateTime(), c.Day(4));
    c.gant->SetMoveOver12Then24(false);
    c.Drag(175, 10, 207, 10);
    EXPECT_GT(bar->GetStartDateTime(), c.Day(3.5));
    EXPECT_LT(bar->GetStartDateTime(), c.Day(4));
}

TEST(GantMouse, ADependencyDragReportsBothItemsAndStopsTheAxis)
{
    MouseChart c;
    auto* from = c.Bar(0, 1, 2);
    auto* to = c.Bar(2, 4, 5);
    std::vector<std::pair<TvxDataEntity_Chronbar*, TvxDataEntity_Chronbar*>> links;
    c.gant->OnDependencyAction = TOnDependencyAction([&](TvxDataEntity_Chronbar* a, TvxDataEntity_Chronbar* b) {
        links.emplace_back(a, b);
        TvxDataEntity_Link* link = c.gant->AddLink();
        link->SetFromItem(a);
        link->SetToItem(b);
    });
    c.gant->StickyMode = TGantStickyMode::smDependency;
    c.Press(75, 10);
    c.Move(-10, 30);
    EXPECT_TRUE(c.scaler->IsStepping()) << "beyond the left edge the axis steps";
    c.Move(225, 50);
    EXPECT_FALSE(c.scaler->IsStepping());
    c.Move(-10, 30);
    c.Release(225, 50);
    EXPECT_FALSE(c.scaler->IsStepping()) << "the release stops the stepping";
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links[0].first, from);
    EXPECT_EQ(links[0].second, to);
    EXPECT_EQ(c.gant->GetLinks()->Count(), 1);

    // Released over nothing: nothing.
    c.gant->StickyMode = TGantStickyMode::smDependency;
    c.Drag(75, 10, 400, 110);
    EXPECT_EQ(links.size(), 1u);
}

TEST(GantMouse, TheOutlineFollowsTheMouseAndLeavesNoTrace)
{
    MouseChart c;
    auto* a = c.Bar(0, 2, 4);
    auto* b = c.Bar(2, 2, 3);
    a->SetSelected(true);
    b->SetSelected(true);
    const QImage before = c.Settled();
    c.Press(150, 10);
    const QImage pressed = c.Settled();
    c.Move(180, 10);
    const QImage moved = c.Shown();
    // Both outlines at 30 pixels right: the dotted frame inverts pixels along its edges.
    EXPECT_GT(DiffPixels(pressed, moved), 100);
    EXPECT_NE(moved.pixel(130, 1), pressed.pixel(130, 1)) << "a's outline, top-left corner";
    EXPECT_NE(moved.pixel(130, 41), pressed.pixel(130, 41)) << "b's outline";
    EXPECT_EQ(moved.pixel(300, 10), pressed.pixel(300, 10));

    // The next move erases the last outline before drawing the new one.
    c.Move(200, 10);
    const QImage again = c.Shown();
    EXPECT_EQ(again.pixel(130, 1), pressed.pixel(130, 1));
    EXPECT_NE(again.pixel(150, 1), pressed.pixel(150, 1));

    // A repaint wipes the outline; it comes back at the mouse, once, and erases cleanly.
    c.ga->Invalidate();
    const QImage repainted = c.Settled();
    EXPECT_EQ(DiffPixels(repainted, again), 0);
    c.Move(100, 10);

    // Escape drops the drag: no outline, no change.
    c.Escape();
    EXPECT_EQ(c.gant->GetMouseMoveMode(), Mode::mmNone);
    EXPECT_EQ(DiffPixels(c.Settled(), pressed), 0);
    c.Release(100, 10);
    EXPECT_EQ(a->GetStartDateTime(), c.Day(2));

    // After a release the picture is the model's only.
    c.Drag(150, 10, 200, 10);
    EXPECT_EQ(a->GetStartDateTime(), c.Day(3));
    c.gant->RePaint();
    const QImage fresh = c.ga->GrabImage();
    EXPECT_EQ(DiffPixels(c.Settled(), fresh), 0);
    (void)before;
}

TEST(GantMouse, GrowAndLinkOutlinesEraseToo)
{
    MouseChart c;
    c.Bar(0, 2, 4);
    c.Bar(2, 5, 6);
    c.Press(199, 10);
    const QImage rest = c.Settled();
    c.Move(260, 10);
    EXPECT_GT(DiffPixels(c.Shown(), rest), 50);
    c.Move(240, 10);
    c.Escape();
    c.Release(240, 10);
    EXPECT_EQ(DiffPixels(c.Settled(), rest), 0);

    c.gant->StickyMode = TGantStickyMode::smDependency;
    c.Press(150, 10);
    const QImage pressed = c.Settled();
    c.Move(275, 50);
    EXPECT_GT(DiffPixels(c.Shown(), pressed), 50) << "the rubber band";
    c.Move(260, 60);
    c.Release(400, 110);
    EXPECT_EQ(DiffPixels(c.Settled(), pressed), 0);
}

TEST(GantMouse, AutoScrollGoesOnlyWhereAllowed)
{
    MouseChart c;
    for (int i = 0; i < 40; ++i) c.Node(nullptr, "more");
    auto* bar = c.Bar(1, 2, 4);
    TTimer* timer = c.gant->GetAutoScrollTimer();
    const int h = c.ga->GetHeight();

    c.gant->SetTimeItemAutoScroll(TTimeItemAutoScroll::ttiaHorz);
    c.Press(150, 30);
    c.Move(150, h - 2);
    EXPECT_FALSE(timer->GetEnabled()) << "no vertical scrolling";
    c.Move(-5, 30);
    EXPECT_TRUE(c.scaler->IsStepping());
    c.Release(-5, 30);
    EXPECT_FALSE(c.scaler->IsStepping());

    c.gant->SetTimeItemAutoScroll(TTimeItemAutoScroll::ttiaVert);
    bar->SetStartStop(c.Day(2), c.Day(4));
    TvxDataEntity_Tree* top = c.tree->GetTopItem();
    c.Press(150, 30);
    c.Move(c.ga->GetWidth() + 5, h - 2);
    EXPECT_FALSE(c.scaler->IsStepping()) << "no horizontal stepping";
    EXPECT_TRUE(timer->GetEnabled());
    c.clock.Clock().Advance(50);
    EXPECT_NE(c.tree->GetTopItem(), top) << "one step down on the timer";
    c.Move(150, 100);
    EXPECT_FALSE(timer->GetEnabled());
    c.Move(150, 2);
    EXPECT_TRUE(timer->GetEnabled());
    c.Release(150, 2);
    EXPECT_FALSE(timer->GetEnabled());
}

TEST(GantMouse, TheHintShowsTheTimesOfAnItemOrOfTheOutline)
{
    MouseChart c;
    auto* bar = c.Bar(0, 2, 4.5);
    TGraphHintWindow* hint = c.gant->GetHintWindow();
    ASSERT_NE(hint, nullptr);
    c.gant->HintWantsNewText(hint, bar);
    EXPECT_EQ(hint->GetCaption(), "251217 00:00:00\r251219 12:00:00\r000101 12:00:00");
    c.gant->HintWantsNewText(hint, c.gant.get());
    EXPECT_EQ(hint->GetCaption(), "");

    std::vector<TDateTime> reported;
    c.gant->OnHintInfo = TOnHintInfo([&](TObject* o, TDateTime s, TDateTime e, TDateTime len) {
        if (!o) reported = {s, e, len};
    });
    c.Press(150, 10);
    c.Move(200, 10);
    ASSERT_EQ(reported.size(), 3u);
    EXPECT_EQ(reported[0], c.Day(3));
    EXPECT_NEAR(reported[1], c.Day(5.5), 30.0 / 1440);
    EXPECT_TRUE(hint->GetVisible());
    c.Release(200, 10);
    EXPECT_FALSE(hint->GetVisible());
}

TEST(GantMouse, HandlersThatDeleteItemsMidwayLeaveTheModelWhole)
{
    MouseChart c;
    auto* a = c.Bar(0, 1, 2);
    auto* b = c.Bar(1, 3, 4);
    auto* d = c.Bar(2, 5, 6);
    a->SetSelected(true);
    b->SetSelected(true);
    d->SetSelected(true);

    // The pressed item goes in the click handler: no drag begins.
    c.gant->OnClickGantArea = TOnClickGantArea([&](TvxGant_ComBasic*, TvxDataEntity_Chronbar* e) {
        if (e == a) c.gant->RemoveChronbar(e);
    });
    c.Press(75, 10);
    EXPECT_EQ(c.gant->GetMouseMoveMode(), Mode::mmNone);
    c.Move(125, 10);
    c.Release(125, 10);
    c.gant->OnClickGantArea = {};
    ASSERT_EQ(c.Row(c.n[0])->GetLayer(0)->Count(), 0);

    // An item of the drag goes while the mouse moves; the release moves the rest.
    b->SetSelected(true);
    d->SetSelected(true);
    bool removed = false;
    c.gant->OnHintInfo = TOnHintInfo([&](TObject* o, TDateTime, TDateTime, TDateTime) {
        if (!o && !removed) {
            removed = true;
            c.gant->RemoveChronbar(d);
        }
    });
    c.Press(175, 30);
    c.Move(225, 30);
    c.Release(225, 30);
    EXPECT_EQ(b->GetStartDateTime(), c.Day(4));
    EXPECT_EQ(c.Row(c.n[2])->GetLayer(0)->Count(), 0);
    c.gant->OnHintInfo = {};

    // The row handler deletes an item of a later record.
    auto* e = c.Bar(3, 3, 4);
    auto* f = c.Bar(4, 3, 4);
    b->SetSelected(true);
    e->SetSelected(true);
    f->SetSelected(true);
    c.gant->OnTimeChangeRow = TOnTimeCopyOrChangeRow(
        [&](TvxGant_ComBasic*, TvxDataEntity_Chronbar* item, TGantRow*, TGantRow*, TDateTime, TDateTime) {
            if (item == b) c.gant->RemoveChronbar(f);
        });
    c.Press(225, 30);
    c.Move(225, 50);
    c.Release(225, 50);
    EXPECT_EQ(c.Row(c.n[4])->GetLayer(0)->Count(), 0);
    EXPECT_EQ(e->GetRow(), c.Row(c.n[3]));
}

TEST(GantMouse, HiddenItemsKeepTheirRowAndBadReleasesChangeNothingWrong)
{
    MouseChart c;
    auto* shown = c.Bar(0, 1, 2);
    auto* hidden = c.Bar(1, 3, 4);
    shown->SetSelected(true);
    hidden->SetSelected(true);
    hidden->SetVisible(false);
    c.gant->SetMoveInTimeWhenMoveRow(true);
    std::vector<TvxDataEntity_Chronbar*> rowChanges;
    c.gant->OnTimeChangeRow = TOnTimeCopyOrChangeRow(
        [&](TvxGant_ComBasic*, TvxDataEntity_Chronbar* item, TGantRow*, TGantRow*, TDateTime, TDateTime) {
            rowChanges.push_back(item);
        });
    c.Drag(75, 10, 125, 30);
    EXPECT_EQ(rowChanges, std::vector<TvxDataEntity_Chronbar*>{shown}) << "the hidden one stays in its row";
    EXPECT_EQ(hidden->GetStartDateTime(), c.Day(4)) << "but moves in time with the others";

    // A release far outside the window, after a move beyond the calendar's reach.
    c.Press(125, 10);
    c.Move(-30000, -30000);
    c.Release(-30000, 30000);
    EXPECT_EQ(c.gant->GetMouseMoveMode(), Mode::mmNone);
    EXPECT_FALSE(c.gant->GetAutoScrollTimer()->GetEnabled());
    EXPECT_FALSE(c.scaler->IsStepping());
    EXPECT_LE(shown->GetStartDateTime(), shown->GetStopDateTime());

    // A handler that raises on release: the error reaches the caller, the drag is over.
    c.gant->OnTimeChangeRow = TOnTimeCopyOrChangeRow(
        [&](TvxGant_ComBasic*, TvxDataEntity_Chronbar*, TGantRow*, TGantRow*, TDateTime, TDateTime) {
            throw std::runtime_error("refused");
        });
    c.Press(c.ItemRect(shown).Left + 10, 10);
    c.Move(c.ItemRect(shown).Left + 10, 70);
    EXPECT_THROW(c.gant->GantAreaMouseUp(c.ga, TMouseButton::mbLeft, TShiftState(), c.ItemRect(shown).Left + 10, 70),
                 std::runtime_error);
    EXPECT_EQ(c.gant->GetMouseMoveMode(), Mode::mmNone);
    EXPECT_TRUE(c.gant->GetMoveSnapShot().empty());
    EXPECT_EQ(DiffPixels(c.Settled(), (c.gant->RePaint(), c.ga->GrabImage())), 0);
}

TEST(GantMouse, AMoveLeavingTheAreaBecomesAPlatformDragAnotherControlTakes)
{
    using vxplan::test::WindowMouse;
    TPanel form;  // outlives the chart placed on it
    MouseChart c;
    form.SetBounds(0, 0, 900, 450);
    c.gant->SetParent(&form);
    auto* target = new TPanel(&form);
    target->SetParent(&form);
    target->SetBounds(650, 10, 200, 200);
    auto* bar = c.Bar(0, 2, 4);
    c.gant->SetStartDragWhenTimeMoveOutside(true);
    std::vector<std::string>& log = c.log;
    c.gant->OnGantAreaStartDrag = TStartDragEvent([&](TObject* s, TDragObject*&) {
        log.push_back(s == c.ga ? "start from the area" : "start");
    });
    c.gant->OnGantAreaDragOver = TDragOverEvent([&](TObject*, TObject*, int, int, TDragState, bool&) { log.push_back("over the area"); });
    target->OnDragOver = TDragOverEvent([&](TObject*, TObject* src, int, int, TDragState st, bool& accept) {
        if (st == TDragState::dsDragEnter) log.push_back(src == c.ga ? "enter target from the area" : "enter target");
        accept = true;
    });
    target->OnDragDrop = TDragDropEvent([&](TObject*, TObject* src, int x, int y) {
        log.push_back("drop " + std::to_string(x) + "," + std::to_string(y) + (src == c.ga ? " from the area" : ""));
    });
    c.ga->OnEndDrag = TEndDragEvent([&](TObject*, TObject* t, int, int) { log.push_back(t == target ? "end on target" : "end"); });
    form.show();
    QApplication::processEvents();

    QWidget* area = c.ga;
    WindowMouse(area, QEvent::MouseMove, 150, 10, Qt::NoButton, Qt::NoButton);
    WindowMouse(area, QEvent::MouseButtonPress, 150, 10, Qt::LeftButton, Qt::LeftButton);
    WindowMouse(area, QEvent::MouseMove, 200, 10, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(c.gant->GetMouseMoveMode(), Mode::mmMove);
    EXPECT_TRUE(log.empty()) << "inside the area it is a move";
    // Within 25 pixels beyond the right edge it still is.
    WindowMouse(area, QEvent::MouseMove, c.ga->GetWidth() + 20, 10, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(c.gant->GetMouseMoveMode(), Mode::mmMove);
    WindowMouse(target, QEvent::MouseMove, 50, 50, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(c.gant->GetMouseMoveMode(), Mode::mmNone) << "further out the move became a drag";
    EXPECT_FALSE(c.gant->GetAutoScrollTimer()->GetEnabled());
    EXPECT_FALSE(c.scaler->IsStepping());
    WindowMouse(target, QEvent::MouseMove, 60, 60, Qt::NoButton, Qt::LeftButton);
    WindowMouse(target, QEvent::MouseButtonRelease, 60, 60, Qt::LeftButton, Qt::NoButton);
    QApplication::processEvents();
    EXPECT_EQ(log, (std::vector<std::string>{"start from the area", "enter target from the area", "drop 60,60 from the area",
                                             "end on target"}));
    EXPECT_EQ(bar->GetStartDateTime(), c.Day(2)) << "a drag to elsewhere moves nothing in the chart";
    EXPECT_EQ(DiffPixels(c.Settled(), (c.gant->RePaint(), c.ga->GrabImage())), 0) << "no outline left";

    // Over the area itself the chart refuses unless its handler accepts.
    log.clear();
    c.gant->OnGantAreaDragOver = {};
    bool accept = true;
    c.ga->DragOver(c.ga, 10, 10, TDragState::dsDragMove, accept);
    EXPECT_FALSE(accept);
}
