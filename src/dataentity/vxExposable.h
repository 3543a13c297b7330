// The root of every data object: entities, lists and the objects that group them.
//
// Data objects are never deleted directly. FreeWheneverPossible first lets the object detach
// itself (CleanForFree raises the notifications its owner needs), then frees it.
#pragma once

#include <vxplan/platform/core/vxTypes.h>

namespace vxplan {

class TvxExposable : public TObject {
public:
    TvxExposable() { Initialize(); }

    // Detaches the object from whatever holds it; every descendant says how.
    virtual void CleanForFree() = 0;

    // Detaches, then frees. The object is freed even when a detach notification raises; the
    // error then goes on to the caller.
    void FreeWheneverPossible();

    bool CanDelete() const { return true; }
    bool PendingFree() const { return fPendingFree; }

    // Frees theObject when it is a data object that may be deleted now; otherwise marks it.
    static void FreeCall(TObject* theObject);

    TvxExposable* GetObjectFromInterface() { return this; }

protected:
    ~TvxExposable() override = default;

private:
    void Initialize() {}

    bool fPendingFree = false;
};

}  // namespace vxplan
