// TThread on std::thread.
#include <vxplan/platform/app/vxThread.h>

#include <vxplan/platform/app/vxMessages.h>
#include <vxplan/platform/core/vxExceptions.h>

#include <unordered_set>

namespace vxplan {

// Starts threads made running once their constructors are done: a posted message is delivered
// only after the code that created the thread has returned to the event loop. A thread freed
// before that leaves the pending set, so the message finds nothing to start.
class TDeferredStarter final : public TMessageTarget {
public:
    static TDeferredStarter& Instance()
    {
        // Never destroyed: threads may be freed while statics go away.
        static TDeferredStarter* starter = new TDeferredStarter;
        return *starter;
    }

    void Add(TThread* thread)
    {
        {
            std::lock_guard lock(mutex_);
            pending_.insert(thread);
        }
        PostMessage(this, WM_USER, 0, 0);
    }

    void Remove(TThread* thread)
    {
        std::lock_guard lock(mutex_);
        pending_.erase(thread);
    }

    void WndProc(TMessage& message) override
    {
        if (message.Msg != WM_USER) return TMessageTarget::WndProc(message);
        std::unordered_set<TThread*> due;
        {
            std::lock_guard lock(mutex_);
            due.swap(pending_);
        }
        for (TThread* thread : due) thread->StartIfPending();
    }

private:
    std::mutex mutex_;
    std::unordered_set<TThread*> pending_;
};

TThread::TThread(bool CreateSuspended) : threadId_(detail::ReserveThreadId()), startPending_(!CreateSuspended)
{
    if (startPending_) TDeferredStarter::Instance().Add(this);
}

TThread::~TThread()
{
    // Freeing itself at the end of Run, on its own thread: there is nothing left to wait for.
    if (freeingSelf_) return;
    TDeferredStarter::Instance().Remove(this);
    TerminateAndWait();
}

void TThread::StartIfPending()
{
    std::lock_guard lock(mutex_);
    if (started_) return;
    started_ = true;
    thread_ = std::thread([this] { Run(); });
}

void TThread::Start()
{
    std::lock_guard lock(mutex_);
    if (started_) throw EThread("Thread already started");
    started_ = true;
    thread_ = std::thread([this] { Run(); });
}

void TThread::Terminate()
{
    terminated_ = true;
}

void TThread::TerminateAndWait()
{
    // A thread made running but not yet started is not started any more.
    TDeferredStarter::Instance().Remove(this);
    Terminate();
    {
        std::lock_guard lock(mutex_);
        if (!started_ || !thread_.joinable()) return;
    }
    WaitFor();
}

int TThread::WaitFor()
{
    {
        std::lock_guard lock(mutex_);
        if (!started_ && !startPending_) throw EThread("Cannot wait for a thread that was not started");
        if (freeOnTerminate_) throw EThread("Cannot wait for a thread that frees itself");
    }
    if (GetCurrentThreadId() == threadId_) throw EThread("A thread cannot wait for itself");
    // A thread made running may still wait for its deferred start; waiting means wanting it now.
    StartIfPending();

    if (IsMainThread()) {
        // The worker may be inside Synchronize (OnTerminate at least): keep serving it.
        for (;;) {
            {
                std::lock_guard lock(mutex_);
                if (finished_) break;
            }
            CheckSynchronize(5);
        }
    } else {
        std::unique_lock lock(mutex_);
        finishedChanged_.wait(lock, [&] { return finished_; });
    }
    if (thread_.joinable()) thread_.join();
    std::lock_guard lock(mutex_);
    return returnValue_;
}

bool TThread::Suspended() const
{
    std::lock_guard lock(mutex_);
    return !started_;
}

bool TThread::Finished() const
{
    std::lock_guard lock(mutex_);
    return finished_;
}

int TThread::ReturnValue() const
{
    std::lock_guard lock(mutex_);
    return returnValue_;
}

void TThread::SetReturnValue(int value)
{
    std::lock_guard lock(mutex_);
    returnValue_ = value;
}

bool TThread::FreeOnTerminate() const
{
    std::lock_guard lock(mutex_);
    return freeOnTerminate_;
}

void TThread::SetFreeOnTerminate(bool value)
{
    std::lock_guard lock(mutex_);
    freeOnTerminate_ = value;
}

TNotifyEvent TThread::OnTerminate() const
{
    std::lock_guard lock(mutex_);
    return onTerminate_;
}

void TThread::SetOnTerminate(TNotifyEvent handler)
{
    std::lock_guard lock(mutex_);
    onTerminate_ = std::move(handler);
}

std::exception_ptr TThread::FatalException() const
{
    std::lock_guard lock(mutex_);
    return fatal_;
}

std::string TThread::FatalExceptionMessage() const
{
    const std::exception_ptr fatal = FatalException();
    if (!fatal) return {};
    try {
        std::rethrow_exception(fatal);
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "Unknown exception";
    }
}

void TThread::DoTerminate()
{
    const TNotifyEvent handler = OnTerminate();
    if (handler) Synchronize(TThreadMethod([this, handler] { handler(this); }));
}

void TThread::Run()
{
    detail::AdoptThreadId(threadId_);
    std::exception_ptr fatal;
    try {
        Execute();
    } catch (...) {
        fatal = std::current_exception();
    }
    {
        std::lock_guard lock(mutex_);
        fatal_ = fatal;
    }
    try {
        DoTerminate();
    } catch (...) {
        std::lock_guard lock(mutex_);
        if (!fatal_) fatal_ = std::current_exception();
    }
    bool freeSelf;
    {
        std::lock_guard lock(mutex_);
        finished_ = true;
        freeSelf = freeOnTerminate_;
        // Nobody joins a thread that frees itself, and its object must not join its own thread.
        if (freeSelf) thread_.detach();
    }
    finishedChanged_.notify_all();
    if (freeSelf) {
        freeingSelf_ = true;
        delete this;
    }
}

}  // namespace vxplan
