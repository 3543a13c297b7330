// The links of a paint: which are shown, where their ends are, and how they are drawn.
#include <vxplan/gantt/vxGant.h>

#include <vxplan/gantt/vxGantLinkRoute_p.h>
#include <vxplan/gantt/vxGantTree.h>

#include <vxplan/scaler/vxScaler.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace vxplan {

namespace {

// A row's node is shown; a row without a node is not.
bool RowShown(const TGantRow* row) { return row && row->GetVisible(); }

constexpr size_t kSpanBlock = 64;

// The pre-order index of the platform node of the row's tree node; -1 without one.
int NodeIndex(const TGantRow* row)
{
    const TvxDataEntity_Tree* entity = row ? row->GetTreeNode() : nullptr;
    const TTreeNode* node = entity ? entity->GetTreeNode() : nullptr;
    return node ? node->GetAbsoluteIndex() : -1;
}

}  // namespace

// A link can be shown only when both its rows' nodes are shown, so links without two nodes are
// left out; nodes coming or going change the tree's node count, which the index checks.
void TvxGant_ComBasic::BuildLinkIndex()
{
    fLinkSpans.clear();
    fLinkBlockMaxHi.clear();
    for (int i = 0; i < fLinkList->Count(); ++i) {
        auto* link = static_cast<TvxDataEntity_Link*>(fLinkList->GetItems(i));
        if (!link || !link->GetFromItem() || !link->GetToItem()) continue;
        const int a = NodeIndex(link->GetFromItem()->GetRow());
        const int b = NodeIndex(link->GetToItem()->GetRow());
        if (a < 0 || b < 0) continue;
        fLinkSpans.push_back({std::min(a, b), std::max(a, b), i});
    }
    std::sort(fLinkSpans.begin(), fLinkSpans.end(), [](const TLinkSpan& x, const TLinkSpan& y) { return x.Lo < y.Lo; });
    for (size_t i = 0; i < fLinkSpans.size(); i += kSpanBlock) {
        int hi = std::numeric_limits<int>::min();
        for (size_t j = i; j < std::min(fLinkSpans.size(), i + kSpanBlock); ++j) hi = std::max(hi, fLinkSpans[j].Hi);
        fLinkBlockMaxHi.push_back(hi);
    }
    fLinkIndexStale = false;
    fLinkIndexNodeCount = fTree->Items().GetCount();
    fLinkIndexLinkCount = fLinkList->Count();
}

void TvxGant_ComBasic::FindLinksNearView(int aboveIndex, int belowIndex, std::vector<int>& positions)
{
    positions.clear();
    if (fLinkIndexStale || fLinkIndexNodeCount != fTree->Items().GetCount() || fLinkIndexLinkCount != fLinkList->Count())
        BuildLinkIndex();
    // Spans meeting aboveIndex..belowIndex: low end not past it, high end not before it.
    for (size_t block = 0; block * kSpanBlock < fLinkSpans.size(); ++block) {
        const size_t first = block * kSpanBlock;
        if (fLinkSpans[first].Lo > belowIndex) break;
        if (fLinkBlockMaxHi[block] < aboveIndex) continue;
        for (size_t j = first; j < std::min(fLinkSpans.size(), first + kSpanBlock); ++j) {
            const TLinkSpan& span = fLinkSpans[j];
            if (span.Lo > belowIndex) break;
            if (span.Hi >= aboveIndex) positions.push_back(span.Pos);
        }
    }
    std::sort(positions.begin(), positions.end());
}

bool TvxGant_ComBasic::LinePassesThroughWindow(const TvxDataEntity_Chronbar* from, const TvxDataEntity_Chronbar* to) const
{
    if (!from || !to || !fScaler) return false;
    return ::vxplan::LinePassesThroughWindow(from->GetStopDateTime(), to->GetStartDateTime(), fScaler->GetStart(),
                                             fScaler->GetStop());
}

void TvxGant_ComBasic::DrawLink(TPoint start, TPoint stop, TCanvas& canvas, TLinkStyle style, TColor color,
                                const TvxDataEntity_Link* link)
{
    const TvxLinkSizes sizes = GetIsPrinting() ? TvxLinkSizes::Scaled(fGA->GetScalex(), fGA->GetScaley()) : TvxLinkSizes{};
    const bool startToStart = link && link->GetStartFinishOption() == TLinkStartFinishOption::tlsfSS;
    ::vxplan::DrawLink(start, stop, canvas, style, color, startToStart, sizes);
}

