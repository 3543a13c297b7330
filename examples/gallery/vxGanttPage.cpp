// The Gantt page: a project of a few hundred rows in a tree of phases and tasks, bars of every
// style with their texts, links of every style, the today line, nights and weekends hidden on the
// time axis; and the chart's printed form.
//
// With the mouse: a click selects a bar (Shift or Ctrl toggles it in the selection), dragging
// moves the selected bars in time or to another row, Ctrl+drag copies them, dragging an end
// grows it. A double click arms a link: the next drag from a bar to another joins them. Rows
// whose bars overlap show them in lanes.
#include "vxGalleryPages.h"
#include "vxPrintedForm.h"

#include <vxplan/gantt/vxGant.h>
#include <vxplan/gantt/vxGantTree.h>
#include <vxplan/platform/graphics/vxPrinter.h>
#include <vxplan/scaler/vxScaler.h>

#include <vxplan/dataentity/vxDoLater.h>
#include <vxplan/platform/app/vxSync.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

namespace vxplan::gallery {
namespace {

constexpr int kPhases = 24;
constexpr int kTasks = 11;

const TColor kPalette[] = {0x4080F0, 0x40B060, 0xD08040, 0x8050C0, 0x30A0C0, 0xC04070};

// The chart with its project, and the image the image bars show.
class TGanttSample : public TvxGant_ComBasic {
public:
    explicit TGanttSample(TComponent* owner = nullptr) : TvxGant_ComBasic(owner)
    {
        TBitmap flag(16, 16);
        flag.Canvas().Brush().SetColor(0xFFFFFF);
        flag.Canvas().FillRect(Rect(0, 0, 16, 16));
        flag.Canvas().Brush().SetColor(0x2040C0);
        flag.Canvas().FillRect(Rect(3, 2, 13, 9));
        flag.Canvas().Brush().SetColor(clBlack);
        flag.Canvas().FillRect(Rect(2, 2, 4, 15));
        images_.Add(flag);
        SetImageList(&images_);
        Build();
        HandleMouse();
    }

