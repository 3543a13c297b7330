// Application services: hidden windows, processing messages, exception reporting, message
// boxes, the beep and the clipboard on the offscreen platform.
#include <vxplan/platform/app/vxApplication.h>
#include <vxplan/platform/app/vxSync.h>
#include <vxplan/platform/core/vxExceptions.h>

#include "support/vxTestSupport.h"

#include <QTimer>

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <ostream>
#include <stdexcept>
#include <thread>
#include <vector>

using namespace vxplan;
using vxplan::test::ErrorText;

namespace {

struct TBoxCall {
    std::string text;
    std::string caption;
    unsigned flags;
    bool operator==(const TBoxCall&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const TBoxCall& c)
    {
        return out << c.text << " | " << c.caption << " | " << c.flags;
    }
};

// Records message boxes for the length of a test and answers with a chosen button.
class TBoxRecorder {
public:
    explicit TBoxRecorder(int answer = IDOK)
    {
        SetMessageBoxHook([this, answer](const std::string& text, const std::string& caption, unsigned flags) {
            calls.push_back({text, caption, flags});
            return answer;
        });
    }
    ~TBoxRecorder() { SetMessageBoxHook(nullptr); }
    std::vector<TBoxCall> calls;
};

}  // namespace

TEST(HiddenWindows, ReceivePostedAndSentMessagesThroughTheirMethod)
{
    std::vector<unsigned> seen;
    HWND window = Application().AllocateHWnd(TMethod<void(TMessage&)>([&](TMessage& m) {
        seen.push_back(m.Msg);
        m.Result = static_cast<LRESULT>(m.WParam * 2);
    }));
    ASSERT_TRUE(IsWindow(window));
    EXPECT_TRUE(PostMessage(window, WM_USER + 1, 0, 0));
    EXPECT_TRUE(PostMessage(window, WM_USER + 2, 0, 0));
    EXPECT_TRUE(seen.empty());
    Application().ProcessMessages();
    EXPECT_EQ(seen, (std::vector<unsigned>{WM_USER + 1, WM_USER + 2}));
    EXPECT_EQ(SendMessage(window, WM_USER + 3, 21, 0), 42);

    PostMessage(window, WM_USER + 4, 0, 0);
    Application().DeallocateHWnd(window);
    EXPECT_FALSE(IsWindow(window));
    Application().ProcessMessages();
    EXPECT_EQ(seen.size(), 3u) << "a freed window's pending messages are withdrawn";
}

TEST(HiddenWindows, BadArgumentsAreClearErrors)
{
    EXPECT_THROW(Application().AllocateHWnd(nullptr), EInvalidArgument);
    TMessageTarget stranger;
    EXPECT_EQ(ErrorText<EInvalidArgument>([&] { Application().DeallocateHWnd(&stranger); }),
              "Not a hidden window of this application");
    EXPECT_TRUE(IsWindow(&stranger)) << "the refused call leaves the target alone";
    EXPECT_NO_THROW(Application().DeallocateHWnd(nullptr));
}

TEST(ProcessMessages, RunsQtEventsPostedMessagesAndSynchronizedMethods)
{
    bool timerRan = false;
    QTimer::singleShot(0, [&] { timerRan = true; });
    int messages = 0;
    HWND window = Application().AllocateHWnd(TMethod<void(TMessage&)>([&](TMessage&) { ++messages; }));
    PostMessage(window, WM_USER, 0, 0);

    std::atomic<bool> queued{false};
    bool synchronized = false;
    // Do not ring the default doorbell: ProcessMessages must find the queued method by itself.
    SetWakeMainThread(TNotifyEvent([&](TObject*) { queued = true; }));
    std::thread worker([&] { Synchronize(TThreadMethod([&] { synchronized = true; })); });
    while (!queued) std::this_thread::yield();

    Application().ProcessMessages();
    worker.join();
    SetWakeMainThread(nullptr);
    Application().DeallocateHWnd(window);
    EXPECT_TRUE(timerRan);
    EXPECT_EQ(messages, 1);
    EXPECT_TRUE(synchronized);
}

