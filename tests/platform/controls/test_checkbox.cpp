// The check box: the order of states on a click or Space, the grayed state's rule, OnClick for
// every change, and the caption.
#include "test_editors_support.h"

#include <vxplan/platform/controls/vxCheckBox.h>
#include <vxplan/platform/core/vxExceptions.h>

#include "support/vxTestSupport.h"

#include <QCheckBox>

#include <gtest/gtest.h>

using namespace vxplan;
using namespace vxplan::test;

namespace {

void ClickBox(TCheckBox& box)
{
    QWidget* w = box.Widget();
    SendMouse(w, QEvent::MouseButtonPress, 6, w->height() / 2, Qt::LeftButton, Qt::LeftButton);
    SendMouse(w, QEvent::MouseButtonRelease, 6, w->height() / 2, Qt::LeftButton, Qt::NoButton);
}

}  // namespace

TEST(CheckBoxInput, ClickAndSpaceMoveTheStateOnAndRaiseOnClick)
{
    TCheckBox box;
    box.SetCaption("&Print");
    EXPECT_EQ(box.Widget()->text(), QString("&Print"));
    int clicks = 0;
    box.OnClick = [&](TObject*) { ++clicks; };
    ClickBox(box);
    EXPECT_TRUE(box.GetChecked());
    EXPECT_EQ(box.Widget()->checkState(), Qt::Checked);
    Key(box.Widget(), Qt::Key_Space, " ");
    EXPECT_EQ(box.GetState(), TCheckBoxState::cbUnchecked);
    EXPECT_EQ(clicks, 2);

    // With AllowGrayed the grayed state comes between unchecked and checked.
    box.SetAllowGrayed(true);
    std::vector<TCheckBoxState> states;
    box.OnClick = [&](TObject*) { states.push_back(box.GetState()); };
    for (int i = 0; i < 3; ++i) ClickBox(box);
    EXPECT_EQ(states, (std::vector<TCheckBoxState>{TCheckBoxState::cbGrayed, TCheckBoxState::cbChecked,
                                                   TCheckBoxState::cbUnchecked}));
}

TEST(CheckBoxState, GrayedNeedsAllowGrayedAndProgramChangesRaiseOnClick)
{
    TCheckBox box;
    int clicks = 0;
    box.OnClick = [&](TObject*) { ++clicks; };
    EXPECT_EQ(ErrorText<EInvalidArgument>([&] { box.SetState(TCheckBoxState::cbGrayed); }),
              "A check box is grayed only while AllowGrayed is on");
    EXPECT_EQ(ErrorText<EInvalidArgument>([&] { box.SetState(static_cast<TCheckBoxState>(7)); }),
              "A check box state is cbUnchecked, cbChecked or cbGrayed, not 7");
    EXPECT_EQ(box.GetState(), TCheckBoxState::cbUnchecked);
    EXPECT_EQ(clicks, 0);

    box.SetChecked(true);
    box.SetChecked(true);  // no change, no click
    EXPECT_EQ(clicks, 1);
    box.SetAllowGrayed(true);
    box.SetState(TCheckBoxState::cbGrayed);
    EXPECT_EQ(box.Widget()->checkState(), Qt::PartiallyChecked);
    EXPECT_FALSE(box.GetChecked());
    // Without AllowGrayed a grayed box stays so until the next click checks it.
    box.SetAllowGrayed(false);
    EXPECT_EQ(box.GetState(), TCheckBoxState::cbGrayed);
    ClickBox(box);
    EXPECT_EQ(box.GetState(), TCheckBoxState::cbChecked);
    EXPECT_EQ(clicks, 3);
    // The host setting the Qt box directly is followed too.
    box.Widget()->setCheckState(Qt::Unchecked);
    EXPECT_EQ(box.GetState(), TCheckBoxState::cbUnchecked);
    EXPECT_EQ(clicks, 4);
}

TEST(CheckBoxState, AClickHandlerThatThrowsLeavesStateAndBoxAgreeing)
{
    TCheckBox box;
    box.OnClick = [](TObject*) { throw std::runtime_error("host failed"); };
    EXPECT_THROW(box.SetChecked(true), std::runtime_error);
    EXPECT_TRUE(box.GetChecked());
    EXPECT_EQ(box.Widget()->checkState(), Qt::Checked);
    box.OnClick = nullptr;
    ClickBox(box);
    EXPECT_FALSE(box.GetChecked());
    EXPECT_EQ(box.Widget()->checkState(), Qt::Unchecked);
}
