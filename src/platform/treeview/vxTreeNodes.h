// TTreeNode and TTreeNodes: the nodes of a tree view and the collection that holds them.
//
// A node belongs to one collection (a tree view's Items) for its whole life; deleting it (Delete,
// or delete) deletes its children first, raises the tree's OnDeletion with Deleting set, and
// takes it out of its parent. Each structural change tells the tree, which rebuilds its list of
// shown rows lazily, at the next paint or query, so a batch of changes costs one rebuild.
//
// Positions: Index is the place among the siblings; AbsoluteIndex the place among all nodes of
// the collection top to bottom (collapsed or not); both are zero-based, -1 for none.
#pragma once

#include <vxplan/platform/core/vxTypes.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace vxplan {

class TCustomTreeView;
class TTreeNode;
class TTreeNodes;

// Where MoveTo and TTreeNodes::AddNode put a node relative to the destination:
// naAdd / naAddFirst  last / first sibling of the destination;
// naAddChild / naAddChildFirst  last / first child of the destination;
// naInsert  just before the destination.
// A null destination means the root level.
enum class TNodeAttachMode { naAdd, naAddFirst, naAddChild, naAddChildFirst, naInsert };

// Compares two nodes for CustomSort: negative, 0 or positive; data is the caller's value.
using TTVCompare = std::function<int(TTreeNode* node1, TTreeNode* node2, intptr_t data)>;

class TTreeNode : public TObject {
public:
    explicit TTreeNode(TTreeNodes* owner);
    // Deletes the children, raises OnDeletion and unlinks the node (as Delete does).
    ~TTreeNode() override;
    TTreeNode(const TTreeNode&) = delete;
    TTreeNode& operator=(const TTreeNode&) = delete;

    TTreeNodes* GetOwner() const { return owner_; }
    TCustomTreeView* TreeView() const;

    const std::string& GetText() const { return text_; }
    void SetText(const std::string& text);
    void* GetData() const { return data_; }
    void SetData(void* data) { data_ = data; }
    // -1 (the default) shows no image.
    int GetImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    // The image while the node is selected; -1 (the default) shows no image.
    int GetSelectedIndex() const { return selectedIndex_; }
    void SetSelectedIndex(int index);
    // An image of the tree's StateImages drawn before the image; -1 (the default) for none.
    int GetStateIndex() const { return stateIndex_; }
    void SetStateIndex(int index);

    bool GetExpanded() const { return expanded_; }
    // True expands (a node without children and without HasChildren stays collapsed); the
    // tree's OnExpanding / OnCollapsing may refuse.
    void SetExpanded(bool expanded);
    void Expand(bool recurse);
    void Collapse(bool recurse);
    // Children, or the promise of them: the node shows an expand button either way.
    bool HasChildren() const { return !children_.empty() || hasChildren_; }
    void SetHasChildren(bool hasChildren);

    TTreeNode* GetParent() const { return parent_; }
    int GetLevel() const;
    int GetIndex() const { return index_; }
    int GetAbsoluteIndex() const;
    int GetCount() const { return static_cast<int>(children_.size()); }
    // Throws EListError for an index outside 0..Count-1.
    TTreeNode* GetItem(int index) const;
    TTreeNode* operator[](int index) const { return GetItem(index); }
    TTreeNode* GetFirstChild() const { return children_.empty() ? nullptr : children_.front(); }
    TTreeNode* GetLastChild() const { return children_.empty() ? nullptr : children_.back(); }
    TTreeNode* GetNextSibling() const;
    TTreeNode* GetPrevSibling() const;
    // The next / previous node of the whole collection top to bottom.
    TTreeNode* GetNext() const;
    TTreeNode* GetPrev() const;
    // The next / previous node that is shown (all its ancestors expanded); null at the ends.
    TTreeNode* GetNextVisible() const;
    TTreeNode* GetPrevVisible() const;
    // All ancestors expanded (scrolled out of view or not).
    bool IsVisible() const;
    bool HasAsParent(const TTreeNode* ancestor) const;

    bool Deleting() const { return deleting_; }
    void Delete();
    void DeleteChildren();

    bool GetSelected() const;
    // True selects the node (the tree's OnChanging may refuse); false clears the selection when
    // this node holds it.
    void SetSelected(bool selected);
    bool GetFocused() const;
    // Scrolls the tree and expands the ancestors so the node can be seen.
    void MakeVisible();
    // The row's rectangle, or with textOnly that of the caption, in client coordinates; an empty
    // rectangle when the node is not shown.
    TRect DisplayRect(bool textOnly) const;
    // Starts label editing; false when the tree is read-only or OnEditing refused.
    bool EditText();
    // Ends the edit of this node: cancel keeps the old text.
    void EndEdit(bool cancel);

    // Moves the node (with its subtree) relative to destination. Throws EInvalidOperation for a
    // destination inside the node's own subtree and EInvalidArgument for a node of another tree.
    void MoveTo(TTreeNode* destination, TNodeAttachMode mode);
    bool AlphaSort(bool recurse = false);
    bool CustomSort(const TTVCompare& compare, intptr_t data, bool recurse = false);

protected:
    // A derived node's destructor runs before this class's: it says the node is going first.
    void MarkDeleting() { deleting_ = true; }

private:
    friend class TTreeNodes;
    friend class TCustomTreeView;

