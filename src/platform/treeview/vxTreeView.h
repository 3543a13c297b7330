// TCustomTreeView / TTreeView: a tree of captioned nodes with expand buttons, dotted lines,
// images, selection, label editing, keyboard navigation and scroll bars, drawn through the canvas.
//
// Rows: the shown nodes (all ancestors expanded) form a flat list rebuilt lazily after a
// structural change, so painting and hit testing look at the rows in view only. All rows are
// ItemHeight high; the top row follows the top node, so changes above it do not move the view.
// Caption widths are measured once and kept; a rebuild of the rows measures up to a few thousand
// new ones and the rest as they come into view, so the horizontal range of a huge tree grows as
// its rows are seen.
//
// Layout of a row at level L (x grows to the right from the left edge minus the horizontal
// scroll position):
//   columns 0 .. L+R-1 of Indent pixels each: lines of the ancestors; the last one holds the
//     node's own expand button and line (R is 1 when the roots have lines or buttons: ShowRoot
//     and ShowLines or ShowButtons);
//   the state image, the image (from StateImages / Images, when set) and the caption, whose
//   rectangle (DisplayRect(true)) is the text width plus 2 pixels each side.
// Coordinates are client coordinates: with BorderStyle bsSingle the rows start inside a 2-pixel
// sunken frame. The scroll bars are child controls at the right and bottom, shown when needed.
//
// Events come in the platform's order: OnChanging (may refuse) before a selection change and
// OnChange after it (ChangeDelay milliseconds later when set); OnExpanding / OnCollapsing (may
// refuse) before the state changes and OnExpanded / OnCollapsed after; OnEditing (may refuse)
// before a label edit and OnEdited (may change the text, or refuse by setting it back to the
// node's text) when Enter or the loss of focus ends it; Escape cancels without OnEdited.
// A descendant whose nodes refer back to it clears Items in its own destructor, while it is whole.
//
// Scrolling, by the bars, the wheel or the keys, arrives as WM_VSCROLL / WM_HSCROLL messages
// through WndProc, so a descendant can follow every scroll: WParam holds the SB_ code in its low
// 16 bits and, for SB_THUMBPOSITION / SB_THUMBTRACK, the position above them (all 32 bits of it,
// as a tree may have more rows than a 16-bit word counts).
#pragma once

#include <vxplan/platform/controls/vxEdit.h>
#include <vxplan/platform/controls/vxPanel.h>
#include <vxplan/platform/controls/vxScrollBar.h>
#include <vxplan/platform/controls/vxWinControl.h>
#include <vxplan/platform/core/vxSet.h>
#include <vxplan/platform/graphics/vxBitmap.h>
#include <vxplan/platform/graphics/vxImageList.h>
#include <vxplan/platform/time/vxTimer.h>
#include <vxplan/platform/treeview/vxTreeNodes.h>

#include <memory>
#include <string>
#include <vector>