TEST(ProcessMessages, AnExceptionFromAHandlerGoesToOnException)
{
    std::vector<std::string> reported;
    Application().OnException = TExceptionEvent([&](TObject*, const std::exception& e) { reported.push_back(e.what()); });
    int after = 0;
    HWND window = Application().AllocateHWnd(TMethod<void(TMessage&)>([&](TMessage& m) {
        if (m.Msg == WM_USER) throw EListError("List index out of bounds (3)");
        ++after;
    }));
    PostMessage(window, WM_USER, 0, 0);
    PostMessage(window, WM_USER + 1, 0, 0);
    Application().ProcessMessages();
    Application().ProcessMessages();
    Application().OnException = nullptr;
    Application().DeallocateHWnd(window);
    EXPECT_EQ(reported, (std::vector<std::string>{"List index out of bounds (3)"}));
    EXPECT_EQ(after, 1) << "the message after the failing one is still delivered";
}

TEST(ExceptionReporting, WithoutAHandlerTheMessageIsShownAsAnError)
{
    TBoxRecorder boxes;
    Application().SetTitle("Planner");
    try {
        throw EInvalidOperation("Not allowed to add items during load");
    } catch (...) {
        Application().HandleException(nullptr);
    }
    EXPECT_EQ(boxes.calls, (std::vector<TBoxCall>{{"Not allowed to add items during load", "Planner", MB_OK | MB_ICONERROR}}));
    Application().SetTitle("");
}

TEST(MessageBoxes, GoThroughTheHookWithTextCaptionAndFlags)
{
    TBoxRecorder boxes(IDNO);
    EXPECT_EQ(Application().MessageBox("Delete the row?", "Gantt", MB_YESNO | MB_ICONQUESTION), IDNO);
    Application().SetTitle("Scheduler");
    ShowMessage("Done");
    Application().SetTitle("");
    EXPECT_EQ(boxes.calls,
              (std::vector<TBoxCall>{{"Delete the row?", "Gantt", MB_YESNO | MB_ICONQUESTION}, {"Done", "Scheduler", MB_OK}}));
}

TEST(MessageBoxes, OnTheOffscreenPlatformTheDefaultPrintsAndAnswersTheFirstButton)
{
    testing::internal::CaptureStderr();
    const int ok = Application().MessageBox("Incorrect intervall", "Scaler", MB_OK | MB_ICONERROR);
    const int yes = Application().MessageBox("Continue?", "", MB_YESNO);
    const int retry = Application().MessageBox("Printer busy", "", MB_RETRYCANCEL);
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_EQ((std::array{ok, yes, retry}), (std::array<int, 3>{IDOK, IDYES, IDRETRY}));
    EXPECT_NE(printed.find("Scaler: Incorrect intervall"), std::string::npos) << printed;
    EXPECT_NE(printed.find("Continue?"), std::string::npos) << printed;
}

TEST(Beep, GoesThroughTheHookWithItsType)
{
    std::vector<unsigned> beeps;
    SetBeepHook([&](unsigned type) { beeps.push_back(type); });
    MessageBeep(MB_ICONERROR);
    MessageBeep(0xFFFFFFFFu);
    SetBeepHook(nullptr);
    EXPECT_EQ(beeps, (std::vector<unsigned>{MB_ICONERROR, 0xFFFFFFFFu}));
    EXPECT_NO_THROW(MessageBeep(MB_OK)) << "the default beep works headless";
}

TEST(ClipboardText, RoundTripsUtf8AndRefusesInvalidUtf8AndWorkers)
{
    const std::string text = "Avbryt \xC3\xA5r \xE2\x82\xAC\t1\n2";  // "å" and "€", a tab, a line break
    Clipboard().SetAsText(text);
    EXPECT_TRUE(Clipboard().HasText());
    EXPECT_EQ(Clipboard().AsText(), text);
    EXPECT_EQ(ErrorText<EInvalidArgument>([&] { Clipboard().SetAsText("bad \xC3("); }),
              "Clipboard text is not valid UTF-8");
    EXPECT_EQ(Clipboard().AsText(), text) << "the refused text leaves the clipboard as it was";
    Clipboard().SetAsText("");
    EXPECT_FALSE(Clipboard().HasText());

    std::string message;
    std::thread worker([&] { message = ErrorText<EInvalidOperation>([] { Clipboard().SetAsText("x"); }); });
    worker.join();
    EXPECT_NE(message.find("main thread"), std::string::npos) << message;
}
