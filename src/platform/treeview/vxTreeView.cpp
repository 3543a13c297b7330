// TCustomTreeView: construction, properties, what the nodes tell the tree, selection and
// expansion with their events. Rows and scrolling: vxTreeViewLayout.cpp; painting:
// vxTreeViewPaint.cpp; keys and mouse: vxTreeViewInput.cpp; label editing: vxTreeViewEdit.cpp.
#include <vxplan/platform/treeview/vxTreeView.h>

#include <vxplan/platform/core/vxExceptions.h>

#include <algorithm>
#include <string>

namespace vxplan {

TCustomTreeView::TCustomTreeView(TComponent* AOwner)
    : TCustomControl(AOwner), items_(std::make_unique<TTreeNodes>(this)), measure_(1, 1)
{
    SetColor(clWindow);
    SetBounds(0, 0, 121, 97);
    SetTabStop(true);
    SetOpaque(true);
    vbar_ = new TScrollBar(this);
    vbar_->SetKind(TScrollBarKind::sbVertical);
    vbar_->SetTabStop(false);
    vbar_->SetVisible(false);
    vbar_->SetParent(this);
    vbar_->OnScroll = TScrollEvent(this, &TCustomTreeView::ScrollBarScrolled);
    hbar_ = new TScrollBar(this);
    hbar_->SetTabStop(false);
    hbar_->SetVisible(false);
    hbar_->SetParent(this);
    hbar_->OnScroll = TScrollEvent(this, &TCustomTreeView::ScrollBarScrolled);
    editTimer_ = new TTimer(this);
    editTimer_->SetEnabled(false);
    editTimer_->SetOnTimer(TNotifyEvent(this, &TCustomTreeView::EditTimer));
    changeTimer_ = new TTimer(this);
    changeTimer_->SetEnabled(false);
    changeTimer_->SetOnTimer([this](TObject*) {
        changeTimer_->SetEnabled(false);
        Change(selected_);
    });
    imagesLink_.OnChange = TNotifyEvent(this, &TCustomTreeView::ImagesChanged);
    stateImagesLink_.OnChange = TNotifyEvent(this, &TCustomTreeView::ImagesChanged);
    // Lines are every other pixel: a checker pattern lined up with the device origin.
    linePattern_.SetSize(8, 8);
}

TCustomTreeView::~TCustomTreeView()
{
    BeginDestroy();
    editNode_ = nullptr;
    // The nodes go first: OnDeletion handlers may still look at the tree.
    items_->Clear();
    if (images_) images_->RemoveFreeNotification(this);
    if (stateImages_) stateImages_->RemoveFreeNotification(this);
    DestroyComponents();
}

// --- Properties -----------------------------------------------------------------------------

void TCustomTreeView::SetShowButtons(bool show)
{
    if (show == showButtons_) return;
    showButtons_ = show;
    StructureChanged();
}

void TCustomTreeView::SetShowLines(bool show)
{
    if (show == showLines_) return;
    showLines_ = show;
    StructureChanged();
}

void TCustomTreeView::SetShowRoot(bool show)
{
    if (show == showRoot_) return;
    showRoot_ = show;
    StructureChanged();
}

void TCustomTreeView::SetIndent(int indent)
{
    if (indent < 0) throw EInvalidArgument("Indent must not be negative, not " + std::to_string(indent));
    if (indent == indent_) return;
    indent_ = indent;
    StructureChanged();
}

void TCustomTreeView::SetImages(TCustomImageList* images)
{
    if (images == images_) return;
    if (images_) {
        images_->UnRegisterChanges(&imagesLink_);
        images_->RemoveFreeNotification(this);
    }
    images_ = images;
    if (images_) {
        images_->RegisterChanges(&imagesLink_);
        images_->FreeNotification(this);
    }
    ImagesChanged(images_);
}

void TCustomTreeView::SetStateImages(TCustomImageList* images)
{
    if (images == stateImages_) return;
    if (stateImages_) {
        stateImages_->UnRegisterChanges(&stateImagesLink_);
        stateImages_->RemoveFreeNotification(this);
    }
    stateImages_ = images;
    if (stateImages_) {
        stateImages_->RegisterChanges(&stateImagesLink_);
        stateImages_->FreeNotification(this);
    }
    ImagesChanged(stateImages_);
}

void TCustomTreeView::ImagesChanged(TObject*)
{
    computedItemHeight_ = 0;
    StructureChanged();
}

void TCustomTreeView::Notification(TComponent* component, TOperation operation)
{
    TCustomControl::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == images_) {
        images_ = nullptr;
        ImagesChanged(nullptr);
    }
    if (component == stateImages_) {
        stateImages_ = nullptr;
        ImagesChanged(nullptr);
    }
}

void TCustomTreeView::SetHideSelection(bool hide)
{
    if (hide == hideSelection_) return;
    hideSelection_ = hide;
    RequestPaint();
}

