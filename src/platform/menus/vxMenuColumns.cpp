// A menu level in columns, drawn through our canvas in the classic menu look.
#include <vxplan/platform/menus/vxMenuColumns_p.h>

#include <vxplan/platform/graphics/vxCanvas.h>
#include <vxplan/platform/graphics/vxColor.h>
#include <vxplan/platform/graphics/vxImageList.h>
#include <vxplan/platform/graphics/vxMeasureCanvas_p.h>
#include <vxplan/platform/menus/vxMenuPlacement_p.h>
#include <vxplan/platform/menus/vxMenuSession_p.h>
#include <vxplan/platform/menus/vxMenus.h>

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace vxplan {

namespace {

constexpr int kBorder = 3;          // raised edge of two pixels and one of menu colour
constexpr int kSeparatorHeight = 9;
constexpr int kColumnGap = 6;       // between columns; a bar break's etched line sits in it
constexpr int kTextPadRight = 24;   // room after the caption for the submenu arrow
constexpr int kHoverOpenMs = 300;   // resting over a submenu item opens it
constexpr uint32_t kTextFormat = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;

void FillSolid(TCanvas& c, const TRect& r, TColor color)
{
    c.Brush().SetStyle(TBrushStyle::bsSolid);
    c.Brush().SetColor(color);
    c.FillRect(r);
}

TFont MenuFont(const TMenuItem& item)
{
    TFont font;
    if (item.GetDefault()) font.SetStyle(TFontStyles{TFontStyle::fsBold});
    return font;
}

int TextWidthOf(const std::string& text, const TFont& font) { return TMeasureCanvas(font).Canvas().TextWidth(text); }

int TextHeightOf(const TFont& font) { return TMeasureCanvas(font).Canvas().TextHeight("Ag"); }

// A classic check mark, seven pixels wide and three thick, its top-left at (x, y).
void DrawCheck(TCanvas& c, int x, int y, TColor color)
{
    static constexpr int kRise[7] = {2, 3, 4, 3, 2, 1, 0};
    for (int i = 0; i < 7; ++i) FillSolid(c, Rect(x + i, y + kRise[i], x + i + 1, y + kRise[i] + 3), color);
}

// A right-pointing arrow, four pixels wide and seven high, centred on y.
void DrawArrow(TCanvas& c, int x, int y, TColor color)
{
    for (int i = 0; i < 4; ++i) FillSolid(c, Rect(x + i, y - 3 + i, x + i + 1, y + 4 - i), color);
}

}  // namespace

TMenuColumnsPopup::TMenuColumnsPopup(TMenuSession& session, TMenuItem& level, QWidget* parentLevel)
    : QWidget(nullptr, Qt::Popup | Qt::FramelessWindowHint), session_(session), level_(level), parentLevel_(parentLevel)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    hoverTimer_.setSingleShot(true);
    hoverTimer_.setInterval(kHoverOpenMs);
    QObject::connect(&hoverTimer_, &QTimer::timeout, this, [this] {
        if (hot_ == childIndex_) return;
        CloseChild();
        if (hot_ >= 0 && Item(hot_)->Count() > 0) OpenSubmenu(hot_);
    });
    Layout();
}

TMenuColumnsPopup::~TMenuColumnsPopup() = default;

