// Menu items and the popup menu; the chosen item's click comes through a posted message.
#include <vxplan/platform/menus/vxMenus.h>

#include <vxplan/platform/app/vxApplication.h>
#include <vxplan/platform/app/vxMessages.h>
#include <vxplan/platform/core/vxExceptions.h>

#include <vxplan/platform/graphics/vxImageList.h>
#include <vxplan/platform/menus/vxMenuSession_p.h>

#include <algorithm>

namespace vxplan {

namespace {

enum : unsigned { WM_VX_MENUCLICK = WM_USER + 0x7F10 };

TPopupHook& PopupHook()
{
    static TPopupHook hook;
    return hook;
}

// The interactive menu; where nobody can answer it is dismissed at once.
TMenuItem* ShowMenu(TPopupMenu& popup, TPoint screenPoint)
{
    if (NobodyCanAnswer()) return nullptr;
    TMenuSession session(popup.GetImages());
    return session.Run(popup.Items(), screenPoint);
}

}  // namespace

// --- TMenuItem ---------------------------------------------------------------------------------

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}

TMenuItem::~TMenuItem()
{
    Clear();
    if (parent_) parent_->Remove(this);
}

TMenuItem* TMenuItem::GetItems(int index) const
{
    if (index < 0 || index >= Count()) throw EListError("Menu index out of bounds (" + std::to_string(index) + ")");
    return items_[static_cast<size_t>(index)];
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item)
{
    if (!item) throw EInvalidArgument("A menu item to insert is needed");
    for (const TMenuItem* p = this; p; p = p->parent_)
        if (p == item) throw EInvalidArgument("A menu item cannot hold itself");
    if (index < 0 || index > Count()) throw EListError("Menu index out of bounds (" + std::to_string(index) + ")");
    if (item->parent_) item->parent_->Remove(item);
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
}

void TMenuItem::Remove(TMenuItem* item)
{
    const auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end()) return;
    items_.erase(it);
    item->parent_ = nullptr;
}

void TMenuItem::Clear()
{
    while (!items_.empty()) {
        TMenuItem* item = items_.back();
        items_.pop_back();
        item->parent_ = nullptr;
        // Items that an owner holds are the owner's to free.
        if (!item->GetOwner()) delete item;
    }
}

int TMenuItem::GetMenuIndex() const
{
    if (!parent_) return -1;
    const auto& siblings = parent_->items_;
    return static_cast<int>(std::find(siblings.begin(), siblings.end(), this) - siblings.begin());
}

void TMenuItem::Click()
{
    if (OnClick) OnClick(this);
}

// --- TPopupMenu --------------------------------------------------------------------------------

class TPopupMenu::TClickWindow : public TMessageTarget {
public:
    explicit TClickWindow(TPopupMenu& menu) : menu_(menu) {}
    void WndProc(TMessage& message) override
    {
        if (message.Msg == WM_VX_MENUCLICK)
            menu_.DeliverClick();
        else
            TMessageTarget::WndProc(message);
    }

private:
    TPopupMenu& menu_;
};

TPopupMenu::TPopupMenu(TComponent* AOwner)
    : TComponent(AOwner), items_(std::make_unique<TMenuItem>()), clicks_(std::make_unique<TClickWindow>(*this))
{
}

TPopupMenu::~TPopupMenu()
{
    if (chosen_) chosen_->RemoveFreeNotification(this);
    if (images_) images_->RemoveFreeNotification(this);
}

void TPopupMenu::SetImages(TCustomImageList* images)
{
    if (images == images_) return;
    if (images_) images_->RemoveFreeNotification(this);
    images_ = images;
    if (images_) images_->FreeNotification(this);
}

void TPopupMenu::DoPopup()
{
    if (OnPopup) OnPopup(this);
}

void TPopupMenu::Popup(int x, int y)
{
    DoPopup();
    const TPopupHook& hook = PopupHook();
    TMenuItem* chosen = hook ? hook(*this, Point(x, y)) : ShowMenu(*this, Point(x, y));
    if (!chosen || !chosen->GetEnabled()) return;
    if (chosen_) chosen_->RemoveFreeNotification(this);
    chosen_ = chosen;
    chosen_->FreeNotification(this);
    PostMessage(clicks_.get(), WM_VX_MENUCLICK, 0, 0);
}

void TPopupMenu::DeliverClick()
{
    TMenuItem* chosen = chosen_;
    if (!chosen) return;
    chosen->RemoveFreeNotification(this);
    chosen_ = nullptr;
    chosen->Click();
}

void TPopupMenu::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == chosen_) chosen_ = nullptr;
    if (operation == TOperation::opRemove && component == images_) images_ = nullptr;
}

void SetPopupHook(TPopupHook hook) { PopupHook() = std::move(hook); }

}  // namespace vxplan