namespace vxplan {

enum class THitTest {
    htAbove, htBelow, htNowhere, htOnItem, htOnButton, htOnIcon, htOnIndent, htOnLabel, htOnRight,
    htOnStateIcon, htToLeft, htToRight
};
using THitTests = TSet<THitTest, 16>;

enum class TCustomDrawStateFlag {
    cdsSelected, cdsGrayed, cdsDisabled, cdsChecked, cdsFocused, cdsDefault, cdsHot, cdsMarked, cdsIndeterminate
};
using TCustomDrawState = TSet<TCustomDrawStateFlag, 16>;
constexpr TCustomDrawStateFlag cdsSelected = TCustomDrawStateFlag::cdsSelected,
                               cdsGrayed = TCustomDrawStateFlag::cdsGrayed,
                               cdsDisabled = TCustomDrawStateFlag::cdsDisabled,
                               cdsFocused = TCustomDrawStateFlag::cdsFocused,
                               cdsDefault = TCustomDrawStateFlag::cdsDefault, cdsHot = TCustomDrawStateFlag::cdsHot;

class TCustomTreeView;

using TTVChangedEvent = TMethod<void(TObject* Sender, TTreeNode* Node)>;
using TTVChangingEvent = TMethod<void(TObject* Sender, TTreeNode* Node, bool& AllowChange)>;
using TTVExpandingEvent = TMethod<void(TObject* Sender, TTreeNode* Node, bool& AllowExpansion)>;
using TTVCollapsingEvent = TMethod<void(TObject* Sender, TTreeNode* Node, bool& AllowCollapse)>;
using TTVExpandedEvent = TMethod<void(TObject* Sender, TTreeNode* Node)>;
using TTVEditingEvent = TMethod<void(TObject* Sender, TTreeNode* Node, bool& AllowEdit)>;
using TTVEditedEvent = TMethod<void(TObject* Sender, TTreeNode* Node, std::string& S)>;
using TTVCompareEvent =
    TMethod<void(TObject* Sender, TTreeNode* Node1, TTreeNode* Node2, intptr_t Data, int& Compare)>;
// Before the rows are drawn: DefaultDraw false leaves the whole client area to the handler.
using TTVCustomDrawEvent = TMethod<void(TCustomTreeView* Sender, const TRect& ARect, bool& DefaultDraw)>;
// Before a row is drawn, with Canvas set up as the row will be drawn (Brush: caption
// background, Font: caption font and colour). Changing them changes the row; DefaultDraw false
// leaves the row to the handler.
using TTVCustomDrawItemEvent =
    TMethod<void(TCustomTreeView* Sender, TTreeNode* Node, TCustomDrawState State, bool& DefaultDraw)>;

class TCustomTreeView : public TCustomControl {
public:
    explicit TCustomTreeView(TComponent* AOwner = nullptr);
    ~TCustomTreeView() override;

    TTreeNodes& Items() { return *items_; }
    const TTreeNodes& Items() const { return *items_; }
    using TCustomControl::Canvas;

    TTreeNode* GetSelected() const { return selected_; }
    // Selects the node (null clears the selection): OnChanging may refuse; the node's ancestors
    // are expanded and the node scrolled into view.
    void SetSelected(TTreeNode* node);
    // The node in the top row; null when the tree is empty.
    TTreeNode* GetTopItem();
    // Scrolls so the node is in the top row (as near as the end of the rows allows), expanding
    // its ancestors; null scrolls to the first row.
    void SetTopItem(TTreeNode* node);
    // The node whose row is at the point (anywhere on the row); null if none.
    TTreeNode* GetNodeAt(int x, int y);
    THitTests GetHitTestInfoAt(int x, int y);
    bool IsEditing() const { return editNode_ != nullptr; }
    TTreeNode* EditingNode() const { return editNode_; }
    // The label-edit box while an edit runs; null otherwise.
    TEdit* GetEditControl() const { return editNode_ ? edit_ : nullptr; }

    void FullExpand();
    void FullCollapse();
    bool AlphaSort(bool recurse = true) { return items_->AlphaSort(recurse); }
    bool CustomSort(const TTVCompare& compare, intptr_t data, bool recurse = true)
    {
        return items_->CustomSort(compare, data, recurse);
    }

    // Shown rows and rows that fit the view entirely.
    int ShownCount();
    int VisibleCount();
    // ItemHeight: the row height; 0 (the default) follows the font and the images.
    int GetItemHeight();
    void SetItemHeight(int height);
    // The scroll position of a bar (SB_HORZ in pixels, SB_VERT in rows). Setting the horizontal
    // position scrolls the rows sideways; the vertical one makes that row the top row.
    int GetScrollPos(int bar);
    void SetScrollPos(int bar, int position);
    // Whether the bar is shown (it is when the rows need it and ScrollBars allows it).
    bool ScrollBarShown(int bar);
    TScrollBar* VertScrollBar() const { return vbar_; }
    TScrollBar* HorzScrollBar() const { return hbar_; }

