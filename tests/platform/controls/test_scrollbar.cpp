// The scroll bar control: range and page rules, user actions through OnScroll, and the edit box
// passing keys to its events first.
#include <vxplan/platform/controls/vxEdit.h>
#include <vxplan/platform/controls/vxScrollBar.h>
#include <vxplan/platform/core/vxExceptions.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <vector>

using namespace vxplan;

TEST(ScrollBar, PositionStaysInsideTheRangeLessThePage)
{
    TScrollBar bar;
    EXPECT_EQ(bar.GetKind(), TScrollBarKind::sbHorizontal);
    int changes = 0;
    bar.OnChange = [&](TObject*) { ++changes; };
    bar.SetParams(50, 0, 99);
    bar.SetPageSize(10);
    EXPECT_EQ(bar.MaxPosition(), 90);
    bar.SetPosition(200);
    EXPECT_EQ(bar.GetPosition(), 90);
    EXPECT_EQ(bar.Widget()->maximum(), 90);
    EXPECT_EQ(bar.Widget()->pageStep(), 10);
    bar.SetPosition(-5);
    EXPECT_EQ(bar.GetPosition(), 0);
    EXPECT_EQ(changes, 3);
    // Bad ranges are refused and nothing changes.
    EXPECT_THROW(bar.SetParams(0, 10, 5), EInvalidArgument);
    EXPECT_THROW(bar.SetPageSize(101), EInvalidArgument);
    EXPECT_THROW(bar.SetSmallChange(0), EInvalidArgument);
    EXPECT_EQ(bar.GetMax(), 99);
    EXPECT_EQ(bar.GetPageSize(), 10);
    // Turning the bar turns its shape.
    bar.SetBounds(0, 0, 100, 16);
    bar.SetKind(TScrollBarKind::sbVertical);
    EXPECT_EQ(bar.GetWidth(), 16);
    EXPECT_EQ(bar.GetHeight(), 100);
    EXPECT_EQ(bar.Widget()->orientation(), Qt::Vertical);
}

TEST(ScrollBar, UserActionsRaiseOnScrollWhichMaySettleThePosition)
{
    TScrollBar bar;
    bar.SetParams(0, 0, 100);
    bar.SetLargeChange(20);
    bar.SetSmallChange(5);
    std::vector<TScrollCode> codes;
    bar.OnScroll = [&](TObject*, TScrollCode code, int& pos) {
        codes.push_back(code);
        if (pos > 60) pos = 60;  // a handler that stops the thumb
    };
    bar.Widget()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(bar.GetPosition(), 5);
    bar.Widget()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(bar.GetPosition(), 25);
    bar.Widget()->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(bar.GetPosition(), 60);
    EXPECT_EQ(bar.Widget()->value(), 60);
    bar.Scroll(TScrollCode::scTop);
    EXPECT_EQ(bar.GetPosition(), 0);
    EXPECT_EQ(codes, (std::vector<TScrollCode>{TScrollCode::scLineDown, TScrollCode::scPageDown, TScrollCode::scBottom,
                                               TScrollCode::scTop}));
}

TEST(Edit, KeysReachTheEventsFirstAndTextFollowsTheBox)
{
    TEdit edit;
    int changes = 0;
    edit.OnChange = [&](TObject*) { ++changes; };
    edit.SetEditText("abc");
    EXPECT_EQ(edit.Widget()->text(), QString("abc"));
    EXPECT_EQ(edit.GetText(), "abc");
    std::vector<uint16_t> keys;
    edit.OnKeyDown = [&](TObject*, uint16_t& key, TShiftState) {
        keys.push_back(key);
        if (key == VK_RETURN) key = 0;
    };
    edit.OnKeyPress = [&](TObject*, char32_t& ch) {
        if (ch == 'x') ch = 0;  // swallowed
    };
    edit.Widget()->setCursorPosition(3);
    QKeyEvent d(QEvent::KeyPress, Qt::Key_D, Qt::NoModifier, "d");
    QCoreApplication::sendEvent(edit.Widget(), &d);
    QKeyEvent x(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
    QCoreApplication::sendEvent(edit.Widget(), &x);
    QKeyEvent ret(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(edit.Widget(), &ret);
    EXPECT_EQ(edit.GetEditText(), "abcd");
    EXPECT_EQ(edit.GetText(), "abcd");
    EXPECT_EQ(keys, (std::vector<uint16_t>{'D', 'X', VK_RETURN}));
    EXPECT_EQ(changes, 2);
    edit.SetMaxLength(2);
    edit.SetEditText("long");
    EXPECT_EQ(edit.GetEditText(), "lo");
    EXPECT_THROW(edit.SetMaxLength(-1), EInvalidArgument);
}
