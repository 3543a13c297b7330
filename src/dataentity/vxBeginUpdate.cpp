// The update guard.
#include <vxplan/dataentity/vxBeginUpdate.h>

#include <utility>

namespace vxplan {

TvxBeginUpdate::TvxBeginUpdate(TvxUpdateCall aOnBegin, TvxUpdateCall aOnEnd)
    : onBegin_(std::move(aOnBegin)), onEnd_(std::move(aOnEnd))
{
}

TvxBeginUpdate::~TvxBeginUpdate()
{
    if (marked_ && onEnd_) onEnd_();
}

void TvxBeginUpdate::Mark()
{
    if (marked_) return;
    if (onBegin_) onBegin_();
    marked_ = true;
}

}  // namespace vxplan
