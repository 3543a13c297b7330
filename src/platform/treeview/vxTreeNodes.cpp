// TTreeNode and TTreeNodes: structure, positions, moves and sorting. What the tree view does
// with a change (rows, selection, events) is in vxTreeView.cpp.
#include <vxplan/platform/treeview/vxTreeNodes.h>

#include <vxplan/platform/core/vxExceptions.h>
#include <vxplan/platform/treeview/vxTreeView.h>

#include <QString>

#include <algorithm>
#include <string>

namespace vxplan {

namespace {

// AlphaSort's order: the tree's OnCompare when set, else the captions without regard to case.
TTVCompare CaptionCompare(TCustomTreeView* tree)
{
    return [tree](TTreeNode* a, TTreeNode* b, intptr_t data) {
        if (tree->OnCompare) {
            int c = 0;
            tree->OnCompare(tree, a, b, data, c);
            return c;
        }
        return QString::fromStdString(a->GetText()).compare(QString::fromStdString(b->GetText()), Qt::CaseInsensitive);
    };
}

}  // namespace

// --- TTreeNode ----------------------------------------------------------------------------------

TTreeNode::TTreeNode(TTreeNodes* owner) : owner_(owner)
{
    if (!owner) throw EInvalidArgument("A tree node needs a node collection");
}

TTreeNode::~TTreeNode()
{
    if (!linked_) return;
    TCustomTreeView* tree = owner_->owner_;
    // The first node of a deleted subtree decides where the selection goes when it is inside.
    const bool top = !(parent_ && parent_->deleting_) && !owner_->clearing_;
    TTreeNode* next = top ? tree->NewSelectionAfterDeleting(this) : nullptr;
    const bool hadSelection = top && tree->selected_ && (tree->selected_ == this || tree->selected_->HasAsParent(this));
    deleting_ = true;
    // Children go first, last to first, each with its own OnDeletion.
    while (!children_.empty()) delete children_.back();
    tree->NodeDestroying(this);
    Unlink();
    if (hadSelection) tree->SelectionDeleted(next);
}

TCustomTreeView* TTreeNode::TreeView() const { return owner_->owner_; }

std::vector<TTreeNode*>& TTreeNode::Siblings() const
{
    return parent_ ? parent_->children_ : owner_->roots_;
}

void TTreeNode::Renumber(std::vector<TTreeNode*>& list, size_t from)
{
    for (size_t i = from; i < list.size(); ++i) list[i]->index_ = static_cast<int>(i);
}

void TTreeNode::Unlink()
{
    if (!linked_) return;
    std::vector<TTreeNode*>& list = Siblings();
    const size_t at = static_cast<size_t>(index_);
    list.erase(list.begin() + index_);
    // The siblings after it move up one place.
    Renumber(list, at);
    linked_ = false;
    --owner_->count_;
    owner_->Changed();
    parent_ = nullptr;
    index_ = -1;
}

void TTreeNode::SetText(const std::string& text)
{
    if (text == text_) return;
    text_ = text;
    TreeView()->NodeChanged(this, true);
}

void TTreeNode::SetImageIndex(int index)
{
    if (index == imageIndex_) return;
    imageIndex_ = index;
    TreeView()->NodeChanged(this, false);
}

void TTreeNode::SetSelectedIndex(int index)
{
    if (index == selectedIndex_) return;
    selectedIndex_ = index;
    TreeView()->NodeChanged(this, false);
}

void TTreeNode::SetStateIndex(int index)
{
    if (index == stateIndex_) return;
    stateIndex_ = index;
    TreeView()->NodeChanged(this, true);
}

void TTreeNode::SetExpanded(bool expanded) { TreeView()->SetNodeExpanded(this, expanded); }

void TTreeNode::Expand(bool recurse)
{
    SetExpanded(true);
    if (!recurse) return;
    // Handlers may add or remove children while their parent expands: go by index.
    for (size_t i = 0; i < children_.size(); ++i) children_[i]->Expand(true);
}

void TTreeNode::Collapse(bool recurse)
{
    if (recurse)
        for (size_t i = 0; i < children_.size(); ++i) children_[i]->Collapse(true);
    SetExpanded(false);
}

void TTreeNode::SetHasChildren(bool hasChildren)
{
    if (hasChildren == hasChildren_) return;
    hasChildren_ = hasChildren;
    TreeView()->NodeChanged(this, false);
}

int TTreeNode::GetLevel() const
{
    int level = 0;
    for (const TTreeNode* p = parent_; p; p = p->parent_) ++level;
    return level;
}

int TTreeNode::GetAbsoluteIndex() const
{
    if (!linked_) return -1;
    owner_->Flat();
    return absIndex_;
}

TTreeNode* TTreeNode::GetItem(int index) const
{
    if (index < 0 || index >= GetCount())
        throw EListError("Tree node index out of bounds (" + std::to_string(index) + ")");
    return children_[static_cast<size_t>(index)];
}

TTreeNode* TTreeNode::GetNextSibling() const
{
    if (!linked_) return nullptr;
    const std::vector<TTreeNode*>& list = Siblings();
    return static_cast<size_t>(index_ + 1) < list.size() ? list[static_cast<size_t>(index_ + 1)] : nullptr;
}

TTreeNode* TTreeNode::GetPrevSibling() const
{
    if (!linked_ || index_ <= 0) return nullptr;
    return Siblings()[static_cast<size_t>(index_ - 1)];
}

TTreeNode* TTreeNode::GetNext() const
{
    if (!children_.empty()) return children_.front();
    for (const TTreeNode* n = this; n; n = n->parent_)
        if (TTreeNode* s = n->GetNextSibling()) return s;
    return nullptr;
}

TTreeNode* TTreeNode::GetPrev() const
{
    TTreeNode* prev = GetPrevSibling();
    if (!prev) return parent_;
    while (!prev->children_.empty()) prev = prev->children_.back();
    return prev;
}

bool TTreeNode::IsVisible() const
{
    if (!linked_) return false;
    for (const TTreeNode* p = parent_; p; p = p->parent_)
        if (!p->expanded_) return false;
    return true;
}

TTreeNode* TTreeNode::GetNextVisible() const
{
    if (!IsVisible()) return nullptr;
    if (expanded_ && !children_.empty()) return children_.front();
    for (const TTreeNode* n = this; n; n = n->parent_)
        if (TTreeNode* s = n->GetNextSibling()) return s;
    return nullptr;
}

TTreeNode* TTreeNode::GetPrevVisible() const
{
    if (!IsVisible()) return nullptr;
    TTreeNode* prev = GetPrevSibling();
    if (!prev) return parent_;
    while (prev->expanded_ && !prev->children_.empty()) prev = prev->children_.back();
    return prev;
}

bool TTreeNode::HasAsParent(const TTreeNode* ancestor) const
{
    if (!ancestor) return false;
    for (const TTreeNode* p = parent_; p; p = p->parent_)
        if (p == ancestor) return true;
    return false;
}

void TTreeNode::Delete() { owner_->Delete(this); }

void TTreeNode::DeleteChildren()
{
    TCustomTreeView* tree = TreeView();
    const bool inside = tree->selected_ && tree->selected_->HasAsParent(this);
    owner_->BeginUpdate();
    // Deleting flags the parent, so the children do not each move the selection.
    const bool was = deleting_;
    deleting_ = true;
    while (!children_.empty()) delete children_.back();
    deleting_ = was;
    owner_->EndUpdate();
    if (inside) tree->SelectionDeleted(this);
}

bool TTreeNode::GetSelected() const { return TreeView()->selected_ == this; }

void TTreeNode::SetSelected(bool selected)
{
    TCustomTreeView* tree = TreeView();
    if (selected)
        tree->SetSelected(this);
    else if (tree->selected_ == this)
        tree->SetSelected(nullptr);
}

bool TTreeNode::GetFocused() const { return GetSelected() && TreeView()->Focused(); }

void TTreeNode::MakeVisible() { TreeView()->MakeNodeVisible(this); }

TRect TTreeNode::DisplayRect(bool textOnly) const { return TreeView()->NodeRect(this, textOnly); }

bool TTreeNode::EditText() { return TreeView()->StartEdit(this); }

void TTreeNode::EndEdit(bool cancel)
{
    if (TreeView()->editNode_ == this) TreeView()->EndEdit(cancel);
}

void TTreeNode::MoveTo(TTreeNode* destination, TNodeAttachMode mode)
{
    owner_->CheckOwn(destination, "move to");
    TTreeNode* anchor = destination;
    if (destination == this) {
        // Beside itself: naAdd / naAddFirst move it to the end / start of its own list.
        if (mode == TNodeAttachMode::naInsert) return;
        if (mode != TNodeAttachMode::naAdd && mode != TNodeAttachMode::naAddFirst)
            throw EInvalidOperation("Cannot move a node into its own subtree");
        anchor = parent_;
        mode = mode == TNodeAttachMode::naAdd ? TNodeAttachMode::naAddChild : TNodeAttachMode::naAddChildFirst;
    } else if (destination && destination->HasAsParent(this)) {
        throw EInvalidOperation("Cannot move a node into its own subtree");
    }
    // Out of its list without the deletion path, then into the new place; the subtree comes
    // along and keeps its expansion.
    std::vector<TTreeNode*>& list = Siblings();
    const size_t at = static_cast<size_t>(index_);
    list.erase(list.begin() + index_);
    Renumber(list, at);
    linked_ = false;
    parent_ = nullptr;
    index_ = -1;
    --owner_->count_;
    owner_->Attach(this, anchor, mode);
}

bool TTreeNode::AlphaSort(bool recurse)
{
    return CustomSort(CaptionCompare(TreeView()), 0, recurse);
}

bool TTreeNode::CustomSort(const TTVCompare& compare, intptr_t data, bool recurse)
{
    if (!compare) return false;
    TTreeNodes::SortLevel(children_, compare, data, recurse);
    owner_->Changed();
    return true;
}

// --- TTreeNodes ---------------------------------------------------------------------------------

TTreeNodes::TTreeNodes(TCustomTreeView* owner) : owner_(owner) {}

TTreeNodes::~TTreeNodes() { Clear(); }

void TTreeNodes::CheckOwn(const TTreeNode* node, const char* what) const
{
    if (node && node->owner_ != this)
        throw EInvalidArgument(std::string("Cannot ") + what + " a node of another tree");
}

TTreeNode* TTreeNodes::GetItem(int index) const
{
    if (index < 0 || index >= count_)
        throw EListError("Tree node index out of bounds (" + std::to_string(index) + ")");
    return Flat()[static_cast<size_t>(index)];
}

TTreeNode* TTreeNodes::GetRoot(int index) const
{
    if (index < 0 || index >= RootCount())
        throw EListError("Root node index out of bounds (" + std::to_string(index) + ")");
    return roots_[static_cast<size_t>(index)];
}

const std::vector<TTreeNode*>& TTreeNodes::Flat() const
{
    if (flatValid_) return flat_;
    flat_.clear();
    flat_.reserve(static_cast<size_t>(count_));
    PreOrder(roots_, [this](TTreeNode* n, int) {
        n->absIndex_ = static_cast<int>(flat_.size());
        flat_.push_back(n);
        return true;
    });
    flatValid_ = true;
    return flat_;
}

void TTreeNodes::Changed()
{
    flatValid_ = false;
    owner_->StructureChanged();
}

void TTreeNodes::Attach(TTreeNode* node, TTreeNode* destination, TNodeAttachMode mode)
{
    TTreeNode* parent = nullptr;
    size_t at = 0;
    switch (mode) {
    case TNodeAttachMode::naAdd:
    case TNodeAttachMode::naAddFirst:
        parent = destination ? destination->parent_ : nullptr;
        at = mode == TNodeAttachMode::naAddFirst ? 0 : (parent ? parent->children_.size() : roots_.size());
        break;
    case TNodeAttachMode::naAddChild:
    case TNodeAttachMode::naAddChildFirst:
        parent = destination;
        at = mode == TNodeAttachMode::naAddChildFirst ? 0 : (parent ? parent->children_.size() : roots_.size());
        break;
    case TNodeAttachMode::naInsert:
        parent = destination ? destination->parent_ : nullptr;
        at = destination ? static_cast<size_t>(destination->index_) : roots_.size();
        break;
    }
    std::vector<TTreeNode*>& list = parent ? parent->children_ : roots_;
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), node);
    node->parent_ = parent;
    node->linked_ = true;
    TTreeNode::Renumber(list, at);
    // Counts the moved subtree's root; a moved subtree's other nodes never left the count.
    ++count_;
    Changed();
}

