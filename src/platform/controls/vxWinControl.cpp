// TWinControl: the widget, its children, bounds, visibility, focus and painting. Qt's input
// events and the message dispatch are in vxWinControlInput.cpp, alignment in vxAlign.cpp.
#include <vxplan/platform/controls/vxWinControl.h>

#include <vxplan/platform/core/vxExceptions.h>

#include <QApplication>
#include <QPainter>

#include <algorithm>
#include <string>

namespace vxplan {

TWinControl::TWinControl(TComponent* AOwner) : QWidget(nullptr), TControl(AOwner)
{
    // Every pixel comes from our image, so Qt need not clear the widget first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    // Every control may be a drop target; DragOver decides whether a drag is taken.
    setAcceptDrops(true);
    setGeometry(GetLeft(), GetTop(), GetWidth(), GetHeight());
}

TWinControl::~TWinControl()
{
    BeginDestroy();
    // Owned components may point into our members, so they go while we are still whole.
    DestroyComponents();
    // Child controls go with their window even when someone else owns them, as on the platform.
    while (!controls_.empty()) delete controls_.back();
    if (GetParent()) GetParent()->RemoveControl(this);
    displayDc_.reset();
}

// --- Children -------------------------------------------------------------------------------

TControl* TWinControl::GetControl(int index) const
{
    if (index < 0 || index >= ControlCount())
        throw EListError("Control index out of bounds (" + std::to_string(index) + ")");
    return controls_[static_cast<size_t>(index)];
}

TControl* TWinControl::ControlAtPos(TPoint p) const
{
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        if (c->AsWinControl() || !c->GetVisible() || !c->GetEnabled()) continue;
        if (c->GetBoundsRect().Contains(p)) return c;
    }
    return nullptr;
}

void TWinControl::InsertControl(TControl* control)
{
    if (!control || control->parent_ == this) return;
    controls_.push_back(control);
    control->parent_ = this;
    if (TWinControl* w = control->AsWinControl()) {
        w->QWidget::setParent(this);
        w->setGeometry(w->GetLeft(), w->GetTop(), w->GetWidth(), w->GetHeight());
        // A child shown before its parent appears with the parent.
        w->QWidget::setVisible(w->GetVisible());
    }
    control->ParentColorChanged();
    control->ParentFontChanged();
    Invalidate();
    RealignFor(control);
}

void TWinControl::RemoveControl(TControl* control)
{
    if (!control || control->parent_ != this) return;
    std::erase(controls_, control);
    control->parent_ = nullptr;
    if (TControl::CaptureControl() == control) control->SetMouseCapture(false);
    if (TWinControl* w = control->AsWinControl()) {
        // A control being destroyed leaves its widget to Qt's own teardown.
        if (!w->IsDestroying()) w->QWidget::setParent(nullptr);
    }
    if (!IsDestroying()) {
        Invalidate();
        Realign();
    }
}

void TWinControl::SetParent(TWinControl* parent)
{
    TControl::SetParent(parent);
}

// --- Bounds and visibility ------------------------------------------------------------------

void TWinControl::SetBounds(int left, int top, int width, int height)
{
    KeepBoundsSane(left, top, width, height);
    if (left == GetLeft() && top == GetTop() && width == GetWidth() && height == GetHeight()) return;
    const bool resized = width != GetWidth() || height != GetHeight();
    UpdateBoundsFromWindow(left, top, width, height);
    // The widget reports the new geometry to resizeEvent, which then finds nothing to do.
    setGeometry(left, top, width, height);
    if (resized) {
        imageValid_ = false;
        Perform(WM_SIZE, 0, PointToLParam({width, height}));
    }
    RequestAlign();
}

void TWinControl::SyncBoundsFromWidget()
{
    const QRect g = geometry();
    if (g.x() == GetLeft() && g.y() == GetTop() && g.width() == GetWidth() && g.height() == GetHeight()) return;
    const bool resized = g.width() != GetWidth() || g.height() != GetHeight();
    UpdateBoundsFromWindow(g.x(), g.y(), g.width(), g.height());
    if (resized) {
        imageValid_ = false;
        Perform(WM_SIZE, 0, PointToLParam({g.width(), g.height()}));
    }
}

void TWinControl::WMSize(TMessage&)
{
    // Children first, so an OnResize handler sees them in their new places.
    Realign();
    Resize();
}

void TWinControl::SetVisible(bool visible)
{
    const bool changed = visible != GetVisible();
    TControl::SetVisible(visible);
    if (!changed) return;
    // A control without a parent widget is a host's window: the host decides when it appears.
    if (parentWidget() || !visible) QWidget::setVisible(visible);
}

bool TWinControl::Showing() const { return isVisible(); }

void TWinControl::SetEnabled(bool enabled)
{
    TControl::SetEnabled(enabled);
    QWidget::setEnabled(enabled);
}

void TWinControl::SetCursor(TCursor cursor)
{
    TControl::SetCursor(cursor);
    if (cursor == crDefault)
        unsetCursor();
    else
        setCursor(QCursor(ToQtCursorShape(cursor)));
}