    // Draws the view onto any context with its top-left corner at (x, y), through the same code
    // as the screen (a printer or a bitmap sees what the window shows).
    void PaintTo(HDC dc, int x, int y);

    void WndProc(TMessage& message) override;

protected:
    // Properties the descendants publish.
    bool GetReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    bool GetShowButtons() const { return showButtons_; }
    void SetShowButtons(bool show);
    bool GetShowLines() const { return showLines_; }
    void SetShowLines(bool show);
    bool GetShowRoot() const { return showRoot_; }
    void SetShowRoot(bool show);
    int GetIndent() const { return indent_; }
    // Throws EInvalidArgument below 0.
    void SetIndent(int indent);
    TCustomImageList* GetImages() const { return images_; }
    void SetImages(TCustomImageList* images);
    TCustomImageList* GetStateImages() const { return stateImages_; }
    void SetStateImages(TCustomImageList* images);
    bool GetHideSelection() const { return hideSelection_; }
    void SetHideSelection(bool hide);
    bool GetRightClickSelect() const { return rightClickSelect_; }
    void SetRightClickSelect(bool select) { rightClickSelect_ = select; }
    bool GetHotTrack() const { return hotTrack_; }
    void SetHotTrack(bool hotTrack);
    bool GetToolTips() const { return toolTips_; }
    void SetToolTips(bool toolTips);
    bool GetRowSelect() const { return rowSelect_; }
    void SetRowSelect(bool rowSelect);
    bool GetAutoExpand() const { return autoExpand_; }
    void SetAutoExpand(bool autoExpand) { autoExpand_ = autoExpand; }
    TBorderStyle GetBorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle style);
    // Milliseconds between a selection change and OnChange; 0 raises it at once.
    int GetChangeDelay() const { return changeDelay_; }
    // Throws EInvalidArgument below 0.
    void SetChangeDelay(int ms);
    // Which scroll bars may appear (each only when the rows need it).
    bool GetScrollBarVert() const { return allowVert_; }
    void SetScrollBarVert(bool allow);
    bool GetScrollBarHorz() const { return allowHorz_; }
    void SetScrollBarHorz(bool allow);

    // Hooks in the platform's order; the defaults raise the events.
    virtual bool CanChange(TTreeNode* node);
    virtual void Change(TTreeNode* node);
    virtual bool CanExpand(TTreeNode* node);
    virtual void Expand(TTreeNode* node);
    virtual bool CanCollapse(TTreeNode* node);
    virtual void Collapse(TTreeNode* node);
    virtual bool CanEdit(TTreeNode* node);
    // The end of a label edit: text is the edited text (null when cancelled). The default raises
    // OnEdited and sets the node's caption to what the handler left.
    virtual void Edit(TTreeNode* node, std::string* text);
    // A node is being deleted (Deleting is set): raises OnDeletion.
    virtual void Delete(TTreeNode* node);
    // The factory of every node the collection makes.
    virtual TTreeNode* CreateNode();
    // The user began to drag a node: the left button went down on it and the pointer then moved
    // beyond the system's drag distance. A pending click-to-edit is dropped first.
    virtual void BeginDragNode(TTreeNode* node);
    virtual bool IsCustomDrawn();
    virtual bool CustomDraw(const TRect& rect);
    virtual bool CustomDrawItem(TTreeNode* node, TCustomDrawState state);

