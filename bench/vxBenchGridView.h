// A grid view over virtual rows for the grid benchmarks: 20 columns in a 1920 x 1080 view, one
// header row; loaded rows get their texts, and every row may go again once it has scrolled out.
#pragma once

#include <vxplan/cellgrid/vxBabGridView.h>

#include <memory>
#include <string>

namespace vxplan::bench {

constexpr int kColumns = 20;

// The window's own image, drawn when it is out of date, without the copy GrabImage hands out.
class TBenchView : public TBabGridView {
public:
    using TBabGridView::TBabGridView;
    const QImage& Draw() { return DisplayImage(); }
    int paints = 0;
    void OffscreenPaint() override
    {
        ++paints;
        TBabGridView::OffscreenPaint();
    }
};

inline std::unique_ptr<TBenchView> VirtualView(int rows)
{
    auto view = std::make_unique<TBenchView>();
    view->SetBounds(0, 0, 1920, 1080);
    TBabGridView* v = view.get();
    view->OninitSubGridContent = [rows](TBabGridView_Custom* gv, TBabSubGridCellData* data) {
        auto* grid = static_cast<TBabGridCell*>(data->GetCell());
        for (int c = 0; c < kColumns; ++c) {
            TAxisContentItem* item = grid->Columns().AddNew(nullptr);
            item->SetUserSizeActive(true);
            item->SetUserSize(95);
        }
        grid->Rows().AddNew(nullptr);
        grid->SetFixedRows(1);
        for (int c = 0; c < kColumns; ++c) gv->SetText(grid->getCell(c, 0), "Column " + std::to_string(c));
        grid->Rows().AddUnloaded(rows);
    };
    view->OnVirtualLoad = [v](TBabGridCell* caller, TAxisContentItem* item, bool row) {
        if (!row) return;
        const int r = item->ListIndex();
        for (int c = 0; c < kColumns; ++c)
            if (TBabCell* cell = caller->getCell(c, r)) v->SetText(cell, std::to_string(r * kColumns + c));
    };
    view->OnVirtualUnLoad = [](TBabGridCell*, TAxisContentItem*, bool, bool, bool& can) { can = true; };
    view->Init();
    view->Draw();
    return view;
}

}  // namespace vxplan::bench