void TWinControl::ApplyCursorAt(TPoint p)
{
    // A graphic child has no widget to carry its cursor: the parent wears it while the pointer
    // is over the child.
    TControl* child = ControlAtPos(p);
    const TCursor c = child && child->GetCursor() != crDefault ? child->GetCursor() : GetCursor();
    if (c == crDefault)
        unsetCursor();
    else
        setCursor(QCursor(ToQtCursorShape(c)));
}

TPoint TWinControl::ClientToScreen(TPoint p) const
{
    const QPoint q = mapToGlobal(QPoint(p.X, p.Y));
    return {q.x(), q.y()};
}

TPoint TWinControl::ScreenToClient(TPoint p) const
{
    const QPoint q = mapFromGlobal(QPoint(p.X, p.Y));
    return {q.x(), q.y()};
}

void TWinControl::SetMouseCapture(bool capture)
{
    const bool had = GetMouseCapture();
    TControl::SetMouseCapture(capture);
    // Qt holds the mouse for the pressed widget by itself; an explicit grab is for capture taken
    // without a press.
    if (capture && !had && isVisible() && !QApplication::mouseButtons()) grabMouse();
    if (!capture && QWidget::mouseGrabber() == this) releaseMouse();
}

void TWinControl::BringToFront()
{
    TControl::BringToFront();
    raise();
}

void TWinControl::SendToBack()
{
    TControl::SendToBack();
    lower();
}

void TWinControl::ColorChanged()
{
    for (TControl* c : controls_) c->ParentColorChanged();
}

void TWinControl::FontChanged()
{
    for (TControl* c : controls_) c->ParentFontChanged();
}

void TWinControl::TextChanged()
{
    if (!parentWidget()) setWindowTitle(QString::fromStdString(GetText()));
}

void TWinControl::HintChanged()
{
    setToolTip(GetShowHint() ? QString::fromStdString(GetHint()) : QString());
}

// --- Focus ----------------------------------------------------------------------------------

bool TWinControl::CanFocus() const
{
    for (const TControl* c = this; c; c = c->GetParent())
        if (!c->GetVisible() || !c->GetEnabled()) return false;
    return true;
}

void TWinControl::SetFocus()
{
    if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
    QWidget::setFocus(Qt::OtherFocusReason);
}

void TWinControl::SetTabStop(bool tabStop)
{
    tabStop_ = tabStop;
    // Focus by click is the control's own business (it calls SetFocus), so only Tab moves it.
    setFocusPolicy(tabStop ? Qt::TabFocus : Qt::NoFocus);
}

// --- Painting -------------------------------------------------------------------------------

void TWinControl::Invalidate()
{
    imageValid_ = false;
    update();
}

void TWinControl::Update()
{
    if (!imageValid_ && isVisible()) repaint();
}

void TWinControl::PaintWindow(HDC) {}

void TWinControl::PaintControls(HDC dc)
{
    for (TControl* c : controls_) {
        auto* g = dynamic_cast<TGraphicControl*>(c);
        if (!g || !g->GetVisible()) continue;
        const TRect r = g->GetBoundsRect();
        if (r.IsEmpty()) continue;
        const TPoint origin = dc->ViewportOrg();
        const QRegion* oldClip = dc->ClipRegion();
        const QRegion saved = oldClip ? *oldClip : QRegion();
        const bool hadClip = oldClip != nullptr;
        // Clip and origin in device units: the child's rectangle, inside any clip in force.
        QRegion clip(origin.X + r.Left, origin.Y + r.Top, r.Width(), r.Height());
        if (hadClip) clip &= saved;
        dc->SetClipRegion(&clip);
        dc->SetViewportOrg({origin.X + r.Left, origin.Y + r.Top});
        g->PaintOn(dc);
        dc->SetViewportOrg(origin);
        dc->SetClipRegion(hadClip ? &saved : nullptr);
    }
}

void TWinControl::RenderImage()
{
    // The display canvas must let go of the image before it is drawn anew or replaced.
    if (displayDc_) displayDc_->EndPainter();
    const QSize size(std::max(GetClientWidth(), 1), std::max(GetClientHeight(), 1));
    const bool fresh = image_.size() != size || image_.format() != QImage::Format_RGB32;
    if (fresh) image_ = QImage(size, QImage::Format_RGB32);
    // An opaque control may leave pixels alone (scroll-bar margins); a new image starts defined.
    if (!opaque_ || fresh) image_.fill(ToQColor(ColorToRGB(GetColor())));
    // Valid from here on, so an Invalidate during Paint asks for one more paint.
    imageValid_ = true;
    TDeviceContext dc(&image_);
    PaintWindow(&dc);
    PaintControls(&dc);
    dc.EndPainter();
}

void TWinControl::PaintHandler()
{
    if (!imageValid_ || image_.isNull()) RenderImage();
}

QImage& TWinControl::DisplayImage()
{
    PaintHandler();
    return image_;
}

QImage TWinControl::GrabImage()
{
    QImage& image = DisplayImage();
    if (displayDc_) displayDc_->EndPainter();
    return image.copy();
}

void TWinControl::paintEvent(QPaintEvent*)
{
    Perform(WM_PAINT, 0, 0);
    if (image_.isNull()) return;
    if (displayDc_) displayDc_->EndPainter();
    QPainter painter(this);
    painter.drawImage(0, 0, image_);
}

}  // namespace vxplan