    void Paint() override;
    void KeyDown(uint16_t& key, TShiftState shift) override;
    void KeyPress(char32_t& key) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override;
    void DoEnter() override;
    void DoExit() override;
    void Resize() override;
    void FontChanged() override;
    void ColorChanged() override;
    void Notification(TComponent* component, TOperation operation) override;
    void leaveEvent(QEvent* event) override;

public:
    TTVChangingEvent OnChanging;
    TTVChangedEvent OnChange;
    TTVExpandingEvent OnExpanding;
    TTVExpandedEvent OnExpanded;
    TTVCollapsingEvent OnCollapsing;
    TTVExpandedEvent OnCollapsed;
    TTVEditingEvent OnEditing;
    TTVEditedEvent OnEdited;
    TTVExpandedEvent OnDeletion;
    TTVCompareEvent OnCompare;
    TTVCustomDrawEvent OnCustomDraw;
    TTVCustomDrawItemEvent OnCustomDrawItem;

private:
    friend class TTreeNode;
    friend class TTreeNodes;

    struct TRow {
        TTreeNode* Node;
        int Level;
    };
    // Where the parts of a row lie, in client coordinates.
    struct TRowGeometry {
        int Top = 0;
        int Column = 0;       // the node's own button column, -1 when it has none
        int ButtonLeft = 0;   // left edge of that column
        int StateLeft = 0, ImageLeft = 0, LabelLeft = 0, LabelRight = 0;
    };

    // --- Model notifications (vxTreeView.cpp)
    void StructureChanged();
    void NodeChanged(TTreeNode* node, bool width);
    void NodeDestroying(TTreeNode* node);
    void NodesCleared();
    void EndUpdateChanged();
    void RequestPaint();
    bool SetNodeExpanded(TTreeNode* node, bool expanded);
    // Asks CanExpand or CanCollapse; false when the handler refused or deleted the node.
    bool AskKeepsNode(TTreeNode* node, bool (TCustomTreeView::*ask)(TTreeNode*));
    bool SelectNode(TTreeNode* node, bool byUser);
    TTreeNode* NewSelectionAfterDeleting(TTreeNode* node) const;
    void SelectionDeleted(TTreeNode* next);
    void FireChange();
    void ImagesChanged(TObject* sender);

    // --- Rows, layout and scrolling (vxTreeViewLayout.cpp)
    void EnsureRows();
    void EnsureLayout();
    TRect ViewRect();
    int BorderWidth() const { return borderStyle_ == TBorderStyle::bsSingle ? 2 : 0; }
    int RootColumns() const { return showRoot_ && (showLines_ || showButtons_) ? 1 : 0; }
    int ComputedItemHeight();
    int TextWidthOf(TTreeNode* node);
    TRowGeometry Geometry(const TRow& row, int rowIndex);
    int RowRight(const TRow& row);
    void MeasureRowsInView();
    void UpdateScrollBars();
    int MaxTopRow();
    void SetTopRow(int row);
    void SetHorzOffset(int offset);
    void ScrollVert(int code, int thumb);
    void ScrollHorz(int code, int thumb);
    void MakeNodeVisible(TTreeNode* node);
    int RowOf(TTreeNode* node);
    TRect NodeRect(const TTreeNode* node, bool textOnly);
    void ScrollBarScrolled(TObject* sender, TScrollCode code, int& pos);

    // --- Painting (vxTreeViewPaint.cpp)
    void PaintView(TCanvas& canvas);
    void PaintLines(TCanvas& canvas, int first, int last);
    void PaintRowItem(TCanvas& canvas, int rowIndex);
    void PaintButton(TCanvas& canvas, int cx, int cy, bool expanded);
    void PaintBorder(TCanvas& canvas);

    // --- Keyboard and mouse (vxTreeViewInput.cpp)
    void NavigateTo(TTreeNode* node);
    void IncrementalSearch(char32_t ch);
    void SetHotNode(TTreeNode* node);
    void UpdateToolTip(int x, int y);

    // --- Label editing (vxTreeViewEdit.cpp)
    bool StartEdit(TTreeNode* node);
    void EndEdit(bool cancel);
    void PlaceEditor();
    void EditKeyDown(TObject* sender, uint16_t& key, TShiftState shift);
    void EditExit(TObject* sender);
    void EditTimer(TObject* sender);

