// TScrollBar: position, range and page kept in the platform's terms over Qt's scroll bar.
#include <vxplan/platform/controls/vxScrollBar.h>

#include <vxplan/platform/core/vxExceptions.h>

#include <QApplication>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <string>

namespace vxplan {

int ScrollBarExtent()
{
    return QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
}

TScrollBar::TScrollBar(TComponent* AOwner) : TWinControl(AOwner), bar_(new QScrollBar(Qt::Horizontal, this))
{
    bar_->setFocusPolicy(Qt::NoFocus);
    SetBounds(0, 0, 121, ScrollBarExtent());
    SetTabStop(true);
    // The bar reports the action before it moves, with the position it is going to take.
    QObject::connect(bar_, &QAbstractSlider::actionTriggered, bar_, [this](int action) { ActionTriggered(action); });
    QObject::connect(bar_, &QAbstractSlider::sliderReleased, bar_, [this] {
        int pos = position_;
        DoScroll(TScrollCode::scEndScroll, pos);
    });
    SyncWidget();
}

TScrollBar::~TScrollBar() = default;

void TScrollBar::SetKind(TScrollBarKind kind)
{
    if (kind == kind_) return;
    kind_ = kind;
    bar_->setOrientation(kind == TScrollBarKind::sbHorizontal ? Qt::Horizontal : Qt::Vertical);
    SetBounds(GetLeft(), GetTop(), GetHeight(), GetWidth());
}

int TScrollBar::MaxPosition() const
{
    return pageSize_ > 0 ? std::max(min_, max_ - pageSize_ + 1) : max_;
}

void TScrollBar::SetParams(int position, int min, int max)
{
    if (max < min)
        throw EInvalidArgument("Scroll bar Max " + std::to_string(max) + " is below Min " + std::to_string(min));
    if (pageSize_ > max - min + 1)
        throw EInvalidArgument("Scroll bar page " + std::to_string(pageSize_) + " is larger than the range");
    min_ = min;
    max_ = max;
    const int clamped = std::clamp(position, min_, MaxPosition());
    const bool changed = clamped != position_;
    position_ = clamped;
    SyncWidget();
    if (changed) Change();
}

void TScrollBar::SetPosition(int position) { SetParams(position, min_, max_); }

void TScrollBar::SetPageSize(int pageSize)
{
    if (pageSize < 0 || pageSize > max_ - min_ + 1)
        throw EInvalidArgument("Scroll bar page " + std::to_string(pageSize) + " is outside the range");
    pageSize_ = pageSize;
    SetParams(position_, min_, max_);
}

void TScrollBar::SetSmallChange(int change)
{
    if (change < 1) throw EInvalidArgument("Scroll bar change must be at least 1, not " + std::to_string(change));
    smallChange_ = change;
    SyncWidget();
}

void TScrollBar::SetLargeChange(int change)
{
    if (change < 1) throw EInvalidArgument("Scroll bar change must be at least 1, not " + std::to_string(change));
    largeChange_ = change;
    SyncWidget();
}

void TScrollBar::SyncWidget()
{
    syncing_ = true;
    bar_->setRange(min_, MaxPosition());
    bar_->setSingleStep(smallChange_);
    bar_->setPageStep(pageSize_ > 0 ? pageSize_ : largeChange_);
    bar_->setValue(position_);
    syncing_ = false;
}

void TScrollBar::Resize()
{
    bar_->setGeometry(0, 0, GetWidth(), GetHeight());
    TWinControl::Resize();
}

void TScrollBar::ActionTriggered(int action)
{
    if (syncing_) return;
    TScrollCode code;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: code = TScrollCode::scLineDown; break;
    case QAbstractSlider::SliderSingleStepSub: code = TScrollCode::scLineUp; break;
    case QAbstractSlider::SliderPageStepAdd: code = TScrollCode::scPageDown; break;
    case QAbstractSlider::SliderPageStepSub: code = TScrollCode::scPageUp; break;
    case QAbstractSlider::SliderToMinimum: code = TScrollCode::scTop; break;
    case QAbstractSlider::SliderToMaximum: code = TScrollCode::scBottom; break;
    case QAbstractSlider::SliderMove: code = TScrollCode::scTrack; break;
    default: return;
    }
    int pos = bar_->sliderPosition();
    DoScroll(code, pos);
    pos = std::clamp(pos, min_, MaxPosition());
    // The bar takes the position the handler settled on, not the one Qt proposed.
    bar_->setSliderPosition(pos);
    if (pos != position_) {
        position_ = pos;
        Change();
    }
}

void TScrollBar::Scroll(TScrollCode code)
{
    int pos = position_;
    const int page = pageSize_ > 0 ? pageSize_ : largeChange_;
    switch (code) {
    case TScrollCode::scLineUp: pos -= smallChange_; break;
    case TScrollCode::scLineDown: pos += smallChange_; break;
    case TScrollCode::scPageUp: pos -= page; break;
    case TScrollCode::scPageDown: pos += page; break;
    case TScrollCode::scTop: pos = min_; break;
    case TScrollCode::scBottom: pos = MaxPosition(); break;
    default: break;
    }
    pos = std::clamp(pos, min_, MaxPosition());
    DoScroll(code, pos);
    SetPosition(pos);
}

void TScrollBar::DoScroll(TScrollCode code, int& position)
{
    if (OnScroll) OnScroll(this, code, position);
}

void TScrollBar::Change()
{
    if (OnChange) OnChange(this);
}

}  // namespace vxplan
