// The tree page: an entity tree of a few thousand entities (departments, teams, people) with
// branches collapsed behind placeholders and filled when opened, a multiple selection, a splitter
// between the tree and a panel, an XY sizer that moves the panel's inner split point, and the
// tree as a popup menu, shown open.
#include "vxGalleryPages.h"

#include <vxplan/paint/vxSplitter.h>
#include <vxplan/paint/vxXYSizer.h>
#include <vxplan/platform/controls/vxPanel.h>
#include <vxplan/platform/menus/vxMenuColumns_p.h>
#include <vxplan/platform/menus/vxMenuPlacement_p.h>
#include <vxplan/platform/menus/vxMenuSession_p.h>
#include <vxplan/tree/vxTree.h>
#include <vxplan/tree/vxTreePopup.h>

#include <QCursor>
#include <QLabel>
#include <QPixmap>

#include <string>

namespace vxplan::gallery {
namespace {

constexpr int kDepartments = 45;
constexpr int kTeams = 8;
constexpr int kPeople = 6;
// The split point stays this far inside the right-hand panel, so both panels stay usable.
constexpr int kSplitMargin = 40;
constexpr int kHandleHalf = 4;

// Teams get their people only when they are opened, as a host loading on demand would.
void FillTeam(TvxTree_ComBasic& tree, TvxDataEntity_Tree* team)
{
    if (team->GetChildren()->Count() > 0) return;
    for (int p = 0; p < kPeople; ++p) {
        TvxDataEntity_Tree* person = tree.AddDataEntity(team);
        person->SetText(team->GetText() + " / member " + std::to_string(p + 1));
    }
}

// The page and what its handlers need.
class TTreePage : public TPanel {
public:
    TTreePage()
    {
        SetBevelOuter(TBevelCut::bvNone);
        tree_ = new TvxTree(this);
        tree_->SetParent(this);
        tree_->SetAlign(TAlign::alLeft);
        tree_->SetWidth(330);
        tree_->SetMultiSelect(true);
        tree_->SetMaxLevels(3);
        tree_->OnExpanding = [this](TObject*, TTreeNode* node, bool&) {
            TvxDataEntity_Tree* e = tree_->GetDataEntityFromNode(node);
            if (e && e->GetLevel() == 1) FillTeam(*tree_, e);
        };
        tree_->OnCurrentDataEntityChange = [this](TvxTree_ComBasic*, TvxDataEntity_Tree* e) {
            info_->SetCaption(e ? "Current: " + e->GetText() : "No current entity");
        };

        splitter_ = new TvxSplitter(this);
        splitter_->SetParent(this);
        splitter_->SetAlign(TAlign::alLeft);
        splitter_->SetLeft(331);
        splitter_->SetMinSize(80);

        right_ = new TPanel(this);
        right_->SetParent(this);
        right_->SetAlign(TAlign::alClient);
        right_->SetBevelOuter(TBevelCut::bvLowered);
        info_ = new TPanel(this);
        info_->SetParent(right_);
        info_->SetAlign(TAlign::alTop);
        info_->SetHeight(split_.Y);
        info_->SetColor(clInfoBk);
        notes_ = new TPanel(this);
        notes_->SetParent(right_);
        notes_->SetAlign(TAlign::alLeft);
        notes_->SetWidth(split_.X);
        sizer_ = new TXYSizer(this);
        sizer_->SetParent(right_);
        sizer_->SetBounds(split_.X - kHandleHalf, split_.Y - kHandleHalf, 2 * kHandleHalf + 1, 2 * kHandleHalf + 1);
        for (auto set : {&TXYSizer::SetLeftMargin, &TXYSizer::SetTopMargin, &TXYSizer::SetRightMargin, &TXYSizer::SetBottomMargin})
            (sizer_->*set)(kSplitMargin);
        // The handle reports how far it went: the split point moves by as much.
        sizer_->OnResize = [this](TXYSizer*, const TPoint& moved) {
            split_ = Point(notes_->GetWidth() + moved.X, info_->GetHeight() + moved.Y);
            PlaceSplit();
        };
        // A narrower panel keeps the split, and the handle, inside it; a wider one gives back
        // the split the user chose.
        right_->OnResize = [this](TObject*) {
            if (sizer_) PlaceSplit();
        };
        sizer_->BringToFront();

        // The whole tree as a menu: a right click in the tree opens it; the page shows it open.
        popup_ = new TvxTreePopup(this);
        popup_->SetTree(tree_);
        popup_->OnUserPickDataEntity = [this](TvxTreePopup*, TvxDataEntity_Tree* e) {
            info_->SetCaption("Picked from the menu: " + e->GetText());
        };
        tree_->OnRightClick = [this](TvxTree_ComBasic*, TvxDataEntity_Tree*) {
            const QPoint at = QCursor::pos();
            popup_->Popup(at.x(), at.y());
        };

        Fill();
        ShowMenuOpen();
    }

private:
    // The handle is centred on the split point, both kept inside the panel's margins.
    void PlaceSplit()
    {
        const TPoint at = sizer_->KeptInside(Point(split_.X - kHandleHalf, split_.Y - kHandleHalf));
        info_->SetHeight(at.Y + kHandleHalf);
        notes_->SetWidth(at.X + kHandleHalf);
        sizer_->SetBounds(at.X, at.Y, 2 * kHandleHalf + 1, 2 * kHandleHalf + 1);
        sizer_->BringToFront();
        PlaceMenuShot();
    }

