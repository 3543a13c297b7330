// The current entity and the multi-selection, mouse and keys, label editing, item drawing and
// the top item.
#include <vxplan/tree/vxTree.h>

#include <vxplan/platform/app/vxApplication.h>
#include <vxplan/platform/app/vxMessages.h>
#include <vxplan/platform/controls/vxKeys.h>
#include <vxplan/platform/graphics/vxColor.h>
#include <vxplan/platform/time/vxClock.h>

namespace vxplan {

// ---- Current entity ----

TvxDataEntity_Tree* TvxTree_ComBasic::GetCurrentDataEntity()
{
    EnsureDisplayUpToDate();
    return GetDataEntityFromNode(GetSelected());
}

void TvxTree_ComBasic::SetCurrentDataEntity(TvxDataEntity_Tree* entity)
{
    CheckOwnEntity(entity, "make current");
    DisplayOutOfDate();
    TDoLater::DoLater(TDoLaterCall(this, &TvxTree_ComBasic::DoSetCurrent), this);
    fPendingCurrent = entity;
}

void TvxTree_ComBasic::DoSetCurrent(TObject*)
{
    EnsureDisplayUpToDate();
    TvxDataEntity_Tree* e = fPendingCurrent;
    fPendingCurrent = nullptr;
    SetSelected(e ? e->TreeNode : nullptr);
}

void TvxTree_ComBasic::CheckSelectedIsFocused(TObject*)
{
    TvxDataEntity_Tree* current = GetCurrentDataEntity();
    if (current && !current->GetSelected()) UpdateMultiSelect(current, TShiftState());
}

void TvxTree_ComBasic::Change(TTreeNode* node)
{
    if (!IsDestroying()) {
        CheckTopItem();
        TDoLater::NeverMind(TDoLaterCall(this, &TvxTree_ComBasic::DoSetCurrent));
        fPendingCurrent = nullptr;
    }
    if (OnCurrentDataEntityChange) OnCurrentDataEntityChange(this, GetDataEntityFromNode(node));
    TCustomTreeView::Change(node);
}

void TvxTree_ComBasic::ClearAllSelections()
{
    for (int i = 0; i < DataLists->Count(); ++i)
        if (TvxDataList* list = DataLists->GetDataList(i)) list->ClearSelections();
}

void TvxTree_ComBasic::UpdateMultiSelect(TvxDataEntity_Tree* entity, TShiftState shift)
{
    CheckOwnEntity(entity, "select");
    if (entity != GetDataEntityFromNode(GetSelected())) fLastCurrentChange = ApplicationClock().Now();
    if (!entity) {
        fShiftAnchor = nullptr;
        ClearAllSelections();
        return;
    }
    const bool withShift = shift.Contains(ssShift), withCtrl = shift.Contains(ssCtrl);
    if (!withShift && !withCtrl) {
        fShiftAnchor = entity->TreeNode;
        ClearAllSelections();
        entity->SetSelected(true);
        SetCurrentDataEntity(entity);
        return;
    }
    if (!MultiSelect) return;
    if (withShift) {
        if (!fShiftAnchor) fShiftAnchor = entity->TreeNode;
        if (!fShiftAnchor || !entity->TreeNode) return;
        int from = fShiftAnchor->GetAbsoluteIndex(), to = entity->TreeNode->GetAbsoluteIndex();
        if (from > to) std::swap(from, to);
        if (!withCtrl) ClearAllSelections();
        for (int i = from; i <= to && i < Items().GetCount(); ++i)
            if (TvxDataEntity_Tree* e = GetDataEntityFromNode(Items().GetItem(i))) e->SetSelected(true);
        return;
    }
    fShiftAnchor = entity->TreeNode;
    entity->SetSelected(!entity->GetSelected());
}

// ---- Keys and mouse ----

void TvxTree_ComBasic::KeyDown(uint16_t& key, TShiftState shift)
{
    const uint16_t pressed = key;
    TCustomTreeView::KeyDown(key, shift);
    if (pressed == VK_SHIFT || pressed == VK_CONTROL || pressed == VK_APPS) return;
    if (TvxDataEntity_Tree* current = GetCurrentDataEntity()) UpdateMultiSelect(current, shift);
    TDoLater::DoLater(TDoLaterCall(this, &TvxTree_ComBasic::CheckSelectedIsFocused), this);
    if (pressed == VK_F2)
        if (TTreeNode* selected = GetSelected()) selected->EditText();
}

void TvxTree_ComBasic::KeyPress(char32_t& key)
{
    TCustomTreeView::KeyPress(key);
    if (IsEditing() && fLabelEditNode)
        if (TvxDataEntity_Tree* e = GetDataEntityFromNode(fLabelEditNode)) {
            e->SetText(fLabelEditNode->GetText());
            e->DoInfoPush();
        }
}

void TvxTree_ComBasic::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    EnsureDisplayUpToDate();
    if (button == TMouseButton::mbLeft) {
        fDragBegun = false;
        TvxDataEntity_Tree* e = GetDataEntityFromNode(GetNodeAt(x, y));
        fMouseDownSelected = e && !e->GetSelected();
        if (fMouseDownSelected) UpdateMultiSelect(e, shift);
        fMouseDownShift = shift;
        TCustomTreeView::MouseDown(button, shift, x, y);
        return;
    }
    if (button == TMouseButton::mbRight && GetRightClickSelect()) {
        TvxDataEntity_Tree* current = GetCurrentDataEntity();
        if (current && !current->GetSelected()) UpdateMultiSelect(current, shift);
        SetCurrentDataEntity(GetDataEntityFromNode(GetNodeAt(x, y)));
    }
    TCustomTreeView::MouseDown(button, shift, x, y);
    if (button == TMouseButton::mbRight && OnRightClick) OnRightClick(this, GetDataEntityAt(x, y));
}

