// Drag and drop between controls, driven headless with the window system's mouse events: how a
// drag starts, what each control under it hears and in which order, how it ends, and the Qt drop
// events of the drop side.
#include <vxplan/platform/app/vxApplication.h>
#include <vxplan/platform/controls/vxControls.h>
#include <vxplan/platform/controls/vxDragSession_p.h>
#include <vxplan/platform/core/vxExceptions.h>

#include <support/vxTestSupport.h>

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using namespace vxplan;
using vxplan::test::ErrorText;
using vxplan::test::WindowMouse;

namespace {

using TLog = std::vector<std::string>;

const char* StateName(TDragState s)
{
    switch (s) {
    case TDragState::dsDragEnter: return "enter";
    case TDragState::dsDragMove: return "move";
    case TDragState::dsDragLeave: return "leave";
    }
    return "?";
}

Qt::CursorShape OverrideShape()
{
    const QCursor* c = QGuiApplication::overrideCursor();
    return c ? c->shape() : Qt::BitmapCursor;  // no override: a shape no drag shows
}

// A form with a source and a target panel side by side, a paint box on the target, and a
// second window to the right. Each control writes what it hears into the log.
class DragScene : public ::testing::Test {
protected:
    DragScene()
    {
        form.SetBounds(0, 0, 300, 200);
        source = new TPanel(&form);
        source->SetParent(&form);
        source->SetBounds(10, 10, 80, 80);
        target = new TPanel(&form);
        target->SetParent(&form);
        target->SetBounds(150, 10, 120, 120);
        box = new TPaintBox(target);
        box->SetParent(target);
        box->SetBounds(60, 60, 40, 40);
        other.SetBounds(400, 0, 100, 100);
        Watch(&form, "F", false);
        Watch(source, "S", false);
        Watch(target, "T", true);
        Watch(box, "B", true);
        Watch(&other, "O", true);
        source->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int x, int y) {
            Write("S down " + Pos(x, y));
            if (startOnPress) source->BeginDrag(true);
        };
        source->OnMouseMove = [this](TObject*, TShiftState, int x, int y) { Write("S mouse " + Pos(x, y)); };
        source->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int x, int y) { Write("S up " + Pos(x, y)); };
        source->OnClick = [this](TObject*) { Write("S click"); };
        source->OnStartDrag = [this](TObject*, TDragObject*&) { Write("S start"); };
        source->OnEndDrag = [this](TObject*, TObject* t, int x, int y) { Write("S end " + Name(t) + " " + Pos(x, y)); };
        form.show();
        other.show();
        QApplication::processEvents();
    }
    ~DragScene() override { Application().OnException = nullptr; }

    void Watch(TControl* c, const std::string& name, bool accepting)
    {
        names[c] = name;
        accepts[name] = accepting;
        c->OnDragOver = [this, name](TObject*, TObject* src, int x, int y, TDragState st, bool& accept) {
            EXPECT_TRUE(accept) << "an assigned OnDragOver starts from Accept true";
            Write(name + " " + StateName(st) + " " + Pos(x, y) + " " + Name(src));
            accept = accepts[name];
            if (throwOn == name + " " + StateName(st)) throw EInvalidOperation("Nothing can be dropped here");
        };
        c->OnDragDrop = [this, name](TObject*, TObject* src, int x, int y) {
            Write(name + " drop " + Pos(x, y) + " " + Name(src));
        };
    }
    void Write(const std::string& line) { log.push_back(line); }
    std::string Name(const TObject* o) const
    {
        if (!o) return "null";
        auto it = names.find(o);
        return it == names.end() ? "?" : it->second;
    }
    static std::string Pos(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }
    // The log since the last call.
    TLog Take() { return std::exchange(log, {}); }

    // The window system's mouse at a client point of w (a graphic control's through its parent).
    // The pointer comes to the point first, so the press brings no move of its own.
    void Press(QWidget* w, int x, int y)
    {
        WindowMouse(w, QEvent::MouseMove, x, y, Qt::NoButton, Qt::NoButton);
        if (!log.empty() && log.back().starts_with("S mouse")) log.pop_back();
        WindowMouse(w, QEvent::MouseButtonPress, x, y, Qt::LeftButton, Qt::LeftButton);
    }
    static void Move(QWidget* w, int x, int y) { WindowMouse(w, QEvent::MouseMove, x, y, Qt::NoButton, Qt::LeftButton); }
    static void Release(QWidget* w, int x, int y) { WindowMouse(w, QEvent::MouseButtonRelease, x, y, Qt::LeftButton, Qt::NoButton); }
    void Escape()
    {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(source, &key);
    }

    TPanel form;
    TPanel other;
    TPanel* source = nullptr;
    TPanel* target = nullptr;
    TPaintBox* box = nullptr;
    bool startOnPress = true;
    std::string throwOn;  // "T move": the handler throws at that state
    std::map<const TObject*, std::string> names;
    std::map<std::string, bool> accepts;
    TLog log;
};

}  // namespace

