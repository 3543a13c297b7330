// A grid view filled on its first paint: columns of a fixed width, rows of the default height,
// fixed rows and columns set after the items exist (as applications do), texts "c,r".
#pragma once

#include <vxplan/cellgrid/vxBabGridView.h>

#include "support/vxTestSupport.h"

#include <QImage>

#include <functional>
#include <string>

namespace vxplan::test {

template <class TView = TBabGridView>
struct TGridViewSceneOf {
    static constexpr int kColumnWidth = 60;
    static constexpr int kRowHeight = 20;

    TGridViewSceneOf(int theColumns, int theRows, int theFixedCols, int theFixedRows, int theWidth = 300,
                   int theHeight = 200)
    {
        view.SetBounds(0, 0, theWidth, theHeight);
        view.OninitSubGridContent = [=, this](TBabGridView_Custom*, TBabSubGridCellData* data) {
            auto* grid = static_cast<TBabGridCell*>(data->GetCell());
            if (grid != &view.Root()) {
                if (OnSubGrid) OnSubGrid(grid);
                return;
            }
            ++inits;
            for (int c = 0; c < theColumns; ++c) {
                TAxisContentItem* item = grid->Columns().AddNew(nullptr);
                item->SetUserSizeActive(true);
                item->SetUserSize(kColumnWidth);
            }
            for (int r = 0; r < theRows; ++r) grid->Rows().AddNew(nullptr);
            grid->SetFixedCols(theFixedCols);
            grid->SetFixedRows(theFixedRows);
            for (int c = 0; c < theColumns; ++c)
                for (int r = 0; r < theRows; ++r)
                    if (TBabCell* cell = grid->getCell(c, r); !cell->IsGridCell())
                        view.SetText(cell, std::to_string(c) + "," + std::to_string(r));
        };
        view.Init();
    }

    QImage Paint() { return view.GrabImage(); }
    TBabGridCellForViewer& Root() { return view.Root(); }
    TAxisContentItem* Column(int c) { return Root().Columns().getAxisContentItem(c); }
    TAxisContentItem* Row(int r) { return Root().Rows().getAxisContentItem(r); }

    void Press(int x, int y, Qt::MouseButton b = Qt::LeftButton)
    {
        SendMouse(&view, QEvent::MouseButtonPress, x, y, b, b);
    }
    void Drag(int x, int y) { SendMouse(&view, QEvent::MouseMove, x, y, Qt::NoButton, Qt::LeftButton); }
    void Hover(int x, int y) { SendMouse(&view, QEvent::MouseMove, x, y, Qt::NoButton, Qt::NoButton); }
    void Release(int x, int y) { SendMouse(&view, QEvent::MouseButtonRelease, x, y, Qt::LeftButton, Qt::NoButton); }
    void Click(int x, int y)
    {
        Press(x, y);
        Release(x, y);
    }

    TView view;
    int inits = 0;
    // Fills a sub-grid (none by default).
    std::function<void(TBabGridCell*)> OnSubGrid;
};

using TGridViewScene = TGridViewSceneOf<>;

}  // namespace vxplan::test
