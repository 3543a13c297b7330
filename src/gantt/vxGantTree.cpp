// The chart's tree: its entities bring and take the chart's rows.
#include <vxplan/gantt/vxGantTree.h>

#include <vxplan/gantt/vxGant.h>

namespace vxplan {

TGantTree::TGantTree(TComponent* AOwner, TvxGant_ComBasic* theGant) : TvxTree_ComBasic(AOwner), fGant(theGant) {}

bool TGantTree::Detached() const { return IsDestroying() || !fGant || fGant->IsBeingDestroyed() || !fGant->GetRowList(); }

void TGantTree::_InsertItem(TvxDataEntity* entity)
{
    if (!Detached()) fGant->LinksChanged();
    TvxTree_ComBasic::_InsertItem(entity);
    if (Detached()) return;
    fGant->GetRowList()->AddRow(static_cast<TvxDataEntity_Tree*>(entity), nullptr);
    fGant->InvalidateGA();
}

void TGantTree::_DeleteItem(TvxDataEntity* entity)
{
    if (!Detached()) fGant->LinksChanged();
    // Every row of the entity goes (a host may have added more than one): none may outlive it.
    if (!Detached()) {
        auto* node = static_cast<TvxDataEntity_Tree*>(entity);
        TGantRowList* rows = fGant->GetRowList();
        while (rows->FindRowFromTreeNode(node)) rows->RemoveRow(node, nullptr);
    }
    TvxTree_ComBasic::_DeleteItem(entity);
    if (!Detached()) fGant->InvalidateGA();
}

void TGantTree::_OnVisibleChanged(TvxDataEntity* entity)
{
    if (!Detached()) fGant->LinksChanged();
    TvxTree_ComBasic::_OnVisibleChanged(entity);
    if (!Detached()) fGant->InvalidateGA();
}

void TGantTree::_EnterOwnerAfterChange(TvxDataEntity* entity)
{
    if (!Detached()) fGant->LinksChanged();
    TvxTree_ComBasic::_EnterOwnerAfterChange(entity);
    if (!Detached()) fGant->InvalidateGA();
}

void TGantTree::Expand(TTreeNode* node)
{
    TvxTree_ComBasic::Expand(node);
    if (!Detached()) fGant->RefreshOthers(this);
}

void TGantTree::Collapse(TTreeNode* node)
{
    TvxTree_ComBasic::Collapse(node);
    if (!Detached()) fGant->RefreshOthers(this);
}

void TGantTree::WndProc(TMessage& message)
{
    TvxTree_ComBasic::WndProc(message);
    // Scrolling moves every band.
    if (message.Msg == WM_VSCROLL && !Detached()) fGant->InvalidateGA();
}

}  // namespace vxplan
