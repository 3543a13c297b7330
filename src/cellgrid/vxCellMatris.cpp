// The cell matrix: lazy creation, and keeping the matrix in step with its two axes.
#include <vxplan/cellgrid/vxCellMatris.h>

#include <vxplan/cellgrid/vxBabCell.h>
#include <vxplan/platform/core/vxExceptions.h>

#include <algorithm>

namespace vxplan {

TCellMatris::~TCellMatris()
{
    for (int c = LoadedCountX() - 1; c >= 0; --c)
        for (int r = static_cast<int>(columns_[c].size()) - 1; r >= 0; --r) {
            delete columns_[c][r];
            columns_[c][r] = nullptr;
        }
}

int TCellMatris::CountX() const { return gridCell_->Columns().Count(); }
int TCellMatris::CountY() const { return gridCell_->Rows().Count(); }
int TCellMatris::LoadedCountX() const { return static_cast<int>(columns_.size()); }
int TCellMatris::LoadedCountY() const { return gridCell_->Rows().LoadedCount(); }

TBabCell* TCellMatris::PeekLoadedCell(int theLoadedX, int theLoadedY) const
{
    if (theLoadedX < 0 || theLoadedX >= LoadedCountX()) return nullptr;
    const auto& column = columns_[theLoadedX];
    if (theLoadedY < 0 || theLoadedY >= static_cast<int>(column.size())) return nullptr;
    return column[theLoadedY];
}

TBabCell* TCellMatris::getCell(int x, int y)
{
    TAxisContentList& cols = gridCell_->Columns();
    TAxisContentList& rows = gridCell_->Rows();
    if (x < 0 || y < 0 || x >= cols.Count() || y >= rows.Count()) return nullptr;
    cols.EnsureLoadedItem(x);
    rows.EnsureLoadedItem(y);
    const int lx = cols.IndexConvert_RealToLoaded(x);
    const int ly = rows.IndexConvert_RealToLoaded(y);
    if (lx < 0 || lx >= LoadedCountX() || ly < 0 || ly >= static_cast<int>(columns_[lx].size())) return nullptr;
    TBabCell*& slot = columns_[lx][ly];
    if (!slot) slot = gridCell_->CreateCell(x, y);
    return slot;
}

void TCellMatris::InsertX(int x, int n)
{
    TAxisContentList& cols = gridCell_->Columns();
    TAxisContentList& rows = gridCell_->Rows();
    cols.EnsureLoadedItem(x);
    const int lx = cols.IndexConvert_RealToLoaded(x);
    columns_.insert(columns_.begin() + lx, static_cast<size_t>(n),
                    std::vector<TBabCell*>(static_cast<size_t>(rows.LoadedCount()), nullptr));
    for (int k = 0; k < n; ++k)
        for (int r = 0; r < rows.LoadedCount(); ++r)
            columns_[lx + k][r] = gridCell_->CreateCell(x + k, rows.IndexConvert_LoadedToReal(r));
}

void TCellMatris::InsertY(int y, int n)
{
    TAxisContentList& cols = gridCell_->Columns();
    TAxisContentList& rows = gridCell_->Rows();
    rows.EnsureLoadedItem(y);
    const int ly = rows.IndexConvert_RealToLoaded(y);
    // One insert of the whole block per column: rows loaded in front of many others cost their
    // own number, not that times the rows behind them.
    for (int c = 0; c < LoadedCountX(); ++c) {
        auto& column = columns_[c];
        const int at = std::min(ly, static_cast<int>(column.size()));
        column.insert(column.begin() + at, static_cast<size_t>(n), nullptr);
        for (int k = 0; k < n; ++k) column[at + k] = gridCell_->CreateCell(cols.IndexConvert_LoadedToReal(c), y + k);
    }
}

void TCellMatris::DropX(int x)
{
    const int lx = gridCell_->Columns().IndexConvert_RealToLoaded(x);
    if (lx < 0 || lx >= LoadedCountX()) return;
    std::vector<TBabCell*> column = std::move(columns_[lx]);
    columns_.erase(columns_.begin() + lx);
    for (TBabCell* cell : column) delete cell;
}

void TCellMatris::DropY(int y)
{
    const int ly = gridCell_->Rows().IndexConvert_RealToLoaded(y);
    if (ly < 0) return;
    for (auto& column : columns_) {
        if (ly >= static_cast<int>(column.size())) continue;
        TBabCell* cell = column[ly];
        column.erase(column.begin() + ly);
        delete cell;
    }
}

void TCellMatris::MoveX(int a, int b)
{
    TAxisContentList& cols = gridCell_->Columns();
    cols.EnsureLoadedItem(a);
    cols.EnsureLoadedItem(b);
    const int la = cols.IndexConvert_RealToLoaded(a);
    const int lb = cols.IndexConvert_RealToLoaded(b);
    if (la < 0 || lb < 0 || la >= LoadedCountX() || lb >= LoadedCountX()) return;
    auto moved = std::move(columns_[la]);
    columns_.erase(columns_.begin() + la);
    columns_.insert(columns_.begin() + lb, std::move(moved));
}

void TCellMatris::MoveY(int a, int b)
{
    TAxisContentList& rows = gridCell_->Rows();
    rows.EnsureLoadedItem(a);
    rows.EnsureLoadedItem(b);
    const int la = rows.IndexConvert_RealToLoaded(a);
    const int lb = rows.IndexConvert_RealToLoaded(b);
    for (auto& column : columns_) {
        const int n = static_cast<int>(column.size());
        if (la < 0 || lb < 0 || la >= n || lb >= n) continue;
        TBabCell* cell = column[la];
        column.erase(column.begin() + la);
        column.insert(column.begin() + lb, cell);
    }
}

void TCellMatris::UnloadX(int j)
{
    if (j < 0 || j >= LoadedCountX()) return;
    for (TBabCell*& cell : columns_[j]) {
        delete cell;
        cell = nullptr;
    }
}

void TCellMatris::UnloadY(int j)
{
    for (auto& column : columns_) {
        if (j < 0 || j >= static_cast<int>(column.size())) continue;
        delete column[j];
        column[j] = nullptr;
    }
}

namespace {

void RefuseBusy(const TBabCell* theCell)
{
    if (theCell && theCell->IsBusy()) throw EInvalidOperation("A cell cannot be removed while it is laid out or drawn");
}

}  // namespace

void TCellMatris::CheckCanFreeX(int x) const
{
    const int lx = gridCell_->Columns().IndexConvert_RealToLoaded(x);
    if (lx < 0 || lx >= LoadedCountX()) return;
    for (const TBabCell* cell : columns_[lx]) RefuseBusy(cell);
}

void TCellMatris::CheckCanFreeY(int y) const
{
    const int ly = gridCell_->Rows().IndexConvert_RealToLoaded(y);
    for (const auto& column : columns_)
        if (ly >= 0 && ly < static_cast<int>(column.size())) RefuseBusy(column[ly]);
}

bool TCellMatris::HasColumnSelections(int x) const
{
    const TAxisContentList& cols = gridCell_->Columns();
    if (x < 0 || x >= cols.Count() || !cols.IsLoaded(x)) return false;
    const int lx = cols.IndexConvert_RealToLoaded(x);
    if (lx >= LoadedCountX()) return false;
    return std::any_of(columns_[lx].begin(), columns_[lx].end(), [](TBabCell* c) { return c && c->GetSelected(); });
}

bool TCellMatris::HasRowSelections(int y) const
{
    const TAxisContentList& rows = gridCell_->Rows();
    if (y < 0 || y >= rows.Count() || !rows.IsLoaded(y)) return false;
    const int ly = rows.IndexConvert_RealToLoaded(y);
    for (const auto& column : columns_)
        if (ly < static_cast<int>(column.size()) && column[ly] && column[ly]->GetSelected()) return true;
    return false;
}

}  // namespace vxplan
