// One interactive popup menu, from showing it until it closes: its open levels and the choice.
// Internal to the library and its tests, not part of the vxplan API: hosts do not include it.
//
// Each level of the item tree is shown when it opens. A level whose items carry column breaks
// is a TMenuColumnsPopup drawn by us (QMenu cannot show columns); the others are QMenus. An
// item with sub-items gets its Click when its submenu opens, and the submenu shows the
// sub-items as they are after that click. Items freed while the menu is open are never chosen.
#pragma once

#include <vxplan/platform/core/vxComponent.h>
#include <vxplan/platform/core/vxTypes.h>

#include <QEventLoop>
#include <QPointer>
#include <QWidget>

#include <optional>
#include <set>
#include <vector>

class QMenu;

namespace vxplan {

class TCustomImageList;
class TMenuItem;
class TMenuColumnsPopup;

// True when a shown item of the level starts a column.
bool HasColumnBreaks(const TMenuItem& level);

class TMenuSession : public TComponent {
public:
    explicit TMenuSession(const TCustomImageList* images = nullptr);
    ~TMenuSession() override;

    // Shows root's items at the screen point and returns the chosen item when the menu closes
    // (null when it was dismissed).
    TMenuItem* Run(TMenuItem& root, TPoint screenPoint);

    // Opens the level beneath an item whose Click has run, at the screen point; parent is the
    // level it opens from (null for the root) and parentItem the item's rectangle on the screen,
    // whose other side the level takes when it does not fit. Returns the level's widget (null
    // when the level has nothing to show).
    QWidget* OpenLevel(TMenuItem& level, TPoint screenPoint, QWidget* parent,
                       const std::optional<TRect>& parentItem = std::nullopt);
    // Ends the menu with the item (ignored when it was freed, is disabled or the menu ended).
    void Choose(TMenuItem* item);
    // Ends the menu with no choice.
    void Cancel();
    bool Finished() const { return finished_; }
    // True while the item exists (it was shown in this menu and has not been freed).
    bool Alive(const TMenuItem* item) const;
    // Registers the item as shown, so that its freeing is noticed.
    void Watch(TMenuItem* item);
    // Runs the item's Click as its submenu opens; false when the item was freed by it.
    bool OpenSubmenuOf(TMenuItem* item);

    const TCustomImageList* Images() const { return images_; }
    // The open levels, root first (those closed since are null).
    const std::vector<QPointer<QWidget>>& Levels() const { return levels_; }

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    QMenu* NewQMenu(TMenuItem& level, QWidget* parent);
    void FillQMenu(QMenu& menu, TMenuItem& level);
    void CloseAll();

    const TCustomImageList* images_;
    std::set<const TComponent*> alive_;
    std::vector<QPointer<QWidget>> levels_;
    QEventLoop loop_;
    TMenuItem* chosen_ = nullptr;
    bool finished_ = false;
};

}  // namespace vxplan
