// Popup menus: TMenuItem trees shown by TPopupMenu, each level on Qt's QMenu, or drawn by us
// where its items carry column breaks (vxMenuSession.h).
//
// As on the platform, Popup returns when the menu closes and the chosen item's click arrives
// afterwards as a posted message, so a caller that wants the choice processes messages after
// Popup. The popup hook replaces the interactive menu (tests choose an item through it).
#pragma once

#include <vxplan/platform/core/vxComponent.h>
#include <vxplan/platform/core/vxMethod.h>
#include <vxplan/platform/core/vxTypes.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vxplan {

enum class TMenuBreak { mbNone, mbBreak, mbBarBreak };

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* AOwner = nullptr);
    ~TMenuItem() override;

    // "-" makes the item a separator.
    const std::string& GetCaption() const { return caption_; }
    void SetCaption(const std::string& caption) { caption_ = caption; }
    bool IsLine() const { return caption_ == "-"; }
    bool GetChecked() const { return checked_; }
    void SetChecked(bool checked) { checked_ = checked; }
    bool GetEnabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    bool GetVisible() const { return visible_; }
    void SetVisible(bool visible) { visible_ = visible; }
    bool GetDefault() const { return default_; }
    void SetDefault(bool isDefault) { default_ = isDefault; }
    // Starts a new column of the menu at this item.
    TMenuBreak GetBreak() const { return break_; }
    void SetBreak(TMenuBreak menuBreak) { break_ = menuBreak; }
    // The image of the popup's image list shown beside the caption; -1 for none.
    int GetImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index) { imageIndex_ = index; }
    intptr_t GetTag() const { return tag_; }
    void SetTag(intptr_t tag) { tag_ = tag; }

    // The sub-items, owned by this item.
    int Count() const { return static_cast<int>(items_.size()); }
    // Throws EListError for an index outside 0..Count-1.
    TMenuItem* GetItems(int index) const;
    // Takes ownership; the item leaves any parent it had.
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    // Gives up the item without freeing it.
    void Remove(TMenuItem* item);
    void Clear();
    TMenuItem* GetParent() const { return parent_; }
    // The item's position among its parent's items; -1 without a parent.
    int GetMenuIndex() const;

    // Raises OnClick: what choosing the item does, or, for an item with sub-items, what opening
    // its submenu does (the submenu shows the sub-items as they are after the click).
    virtual void Click();

    TNotifyEvent OnClick;

private:
    std::string caption_;
    bool checked_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    bool default_ = false;
    TMenuBreak break_ = TMenuBreak::mbNone;
    int imageIndex_ = -1;
    intptr_t tag_ = 0;
    TMenuItem* parent_ = nullptr;
    std::vector<TMenuItem*> items_;
};

class TPopupMenu;
class TCustomImageList;

// Shows the menu at a screen point and returns the chosen item (null when dismissed).
using TPopupHook = std::function<TMenuItem*(TPopupMenu& menu, TPoint screenPoint)>;

class TPopupMenu : public TComponent {
public:
    explicit TPopupMenu(TComponent* AOwner = nullptr);
    ~TPopupMenu() override;

    TMenuItem& Items() { return *items_; }
    // The item a popup was shown for: set while the menu is open and until its click runs.
    TMenuItem* GetPopupComponentItem() const { return chosen_; }
    // The images the items' ImageIndex refers to (not owned; forgotten when freed).
    TCustomImageList* GetImages() const { return images_; }
    void SetImages(TCustomImageList* images);

    // Shows the menu at the screen point; returns when it closes. The chosen item's Click
    // comes through the message queue.
    virtual void Popup(int x, int y);

    TNotifyEvent OnPopup;

protected:
    void Notification(TComponent* component, TOperation operation) override;
    // Runs just before the menu shows; raises OnPopup.
    virtual void DoPopup();

private:
    class TClickWindow;
    void DeliverClick();

    std::unique_ptr<TMenuItem> items_;
    std::unique_ptr<TClickWindow> clicks_;
    TMenuItem* chosen_ = nullptr;
    TCustomImageList* images_ = nullptr;
};

// An empty hook restores the interactive menu.
void SetPopupHook(TPopupHook hook);

}  // namespace vxplan
