// A chart laid out at a known size: tree rows 20 pixels high, an area 500 pixels wide showing
// ten days from a Monday (50 pixels a day).
#pragma once

#include <vxplan/gantt/vxGant.h>
#include <vxplan/gantt/vxGantTree.h>
#include <vxplan/platform/time/vxClock.h>
#include <vxplan/scaler/vxScaler.h>

#include <memory>
#include <string>

namespace vxplan::test {

inline constexpr TDateTime kMonday = 46006.0;

struct GantChart {
    TTestClockScope clock{kMonday + 0.4};
    std::unique_ptr<TvxGant_ComBasic> gant = std::make_unique<TvxGant_ComBasic>();
    TGantTree* tree = gant->GetTreeView();
    TvxDateScaler* scaler = gant->GetDateScaler();
    TvxOffscreenPaint_GA* ga = gant->GetGA();
    TGantRowList* rows = gant->GetRowList();

    GantChart()
    {
        tree->SetItemHeight(20);
        gant->SetBounds(0, 0, 602, 402);
        Range(kMonday, kMonday + 10);
    }
    void Range(TDateTime start, TDateTime stop)
    {
        scaler->SetStart(start);
        scaler->SetStop(stop);
    }
    TvxDataEntity_Tree* Node(TvxDataEntity_Tree* parent, const std::string& text)
    {
        TvxDataEntity_Tree* e = gant->AddDataEntityTree(parent);
        e->SetText(text);
        return e;
    }
    TGantRow* Row(TvxDataEntity_Tree* node) { return rows->FindRowFromTreeNode(node); }
    TvxDataEntity_Chronbar* Item(TvxDataEntity_Tree* node, TDateTime start, TDateTime stop, int layer = 0)
    {
        TvxDataEntity_Chronbar* item = gant->AddChronbar(node, layer);
        item->SetStartStop(start, stop);
        return item;
    }
    // The row bands as the next paint reads them.
    void Pass() { gant->UpdateRowRects(); }
    TRect ItemRect(TvxDataEntity_Chronbar* item)
    {
        TRect r;
        gant->RectFromDataEntity(item, r);
        return r;
    }
};

}  // namespace vxplan::test
