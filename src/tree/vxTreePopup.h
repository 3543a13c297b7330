// TvxTreePopup: a popup menu that shows the entities of a tree as nested menu items, so that
// the user picks one entity.
//
// The root level is rebuilt each time the menu pops up; a submenu is built the first time it
// opens, and opening it expands its entity in the tree, so the host's lazy filling in the
// tree's OnExpanding serves the menu too. Levels break into columns of 30 items.
#pragma once

#include <vxplan/platform/menus/vxMenus.h>
#include <vxplan/tree/vxTree.h>

namespace vxplan {

class TvxTreePopup;

using TOnUserPickDataEntity = TMethod<void(TvxTreePopup* theSender, TvxDataEntity_Tree* theDataEntity)>;
using TOnCheckUserPickEnable = TMethod<bool(TvxTreePopup* theSender, TvxDataEntity_Tree* theDataEntity)>;

// A menu item the popup made; DataEntity is the entity it stands for (null for separators and
// for the item of a submenu).
class TvxMenuItem : public TMenuItem {
public:
    using TMenuItem::TMenuItem;
    TvxDataEntity_Tree* DataEntity = nullptr;
};

class TvxTreePopup : public TPopupMenu {
public:
    // A new column starts where a level reaches a multiple of this many items.
    static constexpr int kItemsPerColumn = 30;

    explicit TvxTreePopup(TComponent* AOwner = nullptr);
    ~TvxTreePopup() override;

    TvxTree* GetTree() const { return Tree; }
    void SetTree(TvxTree* value);
    // When set, the entity items go under this item instead of the popup's own items.
    TMenuItem* GetMenuToAddTo() const { return AddToMenuItem; }
    void SetMenuToAddTo(TMenuItem* value);
    const TOnUserPickDataEntity& GetOnUserPickDataEntity() const { return OnUserPickDataEntity; }
    void SetOnUserPickDataEntity(TOnUserPickDataEntity value) { OnUserPickDataEntity = std::move(value); }
    const TOnCheckUserPickEnable& GetOnCheckUserPickEnable() const { return OnCheckUserPickEnable; }
    void SetOnCheckUserPickEnable(TOnCheckUserPickEnable value) { OnCheckUserPickEnable = std::move(value); }

    // Rebuilds the entity items of the root level (the host's own items stay).
    void InitRootLevel();
    // Removes and frees the items of menuItem that this popup made, last first.
    void CleanUp(TMenuItem* menuItem);
    // Adds the item (or submenu) of entity e under parent.
    void DoTreeToMenu(TvxDataEntity_Tree* e, TMenuItem* parent);
    // The submenu of an entity opens: its children are listed, once.
    void OnInitSubMenu(TObject* sender);
    // An entity's item was chosen: reports the pick.
    void OnPerformDataEntityAction(TObject* sender);

    TOnUserPickDataEntity OnUserPickDataEntity;
    TOnCheckUserPickEnable OnCheckUserPickEnable;

protected:
    // Builds the root level instead of raising OnPopup.
    void DoPopup() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    // Makes item stand for e: its entity, click handler and enabled state.
    void StandFor(TvxMenuItem* item, TvxDataEntity_Tree* e);
    // True while e is an entity of the tree (a pick never reports a freed one).
    bool InTree(const TvxDataEntity_Tree* e) const;

    TvxTree* Tree = nullptr;
    TMenuItem* AddToMenuItem = nullptr;
};

}  // namespace vxplan
