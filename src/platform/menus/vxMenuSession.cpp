// The interactive menu: levels on QMenu, or drawn by us where they have columns.
#include <vxplan/platform/menus/vxMenuSession_p.h>

#include <vxplan/platform/graphics/vxImageList.h>
#include <vxplan/platform/menus/vxMenuColumns_p.h>
#include <vxplan/platform/menus/vxMenuPlacement_p.h>
#include <vxplan/platform/menus/vxMenus.h>

#include <QAction>
#include <QMenu>
#include <QTimer>

namespace vxplan {

bool HasColumnBreaks(const TMenuItem& level)
{
    for (int i = 0; i < level.Count(); ++i) {
        const TMenuItem* item = level.GetItems(i);
        if (item->GetVisible() && item->GetBreak() != TMenuBreak::mbNone) return true;
    }
    return false;
}

TMenuSession::TMenuSession(const TCustomImageList* images) : images_(images) {}

TMenuSession::~TMenuSession() { CloseAll(); }

TMenuItem* TMenuSession::Run(TMenuItem& root, TPoint screenPoint)
{
    Watch(&root);
    if (!OpenLevel(root, screenPoint, nullptr)) return nullptr;
    if (!finished_) loop_.exec();
    CloseAll();
    return chosen_;
}

QWidget* TMenuSession::OpenLevel(TMenuItem& level, TPoint screenPoint, QWidget* parent,
                                 const std::optional<TRect>& parentItem)
{
    if (finished_) return nullptr;
    Watch(&level);
    bool anyShown = false;
    for (int i = 0; i < level.Count(); ++i) {
        Watch(level.GetItems(i));
        anyShown = anyShown || level.GetItems(i)->GetVisible();
    }
    if (!anyShown) return nullptr;
    QWidget* shown = nullptr;
    if (HasColumnBreaks(level)) {
        auto* columns = new TMenuColumnsPopup(*this, level, parent);
        levels_.emplace_back(columns);
        columns->ShowAt(screenPoint, parentItem);
        shown = columns;
    } else {
        QMenu* menu = NewQMenu(level, parent);
        levels_.emplace_back(menu);
        // Placed by the same rule as our own levels, so that Qt finds nothing to move.
        const QSize size = menu->sizeHint();
        const TPoint at = PlaceMenuLevel(screenPoint, TSize{size.width(), size.height()}, MenuAreaAt(screenPoint), parentItem);
        menu->popup(QPoint(at.X, at.Y));
        shown = menu;
    }
    return shown;
}

QMenu* TMenuSession::NewQMenu(TMenuItem& level, QWidget* parent)
{
    auto* menu = new QMenu();
    FillQMenu(*menu, level);
    // The root closing ends the menu; the choice, when there is one, is made by then (QMenu
    // hides before it reports the triggered action).
    if (!parent)
        QObject::connect(menu, &QMenu::aboutToHide, menu, [this, menu] {
            QTimer::singleShot(0, menu, [this] { Cancel(); });
        });
    return menu;
}

void TMenuSession::FillQMenu(QMenu& menu, TMenuItem& level)
{
    for (int i = 0; i < level.Count(); ++i) {
        TMenuItem* item = level.GetItems(i);
        Watch(item);
        if (!item->GetVisible()) continue;
        if (item->IsLine()) {
            menu.addSeparator();
            continue;
        }
        const QString caption = QString::fromUtf8(item->GetCaption());
        QAction* action = nullptr;
        if (item->Count() > 0) {
            QMenu* sub = menu.addMenu(caption);
            FillQMenu(*sub, *item);
            QMenu* owner = &menu;
            QObject::connect(sub, &QMenu::aboutToShow, sub, [this, sub, owner, item] {
                sub->clear();
                if (finished_ || !OpenSubmenuOf(item)) return;
                if (!HasColumnBreaks(*item)) {
                    FillQMenu(*sub, *item);
                    return;
                }
                // Columns: our own level takes the submenu's place beside its item.
                QTimer::singleShot(0, sub, [this, sub, owner, item] {
                    if (finished_ || !Alive(item)) return;
                    const QRect r = owner->actionGeometry(sub->menuAction());
                    const QPoint at = owner->mapToGlobal(r.topRight());
                    const QPoint itemTopLeft = owner->mapToGlobal(r.topLeft());
                    sub->hide();
                    OpenLevel(*item, Point(at.x(), at.y()), owner, Bounds(itemTopLeft.x(), itemTopLeft.y(), r.width(), r.height()));
                });
            });
            action = sub->menuAction();
        } else {
            action = menu.addAction(caption);
            QObject::connect(action, &QAction::triggered, action, [this, item] { Choose(item); });
        }
        action->setEnabled(item->GetEnabled());
        if (item->GetChecked()) {
            action->setCheckable(true);
            action->setChecked(true);
        }
        if (images_ && item->GetImageIndex() >= 0 && item->GetImageIndex() < images_->GetCount())
            action->setIcon(QIcon(QPixmap::fromImage(images_->GetImage(item->GetImageIndex()))));
        if (item->GetDefault()) menu.setDefaultAction(action);
    }
}

bool TMenuSession::OpenSubmenuOf(TMenuItem* item)
{
    if (!Alive(item)) return false;
    item->Click();
    if (!Alive(item)) return false;
    for (int i = 0; i < item->Count(); ++i) Watch(item->GetItems(i));
    return true;
}

void TMenuSession::Choose(TMenuItem* item)
{
    if (finished_ || !Alive(item) || !item->GetEnabled()) return;
    chosen_ = item;
    finished_ = true;
    loop_.exit();
}

void TMenuSession::Cancel()
{
    if (finished_) return;
    finished_ = true;
    loop_.exit();
}

bool TMenuSession::Alive(const TMenuItem* item) const { return item && alive_.contains(item); }

void TMenuSession::Watch(TMenuItem* item)
{
    if (alive_.insert(item).second) item->FreeNotification(this);
}

void TMenuSession::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    alive_.erase(component);
    if (component == chosen_) chosen_ = nullptr;
    // A level drawn by us that shows a freed item closes (its parent level stays).
    for (const QPointer<QWidget>& level : levels_) {
        auto* columns = dynamic_cast<TMenuColumnsPopup*>(level.data());
        if (!columns || !columns->isVisible()) continue;
        bool shows = static_cast<TComponent*>(&columns->Level()) == component;
        for (int i = 0; i < columns->ItemCount() && !shows; ++i) shows = columns->Item(i) == component;
        if (shows) columns->CloseLevel();
    }
}

void TMenuSession::CloseAll()
{
    finished_ = true;
    // Children first: a level's widget may refer to the one it opened from.
    for (auto it = levels_.rbegin(); it != levels_.rend(); ++it)
        if (*it) (*it)->hide();
    for (auto it = levels_.rbegin(); it != levels_.rend(); ++it) delete it->data();
    levels_.clear();
}

}  // namespace vxplan
