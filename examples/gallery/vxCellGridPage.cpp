// The cell-grid page: a grid view over a million virtual rows, scrolled into the middle, with a
// header row and a row-number column, nested sub-grids in some cells, hidden and user-sized rows
// and columns, and cells framed by their layouts. Rows are made as they scroll into view and
// given up as they leave, so memory holds only the loaded block; what the user edits is kept by
// the page and given back when a row loads again. Cells edit in place by kind: owners in a combo
// box, notes in a memo, start dates in a date picker, "Done" as a check box, the rest as text.
#include "vxGalleryPages.h"

#include <vxplan/cellgrid/vxBabGridView.h>
#include <vxplan/cellgrid/vxBabInplaceEditors.h>
#include <vxplan/platform/time/vxDateFormat.h>

#include <QLabel>
#include <QVBoxLayout>

#include <map>
#include <memory>
#include <string>
#include <utility>

namespace vxplan::gallery {
namespace {

constexpr int kRows = 1000000;
constexpr int kColumns = 9;
constexpr int kSubGridColumn = 4;
constexpr int kHiddenColumn = 6;
constexpr int kOwnerColumn = 2;
constexpr int kNotesColumn = 3;
constexpr int kStartColumn = 5;
const char* const kTitles[kColumns] = {"#", "Task", "Owner", "Notes", "Breakdown", "Start", "(hidden)", "Days", "Done"};

// Row kinds by real index, so a row looks the same each time it is loaded again.
bool HasSubGrid(int theRow) { return theRow % 6 == 2; }
bool IsHidden(int theRow) { return theRow % 25 == 11; }
bool IsTall(int theRow) { return theRow % 10 == 5; }

class TCellGridPage : public QWidget {
public:
    TCellGridPage()
    {
        framed_.MinWidth = 20;
        framed_.MinHeight = 20;
        framed_.BackColor = RGB(0xFF, 0xF8, 0xE0);
        framed_.FrontColor = clBlack;
        framed_.FrameOptionsUse = true;
        framed_.FrameOptions = {TFrameOption::foTop, TFrameOption::foBottom, TFrameOption::foRight};
        framed_.FrameColor = RGB(0xC0, 0x60, 0x20);
        raised_ = framed_;
        raised_.BackColor = RGB(0xE8, 0xF0, 0xFF);
        raised_.FrameOptions = {TFrameOption::foLeft, TFrameOption::foRight, TFrameOption::foTop, TFrameOption::foBottom};
        raised_.FrameKind = TFrameKind::fk3d;
        raised_.FrameColor = RGB(0x40, 0x60, 0xA0);
        right_ = framed_;
        right_.FrameOptionsUse = false;
        right_.BackColor = clWindow;
        right_.HorzAlignRight = true;

        auto* layout = new QVBoxLayout(this);
        layout->addWidget(new QLabel(
            "Cell grid: 1,000,000 virtual rows scrolled to the middle; a nested grid every 6th row, "
            "every 25th row and one column hidden, every 10th row taller. Arrows, Page Up/Down, Home/End and "
            "Shift or Ctrl with clicks select; F2, Enter, a double click or typing edits a cell, Escape cancels"));
        view_ = new TBabGridView;
        layout->addWidget(view_, 1);
        view_->SetBounds(0, 0, 780, 560);
        view_->SetOnCreateCell([](TBabGridCell* g, TAxisContentItem* c, TAxisContentItem* r) {
            const bool sub = g->GetRoot() == g && c->ListIndex() == kSubGridColumn && r->ListIndex() > 0 &&
                             HasSubGrid(r->ListIndex());
            return sub ? TBabCellType::babCellTypeGrid : TBabCellType::babCellTypeSimple;
        });
        view_->OninitSubGridContent = [this](TBabGridView_Custom*, TBabSubGridCellData* d) { Fill(d); };
        view_->OnVirtualLoad = [this](TBabGridCell* g, TAxisContentItem* item, bool row) {
            if (row && g == &view_->Root()) LoadRow(item);
        };
        view_->OnVirtualUnLoad = [](TBabGridCell*, TAxisContentItem*, bool, bool, bool& can) { can = true; };
        view_->OnChooseEditor = [](TBabGridView_Custom*, TBabSimpleCellStringData* d, TBabEditorType& type) {
            const int column = d->GetCell()->ColumnIndex();
            if (column == kOwnerColumn) type = TBabEditorType::babETCombo;
            if (column == kNotesColumn) type = TBabEditorType::babETMemo;
            if (column == kStartColumn) type = TBabEditorType::babETDateTime;
        };
        view_->OnEditStop = [this](TBabGridView_Custom*, TComponent*, TBabSimpleCellStringData* d, std::string& text) {
            const TBabCell* cell = d->GetCell();
            if (cell->getGridCell() == &view_->Root()) edits_[{cell->ColumnIndex(), cell->RowIndex()}] = text;
        };
        view_->InplaceCombo().SetItems({"Anna", "Bertil", "Cecilia", "David"});
        view_->Init();
        // A focused cell and a small selection for the first look.
        view_->GrabImage();
        TBabGridCell& root = view_->Root();
        root.SetFocusedCell(root.getCell(1, kRows / 2 + 1));
        root.UpdateMultiSelect(root.getCell(1, kRows / 2 + 1), TShiftState{});
        root.UpdateMultiSelect(root.getCell(2, kRows / 2 + 3), TShiftState{ssShift});
    }
    ~TCellGridPage() override { delete view_; }
    TCellGridPage(const TCellGridPage&) = delete;
    TCellGridPage& operator=(const TCellGridPage&) = delete;

private:
    void Fill(TBabSubGridCellData* theData)
    {
        auto* grid = static_cast<TBabGridCell*>(theData->GetCell());
        if (grid == &view_->Root()) {
            FillRoot(*grid);
            return;
        }
        // A 2 x 2 breakdown with its own header row.
        const int row = grid->GetAxisContentItemY()->ListIndex();
        for (int c = 0; c < 2; ++c) {
            TAxisContentItem* item = grid->Columns().AddNew(nullptr);
            item->SetUserSizeActive(true);
            item->SetUserSize(60);
        }
        for (int r = 0; r < 2; ++r) grid->Rows().AddNew(nullptr);
        grid->SetFixedRows(1);
        const char* const heads[2] = {"Plan", "Actual"};
        for (int c = 0; c < 2; ++c) {
            view_->SetText(grid->getCell(c, 0), heads[c]);
            grid->getCell(c, 1)->SetLayoutProp(&raised_);
            view_->SetText(grid->getCell(c, 1), std::to_string((row * (c + 3)) % 40 + 1) + " h");
        }
    }

