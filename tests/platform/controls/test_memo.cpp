// The memo: its text and line breaks, Enter and Tab by WantReturns and WantTabs, read-only and
// word wrap.
#include "test_editors_support.h"

#include <vxplan/platform/controls/vxEdit.h>
#include <vxplan/platform/controls/vxMemo.h>

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextLayout>

#include <gtest/gtest.h>

using namespace vxplan;
using namespace vxplan::test;

TEST(MemoText, LineBreaksAreStoredAsNewlinesAndTheTextFollowsTheBox)
{
    TMemo memo;
    int changes = 0;
    memo.OnChange = [&](TObject*) { ++changes; };
    memo.SetText("one\r\ntwo\rthree\n");
    EXPECT_EQ(memo.GetText(), "one\ntwo\nthree\n");
    EXPECT_EQ(memo.Widget()->toPlainText(), QString("one\ntwo\nthree\n"));
    EXPECT_EQ(memo.Widget()->blockCount(), 4);
    EXPECT_EQ(changes, 1);
    // The same text given with other line breaks changes nothing.
    memo.SetText("one\r\ntwo\r\nthree\r\n");
    EXPECT_EQ(memo.GetText(), "one\ntwo\nthree\n");
    EXPECT_EQ(changes, 1);
    // A non-breaking space survives the round trip through the box.
    memo.SetText("a\u00A0b");
    EXPECT_EQ(memo.GetText(), "a\u00A0b");

    memo.Widget()->moveCursor(QTextCursor::End);
    Key(memo.Widget(), Qt::Key_C, "c");
    Key(memo.Widget(), Qt::Key_Return, "\r");
    Key(memo.Widget(), Qt::Key_D, "d");
    EXPECT_EQ(memo.GetText(), "a\u00A0bc\nd");
    EXPECT_EQ(changes, 5);
    memo.SelectAll();
    Key(memo.Widget(), Qt::Key_Delete);
    EXPECT_EQ(memo.GetText(), "");
}

TEST(MemoText, AHandlerThatThrowsLeavesTextAndBoxAgreeing)
{
    TMemo memo;
    memo.OnChange = [](TObject*) { throw std::runtime_error("host failed"); };
    EXPECT_THROW(memo.SetText("first"), std::runtime_error);
    EXPECT_EQ(memo.Widget()->toPlainText(), QString("first"));
    memo.OnChange = nullptr;
    memo.SetText("second");
    EXPECT_EQ(memo.Widget()->toPlainText(), QString("second"));
    Key(memo.Widget(), Qt::Key_X, "x");
    EXPECT_EQ(memo.GetText(), memo.Widget()->toPlainText().toStdString());
}

TEST(MemoKeys, EnterBreaksTheLineOnlyWhileTheMemoWantsReturns)
{
    TMemo memo;
    TKeyLog log(memo);
    EXPECT_TRUE(memo.GetWantReturns());
    Press(memo.Widget(), Qt::Key_Return, "\r");
    EXPECT_EQ(memo.GetText(), "\n");
    memo.SetWantReturns(false);
    Press(memo.Widget(), Qt::Key_Return, "\r");
    Press(memo.Widget(), Qt::Key_Enter, "\r", Qt::KeypadModifier);
    EXPECT_EQ(memo.GetText(), "\n");
    // The refused Enter still reached the key events, as on the platform.
    EXPECT_EQ(log.seen, (std::vector<std::string>{"down 13", "char 13", "down 13", "char 13", "down 13", "char 13"}));
}

TEST(MemoKeys, TabMovesTheFocusUnlessTheMemoWantsTabs)
{
    TForm form;
    auto* memo = form.Add(new TMemo(&form.panel), 0);
    auto* next = form.Add(new TEdit(&form.panel), 100);
    EXPECT_FALSE(memo->GetWantTabs());
    memo->SetFocus();
    TabKey();
    EXPECT_TRUE(next->Focused());
    EXPECT_EQ(memo->GetText(), "");

    memo->SetWantTabs(true);
    memo->SetFocus();
    TKeyLog log(*memo);
    TabKey();
    EXPECT_TRUE(memo->Focused());
    EXPECT_EQ(memo->GetText(), "\t");
    EXPECT_EQ(log.seen, (std::vector<std::string>{"down 9", "char 9"}));
}

TEST(MemoKeys, AReadOnlyMemoHearsKeysButTypesNothing)
{
    TMemo memo;
    memo.SetText("fixed");
    memo.SetReadOnly(true);
    TKeyLog log(memo);
    Key(memo.Widget(), Qt::Key_X, "x");
    EXPECT_EQ(memo.GetText(), "fixed");
    EXPECT_EQ(log.seen, (std::vector<std::string>{"down 88", "char 120", "up 88"}));
}

TEST(MemoLayout, WordWrapBreaksALongLineAtTheWidth)
{
    TMemo memo;
    memo.SetBounds(0, 0, 120, 80);
    memo.SetText("a line of words much longer than the narrow memo is wide");
    memo.show();
    QApplication::processEvents();
    const auto lines = [&] { return memo.Widget()->document()->firstBlock().layout()->lineCount(); };
    EXPECT_GT(lines(), 1);
    memo.SetWordWrap(false);
    QApplication::processEvents();
    EXPECT_EQ(lines(), 1);
}
