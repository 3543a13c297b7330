// Posted and sent messages.
//
// One queue holds every posted message of the process, in posting order. Posting takes a mutex,
// appends to the queue and writes a byte to a pipe; a socket notifier on the user-interface
// thread sees the pipe become readable and delivers what is queued. Threads that post therefore
// never touch a Qt object: the only things they share with the user-interface thread are the
// queue (under the mutex) and the pipe, both of which a thread sanitizer can follow.
//
// Every live target is recorded with a serial number. A queued message carries the serial of its
// target, and delivery skips messages whose target is gone or whose address now belongs to a
// newer target, so destroying a target withdraws whatever was posted to it.
#include <vxplan/platform/app/vxMessages.h>

#include <vxplan/platform/app/vxApplication.h>
#include <vxplan/platform/core/vxExceptions.h>

#include <QCoreApplication>
#include <QPointer>
#include <QSocketNotifier>

#include <deque>
#include <fcntl.h>
#include <iostream>
#include <mutex>
#include <unistd.h>
#include <unordered_map>

namespace vxplan {

namespace {

struct TPosted {
    TMessageTarget* target;
    uint64_t serial;
    TMessage message;
};

struct TMessageState {
    TMessageState()
    {
        int fds[2];
        if (pipe2(fds, O_NONBLOCK | O_CLOEXEC) != 0) throw Exception("Cannot create the wake-up pipe of the message queue");
        wakeRead = fds[0];
        wakeWrite = fds[1];
    }

    std::mutex mutex;
    std::unordered_map<const TMessageTarget*, uint64_t> live;
    uint64_t nextSerial = 1;
    std::deque<TPosted> queue;
    int wakeRead = -1;
    int wakeWrite = -1;
    // Touched only on the user-interface thread.
    QPointer<QSocketNotifier> notifier;
};

// Created on first use and never destroyed, so targets that outlive main (statics) can still
// leave the registry.
TMessageState& State()
{
    static TMessageState* state = new TMessageState;
    return *state;
}

void Wake(TMessageState& s)
{
    const char byte = 1;
    // A full pipe is already readable; the byte is only a doorbell, so losing it is harmless.
    [[maybe_unused]] const ssize_t n = write(s.wakeWrite, &byte, 1);
}

void DeliverFromNotifier()
{
    // Exceptions must not cross Qt's event loop: the application reports them, then the rest
    // of the queued messages are delivered.
    for (;;) {
        try {
            DeliverPostedMessages();
            return;
        } catch (...) {
            try {
                Application().HandleException(nullptr);
            } catch (const std::exception& e) {
                std::cerr << "Exception while reporting an exception: " << e.what() << '\n';
            } catch (...) {
                std::cerr << "Unknown exception while reporting an exception\n";
            }
        }
    }
}

// Runs on the user-interface thread each time an application object is constructed.
void InstallNotifier()
{
    TMessageState& s = State();
    if (s.notifier) return;
    auto* notifier = new QSocketNotifier(s.wakeRead, QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] { DeliverFromNotifier(); });
    s.notifier = notifier;
    // Messages posted before the application existed are waiting: ring again.
    Wake(s);
}

// Registered when this unit is initialised; Qt calls it at once if the application already exists.
const bool notifierRegistered = (qAddPreRoutine(InstallNotifier), true);

}  // namespace

TMessageTarget::TMessageTarget()
{
    TMessageState& s = State();
    std::lock_guard lock(s.mutex);
    s.live[this] = s.nextSerial++;
}

TMessageTarget::~TMessageTarget()
{
    TMessageState& s = State();
    std::lock_guard lock(s.mutex);
    s.live.erase(this);
}

void TMessageTarget::WndProc(TMessage& message)
{
    DefaultHandler(message);
}

void TMessageTarget::DefaultHandler(TMessage& message)
{
    message.Result = 0;
}

bool PostMessage(HWND target, unsigned msg, WPARAM wParam, LPARAM lParam)
{
    if (!target) return false;
    TMessageState& s = State();
    {
        std::lock_guard lock(s.mutex);
        const auto it = s.live.find(target);
        if (it == s.live.end()) return false;
        s.queue.push_back(TPosted{target, it->second, TMessage{msg, wParam, lParam, 0}});
    }
    Wake(s);
    return true;
}

LRESULT SendMessage(HWND target, unsigned msg, WPARAM wParam, LPARAM lParam)
{
    if (!IsWindow(target)) return 0;
    TMessage message{msg, wParam, lParam, 0};
    target->WndProc(message);
    return message.Result;
}

bool IsWindow(HWND target)
{
    if (!target) return false;
    TMessageState& s = State();
    std::lock_guard lock(s.mutex);
    return s.live.contains(target);
}

bool DeliverPostedMessages()
{
    TMessageState& s = State();
    // Empty the doorbell first: a message posted while these are delivered rings it again.
    char buffer[256];
    while (read(s.wakeRead, buffer, sizeof buffer) > 0) {
    }

    // Only what is queued now; messages posted during delivery wait for the next round, so a
    // target that keeps posting to itself cannot starve the rest of the event loop.
    size_t count;
    {
        std::lock_guard lock(s.mutex);
        count = s.queue.size();
    }
    bool delivered = false;
    for (size_t i = 0; i < count; ++i) {
        TPosted posted;
        {
            std::lock_guard lock(s.mutex);
            if (s.queue.empty()) break;
            posted = s.queue.front();
            s.queue.pop_front();
            const auto it = s.live.find(posted.target);
            if (it == s.live.end() || it->second != posted.serial) continue;
        }
        // The target is destroyed only on this thread, so it stays alive until WndProc returns.
        delivered = true;
        posted.target->WndProc(posted.message);
    }
    return delivered;
}

}  // namespace vxplan