TEST(DragPlatform, OffscreenQDragExecReturnsAtOnceSoTheSessionMovesTheDrag)
{
    TPanel p;
    p.show();
    auto* drag = new QDrag(&p);
    drag->setMimeData(new QMimeData);
    EXPECT_EQ(drag->exec(Qt::MoveAction), Qt::IgnoreAction);
    EXPECT_FALSE(TDragSession::PlatformRunsDrags());
}

TEST(DragProperties, DefaultsAndCheckedInput)
{
    TPanel p;
    EXPECT_EQ(p.GetDragMode(), TDragMode::dmManual);
    EXPECT_EQ(p.GetDragCursor(), crDrag);
    p.SetDragCursor(crHandPoint);
    EXPECT_EQ(p.GetDragCursor(), crHandPoint);
    EXPECT_EQ(ErrorText<EInvalidArgument>([&] { p.SetDragCursor(7); }), "Unknown cursor 7");
    EXPECT_EQ(p.GetDragCursor(), crHandPoint);
    EXPECT_EQ(ErrorText<EInvalidArgument>([&] { p.BeginDrag(false, -2); }),
              "Drag threshold must be -1 (the platform's) or not negative, not -2");
    EXPECT_FALSE(TDragSession::Busy());
    // Ending a drag that does not run does nothing.
    p.EndDrag(true);
    EXPECT_FALSE(p.Dragging());
}

TEST_F(DragScene, ImmediateDragEntersMovesLeavesAndDropsOnTheAcceptingControlUnderThePointer)
{
    Press(source, 5, 5);
    EXPECT_EQ(Take(), (TLog{"S down 5,5", "S start", "S enter 5,5 S"}));
    EXPECT_TRUE(source->Dragging());
    EXPECT_EQ(OverrideShape(), Qt::ForbiddenCursor) << "the source refuses";

    Move(target, 20, 30);
    Move(target, 25, 31);
    EXPECT_EQ(Take(), (TLog{"S leave 5,5 S", "T enter 20,30 S", "T move 25,31 S"})) << "the source hears no mouse moves";
    EXPECT_EQ(OverrideShape(), Qt::DragMoveCursor);

    // Onto the target's graphic child, in its own coordinates, then to another window and back.
    Move(target, 70, 75);
    Move(&other, 8, 9);
    Move(target, 71, 75);
    EXPECT_EQ(Take(), (TLog{"T leave 25,31 S", "B enter 10,15 S", "B leave 10,15 S", "O enter 8,9 S", "O leave 8,9 S",
                            "B enter 11,15 S"}));

    Release(target, 71, 75);
    EXPECT_EQ(Take(), (TLog{"B leave 11,15 S", "B drop 11,15 S", "S end B 11,15"})) << "no MouseUp for the drop";
    EXPECT_FALSE(source->Dragging());
    EXPECT_FALSE(source->GetMouseCapture());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    // The mouse is the source's again.
    startOnPress = false;
    Press(source, 3, 4);
    Release(source, 3, 4);
    EXPECT_EQ(Take(), (TLog{"S down 3,4", "S click", "S up 3,4"}));
}

