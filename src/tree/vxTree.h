// TvxTree_ComBasic / TvxTree: a tree view whose content is a hierarchy of data entities.
//
// The host changes the hierarchy only through the entities and their lists; the control keeps
// the platform's nodes in step lazily. Every change marks the display out of date; one pass just
// before the control paints (or is asked about its nodes) creates, updates, re-parents, sorts and
// deletes nodes. Children of a collapsed entity get no nodes: an entity without children shows a
// placeholder child ("Not initiated") so that it can be expanded, and the host fills its
// children in OnExpanding.
//
// The implementation is split by concern: vxTreeEntity.cpp (entities, lists, nodes), vxTree.cpp
// (construction, list callbacks, host operations), vxTreeDisplay.cpp (the display update,
// expansion), vxTreeSelect.cpp (current entity, multi-selection, mouse and keys, label editing,
// drawing, top item).
#pragma once

#include <vxplan/dataentity/vxBeginUpdate.h>
#include <vxplan/dataentity/vxDataEntityPack.h>
#include <vxplan/dataentity/vxDoLater.h>
#include <vxplan/platform/graphics/vxCanvas.h>
#include <vxplan/platform/time/vxDateUtils.h>
#include <vxplan/platform/treeview/vxTreeView.h>

#include <string>
#include <unordered_set>
#include <vector>

namespace vxplan {

class TvxTree_ComBasic;
class TvxDataList_Tree;

// ---- Entities, lists and nodes ----

class TvxDataEntity_Tree : public TvxDataEntity {
public:
    // The longest caption a node takes, in characters.
    static constexpr int kMaxTextLength = 255;
    static constexpr const char* kTextTooLong = "Treenodes only allow strings smaller than 255 chars";
    // At most kMaxTextLength characters (UTF-8 is counted by characters, not bytes).
    static bool TextFits(const std::string& s);

    void CleanForFree() override;
    void SetVisible(bool value) override;
    // Has a node that the platform shows, and the parent (if any) is visible too.
    bool GetVisible() const override;

    const std::string& GetText() const { return Text; }
    // Throws EInvalidArgument ("Treenodes only allow strings smaller than 255 chars") for a text
    // over 255 characters and changes nothing.
    void SetText(const std::string& s);
    int GetImageIndex() const { return ImageIndex; }
    void SetImageIndex(int i);
    int GetSelectedIndex() const { return SelectedIndex; }
    void SetSelectedIndex(int i);
    const std::string& GetFontName() const { return FontName; }
    void SetFontName(const std::string& name);
    TFontStyles GetFontStyle() const { return FontStyle; }
    void SetFontStyle(TFontStyles style);
    bool GetExpanded() const { return Expanded; }
    void SetExpanded(bool b);
    bool Get_HideNode() const { return HideNode; }
    void Set_HideNode(bool b);

    TTreeNode* GetTreeNode() const { return TreeNode; }
    TTreeNode* GetDummyNode() const { return DummyNode; }
    TvxDataList_Tree* GetChildren() const { return Children; }
    int GetLevel() const;
    // The entity whose children this one is; null for a root entity or one in no list.
    TvxDataEntity_Tree* ParentNode() const;
    TvxTree_ComBasic* Tree() const;
    // Starts label editing on the entity's node.
    void EditText();
    // The entity of the next / previous shown node; null when the entity has no node.
    TvxDataEntity_Tree* GetNextVisible() const;
    TvxDataEntity_Tree* GetPrevVisible() const;

protected:
    ~TvxDataEntity_Tree() override = default;

private:
    friend class TvxTree_ComBasic;
    friend class TTreeNode_vxSub;

    // Repaints the tree (when the entity is in one) without changing nodes.
    void InvalidateTree() const;
    void DisplayOutOfDate() const;

