// The application object and the services around it: processing messages, hidden windows for
// deferred work, exception reporting, the beep, the clipboard and message boxes.
//
// The beep and message boxes go through replaceable hooks, so tests and headless hosts can see
// what would have been shown without a dialog that waits for a user.
#pragma once

#include <vxplan/platform/app/vxMessages.h>
#include <vxplan/platform/core/vxMethod.h>
#include <vxplan/platform/core/vxTypes.h>

#include <exception>
#include <functional>
#include <set>
#include <string>

namespace vxplan {

// Message box buttons, icons and answers, with the platform's values.
enum : unsigned {
    MB_OK = 0x00, MB_OKCANCEL = 0x01, MB_ABORTRETRYIGNORE = 0x02, MB_YESNOCANCEL = 0x03, MB_YESNO = 0x04,
    MB_RETRYCANCEL = 0x05, MB_ICONERROR = 0x10, MB_ICONHAND = 0x10, MB_ICONSTOP = 0x10,
    MB_ICONQUESTION = 0x20, MB_ICONWARNING = 0x30, MB_ICONEXCLAMATION = 0x30, MB_ICONINFORMATION = 0x40,
    MB_ICONASTERISK = 0x40
};
enum : int { IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7 };

using TExceptionEvent = TMethod<void(TObject* Sender, const std::exception& E)>;
using TMessageBoxHook = std::function<int(const std::string& text, const std::string& caption, unsigned flags)>;
using TBeepHook = std::function<void(unsigned type)>;

class TApplication : public TObject {
public:
    TApplication() = default;
    ~TApplication() override;
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    // Handles what is waiting now: Qt's events, posted messages and synchronized methods.
    // Exceptions from handlers go to HandleException.
    void ProcessMessages();
    bool Terminated() const { return terminated_; }
    // Marks the application as ending and asks Qt's event loop to stop.
    void Terminate();

    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title);

    // Called inside a catch block: gives the exception being handled to OnException, or, when
    // none is assigned, shows its message in an error message box.
    void HandleException(TObject* Sender);
    void ShowException(const std::exception& E);
    TExceptionEvent OnException;

    // A hidden window on the user-interface thread: every message posted or sent to it goes
    // to the method. Throws EInvalidArgument for an unassigned method.
    HWND AllocateHWnd(TMethod<void(TMessage&)> method);
    // Frees a window from AllocateHWnd; null does nothing, anything else throws EInvalidArgument.
    void DeallocateHWnd(HWND window);

    // Shows a message box through the message box hook; returns the answer (IDOK ...).
    int MessageBox(const std::string& text, const std::string& caption, unsigned flags);

private:
    bool terminated_ = false;
    std::string title_;
    std::set<HWND> hiddenWindows_;
};

TApplication& Application();

// Shows the text with the application's title and an OK button, through the message box hook.
void ShowMessage(const std::string& text);
// The hook is called on the thread that asks. An empty hook restores the default: a QMessageBox
// on the user-interface thread (a worker's box is shown there through Synchronize), or, on the
// offscreen platform where no one can answer, the text on stderr and the first button's answer.
void SetMessageBoxHook(TMessageBoxHook hook);

// True where no user can answer a modal window: no widget application, or the offscreen platform.
bool NobodyCanAnswer();

// Sounds the beep for an MB_ICON... type (0xFFFFFFFF: the simple beep) through the beep hook.
void MessageBeep(unsigned type);
// An empty hook restores the default, QApplication::beep.
void SetBeepHook(TBeepHook hook);

// The system clipboard's text, in UTF-8.
class TClipboard {
public:
    std::string AsText() const;
    // Throws EInvalidArgument for text that is not valid UTF-8; the clipboard stays as it was.
    void SetAsText(const std::string& text);
    bool HasText() const;
};
TClipboard& Clipboard();

}  // namespace vxplan
