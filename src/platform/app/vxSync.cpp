// Thread identity, the critical section and the Synchronize queue.
#include <vxplan/platform/app/vxSync.h>

#include <vxplan/platform/app/vxMessages.h>
#include <vxplan/platform/core/vxExceptions.h>

#include <QCoreApplication>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <vector>

namespace vxplan {

namespace {

std::atomic<TThreadID> nextThreadId{1};
thread_local TThreadID currentThreadId = 0;

struct TRequest {
    TThreadMethod method;
    bool done = false;
    std::exception_ptr error;
};

// The hidden window the default wake hook posts to; its messages run the queue.
class TSyncWindow final : public TMessageTarget {
public:
    void WndProc(TMessage& message) override
    {
        if (message.Msg == WM_NULL) CheckSynchronize();
        else TMessageTarget::WndProc(message);
    }
};

struct TSyncState {
    std::mutex mutex;
    std::condition_variable queued;
    std::condition_variable ran;
    std::deque<TRequest*> queue;
    TNotifyEvent wake;
    std::atomic<TSyncWindow*> window{nullptr};
    std::atomic<TThreadID> mainThread{0};
};

// Never destroyed: workers may still synchronize while statics go away.
TSyncState& State()
{
    static TSyncState* state = new TSyncState;
    return *state;
}

// The program starts on the main thread; Qt's application object confirms it when it is made.
const bool mainThreadNoted = (State().mainThread = GetCurrentThreadId(), true);

void OnApplicationCreated()
{
    TSyncState& s = State();
    s.mainThread = GetCurrentThreadId();
    // One window for the life of the process; it lives on the thread that made the application.
    if (!s.window.load()) s.window = new TSyncWindow;
}

const bool syncRegistered = (qAddPreRoutine(OnApplicationCreated), true);

void DefaultWake()
{
    if (TSyncWindow* window = State().window.load()) PostMessage(window, WM_NULL, 0, 0);
}

}  // namespace

TThreadID GetCurrentThreadId()
{
    if (currentThreadId == 0) currentThreadId = nextThreadId++;
    return currentThreadId;
}

TThreadID MainThreadID()
{
    return State().mainThread;
}

bool IsMainThread()
{
    return GetCurrentThreadId() == MainThreadID();
}

namespace detail {

TThreadID ReserveThreadId()
{
    return nextThreadId++;
}

void AdoptThreadId(TThreadID id)
{
    currentThreadId = id;
}

}  // namespace detail

void TCriticalSection::Enter()
{
    mutex_.lock();
    owner_ = GetCurrentThreadId();
    ++depth_;
}

bool TCriticalSection::TryEnter()
{
    if (!mutex_.try_lock()) return false;
    owner_ = GetCurrentThreadId();
    ++depth_;
    return true;
}

void TCriticalSection::Leave()
{
    if (owner_ != GetCurrentThreadId()) throw EInvalidOperation("Critical section left by a thread that does not hold it");
    if (--depth_ == 0) owner_ = 0;
    mutex_.unlock();
}

void Synchronize(const TThreadMethod& method, TObject* Sender)
{
    if (!method) return;
    if (IsMainThread()) {
        method();
        return;
    }
    TSyncState& s = State();
    TRequest request;
    request.method = method;
    TNotifyEvent wake;
    {
        std::lock_guard lock(s.mutex);
        s.queue.push_back(&request);
        wake = s.wake;
    }
    s.queued.notify_all();
    if (wake) wake(Sender);
    else DefaultWake();

    std::unique_lock lock(s.mutex);
    s.ran.wait(lock, [&] { return request.done; });
    if (request.error) std::rethrow_exception(request.error);
}

bool CheckSynchronize(int timeoutMs)
{
    if (!IsMainThread()) throw EThread("CheckSynchronize called from a thread other than the main thread");
    TSyncState& s = State();
    std::vector<TRequest*> batch;
    {
        std::unique_lock lock(s.mutex);
        if (s.queue.empty() && timeoutMs > 0)
            s.queued.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return !s.queue.empty(); });
        batch.assign(s.queue.begin(), s.queue.end());
        s.queue.clear();
    }
    for (TRequest* request : batch) {
        // The request lives on the waiting worker's stack until done is set, so nothing of it
        // is touched after that.
        std::exception_ptr error;
        try {
            request->method();
        } catch (...) {
            error = std::current_exception();
        }
        {
            std::lock_guard lock(s.mutex);
            request->error = error;
            request->done = true;
        }
        s.ran.notify_all();
    }
    return !batch.empty();
}

void SetWakeMainThread(TNotifyEvent hook)
{
    TSyncState& s = State();
    std::lock_guard lock(s.mutex);
    s.wake = std::move(hook);
}

TNotifyEvent GetWakeMainThread()
{
    TSyncState& s = State();
    std::lock_guard lock(s.mutex);
    return s.wake;
}

}  // namespace vxplan