    void Unlink();
    // Gives the nodes of a sibling list from one place on their places in it.
    static void Renumber(std::vector<TTreeNode*>& list, size_t from);
    std::vector<TTreeNode*>& Siblings() const;

    TTreeNodes* owner_;
    TTreeNode* parent_ = nullptr;
    std::vector<TTreeNode*> children_;
    int index_ = -1;
    std::string text_;
    void* data_ = nullptr;
    int imageIndex_ = -1;
    int selectedIndex_ = -1;
    int stateIndex_ = -1;
    bool expanded_ = false;
    bool hasChildren_ = false;
    bool deleting_ = false;
    bool linked_ = false;
    // Caches the tree fills: caption width (valid for textGen_), row and absolute positions.
    int textWidth_ = -1;
    unsigned textGen_ = 0;
    int row_ = -1;
    int absIndex_ = -1;
};

class TTreeNodes : public TObject {
public:
    explicit TTreeNodes(TCustomTreeView* owner);
    ~TTreeNodes() override;
    TTreeNodes(const TTreeNodes&) = delete;
    TTreeNodes& operator=(const TTreeNodes&) = delete;

    TCustomTreeView* Owner() const { return owner_; }
    // All nodes, at every level.
    int GetCount() const { return count_; }
    // The node at an absolute index; throws EListError outside 0..Count-1.
    TTreeNode* GetItem(int index) const;
    TTreeNode* operator[](int index) const { return GetItem(index); }
    TTreeNode* GetFirstNode() const { return roots_.empty() ? nullptr : roots_.front(); }
    int RootCount() const { return static_cast<int>(roots_.size()); }
    TTreeNode* GetRoot(int index) const;

    // A new last sibling of sibling (a last root node when sibling is null).
    TTreeNode* Add(TTreeNode* sibling, const std::string& text) { return AddObject(sibling, text, nullptr); }
    TTreeNode* AddObject(TTreeNode* sibling, const std::string& text, void* data);
    TTreeNode* AddFirst(TTreeNode* sibling, const std::string& text) { return AddObjectFirst(sibling, text, nullptr); }
    TTreeNode* AddObjectFirst(TTreeNode* sibling, const std::string& text, void* data);
    // A new last (first) child of parent (a root node when parent is null).
    TTreeNode* AddChild(TTreeNode* parent, const std::string& text) { return AddChildObject(parent, text, nullptr); }
    TTreeNode* AddChildObject(TTreeNode* parent, const std::string& text, void* data);
    TTreeNode* AddChildFirst(TTreeNode* parent, const std::string& text)
    {
        return AddChildObjectFirst(parent, text, nullptr);
    }
    TTreeNode* AddChildObjectFirst(TTreeNode* parent, const std::string& text, void* data);
    // A new node just before sibling (a last root node when sibling is null).
    TTreeNode* Insert(TTreeNode* sibling, const std::string& text) { return InsertObject(sibling, text, nullptr); }
    TTreeNode* InsertObject(TTreeNode* sibling, const std::string& text, void* data);
    // A node made by the tree's CreateNode, placed as mode says relative to destination.
    TTreeNode* AddNode(TTreeNode* destination, TNodeAttachMode mode, const std::string& text, void* data);

    void Delete(TTreeNode* node);
    void Clear();

    // Changes between BeginUpdate and the matching EndUpdate are shown once, at the end.
    void BeginUpdate();
    void EndUpdate();
    bool Updating() const { return updateCount_ > 0; }

    // Sorts the root nodes (and with recurse every level).
    bool AlphaSort(bool recurse = false);
    bool CustomSort(const TTVCompare& compare, intptr_t data, bool recurse = false);

private:
    friend class TTreeNode;
    friend class TCustomTreeView;

    // Visits the nodes in pre-order without recursion (deep trees do not exhaust the stack):
    // visit(node, depth) returns whether to go into the node's children.
    template <class Visit>
    static void PreOrder(const std::vector<TTreeNode*>& roots, Visit visit)
    {
        std::vector<std::pair<const std::vector<TTreeNode*>*, size_t>> stack;
        stack.push_back({&roots, 0});
        while (!stack.empty()) {
            auto& [list, i] = stack.back();
            if (i >= list->size()) {
                stack.pop_back();
                continue;
            }
            TTreeNode* n = (*list)[i++];
            const int depth = static_cast<int>(stack.size()) - 1;
            if (visit(n, depth) && !n->children_.empty()) stack.push_back({&n->children_, 0});
        }
    }

    // Puts a node that is in no list yet at the place mode says.
    void Attach(TTreeNode* node, TTreeNode* destination, TNodeAttachMode mode);
    void CheckOwn(const TTreeNode* node, const char* what) const;
    void Changed();
    // Every node top to bottom, rebuilt after a structural change.
    const std::vector<TTreeNode*>& Flat() const;
    static void SortLevel(std::vector<TTreeNode*>& nodes, const TTVCompare& compare, intptr_t data, bool recurse);

    TCustomTreeView* owner_;
    std::vector<TTreeNode*> roots_;
    int count_ = 0;
    int updateCount_ = 0;
    bool clearing_ = false;
    mutable std::vector<TTreeNode*> flat_;
    mutable bool flatValid_ = true;
};

}  // namespace vxplan