TTreeNode* TTreeNodes::AddNode(TTreeNode* destination, TNodeAttachMode mode, const std::string& text, void* data)
{
    CheckOwn(destination, "add beside");
    TTreeNode* node = owner_->CreateNode();
    if (!node || node->owner_ != this) {
        delete node;
        throw EInvalidOperation("CreateNode must make a node of this tree's collection");
    }
    node->text_ = text;
    node->data_ = data;
    Attach(node, destination, mode);
    return node;
}

TTreeNode* TTreeNodes::AddObject(TTreeNode* sibling, const std::string& text, void* data)
{
    return AddNode(sibling, TNodeAttachMode::naAdd, text, data);
}

TTreeNode* TTreeNodes::AddObjectFirst(TTreeNode* sibling, const std::string& text, void* data)
{
    return AddNode(sibling, TNodeAttachMode::naAddFirst, text, data);
}

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* parent, const std::string& text, void* data)
{
    return AddNode(parent, TNodeAttachMode::naAddChild, text, data);
}

TTreeNode* TTreeNodes::AddChildObjectFirst(TTreeNode* parent, const std::string& text, void* data)
{
    return AddNode(parent, TNodeAttachMode::naAddChildFirst, text, data);
}

TTreeNode* TTreeNodes::InsertObject(TTreeNode* sibling, const std::string& text, void* data)
{
    return AddNode(sibling, TNodeAttachMode::naInsert, text, data);
}

