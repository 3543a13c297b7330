// The listeners waiting for the sub-column workers to thin out, and the deferred call that
// tells them.
#include <vxplan/overlap/vxTimeDistinctResume.h>

#include <vxplan/dataentity/vxDoLater.h>
#include <vxplan/overlap/vxTimeDistinctGenericThread.h>
#include <vxplan/platform/app/vxSync.h>
#include <vxplan/platform/core/vxExceptions.h>

#include <algorithm>
#include <exception>
#include <vector>

namespace vxplan {

// Only the user-interface thread reads or changes the list; workers reach it through the
// deferred call alone, so it needs no lock.
struct TResumeRegistry : TObject {
    std::vector<TTimeDistinctResumeListener*> armed;

    // Two methods taking turns: a deferred call is not queued again while it runs, so a
    // listener armed from inside a handler, with the count low already, is told by the other.
    void Tell(TObject*) { TellArmed(&TResumeRegistry::Retell); }
    void Retell(TObject*) { TellArmed(&TResumeRegistry::Tell); }

    void TellArmed(void (TResumeRegistry::*other)(TObject*))
    {
        // A handler may arm, disarm or free any listener: each is looked up again before it is
        // told.
        // A failing handler does not keep the others from hearing; its error goes on afterwards.
        const std::vector<TTimeDistinctResumeListener*> due = armed;
        std::exception_ptr first;
        for (TTimeDistinctResumeListener* listener : due) {
            const auto it = std::find(armed.begin(), armed.end(), listener);
            if (it == armed.end()) continue;
            armed.erase(it);
            listener->armed_ = false;
            try {
                if (listener->onResume_) listener->onResume_(nullptr);
            } catch (...) {
                if (!first) first = std::current_exception();
            }
        }
        if (!armed.empty() && TTimeDistinctGenericThread::ThreadCount() < TTimeDistinctGenericThread::ResumeThreshold())
            TDoLater::DoLater(TDoLaterCall(this, other), nullptr);
        if (first) std::rethrow_exception(first);
    }
};

namespace {

// Never destroyed: a worker freeing itself may announce while statics go away.
TResumeRegistry& Registry()
{
    static TResumeRegistry* registry = new TResumeRegistry;
    return *registry;
}

void CheckUserInterfaceThread()
{
    if (!IsMainThread()) throw EInvalidOperation("Resume listeners are armed on the main thread only");
}

}  // namespace

TTimeDistinctResumeListener::TTimeDistinctResumeListener(TNotifyEvent onResume) : onResume_(std::move(onResume)) {}

TTimeDistinctResumeListener::~TTimeDistinctResumeListener()
{
    if (!armed_) return;
    auto& armed = Registry().armed;
    armed.erase(std::remove(armed.begin(), armed.end(), this), armed.end());
}

void TTimeDistinctResumeListener::Listen()
{
    CheckUserInterfaceThread();
    if (armed_) return;
    Registry().armed.push_back(this);
    armed_ = true;
    if (TTimeDistinctGenericThread::ThreadCount() < TTimeDistinctGenericThread::ResumeThreshold()) Announce();
}

void TTimeDistinctResumeListener::Stop()
{
    CheckUserInterfaceThread();
    if (!armed_) return;
    auto& armed = Registry().armed;
    armed.erase(std::remove(armed.begin(), armed.end(), this), armed.end());
    armed_ = false;
}

void TTimeDistinctResumeListener::Announce()
{
    // Announcements that come while one is pending merge into it.
    TDoLater::DoLater(TDoLaterCall(&Registry(), &TResumeRegistry::Tell), nullptr);
}

}  // namespace vxplan
