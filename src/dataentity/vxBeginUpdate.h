// A guard around a batch of possible changes: the begin handler runs just before the first real
// change and the end handler when the guard goes away, so a batch that changed nothing costs no
// begin/end pair (and no repaint).
#pragma once

#include <vxplan/platform/core/vxMethod.h>

namespace vxplan {

using TvxUpdateCall = TMethod<void()>;

class TvxBeginUpdate {
public:
    TvxBeginUpdate(TvxUpdateCall aOnBegin, TvxUpdateCall aOnEnd);
    // Calls the end handler when the guard was marked; also when an error leaves the batch, so
    // a begun update is always ended. An end handler must not throw.
    ~TvxBeginUpdate();
    TvxBeginUpdate(const TvxBeginUpdate&) = delete;
    TvxBeginUpdate& operator=(const TvxBeginUpdate&) = delete;

    // Call just before each actual change; only the first call runs the begin handler. When the
    // begin handler throws, the guard stays unmarked, so no end handler runs for a batch that
    // never began.
    void Mark();
    bool Marked() const { return marked_; }

private:
    TvxUpdateCall onBegin_;
    TvxUpdateCall onEnd_;
    bool marked_ = false;
};

}  // namespace vxplan
