// A multicast event: any number of listeners attach to one event, and triggering the event calls
// each of them in the order they attached. Used on the user-interface thread only.
#pragma once

#include <vxplan/platform/core/vxMethod.h>
#include <vxplan/platform/core/vxTypes.h>

#include <vector>

namespace vxplan {

class TEvent;
class TSingleEventListener;

using TListenerCallback = TMethod<void(TSingleEventListener* theListener)>;

class TEvent : public TObject {
public:
    explicit TEvent(TObject* aSender);
    // Detaches every listener; those made to go with the event are freed.
    ~TEvent() override;
    TEvent(const TEvent&) = delete;
    TEvent& operator=(const TEvent&) = delete;

    // Appends the listener unless it is attached already; a listener attached to another event
    // moves here. Null is refused (EInvalidArgument).
    void AddListener(TSingleEventListener* theListener);
    // Removes it when present; its Event is nil afterwards in any case. Null does nothing.
    void RemoveListener(TSingleEventListener* theListener);
    // Calls every listener in order of attachment with Sender, this event and aParam. A
    // listener removed (or freed) by an earlier callback is not called; one added during the
    // trigger is called from the next trigger on.
    void TriggerEvent(TObject* aParam);

    TObject* Sender() const { return sender_; }
    int ListenerCount() const { return static_cast<int>(listeners_.size()); }
    TSingleEventListener* Listener(int index) const;

private:
    TObject* sender_;
    std::vector<TSingleEventListener*> listeners_;
};

class TSingleEventListener : public TObject {
public:
    // Attaches itself to anEvent (when given) first, then keeps the callback and the flag.
    TSingleEventListener(TEvent* anEvent, TListenerCallback aCallback, bool aFreeWithEvent);
    // Detaches itself from its event, when it still has one.
    ~TSingleEventListener() override;
    TSingleEventListener(const TSingleEventListener&) = delete;
    TSingleEventListener& operator=(const TSingleEventListener&) = delete;

    // Stores the three values, then calls the callback (when assigned) with this listener.
    void Trigger(TObject* aSender, TEvent* anEvent, TObject* aParam);

    TEvent* Event() const { return event_; }
    const TListenerCallback& Callback() const { return callback_; }
    void SetCallback(TListenerCallback aCallback) { callback_ = std::move(aCallback); }
    bool FreeWithEvent() const { return freeWithEvent_; }
    void SetFreeWithEvent(bool value) { freeWithEvent_ = value; }

    // The values of the most recent trigger, for the callback to read.
    TObject* LastSender() const { return lastSender_; }
    TEvent* LastEvent() const { return lastEvent_; }
    TObject* LastParam() const { return lastParam_; }

private:
    friend class TEvent;
    TEvent* event_ = nullptr;
    TListenerCallback callback_;
    bool freeWithEvent_ = false;
    TObject* lastSender_ = nullptr;
    TEvent* lastEvent_ = nullptr;
    TObject* lastParam_ = nullptr;
};

}  // namespace vxplan