    std::string FontName;
    TFontStyles FontStyle;
    TTreeNode* TreeNode = nullptr;
    TvxDataList_Tree* Children = nullptr;
    std::string Text;
    int ImageIndex = -1;
    int SelectedIndex = -1;
    bool Expanded = false;
    TTreeNode* DummyNode = nullptr;
    bool HideNode = false;
};

class TvxDataList_Tree : public TvxDataList {
public:
    TvxDataEntity_Tree* GetOwnerEntity() const { return OwnerEntity; }
    TvxDataEntity_Tree* Item(int i) { return static_cast<TvxDataEntity_Tree*>(GetItems(i)); }

protected:
    ~TvxDataList_Tree() override = default;

private:
    friend class TvxTree_ComBasic;
    friend class TvxDataEntity_Tree;

    TvxDataEntity_Tree* OwnerEntity = nullptr;
    bool NeedsSort = false;
};

struct TvxListController_Tree : TvxListController {
    TvxTree_ComBasic* Tree = nullptr;
};

// Every node the control makes. Its destructor unlinks the node from its entity and from the
// control's saved nodes.
class TTreeNode_vxSub : public TTreeNode {
public:
    using TTreeNode::TTreeNode;
    ~TTreeNode_vxSub() override;
};

// ---- The control ----

using TOnTreeDataEntityDelete = TMethod<void(TvxTree_ComBasic* theTree, TvxDataEntity_Tree* theObs)>;
using TOnCurrentDataEntityChange = TMethod<void(TvxTree_ComBasic* theTree, TvxDataEntity_Tree* theDataEntity)>;

class TvxTree_ComBasic : public TCustomTreeView {
public:
    explicit TvxTree_ComBasic(TComponent* AOwner = nullptr);
    ~TvxTree_ComBasic() override;

    TvxDataList_Tree* GetRootDataList() const { return RootList; }
    TvxDataList2lev* GetDataLists() const { return DataLists; }

    // A new entity at the end of parent's children (of the root list for null).
    TvxDataEntity_Tree* AddDataEntity(TvxDataEntity_Tree* parent);
    TvxDataEntity_Tree* InsertDataEntity(TvxDataEntity_Tree* parent, int index);
    // Removes (and so frees) the entity. Throws EInvalidArgument for an entity of another tree.
    void RemoveDataEntity(TvxDataEntity_Tree* entity);
    // Moves the entity to the end of newParent's children. Ignored when newParent is the entity
    // itself or one of its descendants (that would cut the branch off the tree). Throws
    // EInvalidArgument when either belongs to another tree.
    void ChangeOwner(TvxDataEntity_Tree* entity, TvxDataEntity_Tree* newParent);
    void Clear();

    TvxDataEntity_Tree* GetDataEntityFromNode(TTreeNode* node) const;
    TvxDataEntity_Tree* GetDataEntityAt(int x, int y);
    // The row-th shown entity (pre-order over entities whose GetVisible is true); null past them.
    TvxDataEntity_Tree* GetDataEntityFromRow(int row);
    TvxDataEntity_Tree* GetCurrentDataEntity();
    // Selects the entity's node at the next deferred call (null clears the selection).
    void SetCurrentDataEntity(TvxDataEntity_Tree* entity);
    TvxDataEntity_Tree* GetNextVisible(TvxDataEntity_Tree* entity);
    TvxDataEntity_Tree* GetPrevVisible(TvxDataEntity_Tree* entity);
    // The caption rectangle of the entity's node; kNoRect when there is none.
    TRect GetRect(TvxDataEntity_Tree* entity);
    TvxDataEntity_Tree* GetTopItem();
    void SetTopItem(TvxDataEntity_Tree* entity);
    void UpdateMultiSelect(TvxDataEntity_Tree* entity, TShiftState shift);
    void ExpandLevels(int n);
    void BeginUpdate() { Items().BeginUpdate(); }
    void EndUpdate() { Items().EndUpdate(); }

    void EnsureDisplayUpToDate();
    void DisplayOutOfDate();
    void UpdateDisplay();
    void SetFocus() override;

