// TCustomTreeView: label editing in an edit box laid over the caption.
#include <vxplan/platform/treeview/vxTreeView.h>

#include <algorithm>

namespace vxplan {

bool TCustomTreeView::CanEdit(TTreeNode* node)
{
    bool allow = true;
    if (OnEditing) OnEditing(this, node, allow);
    return allow;
}

void TCustomTreeView::Edit(TTreeNode* node, std::string* text)
{
    if (!text) return;
    if (OnEdited) OnEdited(this, node, *text);
    if (!node->deleting_) node->SetText(*text);
}

bool TCustomTreeView::StartEdit(TTreeNode* node)
{
    items_->CheckOwn(node, "edit");
    if (!node || readOnly_ || node->deleting_) return false;
    if (editNode_ == node) return true;
    if (editNode_) EndEdit(false);
    pendingEdit_ = nullptr;
    editTimer_->SetEnabled(false);
    if (!CanEdit(node)) return false;
    MakeNodeVisible(node);
    if (RowOf(node) < 0) return false;
    if (!edit_) {
        edit_ = new TEdit(this);
        edit_->SetParent(this);
        edit_->OnKeyDown = TKeyEvent(this, &TCustomTreeView::EditKeyDown);
        edit_->OnExit = TNotifyEvent(this, &TCustomTreeView::EditExit);
    }
    editNode_ = node;
    edit_->SetFont(Font());
    edit_->SetEditText(node->text_);
    PlaceEditor();
    edit_->SetVisible(true);
    edit_->SelectAll();
    if (isVisible() && edit_->CanFocus()) edit_->SetFocus();
    return true;
}

void TCustomTreeView::PlaceEditor()
{
    if (!editNode_ || !edit_) return;
    const TRect label = NodeRect(editNode_, true);
    const TRect view = ViewRect();
    // Room for what is typed next; never past the view.
    const int width = std::min(std::max(label.Width() + 2 * ComputedItemHeight(), 50), std::max(view.Right - label.Left, 10));
    const int height = ComputedItemHeight() + 4;
    edit_->SetBounds(label.Left - 1, label.Top - 2, width, height);
}

void TCustomTreeView::EndEdit(bool cancel)
{
    TTreeNode* node = editNode_;
    if (!node) return;
    // Cleared first: hiding the box moves the focus, whose loss would end the edit again.
    editNode_ = nullptr;
    std::string text = edit_->GetEditText();
    const bool hadFocus = edit_->Focused();
    edit_->SetVisible(false);
    if (hadFocus && CanFocus() && isVisible()) SetFocus();
    Edit(node, cancel ? nullptr : &text);
    RequestPaint();
}

void TCustomTreeView::EditKeyDown(TObject*, uint16_t& key, TShiftState)
{
    if (key == VK_RETURN) {
        key = 0;
        EndEdit(false);
    } else if (key == VK_ESCAPE) {
        key = 0;
        EndEdit(true);
    }
}

void TCustomTreeView::EditExit(TObject*)
{
    if (editNode_) EndEdit(false);
}

void TCustomTreeView::EditTimer(TObject*)
{
    editTimer_->SetEnabled(false);
    TTreeNode* node = pendingEdit_;
    pendingEdit_ = nullptr;
    if (node && node == selected_) StartEdit(node);
}

}  // namespace vxplan
