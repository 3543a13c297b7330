// The application object, hidden windows, exception reporting, beep, clipboard, message boxes.
#include <vxplan/platform/app/vxApplication.h>

#include <vxplan/platform/app/vxSync.h>
#include <vxplan/platform/core/vxExceptions.h>

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QMessageBox>
#include <QString>

#include <iostream>
#include <mutex>

namespace vxplan {

namespace {

class THiddenWindow final : public TMessageTarget {
public:
    explicit THiddenWindow(TMethod<void(TMessage&)> method) : method_(std::move(method)) {}
    void WndProc(TMessage& message) override { method_(message); }

private:
    TMethod<void(TMessage&)> method_;
};

struct THooks {
    std::mutex mutex;
    TMessageBoxHook messageBox;
    TBeepHook beep;
};

THooks& Hooks()
{
    static THooks hooks;
    return hooks;
}

// The answer of a box's first button: what a user pressing Enter would give.
int FirstButtonAnswer(unsigned flags)
{
    switch (flags & 0x0F) {
    case MB_ABORTRETRYIGNORE: return IDABORT;
    case MB_YESNOCANCEL:
    case MB_YESNO: return IDYES;
    case MB_RETRYCANCEL: return IDRETRY;
    default: return IDOK;
    }
}

int ShowQtMessageBox(const std::string& text, const std::string& caption, unsigned flags)
{
    QMessageBox box;
    box.setText(QString::fromUtf8(text));
    box.setWindowTitle(QString::fromUtf8(caption));
    switch (flags & 0xF0) {
    case MB_ICONERROR: box.setIcon(QMessageBox::Critical); break;
    case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
    case MB_ICONWARNING: box.setIcon(QMessageBox::Warning); break;
    case MB_ICONINFORMATION: box.setIcon(QMessageBox::Information); break;
    default: break;
    }
    using B = QMessageBox::StandardButton;
    struct TButton {
        B button;
        int answer;
    };
    std::vector<TButton> buttons;
    switch (flags & 0x0F) {
    case MB_OKCANCEL: buttons = {{B::Ok, IDOK}, {B::Cancel, IDCANCEL}}; break;
    case MB_ABORTRETRYIGNORE: buttons = {{B::Abort, IDABORT}, {B::Retry, IDRETRY}, {B::Ignore, IDIGNORE}}; break;
    case MB_YESNOCANCEL: buttons = {{B::Yes, IDYES}, {B::No, IDNO}, {B::Cancel, IDCANCEL}}; break;
    case MB_YESNO: buttons = {{B::Yes, IDYES}, {B::No, IDNO}}; break;
    case MB_RETRYCANCEL: buttons = {{B::Retry, IDRETRY}, {B::Cancel, IDCANCEL}}; break;
    default: buttons = {{B::Ok, IDOK}}; break;
    }
    QMessageBox::StandardButtons all;
    for (const TButton& b : buttons) all |= b.button;
    box.setStandardButtons(all);
    box.setDefaultButton(buttons.front().button);
    const int pressed = box.exec();
    for (const TButton& b : buttons)
        if (pressed == b.button) return b.answer;
    // Closed with Escape or the title bar: Cancel where there is one, as the platform does.
    return (flags & 0x0F) == MB_OK ? IDOK : IDCANCEL;
}

int DefaultMessageBox(const std::string& text, const std::string& caption, unsigned flags)
{
    if (NobodyCanAnswer()) {
        std::cerr << (caption.empty() ? std::string() : caption + ": ") << text << '\n';
        return FirstButtonAnswer(flags);
    }
    // Widgets live on the user-interface thread; a worker's box is shown there.
    int answer = IDCANCEL;
    Synchronize(TThreadMethod([&] { answer = ShowQtMessageBox(text, caption, flags); }));
    return answer;
}

void RequireMainThread(const char* what)
{
    if (!IsMainThread()) throw EInvalidOperation(std::string(what) + " called from a thread other than the main thread");
}

}  // namespace

bool NobodyCanAnswer()
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return true;
    return QGuiApplication::platformName() == QLatin1String("offscreen");
}