    int GetAutoExpandLevels() const { return AutoExpandLevels; }
    void SetAutoExpandLevels(int n);
    int GetMaxLevels() const { return MaxLevels; }
    void SetMaxLevels(int n);
    bool GetMultiSelect() const { return MultiSelect; }
    void SetMultiSelect(bool b) { MultiSelect = b; }

    using TCustomTreeView::GetAutoExpand;
    using TCustomTreeView::GetRowSelect;
    using TCustomTreeView::GetScrollBarHorz;
    using TCustomTreeView::GetScrollBarVert;
    using TCustomTreeView::GetShowButtons;
    using TCustomTreeView::GetShowLines;
    using TCustomTreeView::GetShowRoot;
    using TCustomTreeView::SetAutoExpand;
    using TCustomTreeView::SetRowSelect;
    using TCustomTreeView::SetScrollBarHorz;
    using TCustomTreeView::SetScrollBarVert;
    using TCustomTreeView::SetShowButtons;
    using TCustomTreeView::SetShowLines;
    using TCustomTreeView::SetShowRoot;

    // False when the entity can have no children (no placeholder, no submenu in menus).
    virtual bool NeedsDummyNode(TvxDataEntity_Tree* entity);

    TOnTreeDataEntityDelete OnDataEntityDelete;
    TOnEntityCompare OnSortCompare;
    TOnCurrentDataEntityChange OnCurrentDataEntityChange;
    TOnContentChanged OnContentChanged;
    TOnSelectionChanged OnSelectionChanged;
    TOnDeleteItem OnDeleteItem;
    TOnInsertItem OnInsertItem;
    TOnInfoPush OnValueChanged;
    TOnBeforeCanEditItem OnBeforeCanEditItem;
    TOnCurrentDataEntityChange OnRightClick;
    TNotifyEvent OnTopItemChanged;

protected:
    // The list callbacks, in the order descendants override them.
    virtual void _DeleteItem(TvxDataEntity* entity);
    virtual void _InsertItem(TvxDataEntity* entity);
    virtual void _OnInfoPush(TvxDataEntity* entity);
    virtual void _SelectionChanged(TvxDataList* list, TvxDataEntity* entity);
    virtual void _ContentChanged(TvxDataList* list);
    virtual int _SortCompare(TvxDataEntity* e1, TvxDataEntity* e2);
    virtual void _OnBeforeCanEditItem(TvxDataEntity* entity);
    virtual void _LeaveOwnerBeforeChange(TvxDataEntity* entity);
    virtual void _EnterOwnerAfterChange(TvxDataEntity* entity);
    virtual void _OnVisibleChanged(TvxDataEntity* entity);
    virtual void HandleAutoExpand();
    virtual void PerformAutoExpandItem(TvxDataEntity_Tree* entity);
    virtual void vxCustomDrawItem(TCustomTreeView* Sender, TTreeNode* Node, TCustomDrawState State, bool& DefaultDraw);

    void _OnHandlePerformedMove(TvxDataEntity* entity, int theOldIndex, int theNewIndex);

    // Platform hooks.
    TTreeNode* CreateNode() override;
    void Expand(TTreeNode* node) override;
    void Collapse(TTreeNode* node) override;
    bool CanEdit(TTreeNode* node) override;
    void Edit(TTreeNode* node, std::string* text) override;
    void Change(TTreeNode* node) override;
    void BeginDragNode(TTreeNode* node) override;
    void Paint() override;
    void KeyDown(uint16_t& key, TShiftState shift) override;
    void KeyPress(char32_t& key) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void WndProc(TMessage& message) override;

    // What a descendant makes instead of the plain lists, entities and list container; given to
    // the constructor, as the lists are made there.
    struct TvxTreeClasses {
        TvxDataList_Tree* (*DataListClass)() = [] { return new TvxDataList_Tree; };
        TvxDataEntityClass DataEntityClass = EntityClassOf<TvxDataEntity_Tree>();
        TvxDataList2lev* (*CreateDataList2Lev)() = [] { return new TvxDataList2lev; };
    };
    TvxTree_ComBasic(TComponent* AOwner, const TvxTreeClasses& classes);

