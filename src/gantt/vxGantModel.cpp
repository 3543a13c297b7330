// Time items, their layers and the links between them.
#include <vxplan/gantt/vxGantModel.h>

#include <vxplan/gantt/vxGant.h>
#include <vxplan/gantt/vxGantLaneWalk_p.h>
#include <vxplan/platform/core/vxExceptions.h>

#include <algorithm>
#include <cmath>

namespace vxplan {

namespace {
void CheckCalendar(TDateTime t)
{
    if (!std::isfinite(t) || t < MinDateTime || t > MaxDateTime)
        throw EInvalidArgument(TvxDataEntity_Chronbar::kOutsideCalendar);
}
}  // namespace

// ---- TvxDataEntity_Chronbar ----

TvxDataEntity_Chronbar::TvxDataEntity_Chronbar() : Texts(std::make_unique<TvxTimeItemTextCollection>()) {}

TvxDataEntity_Chronbar::~TvxDataEntity_Chronbar() { TGantLaneWalk::ItemGoes(this); }

void TvxDataEntity_Chronbar::AfterCreate(TvxDataList* theDataList)
{
    TvxDataEntity::AfterCreate(theDataList);
    // Made by a list, loaded or inserted alike: the chart picks the texts' fonts from now on.
    if (TvxGant_ComBasic* gant = GetGant())
        Texts->OnStyleSet = TOnStyleSet(gant, &TvxGant_ComBasic::_OnTimeItemTextStyleSet);
}

void TvxDataEntity_Chronbar::SetStartDateTime(TDateTime value)
{
    CheckCalendar(value);
    StartDateTime = value;
}

void TvxDataEntity_Chronbar::SetStopDateTime(TDateTime value)
{
    CheckCalendar(value);
    StopDateTime = value;
}

void TvxDataEntity_Chronbar::SetStartStop(TDateTime start, TDateTime stop)
{
    CheckCalendar(start);
    CheckCalendar(stop);
    if (stop < start) throw EInvalidArgument(kStopBeforeStart);
    StartDateTime = start;
    StopDateTime = stop;
}

TGantRow* TvxDataEntity_Chronbar::GetRow() const
{
    auto* list = dynamic_cast<TvxDataList_GantRow*>(GetDataList());
    return list ? list->GetRow() : nullptr;
}

TvxGant_ComBasic* TvxDataEntity_Chronbar::GetGant() const
{
    TGantRow* row = GetRow();
    return row ? row->GetGant() : nullptr;
}

// ---- TvxDataList_GantRow ----

void TvxDataList_GantRow::CleanForFree()
{
    Row = nullptr;
    TvxDataList::CleanForFree();
}

// ---- TvxDataEntity_Link ----

TvxGant_ComBasic* TvxDataEntity_Link::GetGant() const
{
    auto* list = dynamic_cast<TvxDataList_GantLinks*>(GetDataList());
    return list ? list->GetGant() : nullptr;
}

void TvxDataEntity_Link::Unregister(TvxDataEntity_Chronbar* item, TvxDataEntity_Link* link)
{
    if (!item) return;
    auto& links = item->fLinks;
    // A link joining an item to itself is listed once.
    auto it = std::find(links.begin(), links.end(), link);
    if (it != links.end()) links.erase(it);
}

void TvxDataEntity_Link::SetEnd(TvxDataEntity_Chronbar*& end, TvxDataEntity_Chronbar* item)
{
    if (item == end) return;
    if (item) {
        TvxGant_ComBasic* gant = item->GetGant();
        if (!gant) throw EInvalidArgument(kNoRow);
        if (TvxGant_ComBasic* own = GetGant(); own && own != gant) throw EInvalidArgument(kOtherChart);
    }
    TvxDataEntity_Chronbar* old = end;
    end = item;
    // The old item keeps the link while its other end still names it.
    if (old && FromItem != old && ToItem != old) Unregister(old, this);
    if (item && std::find(item->fLinks.begin(), item->fLinks.end(), this) == item->fLinks.end())
        item->fLinks.push_back(this);
    if (TvxGant_ComBasic* gant = GetGant()) {
        gant->LinksChanged();
        gant->InvalidateGA();
    }
}

void TvxDataEntity_Link::SetFromItem(TvxDataEntity_Chronbar* item) { SetEnd(FromItem, item); }

void TvxDataEntity_Link::SetToItem(TvxDataEntity_Chronbar* item) { SetEnd(ToItem, item); }

void TvxDataEntity_Link::SetStartFinishOption(TLinkStartFinishOption value)
{
    StartFinishOption = value;
    if (FromItem)
        if (TvxGant_ComBasic* gant = FromItem->GetGant()) gant->InvalidateGA();
}

void TvxDataEntity_Link::CleanForFree()
{
    Unregister(FromItem, this);
    Unregister(ToItem, this);
    FromItem = nullptr;
    ToItem = nullptr;
    TvxDataEntity::CleanForFree();
}

}  // namespace vxplan