void TTreeNodes::Delete(TTreeNode* node)
{
    if (!node) return;
    CheckOwn(node, "delete");
    if (node->deleting_) return;
    delete node;
}

void TTreeNodes::Clear()
{
    if (roots_.empty()) return;
    BeginUpdate();
    clearing_ = true;
    const bool hadSelection = owner_->selected_ != nullptr;
    while (!roots_.empty()) delete roots_.back();
    clearing_ = false;
    if (hadSelection) owner_->SelectionDeleted(nullptr);
    owner_->NodesCleared();
    EndUpdate();
}

void TTreeNodes::BeginUpdate() { ++updateCount_; }

void TTreeNodes::EndUpdate()
{
    if (updateCount_ == 0) return;
    if (--updateCount_ == 0) owner_->EndUpdateChanged();
}

void TTreeNodes::SortLevel(std::vector<TTreeNode*>& nodes, const TTVCompare& compare, intptr_t data, bool recurse)
{
    std::stable_sort(nodes.begin(), nodes.end(),
                     [&](TTreeNode* a, TTreeNode* b) { return compare(a, b, data) < 0; });
    TTreeNode::Renumber(nodes, 0);
    if (recurse)
        for (TTreeNode* n : nodes) SortLevel(n->children_, compare, data, true);
}

bool TTreeNodes::AlphaSort(bool recurse)
{
    return CustomSort(CaptionCompare(owner_), 0, recurse);
}

bool TTreeNodes::CustomSort(const TTVCompare& compare, intptr_t data, bool recurse)
{
    if (!compare) return false;
    SortLevel(roots_, compare, data, recurse);
    Changed();
    return true;
}

}  // namespace vxplan
