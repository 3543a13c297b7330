// A controller that writes every notification it receives into a log, and an entity class that
// numbers its instances, so tests can compare exact notification sequences.
#pragma once

#include <vxplan/dataentity/vxDataEntityPack.h>

#include <string>
#include <vector>

namespace vxplan::test {

class TNumberedEntity : public TvxDataEntity {
public:
    TNumberedEntity() : Id(NextId()++) {}
    static int& NextId()
    {
        static int next = 1;
        return next;
    }
    int Id;
    int Key = 0;
};

// 0 for entities of other classes.
inline int IdOf(const TvxDataEntity* e)
{
    const auto* n = dynamic_cast<const TNumberedEntity*>(e);
    return n ? n->Id : 0;
}

struct TListRecorder {
    explicit TListRecorder(const std::string& name = "L") : Name(name)
    {
        auto ent = [](const char* what, TListRecorder* r) {
            return [what, r](TvxDataEntity* e) { r->Out->push_back(std::string(what) + " " + std::to_string(IdOf(e))); };
        };
        C.OnDeleteItem = ent("delete", this);
        C.OnInsertItem = ent("insert", this);
        C.OnEnterOwnerAfterChange = ent("enter", this);
        C.OnLeaveOwnerBeforeChange = ent("leave", this);
        C.OnVisibleChanged = ent("visible", this);
        C.OnInfoPush = ent("info", this);
        C.OnLoadItem = [this](TvxDataEntity* e) {
            Out->push_back("load " + std::to_string(IdOf(e)) + "@" + std::to_string(e->ListIndex()));
        };
        C.OnContentChanged = [this](TvxDataList*) { Out->push_back("content " + Name); };
        C.OnUnLoadedContentChanged = [this](TvxDataList*) { Out->push_back("unloaded " + Name); };
        C.OnSelectionChanged = [this](TvxDataList*, TvxDataEntity* e) {
            Out->push_back("select " + std::to_string(IdOf(e)) + (e->GetSelected() ? "+" : "-"));
        };
        C.OnHandlePerformedMove = [this](TvxDataEntity* e, int a, int b) {
            Out->push_back("move " + std::to_string(IdOf(e)) + " " + std::to_string(a) + ">" + std::to_string(b));
        };
        C.OnUnloadItem = [this](TvxDataEntity*, bool& can) { can = AllowUnload; };
    }
    std::vector<std::string> Take()
    {
        std::vector<std::string> out;
        out.swap(Log);
        return out;
    }

    std::string Name;
    TvxListController C;
    std::vector<std::string> Log;
    // Where notifications are written: several lists may share one log to check their order.
    std::vector<std::string>* Out = &Log;
    bool AllowUnload = true;
};

// Lists are freed through FreeWheneverPossible only; this holder does it at scope end.
struct TListHolder {
    TListHolder(TvxListController* c) : List(new TvxDataList) { List->AfterCreate(c, EntityClassOf<TNumberedEntity>()); }
    ~TListHolder() { List->FreeWheneverPossible(); }
    TvxDataList* operator->() const { return List; }
    TvxDataList* List;
};

}  // namespace vxplan::test