    // Lanes are computed on worker threads: the page is shown (or rendered) once they are in.
    void SettleLanes()
    {
        const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        auto busy = [this] {
            for (int r = 0; r < GetRowList()->Count(); ++r)
                if (GetRowList()->GetGantRow(r)->GetThread()) return true;
            return false;
        };
        do {
            TDoLater::DoAllNow();
            CheckSynchronize(2);
        } while (busy() && std::chrono::steady_clock::now() < give_up);
    }
    // The tree lets go of the images before they go.
    ~TGanttSample() override { SetImageList(nullptr); }

private:
    void Build()
    {
        TvxDateScaler* scaler = GetDateScaler();
        TvxHiddenHours nights;
        for (int h = 0; h < 24; ++h)
            if (h < 7 || h >= 19) nights.Include(static_cast<TvxHiddenHoursEnum>(h));
        scaler->SetHiddenHours(nights);
        scaler->SetHiddenDays({TvxHiddenDaysEnum::thdSAT, TvxHiddenDaysEnum::thdSUN});
        // The project runs around today, so the today line shows.
        const TDateTime today = Date();
        const TDateTime monday = scaler->TruncToFirstDayOfWeek(today) - 7;
        scaler->SetStart(monday);
        scaler->SetStop(monday + 21);
        GetTreeView()->SetWidth(190);
        GetTreeView()->SetItemHeight(22);
        SetTodayLineOnOff(true);
        SetTodayLineColor(0x0000E0);
        SetDrawShortLines(true);
        SetGantBackColor(0xF4F0EC);
        SetGantPyjamasColor(0xE0D8D0);
        GetFontTimeItemStyle2().SetStyle({TFontStyle::fsBold});
        GetFontTimeItemStyle3().SetColor(0x606060);
        GetFontTimeItemStyle3().SetStyle({TFontStyle::fsItalic});
        OnUserDrawTime = [](TvxGant_ComBasic*, TvxDataEntity_Chronbar* item, TCanvas& canvas, const TRect& r) {
            // A striped bar: the application's own look.
            canvas.Brush().SetColor(item->GetColor());
            canvas.FillRect(r);
            canvas.Pen().SetColor(0xFFFFFF);
            for (int x = r.Left - (r.Bottom - r.Top); x < r.Right; x += 6) {
                canvas.MoveTo(std::max(x, r.Left), r.Bottom - 1 - std::max(0, r.Left - x));
                canvas.LineTo(std::min(x + (r.Bottom - r.Top), r.Right), r.Top - std::max(0, x + (r.Bottom - r.Top) - r.Right));
            }
            canvas.Brush().SetColor(clBlack);
            canvas.FrameRect(r);
        };
        OnUserDrawLinks = [](TvxGant_ComBasic*, TvxDataEntity_Link* link, TCanvas& canvas, const TPoint& p, const TPoint& q) {
            // A dotted straight line with a round head.
            canvas.Pen().SetColor(link->GetColor());
            canvas.Pen().SetStyle(TPenStyle::psDot);
            canvas.MoveTo(p.X, p.Y);
            canvas.LineTo(q.X, q.Y);
            canvas.Pen().SetStyle(TPenStyle::psSolid);
            canvas.Brush().SetColor(link->GetColor());
            canvas.Ellipse(q.X - 3, q.Y - 3, q.X + 4, q.Y + 4);
        };

        std::vector<TvxDataEntity_Chronbar*> previousTasks;
        std::vector<TvxDataEntity_Tree*> phases;
        TDateTime phaseStart = monday - 1;
        for (int p = 0; p < kPhases; ++p) {
            TvxDataEntity_Tree* phase = AddRootDataEntityTree();
            phase->SetText("Phase " + std::to_string(p + 1));
            TvxDataEntity_Chronbar* summary = AddChronbar(phase, 0);
            summary->SetStyle(TChronbarStyle::gtsSpan);
            summary->SetColor(0x303030);
            summary->SetTopInset(3);
            TDateTime stop = phaseStart;
            std::vector<TvxDataEntity_Chronbar*> tasks;
            for (int t = 0; t < kTasks; ++t) {
                TvxDataEntity_Tree* node = AddDataEntityTree(phase);
                node->SetText("Task " + std::to_string(p + 1) + "." + std::to_string(t + 1));
                TvxDataEntity_Chronbar* item = AddChronbar(node, 0);
                const TDateTime start = phaseStart + t * 0.8 + (t % 3) * 0.3;
                const TDateTime length = t % 9 == 6 ? 0 : 1.2 + (t % 4) * 0.6;
                item->SetStartStop(start, start + length);
                const auto style = static_cast<TChronbarStyle>((p + t) % 9);
                item->SetStyle(style);
                item->SetColor(kPalette[(p + t) % 6]);
                if (style == TChronbarStyle::gtsRomb || style == TChronbarStyle::gtsImage) {
                    item->SetFixedPixelWidth(style == TChronbarStyle::gtsImage ? 18 : 16);
                    item->SetTopInset(1);
                    item->SetBottomInset(1);
                } else {
                    item->SetTopInset(2);
                    item->SetBottomInset(2);
                }
                if (style == TChronbarStyle::gtsImage) item->SetImageIndex(0);
                if (style == TChronbarStyle::gtsSquare || style == TChronbarStyle::gtsPipe ||
                    style == TChronbarStyle::gtsUser)
                    item->GetTexts()->AddText(std::to_string(p + 1) + "." + std::to_string(t + 1), 3, 1, 1 + t % 3);
                item->SetSelected(p == 1 && t == 2);
                if (t % 4 == 1) {
                    // A second bar over the first: the row splits into lanes.
                    TvxDataEntity_Chronbar* extra = AddChronbar(node, 0);
                    extra->SetStartStop(start + 0.5, start + length + 0.8);
                    extra->SetColor(kPalette[(p + t + 2) % 6]);
                    extra->SetTopInset(2);
                    extra->SetBottomInset(2);
                    GetRowList()->FindRowFromTreeNode(node)->SetCollisionDetection(true);
                }
                if (p == 1 && t == 3) SetActiveDataEntity(item);
                stop = std::max(stop, start + length);
                tasks.push_back(item);
            }
            summary->SetStartStop(phaseStart, stop);
                // Links of every style and start-finish option inside the phase, and from the last
            // task of the previous phase to this one's first.
            for (int t = 0; t + 1 < kTasks; t += 2) {
                TvxDataEntity_Link* link = AddLink();
                link->SetFromItem(tasks[static_cast<size_t>(t)]);
                link->SetToItem(tasks[static_cast<size_t>(t + 2 < kTasks ? t + 2 : t + 1)]);
                link->SetLinkStyle(static_cast<TLinkStyle>((p + t / 2) % 3));
                link->SetStartFinishOption(static_cast<TLinkStartFinishOption>((t / 2) % 5));
                link->SetColor(kPalette[(p + t / 2 + 3) % 6]);
            }
            if (!previousTasks.empty()) {
                TvxDataEntity_Link* link = AddLink();
                link->SetFromItem(previousTasks.back());
                link->SetToItem(tasks.front());
                link->SetLinkStyle(TLinkStyle::tlsMSProject);
                link->SetColor(0x000080);
            }
            previousTasks = tasks;
            phaseStart += 0.6;
            phases.push_back(phase);
        }
        // The last phases stay collapsed, so the tree shows both states.
        for (int p = 0; p < kPhases - 4; ++p) phases[static_cast<size_t>(p)]->SetExpanded(true);
    }