    void Fill()
    {
        tree_->BeginUpdate();
        for (int d = 0; d < kDepartments; ++d) {
            TvxDataEntity_Tree* department = tree_->AddDataEntity(nullptr);
            department->SetText("Department " + std::to_string(d + 1));
            if (d % 7 == 3) department->SetFontStyle({TFontStyle::fsBold});
            for (int t = 0; t < kTeams; ++t) {
                TvxDataEntity_Tree* team = tree_->AddDataEntity(department);
                team->SetText("Dept " + std::to_string(d + 1) + " team " + static_cast<char>('A' + t));
                // Most teams wait behind their placeholder; some are known from the start.
                if ((d + t) % 5 == 0) FillTeam(*tree_, team);
            }
        }
        tree_->EndUpdate();
        // The first departments open, one team in each shows its people.
        TvxDataList_Tree* roots = tree_->GetRootDataList();
        for (int d = 0; d < 3; ++d) roots->Item(d)->SetExpanded(true);
        roots->Item(0)->GetChildren()->Item(0)->SetExpanded(true);
        roots->Item(1)->GetChildren()->Item(2)->SetExpanded(true);
        // A multiple selection: a team and a range of people.
        TvxDataEntity_Tree* first = roots->Item(0)->GetChildren()->Item(0);
        tree_->UpdateMultiSelect(first->GetChildren()->Item(1), TShiftState());
        tree_->UpdateMultiSelect(first->GetChildren()->Item(4), TShiftState{ssShift});
        tree_->UpdateMultiSelect(roots->Item(1)->GetChildren()->Item(1), TShiftState{ssCtrl});
        info_->SetCaption("Current: " + first->GetChildren()->Item(1)->GetText());
    }

    // The root level of the menu as it pops up (45 departments in two columns), shown where a
    // right click in the notes panel would open it.
    void ShowMenuOpen()
    {
        popup_->InitRootLevel();
        TMenuSession session(tree_->GetImages());
        TMenuColumnsPopup level(session, popup_->Items(), nullptr);
        level.SetHotIndex(4);
        shot_ = new QLabel(right_);
        shot_->setPixmap(QPixmap::fromImage(level.Render()));
        shot_->adjustSize();
        PlaceMenuShot();
    }

    // The right-hand panel stands for the screen: the picture is kept on it by the rule that
    // keeps a menu level on its screen. The handle stays above it, within reach.
    void PlaceMenuShot()
    {
        if (!shot_) return;
        const TRect area = Rect(0, 0, right_->GetClientWidth(), right_->GetClientHeight());
        const TPoint at = PlaceMenuLevel(Point(notes_->GetLeft() + 8, notes_->GetTop() + 8),
                                         TSize{shot_->width(), shot_->height()}, area);
        shot_->move(at.X, at.Y);
        shot_->raise();
        sizer_->BringToFront();
    }

    TvxTree* tree_ = nullptr;
    TvxTreePopup* popup_ = nullptr;
    TvxSplitter* splitter_ = nullptr;
    TPanel* right_ = nullptr;
    TPanel* info_ = nullptr;
    TPanel* notes_ = nullptr;
    TXYSizer* sizer_ = nullptr;
    QLabel* shot_ = nullptr;
    TPoint split_ = Point(440, 120);
};

}  // namespace

QWidget* CreateTreePage() { return new TTreePage; }

}  // namespace vxplan::gallery