TEST_F(DragScene, ThresholdStartsTheDragOnlyOnceTheMouseHasMovedFarEnough)
{
    startOnPress = false;
    source->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int x, int y) {
        Write("S down " + Pos(x, y));
        source->BeginDrag(false, 5);
    };
    Press(source, 10, 10);
    Move(source, 14, 6);
    EXPECT_FALSE(source->Dragging());
    Move(source, 10, 15);
    EXPECT_TRUE(source->Dragging());
    Move(source, 11, 15);
    Release(source, 11, 15);
    EXPECT_EQ(Take(), (TLog{"S down 10,10", "S mouse 14,6", "S start", "S enter 10,15 S", "S move 11,15 S", "S leave 11,15 S",
                            "S end null 0,0"}))
        << "moves below the threshold are the source's; the refusing source gets no drop";

    // Released before the threshold: a click, and no drag.
    Press(source, 10, 10);
    Release(source, 10, 10);
    EXPECT_EQ(Take(), (TLog{"S down 10,10", "S click", "S up 10,10"}));
    EXPECT_FALSE(TDragSession::Busy());
}

TEST_F(DragScene, DefaultThresholdIsThePlatformsStartDistance)
{
    startOnPress = false;
    const int d = QApplication::startDragDistance();
    ASSERT_GT(d, 1);
    source->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) { source->BeginDrag(false); };
    Press(source, 5, 5);
    Move(source, 5 + d - 1, 5);
    EXPECT_FALSE(source->Dragging());
    Move(source, 5 + d, 5);
    EXPECT_TRUE(source->Dragging());
    Escape();
    EXPECT_FALSE(source->Dragging());
    Release(source, 5 + d, 5);
}

TEST_F(DragScene, AutomaticDragModeStartsFromALeftPressAfterMouseDownAndKeepsClicks)
{
    startOnPress = false;
    source->SetDragMode(TDragMode::dmAutomatic);
    const int d = QApplication::startDragDistance();
    Press(source, 5, 5);
    Release(source, 5, 5);
    EXPECT_EQ(Take(), (TLog{"S down 5,5", "S click", "S up 5,5"}));

    Press(source, 5, 5);
    Move(source, 5, 5 + d);
    Move(target, 1, 2);
    Release(target, 1, 2);
    EXPECT_EQ(Take(), (TLog{"S down 5,5", "S start", "S enter " + Pos(5, 5 + d) + " S", "S leave " + Pos(5, 5 + d) + " S",
                            "T enter 1,2 S", "T leave 1,2 S", "T drop 1,2 S", "S end T 1,2"}));
}

TEST_F(DragScene, ReleaseOverARefusingControlOrOutsideEveryWindowEndsWithoutATarget)
{
    accepts["T"] = false;
    Press(source, 5, 5);
    Move(target, 20, 30);
    Take();
    Release(target, 20, 30);
    EXPECT_EQ(Take(), (TLog{"T leave 20,30 S", "S end null 0,0"}));

    Press(source, 5, 5);
    Move(target, 20, 30);
    Take();
    Release(&form, 350, 250);
    EXPECT_EQ(Take(), (TLog{"T leave 20,30 S", "S end null 0,0"}));
    EXPECT_FALSE(source->GetMouseCapture());
}

TEST_F(DragScene, EscapeAndEndDragCancelWithALeaveForTheTarget)
{
    Press(source, 5, 5);
    Move(target, 20, 30);
    Take();
    Escape();
    EXPECT_EQ(Take(), (TLog{"T leave 20,30 S", "S end null 0,0"}));
    EXPECT_FALSE(source->Dragging());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    Release(target, 20, 30);
    EXPECT_EQ(Take(), (TLog{"S up 160,30"})) << "after the drag the release is the source's again, but no click";

    Press(source, 5, 5);
    Move(target, 20, 30);
    Take();
    source->EndDrag(false);
    EXPECT_EQ(Take(), (TLog{"T leave 20,30 S", "S end null 0,0"}));
    Release(target, 20, 30);
    Take();

    // EndDrag(true) drops where the drag is, when the target there accepts.
    Press(source, 5, 5);
    Move(target, 20, 30);
    Take();
    source->EndDrag(true);
    EXPECT_EQ(Take(), (TLog{"T leave 20,30 S", "T drop 20,30 S", "S end T 20,30"}));
    Release(target, 20, 30);
}