    void FillRoot(TBabGridCell& theRoot)
    {
        const int widths[kColumns] = {70, 150, 90, 120, 120, 90, 60, 60, 50};
        for (int c = 0; c < kColumns; ++c) {
            TAxisContentItem* item = theRoot.Columns().AddNew(nullptr);
            item->SetUserSizeActive(true);
            item->SetUserSize(widths[c]);
        }
        theRoot.Columns().getAxisContentItem(kHiddenColumn)->SetHide(true);
        theRoot.Rows().AddNew(nullptr);
        theRoot.SetFixedCols(1);
        theRoot.SetFixedRows(1);
        for (int c = 0; c < kColumns; ++c) view_->SetText(theRoot.getCell(c, 0), kTitles[c]);
        theRoot.Rows().AddUnloaded(kRows);
        theRoot.SetTop(kRows / 2);
    }

    void LoadRow(TAxisContentItem* theRow)
    {
        TBabGridCell& root = view_->Root();
        const int r = theRow->ListIndex();
        if (IsHidden(r)) theRow->SetHide(true);
        if (IsTall(r)) {
            theRow->SetUserSizeActive(true);
            theRow->SetUserSize(34);
        }
        static const char* const owners[] = {"Anna", "Bertil", "Cecilia", "David"};
        const std::string texts[kColumns] = {std::to_string(r),
                                             "Task " + std::to_string(r),
                                             owners[r % 4],
                                             r % 3 == 0 ? "checked twice" : "",
                                             "",
                                             DateToStr(EncodeDate(2026, 3, static_cast<Word>(1 + r % 28))),
                                             "secret",
                                             std::to_string(1 + r % 9),
                                             r % 2 ? "TRUE" : "false"};
        for (int c = 0; c < kColumns; ++c) {
            TBabCell* cell = root.getCell(c, r);
            if (!cell || cell->IsGridCell()) continue;
            if (c == 3 && r % 3 == 0) cell->SetLayoutProp(&framed_);
            if (c == 7) cell->SetLayoutProp(&right_);
            const auto edited = edits_.find({c, r});
            view_->SetText(cell, edited != edits_.end() ? edited->second : texts[c]);
            if (c == kColumns - 1)
                if (auto* data = dynamic_cast<TBabSimpleCellStringData*>(cell->GetCellData())) data->SetIsBoolean(true);
        }
    }

    TLayoutProp framed_;
    TLayoutProp raised_;
    TLayoutProp right_;
    TBabGridView* view_ = nullptr;
    std::map<std::pair<int, int>, std::string> edits_;
};

}  // namespace

QWidget* CreateCellGridPage() { return new TCellGridPage; }

}  // namespace vxplan::gallery
