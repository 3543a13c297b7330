// A root grid cell with plain content classes and recorders of the virtual-load callbacks.
#pragma once

#include <vxplan/cellgrid/vxBabGridContent.h>

#include <memory>
#include <string>
#include <vector>

namespace vxplan::test {

class TGridFixture {
public:
    TGridFixture()
        : root(std::make_unique<TBabGridCellForViewer>(nullptr, &CreateBabCellDataOf<TBabSimpleCellData>,
                                                       &CreateBabCellDataOf<TBabGridCellData>))
    {
    }

    // Handlers that record "L<i>" for each load and "U<i>" for each unload, allowing every unload.
    void RecordVirtualCallbacks()
    {
        root->OnVirtualLoad = [this](TBabGridCell*, TAxisContentItem* item, bool row) {
            if (row) log.push_back("L" + std::to_string(item->ListIndex()));
        };
        root->OnVirtualUnLoad = [this](TBabGridCell*, TAxisContentItem* item, bool row, bool perform, bool& can) {
            if (!row) return;
            if (perform)
                log.push_back("U" + std::to_string(item->ListIndex()));
            else
                can = allowUnload;
        };
    }

    // A grid of the given columns and count-only rows, with `fixedRows` loaded header rows.
    void MakeVirtual(int columns, int fixedRows, int unloadedRows)
    {
        for (int c = 0; c < columns; ++c) root->Columns().AddNew(nullptr);
        for (int r = 0; r < fixedRows; ++r) root->Rows().AddNew(nullptr);
        root->SetFixedRows(fixedRows);
        root->Rows().AddUnloaded(unloadedRows);
    }

    std::unique_ptr<TBabGridCellForViewer> root;
    std::vector<std::string> log;
    bool allowUnload = true;
};

}  // namespace vxplan::test