void TvxGant_ComBasic::RenderLinks()
{
    fLinksDrawn = 0;
    if (!fGA || !fScaler || !fLinkList) return;
    TCanvas& canvas = fGA->GetOffscreenCanvas();
    const TDateTime rangeStart = fScaler->GetStart(), rangeStop = fScaler->GetStop();
    const bool printing = GetIsPrinting();
    const TvxLinkSizes sizes = printing ? TvxLinkSizes::Scaled(fGA->GetScalex(), fGA->GetScaley()) : TvxLinkSizes{};
    // Nothing drawn for a link reaches further from its two anchor points than this.
    const int reach = 2 + sizes.SSMargin + 2 * std::max(sizes.ArrowHalfWidth, sizes.MSArrowSize);
    const int width = fGA->GetWidth(), height = fGA->GetHeight();
    auto offCanvas = [&](const TvxLinkRoute& route) {
        const int top = std::min(route.Start.Y, route.Stop.Y), bottom = std::max(route.Start.Y, route.Stop.Y);
        const int left = std::min(route.Start.X, route.Stop.X), right = std::max(route.Start.X, route.Stop.X);
        return bottom < -reach || top > height + reach || right < -reach || left > width + reach;
    };

    // Tree rows are bands of one height in display order, which is the nodes' pre-order. A link
    // whose ends both lie far enough above (or below) the rows in view stays within those bands
    // and leaves no pixel in the area: it is passed over before its rectangles are computed, and
    // the index finds the others without walking every link. "Far enough" is as many rows beyond
    // the view as the drawing's reach needs. Such links are not offered to OnUserDrawLinks
    // either: both their anchor points lie that far outside the area.
    int aboveIndex = std::numeric_limits<int>::min(), belowIndex = std::numeric_limits<int>::max();
    if (!fUseGridNotTree && !fRowsInView.empty() && fRowsInView.front()->GetTreeNode() &&
        fRowsInView.back()->GetTreeNode()) {
        const double rowHeight = std::max(1.0, fLastRowHeight * fGA->GetScaley());
        const int beyond = 1 + static_cast<int>(std::ceil((reach + 2) / rowHeight));
        TTreeNode* before = fRowsInView.front()->GetTreeNode()->GetTreeNode();
        TTreeNode* after = fRowsInView.back()->GetTreeNode()->GetTreeNode();
        for (int k = 0; k < beyond && before; ++k) before = before->GetPrevVisible();
        for (int k = 0; k < beyond && after; ++k) after = after->GetNextVisible();
        if (before) aboveIndex = before->GetAbsoluteIndex();
        if (after) belowIndex = after->GetAbsoluteIndex();
    }
    // The links that may show: from the index when rows of the tree are in view, else all.
    std::vector<int> positions;
    const bool indexed = aboveIndex != std::numeric_limits<int>::min() || belowIndex != std::numeric_limits<int>::max();
    if (indexed) FindLinksNearView(aboveIndex, belowIndex, positions);
    const int count = indexed ? static_cast<int>(positions.size()) : fLinkList->Count();
    fLinksVisited = count;

    for (int k = 0; k < count; ++k) {
        auto* link = static_cast<TvxDataEntity_Link*>(fLinkList->GetItems(indexed ? positions[static_cast<size_t>(k)] : k));
        TvxDataEntity_Chronbar* from = link ? link->GetFromItem() : nullptr;
        TvxDataEntity_Chronbar* to = link ? link->GetToItem() : nullptr;
        if (!from || !to) continue;
        if (!::vxplan::LinePassesThroughWindow(from->GetStopDateTime(), to->GetStartDateTime(), rangeStart, rangeStop))
            continue;
        TGantRow* fromRow = from->GetRow();
        TGantRow* toRow = to->GetRow();
        if (!RowShown(fromRow) || !RowShown(toRow)) continue;
        const TLinkStyle style = link->GetLinkStyle();

        TvxLinkEnd a, b;
        if (!RectFromDataEntity(from, a.Rect)) a.Rect = kNoRect;
        if (!RectFromDataEntity(to, b.Rect)) b.Rect = kNoRect;
        a.InRange = ItemOverlapsRange(from->GetStartDateTime(), from->GetStopDateTime(), rangeStart, rangeStop);
        b.InRange = ItemOverlapsRange(to->GetStartDateTime(), to->GetStopDateTime(), rangeStart, rangeStop);
        const TvxLinkRoute route =
            RouteLink(a, b, fromRow == toRow, link->GetStartFinishOption(), style, fLinkShow);
        if (!route.Show) continue;
        if (route.UserDraw) {
            ++fLinksDrawn;
            if (OnUserDrawLinks) OnUserDrawLinks(this, link, canvas, route.Start, route.Stop);
            continue;
        }
        // A link wholly beside the area would leave no pixel: it is not handed to the platform.
        if (offCanvas(route)) continue;
        ++fLinksDrawn;
        ::vxplan::DrawLink(route.Start, route.Stop, canvas, route.Kind, link->GetColor(),
                           link->GetStartFinishOption() == TLinkStartFinishOption::tlsfSS, sizes);
    }
}

}  // namespace vxplan
