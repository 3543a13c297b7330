// Deferred calls: a method call with one object argument, queued from any thread and run later
// on the user-interface thread from its message loop, one at a time, in queue order. The same
// hidden window also runs workers' synchronized methods, so they complete even when the host's
// own loop does not run them.
//
// The wake window is made on the user-interface thread when the application object is made, and
// the wake hook is installed then; calls queued before that run once the window exists. Pending
// calls run when the application object goes away and again when the program ends.
#pragma once

#include <vxplan/platform/core/vxMethod.h>
#include <vxplan/platform/core/vxTypes.h>

#include <cstdint>

namespace vxplan {

using TDoLaterCall = TMethod<void(TObject* theData)>;

// The messages the wake window handles.
enum : unsigned {
    WM_VX_CHECKSYNCHRONIZE = 40924,  // run the workers' queued synchronized methods
    WM_VX_DOALLNOW = 40925           // run every pending deferred call
};

// Who a thread is: its id in 16 bits and the time it was first seen, as a file time.
class TThreadSyncInfo : public TObject {
public:
    // The calling thread.
    TThreadSyncInfo();
    TThreadSyncInfo(uint16_t threadId, uint64_t creationTime);

    uint16_t ThreadId() const { return threadId_; }
    uint64_t CreationTime() const { return creationTime_; }
    // Same 16-bit id and the same low 32 bits of the creation time. Null is never equal.
    bool IsEqual(const TThreadSyncInfo* other) const;

private:
    uint16_t threadId_;
    uint64_t creationTime_;
};

class TDoLater {
public:
    TDoLater() = delete;

    // Queues the call unless a call with this method and data is pending (or running). Safe
    // from any thread. The thread info is accepted and not used. An unassigned call is refused
    // (EInvalidArgument).
    static void DoLater(const TDoLaterCall& aCall, TObject* theData, TThreadSyncInfo* aThreadSyncInfo = nullptr);
    // Drops every pending call with this method, whatever its data; the running call finishes.
    // Safe from any thread.
    static void NeverMind(const TDoLaterCall& aCall);
    // Runs every pending call now, in queue order, on the user-interface thread (EInvalidOperation
    // elsewhere); calls queued meanwhile run in the same loop. A call that throws is taken out of
    // the queue first, so the error goes on to the caller and the later calls stay queued (and
    // are woken for again).
    static void DoAllNow();
    // A call with this method and data is pending or running.
    static bool AlreadyInList(const TDoLaterCall& aCall, TObject* theData);
    // The same code bound to the same receiving object.
    static bool CompareMethodPointer(const TDoLaterCall& a, const TDoLaterCall& b);
    // The wake-main-thread hook: asks the wake window to run the synchronized methods.
    static void vxWake(TObject* Sender);

    // The number of pending calls (the running one not counted).
    static int PendingCount();
    // The hidden window the messages go to; null before the application object exists.
    static void* WakeWindow();
};

}  // namespace vxplan
