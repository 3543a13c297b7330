// TGantTree: the chart's tree. Its entities are the chart's rows: inserting an entity adds the
// row, deleting it removes the row, and every change of what the tree shows repaints the area.
#pragma once

#include <vxplan/tree/vxTree.h>

namespace vxplan {

class TvxGant_ComBasic;

class TGantTree : public TvxTree_ComBasic {
public:
    TGantTree(TComponent* AOwner, TvxGant_ComBasic* theGant);
    TvxGant_ComBasic* GetGant() const { return fGant; }

    using TCustomTreeView::GetBorderStyle;
    using TCustomTreeView::SetBorderStyle;
    // The chart's image list: the tree's images and those of the image bars.
    using TCustomTreeView::GetImages;
    using TCustomTreeView::SetImages;

protected:
    void _InsertItem(TvxDataEntity* entity) override;
    void _DeleteItem(TvxDataEntity* entity) override;
    void _OnVisibleChanged(TvxDataEntity* entity) override;
    void _EnterOwnerAfterChange(TvxDataEntity* entity) override;
    void Expand(TTreeNode* node) override;
    void Collapse(TTreeNode* node) override;
    void WndProc(TMessage& message) override;

private:
    bool Detached() const;

    TvxGant_ComBasic* fGant;
};

}  // namespace vxplan