    const TvxTreeClasses& Classes() const { return fClasses; }

private:
    friend class TvxDataEntity_Tree;
    friend class TTreeNode_vxSub;

    void Initialize();
    TvxTreeClasses fClasses;
    TvxDataList_Tree* NewList(TvxDataEntity_Tree* owner);
    void CheckOwnEntity(const TvxDataEntity_Tree* entity, const char* what) const;

    // --- The display update (vxTreeDisplay.cpp)
    void SyncNode(TTreeNode* node, TvxDataEntity_Tree* entity, TvxBeginUpdate& marker);
    void SortPass(TvxDataList_Tree* list, TvxBeginUpdate& marker);
    void FreePendingNodes(TvxBeginUpdate& marker);
    void RemoveNode(TTreeNode* node);
    // Queues the entity's node and placeholder to be freed and forgets them; CleanTreeNode does
    // the same for the entity and all below it.
    void ReleaseNodes(TvxDataEntity_Tree* entity);
    void CleanTreeNode(TvxDataEntity_Tree* entity);
    void NodeGone(TTreeNode_vxSub* node);
    void BeginHorzScrollUpdate();
    void EndHorzScrollUpdate();

    // --- Selection, input and drawing (vxTreeSelect.cpp)
    void DoSetCurrent(TObject* data);
    void CheckSelectedIsFocused(TObject* data);
    void CheckTopItem();
    void ClearAllSelections();

    TvxDataList2lev* DataLists = nullptr;
    TvxDataList_Tree* RootList = nullptr;
    TvxListController_Tree* Controller = nullptr;
    int AutoExpandLevels = 0;
    int MaxLevels = -1;
    bool MultiSelect = false;

    bool fDisplayOutOfDate = false;
    bool fInDisplayUpdate = false;
    bool fInExpand = false;
    bool fNodesCreatedElsewhere = false;
    bool fBeingDestroyed = false;
    // While the whole content goes, the lists of deleted entities are left for Clear to free.
    bool fClearing = false;
    // Nodes to free at the next display update, in the order queued; a node dropped from the
    // set (freed meanwhile) is skipped when its turn comes.
    std::vector<TTreeNode*> fPendingOrder;
    std::unordered_set<TTreeNode*> fPending;
    TTreeNode* fSavedSelected = nullptr;
    TTreeNode* fSavedTop = nullptr;
    TvxDataEntity_Tree* fPendingCurrent = nullptr;
    TDateTime fLastCurrentChange = 0;
    TTreeNode* fShiftAnchor = nullptr;
    TTreeNode* fLabelEditNode = nullptr;
    TvxDataEntity_Tree* fLastTopEntity = nullptr;
    bool fMouseDownSelected = false;
    bool fDragBegun = false;
    TShiftState fMouseDownShift;
    int fHorzScrollBefore = -1;
};

// The published tree.
class TvxTree : public TvxTree_ComBasic {
public:
    using TvxTree_ComBasic::TvxTree_ComBasic;

    using TCustomTreeView::GetBorderStyle;
    using TCustomTreeView::GetChangeDelay;
    using TCustomTreeView::GetHideSelection;
    using TCustomTreeView::GetHotTrack;
    using TCustomTreeView::GetImages;
    using TCustomTreeView::GetIndent;
    using TCustomTreeView::GetRightClickSelect;
    using TCustomTreeView::GetStateImages;
    using TCustomTreeView::GetToolTips;
    using TCustomTreeView::SetBorderStyle;
    using TCustomTreeView::SetChangeDelay;
    using TCustomTreeView::SetHideSelection;
    using TCustomTreeView::SetHotTrack;
    using TCustomTreeView::SetImages;
    using TCustomTreeView::SetIndent;
    using TCustomTreeView::SetRightClickSelect;
    using TCustomTreeView::SetStateImages;
    using TCustomTreeView::SetToolTips;
};

}  // namespace vxplan
