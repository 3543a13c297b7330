// The multicast event and its listeners.
#include <vxplan/dataentity/vxEventHandling.h>

#include <vxplan/platform/core/vxExceptions.h>

#include <algorithm>
#include <utility>

namespace vxplan {

TEvent::TEvent(TObject* aSender) : sender_(aSender) {}

TEvent::~TEvent()
{
    // Taken out first, so a listener freed here finds no event to detach from.
    std::vector<TSingleEventListener*> listeners;
    listeners.swap(listeners_);
    for (TSingleEventListener* listener : listeners) {
        listener->event_ = nullptr;
        if (listener->freeWithEvent_) delete listener;
    }
}

void TEvent::AddListener(TSingleEventListener* theListener)
{
    if (!theListener) throw EInvalidArgument("No listener to add");
    if (theListener->event_ && theListener->event_ != this) theListener->event_->RemoveListener(theListener);
    if (std::find(listeners_.begin(), listeners_.end(), theListener) == listeners_.end())
        listeners_.push_back(theListener);
    theListener->event_ = this;
}

void TEvent::RemoveListener(TSingleEventListener* theListener)
{
    if (!theListener) return;
    const auto it = std::find(listeners_.begin(), listeners_.end(), theListener);
    if (it != listeners_.end()) listeners_.erase(it);
    theListener->event_ = nullptr;
}

void TEvent::TriggerEvent(TObject* aParam)
{
    // A callback may detach or free listeners (even itself): walk a snapshot and call only
    // those still attached at their turn.
    const std::vector<TSingleEventListener*> snapshot = listeners_;
    for (TSingleEventListener* listener : snapshot) {
        if (std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end()) continue;
        listener->Trigger(sender_, this, aParam);
    }
}

TSingleEventListener* TEvent::Listener(int index) const
{
    if (index < 0 || index >= ListenerCount()) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return listeners_[static_cast<size_t>(index)];
}

TSingleEventListener::TSingleEventListener(TEvent* anEvent, TListenerCallback aCallback, bool aFreeWithEvent)
{
    if (anEvent) anEvent->AddListener(this);
    callback_ = std::move(aCallback);
    freeWithEvent_ = aFreeWithEvent;
}

TSingleEventListener::~TSingleEventListener()
{
    if (event_) event_->RemoveListener(this);
}

void TSingleEventListener::Trigger(TObject* aSender, TEvent* anEvent, TObject* aParam)
{
    lastSender_ = aSender;
    lastEvent_ = anEvent;
    lastParam_ = aParam;
    if (callback_) callback_(this);
}

}  // namespace vxplan
