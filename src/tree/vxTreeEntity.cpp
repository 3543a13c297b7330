// The tree's entities and nodes: what an entity stores, and how it and its node forget each other.
#include <vxplan/tree/vxTree.h>

#include <vxplan/platform/core/vxExceptions.h>

namespace vxplan {

// ---- TvxDataEntity_Tree ----

void TvxDataEntity_Tree::CleanForFree()
{
    TvxDataEntity::CleanForFree();
    if (TreeNode && !TreeNode->Deleting()) TreeNode->SetData(nullptr);
    TreeNode = nullptr;
    Children = nullptr;
    DummyNode = nullptr;
}

void TvxDataEntity_Tree::SetVisible(bool value)
{
    TvxDataEntity::SetVisible(value);
    DisplayOutOfDate();
}

bool TvxDataEntity_Tree::GetVisible() const
{
    // Walks up iteratively: a deep hierarchy must not exhaust the stack.
    for (const TvxDataEntity_Tree* e = this; e; e = e->ParentNode())
        if (!e->TreeNode || !e->TreeNode->IsVisible()) return false;
    return true;
}

bool TvxDataEntity_Tree::TextFits(const std::string& s)
{
    // A UTF-8 continuation byte starts no character.
    int n = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80 && ++n > kMaxTextLength) return false;
    return true;
}

void TvxDataEntity_Tree::SetText(const std::string& s)
{
    if (!TextFits(s)) throw EInvalidArgument(kTextTooLong);
    Text = s;
    if (TreeNode) TreeNode->SetText(s);
}

void TvxDataEntity_Tree::SetImageIndex(int i)
{
    ImageIndex = i;
    if (TreeNode) TreeNode->SetImageIndex(i);
}

void TvxDataEntity_Tree::SetSelectedIndex(int i)
{
    SelectedIndex = i;
    if (TreeNode) TreeNode->SetSelectedIndex(i);
}

void TvxDataEntity_Tree::SetFontName(const std::string& name)
{
    FontName = name;
    InvalidateTree();
}

void TvxDataEntity_Tree::SetFontStyle(TFontStyles style)
{
    FontStyle = style;
    InvalidateTree();
}

void TvxDataEntity_Tree::SetExpanded(bool b)
{
    Expanded = b;
    if (TreeNode) {
        TreeNode->SetExpanded(b);
        // The platform may refuse (a handler, or a node that has nothing to show).
        Expanded = TreeNode->GetExpanded();
        return;
    }
    TvxTree_ComBasic* tree = Tree();
    if (!tree) return;
    tree->DisplayOutOfDate();
    if (b && !tree->fInDisplayUpdate && !tree->fInExpand) {
        // Makes the node now, so that it opens; the next paint still brings the rest up to date.
        tree->EnsureDisplayUpToDate();
        tree->DisplayOutOfDate();
    }
}

void TvxDataEntity_Tree::Set_HideNode(bool b)
{
    HideNode = b;
    DisplayOutOfDate();
}

int TvxDataEntity_Tree::GetLevel() const
{
    int level = 0;
    for (const TvxDataEntity_Tree* p = ParentNode(); p; p = p->ParentNode()) ++level;
    return level;
}

TvxDataEntity_Tree* TvxDataEntity_Tree::ParentNode() const
{
    auto* list = dynamic_cast<TvxDataList_Tree*>(GetDataList());
    return list ? list->OwnerEntity : nullptr;
}

TvxTree_ComBasic* TvxDataEntity_Tree::Tree() const
{
    TvxDataList* list = GetDataList();
    if (!list) return nullptr;
    auto* c = static_cast<TvxListController_Tree*>(list->Controller());
    return c ? c->Tree : nullptr;
}

void TvxDataEntity_Tree::EditText()
{
    if (TreeNode) TreeNode->EditText();
}

TvxDataEntity_Tree* TvxDataEntity_Tree::GetNextVisible() const
{
    if (!TreeNode) return nullptr;
    TvxTree_ComBasic* tree = Tree();
    return tree ? tree->GetDataEntityFromNode(TreeNode->GetNextVisible()) : nullptr;
}

TvxDataEntity_Tree* TvxDataEntity_Tree::GetPrevVisible() const
{
    if (!TreeNode) return nullptr;
    TvxTree_ComBasic* tree = Tree();
    return tree ? tree->GetDataEntityFromNode(TreeNode->GetPrevVisible()) : nullptr;
}

void TvxDataEntity_Tree::InvalidateTree() const
{
    if (TvxTree_ComBasic* tree = Tree()) tree->Invalidate();
}

void TvxDataEntity_Tree::DisplayOutOfDate() const
{
    if (TvxTree_ComBasic* tree = Tree()) tree->DisplayOutOfDate();
}

// ---- TTreeNode_vxSub ----

TTreeNode_vxSub::~TTreeNode_vxSub()
{
    MarkDeleting();
    if (auto* e = dynamic_cast<TvxDataEntity_Tree*>(static_cast<TObject*>(GetData()))) {
        if (e->TreeNode == this) e->TreeNode = nullptr;
        e->DummyNode = nullptr;
    }
    // A placeholder belongs to its parent's entity.
    if (TTreeNode* parent = GetParent())
        if (auto* owner = dynamic_cast<TvxDataEntity_Tree*>(static_cast<TObject*>(parent->GetData())))
            if (owner->DummyNode == this) owner->DummyNode = nullptr;
    auto* tree = dynamic_cast<TvxTree_ComBasic*>(TreeView());
    if (tree && !tree->IsDestroying()) tree->NodeGone(this);
}

}  // namespace vxplan