void TCustomTreeView::SetHotTrack(bool hotTrack)
{
    hotTrack_ = hotTrack;
    if (!hotTrack) SetHotNode(nullptr);
}

void TCustomTreeView::SetToolTips(bool toolTips)
{
    toolTips_ = toolTips;
    if (!toolTips) HintChanged();
}

void TCustomTreeView::SetRowSelect(bool rowSelect)
{
    if (rowSelect == rowSelect_) return;
    rowSelect_ = rowSelect;
    RequestPaint();
}

void TCustomTreeView::SetBorderStyle(TBorderStyle style)
{
    if (style == borderStyle_) return;
    borderStyle_ = style;
    layoutValid_ = false;
    RequestPaint();
}

void TCustomTreeView::SetChangeDelay(int ms)
{
    if (ms < 0) throw EInvalidArgument("Change delay must not be negative, not " + std::to_string(ms));
    changeDelay_ = ms;
}

void TCustomTreeView::SetScrollBarVert(bool allow)
{
    if (allow == allowVert_) return;
    allowVert_ = allow;
    layoutValid_ = false;
    RequestPaint();
}

void TCustomTreeView::SetScrollBarHorz(bool allow)
{
    if (allow == allowHorz_) return;
    allowHorz_ = allow;
    layoutValid_ = false;
    RequestPaint();
}

void TCustomTreeView::SetItemHeight(int height)
{
    if (height < 0) throw EInvalidArgument("Item height must not be negative, not " + std::to_string(height));
    itemHeight_ = height;
    layoutValid_ = false;
    RequestPaint();
}

void TCustomTreeView::FontChanged()
{
    TCustomControl::FontChanged();
    // Every caption width was measured in the old font.
    ++textGen_;
    computedItemHeight_ = 0;
    StructureChanged();
}

void TCustomTreeView::ColorChanged()
{
    TCustomControl::ColorChanged();
    RequestPaint();
}

void TCustomTreeView::Resize()
{
    layoutValid_ = false;
    TCustomControl::Resize();
    RequestPaint();
}

// --- What the nodes report --------------------------------------------------------------------

void TCustomTreeView::RequestPaint()
{
    // One Invalidate per paint, however many nodes change before it.
    if (paintRequested_ || items_->Updating() || IsDestroying()) return;
    paintRequested_ = true;
    Invalidate();
}

void TCustomTreeView::StructureChanged()
{
    rowsValid_ = false;
    layoutValid_ = false;
    RequestPaint();
}

void TCustomTreeView::NodeChanged(TTreeNode* node, bool width)
{
    if (width) {
        node->textGen_ = 0;
        layoutValid_ = false;
    }
    if (editNode_ == node && width) PlaceEditor();
    RequestPaint();
}

void TCustomTreeView::EndUpdateChanged()
{
    paintRequested_ = false;
    RequestPaint();
}

void TCustomTreeView::NodeDestroying(TTreeNode* node)
{
    if (!IsDestroying()) Delete(node);
    if (selected_ == node) selected_ = nullptr;
    if (topNode_ == node) topNode_ = nullptr;
    if (hot_ == node) hot_ = nullptr;
    if (dragNode_ == node) dragNode_ = nullptr;
    std::replace(watched_.begin(), watched_.end(), node, static_cast<TTreeNode*>(nullptr));
    if (pendingEdit_ == node) {
        pendingEdit_ = nullptr;
        editTimer_->SetEnabled(false);
    }
    if (editNode_ == node) {
        // The edit of a node that goes away ends without a word.
        editNode_ = nullptr;
        if (edit_) edit_->SetVisible(false);
    }
}

void TCustomTreeView::NodesCleared()
{
    rows_.clear();
    topRow_ = 0;
    xOffset_ = 0;
    maxRight_ = 0;
    StructureChanged();
}

TTreeNode* TCustomTreeView::NewSelectionAfterDeleting(TTreeNode* node) const
{
    if (!selected_ || (selected_ != node && !selected_->HasAsParent(node))) return nullptr;
    if (TTreeNode* n = node->GetNextSibling()) return n;
    if (TTreeNode* p = node->GetPrevSibling()) return p;
    return node->GetParent();
}

void TCustomTreeView::SelectionDeleted(TTreeNode* next)
{
    if (IsDestroying()) return;
    // The selection has to go somewhere: no OnChanging, only the news.
    selected_ = next;
    if (next) MakeNodeVisible(next);
    RequestPaint();
    FireChange();
}

// --- Selection --------------------------------------------------------------------------------

void TCustomTreeView::SetSelected(TTreeNode* node)
{
    items_->CheckOwn(node, "select");
    SelectNode(node, false);
}

