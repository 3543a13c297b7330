// The display update: one pass that brings the platform's nodes in step with the entities, and
// the expansion and collapse of nodes.
//
// Call flow: a change marks the display out of date (DisplayOutOfDate) -> the next paint or node
// query runs EnsureDisplayUpToDate -> UpdateDisplay synchronises every root entity's node
// (SyncNode, recursive, stopping at collapsed entities that still have their placeholder), frees
// the nodes queued for deletion, and re-orders nodes whose lists changed order (SortPass).
// The node collection enters update mode only at the first real change (the marker).
#include <vxplan/tree/vxTree.h>

#include <vxplan/dataentity/vxBeginUpdate.h>
#include <vxplan/platform/core/vxFlagScope.h>

namespace vxplan {

namespace {

// The placeholder child of an entity whose children are not known yet.
const char* const kDummyCaption = "Not initiated";

}  // namespace

void TvxTree_ComBasic::DisplayOutOfDate()
{
    fDisplayOutOfDate = true;
    Invalidate();
}

void TvxTree_ComBasic::EnsureDisplayUpToDate()
{
    if (!fDisplayOutOfDate || fInDisplayUpdate || fInExpand) return;
    fDisplayOutOfDate = false;
    if (fNodesCreatedElsewhere) {
        // Nodes the host made through Items have no entity: start again from the entities.
        Items().Clear();
        fNodesCreatedElsewhere = false;
    }
    UpdateDisplay();
    fDisplayOutOfDate = false;
    HandleAutoExpand();
}

void TvxTree_ComBasic::UpdateDisplay()
{
    if (fBeingDestroyed) return;
    const TFlagScope inUpdate(fInDisplayUpdate);
    fSavedSelected = GetSelected();
    fSavedTop = TCustomTreeView::GetTopItem();
    BeginHorzScrollUpdate();
    {
        TvxBeginUpdate marker([this] { Items().BeginUpdate(); }, [this] { Items().EndUpdate(); });
        for (int i = 0; i < RootList->Count(); ++i) {
            auto* e = RootList->Item(i);
            SyncNode(e->TreeNode, e, marker);
        }
        FreePendingNodes(marker);
        SortPass(RootList, marker);
        if (fSavedSelected != GetSelected()) SetSelected(fSavedSelected);
        if (fSavedTop && fSavedTop != TCustomTreeView::GetTopItem()) TCustomTreeView::SetTopItem(fSavedTop);
        fSavedSelected = nullptr;
        fSavedTop = nullptr;
        EndHorzScrollUpdate();
    }
}

void TvxTree_ComBasic::SyncNode(TTreeNode* node, TvxDataEntity_Tree* e, TvxBeginUpdate& marker)
{
    if (e && e->HideNode) {
        if (!node && !e->DummyNode) return;
        marker.Mark();
        CleanTreeNode(e);
        return;
    }
    if (!node && e) {
        TvxDataEntity_Tree* p = e->ParentNode();
        TTreeNode* pn = p ? p->TreeNode : nullptr;
        if (p && p->DummyNode) {
            node = p->DummyNode;
            p->DummyNode = nullptr;
            node->SetData(static_cast<TObject*>(e));
        } else {
            marker.Mark();
            node = Items().AddChildObject(pn, e->Text, static_cast<TObject*>(e));
            // Added last among its siblings: a node made again (after hiding, say) must go back
            // to its place.
            if (auto* list = dynamic_cast<TvxDataList_Tree*>(e->GetDataList())) list->NeedsSort = true;
            if (pn && p->Expanded && !pn->GetExpanded()) pn->SetExpanded(true);
        }
        if (e->Children && e->Children->Count() == 0 && !e->DummyNode && NeedsDummyNode(e) &&
            (MaxLevels == -1 || node->GetLevel() < MaxLevels - 1)) {
            marker.Mark();
            e->DummyNode = Items().AddChildObject(node, kDummyCaption, nullptr);
        }
    }
    if (node && !e) {
        marker.Mark();
        for (int i = node->GetCount() - 1; i >= 0; --i) SyncNode(node->GetItem(i), nullptr, marker);
        RemoveNode(node);
        return;
    }
    if (!node) return;

    e->TreeNode = node;
    node->SetData(static_cast<TObject*>(e));
    if (node->GetText() != e->Text) node->SetText(e->Text);
    if (node->GetImageIndex() != e->ImageIndex) node->SetImageIndex(e->ImageIndex);
    if (node->GetSelectedIndex() != e->SelectedIndex) node->SetSelectedIndex(e->SelectedIndex);
    if (node->GetExpanded() != e->Expanded) {
        node->SetExpanded(e->Expanded);
        // The entity may have gone in a handler of the expansion.
        if (e->TreeNode != node) return;
    }
    if (!node->IsVisible() && e->DummyNode) return;
    if (TvxDataList_Tree* children = e->Children)
        for (int i = 0; i < children->Count(); ++i) {
            auto* c = children->Item(i);
            SyncNode(c->TreeNode, c, marker);
        }
}

void TvxTree_ComBasic::FreePendingNodes(TvxBeginUpdate& marker)
{
    // In the order queued: lists delete their entities last to first, so their nodes leave the
    // ends of the sibling lists and each removal is cheap.
    for (size_t i = 0; i < fPendingOrder.size(); ++i) {
        TTreeNode* node = fPendingOrder[i];
        if (!fPending.erase(node)) continue;  // freed meanwhile with its parent
        marker.Mark();
        if (node == fSavedSelected) fSavedSelected = nullptr;
        if (node == fSavedTop) fSavedTop = nullptr;
        if (!node->Deleting()) delete node;
    }
    fPendingOrder.clear();
    fPending.clear();
}

void TvxTree_ComBasic::SortPass(TvxDataList_Tree* list, TvxBeginUpdate& marker)
{
    for (int i = 0; i < list->Count(); ++i) {
        TvxDataEntity_Tree* e = list->Item(i);
        if (e->Children && e->Children->Count() > 0) SortPass(e->Children, marker);
    }
    if (!list->NeedsSort || list->Count() == 0) return;
    const TTVCompare byListIndex = [this](TTreeNode* a, TTreeNode* b, intptr_t) {
        TvxDataEntity_Tree* ea = GetDataEntityFromNode(a);
        TvxDataEntity_Tree* eb = GetDataEntityFromNode(b);
        return ea && eb ? ea->ListIndex() - eb->ListIndex() : 0;
    };
    TTreeNode* owner = list->OwnerEntity ? list->OwnerEntity->TreeNode : nullptr;
    if (!list->OwnerEntity || owner) {
        marker.Mark();
        if (owner)
            owner->CustomSort(byListIndex, 0, false);
        else
            Items().CustomSort(byListIndex, 0, false);
    }
    list->NeedsSort = false;
}

void TvxTree_ComBasic::RemoveNode(TTreeNode* node)
{
    if (!node) return;
    if (fPending.insert(node).second) fPendingOrder.push_back(node);
    node->SetData(nullptr);
}

void TvxTree_ComBasic::ReleaseNodes(TvxDataEntity_Tree* entity)
{
    RemoveNode(entity->TreeNode);
    entity->TreeNode = nullptr;
    RemoveNode(entity->DummyNode);
    entity->DummyNode = nullptr;
}

void TvxTree_ComBasic::CleanTreeNode(TvxDataEntity_Tree* entity)
{
    // Iterative: a deep hierarchy must not exhaust the stack.
    std::vector<TvxDataEntity_Tree*> todo{entity};
    while (!todo.empty()) {
        TvxDataEntity_Tree* e = todo.back();
        todo.pop_back();
        ReleaseNodes(e);
        if (TvxDataList_Tree* children = e->Children)
            for (int i = children->LoadedCount() - 1; i >= 0; --i)
                todo.push_back(static_cast<TvxDataEntity_Tree*>(children->GetLoaded(i)));
    }
}

void TvxTree_ComBasic::NodeGone(TTreeNode_vxSub* node)
{
    node->SetData(nullptr);
    if (node == fSavedSelected) {
        fSavedSelected = nullptr;
        SetSelected(nullptr);
    }
    if (node == fSavedTop) {
        fSavedTop = nullptr;
        SetTopItem(nullptr);
    }
    // A Shift-click after the anchor's node went would start the range at a freed node.
    if (node == fShiftAnchor) fShiftAnchor = nullptr;
    if (node == fLabelEditNode) fLabelEditNode = nullptr;
    fPending.erase(node);
}

TTreeNode* TvxTree_ComBasic::CreateNode()
{
    if (!fInDisplayUpdate) {
        fNodesCreatedElsewhere = true;
        DisplayOutOfDate();
    }
    return new TTreeNode_vxSub(&Items());
}

void TvxTree_ComBasic::Paint()
{
    EnsureDisplayUpToDate();
    TCustomTreeView::Paint();
}

// ---- Horizontal scroll position ----

void TvxTree_ComBasic::BeginHorzScrollUpdate() { fHorzScrollBefore = GetScrollPos(SB_HORZ); }

void TvxTree_ComBasic::EndHorzScrollUpdate()
{
    if (fHorzScrollBefore >= 0 && GetScrollPos(SB_HORZ) != fHorzScrollBefore) SetScrollPos(SB_HORZ, fHorzScrollBefore);
}

// ---- Expansion ----

void TvxTree_ComBasic::Expand(TTreeNode* node)
{
    const TFlagScope inExpand(fInExpand);
    TvxDataEntity_Tree* e = GetDataEntityFromNode(node);
    if (e) {
        if (e->Children && e->Children->Count() > 0) {
            if (TTreeNode* dummy = e->DummyNode) {
                e->DummyNode = nullptr;
                fPending.erase(dummy);
                delete dummy;
            }
        } else {
            e->DummyNode = nullptr;
            node->DeleteChildren();
            Invalidate();
        }
    }
    TCustomTreeView::Expand(node);
    if (e && e->TreeNode == node) e->SetExpanded(true);
}

void TvxTree_ComBasic::Collapse(TTreeNode* node)
{
    TCustomTreeView::Collapse(node);
    if (TvxDataEntity_Tree* e = GetDataEntityFromNode(node)) e->Expanded = node->GetExpanded();
}

void TvxTree_ComBasic::HandleAutoExpand()
{
    if (AutoExpandLevels <= 0) return;
    for (int l = 0; l < DataLists->Count(); ++l) {
        TvxDataList* list = DataLists->GetDataList(l);
        if (!list) continue;
        for (int i = 0; i < list->Count(); ++i) {
            auto* e = static_cast<TvxDataEntity_Tree*>(list->GetItems(i));
            if (e && !e->Expanded && e->GetLevel() <= AutoExpandLevels - 1 && e->GetVisible()) PerformAutoExpandItem(e);
        }
    }
    EnsureDisplayUpToDate();
}

void TvxTree_ComBasic::PerformAutoExpandItem(TvxDataEntity_Tree* entity) { entity->SetExpanded(true); }

}  // namespace vxplan