void TMenuColumnsPopup::Layout()
{
    const TCustomImageList* images = session_.Images();
    const int imageWidth = images ? images->GetWidth() : 0;
    const int imageHeight = images ? images->GetHeight() : 0;
    gutter_ = std::max(12, imageWidth) + 8;
    const int itemHeight = std::max(TextHeightOf(TFont()) + 6, imageHeight + 4);

    // Rows first, each column's width from its widest caption.
    std::vector<int> widths;
    std::vector<bool> barBefore;
    int y = kBorder, bottom = kBorder;
    for (int i = 0; i < level_.Count(); ++i) {
        TMenuItem* item = level_.GetItems(i);
        if (!item->GetVisible()) continue;
        if (widths.empty() || (item->GetBreak() != TMenuBreak::mbNone && y > kBorder)) {
            barBefore.push_back(!widths.empty() && item->GetBreak() == TMenuBreak::mbBarBreak);
            widths.push_back(0);
            y = kBorder;
        }
        const int height = item->IsLine() ? kSeparatorHeight : itemHeight;
        entries_.push_back({item, Rect(0, y, 0, y + height), static_cast<int>(widths.size()) - 1});
        if (!item->IsLine())
            widths.back() = std::max(widths.back(), gutter_ + TextWidthOf(item->GetCaption(), MenuFont(*item)) + kTextPadRight);
        y += height;
        bottom = std::max(bottom, y);
    }
    columns_ = static_cast<int>(widths.size());
    std::vector<int> lefts(widths.size());
    int x = kBorder;
    for (size_t c = 0; c < widths.size(); ++c) {
        if (c > 0) {
            if (barBefore[c]) barLines_.push_back(x + kColumnGap / 2 - 1);
            x += kColumnGap;
        }
        lefts[c] = x;
        x += widths[c];
    }
    for (TEntry& e : entries_) {
        e.Bounds.Left = lefts[static_cast<size_t>(e.Column)];
        e.Bounds.Right = e.Bounds.Left + widths[static_cast<size_t>(e.Column)];
    }
    resize(x + kBorder, bottom + kBorder);
}

QImage TMenuColumnsPopup::Render() const
{
    QImage image(std::max(1, width()), std::max(1, height()), QImage::Format_RGB32);
    TDeviceContext dc(&image);
    TCanvas c;
    const TCanvasBinding binding(c, &dc);
    const int w = width(), h = height();
    FillSolid(c, Rect(0, 0, w, h), clMenu);
    // The raised edge: light above and left, shadow below and right, two rings.
    FillSolid(c, Rect(0, 0, w, 1), clBtnFace);
    FillSolid(c, Rect(0, 0, 1, h), clBtnFace);
    FillSolid(c, Rect(1, 1, w - 1, 2), clBtnHighlight);
    FillSolid(c, Rect(1, 1, 2, h - 1), clBtnHighlight);
    FillSolid(c, Rect(0, h - 1, w, h), cl3DDkShadow);
    FillSolid(c, Rect(w - 1, 0, w, h), cl3DDkShadow);
    FillSolid(c, Rect(1, h - 2, w - 1, h - 1), clBtnShadow);
    FillSolid(c, Rect(w - 2, 1, w - 1, h - 1), clBtnShadow);
    for (int x : barLines_) {
        FillSolid(c, Rect(x, kBorder, x + 1, h - kBorder), clBtnShadow);
        FillSolid(c, Rect(x + 1, kBorder, x + 2, h - kBorder), clBtnHighlight);
    }
    for (int i = 0; i < ItemCount(); ++i) DrawItem(c, entries_[static_cast<size_t>(i)], i == hot_);
    return image;
}