TEST_F(DragScene, TheMouseMoveHandlerHoldingTheCaptureCanStartTheDrag)
{
    startOnPress = false;
    bool begun = false;
    source->OnMouseMove = [&](TObject*, TShiftState shift, int x, int y) {
        Write("S mouse " + Pos(x, y));
        if (!begun && shift.Contains(ssLeft) && source->GetMouseCapture()) {
            begun = true;
            source->BeginDrag(true);
            EXPECT_TRUE(source->GetMouseCapture()) << "the drag keeps the capture";
        }
    };
    Press(source, 5, 5);
    Move(source, 8, 5);
    Move(target, 20, 30);
    Release(target, 20, 30);
    EXPECT_EQ(Take(), (TLog{"S down 5,5", "S mouse 8,5", "S start", "S enter 8,5 S", "S leave 8,5 S", "T enter 20,30 S",
                            "T leave 20,30 S", "T drop 20,30 S", "S end T 20,30"}));
    EXPECT_EQ(TControl::CaptureControl(), nullptr);
}

TEST_F(DragScene, AControlDestroyedDuringTheDragIsNotTouchedAgain)
{
    // The target goes: it hears nothing more, and the drop finds no target.
    Press(source, 5, 5);
    Move(target, 70, 75);
    Take();
    delete target;
    target = nullptr;
    Move(&form, 160, 20);
    Release(&form, 160, 20);
    EXPECT_EQ(Take(), (TLog{"F enter 160,20 S", "F leave 160,20 S", "S end null 0,0"}));

    // The source goes: the target hears the drag leave with no source, and the drag is over.
    Press(source, 5, 5);
    Move(&other, 8, 9);
    Take();
    delete source;
    source = nullptr;
    EXPECT_EQ(Take(), (TLog{"O leave 8,9 null"}));
    EXPECT_FALSE(TDragSession::Busy());
    Move(&other, 9, 9);
    Release(&other, 9, 9);
    EXPECT_EQ(Take(), TLog{});
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(DragScene, AHandlerThatThrowsEndsTheDragAndTheErrorGoesToTheApplication)
{
    TLog reported;
    Application().OnException = TExceptionEvent([&](TObject*, const std::exception& e) { reported.push_back(e.what()); });
    throwOn = "T move";
    Press(source, 5, 5);
    Move(target, 20, 30);
    Move(target, 21, 30);
    EXPECT_EQ(Take(), (TLog{"S down 5,5", "S start", "S enter 5,5 S", "S leave 5,5 S", "T enter 20,30 S", "T move 21,30 S",
                            "S end null 0,0"}));
    EXPECT_EQ(reported, TLog{"Nothing can be dropped here"});
    EXPECT_FALSE(TDragSession::Busy());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    Release(target, 21, 30);
    EXPECT_EQ(Take(), (TLog{"S up 161,30"}));

    // A failing start: no drag, and so no end.
    throwOn.clear();
    source->OnStartDrag = [this](TObject*, TDragObject*&) {
        Write("S start");
        throw EInvalidOperation("Cannot drag this");
    };
    Press(source, 5, 5);
    EXPECT_EQ(Take(), (TLog{"S down 5,5", "S start"}));
    EXPECT_EQ(reported.back(), "Cannot drag this");
    EXPECT_FALSE(TDragSession::Busy());
    Release(source, 5, 5);
}

TEST_F(DragScene, ADragObjectFromStartDragIsTheSourceTargetsHear)
{
    TDragObject* given = nullptr;
    source->OnStartDrag = [&](TObject*, TDragObject*& o) {
        o = new TDragObject;
        given = o;
        names[o] = "D";
    };
    TControl* carried = nullptr;
    target->OnDragDrop = [&](TObject*, TObject* src, int, int) { carried = static_cast<TDragObject*>(src)->Control(); };
    Press(source, 5, 5);
    Move(target, 20, 30);
    Release(target, 20, 30);
    EXPECT_EQ(Take(), (TLog{"S down 5,5", "S enter 5,5 D", "S leave 5,5 D", "T enter 20,30 D", "T leave 20,30 D", "S end T 20,30"}));
    EXPECT_NE(given, nullptr);
    EXPECT_EQ(carried, source) << "the object names the source control";
}

TEST_F(DragScene, QtDropEventsOnAWidgetReachDragOverAndDragDrop)
{
    // Our running drag's data: the source is known.
    Press(source, 5, 5);
    Take();
    QMimeData ours;
    ours.setData(kDragMimeType, TDragSession::SessionData());
    // Qt gives the drop to the widget that took the last enter.
    QDragEnterEvent ourEnter(QPoint(30, 40), Qt::MoveAction | Qt::CopyAction, &ours, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &ourEnter);
    EXPECT_TRUE(ourEnter.isAccepted());
    QDropEvent drop(QPointF(30, 40), Qt::MoveAction | Qt::CopyAction, &ours, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(Take(), (TLog{"S leave 5,5 S", "T enter 30,40 S", "T leave 30,40 S", "T drop 30,40 S", "S end T 30,40"}));
    Release(source, 5, 5);
    Take();

    // Another application's data: no source, and taken only where OnDragOver accepts.
    QMimeData foreign;
    foreign.setText("row 3");
    QDragEnterEvent enter(QPoint(70, 75), Qt::CopyAction, &foreign, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    EXPECT_TRUE(enter.isAccepted());
    EXPECT_EQ(enter.dropAction(), Qt::CopyAction);
    QDragMoveEvent move(QPoint(10, 12), Qt::CopyAction, &foreign, Qt::LeftButton, Qt::NoModifier);
    accepts["T"] = false;
    QCoreApplication::sendEvent(target, &move);
    EXPECT_FALSE(move.isAccepted());
    QDropEvent refused(QPointF(10, 12), Qt::CopyAction, &foreign, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &refused);
    EXPECT_FALSE(refused.isAccepted());
    EXPECT_EQ(log.back(), "T leave 10,12 null") << "a drop without an accepting move is not made";
    EXPECT_EQ(Take(), (TLog{"B enter 10,15 null", "B leave 10,15 null", "T enter 10,12 null", "T leave 10,12 null"}));

    // Data of ours from a drag that is over names no source either; a control without
    // OnDragOver refuses it: it takes the enter, as Qt wants for the moves to come, with no action.
    QMimeData stale;
    stale.setData(kDragMimeType, "1:1");
    TPanel plain;
    QDragEnterEvent plainEnter(QPoint(1, 1), Qt::MoveAction, &stale, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&plain, &plainEnter);
    EXPECT_EQ(plainEnter.dropAction(), Qt::IgnoreAction);
    QDragMoveEvent plainMove(QPoint(2, 1), Qt::MoveAction, &stale, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&plain, &plainMove);
    EXPECT_FALSE(plainMove.isAccepted());
    QDragLeaveEvent plainLeave;
    QCoreApplication::sendEvent(&plain, &plainLeave);
    accepts["F"] = true;
    QDragEnterEvent staleEnter(QPoint(2, 3), Qt::MoveAction, &stale, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &staleEnter);
    QDropEvent staleDrop(QPointF(2, 3), Qt::MoveAction, &stale, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &staleDrop);
    EXPECT_TRUE(staleDrop.isAccepted());
    EXPECT_EQ(Take(), (TLog{"F enter 2,3 null", "F leave 2,3 null", "F drop 2,3 null"}));
}
