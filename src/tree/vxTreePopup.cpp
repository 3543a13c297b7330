// The tree as a menu: the root level rebuilt at each popup, submenus built when they open.
#include <vxplan/tree/vxTreePopup.h>

#include <vector>

namespace vxplan {

TvxTreePopup::TvxTreePopup(TComponent* AOwner) : TPopupMenu(AOwner) {}

TvxTreePopup::~TvxTreePopup()
{
    CleanUp(AddToMenuItem);
    CleanUp(&Items());
}

void TvxTreePopup::SetTree(TvxTree* value)
{
    if (value == Tree) return;
    if (Tree) Tree->RemoveFreeNotification(this);
    Tree = value;
    if (Tree) Tree->FreeNotification(this);
}

void TvxTreePopup::SetMenuToAddTo(TMenuItem* value)
{
    if (value == AddToMenuItem) return;
    if (AddToMenuItem) AddToMenuItem->RemoveFreeNotification(this);
    AddToMenuItem = value;
    if (AddToMenuItem) AddToMenuItem->FreeNotification(this);
}

void TvxTreePopup::Notification(TComponent* component, TOperation operation)
{
    TPopupMenu::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == Tree) Tree = nullptr;
    if (component == AddToMenuItem) {
        AddToMenuItem = nullptr;
        // The items we had put under it are ours to free (it let go of them, as we own them).
        std::vector<TvxMenuItem*> orphans;
        for (int i = 0; i < GetComponentCount(); ++i)
            if (auto* item = dynamic_cast<TvxMenuItem*>(GetComponent(i)); item && !item->GetParent()) orphans.push_back(item);
        for (TvxMenuItem* item : orphans) {
            CleanUp(item);
            delete item;
        }
    }
}

void TvxTreePopup::DoPopup() { InitRootLevel(); }

void TvxTreePopup::CleanUp(TMenuItem* menuItem)
{
    if (!menuItem) return;
    for (int i = menuItem->Count() - 1; i >= 0; --i) {
        auto* item = dynamic_cast<TvxMenuItem*>(menuItem->GetItems(i));
        if (!item) continue;
        // Our items are owned by the popup, which a plain item's Clear leaves alone: free the
        // submenu's items first.
        CleanUp(item);
        delete item;
    }
}

void TvxTreePopup::InitRootLevel()
{
    CleanUp(AddToMenuItem);
    CleanUp(&Items());
    TMenuItem* target = AddToMenuItem ? AddToMenuItem : &Items();
    if (!Tree) return;
    Tree->GetCurrentDataEntity();
    SetImages(Tree->GetImages());
    TvxDataList_Tree* roots = Tree->GetRootDataList();
    for (int i = 0; i < roots->Count(); ++i) DoTreeToMenu(roots->Item(i), target);
}

void TvxTreePopup::StandFor(TvxMenuItem* item, TvxDataEntity_Tree* e)
{
    item->DataEntity = e;
    item->OnClick = TNotifyEvent(this, &TvxTreePopup::OnPerformDataEntityAction);
    if (OnCheckUserPickEnable) item->SetEnabled(OnCheckUserPickEnable(this, e));
}

void TvxTreePopup::DoTreeToMenu(TvxDataEntity_Tree* e, TMenuItem* parent)
{
    auto* item = new TvxMenuItem(this);
    parent->Add(item);
    item->SetCaption(e->GetText());
    item->SetImageIndex(e->GetImageIndex());
    if (!Tree || !Tree->NeedsDummyNode(e)) {
        StandFor(item, e);
    } else {
        // A submenu whose only item, until it opens, is the entity itself.
        auto* self = new TvxMenuItem(this);
        self->SetCaption(e->GetText());
        self->SetImageIndex(e->GetImageIndex());
        StandFor(self, e);
        item->Add(self);
        item->OnClick = TNotifyEvent(this, &TvxTreePopup::OnInitSubMenu);
    }
    if (parent->Count() % kItemsPerColumn == 0) item->SetBreak(TMenuBreak::mbBarBreak);
}

void TvxTreePopup::OnInitSubMenu(TObject* sender)
{
    auto* submenu = dynamic_cast<TMenuItem*>(sender);
    if (!submenu) return;
    submenu->OnClick = nullptr;
    if (submenu->Count() != 1 || !Tree) return;
    auto* entry = dynamic_cast<TvxMenuItem*>(submenu->GetItems(0));
    TvxDataEntity_Tree* e = entry ? entry->DataEntity : nullptr;
    if (!e || !InTree(e)) return;
    e->SetExpanded(true);
    Tree->GetCurrentDataEntity();
    TvxDataList_Tree* children = e->GetChildren();
    if (!children || children->Count() == 0) return;
    // The entity is reached through its submenu only: its own entry and the separator hide.
    auto* separator = new TvxMenuItem(this);
    separator->SetCaption("-");
    submenu->Add(separator);
    for (int i = 0; i < children->Count(); ++i) DoTreeToMenu(children->Item(i), submenu);
    entry->SetVisible(false);
    separator->SetVisible(false);
}

void TvxTreePopup::OnPerformDataEntityAction(TObject* sender)
{
    auto* item = dynamic_cast<TvxMenuItem*>(sender);
    if (!item || !OnUserPickDataEntity || !InTree(item->DataEntity)) return;
    OnUserPickDataEntity(this, item->DataEntity);
}

bool TvxTreePopup::InTree(const TvxDataEntity_Tree* e) const
{
    if (!e || !Tree) return false;
    // Compared by address only: the entity may have been freed since its item was made.
    TvxDataList2lev* lists = Tree->GetDataLists();
    for (int l = 0; l < lists->Count(); ++l) {
        TvxDataList* list = lists->GetDataList(l);
        for (int i = 0; i < list->Count(); ++i)
            if (list->IsLoaded(i) && list->GetItems(i) == e) return !e->PendingFree();
    }
    return false;
}

}  // namespace vxplan
