// TvxExposable: the root data object's life and its free notifications.
#include <vxplan/dataentity/vxExposable.h>

namespace vxplan {

void TvxExposable::FreeWheneverPossible()
{
    try {
        CleanForFree();
    } catch (...) {
        FreeCall(this);
        throw;
    }
    FreeCall(this);
}

void TvxExposable::FreeCall(TObject* theObject)
{
    auto* exposable = dynamic_cast<TvxExposable*>(theObject);
    if (!exposable) return;
    if (exposable->CanDelete())
        delete exposable;
    else
        exposable->fPendingFree = true;
}

}  // namespace vxplan
