// The worker that computes sub-columns away from the user-interface thread.
//
// The caller makes a worker (suspended), fills Holders, sets OnDone and resumes it. OnDone is
// raised on the user-interface thread, while the worker waits in Synchronize, so the handler
// may read Holders; it is not raised for a run that was terminated. A caller ends its interest
// in a worker only through FreeAndCleanUp, also from inside OnDone: a worker still running is
// then left to free itself when its run ends. A failure of the computation is shown in a message
// box and is followed by no done notification.
#pragma once

#include <vxplan/overlap/vxTimeDistinctGeneric.h>
#include <vxplan/platform/app/vxThread.h>
#include <vxplan/platform/core/vxMethod.h>

#include <atomic>
#include <mutex>

namespace vxplan {

class TTimeDistinctGenericThread : public TThread {
public:
    TTimeDistinctGenericThread();
    ~TTimeDistinctGenericThread() override;

    TDistinctTimeHolderList& Holders() { return holders_; }
    const TDistinctTimeHolderList& Holders() const { return holders_; }

    TNotifyEvent OnDone;

    // True once the worker's run has ended, after its terminate notification.
    bool RunFinished() const { return runFinished_; }
    // Termination has been asked for.
    bool IsTerminated() const { return Terminated(); }

    // The workers alive now, in every thread.
    static int ThreadCount() { return threadCount_.load(); }
    // The most workers a caller that starts one per row should keep alive at once.
    static int MaxThreads() { return 50; }
    // Below this many live workers, callers that held requests back at MaxThreads go on; the
    // fall below it is announced to the armed TTimeDistinctResumeListeners.
    static int ResumeThreshold() { return 5; }

    // Terminates the worker, withdraws its done notification, and frees it now when it never
    // ran or has finished, or else lets it free itself at the end of its run. Leaves aThread
    // null; a null aThread does nothing. User-interface thread only.
    static void FreeAndCleanUp(TTimeDistinctGenericThread*& aThread);

protected:
    void Execute() override;
    void DoTerminate() override;
    // Raises OnDone; runs on the user-interface thread.
    void DoOnDone();

private:
    static std::atomic<int> threadCount_;

    TDistinctTimeHolderList holders_;
    // Guards the moment a run ends against FreeAndCleanUp, so the worker is freed exactly once:
    // either the caller sees the run finished and frees it, or the worker sees it abandoned.
    std::mutex endMutex_;
    std::atomic<bool> runFinished_{false};
    bool abandoned_ = false;
};

}  // namespace vxplan
