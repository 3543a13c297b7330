// The tree control: construction, the list callbacks and the host's operations on the content.
#include <vxplan/tree/vxTree.h>

#include <vxplan/platform/core/vxExceptions.h>
#include <vxplan/platform/core/vxFirstError.h>
#include <vxplan/platform/core/vxFlagScope.h>

namespace vxplan {

TvxTree_ComBasic::TvxTree_ComBasic(TComponent* AOwner) : TvxTree_ComBasic(AOwner, TvxTreeClasses{}) {}

TvxTree_ComBasic::TvxTree_ComBasic(TComponent* AOwner, const TvxTreeClasses& classes)
    : TCustomTreeView(AOwner), fClasses(classes)
{
    Initialize();
}

void TvxTree_ComBasic::Initialize()
{
    Items().Clear();
    DataLists = fClasses.CreateDataList2Lev();
    DataLists->AfterCreate();
    fInExpand = false;
    MaxLevels = -1;
    SetHideSelection(false);
    MultiSelect = false;
    fShiftAnchor = nullptr;
    Controller = new TvxListController_Tree;
    Controller->Tree = this;
    RootList = NewList(nullptr);

    Controller->OnDeleteItem = TOnDataEntityNotify(this, &TvxTree_ComBasic::_DeleteItem);
    Controller->OnInsertItem = TOnDataEntityNotify(this, &TvxTree_ComBasic::_InsertItem);
    Controller->OnEnterOwnerAfterChange = TOnDataEntityNotify(this, &TvxTree_ComBasic::_EnterOwnerAfterChange);
    Controller->OnLeaveOwnerBeforeChange = TOnDataEntityNotify(this, &TvxTree_ComBasic::_LeaveOwnerBeforeChange);
    Controller->OnSortCompare = TOnEntityCompare(this, &TvxTree_ComBasic::_SortCompare);
    Controller->OnHandlePerformedMove = TOnHandlePerformedMove(this, &TvxTree_ComBasic::_OnHandlePerformedMove);
    Controller->OnSelectionChanged = TOnDataListDataEntityNotify(this, &TvxTree_ComBasic::_SelectionChanged);
    Controller->OnContentChanged = TOnDataListNotify(this, &TvxTree_ComBasic::_ContentChanged);
    Controller->OnVisibleChanged = TOnDataEntityNotify(this, &TvxTree_ComBasic::_OnVisibleChanged);
    Controller->OnBeforeCanEditItem = TOnDataEntityNotify(this, &TvxTree_ComBasic::_OnBeforeCanEditItem);
    Controller->OnInfoPush = TOnDataEntityNotify(this, &TvxTree_ComBasic::_OnInfoPush);
    OnCustomDrawItem = TTVCustomDrawItemEvent(this, &TvxTree_ComBasic::vxCustomDrawItem);
}

TvxTree_ComBasic::~TvxTree_ComBasic()
{
    fPendingCurrent = nullptr;
    EnsureDisplayUpToDate();
    fBeingDestroyed = true;
    BeginDestroy();
    // The nodes go first, all at once, while their entities are whole; the entities then have
    // no nodes left to queue.
    Items().Clear();
    Clear();
    RootList->FreeWheneverPossible();
    RootList = nullptr;
    DataLists->FreeWheneverPossible();
    DataLists = nullptr;
    // The nodes refer to the entities' tree; they go while the control is whole.
    Items().Clear();
    delete Controller;
    Controller = nullptr;
    TDoLater::NeverMind(TDoLaterCall(this, &TvxTree_ComBasic::DoSetCurrent));
    TDoLater::NeverMind(TDoLaterCall(this, &TvxTree_ComBasic::CheckSelectedIsFocused));
}

TvxDataList_Tree* TvxTree_ComBasic::NewList(TvxDataEntity_Tree* owner)
{
    TvxDataList_Tree* list = fClasses.DataListClass();
    list->AfterCreate(Controller, fClasses.DataEntityClass);
    list->OwnerEntity = owner;
    DataLists->Add(list);
    return list;
}

void TvxTree_ComBasic::CheckOwnEntity(const TvxDataEntity_Tree* entity, const char* what) const
{
    if (entity && entity->Tree() != this)
        throw EInvalidArgument(std::string("Cannot ") + what + " an entity that is not in this tree");
}

// ---- List callbacks ----

// Every list that reports to this tree's controller was made by NewList, so the callbacks know
// their lists' and entities' classes.
void TvxTree_ComBasic::_InsertItem(TvxDataEntity* entity)
{
    auto* e = static_cast<TvxDataEntity_Tree*>(entity);
    e->Children = NewList(e);
    static_cast<TvxDataList_Tree*>(e->GetDataList())->NeedsSort = true;
    if (OnInsertItem) OnInsertItem(this, e);
    DisplayOutOfDate();
}

void TvxTree_ComBasic::_DeleteItem(TvxDataEntity* entity)
{
    auto* e = static_cast<TvxDataEntity_Tree*>(entity);
    if (fPendingCurrent == e) fPendingCurrent = nullptr;
    if (fLastTopEntity == e) fLastTopEntity = nullptr;
    // The entity goes whatever the host's handlers do: its nodes and children's list are let go
    // in any case, and a handler's error goes on afterwards.
    TFirstError error;
    error.Run([&] {
        if (OnDataEntityDelete) OnDataEntityDelete(this, e);
        if (OnDeleteItem) OnDeleteItem(this, e);
    });
    CleanTreeNode(e);
    if (TvxDataList_Tree* children = e->Children) {
        e->Children = nullptr;
        children->OwnerEntity = nullptr;
        // While everything goes, Clear frees the lists itself (removing each from DataLists
        // one by one would cost the square of their number).
        if (!fClearing) {
            DataLists->Remove(children);
            children->FreeWheneverPossible();
        }
    }
    DisplayOutOfDate();
    error.Rethrow();
}

void TvxTree_ComBasic::_OnHandlePerformedMove(TvxDataEntity* entity, int, int)
{
    auto* e = static_cast<TvxDataEntity_Tree*>(entity);
    EnsureDisplayUpToDate();
    // The node is made again at the entity's new place; its placeholder goes with the old one.
    ReleaseNodes(e);
    static_cast<TvxDataList_Tree*>(e->GetDataList())->NeedsSort = true;
    DisplayOutOfDate();
}

void TvxTree_ComBasic::_EnterOwnerAfterChange(TvxDataEntity* entity)
{
    auto* e = static_cast<TvxDataEntity_Tree*>(entity);
    auto* list = dynamic_cast<TvxDataList_Tree*>(e->GetDataList());
    if (list) list->NeedsSort = true;
    TvxDataEntity_Tree* owner = list ? list->OwnerEntity : nullptr;
    if (owner && e->TreeNode) {
        if (owner->TreeNode && !owner->TreeNode->Deleting() && !e->TreeNode->Deleting())
            e->TreeNode->MoveTo(owner->TreeNode, TNodeAttachMode::naAddChild);
        else
            CleanTreeNode(e);  // the new owner has no node to take it: it is made again when shown
    } else if (e->TreeNode) {
        // Back at the root level: the node is made again there.
        CleanTreeNode(e);
    }
    DisplayOutOfDate();
}

void TvxTree_ComBasic::_LeaveOwnerBeforeChange(TvxDataEntity*) {}

void TvxTree_ComBasic::_OnVisibleChanged(TvxDataEntity*) {}

void TvxTree_ComBasic::_SelectionChanged(TvxDataList* list, TvxDataEntity* entity)
{
    auto* e = static_cast<TvxDataEntity_Tree*>(entity);
    if (e) {
        EnsureDisplayUpToDate();
        // Setting the caption again repaints the node in its new state.
        if (e->TreeNode) {
            e->TreeNode->SetText(e->Text);
            Invalidate();
        }
    }
    if (OnSelectionChanged) OnSelectionChanged(this, list, e);
}

void TvxTree_ComBasic::_ContentChanged(TvxDataList* list)
{
    DisplayOutOfDate();
    if (OnContentChanged) OnContentChanged(this, list);
}

int TvxTree_ComBasic::_SortCompare(TvxDataEntity* e1, TvxDataEntity* e2)
{
    return OnSortCompare ? OnSortCompare(e1, e2) : 0;
}

void TvxTree_ComBasic::_OnInfoPush(TvxDataEntity* entity)
{
    if (OnValueChanged) OnValueChanged(this, entity);
}

void TvxTree_ComBasic::_OnBeforeCanEditItem(TvxDataEntity* entity)
{
    if (OnBeforeCanEditItem) OnBeforeCanEditItem(this, entity);
}

bool TvxTree_ComBasic::NeedsDummyNode(TvxDataEntity_Tree*) { return true; }

// ---- Host operations ----

TvxDataEntity_Tree* TvxTree_ComBasic::AddDataEntity(TvxDataEntity_Tree* parent)
{
    CheckOwnEntity(parent, "add to");
    TvxDataList_Tree* list = parent ? parent->Children : RootList;
    if (!list) throw EInvalidOperation("Cannot add to an entity that is leaving the tree");
    return static_cast<TvxDataEntity_Tree*>(list->Add());
}

TvxDataEntity_Tree* TvxTree_ComBasic::InsertDataEntity(TvxDataEntity_Tree* parent, int index)
{
    CheckOwnEntity(parent, "insert into");
    TvxDataList_Tree* list = parent ? parent->Children : RootList;
    if (!list) throw EInvalidOperation("Cannot insert into an entity that is leaving the tree");
    return static_cast<TvxDataEntity_Tree*>(list->Insert(index));
}

void TvxTree_ComBasic::RemoveDataEntity(TvxDataEntity_Tree* entity)
{
    if (!entity || !entity->GetDataList()) return;
    CheckOwnEntity(entity, "remove");
    if (TTreeNode* selected = GetSelected(); selected && selected == entity->TreeNode) SetSelected(nullptr);
    entity->GetDataList()->Remove(entity);
}

void TvxTree_ComBasic::ChangeOwner(TvxDataEntity_Tree* entity, TvxDataEntity_Tree* newParent)
{
    if (!entity || !newParent || entity == newParent || !newParent->Children) return;
    CheckOwnEntity(entity, "move");
    CheckOwnEntity(newParent, "move into");
    // An entity cannot go under itself: the branch would form a loop cut off from the root.
    for (const TvxDataEntity_Tree* p = newParent->ParentNode(); p; p = p->ParentNode())
        if (p == entity) return;
    entity->TvxDataEntity::ChangeOwner(newParent->Children, newParent->Children->LoadedCount());
}

void TvxTree_ComBasic::Clear()
{
    const bool destroying = fBeingDestroyed;
    const TFlagScope clearing(fClearing);
    RootList->Clear();
    // The lists of the deleted entities are emptied before any is freed, also when the control
    // goes: an entity freed with its list must not still point at children freed before it.
    for (int i = DataLists->Count() - 1; i >= 1; --i)
        if (TvxDataList* list = DataLists->GetDataList(i)) list->Clear();
    for (int i = DataLists->Count() - 1; i >= 1; --i)
        if (TvxDataList* list = DataLists->GetDataList(i)) list->FreeWheneverPossible();
    DataLists->Clear();
    if (!destroying) DataLists->Add(RootList);
}

TvxDataEntity_Tree* TvxTree_ComBasic::GetDataEntityFromNode(TTreeNode* node) const
{
    if (!node) return nullptr;
    return dynamic_cast<TvxDataEntity_Tree*>(static_cast<TObject*>(node->GetData()));
}

TvxDataEntity_Tree* TvxTree_ComBasic::GetDataEntityAt(int x, int y)
{
    EnsureDisplayUpToDate();
    return GetDataEntityFromNode(GetNodeAt(x, y));
}

TvxDataEntity_Tree* TvxTree_ComBasic::GetDataEntityFromRow(int row)
{
    if (row < 0) return nullptr;
    // Pre-order without recursion: (list, next index) pairs.
    std::vector<std::pair<TvxDataList_Tree*, int>> stack{{RootList, 0}};
    while (!stack.empty()) {
        auto& [list, i] = stack.back();
        if (i >= list->Count()) {
            stack.pop_back();
            continue;
        }
        TvxDataEntity_Tree* e = list->Item(i++);
        if (!e || !e->GetVisible()) continue;
        if (row-- == 0) return e;
        if (e->Children && e->Children->Count() > 0) stack.push_back({e->Children, 0});
    }
    return nullptr;
}

TvxDataEntity_Tree* TvxTree_ComBasic::GetNextVisible(TvxDataEntity_Tree* entity)
{
    if (!entity) return nullptr;
    EnsureDisplayUpToDate();
    if (!entity->TreeNode) return entity;
    return GetDataEntityFromNode(entity->TreeNode->GetNextVisible());
}

TvxDataEntity_Tree* TvxTree_ComBasic::GetPrevVisible(TvxDataEntity_Tree* entity)
{
    if (!entity) return nullptr;
    EnsureDisplayUpToDate();
    if (!entity->TreeNode) return entity;
    return GetDataEntityFromNode(entity->TreeNode->GetPrevVisible());
}

TRect TvxTree_ComBasic::GetRect(TvxDataEntity_Tree* entity)
{
    if (!entity) return kNoRect;
    EnsureDisplayUpToDate();
    if (!entity->TreeNode || !entity->TreeNode->IsVisible()) return kNoRect;
    const TRect r = entity->TreeNode->DisplayRect(true);
    return r.IsEmpty() ? kNoRect : r;
}

void TvxTree_ComBasic::ExpandLevels(int n)
{
    const int saved = AutoExpandLevels;
    AutoExpandLevels = n;
    try {
        HandleAutoExpand();
    } catch (...) {
        AutoExpandLevels = saved;
        throw;
    }
    AutoExpandLevels = saved;
}

void TvxTree_ComBasic::SetAutoExpandLevels(int n)
{
    AutoExpandLevels = n;
    DisplayOutOfDate();
}

void TvxTree_ComBasic::SetMaxLevels(int n)
{
    MaxLevels = n;
    DisplayOutOfDate();
}

void TvxTree_ComBasic::SetFocus() { TCustomTreeView::SetFocus(); }

}  // namespace vxplan