void TMenuColumnsPopup::DrawItem(TCanvas& c, const TEntry& entry, bool hot) const
{
    const TMenuItem& item = *entry.Item;
    const TRect& r = entry.Bounds;
    if (item.IsLine()) {
        const int y = r.Top + kSeparatorHeight / 2;
        FillSolid(c, Rect(r.Left + 1, y, r.Right - 1, y + 1), clBtnShadow);
        FillSolid(c, Rect(r.Left + 1, y + 1, r.Right - 1, y + 2), clBtnHighlight);
        return;
    }
    FillSolid(c, r, hot ? clHighlight : clMenu);
    const bool enabled = item.GetEnabled();
    const TColor ink = !enabled ? clGrayText : hot ? clHighlightText : clMenuText;
    const int middle = (r.Top + r.Bottom) / 2;

    const TCustomImageList* images = session_.Images();
    if (images && item.GetImageIndex() >= 0 && item.GetImageIndex() < images->GetCount()) {
        images->Draw(c, r.Left + (gutter_ - images->GetWidth()) / 2, middle - images->GetHeight() / 2,
                     item.GetImageIndex(), enabled);
    } else if (item.GetChecked()) {
        // Grayed items carry the etched highlight below-right of their ink, as their text does.
        const int x = r.Left + (gutter_ - 7) / 2, y = middle - 3;
        if (!enabled && !hot) DrawCheck(c, x + 1, y + 1, clBtnHighlight);
        DrawCheck(c, x, y, ink);
    }

    TRect text = Rect(r.Left + gutter_, r.Top, r.Right - kTextPadRight + 8, r.Bottom);
    c.SetFont(MenuFont(item));
    c.Brush().SetStyle(TBrushStyle::bsClear);
    if (!enabled && !hot) {
        TRect shadow = text;
        OffsetRect(shadow, 1, 1);
        c.Font().SetColor(clBtnHighlight);
        c.RequireState();
        DrawTextW(c.GetHandle(), item.GetCaption(), shadow, kTextFormat);
    }
    c.Font().SetColor(ink);
    c.RequireState();
    DrawTextW(c.GetHandle(), item.GetCaption(), text, kTextFormat);

    if (item.Count() > 0) DrawArrow(c, r.Right - 12, middle, ink);
}

void TMenuColumnsPopup::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, Render());
}

int TMenuColumnsPopup::ItemAt(TPoint p) const
{
    for (int i = 0; i < ItemCount(); ++i)
        if (PtInRect(ItemRect(i), p)) return Item(i)->IsLine() ? -1 : i;
    return -1;
}

bool TMenuColumnsPopup::Selectable(int index) const
{
    return index >= 0 && index < ItemCount() && !Item(index)->IsLine();
}

void TMenuColumnsPopup::SetHotIndex(int index)
{
    if (!Selectable(index)) index = -1;
    if (index == hot_) return;
    hot_ = index;
    update();
    if (hot_ >= 0 && hot_ != childIndex_)
        hoverTimer_.start();
    else
        hoverTimer_.stop();
}

void TMenuColumnsPopup::ShowAt(TPoint screenPoint, const std::optional<TRect>& parentItem)
{
    const TPoint at = PlaceMenuLevel(screenPoint, TSize{width(), height()}, MenuAreaAt(screenPoint), parentItem);
    move(at.X, at.Y);
    show();
    setFocus(Qt::PopupFocusReason);
}

void TMenuColumnsPopup::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (!rect().contains(p)) {
        // Leaving the level keeps the item whose submenu is open.
        SetHotIndex(child_ && child_->isVisible() ? childIndex_ : -1);
        return;
    }
    SetHotIndex(ItemAt(Point(p.x(), p.y())));
}

void TMenuColumnsPopup::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    pressedInside_ = rect().contains(p);
    if (!pressedInside_) {
        PressOutside(event->globalPosition().toPoint());
        return;
    }
    const int index = ItemAt(Point(p.x(), p.y()));
    SetHotIndex(index);
    if (index >= 0 && Item(index)->Count() > 0 && index != childIndex_) {
        CloseChild();
        OpenSubmenu(index);
    }
}

void TMenuColumnsPopup::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (!rect().contains(p)) return;
    const int index = ItemAt(Point(p.x(), p.y()));
    // The release of the press that opened the menu chooses nothing unless the pointer moved
    // onto an item first.
    const bool pressed = pressedInside_;
    pressedInside_ = false;
    if (!pressed && index != hot_) return;
    if (index >= 0 && Item(index)->Count() == 0) Choose(index);
}

void TMenuColumnsPopup::PressOutside(QPoint global)
{
    auto* parent = dynamic_cast<TMenuColumnsPopup*>(parentLevel_.data());
    if (parent && parent->isVisible()) {
        // The level it opened from decides: a press on it lands there, one outside goes on.
        CloseLevel();
        const QPoint local = parent->mapFromGlobal(global);
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(local), QPointF(global), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        parent->mousePressEvent(&press);
        return;
    }
    if (parentLevel_ && parentLevel_->isVisible() && parentLevel_->geometry().contains(global)) {
        CloseLevel();
        return;
    }
    session_.Cancel();
}

