// The sub-column worker: its run, its done notification and its end.
#include <vxplan/overlap/vxTimeDistinctGenericThread.h>

#include <vxplan/overlap/vxTimeDistinctResume.h>
#include <vxplan/platform/app/vxApplication.h>
#include <vxplan/platform/app/vxSync.h>

#include <exception>
#include <string>

namespace vxplan {

std::atomic<int> TTimeDistinctGenericThread::threadCount_{0};

TTimeDistinctGenericThread::TTimeDistinctGenericThread() : TThread(true)
{
    ++threadCount_;
}

TTimeDistinctGenericThread::~TTimeDistinctGenericThread()
{
    // Freed by the caller: the run (if any) has to end before Holders goes. Freeing itself,
    // the worker is past its run already.
    if (GetCurrentThreadId() != ThreadID()) TerminateAndWait();
    // Every fall below the threshold is seen exactly once, on whichever thread frees the worker.
    if (threadCount_.fetch_sub(1) == ResumeThreshold()) TTimeDistinctResumeListener::Announce();
}

void TTimeDistinctGenericThread::Execute()
{
    try {
        TTimeDistinctGeneric computation(&holders_);
        computation.SetThread(this);
        computation.ResolveConflicts();
        if (!Terminated()) Synchronize(TThreadMethod(this, &TTimeDistinctGenericThread::DoOnDone));
    } catch (const std::exception& e) {
        // The message box may be asked for from any thread; the platform shows it where it can.
        Application().MessageBox(std::string("TTimeDistinctGenericThread.Execute ") + e.what(), "", MB_OK | MB_ICONERROR);
    } catch (...) {
        Application().MessageBox("TTimeDistinctGenericThread.Execute Unknown exception", "", MB_OK | MB_ICONERROR);
    }
}

void TTimeDistinctGenericThread::DoOnDone()
{
    if (OnDone) OnDone(this);
}

void TTimeDistinctGenericThread::DoTerminate()
{
    TThread::DoTerminate();
    std::lock_guard lock(endMutex_);
    runFinished_ = true;
    // Read by the platform thread right after this returns, on this same thread.
    if (abandoned_) SetFreeOnTerminate(true);
}

void TTimeDistinctGenericThread::FreeAndCleanUp(TTimeDistinctGenericThread*& aThread)
{
    TTimeDistinctGenericThread* thread = aThread;
    aThread = nullptr;
    if (!thread) return;
    thread->Terminate();
    thread->OnDone = nullptr;
    bool freeNow;
    {
        std::lock_guard lock(thread->endMutex_);
        freeNow = thread->Suspended() || thread->runFinished_;
        if (!freeNow) thread->abandoned_ = true;
    }
    // A finished run may still be leaving its thread: the destructor waits for that.
    if (freeNow) delete thread;
}

}  // namespace vxplan
