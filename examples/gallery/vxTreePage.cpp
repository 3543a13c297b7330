// The tree page: an entity tree of a few thousand entities (departments, teams, people) with
// branches collapsed behind placeholders and filled when opened, a multiple selection, a splitter
// between the tree and a panel, an XY sizer that moves the panel's inner split point, and the
// tree as a popup menu, shown open.
#include "vxGalleryPages.h"

#include <vxplan/paint/vxSplitter.h>
#include <vxplan/paint/vxXYSizer.h>
#include <vxplan/platform/controls/vxPanel.h>
#include <vxplan/platform/menus/vxMenuColumns_p.h>
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
        info_->SetHeight(120);
        info_->SetColor(clInfoBk);
        notes_ = new TPanel(this);
        notes_->SetParent(right_);
        notes_->SetAlign(TAlign::alLeft);
        notes_->SetWidth(440);
        sizer_ = new TXYSizer(this);
        sizer_->SetParent(right_);
        sizer_->SetBounds(440 - 4, 120 - 4, 9, 9);
        sizer_->OnResize = [this](TXYSizer*, const TPoint& p) {
            info_->SetHeight(p.Y);
            notes_->SetWidth(p.X);
            sizer_->SetBounds(p.X - 4, p.Y - 4, 9, 9);
            sizer_->BringToFront();
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

    // The root level of the menu as it pops up (45 departments in two columns), drawn into the
    // notes panel.
    void ShowMenuOpen()
    {
        popup_->InitRootLevel();
        TMenuSession session(tree_->GetImages());
        TMenuColumnsPopup level(session, popup_->Items(), nullptr);
        level.SetHotIndex(4);
        auto* shot = new QLabel(notes_);
        shot->setPixmap(QPixmap::fromImage(level.Render()));
        shot->move(8, 8);
        shot->adjustSize();
    }

    TvxTree* tree_ = nullptr;
    TvxTreePopup* popup_ = nullptr;
    TvxSplitter* splitter_ = nullptr;
    TPanel* right_ = nullptr;
    TPanel* info_ = nullptr;
    TPanel* notes_ = nullptr;
    TXYSizer* sizer_ = nullptr;
};

}  // namespace

QWidget* CreateTreePage() { return new TTreePage; }

}  // namespace vxplan::gallery
