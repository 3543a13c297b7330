// The deferred-call queue, its wake window and the thread identity.
//
// The queue is guarded by one critical section, held only while the queue is read or changed:
// the calls themselves run outside it, so a call may wait for a worker that is queueing calls
// of its own without a deadlock. A lookup table on (receiver, data) keeps the "already pending"
// test cheap when many calls are waiting.
#include <vxplan/dataentity/vxDoLater.h>

#include <vxplan/platform/app/vxMessages.h>
#include <vxplan/platform/app/vxSync.h>
#include <vxplan/platform/core/vxExceptions.h>
#include <vxplan/platform/time/vxDateUtils.h>

#include <QCoreApplication>

#include <atomic>
#include <chrono>
#include <functional>
#include <list>
#include <unordered_map>
#include <utility>
#include <vector>

namespace vxplan {

namespace {

struct TDoLaterContainer {
    TDoLaterCall Call;
    TObject* Data = nullptr;
    TDateTime QueuedAt = 0;
};

using TPendingList = std::list<TDoLaterContainer>;
using TKey = std::pair<const void*, const TObject*>;

struct TKeyHash {
    size_t operator()(const TKey& k) const
    {
        const size_t a = std::hash<const void*>()(k.first);
        const size_t b = std::hash<const TObject*>()(k.second);
        return a ^ (b + 0x9E3779B97F4A7C15ull + (a << 6) + (a >> 2));
    }
};

TKey KeyOf(const TDoLaterCall& call, const TObject* data)
{
    return {call.Data(), data};
}

// Days since 30 December 1899 by the system clock, in UTC.
TDateTime SystemClockDays()
{
    using namespace std::chrono;
    const double seconds = duration<double>(system_clock::now().time_since_epoch()).count();
    return seconds / 86400.0 + 25569.0;
}

// Local time minus UTC, taken on the user-interface thread when the application starts: workers
// stamp their calls from the system clock plus this, since reading the local time zone from
// several threads at once is not safe in the C library.
std::atomic<double> localOffsetDays{0.0};

TDateTime QueueTime()
{
    return SystemClockDays() + localOffsetDays.load(std::memory_order_relaxed);
}

// The hidden window on the user-interface thread that the wake messages go to.
class TDoLaterWindow final : public TMessageTarget {
public:
    void WndProc(TMessage& message) override;
};

// The wake window with the identity of the thread that made it.
struct TDoLaterWinPerThread {
    TDoLaterWindow Window;
    TThreadSyncInfo ThreadInfo;
};

struct TDoLaterState {
    TCriticalSection section;
    TPendingList pending;
    std::unordered_multimap<TKey, TPendingList::iterator, TKeyHash> index;
    // The calls running now, innermost last (a call may run DoAllNow itself).
    std::vector<const TDoLaterContainer*> running;
    // A run message is on its way: later calls need not post another.
    bool runPosted = false;
    std::vector<TDoLaterWinPerThread*> windows;
    std::atomic<TDoLaterWindow*> wakeWindow{nullptr};
};

// Never destroyed: workers may queue calls while statics go away.
TDoLaterState& State()
{
    static TDoLaterState* state = new TDoLaterState;
    return *state;
}

class TSectionLock {
public:
    explicit TSectionLock(TCriticalSection& section) : section_(section) { section_.Enter(); }
    ~TSectionLock() { section_.Leave(); }
    TSectionLock(const TSectionLock&) = delete;
    TSectionLock& operator=(const TSectionLock&) = delete;

private:
    TCriticalSection& section_;
};

// Under the section: whether a run message must be posted now.
bool NeedRunMessage(TDoLaterState& s)
{
    if (s.runPosted || s.pending.empty() || !s.wakeWindow.load()) return false;
    s.runPosted = true;
    return true;
}

void PostRunMessage(TDoLaterState& s)
{
    PostMessage(s.wakeWindow.load(), WM_VX_DOALLNOW, 0, 0);
}

void EraseFromIndex(TDoLaterState& s, TPendingList::iterator it)
{
    auto [first, last] = s.index.equal_range(KeyOf(it->Call, it->Data));
    for (auto i = first; i != last; ++i)
        if (i->second == it) {
            s.index.erase(i);
            return;
        }
}

void TDoLaterWindow::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_VX_CHECKSYNCHRONIZE: CheckSynchronize(); break;
    case WM_VX_DOALLNOW: {
        TDoLaterState& s = State();
        {
            TSectionLock lock(s.section);
            s.runPosted = false;
        }
        TDoLater::DoAllNow();
        break;
    }
    default: TMessageTarget::WndProc(message); break;
    }
}

void RunPendingQuietly()
{
    // Nobody is left to report to: a failing call is dropped and the rest still run.
    for (;;) {
        try {
            TDoLater::DoAllNow();
            return;
        } catch (...) {
        }
    }
}

const TNotifyEvent& WakeHook()
{
    static const TNotifyEvent hook([](TObject* Sender) { TDoLater::vxWake(Sender); });
    return hook;
}

// When the application object is made: the wake window on its (the user-interface) thread,
// and the wake hook that posts to it.
void OnApplicationCreated()
{
    TDoLaterState& s = State();
    localOffsetDays = Now() - SystemClockDays();
    bool post = false;
    {
        TSectionLock lock(s.section);
        if (s.windows.empty()) {
            auto* window = new TDoLaterWinPerThread;
            s.windows.push_back(window);
            s.wakeWindow = &window->Window;
        }
        post = NeedRunMessage(s);
    }
    SetWakeMainThread(WakeHook());
    if (post) PostRunMessage(s);
}

