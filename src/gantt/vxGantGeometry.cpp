// Where rows and time items lie in the Gantt area, and which item lies under a point.
#include <vxplan/gantt/vxGant.h>

#include <vxplan/gantt/vxGantModel.h>
#include <vxplan/gantt/vxGantTree.h>

#include <vxplan/scaler/vxScaler.h>

#include <algorithm>
#include <cmath>

namespace vxplan {

namespace {

int RoundScaled(int v, double scale) { return Round(v * scale); }

// Every bar is at least 5 pixels wide, a stop before the start included.
int BarRight(int left, int right) { return std::max(right, left + 5); }
}  // namespace

// ---- Row bands ----

bool TGantRow::GetVisible() const
{
    if (TreeNode) return TreeNode->GetVisible();
    // TODO(grid mode): a grid node's row is shown when the grid shows its node.
    return false;
}

void TGantRow::UpdateRect()
{
    TRect r = kNoRect;
    if (Gant) {
        if (TreeNode && Gant->GetTreeView()) r = Gant->GetTreeView()->GetRect(TreeNode);
        // TODO(grid mode): a grid node's band comes from the grid's cells.
        if (r != kNoRect) {
            r.Left = 0;
            r.Right = Gant->GetGA() ? Gant->GetGA()->GetWidth() : 0;
            if (!Gant->GetUseGridNotTree() && r.Bottom > r.Top) Gant->fLastRowHeight = r.Bottom - r.Top;
            if (Gant->fVerticalPrintOffset != 0) {
                r.Top -= Gant->fVerticalPrintOffset;
                r.Bottom -= Gant->fVerticalPrintOffset;
            }
        }
        fRectPass = Gant->fRectPass;
    }
    Rect = r;
}

TRect TGantRow::GetRect()
{
    if (Gant && fRectPass != Gant->fRectPass) UpdateRect();
    return Rect;
}

// ---- Extents ----

int TGantRow::UnscaledStartX(TvxDataEntity_Chronbar* item) const
{
    const int x = Gant->GetDateScaler()->DateToPixel(item->GetStartDateTime());
    // A symbol of fixed width is centred on its start.
    return item->IsResizable() ? x : x - item->GetFixedPixelWidth() / 2;
}

int TGantRow::UnscaledStopX(TvxDataEntity_Chronbar* item, int startX) const
{
    if (!item->IsResizable()) return startX + item->GetFixedPixelWidth();
    return Gant->GetDateScaler()->DateToPixel(item->GetStopDateTime());
}

int TGantRow::PrintScaledX(int x) const
{
    return Gant->GetIsPrinting() ? RoundScaled(x, Gant->GetGA()->GetScalex()) : x;
}

bool TGantRow::XStartStopFromDataEntity(TvxDataEntity_Chronbar* item, int& x1, int& x2)
{
    if (!item || !Gant || !Gant->GetDateScaler()) return false;
    const int start = UnscaledStartX(item);
    x1 = PrintScaledX(start);
    x2 = PrintScaledX(UnscaledStopX(item, start));
    return true;
}

bool TGantRow::YStartStopFromDataEntity(TvxDataEntity_Chronbar* item, int& y1, int& y2)
{
    const TRect band = GetRect();
    y1 = band.Top + 1;
    y2 = band.Bottom - 1;
    const bool result = band.Bottom != -1 && GetVisible();
    if (UseSubCols > 1 && item) {
        bool wholeBand = false;
        int64_t s = 0;  // a host may set any sub-column: the lane's offsets are worked out wide
        if (CollisionDetection) {
            wholeBand = item->GetSubCol() == 0;
            s = int64_t{item->GetSubCol()} - 1;
        } else {
            s = GetDataListOnSubCol(LayerOf(item));
        }
        if (!wholeBand) {
            const int64_t h = (int64_t{y2} - y1) / UseSubCols;
            y2 = ClampToInt(y1 + (s + 1) * h);
            y1 = ClampToInt(y1 + s * h);
        }
    }
    if (Gant && Gant->GetIsPrinting() && !Gant->GetUseGridNotTree()) {
        const double sy = Gant->GetGA()->GetScaley();
        y1 = RoundScaled(y1, sy);
        y2 = RoundScaled(y2, sy);
    }
    return result;
}

bool TGantRow::BarTopBottom(TvxDataEntity_Chronbar* item, int& top, int& bottom)
{
    int y1 = 0, y2 = 0;
    if (!YStartStopFromDataEntity(item, y1, y2)) return false;
    const double f = Gant->GetIsPrinting() ? Gant->GetGA()->GetPrintScaley() : 1.0;
    top = ClampToInt(int64_t{y1} + Round(item->GetTopInset() * f));
    bottom = std::max(ClampToInt(int64_t{y2} - Round(item->GetBottomInset() * f)), top);
    return true;
}

bool TGantRow::RectFromDataEntity(TvxDataEntity_Chronbar* item, TRect& rect)
{
    if (!item || item->GetRow() != this || !item->GetVisible()) return false;
    int x1 = 0, x2 = 0;
    if (!XStartStopFromDataEntity(item, x1, x2)) return false;
    if (!BarTopBottom(item, rect.Top, rect.Bottom)) return false;
    rect.Left = x1;
    rect.Right = BarRight(x1, x2);
    return true;
}

// ---- Hit tests ----

// The same rectangle as RectFromDataEntity, tested edge by edge so that most items are passed
// over after the band and one end: the scaler's mapping is the cost of a hit test.
bool TGantRow::HitsItem(TvxDataEntity_Chronbar* item, int x, int y)
{
    if (!item->GetVisible()) return false;
    int top = 0, bottom = 0;
    if (!BarTopBottom(item, top, bottom)) return false;
    if (y < top || y >= bottom) return false;
    const int start = UnscaledStartX(item);
    const int left = PrintScaledX(start);
    if (x < left) return false;
    return x < BarRight(left, PrintScaledX(UnscaledStopX(item, start)));
}

TvxDataEntity_Chronbar* TGantRow::FindDataEntityFromXY(int x, int y)
{
    if (!DataLists || !Gant || !Gant->GetDateScaler()) return nullptr;
    // The item drawn last lies on top: layers and items from the last back to DrawLayerStart.
    for (int l = DataLists->Count() - 1; l >= std::max(0, DrawLayerStart); --l) {
        TvxDataList* list = DataLists->GetDataList(l);
        for (int i = list ? list->Count() - 1 : -1; i >= 0; --i) {
            auto* item = static_cast<TvxDataEntity_Chronbar*>(list->GetItems(i));
            if (item && HitsItem(item, x, y)) return item;
        }
    }
    return nullptr;
}

TvxDataEntity_Chronbar* TGantRow::FindDataEntityFromX(int x) { return FindDataEntityFromXY(x, GetRect().Top + 1); }

// ---- The chart's pass over the rows in view ----

void TvxGant_ComBasic::UpdateRowRects()
{
    ++fRectPass;
    fRowsInView.clear();
    fMaxBandHeight = 0;
    fRowsInViewStale = false;
    // TODO(grid mode): the rows in view from the grid's visible rows.
    if (fUseGridNotTree || !fTree || !fGA || !fRowList) return;
    fTree->EnsureDisplayUpToDate();
    const int height = fGA->GetHeight();
    TvxDataEntity_Tree* top = fTree->GetTopItem();
    for (TTreeNode* node = top ? top->GetTreeNode() : nullptr; node; node = node->GetNextVisible()) {
        auto it = fRowList->fByTreeNode.find(fTree->GetDataEntityFromNode(node));
        if (it == fRowList->fByTreeNode.end() || it->second.empty()) {
            const TRect r = fTree->GetRect(fTree->GetDataEntityFromNode(node));
            if (r.Top >= height) break;
            continue;
        }
        bool below = false;
        for (TGantRow* row : it->second) {
            row->UpdateRect();
            const TRect& r = row->Rect;
            if (r == kNoRect) continue;
            if (r.Top >= height) {
                below = true;
                continue;
            }
            fRowsInView.push_back(row);
            fMaxBandHeight = std::max(fMaxBandHeight, r.Height());
        }
        if (below) break;
    }
}

// Rows of the tree are contiguous bands of one height, top to bottom: the rows in view are found
// by a binary search, rows beyond them by walking the shown nodes from the nearest end.
TGantRow* TvxGant_ComBasic::FindTreeRowFromY(int y)
{
    if (fRowsInViewStale) UpdateRowRects();
    auto holds = [&](TGantRow* row) {
        if (!RowTypeCheckOK(row)) return false;
        const TRect r = row->GetRect();
        return r.Top < y && y < r.Bottom;
    };
    auto firstOfNode = [&](TTreeNode* node) -> TGantRow* {
        auto it = fRowList->fByTreeNode.find(fTree->GetDataEntityFromNode(node));
        if (it == fRowList->fByTreeNode.end()) return nullptr;
        for (TGantRow* row : it->second)
            if (holds(row)) return row;
        return nullptr;
    };
    if (!fTree || !fRowList) return nullptr;
    TTreeNode* start = nullptr;
    bool down = true;
    if (fRowsInView.empty()) {
        TvxDataEntity_Tree* top = fTree->GetTopItem();
        start = top ? top->GetTreeNode() : nullptr;
        down = !start || fTree->GetRect(fTree->GetDataEntityFromNode(start)).Top < y;
    } else if (y <= fRowsInView.front()->Rect.Top) {
        start = fRowsInView.front()->TreeNode ? fRowsInView.front()->TreeNode->GetTreeNode() : nullptr;
        down = false;
    } else if (y >= fRowsInView.back()->Rect.Bottom) {
        start = fRowsInView.back()->TreeNode ? fRowsInView.back()->TreeNode->GetTreeNode() : nullptr;
    } else {
        auto it = std::upper_bound(fRowsInView.begin(), fRowsInView.end(), y,
                                   [](int v, TGantRow* row) { return v <= row->Rect.Top; });
        TGantRow* best = nullptr;
        while (it != fRowsInView.begin()) {
            TGantRow* row = *--it;
            if (row->Rect.Top <= y - fMaxBandHeight) break;
            if (holds(row) && (!best || row->fSequence < best->fSequence)) best = row;
        }
        return best;
    }
    for (TTreeNode* node = start; node; node = down ? node->GetNextVisible() : node->GetPrevVisible()) {
        if (TGantRow* row = firstOfNode(node)) return row;
        const TRect r = fTree->GetRect(fTree->GetDataEntityFromNode(node));
        if (r == kNoRect) continue;
        if (down ? r.Top >= y : r.Bottom <= y) break;
    }
    return nullptr;
}

TvxDataEntity_Chronbar* TvxGant_ComBasic::GetDataEntityFromXY(int x, int y)
{
    TGantRow* row = fRowList->FindRowFromY(y);
    return row ? row->FindDataEntityFromXY(x, y) : nullptr;
}

bool TvxGant_ComBasic::RectFromDataEntity(TvxDataEntity_Chronbar* item, TRect& rect)
{
    TGantRow* row = item ? item->GetRow() : nullptr;
    if (row && row->RectFromDataEntity(item, rect)) return true;
    rect = kNoRect;
    return false;
}

bool TvxGant_ComBasic::IsVisible(const TvxDataEntity_Chronbar* item) const
{
    if (!item || !fScaler) return false;
    const TDateTime s = fScaler->GetStart(), e = fScaler->GetStop();
    const TDateTime a = item->GetStartDateTime(), b = item->GetStopDateTime();
    return (a >= s && a <= e) || (b >= s && b <= e) || (a < s && b > e);
}

}  // namespace vxplan
