// Threads meeting the user-interface thread: thread identity, a critical section, and
// Synchronize, which runs a method on the user-interface thread while the calling worker waits.
//
// A worker's Synchronize queues the method, rings the wake hook and blocks; the user-interface
// thread runs the queue in CheckSynchronize. By default the wake hook posts a message to a
// hidden window, so any Qt event loop (the host's QApplication::exec, a QEventLoop, a modal
// dialog) runs synchronized methods without calling CheckSynchronize itself.
#pragma once

#include <vxplan/platform/core/vxMethod.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>

namespace vxplan {

using TThreadID = uint64_t;
using TThreadMethod = TMethod<void()>;

// A stable number for the calling thread, never 0, never reused within the process.
TThreadID GetCurrentThreadId();
// The thread of the application object (before one exists: the thread that started the program).
TThreadID MainThreadID();
bool IsMainThread();

// A lock that its holder may take again; it is free once left as often as entered.
class TCriticalSection {
public:
    TCriticalSection() = default;
    TCriticalSection(const TCriticalSection&) = delete;
    TCriticalSection& operator=(const TCriticalSection&) = delete;

    void Enter();
    // Throws EInvalidOperation when the calling thread does not hold the section.
    void Leave();
    bool TryEnter();
    void Acquire() { Enter(); }
    void Release() { Leave(); }

private:
    std::recursive_mutex mutex_;
    std::atomic<TThreadID> owner_{0};
    int depth_ = 0;
};

// Runs the method on the user-interface thread and returns when it has run. On that thread it
// runs at once; from a worker it waits, and an exception the method throws is thrown again here.
// Sender is passed to the wake hook (the thread object, or null).
void Synchronize(const TThreadMethod& method, TObject* Sender = nullptr);
// Runs the methods that workers queued, on the user-interface thread; with a timeout, first
// waits up to that long for one to arrive. True if any ran. Throws EThread on another thread.
bool CheckSynchronize(int timeoutMs = 0);

// Called on the worker's thread each time it queued a method. An empty hook restores the
// default, which wakes Qt's event loop of the user-interface thread.
void SetWakeMainThread(TNotifyEvent hook);
TNotifyEvent GetWakeMainThread();

namespace detail {
// Hands out the number GetCurrentThreadId will give the thread that adopts it, so a thread
// object knows its id before its thread has run.
TThreadID ReserveThreadId();
void AdoptThreadId(TThreadID id);
}  // namespace detail

}  // namespace vxplan