void TMenuColumnsPopup::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Down: MoveVertical(1); break;
    case Qt::Key_Up: MoveVertical(-1); break;
    case Qt::Key_Home:
        hot_ = -1;
        MoveVertical(1);
        break;
    case Qt::Key_End:
        hot_ = -1;
        MoveVertical(-1);
        break;
    case Qt::Key_Right:
        if (hot_ >= 0 && Item(hot_)->Count() > 0)
            OpenSubmenu(hot_, true);
        else
            MoveColumn(1);
        break;
    case Qt::Key_Left:
        if (parentLevel_ && (hot_ < 0 || ColumnOf(hot_) == 0))
            CloseLevel();
        else
            MoveColumn(-1);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space: ActivateHot(); break;
    case Qt::Key_Escape: CloseLevel(); break;
    default: break;
    }
}

void TMenuColumnsPopup::MoveVertical(int step)
{
    const int n = ItemCount();
    int index = hot_;
    for (int tries = 0; tries < n; ++tries) {
        index = index < 0 ? (step > 0 ? 0 : n - 1) : (index + step + n) % n;
        if (Selectable(index)) {
            SetHotIndex(index);
            return;
        }
    }
}

void TMenuColumnsPopup::MoveColumn(int step)
{
    if (columns_ < 2) return;
    if (hot_ < 0) {
        MoveVertical(1);
        return;
    }
    // The item of the neighbouring column (wrapping round) nearest the hot item's row.
    const int column = (ColumnOf(hot_) + step + columns_) % columns_;
    const int row = ItemRect(hot_).Top;
    int best = -1;
    for (int i = 0; i < ItemCount(); ++i) {
        if (ColumnOf(i) != column || !Selectable(i)) continue;
        if (best < 0 || std::abs(ItemRect(i).Top - row) < std::abs(ItemRect(best).Top - row)) best = i;
    }
    if (best >= 0) SetHotIndex(best);
}

void TMenuColumnsPopup::ActivateHot()
{
    if (hot_ < 0) return;
    if (Item(hot_)->Count() > 0)
        OpenSubmenu(hot_, true);
    else
        Choose(hot_);
}

void TMenuColumnsPopup::OpenSubmenu(int index, bool selectFirst)
{
    if (index == childIndex_ && child_ && child_->isVisible()) return;
    CloseChild();
    TMenuItem* item = Item(index);
    if (!item->GetEnabled()) return;
    hoverTimer_.stop();
    // The click may rebuild the sub-items, or free this level altogether.
    if (!session_.OpenSubmenuOf(item) || !isVisible() || session_.Finished()) return;
    const TRect r = ItemRect(index);
    const QPoint at = mapToGlobal(QPoint(r.Right, r.Top - kBorder));
    const QPoint itemTopLeft = mapToGlobal(QPoint(r.Left, r.Top));
    const TRect itemOnScreen = Bounds(itemTopLeft.x(), itemTopLeft.y(), r.Width(), r.Height());
    child_ = session_.OpenLevel(*item, Point(at.x(), at.y()), this, itemOnScreen);
    childIndex_ = child_ ? index : -1;
    if (auto* columns = dynamic_cast<TMenuColumnsPopup*>(child_.data()); columns && selectFirst) columns->MoveVertical(1);
}

void TMenuColumnsPopup::CloseChild()
{
    if (auto* columns = dynamic_cast<TMenuColumnsPopup*>(child_.data()))
        columns->CloseLevel();
    else if (child_)
        child_->hide();
    child_ = nullptr;
    childIndex_ = -1;
}

void TMenuColumnsPopup::CloseLevel()
{
    hoverTimer_.stop();
    CloseChild();
    hide();
}

void TMenuColumnsPopup::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    hoverTimer_.stop();
    CloseChild();
    // The root level going away ends the menu.
    if (!parentLevel_) session_.Cancel();
}

void TMenuColumnsPopup::Choose(int index) { session_.Choose(Item(index)); }

}  // namespace vxplan
