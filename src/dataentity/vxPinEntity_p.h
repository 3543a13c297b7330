// Scopes that keep entities in memory while an operation works on them: a pinned entity refuses
// to be unloaded, and a list whose unloads are held loads every requested index without first
// unloading others.
// Internal to the library and its tests, not part of the vxplan API: hosts do not include it.
#pragma once

#include <vxplan/dataentity/vxDataEntityPack.h>

namespace vxplan {

class TvxPinEntity {
public:
    explicit TvxPinEntity(TvxDataEntity* e) : fEntity(e) { ++fEntity->fPins; }
    ~TvxPinEntity() { --fEntity->fPins; }
    TvxPinEntity(const TvxPinEntity&) = delete;
    TvxPinEntity& operator=(const TvxPinEntity&) = delete;

    static bool IsPinned(const TvxDataEntity* e) { return e->fPins > 0; }

private:
    TvxDataEntity* fEntity;
};

class TvxHoldUnloads {
public:
    explicit TvxHoldUnloads(TvxDataList* list) : fList(list) { ++fList->fHoldUnloads; }
    ~TvxHoldUnloads() { --fList->fHoldUnloads; }
    TvxHoldUnloads(const TvxHoldUnloads&) = delete;
    TvxHoldUnloads& operator=(const TvxHoldUnloads&) = delete;

private:
    TvxDataList* fList;
};

}  // namespace vxplan
