// The cells of one grid cell: one column list per loaded column, each holding one cell per
// loaded row (null until the cell is first asked for). Cells are owned here.
#pragma once

#include <vxplan/cellgrid/vxBabGridTypes.h>

#include <vector>

namespace vxplan {

class TCellMatris {
public:
    explicit TCellMatris(TBabGridCell* theGridCell) : gridCell_(theGridCell) {}
    // Drops every loaded column and every loaded row, last first.
    ~TCellMatris();
    TCellMatris(const TCellMatris&) = delete;
    TCellMatris& operator=(const TCellMatris&) = delete;

    int CountX() const;
    int CountY() const;
    int LoadedCountX() const;
    int LoadedCountY() const;

    // Real indexes; null outside the loaded matrix. Creates the cell on first use.
    TBabCell* getCell(int x, int y);
    // The cell when it exists already (loaded indexes); never creates.
    TBabCell* PeekLoadedCell(int theLoadedX, int theLoadedY) const;

    // n new items from real index x (y) on, already in their axis.
    void InsertX(int x, int n = 1);
    void InsertY(int y, int n = 1);
    void DropX(int x);
    void DropY(int y);
    void MoveX(int a, int b);
    void MoveY(int a, int b);
    void UnloadX(int j);
    void UnloadY(int j);
    // Refuses (EInvalidOperation) to free a column or row holding a cell that is being laid
    // out or drawn; called before anything changes.
    void CheckCanFreeX(int x) const;
    void CheckCanFreeY(int y) const;
    bool HasColumnSelections(int x) const;
    bool HasRowSelections(int y) const;

private:
    TBabGridCell* gridCell_;
    std::vector<std::vector<TBabCell*>> columns_;
};

}  // namespace vxplan
