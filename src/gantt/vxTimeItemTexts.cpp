// The labels of a time item.
#include <vxplan/gantt/vxTimeItemTexts.h>

#include <vxplan/platform/core/vxExceptions.h>

#include <cmath>

namespace vxplan {

namespace {
void CheckIndex(int index, int count)
{
    if (index < 0 || index >= count)
        throw EListError("Text index out of bounds (" + std::to_string(index) + " of " + std::to_string(count) + ")");
}
}  // namespace

TvxTimeItemText* TvxTimeItemTextCollection::AddText(const std::string& text, int x, int y, int32_t style)
{
    auto t = std::make_unique<TvxTimeItemText>();
    t->SetText(text);
    t->SetPos({x, y});
    t->SetStyle(style);
    fTexts.push_back(std::move(t));
    return fTexts.back().get();
}

void TvxTimeItemTextCollection::DropText(int index)
{
    CheckIndex(index, GetCount());
    fTexts.erase(fTexts.begin() + index);
}

TvxTimeItemText* TvxTimeItemTextCollection::GetTimeItemText(int index) const
{
    CheckIndex(index, GetCount());
    return fTexts[static_cast<size_t>(index)].get();
}

void TvxTimeItemTextCollection::DrawToCanvasInsideRect(const TRect& rect, TCanvas& canvas, double scaleX, double scaleY)
{
    // The handler may add or drop texts; indexes are checked afresh on every turn.
    for (int i = 0; i < GetCount(); ++i) {
        const TvxTimeItemText* t = fTexts[static_cast<size_t>(i)].get();
        if (t->GetText().empty()) continue;
        const std::string text = t->GetText();
        const TPoint pos = t->GetPos();
        if (OnStyleSet) OnStyleSet(this, canvas, t->GetStyle());
        const int x = rect.Left + Round(pos.X * scaleX);
        const int y = rect.Top + Round(pos.Y * scaleY);
        const TRect clip{x, y, rect.Right - 1, rect.Bottom - 1};
        if (clip.Top < clip.Bottom && clip.Right > clip.Left) canvas.TextRect(clip, x, y, text);
    }
}

}  // namespace vxplan
