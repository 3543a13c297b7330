// TThread: a worker thread object whose Execute runs on its own thread.
//
// A thread made suspended waits for Start (or Resume). One made running cannot start inside the
// constructor (the descendant's Execute does not exist yet there), so it starts as soon as
// messages are next delivered on the user-interface thread, or earlier at Start or WaitFor.
// After Execute,
// OnTerminate is raised on the user-interface thread through Synchronize; then the thread is
// finished, and with FreeOnTerminate the object deletes itself. WaitFor on the user-interface
// thread keeps running synchronized methods while it waits, so a worker that synchronizes
// cannot deadlock against it.
//
// The destructor of a running thread sets Terminated and waits. A descendant whose Execute uses
// its own members should do the same in its own destructor (TerminateAndWait), because those
// members are gone by the time this class's destructor runs.
#pragma once

#include <vxplan/platform/app/vxSync.h>
#include <vxplan/platform/core/vxTypes.h>

#include <condition_variable>
#include <exception>
#include <mutex>
#include <string>
#include <thread>

namespace vxplan {

enum class TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

class TThread : public TObject {
public:
    explicit TThread(bool CreateSuspended);
    ~TThread() override;
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    // Starts the thread; throws EThread when it was started before.
    void Start();
    void Resume() { Start(); }
    // Asks Execute to stop; Execute looks at Terminated() and returns.
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Waits until the thread has finished and returns ReturnValue. Throws EThread for a thread
    // never started, a thread that frees itself, or a thread waiting for itself.
    int WaitFor();
    // Terminate, then WaitFor when the thread was started.
    void TerminateAndWait();

    bool Suspended() const;
    bool Finished() const;
    TThreadID ThreadID() const { return threadId_; }
    int ReturnValue() const;

    bool FreeOnTerminate() const;
    void SetFreeOnTerminate(bool value);
    TNotifyEvent OnTerminate() const;
    void SetOnTerminate(TNotifyEvent handler);

    // What escaped Execute, or null; FatalExceptionMessage gives its text ("" when none).
    std::exception_ptr FatalException() const;
    std::string FatalExceptionMessage() const;

    // Kept for hosts that set it; scheduling is left to the system.
    TThreadPriority Priority() const { return priority_; }
    void SetPriority(TThreadPriority value) { priority_ = value; }

protected:
    virtual void Execute() = 0;
    // Raises OnTerminate on the user-interface thread; called on this thread after Execute.
    virtual void DoTerminate();
    void Synchronize(const TThreadMethod& method) { vxplan::Synchronize(method, this); }
    void SetReturnValue(int value);

private:
    friend class TDeferredStarter;
    void Run();
    // Starts the thread unless it already runs; for a thread made running.
    void StartIfPending();

    mutable std::mutex mutex_;
    std::condition_variable finishedChanged_;
    std::thread thread_;
    const TThreadID threadId_;
    const bool startPending_;  // made running: starts without being asked
    std::atomic<bool> terminated_{false};
    bool started_ = false;
    bool finished_ = false;
    bool freeOnTerminate_ = false;
    bool freeingSelf_ = false;  // only the thread itself sets and reads it
    int returnValue_ = 0;
    TNotifyEvent onTerminate_;
    std::exception_ptr fatal_;
    TThreadPriority priority_ = TThreadPriority::tpNormal;
};

}  // namespace vxplan
