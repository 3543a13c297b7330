// Menu items and the popup menu on QMenu; the chosen item's click comes through a posted message.
#include "platform/vxMenus.h"

#include "platform/vxApplication.h"
#include "platform/vxExceptions.h"
#include "platform/vxMessages.h"

#include <QAction>
#include <QMenu>

#include <algorithm>
#include <map>

namespace vxplan {

namespace {

enum : unsigned { WM_VX_MENUCLICK = WM_USER + 0x7F10 };

TPopupHook& PopupHook()
{
    static TPopupHook hook;
    return hook;
}

void FillQMenu(QMenu& menu, TMenuItem& items, std::map<QAction*, TMenuItem*>& actions)
{
    for (int i = 0; i < items.Count(); ++i) {
        TMenuItem* item = items.GetItems(i);
        if (!item->GetVisible()) continue;
        if (item->IsLine()) {
            menu.addSeparator();
            continue;
        }
        const QString caption = QString::fromUtf8(item->GetCaption());
        QAction* action = nullptr;
        if (item->Count() > 0) {
            QMenu* sub = menu.addMenu(caption);
            FillQMenu(*sub, *item, actions);
            // Opening a submenu is its item's click; the sub-items may change with it.
            QObject::connect(sub, &QMenu::aboutToShow, sub, [sub, item, &actions] {
                item->Click();
                sub->clear();
                FillQMenu(*sub, *item, actions);
            });
            action = sub->menuAction();
        } else {
            action = menu.addAction(caption);
            actions[action] = item;
        }
        action->setEnabled(item->GetEnabled());
        if (item->GetChecked()) {
            action->setCheckable(true);
            action->setChecked(true);
        }
        if (item->GetDefault()) menu.setDefaultAction(action);
    }
}

// The interactive menu; where nobody can answer it is dismissed at once.
TMenuItem* ShowQMenu(TPopupMenu& popup, TPoint screenPoint)
{
    if (NobodyCanAnswer()) return nullptr;
    QMenu menu;
    std::map<QAction*, TMenuItem*> actions;
    FillQMenu(menu, popup.Items(), actions);
    QAction* chosen = menu.exec(QPoint(screenPoint.X, screenPoint.Y));
    const auto found = actions.find(chosen);
    return found == actions.end() ? nullptr : found->second;
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
}

void TPopupMenu::DoPopup()
{
    if (OnPopup) OnPopup(this);
}

void TPopupMenu::Popup(int x, int y)
{
    DoPopup();
    const TPopupHook& hook = PopupHook();
    TMenuItem* chosen = hook ? hook(*this, Point(x, y)) : ShowQMenu(*this, Point(x, y));
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
}

void SetPopupHook(TPopupHook hook) { PopupHook() = std::move(hook); }

}  // namespace vxplan