TApplication::~TApplication()
{
    for (HWND window : hiddenWindows_) delete window;
}

void TApplication::ProcessMessages()
{
    RequireMainThread("ProcessMessages");
    try {
        QCoreApplication::processEvents();
        // Also without a socket round trip, so a caller sees everything that was posted.
        DeliverPostedMessages();
        CheckSynchronize();
    } catch (...) {
        HandleException(this);
    }
}

void TApplication::Terminate()
{
    terminated_ = true;
    QCoreApplication::quit();
}

void TApplication::SetTitle(const std::string& title)
{
    title_ = title;
}

void TApplication::HandleException(TObject* Sender)
{
    const std::exception_ptr current = std::current_exception();
    if (!current) return;
    try {
        std::rethrow_exception(current);
    } catch (const std::exception& e) {
        if (OnException) OnException(Sender, e);
        else ShowException(e);
    } catch (...) {
        const std::runtime_error unknown("Unknown exception");
        if (OnException) OnException(Sender, unknown);
        else ShowException(unknown);
    }
}

void TApplication::ShowException(const std::exception& E)
{
    MessageBox(E.what(), title_, MB_OK | MB_ICONERROR);
}

HWND TApplication::AllocateHWnd(TMethod<void(TMessage&)> method)
{
    if (!method) throw EInvalidArgument("AllocateHWnd needs a method");
    RequireMainThread("AllocateHWnd");
    auto* window = new THiddenWindow(std::move(method));
    hiddenWindows_.insert(window);
    return window;
}

void TApplication::DeallocateHWnd(HWND window)
{
    if (!window) return;
    RequireMainThread("DeallocateHWnd");
    if (hiddenWindows_.erase(window) == 0) throw EInvalidArgument("Not a hidden window of this application");
    delete window;
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, unsigned flags)
{
    TMessageBoxHook hook;
    {
        std::lock_guard lock(Hooks().mutex);
        hook = Hooks().messageBox;
    }
    return hook ? hook(text, caption, flags) : DefaultMessageBox(text, caption, flags);
}

TApplication& Application()
{
    static TApplication application;
    return application;
}

void ShowMessage(const std::string& text)
{
    Application().MessageBox(text, Application().Title(), MB_OK);
}

void SetMessageBoxHook(TMessageBoxHook hook)
{
    std::lock_guard lock(Hooks().mutex);
    Hooks().messageBox = std::move(hook);
}

void MessageBeep(unsigned type)
{
    TBeepHook hook;
    {
        std::lock_guard lock(Hooks().mutex);
        hook = Hooks().beep;
    }
    if (hook) hook(type);
    else if (qobject_cast<QApplication*>(QCoreApplication::instance())) QApplication::beep();
}

void SetBeepHook(TBeepHook hook)
{
    std::lock_guard lock(Hooks().mutex);
    Hooks().beep = std::move(hook);
}

namespace {

QClipboard& SystemClipboard()
{
    RequireMainThread("The clipboard");
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        throw EInvalidOperation("The clipboard needs a GUI application");
    return *QGuiApplication::clipboard();
}

}  // namespace

std::string TClipboard::AsText() const
{
    return SystemClipboard().text().toStdString();
}

void TClipboard::SetAsText(const std::string& text)
{
    const QString converted = QString::fromUtf8(text);
    // Invalid sequences become replacement characters on the way in; a round trip shows them.
    if (converted.toStdString() != text) throw EInvalidArgument("Clipboard text is not valid UTF-8");
    SystemClipboard().setText(converted);
}

bool TClipboard::HasText() const
{
    return !SystemClipboard().text().isEmpty();
}

TClipboard& Clipboard()
{
    static TClipboard clipboard;
    return clipboard;
}

}  // namespace vxplan