bool TCustomTreeView::SelectNode(TTreeNode* node, bool byUser)
{
    if (node == selected_) {
        if (node) MakeNodeVisible(node);
        return true;
    }
    if (!CanChange(node)) return false;
    TTreeNode* old = selected_;
    selected_ = node;
    if (pendingEdit_) {
        pendingEdit_ = nullptr;
        editTimer_->SetEnabled(false);
    }
    if (node) {
        if (byUser && autoExpand_) {
            // One branch open at a time: the old one closes unless it leads to the new node.
            if (old && old != node && !node->HasAsParent(old) && old->expanded_) SetNodeExpanded(old, false);
            if (node->HasChildren() && !node->expanded_) SetNodeExpanded(node, true);
        }
        MakeNodeVisible(node);
    }
    RequestPaint();
    FireChange();
    return true;
}

void TCustomTreeView::FireChange()
{
    if (changeDelay_ > 0) {
        // Another change within the delay starts the wait again.
        changeTimer_->SetEnabled(false);
        changeTimer_->SetInterval(changeDelay_);
        changeTimer_->SetEnabled(true);
        return;
    }
    Change(selected_);
}

bool TCustomTreeView::CanChange(TTreeNode* node)
{
    bool allow = true;
    if (OnChanging) OnChanging(this, node, allow);
    return allow;
}

void TCustomTreeView::Change(TTreeNode* node)
{
    if (OnChange) OnChange(this, node);
}

// --- Expansion --------------------------------------------------------------------------------

bool TCustomTreeView::SetNodeExpanded(TTreeNode* node, bool expanded)
{
    if (expanded == node->expanded_) return true;
    if (expanded) {
        if (!node->HasChildren()) return false;
        // The handler may fill or empty the node, or delete it.
        if (!AskKeepsNode(node, &TCustomTreeView::CanExpand)) return false;
        node->expanded_ = true;
        StructureChanged();
        Expand(node);
        return true;
    }
    if (!AskKeepsNode(node, &TCustomTreeView::CanCollapse)) return false;
    node->expanded_ = false;
    StructureChanged();
    Collapse(node);
    // A selection inside the closed branch moves up to the node.
    if (selected_ && selected_->HasAsParent(node)) SelectNode(node, false);
    if (editNode_ && editNode_->HasAsParent(node)) EndEdit(true);
    return true;
}

bool TCustomTreeView::AskKeepsNode(TTreeNode* node, bool (TCustomTreeView::*ask)(TTreeNode*))
{
    watched_.push_back(node);
    bool allow = false;
    try {
        allow = (this->*ask)(node);
    } catch (...) {
        watched_.pop_back();
        throw;
    }
    const bool alive = watched_.back() != nullptr;
    watched_.pop_back();
    return allow && alive;
}

bool TCustomTreeView::CanExpand(TTreeNode* node)
{
    bool allow = true;
    if (OnExpanding) OnExpanding(this, node, allow);
    return allow;
}

void TCustomTreeView::Expand(TTreeNode* node)
{
    if (OnExpanded) OnExpanded(this, node);
}

bool TCustomTreeView::CanCollapse(TTreeNode* node)
{
    bool allow = true;
    if (OnCollapsing) OnCollapsing(this, node, allow);
    return allow;
}

void TCustomTreeView::Collapse(TTreeNode* node)
{
    if (OnCollapsed) OnCollapsed(this, node);
}

void TCustomTreeView::FullExpand()
{
    items_->BeginUpdate();
    for (size_t i = 0; i < items_->roots_.size(); ++i) items_->roots_[i]->Expand(true);
    items_->EndUpdate();
}

void TCustomTreeView::FullCollapse()
{
    items_->BeginUpdate();
    for (size_t i = 0; i < items_->roots_.size(); ++i) items_->roots_[i]->Collapse(true);
    items_->EndUpdate();
}

void TCustomTreeView::Delete(TTreeNode* node)
{
    if (OnDeletion) OnDeletion(this, node);
}

TTreeNode* TCustomTreeView::CreateNode() { return new TTreeNode(items_.get()); }

bool TCustomTreeView::IsCustomDrawn() { return static_cast<bool>(OnCustomDraw) || static_cast<bool>(OnCustomDrawItem); }

bool TCustomTreeView::CustomDraw(const TRect& rect)
{
    bool defaultDraw = true;
    if (OnCustomDraw) OnCustomDraw(this, rect, defaultDraw);
    return defaultDraw;
}

bool TCustomTreeView::CustomDrawItem(TTreeNode* node, TCustomDrawState state)
{
    bool defaultDraw = true;
    if (OnCustomDrawItem) OnCustomDrawItem(this, node, state, defaultDraw);
    return defaultDraw;
}

// --- Messages -------------------------------------------------------------------------------

void TCustomTreeView::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_VSCROLL:
        ScrollVert(static_cast<int>(m.WParam & 0xFFFF), static_cast<int>(m.WParam >> 16));
        return;
    case WM_HSCROLL:
        ScrollHorz(static_cast<int>(m.WParam & 0xFFFF), static_cast<int>(m.WParam >> 16));
        return;
    default: TCustomControl::WndProc(m); return;
    }
}

}  // namespace vxplan
