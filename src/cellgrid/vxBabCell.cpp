// Cells, grid cells and the root: creation, content, sizes, selection storage, focus and the
// notifications by which the axes keep the matrix in step.
#include <vxplan/cellgrid/vxBabCell.h>

#include <vxplan/cellgrid/vxLayoutProp.h>
#include <vxplan/platform/core/vxExceptions.h>

#include <algorithm>

namespace vxplan {

// --- TBabCellData ----------------------------------------------------------------------------

TBabCellType TBabCellData::GetBabCellType() const
{
    return cell_ && cell_->IsGridCell() ? TBabCellType::babCellTypeGrid : TBabCellType::babCellTypeSimple;
}

TAxisContentItem* TBabCellData::GetAxisContentItemX() const { return cell_ ? cell_->GetAxisContentItemX() : nullptr; }
TAxisContentItem* TBabCellData::GetAxisContentItemY() const { return cell_ ? cell_->GetAxisContentItemY() : nullptr; }

// --- TBabCell --------------------------------------------------------------------------------

TBabCell::TBabCell(TBabGridCell* theOwner)
    : gridCell_(theOwner), root_(theOwner ? theOwner->GetRoot() : nullptr), event_(std::make_unique<TEvent>(this))
{
}

TBabCell::~TBabCell()
{
    if (root_ && root_ != this) {
        if (root_->OnDeInitCell) root_->OnDeInitCell(this);
        root_->CellDestroyed(this);
    }
    data_.reset();
    event_.reset();
    if (gridCell_) gridCell_->ForgetCell(this);
}

bool TBabCell::IsGridCell() const { return dynamic_cast<const TBabGridCell*>(this) != nullptr; }

int TBabCell::ColumnIndex() const { return itemX_ ? itemX_->ListIndex() : -1; }
int TBabCell::RowIndex() const { return itemY_ ? itemY_->ListIndex() : -1; }

int TBabCell::GetMinHeight()
{
    const bool requested = measureRequested_;
    measureRequested_ = false;
    if (!layoutProp_) return 20;
    if (layoutProp_->WrapTextAndFit && root_ && root_->OnMeasureHeight) {
        calculatedHeight_ = layoutProp_->MinHeight;
        if (requested) root_->OnMeasureHeight(root_, this, measuredHeight_);
        return measuredHeight_;
    }
    return layoutProp_->MinHeight;
}

int TBabCell::GetMinWidth() const { return layoutProp_ ? layoutProp_->MinWidth : 20; }

void TBabCell::SetMinHeight(int theHeight)
{
    if (layoutProp_) layoutProp_->MinHeight = theHeight;
}

void TBabCell::SetMinWidth(int theWidth)
{
    if (layoutProp_) layoutProp_->MinWidth = theWidth;
}

void TBabCell::CalculateSizes()
{
    RequestMeasure();
    // GetMinHeight may first reset the calculated height to the layout's minimum.
    const int minHeight = GetMinHeight();
    calculatedHeight_ = std::max(calculatedHeight_, minHeight);
    calculatedWidth_ = std::max(calculatedWidth_, GetMinWidth());
}

TRect TBabCell::getVisibleRect()
{
    TRect r = visibleRect_;
    if (root_ && root_->OnCellRectTampering) root_->OnCellRectTampering(gridCell_, this, r);
    return r;
}

bool TBabCell::GetIsFixed() const
{
    if (!gridCell_) return false;
    return gridCell_->IsFixedCell(ColumnIndex(), RowIndex());
}

void TBabCell::SetSelected(bool theValue)
{
    if (selected_ == theValue) return;
    if (root_ && root_->OnInternalSelectionChanged) root_->OnInternalSelectionChanged(root_, this, theValue);
    selected_ = theValue;
    if (gridCell_ && gridCell_->GetRowSelect()) {
        const int row = RowIndex();
        const int last = gridCell_->Columns().Count() - 1;
        if (row >= 0 && last >= gridCell_->GetFixedCols())
            gridCell_->AreaSelect(theValue, Rect(gridCell_->GetFixedCols(), row, last, row));
    }
    if (root_) root_->GetSelectionChangedEvent().TriggerEvent(this);
}

TBabCell* TBabCell::GetGroupMaster()
{
    if (!grouped_ || groupMaster_ || !gridCell_) return this;
    TAxisContentList& rows = gridCell_->Rows();
    const int next = gridCell_->Convert_VisibleIndexToTrue(rows, gridCell_->Convert_TrueIndexToVisible(rows, RowIndex()) + 1);
    if (next >= rows.Count()) return this;
    TBabCell* below = gridCell_->getCell(ColumnIndex(), next);
    // A group whose master was never drawn ends here.
    if (!below || !below->GetGrouped()) return this;
    return below->GetGroupMaster();
}

// --- TBabGridCell ----------------------------------------------------------------------------

TBabGridCell::TBabGridCell(TBabGridCell* theOwner)
    : TBabCell(theOwner),
      columns_(std::make_unique<TAxisContentList>(this, false)),
      rows_(std::make_unique<TAxisContentList>(this, true)),
      matris_(std::make_unique<TCellMatris>(this)),
      topLeftEvent_(std::make_unique<TEvent>(this)),
      focusChangeEvent_(std::make_unique<TEvent>(this))
{
}

TBabGridCell::~TBabGridCell() { DestroyContent(); }

void TBabGridCell::DestroyContent()
{
    matris_.reset();
    rows_.reset();
    columns_.reset();
    focusedCell_ = nullptr;
    anchor_ = nullptr;
}

void TBabGridCell::ForgetCell(TBabCell* theCell)
{
    if (focusedCell_ == theCell) focusedCell_ = nullptr;
    if (anchor_ == theCell) anchor_ = nullptr;
}

void TBabGridCell::LoseFixedFocus()
{
    if (anchor_ && anchor_->GetIsFixed()) anchor_ = nullptr;
    if (focusedCell_ && focusedCell_->GetIsFixed()) SetFocusedCell(nullptr);
}

TBabCellData* TBabGridCell::CreateBabCellData(TBabCell* theCell)
{
    TBabGridCellForViewer* root = GetRoot();
    const TBabCellDataClass cls = !root                   ? nullptr
                                  : theCell->IsGridCell() ? root->GetGridCellDataClass()
                                                          : root->GetSimpleCellDataClass();
    if (cls) return cls(theCell);
    if (getGridCell()) return getGridCell()->CreateBabCellData(theCell);
    throw EInvalidOperation("CreateBabCellData");
}

TBabCell* TBabGridCell::CreateCell(int x, int y)
{
    TAxisContentItem* colItem = columns_->getAxisContentItem(x);
    TAxisContentItem* rowItem = rows_->getAxisContentItem(y);
    TBabGridCellForViewer* root = GetRoot();
    const TBabCellType type =
        root && root->OnCreateCell ? root->OnCreateCell(this, colItem, rowItem) : TBabCellType::babCellTypeSimple;
    std::unique_ptr<TBabCell> cell;
    if (type == TBabCellType::babCellTypeGrid)
        cell = std::make_unique<TBabGridCell>(this);
    else
        cell = std::make_unique<TBabSimpleCell>(this);
    cell->SetAxisContentItems(colItem, rowItem);
    cell->SetCellData(std::unique_ptr<TBabCellData>(CreateBabCellData(cell.get())));
    if (auto* grid = dynamic_cast<TBabGridCell*>(cell.get()))
        new TSingleEventListener(&grid->GetFocusChangeEvent(), TListenerCallback(this, &TBabGridCell::OnSubCellFocusChange),
                                 true);
    if (cell->GetCellData()) cell->GetCellData()->InitContent();
    return cell.release();
}

void TBabGridCell::OnSubCellFocusChange(TSingleEventListener* theListener)
{
    focusChangeEvent_->TriggerEvent(theListener->LastParam());
}

int TBabGridCell::GetCalculatedHeight()
{
    int sum = 0;
    for (int i = 0; i < rows_->Count(); ++i) sum += rows_->getAxisContentItem(i)->GetSize();
    return std::max(sum, GetMinHeight());
}

int TBabGridCell::GetCalculatedWidth()
{
    int sum = 0;
    for (int i = 0; i < columns_->Count(); ++i) sum += columns_->getAxisContentItem(i)->GetSize();
    return std::max(sum, GetMinWidth());
}

void TBabGridCell::SetSelected(bool theValue)
{
    TBabCell::SetSelected(theValue);
    // Every loaded non-fixed cell follows. Cells not created yet are unselected already, so
    // only existing ones are visited (creating them would only cost time).
    const int fx = GetFixedCols(), fy = GetFixedRows();
    for (int c = fx; c < matris_->LoadedCountX(); ++c)
        for (int r = fy; r < rows_->LoadedCount(); ++r)
            if (TBabCell* cell = matris_->PeekLoadedCell(c, r)) cell->SetSelected(theValue);
}

void TBabGridCell::AreaSelect(bool theValue, const TRect& theArea)
{
    // The area is clipped to the cells there are, so any rectangle costs at most the grid's size.
    const int x0 = std::max(0, std::min(theArea.Left, theArea.Right));
    const int x1 = std::min(columns_->Count() - 1, std::max(theArea.Left, theArea.Right));
    const int y0 = std::max(0, std::min(theArea.Top, theArea.Bottom));
    const int y1 = std::min(rows_->Count() - 1, std::max(theArea.Top, theArea.Bottom));
    for (int x = x0; x <= x1; ++x)
        for (int y = y0; y <= y1; ++y)
            if (TBabCell* cell = getCell(x, y)) cell->SetSelected(theValue);
}

void TBabGridCell::SetTop(int theTop)
{
    if (theTop == top_) return;
    top_ = std::max(theTop, GetFixedRows());
    topLeftEvent_->TriggerEvent(this);
}

void TBabGridCell::SetLeft(int theLeft)
{
    if (theLeft == left_) return;
    left_ = std::max(theLeft, GetFixedCols());
    topLeftEvent_->TriggerEvent(this);
}

bool TBabGridCell::IsFixedCell(int x, int y) const
{
    if (x >= 0 && y >= 0 && (x < GetFixedCols() || y < GetFixedRows())) return true;
    if (getGridCell()) return getGridCell()->IsFixedCell(ColumnIndex(), RowIndex());
    return false;
}

void TBabGridCell::SetFocusedCell(TBabCell* theCell)
{
    if (theCell && theCell->getGridCell() && theCell->getGridCell() != this) {
        TBabGridCell* owner = theCell->getGridCell();
        owner->SetFocusedCell(theCell);
        SetFocusedCell(owner);
        return;
    }
    if (theCell == focusedCell_) return;
    TBabCell* previous = focusedCell_;
    focusedCell_ = !theCell || theCell->GetIsFixed() ? nullptr : theCell;
    if (auto* grid = dynamic_cast<TBabGridCell*>(previous); grid && grid != focusedCell_) grid->SetFocusedCell(nullptr);
    focusChangeEvent_->TriggerEvent(focusedCell_);
}

TBabCell* TBabGridCell::GetFocusedCellDownTrack() const
{
    TBabCell* cell = focusedCell_;
    while (auto* grid = dynamic_cast<TBabGridCell*>(cell)) {
        if (!grid->GetFocusedCell()) break;
        cell = grid->GetFocusedCell();
    }
    return cell;
}

void TBabGridCell::CheckOwnList(const TAxisContentList& theList) const
{
    if (&theList != columns_.get() && &theList != rows_.get()) throw EInvalidOperation("");
}

void TBabGridCell::InsertingAxisItem(TAxisContentList& theList, int i, int n)
{
    CheckOwnList(theList);
    if (&theList == columns_.get())
        matris_->InsertX(i, n);
    else
        matris_->InsertY(i, n);
    if (TBabGridCellForViewer* root = GetRoot()) root->GetAxisChangedEvent().TriggerEvent(nullptr);
}

void TBabGridCell::MowingAxisItem(TAxisContentList& theList, int a, int b)
{
    CheckOwnList(theList);
    if (&theList == columns_.get())
        matris_->MoveX(a, b);
    else
        matris_->MoveY(a, b);
    if (TBabGridCellForViewer* root = GetRoot()) root->GetAxisChangedEvent().TriggerEvent(nullptr);
    LoseFixedFocus();
}

void TBabGridCell::DroppingAxisItem(TAxisContentList& theList, int i)
{
    CheckOwnList(theList);
    if (&theList == columns_.get())
        matris_->CheckCanFreeX(i);
    else
        matris_->CheckCanFreeY(i);
    if (TBabGridCellForViewer* root = GetRoot()) root->GetAxisChangedEvent().TriggerEvent(nullptr);
    const int countBefore = theList.Count();
    if (&theList == columns_.get()) {
        matris_->DropX(i);
        if (countBefore <= left_) SetLeft(0);
    } else {
        matris_->DropY(i);
        if (countBefore <= top_) SetTop(0);
    }
}

void TBabGridCell::ChangeInUnloaded(TAxisContentList& theList)
{
    CheckOwnList(theList);
    if (TBabGridCellForViewer* root = GetRoot()) root->GetAxisChangedEvent().TriggerEvent(nullptr);
}

void TBabGridCell::AxisItemVanished(TAxisContentList& theList, int i)
{
    CheckOwnList(theList);
    if (&theList == columns_.get()) {
        if (i < left_) SetLeft(left_ - 1);
    } else {
        if (i < top_) SetTop(top_ - 1);
    }
}

// --- TBabGridCellForViewer -------------------------------------------------------------------

TBabGridCellForViewer::TBabGridCellForViewer(TObject* theViewer, TBabCellDataClass theSimpleClass,
                                             TBabCellDataClass theGridClass)
    : TBabGridCell(nullptr),
      selectionChanged_(std::make_unique<TEvent>(this)),
      axisChanged_(std::make_unique<TEvent>(this)),
      userSizeChanged_(std::make_unique<TEvent>(this)),
      simpleClass_(theSimpleClass),
      gridClass_(theGridClass),
      viewer_(theViewer)
{
    root_ = this;
    SetCellData(std::unique_ptr<TBabCellData>(CreateBabCellData(this)));
    GetCellData()->InitContent();
}

TBabGridCellForViewer::~TBabGridCellForViewer()
{
    // The cells go while the callbacks they raise on their way out still exist.
    DestroyContent();
    root_ = nullptr;
    for (TBabCellWatch* watch : watches_) {
        watch->cell_ = nullptr;
        watch->root_ = nullptr;
    }
}

void TBabGridCellForViewer::CellDestroyed(TBabCell* theCell)
{
    for (TBabCellWatch* watch : watches_)
        if (watch->cell_ == theCell) watch->cell_ = nullptr;
}

void TBabGridCellForViewer::RemoveWatch(TBabCellWatch* theWatch) { std::erase(watches_, theWatch); }

// --- TBabCellWatch ---------------------------------------------------------------------------

void TBabCellWatch::Set(TBabCell* theCell)
{
    TBabGridCellForViewer* root = theCell ? theCell->GetRoot() : nullptr;
    if (root != root_) {
        if (root_) root_->RemoveWatch(this);
        if (root) root->AddWatch(this);
        root_ = root;
    }
    cell_ = root ? theCell : nullptr;
}

}  // namespace vxplan
