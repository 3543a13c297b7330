// Telling callers that stopped at the worker limit when the sub-column workers have thinned out.
//
// A caller that found MaxThreads workers alive holds its requests back and listens. Once the
// live count has fallen below ResumeThreshold, every listener that is armed then is told, on the
// user-interface thread, through a deferred call: the count drops on whichever thread frees a
// worker (a worker left to free itself does so on its own thread), and the drop may come from a
// worker nobody waits for any more, so the callers' own done handlers cannot be relied on.
#pragma once

#include <vxplan/platform/core/vxMethod.h>

namespace vxplan {

class TTimeDistinctResumeListener {
public:
    explicit TTimeDistinctResumeListener(TNotifyEvent onResume);
    ~TTimeDistinctResumeListener();
    TTimeDistinctResumeListener(const TTimeDistinctResumeListener&) = delete;
    TTimeDistinctResumeListener& operator=(const TTimeDistinctResumeListener&) = delete;

    // Arms the listener for one notification (arming it again changes nothing). When fewer than
    // ResumeThreshold workers are alive already, the notification is queued at once, so a
    // listener armed late is not left waiting for a drop that has happened. OnResume is raised
    // with the listener disarmed, so it may arm it again. User-interface thread only.
    void Listen();
    // Disarms; a notification on its way is not delivered. User-interface thread only.
    void Stop();
    bool Listening() const { return armed_; }

    // The live count has just fallen below the threshold: queues the notification. Any thread.
    static void Announce();

private:
    friend struct TResumeRegistry;
    TNotifyEvent onResume_;
    bool armed_ = false;
};

}  // namespace vxplan