    // The host's part of the mouse operations: moving and copying to another row, and links.
    void HandleMouse()
    {
        SetMoveInTimeWhenMoveRow(true);
        OnTimeChangeRow = [](TvxGant_ComBasic*, TvxDataEntity_Chronbar* item, TGantRow*, TGantRow* newRow, TDateTime start,
                             TDateTime stop) {
            TvxDataList* layer = newRow->GetLayer(0);
            item->ChangeOwner(layer, layer->LoadedCount());
            item->SetStartStop(start, stop);
        };
        OnTimeCopy = [this](TvxGant_ComBasic*, TvxDataEntity_Chronbar* item, TGantRow*, TGantRow* newRow, TDateTime start,
                            TDateTime stop) {
            TvxDataEntity_Chronbar* copy = AddChronbarToGantRow(newRow, 0);
            copy->SetStyle(item->GetStyle());
            copy->SetColor(item->GetColor());
            copy->SetTopInset(item->GetTopInset());
            copy->SetBottomInset(item->GetBottomInset());
            copy->SetFixedPixelWidth(item->GetFixedPixelWidth());
            copy->SetImageIndex(item->GetImageIndex());
            copy->SetStartStop(start, stop);
        };
        OnDblClickGantArea = [](TvxGant_ComBasic* gant, TvxDataEntity_Chronbar* item) {
            if (item) gant->StickyMode = TGantStickyMode::smDependency;
        };
        OnDependencyAction = [this](TvxDataEntity_Chronbar* from, TvxDataEntity_Chronbar* to) {
            if (from == to) return;
            for (TvxDataEntity_Link* existing : from->GetLinks())
                if (existing->GetFromItem() == from && existing->GetToItem() == to) return;
            TvxDataEntity_Link* link = AddLink();
            link->SetFromItem(from);
            link->SetToItem(to);
        };
    }

    TImageList images_;
};

}  // namespace

QWidget* CreateGanttPage()
{
    auto* chart = new TGanttSample;
    chart->SetBounds(0, 0, 1100, 700);
    chart->SettleLanes();
    return chart;
}

void PrintGanttPage(TPrinter& printer)
{
    const int dpi = GetDeviceCaps(printer.Handle(), LOGPIXELSX);
    const int margin = PrintPageTitle(printer, "vxplan gallery: Gantt chart, printed");
    // The scaler and the area keep their screen layout, scaled to the printer's resolution.
    TGanttSample chart;
    const double scale = dpi / 96.0;
    const int width = static_cast<int>((printer.PageWidth() - 2 * margin) / scale);
    chart.SetBounds(0, 0, width + 102, 640);  // the tree panel beside the area takes 102
    chart.SettleLanes();
    chart.GetTreeView()->EnsureDisplayUpToDate();
    const int top = margin + MulDiv(40, dpi, 72);
    TvxDateScaler* scaler = chart.GetDateScaler();
    TvxOffscreenPaint_GA* area = chart.GetGA();
    scaler->Print(printer.Handle(), margin, top, scale, scale, true);
    area->Print(printer.Handle(), margin, top + static_cast<int>(scaler->GetHeight() * scale), scale, scale, true);
}

}  // namespace vxplan::gallery