void TvxTree_ComBasic::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomTreeView::MouseUp(button, shift, x, y);
    if (button != TMouseButton::mbLeft || fDragBegun || fMouseDownSelected) return;
    // A click on one entity of a multiple selection keeps it alone, unless it began a drag.
    TvxDataEntity_Tree* e = GetDataEntityAt(x, y);
    if (e && e->GetSelected()) UpdateMultiSelect(e, fMouseDownShift);
}

void TvxTree_ComBasic::BeginDragNode(TTreeNode* node)
{
    fDragBegun = true;
    TCustomTreeView::BeginDragNode(node);
}

void TvxTree_ComBasic::WndProc(TMessage& message)
{
    TCustomTreeView::WndProc(message);
    if (message.Msg == WM_VSCROLL) CheckTopItem();
}

// ---- Label editing ----

bool TvxTree_ComBasic::CanEdit(TTreeNode* node)
{
    bool allowed = TCustomTreeView::CanEdit(node);
    // The click that made the entity current does not also start an edit.
    if (ApplicationClock().Now() - fLastCurrentChange < 1000.0 / MSecsPerDay) allowed = false;
    if (!allowed) return false;
    if (TvxDataEntity_Tree* e = GetDataEntityFromNode(node)) {
        try {
            allowed = e->GetCanEdit();
        } catch (...) {
            allowed = false;
        }
        if (allowed) fLabelEditNode = node;
    }
    return allowed;
}

void TvxTree_ComBasic::Edit(TTreeNode* node, std::string* text)
{
    // A caption over the limit is refused with the entity's message, and the old text stays.
    if (text && GetDataEntityFromNode(node)) {
        if (!TvxDataEntity_Tree::TextFits(*text)) {
            *text = node->GetText();
            ShowMessage(TvxDataEntity_Tree::kTextTooLong);
        }
    }
    TCustomTreeView::Edit(node, text);
    if (fLabelEditNode == node) fLabelEditNode = nullptr;
    if (!text) return;
    if (TvxDataEntity_Tree* e = GetDataEntityFromNode(node)) {
        e->SetText(node->GetText());
        e->DoInfoPush();
    }
}

// ---- Drawing ----

void TvxTree_ComBasic::vxCustomDrawItem(TCustomTreeView*, TTreeNode* node, TCustomDrawState, bool&)
{
    TCanvas& canvas = Canvas();
    canvas.Font().SetStyle(TFontStyles());
    canvas.Brush().SetColor(GetColor());
    canvas.Font().SetColor(clWindowText);
    TvxDataEntity_Tree* e = GetDataEntityFromNode(node);
    if (!e) return;
    if (e->GetSelected()) {
        if (Focused()) {
            canvas.Brush().SetColor(clHighlight);
            canvas.Font().SetColor(clHighlightText);
        } else {
            canvas.Brush().SetColor(clBtnFace);
        }
    }
    canvas.Font().SetName(e->FontName.empty() ? Font().GetName() : e->FontName);
    canvas.Font().SetStyle(e->FontStyle);
}

// ---- Top item ----

TvxDataEntity_Tree* TvxTree_ComBasic::GetTopItem()
{
    TTreeNode* top = TCustomTreeView::GetTopItem();
    if (!top || top->Deleting() || fPending.count(top)) return nullptr;
    return GetDataEntityFromNode(top);
}

void TvxTree_ComBasic::SetTopItem(TvxDataEntity_Tree* entity)
{
    if (entity) {
        CheckOwnEntity(entity, "scroll to");
        // An entity added since the last update gets its node first.
        EnsureDisplayUpToDate();
        const bool differed = TCustomTreeView::GetTopItem() != entity->TreeNode;
        BeginHorzScrollUpdate();
        if (entity->TreeNode) TCustomTreeView::SetTopItem(entity->TreeNode);
        EndHorzScrollUpdate();
        if (differed) CheckTopItem();
        return;
    }
    const bool hadTop = TCustomTreeView::GetTopItem() != nullptr;
    TCustomTreeView::SetTopItem(nullptr);
    if (hadTop) CheckTopItem();
}

void TvxTree_ComBasic::CheckTopItem()
{
    TvxDataEntity_Tree* top = GetTopItem();
    if (top == fLastTopEntity) return;
    fLastTopEntity = top;
    if (OnTopItemChanged) OnTopItemChanged(this);
}

}  // namespace vxplan