// When the application object goes away: the pending calls run, then the window goes.
void OnApplicationDestroyed()
{
    TDoLaterState& s = State();
    RunPendingQuietly();
    // A hook the host put in place of ours stays.
    if (GetWakeMainThread() == WakeHook()) SetWakeMainThread(TNotifyEvent());
    std::vector<TDoLaterWinPerThread*> windows;
    {
        TSectionLock lock(s.section);
        s.wakeWindow = nullptr;
        windows.swap(s.windows);
        s.runPosted = false;
    }
    for (TDoLaterWinPerThread* window : windows) delete window;
}

const bool hooksRegistered = (qAddPreRoutine(OnApplicationCreated), qAddPostRoutine(OnApplicationDestroyed), true);

// Calls queued after the application object went away still run when the program ends.
struct TFinalRun {
    ~TFinalRun()
    {
        if (IsMainThread()) RunPendingQuietly();
    }
} finalRun;

uint64_t FileTimeNow()
{
    // 100-nanosecond steps since 1 January 1601.
    using namespace std::chrono;
    const auto sinceEpoch = duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count();
    return static_cast<uint64_t>(sinceEpoch / 100) + 116444736000000000ull;
}

// The moment the thread first asked who it is: the best stand-in for its creation time.
uint64_t ThreadCreationTime()
{
    thread_local const uint64_t created = FileTimeNow();
    return created;
}

}  // namespace

TThreadSyncInfo::TThreadSyncInfo()
    : threadId_(static_cast<uint16_t>(GetCurrentThreadId() & 0xFFFF)), creationTime_(ThreadCreationTime())
{
}

TThreadSyncInfo::TThreadSyncInfo(uint16_t threadId, uint64_t creationTime)
    : threadId_(threadId), creationTime_(creationTime)
{
}

bool TThreadSyncInfo::IsEqual(const TThreadSyncInfo* other) const
{
    return other && other->threadId_ == threadId_ &&
           static_cast<uint32_t>(other->creationTime_) == static_cast<uint32_t>(creationTime_);
}

void TDoLater::DoLater(const TDoLaterCall& aCall, TObject* theData, TThreadSyncInfo*)
{
    if (!aCall) throw EInvalidArgument("No call to do later");
    TDoLaterState& s = State();
    const TDateTime queuedAt = QueueTime();
    bool post = false;
    {
        TSectionLock lock(s.section);
        if (AlreadyInList(aCall, theData)) return;
        s.pending.push_back({aCall, theData, queuedAt});
        s.index.emplace(KeyOf(aCall, theData), std::prev(s.pending.end()));
        post = NeedRunMessage(s);
    }
    if (post) PostRunMessage(s);
}

void TDoLater::NeverMind(const TDoLaterCall& aCall)
{
    TDoLaterState& s = State();
    TSectionLock lock(s.section);
    // The running calls are out of the list already, so they are left to finish.
    for (auto it = s.pending.begin(); it != s.pending.end();) {
        if (CompareMethodPointer(it->Call, aCall)) {
            EraseFromIndex(s, it);
            it = s.pending.erase(it);
        } else {
            ++it;
        }
    }
}

void TDoLater::DoAllNow()
{
    if (!IsMainThread()) throw EInvalidOperation("Deferred calls run on the main thread only");
    TDoLaterState& s = State();
    for (;;) {
        TDoLaterContainer current;
        {
            TSectionLock lock(s.section);
            if (s.pending.empty()) return;
            EraseFromIndex(s, s.pending.begin());
            current = std::move(s.pending.front());
            s.pending.pop_front();
            s.running.push_back(&current);
        }
        try {
            current.Call(current.Data);
        } catch (...) {
            // The failing call is out of the queue and no longer current; the later calls get
            // a run message of their own before the error goes on.
            bool post = false;
            {
                TSectionLock lock(s.section);
                s.running.pop_back();
                post = NeedRunMessage(s);
            }
            if (post) PostRunMessage(s);
            throw;
        }
        TSectionLock lock(s.section);
        s.running.pop_back();
    }
}

bool TDoLater::AlreadyInList(const TDoLaterCall& aCall, TObject* theData)
{
    TDoLaterState& s = State();
    TSectionLock lock(s.section);
    for (const TDoLaterContainer* running : s.running)
        if (running->Data == theData && CompareMethodPointer(running->Call, aCall)) return true;
    auto [first, last] = s.index.equal_range(KeyOf(aCall, theData));
    for (auto i = first; i != last; ++i)
        if (i->second->Data == theData && CompareMethodPointer(i->second->Call, aCall)) return true;
    return false;
}

bool TDoLater::CompareMethodPointer(const TDoLaterCall& a, const TDoLaterCall& b)
{
    return a == b;
}

void TDoLater::vxWake(TObject*)
{
    if (TDoLaterWindow* window = State().wakeWindow.load()) PostMessage(window, WM_VX_CHECKSYNCHRONIZE, 0, 0);
}

int TDoLater::PendingCount()
{
    TDoLaterState& s = State();
    TSectionLock lock(s.section);
    return static_cast<int>(s.pending.size());
}

void* TDoLater::WakeWindow()
{
    return State().wakeWindow.load();
}

}  // namespace vxplan