    std::unique_ptr<TTreeNodes> items_;
    std::vector<TRow> rows_;
    bool rowsValid_ = true;
    bool layoutValid_ = false;
    bool paintRequested_ = false;
    TTreeNode* selected_ = nullptr;
    TTreeNode* topNode_ = nullptr;
    int topRow_ = 0;
    int xOffset_ = 0;
    int maxRight_ = 0;
    TTreeNode* hot_ = nullptr;
    // Nodes a handler is being asked about, innermost last; one that is deleted meanwhile
    // becomes null.
    std::vector<TTreeNode*> watched_;
    TTreeNode* editNode_ = nullptr;
    TTreeNode* pendingEdit_ = nullptr;
    TEdit* edit_ = nullptr;
    TTimer* editTimer_ = nullptr;
    TTimer* changeTimer_ = nullptr;
    TScrollBar* vbar_ = nullptr;
    TScrollBar* hbar_ = nullptr;
    TChangeLink imagesLink_;
    TChangeLink stateImagesLink_;
    TBitmap measure_;
    TBitmap linePattern_;
    unsigned textGen_ = 1;
    int itemHeight_ = 0;
    int computedItemHeight_ = 0;
    std::u32string search_;
    int64_t lastSearchTick_ = 0;
    bool keyHandled_ = false;
    TTreeNode* dragNode_ = nullptr;
    TPoint dragStart_;
    bool dragBegun_ = false;

    bool readOnly_ = false;
    bool showButtons_ = true;
    bool showLines_ = true;
    bool showRoot_ = true;
    int indent_ = 19;
    TCustomImageList* images_ = nullptr;
    TCustomImageList* stateImages_ = nullptr;
    bool hideSelection_ = true;
    bool rightClickSelect_ = false;
    bool hotTrack_ = false;
    bool toolTips_ = true;
    bool rowSelect_ = false;
    bool autoExpand_ = false;
    TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
    int changeDelay_ = 0;
    bool allowVert_ = true;
    bool allowHorz_ = true;
    bool vertShown_ = false;
    bool horzShown_ = false;
};

// The tree view with its properties public.
class TTreeView : public TCustomTreeView {
public:
    using TCustomTreeView::TCustomTreeView;

    using TCustomTreeView::GetAutoExpand;
    using TCustomTreeView::GetBorderStyle;
    using TCustomTreeView::GetChangeDelay;
    using TCustomTreeView::GetHideSelection;
    using TCustomTreeView::GetHotTrack;
    using TCustomTreeView::GetImages;
    using TCustomTreeView::GetIndent;
    using TCustomTreeView::GetReadOnly;
    using TCustomTreeView::GetRightClickSelect;
    using TCustomTreeView::GetRowSelect;
    using TCustomTreeView::GetScrollBarHorz;
    using TCustomTreeView::GetScrollBarVert;
    using TCustomTreeView::GetShowButtons;
    using TCustomTreeView::GetShowLines;
    using TCustomTreeView::GetShowRoot;
    using TCustomTreeView::GetStateImages;
    using TCustomTreeView::GetToolTips;
    using TCustomTreeView::SetAutoExpand;
    using TCustomTreeView::SetBorderStyle;
    using TCustomTreeView::SetChangeDelay;
    using TCustomTreeView::SetHideSelection;
    using TCustomTreeView::SetHotTrack;
    using TCustomTreeView::SetImages;
    using TCustomTreeView::SetIndent;
    using TCustomTreeView::SetReadOnly;
    using TCustomTreeView::SetRightClickSelect;
    using TCustomTreeView::SetRowSelect;
    using TCustomTreeView::SetScrollBarHorz;
    using TCustomTreeView::SetScrollBarVert;
    using TCustomTreeView::SetShowButtons;
    using TCustomTreeView::SetShowLines;
    using TCustomTreeView::SetShowRoot;
    using TCustomTreeView::SetStateImages;
    using TCustomTreeView::SetToolTips;
};

}  // namespace vxplan
